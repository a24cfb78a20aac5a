// The reset periods of the records: the 30-day and every-N-days periods, the "Volume Limit"
// recurrences, and the clock that lets them cross midnights, month ends and daylight saving.
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordResetRules.h"
#include "RecordsFixture.h"
#include "SettingController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>

using namespace RecordResetRules;

namespace {

const QTimeZone kBerlin{QByteArrayLiteral("Europe/Berlin")};

QDateTime local(const QString &local) {
  return QDateTime(QDateTime::fromString(local, Qt::ISODate).date(), QDateTime::fromString(local, Qt::ISODate).time(),
                   kBerlin);
}

struct PeriodCase {
  const char *name;
  const char *start;
  int days;
  const char *now;
  int endedDays;
  const char *newStart;
};

class ResetPeriodsArithmetic : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(ResetPeriodsArithmetic, EndedPeriodsAndTheNewStart) {
  const PeriodCase &c = GetParam();
  const EndedPeriods ended = endedPeriods(local(c.start), c.days, local(c.now));
  EXPECT_EQ(ended.days, c.endedDays);
  if (c.newStart) {
    EXPECT_EQ(ended.newStart, local(c.newStart));
    // [start, new start): the new start itself is not removed.
    EXPECT_TRUE(ended.removed.contains(local(c.start).toMSecsSinceEpoch()));
    EXPECT_FALSE(ended.removed.contains(local(c.newStart).toMSecsSinceEpoch()));
    EXPECT_TRUE(ended.removed.contains(local(c.newStart).toMSecsSinceEpoch() - 1000));
  } else {
    EXPECT_FALSE(ended.ended());
  }
}

INSTANTIATE_TEST_SUITE_P(
    ResetPeriodsTable, ResetPeriodsArithmetic,
    ::testing::Values(
        PeriodCase{"OneDayBeforeMidnight", "2024-03-15T00:00:00", 1, "2024-03-15T23:59:59", 0, nullptr},
        PeriodCase{"OneDayAtMidnight", "2024-03-15T00:00:00", 1, "2024-03-16T00:00:00", 1, "2024-03-16T00:00:00"},
        PeriodCase{"NinetyFiveDaysOfThirty", "2024-01-01T00:00:00", 30, "2024-04-05T12:00:00", 90,
                   "2024-03-31T00:00:00"},
        PeriodCase{"ExactlyOnePeriod", "2024-01-01T00:00:00", 30, "2024-01-31T00:00:00", 30, "2024-01-31T00:00:00"},
        // 23 hours of clock time are a whole calendar day on the spring-forward day.
        PeriodCase{"SpringForwardDay", "2024-03-31T00:00:00", 1, "2024-04-01T00:00:00", 1, "2024-04-01T00:00:00"},
        // 24 hours 59 minutes are still the same calendar day on the fall-back day.
        PeriodCase{"FallBackDay", "2024-10-27T00:00:00", 1, "2024-10-27T23:59:59", 0, nullptr},
        PeriodCase{"StartInTheFuture", "2024-05-01T00:00:00", 1, "2024-04-01T00:00:00", 0, nullptr},
        PeriodCase{"LeapDayMonthEnd", "2024-02-29T00:00:00", 2, "2024-03-02T08:00:00", 2, "2024-03-02T00:00:00"}),
    [](const ::testing::TestParamInfo<PeriodCase> &info) { return std::string(info.param.name); });

TEST(ResetPeriodsRules, PeriodLengthComesFromTheStoredIndexAndIsAtLeastOneDay) {
  EXPECT_EQ(periodDays(QStringLiteral("29")), 30);
  EXPECT_EQ(periodDays(0), 1);
  EXPECT_EQ(periodDays(6), 7);
  EXPECT_EQ(periodDays(-4), 1);
  EXPECT_EQ(periodDays(QStringLiteral("abc")), 1);
  EXPECT_EQ(periodDays(QVariant()), 1);
}

TEST(ResetPeriodsRules, StartIsReadInTheFixedLayoutThenInTheStoredPattern) {
  EXPECT_EQ(periodStart(QStringLiteral("2024-03-15 06:30:00"), QString(), kBerlin), local("2024-03-15T06:30:00"));
  EXPECT_EQ(periodStart(QStringLiteral("15.03.2024 06:30:00"), QStringLiteral("%d.%m.%Y %H:%M:%S"), kBerlin),
            local("2024-03-15T06:30:00"));
  EXPECT_FALSE(periodStart(QStringLiteral("15.03.2024"), QString(), kBerlin).isValid());
  EXPECT_FALSE(periodStart(QStringLiteral(""), QStringLiteral("%d.%m.%Y"), kBerlin).isValid());
  // A stored date is used as it is.
  const QDateTime stored = local("2024-03-15T06:30:00").toUTC();
  EXPECT_EQ(periodStart(stored, QString(), kBerlin), stored);
}

struct RecurrenceCase {
  const char *name;
  int tag;
  const char *start;
  const char *now;
  int dayOfWeek;
  int dayOfMonth;
  bool ended;
};

class ResetPeriodsRecurrence : public ::testing::TestWithParam<RecurrenceCase> {};

TEST_P(ResetPeriodsRecurrence, Ends) {
  const RecurrenceCase &c = GetParam();
  EXPECT_EQ(recurrenceEnded(c.tag, local(c.start), local(c.now), c.dayOfWeek, c.dayOfMonth, kBerlin), c.ended);
}

// 2024-03-11 is a Monday; April has 30 days.
INSTANTIATE_TEST_SUITE_P(
    ResetPeriodsTable, ResetPeriodsRecurrence,
    ::testing::Values(
        RecurrenceCase{"DailyYesterday", kDaily, "2024-03-14T00:00:00", "2024-03-15T00:00:01", 0, 0, true},
        RecurrenceCase{"DailyToday", kDaily, "2024-03-15T00:00:00", "2024-03-15T23:59:59", 0, 0, false},
        RecurrenceCase{"DailyAcrossSpringForward", kDaily, "2024-03-31T00:00:00", "2024-04-01T00:00:00", 0, 0, true},
        RecurrenceCase{"WeeklyBeforeTheDay", kWeekly, "2024-03-11T00:00:00", "2024-03-12T08:00:00", 3, 0, false},
        RecurrenceCase{"WeeklyOnTheDay", kWeekly, "2024-03-11T00:00:00", "2024-03-13T00:00:00", 3, 0, true},
        RecurrenceCase{"WeeklyPastTheDay", kWeekly, "2024-03-11T00:00:00", "2024-03-14T00:00:01", 3, 0, true},
        RecurrenceCase{"WeeklyMoreThanAWeek", kWeekly, "2024-03-11T00:00:00", "2024-03-19T01:00:00", 1, 0, true},
        RecurrenceCase{"MonthlyOnTheDay", kMonthly, "2024-03-11T00:00:00", "2024-03-20T00:00:00", 0, 19, true},
        RecurrenceCase{"MonthlyNotYet", kMonthly, "2024-03-11T00:00:00", "2024-03-19T00:00:00", 0, 19, false},
        RecurrenceCase{"Monthly31stIn30DayMonth", kMonthly, "2024-04-01T00:00:00", "2024-05-01T00:00:00", 0, 30, false},
        RecurrenceCase{"Monthly31stAfter31Days", kMonthly, "2024-04-01T00:00:00", "2024-05-03T00:00:00", 0, 30, true},
        RecurrenceCase{"UnknownTag", 7, "2024-03-01T00:00:00", "2024-05-01T00:00:00", 0, 0, false}),
    [](const ::testing::TestParamInfo<RecurrenceCase> &info) { return std::string(info.param.name); });

// ---- the controller ----

class ResetPeriodsRecords : public RecordsFixture {
protected:
  void SetUp() override {
    RecordsFixture::SetUp();
    RecordClock::setZone(kBerlin);
  }
  void TearDown() override {
    RecordClock::reset();
    RecordsFixture::TearDown();
  }
  void setRecord(const QVariantMap &values) {
    QVariantMap module = config->getConfiguration().value("Record").toMap();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
      module.insert(it.key(), it.value());
    config->getConfiguration().insert("Record", module);
  }
  QVariant stored(const char *key) const { return config->getConfigurationByModuleAndKey("Record", key); }
  void startAt(const char *when) {
    RecordClock::setNow(local(when));
    start(local(when).date());
    records->setToday(QDate());
  }
};

TEST_F(ResetPeriodsRecords, EveryDayRemovesTodaysRecordsOnlyAfterMidnight) {
  // UTC times: 2024-03-15 is the current period in Berlin (UTC+1).
  writeRecords({record("before start", "2024-03-14T22:59:59Z", 10, "1", "1"),
                record("today", "2024-03-15T08:00:00Z", 10, "2", "2"),
                record("at the new start", "2024-03-15T23:00:00Z", 10, "4", "4")});
  setRecord(
      {{"IfSetRecordResetEveryDays", true}, {"recordResetPeriod", 0}, {"recordResetStartTime", "2024-03-15 00:00:00"}});
  startAt("2024-03-15T23:59:59");
  EXPECT_TRUE(records->isResetCheckArmed());
  EXPECT_FALSE(records->periodRecordReset());
  EXPECT_EQ(records->store().count(), 3);

  RecordClock::setNow(local("2024-03-16T00:00:00"));
  EXPECT_TRUE(records->periodRecordReset());
  EXPECT_EQ(names(records->store().records()), QStringList({"before start", "at the new start"}));
  EXPECT_EQ(readList(recordPath()).size(), 2);
  EXPECT_EQ(stored("recordResetStartTime").toString(), "2024-03-16 00:00:00");
  EXPECT_EQ(stored("recordLastResetTime").toDateTime(), local("2024-03-16T00:00:00"));
  // The next check finds the new period running.
  EXPECT_FALSE(records->periodRecordReset());
}

TEST_F(ResetPeriodsRecords, ALongStopCatchesUpWholePeriodsInOneCheck) {
  writeRecords({record("day 1", "2024-01-01T10:00:00Z", 10, "1", "1"),
                record("day 89", "2024-03-29T10:00:00Z", 10, "1", "1"),
                record("day 92", "2024-04-01T10:00:00Z", 10, "1", "1")});
  setRecord({{"IfSetRecordResetFrequence", true},
             {"recordResetPeriod", "29"},
             {"recordResetStartTime", "2024-01-01 00:00:00"},
             {"ResetTimePattern", "%d/%m/%Y %H:%M:%S"}});
  startAt("2024-04-05T12:00:00");
  EXPECT_TRUE(records->periodRecordReset());
  EXPECT_EQ(names(records->store().records()), QStringList({"day 92"}));
  // The new start is stored in the operator's pattern, and read back from it.
  EXPECT_EQ(stored("recordResetStartTime").toString(), "31/03/2024 00:00:00");
  EXPECT_FALSE(records->periodRecordReset());
}

TEST_F(ResetPeriodsRecords, UnreadableStartOrNoPeriodResetsNothing) {
  writeRecords({record("old", "2023-01-01T10:00:00Z", 10, "1", "1")});
  setRecord({{"IfSetRecordResetEveryDays", true}, {"recordResetPeriod", 0}, {"recordResetStartTime", "yesterday"}});
  startAt("2024-04-05T12:00:00");
  EXPECT_FALSE(records->periodRecordReset());
  setRecord({{"IfSetRecordResetEveryDays", false}, {"recordResetStartTime", "2023-01-01 00:00:00"}});
  EXPECT_FALSE(records->periodRecordReset());
  EXPECT_EQ(records->store().count(), 1);
}

TEST_F(ResetPeriodsRecords, AnUnappliedChangeOfThePeriodBoxDeletesNothing) {
  writeRecords({record("yesterday", "2024-03-14T10:00:00Z", 10, "1", "1")});
  setRecord({{"IfSetRecordResetFrequence", true},
             {"recordResetPeriod", "29"},
             {"recordResetStartTime", "2024-03-14 00:00:00"}});
  startAt("2024-03-16T12:00:00");
  records->showSetLimit();
  records->recordSettingWindow()->resetPeriod->setCurrentIndex(0); // one day, not applied
  EXPECT_FALSE(records->periodRecordReset());
  EXPECT_EQ(records->store().count(), 1);
}

TEST_F(ResetPeriodsRecords, ApplyingAPeriodArmsTheCheckAndSwitchesTheOtherOptionOff) {
  config->getConfiguration().insert("Record", QVariantMap());
  startAt("2024-03-16T12:00:00");
  EXPECT_FALSE(records->isResetCheckArmed());
  ScriptedAnswers answers;
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  w->ifSetResetEveryDaysBtn->setChecked(true);
  w->ifSetResetFrequenceBtn->setChecked(false);
  w->resetPeriod->setCurrentIndex(6);
  w->resetStartDate->setDate(QDate(2024, 3, 10));
  records->setResetPeriod();
  EXPECT_TRUE(records->isResetCheckArmed());
  EXPECT_EQ(stored("IfSetRecordResetEveryDays").toBool(), true);
  EXPECT_EQ(stored("IfSetRecordResetFrequence").toBool(), false);
  EXPECT_EQ(stored("recordResetPeriod").toInt(), 6);
  EXPECT_EQ(stored("recordResetStartTime").toString(), "2024-03-10 00:00:00");
  EXPECT_EQ(stored("recordLastResetTime").toString(), "0");
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked()[0].message, "Meters will be reset in 7 days");

