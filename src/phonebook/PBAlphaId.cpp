#include "PBAlphaId.h"

#include "SimAlphaIdLength.h"
#include "SmsCodec.h"

#include <array>

namespace PBAlphaId {
namespace {

// GSM default-alphabet code of each character 0..127; 0x20 where the alphabet has none.
const std::array<uint8_t, 128> &defaultAlphabetCodes() {
  static const std::array<uint8_t, 128> table = [] {
    std::array<uint8_t, 128> t;
    t.fill(0x20);
    for (int septet = 127; septet >= 0; --septet) {
      const char16_t c = smsDefaultAlphabet(uint8_t(septet));
      if (c < 128)
        t[c] = uint8_t(septet);
    }
    return t;
  }();
  return table;
}

uint8_t defaultCode(char16_t c) {
  return c < 128 ? defaultAlphabetCodes()[c] : 0x20;
}

} // namespace

QString encodeAlphaId(const QString &name) {
  if (name.isEmpty())
    return {};
  QByteArray bytes;
  int block = -1;
  const SimAlphaId::Form form = SimAlphaId::formOf(name, &block);
  const auto blockByte = [](char16_t c) { return c > 127 ? uint8_t((c & 0x7F) | 0x80) : defaultCode(c); };
  switch (form) {
  case SimAlphaId::Form::Plain:
    for (QChar c : name)
      bytes.append(char(defaultCode(c.unicode())));
    break;
  case SimAlphaId::Form::Block81:
    bytes.append(char(0x81));
    bytes.append(char(name.size() & 0xFF));
    bytes.append(char(block));
    for (QChar c : name)
      bytes.append(char(blockByte(c.unicode())));
    break;
  case SimAlphaId::Form::Block82: {
    const int base = block * 128;
    bytes.append(char(0x82));
    bytes.append(char(name.size() & 0xFF));
    bytes.append(char((base >> 8) & 0xFF));
    bytes.append(char(base & 0xFF));
    for (QChar c : name)
      bytes.append(char(blockByte(c.unicode())));
    break;
  }
  case SimAlphaId::Form::Ucs2:
    bytes.append(char(0x80));
    for (QChar c : name) {
      bytes.append(char(c.unicode() >> 8));
      bytes.append(char(c.unicode() & 0xFF));
    }
    break;
  }
  return QString::fromLatin1(bytes.toHex()).toUpper();
}

QString reSetNameStrWithInputName(const QString &name, int maxBytes) {
  QString cut = name;
  while (!cut.isEmpty() && SimAlphaId::encodedLength(cut) > maxBytes)
    cut.chop(1);
  return cut;
}

} // namespace PBAlphaId
