// The USSD reply record with any bytes and any length: the decoded text never exceeds the text
// field, and a request built from any text either fits the record or is refused.
#include "UssdRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  for (bool gsm7 : {true, false}) {
    const UssdRecord::Reply r = UssdRecord::decodeReply(bytes, gsm7);
    if (r.text.size() > UssdRecord::kTextSize * 2)
      std::abort();
  }
  (void)UssdRecord::ucs2FromHex(bytes);
  const QByteArray request = UssdRecord::requestData(1, 15, QString::fromUtf8(bytes), size % 2 == 0);
  if (!request.isEmpty() && request.size() != UssdRecord::kRecordSize)
    std::abort();
  return 0;
}
