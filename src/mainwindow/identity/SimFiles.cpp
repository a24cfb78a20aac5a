#include "SimFiles.h"

#include <array>
#include <cctype>

namespace SimFiles {

namespace {
// The GSM 7-bit default alphabet.
constexpr std::array<char16_t, 128> kGsmAlphabet = {
    u'@',      u'\u00A3', u'$',      u'\u00A5', u'\u00E8', u'\u00E9', u'\u00F9', u'\u00EC', u'\u00F2', u'\u00C7',
    u'\n',     u'\u00D8', u'\u00F8', u'\r',     u'\u00C5', u'\u00E5', u'\u0394', u'_',      u'\u03A6', u'\u0393',
    u'\u039B', u'\u03A9', u'\u03A0', u'\u03A8', u'\u03A3', u'\u0398', u'\u039E', u' ',      u'\u00C6', u'\u00E6',
    u'\u00DF', u'\u00C9', u' ',      u'!',      u'"',      u'#',      u'\u00A4', u'%',      u'&',      u'\'',
    u'(',      u')',      u'*',      u'+',      u',',      u'-',      u'.',      u'/',      u'0',      u'1',
    u'2',      u'3',      u'4',      u'5',      u'6',      u'7',      u'8',      u'9',      u':',      u';',
    u'<',      u'=',      u'>',      u'?',      u'\u00A1', u'A',      u'B',      u'C',      u'D',      u'E',
    u'F',      u'G',      u'H',      u'I',      u'J',      u'K',      u'L',      u'M',      u'N',      u'O',
    u'P',      u'Q',      u'R',      u'S',      u'T',      u'U',      u'V',      u'W',      u'X',      u'Y',
    u'Z',      u'\u00C4', u'\u00D6', u'\u00D1', u'\u00DC', u'\u00A7', u'\u00BF', u'a',      u'b',      u'c',
    u'd',      u'e',      u'f',      u'g',      u'h',      u'i',      u'j',      u'k',      u'l',      u'm',
    u'n',      u'o',      u'p',      u'q',      u'r',      u's',      u't',      u'u',      u'v',      u'w',
    u'x',      u'y',      u'z',      u'\u00E4', u'\u00F6', u'\u00F1', u'\u00FC', u'\u00E0',
};

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
  return QChar(kGsmAlphabet[code & 0x7F]);
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
