// Signal reports of every device family turned into levels, pictures, texts and the values kept
// for the diagnostics; the prefer-3G suggestion when a signal is lost.
#include "SettingController.h"
#include "SignalFixture.h"
#include "WordGlobe.h"

#include <QTest>

namespace {
using namespace signaltest;

constexpr qint64 kNotAvailable = 1000;

class SignalLevels : public SignalFixture {};

struct LevelCase {
  const char *what;
  int platform;
  bool iceraSignal;
  uint16_t minor;
  bool cdmaMarker;
  QList<qint64> words;
  int level; // -1: the report is not acted on
};

TEST_F(SignalLevels, EveryFamilyMapsItsReportsToTheLevelTables) {
  const QList<LevelCase> cases = {
      // CSQ on WCDMA and GSM devices (and Icera devices without their own report).
      {"CSQ 99 no measurement", 0, false, 36, false, {99}, 0},
      {"CSQ 2", 0, false, 36, false, {2}, 0},
      {"CSQ 3", 0, false, 36, false, {3}, 1},
      {"CSQ 6", 0, false, 36, false, {6}, 1},
      {"CSQ 7", 0, false, 36, false, {7}, 2},
      {"CSQ 9", 0, false, 36, false, {9}, 2},
      {"CSQ 10", 0, false, 36, false, {10}, 3},
      {"CSQ 12", 0, false, 36, false, {12}, 3},
      {"CSQ 13", 0, false, 36, false, {13}, 4},
      {"CSQ 15", 0, false, 36, false, {15}, 4},
      {"CSQ 16", 0, false, 36, false, {16}, 5},
      {"CSQ 31", 0, false, 36, false, {31}, 5},
      {"CSQ 32", 0, false, 36, false, {32}, 0},
      {"CSQ on an Icera platform", 1, false, 36, false, {20}, 5},
      {"CSQ on TK330 shows nothing", 2, false, 36, false, {20}, -1},
      {"CSQ ignored while the Icera report is used", 0, true, 36, false, {20}, -1},
      // CDMA devices: only exact 1X values give a level.
      {"1X 10", 3, false, 36, false, {10, 0, 0}, 1},
      {"1X 15", 3, false, 36, false, {15, 0, 0}, 2},
      {"1X 22", 3, false, 36, false, {22, 0, 0}, 3},
      {"1X 28", 3, false, 36, false, {28, 0, 0}, 4},
      {"1X 31", 3, false, 36, false, {31, 0, 0}, 5},
      {"1X 11", 3, false, 36, false, {11, 0, 0}, 0},
      // The marked CDMA report, on any platform.
      {"marked 1X 1", 0, false, 36, true, {1, 0, 0}, 5},
      {"marked 1X 64", 0, false, 36, true, {64, 0, 0}, 5},
      {"marked 1X 65", 0, false, 36, true, {65, 0, 0}, 4},
      {"marked 1X 74", 0, false, 36, true, {74, 0, 0}, 4},
      {"marked 1X 75", 0, false, 36, true, {75, 0, 0}, 3},
      {"marked 1X 85", 0, false, 36, true, {85, 0, 0}, 2},
      {"marked 1X 95", 0, false, 36, true, {95, 0, 0}, 1},
      {"marked 1X 119", 0, false, 36, true, {119, 0, 0}, 1},
      {"marked 1X 120", 0, false, 36, true, {120, 0, 0}, 0},
      {"marked 1X 0", 0, false, 36, true, {0, 0, 0}, 0},
      {"marked 1X negative", 3, false, 36, true, {-5, 0, 0}, 0},
      // Extended report, 2G: the RSSI bands.
      {"2G RSSI -81", 0, false, 56, false, {81, kNotAvailable, 0}, 5},
      {"2G RSSI -82", 0, false, 56, false, {82, 0, kNotAvailable}, 4},
      {"2G RSSI -87", 0, false, 56, false, {87, kNotAvailable, kNotAvailable}, 4},
      {"2G RSSI -88", 0, false, 56, false, {88, kNotAvailable, kNotAvailable}, 3},
      {"2G RSSI -93", 0, false, 56, false, {93, kNotAvailable, kNotAvailable}, 3},
      {"2G RSSI -94", 0, false, 56, false, {94, kNotAvailable, kNotAvailable}, 2},
      {"2G RSSI -100", 0, false, 56, false, {100, kNotAvailable, kNotAvailable}, 1},
      {"2G RSSI -107", 0, false, 56, false, {107, kNotAvailable, kNotAvailable}, 1},
      {"2G RSSI -108", 0, false, 56, false, {108, kNotAvailable, kNotAvailable}, 0},
      // Extended report, 3G: both thresholds of a level must be met; halves truncate to zero.
      {"3G Ec/Io -8 RSCP -91", 0, false, 56, false, {60, 16, 182}, 5},
      {"3G Ec/Io -8.5 truncates to -8", 0, false, 56, false, {60, 17, 182}, 5},
      {"3G RSCP -92", 0, false, 56, false, {60, 16, 184}, 4},
      {"3G Ec/Io -10 RSCP -97", 0, false, 56, false, {60, 20, 194}, 4},
      {"3G Ec/Io -12 RSCP -104", 0, false, 56, false, {60, 24, 208}, 3},
      {"3G strong RSCP, Ec/Io -15", 0, false, 56, false, {60, 30, 150}, 2},
      {"3G Ec/Io -18.5 truncates to -18", 0, false, 56, false, {60, 37, 230}, 1},
      {"3G Ec/Io -19", 0, false, 56, false, {60, 38, 230}, 0},
      {"3G RSCP -116", 0, false, 56, false, {60, 10, 232}, 0},
      // Icera report, only when it is the configured one.
      {"Icera 2G -81", 1, true, 55, false, {1, -81, 0, 0}, 5},
      {"Icera 2G -108", 1, true, 55, false, {1, -108, 0, 0}, 0},
      {"Icera 3G -91/-8", 1, true, 55, false, {2, -70, -91, -8}, 5},
      {"Icera 3G -92/-8", 1, true, 55, false, {2, -70, -92, -8}, 4},
      {"Icera unknown mode", 1, true, 55, false, {3, -50, -60, -2}, 0},
      {"Icera report while CSQ is used", 1, false, 55, false, {2, -70, -91, -8}, -1},
  };
  for (const LevelCase &c : cases) {
    SCOPED_TRACE(c.what);
    platform.setPlatform(c.platform);
    setSwitch(QStringLiteral("Main"), QStringLiteral("IceraSignal"), c.iceraSignal);
    posted.clear();
    const Notification n = package(7, c.minor, c.words, 0, c.cdmaMarker);
    if (c.minor == 36)
      init()->dealWithMsgOfCheckSignalStatus(n);
    else if (c.minor == 56)
      init()->dealWithMsgOfCheckQrssiSignalStatus(n);
    else
      init()->dealWithMsgOfCheckSignalStatusIcera(n);
    if (c.level < 0) {
      EXPECT_TRUE(posted.isEmpty());
      continue;
    }
    ASSERT_FALSE(posted.isEmpty());
    EXPECT_EQ(posted.last(), c.level);
    EXPECT_EQ(signalImage(), QStringLiteral("rssi%1").arg(c.level + 1));
  }
}

TEST_F(SignalLevels, EvdoPictureAndNetworkTextOfCdmaReports) {
  platform.setPlatform(Platform::kPlatformCDMA);
  // A CDMA device brings the EVDO picture and both signal labels forward.
  init()->notifyDevicePlugin();
  ASSERT_TRUE(init()->m_evdoStatusLabel);
  EXPECT_FALSE(init()->m_evdoStatus->isHidden());
  EXPECT_FALSE(init()->m_rssiStatusLabel->isHidden());
  struct Case {
    const char *what;
    bool marked;
    QList<qint64> words;
    QString evdo, text;
  };
  // The unmarked report carries the EVDO value in word 2, the marked one in word 1.
  const QList<Case> cases = {
      {"1X and EVDO", false, {10, 0, 20}, "rssi2", "1X-EVDO"},
      {"1X only", false, {31, 0, 0}, "rssi1", "CDMA 1X"},
      {"EVDO only", false, {0, 0, 99}, "rssi6", "EVDO"},
      {"odd EVDO value", false, {0, 0, 21}, "rssi1", "EVDO"},
      {"neither", false, {0, 0, 0}, "rssi1", "No Service"},
      {"marked 1X and EVDO", true, {70, 50, 0}, "rssi6", "1X-EVDO"},
      {"marked 1X only", true, {70, 0, 0}, "rssi1", "CDMA 1X"},
      {"marked EVDO only", true, {0, 100, 0}, "rssi2", "EVDO"},
      {"marked neither", true, {130, 125, 0}, "rssi1", "No Service"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    init()->setNetworkStatus(QStringLiteral("before"));
    init()->dealWithMsgOfCheckSignalStatus(package(7, 36, c.words, 0, c.marked));
    EXPECT_EQ(evdoImage(), c.evdo);
    EXPECT_EQ(init()->networkName(), c.text);
  }
  // A weak marked 1X value without EVDO keeps the text it had.
  init()->setNetworkStatus(QStringLiteral("before"));
  init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {5, 0, 0}, 0, true));
  EXPECT_EQ(init()->networkName(), QStringLiteral("before"));
  EXPECT_EQ(posted.last(), 5);
  // Other devices hide them again.
  platform.setPlatform(Platform::kPlatformOther);
  init()->notifyDevicePlugin();
  EXPECT_TRUE(init()->m_evdoStatus->isHidden());
  EXPECT_TRUE(init()->m_evdoStatusLabel->isHidden());
}

