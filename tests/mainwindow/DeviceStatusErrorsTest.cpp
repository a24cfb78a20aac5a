// The device-status error paths end to end against the simulated modem, the SIM code sheets'
// cancel paths, the PIN replies with odd sizes, the skin and the wording of the controller.
#include "InitController.h"
#include "InitStatusView.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "PinSheets.h"
#include "QELUIManager.h"
#include "SignalFixture.h"
#include "SimulatedModem.h"
#include "WordGlobe.h"

#include <QFile>
#include <QtEndian>

namespace {

QByteArray words(std::initializer_list<quint32> values) {
  QByteArray out;
  for (quint32 v : values) {
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar *>(b.data()));
    out += b;
  }
  return out;
}

class DeviceStatusErrors : public ModemWindowFixture {
protected:
  bool start(const QString &scenario) {
    if (!launch(scenario))
      return false;
    return testsupport::waitUntil([&] { return parts.mainController->getNetCardStatus() != 0; });
  }
  void inject(uint16_t major, uint16_t minor, int type = 0, uint8_t result = 0, const QByteArray &data = {},
              int module = 1) {
    backend->control("Inject", {SimulatedModem::makePackage(major, minor, type, result, data, module).encode()});
  }
  bool asked(const QString &message) const {
    return std::any_of(answers->asked().cbegin(), answers->asked().cend(),
                       [&](const ModalQuestion &q) { return q.message == message; });
  }
  QString statusImage() const { return init()->statusView->networkStatusImage->property("imageName").toString(); }
  bool receivedFromProgram(uint16_t major, uint16_t minor) const {
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == major && m.minorId == minor)
        return true;
    }
    return false;
  }
};

TEST_F(DeviceStatusErrors, NoSimIsToldAndTheNetworkGoesToNoService) {
  if (!start("no-sim"))
    GTEST_SKIP() << "no session bus";
  EXPECT_TRUE(testsupport::waitUntil([&] { return asked("NO UIM, Please insert UIM card!"); }));
  EXPECT_EQ(init()->networkName(), "No Service");
  EXPECT_NE(init()->simPinState(), InitController::kSimReady);
}

TEST_F(DeviceStatusErrors, NoSimIsNotToldWhenSwitchedOff) {
  QVariantMap initModule = config->getConfiguration().value("Init").toMap();
  initModule.insert("DonotShowNoSIMAlert", true);
  config->getConfiguration().insert("Init", initModule);
  if (!start("no-sim"))
    GTEST_SKIP() << "no session bus";
  inject(8, 60); // a marker: once it is told, the SIM status before it was handled
  ASSERT_TRUE(testsupport::waitUntil([&] { return asked("Device not detected!"); }));
  EXPECT_FALSE(asked("NO UIM, Please insert UIM card!"));
  EXPECT_EQ(init()->networkName(), "No Service");
}

TEST_F(DeviceStatusErrors, AnInvalidCardIsToldAndEndsTheProgram) {
  int willClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppWillClose"), nullptr,
                                                  [&](const Notification &) { ++willClose; });
  if (!start("invalid-card"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return willClose == 1; }));
  EXPECT_TRUE(asked("Incorrect (U)SIM card!"));
}

TEST_F(DeviceStatusErrors, ADetachedDeviceIsTold) {
  if (!start("sim-ready"))
    GTEST_SKIP() << "no session bus";
  inject(8, 60);
  EXPECT_TRUE(testsupport::waitUntil([&] { return asked("Device not detected!"); }));
}

struct UsimCase {
  bool on;
  quint32 status;
  int type, module;
  bool told;
};

class UsimStatus : public DeviceStatusErrors, public ::testing::WithParamInterface<UsimCase> {
protected:
  QVariantMap settingsOverrides() const override { return {{"PopUpPanelWhenQUSIM4", GetParam().on}}; }
};

TEST_P(UsimStatus, FourAndSixAreToldOnlyWithTheSwitch) {
  const UsimCase c = GetParam();
  if (!start("sim-ready"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->simPinState() == InitController::kSimReady; }));
  inject(6, 34, c.type, 0, words({c.status}), c.module);
  inject(8, 60); // marker
  ASSERT_TRUE(testsupport::waitUntil([&] { return asked("Device not detected!"); }));
  EXPECT_EQ(asked("Invalid (U)SIM or No (U)SIM!"), c.told);
  EXPECT_EQ(init()->simPinState() == InitController::kSimReady, !c.told);
}

