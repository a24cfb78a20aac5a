#include "QELDatacardConfig.h"

#include "ConfigManager.h"
#include "Plist.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

QString g_workPath;
bool g_initialised = false;

constexpr std::array<const char *, 14> kFileNames = {
    "settings.plist",          "config.plist",
    "dialRecordData.plist",    "callRecordData.plist",
    "dialConfig.plist",        "phoneBook.plist",
    "smsInBoxData.plist",      "smsOutBoxData.plist",
    "smsDraftBoxData.plist",   "smsImportantBoxData.plist",
    "smsDeletedBoxData.plist", "smsReportsBoxData.plist",
    "dataCardConfig.plist",    "Help.pdf",
};

// The shared ConfigManager when the work path is its settings file.
ConfigManager *liveOwner() {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  if (!cm || g_workPath.isEmpty())
    return nullptr;
  const QString live = cm->configFilePathOfKey(kCMSettingFile);
  if (live.isEmpty())
    return nullptr;
  return QDir::cleanPath(QFileInfo(live).absoluteFilePath()) ==
                 QDir::cleanPath(QFileInfo(g_workPath).absoluteFilePath())
             ? cm
             : nullptr;
}

} // namespace

void QELDatacardConfig::initGlobal() {
  if (g_initialised)
    return;
  // Without a ModemList folder there is nothing to work on yet; a later call tries again.
  g_workPath = defaultConfigListName(0);
  g_initialised = !g_workPath.isEmpty();
}

void QELDatacardConfig::freeGlobal() {
  g_initialised = false;
}

bool QELDatacardConfig::isInitialize() {
  return g_initialised;
}

QString QELDatacardConfig::configListName(int index) {
  if (index < 0 || index >= int(kFileNames.size()))
    return {};
  return QString::fromLatin1(kFileNames[size_t(index)]);
}

QString QELDatacardConfig::defaultConfigListName(int index) {
  const QString name = configListName(index);
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  if (name.isEmpty() || !cm)
    return {};
  return cm->getFilePathWithFileName(name);
}

void QELDatacardConfig::setSettingDictWorkPath(const QString &path) {
  g_workPath = path;
}

QString QELDatacardConfig::settingDictWorkPath() {
  return g_workPath;
}

QVariant QELDatacardConfig::settingDictKey(const QString &key) {
  if (key.isEmpty() || g_workPath.isEmpty())
    return {};
  if (ConfigManager *cm = liveOwner())
    return cm->getConfiguration().value(key);
  QVariantMap dict;
  if (!Plist::readDictionary(g_workPath, &dict))
    return {};
  return dict.value(key);
}

bool QELDatacardConfig::setSettingDictKey(const QString &key, const QVariant &value) {
  if (key.isEmpty() || !value.isValid() || g_workPath.isEmpty())
    return false;
  if (ConfigManager *cm = liveOwner())
    return cm->setConfigurationByModule(key, value) && cm->writeToFile();
  // Some other file: nobody holds it in memory, so editing the file itself is safe. A file that
  // exists but cannot be read is left alone rather than replaced by one entry.
  QVariantMap dict;
  if (QFileInfo::exists(g_workPath) && !Plist::readDictionary(g_workPath, &dict))
    return false;
  dict.insert(key, value);
  return Plist::writeFile(g_workPath, dict);
}
