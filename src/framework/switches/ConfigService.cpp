#include "ConfigService.h"

#include "ConfigManager.h"
#include "OperatorAddress.h"
#include "SettingValue.h"
#include "WordGlobe.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

ConfigService *g_sharedConfigService = nullptr;

constexpr ConfigService::Switch kSwitches[] = {
#define QEL_ROW_BOOL(name, module, key) {#name, module, key, ConfigService::Kind::Bool},
#define QEL_ROW_INT(name, module, key) {#name, module, key, ConfigService::Kind::Int},
#define QEL_ROW_OBJECT(name, module, key) {#name, module, key, ConfigService::Kind::Object},
    QEL_BOOL_SWITCHES(QEL_ROW_BOOL) QEL_INT_SWITCHES(QEL_ROW_INT) QEL_OBJECT_SWITCHES(QEL_ROW_OBJECT)
#undef QEL_ROW_BOOL
#undef QEL_ROW_INT
#undef QEL_ROW_OBJECT
};

ConfigManager *manager() {
  return ConfigManager::sharedConfigManager();
}

QVariant topLevel(const QString &name) {
  ConfigManager *cm = manager();
  return cm ? cm->getConfiguration().value(name) : QVariant();
}

// module[key] of a dictionary module; invalid otherwise.
QVariant inModule(const QString &module, const QString &key) {
  const QVariant m = topLevel(module);
  if (m.typeId() != QMetaType::QVariantMap)
    return {};
  return m.toMap().value(key);
}

QString nonEmptyStringOr(const QVariant &value, const QString &fallback) {
  if (value.typeId() != QMetaType::QString || value.toString().isEmpty())
    return fallback;
  return value.toString();
}

const QString kImsiPhone = QStringLiteral("ImsiPhone");
const QString kRecord = QStringLiteral("Record");

} // namespace

std::span<const ConfigService::Switch> ConfigService::switchTable() {
  return kSwitches;
}

ConfigService::ConfigService(QObject *parent) : QObject(parent) {}

ConfigService::~ConfigService() {
  if (g_sharedConfigService == this)
    g_sharedConfigService = nullptr;
}

ConfigService *ConfigService::sharedConfigService() {
  if (!g_sharedConfigService) {
    // It keeps nothing but the last allowed-network list, so a process-long default is safe.
    static ConfigService *fallback = new ConfigService();
    g_sharedConfigService = fallback;
  }
  return g_sharedConfigService;
}

void ConfigService::setSharedConfigService(ConfigService *service) {
  g_sharedConfigService = service;
}

QVariant ConfigService::readValue(const QString &module, const QString &key) {
  ConfigManager *cm = manager();
  if (!cm || key.isEmpty())
    return {};
  if (module.isEmpty())
    return cm->getConfiguration().value(key);
  return cm->getConfigurationByModuleAndKey(module, key);
}

bool ConfigService::readBool(const QString &module, const QString &key) {
  return SettingValue::toBool(readValue(module, key));
}

int ConfigService::readInt(const QString &module, const QString &key) {
  return SettingValue::toInt(readValue(module, key));
}

#define QEL_DEFINE_BOOL(name, module, key)                                                                             \
  bool ConfigService::name() const {                                                                                   \
    return readBool(QStringLiteral(module), QStringLiteral(key));                                                      \
  }
#define QEL_DEFINE_INT(name, module, key)                                                                              \
  int ConfigService::name() const {                                                                                    \
    return readInt(QStringLiteral(module), QStringLiteral(key));                                                       \
  }
#define QEL_DEFINE_OBJECT(name, module, key)                                                                           \
  QVariant ConfigService::name() const {                                                                               \
    return readValue(QStringLiteral(module), QStringLiteral(key));                                                     \
  }
QEL_BOOL_SWITCHES(QEL_DEFINE_BOOL)
QEL_INT_SWITCHES(QEL_DEFINE_INT)
QEL_OBJECT_SWITCHES(QEL_DEFINE_OBJECT)
#undef QEL_DEFINE_BOOL
#undef QEL_DEFINE_INT
#undef QEL_DEFINE_OBJECT

bool ConfigService::storeExistingKey(const QString &module, const QString &key, const QVariant &value) {
  ConfigManager *cm = manager();
  const QVariant m = topLevel(module);
  if (!cm || m.typeId() != QMetaType::QVariantMap || !m.toMap().contains(key))
    return false;
  return cm->setConfigurationByModuleKeyAndValue(module, key, value) && cm->writeToFile();
}

bool ConfigService::storeInExistingModule(const QString &module, const QString &key, const QVariant &value) {
  ConfigManager *cm = manager();
  if (!cm || key.isEmpty() || topLevel(module).typeId() != QMetaType::QVariantMap)
    return false;
  return cm->setConfigurationByModuleKeyAndValue(module, key, value) && cm->writeToFile();
}

