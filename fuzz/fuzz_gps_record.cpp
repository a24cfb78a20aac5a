// The GPS position record with any bytes and any length: every text stays within its 20 bytes.
#include "GpsRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const GpsRecord::Position p = GpsRecord::decode(bytes);
  for (const QString &t : {p.latitude, p.longitude, p.altitude, p.velocity[0], p.velocity[1], p.velocity[2]})
    if (t.size() > GpsRecord::kTextSize)
      std::abort();
  if (GpsRecord::encode(p).size() != GpsRecord::kSize)
    std::abort();
  return 0;
}
