#include "SmsCodec.h"

#include "SmsCodecTables.h"

#include <QtGlobal>
#include <climits>
#include <span>

using namespace smscodec;

namespace {

// The GSM form of one unit: 0 septets when it has no GSM place, else 1 or 2 (a, b).
struct Code {
  uint8_t len = 0;
  uint8_t a = 0x20;
  uint8_t b = 0;
};

constexpr int findByUcs(std::span<const ShiftPair> table, char16_t c) {
  for (const ShiftPair &p : table)
    if (p.ucs == c)
      return p.gsm;
  return -1;
}

constexpr int findByGsm(std::span<const ShiftPair> table, uint8_t g) {
  for (const ShiftPair &p : table)
    if (p.gsm == g)
      return p.ucs;
  return -1;
}

constexpr bool inSpanishOrPortuguese(char16_t c) {
  return findByUcs(kSpanishSingle, c) >= 0 || findByUcs(kPortugueseSingle, c) >= 0;
}

// UCS-2 to GSM for U+0000..U+00FF: the default alphabet's own characters, and accented letters
// folded to their base letter. 0x20 means no place (except for the space itself).
constexpr std::array<uint8_t, 256> makeLatinTable() {
  std::array<uint8_t, 256> t{};
  for (auto &v : t)
    v = 0x20;
  for (int g = 0; g < 128; ++g)
    if (g != kSmsEscape && kDefaultAlphabet[g] < 0x100)
      t[kDefaultAlphabet[g]] = uint8_t(g);
  auto fold = [&t](int from, int to, uint8_t g) {
    for (int c = from; c <= to; ++c)
      t[c] = g;
  };
  fold(0xC0, 0xC3, 0x41);
  fold(0xC8, 0xC8, 0x45);
  fold(0xCA, 0xCB, 0x45);
  fold(0xCC, 0xCF, 0x49);
  fold(0xD2, 0xD5, 0x4F);
  fold(0xD9, 0xDB, 0x55);
  fold(0xDD, 0xDD, 0x59);
  fold(0xE1, 0xE3, 0x61);
  fold(0xEA, 0xEB, 0x65);
  fold(0xED, 0xEF, 0x69);
  fold(0xF3, 0xF5, 0x6F);
  fold(0xFA, 0xFB, 0x75);
  fold(0xFD, 0xFD, 0x79);
  fold(0xFF, 0xFF, 0x79);
  fold(0xE7, 0xE7, 0x09);
  return t;
}
constexpr std::array<uint8_t, 256> kLatinToGsm = makeLatinTable();

constexpr Code latinCode(char16_t c, SmsNational national, bool ucs2ForSingle) {
  if (ucs2ForSingle && inSpanishOrPortuguese(c))
    return {};
  switch (c) {
  case 0x0C:
    return {2, kSmsEscape, 0x0A};
  case u'[':
    return {2, kSmsEscape, 0x3C};
  case u'\\':
    return {2, kSmsEscape, 0x2F};
  case u']':
    return {2, kSmsEscape, 0x3E};
  case u'^':
    return {2, kSmsEscape, 0x14};
  case u'{':
    return {2, kSmsEscape, 0x28};
  case u'|':
    return {2, kSmsEscape, 0x40};
  case u'}':
    return {2, kSmsEscape, 0x29};
  case u'~':
    return {2, kSmsEscape, 0x3D};
  case 0xA4: // the currency sign has its own place; as 1B 65 it would arrive as the euro sign
    return {1, 0x24, 0};
  case 0xE7:
    if (national == SmsNational::Spanish || national == SmsNational::Portuguese)
      return {2, kSmsEscape, 0x09};
    return {2, kSmsEscape, 0x63};
  default:
    break;
  }
  if (national == SmsNational::Spanish) {
    if (const int g = findByUcs(kSpanishSingle, c); g >= 0)
      return {2, kSmsEscape, uint8_t(g)};
  } else if (national == SmsNational::Portuguese) {
    if (const int g = findByUcs(kPortugueseSingle, c); g >= 0)
      return {2, kSmsEscape, uint8_t(g)};
  }
  const uint8_t g = kLatinToGsm[c];
  if (g == 0x20 && c != 0x20)
    return {}; // would be lost as a space: the text goes as UCS2 instead
  return {1, g, 0};
}

// One table per (national table, single-character switch), built once.
using LatinCodes = std::array<Code, 256>;
using LatinWidths = std::array<uint8_t, 256>;
struct LatinTables {
  std::array<LatinCodes, 8> codes;
  std::array<LatinWidths, 8> widths;
};

const LatinTables &latinTables() {
  static const LatinTables tables = [] {
    LatinTables t{};
    for (size_t i = 0; i < 8; ++i)
      for (size_t c = 0; c < 256; ++c) {
        t.codes[i][c] = latinCode(char16_t(c), SmsNational(i >> 1), (i & 1) != 0);
        t.widths[i][c] = t.codes[i][c].len;
      }
    return t;
  }();
  return tables;
}

inline size_t latinIndex(const SmsCodecSettings &s) {
  return (size_t(s.national) << 1) | (s.ucs2ForSingleCharacter ? 1 : 0);
}

inline const LatinCodes &latinCodesFor(const SmsCodecSettings &s) {
  return latinTables().codes[latinIndex(s)];
}
inline const LatinWidths &latinWidthsFor(const SmsCodecSettings &s) {
  return latinTables().widths[latinIndex(s)];
}

Code highCode(char16_t c, SmsNational national) {
  switch (c) {
  case 0x0394:
    return {1, 0x10, 0};
  case 0x03A6:
    return {1, 0x12, 0};
  case 0x0393:
    return {1, 0x13, 0};
  case 0x039B:
    return {1, 0x14, 0};
  case 0x03A9:
    return {1, 0x15, 0};
  case 0x03A0:
    return {1, 0x16, 0};
  case 0x03A8: // the alphabet's own letter
  case 0x03C8: // small psi is sent as the capital
    return {1, 0x17, 0};
  case 0x03A3:
    return {1, 0x18, 0};
  case 0x0398:
  case 0x03B8:
    return {1, 0x19, 0};
  case 0x039E:
    return {1, 0x1A, 0};
  case 0x20AC:
    return {2, kSmsEscape, 0x65};
  default:
    break;
  }
  // The Turkish letters exist only in the Turkish shift table; a receiver without it would
  // show something else, so without that table they go as UCS2.
  if (national == SmsNational::Turkish) {
    if (const int g = findByUcs(kTurkishSingle, c); g >= 0)
      return {2, kSmsEscape, uint8_t(g)};
  }
  return {};
}

inline Code codeOf(char16_t c, const LatinCodes &latin, SmsNational national) {
  return c < 0x100 ? latin[c] : highCode(c, national);
}

bool spanishOrPortuguese(SmsNational n) {
  return n == SmsNational::Spanish || n == SmsNational::Portuguese;
}

std::span<const ShiftPair> nationalTable(SmsNational n) {
  switch (n) {
  case SmsNational::Spanish:
    return kSpanishSingle;
  case SmsNational::Turkish:
    return kTurkishSingle;
  case SmsNational::Portuguese:
    return kPortugueseSingle;
  case SmsNational::None:
    break;
  }
  return {};
}

char16_t decodeEscaped(uint8_t d, SmsNational national) {
  if (d >= 0x80)
    return u' ';
  switch (d) {
  case 0x47:
  case 0x64:
    return 0x011E;
  case 0x49:
    return spanishOrPortuguese(national) ? 0x00CD : 0x0130;
  case 0x53:
    return 0x015E;
  case 0x63:
    return 0x00E7;
  case 0x65:
    return 0x20AC;
  case 0x67:
    return 0x011F;
  case 0x69:
    return spanishOrPortuguese(national) ? 0x00ED : 0x0131;
  case 0x73:
    return 0x015F;
  default:
    break;
  }
  if (const int u = findByGsm(nationalTable(national), d); u >= 0)
    return char16_t(u);
  if (const int u = findByGsm(kExtension, d); u >= 0)
    return char16_t(u);
  return u' '; // an empty entry: a space, never a control character
}

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Fills characters greedily into parts of `limit` septets (GSM) or units (UCS2), never splitting
// an escape pair or a surrogate pair across two parts, as a sender that splits the text must.
// Answers the parts used; stops before the first character that would need part `maxParts` + 1
// and reports the units placed so far in `fitted`.
int fillParts(const char16_t *text, int count, bool gsm, int limit, const SmsCodecSettings &s, long long maxParts,
              int *fitted) {
  const LatinWidths &latinWidth = latinWidthsFor(s);
  long long parts = count > 0 ? 1 : 0;
  int used = 0;
  int i = 0;
  while (i < count) {
    int width = 1, units = 1;
    if (gsm) {
      const char16_t c = text[i];
      width = c < 0x100 ? latinWidth[c] : highCode(c, s.national).len;
    } else if (isHighSurrogate(text[i]) && i + 1 < count && isLowSurrogate(text[i + 1])) {
      width = units = 2;
    }
    if (used + width > limit) {
      ++parts;
      used = 0;
    }
    if (parts > maxParts) {
      --parts;
      break;
    }
    used += width;
    i += units;
  }
  if (fitted)
    *fitted = i;
  return int(qMin<long long>(parts, INT_MAX));
}

int multiLimit(const SmsTextCost &cost, const SmsCodecSettings &s) {
  if (!cost.gsm)
    return kSmsUcs2MultiLimit;
  return (s.national != SmsNational::None && cost.hasEscape) ? kSmsNationalMultiLimit : kSmsGsmMultiLimit;
}

int singleLimit(const SmsTextCost &cost, const SmsCodecSettings &s) {
  if (!cost.gsm)
    return kSmsUcs2SingleLimit;
  return (s.national != SmsNational::None && cost.hasEscape) ? kSmsNationalSingleLimit : kSmsGsmSingleLimit;
}

constexpr char16_t kSpecialChars[] = {
    0x0060, 0x00A2, 0x00A6, 0x00A9, 0x00AA, 0x00AD, 0x00AE, 0x00AF, 0x00B1, 0x00B2, 0x00B3, 0x00B5,
    0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BC, 0x00BD, 0x00BE, 0x00D0, 0x00D7, 0x00DE, 0x00F0, 0x00F7,
    0x00FE, 0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x017D, 0x017E, 0x0183, 0x0192, 0x02C6, 0x02DC,
    0x201A, 0x2020, 0x2021, 0x2022, 0x2026, 0x2030, 0x2039, 0x203A, 0x2122,
};
static_assert(sizeof(kSpecialChars) / sizeof(kSpecialChars[0]) == 45);

int decodeWithLocking(char16_t *out, int outCount, const uint8_t *septets, int count,
                      const std::array<char16_t, 128> &locking, SmsNational national) {
  if (!out || !septets || outCount <= 0 || count < 0 || outCount < count)
    return -1;
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const uint8_t b = septets[i];
    if (b == kSmsEscape && i + 1 < count)
      out[n++] = decodeEscaped(septets[++i], national);
    else
      out[n++] = b >= 0x80 ? u' ' : locking[b];
  }
  return n;
}

} // namespace

