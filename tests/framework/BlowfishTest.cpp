#include "Blowfish.h"
#include "BlowFishEncrypt.h"

#include <QByteArray>
#include <cstring>
#include <gtest/gtest.h>

namespace {

uint32_t word(const QByteArray &bytes, int at) {
  return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
         (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
}

QByteArray encipherHex(const QByteArray &keyHex, const char *plainHex) {
  const QByteArray key = QByteArray::fromHex(keyHex);
  const QByteArray plain = QByteArray::fromHex(plainHex);
  BLOWFISH_CTX ctx;
  EXPECT_TRUE(InitializeBlowfish(&ctx, reinterpret_cast<const unsigned char *>(key.constData()), key.size()));
  uint32_t l = word(plain, 0);
  uint32_t r = word(plain, 4);
  Blowfish_encipher(&ctx, &l, &r);
  const QByteArray out =
      QByteArray::number(l, 16).rightJustified(8, '0') + QByteArray::number(r, 16).rightJustified(8, '0');
  uint32_t dl = l, dr = r;
  Blowfish_decipher(&ctx, &dl, &dr);
  EXPECT_EQ(dl, word(plain, 0));
  EXPECT_EQ(dr, word(plain, 4));
  return out.toUpper();
}

struct Vector {
  const char *key, *plain, *cipher;
};

// The published ECB test vectors of the algorithm (8-byte keys).
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

// The published variable-key-length vectors: the first n bytes of one long key.
const char *const kVariableKeyCiphers[] = {
    "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
    "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
    "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
    "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
    "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
};

} // namespace

TEST(Blowfish, ReproducesThePublishedEcbVectors) {
  for (const Vector &v : kEcbVectors)
    EXPECT_EQ(encipherHex(v.key, v.plain), QByteArray(v.cipher)) << "key " << v.key << " plain " << v.plain;
}

TEST(Blowfish, ReproducesTheVariableKeyLengthVectors) {
  const QByteArray longKey = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
  for (int n = 1; n <= 24; ++n)
    EXPECT_EQ(encipherHex(longKey.left(2 * n), "FEDCBA9876543210"), QByteArray(kVariableKeyCiphers[n - 1]))
        << n << " key bytes";
}

TEST(Blowfish, RefusesAnEmptyKey) {
  BLOWFISH_CTX ctx;
  const unsigned char key[1] = {0};
  EXPECT_FALSE(InitializeBlowfish(&ctx, key, 0));
  EXPECT_FALSE(InitializeBlowfish(&ctx, nullptr, 8));
}

TEST(EncryptServicesMain, EnciphersTheTwoDecimalHalvesOfAFifteenDigitImsiAndATrailingZero) {
  const char *imsi = "460001234567890";
  const QByteArray input = QByteArray(imsi) + "0";
  char out[kEncryptServicesOutputSize] = {};
  ASSERT_EQ(EncryptServicesMain(input.constData(), out, sizeof out), kBlowfishOk);
  ASSERT_EQ(std::strlen(out), 16u);
  EXPECT_EQ(QByteArray(out), QByteArray(out).toLower());

  // Deciphering with the fixed key gives the first 8 digits and the last 7 digits with the 0.
  BLOWFISH_CTX ctx;
  InitializeBlowfish(&ctx, reinterpret_cast<const unsigned char *>(kEncryptServicesKey), 16);
  uint32_t l = 0, r = 0;
  ASSERT_TRUE(encoded_string_transform_to_double(out, &l, &r));
  Blowfish_decipher(&ctx, &l, &r);
  EXPECT_EQ(l, 46000123u);
  EXPECT_EQ(r, 45678900u);

  char back[kEncryptServicesOutputSize] = {};
  ASSERT_EQ(DecryptServicesMain(out, back, sizeof back), kBlowfishOk);
  EXPECT_STREQ(back, input.constData());
}

TEST(EncryptServicesMain, InvalidInputAnswersAnErrorAndNoCipherText) {
  struct Case {
    const char *input;
    const char *why;
  } cases[] = {
      {"46000123456789", "too short"},
      {"46000123456789000", "too long"},
      {"46000123456789a0", "a letter"},
      {"4600012345678 90", "a blank"},
      {"", "empty"},
  };
  for (const Case &c : cases) {
    char out[kEncryptServicesOutputSize];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(EncryptServicesMain(c.input, out, sizeof out), kBlowfishInvalidInput) << c.why;
    EXPECT_STREQ(out, "") << c.why;
  }
  char out[kEncryptServicesOutputSize];
  EXPECT_EQ(EncryptServicesMain(nullptr, out, sizeof out), kBlowfishInvalidInput);
  // An output too small for the answer is refused, and only its first byte is touched.
  char small[16];
  std::memset(small, 'X', sizeof small);
  EXPECT_EQ(EncryptServicesMain("4600012345678900", small, sizeof small), kBlowfishBufferTooSmall);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(small[1], 'X') << "nothing written past the answer's terminator";
}

TEST(EncryptServicesMain, ConversionsRefuseWhatTheyCannotRead) {
  uint32_t l = 7, r = 7;
  EXPECT_FALSE(encoded_string_transform_to_double("0123456789abcdeg", &l, &r));
  EXPECT_FALSE(string_to_double("1234567", &l));
  EXPECT_EQ(l, 7u);
  char out[17];
  EXPECT_FALSE(decoded_data_transform_to_string(100000000u, 1, out, sizeof out));
  EXPECT_TRUE(decoded_data_transform_to_string(12, 99999999u, out, sizeof out));
  EXPECT_STREQ(out, "0000001299999999");
  EXPECT_TRUE(unsigned_long_to_string(0xab, out, 9));
  EXPECT_STREQ(out, "000000ab");
  EXPECT_FALSE(unsigned_long_to_string(0xab, out, 8));
}

TEST(BlowFishEncrypt, FillsToWholeBlocksWithHashSigns) {
  BlowFishEncrypt cipher("secret key");
  ASSERT_TRUE(cipher.encipher("460001234567890"));
  const QByteArray fifteen = cipher.ciphertext();
  ASSERT_TRUE(cipher.encipher("460001234567890#"));
  EXPECT_EQ(cipher.ciphertext(), fifteen);
  EXPECT_EQ(fifteen.size(), 32);
  EXPECT_EQ(fifteen, fifteen.toUpper());
  ASSERT_TRUE(cipher.encipher("460001234567891"));
  EXPECT_NE(cipher.ciphertext(), fifteen);
}

TEST(BlowFishEncrypt, OneBlockTextLeavesTheSecondBlockZero) {
  BlowFishEncrypt cipher("k");
  ASSERT_TRUE(cipher.encipher("12345678"));
  const QByteArray text = cipher.ciphertext();
  ASSERT_EQ(text.size(), 32);
  EXPECT_EQ(text.mid(16), QByteArray(16, '0'));
  // The first block is the plain block cipher of the text, big-endian halves.
  BLOWFISH_CTX ctx;
  InitializeBlowfish(&ctx, reinterpret_cast<const unsigned char *>("k"), 1);
  uint32_t l = 0x31323334, r = 0x35363738;
  Blowfish_encipher(&ctx, &l, &r);
  EXPECT_EQ(
      text.left(16),
      (QByteArray::number(l, 16).rightJustified(8, '0') + QByteArray::number(r, 16).rightJustified(8, '0')).toUpper());
}

TEST(BlowFishEncrypt, RefusesTextsItCannotHoldAndNeverEnciphersWithoutAKey) {
  BlowFishEncrypt cipher("key");
  EXPECT_FALSE(cipher.encipher(QByteArray(17, '1')));
  EXPECT_TRUE(cipher.ciphertext().isEmpty());
  EXPECT_FALSE(cipher.encipher(QByteArray(4096, '1')));
  EXPECT_FALSE(cipher.encipher(QByteArray()));
  EXPECT_TRUE(cipher.encipher(QByteArray(16, '1')));

  BlowFishEncrypt keyless = BlowFishEncrypt::initWithSerectKey(nullptr);
  EXPECT_FALSE(keyless.hasKey());
  EXPECT_FALSE(keyless.encipher("123"));
  EXPECT_TRUE(keyless.ciphertext().isEmpty());
}

TEST(BlowFishEncrypt, ZeroBytesAreWrittenAsTwoDigits) {
  EXPECT_EQ(BlowFishEncrypt::formatEncryptResult(QByteArray("\x00\xab\x00\x0f", 4)), QByteArray("00AB000F"));
}
