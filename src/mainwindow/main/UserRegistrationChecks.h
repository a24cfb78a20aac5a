#pragma once

#include <QString>

// The checks of the user registration sheet, without a window. Each answers the wording key of
// the message to show, or a null string when the text is good.
namespace UserRegistrationChecks {

inline const QString kDobPlaceholder = QStringLiteral("dd/mm/yyyy");

// The whole address, trimmed: a local part, "@", dot-separated labels, the last of 2 to 6 letters.
QString checkEmailValidity(const QString &email);
// Ten digits at the start.
QString checkContactValidity(const QString &contact);
// A day/month/year date somewhere in the text (day 01..31, month 01..12, year not 0000).
QString checkDobValidity(const QString &dob);

} // namespace UserRegistrationChecks
