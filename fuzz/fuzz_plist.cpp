// Settings, scenarios and lists arrive as property lists from files anyone may edit.
#include "Plist.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  QVariant v;
  if (Plist::fromData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &v))
    (void)Plist::toXml(v);
  return 0;
}
