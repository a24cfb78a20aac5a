// The real program with the real backend, as a user starts it.
#include "Plist.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
  QDBusMessage reopen =
      QDBusMessage::createMethodCall(ui, "/Application", "org.qel.ConnectionManager.Application", "Reopen");
  EXPECT_EQ(QDBusConnection::sessionBus().call(reopen, QDBus::Block, 3000).type(), QDBusMessage::ReplyMessage);

  first.terminate();
  ASSERT_TRUE(first.waitForFinished(10000));
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first.exitCode(), 0);
  EXPECT_TRUE(testsupport::waitUntil([&] { return !bus->isServiceRegistered(be).value(); }, 5000));
}

// The program ends cleanly, its settings readable, whatever question is
// up when it is told to end: an alert that does not wait (invalid card), the PIN sheet, the
// device's unlock sheet; both by the screenshot's own quit and by SIGTERM.
TEST_F(ProgramTest, EndingWithAQuestionOpenExitsCleanly) {
  for (const char *scenario : {"invalid-card", "sim-pin", "device-lock"}) {
    for (const bool bySignal : {false, true}) {
      SCOPED_TRACE(std::string(scenario) + (bySignal ? " SIGTERM" : " screenshot"));
      QTemporaryDir own;
      QProcess p;
      prepare(p);
      QProcessEnvironment env = p.processEnvironment();
      env.insert("QEL_SCENARIO", scenario);
      const QString modemList = own.filePath("ModemList");
      QDir().mkpath(modemList);
      env.insert("QEL_MODEMLIST_DIR", modemList);
      p.setProcessEnvironment(env);
      if (bySignal) {
        p.start(program());
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        ASSERT_TRUE(testsupport::waitUntil([&] { return bus->isServiceRegistered(be).value(); }, 10000));
        // The question comes with the backend's first reports.
        QThread::msleep(2500);
        ASSERT_EQ(p.state(), QProcess::Running) << "the question must keep the program up";
        p.terminate();
      } else {
        p.start(program(), {"--screenshot", own.filePath("shot.png")});
      }
      ASSERT_TRUE(p.waitForFinished(20000));
      EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p.exitCode(), 0);
      // The settings stay readable for the next start, without this run's runtime entries.
      QVariantMap settings;
      EXPECT_TRUE(Plist::readDictionary(modemList + "/settings.plist", &settings));
      EXPECT_FALSE(settings.contains("RuntimeData"));
      QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
      EXPECT_TRUE(testsupport::waitUntil([&] { return !bus->isServiceRegistered(be).value(); }, 5000));
    }
  }
}

// Every orderly ending removes the runtime entries from the settings file: the window's close,
// the Quit menu, the screenshot's own quit and SIGTERM, also after the settings were written
// while the program ran (the runtime entries then stand in the file).
TEST_F(ProgramTest, EveryOrderlyEndingRemovesTheRuntimeEntries) {
  enum Ending { CloseWindow, QuitMenu, Screenshot, Signal };
  const std::pair<Ending, const char *> endings[] = {
      {CloseWindow, "window close"}, {QuitMenu, "Quit menu"}, {Screenshot, "screenshot"}, {Signal, "SIGTERM"}};
  for (const auto &[ending, name] : endings) {
    SCOPED_TRACE(name);
    QTemporaryDir own;
    QProcess p;
    prepare(p);
    QProcessEnvironment env = p.processEnvironment();
    const QString modemList = own.filePath("ModemList");
    QDir().mkpath(modemList);
    env.insert("QEL_MODEMLIST_DIR", modemList);
    if (ending == CloseWindow)
      env.insert("QEL_START_ACTION", "closeMainWindow:");
    if (ending == QuitMenu)
      env.insert("QEL_START_ACTION", "closeApp:");
    p.setProcessEnvironment(env);
    const QString settingsFile = modemList + "/settings.plist";
    if (ending == Signal) {
      p.start(program());
      // The device's reports write the settings with the runtime entries in them.
      ASSERT_TRUE(testsupport::waitUntil(
          [&] {
            QVariantMap now;
            return Plist::readDictionary(settingsFile, &now) && now.contains("RuntimeData");
          },
          15000));
      p.terminate();
    } else if (ending == Screenshot) {
      p.start(program(), {"--screenshot", own.filePath("shot.png")});
    } else {
      p.start(program());
    }
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    QVariantMap settings;
    EXPECT_TRUE(Plist::readDictionary(settingsFile, &settings));
    EXPECT_FALSE(settings.contains("RuntimeData"));
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    EXPECT_TRUE(testsupport::waitUntil([&] { return !bus->isServiceRegistered(be).value(); }, 5000));
  }
}

// Under umask 0 every file the program writes in the user's folder is the user's alone, and so
// is every folder it makes there.
TEST_F(ProgramTest, UnderUmaskZeroEveryWrittenFileIsPrivate) {
  QProcess p;
  prepare(p);
  QProcessEnvironment env = p.processEnvironment();
  env.insert("QEL_SCENARIO", "sms-arrivals");
  const QString data = home.filePath("own/ModemList");
  QDir().mkpath(data);
  env.insert("QEL_MODEMLIST_DIR", data);
  p.setProcessEnvironment(env);
  p.setChildProcessModifier([] { ::umask(0); });
  p.start(program(), {"--screenshot", home.filePath("shot.png")});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  int files = 0;
  QDirIterator it(data, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    const bool folder = S_ISDIR(st.st_mode);
    files += folder ? 0 : 1;
    EXPECT_EQ(int(st.st_mode & 07777), folder ? 0700 : 0600) << path.mid(data.size()).toStdString();
  }
  EXPECT_GT(files, 2) << "the settings and the message lists at least";
}

TEST_F(ProgramTest, RunKnobsReachTheBackendAndUnknownNamesAreReportedWithoutStopping) {
  QProcess p;
  prepare(p);
  p.setProcessChannelMode(QProcess::SeparateChannels);
  const QString modemList = home.filePath("own/ModemList");
  QDir().mkpath(modemList);
  QProcessEnvironment env = p.processEnvironment();
  env.insert("QEL_MODEMLIST_DIR", modemList);
  env.insert("QEL_START_PAGE", "NoSuchTab");
  env.insert("QEL_START_ACTION", "noSuchAction");
  p.setProcessEnvironment(env);
  p.start(program(), {"--screenshot", home.filePath("knobs.png")});
  QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
  ASSERT_TRUE(testsupport::waitUntil([&] { return bus->isServiceRegistered(be).value(); }, 10000));
  // The backend works on the program's ModemList folder.
  QFile environ(QStringLiteral("/proc/%1/environ").arg(bus->servicePid(be).value()));
  ASSERT_TRUE(environ.open(QIODevice::ReadOnly));
  EXPECT_TRUE(environ.readAll().split('\0').contains("QEL_MODEMLIST_DIR=" + QDir::cleanPath(modemList).toLocal8Bit()));
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  const QByteArray err = p.readAllStandardError();
  EXPECT_TRUE(err.contains("no tab \"NoSuchTab\"")) << err.constData();
  EXPECT_TRUE(err.contains("\"noSuchAction\"")) << err.constData();
  EXPECT_FALSE(QImage(home.filePath("knobs.png")).isNull());
}

} // namespace
