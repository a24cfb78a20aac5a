#include "QELUIManager.h"

#include "Bundle.h"
#include "ConfigManager.h"
#include "WordGlobe.h"

#include <QDir>
#include <QFileInfo>

const QString QELUIManager::kDefaultSkinName = QStringLiteral("defaultSkin");

namespace {
const QString kUIConfig = QStringLiteral("UIConfig");
const QString kCurrentSkinName = QStringLiteral("CurrentSkinName");
const QString kSupportSkinArray = QStringLiteral("SupportSkinArray");
} // namespace

QELUIManager::QELUIManager(ConfigManager *config, QObject *parent) : UIManager(parent), config_(config) {
  loadLastUsedUIResource();
}

ConfigManager *QELUIManager::config() const {
  return config_ ? config_ : ConfigManager::sharedConfigManager();
}

QVariantMap QELUIManager::configDictionaryOfUI() const {
  ConfigManager *c = config();
  return c ? c->getConfigurationByModule(kUIConfig).toMap() : QVariantMap();
}

bool QELUIManager::loadLastUsedUIResource() {
  const QString remembered = configDictionaryOfUI().value(kCurrentSkinName).toString();
  // A remembered skin that was moved or broken must not leave the program without a look.
  if (!remembered.isEmpty() && loadUIResource(remembered))
    return true;
  return loadUIResourceBySkinName(kDefaultSkinName);
}

bool QELUIManager::loadUIResourceBySkinName(const QString &name) {
  if (name.isEmpty())
    return false;
  return loadUIResource(Bundle::mainBundle().resourcePath() + QLatin1Char('/') + name);
}

bool QELUIManager::loadUIResource(const QString &path) {
  if (!UIManager::loadUIResource(path))
    return false;
  ConfigManager *c = config();
  const bool radirer = c && c->getConfigurationByModule(QStringLiteral("DifferentWorkingMothodForRadirer")).toBool();
  if (!radirer)
    saveCurrentSkinPathToConfig(path);
  return true;
}

void QELUIManager::saveCurrentSkinPathToConfig(const QString &path) {
  ConfigManager *c = config();
  if (!c || path.isEmpty())
    return;
  QVariantMap ui = configDictionaryOfUI();
  QVariantList skins = ui.value(kSupportSkinArray).toList();
  if (!skins.contains(QVariant(path)))
    skins << path;
  ui[kSupportSkinArray] = skins;
  ui[kCurrentSkinName] = path;
  c->setConfigurationByModule(kUIConfig, ui);
  c->writeToFile();
}

QString QELUIManager::currentSkinName() const {
  const QString path = configDictionaryOfUI().value(kCurrentSkinName).toString();
  return path.isEmpty() ? kDefaultSkinName : QFileInfo(QDir::cleanPath(path)).fileName();
}

int QELUIManager::skinCount() const {
  return int(configDictionaryOfUI().value(kSupportSkinArray).toList().size());
}

QString QELUIManager::skinNameByIndex(int index) const {
  const QVariantList skins = configDictionaryOfUI().value(kSupportSkinArray).toList();
  if (index < 0 || index >= skins.size())
    return {};
  return QFileInfo(QDir::cleanPath(skins[index].toString())).fileName();
}

bool QELUIManager::supportsLanguageSkins() const {
  ConfigManager *c = config();
  // On when the top-level "SupportLanguages" is absent or empty.
  return !c || c->getConfigurationByModule(QStringLiteral("SupportLanguages")).toList().isEmpty();
}

QString QELUIManager::languageFolderName() const {
  if (!languageFolder_.isEmpty())
    return languageFolder_;
  // The folder of the token list in use ("German.lproj" gives "German"); before any list is
  // loaded, the default one.
  const QFileInfo loaded(WordGlobe::currentTokenListPath());
  const QString folder = loaded.dir().dirName();
  if (!loaded.filePath().isEmpty() && folder.endsWith(QLatin1String(".lproj")) && folder.size() > 6)
    return folder.chopped(6);
  const QString tokens =
      Bundle::mainBundle().pathForResource(QStringLiteral("English.lproj/LanguageTokenList"), QStringLiteral("txt"));
  return tokens.isEmpty() ? QString() : QStringLiteral("English");
}

QVariantMap QELUIManager::configuredUIFont() const {
  ConfigManager *c = config();
  return c ? c->getConfigurationByModuleAndKey(QStringLiteral("Main"), QStringLiteral("TextFont")).toMap()
           : QVariantMap();
}
