// SmsService: special numbers, data-usage messages with their monthly expiry, purchase messages.
#include "Bundle.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "SmsClock.h"
#include "SmsRecord.h"
#include "SmsService.h"

#include <QGuiApplication>
#include <QIcon>

namespace {
const QString kFlowModule = QStringLiteral("FlowValueSmsInfo");
const QString kFlowType = QStringLiteral("FlowValueType");
const QString kFlowContent = QStringLiteral("FlowSmsContent");
const QString kFlowDate = QStringLiteral("FlowSmsDate");

QVariantMap specialNumberEntry(const QString &key, const QString &value) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || value.isNull())
    return {};
  for (const QVariant &entry : config->getArrayContainsSpeicalNumberAndSpeicalStringToReplace().toList()) {
    const QVariantMap dict = entry.toMap();
    if (dict.value(key).toString() == value)
      return dict;
  }
  return {};
}
} // namespace

QVariantMap SmsService::getDictionaryContainsSpeicalNumberAndSpeicalStringWithPhoneNumber(const QString &number) const {
  return specialNumberEntry(QStringLiteral("NumberToHidden"), number);
}

QVariantMap SmsService::getDictionaryContainsSpeicalNumberAndSpeicalString(const QString &text) const {
  return specialNumberEntry(QStringLiteral("NameToShow"), text);
}

bool SmsService::checkSmsIsSevetyFivePercentFlowValueSmsByPhoneNumber(const QString &number,
                                                                      const QString &text) const {
  const QVariantMap &c = flowValueSMsJudgeContionDic_;
  const QString phone = c.value(QStringLiteral("FlowValueSMS_PhoneNumber")).toString();
  const QString band = c.value(QStringLiteral("FLowValueSMS_Bandbreite")).toString();
  const QString key = c.value(QStringLiteral("FlowValueSMS_SeventyFivePercentKey")).toString();
  if (phone.isEmpty() || number != phone || !string(text, band) || !string(text, key))
    return false;
  return text.indexOf(band) < text.indexOf(key);
}

bool SmsService::checkSmsIsOneHundredPercentFlowValueSmsByPhoneNumber(const QString &number,
                                                                      const QString &text) const {
  const QVariantMap &c = flowValueSMsJudgeContionDic_;
  const QString phone = c.value(QStringLiteral("FlowValueSMS_PhoneNumber")).toString();
  const QString band = c.value(QStringLiteral("FLowValueSMS_Bandbreite")).toString();
  const QString key1 = c.value(QStringLiteral("FlowValueSMS_OneHundredPercentKey1")).toString();
  const QString key2 = c.value(QStringLiteral("FlowValueSMS_OneHundredPercentKey2")).toString();
  if (phone.isEmpty() || number != phone || !string(text, band) || (!string(text, key1) && !string(text, key2)))
    return false;
  const qsizetype k = string(text, key1) ? text.indexOf(key1) : text.indexOf(key2);
  return k > text.indexOf(band);
}

int SmsService::checkFlowValueTypeBySmsPhoneNumber(const QString &number, const QString &text) const {
  if (checkSmsIsOneHundredPercentFlowValueSmsByPhoneNumber(number, text))
    return 1;
  if (checkSmsIsSevetyFivePercentFlowValueSmsByPhoneNumber(number, text))
    return 0;
  return 2;
}

bool SmsService::saveFlowValueInfoIntoFileWithSmsContent(const QString &text, const QDateTime &date, int type) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (type == 2 || !config)
    return false;
  if (config->getConfigurationByModule(kFlowModule).typeId() != QMetaType::QVariantMap)
    config->setConfigurationByModule(kFlowModule, QVariantMap());
  config->setConfigurationByModuleKeyAndValue(kFlowModule, kFlowType, type);
  config->setConfigurationByModuleKeyAndValue(kFlowModule, kFlowContent, text);
  config->setConfigurationByModuleKeyAndValue(kFlowModule, kFlowDate, date.isValid() ? date : SmsClock::now());
  return config->writeToFile();
}

int SmsService::getFlowValueInfoFromFile() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return 2;
  const QVariantMap module = config->getConfigurationByModule(kFlowModule).toMap();
  if (!module.contains(kFlowType) || !module.contains(kFlowContent) || !module.contains(kFlowDate))
    return 2;
  flowValueSmsInfo_.insert(kFlowType, module.value(kFlowType));
  flowValueSmsInfo_.insert(kFlowContent, module.value(kFlowContent));
  flowValueSmsInfo_.insert(kFlowDate, module.value(kFlowDate));
  return module.value(kFlowType).toInt();
}

void SmsService::clearFlowValueInfo() {
  flowValueSmsInfo_.clear();
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  for (const QString &key : {kFlowType, kFlowContent, kFlowDate})
    config->removeConfigurationByModuleAndKey(kFlowModule, key);
  config->writeToFile();
}