TEST_F(SignalLevels, LevelIsZeroWithoutSimOrServiceAndOutOfRangeLevelsChangeNothing) {
  init()->setSignalStrength(3);
  EXPECT_EQ(signalImage(), QStringLiteral("rssi4"));
  posted.clear();
  init()->setSignalStrength(6);
  init()->setSignalStrength(-1);
  EXPECT_TRUE(posted.isEmpty());
  EXPECT_EQ(signalImage(), QStringLiteral("rssi4"));

  // No SIM: every report shows level 0, whatever its value.
  init()->setRuntimeObject(false, kRTSIMCardReady);
  init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {31}));
  EXPECT_EQ(posted.last(), 0);
  EXPECT_EQ(signalImage(), QStringLiteral("rssi1"));
  init()->setRuntimeObject(true, kRTSIMCardReady);

  // Without service the level is forced to 0 when the operator asks for it.
  setSwitch(QStringLiteral("Init"), QStringLiteral("ShowSignalWhenServiceExist"), true);
  for (const QString &text : {QStringLiteral("No Service"), QStringLiteral("Limited Service")}) {
    init()->setNetworkStatus(text);
    init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {31}));
    EXPECT_EQ(posted.last(), 0) << text.toStdString();
  }
  init()->setNetworkStatus(QStringLiteral("UMTS"));
  init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {31}));
  EXPECT_EQ(posted.last(), 5);
}

