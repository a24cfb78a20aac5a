#include "KLog.h"
#include "SafeFile.h"

#include "ConfigManager.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char *kLogFolderName = "qel-connection-manager";
constexpr qsizetype kMaxConsoleText = 64 * 1024;

KLog *g_sharedLog = nullptr;
QMutex g_sharedLock;

// A folder of ours, private to the user, that nobody else can swap under us.
bool isPrivateFolderOfUser(const QString &path) {
  struct stat st {};
  const QByteArray p = QFile::encodeName(path);
  return ::lstat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

QString ensurePrivateFolder(const QString &base) {
  if (base.isEmpty() || !isPrivateFolderOfUser(base))
    return {};
  const QString folder = base + QLatin1Char('/') + QLatin1String(kLogFolderName);
  const QByteArray p = QFile::encodeName(folder);
  if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST)
    return {};
  return isPrivateFolderOfUser(folder) ? folder : QString();
}

// Opens one log file for appending: created 0600, refused when the last component is a
// symbolic link, or when what is there is not a regular file owned by this user.
int openLogFile(const QString &path) {
  const QByteArray p = QFile::encodeName(path);
  const int fd = ::open(p.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  if (fd < 0) {
    qWarning("KLog: cannot open %s: %s", p.constData(), strerror(errno));
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    qWarning("KLog: %s is not a private regular file; not logging to it", p.constData());
    ::close(fd);
    return -1;
  }
  if ((st.st_mode & 077) != 0)
    ::fchmod(fd, 0600);
  // Back to blocking writes: O_NONBLOCK only kept a FIFO in its place from stalling the open.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0)
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}
} // namespace

KLog::KLog() : KLog(logFolderFromSettings()) {}

KLog::KLog(const QString &logDir) : logDir_(logDir) {
  openFiles();
}

KLog::~KLog() {
  if (ATWrite_ >= 0)
    ::close(ATWrite_);
  if (ATRead_ >= 0)
    ::close(ATRead_);
}

KLog *KLog::sharedLog() {
  QMutexLocker locker(&g_sharedLock);
  if (!g_sharedLog)
    g_sharedLog = new KLog();
  return g_sharedLog;
}

void KLog::setSharedLog(KLog *log) {
  QMutexLocker locker(&g_sharedLock);
  g_sharedLog = log;
}

QString KLog::defaultLogFolder() {
  QString folder = ensurePrivateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  if (!folder.isEmpty())
    return folder;
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || !QDir::isAbsolutePath(state))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  // Missing parents are the user's own: nobody else needs to read or enter them.
  SafeFile::makeFolder(state, 0700);
  return ensurePrivateFolder(state);
}

QString KLog::logFolderFromSettings() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (config) {
    const QVariant dir = config->getConfigurationByModule(QStringLiteral("LogFileDir"));
    if (dir.typeId() == QMetaType::QString && !dir.toString().isEmpty())
      return QDir::cleanPath(dir.toString());
  }
  return defaultLogFolder();
}

QByteArray KLog::timeStamp() {
  return QDateTime::currentDateTime().toString(QStringLiteral("MM/dd/yy HH:mm:ss:zzz")).toUtf8();
}

void KLog::openFiles() {
  if (logDir_.isEmpty()) {
    qWarning("KLog: no log folder; AT logging is off");
    return;
  }
  ATWrite_ = openLogFile(logDir_ + QLatin1Char('/') + writeLogFileName());
  ATRead_ = openLogFile(logDir_ + QLatin1Char('/') + readLogFileName());
}

bool KLog::getKLogFlag() const {
  QMutexLocker locker(&lock_);
  return m_LogFlag;
}

void KLog::setKLogFlag(bool on) {
  QMutexLocker locker(&lock_);
  m_LogFlag = on;
}

void KLog::append(int fd, const QByteArray &bytes) {
  if (fd < 0)
    return;
  // One write per entry: with O_APPEND the entry lands whole at the end, even from two threads.
  const char *data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;
    data += n;
    left -= n;
  }
}

void KLog::putATWriteLog(const char *text) {
  QByteArray entry = timeStamp();
  entry += '\t';
  if (text)
    entry += text;
  append(ATWrite_, entry);
}

void KLog::putATReadLog(const char *text) {
  QByteArray entry("\n");
  entry += timeStamp();
  entry += '\n';
  if (text)
    entry += text;
  append(ATRead_, entry);
}

void KLog::output(const char *text) {
  qInfo("%s", text ? text : "");
}

void KLog::output(int type, const char *logStr) {
  switch (type) {
  case kKLogATWrite:
    putATWriteLog(logStr);
    break;
  case kKLogATRead:
    putATReadLog(logStr);
    break;
  case kKLogDiagWrite:
    putDiagWriteLog(logStr);
    break;
  case kKLogDiagRead:
    putDiagReadLog(logStr);
    break;
  case 4:
  case 5:
  case kKLogConsoleLast:
    output(logStr);
    break;
  default:
    break;
  }
}

void SetKLogOpen(char on) {
  KLog::sharedLog()->setKLogFlag(on != 0);
}

char IsKLogOpen() {
  return KLog::sharedLog()->getKLogFlag() ? 1 : 0;
}

namespace {
QByteArray formatArgs(const char *format, va_list args) {
  if (!format)
    return {};
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0)
    return {};
  QByteArray text(qMin<qsizetype>(n, kMaxConsoleText) + 1, '\0');
  std::vsnprintf(text.data(), static_cast<size_t>(text.size()), format, args);
  text.chop(1);
  return text;
}
} // namespace

void ShowKLog(const char *format, ...) {
  if (!IsKLogOpen())
    return;
  va_list args;
  va_start(args, format);
  const QByteArray text = formatArgs(format, args);
  va_end(args);
  KLog::sharedLog()->output(text.constData());
}

void DCLog(int type, const char *format, ...) {
  if (type >= kKLogConsole && type <= kKLogConsoleLast) {
    va_list args;
    va_start(args, format);
    const QByteArray text = formatArgs(format, args);
    va_end(args);
    KLog::sharedLog()->output(type, text.constData());
    return;
  }
  KLog::sharedLog()->output(type, format);
}
