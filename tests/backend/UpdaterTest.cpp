// The stand-in updater ends with its session: also when the bus itself dies, not only when the
// program leaves it.
#include "BusNames.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// A bus of the test's own, so that killing it touches nobody else.
struct PrivateBus {
  QProcess daemon;
  QString address;
  bool start() {
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    if (!daemon.waitForStarted(5000))
      return false;
    testsupport::waitUntil([&] { return daemon.canReadLine(); }, 5000);
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    return !address.isEmpty();
  }
  ~PrivateBus() {
    daemon.kill();
    daemon.waitForFinished(2000);
  }
};

TEST(Updater, EndsWhenItsBusDies) {
  PrivateBus bus;
  if (!bus.start())
    GTEST_SKIP() << "no dbus-daemon";
  const QString ui = testsupport::uniqueBusName("ui"), updaterName = testsupport::uniqueBusName("upd");
  {
    QDBusConnection program = QDBusConnection::connectToBus(bus.address, QStringLiteral("updater-program"));
    ASSERT_TRUE(program.isConnected());
    ASSERT_TRUE(program.registerService(ui));

    QProcess updater;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address);
    env.insert(QStringLiteral("QEL_UI_BUS_NAME"), ui);
    env.insert(QStringLiteral("QEL_UPDATER_BUS_NAME"), updaterName);
    updater.setProcessEnvironment(env);
    updater.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    updater.start(testsupport::buildBundlePath() + QStringLiteral("/Resources/AutoUpdateManager"), {});
    ASSERT_TRUE(updater.waitForStarted(5000));
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return program.interface()->isServiceRegistered(updaterName).value(); }, 5000))
        << "the updater took its name";

    // An answer comes only from its event loop: the updater is past its start.
    const QDBusMessage answer = program.call(QDBusMessage::createMethodCall(
        updaterName, BusNames::kUpdaterPath, BusNames::kUpdaterInterface, QStringLiteral("Received")));
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << qPrintable(answer.errorMessage());

    // The program stays; only the bus goes.
    QElapsedTimer timer;
    timer.start();
    bus.daemon.kill();
    const bool ended = testsupport::waitUntil([&] { return updater.state() == QProcess::NotRunning; }, 5000);
    const qint64 ms = timer.elapsed();
    if (!ended) {
      updater.kill();
      updater.waitForFinished(2000);
    }
    std::printf("  updater ended %lld ms after its bus died (exit %d, status %d)\n", ms, updater.exitCode(),
                int(updater.exitStatus()));
    EXPECT_TRUE(ended) << "the updater outlived its bus";
    EXPECT_LT(ms, 3000);
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("updater-program"));
}

} // namespace
