// The Security page end to end: PIN lock, change PIN, PUK and the device lock code against the
// simulated modem.
#include "InitController.h"
#include "PinSheets.h"
#include "Plist.h"
#include "SettingFixture.h"
#include "SettingService.h"
#include "UnlockDeviceSheet.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

class SecurityPage : public SettingFixture {
protected:
  void TearDown() override {
    SettingService::sharedSettingService()->setNeedAlertLeftTimesFlag(false);
    SettingFixture::TearDown();
  }
  // Clicks the PIN lock box as a user would and answers the sheet with `pin`.
  void clickLock(const QString &pin) {
    settings()->m_PINEnable->click();
    ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
    fill(settings()->enablePinSheet(), {pin});
  }
};

TEST_F(SecurityPage, LockOnWithTheRightPinLocksTheCard) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitReady());
  EXPECT_FALSE(settings()->m_PINEnable->isChecked());
  EXPECT_FALSE(settings()->m_RevisePinButton->isEnabled());
  clickLock(QStringLiteral("1234"));
  ASSERT_TRUE(waitAsked(QStringLiteral("Settings successful!")));
  EXPECT_TRUE(settings()->m_PINEnable->isChecked());
  EXPECT_TRUE(settings()->m_RevisePinButton->isEnabled());
  EXPECT_TRUE(settings()->labelPINDisable_->isEnabled());
  EXPECT_FALSE(settings()->labelPINEnable_->isEnabled());
  EXPECT_EQ(settings()->pinEnableFlag(), 0);
  // The request carried the PIN in its 12-byte field and the new state, under module 3.
  const QList<UIMsg> sent = received(4, 14);
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent[0].moduleId, kModuleSetting);
  EXPECT_EQ(sent[0].payload(), QByteArray("1234\0\0\0\0\0\0\0\0\x01\0\0\0", 16));
  // The card now asks for its PIN when the device comes back.
  backend->control(QStringLiteral("Unplug"));
  backend->control(QStringLiteral("Plug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return parts.initController->pinSheet()->isVisible(); }));
  EXPECT_EQ(simState(), QStringLiteral("PIN"));
}

TEST_F(SecurityPage, WrongPinsCountDownThenTheLastTryWarnsAndNoTriesOpenThePukSheet) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitReady());
  // The box's states are recorded: the tries' answer may already have turned it back on by the
  // time the question has been seen.
  QList<bool> boxStates;
  QObject recording;
  QObject::connect(settings()->m_PINEnable, &QAbstractButton::toggled, &recording, [&](bool on) { boxStates << on; });
  clickLock(QStringLiteral("0000"));
  ASSERT_TRUE(waitAsked(QStringLiteral("Incorrect PIN code!")));
  // The box went back to the card's state; the tries are shown in the sheet.
  ASSERT_GE(boxStates.size(), 2);
  EXPECT_EQ(boxStates.mid(0, 2), (QList<bool>{true, false}));
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->pinTimeLeft() == 2; }));
  EXPECT_TRUE(settings()->enablePinSheet()->timeLeft->text().contains(QLatin1Char('2')));
  // A failed try leaves the next one warned: the sheet comes back by itself.
  ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
  EXPECT_TRUE(settings()->m_PINEnable->isChecked()); // showing again what the user asked for
  fill(settings()->enablePinSheet(), {QStringLiteral("0000")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Incorrect PIN code!"), 2));
  // One try left: the device status's warning comes before the sheet.
  ASSERT_TRUE(waitAsked(
      QStringLiteral("Only one chance left! If you input the wrong PIN code, your (U)SIM card will be locked.")));
  ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
  fill(settings()->enablePinSheet(), {QStringLiteral("0000")});
  // No tries left: the PUK sheet.
  ASSERT_TRUE(waitVisible(settings()->pukSheet()));
  EXPECT_EQ(simState(), QStringLiteral("PUK"));
  EXPECT_EQ(pinTries(), 0);

  // Unblocking with the PUK sets a new PIN and leaves the lock on.
  fill(settings()->pukSheet(), {QStringLiteral("12345678"), QStringLiteral("5678"), QStringLiteral("5678")});
  ASSERT_TRUE(waitAsked(QStringLiteral("New PIN enabled!")));
  EXPECT_EQ(simState(), QStringLiteral("Ready"));
  EXPECT_TRUE(settings()->m_PINEnable->isChecked());
  const QList<UIMsg> puk = received(4, 11);
  ASSERT_EQ(puk.size(), 1);
  EXPECT_EQ(puk[0].payload(), QByteArray("5678\0\0\0\0\0\0"
                                         "12345678\0\0",
                                         20));
  // The new PIN is the card's PIN now.
  settings()->ChangePin(nullptr);
  fill(settings()->revisePinSheet(), {QStringLiteral("5678"), QStringLiteral("1111"), QStringLiteral("1111")});
  ASSERT_TRUE(waitAsked(QStringLiteral("New PIN enabled!"), 2));
}

TEST_F(SecurityPage, ChangePinNeedsTheOldPinAndTwoEqualNewOnes) {
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return parts.initController->pinSheet()->isVisible(); }));
  parts.initController->pinSheet()->pinCode->setText(QStringLiteral("1234"));
  parts.initController->pinSheet()->ok->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->m_RevisePinButton->isEnabled(); }));
  EXPECT_TRUE(settings()->m_PINEnable->isChecked());

  // Input rules, before anything is sent.
  settings()->m_RevisePinButton->click();
  ASSERT_TRUE(waitVisible(settings()->revisePinSheet()));
  fill(settings()->revisePinSheet(), {QStringLiteral("1234"), QStringLiteral("4321"), QStringLiteral("4322")});
  EXPECT_EQ(askedCount(QStringLiteral("Different inputs of PIN code, please input again!")), 1);
  EXPECT_TRUE(settings()->revisePinSheet()->field(0)->text().isEmpty());
  EXPECT_TRUE(received(4, 12).isEmpty());

  // A wrong old PIN.
  fill(settings()->revisePinSheet(), {QStringLiteral("9999"), QStringLiteral("4321"), QStringLiteral("4321")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Incorrect PIN code!")));
  EXPECT_TRUE(SettingService::sharedSettingService()->isNeedAlertLeftTimesFlag());

  settings()->m_RevisePinButton->click();
  fill(settings()->revisePinSheet(), {QStringLiteral("1234"), QStringLiteral("4321"), QStringLiteral("4321")});
  ASSERT_TRUE(waitAsked(QStringLiteral("New PIN enabled!")));
  EXPECT_FALSE(SettingService::sharedSettingService()->isNeedAlertLeftTimesFlag());
  const QList<UIMsg> sent = received(4, 12);
  ASSERT_EQ(sent.size(), 2);
  EXPECT_EQ(sent[1].payload(), QByteArray("1234\0\0\0\0\0\0"
                                          "4321\0\0\0\0\0\0",
                                          20));
  // The card took it: switching the lock off needs the new PIN.
  clickLock(QStringLiteral("4321"));
  ASSERT_TRUE(waitAsked(QStringLiteral("Settings successful!")));
  EXPECT_FALSE(settings()->m_PINEnable->isChecked());
}

TEST_F(SecurityPage, AnswersForTheDeviceStatusAreNotTheSettingsWindows) {
  buildOffline();
  // A tries answer under module 1 is the device status's: the page's counts stay.
  const auto post = [&](int module, int pinTries) {
    UIMsg msg;
    msg.moduleId = module;
    msg.majorId = 4;
    msg.minorId = 8;
    msg.type = 1;
    QByteArray data(8, '\0');
    data[0] = char(pinTries);
    data[4] = 10;
    msg.setPayload(data);
    settings()->dealWithMsgOfCountPinPukRemain(
        Notification{QStringLiteral("qUIMsg"), nullptr, {{QStringLiteral("qUIMsg"), msg.encode()}}});
  };
  post(1, 0);
  EXPECT_EQ(settings()->pinTimeLeft(), -1);
  EXPECT_FALSE(settings()->pukSheet()->isVisible());
  // Under module 3, no PIN tries left opens the PUK sheet even with no PIN sheet open.
  post(3, 0);
  EXPECT_EQ(settings()->pinTimeLeft(), 0);
  EXPECT_TRUE(settings()->pukSheet()->isVisible());
}

// ---- device lock code ----

TEST_F(SecurityPage, DeviceLockOnThenChangeTheCodeRightAndWrong) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitReady());
  EXPECT_FALSE(settings()->getDeviceUnlockCodeState());
  EXPECT_FALSE(settings()->btnModifyDeviceUnlockCode->isEnabled());

  // Codes that are not four digits never leave the program.
  settings()->btnCheckDeviceUnlockCodeEnable->click();
  CodeSheet *sheet = settings()->unlockDeviceSheet();
  ASSERT_TRUE(waitVisible(sheet));
  for (const QString &bad : {QStringLiteral("123"), QStringLiteral("12345"), QStringLiteral("12b4")}) {
    fill(sheet, {bad});
    EXPECT_TRUE(sheet->isVisible());
  }
  EXPECT_EQ(askedCount(QStringLiteral("The unlock device code must be 4 digitals")), 3);
  EXPECT_TRUE(received(5, 29).isEmpty());

  // The modem's code (0000) switches the lock on.
  fill(sheet, {QStringLiteral("0000")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Device lock enabled!")));
  EXPECT_TRUE(settings()->getDeviceUnlockCodeState());
  EXPECT_TRUE(settings()->btnModifyDeviceUnlockCode->isEnabled());
  EXPECT_TRUE(backend->control(QStringLiteral("DeviceLock")).value(0).toBool());
  ASSERT_EQ(received(5, 29).size(), 1);
  EXPECT_EQ(received(5, 29)[0].type, 1);
  EXPECT_EQ(received(5, 29)[0].payload(), QByteArray("\x01\0\0\0"
                                                     "0000\0\0\0\0",
                                                     12));

  // A wrong old code: told, and the sheet opens again.
  settings()->btnModifyDeviceUnlockCode->click();
  CodeSheet *modify = settings()->modifyUnlockDeviceSheet();
  ASSERT_TRUE(waitVisible(modify));
  fill(modify, {QStringLiteral("0000"), QStringLiteral("1357"), QStringLiteral("1358")});
  EXPECT_EQ(askedCount(QStringLiteral("Please input same unlock code!")), 1);
  fill(modify, {QStringLiteral("9999"), QStringLiteral("1357"), QStringLiteral("1357")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Invalid password!")));
  ASSERT_TRUE(waitVisible(modify));
  EXPECT_EQ(backend->control(QStringLiteral("DeviceLock")).value(1).toString(), QStringLiteral("0000"));
  fill(modify, {QStringLiteral("0000"), QStringLiteral("1357"), QStringLiteral("1357")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Modify device unlock code successfully!")));
  EXPECT_EQ(backend->control(QStringLiteral("DeviceLock")).value(1).toString(), QStringLiteral("1357"));

  // Cancel puts the box back.
  settings()->btnCheckDeviceUnlockCodeEnable->click();
  EXPECT_FALSE(settings()->getDeviceUnlockCodeState());
  ASSERT_TRUE(waitVisible(sheet));
  sheet->cancel->click();
  EXPECT_TRUE(settings()->getDeviceUnlockCodeState());
}

class GuardedSettings : public SettingFixture {
protected:
  QVariantMap settingsOverrides() const override { return {{QStringLiteral("DeviceLockSettingFunction"), true}}; }
};

TEST_F(GuardedSettings, EnteringTheSettingTabAsksForTheCodeAndFollowsTheOutcome) {
  if (!launch(QStringLiteral("device-lock")))
    GTEST_SKIP() << "no session bus";
  InitController *init = parts.initController;
  ASSERT_TRUE(testsupport::waitUntil([&] { return init->unlockDeviceSheet()->isVisible(); }));
  init->unlockDeviceSheet()->code->setText(QStringLiteral("4321"));
  init->unlockDeviceSheet()->ok->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return init->firstUnlockedDevice(); }));
  EXPECT_TRUE(settings()->getDeviceUnlockCodeState());

  QStringList tabs;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("TabViewItemDidChange"), nullptr,
      [&](const Notification &n) { tabs << n.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString(); });
  // Entering the tab: the sheet opens for module 6.
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("Setting"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init->unlockDeviceSheet()->isVisible(); }));
  EXPECT_EQ(init->getDeviceLockFunctionModule(), 6);
  // A wrong code: the settings window hears the failure and goes back to the Internet tab.
  init->unlockDeviceSheet()->code->setText(QStringLiteral("1111"));
  init->unlockDeviceSheet()->ok->click();
  ASSERT_TRUE(waitAsked(QStringLiteral("Invalid password!")));
  ASSERT_TRUE(testsupport::waitUntil([&] { return tabs.contains(QStringLiteral("Internet")); }));
  // The right code: back to the Setting tab.
  tabs.clear();
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("Setting"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init->unlockDeviceSheet()->isVisible(); }));
  init->unlockDeviceSheet()->code->setText(QStringLiteral("4321"));
  init->unlockDeviceSheet()->ok->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return tabs.count(QStringLiteral("Setting")) >= 2; }));
  EXPECT_EQ(received(5, 28).constLast().moduleId, kModuleSetting);
  // The accepted code opens the tab without asking again.
  QCoreApplication::processEvents();
  EXPECT_FALSE(init->unlockDeviceSheet()->isVisible());
}

} // namespace