bool ConfigService::storeTopLevel(const QString &name, const QVariant &value) {
  ConfigManager *cm = manager();
  if (!cm)
    return false;
  return cm->setConfigurationByModule(name, value) && cm->writeToFile();
}

bool ConfigService::hasImsiPhoneConfig() const {
  return topLevel(kImsiPhone).isValid();
}

bool ConfigService::isImsiPhoneDictContainCertainImsi(const QString &imsi) const {
  const QVariant map = topLevel(kImsiPhone);
  return !imsi.isEmpty() && map.typeId() == QMetaType::QVariantMap && map.toMap().contains(imsi);
}

QString ConfigService::getPhoneNumWithImsi(const QString &imsi) const {
  if (imsi.isEmpty())
    return {};
  const QVariant number = inModule(kImsiPhone, imsi);
  return number.typeId() == QMetaType::QString ? number.toString() : QString();
}

bool ConfigService::setImsi(const QString &imsi, const QString &phoneNum) {
  if (imsi.isEmpty() || phoneNum.isNull())
    return false;
  return storeInExistingModule(kImsiPhone, imsi, phoneNum);
}

bool ConfigService::checkIfRepalceSpecialPhoneNumberToSpecialString() const {
  if (!readBool(QStringLiteral("SMS"), QStringLiteral("Sms_ReplaceSpecialNumberToSpecialString_IfNeeded")))
    return false;
  const QVariant list = getArrayContainsSpeicalNumberAndSpeicalStringToReplace();
  switch (list.typeId()) {
  case QMetaType::QVariantList:
    return !list.toList().isEmpty();
  case QMetaType::QVariantMap:
    return !list.toMap().isEmpty();
  case QMetaType::QString:
    return !list.toString().isEmpty();
  default:
    return list.isValid();
  }
}

QVariant ConfigService::readPurchaseProcessList() const {
  return topLevel(QStringLiteral("PurchargeBySMS"));
}

bool ConfigService::writePurchaseProcessListInFile(const QVariant &list) {
  return storeTopLevel(QStringLiteral("PurchargeBySMS"), list);
}

QString ConfigService::getSMSDefaultBrowsePosWhenOpenSmsUI() const {
  return nonEmptyStringOr(readValue(QStringLiteral("SMS"), QStringLiteral("SMS_DefaultPos_WhenOpenSMSUI")),
                          QStringLiteral("AT_PC"));
}

bool ConfigService::startupWindowControlGetSoftwareVersionString() const {
  return SettingValue::toBool(getStartupInfo().value(QStringLiteral("StartupWindow_GetSoftwareVersionString")));
}

bool ConfigService::judgeRecordLastResetTimeWhetherEmptyWhenUIInit() const {
  return !readValue(QStringLiteral("Record"), QStringLiteral("recordLastResetTime")).isValid();
}

bool ConfigService::setRecordLastResetTimeValueWhenEmpty(const QVariant &time) {
  return storeInExistingModule(kRecord, QStringLiteral("recordLastResetTime"), time);
}

bool ConfigService::isDisabledLimits() const {
  return !readBool(QStringLiteral("Record"), QStringLiteral("IfSetRecordResetFrequence")) &&
         !readBool(QStringLiteral("Record"), QStringLiteral("IfSetRecordResetEveryDays"));
}

bool ConfigService::isNeedTestSpeedAtConnected() const {
  return readValue(QStringLiteral("Internet"), QStringLiteral("Internet_IsNeedTestSpeedAtConnected")).isValid();
}

bool ConfigService::checkMccMncIsRegister(const QString &mccMnc) {
  const QVariant list = topLevel(QStringLiteral("AllowMCCMNCList"));
  m_MccMncArray_ = list.typeId() == QMetaType::QVariantList ? list.toList() : QVariantList();
  if (!list.isValid())
    return true;
  for (const QVariant &element : std::as_const(m_MccMncArray_))
    if (element.typeId() == QMetaType::QString && element.toString() == mccMnc)
      return false;
  return true;
}

bool ConfigService::saveCurrentNetPreferedMode(int mode) {
  return storeExistingKey(QStringLiteral("Setting"), QStringLiteral("Setting_CurrentNetPreSys"), mode);
}

bool ConfigService::isSetCurrentNetPreferedMode() const {
  const QVariant v = readValue(QStringLiteral("Setting"), QStringLiteral("Setting_CurrentNetPreSys"));
  return v.isValid() && SettingValue::toInt(v) == 3;
}

bool ConfigService::getIsSupportMutalsLanguages() const {
  const QVariant list = topLevel(QStringLiteral("SupportLanguages"));
  return list.typeId() != QMetaType::QVariantList || list.toList().isEmpty();
}

bool ConfigService::writeDisconnectAskState(const QVariant &state) {
  return storeInExistingModule(QStringLiteral("Internet"), QStringLiteral("PopUpDisconnectWaring"), state);
}