char16_t smsDefaultAlphabet(uint8_t septet) {
  return septet >= 0x80 ? u' ' : kDefaultAlphabet[septet];
}

SmsTextCost smsTextCost(const char16_t *text, int count, const SmsCodecSettings &settings) {
  SmsTextCost cost;
  cost.units = qMax(count, 0);
  if (!text)
    return cost;
  // The editor counts on every keystroke: a width per Latin-1 unit, summed without branches
  // except for the rare unit above U+00FF.
  const LatinWidths &width = latinWidthsFor(settings);
  unsigned septets = 0, escapes = 0;
  for (int i = 0; i < count; ++i) {
    const char16_t c = text[i];
    const unsigned w = c < 0x100 ? width[c] : highCode(c, settings.national).len;
    if (w == 0) {
      cost.gsm = false;
      return cost;
    }
    septets += w;
    escapes |= w;
  }
  cost.septets = int(septets);
  cost.hasEscape = (escapes & 2) != 0;
  return cost;
}

int IfUcs2IsSMS7(const char16_t *text, int count, const SmsCodecSettings &settings) {
  if (!text)
    return -1;
  return smsTextCost(text, count, settings).gsm ? 1 : 0;
}

int Ucs2toSMS7(uint8_t *out, int outSize, const char16_t *text, int count, const SmsCodecSettings &settings) {
  if (!out || !text || outSize <= 0 || count < 0 || outSize / 2 < count)
    return -1;
  const LatinCodes &latin = latinCodesFor(settings);
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const Code c = codeOf(text[i], latin, settings.national);
    if (c.len == 0) {
      out[n++] = 0x20;
    } else {
      out[n++] = c.a;
      if (c.len == 2)
        out[n++] = c.b;
    }
  }
  return n;
}

