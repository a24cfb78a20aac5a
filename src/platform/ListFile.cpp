#include "ListFile.h"

#include "Plist.h"
#include "SafeFile.h"

#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QMutex g_setAsideLock;
QString g_lastSetAside;

// An exclusive advisory lock on "<path>.lock", released when the object goes.
class FileLock {
public:
  FileLock(const QString &path, int timeoutMs) {
    const QByteArray lockPath = QFile::encodeName(path + QStringLiteral(".lock"));
    fd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0)
      return;
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= timeoutMs) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
      QThread::msleep(2);
    }
    locked_ = true;
  }
  ~FileLock() {
    if (fd_ >= 0) {
      if (locked_)
        ::flock(fd_, LOCK_UN);
      ::close(fd_);
    }
  }
  FileLock(const FileLock &) = delete;
  FileLock &operator=(const FileLock &) = delete;
  bool locked() const { return locked_; }

private:
  int fd_ = -1;
  bool locked_ = false;
};

ListFile::ReportHandler g_reportHandler;

void report(const QString &path, ListFile::ReadState state, const QString &keptAs) {
  ListFile::ReportHandler handler;
  {
    QMutexLocker locker(&g_setAsideLock);
    handler = g_reportHandler;
  }
  if (handler)
    handler(path, state, keptAs);
}

ListFile::ReadState readBytes(const QString &path, QVariantMap *out) {
  out->clear();
  QByteArray bytes;
  switch (SafeFile::readRegular(path, &bytes, SafeFile::kListMaxReadBytes)) {
  case SafeFile::ReadResult::Read:
    break;
  case SafeFile::ReadResult::Missing:
    return ListFile::ReadState::Missing;
  case SafeFile::ReadResult::TooLarge:
    return ListFile::ReadState::TooLarge;
  case SafeFile::ReadResult::Failed:
    return ListFile::ReadState::Unreadable;
  case SafeFile::ReadResult::NotAFile:
    return ListFile::ReadState::Damaged;
  }
  QVariant root;
  // The bytes go as soon as the parser is done with them: the values are what stays.
  const bool parsed = Plist::fromData(std::move(bytes), &root);
  if (!parsed || root.typeId() != QMetaType::QVariantMap)
    return ListFile::ReadState::Damaged;
  *out = root.toMap();
  return ListFile::ReadState::Read;
}

const char *describe(ListFile::ReadState state) {
  switch (state) {
  case ListFile::ReadState::TooLarge:
    return "is too large to read; left as it is";
  case ListFile::ReadState::Unreadable:
    return "cannot be opened or read; left as it is";
  default:
    return "is damaged; its boxes read empty";
  }
}

bool setAside(const QString &path) {
  QString target;
  if (!SafeFile::setAside(path, &target))
    return false;
  {
    QMutexLocker locker(&g_setAsideLock);
    g_lastSetAside = target;
  }
  report(path, ListFile::ReadState::Damaged, target);
  return true;
}

} // namespace

