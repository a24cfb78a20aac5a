// The connection controller's share of the linked icons: it sets up the download folder and the
// icon list at start-up, asks for newer icons, puts a finished icon where the tab shows it (the
// banner, the Flash views, the advertisement), and lets the link pictures work only while
// connected.
#include "ConfigManager.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "DownloadUtilities.h"
#include "NotificationTables.h"
#include "SafeFile.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"
#include "WeblinkUpdateUtilities.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

using namespace dialsupport;

namespace {
const QString kBannerImage = QStringLiteral("MainimageTitle_Cropped.jpg");
const QString kSmallBanner = QStringLiteral("smallbanner.swf");
const QString kPromo = QStringLiteral("promo.swf");
// The operator's broadband page behind the banner (a wording key, so an operator build may give
// its own address).
const QString kBroadbandPage = QStringLiteral("https://www.operator.example/personal/broadband/");

QString storePathOf(const QVariantMap &entry) {
  const QString store = entry.value(QStringLiteral("ImageStorePath")).toString();
  const QString resolved = WeblinkUpdateUtilities::resolveStorePath(store);
  return resolved.isEmpty() ? store : resolved;
}
} // namespace

void DialController::initWebDownloadAndLinkUpdateUtilitiesOfEntertain() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString folder = config->getFilePathWithFileName(QStringLiteral("vuzira/images/"));
  // A first start has no folder yet: the icons need one to land in, the user's alone.
  SafeFile::makeFolder(folder, 0700);
  DownloadUtilities::sharedDownloadManager()->setDownloadFolder(folder);
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(
      config->getFilePathWithFileName(QStringLiteral("IconLinks.plist")));
}

void DialController::startWebLinksAtStartUp() {
  initWebContentOfInternetTab();
  initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  WeblinkUpdateUtilities *links = WeblinkUpdateUtilities::sharedUpdateManager();
  links->setIconLoader([this](const QVariantMap &entry) {
    loadedIconProperties_ << entry;
    loadIconImageAccordingProperty(entry);
  });
  links->startUpdateWebLinks();
  notificationCenter->addObserver(
      this, QString::fromLatin1(kConnectStatusDidChange), nullptr, [this](const Notification &n) {
        const int status = n.userInfo.value(QStringLiteral("ConnectStatus")).toInt();
        if (status == 3)
          notificationCenter->postNotificationName(QStringLiteral("SetWebLinkImageViewEnabled"), nullptr);
        else if (status == 0)
          notificationCenter->postNotificationName(QStringLiteral("SetWebLinkImageViewDisabled"), nullptr);
      });
}

// ---- banner, Flash and advertisement files ----

void DialController::loadCurrentIconAndFlash() {
  for (const QVariant &v : WeblinkUpdateUtilities::sharedUpdateManager()->iconLinks()) {
    const QVariantMap entry = v.toMap();
    const QString name = QFileInfo(entry.value(QStringLiteral("ImageStorePath")).toString()).fileName();
    if (name == kBannerImage || name == kSmallBanner || name == kPromo)
      loadIconImageAccordingProperty(entry);
  }
}

void DialController::loadIconImageAccordingProperty(const QVariantMap &entry) {
  if (entry.isEmpty())
    return;
  const QString path = storePathOf(entry);
  const QString name = QFileInfo(entry.value(QStringLiteral("ImageStorePath")).toString()).fileName();
  if (name.isEmpty())
    return;
  if (name == kBannerImage) {
    if (bgupWeblinkView_) {
      const QPixmap picture(path);
      if (!picture.isNull())
        bgupWeblinkView_->setPixmap(picture);
      bgupWeblinkView_->setWebLinkString(word(kBroadbandPage));
    }
  } else if (name == kSmallBanner) {
    LoadFlash(path, homepageView_);
  } else if (name == kPromo) {
    LoadFlash(path, promoWebkitView_);
  }
  if (name == moduleValue(settingDict(), QStringLiteral("ZodiAdInfo"), QStringLiteral("FileName")).toString())
    updateAdImageView();
}

QString DialController::getHtmlFilePathByFlash(const QString &path) {
  const QFileInfo file(path);
  if (file.suffix().compare(QLatin1String("swf"), Qt::CaseInsensitive) != 0)
    return {};
  return QDir(file.path()).filePath(file.completeBaseName() + QStringLiteral(".htm"));
}

void DialController::LoadFlash(const QString &path, WebView *view) {
  if (!view || path.isEmpty())
    return;
  if (!QFileInfo(path).isFile()) {
    // Not a file here: an address, asked for as any remote page.
    const QUrl url(path, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty())
      view->load(url, WebViewUtilities::kReturnCacheDataElseLoad, WebViewUtilities::kRemoteTimeoutSeconds);
    return;
  }
  QString file = path;
  if (switchOn(settingDict(), QString(), QStringLiteral("GetHtmlFilePathByFlashFile"))) {
    // The page made for the Flash file shows it; a file that is not Flash has none and is
    // shown as it stands.
    const QString html = getHtmlFilePathByFlash(path);
    if (!html.isEmpty())
      file = html;
    view->setAllowsScrolling(false);
  }
  // Flash itself cannot be shown here: without its page the view stays empty.
  if (!getHtmlFilePathByFlash(file).isEmpty() || !QFileInfo(file).isFile()) {
    qInfo().noquote() << "DialController: no page to show for" << path;
    view->clear();
    return;
  }
  view->load(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

void DialController::initAdContainerView() {
  if (!switchOn(settingDict(), QString(), QStringLiteral("AddZodiAdView")))
    return;
  const QString link = moduleValue(settingDict(), QStringLiteral("ZodiAdInfo"), QStringLiteral("AdURL")).toString();
  if (!link.isEmpty() && adContainerView_)
    adContainerView_->setWebLinkString(link);
  updateAdImageView();
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString folder = config->configFilePathOfKey(kSourcesFolder);
  if (!folder.isEmpty())
    SafeFile::makeFolder(folder, 0700);
  DownloadUtilities::sharedDownloadManager()->setDownloadFolder(folder);
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(config->configFilePathOfKey(kWebLinkInfoPath));
}

void DialController::updateAdImageView() {
  if (!adContainerView_)
    return;
  const QString name = moduleValue(settingDict(), QStringLiteral("ZodiAdInfo"), QStringLiteral("FileName")).toString();
  ConfigManager *config = ConfigManager::sharedConfigManager();
  QPixmap picture;
  // The name is a file of the sources folder, never a way out of it.
  if (config && !name.isEmpty() && name == QFileInfo(name).fileName() && name != QLatin1String("..") &&
      name != QLatin1String("."))
    picture.load(QDir(config->configFilePathOfKey(kSourcesFolder)).filePath(name));
  if (picture.isNull())
    adContainerView_->clear();
  else
    adContainerView_->setPixmap(picture);
}

void DialController::downloadAdImageFile() {
  if (switchOn(settingDict(), QString(), QStringLiteral("AddZodiAdView")))
    QTimer::singleShot(scaledMs(5.0), this, &DialController::UpdateWebLinkTimerFired);
  notificationCenter->postNotificationName(QStringLiteral("SetWebLinkImageViewEnabled"), nullptr);
}
