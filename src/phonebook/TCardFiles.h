#pragma once

#include "PBTypes.h"

#include <QByteArray>
#include <QString>

// The memory card's contact files: UTF-16 text with a byte-order mark, lines ended by CR LF, a
// section line, then key=value lines.
namespace TCardFiles {

// The key file of an empty store.
inline const QString kEmptyKeyFile = QStringLiteral("[KeyList]\r\nCount=0");

// The entries of a file's text: every line with an "=" gives key -> value, split at the first
// "=", so a value holding "=" survives. Lines without "=" (the section line) are skipped. A
// byte-order mark decides the encoding (UTF-16 when there is none).
QVariantMap parse(const QByteArray &bytes);
// The same over a file; a missing, unreadable or oversized file gives no entries.
QVariantMap read(const QString &path);

// The contact file of `record` ("index", "username", "email", "mobilephone", "homephone",
// "officephone"; `others` are the file's other values when the contact is rewritten, so an edit
// keeps them; for a new contact they take the template's fixed values). Line breaks inside
// values are written as blanks, so no value can start a line of its own.
QString contactFileText(const PBContactRecord &record, const QVariantMap &others = {});

// The key file with `count` and the entries (file number -> index).
QString keyFileText(int count, const QVariantMap &entries);

// A record of the store from a file's entries and its file number; false when the file has no
// "Index".
bool recordFromEntries(const QVariantMap &entries, int fileNumber, PBContactRecord *out);

// The file number of "PB_n" (a name without its extension), or -1 when the name is not one.
int fileNumberOfName(const QString &baseName);

// The file's keys in template order, and the record keys they map to.
struct Field {
  const char *fileKey;
  const char *recordKey;
};
const QList<Field> &fields();

} // namespace TCardFiles