namespace {

class AutoValidation : public SecurityPage {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Main"), QVariantMap{{QStringLiteral("pinAutoValidation"), true}}}};
  }
};

TEST_F(AutoValidation, TickingTheBoxChecksThePinThenKeepsItInTheModem) {
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return parts.initController->pinSheet()->isVisible(); }));
  parts.initController->pinSheet()->pinCode->setText(QStringLiteral("1234"));
  parts.initController->pinSheet()->ok->click();
  ASSERT_NE(settings()->btnPINAutoValidat_, nullptr);
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->btnPINAutoValidat_->isEnabled(); }));

  settings()->btnPINAutoValidat_->click();
  ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
  fill(settings()->enablePinSheet(), {QStringLiteral("1234")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Settings successful!")));
  EXPECT_TRUE(config->getConfiguration().value(QStringLiteral("pinAutoValidationState")).toBool());
  // The PIN was checked (old and new alike), kept, and the switch set.
  EXPECT_EQ(received(4, 12).constLast().payload(), QByteArray("1234\0\0\0\0\0\0"
                                                              "1234\0\0\0\0\0\0",
                                                              20));
  EXPECT_EQ(received(4, 17).constLast().payload(), QByteArray("1234\0\0\0\0\0\0", 10));
  QList<UIMsg> switches = received(4, 18);
  switches.removeIf([](const UIMsg &m) { return m.moduleId != kModuleSetting; });
  ASSERT_EQ(switches.size(), 1);
  EXPECT_EQ(switches[0].payload(), QByteArray("\x01\0\0\0\0\0\0\0", 8));
  EXPECT_TRUE(settings()->btnPINAutoValidat_->isChecked());

  // Cancel puts the box back.
  settings()->btnPINAutoValidat_->click();
  ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
  settings()->enablePinSheet()->cancel->click();
  EXPECT_TRUE(settings()->btnPINAutoValidat_->isChecked());
}

} // namespace

