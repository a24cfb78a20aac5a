#pragma once

#include <QString>
#include <QVariantList>

// phoneBook.plist, the PC phonebook's file, as the phonebook and the settings window's backup
// and restore all read and write it: an array of groups, each an array whose element 0 is the
// header {"groupname": name} and whose further elements are contact records. It lives below the
// subsystems because the backup reads and writes the file whether or not a phonebook runs.
namespace PBPcFile {

// The file in the ModemList folder (empty without a configuration).
QString path(const QString &fileName);
// The groups of the file. Only groups (arrays) of records (dictionaries) are taken; anything
// else in the file is dropped, so no later step meets a value of the wrong kind. A missing or
// unreadable file gives no group.
QVariantList read(const QString &filePath);
bool write(const QString &filePath, const QVariantList &groups);

} // namespace PBPcFile
