#include "SmsPacking.h"

#include "HexDigits.h"
#include "SmsCodec.h"

#include <QtEndian>
#include <cstring>
#include <vector>

namespace {

char16_t alphaCharacter(uint8_t b, int base, bool *ok) {
  if (b >= 0x80) {
    const int u = base + (b & 0x7F);
    *ok = u <= 0xFFFF;
    return char16_t(u);
  }
  return smsDefaultAlphabet(b);
}

} // namespace

int packSeptetsAt(const uint8_t *septets, int n, uint8_t *out, int startBit) {
  int bit = startBit;
  for (int i = 0; i < n; ++i, bit += 7) {
    const unsigned v = septets[i] & 0x7F;
    out[bit / 8] |= uint8_t(v << (bit % 8));
    if (bit % 8 > 1)
      out[bit / 8 + 1] |= uint8_t(v >> (8 - bit % 8));
  }
  return (bit + 7) / 8;
}

int Encode7bit(const uint8_t *septets, uint8_t *out, int n) {
  if (!septets || !out || n < 1)
    return -1;
  int written = 0;
  uint8_t left = 0;
  for (int i = 0; i < n; ++i) {
    const int k = i & 7;
    const uint8_t s = septets[i] & 0x7F;
    if (k == 0) {
      left = s;
    } else {
      out[written++] = uint8_t((s << (8 - k)) | left);
      left = uint8_t(s >> k);
    }
  }
  return written;
}

int Decode7bit(const uint8_t *octets, uint8_t *out, int n) {
  if (!octets || !out || n < 0)
    return -1;
  const int count = n + n / 7;
  for (int i = 0; i < count; ++i)
    out[i] = get7bitChar(octets, n, i * 7);
  out[count] = 0;
  return count;
}

uint8_t get7bitChar(const uint8_t *octets, int nOctets, int bitPosition) {
  if (!octets || bitPosition < 0 || nOctets <= 0)
    return 0;
  const int index = bitPosition / 8;
  const int shift = bitPosition % 8;
  unsigned v = index < nOctets ? octets[index] : 0;
  if (index + 1 < nOctets)
    v |= unsigned(octets[index + 1]) << 8;
  return uint8_t((v >> shift) & 0x7F);
}

int String2Bytes(const char *hex, uint8_t *out, int nChars) {
  if (!hex || !out || nChars < 0)
    return -1;
  for (int i = 0; i + 1 < nChars; i += 2) {
    const int hi = hexDigitValue(hex[i]), lo = hexDigitValue(hex[i + 1]);
    out[i / 2] = uint8_t(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo));
  }
  return nChars / 2;
}

int Bytes2String(const uint8_t *bytes, char *out, int n) {
  if (!bytes || !out || n < 0)
    return -1;
  for (int i = 0; i < n; ++i) {
    out[2 * i] = kHexDigits[bytes[i] >> 4];
    out[2 * i + 1] = kHexDigits[bytes[i] & 0x0F];
  }
  out[2 * n] = '\0';
  return 2 * n;
}

int HextoASC(char *out, int outSize, const uint8_t *bytes, int nDigits) {
  if (!out || !bytes || nDigits < 0 || outSize < nDigits + 1)
    return -1;
  for (int i = 0; i < nDigits; ++i)
    out[i] = kHexDigits[(i % 2 == 0) ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F];
  return 0;
}

int ASCtoHex(uint8_t *out, int outSize, const char *hex, int nChars) {
  if (!out || !hex || nChars < 0 || outSize < nChars / 2 + 1)
    return -1;
  std::memset(out, 0, size_t(outSize));
  for (int i = 0; i < nChars; ++i) {
    const int v = hexDigitValue(hex[i]);
    out[i / 2] |= uint8_t((v < 0 ? 0 : v) << ((i % 2 == 0) ? 4 : 0));
  }
  return 0;
}

int EncodeUcs2(const uint8_t *in, uint8_t *out, int n) {
  if (!in || !out || n < 0)
    return -1;
  for (int i = 0; i < n; ++i) {
    char16_t u;
    std::memcpy(&u, in + 2 + 2 * i, 2);
    qToBigEndian<quint16>(u, out + 2 * i);
  }
  return 2 * n;
}

int DecodeUcs2(const uint8_t *in, uint8_t *out, int nBytes) {
  if (!in || !out || nBytes < 0)
    return -1;
  const int pairs = nBytes / 2;
  for (int i = 0; i < pairs; ++i) {
    const char16_t u = qFromBigEndian<quint16>(in + 2 * i);
    std::memcpy(out + 2 * i, &u, 2);
  }
  if (nBytes % 2)
    out[nBytes - 1] = in[nBytes - 1];
  out[nBytes] = 0;
  out[nBytes + 1] = 0;
  return nBytes;
}

int Encode8bit(const uint8_t *in, uint8_t *out, int n) {
  if (!in || !out || n < 0)
    return -1;
  std::memcpy(out, in, size_t(n));
  return n;
}