int SMS7toUcs2(char16_t *out, int outCount, const uint8_t *septets, int count, const SmsCodecSettings &settings) {
  if (!out || !septets || outCount <= 0 || count < 0 || outCount < count)
    return -1;
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const uint8_t b = septets[i];
    if (b >= 0x80) {
      out[n++] = u' ';
    } else if (b != kSmsEscape) {
      out[n++] = kDefaultAlphabet[b];
    } else if (i + 1 == count) {
      out[n++] = u' '; // an escape with nothing after it names no character
    } else {
      out[n++] = decodeEscaped(septets[++i], settings.national);
    }
  }
  return n;
}

int SMS7toUcs2_Turkish(char16_t *out, int outCount, const uint8_t *septets, int count) {
  return decodeWithLocking(out, outCount, septets, count, kTurkishLocking, SmsNational::Turkish);
}

int SMS7toUcs2_Portuguese(char16_t *out, int outCount, const uint8_t *septets, int count) {
  return decodeWithLocking(out, outCount, septets, count, kPortugueseLocking, SmsNational::Portuguese);
}

int getInputTextNum(const char16_t *text, unsigned count, const SmsCodecSettings &settings) {
  // An empty text gives -1 like a refused conversion; callers test for an empty text first.
  if (!text || count == 0 || count > INT_MAX / 2)
    return -1;
  const SmsTextCost cost = smsTextCost(text, int(count), settings);
  return cost.gsm ? cost.septets : cost.units;
}

