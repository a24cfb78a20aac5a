// The split layout of the Internet tab end to end: the real window against the simulated modem,
// the pages it switches to on connect and disconnect, the web views it attaches, the
// favourite-icon hint on tab changes; and the plain tab when no key asks for any of it.
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "MainController.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"

#include <QPushButton>
#include <QTabWidget>

namespace {

class OperatorContentSplitFixture : public NetworkWindowFixture {
protected:
  QVariantMap extraSettings;
  QList<WebViewEvent> events;

  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {} // each test sets its settings, then starts
  void TearDown() override {
    WebViewUtilities::setRecorder({});
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }

  bool start() {
    NetworkWindowFixture::SetUp();
    WebViewUtilities::setRecorder([this](const WebViewEvent &e) { events << e; });
    DialController::setTimeScale(0.02);
    if (!launch())
      return false;
    return testsupport::waitUntil([] { return g_DialController && g_DialController->isConnectBtnEnabled(); });
  }
  DialController *dial() const { return g_DialController; }
  bool waitStatus(int status) const {
    return testsupport::waitUntil([&] { return dial()->connectStatus() == status; });
  }
  QStringList attached() const {
    QStringList out;
    for (const WebViewEvent &e : events)
      if (e.kind == WebViewEvent::Attached)
        out << e.view + QLatin1Char('@') + e.superview;
    return out;
  }
};

TEST_F(OperatorContentSplitFixture, ConnectShowsTheAfterPageWithItsViewsAndDisconnectTheBeforePage) {
  extraSettings = {
      {"EnableSplitConnectionProcess", true},
      {"ShouldShowFavouriteIconConfigHint", true},
      {"PromoWebViewRect", QVariantMap{{"X", 0}, {"Y", 0}, {"W", 200}, {"H", 120}}},
      {"HomePageWebViewRect", QVariantMap{{"X", 10}, {"Y", 10}, {"W", 120}, {"H", 40}}},
  };
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(dial()->internetSwitchTab_);
  EXPECT_EQ(dial()->currentSplitPage(), "PreInternet");
  EXPECT_TRUE(attached().isEmpty()) << "no web view before the after page is wanted";
  EXPECT_EQ(dial()->preDefaultConfiguration_->text(), "Profile Name:");
  EXPECT_EQ(dial()->postConnectBtn_->text(), "Disconnect");
  ASSERT_TRUE(dial()->customLinkBtns_[3]);
  EXPECT_EQ(dial()->customLinkBtns_[3]->webLink().path(), "/personal/broadband/hspa/settings/");

  dial()->m_ConnectButton->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(dial()->currentSplitPage(), "PostInternet");
  EXPECT_EQ(attached(), QStringList({"promoWebkitView@bgContainerView", "homepageView@bgupWeblinkView"}));
  EXPECT_TRUE(dial()->isFavoriteIconHintShown());
  EXPECT_TRUE(dial()->postConnectBtn_->isEnabled());

  // Another tab closes the hint; the Internet tab on the after page brings it back.
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("SMS"));
  EXPECT_FALSE(dial()->isFavoriteIconHintShown());
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("Internet"));
  EXPECT_TRUE(dial()->isFavoriteIconHintShown());
  EXPECT_EQ(attached().size(), 2) << "the views are made once";

  dial()->postConnectBtn_->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(dial()->currentSplitPage(), "PreInternet");
  EXPECT_FALSE(dial()->isFavoriteIconHintShown());
  // Each settled status switched the page once, however many reports came in.
  EXPECT_EQ(dial()->splitPageSwitches(), QStringList({"PreInternet", "PostInternet", "PreInternet"}));
}

TEST_F(OperatorContentSplitFixture, WithTheAfterPageFirstTheTabStaysThereWhenDisconnected) {
  extraSettings = {{"EnableSplitConnectionProcess", true}, {"VuziraSplit", true}};
  if (!start())
    GTEST_SKIP() << "no session bus";
  EXPECT_EQ(dial()->currentSplitPage(), "PostInternet");
  dial()->m_ConnectButton->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  dial()->postConnectBtn_->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(dial()->currentSplitPage(), "PostInternet");
  EXPECT_FALSE(dial()->isFavoriteIconHintShown()) << "the hint is off without its key";
}

TEST_F(OperatorContentSplitFixture, WithoutAnyKeyTheTabIsThePlainConnectionPage) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  EXPECT_FALSE(dial()->internetSwitchTab_);
  EXPECT_FALSE(dial()->bgContainerView_);
  EXPECT_FALSE(dial()->imageViewOfShowImageForBillboard_);
  EXPECT_FALSE(dial()->adContainerView_);
  EXPECT_FALSE(dial()->viewContainerEmbedInUI_);
  EXPECT_FALSE(dial()->favoriteIconHintWindow_);
  dial()->m_ConnectButton->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  dial()->m_ConnectButton->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_TRUE(attached().isEmpty());
  EXPECT_TRUE(dial()->splitPageSwitches().isEmpty());
}

} // namespace
