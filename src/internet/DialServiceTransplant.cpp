#include "DialServiceTransplant.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialConfigFile.h"
#include "Plist.h"
#include "QELUIController.h"
#include "SettingValue.h"

#include <QDebug>

const QString DialServiceTransplant::kTelephoneChars = QStringLiteral("*#0123456789abcdABCD");
const QString DialServiceTransplant::kApnChars = QStringLiteral(".-");
const QString DialServiceTransplant::kPasswordChars = QStringLiteral("!#$&()*+,-./%.:;<=>?@[]^_{|}~\"\\'");
const QString DialServiceTransplant::kIPv6DnsChars = QStringLiteral("0123456789ABCDEFabcdef:");

namespace {
DialServiceTransplant *g_installed = nullptr;
DialServiceTransplant::IccidSource g_iccid;

ConfigService *switches() {
  return ConfigService::sharedConfigService();
}

QVariantMap indexTable() {
  const QVariant v = switches()->readImsiConfig();
  return v.typeId() == QMetaType::QVariantMap ? v.toMap() : QVariantMap();
}

bool hasIndexTable() {
  return switches()->readImsiConfig().typeId() == QMetaType::QVariantMap;
}

void writeProfileId(int id) {
  switches()->writeCurrentProfile(id);
}
} // namespace

DialServiceTransplant *DialServiceTransplant::sharedDialServiceTransplant() {
  if (!g_installed) {
    // It keeps no state of its own, so one made on first use serves the whole process.
    static DialServiceTransplant *fallback = new DialServiceTransplant;
    g_installed = fallback;
  }
  return g_installed;
}

void DialServiceTransplant::setSharedDialServiceTransplant(DialServiceTransplant *service) {
  g_installed = service;
}

void DialServiceTransplant::setIccidSource(IccidSource source) {
  g_iccid = std::move(source);
}

int DialServiceTransplant::indexValue(const QVariant &entry) {
  if (entry.typeId() == QMetaType::QVariantList) {
    const QVariantList list = entry.toList();
    return list.isEmpty() ? -1 : indexValue(list.first());
  }
  if (!entry.isValid() || entry.typeId() == QMetaType::QVariantMap)
    return -1;
  const int i = SettingValue::toInt(entry);
  return i < 0 ? -1 : i;
}

QVariant DialServiceTransplant::matchIndexFromImsiConfig(const QByteArray &imsi) const {
  if (imsi.isEmpty() || !hasIndexTable())
    return {};
  const QVariantMap table = indexTable();
  for (int n = 8; n >= 4; --n) {
    if (n > imsi.size())
      continue; // a short IMSI has no prefix of that length
    const QString key = QString::fromLatin1(imsi.left(n));
    if (table.contains(key))
      return table.value(key);
  }
  return {};
}

QVariantList DialServiceTransplant::findMatchedProfileArray(const QVariant &index) const {
  const QVariant all = switches()->readDefDialCfgs();
  if (all.typeId() != QMetaType::QVariantList || !index.isValid())
    return {};
  const QVariantList profiles = all.toList();
  QVariantList indexes = index.typeId() == QMetaType::QVariantList ? index.toList() : QVariantList{index};
  QVariantList out;
  for (const QVariant &i : indexes) {
    if (i.typeId() == QMetaType::QVariantList || i.typeId() == QMetaType::QVariantMap)
      continue;
    const int at = SettingValue::toInt(i);
    if (at < 0 || at >= profiles.size() || profiles.at(at).typeId() != QMetaType::QVariantMap)
      continue;
    out << profiles.at(at);
  }
  return out;
}

QVariant DialServiceTransplant::withMatchStringFindIndexOfMatchedApn(const QString &key) const {
  if (key.isEmpty() || !hasIndexTable())
    return {};
  return indexTable().value(key);
}

QVariantList DialServiceTransplant::matchApnByString(const QString &key) const {
  return findMatchedProfileArray(withMatchStringFindIndexOfMatchedApn(key));
}

int DialServiceTransplant::matchDefaultProfileWithImsi(const QByteArray &imsi) {
  const int index = indexValue(matchIndexFromImsiConfig(imsi));
  writeProfileId(index < 0 ? 0 : index);
  return index;
}

bool DialServiceTransplant::matchGlobalDefaultProfileWithImsi(const QByteArray &imsi) {
  const QVariantList profiles = findMatchedProfileArray(matchIndexFromImsiConfig(imsi));
  if (profiles.isEmpty())
    return false;
  return resetDialConfigListWithMatchedApn(profiles);
}

