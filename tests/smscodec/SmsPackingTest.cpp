#include "SmsPacking.h"
#include "SmsCodec.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace {

QString hexOf(const uint8_t *bytes, int n) {
  std::vector<char> out(size_t(2 * n) + 1);
  Bytes2String(bytes, out.data(), n);
  return QString::fromLatin1(out.data());
}

std::vector<uint8_t> septetsOf(const char *ascii) {
  std::vector<uint8_t> s;
  for (const char *p = ascii; *p; ++p)
    s.push_back(uint8_t(*p)); // the ASCII letters and digits share the GSM codes
  return s;
}

TEST(SeptetPacking, Encode7bitWritesOneOctetPerSeptetOutsideTheGroupStart) {
  uint8_t out[16] = {};
  const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Encode7bit(eight, out, 8), 7);
  const uint8_t one[] = {0x41};
  EXPECT_EQ(Encode7bit(one, out, 1), 0);
  const uint8_t padded[] = {0x41, 0x00};
  EXPECT_EQ(Encode7bit(padded, out, 2), 1);
  EXPECT_EQ(out[0], 0x41);
  EXPECT_EQ(Encode7bit(nullptr, out, 1), -1);
  EXPECT_EQ(Encode7bit(one, out, 0), -1);
}

TEST(SeptetPacking, KnownText) {
  std::vector<uint8_t> s = septetsOf("hellohello");
  s.push_back(0); // the padding septet that flushes the last octet
  uint8_t out[16] = {};
  const int n = Encode7bit(s.data(), out, int(s.size()));
  EXPECT_EQ(hexOf(out, n), QStringLiteral("E8329BFD4697D9EC37"));
  uint8_t back[16];
  EXPECT_EQ(Decode7bit(out, back, 7), 8);
  EXPECT_EQ(back[8], 0);
  EXPECT_EQ(QByteArray(reinterpret_cast<char *>(back), 8), QByteArray("hellohel"));
}

TEST(SeptetPacking, LengthsAroundTheGroupOfEight) {
  // n mod 8 = 0 and 7: ceil(7n/8) octets, and unpacking gives the septets back.
  for (int n : {7, 8, 15, 16, 63, 64, 159, 160}) {
    std::vector<uint8_t> s(size_t(n) + 1, 0);
    for (int i = 0; i < n; ++i)
      s[size_t(i)] = uint8_t((i * 37 + 5) & 0x7F);
    std::vector<uint8_t> packed(size_t(n) + 1, 0);
    const int octets = Encode7bit(s.data(), packed.data(), n + 1);
    EXPECT_EQ(octets, (7 * n + 7) / 8) << n;
    std::vector<uint8_t> zeroed(size_t(n) + 1, 0);
    EXPECT_EQ(packSeptetsAt(s.data(), n, zeroed.data(), 0), octets) << n;
    EXPECT_EQ(std::vector<uint8_t>(zeroed.begin(), zeroed.begin() + octets),
              std::vector<uint8_t>(packed.begin(), packed.begin() + octets));
    std::vector<uint8_t> back(size_t(octets + octets / 7) + 1);
    const int count = Decode7bit(packed.data(), back.data(), octets);
    EXPECT_EQ(count, octets + octets / 7);
    ASSERT_GE(count, n);
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + n), std::vector<uint8_t>(s.begin(), s.begin() + n));
  }
}

TEST(HexText, BytesAndDigits) {
  uint8_t bytes[4] = {};
  EXPECT_EQ(String2Bytes("0A1B", bytes, 4), 2);
  EXPECT_EQ(bytes[0], 0x0A);
  EXPECT_EQ(bytes[1], 0x1B);
  char text[8];
  EXPECT_EQ(Bytes2String(bytes, text, 2), 4);
  EXPECT_STREQ(text, "0A1B");
  EXPECT_EQ(String2Bytes("ff", bytes, 2), 1);
  EXPECT_EQ(bytes[0], 0xFF);

  char digits[4];
  const uint8_t ab[] = {0xAB, 0xCD};
  EXPECT_EQ(HextoASC(digits, 4, ab, 3), 0);
  EXPECT_EQ(QByteArray(digits, 3), QByteArray("ABC"));
  EXPECT_EQ(HextoASC(digits, 3, ab, 3), -1);
  uint8_t out[3];
  EXPECT_EQ(ASCtoHex(out, 3, "ABC", 3), 0);
  EXPECT_EQ(out[0], 0xAB);
  EXPECT_EQ(out[1], 0xC0);
  EXPECT_EQ(ASCtoHex(out, 2, "ABCD", 4), -1);
}

