// The signal and the device identity end to end: the simulated modem's reports of every family
// drive the status area, and its control methods change them while the program runs.
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "MainWindowFixture.h"
#include "Platform.h"
#include "SignalAndDevice.h"

namespace {

class SignalBackend : public ModemWindowFixture {
protected:
  QList<int> posted;

  bool start() {
    if (!launch(QStringLiteral("sim-ready")))
      return false;
    NotificationCenter::defaultCenter().addObserver(&owner, kSingalStrength, nullptr, [this](const Notification &n) {
      posted << n.userInfo.value(kSingalStrength).toInt();
    });
    return true;
  }
  // Asks the modem for `level` and waits until the status area shows it.
  ::testing::AssertionResult showsLevelAfterSetSignal(int level) {
    posted.clear();
    if (!backend->control(QStringLiteral("SetSignal"), {level}).value(0).toBool())
      return ::testing::AssertionFailure() << "SetSignal refused " << level;
    if (!testsupport::waitUntil([&] { return !posted.isEmpty() && posted.last() == level; }))
      return ::testing::AssertionFailure() << "level " << level << " never posted";
    if (signalImage() != QStringLiteral("rssi%1").arg(level + 1))
      return ::testing::AssertionFailure() << "picture " << signalImage().toStdString();
    return ::testing::AssertionSuccess();
  }
};

TEST_F(SignalBackend, StatusAreaFollowsTheModemsSignal) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  // The scenario's level arrives once the SIM is ready.
  ASSERT_TRUE(testsupport::waitUntil([&] { return signalImage() == QStringLiteral("rssi5"); }));
  EXPECT_EQ(init()->simPinState(), InitController::kSimReady);
  for (int level : {1, 5, 0, 3})
    EXPECT_TRUE(showsLevelAfterSetSignal(level));
  EXPECT_FALSE(backend->control(QStringLiteral("SetSignal"), {6}).value(0).toBool());
  const QVariantList state = backend->control(QStringLiteral("Signal"));
  EXPECT_EQ(state.value(0).toString(), QStringLiteral("CSQ"));
  EXPECT_EQ(state.value(1).toInt(), 3);

  // The device left: no signal until a new one reports.
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->simPinState() == InitController::kSimNotReady; }));
  EXPECT_EQ(signalImage(), QStringLiteral("rssi1"));
  EXPECT_EQ(posted.last(), 0);
}

TEST_F(SignalBackend, EveryReportFamilyOfTheModemReachesTheSameLevel) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->simPinState() == InitController::kSimReady; }));
  struct Family {
    const char *name;
    int platform;
    bool iceraSignal;
  };
  const QList<Family> families = {
      {"CSQ", Platform::kPlatformOther, false},        {"CDMA", Platform::kPlatformCDMA, false},
      {"CDMAMarked", Platform::kPlatformOther, false}, {"Extended", Platform::kPlatformOther, false},
      {"Extended2G", Platform::kPlatformOther, false}, {"Icera", Platform::kPlatformIcera, true},
      {"Icera2G", Platform::kPlatformIcera, true},
  };
  ASSERT_EQ(SignalAndDevice::families().size(), families.size());
  for (const Family &f : families) {
    SCOPED_TRACE(f.name);
    platform.setPlatform(f.platform);
    setSwitch(QStringLiteral("Main"), QStringLiteral("IceraSignal"), f.iceraSignal);
    posted.clear();
    ASSERT_TRUE(backend->control(QStringLiteral("SetSignalFamily"), {QString::fromLatin1(f.name)}).value(0).toBool());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !posted.isEmpty(); }));
    for (int level = 0; level <= 5; ++level)
      EXPECT_TRUE(showsLevelAfterSetSignal(level)) << "level " << level;
  }
  EXPECT_FALSE(backend->control(QStringLiteral("SetSignalFamily"), {QStringLiteral("Smoke")}).value(0).toBool());

  // Raw words go out as given; a report too short for its family is refused by the modem.
  platform.setPlatform(Platform::kPlatformOther);
  setSwitch(QStringLiteral("Main"), QStringLiteral("IceraSignal"), false);
  posted.clear();
  ASSERT_TRUE(backend
                  ->control(QStringLiteral("SetSignalReport"),
                            {QStringLiteral("Extended"), QVariant::fromValue(QList<int>{60, 16, 184})})
                  .value(0)
                  .toBool());
  ASSERT_TRUE(testsupport::waitUntil([&] { return !posted.isEmpty(); }));
  EXPECT_EQ(posted.last(), 4);
  EXPECT_EQ(init()->rscpText(), QStringLiteral("-92 dBm"));
  EXPECT_FALSE(backend
                   ->control(QStringLiteral("SetSignalReport"),
                             {QStringLiteral("Icera"), QVariant::fromValue(QList<int>{2, -70})})
                   .value(0)
                   .toBool());
}

TEST_F(SignalBackend, DeviceIdentityArrivesWithTheCard) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->serialNumber().isEmpty(); }));
  EXPECT_EQ(init()->deviceModel(), QStringLiteral("QEL-E100"));
  EXPECT_EQ(init()->hwVersion(), QStringLiteral("CH1SIMA"));
  EXPECT_EQ(init()->serialNumber(), QStringLiteral("SN0000000000001"));
  EXPECT_EQ(init()->deviceMode(), 3);
  // The scenario has no own number: the reply fails and the run-time number is empty.
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->runtimeObjectForKey(kRTPhoneNumber).isValid(); }));
  EXPECT_EQ(init()->runtimeObjectForKey(kRTPhoneNumber).toString(), QString());
  ASSERT_TRUE(backend->control(QStringLiteral("SetDeviceMode"), {5}).value(0).toBool());
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->deviceMode() == 5; }));
}

} // namespace
