#include "SimFiles.h"

#include "SmsCodec.h"

#include <cctype>

namespace SimFiles {

namespace {

void appendCodePoint(QString &out, uint32_t cp) {
  if (cp <= 0xFFFF) {
    out += QChar(char16_t(cp));
    return;
  }
  const char32_t c = char32_t(cp);
  out += QString::fromUcs4(&c, 1);
}

bool isDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

bool allDigits(const QString &s) {
  for (QChar c : s)
    if (!isDigit(c))
      return false;
  return true;
}
} // namespace

QChar gsmDefaultAlphabet(uint8_t code) {
  return QChar(smsDefaultAlphabet(code & 0x7F));
}

QString decodeAlphaIdInSPN(SimHexCursor &cursor) {
  QString name = QStringLiteral("");
  if (!cursor.has(2))
    return name;
  const uint32_t form = cursor.peekchar();
  if (form < 0x80) {
    while (cursor.has(2)) {
      const uint32_t b = cursor.peekchar();
      if (b == 0xFF)
        break;
      cursor.skipchar();
      name += gsmDefaultAlphabet(uint8_t(b));
    }
  } else if (form == 0x80) {
    cursor.skipchar();
    while (cursor.has(4)) {
      const uint32_t w = cursor.peekword();
      if (w == 0xFFFF)
        break;
      cursor.skipword();
      appendCodePoint(name, w);
    }
  } else if (form == 0x81 || form == 0x82) {
    cursor.skipchar();
    if (!cursor.has(2))
      return name;
    const uint32_t count = cursor.getchar();
    uint32_t base = 0;
    if (form == 0x81) {
      if (!cursor.has(2))
        return name;
      base = cursor.getchar() << 7;
    } else {
      if (!cursor.has(4))
        return name;
      base = cursor.getword();
    }
    for (uint32_t i = 0; i < count && cursor.has(2); ++i) {
      const uint32_t b = cursor.getchar();
      if (b >= 0x80)
        appendCodePoint(name, base + (b & 0x7F));
      else
        name += gsmDefaultAlphabet(uint8_t(b));
    }
  } else {
    return name;
  }
  while (cursor.has(2) && cursor.peekchar() == 0xFF)
    cursor.skipchar();
  return name;
}

ServiceProviderName parseEF_SPN(const QByteArray &hexText) {
  ServiceProviderName spn;
  spn.name = QStringLiteral("");
  SimHexCursor cursor(hexText);
  if (cursor.atEnd())
    return spn;
  spn.hasCondition = true;
  spn.displayCondition = int(cursor.getchar());
  if (cursor.atEnd())
    return spn;
  spn.name = decodeAlphaIdInSPN(cursor);
  return spn;
}

QString decodePlmnEntry(const QByteArray &e) {
  if (e.size() < 6)
    return {};
  // MCC2 MCC1 | MNC3 MCC3 | MNC2 MNC1, each byte written high nibble first.
  QString mcc = QString(QLatin1Char(e[1])) + QLatin1Char(e[0]) + QLatin1Char(e[3]);
  QString mnc = QString(QLatin1Char(e[5])) + QLatin1Char(e[4]);
  if (e[2] != 'F')
    mnc += QLatin1Char(e[2]);
  if (!allDigits(mcc) || !allDigits(mnc))
    return {};
  return mcc + mnc;
}

QStringList decodeSpPLMNList(SimHexCursor &cursor) {
  QStringList list;
  if (cursor.remaining() < 3)
    return list;
  const int length = int(cursor.getchar());
  const int listEnd = cursor.position() + 2 * length;
  while (cursor.position() < listEnd && cursor.has(6)) {
    const QByteArray entry = cursor.text().mid(cursor.position(), 6);
    cursor.skiptriple();
    if (entry == "FFFFFF")
      break;
    const QString plmn = decodePlmnEntry(entry);
    if (!plmn.isEmpty())
      list << plmn;
  }
  return list;
}

bool parseEF_SPDI(const QByteArray &hexText, QStringList *list) {
  SimHexCursor cursor(hexText);
  bool tagFound = false;
  while (cursor.has(2)) {
    if (cursor.getchar() == 0x80) {
      tagFound = true;
      break;
    }
  }
  if (!tagFound || cursor.atEnd())
    return false;
  *list = decodeSpPLMNList(cursor);
  return true;
}

QString decodeICCID(const QByteArray &hexText) {
  QString out = QStringLiteral("");
  int len = 0;
  while (len < hexText.size() && len < 20 && std::isxdigit(static_cast<unsigned char>(hexText.at(len))))
    ++len;
  for (int i = 0; i + 1 < len; i += 2)
    out += QString(QLatin1Char(hexText.at(i + 1))) + QLatin1Char(hexText.at(i));
  if (len % 2)
    out += QLatin1Char(hexText.at(len - 1));
  return out;
}

QString composeMccmnc(const QString &mcc, const QString &mnc) {
  if (mcc.isEmpty() || mcc.size() > 3 || !allDigits(mcc) || mnc.isEmpty() || mnc.size() > 3 || !allDigits(mnc))
    return QStringLiteral("");
  return mcc.rightJustified(3, u'0') + mnc.rightJustified(2, u'0');
}

} // namespace SimFiles
