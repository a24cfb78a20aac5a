#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Fills a configured link template with `values`, in order. The template is data, never a printf
// format: "%@" takes the next value, "%1$@" ... "%9$@" a value by position, "%%" a percent sign;
// every other "%" is kept as it stands (links often hold percent-escapes already). Values are
// percent-encoded, so a value can never add a parameter or change the link's host; a missing
// value leaves its place empty.
QString fillWebLinkTemplate(const QString &format, const QStringList &values);

// A date in a calendar format ("%Y-%m-%d %H:%M:%S"): %Y %y %m %d %e %H %I %M %S %F (milliseconds)
// %p %j %A %a %B %b %Z %z %c %x %X %%; unknown directives are kept as text.
QString formatCalendarDate(const QDateTime &date, const QString &format);

// A date in the system's short date style and medium time style (with seconds).
QString systemDateTimeString(const QDateTime &date);

// Fills a worded format ("Time:%02d:%02d:%02d") with `values`, one per conversion, in order. The
// format comes from a wording file and is data, never a printf format: a conversion ("%d",
// "%02d", "%s", "%@", ...) takes the next value as text (numbers padded to the width, with zeros
// under the "0" flag), "%%" is a percent sign, a conversion without a value is left empty, and
// anything else after "%" is kept as it stands.
QString fillWordedFormat(const QString &format, const QVariantList &values);
