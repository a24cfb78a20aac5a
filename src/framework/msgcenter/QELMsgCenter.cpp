#include "QELMsgCenter.h"

#include "Bundle.h"
#include "ConfigManager.h"
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

QELMsgCenter::QELMsgCenter(PackageLink *link, QObject *parent) : QObject(parent), link_(link) {
  // The timer only runs while packages wait, so an idle program does not wake 200 times a second.
  receiveMsgQueueTimer_.setInterval(kTickMs);
  receiveMsgQueueTimer_.setTimerType(Qt::PreciseTimer);
  connect(&receiveMsgQueueTimer_, &QTimer::timeout, this, &QELMsgCenter::readingReceiveMsg);
  if (link_)
    connect(link_, &PackageLink::packageReceived, this, &QELMsgCenter::handlePackage);
}

QELMsgCenter::~QELMsgCenter() {
  stopMsgServer();
}

QString QELMsgCenter::notificationName(int majorID, int minorID) {
  return kMsgUserInfo + QString::number(makeIDByMajorID(majorID, minorID));
}

void QELMsgCenter::awakeFromNib() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  const bool doNotLock =
      config && config
                    ->getConfigurationByModuleAndKey(QStringLiteral("Init"),
                                                     QStringLiteral("Init_DoNotLockMsg_WhenReadReceiveMsg"))
                    .toBool();
  lockMsgWhenReceiveMsg_ = !doNotLock;
}

bool QELMsgCenter::registerObserver(QObject *target, const QByteArray &selector, int majorID, int minorID) {
  if (!NotificationCenter::defaultCenter().addObserver(target, selector, notificationName(majorID, minorID), this)) {
    qWarning() << "QELMsgCenter: no handler" << selector << "on"
               << (target ? target->metaObject()->className() : "nil");
  }
  return true;
}

bool QELMsgCenter::registerObserver(QObject *target, int majorID, int minorID, NotificationCenter::Handler handler) {
  NotificationCenter::defaultCenter().addObserver(target, notificationName(majorID, minorID), this, std::move(handler));
  return true;
}

bool QELMsgCenter::sendMessageModuleID(int moduleID, int majorID, int minorID, int type, int result,
                                       const QByteArray &data) {
  UIMsg msg;
  msg.version = 1;
  msg.moduleId = moduleID;
  msg.majorId = uint16_t(majorID);
  msg.minorId = uint16_t(minorID);
  msg.type = type;
  msg.result = uint8_t(result);
  if (!msg.setPayload(data)) {
    qWarning() << "QELMsgCenter: refusing" << majorID << "/" << minorID << "with" << data.size()
               << "bytes of data (at most" << UIMsg::kDataSize << ")";
    return false;
  }
  return sendMessage(msg) == 0;
}

int QELMsgCenter::sendMessage(const UIMsg &package) {
  QMutexLocker lock(&sendMsgLocker_);
  if (!link_)
    return PackageLink::ErrNoPeer;
  return link_->sendBlocking(package.encode(), kSendTimeoutMs);
}

bool QELMsgCenter::getMsgPackage(UIMsg *buffer, const Notification &notification) {
  if (!buffer)
    return false;
  *buffer = UIMsg();
  buffer->version = 0;
  const QVariant bytes = notification.userInfo.value(kMsgUserInfo);
  if (bytes.typeId() != QMetaType::QByteArray)
    return false;
  return UIMsg::decode(bytes.toByteArray(), buffer);
}

void QELMsgCenter::handlePackage(const QByteArray &bytes) {
  // Nothing from the backend is trusted: a package of the wrong size never reaches a handler.
  UIMsg decoded;
  if (!UIMsg::decode(bytes, &decoded)) {
    ++refusedCount_;
    qWarning() << "QELMsgCenter: refusing a package of" << bytes.size() << "bytes";
    return;
  }
  // Re-encoding clamps a data length outside the data field.
  putReceiveMsgInQueue(decoded.encode());
}

int QELMsgCenter::putReceiveMsgInQueue(const QByteArray &bytes) {
  QMutexLocker lock(&receiveMsgLocker_);
  if (receiveMsgQueue_.size() >= kQueueLimit) {
    ++droppedCount_;
    if (droppedCount_ == 1 || droppedCount_ % 100 == 0)
      qWarning() << "QELMsgCenter: receive queue full, dropped" << droppedCount_ << "package(s) so far";
    return -1;
  }
  receiveMsgQueue_.append(bytes);
  lock.unlock();
  if (!receiveMsgQueueTimer_.isActive())
    receiveMsgQueueTimer_.start();
  return 0;
}

