#include "StringRegex.h"

#include <unicode/uregex.h>

#include <memory>

namespace StringRegex {

bool isMatchedByRegex(const QString &text, const QString &pattern) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError{};
  std::unique_ptr<URegularExpression, decltype(&uregex_close)> regex(
      uregex_open(reinterpret_cast<const UChar *>(pattern.utf16()), int32_t(pattern.size()), 0, &parseError, &status),
      &uregex_close);
  if (U_FAILURE(status) || !regex)
    return false;
  // QString and UChar are both UTF-16; the text outlives the expression's use of it.
  uregex_setText(regex.get(), reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
  if (U_FAILURE(status))
    return false;
  const bool found = uregex_find(regex.get(), 0, &status);
  return U_SUCCESS(status) && found;
}

} // namespace StringRegex
