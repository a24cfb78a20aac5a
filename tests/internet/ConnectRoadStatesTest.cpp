// The connection's state rules without a modem: the PPP state handlers, the status broadcasts,
// the PS-domain rules, and an attach that is never answered.
#include "../mainwindow/MainWindowFixture.h"
#include "Bundle.h"
#include "DialController.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "SettingController.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

class ConnectRoadStates : public NetworkWindowFixture {
protected:
  QVariantMap extraSettings;
  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {}
  void TearDown() override {
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }
  void start(const QVariantMap &internet = {}) {
    extraSettings.insert(QStringLiteral("Internet"), internet);
    NetworkWindowFixture::SetUp();
    buildOffline();
    dial()->netcardChanged(2); // a modem is there
  }
  // Ends one case of a table: the window and its controllers go.
  void finish() {
    NetworkWindowFixture::TearDown();
    parts = {};
    qDeleteAll(owner.children());
  }
  DialController *dial() const { return g_DialController; }
  QString state() const { return dial()->m_ConnectState->text(); }
  static QString w(const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); }
};

TEST_F(ConnectRoadStates, PppStateHandlers) {
  struct Step {
    int state;
    const char *text; // nullptr: the text stays as it was
    bool buttonEnabled;
    int status;
  };
  struct Case {
    const char *name;
    bool noNeedMiddleStatus;
    QList<Step> steps;
  };
  const Case cases[] = {
      {"every state shown",
       false,
       {{1, "Init", false, 1},
        {2, "Connecting......", false, 1},
        {2, "Connecting...", false, 1},
        {4, "Establish", false, 1},
        {5, "Authenticate", false, 1},
        {3, nullptr, false, 1},
        {6, nullptr, false, 1},
        {7, "Create Network", true, 1}, // the button turns into "Cancel"
        {8, "Connected", true, 3},
        {9, "Terminate", false, 3},
        {10, "Disconnecting......", false, 3},
        {10, "Disconnecting...", false, 3}}},
      {"middle states folded into connecting",
       true,
       {{1, "Init", false, 1},
        {4, "Connecting......", false, 1},
        {5, "Connecting...", false, 1},
        {7, "Connecting......", false, 1},
        {8, "Connected", true, 3},
        {9, "Disconnecting......", false, 3},
        {10, "Disconnecting...", false, 3}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    start({{QStringLiteral("noNeedMiddleStatus"), c.noNeedMiddleStatus}});
    dial()->setConnectStatus(DialController::kConnecting);
    dial()->setConnectBtnEnable(false);
    QString last = state();
    for (const Step &s : c.steps) {
      dial()->processPPPConnectStatus(s.state, 5, 100, 200);
      const QString expected = s.text ? w(s.text) : last;
      EXPECT_EQ(state(), expected) << "state " << s.state;
      EXPECT_EQ(dial()->isConnectBtnEnabled(), s.buttonEnabled) << "state " << s.state;
      EXPECT_EQ(dial()->connectStatus(), s.status) << "state " << s.state;
      last = state();
    }
    finish();
  }
}

TEST_F(ConnectRoadStates, CancelTitleAtCreateNetworkAndConnectedReportWhileDisconnecting) {
  start();
  dial()->setConnectStatus(DialController::kConnecting);
  dial()->setConnectBtnEnable(false);
  dial()->processPPPConnectStatus(7, 0, 0, 0);
  EXPECT_EQ(dial()->m_ConnectButton->text(), w("Internet_btnConnect_Cancel"));
  EXPECT_TRUE(dial()->m_ConnectButton->isEnabled());
  // A connected report while disconnecting updates the figures, not the look.
  dial()->setConnectStatus(DialController::kDisconnecting);
  dial()->processPPPConnectStatus(8, 42, 1000, 2000);
  EXPECT_EQ(dial()->connectStatus(), DialController::kDisconnecting);
  EXPECT_EQ(dial()->connectTime(), 42);
  EXPECT_FLOAT_EQ(dial()->receivedData(), 2000);
}

TEST_F(ConnectRoadStates, OnlyTheStableStatesAreBroadcast) {
  start();
  QList<int> posted;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QString::fromLatin1(kConnectStatusDidChange), nullptr,
      [&posted](const Notification &n) { posted << n.userInfo.value(QStringLiteral("ConnectStatus")).toInt(); });
  dial()->setRuntimeObject(true, kRTIsConnectted);
  for (const int status : {1, 2})
    dial()->setConnectStatus(status);
  EXPECT_TRUE(posted.isEmpty());
  EXPECT_TRUE(dial()->runtimeObjectForKey(kRTIsConnectted).toBool()) << "left as it was";
  dial()->setConnectStatus(3);
  dial()->setConnectStatus(0);
  EXPECT_EQ(posted, QList<int>({3, 0}));
  EXPECT_FALSE(dial()->runtimeObjectForKey(kRTIsConnectted).toBool());
}

TEST_F(ConnectRoadStates, PsDomainRules) {
  struct Case {
    const char *name;
    QVariantMap internet;
    bool manualDisconnect;
    bool autoConnect;
    bool reconnects;
  };
  const Case cases[] = {
      {"auto-connect on", {}, false, true, true},
      {"auto-connect off", {}, false, false, false},
      {"a manual disconnect, kept by the operator rule",
       {{QStringLiteral("noNeedAutoConnectIfHadManualDisconnect"), true}},
       true,
       true,
       false},
      {"a manual disconnect without the rule", {}, true, true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    start(c.internet);
    DialController::setTimeScale(100.0); // the attempt stays pending while we look
    g_SettingController->btnAutoConnect->setChecked(c.autoConnect);
    g_SettingController->setAutoConnectBtnEnable(true);
    dial()->setHadDoManualDisconnect(c.manualDisconnect);
    dial()->setPSDomainStatus(false);
    EXPECT_FALSE(dial()->isConnectBtnEnabled());
    dial()->setPSDomainStatus(true);
    EXPECT_TRUE(dial()->isConnectBtnEnabled()) << "the button follows the domain";
    EXPECT_EQ(dial()->isAutoReconnectPending(), c.reconnects);
    finish();
  }
}

TEST_F(ConnectRoadStates, RepeatedAvailableReportStartsNoSecondConnect) {
  // Without a modem the device status knows no PS domain; the automatic attempt must not wait
  // for one.
  start({{QStringLiteral("AutoConnectDoNotCheckPSDomain"), true}});
  DialController::setTimeScale(0.001);
  g_SettingController->btnAutoConnect->setChecked(true);
  g_SettingController->setAutoConnectBtnEnable(true);
  dial()->setPSDomainStatus(true);
  ASSERT_TRUE(dial()->isAutoReconnectPending());
  // Without a modem the attempt stays "connecting"; it was made once.
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnecting; }));
  dial()->setConnectStatus(DialController::kDisconnected);
  dial()->setPSDomainStatus(true);
  EXPECT_FALSE(dial()->isAutoReconnectPending());
}

