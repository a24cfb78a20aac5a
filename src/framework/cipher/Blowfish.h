#pragma once

#include <cstddef>
#include <cstdint>

// The Blowfish block cipher (64-bit block, 16 rounds) and the fixed-key URL-parameter service.
// The state is passed explicitly, so callers on different threads never share one.
struct BLOWFISH_CTX {
  uint32_t P[18];
  uint32_t S[4][256];
};

// Round function.
uint32_t F(const BLOWFISH_CTX *ctx, uint32_t x);
// Loads the initial tables and runs the key schedule over `keyLength` key bytes (cycled; bytes
// after the 72nd have no effect). An empty key is refused (false, context untouched).
bool InitializeBlowfish(BLOWFISH_CTX *ctx, const unsigned char *key, size_t keyLength);
void Blowfish_encipher(const BLOWFISH_CTX *ctx, uint32_t *xl, uint32_t *xr);
void Blowfish_decipher(const BLOWFISH_CTX *ctx, uint32_t *xl, uint32_t *xr);

// Error answers of the service functions; 0 is success.
enum : int { kBlowfishOk = 0, kBlowfishInvalidInput = -1, kBlowfishBufferTooSmall = -2 };

// The key of the URL-parameter service: 16 hexadecimal characters used as 16 key bytes.
inline constexpr const char *kEncryptServicesKey = "5E0B7A21C94D3F68";
// Room the caller gives for the service's answer (16 characters and the terminating zero fit).
inline constexpr size_t kEncryptServicesOutputSize = 64;

// Enciphers 16 decimal digits (two 8-digit numbers, one block) into 16 lower-case hexadecimal
// characters and a terminating zero. Anything else - a null pointer, another length, a
// character that is not an ASCII digit, an output smaller than 17 bytes - answers an error and
// leaves an empty text in the output (when there is room for one): no cipher text of a block
// that was never the caller's.
int EncryptServicesMain(const char *input, char *output, size_t outputSize);
// The reverse: 16 hexadecimal characters back into the 16 decimal digits.
int DecryptServicesMain(const char *input, char *output, size_t outputSize);

// Conversions of the service. Each answers false (outputs untouched) on input it cannot read.
// Exactly 16 ASCII digits -> two numbers of at most 99,999,999.
bool transform_imsi_string_to_double_data(const char *digits, uint32_t *left, uint32_t *right);
// Two numbers -> 16 lower-case hexadecimal characters and a zero; `size` >= 17.
bool encoded_data_transform_to_string(uint32_t left, uint32_t right, char *out, size_t size);
// One number -> 8 lower-case hexadecimal characters with leading zeros and a zero; `size` >= 9.
bool unsigned_long_to_string(uint32_t value, char *out, size_t size);
// Exactly 16 hexadecimal characters -> two numbers.
bool encoded_string_transform_to_double(const char *hex, uint32_t *left, uint32_t *right);
// Exactly 8 hexadecimal characters (either case) -> one number.
bool string_to_double(const char *hex, uint32_t *value);
// Two numbers of at most 99,999,999 -> two 8-digit decimal fields and a zero; `size` >= 17.
bool decoded_data_transform_to_string(uint32_t left, uint32_t right, char *out, size_t size);
