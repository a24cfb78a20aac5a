#pragma once

#include <QSet>
#include <QString>

// The wording framework: one process-wide token table, replaced by loading a token list file
// and read by every controller for every user-visible text. Loading and looking up may happen on
// different threads.

// Replaces the current table with the token list at `path`. A file that cannot be read (missing,
// unreadable, too large) leaves the current table in place and answers false.
bool Word_Globe_Init(const QString &path);
// Logs what the current table holds (path, entry count, skipped entries).
void Word_Globe_Dump();
// The display text of a wording key; the key itself when the table lacks it, so a missing
// translation shows the key instead of an empty control.
QString Map_Name_Item_of_IndexString(const QString &key);
// The text of a numbered wording item: the entry whose key is the decimal number. Empty when
// the table lacks it (it serves as an alert title, where a bare number would mislead).
QString Map_Name_Item_of_Index(int index);

namespace WordGlobe {
// The file the current table came from; empty before the first successful load.
QString currentTokenListPath();
int currentEntryCount();
// Whether the current table words `key`.
bool hasKey(const QString &key);
// While on, every key asked for that the table lacks is remembered (a page walk finds the raw
// keys that reach the user this way); switching clears what was remembered.
void recordMissingKeys(bool on);
QSet<QString> missingKeys();
// Empties the table and forgets its path (tests).
void reset();
} // namespace WordGlobe