int DialServiceTransplant::imsiMatchApn(const QString &imsi) {
  const int index = indexValue(matchIndexFromImsiConfig(imsi.toLatin1()));
  if (index >= 0)
    writeProfileId(index);
  return index;
}

bool DialServiceTransplant::imsiMatchGlobalApn(const QString &imsi) {
  for (int n = 8; n >= 4; --n) {
    if (n > imsi.size())
      continue;
    const QVariantList profiles = matchApnByString(imsi.left(n));
    if (!profiles.isEmpty())
      return resetDialConfigListWithMatchedApn(profiles);
  }
  return false;
}

bool DialServiceTransplant::apnMatchWithMCCMNC(const QString &mccmnc) {
  const QVariantList profiles = matchApnByString(mccmnc);
  return !profiles.isEmpty() && resetDialConfigListWithMatchedApn(profiles);
}

bool DialServiceTransplant::matchApnWithMCC(const QString &mcc, const QString &mnc) {
  const qint64 mccValue = SettingValue::toInt(mcc);
  const qint64 mncValue = SettingValue::toInt(mnc);
  QVariantList profiles;
  if (mnc.size() < 3)
    profiles = matchApnByString(QString::number(mccValue * 100 + mncValue));
  if (profiles.isEmpty())
    profiles = matchApnByString(QString::number(mccValue * 1000 + mncValue));
  if (profiles.isEmpty())
    profiles = matchApnByString(QStringLiteral("NULL"));
  return !profiles.isEmpty() && resetDialConfigListWithMatchedApn(profiles);
}

bool DialServiceTransplant::specialImsiRoamMatch(const QString &imsi) const {
  const QVariant table = switches()->specialImsiAndIccidMnc();
  if (table.typeId() != QMetaType::QVariantMap || imsi.size() < 5)
    return false;
  const QVariantMap map = table.toMap();
  const QString key = imsi.left(5);
  if (!map.contains(key))
    return false;
  const QString iccid = g_iccid ? g_iccid() : QString();
  if (iccid.size() < 6)
    return false; // an ICCID without those digits proves nothing
  return iccid.mid(4, 2) != map.value(key).toString();
}

bool DialServiceTransplant::matchGlobalApn(const QString &imsiOrMcc, const QString &mnc) {
  ConfigService *s = switches();
  if (s->isSpecialImsiRoam() && specialImsiRoamMatch(imsiOrMcc))
    return false;
  if (s->isImsiMatchGlobalApn())
    return imsiMatchGlobalApn(imsiOrMcc);
  if (s->isAPNMatchWithMCCMNC())
    return apnMatchWithMCCMNC(imsiOrMcc);
  if (s->isQdonMatchApn())
    return matchApnWithMCC(imsiOrMcc, mnc);
  qWarning() << "Error: global apn match didn't match, for the reason missed the setting config";
  return false;
}

bool DialServiceTransplant::resetDialConfigListWithMatchedApn(const QVariantList &profiles) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (profiles.isEmpty() || !config)
    return false;
  QVariantList list = DialConfigFile::read();
  const int n = std::clamp(switches()->readDefaultProfileNum(), 0, int(list.size()));
  list.erase(list.begin(), list.begin() + n);
  for (int i = int(profiles.size()) - 1; i >= 0; --i)
    list.prepend(profiles.at(i));
  switches()->writeDefaultProfileNum(int(profiles.size()));
  return DialConfigFile::write(list);
}

bool DialServiceTransplant::isLetterOrDigit(QChar c) {
  return c.isLower() || c.isUpper() || c.isTitleCase() || c.isDigit();
}

QString DialServiceTransplant::formatInput(const QString &text, bool onlyExtraChars, const QString &extraChars,
                                           int maxLen) {
  return QELUIController::trimString(
      text, [&](QChar c) { return extraChars.contains(c) || (!onlyExtraChars && isLetterOrDigit(c)); }, maxLen);
}

QString DialServiceTransplant::checkToFormatTelephoneNumber(const QString &text) {
  return formatInput(text, true, kTelephoneChars, 30);
}

QString DialServiceTransplant::checkToFormatAPN(const QString &text) {
  return formatInput(text, false, kApnChars, 60);
}

QString DialServiceTransplant::checkToFormatPassword(const QString &text, int maxLen) {
  return formatInput(text, false, kPasswordChars, maxLen);
}

QString DialServiceTransplant::checkToFormatIPv6DNS(const QString &text) {
  return formatInput(text, true, kIPv6DnsChars, 39);
}
