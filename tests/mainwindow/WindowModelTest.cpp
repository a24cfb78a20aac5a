// The complete, simple and minimized window models: switching keeps the window where the user
// left it, the saved model follows every switch and the quit, and the low-power timer puts a
// quiet device to sleep while the window is down.
#include "ButtonMatrix.h"
#include "CompoundCallController.h"
#include "DialController.h"
#include "InitController.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "UIMsg.h"

#include <QAbstractButton>
#include <QMenu>
#include <QScreen>

namespace {

class WindowModels : public MainWindowFixture {
protected:
  QVariantMap main_{{"Main_MinimizeMainWnd_IfClickCloseButton", true}, {"Main_UIModel", 0}};
  QVariantMap extra;
  QVariantMap settingsOverrides() const override {
    QVariantMap s{{"Main", main_}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
      s.insert(it.key(), it.value());
    return s;
  }
  void SetUp() override {}
  // Ends one build of the window so that the next case starts afresh.
  void finish() {
    TearDown();
    qDeleteAll(owner.findChildren<QObject *>(Qt::FindDirectChildrenOnly));
  }
  void start() {
    MainWindowFixture::SetUp();
    if (!main_.contains(QStringLiteral("Main_UIModel"))) {
      QVariantMap module = config->getConfiguration().value(QStringLiteral("Main")).toMap();
      module.remove(QStringLiteral("Main_UIModel"));
      config->getConfiguration().insert(QStringLiteral("Main"), module);
      config->writeToFile();
    }
    buildOffline();
    main()->setStartsBackend(false);
  }
  MainController *main() const { return parts.mainController; }
  QWidget *complete() const { return main()->wndCompleteMain_; }
  QWidget *simple() const { return main()->wndSimpleMain_; }
  // The model in the settings file as written.
  QVariant savedModel() const {
    QVariantMap s;
    Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &s);
    return s.value(QStringLiteral("Main")).toMap().value(QStringLiteral("Main_UIModel"));
  }
};

TEST_F(WindowModels, SwitchesKeepTheTopLeftCornerAndTellTheOtherControllers) {
  start();
  const QSize completeSize = complete()->size(), simpleSize = simple()->size();
  ASSERT_NE(completeSize, simpleSize);
  QList<QObject *> announced;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("MainwindOfAppChanged"), nullptr,
      [&](const Notification &n) { announced << n.userInfo.value(QStringLiteral("window")).value<QObject *>(); });

  main()->showSavedUIModel();
  EXPECT_TRUE(complete()->isVisible());
  EXPECT_FALSE(simple()->isVisible());
  complete()->move(100, 150);
  const QPoint corner = complete()->geometry().topLeft();

  main()->menuItem(QStringLiteral("Simple Model"))->trigger();
  EXPECT_FALSE(complete()->isVisible());
  EXPECT_TRUE(simple()->isVisible());
  EXPECT_EQ(simple()->geometry(), QRect(corner, simpleSize));
  EXPECT_EQ(simple()->windowTitle(), QStringLiteral("Title"));
  EXPECT_EQ(savedModel(), 1);
  EXPECT_EQ(main()->modeCurrent(), 1);
  EXPECT_EQ(parts.initController->wndMain, simple()); // the others follow the window in use

  // A simple-window button leads into the complete window, at its page.
  QString page;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("TabViewItemWillChange"), nullptr,
      [&](const Notification &n) { page = n.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString(); });
  main()->goBackToMainWnd(main()->matrixPhoneBook_.data());
  EXPECT_TRUE(complete()->isVisible());
  EXPECT_FALSE(simple()->isVisible());
  EXPECT_EQ(complete()->geometry(), QRect(corner, completeSize));
  EXPECT_EQ(page, QStringLiteral("Phonebook"));
  EXPECT_EQ(savedModel(), 0);
  EXPECT_EQ(main()->modePrev(), 0);

  // The zoom button switches too, and answers the new frame.
  EXPECT_EQ(main()->windowWillUseStandardFrame(complete(), QRect(0, 0, 9, 9)), QRect(corner, simpleSize));
  EXPECT_TRUE(simple()->isVisible());
  EXPECT_EQ(savedModel(), 1);
  EXPECT_EQ(announced, (QList<QObject *>{complete(), simple(), complete(), simple()}));

  // Pressing a button while the complete window is in use changes nothing.
  main()->menuCompleteModelClicked();
  page.clear();
  main()->goBackToMainWnd(main()->matrixSms_.data());
  EXPECT_TRUE(page.isEmpty());
}

