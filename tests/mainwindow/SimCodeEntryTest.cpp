// The SIM code entry end to end: the controllers against the simulated modem.
#include "InitController.h"
#include "InitStatusView.h"
#include "MainWindowFixture.h"
#include "PinSheets.h"

#include "WordGlobe.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

class SimCodeEntry : public MainWindowFixture {
protected:
  InitController *init() const { return parts.initController; }
  bool simReady() const { return init()->simPinState() == InitController::kSimReady; }

  void typePin(const QString &pin) {
    ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
    init()->pinSheet()->pinCode->setText(pin);
    init()->pinSheet()->ok->click();
  }
};

TEST_F(SimCodeEntry, RightPinAfterAWrongOneMakesTheSimReady) {
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  int simReadyPosts = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("SimReady"), nullptr,
                                                  [&](const Notification &) { ++simReadyPosts; });
  typePin(QStringLiteral("0000"));
  // The wrong code is told, and the sheet comes back with the tries left.
  ASSERT_TRUE(testsupport::waitUntil([&] { return !answers->asked().isEmpty(); }));
  EXPECT_EQ(answers->asked().first().message, QStringLiteral("Incorrect PIN code!"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
  EXPECT_TRUE(init()->pinSheet()->timeLeft->text().contains(QLatin1Char('2')));
  typePin(QStringLiteral("1234"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReadyPosts == 1; }));
  EXPECT_TRUE(simReady());
  EXPECT_FALSE(init()->pinSheet()->isVisible());
  EXPECT_EQ(init()->runtimeObjectForKey(kRTSIMCardReady).toBool(), true);
}

// With real windows: the wrong PIN is told at once, and the sheet for the next try opens only
// from the alert's answer, so the alert keeps the keyboard and is read before the next code.
TEST_F(SimCodeEntry, AWrongPinIsToldBeforeTheSheetComesBack) {
  answers.reset();
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  typePin(QStringLiteral("9999"));
  ASSERT_TRUE(testsupport::waitUntil([] { return ModalQuestions::openQuestionCount() == 1; }));
  auto *alert = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->text(), Map_Name_Item_of_IndexString(QStringLiteral("Incorrect PIN code!")));
  // The tries left arrive while the alert is up; the sheet waits for the answer.
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->timeLeft->text().contains(QLatin1Char('2')); }));
  QTest::qWait(300);
  EXPECT_FALSE(init()->pinSheet()->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), alert);
  alert->defaultButton()->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
  typePin(QStringLiteral("1234"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }));
  // Nothing is told after the right code.
  QTest::qWait(300);
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
  EXPECT_FALSE(init()->pinSheet()->isVisible());
}

TEST_F(SimCodeEntry, ThreeWrongPinsBringThePukSheetAndTheRightPukUnblocks) {
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  for (int i = 0; i < 3; ++i)
    typePin(QStringLiteral("0000"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pukSheet()->isVisible(); }));
  EXPECT_FALSE(init()->pinSheet()->isVisible());
  // The last PIN try was warned about before the sheet opened.
  const bool warned = std::any_of(answers->asked().cbegin(), answers->asked().cend(), [](const ModalQuestion &q) {
    return q.message.startsWith(QStringLiteral("Only one chance left! If you input the wrong PIN code"));
  });
  EXPECT_TRUE(warned);
  PukSheet *puk = init()->pukSheet();
  puk->pukCode->setText(QStringLiteral("12345678"));
  puk->newPinCode->setText(QStringLiteral("4321"));
  puk->repNewPinCode->setText(QStringLiteral("4321"));
  puk->ok->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }));
  EXPECT_EQ(backend->control(QStringLiteral("SimState")).value(0).toString(), QStringLiteral("Ready"));
}

TEST_F(SimCodeEntry, CodesBreakingTheRulesNeverLeaveTheProgram) {
  struct Case {
    QString puk, pin, repeat, expected;
  };
  const QList<Case> cases = {
      {QString(), QStringLiteral("123"), QString(), QStringLiteral("Length of PIN must be between 4 and 8!")},
      {QString(), QStringLiteral("123456789"), QString(), QStringLiteral("Length of PIN must be between 4 and 8!")},
      {QString(), QStringLiteral("12a4"), QString(), QStringLiteral("PIN must be digits only!")},
      {QStringLiteral("1234567a"), QStringLiteral("1234"), QStringLiteral("1234"),
       QStringLiteral("PUK must be digits only!")},
      {QStringLiteral("1234567"), QStringLiteral("1234"), QStringLiteral("1234"),
       QStringLiteral("PUK must be 8 digits!")},
      {QStringLiteral("12345678"), QStringLiteral("1234"), QStringLiteral("4321"),
       QStringLiteral("Different inputs of PIN code, please input again!")},
      {QStringLiteral("12345678"), QStringLiteral("1234"), QStringLiteral("1234"), QString()},
  };
  for (const Case &c : cases)
    EXPECT_EQ(InitController::checkPinPukAlertMsg(c.puk, c.pin, c.repeat), c.expected) << c.pin.toStdString();

  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
  backend->control(QStringLiteral("Reset"));
  init()->pinSheet()->pinCode->setText(QStringLiteral("12a4"));
  init()->pinSheet()->ok->click();
  EXPECT_TRUE(init()->pinSheet()->isVisible());
  EXPECT_TRUE(init()->pinSheet()->pinCode->text().isEmpty());
  QCoreApplication::processEvents();
  EXPECT_TRUE(backend->received().isEmpty()) << "nothing was sent";
}

