// The connection records file is read by its own scanner before the general plist reader; both
// take whatever lies in the ModemList folder. What is read must write back and read the same.
#include "DialRecordFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  DialRecordList records;
  if (!DialRecordFile::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &records))
    return 0;
  DialRecordList again;
  if (!DialRecordFile::parse(DialRecordFile::toXml(records), &again) || again.size() != records.size())
    std::abort();
  return 0;
}