TEST_F(WindowModels, ModelMenusActOnlyWhenCloseOnlyHidesAndTheWindowIsShown) {
  struct Case {
    const char *what;
    bool closeHides;
    bool hiddenByClose;
    bool acts;
  };
  const QList<Case> cases = {{"close hides, window shown", true, false, true},
                             {"close quits", false, false, false},
                             {"window hidden by the close button", true, true, false}};
  for (const Case &c : cases) {
    main_.insert("Main_MinimizeMainWnd_IfClickCloseButton", c.closeHides);
    start();
    main()->showSavedUIModel();
    if (c.hiddenByClose)
      main()->windowShouldClose(complete());
    main()->menuSimpleModelClicked();
    EXPECT_EQ(simple()->isVisible(), c.acts) << c.what;
    EXPECT_EQ(savedModel(), c.acts ? 1 : 0) << c.what;
    finish();
  }
}

// Where the close button quits, the model items are greyed out when the Window menu opens rather
// than left as items that do nothing; where it only hides, each brings its own window: the simple
// window shown with every button titled in whole words, or the window in use put down.
TEST_F(WindowModels, ModelMenusAreGreyedOrShowTheirWindows) {
  main_ = QVariantMap{{"Main_MinimizeMainWnd_IfClickCloseButton", false}, {"Main_UIModel", 3}};
  start();
  main()->showSavedUIModel();
  ASSERT_TRUE(complete()->isVisible());
  QAction *simpleItem = main()->menuItem(QStringLiteral("Simple Model"));
  auto *windowMenu = qobject_cast<QMenu *>(simpleItem->parent());
  ASSERT_NE(windowMenu, nullptr);
  emit windowMenu->aboutToShow();
  EXPECT_FALSE(simpleItem->isEnabled());

  QVariantMap module = config->getConfiguration().value(QStringLiteral("Main")).toMap();
  module.insert(QStringLiteral("Main_MinimizeMainWnd_IfClickCloseButton"), true);
  config->getConfiguration().insert(QStringLiteral("Main"), module);
  emit windowMenu->aboutToShow();
  EXPECT_TRUE(simpleItem->isEnabled());

  main()->menuItem(QStringLiteral("Simple Model"))->trigger();
  ASSERT_TRUE(simple()->isVisible());
  EXPECT_FALSE(complete()->isVisible());
  EXPECT_NE(simple(), complete());
  EXPECT_FALSE(simple()->windowTitle().isEmpty());
  int titled = 0;
  for (QAbstractButton *button : simple()->findChildren<QAbstractButton *>()) {
    if (!button->isVisibleTo(simple()) || button->text().isEmpty())
      continue;
    ++titled;
    const QString text = button->text().remove(QLatin1Char('&'));
    EXPECT_LE(button->fontMetrics().horizontalAdvance(text), button->contentsRect().width()) << qPrintable(text);
    EXPECT_FALSE(text.contains(QChar(0x2026))) << qPrintable(text);
  }
  EXPECT_GE(titled, 5); // messages, contacts, settings, help, records
  EXPECT_EQ(savedModel(), 1);

  main()->menuItem(QStringLiteral("Minimized Model"))->trigger();
  EXPECT_TRUE(simple()->isMinimized());
  EXPECT_EQ(savedModel(), 2);

  // Back from the Dock, the complete item brings the complete window up again.
  simple()->showNormal();
  main()->menuItem(QStringLiteral("Complete Model"))->trigger();
  EXPECT_TRUE(complete()->isVisible());
  EXPECT_FALSE(simple()->isVisible());
}

