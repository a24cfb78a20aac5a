// Memory-card contact files come from any writer: any bytes must read without a fault, a record
// made of them must write back to a file that reads the same values, and file names give a
// number within bounds or none.
#include "TCardFiles.h"

#include <QtGlobal>
#include <cstdint>
#include <cstdlib>

namespace {
QByteArray utf16WithMark(const QString &text) {
  QByteArray bytes("\xFF\xFE", 2);
  bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
  return bytes;
}

QString oneLine(QString v) {
  v.replace(QLatin1Char('\r'), QLatin1Char(' '));
  v.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return v;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const QVariantMap entries = TCardFiles::parse(bytes);
  for (auto it = entries.cbegin(); it != entries.cend(); ++it)
    if (it.key().contains(QLatin1Char('=')) || it.key().contains(QLatin1String("\r\n")))
      std::abort();

  PBContactRecord record;
  if (TCardFiles::recordFromEntries(entries, 3, &record)) {
    if (record.value(PBKey::kFileNameNumber).toInt() != 3 || !record.contains(PBKey::kUserName))
      std::abort();
    const QVariantMap back = TCardFiles::parse(utf16WithMark(TCardFiles::contactFileText(record, entries)));
    for (const auto &[fileKey, recordKey] : {std::pair{"Name", PBKey::kUserName},
                                             {"PhoneNumber", PBKey::kMobilePhone},
                                             {"Email", PBKey::kEmail},
                                             {"HomeNumber", PBKey::kHomePhone},
                                             {"OfficeNumber", PBKey::kOfficePhone}}) {
      if (back.value(QLatin1String(fileKey)).toString() != oneLine(record.value(recordKey).toString()))
        std::abort();
    }
    if (back.value(QStringLiteral("Index")).toString() != record.value(PBKey::kIndex).toString())
      std::abort();
  }

  const int number = TCardFiles::fileNumberOfName(QString::fromUtf8(bytes.left(64)));
  if (number < -1 || number > 999999999)
    std::abort();
  return 0;
}
