// Device mode and identity replies: what each keeps, what it tells the settings window and the
// connection controller, and which replies it refuses.
#include "DialController.h"
#include "SettingController.h"
#include "SignalFixture.h"
#include "WordGlobe.h"

#include <memory>

namespace {
using namespace signaltest;

// The settings window and the connection controller as far as the device replies tell them.
class RecordingSettings : public SettingController {
  Q_OBJECT
public:
  QStringList calls;
  Q_INVOKABLE void setWCDMASelectNetworkVisible(bool on) { calls << QStringLiteral("WCDMA(%1)").arg(on); }
  Q_INVOKABLE void setCDMASelectNetworkVisible(bool on) { calls << QStringLiteral("CDMA(%1)").arg(on); }
  Q_INVOKABLE void dealWithMsgOfCheckSearchmode(uint search, uint selected, uint pref) {
    calls << QStringLiteral("search(%1,%2,%3)").arg(search).arg(selected).arg(pref);
  }
  Q_INVOKABLE void dealWithMsgOfCheckSearchmodeForIcera(uint search, uint selected) {
    calls << QStringLiteral("searchIcera(%1,%2)").arg(search).arg(selected);
  }
  Q_INVOKABLE void dealWithMsgOfCheckPreferenceMode(uint pref) { calls << QStringLiteral("pref(%1)").arg(pref); }
  Q_INVOKABLE void setCheckForUpdateRizoraEnable(bool on) { calls << QStringLiteral("update(%1)").arg(on); }
  Q_INVOKABLE void setRuvozModel(const QString &model) { calls << QStringLiteral("model(%1)").arg(model); }
};

class RecordingDial : public DialController {
  Q_OBJECT
public:
  QStringList calls;
  Q_INVOKABLE void setWCDMAConfigHidden(bool hidden) { calls << QStringLiteral("hidden(%1)").arg(hidden); }
};

QByteArray text(const QByteArray &value, int width) {
  return value.leftJustified(width, '\0', true);
}

// The recorders replace the builder's controllers as the program-wide ones.
class DeviceReplies : public SignalFixture {
protected:
  std::unique_ptr<RecordingSettings> settingsPtr;
  std::unique_ptr<RecordingDial> dialPtr;
  RecordingSettings &settings() { return *settingsPtr; }
  RecordingDial &dial() { return *dialPtr; }

  void SetUp() override {
    SignalFixture::SetUp();
    settingsPtr = std::make_unique<RecordingSettings>();
    dialPtr = std::make_unique<RecordingDial>();
  }
  void TearDown() override {
    settingsPtr.reset();
    dialPtr.reset();
    SignalFixture::TearDown();
  }
};

TEST_F(DeviceReplies, DeviceModeChoosesTheCdmaOrWcdmaLayout) {
  struct Case {
    quint32 mode;
    bool hideWcdmaPara;
    QStringList settingsCalls, dialCalls;
  };
  const QList<Case> cases = {
      {3, false, {"WCDMA(1)", "CDMA(0)"}, {}},           {7, false, {"WCDMA(1)", "CDMA(0)"}, {}},
      {3, true, {"WCDMA(1)", "CDMA(0)"}, {"hidden(1)"}}, {4, false, {"CDMA(1)", "WCDMA(0)"}, {"hidden(0)"}},
      {6, true, {"CDMA(1)", "WCDMA(0)"}, {"hidden(0)"}},
  };
  platform.setPlatform(Platform::kPlatformTK330);
  init()->notifyDevicePlugin(); // the EVDO picture and labels show
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mode);
    settings().calls.clear();
    dial().calls.clear();
    setSwitch(QStringLiteral("Internet"), QStringLiteral("HideWCDMAPara"), c.hideWcdmaPara);
    // Taken whatever its result byte says.
    init()->dealWithMsgOfGetDeviceMode(package(3, 5, {c.mode}, UIMsg::kResultFailure));
    EXPECT_EQ(init()->deviceMode(), int(c.mode));
    EXPECT_EQ(settings().calls, c.settingsCalls);
    EXPECT_EQ(dial().calls, c.dialCalls);
  }
  // The CDMA family hid them.
  EXPECT_TRUE(init()->m_evdoStatus->isHidden());
  EXPECT_TRUE(init()->m_rssiStatusLabel->isHidden());
}

TEST_F(DeviceReplies, SearchAndPreferenceModesReachTheSettingsOnlyOnSuccess) {
  init()->dealWithMsgOfCheckSearchMode(package(513, 76, {1, 2, 3}));
  platform.setPlatform(Platform::kPlatformIcera);
  init()->dealWithMsgOfCheckSearchMode(package(513, 76, {1, 2, 3}));
  init()->dealWithMsgOfCheckSearchMode(package(513, 76, {4, 5, 6}, UIMsg::kResultFailure));
  init()->dealWithMsgOfCheckPreferenceMode(package(513, 81, {4}));
  init()->dealWithMsgOfCheckPreferenceMode(package(513, 81, {8}, UIMsg::kResultFailure));
  EXPECT_EQ(settings().calls, (QStringList{"search(1,2,3)", "searchIcera(1,2)", "pref(4)"}));
}