INSTANTIATE_TEST_SUITE_P(Cases, UsimStatus,
                         ::testing::Values(UsimCase{true, 4, 1, 1, true}, UsimCase{true, 6, 1, 1, true},
                                           UsimCase{true, 5, 1, 1, false}, UsimCase{true, 4, 0, 1, false},
                                           UsimCase{true, 6, 1, 2, false}, UsimCase{false, 4, 1, 1, false}));

TEST_F(DeviceStatusErrors, AHandshakeWithAFailureChangesNothing) {
  if (!start("sim-ready"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return statusImage() == "netstatus2"; }));
  backend->control("Unplug");
  ASSERT_TRUE(testsupport::waitUntil([&] { return statusImage() == "netstatus1"; }));
  inject(1, 0, 0, 1);
  inject(8, 60); // marker
  ASSERT_TRUE(testsupport::waitUntil([&] { return asked("Device not detected!"); }));
  EXPECT_EQ(statusImage(), "netstatus1");
  inject(1, 0, 0, 0);
  EXPECT_TRUE(testsupport::waitUntil([&] { return statusImage() == "netstatus2"; }));
}

TEST_F(DeviceStatusErrors, CancellingThePinSheetAsksTheModemToGoOnWithoutACode) {
  if (!start("sim-pin"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
  init()->pinSheet()->cancel->click();
  EXPECT_FALSE(init()->pinSheet()->isVisible());
  EXPECT_TRUE(testsupport::waitUntil([&] { return receivedFromProgram(4, 15); }));
}

TEST_F(DeviceStatusErrors, TheReAlertAsksBeforeACancelAndLocksOnYes) {
  QVariantMap main = config->getConfiguration().value("Main").toMap();
  main.insert("reAlertWhenCancelPINOrPUKwindow", true);
  config->getConfiguration().insert("Main", main);
  if (!start("sim-pin"))
    GTEST_SKIP() << "no session bus";
  PinSheet *pin = init()->pinSheet();
  ReAlertSheet *reAlert = init()->reAlertSheet();
  ASSERT_TRUE(testsupport::waitUntil([&] { return pin->isVisible(); }));
  // "No": back to the PIN sheet, nothing sent.
  pin->cancel->click();
  ASSERT_TRUE(reAlert->isVisible());
  reAlert->no->click();
  EXPECT_FALSE(reAlert->isVisible());
  EXPECT_TRUE(pin->isVisible());
  // "Yes": the sheet goes and the status area says the PIN is locked.
  pin->cancel->click();
  ASSERT_TRUE(reAlert->isVisible());
  reAlert->yes->click();
  EXPECT_FALSE(reAlert->isVisible());
  EXPECT_FALSE(pin->isVisible());
  EXPECT_EQ(init()->statusView->lockTipLabel->text(), "PIN is locked");
  EXPECT_TRUE(testsupport::waitUntil([&] { return receivedFromProgram(4, 15); }));
}

// Replies handed to the controller directly, as the message centre would.
using PinReplies = signaltest::SignalFixture;

TEST_F(PinReplies, AutoValidationReplyKeepsTheModemsChoiceAndAsksAgain) {
  struct Case {
    uint8_t result;
    QByteArray data;
    bool checked;
    QVariant savedByUser; // Main/"hadDosavePinToModemByUser" afterwards
  };
  const QList<Case> cases = {
      {0, words({1, 1}), true, true},
      {0, words({1, 0}), true, false},
      {0, words({0, 1}), false, true},
      {0xFF, words({1, 1}), false, {}},
      {0, {}, false, {}},
  };
  for (const Case &c : cases) {
    config->getConfiguration().remove("Main");
    init()->dealWithMsgOfPinAutoValidation(signaltest::textPackage(4, 16, c.data, c.result));
    EXPECT_EQ(init()->pinAutoValidationChecked(), c.checked) << c.data.toHex().constData();
    EXPECT_EQ(config->getConfigurationByModuleAndKey("Main", "hadDosavePinToModemByUser"), c.savedByUser)
        << c.data.toHex().constData();
  }
}

TEST_F(PinReplies, ASavedPinIsReadOnlyFromATenByteField) {
  init()->setPinNum("1111");
  for (const QByteArray &odd : {QByteArray("123456789"), QByteArray("12345678901")}) {
    init()->dealWithMsgOfReadPin(signaltest::textPackage(4, 19, odd));
    EXPECT_EQ(init()->pinNum(), "1111") << odd.size();
  }
  init()->dealWithMsgOfReadPin(signaltest::textPackage(4, 19, QByteArray("2468").leftJustified(10, '\0')));
  EXPECT_EQ(init()->pinNum(), "2468");
}

TEST_F(PinReplies, PluginsAskingForTheDiagnosticsGetThem) {
  QObject observer;
  QObject *sender = nullptr;
  NotificationCenter::defaultCenter().addObserver(&observer, QStringLiteral("diagInfo"), nullptr,
                                                  [&](const Notification &n) { sender = n.object; });
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("prepareDiagInfo"));
  EXPECT_EQ(sender, init());
}

// The controller's windows and fields follow the skin, and its texts the language.
class DeviceStatusLook : public MainWindowFixture {};

TEST_F(DeviceStatusLook, SheetsAndFieldsAreRegisteredWithTheSkin) {
  const QString folder = dir.filePath("skin");
  QVariantMap items;
  for (const char *key : {"wndSettingEnablePin", "wndSettingPuk", "wndReAlertToCancelPinInput", "textPinCodeInit",
                          "textPukCodeInit", "textNewPinCodeInit", "textRepNewPinCodeInit", "btnInitSavePinNum",
                          "btnMainInputPinOK", "labelPleaseInputPukMain", "labelInitNetwork"})
    items.insert(key, QVariantMap{});
  QDir().mkpath(folder);
  ASSERT_TRUE(Plist::writeFile(folder + "/SkinInfo", items));
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(folder));
  parts = MainWindowBuilder::build(nullptr, &skin, &owner);
  InitController *init = parts.initController;
  EXPECT_EQ(skin.controllerByKey("wndSettingEnablePin"), init->pinSheet());
  EXPECT_EQ(skin.controllerByKey("wndSettingPuk"), init->pukSheet());
  EXPECT_EQ(skin.controllerByKey("wndReAlertToCancelPinInput"), init->reAlertSheet());
  EXPECT_EQ(skin.controllerByKey("textPinCodeInit"), init->pinSheet()->pinCode);
  EXPECT_EQ(skin.controllerByKey("textPukCodeInit"), init->pukSheet()->pukCode);
  EXPECT_EQ(skin.controllerByKey("textNewPinCodeInit"), init->pukSheet()->newPinCode);
  EXPECT_EQ(skin.controllerByKey("textRepNewPinCodeInit"), init->pukSheet()->repNewPinCode);
  EXPECT_EQ(skin.controllerByKey("btnInitSavePinNum"), init->pinSheet()->savePin);
  EXPECT_EQ(skin.controllerByKey("btnMainInputPinOK"), init->pinSheet()->ok);
  EXPECT_EQ(skin.controllerByKey("labelPleaseInputPukMain"), init->pukSheet()->prompt);
  EXPECT_EQ(skin.controllerByKey("labelInitNetwork"), init->statusView->networkTypeLabel);
  delete parts.mainController; // it watches the window
  delete parts.window;
  parts = {};
}

