#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// The text a message shows, web addresses in it, and its search match.
namespace SmsMessageText {

struct Link {
  QString linkAddress; // exactly as in the text
  int location = 0;    // UTF-16 units from the start of the text
  int length = 0;
  bool operator==(const Link &) const = default;
};

// The text of a record: a flat draft's own "messagetext", else that of "concatSmsInfo" for a
// long message or "smsInfo" for a single one.
QString textOf(const QVariantMap &record);

// The addresses that start with "http://", "ftp://", "https://" or "www." (any case) and end
// before a space, carriage return, line feed or tab; one that runs to the end of the text is
// no link. Later links come first.
QList<Link> findHyperlinks(const QString &text);
// The address a link opens: "www." ones as "http://...".
QString urlOfLink(const QString &address);
// The text as HTML with every link blue, underlined and pointing at its address.
QString linkedHtml(const QString &text);

// Whether the key is in the field, ignoring case; an empty field never matches.
bool fieldContains(const QString &field, const QString &key);

} // namespace SmsMessageText
