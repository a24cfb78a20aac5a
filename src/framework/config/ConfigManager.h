#pragma once

#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

// Keys of the data-file table. Each key is also the file or folder name under the ModemList
// folder; a leading "/" only marks a sub-folder.
inline const QString kCMModemListPath = QStringLiteral("ModemListPath");
inline const QString kCMSettingFile = QStringLiteral("settings.plist");
inline const QString kCMDialConfigFile = QStringLiteral("dialConfig.plist");
inline const QString kCMDialRecordFile = QStringLiteral("dialRecordData.plist");
inline const QString kCMDialRecordBackupFile = QStringLiteral("dialRecordBackData.plist");
inline const QString kCMSMSListOfSimFile = QStringLiteral("SmsList_Sim.plist");
inline const QString kCMSMSListOfMEFile = QStringLiteral("SmsList_ME.plist");
inline const QString kCMSMSListOfPCFile = QStringLiteral("SmsList_PC.plist");
inline const QString kCMSMSListOfReportBoxFile = QStringLiteral("smsReportsBoxData.plist");
inline const QString kCMPhoneBookFile = QStringLiteral("phoneBook.plist");
inline const QString kCMCallRecordDataFile = QStringLiteral("callRecordData.plist");
inline const QString kCMBrowserListFile = QStringLiteral("browserList.plist");
inline const QString kCMSoundOnlineFile = QStringLiteral("/sound/online.wav");
inline const QString kCMSoundOfflineFile = QStringLiteral("/sound/offline.wav");
inline const QString kCMSoundCallFile = QStringLiteral("/sound/call.wav");
inline const QString kCMSoundSmsFile = QStringLiteral("/sound/sms.wav");
inline const QString kCMSystemInformationFile = QStringLiteral("SystemInfomation.xml");
inline const QString kCMVideoCallFolder = QStringLiteral("videocall/");
inline const QString kCMVoiceCallFolder = QStringLiteral("voicecall/");
inline const QString kCMCVSLogFolder = QStringLiteral("CSVLog");
inline const QString kCMDiagInfoFile = QStringLiteral("DiagInfo.txt");
inline const QString kCMPBSimItemFile = QStringLiteral("SIM_Items.plist");
inline const QString kCMPBMeItemFile = QStringLiteral("ME_Items.plist");
inline const QString kUpdateFolder = QStringLiteral("/Update");
inline const QString kUILocalInfoPath = QStringLiteral("LocalInfo.plist");
inline const QString kInitFilePath = QStringLiteral("/Update/UpdateCfg.ini");
inline const QString kCONFIG_PATH = QStringLiteral("/Update/UpdateCfg.plist");
inline const QString kLocalInfoPath = QStringLiteral("/Update/LocalInfo.plist");
inline const QString kIMEIInfoPath = QStringLiteral("/Update/IMEIInfo.plist");
inline const QString RECORK_LASTDOWNLOAD = QStringLiteral("LastDownload.plist");
inline const QString kSourcesFolder = QStringLiteral("/Sources");
inline const QString kWebLinkInfoPath = QStringLiteral("WebLinkInfo.plist");
inline const QString kCMPhonebookUpdateBasePath = QStringLiteral("/PhonebookBackup");

inline const QString kCMHelpFile = QStringLiteral("kCMHelpFile");
inline const QString kCMSplitWithSlash = QStringLiteral("/");
inline const QString kCMSplitWithEqual = QStringLiteral("=");
inline const QString kCMSplitWithLineFeed = QStringLiteral("\r\n");
inline const QString kCMSplitWithUnderline = QStringLiteral("_");
inline const QString kCMKeyFileFullName = QStringLiteral("KEY_LIST");
inline const QString kCMFileNameExtention = QStringLiteral(".ini");
inline const QString kCMFileNamePrefix = QStringLiteral("PB");
inline const QString kSettingsChangedNotification = QStringLiteral("SettingsChanged");

// Top-level entries that never leave this process's own files.
inline const QString kCMRuntimeDataKey = QStringLiteral("RuntimeData");
inline const QString kCMSavedPinKey = QStringLiteral("PinNum");
inline const QString kCMSavedIccidKey = QStringLiteral("Iccid");

// The environment variable that names the ModemList folder instead of the search order.
inline constexpr const char *kModemListDirVariable = "QEL_MODEMLIST_DIR";

// The data-file keys in table order.
const QStringList &configFileKeys();

// The program's configuration: the ModemList folder, the data-file table and the one live
// settings dictionary that every controller reads and edits in place.
class ConfigManager : public QObject {
  Q_OBJECT
public:
  struct Locations {
    // The folders tried in order; the first that exists is the ModemList folder.
    QStringList candidates;
    // When set and the first candidate is not writable, this folder (seeded from the first
    // existing candidate on first use) is used instead.
    QString userDataFolder;
    // How a folder is judged writable (replaceable, since root may write anywhere).
    std::function<bool(const QString &)> isWritable;
    // Who owns a folder (replaceable for tests); by default its owner's user id.
    std::function<uint(const QString &)> ownerOf;
    // The settings the product ships with: the start after an unreadable settings file is set
    // aside. Empty: start empty.
    QString defaultSettingsFile;
  };

  // The search order for a bundle at `bundlePath`; only the folder named by QEL_MODEMLIST_DIR
  // when that is set.
  static Locations locationsForBundle(const QString &bundlePath, const QString &userDataFolder = {});

  explicit ConfigManager(const Locations &locations, QObject *parent = nullptr);
  ~ConfigManager() override;

  static ConfigManager *sharedConfigManager();
  // The composition root (or a test) installs the instance; the previous one is not deleted.
  static void setSharedConfigManager(ConfigManager *manager);

  QString modemListPath() const { return modemListPath_; }
  bool initPathDict();
  QString configFilePathOfKey(const QString &key) const;
  QString getFilePathWithFileName(const QString &name) const;
  void setConfigFilePath(const QString &path, const QString &key);

  QVariantMap &getConfiguration() { return settingDict_; }
  QVariant getConfigurationByModule(const QString &module) const;
  QVariant getConfigurationByModuleAndKey(const QString &module, const QString &key) const;
  bool setConfigurationByModule(const QString &module, const QVariant &object);
  bool setConfigurationByModuleKeyAndValue(const QString &module, const QString &key, const QVariant &value);
  bool removeConfigurationByModule(const QString &module);
  bool removeConfigurationByModuleAndKey(const QString &module, const QString &key);

  // Writes the whole dictionary; "SettingsChanged" goes out only after a successful write.
  bool writeToFile();
  void flush() { writeToFile(); }
  // Reloads the file into the live dictionary; run-time data not yet written survives.
  void resetSettings();

  // The path an unreadable settings file was moved to at start, if any.
  QString setAsidePath() const { return setAsidePath_; }
  int settingsChangedPostCount() const { return postCount_; }

  // Permissions for every file that holds the saved PIN or a password (settings.plist,
  // dialConfig.plist, profile files): readable by the user only, whatever the umask.
  static constexpr int kPrivateFilePermissions = 0x0600; // QFileDevice::ReadUser | WriteUser

signals:
  void settingsReloaded();

private slots:
  void onSettingsChangedSignal(const QDBusMessage &message);

private:
  bool synchronousEnabled() const;
  void loadSettings(bool atStart);
  bool usableFolder(const QString &folder, bool *writable) const;
  void postSettingsChanged();
  void updateSignalSubscription();

  Locations locations_;
  QString modemListPath_;
  QHash<QString, QString> pathDict_;
  QVariantMap settingDict_;
  QString setAsidePath_;
  bool subscribed_ = false;
  int postCount_ = 0;
};
