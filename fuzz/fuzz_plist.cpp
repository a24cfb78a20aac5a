// Settings, scenarios and lists arrive as property lists from files anyone may edit.
#include "Plist.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  QVariant v;
  if (Plist::fromData(bytes, &v))
    (void)Plist::toXml(v);
  // The nesting scan of binary lists sees only inputs with the binary header; give it every input
  // as well, so that the offset table, references and counts it walks are all fuzzed.
  if (!bytes.startsWith("bplist00") && Plist::fromData("bplist00" + bytes, &v))
    (void)Plist::toXml(v);
  return 0;
}
