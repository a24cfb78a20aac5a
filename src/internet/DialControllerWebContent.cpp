// The Internet tab's web content: the split layout ("before connect" and "after connect"
// pages), the favourite-icon hint, the embedded pages and the navigation policy of the views
// that have the connection controller as delegate.
#include "DialController.h"

#include "CocoaExt.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "FrameworkLinks.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "SettingsNeighbour.h"
#include "TextFormats.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"
#include "WeblinkUpdateUtilities.h"

#include <QCheckBox>
#include <QDebug>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

using namespace dialsupport;

namespace {

const QString kPreInternet = QStringLiteral("PreInternet");
const QString kPostInternet = QStringLiteral("PostInternet");

// The views whose delegate is the connection controller: its operator rules decide where they
// may go; the load events are logged as for any view.
class DialWebPolicy : public WebViewDelegate {
public:
  void setController(DialController *dial) { dial_ = dial; }
  bool decidePolicyForNavigation(WebView *, const QUrl &url) override {
    return !dial_ || dial_->decidePolicyForNavigationAction(url);
  }
  void decidePolicyForNewWindow(WebView *, const QUrl &url) override {
    if (dial_)
      dial_->decidePolicyForNewWindowAction(url);
  }
  void didStartProvisionalLoad(WebView *view) override {
    WebViewUtilities::sharedManager()->didStartProvisionalLoad(view);
  }
  void didReceiveTitle(WebView *view, const QString &title) override {
    WebViewUtilities::sharedManager()->didReceiveTitle(view, title);
  }
  void didFinishLoad(WebView *view) override { WebViewUtilities::sharedManager()->didFinishLoad(view); }
  void didFailProvisionalLoad(WebView *view, const QString &error) override {
    WebViewUtilities::sharedManager()->didFailProvisionalLoad(view, error);
  }

private:
  QPointer<DialController> dial_;
};

// A page asked to go elsewhere goes to the default browser, but only a web or mail address:
// another scheme could start any program.
void openInDefaultBrowser(const QUrl &url) {
  if (WebViewUtilities::opensInNewWindow(url))
    WebViewUtilities::openInBrowser(url);
  else
    qWarning().noquote() << "DialController: not opened in the browser:" << url.scheme() << "address";
}

QString identifierOf(const QWidget *item) {
  return item ? item->property("itemIdentifier").toString() : QString();
}

// A frame dictionary {"X", "Y", "W", "H"} inside a container of `size`, y counted from the
// container's bottom as the layout files have it.
QRect frameOfEntry(const QVariant &entry, const QSize &size) {
  const QVariantMap m = entry.toMap();
  const int x = qRound(m.value(QStringLiteral("X")).toDouble());
  const int y = qRound(m.value(QStringLiteral("Y")).toDouble());
  const int w = qRound(m.value(QStringLiteral("W")).toDouble());
  const int h = qRound(m.value(QStringLiteral("H")).toDouble());
  return QRect(x, size.height() - y - h, w, h);
}

QSize containerSize(const QWidget *container) {
  return container->size().expandedTo(container->minimumSize());
}

// The insets that keep `frame` where it is while the container grows or shrinks.
QMargins insetsOf(const QRect &frame, const QSize &size) {
  return QMargins(frame.left(), frame.top(), size.width() - frame.left() - frame.width(),
                  size.height() - frame.top() - frame.height());
}

} // namespace

// ---- start-up ----

