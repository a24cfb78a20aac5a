// Scenarios by name or path, and a backend that cannot use the one asked for.
#include "Scenario.h"
#include "Bundle.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Scenario, NamesComeFromTheBundleAndPathsAreTakenAsGiven) {
  Bundle::setMainBundlePath(testsupport::buildBundlePath());
  const QString folder = testsupport::buildBundlePath() + "/Resources/Scenarios/";
  QTemporaryDir dir;
  const QString own = testsupport::writePlist(dir.filePath("mine.plist"), {{"SIM", QVariantMap{}}});
  struct Case {
    QString nameOrPath, expected;
  };
  const QList<Case> cases = {
      {"sim-pin", folder + "sim-pin.plist"},
      {"sim-pin.plist", folder + "sim-pin.plist"},
      {own, own},
      {"no-such-scenario", ""},
      {"../Scenarios/sim-pin", ""}, // a name stays inside the Scenarios folder
      {"", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Scenario::pathOf(c.nameOrPath), c.expected) << c.nameOrPath.toStdString();
}

TEST(Scenario, AnUnreadableFileIsAnErrorThatNamesIt) {
  QTemporaryDir dir;
  QFile broken(dir.filePath("broken.plist"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("<plist><dict><key>half");
  broken.close();
  QVariantMap out{{"kept", 1}};
  QString error;
  EXPECT_FALSE(Scenario::read(broken.fileName(), &out, &error));
  EXPECT_TRUE(error.contains(broken.fileName()));
  EXPECT_EQ(out.value("kept"), 1);
  EXPECT_FALSE(Scenario::read("no-such-scenario", &out, &error));
  EXPECT_TRUE(error.contains("no-such-scenario"));
}

TEST(Scenario, TheBackendEndsWithAMessageWhenTheScenarioAskedForCannotBeUsed) {
  for (const bool byEnvironment : {false, true}) {
    QProcess backend;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QEL_BUNDLE_DIR", testsupport::buildBundlePath());
    env.insert("QEL_UI_BUS_NAME", testsupport::uniqueBusName("ui"));
    env.insert("QEL_BACKEND_BUS_NAME", testsupport::uniqueBusName("be"));
    QStringList args;
    if (byEnvironment)
      env.insert("QEL_SCENARIO", "no-such-scenario");
    else
      args << "no-such-scenario";
    backend.setProcessEnvironment(env);
    backend.start(testsupport::buildBundlePath() + "/bin/vArivevorer", args);
    ASSERT_TRUE(backend.waitForFinished(10000));
    EXPECT_EQ(backend.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(backend.exitCode(), 2);
    EXPECT_TRUE(backend.readAllStandardError().contains("no-such-scenario"));
  }
}

} // namespace
