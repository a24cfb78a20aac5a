// Any pasted text: counting and cutting never disagree with each other.
#include "SmsCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2 || size > 8192)
    return 0;
  const SmsCodecSettings settings{SmsNational(data[0] % 4), (data[0] & 4) != 0};
  const unsigned parts = 1 + data[1] % 8;
  const auto *text = reinterpret_cast<const char16_t *>(data + 2);
  const unsigned count = unsigned((size - 2) / 2);
  if (count == 0)
    return 0;
  const int characters = getInputTextNum(text, count, settings);
  const int packs = getInputPackNum(text, count, settings);
  if (characters < int(count) || packs < 1)
    abort();
  const int kept = cutMaxTextLen(text, count, parts, settings);
  if (kept < 0 || kept > int(count))
    abort();
  if (kept > 0 && getInputPackNum(text, unsigned(kept), settings) > int(parts) &&
      IfUcs2IsSMS7(text, kept, settings) == IfUcs2IsSMS7(text, int(count), settings))
    abort();
  // Up to the one-part limit a single part may hold more than a part of a longer message does.
  if (parts >= 2 && packs <= int(parts) && kept != int(count))
    abort();
  return 0;
}
