#pragma once

#include "PBTypes.h"

#include <QCollator>

// Name order of every contact list: the collation of the program's current language.
namespace PBNameSort {

// The collator of the language in "CurrentLanguage" (the system's when unknown).
QCollator collator();

// Sorts list[from..] ascending by "username" (a record without one sorts first); stable, so
// records of equal names keep their order.
void sortByUserName(PBContactList &list, int from = 0);
void sortByUserName(PBContactList &list, const QCollator &collator, int from = 0);

// Sorts a group list (element 0 of every group is its header) by "groupname" with the exchange
// sort the groups have always had: every later group that does not compare greater than group i
// takes its place, equal names included.
void sortGroups(QVariantList &groups, const QCollator &collator);

} // namespace PBNameSort
