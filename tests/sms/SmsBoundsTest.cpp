// Rules of the message tables and stores that need no modem: the long-message tracking stays
// bounded, report rows and special numbers read as text, flat records stay flat when loaded,
// every damaged report box is kept, and the stamp of an arrival is local time.
#include "SMSController.h"
#include "SmsArrivalRecords.h"
#include "SmsArrivalRules.h"
#include "SmsClock.h"
#include "SmsFixture.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsTableModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

SmsArrivalRecord firstPart(const QString &from, int ref, int total = 3, int seq = 1) {
  SmsArrivalRecord r;
  r.number = from;
  r.concat = true;
  r.ref8 = quint8(ref);
  r.total = quint8(total);
  r.sequence = quint8(seq);
  return r;
}

class SmsPartBounds : public ::testing::Test {
protected:
  QDateTime now = QDateTime(QDate(2026, 12, 11), QTime(12, 0), QTimeZone::utc());
  void SetUp() override {
    SmsClock::setForTesting([this] { return now; });
  }
  void TearDown() override { SmsClock::setForTesting(nullptr); }
};

TEST_F(SmsPartBounds, TwentyThousandFirstPartsKeepTheTrackingBounded) {
  SmsPartTracker tracker;
  for (int i = 0; i < 20000; ++i) {
    now = now.addMSecs(1);
    tracker.count(firstPart(QStringLiteral("+1%1").arg(i), i % 256));
  }
  EXPECT_LE(tracker.pending(), SmsPartTracker::kMaxPending);
  EXPECT_EQ(tracker.givenUp(), 20000 - tracker.pending());
  // The newest messages are the ones still followed: their last parts complete them.
  const SmsArrivalRecord newest = firstPart(QStringLiteral("+119999"), 19999 % 256);
  EXPECT_FALSE(tracker.isComplete(newest));
  tracker.count(firstPart(QStringLiteral("+119999"), 19999 % 256, 3, 2));
  tracker.count(firstPart(QStringLiteral("+119999"), 19999 % 256, 3, 3));
  EXPECT_TRUE(tracker.isComplete(newest));
}

TEST_F(SmsPartBounds, AMessageWhosePartsStopComingIsGivenUpAndItsReferenceStartsAnew) {
  SmsPartTracker tracker;
  tracker.count(firstPart("+1", 9, 3, 1));
  tracker.count(firstPart("+1", 9, 3, 2));
  EXPECT_EQ(tracker.pending(), 1);
  // An hour without its last part: the same reference from the same sender is a new message,
  // counted from its first part.
  now = now.addMSecs(SmsPartTracker::kExpiryMs);
  tracker.count(firstPart("+1", 9, 3, 3));
  EXPECT_EQ(tracker.pending(), 1);
  EXPECT_EQ(tracker.givenUp(), 1);
  EXPECT_FALSE(tracker.isComplete(firstPart("+1", 9)));
  // A full tracker drops the stale ones before any that is still coming in.
  SmsPartTracker full;
  for (int i = 0; i < SmsPartTracker::kMaxPending; ++i)
    full.count(firstPart(QStringLiteral("+2%1").arg(i), 1));
  now = now.addMSecs(SmsPartTracker::kExpiryMs);
  full.count(firstPart("+3", 1));
  EXPECT_EQ(full.pending(), 1);
  EXPECT_EQ(full.givenUp(), SmsPartTracker::kMaxPending);
}

SmsTableModel::Context context(int box) {
  SmsTableModel::Context c;
  c.box = box;
  c.unreadWord = QStringLiteral("New");
  c.readWord = QStringLiteral("Read");
  c.lookup = [](const QString &n) { return n == QStringLiteral("111") ? QStringLiteral("Ann") : n; };
  c.multiLookup = [](const QString &n) { return QStringLiteral("names of ") + n; };
  c.dateText = [](const QDateTime &d) { return d.toUTC().toString(QStringLiteral("yyyy-MM-dd")); };
  c.specialText = [](const QString &n) {
    return n == QStringLiteral("10086") ? QStringLiteral("Operator") : QString();
  };
  return c;
}

