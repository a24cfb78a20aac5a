#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Property lists as QVariant trees: dictionary -> QVariantMap, array -> QVariantList,
// string -> QString, integer -> qint64, real -> double, boolean -> bool, date -> QDateTime (UTC),
// data -> QByteArray. Reads XML and binary; writes XML, atomically.
namespace Plist {

// Parses XML or binary plist bytes. Returns false (and leaves *out invalid) on anything that is
// not a well-formed property list.
bool fromData(const QByteArray &data, QVariant *out);
QByteArray toXml(const QVariant &value);

bool readFile(const QString &path, QVariant *out);
// Reads a file whose root must be a dictionary; false when missing, unreadable or not a dict.
bool readDictionary(const QString &path, QVariantMap *out);
// Writes XML through a temporary file renamed into place; the old file survives a failure.
// `permissions` of 0 keeps the default (umask) permissions.
bool writeFile(const QString &path, const QVariant &value, int permissions = 0);

} // namespace Plist
