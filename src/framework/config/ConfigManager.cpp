#include "ConfigManager.h"

#include "Plist.h"
#include "SafeFile.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr const char *kSettingsPath = "/ConfigManager";
constexpr const char *kSettingsInterface = "org.qel.ConfigManager";

ConfigManager *g_sharedConfigManager = nullptr;

// The program's own folders are the user's alone, whatever the umask.
bool copyFolder(const QString &from, const QString &to) {
  if (!SafeFile::makeFolder(to, 0700))
    return false;
  QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  const QDir src(from);
  bool ok = true;
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info = it.fileInfo();
    const QString target = to + QLatin1Char('/') + src.relativeFilePath(path);
    if (info.isSymLink())
      continue;
    if (info.isDir())
      ok = SafeFile::makeFolder(target, 0700) && ok;
    else if (!QFile::exists(target))
      ok = QFile::copy(path, target) && ok;
    if (!info.isDir())
      QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
  }
  return ok;
}

// The whole dictionary minus what must stay in this process's own files.
QVariantMap publicSettings(const QVariantMap &settings) {
  QVariantMap copy = settings;
  copy.remove(kCMRuntimeDataKey);
  copy.remove(kCMSavedPinKey);
  copy.remove(kCMSavedIccidKey);
  return copy;
}

} // namespace

const QStringList &configFileKeys() {
  static const QStringList keys = {
      kCMModemListPath,
      kCMSettingFile,
      kCMDialConfigFile,
      kCMDialRecordFile,
      kCMDialRecordBackupFile,
      kCMSMSListOfSimFile,
      kCMSMSListOfMEFile,
      kCMSMSListOfPCFile,
      kCMSMSListOfReportBoxFile,
      kCMPhoneBookFile,
      kCMCallRecordDataFile,
      kCMBrowserListFile,
      kCMSoundOnlineFile,
      kCMSoundOfflineFile,
      kCMSoundCallFile,
      kCMSoundSmsFile,
      kCMSystemInformationFile,
      kCMVideoCallFolder,
      kCMVoiceCallFolder,
      kCMCVSLogFolder,
      kCMDiagInfoFile,
      kCMPBSimItemFile,
      kCMPBMeItemFile,
      kUpdateFolder,
      kUILocalInfoPath,
      kInitFilePath,
      kCONFIG_PATH,
      kLocalInfoPath,
      kIMEIInfoPath,
      RECORK_LASTDOWNLOAD,
      kSourcesFolder,
      kWebLinkInfoPath,
      kCMPhonebookUpdateBasePath,
  };
  return keys;
}

ConfigManager::Locations ConfigManager::locationsForBundle(const QString &bundlePath, const QString &userDataFolder) {
  const QDir bundle(bundlePath);
  Locations loc;
  loc.userDataFolder = userDataFolder;
  loc.defaultSettingsFile =
      QDir::cleanPath(bundle.absolutePath() + QStringLiteral("/Resources/Defaults/settings.plist"));
  // A folder named in the environment replaces the search order; the program hands its folder
  // to the backend this way, so that both work on the same files.
  if (const QString named = qEnvironmentVariable(kModemListDirVariable); !named.isEmpty()) {
    loc.candidates << QDir::cleanPath(QDir(named).absolutePath());
    return loc;
  }
  loc.candidates << QDir::cleanPath(bundle.absolutePath() + QStringLiteral("/Resources/ModemList"));
  loc.candidates << QDir::cleanPath(bundle.absolutePath() + QStringLiteral("/../ModemList"));
  loc.candidates << QDir::cleanPath(bundle.absolutePath() + QStringLiteral("/../../Resources/ModemList"));
  loc.candidates << QStringLiteral("/System/Library/ModemList");
  return loc;
}

ConfigManager::ConfigManager(const Locations &locations, QObject *parent) : QObject(parent), locations_(locations) {
  initPathDict();
  loadSettings(true);
  updateSignalSubscription();
}

ConfigManager::~ConfigManager() {
  if (g_sharedConfigManager == this)
    g_sharedConfigManager = nullptr;
}

ConfigManager *ConfigManager::sharedConfigManager() {
  return g_sharedConfigManager;
}
void ConfigManager::setSharedConfigManager(ConfigManager *manager) {
  g_sharedConfigManager = manager;
}

