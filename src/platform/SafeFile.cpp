#include "SafeFile.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<SafeFile::WriteFault> g_writeFault{nullptr};

mode_t toMode(QFileDevice::Permissions p) {
  mode_t m = 0;
  if (p & (QFileDevice::ReadOwner | QFileDevice::ReadUser))
    m |= S_IRUSR;
  if (p & (QFileDevice::WriteOwner | QFileDevice::WriteUser))
    m |= S_IWUSR;
  if (p & (QFileDevice::ExeOwner | QFileDevice::ExeUser))
    m |= S_IXUSR;
  if (p & QFileDevice::ReadGroup)
    m |= S_IRGRP;
  if (p & QFileDevice::WriteGroup)
    m |= S_IWGRP;
  if (p & QFileDevice::ExeGroup)
    m |= S_IXGRP;
  if (p & QFileDevice::ReadOther)
    m |= S_IROTH;
  if (p & QFileDevice::WriteOther)
    m |= S_IWOTH;
  if (p & QFileDevice::ExeOther)
    m |= S_IXOTH;
  return m;
}

bool fail(const QString &path, const char *step, int error) {
  qWarning().noquote() << "SafeFile: cannot" << step << path << "-" << QString::fromLocal8Bit(std::strerror(error));
  return false;
}

bool writeAll(int fd, const QByteArray &bytes, int *error) {
  const char *p = bytes.constData();
  qint64 left = bytes.size();
  while (left > 0) {
    if (SafeFile::WriteFault fault = g_writeFault.load()) {
      if (const int injected = fault(left)) {
        *error = injected;
        return false;
      }
    }
    const ssize_t n = ::write(fd, p, size_t(std::min<qint64>(left, 1 << 20)));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      *error = errno;
      return false;
    }
    if (n == 0) {
      *error = EIO;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

// Temporary files are named <target><kTempMarker><up to 13 base-36 digits>.
constexpr char kTempMarker[] = ".tmp-";
// A writer takes milliseconds, or seconds on a slow disk; a temporary this old is from a write
// that was cut (a crash, a power loss) and nobody will finish or remove it.
constexpr time_t kStaleTempSeconds = 60;

bool isTempSuffix(const char *s) {
  size_t n = 0;
  for (; s[n]; ++n)
    if (!((s[n] >= '0' && s[n] <= '9') || (s[n] >= 'a' && s[n] <= 'z')))
      return false;
  return n >= 1 && n <= 13;
}

// Removes what cut writes to `target` left beside it: only names of our own pattern for this
// target, regular files of ours, unchanged for a minute.
void removeStaleTemporaries(const QByteArray &target) {
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
  const QByteArray prefix = target.mid(slash + 1) + kTempMarker;
  DIR *dir = ::opendir(folder.constData());
  if (!dir)
    return;
  const time_t now = ::time(nullptr);
  while (const dirent *entry = ::readdir(dir)) {
    const char *name = entry->d_name;
    if (std::strncmp(name, prefix.constData(), size_t(prefix.size())) != 0 || !isTempSuffix(name + prefix.size()))
      continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid() || now - st.st_mtime < kStaleTempSeconds)
      continue;
    if (::unlinkat(::dirfd(dir), name, 0) == 0)
      qInfo().noquote() << "SafeFile: removed" << (folder + '/' + name) << "left by an earlier cut write";
  }
  ::closedir(dir);
}

} // namespace

namespace SafeFile {

void setWriteFaultForTesting(WriteFault fault) {
  g_writeFault.store(fault);
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions) {
  if (path.isEmpty())
    return false;
  const QByteArray target = QFile::encodeName(path);
  removeStaleTemporaries(target);
  // Our files hold settings, numbers and messages: private unless asked otherwise. An existing
  // file keeps its mode, but never that others may write it.
  mode_t mode = 0600;
  if (permissions)
    mode = toMode(permissions);
  else if (struct stat st{}; ::lstat(target.constData(), &st) == 0 && S_ISREG(st.st_mode))
    mode = (st.st_mode & 07777) & ~mode_t(S_IWGRP | S_IWOTH);

  // A name of our own beside the target, so that the rename stays on one file system.
  int fd = -1;
  QByteArray temp;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = target + kTempMarker + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    // Created private: nothing of the content is readable by others before the mode is set.
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST)
      return fail(path, "create a temporary file for", errno);
  }
  if (fd < 0)
    return fail(path, "create a temporary file for", EEXIST);

  int error = 0;
  const char *step = "write";
  bool ok = true;
  if (::fchmod(fd, mode) != 0) {
    ok = false;
    error = errno;
  }
  ok = ok && writeAll(fd, bytes, &error);
  // The data must be on the disk before the name points at it.
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    error = errno;
  }
  // close() reports what a network or quota-limited file system noticed late.
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.constData(), target.constData()) != 0) {
    ok = false;
    error = errno;
    step = "replace";
  }
  if (!ok) {
    ::unlink(temp.constData());
    return fail(path, step, error);
  }
  return true;
}