void DialController::initWebContentOfInternetTab() {
  if (webContentStarted_)
    return;
  webContentStarted_ = true;
  // A skin that names the billboard's buttons places and draws them.
  if (qelSkinManager) {
    FrameworkLinks::registerController(qelSkinManager, btnOfDownForBillboard_, QStringLiteral("btnOfDownForBillboard"),
                                       true);
    FrameworkLinks::registerController(qelSkinManager, btnOfUpForBillboard_, QStringLiteral("btnOfUpForBillboard"),
                                       true);
  }
  // As the controller's nib set-up does: custom links, the embedded page, the billboard at rest,
  // the hint's content view.
  initCustomWeblinks();
  displayWebUrl(settingDict().value(QStringLiteral("EmbedWebViewURL")).toString(), viewContainerEmbedInUI_,
                switchOn(settingDict(), QString(), QStringLiteral("EnableAllowScrollOfWBV")), getRectInSuperView());
  isHiddenBrowserPicBtnForBillboard(true);
  setDefaultBackgroundImageForBillboard();
  if (!favoriteIconHintView_ && favoriteIconHintWindow_)
    favoriteIconHintView_ = favoriteIconHintWindow_->findChild<QWidget *>(QStringLiteral("favoriteIconHintView"));
  // Then the special resources of the controller's set-up.
  initSplitConnectionProcess();
  initAdContainerView();
  notificationCenter->addObserver(this, QStringLiteral("LoadImageFormURLOver"), nullptr,
                                  [this](const Notification &) { imageDownloadFinishForBillboard(); });
  notificationCenter->addObserver(this, QStringLiteral("loadFavouriteBtnWebKitViews"), nullptr,
                                  [this](const Notification &) { loadFavouriteBtnWebKitViews(); });
}

// ---- split layout ----

bool DialController::isSplitConnectionProcessEnabled() {
  return switchOn(settingDict(), QString(), QStringLiteral("EnableSplitConnectionProcess"));
}

void DialController::initSplitConnectionProcess() {
  if (!isSplitConnectionProcessEnabled())
    return;
  homepageView_ = nullptr;
  promoWebkitView_ = nullptr;
  loadFavoritesLinkPropeties();
  // The icon list is set before the first page asks for its banner files.
  initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  initSplitConnectionProcessForVuzira();
  // The first page is the one for the disconnected state the program starts in.
  splitStatusActedOn_ = kDisconnected;
  if (tabviewMain) {
    QTabWidget *tabs = tabviewMain;
    connect(tabs, &QTabWidget::currentChanged, this,
            [this, tabs](int index) { performSwitchTabActionForVuzira(tabs, tabs->widget(index)); });
    notificationCenter->addObserver(
        this, QString::fromLatin1(kTabViewItemWillChange), nullptr, [this](const Notification &n) {
          if (!tabviewMain)
            return;
          const QString id = n.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString();
          performSwitchTabActionForVuzira(tabviewMain, NSTabViewExt::viewOfIdentifier(tabviewMain, id));
        });
  }
}

void DialController::initSplitConnectionProcessForVuzira() {
  if (!switchOn(settingDict(), QString(), QStringLiteral("VuziraSplit"))) {
    selectSplitPage(kPreInternet);
    return;
  }
  selectSplitPage(kPostInternet);
  attachWebviewWithDelegates(webPolicyDelegate());
  loadCurrentIconAndFlash();
  loadFavouriteBtnWebKitViews();
}

void DialController::selectSplitPage(const QString &identifier) {
  splitPageSwitches_ << identifier;
  if (!internetSwitchTab_)
    return;
  const int index = NSTabViewExt::tabViewItemOfIdentifier(internetSwitchTab_, identifier);
  if (index >= 0)
    internetSwitchTab_->setCurrentIndex(index);
}

QString DialController::currentSplitPage() const {
  if (internetSwitchTab_)
    return identifierOf(internetSwitchTab_->currentWidget());
  return splitPageSwitches_.isEmpty() ? QString() : splitPageSwitches_.last();
}

void DialController::switchInternetTabAction() {
  if (!isSplitConnectionProcessEnabled())
    return;
  const int status = connectStatus_;
  if ((status != kConnected && status != kDisconnected) || status == splitStatusActedOn_)
    return;
  splitStatusActedOn_ = status;
  if (status == kDisconnected) {
    switchInternetTabActionForVuzira();
    return;
  }
  selectSplitPage(kPostInternet);
  const bool hadViews = promoWebkitView_ || homepageView_;
  attachWebviewWithDelegates(webPolicyDelegate());
  // Views made just now show the banner files already stored, not only later downloads.
  if (!hadViews && (promoWebkitView_ || homepageView_))
    loadCurrentIconAndFlash();
  if (auto *settings = Neighbourhood::settings())
    settings->checkLauchWebLinksAtMoment(true);
  hintFavoriteIconConfigrable();
  QTimer::singleShot(scaledMs(5.0), this, &DialController::UpdateWebLinkTimerFired);
}