TEST_F(SignalLevels, ReportsTooShortForTheirLayoutAreDropped) {
  platform.setPlatform(Platform::kPlatformOther);
  init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {}));
  init()->dealWithMsgOfCheckSignalStatus(package(7, 36, {70}, 0, true));
  init()->dealWithMsgOfCheckQrssiSignalStatus(package(7, 56, {60, 16}));
  setSwitch(QStringLiteral("Main"), QStringLiteral("IceraSignal"), true);
  init()->dealWithMsgOfCheckSignalStatusIcera(package(7, 55, {2, -70, -91}));
  init()->dealWithMsgOfCheckQairInfoStatus(textPackage(7, 57, QByteArray(200, 'x')));
  EXPECT_TRUE(posted.isEmpty());
  EXPECT_TRUE(init()->diagRAC().isEmpty());
  // A package that is not a package at all.
  init()->dealWithMsgOfCheckSignalStatus(Notification{QStringLiteral("qUIMsg458788"), nullptr, {}});
  EXPECT_TRUE(posted.isEmpty());
}

TEST_F(SignalLevels, RadioValuesReachTheServiceThePlugInsAndTheDiagnostics) {
  setSwitch(QStringLiteral("Main"), QStringLiteral("UpdateDiagWindow"), true);
  QVariantMap published;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("ReadRscpRssiEcnoInfo"), init(),
                                                  [&](const Notification &n) { published = n.userInfo; });
  // 3G extended report: RSSI -60, Ec/Io -8, RSCP -91; the service shows the RSCP.
  service.setSignalStrengthFlag(1);
  init()->dealWithMsgOfCheckQrssiSignalStatus(package(7, 56, {60, 16, 182}));
  EXPECT_EQ(published.value("RSCP").toString(), "-91");
  EXPECT_EQ(published.value("RSSI").toString(), "-60");
  EXPECT_EQ(published.value("ECNO").toString(), "-8");
  EXPECT_EQ(init()->rscpText(), "-91 dBm");
  EXPECT_EQ(init()->ecnoText(), "-8 dBm");
  EXPECT_EQ(init()->signalDetailRssi(), "60");
  EXPECT_EQ(service.signalStrength(), "-91 dBm");
  EXPECT_EQ(init()->diagSignalField("RSCP"), "-91 dBm");
  EXPECT_EQ(init()->diagSignalField("SignalStrength"), "-91 dBm");
  EXPECT_EQ(init()->signalStrengthValue(), 5);

  // 2G report: RSCP and Ec/Io travel unchanged; on a 2G network they are not shown when the
  // operator hides meaningless values, and the diagnostics keep what they had.
  setSwitch(QString(), QStringLiteral("NoShowInValidValueOfEcioRscp"), true);
  init()->setNetworkStatus(QStringLiteral("EDGE"));
  service.setSignalStrengthFlag(0);
  init()->dealWithMsgOfCheckQrssiSignalStatus(package(7, 56, {90, kNotAvailable, kNotAvailable}));
  EXPECT_EQ(published.value("RSCP").toString(), "1000");
  EXPECT_EQ(published.value("RSSI").toString(), "-90");
  EXPECT_EQ(init()->rscpText(), "");
  EXPECT_EQ(init()->diagSignalField("RSCP"), "-91 dBm");
  EXPECT_EQ(init()->diagSignalField("RSSI"), "-90 dBm");
  EXPECT_EQ(service.signalStrength(), "-90 dBm");

  // The Icera report sets which value the service shows.
  setSwitch(QStringLiteral("Main"), QStringLiteral("IceraSignal"), true);
  init()->dealWithMsgOfCheckSignalStatusIcera(package(7, 55, {2, -70, -95, -9}));
  EXPECT_EQ(service.signalStrengthFlag(), 1);
  EXPECT_EQ(service.signalStrength(), "-95 dBm");
  init()->dealWithMsgOfCheckSignalStatusIcera(package(7, 55, {1, -85, 0, 0}));
  EXPECT_EQ(service.signalStrengthFlag(), 0);
  EXPECT_EQ(service.signalStrength(), "-85 dBm");
}

