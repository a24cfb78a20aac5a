#include "WordGlobe.h"

#include "TokenListReader.h"

#include <QDebug>
#include <QHash>
#include <QMutex>
#include <QReadWriteLock>
#include <QSet>
#include <atomic>

namespace {

struct Table {
  QReadWriteLock lock;
  QHash<QString, QString> entries;
  QString path;
  int badEntries = 0;
  int firstBadLine = 0;
  bool truncated = false;
};

Table &table() {
  static Table t;
  return t;
}

// The keys asked for that the table lacks, while a page walk records them.
struct Misses {
  std::atomic<bool> recording{false};
  QMutex lock;
  QSet<QString> keys;
};

Misses &misses() {
  static Misses m;
  return m;
}

} // namespace

bool Word_Globe_Init(const QString &path) {
  TokenListReader::Result result;
  if (!TokenListReader::readFile(path, &result)) {
    qWarning() << "WordGlobe: cannot load token list" << path;
    return false;
  }
  Table &t = table();
  QWriteLocker locker(&t.lock);
  t.entries.swap(result.table);
  t.path = path;
  t.badEntries = result.badEntries;
  t.firstBadLine = result.firstBadLine;
  t.truncated = result.truncated;
  return true;
}

void Word_Globe_Dump() {
  Table &t = table();
  QReadLocker locker(&t.lock);
  qInfo().noquote() << "WordGlobe:" << t.entries.size() << "entries from" << t.path;
  if (t.badEntries > 0)
    qWarning().noquote() << "WordGlobe:" << t.badEntries << "malformed entries skipped, the first on line"
                         << t.firstBadLine;
  if (t.truncated)
    qWarning().noquote() << "WordGlobe: entries beyond" << TokenListReader::kMaxEntries << "dropped";
}

QString Map_Name_Item_of_IndexString(const QString &key) {
  if (key.isEmpty())
    return QLatin1String("");
  Table &t = table();
  QReadLocker locker(&t.lock);
  const auto it = t.entries.constFind(key);
  if (it != t.entries.cend())
    return *it;
  if (Misses &m = misses(); m.recording.load(std::memory_order_relaxed)) {
    QMutexLocker missLocker(&m.lock);
    m.keys.insert(key);
  }
  return key;
}

QString Map_Name_Item_of_Index(int index) {
  Table &t = table();
  QReadLocker locker(&t.lock);
  return t.entries.value(QString::number(index), QLatin1String(""));
}

namespace WordGlobe {

QString currentTokenListPath() {
  Table &t = table();
  QReadLocker locker(&t.lock);
  return t.path;
}

int currentEntryCount() {
  Table &t = table();
  QReadLocker locker(&t.lock);
  return int(t.entries.size());
}

void recordMissingKeys(bool on) {
  Misses &m = misses();
  QMutexLocker locker(&m.lock);
  m.keys.clear();
  m.recording = on;
}

QSet<QString> missingKeys() {
  Misses &m = misses();
  QMutexLocker locker(&m.lock);
  return m.keys;
}

bool hasKey(const QString &key) {
  Table &t = table();
  QReadLocker locker(&t.lock);
  return t.entries.contains(key);
}

void reset() {
  Table &t = table();
  QWriteLocker locker(&t.lock);
  t.entries.clear();
  t.path.clear();
  t.badEntries = 0;
  t.firstBadLine = 0;
  t.truncated = false;
}

} // namespace WordGlobe