void DialController::switchInternetTabActionForVuzira() {
  selectSplitPage(switchOn(settingDict(), QString(), QStringLiteral("VuziraSplit")) ? kPostInternet : kPreInternet);
  closefavoriteIconHintWindow();
}

bool DialController::shouldSwitchToInternetState() const {
  const QString id = identifierOf(tabviewMain ? tabviewMain->currentWidget() : nullptr);
  if (id == QLatin1String("Internet_postconnect"))
    return connectStatus_ == kDisconnected;
  if (id == QLatin1String("Internet"))
    return connectStatus_ == kConnected;
  return false;
}

void DialController::switchToInternetState() {
  if (shouldSwitchToInternetState())
    switchInternetTabAction();
}

void DialController::performSwitchTabActionForVuzira(QTabWidget *tabView, QWidget *item) {
  if (!isSplitConnectionProcessEnabled() || !tabView || tabView != tabviewMain)
    return;
  if (item && item == tabView->currentWidget() && identifierOf(item) == QLatin1String("Internet") &&
      currentSplitPage() == kPostInternet) {
    attachWebviewWithDelegates(webPolicyDelegate());
    hintFavoriteIconConfigrable();
    return;
  }
  closefavoriteIconHintWindow();
}

void DialController::UpdateWebLinkTimerFired() {
  WeblinkUpdateUtilities::sharedUpdateManager()->startUpdateWebLinks();
}

// ---- favourite-icon hint ----

void DialController::hintFavoriteIconConfigrable() {
  if (!favoriteIconHintView_ && favoriteIconHintWindow_)
    favoriteIconHintView_ = favoriteIconHintWindow_->findChild<QWidget *>(QStringLiteral("favoriteIconHintView"));
  if (!switchOn(settingDict(), QString(), QStringLiteral("ShouldShowFavouriteIconConfigHint")))
    return;
  ConfigService *config = ConfigService::sharedConfigService();
  const bool inMainWindow = config && config->makeFavoriteIconHintWindowIntoSubviewOfMainWnd();
  QWidget *main = wndMain;
  if (inMainWindow && favoriteIconHintView_) {
    auto *window = qobject_cast<QMainWindow *>(main);
    QWidget *content = window && window->centralWidget() ? window->centralWidget() : main;
    if (!content)
      return;
    QWidget *view = favoriteIconHintView_;
    if (view->parentWidget() != content) {
      const QSize size = view->size();
      QPoint at(view->x() + (content->width() - size.width()) / 2 + 173,
                view->y() + (content->height() - size.height()) / 2 + 45);
      // The hint stays readable inside a window smaller than the one it was drawn for.
      at.setX(qBound(0, at.x(), qMax(0, content->width() - size.width())));
      at.setY(qBound(0, at.y(), qMax(0, content->height() - size.height())));
      view->setParent(content);
      view->move(at);
    }
    view->show();
    view->raise();
    favoriteIconHintShown_ = true;
    return;
  }
  QWidget *hint = favoriteIconHintWindow_;
  if (!hint || !main)
    return;
  const QRect mainFrame = main->frameGeometry();
  const QSize size = hint->size();
  QRect frame(mainFrame.x() + (mainFrame.width() - size.width()) / 2 + 165,
              mainFrame.y() + (mainFrame.height() - size.height()) / 2 + 65, size.width(), size.height());
  if (const QScreen *screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen())
    frame = FavoriteIconHintWindow::keptInside(frame, screen->availableGeometry());
  hint->move(frame.topLeft());
  hint->show();
  hint->raise();
  hint->activateWindow();
  favoriteIconHintShown_ = true;
}

void DialController::closefavoriteIconHintWindow(QObject *) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->makeFavoriteIconHintWindowIntoSubviewOfMainWnd() && favoriteIconHintView_)
    favoriteIconHintView_->hide();
  else if (favoriteIconHintWindow_)
    favoriteIconHintWindow_->hide();
  favoriteIconHintShown_ = false;
}

