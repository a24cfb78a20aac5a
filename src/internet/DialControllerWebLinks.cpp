// The connection controller's share of the linked icons: it sets up the download folder and the
// icon list at start-up, asks for newer icons, reloads an icon whose download finished, and lets
// the link pictures work only while connected.
#include "ConfigManager.h"
#include "DialController.h"
#include "DownloadUtilities.h"
#include "NotificationTables.h"
#include "WeblinkUpdateUtilities.h"

#include <QDebug>
#include <QDir>

void DialController::initWebDownloadAndLinkUpdateUtilitiesOfEntertain() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString folder = config->getFilePathWithFileName(QStringLiteral("vuzira/images/"));
  // A first start has no folder yet: the icons need one to land in.
  QDir().mkpath(folder);
  DownloadUtilities::sharedDownloadManager()->setDownloadFolder(folder);
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(
      config->getFilePathWithFileName(QStringLiteral("IconLinks.plist")));
}

void DialController::startWebLinksAtStartUp() {
  initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  WeblinkUpdateUtilities *links = WeblinkUpdateUtilities::sharedUpdateManager();
  links->setIconLoader([this](const QVariantMap &entry) { loadIconImageAccordingProperty(entry); });
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

void DialController::loadIconImageAccordingProperty(const QVariantMap &entry) {
  // The Internet tab's link icons are not built yet: the finished icon is recorded for them.
  loadedIconProperties_ << entry;
  qInfo() << "DialController: icon updated" << entry.value(QStringLiteral("ImageStorePath")).toString();
}
