#include "AEMessage.h"

#include "Bundle.h"
#include "BusNames.h"
#include "ConfigManager.h"
#include "ConnectionNeighbour.h"
#include "Neighbourhood.h"
#include "Plist.h"
#include "SafeFile.h"
#include "SettingValue.h"
#include "UpdaterLink.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <cmath>

namespace {
AEMessage *g_override = nullptr;

std::function<QDateTime()> &clockSlot() {
  static std::function<QDateTime()> clock;
  return clock;
}

QDateTime now() {
  return clockSlot() ? clockSlot()() : QDateTime::currentDateTime();
}

QVariantMap &emptySettings() {
  static QVariantMap empty;
  return empty;
}

constexpr int kCmdInit = 1, kCmdUpdate = 2, kCmdDeviceState = 3;
constexpr int kModeManual = 1, kModeAutomatic = 3;
const QString kUpdaterAppId = QStringLiteral("org.qel.AutoUpdateManager");
const QString kCommandParameter = QStringLiteral("UCMS");
} // namespace

AEMessage::AEMessage() {
  m_isSupportUpdateFunction = checkingSupportUpdate();
}

AEMessage::~AEMessage() {
  delete link_.data();
}

AEMessage *AEMessage::defaultAEMessage() {
  if (g_override)
    return g_override;
  static AEMessage message;
  return &message;
}

void AEMessage::setDefaultAEMessage(AEMessage *message) {
  g_override = message;
}

void AEMessage::setClock(std::function<QDateTime()> clock) {
  clockSlot() = std::move(clock);
}

QVariantMap &AEMessage::settings() const {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->getConfiguration() : emptySettings();
}

bool AEMessage::settingOn(const QString &key) const {
  return SettingValue::toBool(settings().value(key));
}

QString AEMessage::pathOf(const QString &key) const {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->configFilePathOfKey(key) : QString();
}

// ---- support and interval ----

bool AEMessage::checkingSupportUpdate() {
  const QString folder = pathOf(kUpdateFolder);
  if (folder.isEmpty() || !QFileInfo(folder).isDir())
    return false;
  for (const QString &key : {kIMEIInfoPath, kLocalInfoPath, kInitFilePath, kCONFIG_PATH})
    if (!QFileInfo(pathOf(key)).isFile())
      return false;
  if (!settingOn(QStringLiteral("CheckIntervalDays")))
    return true;
  const QVariant stored = settings().value(QStringLiteral("UpdateTime"));
  if (stored.isValid() && stored.toDateTime().isValid()) {
    m_isPastIntervalDays = cheakingIntervalDay(stored.toDateTime());
  } else {
    // The interval starts now, and is kept at once: a run that ends before anything else is
    // written must not start it again next time.
    settings().insert(QStringLiteral("UpdateTime"), now());
    if (ConfigManager *config = ConfigManager::sharedConfigManager())
      config->writeToFile();
    m_isPastIntervalDays = false;
  }
  return true;
}

bool AEMessage::intervalPassed(const QDateTime &date, const QDateTime &at) {
  if (!date.isValid() || !at.isValid())
    return false;
  const double days = double(date.secsTo(at)) / 3600.0 / 24.0;
  if (days < 0)
    return false;
  return std::round(days + 0.5) > 30.0;
}

bool AEMessage::cheakingIntervalDay(const QDateTime &date) const {
  return intervalPassed(date, now());
}

// ---- files ----

QVariantMap AEMessage::getLocalInfo() const {
  QVariantMap info;
  Plist::readDictionary(pathOf(kLocalInfoPath), &info);
  return info;
}

bool AEMessage::setLocalInfo(const QVariantMap &info) {
  const QString path = pathOf(kLocalInfoPath);
  return !path.isEmpty() && Plist::writeFile(path, info);
}

QVariantMap AEMessage::getIMEIInfo() const {
  QVariantMap info;
  Plist::readDictionary(pathOf(kIMEIInfoPath), &info);
  return info;
}

bool AEMessage::setIMEIInfo(const QVariantMap &info) {
  const QVariantMap stored = getIMEIInfo();
  if (SettingValue::toBool(stored.value(QStringLiteral("IMEI_ISLOCKED")))) {
    qWarning().noquote() << "The IMEIInfo has already locked with the IMEI:"
                         << stored.value(QStringLiteral("IMEI")).toString();
    return false;
  }
  const QString path = pathOf(kIMEIInfoPath);
  return !path.isEmpty() && Plist::writeFile(path, info);
}

void AEMessage::storeInLocalInfo(const QString &key, const QString &value) {
  QVariantMap info = getLocalInfo();
  info.insert(key, value.isNull() ? QString("") : value);
  setLocalInfo(info);
}

QString AEMessage::getLanguage() {
  const QStringList languages = QLocale::system().uiLanguages();
  return languages.isEmpty() ? QStringLiteral("en") : languages.first();
}

QString AEMessage::creatUpdatePath() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty())
    base = QDir::homePath() + QStringLiteral("/.local/share");
  const QString path = base + QStringLiteral("/qel-connection-manager/Auto_Update/download");
  return SafeFile::makeFolder(path, 0700) ? path : QString();
}

