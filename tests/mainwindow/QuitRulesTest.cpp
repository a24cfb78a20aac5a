// Every way of leaving passes the same rules; a refused quit leaves everything as it was.
#include "CompoundCallController.h"
#include "DialController.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "SettingController.h"

namespace {

class QuitRules : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    buildOffline();
    parts.mainController->setStartsBackend(false);
  }
  MainController *main() const { return parts.mainController; }
};

TEST_F(QuitRules, RefusalsAreToldAndKeepTheWindow) {
  struct Case {
    const char *what;
    std::function<void(bool)> set;
    QString message;
  };
  const QList<Case> cases = {
      {"connected", [](bool on) { g_DialController->setConnectStatus(on ? 3 : 0); },
       QStringLiteral("You are currently connected. Please disconnect first!")},
      {"manual selection", [](bool on) { g_SettingController->setManualSelecting(on); },
       QStringLiteral("You are manually selecting a network,please first finish it!")},
      {"call", [](bool on) { g_CompoundCallController->setCallStage(on ? 1 : 0); },
       QStringLiteral("You are dialing now,please hangup first!")},
  };
  for (const Case &c : cases) {
    ScriptedAnswers script;
    c.set(true);
    parts.window->show();
    EXPECT_FALSE(parts.window->close()) << c.what; // the close button goes through the same gate
    EXPECT_TRUE(parts.window->isVisible()) << c.what;
    EXPECT_EQ(main()->applicationShouldTerminate(), MainController::NSTerminateCancel) << c.what;
    ASSERT_EQ(script.asked().size(), 2) << c.what;
    EXPECT_EQ(script.asked().at(0).message, c.message) << c.what;
    c.set(false);
  }
}

TEST_F(QuitRules, ConnectedWithAskingSwitchPostsAppWillCloseAndKeepsTheWindow) {
  config->getConfiguration().insert(QStringLiteral("MAINFORM"),
                                    QVariantMap{{QStringLiteral("CloseAppWihoutQueryConnection"), true}});
  g_DialController->setConnectStatus(3);
  int willClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppWillClose"), nullptr,
                                                  [&](const Notification &) { ++willClose; });
  ScriptedAnswers ok({1});
  EXPECT_FALSE(main()->windowShouldClose());
  EXPECT_EQ(willClose, 1);
  EXPECT_TRUE(main()->winWillClose());
  // From here on the connection controller ends the connection and the program.
  EXPECT_FALSE(g_DialController->GetisDialNow());
}

TEST_F(QuitRules, MinimizeInsteadOfCloseKeepsTheProgramRunning) {
  config->getConfiguration().insert(QStringLiteral("Main"),
                                    QVariantMap{{QStringLiteral("Main_MinimizeMainWnd_IfClickCloseButton"), true}});
  parts.window->show();
  EXPECT_FALSE(main()->windowShouldClose());
  EXPECT_FALSE(parts.window->isVisible());
  EXPECT_EQ(main()->wndFlag(), 0);
}

TEST_F(QuitRules, AllowedQuitPostsAppWillCloseAndDropsRuntimeData) {
  main()->setRuntimeObject(QStringLiteral("123"), kRTIMEI);
  int willClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppWillClose"), nullptr,
                                                  [&](const Notification &) { ++willClose; });
  EXPECT_EQ(main()->applicationShouldTerminate(), MainController::NSTerminateNow);
  EXPECT_EQ(willClose, 1);
  EXPECT_FALSE(config->getConfiguration().contains(kCMRuntimeDataKey));
}

} // namespace