namespace ListFile {

ReadState read(const QString &path, QVariantMap *out) {
  const ReadState state = readBytes(path, out);
  if (isUnread(state)) {
    qWarning().noquote() << "list file" << path << describe(state);
    report(path, state, QString());
  }
  return state;
}

namespace {

// The read-modify-write of update(), with the lock held by the caller.
bool updateLocked(const QString &path, const std::function<bool(QVariantMap &)> &change, ReadState *state) {
  QVariantMap dict;
  const ReadState read = readBytes(path, &dict);
  if (state)
    *state = read;
  if (read == ReadState::TooLarge || read == ReadState::Unreadable) {
    // Messages the program cannot read now are still messages: never replaced by fewer.
    qWarning().noquote() << "list file" << path << describe(read) << "- not written";
    report(path, read, QString());
    return false;
  }
  if (read == ReadState::Damaged) {
    if (!setAside(path))
      return false;
    dict.clear();
  }
  if (!change(dict))
    return false;
  return Plist::writeFile(path, dict);
}

// Checks before the lock: a folder to write in, and a file (or nothing) in the list's place.
bool mayWrite(const QString &path) {
  if (!SafeFile::makeFolder(QFileInfo(path).absolutePath()))
    return false;
  // Something other than a file in the list's place is not ours to move or replace.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    qWarning() << "list file" << path << "is not a file; not written";
    return false;
  }
  return true;
}

// The XML text of `value` as an element of an array: the value's own markup, without the
// document's head and the <plist> element around it.
QByteArray elementXml(const QVariant &value) {
  const QByteArray doc = Plist::toXml(value);
  const qsizetype open = doc.indexOf("<plist");
  const qsizetype start = open < 0 ? -1 : doc.indexOf('>', open);
  const qsizetype end = doc.lastIndexOf("</plist>");
  if (start < 0 || end <= start)
    return {};
  return doc.mid(start + 1, end - start - 1).trimmed();
}

// Where in the XML list `bytes` the first element of the array under `key` of the root
// dictionary goes: the offset just after that array's start tag. `emptyArray` is set when the
// array is written as "<array/>" (the offset then is that tag's start), `missingAt` (with -1
// answered) gives the offset of the root's end tag when the key is absent. -1 with `missingAt`
// -1 when the text is not plainly one of the lists this module writes: no document type or
// markup beyond plain elements, a root dictionary closed at the end, every element balanced.
qsizetype insertionPoint(const QByteArray &bytes, const QByteArray &key, bool *emptyArray, qsizetype *missingAt) {
  *emptyArray = false;
  *missingAt = -1;
  const char *p = bytes.constData();
  const qsizetype n = bytes.size();
  qsizetype i = bytes.indexOf("<plist");
  if (i < 0 || bytes.left(i).contains("<!--") || bytes.left(i).contains("<![CDATA["))
    return -1;
  i = bytes.indexOf('>', i);
  if (i < 0)
    return -1;
  ++i;
  const QByteArray keyTag = "<key>" + key + "</key>";
  int depth = 0;
  bool rootSeen = false;
  bool keyNext = false; // the key was just read at depth 1: the next tag is its value
  qsizetype found = -1;
  qsizetype rootEnd = -1;
  while (i < n) {
    const void *lt = std::memchr(p + i, '<', size_t(n - i));
    if (!lt)
      break;
    const qsizetype at = static_cast<const char *>(lt) - p;
    const void *gt = std::memchr(p + at, '>', size_t(n - at));
    if (!gt)
      return -1;
    const qsizetype after = static_cast<const char *>(gt) - p + 1;
    const QByteArrayView tag(p + at, after - at);
    if (tag.startsWith("<!") || tag.startsWith("<?"))
      return -1;
    const bool closing = tag.startsWith("</");
    const bool container = tag == "<dict>" || tag == "<array>";
    const bool containerEnd = tag == "</dict>" || tag == "</array>";
    if (tag == "</plist>") {
      if (depth != 0 || !rootSeen)
        return -1;
      // Nothing but white space may follow.
      for (qsizetype j = after; j < n; ++j)
        if (!QChar::isSpace(uchar(p[j])))
          return -1;
      if (found >= 0)
        return found;
      *missingAt = rootEnd;
      return -1;
    }
    if (keyNext && !closing) {
      keyNext = false;
      if (tag == "<array>")
        found = after;
      else if (tag == "<array/>") {
        *emptyArray = true;
        found = at;
      } else {
        return -1; // the key holds something other than an array
      }
    }
    if (depth == 0 && rootSeen && !closing)
      return -1; // something after the root dictionary
    if (container) {
      if (depth == 0) {
        if (rootSeen || tag != "<dict>")
          return -1;
        rootSeen = true;
      }
      ++depth;
    } else if (containerEnd) {
      if (--depth < 0)
        return -1;
      if (depth == 0)
        rootEnd = at;
    } else if (depth == 1 && !closing && tag.startsWith("<key")) {
      // A key of the root dictionary: exactly "<key>", text, "</key>". A key written any other
      // way (attributes, spaces, an entity) might name the box in another spelling: not plainly
      // ours.
      if (tag != "<key>")
        return -1;
      const void *next = std::memchr(p + after, '<', size_t(n - after));
      if (!next)
        return -1;
      const qsizetype textEnd = static_cast<const char *>(next) - p;
      if (std::memchr(p + after, '&', size_t(textEnd - after)) ||
          !QByteArrayView(p + textEnd, n - textEnd).startsWith("</key>"))
        return -1;
      if (QByteArrayView(p + at, std::min<qsizetype>(keyTag.size(), n - at)) == keyTag) {
        if (found >= 0)
          return -1; // the same key twice
        keyNext = true;
        i = at + keyTag.size();
        continue;
      }
    }
    i = after;
  }
  return -1; // no </plist>: cut short
}

} // namespace