int getInputPackNum(const char16_t *text, unsigned count, const SmsCodecSettings &settings) {
  if (!text || count > INT_MAX / 2)
    return -1;
  const SmsTextCost cost = smsTextCost(text, int(count), settings);
  const int n = cost.gsm ? cost.septets : cost.units;
  if (n == 0)
    return 0;
  if (n <= singleLimit(cost, settings))
    return 1;
  return fillParts(text, int(count), cost.gsm, multiLimit(cost, settings), settings, LLONG_MAX, nullptr);
}

int getSingleMaxInputLen(const char16_t *text, unsigned count, const SmsCodecSettings &settings) {
  if (!text || count > INT_MAX / 2)
    return -1;
  return multiLimit(smsTextCost(text, int(count), settings), settings);
}

int getSingleMaxLength(const char16_t *text, unsigned count, char multiPart, const SmsCodecSettings &settings) {
  if (multiPart)
    return getSingleMaxInputLen(text, count, settings);
  if (!text || count > INT_MAX / 2)
    return -1;
  return singleLimit(smsTextCost(text, int(count), settings), settings);
}

int getMaxTextNum(const char16_t *text, int count, unsigned parts, const SmsCodecSettings &settings) {
  if (count < 0)
    return -1;
  const int limit = getSingleMaxInputLen(text, unsigned(count), settings);
  if (limit < 0)
    return -1;
  return int(qMin<long long>((long long)limit * parts, INT_MAX));
}

