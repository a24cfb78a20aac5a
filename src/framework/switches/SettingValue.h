#pragma once

#include <QVariant>

// How a stored setting reads as a boolean or a number. Operators write these files by hand, so
// a value may be a boolean, a number or text ("YES", "1", "12"); anything else reads as NO or 0.
namespace SettingValue {

// Numbers: not zero. Text: after leading blanks, signs and zeros, starts with Y, y, T, t or a
// digit 1-9 ("NO" and "false" read as NO).
bool toBool(const QVariant &value);
// Numbers truncate toward zero and saturate; text reads its leading decimal integer (0 when
// none), saturating at the int range.
int toInt(const QVariant &value);
double toDouble(const QVariant &value);

} // namespace SettingValue
