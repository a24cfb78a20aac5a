#include "TestSupport.h"

#include "BusNames.h"
#include "OperatorAddress.h"
#include "Plist.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QThread>
#include <atomic>

namespace testsupport {

bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

QString uniqueBusName(const QString &role) {
  static std::atomic<int> counter{0};
  return QStringLiteral("org.qel.test.%1.p%2.n%3").arg(role).arg(QCoreApplication::applicationPid()).arg(counter++);
}

QString useFreeOperatorAddress() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  const QString address = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
  probe.close();
  qputenv(OperatorAddress::kVariable, address.toUtf8());
  return address;
}

QString buildBundlePath() {
  return QStringLiteral(QEL_BUNDLE_BUILD_DIR);
}

QString writePlist(const QString &path, const QVariantMap &dict) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  Plist::writeFile(path, dict);
  return path;
}

BackendProcess::BackendProcess(const QString &uiName, const QString &backendName, const QString &scenarioPath)
    : uiName_(uiName), backendName_(backendName), scenario_(scenarioPath) {}

BackendProcess::~BackendProcess() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(3000))
      process_.kill();
    process_.waitForFinished(1000);
  }
}

bool BackendProcess::start() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QEL_UI_BUS_NAME"), uiName_);
  env.insert(QStringLiteral("QEL_BACKEND_BUS_NAME"), backendName_);
  env.insert(QStringLiteral("QEL_BUNDLE_DIR"), buildBundlePath());
  process_.setProcessEnvironment(env);
  process_.setProcessChannelMode(QProcess::ForwardedChannels);
  QStringList args;
  if (!scenario_.isEmpty())
    args << scenario_;
  process_.start(buildBundlePath() + QStringLiteral("/bin/vArivevorer"), args);
  return process_.waitForStarted(5000) && waitForName();
}

bool BackendProcess::waitForName(int timeoutMs) const {
  QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
  return bus && waitUntil([&] { return bus->isServiceRegistered(backendName_).value(); }, timeoutMs);
}

QVariantList BackendProcess::control(const QString &method, const QVariantList &args) const {
  QDBusMessage call = QDBusMessage::createMethodCall(backendName_, QLatin1String(BusNames::kSimulatorPath),
                                                     QLatin1String(BusNames::kSimulatorInterface), method);
  call.setArguments(args);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
  return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments() : QVariantList{};
}

QByteArrayList BackendProcess::received() const {
  QByteArrayList list;
  const QVariantList reply = control(QStringLiteral("Received"));
  if (!reply.isEmpty())
    reply.first().value<QDBusArgument>() >> list;
  return list;
}

} // namespace testsupport