  // The 30-day option then switches the every-days option off.
  w->ifSetResetFrequenceBtn->setChecked(true);
  w->ifSetResetEveryDaysBtn->setChecked(false);
  records->setResetPeriod();
  EXPECT_EQ(stored("IfSetRecordResetEveryDays").toBool(), false);
  EXPECT_EQ(stored("IfSetRecordResetFrequence").toBool(), true);
  EXPECT_EQ(stored("recordResetPeriod").toString(), "29");
  // The 30-day period from the 10th runs on.
  EXPECT_FALSE(records->periodRecordReset());
}

// ---- the "Volume Limit" recurrence ----

class ResetPeriodsVolumeLimit : public ResetPeriodsRecords {
protected:
  std::unique_ptr<SettingController> settings;
  void SetUp() override {
    ResetPeriodsRecords::SetUp();
    config->getConfiguration().insert("SettingDefaultItem", QVariantList{"System", "Volume Limit"});
    settings = std::make_unique<SettingController>();
    settings->loadSettingList();
  }
  void TearDown() override {
    ResetPeriodsRecords::TearDown();
    settings.reset();
  }
};

TEST_F(ResetPeriodsVolumeLimit, FirstRunWritesTheDefaultsAndResetsNothing) {
  writeRecords({record("old", "2023-01-01T10:00:00Z", 10, "1", "1")});
  startAt("2024-03-16T12:00:00");
  EXPECT_EQ(stored("RecordResetFlag").toBool(), false);
  EXPECT_EQ(stored("StartTimeOfSettings").toString(), "");
  EXPECT_EQ(stored("LimitSetType").toInt(), 0);
  EXPECT_EQ(stored("WarningForLimit80").toBool(), false);
  EXPECT_FALSE(stored("WarningForLimit50").isValid());
  EXPECT_TRUE(stored("recordLastResetTime").toDateTime().isValid());
  // No recurrence set: the records stay, whatever the (daily) default tag says.
  RecordClock::setNow(local("2024-03-20T12:00:00"));
  EXPECT_FALSE(records->periodRecordResetWithDayWeekMonth());
  EXPECT_EQ(records->store().count(), 1);
}

TEST_F(ResetPeriodsVolumeLimit, DailyResetAtMidnightKeepsTheNewDaysRecords) {
  writeRecords({record("yesterday", "2024-03-15T10:00:00Z", 10, "1", "1"),
                record("midnight", "2024-03-15T23:00:00Z", 10, "1", "1")});
  setRecord({{"RecordResetFlag", true},
             {"RecurrenceRadioTag", 0},
             {"recordLastResetTime", local("2024-03-15T00:00:00").toUTC()}});
  startAt("2024-03-15T23:59:00");
  EXPECT_EQ(records->store().count(), 2);
  EXPECT_EQ(records->nextMidnightCheck(), local("2024-03-16T00:00:00"));

  RecordClock::setNow(local("2024-03-16T00:00:01"));
  EXPECT_TRUE(records->periodRecordResetWithDayWeekMonth());
  EXPECT_EQ(names(records->store().records()), QStringList({"midnight"}));
  EXPECT_EQ(stored("recordLastResetTime").toDateTime(), local("2024-03-16T00:00:00"));
  EXPECT_FALSE(records->periodRecordResetWithDayWeekMonth());
}

} // namespace
