#include "SafeFile.h"
#include "Plist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeRaw(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

int modeOf(const QString &path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Everything in the folder but the names given: a failed write must leave no temporary file.
QStringList othersIn(const QString &folder, const QStringList &known) {
  QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  for (const QString &k : known)
    names.removeAll(k);
  return names;
}

// Restores the process's umask however the test ends.
struct UmaskGuard {
  mode_t old;
  explicit UmaskGuard(mode_t m) : old(::umask(m)) {}
  ~UmaskGuard() { ::umask(old); }
};

// A full disk, as the kernel reports it to a process over its file-size limit: every write past
// the limit fails with EFBIG. Runs in a child so that the limit stays there.
TEST(SafeFile, AWriteThatFailsOnTheDiskKeepsTheOldFileByteForByte) {
  QTemporaryDir dir;
  const QString plain = dir.filePath("settings.plist");
  const QString viaPlist = dir.filePath("list.plist");
  const QByteArray old = "<old contents that must survive>";
  writeRaw(plain, old);
  ASSERT_TRUE(Plist::writeFile(viaPlist, QVariantMap{{"kept", 1}}));
  const QByteArray oldPlist = readAll(viaPlist);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int failures = 0;
    // A caller that believed these would lose the old file on the next start.
    if (SafeFile::writeAtomically(plain, QByteArray(64 * 1024, 'n')))
      failures |= 1;
    QVariantMap big;
    for (int i = 0; i < 500; ++i)
      big.insert(QStringLiteral("key%1").arg(i), QStringLiteral("value %1").arg(i));
    if (Plist::writeFile(viaPlist, big))
      failures |= 2;
    // A small write still fits and goes through.
    if (!SafeFile::writeAtomically(dir.filePath("small"), "fits"))
      failures |= 4;
    ::_exit(failures);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "bit 1: raw write, 2: plist write answered YES; 4: small write failed";
  EXPECT_EQ(readAll(plain), old);
  EXPECT_EQ(readAll(viaPlist), oldPlist);
  EXPECT_EQ(readAll(dir.filePath("small")), "fits");
  EXPECT_EQ(othersIn(dir.path(), {"settings.plist", "list.plist", "small"}), QStringList());
}

TEST(SafeFile, AnInjectedWriteErrorAnswersNoAndLeavesNothingBehind) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.plist");
  writeRaw(path, "before");
  for (int error : {ENOSPC, EIO, EDQUOT}) {
    static int g_error;
    g_error = error;
    SafeFile::setWriteFaultForTesting([](qint64) { return g_error; });
    EXPECT_FALSE(SafeFile::writeAtomically(path, "after")) << error;
    SafeFile::setWriteFaultForTesting(nullptr);
    EXPECT_EQ(readAll(path), "before");
    EXPECT_EQ(othersIn(dir.path(), {"a.plist"}), QStringList());
  }
  EXPECT_TRUE(SafeFile::writeAtomically(path, "after"));
  EXPECT_EQ(readAll(path), "after");
}

TEST(SafeFile, ALinkAtThePathIsReplacedAndItsTargetNeverWritten) {
  QTemporaryDir dir;
  const QString target = dir.filePath("elsewhere");
  writeRaw(target, "precious");
  const QString path = dir.filePath("settings.plist");
  ASSERT_TRUE(QFile::link(target, path));
  ASSERT_TRUE(SafeFile::writeAtomically(path, "new"));
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_EQ(readAll(path), "new");
  EXPECT_EQ(readAll(target), "precious");
}

TEST(SafeFile, ModesFollowTheRequestWhateverTheUmask) {
  QTemporaryDir dir;
  UmaskGuard guard(0);
  const auto priv = QFileDevice::ReadUser | QFileDevice::WriteUser;
  // Asked for: exactly that, also over an existing world-readable file.
  writeRaw(dir.filePath("pin"), "x");
  QFile::setPermissions(dir.filePath("pin"), QFileDevice::Permissions(0x0666));
  ASSERT_TRUE(SafeFile::writeAtomically(dir.filePath("pin"), "1234", priv));
  EXPECT_EQ(modeOf(dir.filePath("pin")), 0600);
  ASSERT_TRUE(Plist::writeFile(dir.filePath("dial.plist"), QVariantList{1}, int(priv)));
  EXPECT_EQ(modeOf(dir.filePath("dial.plist")), 0600);
  // Not asked for: a new file is private whatever the umask; an existing file keeps its mode
  // except that others may write it.
  struct Case {
    const char *name;
    int before; // -1: no file yet
    int after;
  };
  for (const Case &c : {Case{"fresh", -1, 0600}, Case{"kept", 0640, 0640}, Case{"open", 0666, 0644},
                        Case{"groupw", 0664, 0644}, Case{"exec", 0755, 0755}}) {
    const QString path = dir.filePath(c.name);
    if (c.before >= 0) {
      writeRaw(path, "x");
      ::chmod(QFile::encodeName(path).constData(), mode_t(c.before));
    }
    ASSERT_TRUE(SafeFile::writeAtomically(path, "y")) << c.name;
    EXPECT_EQ(modeOf(path), c.after) << c.name;
  }
  ASSERT_TRUE(Plist::writeFile(dir.filePath("new.plist"), QVariantList{1}));
  EXPECT_EQ(modeOf(dir.filePath("new.plist")), 0600);
}