int cutMaxTextLen(const char16_t *text, unsigned count, unsigned parts, const SmsCodecSettings &settings) {
  if (!text || count > INT_MAX / 2)
    return -1;
  if (parts == 0)
    return 0;
  // One pass over the text: the longest prefix that fits in `parts` parts of the text's own
  // multi-part limit. Whole characters are placed, so neither an escape pair nor a surrogate
  // pair is ever halved.
  const SmsTextCost cost = smsTextCost(text, int(count), settings);
  int fitted = 0;
  fillParts(text, int(count), cost.gsm, multiLimit(cost, settings), settings, parts, &fitted);
  return fitted;
}

int isSingleCharacter(const QString &tableName, char16_t c) {
  if (tableName == QLatin1String("PortugueseSingle"))
    return findByUcs(kPortugueseSingle, c) >= 0 ? 1 : 0;
  if (tableName == QLatin1String("SpanishSingle"))
    return findByUcs(kSpanishSingle, c) >= 0 ? 1 : 0;
  qWarning("only support spanish and portuguese!");
  return 0;
}

int needUcs2EncodingForSingleCharacter(char16_t c, const SmsCodecSettings &settings) {
  return settings.ucs2ForSingleCharacter && c < 0x100 && inSpanishOrPortuguese(c) ? 1 : 0;
}

int ifUcs2IsSpecial(const char16_t *text, int count) {
  if (!text)
    return -1;
  for (int i = 0; i < count; ++i) {
    bool special = false;
    for (char16_t s : kSpecialChars)
      special |= text[i] == s;
    if (!special)
      return 0;
  }
  return 1;
}

int has0x1b(const uint8_t *septets, int count) {
  if (!septets)
    return -1;
  for (int i = 0; i < count; ++i)
    if (septets[i] == kSmsEscape)
      return 1;
  return 0;
}

int CharacterUcs2ToSms7(char16_t c, uint8_t out[2], const SmsCodecSettings &settings) {
  if (!out)
    return -1;
  switch (c) {
  case 0x00C1:
    out[0] = kSmsEscape, out[1] = 0x41;
    return 2;
  case 0x00CD:
    out[0] = kSmsEscape, out[1] = 0x49;
    return 2;
  case 0x00D3:
    out[0] = kSmsEscape, out[1] = 0x4F;
    return 2;
  case 0x00DA:
    out[0] = kSmsEscape, out[1] = 0x55;
    return 2;
  case 0x00E1:
    out[0] = kSmsEscape, out[1] = 0x61;
    return 2;
  case 0x00ED:
    out[0] = kSmsEscape, out[1] = 0x69;
    return 2;
  case 0x00F3:
    out[0] = kSmsEscape, out[1] = 0x6F;
    return 2;
  case 0x00FA:
    out[0] = kSmsEscape, out[1] = 0x75;
    return 2;
  default:
    break;
  }
  const Code code = codeOf(c, latinCodesFor(settings), settings.national);
  if (code.len == 0) {
    out[0] = 0x20;
    return 0;
  }
  out[0] = code.a;
  if (code.len == 2)
    out[1] = code.b;
  return code.len;
}

char16_t CharacterSms7ToUcs2(const uint8_t pair[2], const SmsCodecSettings &settings) {
  if (!pair || pair[1] >= 0x80)
    return u' ';
  if (const int u = findByGsm(nationalTable(settings.national), pair[1]); u >= 0)
    return char16_t(u);
  if (const int u = findByGsm(kExtension, pair[1]); u >= 0)
    return char16_t(u);
  return u' ';
}

char16_t CharacterSms7ToUcs2_Old(const uint8_t pair[2]) {
  if (!pair || pair[1] >= 0x80)
    return u' ';
  const int u = findByGsm(kExtension, pair[1]);
  return u >= 0 ? char16_t(u) : u' ';
}
