// The real program with the real backend, as a user starts it.
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  QTemporaryDir home;

  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected())
      GTEST_SKIP() << "no session bus";
  }

  void prepare(QProcess &p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QEL_UI_BUS_NAME", ui);
    env.insert("QEL_BACKEND_BUS_NAME", be);
    env.insert("QEL_BUNDLE_DIR", testsupport::buildBundlePath());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
  }

  QString program() const { return testsupport::buildBundlePath() + "/bin/connection-manager"; }
};

TEST_F(ProgramTest, ScreenshotShowsTheLinkAndTheProgramEndsWithItsBackend) {
  QProcess p;
  prepare(p);
  const QString shot = home.filePath("link.png");
  p.start(program(), {"--screenshot", shot});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  QImage img(shot);
  ASSERT_FALSE(img.isNull());
  EXPECT_GT(img.width(), 100);
  QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
  EXPECT_TRUE(testsupport::waitUntil([&] { return !bus->isServiceRegistered(be).value(); }, 5000))
      << "the backend must not outlive the program";
}

TEST_F(ProgramTest, SecondInstanceExitsAtOnceAndSigtermEndsTheFirst) {
  QProcess first;
  prepare(first);
  first.start(program());
  QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(testsupport::waitUntil([&] { return bus->isServiceRegistered(be).value(); }, 10000));

  QProcess second;
  prepare(second);
  second.start(program());
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  // The second launch asked the running program to show its window again.
  QDBusMessage reopen = QDBusMessage::createMethodCall(ui, "/Application", "org.qel.ConnectionManager.Application",
                                                       "Reopen");
  EXPECT_EQ(QDBusConnection::sessionBus().call(reopen, QDBus::Block, 3000).type(), QDBusMessage::ReplyMessage);

  first.terminate();
  ASSERT_TRUE(first.waitForFinished(10000));
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first.exitCode(), 0);
  EXPECT_TRUE(testsupport::waitUntil([&] { return !bus->isServiceRegistered(be).value(); }, 5000));
}

} // namespace
