#include "WebContentProbe.h"

#include "ConfigManager.h"
#include "Plist.h"
#include "SettingValue.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Where the bundle is, as Bundle finds it, without an application object.
QString bundlePath() {
  const QString named = qEnvironmentVariable("QEL_BUNDLE_DIR");
  if (!named.isEmpty())
    return QDir(named).absolutePath();
  return QDir(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/..")).absolutePath();
}

// The settings the program will read: the first ModemList folder of the search order that holds
// them, or the per-user copy when that folder is not ours to write.
QVariantMap settingsInUse(const QString &bundle) {
  const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/qel-connection-manager/ModemList");
  const ConfigManager::Locations loc = ConfigManager::locationsForBundle(bundle, user);
  QVariantMap settings;
  for (const QString &folder : loc.candidates) {
    if (!QFileInfo(folder).isDir())
      continue;
    const QString file = folder + QStringLiteral("/settings.plist");
    if (!QFileInfo(folder).isWritable() && QFileInfo::exists(user + QStringLiteral("/settings.plist")))
      Plist::readDictionary(user + QStringLiteral("/settings.plist"), &settings);
    else
      Plist::readDictionary(file, &settings);
    return settings;
  }
  Plist::readDictionary(loc.defaultSettingsFile, &settings);
  return settings;
}

} // namespace

namespace WebContentProbe {

bool settingsShowWebContent(const QVariantMap &settings) {
  const auto on = [&](const char *key) { return SettingValue::toBool(settings.value(QLatin1String(key))); };
  const auto text = [&](const char *key) { return !settings.value(QLatin1String(key)).toString().isEmpty(); };
  return on("EnableSplitConnectionProcess") || on("AddZodiAdView") || text("EmbedWebViewURL") || text("WebViewURL");
}

bool shareGlContexts() {
  const QString forced = qEnvironmentVariable("QEL_SHARE_GL_CONTEXTS");
  if (forced == QLatin1String("1"))
    return true;
  if (forced == QLatin1String("0") || qEnvironmentVariable("QEL_WEBENGINE") == QLatin1String("0"))
    return false;
  const QString bundle = bundlePath();
  if (!QFileInfo::exists(bundle + QStringLiteral("/PlugIns/WebEngineView.so")))
    return false;
  return settingsShowWebContent(settingsInUse(bundle));
}

} // namespace WebContentProbe
