#include "RegexMatch.h"

#include <QDebug>
#include <unicode/uregex.h>

namespace RegexMatch {

bool isMatchedByRegex(const QString &text, const QString &pattern) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError{};
  URegularExpression *regex =
      uregex_open(reinterpret_cast<const UChar *>(pattern.utf16()), int32_t(pattern.size()), 0, &parseError, &status);
  if (U_FAILURE(status)) {
    qWarning() << "RegexMatch: pattern not compiled:" << pattern << u_errorName(status);
    return false;
  }
  uregex_setText(regex, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
  const bool found = U_SUCCESS(status) && uregex_find(regex, 0, &status) && U_SUCCESS(status);
  uregex_close(regex);
  return found;
}

} // namespace RegexMatch
