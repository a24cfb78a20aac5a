#include "WeblinkUpdateUtilities.h"

#include "ConfigManager.h"
#include "DownloadUtilities.h"
#include "NotificationCenter.h"
#include "Plist.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimeZone>

namespace {
const QString kImageURL = QStringLiteral("ImageURL");
const QString kImageStorePath = QStringLiteral("ImageStorePath");
const QString kImageModifiedDate = QStringLiteral("ImageModifiedDate");
const QString kLatestImageModifiedDate = QStringLiteral("LatestImageModifiedDate");

// `path` cleaned, when it lies inside `folder` (both absolute); empty otherwise.
QString insideFolder(const QString &path, const QString &folder) {
  if (folder.isEmpty())
    return {};
  const QString base = QDir::cleanPath(QDir(folder).absolutePath());
  const QString clean = QDir::cleanPath(path);
  return clean.startsWith(base + QLatin1Char('/')) ? clean : QString();
}
} // namespace

WeblinkUpdateUtilities *WeblinkUpdateUtilities::sharedUpdateManager() {
  static WeblinkUpdateUtilities *manager = new WeblinkUpdateUtilities;
  return manager;
}

void WeblinkUpdateUtilities::setcfgFile(const QString &path) {
  cfgFile_ = path;
  loadcfg();
}

void WeblinkUpdateUtilities::loadcfg() {
  QVariant list;
  iconLinks_.clear();
  if (!cfgFile_.isEmpty() && Plist::readFile(cfgFile_, &list) && list.typeId() == QMetaType::QVariantList)
    iconLinks_ = list.toList();
}

bool WeblinkUpdateUtilities::savecfg() {
  return !cfgFile_.isEmpty() && Plist::writeFile(cfgFile_, iconLinks_);
}

bool WeblinkUpdateUtilities::isKnownURLInIconLinks(const QString &text) const {
  if (text.startsWith(QLatin1String("file://")))
    return true;
  if (text.isEmpty())
    return false;
  for (const QVariant &entry : iconLinks_) {
    const QVariantMap e = entry.toMap();
    if (e.value(kImageURL).toString() == text || e.value(kImageStorePath).toString() == text)
      return true;
  }
  return false;
}

QVariantMap WeblinkUpdateUtilities::iconLinkPropertiesForURL(const QString &url) const {
  if (url.isEmpty())
    return {};
  for (const QVariant &entry : iconLinks_)
    if (entry.toMap().value(kImageURL).toString() == url)
      return entry.toMap();
  return {};
}

int WeblinkUpdateUtilities::startUpdateWebLinks() {
  if (cfgFile_.isEmpty() || !QFileInfo(cfgFile_).isFile())
    return kFileNotFound;
  QStringList asked;
  for (const QVariant &entry : std::as_const(iconLinks_)) {
    const QString url = entry.toMap().value(kImageURL).toString();
    // One question per address: a second entry of the same address shares the answer.
    if (url.isEmpty() || asked.contains(url))
      continue;
    asked << url;
    DownloadUtilities::sharedDownloadManager()->startQueryURLModifiedDate(url);
  }
  return 0;
}

QDateTime WeblinkUpdateUtilities::parseHttpDate(const QString &text) {
  // "Sun, 06 Nov 1994 08:49:37 GMT"; HTTP dates are always in universal time.
  QString body = text.simplified();
  const int lastSpace = body.lastIndexOf(QLatin1Char(' '));
  if (lastSpace < 0)
    return {};
  const QString zone = body.mid(lastSpace + 1);
  if (zone != QLatin1String("GMT") && zone != QLatin1String("UTC") && zone != QLatin1String("UT"))
    return {};
  body.truncate(lastSpace);
  QDateTime date = QLocale::c().toDateTime(body, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"));
  if (!date.isValid())
    return {};
  date.setTimeZone(QTimeZone::utc());
  return date;
}

void WeblinkUpdateUtilities::lastModifiedDate(const QString &dateText, const QString &url) {
  const QDateTime returned = parseHttpDate(dateText);
  if (!returned.isValid())
    return;
  for (int i = 0; i < iconLinks_.size(); ++i) {
    QVariantMap entry = iconLinks_.at(i).toMap();
    if (entry.value(kImageURL).toString() != url)
      continue;
    const QDateTime stored = parseHttpDate(entry.value(kImageModifiedDate).toString());
    if (stored.isValid() && returned <= stored)
      return;
    entry.insert(kLatestImageModifiedDate, dateText);
    iconLinks_[i] = entry;
    DownloadUtilities::sharedDownloadManager()->startDownloadingURL(url);
    return;
  }
}

QString WeblinkUpdateUtilities::destinationSuggestedFilenameForURL(const QString &url) const {
  return resolveStorePath(iconLinkPropertiesForURL(url).value(kImageStorePath).toString());
}

QString WeblinkUpdateUtilities::resolveStorePath(const QString &store) {
  if (store.isEmpty())
    return {};
  if (QDir::isAbsolutePath(store)) {
    ConfigManager *config = ConfigManager::sharedConfigManager();
    return config ? insideFolder(store, config->modemListPath()) : QString();
  }
  const QString folder = DownloadUtilities::sharedDownloadManager()->downloadFolder();
  if (folder.isEmpty())
    return {};
  return insideFolder(QDir(folder).absoluteFilePath(store), folder);
}

void WeblinkUpdateUtilities::downloadDidFinishWithURL(const QString &url) {
  if (cfgFile_.isEmpty() || !QFileInfo(cfgFile_).isFile())
    return;
  for (int i = 0; i < iconLinks_.size(); ++i) {
    QVariantMap entry = iconLinks_.at(i).toMap();
    if (entry.value(kImageURL).toString() != url)
      continue;
    entry.insert(kImageModifiedDate, entry.value(kLatestImageModifiedDate));
    iconLinks_[i] = entry;
    savecfg();
    if (iconLoader_)
      iconLoader_(entry);
    break;
  }
  NotificationCenter &center = NotificationCenter::defaultCenter();
  center.postNotificationName(QStringLiteral("LoadImageFormURLOver"), nullptr);
  center.postNotificationName(QStringLiteral("loadFavouriteBtnWebKitViews"), nullptr);
}