TEST_F(SignalLevels, AirInformationIsKeptOnlyFromSuccessfulReplies) {
  QByteArray block(384, '\0');
  const auto put = [&block](int offset, quint32 v) {
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar *>(block.data() + offset));
  };
  put(164, 7);
  block.replace(168, 68, QByteArray("GSM900").leftJustified(68, 'X')); // no terminator inside
  put(236, 62);
  put(248, 3);
  put(252, 41);
  init()->dealWithMsgOfCheckQairInfoStatus(textPackage(7, 57, block));
  EXPECT_EQ(init()->diagRAC(), "7");
  EXPECT_EQ(init()->diagFrequency().size(), 68) << "the text stops at its field";
  EXPECT_EQ(init()->diagChannel(), "62");
  EXPECT_EQ(init()->diagRXqual(), "3");
  EXPECT_EQ(init()->diagRXlev(), "41");
  put(164, 9);
  init()->dealWithMsgOfCheckQairInfoStatus(textPackage(7, 57, block, UIMsg::kResultFailure));
  EXPECT_EQ(init()->diagRAC(), "7");
}

TEST_F(SignalLevels, OperatorSignalPictureAndTooltip) {
  setSwitch(QStringLiteral("Init"), QStringLiteral("SetIndiaDidoroSignal"), true);
  init()->setSignalStrength(2);
  ASSERT_TRUE(init()->imageViewOfSignalStrengthForDidoro_);
  EXPECT_EQ(init()->imageViewOfSignalStrengthForDidoro_->property("imageName").toString(), "SIGNAL3");
  EXPECT_EQ(init()->statusView->signalImage->toolTip(), "Signal");
  init()->setSignalStrength(0);
  EXPECT_EQ(init()->imageViewOfSignalStrengthForDidoro_->property("imageName").toString(), "SIGNAL1");
  EXPECT_EQ(init()->statusView->signalImage->toolTip(), "No Signal");
}

