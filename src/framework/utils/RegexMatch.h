#pragma once

#include <QString>

// Pattern tests over ICU regular expressions, the text operation the contact and group checks
// use. A pattern ICU cannot compile answers false (and is logged), never a crash.
namespace RegexMatch {
// True when `pattern` finds a match anywhere in `text`.
bool isMatchedByRegex(const QString &text, const QString &pattern);
} // namespace RegexMatch
