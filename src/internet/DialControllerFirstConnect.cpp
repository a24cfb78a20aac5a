// What runs once when a connection first comes up: the operator's sounds, pages and web views,
// each switched by its own key, so that most operators get only a few of them.
#include "DialController.h"

#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELUIManager.h"
#include "TextFormats.h"
#include "WebViewUtilities.h"

#include <QLabel>
#include <QUrl>

using namespace dialsupport;

namespace {

// A switch or a value that may sit at the top of the settings or in the Internet module.
QVariant topOrInternet(const QVariantMap &settings, const QString &key) {
  const QVariant top = settings.value(key);
  return top.isValid() ? top : moduleValue(settings, kInternet, key);
}

} // namespace

void DialController::performActionWhenFirstConnected() {
  // Once per connection: the connect sets the mark again, the first connected report takes it.
  if (!m_launchURLState)
    return;
  m_launchURLState = false;
  if (!m_notified) {
    m_notified = true;
    playShortSound(kSoundOnline);
  }
  switchInternetTabAction();
  launchURLAtFirstAPN();
  checkIsOpenSpecialURL();
  ruvozUIAttachWebViewOpenURL();
  dadizarerAZIWebBackground();
  downloadAdImageFile();
  openWebPageWithSIM();
  displaySpecialWebView();
  sendIMSIToHttpServerBySoap();
  openServerURLWithEncodedIMSIAndIMEI();
  const QVariantMap &settings = settingDict();
  const bool scrolling = switchOn(settings, QString(), QStringLiteral("EnableAllowScrollOfWBV"));
  if (switchOn(settings, QString(), QStringLiteral("DisplayBackgroundWhileDisconnect"))) {
    makeEmbeddedContainers();
    displayWebPagesAndNotDisplayStaticBackGroundPic();
  }
  // The tab has the embedded page's frame only when "EmbedWebViewURL" is set.
  displayWebUrl(settings.value(QStringLiteral("EmbedWebViewURL")).toString(), viewContainerEmbedInUI_, scrolling,
                getRectInSuperView());
  imageDownloadFinishForBillboard();
  loadWebPagesWhenFirstConnected();
  startCycleDisplayWebPagesTimer();
}

void DialController::checkIsOpenSpecialURL() {
  const QVariantList entries = topOrInternet(settingDict(), QStringLiteral("OpenURLSettings")).toList();
  if (entries.isEmpty())
    return;
  const QString provider = currentProfile().value(QStringLiteral("provider")).toString();
  for (const QVariant &item : entries) {
    const QVariantMap entry = item.toMap();
    if (entry.value(QStringLiteral("APNProvider")).toString() != provider)
      continue;
    // The first entry of the provider decides, even when it says not to open.
    const QString url = entry.value(QStringLiteral("URL")).toString();
    if (SettingValue::toBool(entry.value(QStringLiteral("AutoOpen"))) && !url.isEmpty())
      openSafari(url);
    return;
  }
}

void DialController::dadizarerAZIWebBackground() {
  if (!SettingValue::toBool(uiConfigDict().value(QStringLiteral("DadizarerAZI")))) {
    dadizarerAZIEmbedWebBackground();
    return;
  }
  // One page for the life of the program: later connections keep the one there is.
  if (dadizarerAZIWebView_ || !viewInternet_)
    return;
  QRectF skinFrame;
  QRect frame;
  if (qelSkinManager && qelSkinManager->getItemRect(&skinFrame, QStringLiteral("wndMainTabviewBack")))
    frame = skinFrame.toRect();
  if (frame.isEmpty())
    frame = viewInternet_->rect();
  if (frame.isEmpty())
    frame = QRect(QPoint(0, 0), viewInternet_->sizeHint().expandedTo(QSize(1, 1)));
  // The address is a template: the number and the IMEI go in as encoded values, never as a
  // format of their own.
  const QString url =
      fillWebLinkTemplate(webURLForKey(QStringLiteral("MainPage")),
                          {runtimeObjectForKey(kRTPhoneNumber).toString(), runtimeObjectForKey(kRTIMEI).toString()});
  WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(frame, viewInternet_);
  if (!view)
    return;
  view->setObjectName(QStringLiteral("dadizarerAZIWebView"));
  dadizarerAZIWebView_ = view;
  view->show();
  view->raise();
  if (!url.isEmpty())
    WebViewUtilities::sharedManager()->LoadURL(url, view);
}

void DialController::dadizarerAZIEmbedWebBackground() {
  const QVariantMap &settings = settingDict();
  if (!switchOn(settings, QString(), QStringLiteral("DadizarerAZIwebURL")))
    return;
  const QString format = webURLForKey(QStringLiteral("MainPage"));
  if (format.isEmpty())
    return;
  const QString imei = runtimeObjectForKey(kRTIMEI).toString();
  const QString url = switchOn(settings, QString(), QStringLiteral("MKNwebURLAddPhoneNum"))
                          ? fillWebLinkTemplate(format, {runtimeObjectForKey(kRTPhoneNumber).toString(), imei})
                          : fillWebLinkTemplate(format, {imei});
  // The embedded page's frame when the tab has one, else the holder of the operator's pages.
  QWidget *frame = viewContainerEmbedInUI_;
  if (!frame) {
    makeEmbeddedContainers();
    frame = viewEmbeddedPages_;
    if (frame)
      frame->show();
  }
  displayWebUrl(url, frame, switchOn(settings, QString(), QStringLiteral("EnableAllowScrollOfWBV")),
                getRectInSuperView());
}

QString DialController::webPageForImsi(const QVariantMap &imsiAndWebPage, const QString &imsi) {
  if (imsi.isEmpty())
    return {};
  // The most specific prefix wins: "46001" before "460" whatever order the file lists them in.
  QString best;
  qsizetype bestLength = -1;
  for (auto it = imsiAndWebPage.cbegin(); it != imsiAndWebPage.cend(); ++it) {
    if (it.key().isEmpty() || !imsi.startsWith(it.key()) || it.key().size() <= bestLength)
      continue;
    const QString page = it.value().toString().trimmed();
    if (page.isEmpty())
      continue;
    best = page;
    bestLength = it.key().size();
  }
  if (best.isEmpty())
    return {};
  // An address that names its scheme ("https://...") is opened as it is; only a bare host and
  // path gets "http://".
  const QUrl parsed(best);
  if (!best.contains(QLatin1String("://")) || parsed.scheme().isEmpty())
    best.prepend(QStringLiteral("http://"));
  return best;
}

void DialController::openWebPageWithSIM() {
  const QVariantMap pages = moduleValue(settingDict(), kInternet, QStringLiteral("IMSIAndWebPage")).toMap();
  const QString imsi = settingDict().value(QStringLiteral("IMSI")).toString();
  if (pages.isEmpty() || imsi.isEmpty())
    return;
  const QString url = webPageForImsi(pages, imsi);
  if (!url.isEmpty())
    openSafari(url);
}

void DialController::displayPhoneNumberForRuvoz() {
  if (!isRuvozSkin())
    return;
  setDeviceStatusStringRows(1);
  if (auto *device = Neighbourhood::deviceStatus())
    device->setRuvozUITopFrontSizeFlag(true);
  ruvozUITopFixedImage(QString(), QString(), QString(), getPhoneNumber());
}
