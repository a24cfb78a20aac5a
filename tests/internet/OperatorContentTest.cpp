// The operator web content of the Internet tab without the window: the billboard's steps, the
// navigation policy's operator rules, the favourite link buttons, the embedded page's frame and
// Flash files.
#include "ProfileFixture.h"
#include "QELUIController.h"
#include "TextFormats.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"
#include "WeblinkUpdateUtilities.h"

#include "../support/TestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

namespace {

// Every load, attach and detach of a web view while the test runs.
class ViewRecorder {
public:
  ViewRecorder() {
    WebViewUtilities::setRecorder([this](const WebViewEvent &e) { events << e; });
  }
  ~ViewRecorder() { WebViewUtilities::setRecorder({}); }
  QList<WebViewEvent> of(WebViewEvent::Kind kind) const {
    QList<WebViewEvent> out;
    for (const WebViewEvent &e : events)
      if (e.kind == kind)
        out << e;
    return out;
  }
  QList<WebViewEvent> events;
};

// Addresses that reached the default browser.
class BrowserRecorder {
public:
  BrowserRecorder() {
    WebViewUtilities::setOpener([this](const QUrl &u) {
      opened << u;
      return true;
    });
  }
  ~BrowserRecorder() { WebViewUtilities::setOpener({}); }
  QList<QUrl> opened;
};

// PNG whatever the name says: the picture reads by its content, and the JPEG plug-in takes down
// LeakSanitizer's exit check in the sanitizer build.
void writePicture(const QString &path, Qt::GlobalColor colour) {
  QDir().mkpath(QFileInfo(path).path());
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(path, "PNG"));
}

void writeText(const QString &path, const QByteArray &text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

class OperatorContentFixture : public ProfileFixture {
protected:
  QWidget host;

  void TearDown() override {
    DialController::setTimeScale(1.0);
    ProfileFixture::TearDown();
  }
};

// ---- billboard ----

using OperatorContentBillboard = OperatorContentFixture;

TEST_F(OperatorContentBillboard, StepsWrapAndAMissingPictureOnlyMovesTheNumber) {
  // Pictures 1 and 3 only.
  writePicture(modemList + "/images/u1.jpg", Qt::red);
  writePicture(modemList + "/images/u3.jpg", Qt::blue);
  auto *picture = new QLabel(&host);
  dial->imageViewOfShowImageForBillboard_ = picture;
  struct Case {
    int from;
    bool forward;
    int to;
    QString shown; // empty: the picture before stays
  };
  const QString before = QStringLiteral("picture before");
  for (const Case &c :
       {Case{3, true, 1, modemList + "/images/u1.jpg"}, Case{1, false, 3, modemList + "/images/u3.jpg"},
        Case{1, true, 2, QString()}, Case{3, false, 2, QString()}, Case{2, true, 3, modemList + "/images/u3.jpg"}}) {
    dial->borwserPicIndexforBillboard_ = c.from;
    dial->billboardPicture_ = before;
    picture->clear();
    dial->autoBrowserPictureForBillboard(c.forward);
    EXPECT_EQ(dial->billboardPictureNumber(), c.to) << c.from << (c.forward ? " forward" : " backward");
    EXPECT_EQ(dial->billboardPicturePath(), c.shown.isEmpty() ? before : QDir::cleanPath(c.shown)) << c.from;
    EXPECT_EQ(picture->pixmap().isNull(), c.shown.isEmpty()) << c.from;
  }
}

TEST_F(OperatorContentBillboard, RollsForwardWhileConnectedAndRestsWhenTheConnectionDrops) {
  writePicture(modemList + "/images/u1.jpg", Qt::red);
  writePicture(modemList + "/images/u2.jpg", Qt::green);
  writePicture(modemList + "/images/u3.jpg", Qt::blue);
  auto *up = new QPushButton(&host), *down = new QPushButton(&host);
  dial->btnOfUpForBillboard_ = up;
  dial->btnOfDownForBillboard_ = down;
  dial->isHiddenBrowserPicBtnForBillboard(true);

  // Off: a finished download leaves the billboard alone.
  dial->imageDownloadFinishForBillboard();
  EXPECT_FALSE(dial->isBillboardRolling());
  EXPECT_TRUE(up->isHidden());

  set("Internet", "Internet_isDisplayBillboard_WhenConnectSuccess", true);
  DialController::setTimeScale(0.05);
  dial->borwserPicIndexforBillboard_ = 3;
  dial->imageDownloadFinishForBillboard();
  EXPECT_EQ(dial->billboardPictureNumber(), 1);
  EXPECT_TRUE(dial->isBillboardRolling());
  EXPECT_FALSE(up->isHidden());
  EXPECT_FALSE(down->isHidden());
  QList<int> shown;
  QObject watcher;
  // Each step of the roll, as it happens.
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, &watcher, [&] {
    if (shown.isEmpty() || shown.last() != dial->billboardPictureNumber())
      shown << dial->billboardPictureNumber();
  });
  probe.start(1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return shown.size() >= 4; }));
  probe.stop();
  for (int i = 1; i < shown.size(); ++i)
    EXPECT_EQ(shown[i], shown[i - 1] % 3 + 1) << "forward, one picture at a time";

  // A connect report leaves it rolling; the drop stops it and disables the buttons.
  dial->connectStatusDidChange(Notification{QString(), nullptr, {{QStringLiteral("ConnectStatus"), 3}}});
  EXPECT_TRUE(dial->isBillboardRolling());
  dial->connectStatusDidChange(Notification{QString(), nullptr, {{QStringLiteral("ConnectStatus"), 0}}});
  EXPECT_FALSE(dial->isBillboardRolling());
  EXPECT_FALSE(up->isEnabled());
  EXPECT_FALSE(down->isEnabled());
}

