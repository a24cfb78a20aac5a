// Token lists come from translators and operators: any bytes must parse without a fault, within
// the bounds, and parsing what was read must be stable.
#include "TokenListReader.h"
#include "WordingOperation.h"

#include <QtGlobal>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The checked lookup logs rejected keys; thousands of runs a second need no log.
  static const auto quiet = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  (void)quiet;
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const TokenListReader::Result r = TokenListReader::parse(bytes);
  if (r.table.size() > TokenListReader::kMaxEntries)
    std::abort();
  for (auto it = r.table.cbegin(); it != r.table.cend(); ++it) {
    if (it.key().isEmpty() || it.key().size() > TokenListReader::kMaxKeyLength ||
        it.value().size() > TokenListReader::kMaxValueLength)
      std::abort();
    // Escapes may build surrogates; only whole pairs may come out.
    const QString &v = it.value();
    for (qsizetype i = 0; i < v.size(); ++i) {
      if (v.at(i).isHighSurrogate() && i + 1 < v.size() && v.at(i + 1).isLowSurrogate())
        ++i;
      else if (v.at(i).isSurrogate())
        std::abort();
    }
  }
  if (r.badEntries > 0 && r.firstBadLine <= 0)
    std::abort();
  // The lookup that every label goes through takes any key.
  if (!r.table.isEmpty())
    (void)WordingOperation::getDisplayWordingValueByWordingKey(r.table.cbegin().key());
  return 0;
}
