#pragma once

#include <QString>
#include <QVariantList>

// phoneBook.plist, the PC phonebook's file, as the phonebook and the settings window's backup
// and restore all read and write it: an array of groups, each an array whose element 0 is the
// header {"groupname": name} and whose further elements are contact records. It lives below the
// subsystems because the backup reads and writes the file whether or not a phonebook runs.
namespace PBPcFile {

// How a read went.
enum class ReadState {
  Read,    // the file held groups (perhaps none)
  Missing, // no file
  // The file was no phonebook (truncated, garbage, empty, not an array of groups): it was moved
  // aside as "<file>.damaged-<UTC time>" (see lastSetAsidePath) and the phonebook starts empty.
  SetAside,
  // The file could not be read and stays where it is (too large, unreadable, something other than
  // a file, or a damaged file that could not be moved): write() refuses to replace it until a
  // later read succeeds, so contacts the program could not show are never written over.
  Kept,
};

// The file in the ModemList folder (empty without a configuration).
QString path(const QString &fileName);
// The groups of the file. Only groups (arrays) of records (dictionaries) are taken; anything
// else in the file is dropped, so no later step meets a value of the wrong kind. A missing or
// unreadable file gives no group; an unreadable one is set aside or kept as `state` tells, and
// logged.
QVariantList read(const QString &filePath, ReadState *state = nullptr);
// Writes the groups atomically. False when the write fails or the file at `filePath` could not be
// read and is kept in place.
bool write(const QString &filePath, const QVariantList &groups);

// Where this process last moved a damaged phonebook, empty when none.
QString lastSetAsidePath();

} // namespace PBPcFile
