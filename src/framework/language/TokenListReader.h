#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Reads a token list: a strings-format text ("key" = "value"; per entry) that maps wording keys
// to display texts. Token lists are edited by translators and shipped by operators, so the reader
// trusts nothing: a malformed entry costs its own line and nothing else, and every size is
// bounded.
namespace TokenListReader {

// Larger files are refused whole; a real token list holds a few thousand short entries.
constexpr qsizetype kMaxFileBytes = 8 * 1024 * 1024;
constexpr int kMaxEntries = 100000;
constexpr int kMaxKeyLength = 1024;
constexpr int kMaxValueLength = 64 * 1024;

struct Result {
  QHash<QString, QString> table;
  // Entries skipped because they were malformed or over a bound.
  int badEntries = 0;
  // 1-based line of the first skipped entry, 0 when none was skipped.
  int firstBadLine = 0;
  // True when entries beyond kMaxEntries were dropped.
  bool truncated = false;
};

// Decodes the bytes (UTF-8, or UTF-16 when a byte-order mark says so; UTF-8 text ends at the
// first NUL byte) and parses them. Later duplicates of a key win.
Result parse(const QByteArray &bytes);
Result parseText(const QString &text);

// Reads and parses a file. False when it is missing, unreadable or larger than kMaxFileBytes;
// *out is then left untouched.
bool readFile(const QString &path, Result *out);

} // namespace TokenListReader
