// The operator views of the Internet tab: the ruvoz window's header (top picture, home-page
// picture, connect button and device text) with its two extender pages, the five embedded pages
// that take turns after a connect, the favourite and link buttons, and the operator's addresses.
// Each part is switched by its own key; without them nothing here shows.
#include "DialController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "FrameworkLinks.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "OperatorAddress.h"
#include "QELUIManager.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"

#include <QAbstractButton>
#include <QDebug>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace dialsupport;

namespace {

QWidget *skinWidget(QELUIManager *skin, const char *key) {
  return qobject_cast<QWidget *>(FrameworkLinks::controllerByKey(skin, QLatin1String(key)));
}

QString encoded(const QString &value) {
  return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

// ---- the ruvoz header ----

bool DialController::isRuvozSkin() const {
  if (!qelSkinManager)
    return false;
  const QVariantMap ui = uiConfigDict();
  return SettingValue::toBool(ui.value(QStringLiteral("RuvozUI"))) &&
         !SettingValue::toBool(ui.value(QStringLiteral("MiniUI")));
}

void DialController::ruvozUISetConnectBtnTitle(const QString &title) {
  if (!isRuvozSkin() || title.isNull())
    return;
  ruvozHeader_.connectBtnTitle = title;
  if (auto *button = qobject_cast<QAbstractButton *>(skinWidget(qelSkinManager, "btnDialConnectExt"))) {
    button->setText(title);
    button->update();
  }
}

void DialController::resetDeviceStatusLabelSize(int width, int height) {
  ruvozHeader_.deviceLabelSize = QSize(width, height);
  if (labelDeviceStatus_)
    labelDeviceStatus_->resize(width, height);
}

void DialController::ruvozUITopFixedImage(const QString &topImage, const QString &homePageImage,
                                          const QString &connectBtnName, const QString &deviceStatus) {
  ruvozDeviceStatus_ = deviceStatus;
  if (!isRuvozSkin())
    return;
  ruvozUIDeattachWebView();
  QWidget *topView = skinWidget(qelSkinManager, "webViewInTopFixed");
  if (!labelDeviceStatus_) {
    // The skin may place the device text; otherwise it sits in the top band.
    labelDeviceStatus_ = qobject_cast<QLabel *>(skinWidget(qelSkinManager, "labelDeviceStutas"));
    QWidget *band = skinWidget(qelSkinManager, "viewTopFixed");
    if (!labelDeviceStatus_ && band) {
      labelDeviceStatus_ = new QLabel(band);
      labelDeviceStatus_->setObjectName(QStringLiteral("labelDeviceStutas"));
      labelDeviceStatus_->setWordWrap(true);
      if (topView)
        labelDeviceStatus_->move(topView->pos());
      labelDeviceStatus_->hide();
    }
  }
  if (!topImage.isEmpty()) {
    ruvozHeader_.topImage = topImage;
    ruvozHeader_.deviceLabelVisible = false;
    ruvozHeader_.topViewVisible = true;
    if (labelDeviceStatus_)
      labelDeviceStatus_->hide();
    if (topView)
      topView->show();
    qelSkinManager->setImageForKey(QStringLiteral("webViewInTopFixed"), topImage, true);
  }
  if (!homePageImage.isEmpty()) {
    ruvozHeader_.homeImage = homePageImage;
    qelSkinManager->setImageForKey(QStringLiteral("webViewInHomePage"), homePageImage, true);
  }
  if (!connectBtnName.isEmpty())
    ruvozUISetConnectBtnTitle(connectBtnName);
  if (deviceStatus.isEmpty()) {
    ruvozHeader_.deviceLabelVisible = false;
    if (labelDeviceStatus_)
      labelDeviceStatus_->hide();
    return;
  }
  ruvozHeader_.topViewVisible = false;
  ruvozHeader_.deviceLabelVisible = true;
  if (topView)
    topView->hide();
  const bool oneLine = deviceStatusRows_ == 1;
  ruvozHeader_.centred = oneLine;
  if (oneLine)
    resetDeviceStatusLabelSize(175, 46);
  else
    resetDeviceStatusLabelSize(180, 59);
  bool large = false;
  if (auto *device = Neighbourhood::deviceStatus(); device && device->ruvozUITopFrontSizeFlag()) {
    large = true;
    device->setRuvozUITopFrontSizeFlag(false);
  }
  ruvozHeader_.fontSize = large ? 21 : 16;
  if (labelDeviceStatus_) {
    QFont font = labelDeviceStatus_->font();
    font.setBold(true);
    font.setPointSize(ruvozHeader_.fontSize);
    labelDeviceStatus_->setFont(font);
    labelDeviceStatus_->setAlignment(oneLine ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    labelDeviceStatus_->setText(deviceStatus);
    labelDeviceStatus_->show();
    labelDeviceStatus_->raise();
  }
}

QStringList DialController::ruvozExtenderAddresses() {
  // The number and the IMSI are values of the query, encoded so that neither can add a
  // parameter of its own.
  const QString query = QStringLiteral("?msisdn=") + encoded(runtimeObjectForKey(kRTPhoneNumber).toString()) +
                        QStringLiteral("&imsi=") + encoded(settingDict().value(QStringLiteral("IMSI")).toString());
  const QString folder = QLatin1String(OperatorAddress::kExtenderPath);
  return {OperatorAddress::url(folder + QStringLiteral("extender1.xhtml") + query),
          OperatorAddress::url(folder + QStringLiteral("extender2.xhtml") + query)};
}

void DialController::ruvozUIAttachWebViewOpenURL() {
  if (!isRuvozSkin())
    return;
  const QStringList addresses = ruvozExtenderAddresses();
  qInfo() << "DialController: extender pages" << addresses;
  ruvozUIDeattachWebView();
  WebViewUtilities *views = WebViewUtilities::sharedManager();
  const struct {
    const char *key;
    QPointer<WebView> *view;
    const char *name;
  } places[] = {{"webViewInTopFixed", &webViewInViewTopFixed_, "webViewInViewTopFixed"},
                {"webViewInHomePage", &webViewInHomePage_, "webViewInHomePage"}};
  for (int i = 0; i < 2; ++i) {
    QWidget *picture = skinWidget(qelSkinManager, places[i].key);
    if (!picture)
      continue;
    WebView *view = views->attachWebviewWithFrameRect(picture->rect(), picture);
    if (!view)
      continue;
    view->setObjectName(QLatin1String(places[i].name));
    view->show();
    // The page takes the picture's place above whatever the tab shows beside it.
    picture->setAutoFillBackground(true);
    picture->show();
    picture->raise();
    *places[i].view = view;
    views->LoadURL(addresses[i], view);
  }
  if (tabviewMain)
    tabviewMain->update();
}

void DialController::ruvozUIDeattachWebView() {
  for (QPointer<WebView> *view : {&webViewInViewTopFixed_, &webViewInHomePage_}) {
    if (*view)
      WebViewUtilities::sharedManager()->detachSubWebview(*view);
    *view = nullptr;
  }
}

void DialController::ruvozUIManualDisconnect() {
  ruvozUIDeattachWebView();
  if (!isRuvozSkin())
    return;
  const QString home = QStringLiteral("freeToFun_HomePage.png");
  // A disconnect that was asked for (by the user or a rule) is no failure.
  if (manualDisconnectFlag_) {
    ConfigService *config = ConfigService::sharedConfigService();
    QString number;
    if (config && config->isDisplayPhoneNumberForRuvoz()) {
      number = getPhoneNumber();
      setDeviceStatusStringRows(1);
      if (auto *device = Neighbourhood::deviceStatus())
        device->setRuvozUITopFrontSizeFlag(true);
    }
    ruvozUITopFixedImage(QStringLiteral("freeToFun.png"), home, word(QStringLiteral("Connect")), number);
  } else {
    setDeviceStatusStringRows(2);
    ruvozUITopFixedImage(QString(), home, word(QStringLiteral("Connect")),
                         word(QStringLiteral("Can not connect, please try again")));
  }
}

// ---- embedded pages ----

void DialController::makeEmbeddedContainers() {
  if (viewEmbeddedPages_ || !viewInternet_)
    return;
  auto *frame = new QWidget(viewInternet_);
  frame->setObjectName(QStringLiteral("viewEmbeddedPages"));
  frame->setMinimumHeight(160);
  auto *stack = new QGridLayout(frame);
  stack->setContentsMargins(0, 0, 0, 0);
  auto *background = new QLabel(frame);
  background->setObjectName(QStringLiteral("viewBackground"));
  stack->addWidget(background, 0, 0);
  viewBackground_ = background;
  QPointer<QWidget> *pages[] = {&viewContainerEmbedInUI1_, &viewContainerEmbedInUI2_, &viewContainerEmbedInUI3_,
                                &viewContainerEmbedInUI4_, &viewContainerEmbedInUI5_};
  for (int i = 0; i < 5; ++i) {
    auto *page = new QWidget(frame);
    page->setObjectName(QStringLiteral("viewContainerEmbedInUI%1").arg(i + 1));
    stack->addWidget(page, 0, 0);
    page->hide();
    *pages[i] = page;
  }
  // Below the connection area, above the page's closing space.
  if (auto *column = qobject_cast<QVBoxLayout *>(viewInternet_->layout()))
    column->insertWidget(qMax(0, column->count() - 1), frame);
  frame->hide();
  background->hide();
  viewEmbeddedPages_ = frame;
}

QWidget *DialController::embeddedContainer(int index) const {
  switch (index) {
  case 1:
    return viewContainerEmbedInUI1_;
  case 2:
    return viewContainerEmbedInUI2_;
  case 3:
    return viewContainerEmbedInUI3_;
  case 4:
    return viewContainerEmbedInUI4_;
  case 5:
    return viewContainerEmbedInUI5_;
  default:
    return nullptr;
  }
}

void DialController::loadWebPagesWhenFirstConnected() {
  ConfigService *config = ConfigService::sharedConfigService();
  const QVariantMap addresses = config ? config->getWebPageAddressesFromFile().toMap() : QVariantMap();
  if (addresses.isEmpty())
    return;
  makeEmbeddedContainers();
  const bool scrolling = switchOn(settingDict(), QString(), QStringLiteral("EnableAllowScrollOfWBV"));
  const QRect offset = getRectInSuperView();
  for (int i = 0; i < 5; ++i) {
    const QString url = addresses.value(QStringLiteral("WebPageAddress%1").arg(i)).toString();
    if (!url.isEmpty())
      displayWebUrl(url, embeddedContainer(i + 1), scrolling, offset);
  }
}

void DialController::startCycleDisplayWebPagesTimer() {
  ConfigService *config = ConfigService::sharedConfigService();
  const QVariant interval = config ? config->getWebPageDisplayTimerInterval() : QVariant();
  if (!interval.isValid())
    return;
  bool ok = false;
  const double seconds = interval.toDouble(&ok);
  if (!ok || !(seconds > 0))
    return;
  stopCycleDisplayWebPagesTimer();
  QObject::disconnect(&timerForCycleDisplayWebUI_, nullptr, this, nullptr);
  connect(&timerForCycleDisplayWebUI_, &QTimer::timeout, this, &DialController::cycleDisplayWebPages);
  timerForCycleDisplayWebUI_.start(int(std::clamp(seconds, 0.1, 86400.0) * 1000));
}

void DialController::stopCycleDisplayWebPagesTimer() {
  timerForCycleDisplayWebUI_.stop();
}

void DialController::cycleDisplayWebPages() {
  currentDisplayWebUIIndex_ = currentDisplayWebUIIndex_ % 5 + 1;
  for (int i = 1; i <= 5; ++i)
    if (QWidget *page = embeddedContainer(i))
      page->setVisible(i == currentDisplayWebUIIndex_);
}

void DialController::displayStaticBackGroundPicAndNotDisplayWebPages() {
  stopCycleDisplayWebPagesTimer();
  setWebPagesVisible(false);
}

void DialController::displayWebPagesAndNotDisplayStaticBackGroundPic() {
  setWebPagesVisible(true);
}

void DialController::setWebPagesVisible(bool visible) {
  for (QWidget *view : {viewBackground_.data(), viewContainerEmbedInUI_.data(), viewEmbeddedPages_.data()})
    if (view)
      view->setVisible(visible);
  for (int i = 1; i <= 5; ++i)
    if (QWidget *page = embeddedContainer(i))
      page->setVisible(visible);
}

// ---- favourite and link buttons ----

void DialController::setFavoriteandLinkBtnState(bool enabled) {
  for (size_t i = 0; i < 6; ++i)
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(customLinkBtns_[i].data()),
                                    static_cast<QAbstractButton *>(favoriteLinkBtns_[i].data())})
      if (button)
        button->setEnabled(enabled);
}

QString DialController::favouriteIconFile(const QString &folder, int icon) {
  if (folder.isEmpty())
    return {};
  const QString own = QStringLiteral("%1/vuzira/images/icon%2.swf").arg(folder).arg(icon);
  if (QFileInfo(own).isFile())
    return own;
  const QString background = QStringLiteral("%1/vuzira/images/background.swf").arg(folder);
  return QFileInfo(background).isFile() ? background : QString();
}

void DialController::loadFavouriteBtnWebKitViews() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString folder = config->configFilePathOfKey(kCMModemListPath);
  for (int i = 0; i < 6; ++i) {
    if (!webViewOfFavouiteBtnForIcon_[i])
      continue;
    const QString file = favouriteIconFile(folder, i + 1);
    if (!file.isEmpty())
      LoadFlash(file, webViewOfFavouiteBtnForIcon_[i]);
  }
}

// ---- operator addresses ----

void DialController::openServerURLWithEncodedIMSIAndIMEI() {
  ConfigService *config = ConfigService::sharedConfigService();
  MainWindowNeighbour *main = Neighbourhood::mainWindow();
  if (!config || !config->isOpenBlowFishEncryptServiceURL() || !qelSkinManager || !main)
    return;
  main->tbimainURLEncipherActionExt(
      FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("btnMainMyAccount")));
}

void DialController::openWindURL(QObject *) {
  openSafari(moduleValue(settingDict(), kInternet, QStringLiteral("openURLStr")).toString());
}

void DialController::openRuzoruURL(QObject *) {
  openSafari(OperatorAddress::url(QStringLiteral("/")));
}
