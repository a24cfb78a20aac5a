#pragma once

#include <QString>

// String operations by regular expression, with ICU's regular expressions (the syntax the
// configuration's and the checks' expressions are written in).
namespace StringRegex {

// Whether `pattern` matches somewhere in `text` (a search, not a whole match unless the pattern
// is anchored). A pattern ICU refuses matches nothing.
bool isMatchedByRegex(const QString &text, const QString &pattern);

} // namespace StringRegex