int QELMsgCenter::queuedCount() const {
  QMutexLocker lock(&receiveMsgLocker_);
  return int(receiveMsgQueue_.size());
}

void QELMsgCenter::readingReceiveMsg() {
  // A handler that spins a nested event loop (a modal dialog) gets no nested package.
  if (lockMsgWhenReceiveMsg_ && dispatching_)
    return;
  QByteArray package;
  {
    QMutexLocker lock(&receiveMsgLocker_);
    if (receiveMsgQueue_.isEmpty()) {
      receiveMsgQueueTimer_.stop();
      return;
    }
    package = receiveMsgQueue_.takeFirst();
  }
  const bool wasDispatching = dispatching_;
  dispatching_ = true;
  postNotificationWithMsg(package);
  dispatching_ = wasDispatching;
}

void QELMsgCenter::postNotificationWithMsg(const QByteArray &package) {
  UIMsg msg;
  if (!UIMsg::decode(package, &msg))
    return;
  NotificationCenter::defaultCenter().postNotificationName(notificationName(msg.majorId, msg.minorId), this,
                                                           {{kMsgUserInfo, package}});
}

QString QELMsgCenter::serverPath() const {
  const QString info = Bundle::mainBundle().pathForResource(QStringLiteral("qUIInfo"));
  QVariantMap dict;
  if (!info.isEmpty() && Plist::readDictionary(info, &dict) && dict.value(QStringLiteral("UseConfigPath")).toBool() &&
      dict.contains(QStringLiteral("PathOfServer")))
    return dict.value(QStringLiteral("PathOfServer")).toString();
  const QString builtIn = Bundle::mainBundle().executableFolder() + QStringLiteral("/vArivevorer");
  return QFileInfo::exists(builtIn) ? builtIn : QString();
}

bool QELMsgCenter::startMsgServer() {
  if (isRunning_)
    return false;
  const QString path = serverPath();
  qInfo() << "QELMsgCenter: backend" << path;
  if (path.isEmpty())
    return false;
  qelMsgServer_ = new QProcess(this);
  qelMsgServer_->setProgram(path);
  qelMsgServer_->setProcessChannelMode(QProcess::ForwardedChannels);
  // The backend must meet this program under the names the link uses.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (link_) {
    env.insert(QStringLiteral("QEL_UI_BUS_NAME"), link_->ownName());
    env.insert(QStringLiteral("QEL_BACKEND_BUS_NAME"), link_->peerName());
  }
  // ... and work on the same configuration files.
  if (ConfigManager *config = ConfigManager::sharedConfigManager(); config && !config->modemListPath().isEmpty())
    env.insert(QString::fromLatin1(kModemListDirVariable), config->modemListPath());
  qelMsgServer_->setProcessEnvironment(env);
  qelMsgServer_->start();
  if (!qelMsgServer_->waitForStarted(5000)) {
    qWarning() << "QELMsgCenter: cannot start" << path << qelMsgServer_->errorString();
    delete qelMsgServer_;
    qelMsgServer_ = nullptr;
    return false;
  }
  // A backend that ends on its own with a failure (a scenario it cannot use, say) has said why
  // on its standard error; the program says that it ended.
  connect(qelMsgServer_, &QProcess::finished, this, [path](int code, QProcess::ExitStatus status) {
    if (status == QProcess::CrashExit)
      qCritical().noquote() << "QELMsgCenter: the backend" << path << "crashed";
    else if (code != 0)
      qCritical().noquote() << "QELMsgCenter: the backend" << path << "ended with status" << code;
  });
  isRunning_ = true;
  return true;
}

bool QELMsgCenter::stopMsgServer() {
  bool stopped = false;
  if (qelMsgServer_ && qelMsgServer_->state() != QProcess::NotRunning) {
    disconnect(qelMsgServer_, &QProcess::finished, this, nullptr); // an end we ask for is no news
    qelMsgServer_->terminate();
    if (!qelMsgServer_->waitForFinished(2000)) {
      qelMsgServer_->kill();
      qelMsgServer_->waitForFinished(1000);
    }
    stopped = true;
  }
  delete qelMsgServer_;
  qelMsgServer_ = nullptr;
  stopStaleBackend();
  return stopped;
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
