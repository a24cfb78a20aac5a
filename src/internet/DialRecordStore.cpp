#include "DialRecordStore.h"

#include "DialRecordFile.h"
#include "QelFileManager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

qint64 localMs(const QDate &date, const QTime &time, const QTimeZone &zone) {
  return QDateTime(date, time, zone).toMSecsSinceEpoch();
}

} // namespace

RecordWindow periodWindow(const QDate &first, const QDate &last, const QTimeZone &zone) {
  return {localMs(first, QTime(0, 0, 0), zone), localMs(last, QTime(23, 59, 59), zone)};
}

RecordWindow dayWindow(const QDate &today, const QTimeZone &zone) {
  return periodWindow(today, today, zone);
}

RecordWindow monthWindow(const QDate &today, const QTimeZone &zone) {
  const QDate first(today.year(), today.month(), 1);
  return periodWindow(first, first.addDays(30), zone);
}

RecordWindow yearWindow(const QDate &today, const QTimeZone &zone) {
  return periodWindow(QDate(today.year(), 1, 1), QDate(today.year(), 12, 31), zone);
}

quint64 DialRecordStore::nextId() {
  static quint64 next = 0;
  return ++next;
}

void DialRecordStore::setPath(const QString &path) {
  if (path == path_ && loaded_)
    return;
  path_ = path;
  ++generation_;
  records_.clear();
  totals_ = {};
  loaded_ = false;
  unsaved_ = false;
  unreadable_ = false;
  stampModified_ = {};
  stampSize_ = -1;
}

void DialRecordStore::stampFile() {
  const QFileInfo info(path_);
  if (info.exists()) {
    stampModified_ = info.lastModified();
    stampSize_ = info.size();
  } else {
    stampModified_ = {};
    stampSize_ = -1;
  }
}

bool DialRecordStore::fileChanged() const {
  const QFileInfo info(path_);
  if (!info.exists())
    return stampSize_ != -1;
  return info.size() != stampSize_ || info.lastModified() != stampModified_;
}

bool DialRecordStore::refresh() {
  // Unsaved records are newer than the file: never trade them for what it holds.
  if (unsaved_ || (loaded_ && !fileChanged()))
    return false;
  reload();
  return true;
}

void DialRecordStore::reload() {
  loaded_ = true;
  unreadable_ = false;
  records_.clear();
  stampFile();
  QFile file(path_);
  if (path_.isEmpty() || !file.exists()) {
    recomputeTotals();
    return;
  }
  tooLarge_ = false;
  DialRecordList records;
  // Read at most one byte past the limit: a file that grew after its size was looked at is
  // refused like one that was too large from the start.
  QByteArray bytes;
  const bool opened = QFileInfo(path_).isFile() && file.open(QIODevice::ReadOnly);
  if (opened && file.size() <= maxFileBytes_)
    bytes = file.read(maxFileBytes_ + 1);
  tooLarge_ = opened && (file.size() > maxFileBytes_ || bytes.size() > maxFileBytes_);
  if (!opened || tooLarge_ || file.error() != QFileDevice::NoError || !DialRecordFile::parse(bytes, &records)) {
    if (tooLarge_)
      qWarning() << "DialRecordStore: refused" << path_ << "of" << file.size() << "bytes, more than" << maxFileBytes_;
    else
      qWarning() << "DialRecordStore: cannot read" << path_;
    unreadable_ = true;
    recomputeTotals();
    return;
  }
  for (DialRecord &r : records)
    r.id = nextId();
  records_ = std::move(records);
  recomputeTotals();
}

void DialRecordStore::recomputeTotals() {
  ++generation_;
  RecordSums sums;
  for (const DialRecord &r : records_) {
    sums.receiveKB += r.receiveKB;
    sums.sendKB += r.sendKB;
    sums.seconds += r.connectTime;
  }
  totals_ = sums;
}

bool DialRecordStore::save() {
  if (path_.isEmpty())
    return false;
  if (unreadable_ && QFileInfo::exists(path_)) {
    // Never let a new list replace a file we could not read: keep it for the user.
    const QString aside = path_ + QStringLiteral(".unreadable-") +
                          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (!QFile::rename(path_, aside)) {
      qWarning() << "DialRecordStore: cannot set aside the unreadable" << path_;
      return failSave();
    }
    qWarning() << "DialRecordStore: unreadable" << path_ << "set aside as" << aside;
    setAsidePath_ = aside;
    unreadable_ = false;
  }
  if (!QelFileManager::writeToFile(path_, DialRecordFile::toXml(records_))) {
    qWarning() << "DialRecordStore: cannot write" << path_ << "- the records are kept for the next write";
    return failSave();
  }
  unsaved_ = false;
  loaded_ = true;
  stampFile();
  if (saveWatcher_)
    saveWatcher_(true);
  return true;
}

bool DialRecordStore::failSave() {
  unsaved_ = true;
  if (saveWatcher_)
    saveWatcher_(false);
  return false;
}

bool DialRecordStore::append(DialRecord record) {
  refresh();
  record.id = nextId();
  totals_.receiveKB += record.receiveKB;
  totals_.sendKB += record.sendKB;
  totals_.seconds += record.connectTime;
  records_.append(std::move(record));
  ++generation_;
  return save();
}

bool DialRecordStore::replaceAll(DialRecordList records) {
  loaded_ = true;
  for (DialRecord &r : records)
    if (r.id == 0)
      r.id = nextId();
  records_ = std::move(records);
  recomputeTotals();
  return save();
}

bool DialRecordStore::removeIds(const QSet<quint64> &ids) {
  const qsizetype before = records_.size();
  records_.removeIf([&](const DialRecord &r) { return ids.contains(r.id); });
  if (records_.size() == before)
    return false;
  recomputeTotals();
  save();
  return true;
}

bool DialRecordStore::clear() {
  loaded_ = true;
  records_.clear();
  totals_ = {};
  ++generation_;
  return save();
}

RecordSums DialRecordStore::sumsIn(const RecordWindow &window) const {
  RecordSums sums;
  for (const DialRecord &r : records_) {
    if (r.hasStart && window.contains(r.startMs)) {
      sums.receiveKB += r.receiveKB;
      sums.sendKB += r.sendKB;
      sums.seconds += r.connectTime;
    }
  }
  return sums;
}

DialRecordList DialRecordStore::recordsIn(const RecordWindow &window) const {
  DialRecordList out;
  for (const DialRecord &r : records_)
    if (r.hasStart && window.contains(r.startMs))
      out.append(r);
  return out;
}
