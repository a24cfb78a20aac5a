#include "DialRecordStore.h"
#include "Plist.h"
#include "RecordsFixture.h"
#include "SafeFile.h"
#include "TestSupport.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <cerrno>

namespace {

using RecordsStore = RecordsFixture;

// The scanner and the general plist reader agree on every shape a record file may take.
TEST_F(RecordsStore, ReadsWhatThePlistModuleWritesAndWritesWhatItReads) {
  QVariantMap full = record("a&b <c> \"d\"", "2024-03-01T10:00:00Z", 100000, "12.50", "3.25");
  full.insert("localaddr", qint64(167772162));
  full.insert("extraReal", 2.5);
  full.insert("extraBool", true);
  full.insert("extraDate", utc("2020-01-02T03:04:05Z"));
  const QVariantMap bare{{"connectname", QString("")}};
  const QVariantMap unusual{{"connecttime", 12.0}, {"blob", QByteArray("\x01\x02", 2)}, {"receivebyte", qint64(7)}};
  const QVariantList list{full, bare, unusual, QString("not a record")};
  QVariant parsedVariant;
  ASSERT_TRUE(Plist::fromData(Plist::toXml(list), &parsedVariant));

  DialRecordList parsed;
  ASSERT_TRUE(DialRecordFile::parse(Plist::toXml(list), &parsed));
  ASSERT_EQ(parsed.size(), 3); // the text entry is no record
  EXPECT_EQ(parsed[0].connectName, "a&b <c> \"d\"");
  EXPECT_EQ(parsed[0].connectTime, 100000);
  EXPECT_DOUBLE_EQ(parsed[0].receiveKB, 12.5);
  EXPECT_EQ(parsed[0].startMs, utc("2024-03-01T10:00:00Z").toMSecsSinceEpoch());
  EXPECT_EQ(parsed[0].extra.value("localaddr").toLongLong(), 167772162);
  EXPECT_TRUE(parsed[1].hasName);
  EXPECT_FALSE(parsed[1].hasStart);
  EXPECT_EQ(parsed[2].connectTime, 12);
  EXPECT_DOUBLE_EQ(parsed[2].receiveKB, 7);
  EXPECT_EQ(parsed[2].extra.value("blob").toByteArray(), QByteArray("\x01\x02", 2));

  // Written back, the file reads the same through the general reader.
  QVariant back;
  ASSERT_TRUE(Plist::fromData(DialRecordFile::toXml(parsed), &back));
  const QVariantList backList = back.toList();
  ASSERT_EQ(backList.size(), 3);
  EXPECT_EQ(backList[0].toMap(), full);
  EXPECT_EQ(backList[1].toMap(), bare);

  // Binary form, empty array, and things that are no record list.
  DialRecordList out;
  EXPECT_TRUE(DialRecordFile::parse(DialRecordFile::toXml({}), &out));
  EXPECT_TRUE(out.isEmpty());
  for (const QByteArray &bad : {QByteArray("garbage"), QByteArray(), Plist::toXml(QVariantMap{{"k", 1}}),
                                QByteArray("<plist><array><dict><key>x</key><string>unterminated"),
                                QByteArray("<!DOCTYPE plist"), QByteArray("<?xml version"), QByteArray("<!-- open")})
    EXPECT_FALSE(DialRecordFile::parse(bad, &out)) << bad.constData();
}

TEST_F(RecordsStore, KeepsTotalsOnEveryChangeAndRereadsOnlyAChangedFile) {
  writeRecords({record("one", "2024-03-01T10:00:00Z", 60, "1.50", "0.50"),
                record("two", "2024-03-02T10:00:00Z", 30, "2.00", "1.00")});
  DialRecordStore store(recordPath());
  EXPECT_TRUE(store.refresh());
  EXPECT_FALSE(store.refresh()); // nothing changed: not read again
  EXPECT_DOUBLE_EQ(store.totals().dataKB(), 5.0);
  EXPECT_EQ(store.totals().seconds, 90);

  ASSERT_TRUE(store.append(DialRecord::fromMap(record("three", "2024-03-03T10:00:00Z", 10, "1.00", "1.00"))));
  EXPECT_DOUBLE_EQ(store.totals().dataKB(), 7.0);
  EXPECT_EQ(readList(recordPath()).size(), 3);
  EXPECT_EQ(readList(recordPath())[0].toMap(), record("one", "2024-03-01T10:00:00Z", 60, "1.50", "0.50"));
  EXPECT_FALSE(store.refresh()); // our own write is no change

  // A record changed after reading is written as it is now, not as it was read.
  DialRecord changed = store.records()[1];
  changed.setReceiveByte(QStringLiteral("5.00"));
  QVariant written;
  ASSERT_TRUE(Plist::fromData(DialRecordFile::toXml({changed}), &written));
  EXPECT_EQ(written.toList()[0].toMap().value("receivebyte").toString(), "5.00");

  store.removeIds({store.records()[0].id});
  EXPECT_DOUBLE_EQ(store.totals().dataKB(), 5.0);
  EXPECT_EQ(store.totals().seconds, 40);

  // Another writer: the next refresh sees it.
  QThread::msleep(20);
  writeRecords({record("other", "2024-03-04T10:00:00Z", 5, "9.00", "0")});
  EXPECT_TRUE(store.refresh());
  EXPECT_EQ(store.count(), 1);
  EXPECT_DOUBLE_EQ(store.totals().dataKB(), 9.0);

  ASSERT_TRUE(store.clear());
  EXPECT_EQ(store.totals().seconds, 0);
  EXPECT_TRUE(readList(recordPath()).isEmpty());
}

// An unreadable file is kept aside; a failed write keeps the record for the next one.
TEST_F(RecordsStore, NeverLosesRecordsToAnUnreadableFileOrAFailedWrite) {
  {
    QFile f(recordPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<plist><array><dict>broken");
  }
  DialRecordStore store(recordPath());
  store.refresh();
  EXPECT_TRUE(store.fileWasUnreadable());
  EXPECT_TRUE(store.isEmpty());
  ASSERT_TRUE(store.append(DialRecord::fromMap(record("new", "2024-03-01T10:00:00Z", 1, "1", "1"))));
  ASSERT_FALSE(store.setAsidePath().isEmpty());
  QFile aside(store.setAsidePath());
  ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
  EXPECT_EQ(aside.readAll(), QByteArray("<plist><array><dict>broken"));
  EXPECT_EQ(readList(recordPath()).size(), 1);

  // A folder that cannot be made: the write fails, the record waits in memory.
  const QString blocked = root.filePath("blocked");
  QFile block(blocked);
  ASSERT_TRUE(block.open(QIODevice::WriteOnly));
  block.close();
  DialRecordStore failing(blocked + "/records.plist");
  EXPECT_FALSE(failing.append(DialRecord::fromMap(record("first", "2024-03-01T10:00:00Z", 1, "1", "1"))));
  EXPECT_TRUE(failing.hasUnsavedChanges());
  EXPECT_FALSE(failing.refresh()); // the file never replaces unsaved records
  ASSERT_TRUE(QFile::remove(blocked));
  ASSERT_TRUE(QDir().mkpath(blocked));
  EXPECT_TRUE(failing.append(DialRecord::fromMap(record("second", "2024-03-02T10:00:00Z", 1, "1", "1"))));
  EXPECT_FALSE(failing.hasUnsavedChanges());
  EXPECT_EQ(readList(blocked + "/records.plist").size(), 2);
}

// A records file too large to hold is refused whole: nothing of it is read, the user is told
// once, and the file is kept (set aside at the next write, byte for byte).
TEST_F(RecordsStore, ATooLargeFileIsRefusedWholeToldOnceAndKept) {
  QVariantList list;
  for (int i = 0; i < 400; ++i)
    list << record(QStringLiteral("c%1").arg(i), "2024-03-01T10:00:00Z", 60, "1.00", "2.00");
  writeRecords(list);
  const qint64 size = QFileInfo(recordPath()).size();
  QFile original(recordPath());
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();
  original.close();

  struct Case {
    qint64 limit;
    bool refused;
    int held;
  };
  for (const Case c : {Case{size, false, 400}, Case{size - 1, true, 0}, Case{1, true, 0}}) {
    DialRecordStore store(recordPath());
    store.setMaxFileBytes(c.limit);
    store.refresh();
    EXPECT_EQ(store.fileWasTooLarge(), c.refused) << c.limit;
    EXPECT_EQ(store.records().size(), c.held) << "never a part of the file";
  }

  // The real limit, against a sparse file of the next size up: refused without reading.
  ASSERT_TRUE(QFile::resize(recordPath(), DialRecordFile::kMaxFileBytes + 1));
  {
    DialRecordStore store(recordPath());
    store.refresh();
    EXPECT_TRUE(store.fileWasTooLarge());
    EXPECT_TRUE(store.isEmpty());
  }
  ASSERT_TRUE(QFile::resize(recordPath(), 0));
  writeRecords(list);

  // Through the controller: one notice however often the records are looked at.
  ScriptedAnswers answers;
  tab = std::make_unique<DialRecordTab>();
  records = std::make_unique<DialRecordController>();
  records->viewDialRecordTab_ = tab.get();
  records->mutableStore().setMaxFileBytes(size - 1);
  records->awakeFromNib();
  records->updateInterface();
  records->getTotalDataAndTime();
  const QString notice = fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Dial_RecordsFileTooLarge")),
                                          {QFileInfo(recordPath()).fileName()});
  int notices = 0;
  for (const ModalQuestion &q : answers.asked())
    if (q.message == notice)
      ++notices;
  EXPECT_EQ(notices, 1);
  EXPECT_TRUE(records->store().isEmpty());
  // A new record starts a new file; the refused one is kept aside unchanged.
  ASSERT_TRUE(records->appendRecord(record("new", "2024-03-02T10:00:00Z", 5, "1", "1")));
  const QString aside = records->store().setAsidePath();
  ASSERT_FALSE(aside.isEmpty());
  QFile kept(aside);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), bytes);
  EXPECT_EQ(readList(recordPath()).size(), 1);
}