// ---- navigation policy ----

class OperatorContentNavigation : public OperatorContentFixture {
protected:
  const QString known = QStringLiteral("http://icons.example/promo/a.gif");
  void SetUp() override {
    OperatorContentFixture::SetUp();
    const QString links = modemList + "/IconLinks.plist";
    Plist::writeFile(links, QVariantList{QVariantMap{{"ImageURL", known}, {"ImageStorePath", "a.gif"}}});
    WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(links);
  }
  void TearDown() override {
    WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(QString());
    OperatorContentFixture::TearDown();
  }
};

TEST_F(OperatorContentNavigation, TheOperatorRulesDecideInTheirOrder) {
  const QString mainPage = QStringLiteral("https://portal.example/main?msisdn=%@&imei=%@");
  set(QString(), "webURLDict", QVariantMap{{"MainPage", mainPage}});
  dial->setRuntimeObject(QStringLiteral("+33 6&1"), kRTPhoneNumber);
  dial->setRuntimeObject(QStringLiteral("356938035643809"), kRTIMEI);
  const QString filled = fillWebLinkTemplate(mainPage, {QStringLiteral("+33 6&1"), QStringLiteral("356938035643809")});
  ASSERT_TRUE(filled.contains("msisdn=%2B33%206%261")) << filled.toStdString();

  struct Case {
    const char *name;
    bool split, ruvoz, dadizarer;
    QString url;
    bool allowed, toBrowser;
  };
  const QString other = QStringLiteral("https://elsewhere.example/page");
  const Case cases[] = {
      {"split, an icon link", true, false, false, known, true, false},
      {"split, a local file", true, false, false, QStringLiteral("file:///tmp/promo.htm"), true, false},
      {"split, any other link", true, false, false, other, false, true},
      {"split decides before ruvoz", true, true, false, other, false, true},
      {"ruvoz", false, true, false, other, true, false},
      {"ruvoz decides before dadizarer", false, true, true, other, true, false},
      {"dadizarer, its main page", false, false, true, filled, true, false},
      {"dadizarer, another page", false, false, true, other, false, true},
      {"no rule applies", false, false, false, other, true, false},
  };
  for (const Case &c : cases) {
    set(QString(), "EnableSplitConnectionProcess", c.split);
    set("UIConfig", "RuvozUI", c.ruvoz);
    set("UIConfig", "DadizarerAZI", c.dadizarer);
    BrowserRecorder browser;
    EXPECT_EQ(dial->webPolicyDelegate()->decidePolicyForNavigation(nullptr, QUrl(c.url)), c.allowed) << c.name;
    EXPECT_EQ(browser.opened, c.toBrowser ? QList<QUrl>{QUrl(c.url)} : QList<QUrl>{}) << c.name;
  }
}

