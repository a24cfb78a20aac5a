// The first-connected actions end to end against the simulated modem: a connection runs the
// operator's pages once, whatever number of connected reports follow; the next connection runs
// them again once; the embedded operator page is made once for the program's life.
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "FrameworkLinks.h"
#include "OperatorAddress.h"
#include "QELUIManager.h"
#include "WebViewUtilities.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>

namespace {

QVariantMap profile(const QString &name, const QString &apn) {
  return {{QStringLiteral("provider"), name},
          {QStringLiteral("apnName"), apn},
          {QStringLiteral("telNumber"), QStringLiteral("*99#")},
          {QStringLiteral("pppFlag"), 1}};
}

// Counts the times a widget is shown and hidden, so that a window that opens and closes within
// one connect is still seen.
class ShowCounter : public QObject {
public:
  int shown = 0, hidden = 0;
  bool eventFilter(QObject *, QEvent *e) override {
    if (e->type() == QEvent::Show)
      ++shown;
    else if (e->type() == QEvent::Hide)
      ++hidden;
    return false;
  }
};

class OperatorContentRoad : public NetworkWindowFixture, public ::testing::WithParamInterface<int> {
protected:
  QVariantMap extraSettings;
  QStringList opened;
  std::unique_ptr<QELUIManager> skin;
  bool withSkin = false;

  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {}
  void TearDown() override {
    QELUIController::setUrlOpener({});
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }
  void internet(const QString &key, const QVariant &value) {
    QVariantMap m = extraSettings.value(QStringLiteral("Internet")).toMap();
    m.insert(key, value);
    extraSettings.insert(QStringLiteral("Internet"), m);
  }
  bool start() {
    NetworkWindowFixture::SetUp();
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")),
                     QVariantList{profile("Internet", "internet"), profile("Work", "work.apn")});
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Data"), QVariantMap{{QStringLiteral("StepMs"), 30}});
    const QString path = testsupport::writePlist(dir.filePath(QStringLiteral("scenario.plist")), scenario);
    DialController::setTimeScale(0.02);
    QELUIController::setUrlOpener([this](const QUrl &url) {
      opened << url.toString();
      return true;
    });
    if (!(withSkin ? launchWithSkin(path) : launch(path)))
      return false;
    return testsupport::waitUntil([] { return g_DialController && g_DialController->isConnectBtnEnabled(); });
  }
  // As launch(), with the bundle's skin, so that the skin's windows are built.
  bool launchWithSkin(const QString &scenario) {
    skin = std::make_unique<QELUIManager>(config.get());
    if (!skin->loadUIResource(testsupport::buildBundlePath() + "/Resources/defaultSkin"))
      return false;
    link = std::make_unique<PackageLink>(ui, be);
    if (!link->open())
      return false;
    center = std::make_unique<QELMsgCenter>(link.get());
    parts = MainWindowBuilder::build(center.get(), skin.get(), &owner);
    testsupport::useFreeOperatorAddress();
    backend = std::make_unique<testsupport::BackendProcess>(ui, be, scenario);
    return backend->start();
  }
  DialController *dial() const { return g_DialController; }
  QPushButton *button() const { return dial()->m_ConnectButton; }
  bool waitStatus(int status) const {
    return testsupport::waitUntil([&] { return dial()->connectStatus() == status; }, 8000);
  }
  QList<WebView *> operatorPages() const {
    return dial()->viewInternet_->findChildren<WebView *>(QStringLiteral("dadizarerAZIWebView"));
  }
  // Connected, with several further connected reports or pushes behind it.
  void connectAndSettle() {
    button()->click();
    ASSERT_TRUE(waitStatus(DialController::kConnected));
    ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectTime() >= 2; }, 8000));
  }
};

