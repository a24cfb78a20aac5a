// The SIM toolkit's records with any bytes and any length: nothing is read past the data, the
// counts stay within their arrays, and what decodes encodes back into records of fixed size.
#include "StkRecords.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const StkRecords::Menu menu = StkRecords::decodeMenu(bytes);
  if (menu.title.size() > StkRecords::kTitleUnits || menu.items.size() > StkRecords::kMaxItems)
    std::abort();
  for (const QString &item : menu.items)
    if (item.size() > StkRecords::kItemUnits)
      std::abort();
  if (StkRecords::encodeMenu(menu).size() != StkRecords::kMenuSize)
    std::abort();
  const QString text = StkRecords::decodeText(bytes);
  if (text.size() > StkRecords::kTitleUnits || StkRecords::decodeText(StkRecords::encodeText(text)) != text)
    std::abort();
  const StkRecords::Input input = StkRecords::decodeInput(bytes);
  if (StkRecords::encodeInput(input).size() != StkRecords::kInputSize)
    std::abort();
  return 0;
}
