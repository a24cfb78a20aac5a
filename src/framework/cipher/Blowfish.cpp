#include "Blowfish.h"

#include "BlowfishTables.h"
#include "HexDigits.h"

#include <QLoggingCategory>
#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcCipher, "qel.cipher", QtWarningMsg)

namespace {
constexpr int kRounds = 16;
constexpr size_t kDigits = 16;
constexpr uint32_t kMaxHalf = 99999999U;

bool isAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of a text that must be exactly `wanted` long, without reading past wanted + 1 bytes.
size_t boundedLength(const char *text, size_t wanted) {
  return strnlen(text, wanted + 1);
}

void clearOutput(char *output, size_t outputSize) {
  if (output && outputSize > 0)
    output[0] = '\0';
}
} // namespace

uint32_t F(const BLOWFISH_CTX *ctx, uint32_t x) {
  const uint8_t a = static_cast<uint8_t>(x >> 24);
  const uint8_t b = static_cast<uint8_t>(x >> 16);
  const uint8_t c = static_cast<uint8_t>(x >> 8);
  const uint8_t d = static_cast<uint8_t>(x);
  return ((ctx->S[0][a] + ctx->S[1][b]) ^ ctx->S[2][c]) + ctx->S[3][d];
}

void Blowfish_encipher(const BLOWFISH_CTX *ctx, uint32_t *xl, uint32_t *xr) {
  uint32_t l = *xl;
  uint32_t r = *xr;
  for (int i = 0; i < kRounds; ++i) {
    l ^= ctx->P[i];
    r ^= F(ctx, l);
    const uint32_t t = l;
    l = r;
    r = t;
  }
  const uint32_t t = l;
  l = r;
  r = t;
  r ^= ctx->P[kRounds];
  l ^= ctx->P[kRounds + 1];
  *xl = l;
  *xr = r;
}

void Blowfish_decipher(const BLOWFISH_CTX *ctx, uint32_t *xl, uint32_t *xr) {
  uint32_t l = *xl;
  uint32_t r = *xr;
  for (int i = kRounds + 1; i > 1; --i) {
    l ^= ctx->P[i];
    r ^= F(ctx, l);
    const uint32_t t = l;
    l = r;
    r = t;
  }
  const uint32_t t = l;
  l = r;
  r = t;
  r ^= ctx->P[1];
  l ^= ctx->P[0];
  *xl = l;
  *xr = r;
}

bool InitializeBlowfish(BLOWFISH_CTX *ctx, const unsigned char *key, size_t keyLength) {
  if (!ctx || !key || keyLength == 0)
    return false;
  std::memcpy(ctx->S, kBlowfishInitialS, sizeof ctx->S);
  size_t k = 0;
  for (int i = 0; i < kRounds + 2; ++i) {
    uint32_t data = 0;
    for (int j = 0; j < 4; ++j) {
      data = (data << 8) | key[k];
      k = (k + 1) % keyLength;
    }
    ctx->P[i] = kBlowfishInitialP[i] ^ data;
  }
  uint32_t l = 0;
  uint32_t r = 0;
  for (int i = 0; i < kRounds + 2; i += 2) {
    Blowfish_encipher(ctx, &l, &r);
    ctx->P[i] = l;
    ctx->P[i + 1] = r;
  }
  for (auto &box : ctx->S) {
    for (int j = 0; j < 256; j += 2) {
      Blowfish_encipher(ctx, &l, &r);
      box[j] = l;
      box[j + 1] = r;
    }
  }
  return true;
}

bool transform_imsi_string_to_double_data(const char *digits, uint32_t *left, uint32_t *right) {
  if (!digits || !left || !right || boundedLength(digits, kDigits) != kDigits)
    return false;
  uint32_t halves[2] = {0, 0};
  for (size_t i = 0; i < kDigits; ++i) {
    if (!isAsciiDigit(digits[i]))
      return false;
    halves[i / 8] = halves[i / 8] * 10 + static_cast<uint32_t>(digits[i] - '0');
  }
  *left = halves[0];
  *right = halves[1];
  return true;
}

