// The call log: its file, one record per kind of ended call, the same-number rule, the page's
// filter, delete and clear, and a log file that cannot be read.
#include "CallFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

class CallLog : public CallFixture {
protected:
  void SetUp() override {
    CallFixture::SetUp();
    deviceReady();
  }
  static QVariantMap record(const char *number, const char *type) {
    return {{"mobilephone", QString::fromLatin1(number)},
            {"date", QDateTime::currentDateTimeUtc()},
            {"calltime", QStringLiteral("00:00:01")},
            {"callType", QString::fromLatin1(type)}};
  }
  QVariantList fileRecords() const {
    QVariant root;
    Plist::readFile(logPath(), &root);
    return root.toList();
  }
};

TEST_F(CallLog, EveryRecordIsWrittenToTheFileAtOnce) {
  log->addCallRecord(record("5551", "missedCall"));
  log->addCallRecord(record("5552", "dialedCall"));
  const QVariantList onDisk = fileRecords();
  ASSERT_EQ(onDisk.size(), 2);
  EXPECT_EQ(onDisk.at(1).toMap().value("mobilephone").toString(), QStringLiteral("5552"));
  EXPECT_EQ(onDisk.at(0).toMap().value("date").typeId(), QMetaType::QDateTime);
  EXPECT_TRUE(posted.contains("addNewCallRecord"));
  // A new controller reads what the last one wrote.
  log->loadCallRecords();
  EXPECT_EQ(log->recordList().size(), 2);
}

// A log that cannot be written (here a folder stands where the file goes, which no permission
// bit a privileged test run ignores can undo) keeps its calls, says so once and writes them when
// the disk allows.
TEST_F(CallLog, AFailedSaveIsToldOnceKeepsTheCallsAndIsTriedAgain) {
  log->setSaveRetryIntervalMs(50);
  ASSERT_TRUE(QDir().mkpath(logPath() + QStringLiteral("/blocked")));
  log->addCallRecord(record("5551", "missedCall"));
  log->addCallRecord(record("5552", "dialedCall"));
  log->addCallRecord(record("5553", "recivedCall"));
  EXPECT_TRUE(log->isSaveFailing());
  ASSERT_EQ(answers->asked().size(), 1) << "one notice, not one per call";
  EXPECT_TRUE(answers->asked().first().message.contains(QStringLiteral("could not be saved")));
  EXPECT_EQ(log->recordList().size(), 3) << "the calls are kept";
  // Retries while the disk still refuses say nothing more.
  QTest::qWait(200);
  EXPECT_EQ(answers->asked().size(), 1);
  // The way clears: the next retry writes every call kept.
  ASSERT_TRUE(QDir(logPath()).removeRecursively());
  ASSERT_TRUE(testsupport::waitUntil([this] { return fileRecords().size() == 3; }));
  EXPECT_FALSE(log->isSaveFailing());
  EXPECT_EQ(fileRecords().at(2).toMap().value("mobilephone").toString(), QStringLiteral("5553"));
  // A new failure after a success is news again.
  ASSERT_TRUE(QFile::remove(logPath()));
  ASSERT_TRUE(QDir().mkpath(logPath()));
  log->addCallRecord(record("5554", "dialedCall"));
  EXPECT_EQ(answers->asked().size(), 2);
  ASSERT_TRUE(QDir(logPath()).removeRecursively());
}

TEST_F(CallLog, AnUnansweredOutgoingCallIsDialledWithZeroDuration) {
  dial(QStringLiteral("5550100"));
  call->hangClicked();
  call->callStageDidChange(6);
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("dialedCall"));
  EXPECT_EQ(lastRecord().value("calltime").toString(), QStringLiteral("00:00:00"));
}

TEST_F(CallLog, KindsFilterThePageAndDeleteLeavesOtherKindsAlone) {
  for (const auto &[number, type] : {std::pair{"1", "missedCall"},
                                     {"2", "recivedCall"},
                                     {"3", "dialedCall"},
                                     {"4", "dialedCall"},
                                     {"5", "missedCall"}})
    log->addCallRecord(record(number, type));
  log->page->kindButtons.at(2)->setChecked(true);
  log->selectRecordPosition();
  ASSERT_EQ(log->currentRecordList().size(), 2);
  EXPECT_EQ(log->page->callRecordView->rowCount(), 2);
  EXPECT_EQ(log->page->callRecordView->item(0, 0)->text(), QStringLiteral("3")); // the name is the number today
  log->page->callRecordView->selectAll();
  EXPECT_TRUE(log->page->deleteBtn->isEnabled());
  EXPECT_FALSE(log->page->DialVoBtn->isEnabled()); // two rows
  log->deleteRecords();
  EXPECT_EQ(alertMessage(), QStringLiteral("Are you sure to delete the selected call record(s)?"));
  EXPECT_TRUE(log->currentRecordList().isEmpty());
  EXPECT_EQ(fileRecords().size(), 3);
  for (const QVariant &v : fileRecords())
    EXPECT_NE(v.toMap().value("callType").toString(), QStringLiteral("dialedCall"));
  // Cancel keeps everything.
  log->page->kindButtons.at(0)->setChecked(true);
  log->selectRecordPosition();
  log->page->callRecordView->selectRow(0);
  answers.reset(); // the old script restores the windows as it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0});
  log->deleteRecords();
  EXPECT_EQ(fileRecords().size(), 3);
}

