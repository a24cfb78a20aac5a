// The ruvoz window's header as the connection controller drives it: the extender pages over the
// two pictures, the device text, and what a disconnect leaves shown.
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "FrameworkLinks.h"
#include "NotificationTables.h"
#include "OperatorAddress.h"
#include "QELUIManager.h"
#include "WebViewUtilities.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QUrlQuery>

namespace {

class OperatorContentRuvoz : public ModemWindowFixture {
protected:
  QVariantMap uiConfig;
  std::unique_ptr<QELUIManager> skin;

  QVariantMap settingsOverrides() const override { return {{"UIConfig", uiConfig}}; }
  void SetUp() override {}
  void TearDown() override {
    if (parts.mainController) {
      delete parts.mainController;
      parts.mainController = nullptr;
    }
    ModemWindowFixture::TearDown();
  }
  // Builds the window with the bundle's skin; false (with a failure) when the skin is missing.
  bool build(bool ruvoz) {
    QVariantMap settings;
    Plist::readDictionary(testsupport::buildBundlePath() + "/Resources/ModemList/settings.plist", &settings);
    uiConfig = settings.value("UIConfig").toMap();
    uiConfig.insert("MiniUI", false);
    uiConfig.insert("RuvozUI", ruvoz);
    ModemWindowFixture::SetUp();
    skin = std::make_unique<QELUIManager>(config.get());
    if (!skin->loadUIResource(testsupport::buildBundlePath() + "/Resources/defaultSkin")) {
      ADD_FAILURE() << "no skin in the bundle";
      return false;
    }
    parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
    return g_DialController != nullptr;
  }
  DialController *dial() const { return g_DialController; }
  QWidget *skinView(const char *key) const {
    return qobject_cast<QWidget *>(FrameworkLinks::controllerByKey(skin.get(), QLatin1String(key)));
  }
  QString connectTitle() const {
    auto *button = qobject_cast<QAbstractButton *>(skinView("btnDialConnectExt"));
    return button ? button->text() : QStringLiteral("<none>");
  }
};

TEST_F(OperatorContentRuvoz, ExtenderPagesCarryTheNumberAndImsiAsEncodedValues) {
  ASSERT_TRUE(build(true));
  ASSERT_TRUE(dial()->isRuvozSkin());
  dial()->setRuntimeObject(QStringLiteral("+1 555&imsi=x#y"), kRTPhoneNumber);
  dial()->settingDict().insert("IMSI", "001010123456789");
  dial()->ruvozUIAttachWebViewOpenURL();
  struct Expect {
    WebView *view;
    const char *picture, *page;
  } expects[] = {{dial()->webViewInViewTopFixed_, "webViewInTopFixed", "/extender/extender1.xhtml"},
                 {dial()->webViewInHomePage_, "webViewInHomePage", "/extender/extender2.xhtml"}};
  for (const Expect &e : expects) {
    ASSERT_NE(e.view, nullptr) << e.page;
    EXPECT_EQ(e.view->parentWidget(), skinView(e.picture));
    const QUrl url = e.view->url();
    EXPECT_EQ(url.host(), OperatorAddress::base().host());
    EXPECT_EQ(url.port(), OperatorAddress::base().port());
    EXPECT_EQ(url.path(), QLatin1String(e.page));
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItems().size(), 2) << url.toString().toStdString();
    EXPECT_EQ(query.queryItemValue("msisdn", QUrl::FullyDecoded), "+1 555&imsi=x#y");
    EXPECT_EQ(query.queryItemValue("imsi", QUrl::FullyDecoded), "001010123456789");
    EXPECT_TRUE(url.fragment().isEmpty());
  }
  // A new header takes the pages away.
  dial()->ruvozUITopFixedImage(QString(), QString(), QString(), QStringLiteral("No SIM"));
  EXPECT_EQ(dial()->webViewInViewTopFixed_, nullptr);
  EXPECT_EQ(dial()->webViewInHomePage_, nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(skinView("webViewInTopFixed")->findChildren<WebView *>().isEmpty());
}

TEST_F(OperatorContentRuvoz, DeviceTextTakesItsSizeFromTheRowsAndTheLargeFontOnce) {
  ASSERT_TRUE(build(true));
  init()->setRuvozUITopFrontSizeFlag(true);
  dial()->setDeviceStatusStringRows(1);
  dial()->ruvozUITopFixedImage(QString(), QString(), QString(), QStringLiteral("0123456789"));
  DialController::RuvozHeader h = dial()->ruvozHeader();
  EXPECT_TRUE(h.deviceLabelVisible);
  EXPECT_FALSE(h.topViewVisible);
  EXPECT_EQ(h.deviceLabelSize, QSize(175, 46));
  EXPECT_TRUE(h.centred);
  EXPECT_EQ(h.fontSize, 21);
  EXPECT_FALSE(init()->ruvozUITopFrontSizeFlag()) << "the large font is used once";
  ASSERT_NE(dial()->labelDeviceStatus_, nullptr);
  EXPECT_EQ(dial()->labelDeviceStatus_->text(), "0123456789");
  EXPECT_EQ(dial()->labelDeviceStatus_->size(), QSize(175, 46));
  EXPECT_TRUE(skinView("webViewInTopFixed")->isHidden());

  dial()->setDeviceStatusStringRows(2);
  dial()->ruvozUITopFixedImage(QString(), QString(), QString(), QStringLiteral("two\nlines"));
  h = dial()->ruvozHeader();
  EXPECT_EQ(h.deviceLabelSize, QSize(180, 59));
  EXPECT_FALSE(h.centred);
  EXPECT_EQ(h.fontSize, 16);

  // A top picture takes the place of the text.
  dial()->ruvozUITopFixedImage(QStringLiteral("freeToFun.png"), QString(), QString(), QString());
  h = dial()->ruvozHeader();
  EXPECT_EQ(h.topImage, "freeToFun.png");
  EXPECT_FALSE(h.deviceLabelVisible);
  EXPECT_TRUE(dial()->labelDeviceStatus_->isHidden());
  EXPECT_FALSE(skinView("webViewInTopFixed")->isHidden());
}

TEST_F(OperatorContentRuvoz, DisconnectShowsConnectAndTheFailureTextUnlessAskedFor) {
  ASSERT_TRUE(build(true));
  dial()->setManualDisconnect(false);
  dial()->ruvozUIManualDisconnect();
  DialController::RuvozHeader h = dial()->ruvozHeader();
  EXPECT_EQ(h.homeImage, "freeToFun_HomePage.png");
  EXPECT_TRUE(h.deviceLabelVisible);
  EXPECT_EQ(dial()->ruvozDeviceStatus(), Map_Name_Item_of_IndexString("Can not connect, please try again"));
  EXPECT_EQ(h.deviceLabelSize, QSize(180, 59));
  EXPECT_EQ(connectTitle(), Map_Name_Item_of_IndexString("Connect"));

  dial()->setManualDisconnect(true);
  dial()->ruvozUIManualDisconnect();
  h = dial()->ruvozHeader();
  EXPECT_EQ(h.topImage, "freeToFun.png");
  EXPECT_FALSE(h.deviceLabelVisible) << "no number is shown without its switch";

  // The connected look names the button after the disconnect.
  dial()->setDialBtnWithStatus(true);
  EXPECT_EQ(connectTitle(), Map_Name_Item_of_IndexString("Disconnect"));
  dial()->setDialBtnWithStatus(false);
  EXPECT_EQ(connectTitle(), Map_Name_Item_of_IndexString("Connect"));
}

TEST_F(OperatorContentRuvoz, PhoneNumberNoticeShowsTheNumberOnOneLine) {
  ASSERT_TRUE(build(true));
  dial()->setDeviceStatusStringRows(2);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DisplayPhoneNumberForRuvoz"));
  EXPECT_EQ(dial()->ruvozDeviceStatus(), dial()->getPhoneNumber());
  if (!dial()->getPhoneNumber().isEmpty()) {
    EXPECT_EQ(dial()->ruvozHeader().deviceLabelSize, QSize(175, 46));
  }
}

TEST_F(OperatorContentRuvoz, WithoutTheRuvozSkinNothingIsAttachedOrChanged) {
  ASSERT_TRUE(build(false));
  EXPECT_FALSE(dial()->isRuvozSkin());
  dial()->ruvozUIAttachWebViewOpenURL();
  EXPECT_EQ(dial()->webViewInViewTopFixed_, nullptr);
  EXPECT_EQ(dial()->webViewInHomePage_, nullptr);
  init()->setRuvozUITopFrontSizeFlag(false);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DisplayPhoneNumberForRuvoz"));
  EXPECT_FALSE(init()->ruvozUITopFrontSizeFlag());
  dial()->ruvozUITopFixedImage(QString(), QString(), QString(), QStringLiteral("No Device"));
  EXPECT_EQ(dial()->ruvozDeviceStatus(), "No Device") << "the text is kept for those who ask";
  EXPECT_EQ(dial()->labelDeviceStatus_, nullptr);
}

} // namespace
