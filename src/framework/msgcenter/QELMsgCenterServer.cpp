// The backend program: where it is, starting and stopping it, and watching it while it runs.
#include "QELMsgCenter.h"

#include "Bundle.h"
#include "ConfigManager.h"
#include "OperatorAddress.h"
#include "PackageLink.h"
#include "Plist.h"

#include <QDBusConnectionInterface>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <unistd.h>

namespace {
// The package a backend sends when the device goes: (8, 59) with the failure result.
constexpr uint16_t kDeviceStatusMajor = 8;
constexpr uint16_t kDeviceStatusMinor = 59;
} // namespace

QString QELMsgCenter::serverPath() const {
  const QString info = Bundle::mainBundle().pathForResource(QStringLiteral("qUIInfo"));
  QVariantMap dict;
  if (!info.isEmpty() && Plist::readDictionary(info, &dict) && dict.value(QStringLiteral("UseConfigPath")).toBool() &&
      dict.contains(QStringLiteral("PathOfServer")))
    return dict.value(QStringLiteral("PathOfServer")).toString();
  const QString builtIn = Bundle::mainBundle().executableFolder() + QStringLiteral("/vArivevorer");
  return QFileInfo::exists(builtIn) ? builtIn : QString();
}

qint64 QELMsgCenter::serverProcessId() const {
  return qelMsgServer_ && qelMsgServer_->state() != QProcess::NotRunning ? qelMsgServer_->processId() : 0;
}

bool QELMsgCenter::startMsgServer() {
  if (isRunning_)
    return false;
  if (!launchServer())
    return false;
  isRunning_ = true;
  supervising_ = true;
  gaveUp_ = false;
  failures_ = 0;
  return true;
}

bool QELMsgCenter::launchServer() {
  const QString path = serverPath();
  qInfo() << "QELMsgCenter: backend" << path;
  if (path.isEmpty())
    return false;
  auto *process = new QProcess(this);
  process->setProgram(path);
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  // The backend must meet this program under the names the link uses.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (link_) {
    env.insert(QStringLiteral("QEL_UI_BUS_NAME"), link_->ownName());
    env.insert(QStringLiteral("QEL_BACKEND_BUS_NAME"), link_->peerName());
  }
  // ... play the operator's servers where this program looks for them ...
  env.insert(QString::fromLatin1(OperatorAddress::kVariable), OperatorAddress::base().toString());
  // ... and work on the same configuration files.
  if (ConfigManager *config = ConfigManager::sharedConfigManager(); config && !config->modemListPath().isEmpty())
    env.insert(QString::fromLatin1(kModemListDirVariable), config->modemListPath());
  process->setProcessEnvironment(env);
  process->start();
  if (!process->waitForStarted(5000)) {
    qWarning() << "QELMsgCenter: cannot start" << path << process->errorString();
    delete process;
    return false;
  }
  qelMsgServer_ = process;
  backendAlive_ = true;
  connect(process, &QProcess::finished, this, [this, process](int code, QProcess::ExitStatus status) {
    if (process != qelMsgServer_)
      return;
    backendLost(status == QProcess::CrashExit ? QStringLiteral("the process was killed")
                                              : QStringLiteral("the process ended with status %1").arg(code));
  });
  // Until it owns its name nobody can talk to it; one that never does is as good as dead.
  serverOwner_.clear();
  claimNameTimer_.start(policy_.claimNameMs);
  return true;
}

bool QELMsgCenter::stopMsgServer() {
  // A backend ended on purpose is neither mourned nor started again.
  supervising_ = false;
  backendAlive_ = false;
  ownerHeard_.clear();
  restartTimer_.stop();
  claimNameTimer_.stop();
  bool stopped = false;
  if (qelMsgServer_) {
    qelMsgServer_->disconnect(this);
    if (qelMsgServer_->state() != QProcess::NotRunning) {
      qelMsgServer_->terminate();
      if (!qelMsgServer_->waitForFinished(2000)) {
        qelMsgServer_->kill();
        qelMsgServer_->waitForFinished(1000);
      }
      stopped = true;
    }
  }
  delete qelMsgServer_;
  qelMsgServer_ = nullptr;
  stopStaleBackend();
  return stopped;
}

void QELMsgCenter::discardServerProcess() {
  if (!qelMsgServer_)
    return;
  QProcess *old = qelMsgServer_;
  qelMsgServer_ = nullptr;
  old->disconnect(this);
  if (old->state() != QProcess::NotRunning) {
    old->kill();
    old->waitForFinished(1000);
  }
  old->deleteLater();
}