QDateTime SmsService::deadlineForArrival(const QDateTime &arrival) {
  if (!arrival.isValid())
    return {};
  const QTimeZone zone = SmsClock::zone();
  const QDate day = arrival.toTimeZone(zone).date();
  QDate deadline(day.year(), day.month(), 22);
  if (day.day() >= 22)
    deadline = deadline.addMonths(1);
  return QDateTime(deadline, QTime(0, 0), zone);
}

QDateTime SmsService::makeFlowValueSmsOverDueTime() const {
  return deadlineForArrival(flowValueSmsInfo_.value(kFlowDate).toDateTime());
}

bool SmsService::checkIsOverdueByDate(const QDateTime &arrival) const {
  const QDateTime deadline = deadlineForArrival(arrival);
  return deadline.isValid() && SmsClock::now() >= deadline;
}

bool SmsService::isOverDueFlowValueSms() {
  if (getFlowValueInfoFromFile() == 2)
    return false;
  const QDateTime deadline = makeFlowValueSmsOverDueTime();
  if (!deadline.isValid() || SmsClock::now() < deadline)
    return false;
  clearFlowValueInfo();
  applicationIconName_ = QStringLiteral("icon.icns.png");
  const QString image = Bundle::mainBundle().pathForResource(QStringLiteral("icon.icns"), QStringLiteral("png"));
  if (!image.isEmpty() && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    QGuiApplication::setWindowIcon(QIcon(image));
  return true;
}

bool SmsService::checkIsValidFlowValueSmsBySMSContent(const QString &text, const QString &number,
                                                      const QDateTime &received) {
  const int type = checkFlowValueTypeBySmsPhoneNumber(number, text);
  if (type == 2)
    return false;
  if (checkIsOverdueByDate(received))
    return false;
  const int stored = getFlowValueInfoFromFile();
  if (stored != 2 && type <= stored)
    return false;
  saveFlowValueInfoIntoFileWithSmsContent(text, received, type);
  return true;
}

bool SmsService::checkSIMReceivedValidFlowValueSMS() {
  loadBoxInSIMList();
  bool any = false;
  for (const QVariant &item : simInBoxList_) {
    const QVariantMap record = item.toMap();
    if (checkIsValidFlowValueSmsBySMSContent(SmsRecord::text(record), SmsRecord::number(record),
                                             SmsRecord::date(record).toDateTime()))
      any = true;
  }
  return any;
}

bool SmsService::checkSMSIsPurChaseSMSBySmsPhoneNumber(const QString &number, const QString &text) {
  const QString serverKey = QStringLiteral("PurchargeBySMS_ServerNumber");
  const QString server = processListOfRecharge_.value(serverKey).toString();
  if (server.isEmpty() || number != server)
    return false;
  processOfRechargeBySMS_ = QStringLiteral("PurchargeBySMS_ConfirmPurchaseResponse");
  purchaseSMSContent_ = text;
  for (auto it = processListOfRecharge_.cbegin(); it != processListOfRecharge_.cend(); ++it) {
    if (it.key() == serverKey || it.value().typeId() != QMetaType::QString)
      continue;
    const QString step = it.value().toString();
    if (!step.isEmpty() && text.contains(step)) {
      processOfRechargeBySMS_ = it.key();
      break;
    }
  }
  return true;
}

void SmsService::parseBroadBandListFromSMSContent(const QString &text) {
  if (text.isEmpty())
    return;
  QStringList items;
  qsizetype from = 0;
  for (;;) {
    const qsizetype start = text.indexOf(QStringLiteral("ON"), from);
    if (start < 0)
      break;
    qsizetype end = text.indexOf(QLatin1Char('/'), start, Qt::CaseInsensitive);
    if (end < 0)
      end = text.indexOf(QStringLiteral(" to"), start);
    if (end < 0)
      break; // an item with no end: stop, keeping what was found
    items.append(text.mid(start, end - start));
    from = end + 1;
  }
  if (!items.isEmpty())
    broadBandList_ = items;
}

void SmsService::parseConfigInformationFromSMSContent(const QString &text) {
  if (text.isEmpty())
    return;
  const qsizetype send = text.indexOf(QStringLiteral("send"), 0, Qt::CaseInsensitive);
  if (send < 0)
    return;
  const QString rest = text.mid(send + qsizetype(QStringLiteral("send ").size()));
  const QString server = processListOfRecharge_.value(QStringLiteral("PurchargeBySMS_ServerNumber")).toString();
  const qsizetype to = rest.indexOf(QStringLiteral("to ") + server, 0, Qt::CaseInsensitive);
  if (to < 0)
    return;
  configSMSContent_ = rest.left(qMax<qsizetype>(to - 1, 0));
}