// ---- facts ----

QString AEMessage::firmwareVersionFrom(const QString &text) {
  const int v = text.lastIndexOf(QLatin1Char('V'));
  if (text.isEmpty() || v < 0 || v == text.size() - 1)
    return QString("");
  QString version = text.mid(v + 1);
  const int b = version.indexOf(QLatin1Char('B'));
  if (b >= 0)
    version[b] = QLatin1Char('.');
  return version;
}

QString AEMessage::uiVersionFrom(const QString &text) {
  const int v = text.lastIndexOf(QLatin1Char('V'));
  if (text.isEmpty() || v < 0 || v == text.size() - 1 || !text.mid(v + 1).contains(QLatin1Char('B')))
    return QString("");
  return firmwareVersionFrom(text);
}

void AEMessage::dealWithUIVersion() {
  if (!isSupportUpdate())
    return;
  const Bundle &bundle = Bundle::mainBundle();
  const QString sv = bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString();
  const QString internal = bundle.objectForInfoDictionaryKey(QStringLiteral("kQELMacUIShortRevisionString")).toString();
  QVariantMap info = getLocalInfo();
  info.insert(QStringLiteral("UI_VERSION"), uiVersionFrom(sv));
  info.insert(QStringLiteral("SV_INTERNAL"), internal.isNull() ? QString("") : internal);
  info.insert(QStringLiteral("SV"), sv.isNull() ? QString("") : sv);
  setLocalInfo(info);
}

void AEMessage::dealWithIMEI(const QString &imei) {
  if (!isSupportUpdate() || imei.isEmpty())
    return;
  // The first modem seen is the one the updater serves; its IMEI is never replaced.
  if (SettingValue::toBool(getIMEIInfo().value(QStringLiteral("IMEI_ISLOCKED"))))
    return;
  setIMEIInfo({{QStringLiteral("IMEI"), imei}, {QStringLiteral("IMEI_ISLOCKED"), true}});
}

void AEMessage::dealWithMCCMNC(const QString &mccmnc) {
  if (!isSupportUpdate() || mccmnc.isEmpty())
    return;
  storeInLocalInfo(QStringLiteral("GP_MCCMNC"), mccmnc);
}

void AEMessage::dealWithFirmwareVersion(const QString &version) {
  if (!isSupportUpdate())
    return;
  QVariantMap info = getLocalInfo();
  info.insert(QStringLiteral("FW_VERSION"), firmwareVersionFrom(version));
  info.insert(QStringLiteral("FW"), version.isNull() ? QString("") : version);
  setLocalInfo(info);
}

void AEMessage::dealWithDeviceType(const QString &type) {
  if (isSupportUpdate())
    storeInLocalInfo(QStringLiteral("DEVICE_TYPE"), type);
}

void AEMessage::dealWithDeviceReady() {
  send_DeviceOK_Msg();
  send_FirmwareUpdate_Msg();
}

// ---- the updater program ----

void AEMessage::ApplicationFinishLaunchHook() {
  if (!isSupportUpdate())
    return;
  dealWithUIVersion();
  start_Updater();
  send_Init_Msg();
}

namespace {
void launchResource(const QString &name) {
  const QString program = Bundle::mainBundle().pathForResource(name);
  const QFileInfo info(program);
  if (program.isEmpty() || !info.isFile() || !info.isExecutable())
    return;
  QProcess process;
  process.setProgram(program);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // The updater talks on the names this program uses, and ends when this program leaves.
  env.insert(QStringLiteral("QEL_UI_BUS_NAME"), BusNames::uiBusName());
  env.insert(QStringLiteral("QEL_UPDATER_BUS_NAME"), BusNames::updaterBusName());
  const QString downloads = AEMessage::creatUpdatePath();
  if (!downloads.isEmpty())
    env.insert(QStringLiteral("QEL_UPDATE_DOWNLOAD_DIR"), downloads);
  process.setProcessEnvironment(env);
  process.setStandardInputFile(QProcess::nullDevice());
  if (!process.startDetached())
    qWarning() << "AEMessage: cannot start" << program;
}
} // namespace

void AEMessage::start_Updater() {
  if (isSupportUpdate())
    launchResource(QStringLiteral("AutoUpdateManager"));
}

void AEMessage::DealOnlyDiagPort() {
  if (isSupportUpdate())
    launchResource(QStringLiteral("UpdateFirmware"));
}

int AEMessage::SendMessage(const QVariantMap &command, const QString &code, const QString &appId) {
  Q_UNUSED(code)
  Q_UNUSED(appId)
  const QByteArray xml = Plist::toXml(command);
  if (sender_)
    return sender_(xml);
  if (!link_)
    link_ = new UpdaterLink(BusNames::updaterBusName(), QCoreApplication::instance());
  return link_->send(xml);
}

// ---- commands ----

