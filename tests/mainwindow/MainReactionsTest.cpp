// The main window follows the device, the SIM and the connection: its card status, the toolbar
// rules built on it, the clean-up at removal and the URL that waits for a connection.
#include "DialController.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "UIMsg.h"

#include <QDialog>

namespace {

QVariantMap toolItem(const char *identifier,
                     const char *action = "tabViewChangeItemAction:", const char *urlLabel = nullptr) {
  QVariantMap item{{"itemIdentifier", identifier}, {"itemLabel", identifier}, {"itemAction", action}};
  if (urlLabel)
    item.insert("urlLabel", urlLabel);
  return item;
}

QVariantList toolbarConfig() {
  return {toolItem("Internet"), toolItem("RECHARGE"), toolItem("ChangeAPN", "tbiChangeAPNSelection:"),
          toolItem("URLWithAlert", "tbiMainURLWithAlertAction:", "http://portal.example/start")};
}

void post(const char *name, const QVariantMap &info = {}) {
  NotificationCenter::defaultCenter().postNotificationName(QLatin1String(name), nullptr, info);
}

class MainReactions : public MainWindowFixture {
protected:
  QVariantMap extra;
  QVariantMap settingsOverrides() const override {
    QVariantMap s{{"toolBarItems", toolbarConfig()}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
      s.insert(it.key(), it.value());
    return s;
  }
  void start() {
    MainWindowFixture::SetUp();
    // The system toolbar from "toolBarItems", not a skin's toolbar view.
    QVariantMap ui = config->getConfiguration().value(QStringLiteral("UIConfig")).toMap();
    ui.remove(QStringLiteral("ToolbarItems"));
    config->getConfiguration().insert(QStringLiteral("UIConfig"), ui);
    buildOffline();
    main()->setStartsBackend(false);
    // Items whose page does not exist stay disabled: these cases follow items that have one.
    for (const char *page : {"SMS", "RECHARGE"}) {
      auto *view = new QWidget;
      view->setProperty("itemIdentifier", QLatin1String(page));
      parts.tabs->addTab(view, QLatin1String(page));
    }
    // The builder adds pages before the controllers wake; these came later, so the start state
    // is applied again.
    main()->toolbarSetEnable(enabled("Internet"));
    main()->toolbarSetItemEnable(false, QStringLiteral("RECHARGE"));
  }
  void SetUp() override {}
  // Ends one build of the window so that the next case starts afresh.
  void finish() {
    TearDown();
    qDeleteAll(owner.findChildren<QObject *>(Qt::FindDirectChildrenOnly));
  }
  MainController *main() const { return parts.mainController; }
  bool enabled(const char *identifier) const { return main()->toolbarItem(QLatin1String(identifier))->isEnabled(); }
};

TEST_F(MainReactions, CardStatusAndToolbarFollowPlugSimAndRemoval) {
  struct Step {
    const char *notification;
    int status;
    bool toolbar; // an ordinary item and the Operation menu
    bool recharge;
  };
  struct Case {
    const char *what;
    QVariantMap settings;
    bool toolbarAtStart;
    QList<Step> steps;
  };
  const QList<Case> cases = {
      {"toolbar waits for the SIM",
       {{"disableToolbarWhenNoSIM", true}, {"MAINFORM", QVariantMap{{"TooBarEnableBySimStatus", false}}}},
       false,
       {{"DevicePlugin", 2, false, false},
        {"SimReady", 12, true, true},
        {"DeviceRemoved", 1, false, false},
        {"DevicePlugin", 2, false, false},
        {"SimReady", 12, true, true}}},
      {"toolbar enabled by the SIM status only",
       {{"disableToolbarWhenNoSIM", false}, {"MAINFORM", QVariantMap{{"TooBarEnableBySimStatus", true}}}},
       false,
       {{"DevicePlugin", 2, false, false}, {"SimReady", 12, true, true}, {"DeviceRemoved", 1, false, false}}},
      {"toolbar always on",
       {{"disableToolbarWhenNoSIM", false}, {"MAINFORM", QVariantMap{{"TooBarEnableBySimStatus", false}}}},
       true,
       {{"SimReady", 12, true, true}, {"DeviceRemoved", 1, true, false}}},
  };
  for (const Case &c : cases) {
    extra = c.settings;
    start();
    EXPECT_EQ(main()->getNetCardStatus(), 0) << c.what;
    EXPECT_EQ(enabled("Internet"), c.toolbarAtStart) << c.what;
    EXPECT_FALSE(enabled("RECHARGE")) << c.what;
    for (const Step &s : c.steps) {
      main()->setDeviceRemoveSign(true);
      post(s.notification);
      EXPECT_EQ(main()->getNetCardStatus(), s.status) << c.what << " " << s.notification;
      EXPECT_FALSE(main()->getDeviceRemoveSign()) << c.what << " " << s.notification;
      EXPECT_EQ(enabled("Internet"), s.toolbar) << c.what << " " << s.notification;
      EXPECT_EQ(main()->menuItem(QStringLiteral("SMS"))->isEnabled(), s.toolbar) << c.what << " " << s.notification;
      EXPECT_EQ(enabled("RECHARGE"), s.recharge) << c.what << " " << s.notification;
    }
    finish();
  }
}

TEST_F(MainReactions, RemovalClosesTheInnermostSheetButLeavesTheProfileSheet) {
  start();
  parts.window->show();
  const auto sheet = [&](QWidget *parent, const QString &title) {
    auto *d = new QDialog(parent);
    d->setWindowTitle(title);
    d->setWindowModality(Qt::WindowModal);
    d->show();
    return d;
  };
  QDialog *profile = sheet(parts.window, QStringLiteral("DialConfig"));
  post("DeviceRemoved");
  EXPECT_TRUE(profile->isVisible());
  profile->hide();

  QDialog *outer = sheet(parts.window, QStringLiteral("Options"));
  QDialog *inner = sheet(outer, QStringLiteral("PIN"));
  post("DeviceRemoved");
  EXPECT_FALSE(inner->isVisible());
  EXPECT_TRUE(outer->isVisible()); // only the last sheet of the chain goes
  EXPECT_EQ(main()->getNetCardStatus(), 1);
}

TEST_F(MainReactions, OperatorDeviceWindowTellsSimReadyAndRemovalForTwoSeconds) {
  extra = {{"Main", QVariantMap{{"DeviceRemovedForDidoro", true}}}};
  start();
  QWidget *window = main()->windowOfDevStateChangeForDidoro_;
  QLabel *label = main()->labelOfDevStateChageForDidoro_;
  ASSERT_TRUE(window && label);

  post("DevicePlugin"); // not yet ready: nothing shown
  EXPECT_FALSE(window->isVisible());
  post("SimReady");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(label->text(), QStringLiteral("Detecting device..."));
  main()->performEndSheet();

  post("DeviceRemoved");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(label->text(), QStringLiteral("The device has been disconnected or is unavailable."));
  EXPECT_TRUE(testsupport::waitUntil([&] { return !window->isVisible(); }, 3000));

  // Removed again without a SIM: the status is no longer 12, nothing is shown.
  post("DeviceRemoved");
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainReactions, UrlPressedWhileDisconnectedOpensOnceWhenConnected) {
  start();
  QStringList opened;
  QELUIController::setUrlOpener([&](const QUrl &url) {
    opened << url.toString();
    return true;
  });
  int dialRequests = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("dialOption"), nullptr,
                                                  [&](const Notification &) { ++dialRequests; });
  QAction *item = main()->toolbarItem(QStringLiteral("URLWithAlert"));
  const auto connected = [&](bool on) {
    main()->setRuntimeObject(on, kRTIsConnectted);
    post("ConnectStatusDidChange", {{"ConnectStatus", on ? 3 : 0}});
  };