TEST_F(OperatorContentNavigation, NewWindowsGoToTheBrowserAndTheConfirmPanelIsAQuestion) {
  BrowserRecorder browser;
  WebViewDelegate *delegate = dial->webPolicyDelegate();
  delegate->decidePolicyForNewWindow(nullptr, QUrl("https://offer.example/"));
  delegate->decidePolicyForNewWindow(nullptr, QUrl("javascript:alert(1)"));
  delegate->decidePolicyForNewWindow(nullptr, QUrl());
  EXPECT_EQ(browser.opened, QList<QUrl>{QUrl("https://offer.example/")}) << "only web and mail addresses";

  ScriptedAnswers answers({ModalQuestions::kDefaultAnswer, ModalQuestions::kAlternateAnswer});
  EXPECT_TRUE(delegate->runJavaScriptConfirmPanel(nullptr, QStringLiteral("Leave the offer?")));
  EXPECT_FALSE(delegate->runJavaScriptConfirmPanel(nullptr, QStringLiteral("Leave the offer?")));
  ASSERT_EQ(answers.asked().size(), 2);
  EXPECT_EQ(answers.asked()[0].title, "JavaScript");
  EXPECT_EQ(answers.asked()[0].message, "Leave the offer?");
  EXPECT_EQ(answers.asked()[0].defaultButton, "OK");
  EXPECT_EQ(answers.asked()[0].alternateButton, "Cancel");
}

// ---- favourite links ----

using OperatorContentFavoriteLinks = OperatorContentFixture;

TEST_F(OperatorContentFavoriteLinks, EachEntryFillsTheButtonOfItsIndex) {
  for (size_t i = 0; i < 6; ++i) {
    auto *button = new WeblinkButton(&host);
    button->hide();
    dial->favoriteLinkBtns_[i] = button;
  }
  writePicture(modemList + "/icons/mail.png", Qt::red);
  writePicture(modemList + "/icons/news.png", Qt::green);
  const QVariantList links = {
      QVariantMap{
          {"Index", 0}, {"Image", modemList + "/icons/mail.png"}, {"Path", "https://mail.example/"}, {"Type", 1}},
      QVariantMap{{"Index", 2},
                  {"Image", modemList + "/icons/missing.png"},
                  {"Path", "/opt/notes/readme.txt"},
                  {"Type", 0},
                  {"Para", "/usr/bin/viewer"}},
      QVariantMap{
          {"Index", 6}, {"Image", modemList + "/icons/news.png"}, {"Path", "https://six.example/"}, {"Type", 1}},
      QVariantMap{
          {"Index", -1}, {"Image", modemList + "/icons/news.png"}, {"Path", "https://neg.example/"}, {"Type", 1}},
      QVariantMap{{"Image", modemList + "/icons/news.png"}, {"Path", "https://none.example/"}, {"Type", 1}},
      // A relative image is found in the ModemList folder.
      QVariantMap{{"Index", 5}, {"Image", "icons/news.png"}, {"Path", "https://news.example/"}, {"Type", 1}},
  };
  Plist::writeFile(modemList + "/FavoriteLinks.plist", links);
  dial->loadFavoritesLinkPropeties();
  EXPECT_EQ(dial->favoritesLinkProperties().size(), links.size());

  WeblinkButton *first = dial->favoriteLinkBtns_[0];
  EXPECT_FALSE(first->isHidden());
  EXPECT_FALSE(first->icon().isNull());
  EXPECT_EQ(first->webLink(), QUrl("https://mail.example/"));
  EXPECT_EQ(first->linkType(), WeblinkButton::kWebPage);

  WeblinkButton *third = dial->favoriteLinkBtns_[2];
  EXPECT_TRUE(third->isHidden()) << "no image, no button";
  EXPECT_TRUE(third->icon().isNull());
  EXPECT_EQ(third->linkType(), WeblinkButton::kApplicationOrFile);
  EXPECT_EQ(third->linkPara(), "/usr/bin/viewer");

  EXPECT_FALSE(dial->favoriteLinkBtns_[5]->isHidden());
  EXPECT_EQ(dial->favoriteLinkBtns_[5]->webLink(), QUrl("https://news.example/"));
  for (size_t i : {size_t(1), size_t(3), size_t(4)}) {
    EXPECT_TRUE(dial->favoriteLinkBtns_[i]->isHidden()) << i;
    EXPECT_TRUE(dial->favoriteLinkBtns_[i]->webLink().isEmpty()) << i << ": Index 6, -1 and none fill no button";
  }
}

