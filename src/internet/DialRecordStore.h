#pragma once

#include "DialRecordFile.h"

#include "DialRecord.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTimeZone>

#include <functional>

// Sums over a set of records: kilobytes received and sent, seconds connected.
struct RecordSums {
  double receiveKB = 0;
  double sendKB = 0;
  qint64 seconds = 0;
  double dataKB() const { return receiveKB + sendKB; }
};

// A closed interval of start times, in milliseconds since the epoch.
struct RecordWindow {
  qint64 fromMs = 0;
  qint64 toMs = 0;
  bool contains(qint64 ms) const { return ms >= fromMs && ms <= toMs; }
};

// The day, month and year windows of `today` in `zone`: 00:00:00 of the first day to 23:59:59
// of the last; the month runs from day 1 to "day 31" (a day past the month's end carries into
// the next month, which holds no records yet).
RecordWindow dayWindow(const QDate &today, const QTimeZone &zone);
RecordWindow monthWindow(const QDate &today, const QTimeZone &zone);
RecordWindow yearWindow(const QDate &today, const QTimeZone &zone);
// From `first` at 00:00:00 to `last` at 23:59:59 in `zone`.
RecordWindow periodWindow(const QDate &first, const QDate &last, const QTimeZone &zone);

// One record file held in memory. The file is read once and again only when its modification
// time or size changes (another writer); every change made here updates the totals at once and
// is written back whole, atomically. A file that exists but cannot be read is renamed aside
// before the first write replaces it; a failed write keeps the records in memory, marked unsaved,
// and the next write tries again (until then a refresh does not reread the file).
class DialRecordStore {
public:
  DialRecordStore() = default;
  explicit DialRecordStore(const QString &path) { setPath(path); }

  // A new path drops the records held and loads from the new file on the next refresh().
  void setPath(const QString &path);
  QString path() const { return path_; }

  // Rereads the file when it changed since the last read or write (or was never read); true
  // when the records were reread.
  bool refresh();
  // Rereads the file now.
  void reload();

  const DialRecordList &records() const { return records_; }
  bool isEmpty() const { return records_.isEmpty(); }
  int count() const { return int(records_.size()); }

  // Appends one record and writes the file.
  bool append(DialRecord record);
  // Replaces every record (written at once).
  bool replaceAll(DialRecordList records);
  // Removes the records with these identities and writes the file; false when none was held.
  bool removeIds(const QSet<quint64> &ids);
  // Removes every record and writes the empty list.
  bool clear();
  // Writes what is held (true when the file now holds it).
  bool save();

  // Totals over all records, kept up to date on every change.
  RecordSums totals() const { return totals_; }
  // Sums and records whose start lies in the window (bounds included), in file order.
  RecordSums sumsIn(const RecordWindow &window) const;
  DialRecordList recordsIn(const RecordWindow &window) const;

  // Grows with every change of the records held (a read, an append, a removal...).
  quint64 generation() const { return generation_; }

  // True while records are held that the file does not have (a write failed).
  bool hasUnsavedChanges() const { return unsaved_; }
  // Called after every attempt to write the file (whichever change caused it) with its result,
  // so the owner can tell the user and arrange another attempt.
  void setSaveWatcher(std::function<void(bool written)> watcher) { saveWatcher_ = std::move(watcher); }
  // Where an unreadable file was moved, if one was.
  QString setAsidePath() const { return setAsidePath_; }
  // True when the file at the path existed but could not be read.
  bool fileWasUnreadable() const { return unreadable_; }
  // True when the last read refused the file for its size (it was not read at all).
  bool fileWasTooLarge() const { return tooLarge_; }
  // The largest file read (DialRecordFile::kMaxFileBytes; tests make it small).
  void setMaxFileBytes(qint64 bytes) { maxFileBytes_ = bytes; }

  // Gives a record a process-wide identity (done for every record read or added).
  static quint64 nextId();

private:
  void stampFile();
  bool fileChanged() const;
  void recomputeTotals();

  bool failSave();

  std::function<void(bool)> saveWatcher_;
  bool tooLarge_ = false;
  qint64 maxFileBytes_ = DialRecordFile::kMaxFileBytes;
  QString path_;
  DialRecordList records_;
  RecordSums totals_;
  quint64 generation_ = 0;
  bool loaded_ = false;
  bool unsaved_ = false;
  bool unreadable_ = false;
  QString setAsidePath_;
  QDateTime stampModified_;
  qint64 stampSize_ = -1;
};
