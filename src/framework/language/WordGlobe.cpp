#include "WordGlobe.h"

#include "TokenListReader.h"

#include <QDebug>
#include <QHash>
#include <QReadWriteLock>

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
  return it == t.entries.cend() ? key : *it;
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
