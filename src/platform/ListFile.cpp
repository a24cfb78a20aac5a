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

ListFile::ReadState readBytes(const QString &path, QVariantMap *out) {
  out->clear();
  if (!QFileInfo::exists(path))
    return ListFile::ReadState::Missing;
  QByteArray bytes;
  if (!SafeFile::readRegularFile(path, &bytes))
    return ListFile::ReadState::Damaged;
  QVariant root;
  if (!Plist::fromData(bytes, &root) || root.typeId() != QMetaType::QVariantMap)
    return ListFile::ReadState::Damaged;
  *out = root.toMap();
  return ListFile::ReadState::Read;
}

bool setAside(const QString &path) {
  const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz"));
  QString target = path + QStringLiteral(".damaged-") + stamp;
  for (int n = 1; QFileInfo::exists(target); ++n)
    target = path + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
  if (!QFile::rename(path, target)) {
    qWarning() << "list file" << path << "cannot be read and cannot be moved aside; left as it is";
    return false;
  }
  qWarning() << "list file" << path << "cannot be read; kept as" << target;
  QMutexLocker locker(&g_setAsideLock);
  g_lastSetAside = target;
  return true;
}

} // namespace

namespace ListFile {

ReadState read(const QString &path, QVariantMap *out) {
  const ReadState state = readBytes(path, out);
  if (state == ReadState::Damaged)
    qWarning() << "list file" << path << "cannot be read; its boxes read empty";
  return state;
}

bool update(const QString &path, const std::function<bool(QVariantMap &)> &change, int lockTimeoutMs) {
  if (path.isEmpty() || !change)
    return false;
  const QString folder = QFileInfo(path).absolutePath();
  if (!SafeFile::makeFolder(folder))
    return false;
  // Something other than a file in the list's place is not ours to move or replace.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    qWarning() << "list file" << path << "is not a file; not written";
    return false;
  }
  FileLock lock(path, lockTimeoutMs);
  if (!lock.locked()) {
    qWarning() << "list file" << path << "is locked by another writer; not written";
    return false;
  }
  QVariantMap dict;
  if (readBytes(path, &dict) == ReadState::Damaged) {
    if (!setAside(path))
      return false;
    dict.clear();
  }
  if (!change(dict))
    return false;
  return Plist::writeFile(path, dict);
}

QString lastSetAsidePath() {
  QMutexLocker locker(&g_setAsideLock);
  return g_lastSetAside;
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