// A write cut by a crash leaves its temporary file; the next write to the same file removes it,
// and nothing that could be another writer's file in progress or not ours.
TEST(SafeFile, TheNextWriteRemovesTemporariesOfCutWrites) {
  QTemporaryDir dir;
  const QString path = dir.filePath("list.plist");
  const auto age = [&](const QString &name, int seconds) {
    const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, AT_SYMLINK_NOFOLLOW), 0)
        << qPrintable(name);
  };
  for (const char *name :
       {"list.plist.tmp-1a2b3c", "list.plist.tmp-zzzzzzzzzzzzz", "list.plist.tmp-fresh1", "other.plist.tmp-1a2b3c",
        "list.plist.tmp-ABC", "list.plist.tmp-1a2b3c.keep", "list.plist.tmp-", "xlist.plist.tmp-1a2b"})
    writeRaw(dir.filePath(name), "half");
  ASSERT_TRUE(QDir(dir.path()).mkdir("list.plist.tmp-dir1"));
  ASSERT_TRUE(QFile::link(dir.filePath("other.plist.tmp-1a2b3c"), dir.filePath("list.plist.tmp-link1")));
  for (const char *name : {"list.plist.tmp-1a2b3c", "list.plist.tmp-zzzzzzzzzzzzz", "other.plist.tmp-1a2b3c",
                           "list.plist.tmp-ABC", "list.plist.tmp-1a2b3c.keep", "list.plist.tmp-",
                           "xlist.plist.tmp-1a2b", "list.plist.tmp-dir1", "list.plist.tmp-link1"})
    age(name, 3600);
  age("list.plist.tmp-fresh1", 5);

  ASSERT_TRUE(SafeFile::writeAtomically(path, "whole"));
  EXPECT_EQ(readAll(path), "whole");
  QStringList left = othersIn(dir.path(), {"list.plist"});
  left.sort();
  EXPECT_EQ(left, (QStringList{"list.plist.tmp-", "list.plist.tmp-1a2b3c.keep", "list.plist.tmp-ABC",
                               "list.plist.tmp-dir1", "list.plist.tmp-fresh1", "list.plist.tmp-link1",
                               "other.plist.tmp-1a2b3c", "xlist.plist.tmp-1a2b"}));
}

TEST(SafeFile, ReadsOnlyRegularFilesOfBoundedSize) {
  QTemporaryDir dir;
  writeRaw(dir.filePath("ok"), "content");
  QByteArray out = "stale";
  ASSERT_TRUE(SafeFile::readRegularFile(dir.filePath("ok"), &out));
  EXPECT_EQ(out, "content");

  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
  QFile::link("/dev/zero", dir.filePath("zero"));
  QFile::link(dir.filePath("fifo"), dir.filePath("tofifo"));
  QDir().mkdir(dir.filePath("folder"));
  writeRaw(dir.filePath("big"), QByteArray(2000, 'b'));
  struct Case {
    const char *name;
    qint64 limit;
    SafeFile::ReadResult result; // a file too large is told apart from one that is no file
  };
  using R = SafeFile::ReadResult;
  for (const Case &c :
       {Case{"fifo", 1000, R::NotAFile}, Case{"zero", 1000, R::NotAFile}, Case{"tofifo", 1000, R::NotAFile},
        Case{"folder", 1000, R::NotAFile}, Case{"big", 1999, R::TooLarge}, Case{"missing", 1000, R::Missing}}) {
    out = "stale";
    EXPECT_FALSE(SafeFile::readRegularFile(dir.filePath(c.name), &out, c.limit)) << c.name;
    EXPECT_TRUE(out.isEmpty()) << c.name;
    out = "stale";
    EXPECT_EQ(SafeFile::readRegular(dir.filePath(c.name), &out, c.limit), c.result) << c.name;
    EXPECT_TRUE(out.isEmpty()) << c.name;
  }
  EXPECT_TRUE(SafeFile::readRegularFile(dir.filePath("big"), &out, 2000));
  EXPECT_EQ(out.size(), 2000);
  QVariant v;
  EXPECT_FALSE(Plist::readFile(dir.filePath("fifo"), &v)) << "a plist read never blocks on a FIFO";
}

TEST(SafeFile, FoldersItCreatesArePrivateWhateverTheUmask) {
  QTemporaryDir dir;
  UmaskGuard guard(0);
  ASSERT_TRUE(SafeFile::makeFolder(dir.filePath("a/b/c/")));
  for (const char *f : {"a", "a/b", "a/b/c"})
    EXPECT_EQ(modeOf(dir.filePath(f)), 0700) << f;
  ::chmod(QFile::encodeName(dir.filePath("a")).constData(), 0755);
  EXPECT_TRUE(SafeFile::makeFolder(dir.filePath("a/b")));
  EXPECT_EQ(modeOf(dir.filePath("a")), 0755) << "an existing folder is not changed";
  writeRaw(dir.filePath("file"), "x");
  EXPECT_FALSE(SafeFile::makeFolder(dir.filePath("file")));
  EXPECT_FALSE(SafeFile::makeFolder(dir.filePath("file/sub")));
}

} // namespace