TEST_F(ConnectRoadStates, LostDomainDisablesTheIdleButtonUnlessTheOperatorSaysNot) {
  for (const bool dontCheck : {false, true}) {
    SCOPED_TRACE(dontCheck);
    start({{QStringLiteral("DoNotCheckPSDomainWhileAutoConnect"), dontCheck}});
    dial()->setPSDomainStatus(true);
    dial()->setHadConnectAction(true);
    dial()->setPSDomainStatus(false);
    EXPECT_EQ(dial()->isConnectBtnEnabled(), dontCheck);
    EXPECT_FALSE(dial()->hadConnectAction());
    finish();
  }
}

TEST_F(ConnectRoadStates, AttachWithoutAnswerEndsTheAttempt) {
  start({{QStringLiteral("PSDomainSettings"), true}, {QStringLiteral("AttachPSInterval"), 0.1}});
  DialController::setTimeScale(0.01);
  int failed = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QString::fromLatin1(kConnectFailed), nullptr,
                                                  [&failed](const Notification &) { ++failed; });
  dial()->setPSDomainStatus(true);
  dial()->DialOption(dial()->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->willConnectToInternet(); }));
  EXPECT_FALSE(dial()->isConnectBtnEnabled());
  ASSERT_TRUE(testsupport::waitUntil([&] { return failed == 1; }));
  EXPECT_FALSE(dial()->willConnectToInternet());
  EXPECT_TRUE(dial()->isConnectBtnEnabled());
  EXPECT_EQ(dial()->connectStatus(), DialController::kDisconnected);
  EXPECT_EQ(state(), w("Idle"));
}