// ---- embedded page ----

using OperatorContentEmbeddedPage = OperatorContentFixture;

TEST_F(OperatorContentEmbeddedPage, TheFrameIsTheContainerShrunkByTheConfiguredRectangle) {
  struct Case {
    QVariantMap rect;
    QRect offset, frame;
  };
  const QSize container(400, 300);
  const Case cases[] = {
      {{}, QRect(0, 0, 0, 0), QRect(0, 0, 400, 300)},
      // The entry named after the height takes from the width.
      {{{"DecreasedHeight", 20}}, QRect(0, 0, 20, 0), QRect(0, 0, 380, 300)},
      {{{"DecreasedWidth", 30}}, QRect(0, 0, 0, 30), QRect(0, 30, 400, 270)},
      // Left and bottom move it; the bottom counts from the container's bottom.
      {{{"InSuperViewLeft", 5}, {"InSuperViewBottom", 10}, {"DecreasedHeight", 20}, {"DecreasedWidth", 30}},
       QRect(5, 10, 20, 30),
       QRect(5, 20, 380, 270)},
  };
  for (const Case &c : cases) {
    set(QString(), "WebViewRectInSuperView", c.rect);
    EXPECT_EQ(dial->getRectInSuperView(), c.offset);
    EXPECT_EQ(DialController::webViewFrameInContainer(container, c.offset), c.frame);
  }
}

TEST_F(OperatorContentEmbeddedPage, APageIsShownInItsContainerAndFollowsItsSize) {
  ViewRecorder views;
  auto *box = new QWidget(&host);
  box->setObjectName("viewContainerEmbedInUI");
  box->resize(400, 300);
  host.show(); // a hidden container keeps its resize for later
  dial->viewContainerEmbedInUI_ = box;
  set(QString(), "WebViewRectInSuperView", QVariantMap{{"DecreasedHeight", 20}});

  dial->displayWebUrl(QString(), box, true, dial->getRectInSuperView());
  dial->displayWebUrl("https://portal.example/", nullptr, true, dial->getRectInSuperView());
  EXPECT_TRUE(views.events.isEmpty()) << "no address or no container: nothing";

  dial->displayWebUrl("https://portal.example/", box, false, dial->getRectInSuperView());
  ASSERT_TRUE(dial->webViewEmbedInUI_);
  EXPECT_EQ(dial->webViewEmbedInUI_->geometry(), QRect(0, 0, 380, 300)) << "20 narrower, as tall";
  ASSERT_EQ(views.of(WebViewEvent::Loaded).size(), 1);
  const WebViewEvent load = views.of(WebViewEvent::Loaded).first();
  EXPECT_EQ(load.view, "webViewEmbedInUI");
  EXPECT_EQ(load.superview, "viewContainerEmbedInUI");
  EXPECT_EQ(load.url, QUrl("https://portal.example/"));
  EXPECT_FALSE(load.allowsScrolling);
  box->resize(500, 200);
  EXPECT_EQ(dial->webViewEmbedInUI_->geometry(), QRect(0, 0, 480, 200));

  // The variant with the fixed inset of 10 replaces the view it had.
  dial->displayWebUrl("https://portal.example/2", box, true);
  EXPECT_EQ(views.of(WebViewEvent::Detached).size(), 1);
  EXPECT_EQ(dial->webViewEmbedInUI_->geometry(), QRect(10, 10, 480, 180));
  EXPECT_TRUE(dial->webViewEmbedInUI_->allowsScrolling());
}

