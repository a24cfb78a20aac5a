// The customer log's day files on a folder of the test's own with a fixed clock, and the
// controller's events from the backend's reports.
#include "CustomerLogController.h"
#include "SignalFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using namespace signaltest;

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

class CustomerLog : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QDateTime clock{QDate(2026, 12, 8), QTime(9, 30, 5)};
  CustomerLogBook book{dir.filePath(QStringLiteral("CSVLog"))};

  void SetUp() override {
    book.setHeader(QStringLiteral("Date;Time;PCID;Event;RSSI;RAT;LAC;CELLID;RNC;Up;Down"));
    book.setPcId(QStringLiteral("alice"));
    book.setClock([this] { return clock; });
  }
  QString file(const char *name) const { return dir.filePath(QStringLiteral("CSVLog/") + QLatin1String(name)); }
  QStringList files() const { return QDir(dir.filePath(QStringLiteral("CSVLog"))).entryList(QDir::Files, QDir::Name); }
};

TEST_F(CustomerLog, TheFirstWriteOfADayPutsTheHeaderLaterOnesAppend) {
  EXPECT_TRUE(book.write()); // nothing queued: no file
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("CSVLog"))));
  CustomerLogBook::Values v;
  book.add(QStringLiteral("PLUG IN MODEM"), v);
  ASSERT_TRUE(book.write());
  EXPECT_EQ(book.queued(), 0);
  clock = clock.addSecs(60);
  v.rssi = QStringLiteral("-75");
  v.rat = QStringLiteral("UMTS;HSPA\r\n"); // separator and line breaks never split a line
  book.add(QStringLiteral("RSSI"), v);
  ASSERT_TRUE(book.write());
  EXPECT_EQ(readAll(file("08122026.csv")),
            QByteArray("Date;Time;PCID;Event;RSSI;RAT;LAC;CELLID;RNC;Up;Down\r\n"
                       "08/12/26;09:30:05;alice;PLUG IN MODEM;0;No Service;0;0;0;0.00 Kbps;0.00 Kbps\r\n"
                       "08/12/26;09:31:05;alice;RSSI;-75;UMTS HSPA  ;0;0;0;0.00 Kbps;0.00 Kbps\r\n"));

  // Events queued before midnight go to the file of the day of the write.
  book.add(QStringLiteral("LATE"), v);
  clock = QDateTime(QDate(2026, 12, 9), QTime(0, 0, 30));
  ASSERT_TRUE(book.write());
  const QByteArray next = readAll(file("09122026.csv"));
  EXPECT_TRUE(next.startsWith("Date;Time;"));
  EXPECT_TRUE(next.contains("08/12/26;09:31:05;alice;LATE;"));
}

TEST_F(CustomerLog, OldContentIsKeptByteForByteAndAnUpperCaseFileIsTakenOver) {
  QDir().mkpath(dir.filePath(QStringLiteral("CSVLog")));
  const QByteArray old("header\r\nno final line break \xC3\xA9\xFF");
  writeAll(file("08122026.CSV"), old);
  book.add(QStringLiteral("E"), {});
  ASSERT_TRUE(book.write());
  EXPECT_TRUE(readAll(file("08122026.csv")).startsWith(old));
  EXPECT_FALSE(QFileInfo::exists(file("08122026.CSV")));
}

TEST_F(CustomerLog, AnUnreadableDayFileIsKeptWithTheEvents) {
  QDir().mkpath(file("08122026.csv")); // a folder in the file's place cannot be read
  book.add(QStringLiteral("E"), {});
  EXPECT_FALSE(book.write());
  EXPECT_EQ(book.queued(), 1);
  EXPECT_TRUE(QFileInfo(file("08122026.csv")).isDir());
}

TEST_F(CustomerLog, AFailedWriteKeepsTheQueueForTheNextMinute) {
  bool fail = true;
  book.setWriter([&](const QString &, const QByteArray &) { return !fail; });
  book.add(QStringLiteral("A"), {});
  EXPECT_FALSE(book.write());
  EXPECT_EQ(book.queued(), 1);
  fail = false;
  book.add(QStringLiteral("B"), {});
  EXPECT_TRUE(book.write());
  EXPECT_EQ(book.queued(), 0);
}

