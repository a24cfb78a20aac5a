#pragma once

#include <QString>
#include <QVariantList>

// Orders a box list by a table column. The sort is stable and strict: records that lack the
// value go last in either direction, an unknown key leaves the order as it is.
namespace SmsListSort {

// Full records: "mobilephone" and "username" of "concatSmsInfo"; "date" and "stat" of the
// summary for a long message, of "smsInfo" for a single one.
void sortBoxList(QVariantList &records, const QString &key, bool ascending);
// Flat records (PC drafts): their own "mobilephone", "username" and "date".
void sortDraftList(QVariantList &records, const QString &key, bool ascending);
// Largest "index" first.
void sortByIndexDescending(QVariantList &records);

} // namespace SmsListSort