TEST_F(SimCodeEntry, UnplugPostsDeviceRemovedAndResetsTheStatusArea) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return simReady(); }));
  int removed = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("DeviceRemoved"), nullptr,
                                                  [&](const Notification &) { ++removed; });
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return removed == 1; }));
  EXPECT_EQ(init()->simPinState(), InitController::kSimNotReady);
  EXPECT_EQ(init()->networkName(), QStringLiteral("No Service"));
  EXPECT_EQ(init()->statusView->networkStatusImage->property("imageName").toString(), QStringLiteral("netstatus1"));
  EXPECT_EQ(init()->statusView->simImage->property("imageName").toString(), QStringLiteral("noSim"));
}

// A "check" picture waiting to be replaced must not bring back a device that has gone.
class CheckPictures : public SimCodeEntry {
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Init"), QVariantMap{{QStringLiteral("Init_DisplayCheckModemStatus"), true}}}};
  }
};

TEST_F(CheckPictures, RemovalCancelsTheDelayedStartedPicture) {
  InitController::setCheckPictureDelayMs(300);
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  QLabel *picture = init()->statusView->networkStatusImage;
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return picture->property("imageName").toString() == QStringLiteral("netstatusOfCheckModem"); }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return picture->property("imageName").toString() == QStringLiteral("netstatus1"); }));
  testsupport::waitUntil([] { return false; }, 500);
  EXPECT_EQ(picture->property("imageName").toString(), QStringLiteral("netstatus1"));
  InitController::setCheckPictureDelayMs(2000);
}

TEST_F(SimCodeEntry, RemovingTheSavedPinLeavesNoTraceAndSaysSoOnlyWhenWritten) {
  buildOffline();
  config->getConfiguration().insert(kCMSavedPinKey, QStringLiteral("1234"));
  config->getConfiguration().insert(kCMSavedIccidKey, QStringLiteral("8986"));
  init()->removeAutoCheckPinByICCID();
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked().last().message, QStringLiteral("Remove saved PIN from computer successfully!"));
  QVariantMap onDisk;
  ASSERT_TRUE(Plist::readDictionary(config->configFilePathOfKey(kCMSettingFile), &onDisk));
  EXPECT_FALSE(onDisk.contains(kCMSavedPinKey));
  EXPECT_FALSE(onDisk.contains(kCMSavedIccidKey));
  EXPECT_FALSE(onDisk.value(QStringLiteral("Main")).toMap().value(QStringLiteral("EnableSavePINNum")).toBool());

  config->setConfigFilePath(dir.filePath(QStringLiteral("no/such/folder/settings.plist")), kCMSettingFile);
  init()->removeAutoCheckPinByICCID();
  EXPECT_EQ(answers->asked().last().message, QStringLiteral("Remove saved PIN from computer failed!"));
}

// A saved PIN is tried by itself once per insertion; when it is wrong the sheet opens and says
// so, and the same PIN is not tried again.
class SavedPin : public SimCodeEntry {
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Main"), QVariantMap{{QStringLiteral("AtuoCheckPinAndIccidSavedInConfigFile"), true},
                                                 {QStringLiteral("EnableSavePINNum"), true}}},
            {QStringLiteral("PinNum"), QStringLiteral("9999")},
            {QStringLiteral("Iccid"), QStringLiteral("89860012345678901234")}};
  }
};

TEST_F(SavedPin, WrongSavedPinIsTriedOnceNotAgain) {
  // The card's ICCID, read before its PIN, matches the saved one.
  if (!launch(QStringLiteral("sim-pin")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->pinSheet()->isVisible(); }));
  EXPECT_EQ(init()->pinSheet()->prompt->text(), QStringLiteral("Incorrect PIN code!"));
  int pinTries = 0;
  backend->control(QStringLiteral("SimState")); // settle
  const QVariantList state = backend->control(QStringLiteral("SimState"));
  pinTries = state.value(1).toInt();
  EXPECT_EQ(pinTries, 2) << "exactly one automatic try";
  EXPECT_TRUE(answers->asked().isEmpty()) << "an automatic try is not told as a typed one";
}

} // namespace