namespace {

// A PIN remembered on this computer for the scenario's card.
class SavedPinControls : public SettingFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Main"), QVariantMap{{QStringLiteral("AtuoCheckPinAndIccidSavedInConfigFile"), true},
                                                 {QStringLiteral("EnableSavePINNum"), true}}},
            {kCMSavedPinKey, QStringLiteral("1234")},
            {kCMSavedIccidKey, QStringLiteral("89860012345678901234")}};
  }
  QVariantMap onDisk() const {
    QVariantMap dict;
    Plist::readDictionary(config->configFilePathOfKey(kCMSettingFile), &dict);
    return dict;
  }
  bool savingOnDisk() const {
    return onDisk().value(QStringLiteral("Main")).toMap().value(QStringLiteral("EnableSavePINNum")).toBool();
  }
};

// The saved PIN follows the card's PIN: a change replaces it, switching the lock off removes it;
// the page's button forgets it and its box switches saving, both written to the file at once.
TEST_F(SavedPinControls, TheSavedPinFollowsTheCardAndCanBeForgottenFromThePage) {
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  // The saved PIN opened the card by itself.
  ASSERT_TRUE(testsupport::waitUntil([&] {
    return parts.initController->simPinState() == InitController::kSimReady &&
           settings()->m_RevisePinButton->isEnabled();
  }));
  EXPECT_FALSE(parts.initController->pinSheet()->isVisible());
  settings()->selectSettingPage(QStringLiteral("Security"));
  ASSERT_NE(settings()->btnPinNumSavedInConfigFile_, nullptr);
  ASSERT_NE(settings()->btnRemovePinAutoCheckByICCID_, nullptr);
  EXPECT_TRUE(settings()->btnPinNumSavedInConfigFile_->isChecked());

  settings()->m_RevisePinButton->click();
  ASSERT_TRUE(waitVisible(settings()->revisePinSheet()));
  fill(settings()->revisePinSheet(), {QStringLiteral("1234"), QStringLiteral("4321"), QStringLiteral("4321")});
  ASSERT_TRUE(waitAsked(QStringLiteral("New PIN enabled!"))) << [&] {
    std::string all;
    for (const ModalQuestion &q : answers->asked())
      all += q.message.toStdString() + " | ";
    return all;
  }();
  EXPECT_EQ(onDisk().value(kCMSavedPinKey).toString(), QStringLiteral("4321"));

  settings()->m_PINEnable->click();
  ASSERT_TRUE(waitVisible(settings()->enablePinSheet()));
  fill(settings()->enablePinSheet(), {QStringLiteral("4321")});
  ASSERT_TRUE(waitAsked(QStringLiteral("Settings successful!")));
  EXPECT_FALSE(onDisk().contains(kCMSavedPinKey));
  EXPECT_FALSE(onDisk().contains(kCMSavedIccidKey));

  // Saved again (as the PIN sheet does), then forgotten from the page.
  config->getConfiguration().insert(kCMSavedPinKey, QStringLiteral("4321"));
  config->getConfiguration().insert(kCMSavedIccidKey, QStringLiteral("89860012345678901234"));
  ASSERT_TRUE(config->writeToFile());
  settings()->btnRemovePinAutoCheckByICCID_->click();
  ASSERT_TRUE(waitAsked(QStringLiteral("Remove saved PIN from computer successfully!")));
  EXPECT_FALSE(onDisk().contains(kCMSavedPinKey));
  EXPECT_FALSE(onDisk().contains(kCMSavedIccidKey));
  EXPECT_FALSE(savingOnDisk());
  EXPECT_FALSE(settings()->btnPinNumSavedInConfigFile_->isChecked());

  // The box switches saving; switching it off forgets a PIN saved meanwhile.
  settings()->btnPinNumSavedInConfigFile_->click();
  EXPECT_TRUE(savingOnDisk());
  config->getConfiguration().insert(kCMSavedPinKey, QStringLiteral("4321"));
  settings()->btnPinNumSavedInConfigFile_->click();
  EXPECT_FALSE(savingOnDisk());
  EXPECT_FALSE(onDisk().contains(kCMSavedPinKey));
}

} // namespace