// A full disk while records are added: the user is told once however many writes fail, the
// records stay in memory, and they reach the file by the retry timer or by the next change once
// the disk has room again.
TEST_F(RecordsStore, AFailedSaveIsToldOnceKeepsTheRecordsAndIsTriedAgain) {
  struct DiskFull {
    DiskFull() {
      SafeFile::setWriteFaultForTesting([](qint64) { return ENOSPC; });
    }
    ~DiskFull() { SafeFile::setWriteFaultForTesting(nullptr); }
  };
  const QString notice = fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Dial_RecordsNotSaved")),
                                          {QFileInfo(recordPath()).fileName()});
  const auto notices = [&](const ScriptedAnswers &answers) {
    int n = 0;
    for (const ModalQuestion &q : answers.asked())
      if (q.message == notice)
        ++n;
    return n;
  };
  writeRecords({record("old", "2024-03-01T10:00:00Z", 60, "1", "1")});
  ScriptedAnswers answers;
  start();
  records->setSaveRetryIntervalMs(50);
  {
    DiskFull full;
    EXPECT_FALSE(records->appendRecord(record("a", "2024-03-02T10:00:00Z", 5, "1", "1")));
    EXPECT_FALSE(records->appendRecord(record("b", "2024-03-03T10:00:00Z", 5, "1", "1")));
    EXPECT_TRUE(records->isSaveFailing());
    EXPECT_EQ(notices(answers), 1) << "one notice, not one per save";
    EXPECT_EQ(names(records->store().records()), QStringList({"old", "a", "b"}));
    EXPECT_EQ(names(records->recordList()), QStringList({"old", "a", "b"})) << "the tab shows them too";
    // Retries while the disk is still full say nothing more, and the file keeps what it had.
    QTest::qWait(250);
    EXPECT_EQ(notices(answers), 1);
    EXPECT_EQ(readList(recordPath()).size(), 1);
  }
  // Room again: the retry timer writes everything held, without a new change.
  ASSERT_TRUE(testsupport::waitUntil([this] { return readList(recordPath()).size() == 3; }));
  EXPECT_FALSE(records->isSaveFailing());
  EXPECT_FALSE(records->store().hasUnsavedChanges());

  // A new failure after a success is news again; this time the next change writes them (the
  // timer is set far off).
  records->setSaveRetryIntervalMs(3600 * 1000);
  {
    DiskFull full;
    EXPECT_FALSE(records->appendRecord(record("c", "2024-03-04T10:00:00Z", 5, "1", "1")));
    EXPECT_EQ(notices(answers), 2);
  }
  ASSERT_TRUE(records->appendRecord(record("d", "2024-03-05T10:00:00Z", 5, "1", "1")));
  EXPECT_FALSE(records->isSaveFailing());
  const QVariantList onDisk = readList(recordPath());
  ASSERT_EQ(onDisk.size(), 5);
  EXPECT_EQ(onDisk.at(3).toMap().value("connectname").toString(), QStringLiteral("c"));
  EXPECT_EQ(notices(answers), 2);
}