TEST_P(OperatorContentRoad, EachConnectionRunsTheOperatorPagesOnce) {
  extraSettings.insert(QStringLiteral("ConnectType"), GetParam());
  extraSettings.insert(QStringLiteral("UIConfig"), QVariantMap{{QStringLiteral("DadizarerAZI"), true}});
  extraSettings.insert(
      QStringLiteral("webURLDict"),
      QVariantMap{{QStringLiteral("MainPage"), QStringLiteral("http://op.example/main?n=%@&imei=%@")}});
  extraSettings.insert(QStringLiteral("OpenURLSettings"),
                       QVariantList{QVariantMap{{QStringLiteral("APNProvider"), QStringLiteral("Internet")},
                                                {QStringLiteral("AutoOpen"), true},
                                                {QStringLiteral("URL"), QStringLiteral("http://special.example/")}}});
  internet(QStringLiteral("IMSIAndWebPage"),
           QVariantMap{{QStringLiteral("001"), QStringLiteral("http://short.example/")},
                       {QStringLiteral("00101"), QStringLiteral("operator.example/welcome")}});
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return dial()->settingDict().value(QStringLiteral("IMSI")).toString() == "001010123456789"; }));
  const QStringList once{QStringLiteral("http://special.example/"), QStringLiteral("http://operator.example/welcome")};

  connectAndSettle();
  EXPECT_EQ(opened, once);
  ASSERT_EQ(operatorPages().size(), 1);
  const QUrl page = operatorPages().first()->url();
  EXPECT_EQ(page.host(), "op.example");
  EXPECT_EQ(QUrlQuery(page).queryItemValue(QStringLiteral("imei")), "350000000000001");

  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(opened, once) << "a disconnect opens nothing";

  connectAndSettle();
  EXPECT_EQ(opened, once + once);
  EXPECT_EQ(operatorPages().size(), 1) << "the operator page is made once";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
}

INSTANTIATE_TEST_SUITE_P(Roads, OperatorContentRoad, ::testing::Values(0, 1),
                         [](const auto &info) { return info.param ? "Ndis" : "DialUp"; });

using OperatorContentRoadWindows = OperatorContentRoad;

TEST_F(OperatorContentRoadWindows, ConnectStateWindowShowsWhileConnectingAndDisconnecting) {
  internet(QStringLiteral("OpenWindoOfConectOrDisConnectNetForDidoro"), true);
  internet(QStringLiteral("SetConnectStateForDidoro"), true);
  internet(QStringLiteral("DisplayMonthlyData"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  QDialog *window = dial()->connectStateWindowForDidoro();
  ShowCounter counter;
  window->installEventFilter(&counter);

  connectAndSettle();
  EXPECT_EQ(counter.shown, 1);
  EXPECT_FALSE(window->isVisible()) << "connected: the window is closed";
  EXPECT_FALSE(dial()->isProgressIndicatorRunning());
  EXPECT_EQ(dial()->connectStateImageName(), "DataConnected");
  ASSERT_NE(dial()->monthlyData_, nullptr);
  EXPECT_NE(dial()->monthlyData_->text(), "_____");

  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(counter.shown, 2);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(dial()->connectStateImageName(), "DataNotConnected");
  EXPECT_EQ(dial()->monthlyData_->text(), "_____");
}

TEST_F(OperatorContentRoadWindows, RuvozHeaderShowsTheExtenderPagesWhileConnected) {
  withSkin = true;
  extraSettings.insert(QStringLiteral("UIConfig"),
                       QVariantMap{{QStringLiteral("RuvozUI"), true}, {QStringLiteral("MiniUI"), false}});
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(dial()->isRuvozSkin());
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return dial()->settingDict().value(QStringLiteral("IMSI")).toString() == "001010123456789"; }));
  connectAndSettle();
  ASSERT_NE(dial()->webViewInViewTopFixed_, nullptr);
  ASSERT_NE(dial()->webViewInHomePage_, nullptr);
  const QUrl top = dial()->webViewInViewTopFixed_->url();
  EXPECT_EQ(top.port(), OperatorAddress::base().port());
  EXPECT_EQ(top.path(), QString::fromLatin1(OperatorAddress::kExtenderPath) + "extender1.xhtml");
  EXPECT_EQ(QUrlQuery(top).queryItemValue(QStringLiteral("imsi")), "001010123456789");
  EXPECT_EQ(dial()->webViewInHomePage_->url().path(),
            QString::fromLatin1(OperatorAddress::kExtenderPath) + "extender2.xhtml");
  auto *connect = qobject_cast<QAbstractButton *>(FrameworkLinks::controllerByKey(skin.get(), "btnDialConnectExt"));
  ASSERT_NE(connect, nullptr);
  EXPECT_EQ(connect->text(), Map_Name_Item_of_IndexString("Disconnect"));

  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(dial()->webViewInViewTopFixed_, nullptr);
  EXPECT_EQ(dial()->webViewInHomePage_, nullptr);
  EXPECT_EQ(dial()->ruvozHeader().topImage, "freeToFun.png") << "a disconnect asked for is no failure";
  EXPECT_EQ(dial()->ruvozHeader().homeImage, "freeToFun_HomePage.png");
  EXPECT_EQ(connect->text(), Map_Name_Item_of_IndexString("Connect"));
}

} // namespace
