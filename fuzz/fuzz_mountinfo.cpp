// The mount table and the memory card's key-value files are text nobody vouches for.
#include "QelFileManager.h"
#include "TcardVolume.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  // No sysfs: only the table's own text decides.
  const TcardLocator locator({QStringLiteral("/nonexistent-sys"), QString(), 0xF0E1});
  (void)locator.mountPathOfDiskInTable(bytes, QStringLiteral("sdb"));
  (void)TcardLocator::unescapeMountField(bytes);
  (void)QelFileManager::parseKeyValueData(bytes, QStringLiteral("\r\n"), QStringLiteral("="), QStringConverter::Utf16);
  (void)QelFileManager::parseKeyValueData(bytes, QStringLiteral("\n"), QStringLiteral("="));
  return 0;
}
