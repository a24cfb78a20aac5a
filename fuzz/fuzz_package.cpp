// Any bytes from the backend: decoding either refuses them or yields a package whose data length
// lies within the data field, and re-encoding gives back a well-formed package.
#include "UIMsg.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  UIMsg msg;
  if (!UIMsg::decode(bytes, &msg))
    return 0;
  if (msg.dataLength < 0 || msg.dataLength > UIMsg::kDataSize)
    abort();
  UIMsg again;
  if (!UIMsg::decode(msg.encode(), &again) || again.payload() != msg.payload())
    abort();
  return 0;
}