// The settings window as far as the prefer-3G suggestion asks it.
class PreferModeSettings : public SettingController {
  Q_OBJECT
public:
  int mode = 1;
  Q_INVOKABLE int getCurrentNetWorkPreferedMode() const { return mode; }
};

class Prefer3G : public SignalFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {
        {QStringLiteral("Internet"), QVariantMap{{QStringLiteral("z3iAlertSel3G_PreferWhenSignalToNoSignal"), true}}},
        {QStringLiteral("Main"), QVariantMap{{QStringLiteral("timeToAlertSel3G_PreferIfNoSigal"), 0.02}}}};
  }
  void report(int level) {
    static const QList<QList<qint64>> kWords = {{113, 40, 240}, {100, 34, 228}, {90, 28, 220},
                                                {80, 22, 200},  {70, 18, 190},  {60, 12, 170}};
    init()->dealWithMsgOfCheckQrssiSignalStatus(package(7, 56, kWords.at(level)));
  }
  bool alerted() const {
    const QString text = Map_Name_Item_of_IndexString(QStringLiteral("z3iAlertSel3G_PreferWhenSignalToNoSignal"));
    return std::any_of(answers->asked().cbegin(), answers->asked().cend(),
                       [&text](const ModalQuestion &q) { return q.message == text; });
  }
};

TEST_F(Prefer3G, LostSignalSuggestsPrefer3GOncePerDevice) {
  PreferModeSettings settings;
  report(3);
  report(0);
  ASSERT_TRUE(init()->isPrefer3GAlertPending());
  ASSERT_TRUE(testsupport::waitUntil([&] { return alerted(); }));
  EXPECT_FALSE(init()->allowAlertSel3GPreferWhenSignalToNoSignal());
  const int asked = answers->asked().size();
  // Not again for this device.
  report(4);
  report(0);
  EXPECT_FALSE(init()->isPrefer3GAlertPending());
  EXPECT_EQ(answers->asked().size(), asked);
  // A new device may be told again; a signal back before the timer fires cancels the alert.
  init()->notifyDeviceRemoved();
  EXPECT_TRUE(init()->allowAlertSel3GPreferWhenSignalToNoSignal());
  init()->setRuntimeObject(true, kRTSIMCardReady);
  report(2);
  report(0);
  ASSERT_TRUE(init()->isPrefer3GAlertPending());
  report(3);
  QTest::qWait(60);
  EXPECT_EQ(answers->asked().size(), asked);
}

TEST_F(Prefer3G, NoSuggestionInOtherModesOrWhenThereWasNoSignal) {
  PreferModeSettings settings;
  settings.mode = 2;
  report(3);
  report(0);
  EXPECT_FALSE(init()->isPrefer3GAlertPending());
  settings.mode = 1;
  report(0); // the signal was already gone
  EXPECT_FALSE(init()->isPrefer3GAlertPending());
  // The mode changes while the timer runs: the alert is not shown.
  report(3);
  report(0);
  ASSERT_TRUE(init()->isPrefer3GAlertPending());
  settings.mode = 3;
  QTest::qWait(60);
  EXPECT_TRUE(answers->asked().isEmpty());
  EXPECT_TRUE(init()->allowAlertSel3GPreferWhenSignalToNoSignal());
}

} // namespace

#include "SignalLevelsTest.moc"
