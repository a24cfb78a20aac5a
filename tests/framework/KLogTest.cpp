#include "KLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

mode_t modeOf(const QString &path) {
  struct stat st {};
  ::lstat(QFile::encodeName(path).constData(), &st);
  return st.st_mode & 07777;
}

const char *const kStamp = R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d:\d\d\d)";

} // namespace

TEST(KLog, CreatesBothFilesEmptyAndPrivateEvenWithTheSwitchOff) {
  QTemporaryDir dir;
  KLog log(dir.path());
  log.setKLogFlag(false);
  for (const QString &name : {KLog::writeLogFileName(), KLog::readLogFileName()}) {
    const QString path = dir.path() + "/" + name;
    ASSERT_TRUE(QFile::exists(path)) << name.toStdString();
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(modeOf(path), 0600u) << name.toStdString();
  }
  EXPECT_TRUE(log.filesOpen());
}

TEST(KLog, WritesStampedEntriesInEachFilesLayout) {
  QTemporaryDir dir;
  KLog log(dir.path());
  log.putATWriteLog("AT+CGMI\r");
  log.putATWriteLog("AT+CGSN\r");
  log.putATReadLog("OK");
  log.output(kKLogATRead, "ERROR");

  const QString write = QString::fromUtf8(readAll(dir.path() + "/at_write.log"));
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^%1\tAT\\+CGMI\r%1\tAT\\+CGSN\r$").arg(kStamp)).match(write).hasMatch())
      << write.toStdString();
  const QString read = QString::fromUtf8(readAll(dir.path() + "/at_read.log"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\n%1\nOK\n%1\nERROR$").arg(kStamp)).match(read).hasMatch())
      << read.toStdString();
}

TEST(KLog, OtherTypesWriteNothingToTheFiles) {
  QTemporaryDir dir;
  KLog log(dir.path());
  for (int type : {2, 3, 4, 5, 6, 7, -1, 1000})
    log.output(type, "text");
  EXPECT_EQ(QFile(dir.path() + "/at_write.log").size(), 0);
  EXPECT_EQ(QFile(dir.path() + "/at_read.log").size(), 0);
}

TEST(KLog, NeverFollowsASymbolicLinkNorWritesAnotherUsersOrAWideFile) {
  QTemporaryDir dir;
  const QString victim = dir.path() + "/victim";
  {
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("precious");
  }
  ASSERT_TRUE(QFile::link(victim, dir.path() + "/at_write.log"));
  ASSERT_TRUE(QFile::link(dir.path() + "/nowhere", dir.path() + "/at_read.log"));
  {
    KLog log(dir.path());
    EXPECT_FALSE(log.filesOpen());
    log.putATWriteLog("AT\r");
    log.putATReadLog("OK");
  }
  EXPECT_EQ(readAll(victim), "precious");
  EXPECT_FALSE(QFile::exists(dir.path() + "/nowhere")) << "a dangling link must not create its target";

  // A log file left readable by others is taken back to the user alone.
  QTemporaryDir other;
  const QString wide = other.path() + "/at_write.log";
  {
    QFile f(wide);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  ::chmod(QFile::encodeName(wide).constData(), 0666);
  KLog log(other.path());
  EXPECT_EQ(modeOf(wide), 0600u);

  // A folder in place of a file is not a log.
  QTemporaryDir third;
  QDir(third.path()).mkdir("at_read.log");
  KLog withFolder(third.path());
  EXPECT_FALSE(withFolder.filesOpen());
  withFolder.putATReadLog("OK");
}

TEST(KLog, DefaultFolderIsPerUserAndPrivate) {
  QTemporaryDir runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  const QString folder = KLog::defaultLogFolder();
  EXPECT_EQ(folder, runtime.path() + "/qel-connection-manager");
  EXPECT_EQ(modeOf(folder), 0700u);
  EXPECT_FALSE(folder.startsWith("/tmp/at_"));

  // A runtime folder that is a link to somewhere else is not trusted: the state folder is used.
  QTemporaryDir elsewhere, state;
  const QString linked = runtime.path() + "/linked";
  ASSERT_TRUE(QFile::link(elsewhere.path(), linked));
  const QByteArray savedState = qgetenv("XDG_STATE_HOME");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(linked));
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  EXPECT_EQ(KLog::defaultLogFolder(), state.path() + "/qel-connection-manager");
  qputenv("XDG_RUNTIME_DIR", saved);
  qputenv("XDG_STATE_HOME", savedState);
}

TEST(KLog, SwitchGovernsOnlyTheConsoleChannel) {
  QTemporaryDir dir;
  KLog shared(dir.path());
  KLog *log = &shared;
  KLog::setSharedLog(log);
  EXPECT_TRUE(IsKLogOpen()) << "on at creation";
  SetKLogOpen(0);
  EXPECT_FALSE(IsKLogOpen());
  ShowKLog("hidden %d", 1);
  DCLog(kKLogATWrite, "AT%d\r"); // the text itself, not a format
  DCLog(7, "nothing");
  SetKLogOpen(1);
  EXPECT_TRUE(log->getKLogFlag());
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1\tAT%d\r$").arg(kStamp))
                  .match(QString::fromUtf8(readAll(dir.path() + "/at_write.log")))
                  .hasMatch());
  KLog::setSharedLog(nullptr);
}