TEST_F(WindowModels, WhatIsSavedAtQuit) {
  struct Case {
    const char *what;
    QVariant savedAtStart; // invalid: no key
    std::function<void(MainController *)> use;
    QVariant savedAtEnd;
  };
  const QList<Case> cases = {
      {"no model key: nothing is ever written", QVariant(),
       [](MainController *m) { m->windowWillUseStandardFrame(m->wndCompleteMain_, {}); }, QVariant()},
      {"3: nothing saved at quit", 3, [](MainController *) {}, 3},
      {"complete, switched to simple", 0,
       [](MainController *m) { m->windowWillUseStandardFrame(m->wndCompleteMain_, {}); }, 1},
      {"simple, back to complete", 1, [](MainController *m) { m->goBackToMainWnd(m->matrixSms_.data()); }, 0},
      {"miniaturised", 0, [](MainController *m) { m->wndCompleteMain_->showMinimized(); }, 2},
      {"started in the Dock", 2, [](MainController *) {}, 2},
  };
  for (const Case &c : cases) {
    main_.remove("Main_UIModel");
    if (c.savedAtStart.isValid())
      main_.insert("Main_UIModel", c.savedAtStart);
    start();
    main()->showSavedUIModel();
    EXPECT_TRUE(main()->wndMain->isVisible()) << c.what; // some window is up, also without a model
    c.use(main());
    // Something else changed the file on the way; the quit writes the model in use.
    if (c.savedAtStart.isValid() && c.savedAtStart != 3)
      switches->saveCurrentUIModel(c.savedAtEnd.toInt() == 0 ? 1 : 0);
    ASSERT_EQ(main()->applicationShouldTerminate(), MainController::NSTerminateNow) << c.what;
    EXPECT_EQ(savedModel(), c.savedAtEnd) << c.what;
    finish();
  }
}

TEST_F(WindowModels, DockIconBringsBackTheWindowOfTheModelBefore) {
  // Started in the Dock after the simple window was in use.
  main_.insert("Main_UIModel", 2);
  start();
  main()->showSavedUIModel();
  EXPECT_TRUE(complete()->isMinimized());
  EXPECT_EQ(main()->modeCurrent(), 2);
  EXPECT_TRUE(main()->applicationShouldHandleReopen(false));
  EXPECT_TRUE(complete()->isVisible() && !complete()->isMinimized()); // no window before: the complete one
  finish();

  main_.insert("Main_UIModel", 1);
  start();
  main()->showSavedUIModel();
  main()->menuMinimizedModelClicked();
  EXPECT_EQ(savedModel(), 2);
  EXPECT_EQ(main()->modePrev(), 1);
  main()->applicationShouldHandleReopen(false);
  EXPECT_TRUE(simple()->isVisible());
  EXPECT_FALSE(complete()->isVisible());
  EXPECT_EQ(savedModel(), 1);
  finish();

  // Hidden by the close button: the saved model's window comes back.
  main_.insert("Main_UIModel", 1);
  start();
  main()->showSavedUIModel();
  main()->windowShouldClose(simple());
  simple()->hide();
  EXPECT_EQ(main()->wndFlag(), 0);
  main()->applicationShouldHandleReopen(false);
  EXPECT_EQ(main()->wndFlag(), 1);
  EXPECT_TRUE(simple()->isVisible());
}

TEST_F(WindowModels, LowPowerTimerRunsOnlyWhileMiniaturisedWithTheFeatureOn) {
  struct Case {
    const char *what;
    QVariantMap lpm; // empty: no "LPMinfo"
    bool boxOn;
    int expectMs; // -1: no timer
  };
  const QList<Case> cases = {
      {"no low-power configuration", {}, true, -1},
      {"feature on", {{"hasLPMmode", true}, {"enterLPMTime", 1.5}}, true, 1500},
      {"check box off", {{"hasLPMmode", true}, {"enterLPMTime", 1.5}}, false, -1},
      {"nonsense delay", {{"hasLPMmode", true}, {"enterLPMTime", -30}}, true, 0},
  };
  for (const Case &c : cases) {
    extra.clear();
    if (!c.lpm.isEmpty())
      extra.insert("LPMinfo", c.lpm);
    start();
    if (main()->btnLPMStatus_)
      main()->btnLPMStatus_->setChecked(c.boxOn);
    main()->showSavedUIModel();
    complete()->showMinimized(); // through the window system's state change
    EXPECT_EQ(main()->modeCurrent(), 2) << c.what;
    EXPECT_EQ(main()->lpmTimerActive(), c.expectMs >= 0) << c.what;
    if (c.expectMs >= 0) {
      EXPECT_EQ(main()->lpmTimerIntervalMs(), c.expectMs) << c.what;
    }
    complete()->showNormal();
    EXPECT_FALSE(main()->lpmTimerActive()) << c.what;
    finish();
  }
}

