#pragma once

#include <QHash>
#include <QString>
#include <QVariantMap>
#include <functional>

// Dictionary files that more than one process rewrites (the message lists: the program and the
// backend both store messages in the PC list). Every read-modify-write holds an advisory lock on
// a lock file beside the list ("<file>.lock") from the read to the atomic rename, so a change
// made by another writer in between is never lost. Readers take no lock: the rename replaces
// the file whole.
namespace ListFile {

// How a read went.
enum class ReadState {
  Read,    // the file held a dictionary
  Missing, // no file: an empty dictionary
  Damaged, // the file is not a dictionary property list: an empty dictionary
};

// Reads the dictionary of `path`; an empty one when the file is missing or damaged.
ReadState read(const QString &path, QVariantMap *out);

// Applies `change` to the file's current dictionary under the lock and writes the result
// atomically. A missing file (and its folder) is created; a damaged file is moved aside (kept
// as "<file>.damaged-<UTC time>", logged) and the change starts from an empty dictionary.
// `change` answers false to leave the file as it is. Answers whether the file was written:
// false when the lock cannot be had within `lockTimeoutMs`, the change declines, or the write
// fails.
bool update(const QString &path, const std::function<bool(QVariantMap &)> &change, int lockTimeoutMs = 5000);

// The path a damaged file was last moved to by this process, empty when none.
QString lastSetAsidePath();

// Parses a file only when it changed: size, modification time and inode of the last read are
// kept per path, and an unchanged file answers the dictionary parsed then.
class Cache {
public:
  // `parsed`, when given, tells whether the file was read anew.
  ReadState read(const QString &path, QVariantMap *out, bool *parsed = nullptr);
  void clear() { entries_.clear(); }

private:
  struct Entry {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    ReadState state = ReadState::Missing;
    QVariantMap dict;
  };
  QHash<QString, Entry> entries_;
};

} // namespace ListFile
