// Whatever the user types into an address field comes out as a well-formed value.
#include "QELFormatter.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
  static const QRegularExpression kDotted(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
  const QString ip = IPAddressFormatter().stringForObjectValue(text);
  const QRegularExpressionMatch m = kDotted.match(ip);
  if (!m.hasMatch())
    std::abort();
  for (int i = 1; i <= 4; ++i) {
    if (m.captured(i).toInt() > 255)
      std::abort();
  }
  const QString phone = TPAddressFormatter().stringForObjectValue(text);
  if (!text.startsWith(phone))
    std::abort();
  for (const QChar c : phone) {
    if (!TPAddressFormatter::isAllowedCharacter(c) || c.unicode() > 0x7f)
      std::abort();
  }
  return 0;
}