TEST_F(CallLog, ClearingAsksFirstAndThenWritesAnEmptyArray) {
  log->addCallRecord(record("1", "missedCall"));
  // Declined: the log and its file stay, and nobody is told it was cleared.
  answers.reset(); // the old script restores the windows as it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0});
  NotificationCenter::defaultCenter().postNotificationName("clearAllCallRecords");
  EXPECT_EQ(alertMessage(), QStringLiteral("Are you sure you want to delete all the record(s)?"));
  EXPECT_EQ(fileRecords().size(), 1);
  EXPECT_EQ(log->recordList().size(), 1);
  EXPECT_FALSE(posted.contains("clearAllCallRecordsSuccess"));
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{1});
  NotificationCenter::defaultCenter().postNotificationName("clearAllCallRecords");
  EXPECT_EQ(answers->asked().size(), 1);
  EXPECT_TRUE(QFile::exists(logPath()));
  EXPECT_TRUE(fileRecords().isEmpty());
  QVariant root;
  ASSERT_TRUE(Plist::readFile(logPath(), &root));
  EXPECT_EQ(root.typeId(), QMetaType::QVariantList);
  EXPECT_TRUE(posted.contains("clearAllCallRecordsSuccess"));
}

TEST_F(CallLog, DialAndMessageFromTheLog) {
  log->addCallRecord(record("5557", "recivedCall"));
  log->addCallRecord(record("5558", "recivedCall"));
  log->page->kindButtons.at(1)->setChecked(true);
  log->selectRecordPosition();
  log->page->callRecordView->selectRow(0);
  EXPECT_TRUE(log->page->DialVoBtn->isEnabled());
  log->dial();
  // The call page dials what the log asks for.
  EXPECT_EQ(call->dialNumberString(), QStringLiteral("5557"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  QString recipients;
  CallNeighbours::shared().replyMessage = [&recipients](const QString &r) { recipients = r; };
  log->page->callRecordView->selectAll();
  log->callSms();
  EXPECT_EQ(recipients, QStringLiteral("5558;5557;"));
}

class SamePhoneOnce : public CallLog {
protected:
  QVariantMap topLevelSettings() const override { return {{"RecordSamePhoneOnce", true}}; }
};

TEST_F(SamePhoneOnce, ANumberKeepsOneMissedAndOneOtherRecord) {
  log->addCallRecord(record("5551", "recivedCall"));
  log->addCallRecord(record("5551", "missedCall"));
  EXPECT_EQ(log->recordList().size(), 2); // a missed call does not replace a received one
  posted.clear();
  postedInfo.clear();
  log->addCallRecord(record("5551", "missedCall"));
  EXPECT_EQ(log->recordList().size(), 2);
  const qsizetype at = posted.indexOf(QStringLiteral("removeCallRecord"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(postedInfo.at(at).value("removeCallRecord").toInt(), 1);
  log->addCallRecord(record("5551", "dialedCall"));
  EXPECT_EQ(log->recordList().size(), 2); // dialled and received are both "not missed"
  EXPECT_EQ(fileRecords().size(), 2);
}

class UnreadableLog : public CallLog {
protected:
  void prepareFiles() override {
    QFile f(logPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<plist><array><dict><key>mobilephone</key>"); // cut off
  }
};

TEST_F(UnreadableLog, IsMovedAsideNotOverwritten) {
  EXPECT_TRUE(log->recordList().isEmpty());
  log->addCallRecord(record("5551", "missedCall"));
  const QString aside = log->store().setAsidePath();
  ASSERT_FALSE(aside.isEmpty());
  QFile kept(aside);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("<plist><array><dict><key>mobilephone</key>"));
  EXPECT_EQ(fileRecords().size(), 1);
}

} // namespace