// A folder is used only when it belongs to this user; one of the system's (root's) may seed the
// user's own copy but is never written. Anyone else's folder, say one beside a bundle in a shared
// folder, is skipped: its settings would be planted and our writes would land in it.
bool ConfigManager::usableFolder(const QString &folder, bool *writable) const {
  const QFileInfo info(folder);
  if (!info.isDir())
    return false;
  const uint owner = locations_.ownerOf ? locations_.ownerOf(folder) : info.ownerId();
  const uint me = uint(::geteuid());
  if (owner != me && owner != 0) {
    qWarning() << "ConfigManager: skipping" << folder << "- it belongs to user" << owner;
    return false;
  }
  const auto isWritable =
      locations_.isWritable ? locations_.isWritable : [](const QString &p) { return QFileInfo(p).isWritable(); };
  *writable = owner == me && isWritable(folder);
  return true;
}

bool ConfigManager::initPathDict() {
  pathDict_.clear();
  modemListPath_.clear();
  QString found;
  bool foundWritable = false;
  for (const QString &candidate : locations_.candidates) {
    if (usableFolder(candidate, &foundWritable)) {
      found = candidate;
      break;
    }
  }
  // An installed bundle may be read-only: work in a per-user copy seeded from it.
  if (!locations_.userDataFolder.isEmpty() && (found.isEmpty() || !foundWritable)) {
    const QString user = QDir::cleanPath(locations_.userDataFolder);
    if (!QFileInfo(user).isDir() && !found.isEmpty())
      copyFolder(found, user);
    if (QFileInfo(user).isDir() || SafeFile::makeFolder(user, 0700))
      found = user;
  }
  if (found.isEmpty()) {
    qWarning() << "Can not find ModemList path!!!";
    return false;
  }
  modemListPath_ = found;
  for (const QString &key : configFileKeys()) {
    if (key == kCMModemListPath)
      pathDict_.insert(key, found);
    else
      pathDict_.insert(key, QDir::cleanPath(found + QLatin1Char('/') + key));
  }
  return true;
}

QString ConfigManager::configFilePathOfKey(const QString &key) const {
  if (key.isNull() || pathDict_.isEmpty())
    return {};
  return pathDict_.value(key);
}

QString ConfigManager::getFilePathWithFileName(const QString &name) const {
  if (modemListPath_.isEmpty())
    return {};
  return QDir::cleanPath(modemListPath_ + QLatin1Char('/') + name);
}

void ConfigManager::setConfigFilePath(const QString &path, const QString &key) {
  if (!path.isNull() && !key.isNull())
    pathDict_.insert(key, path);
}

QVariant ConfigManager::getConfigurationByModule(const QString &module) const {
  if (module.isNull() || settingDict_.isEmpty()) {
    qDebug() << "nil";
    return {};
  }
  return settingDict_.value(module);
}

QVariant ConfigManager::getConfigurationByModuleAndKey(const QString &module, const QString &key) const {
  if (module.isNull() || key.isNull() || settingDict_.isEmpty())
    return {};
  const auto it = settingDict_.constFind(module);
  if (it == settingDict_.cend())
    return {};
  switch (it->typeId()) {
  case QMetaType::QVariantMap:
    return it->toMap().value(key);
  case QMetaType::QVariantList: {
    // An array module is a set: reading a key tests membership.
    for (const QVariant &element : it->toList())
      if (element == QVariant(key))
        return element;
    return {};
  }
  default:
    return {};
  }
}

bool ConfigManager::setConfigurationByModule(const QString &module, const QVariant &object) {
  if (module.isNull() || !object.isValid())
    return false;
  settingDict_.insert(module, object);
  updateSignalSubscription();
  return true;
}

bool ConfigManager::setConfigurationByModuleKeyAndValue(const QString &module, const QString &key,
                                                        const QVariant &value) {
  if (module.isNull() || key.isNull() || !value.isValid())
    return false;
  auto it = settingDict_.find(module);
  if (it == settingDict_.end())
    return false;
  switch (it->typeId()) {
  case QMetaType::QVariantMap: {
    QVariantMap map = it->toMap();
    map.insert(key, value);
    *it = map;
    break;
  }
  case QMetaType::QVariantList: {
    QVariantList list = it->toList();
    if (!list.contains(value)) {
      list.append(value);
      *it = list;
    }
    break;
  }
  default:
    break; // a single value has no keys
  }
  return true;
}

bool ConfigManager::removeConfigurationByModule(const QString &module) {
  if (module.isNull() || settingDict_.isEmpty())
    return false;
  settingDict_.remove(module);
  updateSignalSubscription();
  return true;
}