TEST_F(OperatorContentEmbeddedPage, TheSpecialPageComesWithTheKeyAndGoesOnDetach) {
  ViewRecorder views;
  auto *box = new QWidget(&host);
  box->setObjectName("viewContainer");
  box->resize(300, 200);
  dial->viewContainer_ = box;
  dial->displaySpecialWebView();
  EXPECT_FALSE(dial->wbvAdvertisement_) << "no \"WebViewURL\", no page";
  set(QString(), "WebViewURL", "https://special.example/");
  dial->displaySpecialWebView();
  ASSERT_TRUE(dial->wbvAdvertisement_);
  EXPECT_EQ(dial->wbvAdvertisement_->geometry(), QRect(10, 10, 280, 180));
  EXPECT_FALSE(dial->wbvAdvertisement_->allowsScrolling());
  EXPECT_EQ(views.of(WebViewEvent::Loaded).value(0).url, QUrl("https://special.example/"));
  dial->detachSpecialWebview();
  EXPECT_FALSE(dial->wbvAdvertisement_);
  EXPECT_EQ(views.of(WebViewEvent::Detached).size(), 1);
  dial->detachSpecialWebview(); // twice is harmless
}

// ---- banner and advertisement ----

using OperatorContentBanner = OperatorContentFixture;

TEST_F(OperatorContentBanner, StoredIconFilesGoToTheBannerAndThePromotion) {
  const QString images = modemList + "/vuzira/images";
  writePicture(images + "/MainimageTitle_Cropped.jpg", Qt::darkBlue);
  writeText(images + "/promo.swf", "FWS");
  writeText(images + "/promo.htm", "<html><body>Offer</body></html>");
  const QString links = modemList + "/IconLinks.plist";
  Plist::writeFile(links, QVariantList{QVariantMap{{"ImageStorePath", images + "/MainimageTitle_Cropped.jpg"}},
                                       QVariantMap{{"ImageStorePath", images + "/promo.swf"}},
                                       QVariantMap{{"ImageStorePath", images + "/other.gif"}}});
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(links);
  set(QString(), "GetHtmlFilePathByFlashFile", true);
  set(QString(), "PromoWebViewRect", QVariantMap{{"X", 0}, {"Y", 0}, {"W", 200}, {"H", 100}});
  auto *banner = new WebLinkImageView(&host);
  auto *promo = new QWidget(&host);
  promo->setObjectName("bgContainerView");
  promo->resize(200, 100);
  dial->bgupWeblinkView_ = banner;
  dial->bgContainerView_ = promo;
  dial->attachWebviewWithDelegates(dial->webPolicyDelegate());
  ASSERT_TRUE(dial->promoWebkitView_);
  EXPECT_FALSE(dial->homepageView_) << "no \"HomePageWebViewRect\", no home page view";

  ViewRecorder views;
  dial->loadCurrentIconAndFlash();
  EXPECT_FALSE(banner->pixmap().isNull());
  EXPECT_FALSE(banner->webLink().isEmpty());
  ASSERT_EQ(views.of(WebViewEvent::Loaded).size(), 1);
  EXPECT_EQ(views.of(WebViewEvent::Loaded)[0].view, "promoWebkitView");
  EXPECT_EQ(views.of(WebViewEvent::Loaded)[0].url, QUrl::fromLocalFile(images + "/promo.htm"));
  EXPECT_EQ(dial->promoWebkitView_->url(), QUrl::fromLocalFile(images + "/promo.htm"))
      << "a local page passes the promotion's own policy";
  dial->detachWebviews();
  EXPECT_FALSE(dial->promoWebkitView_);
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(QString());
}