bool DialController::isFavoriteIconHintShown() const {
  return favoriteIconHintShown_;
}

void DialController::stopNotifyHintClicked(QObject *) {
  const bool stop = stopNotifyHintCheckbox_ && stopNotifyHintCheckbox_->isChecked();
  settingDict().insert(QStringLiteral("ShouldShowFavouriteIconConfigHint"), !stop);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

// ---- embedded web views ----

QRect DialController::getRectInSuperView() const {
  const QVariantMap m =
      const_cast<DialController *>(this)->settingDict().value(QStringLiteral("WebViewRectInSuperView")).toMap();
  const auto number = [&m](const char *key) { return qRound(m.value(QLatin1String(key)).toDouble()); };
  // The width and height fields carry the decreases in this order, as the layout files have it.
  return QRect(number("InSuperViewLeft"), number("InSuperViewBottom"), number("DecreasedHeight"),
               number("DecreasedWidth"));
}

QRect DialController::webViewFrameInContainer(const QSize &container, const QRect &offset) {
  const int width = container.width() - offset.width();
  const int height = container.height() - offset.height();
  // The offset's origin counts from the container's bottom-left corner.
  return QRect(offset.x(), container.height() - offset.y() - height, width, height);
}

void DialController::displayWebUrl(const QString &url, QWidget *container, bool allowsScrolling, const QRect &offset) {
  if (url.isEmpty() || !container)
    return;
  const bool embedded = container == viewContainerEmbedInUI_;
  const QString name =
      embedded ? QStringLiteral("webViewEmbedInUI") : container->objectName() + QStringLiteral("WebView");
  // Showing a page again in the same container replaces the view it had.
  for (WebView *old : container->findChildren<WebView *>(name, Qt::FindDirectChildrenOnly))
    WebViewUtilities::sharedManager()->detachSubWebview(old);
  const QSize size = containerSize(container);
  const QRect frame = webViewFrameInContainer(size, offset);
  WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(frame, container, nullptr, name);
  if (!view)
    return;
  view->followSuperview(insetsOf(frame, size));
  view->setAllowsScrolling(allowsScrolling);
  if (embedded)
    webViewEmbedInUI_ = view;
  WebViewUtilities::sharedManager()->LoadURL(url, view);
}

void DialController::displayWebUrl(const QString &url, QWidget *container, bool allowsScrolling) {
  displayWebUrl(url, container, allowsScrolling, QRect(10, 10, 20, 20));
}

void DialController::displaySpecialWebView() {
  const QString url = settingDict().value(QStringLiteral("WebViewURL")).toString();
  if (url.isEmpty() || !viewContainer_)
    return;
  detachSpecialWebview();
  const QSize size = containerSize(viewContainer_);
  const QRect frame = QRect(QPoint(0, 0), size).adjusted(10, 10, -10, -10);
  WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(frame, viewContainer_, nullptr,
                                                                                QStringLiteral("wbvAdvertisement"));
  if (!view)
    return;
  view->followSuperview(QMargins(10, 10, 10, 10));
  view->setAllowsScrolling(false);
  wbvAdvertisement_ = view;
  viewContainer_->show();
  WebViewUtilities::sharedManager()->LoadURL(url, view);
}

void DialController::detachSpecialWebview() {
  if (!wbvAdvertisement_)
    return;
  WebViewUtilities::sharedManager()->detachSubWebview(wbvAdvertisement_);
  wbvAdvertisement_ = nullptr;
  if (viewContainer_)
    viewContainer_->hide();
}

void DialController::attachWebviewWithDelegates(WebViewDelegate *delegate) {
  if (promoWebkitView_)
    return;
  if (bgContainerView_) {
    const QSize size = containerSize(bgContainerView_);
    const QRect frame = frameOfEntry(settingDict().value(QStringLiteral("PromoWebViewRect")), size);
    promoWebkitView_ = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(frame, bgContainerView_, delegate,
                                                                                     QStringLiteral("promoWebkitView"));
    if (promoWebkitView_)
      promoWebkitView_->followSuperview(insetsOf(frame, size));
  }
  initHomepageViewRes(delegate);
}

void DialController::initHomepageViewRes(WebViewDelegate *delegate) {
  if (homepageView_ || !bgupWeblinkView_)
    return;
  const QSize size = containerSize(bgupWeblinkView_);
  const QRect frame = frameOfEntry(settingDict().value(QStringLiteral("HomePageWebViewRect")), size);
  homepageView_ = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(frame, bgupWeblinkView_, delegate,
                                                                                QStringLiteral("homepageView"));
  if (homepageView_)
    homepageView_->followSuperview(insetsOf(frame, size));
}

void DialController::detachWebviews() {
  for (QPointer<WebView> *view : {&promoWebkitView_, &homepageView_}) {
    if (*view)
      WebViewUtilities::sharedManager()->detachSubWebview(*view);
    *view = nullptr;
  }
}

void DialController::openURL(const QString &url, WebView *view) {
  WebViewUtilities::sharedManager()->LoadURL(url, view);
}

void DialController::launchURLAtFirstAPN() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("AutoLaunchURLWithFirstDefaultAPN")) ||
      m_IndexOfComboBoxSelectionNow != 1)
    return;
  openSafari(moduleValue(settingDict(), kInternet, QStringLiteral("AutoLaunchURLString")).toString());
}