TEST_F(DeviceReplies, IdentityTextsAreKeptOnlyFromSuccessfulReplies) {
  init()->dealWithMsgOfCheckHWVERSION(textPackage(7, 49, text("CH1SIMA", 128)));
  init()->dealWithMsgOfCheckSerialNumber(textPackage(7, 51, text("SN42", 36)));
  init()->dealWithMsgOfCheckModemModel(textPackage(7, 50, text("QEL-E100", 32)));
  init()->dealWithMsgOfCheckFWINTERNALVERSION(textPackage(7, 46, text("11.001.B01", 68)));
  EXPECT_EQ(init()->hwVersion(), "CH1SIMA");
  EXPECT_EQ(init()->serialNumber(), "SN42");
  EXPECT_EQ(init()->deviceModel(), "QEL-E100");
  EXPECT_EQ(init()->getInternalFWVersionWithQVN(), "11.001.B01");
  EXPECT_EQ(settings().calls, (QStringList{"model(QEL-E100)", "update(1)"}));

  settings().calls.clear();
  for (uint16_t minor : {49, 51, 50, 46}) {
    const Notification failed = textPackage(7, minor, text("other", 128), UIMsg::kResultFailure);
    if (minor == 49)
      init()->dealWithMsgOfCheckHWVERSION(failed);
    else if (minor == 51)
      init()->dealWithMsgOfCheckSerialNumber(failed);
    else if (minor == 50)
      init()->dealWithMsgOfCheckModemModel(failed);
    else
      init()->dealWithMsgOfCheckFWINTERNALVERSION(failed);
  }
  EXPECT_EQ(init()->hwVersion(), "CH1SIMA");
  EXPECT_EQ(init()->serialNumber(), "SN42");
  EXPECT_EQ(init()->deviceModel(), "QEL-E100");
  EXPECT_EQ(init()->getInternalFWVersionWithQVN(), "11.001.B01");
  EXPECT_TRUE(settings().calls.isEmpty()) << "a refused model tells nobody";

  // Texts stop at their field even without a terminator, and a "%" in them stays text.
  init()->dealWithMsgOfCheckModemModel(textPackage(7, 50, QByteArray(40, '%')));
  EXPECT_EQ(init()->deviceModel(), QString(32, QLatin1Char('%')));
  init()->dealWithMsgOfCheckSerialNumber(textPackage(7, 51, QByteArray(100, '7')));
  EXPECT_EQ(init()->serialNumber().size(), 36);
}

TEST_F(DeviceReplies, OwnNumberFillsTheRuntimeKeyAndTheFields) {
  QLabel content, mainView;
  init()->tfdOwnNumContent_ = &content;
  init()->tfdOwnNumUI_ = &mainView;
  setSwitch(QStringLiteral("UIConfig"), QStringLiteral("RuvozUI"), true);
  int ruvozPosts = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("DisplayPhoneNumberForRuvoz"), nullptr,
                                                  [&](const Notification &) { ++ruvozPosts; });

  init()->dealWithMsgOfCheckPhoneNumber(textPackage(7, 48, text("+15551234", 44)));
  EXPECT_EQ(init()->runtimeObjectForKey(kRTPhoneNumber).toString(), "+15551234");
  EXPECT_TRUE(init()->ruvozUITopFrontSizeFlag());
  EXPECT_EQ(ruvozPosts, 1);
  EXPECT_EQ(content.text(), "+15551234");
  EXPECT_EQ(mainView.text(), Map_Name_Item_of_IndexString("Main_btnNumberForBrazil:%s").replace("%s", "+15551234"));

  // Success with no number: the content empties, the main view keeps its number.
  init()->dealWithMsgOfCheckPhoneNumber(textPackage(7, 48, text("", 44)));
  EXPECT_EQ(init()->runtimeObjectForKey(kRTPhoneNumber).toString(), "");
  EXPECT_EQ(content.text(), "");
  EXPECT_TRUE(mainView.text().contains("+15551234"));

  // A failed reply empties the runtime key, posts nothing for the top view.
  init()->setRuvozUITopFrontSizeFlag(false);
  init()->dealWithMsgOfCheckPhoneNumber(textPackage(7, 48, text("", 44), UIMsg::kResultFailure));
  EXPECT_EQ(init()->runtimeObjectForKey(kRTPhoneNumber).toString(), "");
  EXPECT_FALSE(init()->ruvozUITopFrontSizeFlag());
  EXPECT_EQ(ruvozPosts, 2);
}

// The builder's own settings window and connection controller answer none of these calls yet:
// the replies are still taken and nothing is called that is not there.
using DeviceRepliesWithoutNeighbours = SignalFixture;

TEST_F(DeviceRepliesWithoutNeighbours, RepliesAreTakenAllTheSame) {
  init()->dealWithMsgOfGetDeviceMode(package(3, 5, {4}));
  init()->dealWithMsgOfCheckModemModel(textPackage(7, 50, text("QEL-E100", 32)));
  init()->dealWithMsgOfCheckSearchMode(package(513, 76, {1, 2, 3}));
  init()->dealWithMsgOfCheckFWINTERNALVERSION(textPackage(7, 46, text("11.001.B01", 68)));
  EXPECT_EQ(init()->deviceMode(), 4);
  EXPECT_EQ(init()->deviceModel(), "QEL-E100");
  EXPECT_EQ(init()->getInternalFWVersionWithQVN(), "11.001.B01");
  // A device-mode reply without its word is not a mode.
  init()->dealWithMsgOfGetDeviceMode(package(3, 5, {}));
  EXPECT_EQ(init()->deviceMode(), 4);
}

} // namespace

#include "DeviceRepliesTest.moc"