// Day, month and year sums in a zone with daylight saving, across a month's and a year's end.
TEST_F(RecordsStore, SumsTodayThisMonthAndThisYearInLocalTime) {
  struct Case {
    const char *start; // UTC
    const char *today; // local date
    bool day, month, year;
  };
  const Case cases[] = {
      // 00:30 on 1 January in Berlin is still 31 December in UTC.
      {"2023-12-31T23:30:00Z", "2024-01-01", true, true, true},
      {"2023-12-31T22:59:59Z", "2024-01-01", false, false, false}, // 23:59:59 on 31 December
      {"2023-12-31T22:59:59Z", "2023-12-31", true, true, true},
      {"2024-01-01T22:59:59Z", "2024-01-01", true, true, true},  // the day's last second
      {"2024-01-01T23:00:00Z", "2024-01-01", false, true, true}, // the next day
      // 31 March 2024, the day of 23 hours: it starts at 23:00 UTC the day before.
      {"2024-03-30T23:00:00Z", "2024-03-31", true, true, true},
      {"2024-03-30T22:59:59Z", "2024-03-31", false, true, true},
      {"2024-03-31T21:59:59Z", "2024-03-31", true, true, true},
      {"2024-03-31T22:00:00Z", "2024-03-31", false, false, true}, // 1 April, 00:00 local
      // The month runs to "day 31": in February that is 2 March, which holds no records yet
      // when today is in February.
      {"2024-02-29T12:00:00Z", "2024-02-10", false, true, true},
      {"2024-01-31T12:00:00Z", "2024-02-10", false, false, true},
  };
  for (const Case &c : cases) {
    DialRecordStore store;
    store.replaceAll({DialRecord::fromMap(record("x", c.start, 10, "1.25", "0.75"))});
    const QDate today = QDate::fromString(c.today, Qt::ISODate);
    const RecordSums day = store.sumsIn(dayWindow(today, berlin));
    const RecordSums month = store.sumsIn(monthWindow(today, berlin));
    const RecordSums year = store.sumsIn(yearWindow(today, berlin));
    EXPECT_EQ(day.seconds == 10, c.day) << c.start << " " << c.today;
    EXPECT_EQ(month.seconds == 10, c.month) << c.start << " " << c.today;
    EXPECT_EQ(year.seconds == 10, c.year) << c.start << " " << c.today;
    if (c.year) {
      EXPECT_DOUBLE_EQ(year.receiveKB, 1.25);
      EXPECT_DOUBLE_EQ(year.sendKB, 0.75);
    }
  }
}

} // namespace