TEST_F(CustomerLog, OnlyThisMonthsAndThePreviousMonthsDayFilesAreKept) {
  struct Case {
    QDate today;
    QStringList present, kept;
  };
  const QList<Case> cases = {
      {QDate(2027, 1, 15),
       {"01122026.csv", "31122026.CSV", "01112026.csv", "02012026.csv", "03012027.csv", "notes.csv", "1512026.csv"},
       {"01122026.csv", "03012027.csv", "15012027.csv", "1512026.csv", "31122026.CSV", "notes.csv"}},
      {QDate(2026, 3, 2),
       {"01022026.csv", "28022025.csv", "01032025.csv", "15012026.csv", "05032026.csv"},
       {"01022026.csv", "02032026.csv", "05032026.csv"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.today.toString().toStdString());
    QDir(dir.filePath(QStringLiteral("CSVLog"))).removeRecursively();
    QDir().mkpath(dir.filePath(QStringLiteral("CSVLog")));
    for (const QString &name : c.present)
      writeAll(dir.filePath(QStringLiteral("CSVLog/") + name), "x\r\n");
    clock = QDateTime(c.today, QTime(12, 0));
    book.add(QStringLiteral("E"), {});
    ASSERT_TRUE(book.write());
    EXPECT_EQ(files(), c.kept);
  }
}

TEST_F(CustomerLog, DayFileNames) {
  EXPECT_EQ(CustomerLogBook::dayFileName(QDate(2026, 12, 8)), QStringLiteral("08122026.csv"));
  EXPECT_EQ(CustomerLogBook::dayFileName(QDate(2031, 1, 31)), QStringLiteral("31012031.csv"));
}

// The controller: which reports queue an event, with the values the line carries.
class CustomerLogEvents : public SignalFixture {
protected:
  CustomerLogController *log = nullptr;
  void SetUp() override {
    SignalFixture::SetUp();
    log = g_CustomerLogController;
    ASSERT_NE(log, nullptr);
    log->book().setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 0)); });
  }
  QStringList events() const {
    QStringList out;
    for (const CustomerLogBook::Event &e : log->book().queue())
      out << e.message;
    return out;
  }
  static QByteArray roamInfo(const char *lac, const char *cell) {
    QByteArray data(28, '\0');
    data.replace(4, int(qstrlen(lac)), lac);
    data.replace(14, int(qstrlen(cell)), cell);
    return data;
  }
  static QByteArray netInfo(const char *type) {
    QByteArray data(108, '\0');
    data.replace(40, int(qstrlen(type)), type);
    return data;
  }
};

TEST_F(CustomerLogEvents, OnlyChangedValuesQueueEventsCarryingTheNewValue) {
  EXPECT_TRUE(log->isTimerRunning());
  log->dealWithMsgOfGetRssi(package(7, 36, {17}));
  log->dealWithMsgOfGetRssi(package(7, 36, {17}));
  log->dealWithMsgOfNetInf(textPackage(7, 37, netInfo("UMTS")));
  log->dealWithMsgOfGetLacAndCellID(textPackage(7, 39, roamInfo("1A2B", "00C3")));
  log->dealWithMsgOfGetLacAndCellID(textPackage(7, 39, roamInfo("1A2B", "00C3"))); // the same cell
  log->dealWithMsgOfGetLacAndCellID(textPackage(7, 39, roamInfo("0000", "0000"))); // zero: nothing
  log->dealWithMsgOfGetLacAndCellID(textPackage(7, 39, roamInfo("1A2B", "ABCDEF")));
  EXPECT_EQ(events(), QStringList({"RSSI", "RAT", "LAC", "CELLID", "CELLID"}));
  const auto &q = log->book().queue();
  EXPECT_EQ(q.at(0).values.rssi, QStringLiteral("17"));
  EXPECT_EQ(q.at(1).values.rat, QStringLiteral("UMTS"));
  EXPECT_EQ(q.at(2).values.lac, QStringLiteral("1a2b"));
  EXPECT_EQ(q.at(3).values.cellId, QStringLiteral("195"));
  EXPECT_EQ(q.at(3).values.rnc, QStringLiteral("c3"));
  EXPECT_EQ(q.at(4).values.cellId, QString::number(0xABCD)); // the first four characters
}

TEST_F(CustomerLogEvents, SpeedsAreLoggedOnlyWithTheSwitchButAlwaysCarried) {
  const auto speed = [](const char *up, const char *down) {
    NotificationCenter::defaultCenter().postNotificationName(
        QStringLiteral("SendSpeedData"), nullptr,
        {{QStringLiteral("UpSpeed"), QLatin1String(up)}, {QStringLiteral("DownSpeed"), QLatin1String(down)}});
  };
  speed("1.00 Kbps", "2.00 Kbps");
  EXPECT_TRUE(events().isEmpty());
  EXPECT_EQ(log->current().upLink, QStringLiteral("1.00 Kbps"));
  setSwitch(QStringLiteral("SetCregATCmd"), QStringLiteral("SpeedLog"), true);
  speed("1.00 Kbps", "3.00 Kbps");
  EXPECT_EQ(events(), QStringList({"DOWNLINK"}));
  init()->notifyDevicePlugin();
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("ConnectFailed"));
  EXPECT_EQ(events(), QStringList({"DOWNLINK", "PLUG IN MODEM", "CONNECTION FAILED"}));
  EXPECT_EQ(log->book().queue().last().values.downLink, QStringLiteral("3.00 Kbps"));
}

} // namespace