// The timer's decision, seen where it matters: whether the backend is told to stop work.
class LowPowerDecision : public WindowModels {};

TEST_F(LowPowerDecision, QuietDeviceGoesToSleepBusyOneStaysOnline) {
  extra = {{"LPMinfo", QVariantMap{{"hasLPMmode", true}, {"enterLPMTime", 60}, {"enterLPMData", 4}}}};
  MainWindowFixture::SetUp();
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(backend->waitForName());
  const auto stopWorkCount = [&] {
    int n = 0;
    for (const QByteArray &raw : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(raw, &m) && m.moduleId == 1 && m.majorId == 3 && m.minorId == 4)
        ++n;
    }
    return n;
  };
  struct Case {
    const char *what;
    bool lpmConfigured;
    int callStage;
    int status;
    double totalBytes;
    bool offline;
  };
  const QList<Case> cases = {
      {"no low-power configuration", false, 0, 0, 0, false},
      {"call in progress", true, 1, 0, 0, false},
      {"held call while connected and quiet", true, 2, 3, 10, false},
      {"disconnected", true, 0, 0, 0, true},
      {"connected under the threshold", true, 0, 3, 4000, true},
      {"connected at the threshold", true, 0, 3, 4096, true},
      {"connected over the threshold", true, 0, 3, 4097, false},
      {"connecting", true, 0, 1, 0, false},
  };
  const QVariant lpm = config->getConfiguration().value(QStringLiteral("LPMinfo"));
  for (const Case &c : cases) {
    if (c.lpmConfigured)
      config->getConfiguration().insert(QStringLiteral("LPMinfo"), lpm);
    else
      config->getConfiguration().remove(QStringLiteral("LPMinfo"));
    g_CompoundCallController->setCallStage(c.callStage);
    g_DialController->setConnectStatus(c.status);
    g_DialController->setCurrentTotalData(c.totalBytes);
    const int before = stopWorkCount();
    parts.mainController->checkLPM();
    EXPECT_EQ(stopWorkCount() - before, c.offline ? 1 : 0) << c.what;
  }
  g_CompoundCallController->setCallStage(0);
  g_DialController->setConnectStatus(0);
}

TEST_F(LowPowerDecision, MiniaturisedQuietDeviceSleepsAndWakesWhenTheWindowReturns) {
  extra = {{"LPMinfo", QVariantMap{{"hasLPMmode", true}, {"enterLPMTime", 0.05}, {"enterLPMData", 4}}}};
  MainWindowFixture::SetUp();
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(backend->waitForName());
  ASSERT_TRUE(main()->btnLPMStatus_);
  const auto count = [&](int minor) {
    int n = 0;
    for (const QByteArray &raw : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(raw, &m) && m.moduleId == 1 && m.majorId == 3 && m.minorId == minor)
        ++n;
    }
    return n;
  };
  main()->showSavedUIModel();
  complete()->showMinimized();
  EXPECT_TRUE(testsupport::waitUntil([&] { return count(4) == 1; }, 3000));
  EXPECT_FALSE(main()->lpmTimerActive()); // one shot
  const int onlineBefore = count(3);
  complete()->showNormal();
  EXPECT_TRUE(testsupport::waitUntil([&] { return count(3) == onlineBefore + 1; }, 3000));
  EXPECT_EQ(count(4), 1);
}

} // namespace