int Decode8bit(const uint8_t *in, uint8_t *out, int n) {
  if (!in || !out || n < 0)
    return -1;
  std::memcpy(out, in, size_t(n));
  out[n] = 0;
  return n;
}

int utUcs2ToAlphaId(uint8_t *out, uint16_t outSize, const char16_t *units, uint16_t n) {
  if (!out || !units || outSize < 1 + 2 * int(n))
    return kAlphaIdError;
  out[0] = 0x80;
  for (int i = 0; i < n; ++i)
    qToBigEndian<quint16>(units[i], out + 1 + 2 * i);
  return 0;
}

int utAlphaIdToUcs2(char16_t *out, int outCount, const uint8_t *id, int n, const SmsCodecSettings &settings) {
  if (!out || !id || n < 1 || outCount < 0)
    return kAlphaIdError;
  // Unused bytes of a SIM record are 0xFF.
  while (n > 1 && id[n - 1] == 0xFF)
    --n;
  const uint8_t tag = id[0];
  if (tag < 0x80) {
    if (outCount < n)
      return kAlphaIdError;
    return SMS7toUcs2(out, outCount, id, n, settings);
  }
  if (tag == 0x80) {
    int written = 0;
    for (int i = 1; i + 1 < n; i += 2) {
      const char16_t u = qFromBigEndian<quint16>(id + i);
      if (u == 0xFFFF)
        break;
      if (written >= outCount)
        return kAlphaIdError;
      out[written++] = u;
    }
    return written;
  }
  if (tag != 0x81 && tag != 0x82)
    return kAlphaIdError;
  const int headerSize = tag == 0x81 ? 3 : 4;
  if (n < headerSize)
    return kAlphaIdError;
  const int count = qMin<int>(id[1], n - headerSize);
  const int base = tag == 0x81 ? id[2] << 7 : (id[2] << 8) | id[3];
  if (outCount < count)
    return kAlphaIdError;
  for (int i = 0; i < count; ++i) {
    bool ok = true;
    out[i] = alphaCharacter(id[headerSize + i], base, &ok);
    if (!ok)
      out[i] = u' ';
  }
  return count;
}

int Usc2orGSM7toAscDecode(const char *hex, char16_t *out, const SmsCodecSettings &settings) {
  if (!hex || !out)
    return -1;
  const size_t len = strnlen(hex, 512);
  if (len >= 512)
    return -1;
  uint8_t bytes[256];
  const int n = String2Bytes(hex, bytes, int(len));
  out[0] = 0;
  if (n <= 0)
    return 0;
  int units;
  if (bytes[0] >= 0x80)
    units = utAlphaIdToUcs2(out + 1, 256, bytes, n, settings);
  else
    units = SMS7toUcs2(out + 1, 256, bytes, n, settings);
  if (units < 0 || units == kAlphaIdError)
    return -1;
  out[0] = char16_t(units);
  return 0;
}

QString CodeTheSendingString(const QString &text, const SmsCodecSettings &settings) {
  if (text.isEmpty())
    return {};
  const int count = int(text.size());
  std::vector<uint8_t> septets(size_t(2 * count) + 2);
  int n = Ucs2toSMS7(septets.data(), 2 * count, reinterpret_cast<const char16_t *>(text.utf16()), count, settings);
  if (n <= 0)
    return {};
  // Seven spare bits would read as "@": pad with a carriage return. A carriage return that ends
  // the text on an octet boundary would be taken for that padding: add another.
  if (n % 8 == 7 || (n % 8 == 0 && septets[size_t(n) - 1] == '\r'))
    septets[size_t(n++)] = '\r';
  std::vector<uint8_t> octets(size_t(n), 0);
  const int nOctets = packSeptetsAt(septets.data(), n, octets.data(), 0);
  std::vector<char> hex(size_t(2 * nOctets) + 1);
  Bytes2String(octets.data(), hex.data(), nOctets);
  return QString::fromLatin1(hex.data(), 2 * nOctets);
}

QString DecodeTheFeedbackStringWithGSM7(const QString &hex, const SmsCodecSettings &settings) {
  const QByteArray ascii = hex.trimmed().toLatin1();
  const int nOctets = int(ascii.size() / 2);
  if (nOctets == 0)
    return {};
  std::vector<uint8_t> octets(static_cast<size_t>(nOctets));
  String2Bytes(ascii.constData(), octets.data(), 2 * nOctets);
  std::vector<uint8_t> septets(size_t(nOctets + nOctets / 7) + 1);
  int n = Decode7bit(octets.data(), septets.data(), nOctets);
  // Seven spare bits at the end hold the padding carriage return.
  if (nOctets % 7 == 0 && n > 0 && septets[size_t(n) - 1] == '\r')
    --n;
  QString out(n, Qt::Uninitialized);
  const int units = SMS7toUcs2(reinterpret_cast<char16_t *>(out.data()), n, septets.data(), n, settings);
  out.truncate(qMax(units, 0));
  return out;
}
