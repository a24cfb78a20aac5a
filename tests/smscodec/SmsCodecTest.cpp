#include "SmsCodec.h"
#include "SmsCodecTables.h"

#include <QString>
#include <gtest/gtest.h>
#include <set>
#include <span>
#include <vector>

namespace {

const SmsCodecSettings kNone{};
const SmsCodecSettings kSpanish{SmsNational::Spanish, false};
const SmsCodecSettings kTurkish{SmsNational::Turkish, false};
const SmsCodecSettings kPortuguese{SmsNational::Portuguese, false};
const SmsCodecSettings kSingleUcs2{SmsNational::None, true};

const char16_t *units(const QString &s) {
  return reinterpret_cast<const char16_t *>(s.utf16());
}

std::vector<uint8_t> encode(const QString &s, const SmsCodecSettings &settings) {
  std::vector<uint8_t> out(size_t(2 * s.size()) + 1);
  const int n = Ucs2toSMS7(out.data(), int(out.size()), units(s), int(s.size()), settings);
  out.resize(size_t(qMax(n, 0)));
  return out;
}

QString decode(const std::vector<uint8_t> &septets, const SmsCodecSettings &settings) {
  QString out(qsizetype(septets.size()) + 1, QChar());
  const int n = SMS7toUcs2(reinterpret_cast<char16_t *>(out.data()), int(out.size()), septets.data(),
                           int(septets.size()), settings);
  out.truncate(qMax(n, 0));
  return out;
}

QString repeat(QChar c, int n) {
  return QString(n, c);
}

// The surrogate pair of U+1F600.
const QString kEmoji = QString::fromUtf16(u"\U0001F600");

TEST(SmsAlphabet, EveryDefaultCharacterRoundTrips) {
  for (int g = 0; g < 128; ++g) {
    if (g == kSmsEscape)
      continue;
    const QString c = decode({uint8_t(g)}, kNone);
    ASSERT_EQ(c.size(), 1);
    EXPECT_EQ(encode(c, kNone), std::vector<uint8_t>{uint8_t(g)}) << "septet " << g;
    EXPECT_EQ(IfUcs2IsSMS7(units(c), 1, kNone), 1) << "septet " << g;
  }
}

TEST(SmsAlphabet, StandardLettersAtTheirPlaces) {
  // The capital Greek letters and the currency sign are the alphabet's own characters.
  EXPECT_EQ(decode({0x17, 0x19, 0x24, 0x00, 0x7F, 0x1B, 0x65}, kNone), QString::fromUtf16(u"ΨΘ¤@à€"));
  EXPECT_EQ(encode(QString::fromUtf16(u"¤€"), kNone), (std::vector<uint8_t>{0x24, 0x1B, 0x65}));
  // Small psi and theta are sent as the capitals.
  EXPECT_EQ(encode(QString::fromUtf16(u"ψθ"), kNone), (std::vector<uint8_t>{0x17, 0x19}));
}

TEST(SmsAlphabet, ExtensionTableRoundTrips) {
  const std::vector<std::pair<uint8_t, char16_t>> standard = {
      {0x0A, u'\f'}, {0x14, u'^'}, {0x28, u'{'}, {0x29, u'}'}, {0x2F, u'\\'},
      {0x3C, u'['},  {0x3D, u'~'}, {0x3E, u']'}, {0x40, u'|'}, {0x65, u'€'},
  };
  for (const auto &[code, ucs] : standard) {
    for (const SmsCodecSettings &s : {kNone, kSpanish, kTurkish, kPortuguese}) {
      EXPECT_EQ(decode({kSmsEscape, code}, s), QString(QChar(ucs))) << int(code);
      EXPECT_EQ(encode(QString(QChar(ucs)), s), (std::vector<uint8_t>{kSmsEscape, code})) << int(code);
    }
  }
}

TEST(SmsAlphabet, NationalSingleShiftTablesRoundTrip) {
  struct Table {
    SmsCodecSettings settings;
    std::span<const smscodec::ShiftPair> pairs;
    size_t size;
  };
  const Table tables[] = {
      {kSpanish, smscodec::kSpanishSingle, 18},
      {kPortuguese, smscodec::kPortugueseSingle, 36},
      {kTurkish, smscodec::kTurkishSingle, 16},
  };
  for (const Table &t : tables) {
    EXPECT_EQ(t.pairs.size(), t.size);
    for (const auto &p : t.pairs) {
      const QString c{QChar(p.ucs)};
      EXPECT_EQ(decode({kSmsEscape, p.gsm}, t.settings), c) << int(p.gsm);
      const std::vector<uint8_t> septets = encode(c, t.settings);
      EXPECT_EQ(IfUcs2IsSMS7(units(c), 1, t.settings), 1) << int(p.gsm);
      EXPECT_EQ(decode(septets, t.settings), c) << int(p.gsm);
    }
  }
}

TEST(SmsAlphabet, LockingShiftTables) {
  auto lockDecode = [](int (*fn)(char16_t *, int, const uint8_t *, int), std::vector<uint8_t> septets) {
    QString out(qsizetype(septets.size()), QChar());
    const int n = fn(reinterpret_cast<char16_t *>(out.data()), int(out.size()), septets.data(), int(septets.size()));
    out.truncate(qMax(n, 0));
    return out;
  };
  EXPECT_EQ(lockDecode(SMS7toUcs2_Turkish, {0x04, 0x07, 0x0B, 0x0C, 0x1C, 0x1D, 0x40, 0x60, 0x17, 0x19}),
            QString::fromUtf16(u"€ıĞğŞşİçΨΘ"));
  EXPECT_EQ(lockDecode(SMS7toUcs2_Portuguese, {0x04, 0x12, 0x15, 0x17, 0x19, 0x24, 0x5D, 0x60, 0x7D}),
            QString::fromUtf16(u"êª∞\\ÓºÚ~`"));
  // An escape pair in a locking-shift text reads through the language's single-shift table.
  EXPECT_EQ(lockDecode(SMS7toUcs2_Turkish, {kSmsEscape, 0x47}), QString::fromUtf16(u"Ğ"));
  // Each table holds 127 distinct characters besides the escape; the Turkish ones all travel
  // as GSM with the Turkish table configured.
  for (const auto *table : {&smscodec::kTurkishLocking, &smscodec::kPortugueseLocking}) {
    std::set<char16_t> seen;
    for (int g = 0; g < 128; ++g)
      if (g != kSmsEscape)
        seen.insert((*table)[g]);
    EXPECT_EQ(seen.size(), 127u);
  }
  for (int g = 0; g < 128; ++g) {
    if (g == kSmsEscape)
      continue;
    const QString c{QChar(smscodec::kTurkishLocking[g])};
    EXPECT_EQ(decode(encode(c, kTurkish), kTurkish), c) << g;
  }
}

struct ClassCase {
  const char16_t *text;
  SmsCodecSettings settings;
  int gsm;
  int cost; // septets for GSM, units for UCS2
};

TEST(SmsClassification, TableOfCases) {
  const ClassCase cases[] = {
      {u"", kNone, 1, -1},           {u"Hello", kNone, 1, 5},   {u"€", kNone, 1, 2},       {u"ç", kNone, 1, 2},
      {u"ç", kSpanish, 1, 2},        {u"Ç", kNone, 1, 1},       {u"À", kNone, 1, 1},       {u"θψΘΨ", kNone, 1, 4},
      {u"¤", kNone, 1, 1},           {u"°", kNone, 0, 1}, // would be lost as a space
      {u"a½", kNone, 0, 2},                               // likewise
      {u"ĞğİıŞş", kNone, 0, 6},                           // no Turkish table: the receiver would not show them
      {u"ĞğİıŞş", kSpanish, 0, 6},                        //
      {u"ĞğİıŞş", kTurkish, 1, 12},  {u"[", kSingleUcs2, 0, 1}, {u"á", kSingleUcs2, 0, 1}, {u"á", kNone, 1, 1},
      {u"á", kSpanish, 1, 2},        {u"ê", kNone, 1, 1},       {u"ê", kPortuguese, 1, 2}, {u"中", kNone, 0, 1},
      {u"a\U0001F600", kNone, 0, 3}, {u"\n\r\f", kNone, 1, 4},
  };
  for (const ClassCase &c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(IfUcs2IsSMS7(units(text), int(text.size()), c.settings), c.gsm) << text.toStdString();
    EXPECT_EQ(getInputTextNum(units(text), unsigned(text.size()), c.settings), c.cost) << text.toStdString();
  }
  EXPECT_EQ(IfUcs2IsSMS7(nullptr, 3, kNone), -1);
  EXPECT_EQ(getInputTextNum(nullptr, 3, kNone), -1);
}

TEST(SmsConversion, EncodesEscapesAndNationalCodes) {
  EXPECT_EQ(encode(QStringLiteral("A[b]"), kNone), (std::vector<uint8_t>{0x41, 0x1B, 0x3C, 0x62, 0x1B, 0x3E}));
  EXPECT_EQ(encode(QString::fromUtf16(u"ç"), kNone), (std::vector<uint8_t>{0x1B, 0x63}));
  EXPECT_EQ(encode(QString::fromUtf16(u"ç"), kPortuguese), (std::vector<uint8_t>{0x1B, 0x09}));
  EXPECT_EQ(encode(QString::fromUtf16(u"Ş"), kTurkish), (std::vector<uint8_t>{0x1B, 0x53}));
  // What has no GSM place becomes a space in the converter (the text then goes as UCS2).
  EXPECT_EQ(encode(QString::fromUtf16(u"中°"), kNone), (std::vector<uint8_t>{0x20, 0x20}));
  uint8_t out[4];
  const char16_t ab[] = u"ab";
  EXPECT_EQ(Ucs2toSMS7(nullptr, 4, ab, 2, kNone), -1);
  EXPECT_EQ(Ucs2toSMS7(out, 3, ab, 2, kNone), -1); // needs 2 × count
  EXPECT_EQ(Ucs2toSMS7(out, 0, ab, 0, kNone), -1);
}

TEST(SmsConversion, DecodesEscapes) {
  struct Case {
    std::vector<uint8_t> septets;
    SmsCodecSettings settings;
    const char16_t *expected;
  };
  const Case cases[] = {
      {{0x41, 0x1B}, kNone, u"A "},       // an escape with nothing after it
      {{0x1B, 0x30}, kNone, u" "},        // an undefined escape: a space, never a control character
      {{0x1B, 0x1B, 0x41}, kNone, u" A"}, // the reserved second escape
      {{0x90, 0x41}, kNone, u" A"},
      {{0x1B, 0x49, 0x1B, 0x69}, kNone, u"İı"},
      {{0x1B, 0x49, 0x1B, 0x69}, kTurkish, u"İı"},
      {{0x1B, 0x49, 0x1B, 0x69}, kSpanish, u"Íí"},
      {{0x1B, 0x49, 0x1B, 0x69}, kPortuguese, u"Íí"},
      {{0x1B, 0x05}, kPortuguese, u"ê"},
      {{0x1B, 0x05}, kSpanish, u" "},
  };
  for (const Case &c : cases)
    EXPECT_EQ(decode(c.septets, c.settings), QString::fromUtf16(c.expected));
  char16_t out[2];
  const uint8_t s[] = {0x41, 0x42};
  EXPECT_EQ(SMS7toUcs2(out, 1, s, 2, kNone), -1);
  EXPECT_EQ(SMS7toUcs2(nullptr, 2, s, 2, kNone), -1);
  // Turkish letters keep their shape through a round trip wherever the Turkish table is set.
  const QString turkish = QString::fromUtf16(u"ĞğİıŞş");
  EXPECT_EQ(decode(encode(turkish, kTurkish), kTurkish), turkish);
}

struct PartCase {
  QString text;
  SmsCodecSettings settings;
  int parts;
  int characters;
};

TEST(SmsCounting, PartLimits) {
  const QChar a(u'a'), zh(u'中');
  const QString euro = QString::fromUtf16(u"€");
  const PartCase cases[] = {
      {repeat(a, 160), kNone, 1, 160},
      {repeat(a, 161), kNone, 2, 161},
      {repeat(a, 306), kNone, 2, 306},
      {repeat(a, 307), kNone, 3, 307},
      {repeat(zh, 70), kNone, 1, 70},
      {repeat(zh, 71), kNone, 2, 71},
      {repeat(zh, 134), kNone, 2, 134},
      {repeat(zh, 135), kNone, 3, 135},
      {repeat(a, 153) + euro, kSpanish, 1, 155},
      {repeat(a, 154) + euro, kSpanish, 2, 156},
      {repeat(a, 154) + euro, kNone, 1, 156},
      {repeat(a, 296) + euro, kSpanish, 2, 298},
      {repeat(a, 297) + euro, kSpanish, 3, 299},
      {QString(), kNone, 0, -1},
  };
  for (const PartCase &c : cases) {
    EXPECT_EQ(getInputPackNum(units(c.text), unsigned(c.text.size()), c.settings), c.parts) << c.text.size();
    EXPECT_EQ(getInputTextNum(units(c.text), unsigned(c.text.size()), c.settings), c.characters) << c.text.size();
  }
}

TEST(SmsCounting, LimitsAndMaximum) {
  const QString gsm = QStringLiteral("abc"), national = QString::fromUtf16(u"a€"), ucs2 = QString::fromUtf16(u"中");
  struct Case {
    QString text;
    SmsCodecSettings settings;
    int single, multi, maxFive;
  };
  const Case cases[] = {
      {gsm, kNone, 160, 153, 765},         {gsm, kSpanish, 160, 153, 765},      {national, kNone, 160, 153, 765},
      {national, kSpanish, 155, 149, 745}, {national, kTurkish, 155, 149, 745}, {ucs2, kNone, 70, 67, 335},
  };
  for (const Case &c : cases) {
    const auto *t = units(c.text);
    const unsigned n = unsigned(c.text.size());
    EXPECT_EQ(getSingleMaxLength(t, n, 0, c.settings), c.single);
    EXPECT_EQ(getSingleMaxLength(t, n, 1, c.settings), c.multi);
    EXPECT_EQ(getSingleMaxInputLen(t, n, c.settings), c.multi);
    EXPECT_EQ(getMaxTextNum(t, int(n), 5, c.settings), c.maxFive);
    EXPECT_EQ(getMaxTextNum(t, int(n), 1, c.settings), c.multi); // the multi-part figure, also for one part
  }
}

TEST(SmsCounting, PairsAtASegmentBoundaryMoveToTheNextPart) {
  // 152 septets, then a two-septet character that cannot be split: part 1 ends after 152.
  const QString gsm = repeat(u'a', 152) + QString::fromUtf16(u"€") + repeat(u'a', 152);
  EXPECT_EQ(getInputTextNum(units(gsm), unsigned(gsm.size()), kNone), 306);
  EXPECT_EQ(getInputPackNum(units(gsm), unsigned(gsm.size()), kNone), 3);
  // 66 units, then a surrogate pair: part 1 ends after 66.
  const QString ucs2 = repeat(u'中', 66) + kEmoji + repeat(u'中', 66);
  EXPECT_EQ(getInputTextNum(units(ucs2), unsigned(ucs2.size()), kNone), 134);
  EXPECT_EQ(getInputPackNum(units(ucs2), unsigned(ucs2.size()), kNone), 3);
  // The same lengths without pairs on the boundary stay in two parts.
  const QString plain = repeat(u'a', 151) + QString::fromUtf16(u"€") + repeat(u'a', 153);
  EXPECT_EQ(getInputPackNum(units(plain), unsigned(plain.size()), kNone), 2);
}

TEST(SmsCounting, CutKeepsWholeCharacters) {
  struct Case {
    QString text;
    unsigned parts;
    int kept;
  };
  const QString euro = QString::fromUtf16(u"€");
  const Case cases[] = {
      {repeat(u'a', 770), 5, 765},
      {repeat(u'中', 400), 5, 335},
      {repeat(u'a', 152) + euro + repeat(u'a', 10), 1, 152},   // the escape pair is not halved
      {repeat(u'中', 66) + kEmoji + repeat(u'中', 10), 1, 66}, // nor the surrogate pair
      {repeat(u'a', 152) + euro + repeat(u'a', 700), 5, 152 + 1 + 151 + 3 * 153},
      {repeat(u'a', 100), 5, 100},
      {repeat(u'a', 100), 0, 0},
  };
  for (const Case &c : cases) {
    const int kept = cutMaxTextLen(units(c.text), unsigned(c.text.size()), c.parts, kNone);
    EXPECT_EQ(kept, c.kept) << c.text.size();
    EXPECT_LE(getInputPackNum(units(c.text), unsigned(kept), kNone), int(qMax(c.parts, 1u)));
  }
  EXPECT_EQ(cutMaxTextLen(nullptr, 3, 5, kNone), -1);
}

TEST(SmsCounting, VeryLongPasteNeedsNoStack) {
  // Far more than a thread's stack if any counting step buffered the text there.
  const QString huge = repeat(u'a', 8 * 1024 * 1024) + QString::fromUtf16(u"€");
  const auto *t = units(huge);
  const unsigned n = unsigned(huge.size());
  EXPECT_EQ(getInputTextNum(t, n, kNone), int(n) + 1);
  EXPECT_GT(getInputPackNum(t, n, kNone), 50000);
  EXPECT_EQ(cutMaxTextLen(t, n, 5, kNone), 765);
}

TEST(SmsHelpers, SpecialAndSingleCharacters) {
  EXPECT_EQ(ifUcs2IsSpecial(u"½©™", 3), 1);
  EXPECT_EQ(ifUcs2IsSpecial(u"½a", 2), 0);
  EXPECT_EQ(ifUcs2IsSpecial(nullptr, 1), -1);
  EXPECT_EQ(isSingleCharacter(QStringLiteral("SpanishSingle"), u'á'), 1);
  EXPECT_EQ(isSingleCharacter(QStringLiteral("PortugueseSingle"), u'ê'), 1);
  EXPECT_EQ(isSingleCharacter(QStringLiteral("SpanishSingle"), u'ê'), 0);
  EXPECT_EQ(isSingleCharacter(QStringLiteral("TurkishSingle"), u'Ş'), 0);
  EXPECT_EQ(needUcs2EncodingForSingleCharacter(u'[', kSingleUcs2), 1);
  EXPECT_EQ(needUcs2EncodingForSingleCharacter(u'[', kNone), 0);
  EXPECT_EQ(needUcs2EncodingForSingleCharacter(u'€', kSingleUcs2), 0); // only below U+0100
  const uint8_t withEscape[] = {0x41, 0x1B, 0x65};
  EXPECT_EQ(has0x1b(withEscape, 3), 1);
  EXPECT_EQ(has0x1b(withEscape, 1), 0);
  EXPECT_EQ(hasNationalId(QStringLiteral("TurkishSingle")), 1);
  EXPECT_EQ(hasNationalId(QStringLiteral("GermanSingle")), 0);
}

TEST(SmsHelpers, OneCharacterVariants) {
  uint8_t out[2] = {};
  EXPECT_EQ(CharacterUcs2ToSms7(u'á', out, kNone), 2);
  EXPECT_EQ(out[1], 0x61);
  EXPECT_EQ(CharacterUcs2ToSms7(u'A', out, kNone), 1);
  EXPECT_EQ(out[0], 0x41);
  EXPECT_EQ(CharacterUcs2ToSms7(u'中', out, kNone), 0);
  const uint8_t euro[] = {0x1B, 0x65}, ff[] = {0x1B, 0x0A}, none[] = {0x1B, 0x30}, es[] = {0x1B, 0x4F};
  EXPECT_EQ(CharacterSms7ToUcs2(euro, kNone), u'€');
  EXPECT_EQ(CharacterSms7ToUcs2(ff, kNone), u'\f');
  EXPECT_EQ(CharacterSms7ToUcs2(none, kNone), u' ');
  EXPECT_EQ(CharacterSms7ToUcs2(es, kSpanish), u'Ó');
  EXPECT_EQ(CharacterSms7ToUcs2_Old(es), u' ');
}

} // namespace