bool readRegularFile(const QString &path, QByteArray *out, qint64 maxBytes) {
  return readRegular(path, out, maxBytes) == ReadResult::Read;
}

ReadResult readRegular(const QString &path, QByteArray *out, qint64 maxBytes) {
  out->clear();
  if (path.isEmpty())
    return ReadResult::Missing;
  // Non-blocking: opening a FIFO for reading would otherwise wait for a writer forever.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0)
    return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return ReadResult::Failed;
  }
  if (!S_ISREG(st.st_mode) || st.st_size > maxBytes) {
    qWarning().noquote() << "SafeFile: not reading" << path
                         << (S_ISREG(st.st_mode) ? "(too large)" : "(not a regular file)");
    ::close(fd);
    return S_ISREG(st.st_mode) ? ReadResult::TooLarge : ReadResult::NotAFile;
  }
  QByteArray data;
  data.resize(qsizetype(st.st_size));
  qint64 got = 0;
  // The file may grow while we read; never past the limit.
  for (;;) {
    if (got == data.size()) {
      if (data.size() >= maxBytes + 1)
        break;
      data.resize(qsizetype(std::min<qint64>(maxBytes + 1, std::max<qint64>(4096, data.size() * 2))));
    }
    const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      ::close(fd);
      return ReadResult::Failed;
    }
    if (n == 0)
      break;
    got += n;
  }
  ::close(fd);
  if (got > maxBytes) {
    qWarning().noquote() << "SafeFile: not reading" << path << "(too large)";
    return ReadResult::TooLarge;
  }
  data.truncate(qsizetype(got));
  *out = std::move(data);
  return ReadResult::Read;
}

bool setAside(const QString &path, QString *target) {
  const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz"));
  const QString base = path + QStringLiteral(".damaged-") + stamp;
  QString aside = base;
  for (int n = 1;; ++n) {
    // link() never replaces an existing name, so no earlier copy is lost to a race.
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0) {
      ::unlink(QFile::encodeName(path).constData());
      break;
    }
    if (errno != EEXIST || n > 1000) {
      // A file system without hard links: a rename to a name just seen free.
      if (errno != EEXIST && !QFileInfo::exists(aside) &&
          ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0)
        break;
      qWarning().noquote() << "SafeFile:" << path << "cannot be read and cannot be moved aside; left as it is";
      return false;
    }
    aside = base + QLatin1Char('-') + QString::number(n);
  }
  qWarning().noquote() << "SafeFile:" << path << "cannot be read; kept as" << aside;
  if (target)
    *target = aside;
  return true;
}

bool makeFolder(const QString &path, int mode) {
  if (path.isEmpty())
    return false;
  const QByteArray full = QFile::encodeName(QDir::cleanPath(path));
  struct stat st {};
  if (::stat(full.constData(), &st) == 0)
    return S_ISDIR(st.st_mode);
  // Create from the first missing component down.
  QList<QByteArray> missing;
  QByteArray at = full;
  while (!at.isEmpty() && ::stat(at.constData(), &st) != 0) {
    missing.prepend(at);
    const qsizetype slash = at.lastIndexOf('/');
    at = slash > 0 ? at.left(slash) : QByteArray();
  }
  for (const QByteArray &folder : missing) {
    if (::mkdir(folder.constData(), mode_t(mode)) != 0) {
      if (errno == EEXIST)
        continue; // made by someone else meanwhile: not ours to change
      return fail(path, "create the folder", errno);
    }
    // mkdir applies the umask; the folder must end up exactly as asked.
    if (::chmod(folder.constData(), mode_t(mode)) != 0)
      return fail(path, "set the mode of", errno);
  }
  return ::stat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace SafeFile