QString ConfigService::getSMSDefaultStorePosWhenFirstStartUpUI() const {
  return nonEmptyStringOr(
      readValue(QStringLiteral("Setting"), QStringLiteral("Setting_SMSDefaultStorePos_WhenFirstStartUpUI")),
      QStringLiteral("SetAtPC"));
}

bool ConfigService::writeSMSStoreLocSettingFlagAfterFirstStartupUI(bool flag) {
  return storeExistingKey(QStringLiteral("Setting"), QStringLiteral("Setting_SetSMSDefaultStore_WhenFirstStartUpUI"),
                          flag);
}

QString ConfigService::getConnectButtonImageName(const QString &key) const {
  if (key.isEmpty())
    return {};
  const QVariant name = inModule(QStringLiteral("Internet"), key);
  return name.typeId() == QMetaType::QString ? name.toString() : QString();
}

QVariantMap ConfigService::configDictionaryOfUIAnimation() const {
  return topLevel(QStringLiteral("UIAnimation")).toMap();
}

bool ConfigService::needShakePinWindow() const {
  return SettingValue::toBool(
      configDictionaryOfUIAnimation().value(QStringLiteral("ShakeWindow")).toMap().value(QStringLiteral("PinWindow")));
}

bool ConfigService::writeCurrentProfile(int profile) {
  return storeTopLevel(QStringLiteral("ProfileID"), profile);
}

bool ConfigService::writeDefaultProfileNum(int number) {
  return storeTopLevel(QStringLiteral("DefaultProfileNum"), number);
}

int ConfigService::getUIModelConfig() const {
  const QVariant v = readValue(QStringLiteral("Main"), QStringLiteral("Main_UIModel"));
  return v.isValid() ? SettingValue::toInt(v) : 3;
}

bool ConfigService::saveCurrentUIModel(int model) {
  return storeExistingKey(QStringLiteral("Main"), QStringLiteral("Main_UIModel"), model);
}

bool ConfigService::hasToolbarSkinInfo() const {
  return inModule(QStringLiteral("UIConfig"), QStringLiteral("ToolbarItems")).isValid();
}

QString ConfigService::getUIDateFormat() const {
  const QVariant v = topLevel(QStringLiteral("CustomDateFormat"));
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

QVariantMap ConfigService::getUIFont() const {
  return inModule(QStringLiteral("Main"), QStringLiteral("TextFont")).toMap();
}

QVariantMap ConfigService::getStartupInfo() const {
  return inModule(QStringLiteral("MAINFORM"), QStringLiteral("StartupWindow")).toMap();
}

int ConfigService::getDisplayStartupFlashTimes() const {
  return SettingValue::toInt(getStartupInfo().value(QStringLiteral("DisplayCount")));
}

double ConfigService::getStartupViewDelayTime() const {
  return SettingValue::toDouble(getStartupInfo().value(QStringLiteral("DelayTime")));
}

QString ConfigService::getURLEncryptSerectKey() const {
  const QVariant v = readValue(QStringLiteral("Main"), QStringLiteral("Main_EncryptSerectKey_IfNeededEncrypt"));
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

bool ConfigService::isEnableAutoApnMatch() const {
  const QVariant v = topLevel(QStringLiteral("EnableAutoApnMatch"));
  return v.isValid() ? SettingValue::toBool(v) : true;
}

bool ConfigService::isSupportInterfaceInversionForPhoneBook() const {
  const QString path = WordGlobe::currentTokenListPath();
  if (path.isEmpty() || QFileInfo(QFileInfo(path).path()).completeBaseName() != QLatin1String("Arabic"))
    return false;
  return readBool(QStringLiteral("PhoneBook"), QStringLiteral("PhoneBook_InterfaceInversion_AtArabic"));
}

QVariant ConfigService::getConfigFromRecord(const QString &key) const {
  return key.isEmpty() ? QVariant() : inModule(kRecord, key);
}

bool ConfigService::setconfigurationForRecordAndWriteToFile(const QString &key, const QVariant &value) {
  if (!value.isValid())
    return false;
  return storeInExistingModule(kRecord, key, value);
}

QString ConfigService::getSoapServiceName() {
  return OperatorAddress::url(QStringLiteral("/SPBUUP/SPBService?WSDL"));
}

QString ConfigService::getSoapServiceContent() {
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                        "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                        "xmlns:loc=\"http://localhost/SPBService\">"
                        "<soapenv:Header><loc:Authentication><Username>kel_wadu</Username><Password>kox</Password>"
                        " </loc:Authentication></soapenv:Header>"
                        "<soapenv:Body><loc:getDeviceProfileByIMSI><loc:IMSI>%1</loc:IMSI></loc:getDeviceProfileByIMSI>"
                        "</soapenv:Body></soapenv:Envelope>");
}
