#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

// The process-wide AT and diagnostic log: "at_write.log" (commands written to the modem),
// "at_read.log" (answers read from it) and a console channel. Both files are created when the
// log is made, whatever the switch says; the switch governs the console channel only.
//
// The files are private to the user: created 0600, never opened through a symbolic link, and an
// existing file that is not a regular file of this user is left alone (its entries are dropped).
class KLog {
public:
  // Folder from the settings' "LogFileDir", else defaultLogFolder().
  KLog();
  explicit KLog(const QString &logDir);
  ~KLog();
  KLog(const KLog &) = delete;
  KLog &operator=(const KLog &) = delete;

  static KLog *sharedLog();
  // Tests install a fresh log; the previous one is not deleted (it is never released).
  static void setSharedLog(KLog *log);

  // The folder used without "LogFileDir": a per-user folder, never the shared /tmp. The first
  // of $XDG_RUNTIME_DIR/qel-connection-manager and $XDG_STATE_HOME (~/.local/state)/qel-connection-manager.
  static QString defaultLogFolder();
  static QString logFolderFromSettings();

  static QString writeLogFileName() { return QStringLiteral("at_write.log"); }
  static QString readLogFileName() { return QStringLiteral("at_read.log"); }
  // The time stamp of an entry at this moment, local time: MM/dd/yy HH:mm:ss:zzz.
  static QByteArray timeStamp();

  bool getKLogFlag() const;
  void setKLogFlag(bool on);
  QString logDir() const { return logDir_; }
  bool filesOpen() const { return ATWrite_ >= 0 && ATRead_ >= 0; }

  // Stamp, a tab, the text; no line break added.
  void putATWriteLog(const char *text);
  // A line break, the stamp, a line break, the text.
  void putATReadLog(const char *text);
  // The diagnostic logs have no destination.
  void putDiagWriteLog(const char *) {}
  void putDiagReadLog(const char *) {}
  void output(const char *text);
  void output(int type, const char *logStr);

private:
  void openFiles();
  void append(int fd, const QByteArray &bytes);

  mutable QMutex lock_;
  bool m_LogFlag = true;
  QString logDir_;
  int ATWrite_ = -1;
  int ATRead_ = -1;
};

// Log types of output(type, ...) and DCLog.
enum KLogType : int {
  kKLogATWrite = 0,
  kKLogATRead = 1,
  kKLogDiagWrite = 2,
  kKLogDiagRead = 3,
  kKLogConsole = 4,
  kKLogConsoleLast = 6,
};

// The C interface.
void SetKLogOpen(char on);
char IsKLogOpen();
// printf-style; written to the console when the log's switch is on.
void ShowKLog(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Types 4 to 6 format `format` with the arguments; other types take `format` as the text.
// Does not look at the switch.
void DCLog(int type, const char *format, ...);