TEST_F(OperatorContentBanner, TheAdvertisementShowsItsFileOfTheSourcesFolderOnly) {
  writePicture(modemList + "/Sources/ad.png", Qt::yellow);
  writePicture(modemList + "/outside.png", Qt::yellow);
  auto *ad = new WebLinkImageView(&host);
  dial->adContainerView_ = ad;
  set(QString(), "AddZodiAdView", true);
  set(QString(), "ZodiAdInfo", QVariantMap{{"FileName", "ad.png"}, {"AdURL", "https://ad.example/"}});
  dial->initAdContainerView();
  EXPECT_FALSE(ad->pixmap().isNull());
  EXPECT_EQ(ad->webLink(), QUrl("https://ad.example/"));
  set(QString(), "ZodiAdInfo", QVariantMap{{"FileName", "../outside.png"}});
  dial->updateAdImageView();
  EXPECT_TRUE(ad->pixmap().isNull()) << "a name is never a way out of the folder";

  int enabled = 0;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, "SetWebLinkImageViewEnabled", nullptr,
                                                  [&](const Notification &) { ++enabled; });
  dial->downloadAdImageFile();
  set(QString(), "AddZodiAdView", false);
  dial->downloadAdImageFile();
  EXPECT_EQ(enabled, 2);
}

TEST_F(OperatorContentBanner, ThePageOfTheFirstProfileOpensOnlyForIt) {
  QList<QUrl> opened;
  QELUIController::setUrlOpener([&](const QUrl &u) {
    opened << u;
    return true;
  });
  set("Internet", "AutoLaunchURLString", "https://welcome.example/");
  dial->m_IndexOfComboBoxSelectionNow = 1;
  dial->launchURLAtFirstAPN();
  EXPECT_TRUE(opened.isEmpty()) << "off without its switch";
  set("Internet", "AutoLaunchURLWithFirstDefaultAPN", true);
  dial->m_IndexOfComboBoxSelectionNow = 2;
  dial->launchURLAtFirstAPN();
  EXPECT_TRUE(opened.isEmpty()) << "another profile";
  dial->m_IndexOfComboBoxSelectionNow = 1;
  dial->launchURLAtFirstAPN();
  EXPECT_EQ(opened, QList<QUrl>{QUrl("https://welcome.example/")});
  QELUIController::setUrlOpener({});
}

// ---- favourite-icon hint ----

using OperatorContentHint = OperatorContentFixture;