void QELMsgCenter::onPeerOwnerChanged(const QString &oldOwner, const QString &newOwner) {
  if (newOwner.isEmpty()) {
    // The backend we were talking to left the bus: whatever it reported is gone with it.
    if (!oldOwner.isEmpty() && oldOwner == ownerHeard_)
      deviceGoneWithBackend();
    // Only the one we started counts: a leftover from an earlier run leaving is no loss.
    if (backendAlive_ && !serverOwner_.isEmpty() && oldOwner == serverOwner_)
      backendLost(QStringLiteral("it left the bus"));
    return;
  }
  // A backend owns the name (ours, restarted, or one started by hand): it greets us itself, and
  // the usual handshake brings the device back.
  if (backendAlive_ && serverOwner_.isEmpty()) {
    serverOwner_ = newOwner;
    claimNameTimer_.stop();
    upSince_.start();
  }
  if (restarts_ > 0)
    qInfo() << "QELMsgCenter: a backend is on the bus again as" << newOwner;
}

void QELMsgCenter::onPeerNotAnswering() {
  // The backend answers every call at once: one that lets a call time out is stuck. Sending on
  // would freeze the window for a second each time, so it is ended and started again.
  if (!supervising_ || !qelMsgServer_ || qelMsgServer_->state() == QProcess::NotRunning) {
    qWarning() << "QELMsgCenter: the backend does not answer";
    return;
  }
  qWarning() << "QELMsgCenter: the backend does not answer; ending process" << qelMsgServer_->processId();
  qelMsgServer_->kill();
}

void QELMsgCenter::deviceGoneWithBackend() {
  ownerHeard_.clear();
  // The handlers learn it as they learn an unplugged device, with the package a backend sends
  // then, so everything that follows a removal follows this one too.
  UIMsg removed;
  removed.version = 1;
  removed.moduleId = kModuleInit;
  removed.majorId = kDeviceStatusMajor;
  removed.minorId = kDeviceStatusMinor;
  removed.result = UIMsg::kResultFailure;
  qWarning() << "QELMsgCenter: the backend has gone; the device counts as removed";
  putReceiveMsgInQueue(removed.encode());
}

void QELMsgCenter::backendLost(const QString &why) {
  if (!backendAlive_)
    return; // already counted (the process ended and the name left: one loss)
  backendAlive_ = false;
  claimNameTimer_.stop();
  qWarning().noquote() << "QELMsgCenter: the backend has gone:" << why;
  if (!ownerHeard_.isEmpty())
    deviceGoneWithBackend();
  if (!supervising_)
    return;
  // A backend that ran for a good while before it went is a new story, not one more failure.
  if (upSince_.isValid() && upSince_.elapsed() >= policy_.stableMs)
    failures_ = 0;
  upSince_.invalidate();
  if (failures_ >= policy_.maxFailures) {
    gaveUp_ = true;
    supervising_ = false;
    qWarning() << "QELMsgCenter: the backend failed" << failures_ << "times in a row; not starting it again";
    NotificationCenter::defaultCenter().postNotificationName(kMsgServerGaveUp, this);
    return;
  }
  const qint64 delay = std::min<qint64>(qint64(policy_.firstDelayMs) << std::min(failures_, 20), policy_.maxDelayMs);
  ++failures_;
  qInfo() << "QELMsgCenter: starting the backend again in" << delay << "ms, attempt" << failures_ << "of"
          << policy_.maxFailures;
  restartTimer_.start(int(delay));
}

void QELMsgCenter::restartServer() {
  if (!supervising_)
    return;
  discardServerProcess();
  // Someone else's backend took the name meanwhile (started by hand): it serves us, and a second
  // one could not claim the name anyway.
  if (link_ && !link_->peerOwner().isEmpty()) {
    qInfo() << "QELMsgCenter: a backend already owns" << link_->peerName() << "- not starting another";
    return;
  }
  ++restarts_;
  if (!launchServer()) {
    // Not even started: that counts as a failure like any other.
    backendAlive_ = true;
    backendLost(QStringLiteral("it could not be started"));
  }
}

// A backend left over from an earlier run still owns our backend name: end it, but only when it
// belongs to this user and really is a backend. Another user's process is never touched, and
// backends under other names (other tests, other sessions) are not ours to stop.
void QELMsgCenter::stopStaleBackend() {
  if (!link_)
    return;
  QDBusConnection bus = link_->connection();
  QDBusConnectionInterface *iface = bus.isConnected() ? bus.interface() : nullptr;
  if (!iface || !iface->isServiceRegistered(link_->peerName()).value())
    return;
  const QDBusReply<uint> uid = iface->serviceUid(link_->peerName());
  const QDBusReply<uint> pid = iface->servicePid(link_->peerName());
  if (!uid.isValid() || !pid.isValid() || uid.value() != uint(::getuid()) || pid.value() <= 1 ||
      pid.value() == uint(::getpid()))
    return;
  QFile comm(QStringLiteral("/proc/%1/comm").arg(pid.value()));
  if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "vArivevorer")
    return;
  qInfo() << "QELMsgCenter: stopping stale backend" << pid.value();
  ::kill(pid_t(pid.value()), SIGTERM);
}
