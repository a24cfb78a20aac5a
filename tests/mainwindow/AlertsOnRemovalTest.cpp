// Alerts that the backend's handlers open stay up without holding the packages back: unplugging
// the device while one is up closes it at once and the window shows the device removed; the same
// alert is never stacked.
#include "InitController.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "PinSheets.h"
#include "SimulatedModem.h"

#include <QApplication>
#include <QMessageBox>

namespace {

struct AlertCase {
  const char *name;
  const char *scenario; // a bundle scenario, or "pin-last-try"
  enum Trigger { kNone, kInjectNotDetected, kWrongPin, kWrongPuk } trigger;
  const char *message;
};

class AlertsOnRemoval : public MainWindowFixture, public ::testing::WithParamInterface<AlertCase> {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    answers.reset(); // real windows: the alert must really be up when the device goes
  }

  QString scenarioPath(const QString &name) {
    if (name != QLatin1String("pin-last-try"))
      return name;
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + "/Resources/Scenarios/sim-pin.plist", &scenario);
    QVariantMap sim = scenario.value("SIM").toMap();
    sim.insert("PinTries", 1);
    scenario.insert("SIM", sim);
    return testsupport::writePlist(dir.filePath("pin-last-try.plist"), scenario);
  }

  // The alert now up, when it shows `message`.
  static QMessageBox *alertShowing(const QString &message) {
    for (QWidget *w : QApplication::topLevelWidgets()) {
      auto *box = qobject_cast<QMessageBox *>(w);
      if (box && box->isVisible() && box->text() == message)
        return box;
    }
    return nullptr;
  }

  void inject(const UIMsg &msg) { backend->control("Inject", {msg.encode()}); }

  void typeInto(QDialog *sheet, QLineEdit *field, const QString &code, QPushButton *ok) {
    ASSERT_TRUE(testsupport::waitUntil([&] { return sheet->isVisible(); }));
    field->setText(code);
    ok->click();
  }
};

TEST_P(AlertsOnRemoval, UnpluggingClosesTheAlertAndShowsTheDeviceRemovedAtOnce) {
  const AlertCase c = GetParam();
  if (!launch(scenarioPath(QLatin1String(c.scenario))))
    GTEST_SKIP() << "no session bus";
  int appWillClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppWillClose"), nullptr,
                                                  [&](const Notification &) { ++appWillClose; });
  MainController *main = parts.mainController;
  InitController *init = parts.initController;
  ASSERT_TRUE(testsupport::waitUntil([&] { return main->getNetCardStatus() != 0; }));
  switch (c.trigger) {
  case AlertCase::kNone:
    break;
  case AlertCase::kInjectNotDetected:
    inject(SimulatedModem::makePackage(8, 60));
    break;
  case AlertCase::kWrongPin:
    typeInto(init->pinSheet(), init->pinSheet()->pinCode, "0000", init->pinSheet()->ok);
    break;
  case AlertCase::kWrongPuk:
    ASSERT_TRUE(testsupport::waitUntil([&] { return init->pukSheet()->isVisible(); }));
    init->pukSheet()->newPinCode->setText("4321");
    init->pukSheet()->repNewPinCode->setText("4321");
    typeInto(init->pukSheet(), init->pukSheet()->pukCode, "87654321", init->pukSheet()->ok);
    break;
  }
  const QString message = QLatin1String(c.message);
  ASSERT_TRUE(testsupport::waitUntil([&] { return alertShowing(message) != nullptr; }, 10000)) << c.name;
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 1);

  backend->control("Unplug");
  ASSERT_TRUE(testsupport::waitUntil([&] {
    return !alertShowing(message) && main->getNetCardStatus() == MainController::kNetCardRemoved;
  })) << c.name;
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
  // Nothing that was to follow the answer happens for a device that has gone: no code sheet,
  // and the invalid card does not end the program.
  EXPECT_FALSE(init->pinSheet()->isVisible());
  EXPECT_FALSE(init->pukSheet()->isVisible());
  EXPECT_EQ(appWillClose, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachHandlerAlert, AlertsOnRemoval,
    ::testing::Values(AlertCase{"NoSim", "no-sim", AlertCase::kNone, "NO UIM, Please insert UIM card!"},
                      AlertCase{"InvalidCard", "invalid-card", AlertCase::kNone, "Incorrect (U)SIM card!"},
                      AlertCase{"NotDetected", "sim-ready", AlertCase::kInjectNotDetected, "Device not detected!"},
                      AlertCase{"LastTry", "pin-last-try", AlertCase::kNone,
                                "Only one chance left! If you input the wrong PIN code, your (U)SIM card will be "
                                "locked."},
                      AlertCase{"WrongPin", "sim-pin", AlertCase::kWrongPin, "Incorrect PIN code!"},
                      AlertCase{"WrongPuk", "sim-puk", AlertCase::kWrongPuk, "Incorrect PUK code!"}),
    [](const ::testing::TestParamInfo<AlertCase> &info) { return std::string(info.param.name); });

using SameAlert = AlertsOnRemoval;

TEST_F(SameAlert, ManyReportsOfTheSameKindShowOneAlert) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return parts.mainController->getNetCardStatus() != 0; }));
  const int droppedBefore = ModalQuestions::droppedCount();
  for (int i = 0; i < 20; ++i)
    inject(SimulatedModem::makePackage(8, 60));
  // Every package reaches its handler while the first alert is up; the other 19 are dropped.
  ASSERT_TRUE(testsupport::waitUntil([&] { return ModalQuestions::droppedCount() == droppedBefore + 19; }, 10000));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 1);
  QMessageBox *box = alertShowing(QStringLiteral("Device not detected!"));
  ASSERT_NE(box, nullptr);
  box->defaultButton()->click();
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
  // Once answered, the same alert may come again.
  inject(SimulatedModem::makePackage(8, 60));
  EXPECT_TRUE(testsupport::waitUntil([&] { return alertShowing(QStringLiteral("Device not detected!")); }));
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeviceRemoved"));
}

} // namespace
