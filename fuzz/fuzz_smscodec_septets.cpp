// Septets and alpha identifiers come from the network and the SIM: unpack and convert any bytes.
#include "SmsCodec.h"
#include "SmsPacking.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1 || size > 4096)
    return 0;
  const SmsCodecSettings settings{SmsNational(data[0] % 4), (data[0] & 4) != 0};
  const uint8_t *bytes = data + 1;
  const int n = int(size - 1);

  std::vector<uint8_t> septets(size_t(n + n / 7) + 1);
  const int count = Decode7bit(bytes, septets.data(), n);
  if (count != n + n / 7 || septets[size_t(count)] != 0)
    abort();
  for (int i = 0; i < count; ++i)
    if (septets[size_t(i)] > 0x7F)
      abort();

  std::vector<char16_t> units(size_t(n) + 1);
  if (n > 0) {
    if (SMS7toUcs2(units.data(), n, bytes, n, settings) > n)
      abort();
    SMS7toUcs2_Turkish(units.data(), n, bytes, n);
    SMS7toUcs2_Portuguese(units.data(), n, bytes, n);
    utAlphaIdToUcs2(units.data(), n, bytes, n, settings);
  }
  // Whatever comes out converts back without growing past twice its length.
  if (count > 0) {
    const int decoded = SMS7toUcs2(units.data(), int(units.size()), septets.data(), qMin(count, n), settings);
    if (decoded > 0) {
      std::vector<uint8_t> again(size_t(2 * decoded));
      if (Ucs2toSMS7(again.data(), int(again.size()), units.data(), decoded, settings) > 2 * decoded)
        abort();
    }
  }
  return 0;
}
