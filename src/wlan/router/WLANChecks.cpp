#include "WLANChecks.h"

#include "QELFormatter.h"
#include "WordGlobe.h"

namespace WLANChecks {
namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromUtf8(key));
}

bool isHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool isDigit(QChar c) {
  return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isAllowedAscii(QChar c) {
  const char16_t u = c.unicode();
  if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
    return true;
  return u < 0x80 && QStringLiteral(" @!#%()+-./;=?[]^_{|}~").contains(c);
}

// A number filter: a non-digit typed last goes silently, then the value is held in 1..max.
Filtered numberFilter(const QString &text, qint64 max, const char *alert) {
  Filtered out{text, {}};
  if (out.text.isEmpty())
    return out;
  if (!isDigit(out.text.back()))
    out.text.chop(1);
  if (out.text.isEmpty())
    return out;
  const qint64 value = intValue(out.text);
  if (value > max) {
    out.text = QString::number(max);
    out.alert = QString::fromLatin1(alert);
  } else if (value < 1) {
    out.text = QStringLiteral("1");
    out.alert = QString::fromLatin1(alert);
  }
  return out;
}

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}
} // namespace

const ValueTable &channelTable() {
  static const ValueTable t = {"Auto", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
  return t;
}
const ValueTable &modeTable() {
  static const ValueTable t = {"802.11B/G", "802.11B", "802.11G"};
  return t;
}
const ValueTable &rateTableB() {
  static const ValueTable t = {"Auto", "1", "2", "5.5", "11"};
  return t;
}
const ValueTable &rateTableG() {
  static const ValueTable t = {"Auto", "6", "9", "12", "18", "24", "36", "48", "54"};
  return t;
}
const ValueTable &rateTableBG() {
  static const ValueTable t = {"Auto", "1", "2", "5.5", "6", "9", "11", "12", "18", "24", "36", "48", "54"};
  return t;
}
const ValueTable &authenticationTable() {
  static const ValueTable t = {"OPEN", "SHARE", "WPA-PSK", "WPA2-PSK", "WPA/WPA2-PSK"};
  return t;
}
const ValueTable &encryptionTable() {
  static const ValueTable t = {"NONE", "WEP"};
  return t;
}
const ValueTable &wpaCipherTable() {
  static const ValueTable t = {"AES/TKIP", "TKIP", "AES"};
  return t;
}
const ValueTable &keyFormatTable() {
  static const ValueTable t = {"HEX", "ASCII"};
  return t;
}
const ValueTable &keyIndexTable() {
  static const ValueTable t = {"1", "2", "3", "4"};
  return t;
}
const ValueTable &stationTable() {
  static const ValueTable t = {"1", "2", "3", "4", "5"};
  return t;
}
const ValueTable &policyTable() {
  static const ValueTable t = {"Accept", "Drop"};
  return t;
}
const ValueTable &actionTable() {
  static const ValueTable t = {"Drop", "Accept"};
  return t;
}
const ValueTable &protocolTable() {
  static const ValueTable t = {"TCP", "UDP", "TCP&UDP", "ICMP", "NONE"};
  return t;
}

const ValueTable *rateTableForModeText(const QString &modeText) {
  switch (getIndexofString(modeText, modeTable())) {
  case 0:
    return &rateTableBG();
  case 1:
    return &rateTableB();
  case 2:
    return &rateTableG();
  default:
    return nullptr;
  }
}

int getIndexofString(const QString &text, const ValueTable &table) {
  for (int i = 0; i < table.size(); ++i)
    if (text == word(table.at(i)))
      return i;
  return -1;
}

QString getComboxDisplay(qint64 code, const ValueTable &table) {
  if (code < 0 || code >= table.size())
    return QString();
  return word(table.at(int(code)));
}

QStringList displayItems(const ValueTable &table, int count) {
  QStringList items;
  const int n = count < 0 ? int(table.size()) : std::min(count, int(table.size()));
  for (int i = 0; i < n; ++i)
    items << word(table.at(i));
  return items;
}

qint64 intValue(const QString &text) {
  qint64 v = 0;
  return IPAddressFormatter::scanInt(text, 0, &v) ? v : 0;
}

Filtered asciiFilter(const QString &text, bool limitTo32) {
  Filtered out{text, {}};
  if (text.isEmpty())
    return out;
  QString kept;
  for (QChar c : text)
    if (isAllowedAscii(c))
      kept += c;
  if (kept.size() != text.size()) {
    out.alert = QStringLiteral("The item contains invalid ASCII characters!");
    out.text = kept;
  }
  if (limitTo32 && out.text.size() > 32)
    out.text.truncate(32);
  return out;
}

Filtered hexFilter(const QString &text, int maxLength) {
  Filtered out{text, {}};
  if (text.isEmpty())
    return out;
  if (out.text.size() > maxLength)
    out.text.truncate(maxLength);
  QString kept;
  for (QChar c : out.text)
    if (isHexDigit(c))
      kept += c;
  if (kept.size() != out.text.size()) {
    out.alert = QStringLiteral("The item contains invalid HEX characters!");
    out.text = kept;
  }
  return out;
}

Filtered leaseFilter(const QString &text) {
  return numberFilter(text, 65535, "DHCP Lease Time should be 1 - 65535 hours!");
}

Filtered portFilter(const QString &text) {
  return numberFilter(text, 65535, "Port number should be 1 - 65535!");
}

Filtered macFilter(const QString &text) {
  Filtered out{text, {}};
  if (out.text.isEmpty())
    return out;
  if (out.text.size() > 2)
    out.text.truncate(2);
  if (!isHexDigit(out.text.back())) {
    out.text.chop(1);
    out.alert = QStringLiteral("Mac Address contains invalid characters!");
  }
  return out;
}

QList<qint64> ipParts(const QString &text) {
  const QStringList parts = text.split(QLatin1Char('.'));
  QList<qint64> out;
  for (int i = 0; i < 4; ++i)
    out << (i < parts.size() ? intValue(parts.at(i)) : 0);
  return out;
}

bool isIPAddressValid(const QString &address) {
  if (address == QLatin1String("255.255.255.255") || address == QLatin1String("0.0.0.0"))
    return false;
  const QList<qint64> p = ipParts(address);
  return p.at(3) != 0 && p.at(0) != 0;
}

bool isSameIPRange(const QString &address, const QString &start, const QString &end) {
  const QList<qint64> a = ipParts(address), s = ipParts(start), e = ipParts(end);
  for (int i = 0; i < 3; ++i)
    if (a.at(i) != s.at(i) || a.at(i) != e.at(i))
      return false;
  return a.at(3) >= s.at(3) && a.at(3) <= e.at(3);
}

bool isSubMaskValid(const QString &mask, const QString &start, const QString &end) {
  if (mask == QLatin1String("0.0.0.0") || mask == QLatin1String("255.255.255.255"))
    return false;
  const QList<qint64> p = ipParts(mask);
  quint32 bits = 0;
  for (qint64 part : p) {
    if (part < 0 || part > 255)
      return false;
    bits = (bits << 8) | quint32(part);
  }
  // One bits from the top, then only zero bits: the inverse plus one is a power of two.
  const quint32 host = ~bits;
  if (bits == 0 || (host & (host + 1)) != 0)
    return false;
  return !isSameIPRange(mask, start, end);
}

bool isCorrectRange(const QString &start, const QString &end) {
  return ipParts(start).at(3) <= ipParts(end).at(3);
}

int getStateforMacAddress(const QStringList &six) {
  if (six.size() != 6)
    return 1;
  bool allEmpty = true;
  for (const QString &f : six)
    allEmpty = allEmpty && f.isEmpty();
  if (allEmpty)
    return 0;
  int octets[6];
  for (int i = 0; i < 6; ++i) {
    const QString &f = six.at(i);
    if (f.size() != 2 || hexValue(f.at(0)) < 0 || hexValue(f.at(1)) < 0)
      return 1;
    octets[i] = hexValue(f.at(0)) * 16 + hexValue(f.at(1));
  }
  bool allZero = true, allFF = true;
  for (int o : octets) {
    allZero = allZero && o == 0;
    allFF = allFF && o == 255;
  }
  if (allZero || allFF)
    return 1;
  return (octets[0] & 1) ? 1 : 2;
}

} // namespace WLANChecks
