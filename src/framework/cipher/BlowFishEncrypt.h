#pragma once

#include "Blowfish.h"

#include <QByteArray>
#include <cstdint>

// What a key-schedule-and-encipher object offers its callers.
class BlowFishEncryptProtocol {
public:
  virtual ~BlowFishEncryptProtocol() = default;
  virtual bool encipher(const QByteArray &text) = 0;
  virtual QByteArray ciphertext() const = 0;
};

// The cipher object of the keyed URL pattern: the text, filled up with "#" to whole blocks, is
// enciphered block by block, and the first 16 cipher-text bytes are shown as 32 upper-case
// hexadecimal characters.
class BlowFishEncrypt : public BlowFishEncryptProtocol {
public:
  static constexpr int kBufferSize = 64;
  // The formatted answer shows 16 cipher bytes, so that is the longest text taken.
  static constexpr int kMaxTextLength = 16;
  static constexpr char kFillCharacter = '#';

  // An empty key leaves the object without a key: every encipher then fails.
  explicit BlowFishEncrypt(const QByteArray &serectKey);
  static BlowFishEncrypt initWithSerectKey(const char *serectKey);

  bool hasKey() const { return keyed_; }

  // Enciphers 1 to 16 bytes. A longer or empty text, or no key, answers false and leaves the
  // cipher text empty; nothing is written beyond the buffers.
  bool encipher(const QByteArray &text) override;
  // 32 upper-case hexadecimal characters after a successful encipher, else empty.
  QByteArray ciphertext() const override;

  void encryptLValue(uint32_t *l, uint32_t *r) const { Blowfish_encipher(&ctx_, l, r); }
  uint32_t getCipherTextFromSboxByValue(uint32_t x) const { return F(&ctx_, x); }
  bool setEncryptedtext(const QByteArray &text);
  QByteArray encryptedtext() const;
  // Fills the input up to the next multiple of 8 bytes; answers the padded length.
  int preprocessEncryptedText();
  // The hexadecimal form of `bytes` (two digits a byte, high digit first, upper case).
  static QByteArray formatEncryptResult(const QByteArray &bytes);
  bool transforPAndSBoxWithSerectKey(const unsigned char *key, size_t keyLength);

private:
  BLOWFISH_CTX ctx_{};
  bool keyed_ = false;
  unsigned char encryptedtext_[kBufferSize] = {};
  int textLength_ = 0;
  unsigned char ciphertext_[kBufferSize] = {};
  QByteArray formatted_;
};