  {
    ScriptedAnswers cancel(QList<int>{0});
    main()->tbiMainURLWithAlertAction(item);
    EXPECT_EQ(dialRequests, 0);
    EXPECT_FALSE(main()->urlWaitsForConnection());
  }
  ScriptedAnswers ok({1, 1, 1});
  main()->tbiMainURLWithAlertAction(item);
  EXPECT_EQ(dialRequests, 1);
  EXPECT_TRUE(opened.isEmpty());
  connected(false); // the connection failed: the page no longer waits
  connected(true);
  EXPECT_TRUE(opened.isEmpty());

  connected(false);
  main()->tbiMainURLWithAlertAction(item);
  connected(true);
  connected(true);
  EXPECT_EQ(opened, QStringList{QStringLiteral("http://portal.example/start")});

  // Already connected: opened at once, and not again on the next status change.
  main()->tbiMainURLWithAlertAction(item);
  connected(true);
  EXPECT_EQ(opened.size(), 2);
  EXPECT_EQ(dialRequests, 2);
  QELUIController::setUrlOpener({});
}

TEST_F(MainReactions, ConnectionStartAndPermissionDriveTheirItems) {
  start();
  post("StartConnection", {{"StartConnection", true}});
  EXPECT_FALSE(enabled("ChangeAPN"));
  post("StartConnection", {{"StartConnection", false}});
  EXPECT_TRUE(enabled("ChangeAPN"));
  post("IsAbleToConnect", {{"EnabledFlag", true}});
  EXPECT_TRUE(enabled("URLWithAlert"));
  post("IsAbleToConnect", {{"EnabledFlag", false}});
  EXPECT_FALSE(enabled("URLWithAlert"));
}

TEST_F(MainReactions, BroadcastWindowAndUssdButton) {
  extra = {{"DifferentWorkingMothodForRadirer", true}};
  start();
  post("ReceiveBroadCastNotification", {{"ReceiveBroadCastNotification", "Cell 42: storm warning"}});
  ASSERT_TRUE(main()->wndBroadcastReport_);
  EXPECT_TRUE(main()->wndBroadcastReport_->isVisible());
  EXPECT_EQ(main()->tfdBroadCast_->text(), QStringLiteral("Cell 42: storm warning"));
  main()->broadcastReportOK();
  EXPECT_FALSE(main()->wndBroadcastReport_->isVisible());

  QPushButton ussd;
  main()->btnUSSDActive_ = &ussd;
  main()->setIsHiddenForUSSDActive(true);
  EXPECT_TRUE(g_DialController->isHiddenConnectBtn());
  EXPECT_TRUE(ussd.isEnabled());
  // The device going away ends USSD: the connect button comes back.
  post("DeviceRemoved");
  EXPECT_FALSE(g_DialController->isHiddenConnectBtn());
  EXPECT_FALSE(ussd.isEnabled());
  main()->btnUSSDActive_ = nullptr;
}

// The whole road: the simulated modem's plug and unplug reach the main window through the
// device status controller, and the removal is reported back to the backend.
class MainReactionsWithBackend : public MainWindowFixture {};

TEST_F(MainReactionsWithBackend, CardStatusFollowsTheModemAndRemovalIsReported) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  MainController *main = parts.mainController;
  QList<int> seen;
  for (const char *name : {"DevicePlugin", "SimReady", "DeviceRemoved"})
    NotificationCenter::defaultCenter().addObserver(&owner, QLatin1String(name), nullptr,
                                                    [&](const Notification &) { seen << main->getNetCardStatus(); });
  ASSERT_TRUE(testsupport::waitUntil([&] { return main->getNetCardStatus() == 12; }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return main->getNetCardStatus() == 1; }));
  const auto deviceOut = [&] {
    int n = 0;
    for (const QByteArray &raw : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(raw, &m) && m.moduleId == 0 && m.majorId == 8 && m.minorId == 59 && m.type == 2 &&
          m.result == 0xFF)
        ++n;
    }
    return n;
  };
  EXPECT_TRUE(testsupport::waitUntil([&] { return deviceOut() == 1; }));
  backend->control(QStringLiteral("Plug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return main->getNetCardStatus() == 12; }));
  ASSERT_GE(seen.size(), 4);
  EXPECT_EQ(seen.mid(seen.size() - 3), (QList<int>{1, 2, 12}));
}

} // namespace
