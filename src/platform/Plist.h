#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Property lists as QVariant trees: dictionary -> QVariantMap, array -> QVariantList,
// string -> QString, integer -> qint64, real -> double, boolean -> bool, date -> QDateTime (UTC),
// data -> QByteArray. Reads XML and binary; writes XML, atomically.
namespace Plist {

// Parses XML or binary plist bytes. Returns false (and leaves *out invalid) on anything that is
// not a well-formed property list, or nests containers deeper than this module reads.
bool fromData(const QByteArray &data, QVariant *out);
// The same, letting go of the bytes as soon as the parser no longer needs them, before the
// values are made: a large list does not hold its bytes and its values at once.
bool fromData(QByteArray &&data, QVariant *out);
QByteArray toXml(const QVariant &value);

// Only a regular file of at most 32 MiB is read: a FIFO, device or larger file answers false.
// (Lists, which grow with the user's data, are read through ListFile with a far higher limit.)
bool readFile(const QString &path, QVariant *out);
// Reads a file whose root must be a dictionary; false when missing, unreadable or not a dict.
bool readDictionary(const QString &path, QVariantMap *out);
// Writes XML through SafeFile::writeAtomically: the old file survives any failure, which answers
// false. `permissions` (QFileDevice::Permissions) of 0: as SafeFile::writeAtomically without them.
bool writeFile(const QString &path, const QVariant &value, int permissions = 0);

} // namespace Plist