bool ConfigManager::removeConfigurationByModuleAndKey(const QString &module, const QString &key) {
  if (module.isNull() || key.isNull() || settingDict_.isEmpty())
    return false;
  auto it = settingDict_.find(module);
  if (it == settingDict_.end())
    return false;
  if (it->typeId() == QMetaType::QVariantMap) {
    QVariantMap map = it->toMap();
    map.remove(key);
    *it = map;
  }
  return true;
}

bool ConfigManager::synchronousEnabled() const {
  return settingDict_.value(QStringLiteral("SynchronousControllerAndUI")).toBool();
}

bool ConfigManager::writeToFile() {
  const QString path = configFilePathOfKey(kCMSettingFile);
  if (path.isEmpty())
    return false;
  // A symbolic link in its place is replaced by the file, never followed: its target may be
  // anything of the user's.
  if (QFileInfo(path).isSymLink())
    qWarning() << "ConfigManager:" << path << "is a symbolic link; replacing the link, not its target";
  // The file may hold the saved PIN: it is readable by the user only.
  const bool ok = Plist::writeFile(path, settingDict_, kPrivateFilePermissions);
  if (!ok)
    qWarning() << "ConfigManager: cannot write" << path;
  // Others reload the file when told; telling them about a write that failed would make them
  // (and, before, this process itself) throw away edits for the old contents.
  if (ok && synchronousEnabled())
    postSettingsChanged();
  return ok;
}

void ConfigManager::postSettingsChanged() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return;
  QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kSettingsPath), QLatin1String(kSettingsInterface),
                                                   kSettingsChangedNotification);
  signal << Plist::toXml(publicSettings(settingDict_));
  if (bus.send(signal))
    ++postCount_;
}

void ConfigManager::updateSignalSubscription() {
  const bool want = synchronousEnabled();
  if (want == subscribed_)
    return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return;
  if (want)
    subscribed_ = bus.connect(QString(), QString(), QLatin1String(kSettingsInterface), kSettingsChangedNotification,
                              this, SLOT(onSettingsChangedSignal(QDBusMessage)));
  else
    subscribed_ = !bus.disconnect(QString(), QString(), QLatin1String(kSettingsInterface), kSettingsChangedNotification,
                                  this, SLOT(onSettingsChangedSignal(QDBusMessage)));
}

void ConfigManager::onSettingsChangedSignal(const QDBusMessage &message) {
  // Our own writes come back to us too; the live dictionary already holds what was written.
  if (message.service() == QDBusConnection::sessionBus().baseService())
    return;
  resetSettings();
}

void ConfigManager::resetSettings() {
  loadSettings(false);
}

void ConfigManager::loadSettings(bool atStart) {
  const QString path = configFilePathOfKey(kCMSettingFile);
  const QVariant runtime = settingDict_.value(kCMRuntimeDataKey);
  QVariantMap loaded;
  const QFileInfo info(path);
  // Only a regular file of sane size is read (Plist::readFile): a FIFO, a device or a link to
  // one is as unreadable as a damaged file.
  if (!path.isEmpty() && (info.exists() || info.isSymLink()) && !Plist::readDictionary(path, &loaded)) {
    if (atStart) {
      // Never let the next write replace a file we could not read: keep it for the user. The
      // rename moves a link itself, never what it points at.
      setAsidePath_ = path + QStringLiteral(".unreadable-") +
                      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
      if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(setAsidePath_).constData()) == 0)
        qWarning() << "ConfigManager: unreadable" << path << "set aside as" << setAsidePath_;
      else
        qWarning() << "ConfigManager: unreadable" << path << "and it could not be set aside";
      loaded.clear();
      // The product's own switches, not an empty dictionary: an operator build stays itself.
      if (!locations_.defaultSettingsFile.isEmpty() && Plist::readDictionary(locations_.defaultSettingsFile, &loaded))
        qWarning() << "ConfigManager: starting from the shipped settings" << locations_.defaultSettingsFile;
    } else {
      // A half-written file seen while reloading: keep what we have.
      qWarning() << "ConfigManager: cannot reload" << path;
      return;
    }
  }
  settingDict_.swap(loaded);
  // Run-time data lives in memory first; a reload must not roll it back to the file's copy.
  if (runtime.isValid())
    settingDict_.insert(kCMRuntimeDataKey, runtime);
  if (!atStart) {
    updateSignalSubscription();
    emit settingsReloaded();
  }
}