TEST(HexText, Ucs2ByteOrder) {
  const char16_t in[] = {0xFFFF, u'中', u'A'};
  uint8_t be[4];
  EXPECT_EQ(EncodeUcs2(reinterpret_cast<const uint8_t *>(in), be, 2), 4);
  EXPECT_EQ(hexOf(be, 4), QStringLiteral("4E2D0041"));
  char16_t back[3];
  EXPECT_EQ(DecodeUcs2(be, reinterpret_cast<uint8_t *>(back), 4), 4);
  EXPECT_EQ(back[0], u'中');
  EXPECT_EQ(back[1], u'A');
  EXPECT_EQ(back[2], 0);
}

TEST(AlphaIdentifiers, AllTagsDecode) {
  const char16_t name[] = {u'Ж', u'x'};
  uint8_t id[8];
  EXPECT_EQ(utUcs2ToAlphaId(id, 8, name, 2), 0);
  EXPECT_EQ(hexOf(id, 5), QStringLiteral("8004160078"));
  EXPECT_EQ(utUcs2ToAlphaId(id, 4, name, 2), kAlphaIdError);

  char16_t out[8];
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, id, 5), 2);
  EXPECT_EQ(out[0], u'Ж');
  const uint8_t padded[] = {0x80, 0x00, 0x41, 0xFF, 0xFF};
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, padded, 5), 1);
  const uint8_t gsm[] = {0x41, 0x42, 0xFF};
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, gsm, 3), 2);
  // 0x81: eight-bit offsets on a base of byte × 128.
  const uint8_t x81[] = {0x81, 0x03, 0x08, 0x41, 0x96, 0xAA};
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, x81, 6), 3);
  EXPECT_EQ(out[0], u'A');
  EXPECT_EQ(out[1], char16_t(0x0400 + 0x16));
  EXPECT_EQ(out[2], char16_t(0x0400 + 0x2A));
  // 0x82: a sixteen-bit base.
  const uint8_t x82[] = {0x82, 0x02, 0x05, 0x00, 0x80, 0x42};
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, x82, 6), 2);
  EXPECT_EQ(out[0], char16_t(0x0500));
  EXPECT_EQ(out[1], u'B');
  const uint8_t unknown[] = {0x90, 0x00};
  EXPECT_EQ(utAlphaIdToUcs2(out, 8, unknown, 2), kAlphaIdError);
  EXPECT_EQ(utAlphaIdToUcs2(out, 1, x81, 6), kAlphaIdError);

  char16_t units[257];
  EXPECT_EQ(Usc2orGSM7toAscDecode("800041004200", units), 0);
  EXPECT_EQ(units[0], 2);
  EXPECT_EQ(units[2], u'B');
  EXPECT_EQ(Usc2orGSM7toAscDecode("414243", units), 0);
  EXPECT_EQ(units[0], 3);
  EXPECT_EQ(units[3], u'C');
  EXPECT_EQ(Usc2orGSM7toAscDecode(std::string(600, '4').c_str(), units), -1);
}

TEST(Ussd, RequestsArePackedWithCarriageReturnPadding) {
  const SmsCodecSettings none;
  EXPECT_EQ(CodeTheSendingString(QStringLiteral("*100#"), none), QStringLiteral("AA180C3602"));
  // Seven characters leave seven spare bits: they hold a carriage return, not an "@".
  const QString seven = CodeTheSendingString(QStringLiteral("1234567"), none);
  ASSERT_EQ(seven.size(), 14);
  EXPECT_EQ(seven.right(2).toUInt(nullptr, 16) >> 1, 0x0Du);
  EXPECT_EQ(DecodeTheFeedbackStringWithGSM7(seven, none), QStringLiteral("1234567"));
  // A wanted carriage return on an octet boundary gets a second one, so that it is not taken
  // for padding; two carriage returns mean the same as one.
  const QString cr = CodeTheSendingString(QStringLiteral("1234567\r"), none);
  EXPECT_EQ(cr.size(), 16);
  EXPECT_EQ(DecodeTheFeedbackStringWithGSM7(cr, none), QStringLiteral("1234567\r\r"));
  for (const QString &text : {QStringLiteral("Balance: 10.50 EUR"), QString::fromUtf16(u"Saldo ¤ [1] €"),
                              QStringLiteral("12345678"), QStringLiteral("x")})
    EXPECT_EQ(DecodeTheFeedbackStringWithGSM7(CodeTheSendingString(text, none), none), text);
  EXPECT_EQ(DecodeTheFeedbackStringWithGSM7(QStringLiteral("AA180C3602"), none), QStringLiteral("*100#"));
  EXPECT_TRUE(DecodeTheFeedbackStringWithGSM7(QString(), none).isEmpty());
  EXPECT_TRUE(CodeTheSendingString(QString(), none).isEmpty());
}

} // namespace