QVariantMap AEMessage::updateCommand(int mode) const {
  QVariantMap command = getLocalInfo();
  const QVariantMap imei = getIMEIInfo();
  command.insert(QStringLiteral("UNSIGNED_ID"), SettingValue::toBool(imei.value(QStringLiteral("IMEI_ISLOCKED")))
                                                    ? imei.value(QStringLiteral("IMEI")).toString()
                                                    : QString(""));
  command.insert(QStringLiteral("CMD_ID"), kCmdUpdate);
  command.insert(QStringLiteral("UPDATE_MODE"), mode);
  command.insert(QStringLiteral("DEVICE_STATE"), m_isDeviceReady);
  command.insert(QStringLiteral("UI_Language"), getLanguage());
  return command;
}

namespace {
bool connected() {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  return dial && dial->connectStatus() == ConnectionNeighbour::kConnected;
}
} // namespace

void AEMessage::send_Init_Msg() {
  if (!isSupportUpdate() || !settingOn(QStringLiteral("AUTOUPDATE_ENABLE")))
    return;
  SendMessage({{QStringLiteral("CMD_ID"), kCmdInit}}, kCommandParameter, kUpdaterAppId);
}

void AEMessage::send_AutoUpdate_Msg() {
  if (!isSupportUpdate() || !settingOn(QStringLiteral("AUTOUPDATE_ENABLE")) || !m_isPastIntervalDays)
    return;
  QVariantMap command = updateCommand(kModeAutomatic);
  if (settingOn(QStringLiteral("NewUpdate")))
    command.insert(QStringLiteral("WHETHER_AUTO"), QStringLiteral("1"));
  SendMessage(command, kCommandParameter, kUpdaterAppId);
}

void AEMessage::send_FirmwareUpdate_Msg() {
  if (!isSupportUpdate() || !settingOn(QStringLiteral("AUTOUPDATE_ENABLE")) || !m_isPastIntervalDays)
    return;
  QVariantMap command = updateCommand(kModeAutomatic);
  command.insert(QStringLiteral("kPath"), Bundle::mainBundle().resourcePath());
  if (settingOn(QStringLiteral("NewUpdate")) && connected())
    command.insert(QStringLiteral("CONNECT"), 1);
  SendMessage(command, kCommandParameter, kUpdaterAppId);
}

int AEMessage::send_ManualUpdate_Msg() {
  if (!isSupportUpdate())
    return -1;
  QVariantMap command = updateCommand(kModeManual);
  if (settingOn(QStringLiteral("NewUpdate"))) {
    command.insert(QStringLiteral("WHETHER_AUTO"), QStringLiteral("0"));
    if (connected())
      command.insert(QStringLiteral("CONNECT"), 1);
  }
  return SendMessage(command, kCommandParameter, kUpdaterAppId);
}

void AEMessage::send_DeviceOK_Msg() {
  m_isDeviceReady = true;
  if (!isSupportUpdate() || !settingOn(QStringLiteral("AUTOUPDATE_ENABLE")) || !m_isPastIntervalDays)
    return;
  QVariantMap command = updateCommand(0);
  command.remove(QStringLiteral("UPDATE_MODE"));
  command.insert(QStringLiteral("CMD_ID"), kCmdDeviceState);
  command.insert(QStringLiteral("DEVICE_STATE"), true);
  SendMessage(command, kCommandParameter, kUpdaterAppId);
}

void AEMessage::send_DeviceOut_Msg() {
  m_isDeviceReady = false;
  if (!isSupportUpdate())
    return;
  QVariantMap command = updateCommand(0);
  command.remove(QStringLiteral("UPDATE_MODE"));
  command.insert(QStringLiteral("CMD_ID"), kCmdDeviceState);
  command.insert(QStringLiteral("DEVICE_STATE"), false);
  SendMessage(command, kCommandParameter, kUpdaterAppId);
}

// ---- the updater's configuration ----

QByteArray AEMessage::rewriteIni(const QByteArray &text, const QString &key, const QString &value) {
  QString clean = value;
  clean.remove(QLatin1Char('\r'));
  clean.remove(QLatin1Char('\n'));
  QByteArray out;
  for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
    if (line.isEmpty() || line == QLatin1String("\r"))
      continue;
    // Only the key's own line: a longer key that contains it is another setting.
    const QString kept = line.startsWith(key) ? key + clean : line;
    out += kept.toUtf8() + "\n\n";
  }
  return out;
}

bool AEMessage::editIni(const QString &key, const QString &value) {
  if (!isSupportUpdate())
    return false;
  const QString path = pathOf(kInitFilePath);
  QByteArray text;
  if (path.isEmpty() || !SafeFile::readRegularFile(path, &text))
    return false;
  return SafeFile::writeAtomically(path, rewriteIni(text, key, value));
}

void AEMessage::setAutoUpdate(bool on) {
  editIni(QStringLiteral("ENABLE_UPDATE="), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void AEMessage::setServiceAddress(const QString &address) {
  editIni(QStringLiteral("ServiceURL="), address);
}

void AEMessage::setUpdateDuration(int days) {
  editIni(QStringLiteral("UPDATE_FREQUENCE="), QString::number(days));
}
