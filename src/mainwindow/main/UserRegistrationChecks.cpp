#include "UserRegistrationChecks.h"

#include "StringRegex.h"

namespace UserRegistrationChecks {

namespace {
// Anchored at both ends: a text that merely starts like an address (a second "@", a one-letter
// last label behind a longer one) is not an address.
const QString kEmailPattern = QStringLiteral(R"(^[a-zA-Z0-9%_.+\-]+@(?:[a-zA-Z0-9\-]+\.)+[a-zA-Z]{2,6}$)");
const QString kContactPattern = QStringLiteral("^[0-9]{10,10}");
const QString kDobPattern = QStringLiteral("(0[1-9]|[1-2][0-9]|31|30)/(0[1-9]|1[0-2])/"
                                           "([0-9]{3}[1-9]|[0-9]{2}[1-9][0-9]{1}|[0-9]{1}[1-9][0-9]{2}|[1-9][0-9]{3})");

QString check(const QString &text, const QString &pattern, const char *notInput, const char *badFormat) {
  if (text.isEmpty())
    return QString::fromLatin1(notInput);
  if (!StringRegex::isMatchedByRegex(text, pattern))
    return QString::fromLatin1(badFormat);
  return QString();
}
} // namespace

QString checkEmailValidity(const QString &email) {
  return check(email.trimmed(), kEmailPattern, "Email address information is not input!",
               "Mail address incorrect format!");
}

QString checkContactValidity(const QString &contact) {
  return check(contact, kContactPattern, "Contact information is not input!", "Contact incorrect format!");
}

QString checkDobValidity(const QString &dob) {
  return check(dob, kDobPattern, "Dob information is not input!", "Dob incorrect format!");
}

} // namespace UserRegistrationChecks