TEST_F(ConnectRoadStates, ConnectButtonImageByStatusAndSafeNames) {
  start({{QStringLiteral("ConnectBtnDisplayWithImage"), true},
         {QStringLiteral("ConnectButton_imageName"), QStringLiteral("connect-enabled.png")},
         {QStringLiteral("ConnectDisabledButton_imageName"), QStringLiteral("../connect-disabled.png")},
         {QStringLiteral("DisconnectButton_imageName"), QStringLiteral("disconnect.png")}});
  const QString resources = Bundle::mainBundle().resourcePath();
  QImage image(4, 4, QImage::Format_ARGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(resources + QStringLiteral("/connect-enabled.png")));
  ASSERT_TRUE(image.save(resources + QStringLiteral("/disconnect.png")));
  dial()->setConnectBtnEnable(true);
  EXPECT_TRUE(dial()->connectButtonImagePath().endsWith("/connect-enabled.png"));
  dial()->setConnectStatus(DialController::kConnected);
  dial()->setConnectBtnImage();
  EXPECT_TRUE(dial()->connectButtonImagePath().endsWith("/disconnect.png"));
  // A name that climbs out of the resources is refused: the image stays as it was.
  dial()->setConnectStatus(DialController::kDisconnecting);
  dial()->setConnectBtnImage();
  EXPECT_TRUE(dial()->connectButtonImagePath().endsWith("/disconnect.png"));
  QFile::remove(resources + QStringLiteral("/connect-enabled.png"));
  QFile::remove(resources + QStringLiteral("/disconnect.png"));
}

// The operations of the connection that only a test called before: each now runs where the
// connection road reaches it.
TEST_F(ConnectRoadStates, OperationsOnTheRoadRunWhereTheRoadReachesThem) {
  start({{QStringLiteral("alertWhenRoamConnectedAndIsBlackNet"), true}});
  // Another tab clears the shown new-message text; the Internet tab reloads the profiles.
  auto *smsText = parts.window->findChild<QLabel *>(QStringLiteral("tfdShowCertainNewSmsContent_"));
  ASSERT_TRUE(smsText);
  smsText->setText(QStringLiteral("Your balance is 5.00"));
  dial()->notifyChangeTabViewItem(QStringLiteral("Internet"));
  EXPECT_FALSE(smsText->text().isEmpty());
  dial()->notifyChangeTabViewItem(QStringLiteral("DialRecord"));
  EXPECT_TRUE(smsText->text().isEmpty());

  // The statistics action brings the records tab.
  dial()->notifyChangeTabViewItem(QStringLiteral("Internet"));
  dial()->addStatisticsInInternet(nullptr);
  ASSERT_TRUE(parts.tabs->currentWidget());
  EXPECT_EQ(parts.tabs->currentWidget()->property("itemIdentifier").toString(), QStringLiteral("DialRecord"));

  // The updater hears of the ready device once per run, at the first connected report.
  struct UpdaterCount : MainWindowNeighbour {
    int deviceReady = 0;
    void openMainWindow() override {}
    void miniaturizeMainWindowWhenConnectSucced() override {}
    void toolbarSetEnable(bool) override {}
    void toolbarSetItemEnable(bool, const QString &) override {}
    void insertUSSDToobarItem(int) override {}
    void setIsHiddenForUSSDActive(bool) override {}
    void setCallMenuItemEnable(bool, bool, bool, bool) override {}
    void freshStatusViewWhenDialStatusChanged() override {}
    void tbimainURLEncipherActionExt(QObject *) override {}
    void updateUIForBraVavav(const QString &) override {}
    bool updaterSupported() const override { return true; }
    void setUpdaterAutoUpdate(bool) override {}
    void setUpdaterServiceAddress(const QString &) override {}
    void setUpdaterDuration(int) override {}
    void sendUpdaterInit() override {}
    void sendUpdaterManualUpdate() override {}
    void sendUpdaterDeviceReady() override { ++deviceReady; }
    bool requestTerminate() override { return false; }
  } updater;
  MainWindowNeighbour *main = Neighbourhood::mainWindow();
  Neighbourhood::setMainWindow(&updater);
  dial()->setConnectStatus(DialController::kConnecting);
  for (int report = 0; report < 3; ++report)
    dial()->processPPPConnectStatus(8, report, 100, 200);
  EXPECT_EQ(updater.deviceReady, 1);
  dial()->processPPPConnectStatus(0, 0, 0, 0);
  dial()->setConnectStatus(DialController::kConnecting);
  dial()->processPPPConnectStatus(8, 1, 100, 200);
  EXPECT_EQ(updater.deviceReady, 1) << "once per run, not per connection";
  Neighbourhood::setMainWindow(main);
}

} // namespace
