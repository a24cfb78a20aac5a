#include "BlowFishEncrypt.h"

#include <cstring>

BlowFishEncrypt::BlowFishEncrypt(const QByteArray &serectKey) {
  transforPAndSBoxWithSerectKey(reinterpret_cast<const unsigned char *>(serectKey.constData()),
                                static_cast<size_t>(serectKey.size()));
}

BlowFishEncrypt BlowFishEncrypt::initWithSerectKey(const char *serectKey) {
  return BlowFishEncrypt(serectKey ? QByteArray(serectKey) : QByteArray());
}

bool BlowFishEncrypt::transforPAndSBoxWithSerectKey(const unsigned char *key, size_t keyLength) {
  keyed_ = InitializeBlowfish(&ctx_, key, keyLength);
  std::memset(ciphertext_, 0, sizeof ciphertext_);
  formatted_.clear();
  return keyed_;
}

bool BlowFishEncrypt::setEncryptedtext(const QByteArray &text) {
  if (text.isEmpty() || text.size() > kMaxTextLength)
    return false;
  std::memset(encryptedtext_, 0, sizeof encryptedtext_);
  std::memcpy(encryptedtext_, text.constData(), static_cast<size_t>(text.size()));
  textLength_ = static_cast<int>(text.size());
  return true;
}

QByteArray BlowFishEncrypt::encryptedtext() const {
  return QByteArray(reinterpret_cast<const char *>(encryptedtext_), textLength_);
}

int BlowFishEncrypt::preprocessEncryptedText() {
  const int padded = (textLength_ + 7) / 8 * 8;
  for (int i = textLength_; i < padded; ++i)
    encryptedtext_[i] = static_cast<unsigned char>(kFillCharacter);
  return padded;
}

QByteArray BlowFishEncrypt::formatEncryptResult(const QByteArray &bytes) {
  return bytes.toHex().toUpper();
}

bool BlowFishEncrypt::encipher(const QByteArray &text) {
  formatted_.clear();
  std::memset(ciphertext_, 0, sizeof ciphertext_);
  if (!keyed_ || !setEncryptedtext(text))
    return false;
  const int padded = preprocessEncryptedText();
  for (int off = 0; off < padded; off += 8) {
    const unsigned char *in = encryptedtext_ + off;
    uint32_t l = (uint32_t(in[0]) << 24) | (uint32_t(in[1]) << 16) | (uint32_t(in[2]) << 8) | in[3];
    uint32_t r = (uint32_t(in[4]) << 24) | (uint32_t(in[5]) << 16) | (uint32_t(in[6]) << 8) | in[7];
    encryptLValue(&l, &r);
    unsigned char *out = ciphertext_ + off;
    for (int i = 0; i < 4; ++i) {
      out[i] = static_cast<unsigned char>(l >> (24 - 8 * i));
      out[4 + i] = static_cast<unsigned char>(r >> (24 - 8 * i));
    }
  }
  formatted_ = formatEncryptResult(QByteArray(reinterpret_cast<const char *>(ciphertext_), kMaxTextLength));
  return true;
}

QByteArray BlowFishEncrypt::ciphertext() const {
  return formatted_;
}
