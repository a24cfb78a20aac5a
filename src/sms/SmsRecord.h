#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The SMS record of the list files, in its two forms. The full form carries "concatSmsFlag",
// "concatSmsInfo" (the summary) and "smsInfo" (one part record, or an array of them for a long
// message); a flat draft has neither "concatSmsInfo" nor "smsInfo".
namespace SmsRecord {

bool isFlat(const QVariantMap &record);
bool isConcat(const QVariantMap &record);
// "concatSmsInfo"/"stat" of a long record, "smsInfo"/"stat" of a single one, as an 8-bit value.
int readState(const QVariantMap &record);
bool isUnread(const QVariantMap &record);
// The text and number of a record: from "concatSmsInfo" for a long record, "smsInfo" otherwise.
QString text(const QVariantMap &record);
QString number(const QVariantMap &record);
QVariant date(const QVariantMap &record);
// The parts a record holds: the length of "smsInfo" for a long record, otherwise 1.
int storedParts(const QVariantMap &record);
// The stored parts of a box: store use is counted in parts.
int smsNumberInBox(const QVariantList &box);
// The records of a box whose state is unread.
int unreadCount(const QVariantList &box);
// Sets "index" of every record to its position in the box.
void renumber(QVariantList &box);

} // namespace SmsRecord

// The list files of the storage positions, and the box arrays inside them.
namespace SmsListFiles {

// The list file of a position: PC, SIM and device memory in the ModemList folder (through
// ConfigManager), the memory card's "SMS/SmsList_TCARD.plist" on its volume. Empty when there is
// none (no configuration, no card, another position).
QString pathOfPosition(int position);
// The memory card's list on a card mounted at `volume`.
QString tcardListPath(const QString &volume);

// The array under a box's key; an empty list for a missing or damaged file or box.
QVariantList readBox(const QString &path, int box);
// Replaces the array under the box's key in the file's current content; answers whether the
// file was written. A missing file is created.
bool writeBox(const QString &path, int box, const QVariantList &records);
// Inserts one record at the front (or end) of the box in the file's current content.
bool insertIntoBox(const QString &path, int box, const QVariantMap &record, bool atFront);

} // namespace SmsListFiles
