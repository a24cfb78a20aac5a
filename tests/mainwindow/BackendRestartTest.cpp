// The backend the program started dies in the middle of a session: the window shows the device
// removed at once, and the backend started again brings the SIM back through its handshake.
#include "Bundle.h"
#include "MainWindowFixture.h"
#include "WordGlobe.h"

#include <QTest>
#include <csignal>

namespace {

class BackendRestart : public ModemWindowFixture {
protected:
  int removed = 0, gaveUp = 0;

  void TearDown() override {
    center.reset(); // stops the backend it started
    ModemWindowFixture::TearDown();
    Bundle::setMainBundlePath(testsupport::buildBundlePath());
  }

  // The window and its centre as the program has them: the centre starts the backend itself.
  bool launchSupervised(const QString &serverPath = {}) {
    link = std::make_unique<PackageLink>(ui, be);
    if (!link->open())
      return false;
    center = std::make_unique<QELMsgCenter>(link.get());
    center->setRestartPolicy({50, 200, 5, 30000, 10000});
    parts = MainWindowBuilder::build(center.get(), nullptr, &owner);
    NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("DeviceRemoved"), nullptr,
                                                    [&](const Notification &) { ++removed; });
    if (!serverPath.isEmpty()) {
      testsupport::writePlist(dir.filePath(QStringLiteral("Bundle/Resources/qUIInfo")),
                              {{QStringLiteral("UseConfigPath"), true}, {QStringLiteral("PathOfServer"), serverPath}});
      Bundle::setMainBundlePath(dir.filePath(QStringLiteral("Bundle")));
    } else {
      Bundle::setMainBundlePath(testsupport::buildBundlePath());
    }
    // Every restart looks the backend up again in the bundle.
    return center->startMsgServer();
  }

  bool simReady() const { return init()->simPinState() == InitController::kSimReady; }
  QString simPicture() const { return init()->statusView->simImage->property("imageName").toString(); }
};

TEST_F(BackendRestart, AKilledBackendShowsTheDeviceRemovedThenTheSimComesBack) {
  if (!launchSupervised())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }));
  ASSERT_EQ(removed, 0);
  const qint64 pid = center->serverProcessId();
  ASSERT_GT(pid, 0);
  ::kill(pid_t(pid), SIGKILL);
  ASSERT_TRUE(testsupport::waitUntil([&] { return removed == 1; }));
  EXPECT_EQ(init()->simPinState(), InitController::kSimNotReady);
  EXPECT_EQ(simPicture(), QStringLiteral("noSim"));
  EXPECT_EQ(init()->networkName(), QStringLiteral("No Service"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }));
  EXPECT_EQ(center->restartCount(), 1);
  EXPECT_NE(center->serverProcessId(), pid);
  EXPECT_EQ(removed, 1);
}

TEST_F(BackendRestart, ABackendThatCannotBeBroughtBackIsReportedInTheStatusArea) {
  if (!launchSupervised(QStringLiteral("/bin/false")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return center->hasGivenUp(); }));
  EXPECT_EQ(init()->statusView->lockTipLabel->text(),
            Map_Name_Item_of_IndexString(QStringLiteral("Init_BackendStopped")));
  EXPECT_EQ(removed, 0) << "no device was ever reported";
}

// A backend that keeps dying after it reported its device: once the program stops starting it,
// the device's removal that follows the last end does not wipe the message from the status area.
TEST_F(BackendRestart, TheStoppedServiceStaysToldAfterTheLastDeviceRemoval) {
  if (!launchSupervised())
    GTEST_SKIP() << "no session bus";
  for (int round = 0; round < 10 && !center->hasGivenUp(); ++round) {
    ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }, 15000)) << "round " << round;
    const int before = removed;
    ::kill(pid_t(center->serverProcessId()), SIGKILL);
    ASSERT_TRUE(testsupport::waitUntil([&] { return removed == before + 1; })) << "round " << round;
  }
  ASSERT_TRUE(center->hasGivenUp());
  // Whatever packages were still queued have been handled.
  QTest::qWait(200);
  EXPECT_EQ(init()->statusView->lockTipLabel->text(),
            Map_Name_Item_of_IndexString(QStringLiteral("Init_BackendStopped")));
  // A change of language re-words it and keeps it.
  init()->updateLanguages(Notification{});
  EXPECT_EQ(init()->statusView->lockTipLabel->text(),
            Map_Name_Item_of_IndexString(QStringLiteral("Init_BackendStopped")));
}

} // namespace