// ---- navigation policy ----

WebViewDelegate *DialController::webPolicyDelegate() {
  // A view may outlive the controller while the window goes: the delegate lives as long as the
  // program and asks the controller only while it is there.
  static DialWebPolicy policy;
  policy.setController(this);
  return &policy;
}

DialController::WebAction DialController::performWebActionForVuziraWith(const QUrl &request) {
  if (request.isEmpty() || !isSplitConnectionProcessEnabled())
    return WebAction::NotDecided;
  const WeblinkUpdateUtilities *links = WeblinkUpdateUtilities::sharedUpdateManager();
  if (links->isKnownURLInIconLinks(request.toString(QUrl::FullyEncoded)) ||
      links->isKnownURLInIconLinks(request.toString()))
    return WebAction::Use;
  openInDefaultBrowser(request);
  return WebAction::Ignore;
}

DialController::WebAction DialController::performWebActionForRuvozUIWithdecisionListener() {
  return switchOn(settingDict(), QStringLiteral("UIConfig"), QStringLiteral("RuvozUI")) ? WebAction::Use
                                                                                        : WebAction::NotDecided;
}

DialController::WebAction DialController::performWebActionForDadizarerAZIWithdecisionListener(const QUrl &request) {
  if (!switchOn(settingDict(), QStringLiteral("UIConfig"), QStringLiteral("DadizarerAZI")))
    return WebAction::NotDecided;
  const QString mainPage =
      fillWebLinkTemplate(webURLForKey(QStringLiteral("MainPage")),
                          {runtimeObjectForKey(kRTPhoneNumber).toString(), runtimeObjectForKey(kRTIMEI).toString()});
  if (!mainPage.isEmpty() && (QUrl(mainPage) == request || mainPage == request.toString(QUrl::FullyEncoded)))
    return WebAction::Use;
  openInDefaultBrowser(request);
  return WebAction::Ignore;
}

bool DialController::decidePolicyForNavigationAction(const QUrl &request) {
  WebAction action = performWebActionForVuziraWith(request);
  if (action == WebAction::NotDecided)
    action = performWebActionForRuvozUIWithdecisionListener();
  if (action == WebAction::NotDecided)
    action = performWebActionForDadizarerAZIWithdecisionListener(request);
  // No operator rule has a word on it: the view goes where it was asked to.
  if (action == WebAction::NotDecided)
    qInfo().noquote() << "WebPolicyDecisionListener will loading URL:" + request.toString();
  return action != WebAction::Ignore;
}

void DialController::decidePolicyForNewWindowAction(const QUrl &request) {
  if (!request.isEmpty())
    openInDefaultBrowser(request);
}