TEST_F(OperatorContentHint, TheHintGoesIntoTheMainWindowWhenAskedAndItsBoxStopsIt) {
  QMainWindow window;
  auto *content = new QWidget(&window);
  window.setCentralWidget(content);
  window.resize(800, 600);
  dial->wndMain = &window;
  auto *hint = new FavoriteIconHintWindow(&window);
  auto *view = new QWidget(hint);
  view->setObjectName("favoriteIconHintView");
  view->resize(300, 90);
  auto *box = new QCheckBox(view);
  dial->favoriteIconHintWindow_ = hint;
  dial->stopNotifyHintCheckbox_ = box;

  dial->hintFavoriteIconConfigrable();
  EXPECT_FALSE(dial->isFavoriteIconHintShown()) << "off without its key";
  set(QString(), "ShouldShowFavouriteIconConfigHint", true);
  set("Main", "Main_addHintWindowIntoMainWnd_IfNeedMoveWithMainWnd", true);
  window.show();
  dial->hintFavoriteIconConfigrable();
  EXPECT_TRUE(dial->isFavoriteIconHintShown());
  EXPECT_EQ(view->parentWidget(), content);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(content->rect().contains(view->geometry())) << "inside the window";
  dial->closefavoriteIconHintWindow();
  EXPECT_FALSE(view->isVisible());
  EXPECT_FALSE(dial->isFavoriteIconHintShown());

  box->setChecked(true);
  dial->stopNotifyHintClicked(box);
  QVariantMap saved;
  ASSERT_TRUE(Plist::readDictionary(modemList + "/settings.plist", &saved));
  EXPECT_EQ(saved.value("ShouldShowFavouriteIconConfigHint"), QVariant(false));
  dial->hintFavoriteIconConfigrable();
  EXPECT_FALSE(dial->isFavoriteIconHintShown());
}

// ---- Flash files ----

using OperatorContentFlash = OperatorContentFixture;

TEST_F(OperatorContentFlash, AFlashFileShowsItsPageOrNothingAndAnAddressIsRequested) {
  const QString folder = modemList + "/vuzira/images";
  QDir().mkpath(folder);
  writeText(folder + "/promo.swf", "FWS");
  writeText(folder + "/promo.htm", "<html><body>Promotion</body></html>");
  writeText(folder + "/banner.html", "<html><body>Banner</body></html>");
  EXPECT_EQ(DialController::getHtmlFilePathByFlash(folder + "/promo.swf"), folder + "/promo.htm");
  EXPECT_EQ(DialController::getHtmlFilePathByFlash(folder + "/banner.html"), QString());

  host.resize(300, 200);
  struct Case {
    const char *name;
    bool htmlCompanion;
    QString path;
    QUrl loaded; // empty: nothing is shown
    int cachePolicy, timeout;
    bool scrolling;
  };
  const Case cases[] = {
      {"Flash with its page", true, folder + "/promo.swf", QUrl::fromLocalFile(folder + "/promo.htm"), 0, 0, false},
      {"Flash alone cannot be shown", false, folder + "/promo.swf", QUrl(), 0, 0, true},
      {"a page that is not Flash", true, folder + "/banner.html", QUrl::fromLocalFile(folder + "/banner.html"), 0, 0,
       false},
      {"a remote address", false, "http://cdn.example/promo.swf", QUrl("http://cdn.example/promo.swf"), 2, 600, true},
  };
  for (const Case &c : cases) {
    set(QString(), "GetHtmlFilePathByFlashFile", c.htmlCompanion);
    WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(QRect(0, 0, 300, 200), &host);
    ASSERT_NE(view, nullptr);
    ViewRecorder views;
    dial->LoadFlash(c.path, view);
    const QList<WebViewEvent> loads = views.of(WebViewEvent::Loaded);
    if (c.loaded.isEmpty()) {
      EXPECT_TRUE(loads.isEmpty()) << c.name;
      EXPECT_TRUE(view->url().isEmpty()) << c.name;
    } else {
      ASSERT_EQ(loads.size(), 1) << c.name;
      EXPECT_EQ(loads[0].url, c.loaded) << c.name;
      EXPECT_EQ(loads[0].cachePolicy, c.cachePolicy) << c.name;
      EXPECT_EQ(loads[0].timeoutSeconds, c.timeout) << c.name;
      EXPECT_EQ(view->allowsScrolling(), c.scrolling) << c.name;
    }
    WebViewUtilities::sharedManager()->detachSubWebview(view);
  }
  dial->LoadFlash(folder + "/promo.swf", nullptr); // no view: nothing
}

} // namespace
