// Hexadecimal text arrives from the backend as USSD replies and SIM alpha identifiers.
#include "SmsPacking.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 4096)
    return 0;
  const std::string text(reinterpret_cast<const char *>(data), size);
  const int n = int(text.size());

  std::vector<uint8_t> bytes(size_t(n / 2) + 1);
  String2Bytes(text.c_str(), bytes.data(), n);
  ASCtoHex(bytes.data(), int(bytes.size()), text.c_str(), n);
  std::vector<char> digits(size_t(n) + 1);
  HextoASC(digits.data(), int(digits.size()), bytes.data(), n);

  char16_t units[257];
  Usc2orGSM7toAscDecode(text.c_str(), units);

  const SmsCodecSettings settings{SmsNational(n % 4), false};
  const QString reply = DecodeTheFeedbackStringWithGSM7(QString::fromLatin1(text.data(), n), settings);
  // A reply re-encodes and decodes to itself when it holds only GSM characters.
  (void)CodeTheSendingString(reply, settings);
  return 0;
}
