#include "DialParamsRecord.h"

#include "DialParamsLayout.h"
#include "SettingValue.h"

#include <QtEndian>

namespace DialParamsRecord {
namespace {

QString textOf(const QVariantMap &profile, const char *key) {
  const QVariant v = profile.value(QLatin1String(key));
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

void putText(QByteArray &record, DialParamsLayout::TextField field, const QString &text) {
  const QByteArray bytes = fieldBytes(text, field.width);
  record.replace(field.offset, bytes.size(), bytes);
}

void putInt(QByteArray &record, int offset, qint32 value) {
  qToLittleEndian<qint32>(value, record.data() + offset);
}

} // namespace

QByteArray fieldBytes(const QString &text, int width) {
  QByteArray bytes = text.toUtf8();
  const int limit = width - 1;
  if (limit <= 0)
    return {};
  if (bytes.size() <= limit)
    return bytes;
  int cut = limit;
  // A continuation byte at the cut means the character started earlier: drop it whole.
  while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
    --cut;
  bytes.truncate(cut);
  return bytes;
}

QByteArray encode(const QVariantMap &profile, const Settings &settings) {
  using namespace DialParamsLayout;
  QByteArray record(kRecordSize, '\0');
  putText(record, kApnName, textOf(profile, "apnName"));
  putText(record, kTelNumber, textOf(profile, "telNumber"));
  putText(record, kAccountName, textOf(profile, "accountName"));
  putText(record, kPassword, textOf(profile, "password"));
  putText(record, kPdpAddress, textOf(profile, "pdpAddress"));
  putText(record, kPreDns, textOf(profile, "preDns"));
  putText(record, kAltDns, textOf(profile, "altDns"));
  putInt(record, kPppFlag, SettingValue::toInt(profile.value(QStringLiteral("pppFlag"))));
  putInt(record, kPdpFlag, SettingValue::toInt(profile.value(QStringLiteral("pdpFlag"))));
  putInt(record, kPdpType, SettingValue::toInt(profile.value(QStringLiteral("pdpType"))));
  putInt(record, kDisableAlert, settings.disableAlert ? 1 : 0);
  putInt(record, kConnectType, settings.connectType);
  putInt(record, kMtu, settings.mtu);
  if (settings.doublePdp) {
    putText(record, kIPv6ApnName, textOf(profile, "IPv6ApnName"));
    putText(record, kIPv6PrefDns, textOf(profile, "IPv6PrefDNS"));
    putText(record, kIPv6AltDns, textOf(profile, "IPv6AltDNS"));
  }
  return record;
}

} // namespace DialParamsRecord
