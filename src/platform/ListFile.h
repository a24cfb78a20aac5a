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
  // Larger than any list this program reads (SafeFile::kListMaxReadBytes): an empty dictionary.
  // Not damaged: the file stays where it is and is never written over.
  TooLarge,
  // The file could not be opened or read (permissions, an I/O error): an empty dictionary. It
  // may read well later, so it stays where it is and is never written over.
  Unreadable,
};

// Whether a list in this state holds messages the program could not show.
inline bool isUnread(ReadState state) {
  return state == ReadState::Damaged || state == ReadState::TooLarge || state == ReadState::Unreadable;
}

// Reads the dictionary of `path`; an empty one when the file is missing or cannot be read. A list
// of any size that parses is read (memory grows with the list, not past it).
ReadState read(const QString &path, QVariantMap *out);

// Applies `change` to the file's current dictionary under the lock and writes the result
// atomically. A missing file (and its folder) is created; a damaged file is moved aside (kept
// as "<file>.damaged-<UTC time>", logged) and the change starts from an empty dictionary. A file
// too large or unreadable is left as it is and not written. `change` answers false to leave the
// file as it is. Answers whether the file was written: false when the lock cannot be had within
// `lockTimeoutMs`, the file cannot be read, the change declines, or the write fails. `state`,
// when given, gets how the file read.
bool update(const QString &path, const std::function<bool(QVariantMap &)> &change, int lockTimeoutMs = 5000,
            ReadState *state = nullptr);

// Puts `value` first in the array under `key` (made when missing) of the file's dictionary, as
// update() would, but without parsing the list: under the same lock, the element's text is
// inserted into the file's text and the file replaced atomically. A list of 100,000 messages
// takes one message at the cost of copying its bytes. Whenever the file is not plainly one this
// module wrote (binary, comments, unbalanced, cut short, the key holding no array), it is parsed
// as update() does, which also sets a damaged file aside.
bool prepend(const QString &path, const QString &key, const QVariant &value, int lockTimeoutMs = 5000);

// The path a damaged file was last moved to by this process, empty when none.
QString lastSetAsidePath();

// Told about every list that could not be read: its path, how it read, and where a damaged one
// was kept (empty while it is still in place). Called on the thread that read the file, once per
// read or set-aside; the program shows it to the user. An empty function removes the handler.
using ReportHandler = std::function<void(const QString &path, ReadState state, const QString &keptAs)>;
void setReportHandler(ReportHandler handler);

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