bool update(const QString &path, const std::function<bool(QVariantMap &)> &change, int lockTimeoutMs,
            ReadState *state) {
  if (state)
    *state = ReadState::Missing;
  if (path.isEmpty() || !change || !mayWrite(path))
    return false;
  FileLock lock(path, lockTimeoutMs);
  if (!lock.locked()) {
    qWarning() << "list file" << path << "is locked by another writer; not written";
    return false;
  }
  return updateLocked(path, change, state);
}

bool prepend(const QString &path, const QString &key, const QVariant &value, int lockTimeoutMs) {
  if (path.isEmpty() || key.isEmpty() || !value.isValid() || !mayWrite(path))
    return false;
  FileLock lock(path, lockTimeoutMs);
  if (!lock.locked()) {
    qWarning() << "list file" << path << "is locked by another writer; not written";
    return false;
  }
  const auto parsed = [&] {
    return updateLocked(
        path,
        [&](QVariantMap &dict) {
          QVariantList list = dict.value(key).toList();
          list.prepend(value);
          dict.insert(key, list);
          return true;
        },
        nullptr);
  };
  QByteArray bytes;
  const QByteArray element = elementXml(value);
  const QByteArray keyBytes = key.toUtf8();
  // Only a plain key names the array directly in the text.
  if (element.isEmpty() || keyBytes.contains('<') || keyBytes.contains('&') ||
      SafeFile::readRegular(path, &bytes, SafeFile::kListMaxReadBytes) != SafeFile::ReadResult::Read ||
      bytes.startsWith("bplist"))
    return parsed();
  bool emptyArray = false;
  qsizetype missingAt = -1;
  const qsizetype at = insertionPoint(bytes, keyBytes, &emptyArray, &missingAt);
  if (at >= 0 && emptyArray)
    bytes.replace(at, qsizetype(sizeof("<array/>") - 1), "<array>\n" + element + "\n</array>");
  else if (at >= 0)
    bytes.insert(at, "\n" + element);
  else if (missingAt >= 0)
    bytes.insert(missingAt, "<key>" + keyBytes + "</key>\n<array>\n" + element + "\n</array>\n");
  else
    return parsed(); // not plainly one of ours: the parser decides, and sets a damaged file aside
  return SafeFile::writeAtomically(path, bytes);
}

QString lastSetAsidePath() {
  QMutexLocker locker(&g_setAsideLock);
  return g_lastSetAside;
}

void setReportHandler(ReportHandler handler) {
  QMutexLocker locker(&g_setAsideLock);
  g_reportHandler = std::move(handler);
}

ReadState Cache::read(const QString &path, QVariantMap *out, bool *parsed) {
  if (parsed)
    *parsed = true;
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
    entries_.remove(path);
    out->clear();
    return ReadState::Missing;
  }
  const qint64 mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  auto it = entries_.find(path);
  if (it != entries_.end() && it->size == qint64(st.st_size) && it->mtimeNs == mtimeNs &&
      it->inode == quint64(st.st_ino)) {
    *out = it->dict;
    if (parsed)
      *parsed = false;
    return it->state;
  }
  Entry entry;
  entry.size = qint64(st.st_size);
  entry.mtimeNs = mtimeNs;
  entry.inode = quint64(st.st_ino);
  entry.state = ListFile::read(path, &entry.dict);
  *out = entry.dict;
  entries_.insert(path, entry);
  return entry.state;
}

} // namespace ListFile
