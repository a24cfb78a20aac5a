#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The file of the settings window's backup of the PC phonebook and the PC message boxes: an
// array whose element 0 is the phonebook (the layout of phoneBook.plist) and whose further
// elements are the message boxes, in the order of SMS/"boxOrder" or InBox, OutBox, DraftBox
// (and the delivery reports when that box is configured). The phonebook-only file holds the
// phonebook alone. Pure: the lists and the SMS settings are handed in.
namespace SettingsBackupFile {

// The boxes of a full backup, each an array; a box or list that is missing is an empty array.
QVariantList smsBoxes(const QVariantMap &smsSettings, const QVariantMap &pcSmsList, const QVariantList &reports);
// Whether `root`, a full backup file's array, has the element count the SMS settings give.
bool isValidFull(const QVariantList &root, const QVariantMap &smsSettings);
// The phonebook's layout: an array of groups, each an array whose first element is a dictionary.
bool isPhonebook(const QVariant &value);
// Each restored group whose name a current group bears adds its contacts to the end of that
// group (the current header stays); any other restored group is added at the end.
QVariantList merge(const QVariantList &current, const QVariantList &restored);
// The restore request to the backend: the path as NUL-terminated UTF-8 in 128 zero-filled
// bytes; empty when the path does not fit (more than 127 bytes).
QByteArray restoreRequest(const QString &path);

inline constexpr int kRestoreRequestSize = 128;

} // namespace SettingsBackupFile