bool unsigned_long_to_string(uint32_t value, char *out, size_t size) {
  if (!out || size < 9)
    return false;
  std::snprintf(out, size, "%08x", static_cast<unsigned>(value));
  return true;
}

bool encoded_data_transform_to_string(uint32_t left, uint32_t right, char *out, size_t size) {
  if (!out || size < 17)
    return false;
  unsigned_long_to_string(left, out, size);
  unsigned_long_to_string(right, out + 8, size - 8);
  return true;
}

bool string_to_double(const char *hex, uint32_t *value) {
  if (!hex || !value || boundedLength(hex, 8) != 8)
    return false;
  uint32_t v = 0;
  for (size_t i = 0; i < 8; ++i) {
    const int d = hexDigitValue(hex[i]);
    if (d < 0)
      return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

bool encoded_string_transform_to_double(const char *hex, uint32_t *left, uint32_t *right) {
  if (!hex || !left || !right || boundedLength(hex, kDigits) != kDigits)
    return false;
  char half[9] = {};
  uint32_t l = 0;
  uint32_t r = 0;
  std::memcpy(half, hex, 8);
  if (!string_to_double(half, &l))
    return false;
  std::memcpy(half, hex + 8, 8);
  if (!string_to_double(half, &r))
    return false;
  *left = l;
  *right = r;
  return true;
}

bool decoded_data_transform_to_string(uint32_t left, uint32_t right, char *out, size_t size) {
  if (!out || size < 17 || left > kMaxHalf || right > kMaxHalf)
    return false;
  std::snprintf(out, size, "%08u%08u", static_cast<unsigned>(left), static_cast<unsigned>(right));
  return true;
}

namespace {
bool serviceContext(BLOWFISH_CTX *ctx) {
  return InitializeBlowfish(ctx, reinterpret_cast<const unsigned char *>(kEncryptServicesKey),
                            std::strlen(kEncryptServicesKey));
}
} // namespace

int EncryptServicesMain(const char *input, char *output, size_t outputSize) {
  if (!output || outputSize < kDigits + 1) {
    clearOutput(output, outputSize);
    return kBlowfishBufferTooSmall;
  }
  output[0] = '\0';
  if (!input || boundedLength(input, kDigits) != kDigits) {
    std::printf("input param is invalid\n");
    return kBlowfishInvalidInput;
  }
  uint32_t left = 0;
  uint32_t right = 0;
  if (!transform_imsi_string_to_double_data(input, &left, &right)) {
    std::printf("imsi is invalid\n");
    return kBlowfishInvalidInput;
  }
  BLOWFISH_CTX ctx;
  serviceContext(&ctx);
  // The halves are the subscriber's identity: they stay out of any log that is on by default.
  qCDebug(lcCipher, "L1-R1 is %u-%u", static_cast<unsigned>(left), static_cast<unsigned>(right));
  Blowfish_encipher(&ctx, &left, &right);
  encoded_data_transform_to_string(left, right, output, outputSize);
  qCDebug(lcCipher, "encoded_imis is %s", output);
  return kBlowfishOk;
}

int DecryptServicesMain(const char *input, char *output, size_t outputSize) {
  if (!output || outputSize < kDigits + 1) {
    clearOutput(output, outputSize);
    return kBlowfishBufferTooSmall;
  }
  output[0] = '\0';
  uint32_t left = 0;
  uint32_t right = 0;
  if (!encoded_string_transform_to_double(input, &left, &right))
    return kBlowfishInvalidInput;
  BLOWFISH_CTX ctx;
  serviceContext(&ctx);
  Blowfish_decipher(&ctx, &left, &right);
  if (!decoded_data_transform_to_string(left, right, output, outputSize)) {
    output[0] = '\0';
    return kBlowfishInvalidInput;
  }
  return kBlowfishOk;
}