TEST_F(DeviceStatusLook, ALanguageChangeReWordsTheSheetsTheMenuAndTheLockTip) {
  buildOffline();
  InitController *init = parts.initController;
  // The lock tip as the re-alert's "Yes" leaves it.
  config->getConfiguration().insert("Main", QVariantMap{{"reAlertWhenCancelPINOrPUKwindow", true}});
  init->openPinWindow();
  init->pinSheet()->cancel->click();
  init->reAlertSheet()->yes->click();
  ASSERT_EQ(init->statusView->lockTipLabel->text(), "PIN is locked");

  const QString tokens = dir.filePath("German.lproj/LanguageTokenList.txt");
  QDir().mkpath(dir.filePath("German.lproj"));
  QFile f(tokens);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\"Please input PIN:\" = \"PIN eingeben:\";\n\"PIN is locked\" = \"PIN gesperrt\";\n"
          "\"Enter PIN\" = \"PIN eingeben\";\n\"New PIN:\" = \"Neue PIN:\";\n\"reAlert PIN\" = \"Wirklich?\";\n");
  f.close();
  const QString before = WordGlobe::currentTokenListPath();
  ASSERT_TRUE(Word_Globe_Init(tokens));
  init->notifyChangeLanguage();
  EXPECT_EQ(init->pinSheet()->prompt->text(), "PIN eingeben:");
  EXPECT_EQ(init->pukSheet()->newPinLabel->text(), "Neue PIN:");
  EXPECT_EQ(init->reAlertSheet()->message->text(), "Wirklich?");
  EXPECT_EQ(init->statusView->lockTipLabel->text(), "PIN gesperrt");
  EXPECT_EQ(init->labelPINEnter_->text(), "PIN eingeben");
  if (!before.isEmpty())
    Word_Globe_Init(before);
  else
    WordGlobe::reset();
}

} // namespace