TEST(SmsTableReports, ReportRowsAndSpecialNumbersReadAsText) {
  const QVariantMap report = {{"RESULT", 1},
                              {"stat", 0},
                              {"mobilephone", "111"},
                              {"username", "stale"},
                              {"messagetext", "Delivered to: 111"},
                              {"date", QDateTime(QDate(2026, 12, 4), QTime(1, 0), QTimeZone::utc())}};
  QVariantMap read = report;
  read.insert("stat", 1);
  SmsTableModel::Context shown = context(DELIVERY_REPORTBOX);
  shown.showReadStatus = true;
  using records::flatDraft;
  using records::single;
  struct Case {
    const char *what;
    QVariantMap record;
    SmsTableModel::Context context;
    const char *column;
    QString text;
  };
  const QList<Case> cases = {
      {"new report", report, context(DELIVERY_REPORTBOX), "stat", "New"},
      {"read report", read, context(DELIVERY_REPORTBOX), "stat", ""},
      {"read report, option on", read, shown, "stat", "Read"},
      {"report number", report, context(DELIVERY_REPORTBOX), "mobilephone", "111"},
      {"report name from the phonebook", report, context(DELIVERY_REPORTBOX), "username", "Ann"},
      {"report date", report, context(DELIVERY_REPORTBOX), "date", "2026-12-04"},
      {"special number", single("hi", "10086", 0), context(InBox), "mobilephone", "Operator"},
      {"special number's name", single("hi", "10086", 0), context(InBox), "username", "Operator"},
      {"other number", single("hi", "111", 0), context(InBox), "mobilephone", "111"},
      {"special draft recipient", flatDraft("d", "10086;"), context(DraftBox), "mobilephone", "Operator"},
      {"special broadcast sender", flatDraft("b", "10086"), context(BroadCastBox), "username", "Operator"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SmsTableModel::cellText(c.record, QLatin1String(c.column), c.context), c.text);
  }
}

class SmsFlatLoads : public SmsFixture {};

TEST_F(SmsFlatLoads, FlatRecordsStayFlatInEveryPcBox) {
  using namespace records;
  QVariantMap draftInDeleted = flatDraft("deleted draft", "+1;+2;");
  draftInDeleted.insert("preLocationBeforeGoToDelBox", 2);
  const QVariantMap broadcast = flatDraft("cell news", "4370");
  Plist::writeFile(listPath("SmsList_PC.plist"),
                   QVariantMap{{"DeletedBox", QVariantList{draftInDeleted, single("full", "+3", 1)}},
                               {"ImportantBox", QVariantList{broadcast}},
                               {"BroadCastBox", QVariantList{broadcast}}});
  SmsService service;
  for (int box : {DeletedBox, ImportantBox, BroadCastBox}) {
    SCOPED_TRACE(box);
    const QVariantMap first = service.getAllPcListByBox(box).value(0).toMap();
    EXPECT_TRUE(SmsRecord::isFlat(first));
    EXPECT_FALSE(SmsRecord::text(first).isEmpty());
    EXPECT_FALSE(SmsRecord::number(first).isEmpty());
    EXPECT_EQ(first.value("index").toInt(), 0);
  }
  // A full record keeps its summary, named.
  const QVariantMap second = service.getAllPcListByBox(DeletedBox).value(1).toMap();
  EXPECT_EQ(SmsRecord::text(second), QStringLiteral("full"));
  EXPECT_EQ(second.value("concatSmsInfo").toMap().value("username").toString(), QStringLiteral("+3"));
}

class SmsReportBoxFiles : public SmsFixture {};

TEST_F(SmsReportBoxFiles, EveryDamagedReportBoxIsKeptBesideTheOthers) {
  const QString path = SMSController::deliveryReportBoxPath();
  ASSERT_FALSE(path.isEmpty());
  SMSController sms;
  for (const char *damage : {"not a plist", "<plist><dict/></plist>", "\x00\x01garbage"}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(damage);
    f.close();
    sms.readDeliveryReportBox();
    EXPECT_FALSE(QFile::exists(path));
  }
  const QStringList aside = QDir(QFileInfo(path).absolutePath())
                                .entryList({QFileInfo(path).fileName() + QStringLiteral(".damaged*")}, QDir::Files);
  EXPECT_EQ(aside.size(), 3) << aside.join(' ').toStdString();
}

TEST(SmsStamps, AnArrivalStampIsTheSameMomentInLocalTime) {
  // 12:00 eight hours east of GMT is 04:00 GMT, shown in whatever zone the computer has.
  const QDateTime shown = SMSController::calcTimeStamp(QStringLiteral("26121112000032"));
  EXPECT_EQ(shown.toUTC(), QDateTime(QDate(2026, 12, 11), QTime(4, 0), QTimeZone::utc()));
  EXPECT_EQ(shown.timeSpec(), Qt::LocalTime);
}

} // namespace
