// The usage limits: the record-settings window's Apply and filters, the checks while connected
// (the 80 % warning, the limit action, the variant) and the "Volume Limit" warnings.
#include "DialController.h"
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordsFixture.h"

#include "DialRecordTab.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QTimeZone kBerlin{QByteArrayLiteral("Europe/Berlin")};

class UsageLimitsFixture : public RecordsFixture {
protected:
  std::unique_ptr<DialController> dial;

  void SetUp() override {
    RecordsFixture::SetUp();
    RecordClock::setZone(kBerlin);
    RecordClock::setNow(QDateTime(QDate(2024, 3, 15), QTime(12, 0), kBerlin));
  }
  void TearDown() override {
    dial.reset();
    RecordClock::reset();
    RecordsFixture::TearDown();
  }
  void setRecord(const QVariantMap &values) {
    QVariantMap module = config->getConfiguration().value("Record").toMap();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
      module.insert(it.key(), it.value());
    config->getConfiguration().insert("Record", module);
  }
  void setInternet(const QString &key, const QVariant &value) {
    QVariantMap module = config->getConfiguration().value("Internet").toMap();
    module.insert(key, value);
    config->getConfiguration().insert("Internet", module);
  }
  QVariant stored(const char *key) const { return config->getConfigurationByModuleAndKey("Record", key); }
  // A connected controller with the records' totals of `recordsKB` and `recordsSeconds`.
  void connectedWith(double recordsKB, qint64 recordsSeconds) {
    writeRecords({record("earlier", "2024-03-01T08:00:00Z", recordsSeconds, QString::number(recordsKB, 'f', 2), "0")});
    start();
    dial = std::make_unique<DialController>();
    dial->setConnectStatus(DialController::kConnected);
    dial->resetLimitFlagsForConnect();
  }
  // One tick of the status poll.
  void tick() {
    dial->checkRecordLimit();
    dial->recordLimitWarnForVavu();
  }
  void figures(double bytes, qint64 seconds) { dial->setLimitFigures({bytes, 0, seconds}); }
  static QStringList messages(const ScriptedAnswers &answers) {
    QStringList out;
    for (const ModalQuestion &q : answers.asked())
      out << q.message;
    return out;
  }
};

// ---- the record-settings window ----

using UsageLimitsWindow = UsageLimitsFixture;

TEST_F(UsageLimitsWindow, FiltersKeepDigitsAndCommasAndNeverLeaveAFieldEmpty) {
  start();
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  struct Case {
    QLineEdit *field;
    const char *typed;
    const char *kept;
  };
  const Case cases[] = {{w->dataLimit, "12a,5", "12,5"},      {w->dataLimit, "", "0"},
                        {w->timeLimit, "1,75h", "1,75"},      {w->dataLimit, "12345678", "123456"},
                        {w->timeLimitForMMLable_, "75", "0"}, {w->timeLimitForMMLable_, "59", "59"},
                        {w->timeLimitForET_, "3,5", "35"},    {w->dataLimitForET_, "", "0"}};
  for (const Case &c : cases) {
    c.field->setText(QString::fromLatin1(c.typed));
    records->controlTextDidChange(c.field);
    EXPECT_EQ(c.field->text(), QString::fromLatin1(c.kept)) << c.typed;
  }
  // Whole hours only: the comma goes too.
  setRecord({{"recordTimeLimitOnlyIntValue", true}});
  w->timeLimit->setText("1,5");
  records->controlTextDidChange(w->timeLimit);
  EXPECT_EQ(w->timeLimit->text(), "15");
}

struct ApplyCase {
  const char *name;
  bool everyDays;
  bool timeRadio;
  const char *timeText;
  const char *dataText;
  const char *lastMessage;
  const char *fieldAfter;
  bool stays;
  QVariant storedTime;
  QVariant storedData;
};

class UsageLimitsApply : public UsageLimitsFixture, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(UsageLimitsApply, ChecksAndStores) {
  const ApplyCase &c = GetParam();
  config->getConfiguration().insert("Record", QVariantMap());
  start();
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  w->ifSetResetEveryDaysBtn->setChecked(c.everyDays);
  w->ifSetResetFrequenceBtn->setChecked(false);
  w->timeLimitBtn->setChecked(c.timeRadio);
  w->dataLimitBtn->setChecked(!c.timeRadio);
  w->timeLimit->setText(QString::fromLatin1(c.timeText));
  w->dataLimit->setText(QString::fromLatin1(c.dataText));
  ScriptedAnswers answers;
  records->recordSettingApply();
  ASSERT_FALSE(answers.asked().isEmpty());
  EXPECT_EQ(answers.asked().last().message, QString::fromLatin1(c.lastMessage));
  EXPECT_EQ(w->timeLimit->text(), QString::fromLatin1(c.fieldAfter));
  EXPECT_EQ(w->isVisible(), c.stays);
  EXPECT_EQ(stored("recordTimeLimit"), c.storedTime);
  EXPECT_EQ(stored("recordDataLimit"), c.storedData);
}

INSTANTIATE_TEST_SUITE_P(
    UsageLimitsTable, UsageLimitsApply,
    ::testing::Values(
        ApplyCase{"HoursWithADecimalComma", true, true, "1,5", "0", "Settings OK", "1,50", false, 1.5, QVariant()},
        ApplyCase{"NotAQuarterHour", true, true, "1,3", "0", "Value should be a multiple of 0,25 hours (15 minutes)",
                  "0", true, QVariant(), QVariant()},
        ApplyCase{"NoTime", true, true, "0", "0", "Please set the time limit.", "0", true, QVariant(), QVariant()},
        ApplyCase{"NoData", true, false, "0", "0", "Please set the data volume limit.", "0", true, QVariant(),
                  QVariant()},
        ApplyCase{"DataLimitStaysOpen", true, false, "2,5", "12,5", "Settings OK", "0", true, QVariant(), 12},
        ApplyCase{"NoResetOption", false, true, "1,5", "0",
                  "You have choose a null record period to disable the record", "1,5", false, QVariant(), QVariant()}),
    [](const ::testing::TestParamInfo<ApplyCase> &info) { return std::string(info.param.name); });

TEST_F(UsageLimitsWindow, TheTabsLimitBoxShowsTheLimitInForce) {
  start();
  EXPECT_EQ(tab->boxLimit->title(), "Set Limit");
  EXPECT_EQ(tab->labelLimit->text(), "");
  tab->btnSetLimit->click();
  RecordSettingWindow *w = records->recordSettingWindow();
  EXPECT_TRUE(w->isVisible());
  w->ifSetResetEveryDaysBtn->setChecked(true);
  w->timeLimitBtn->setChecked(true);
  w->dataLimitBtn->setChecked(false);
  w->timeLimit->setText("1,5");
  ScriptedAnswers answers;
  records->recordSettingApply();
  EXPECT_EQ(tab->labelLimit->text(), "1,50 Hours");
}

TEST_F(UsageLimitsWindow, WithoutAResetOptionBothOptionsGoOff) {
  setRecord({{"IfSetRecordResetFrequence", true}});
  start();
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  w->ifSetResetFrequenceBtn->setChecked(false);
  w->ifSetResetEveryDaysBtn->setChecked(false);
  ScriptedAnswers answers;
  records->recordSettingApply();
  EXPECT_EQ(stored("IfSetRecordResetFrequence").toBool(), false);
  EXPECT_EQ(stored("IfSetRecordResetEveryDays").toBool(), false);
}

TEST_F(UsageLimitsWindow, LoadsTheStoredSettingsAndCancelPutsThemBack) {
  setRecord({{"IfSetRecordResetFrequence", true},
             {"recordResetPeriod", "29"},
             {"recordResetStartTime", "2024-02-01 00:00:00"},
             {"recordLimitState", false},
             {"recordTimeLimit", 2.25},
             {"recordLimitWarn", "1"},
             {"recordLimitDisconnect", "7"}});
  start();
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  EXPECT_TRUE(w->ifSetResetFrequenceBtn->isChecked());
  EXPECT_FALSE(w->ifSetResetEveryDaysBtn->isEnabled());
  EXPECT_FALSE(w->resetPeriod->isEnabled());
  EXPECT_EQ(w->resetPeriod->currentIndex(), 29);
  EXPECT_EQ(w->resetStartDate->date(), QDate(2024, 2, 1));
  EXPECT_TRUE(w->timeLimitBtn->isChecked());
  EXPECT_FALSE(w->dataLimit->isEnabled());
  EXPECT_EQ(w->timeLimit->text(), "2,25");
  EXPECT_TRUE(w->limitWarnBtn->isChecked());
  EXPECT_FALSE(w->limitDisconnectBtn->isChecked()); // 7 leaves the box as it was
  w->timeLimit->setText("9");
  w->limitWarnBtn->setChecked(false);
  records->recordSettingCancel();
  EXPECT_EQ(w->timeLimit->text(), "2,25");
  EXPECT_TRUE(w->limitWarnBtn->isChecked());

  // The box actions follow the reset table.
  w->ifSetResetFrequenceBtn->setChecked(false);
  records->DeactiveSetLimitFunction();
  EXPECT_TRUE(w->ifSetResetEveryDaysBtn->isEnabled());
  EXPECT_TRUE(w->resetPeriod->isEnabled());
  EXPECT_FALSE(w->resetStartDate->isEnabled());
  EXPECT_FALSE(w->limitWarnBtn->isEnabled());
  EXPECT_FALSE(w->timeLimit->isEnabled());
}

TEST_F(UsageLimitsWindow, TheVariantRestartsItsPeriodWhenApplied) {
  setRecord({{"Record_IfSetRecordUsageLimit", false}});
  start();
  // Loading made the start, since there was none.
  EXPECT_EQ(stored("Record_ResetStartTime").toString(), "2024-03-15 12:00:00");
  records->showSetLimit();
  RecordSettingWindow *w = records->recordSettingWindow();
  EXPECT_TRUE(w->boxLimitForET->isVisibleTo(w));
  w->usageLimit_->setChecked(true);
  records->setUsageLimitFunction();
  w->timeLimitBtnForET_->setChecked(true);
  records->timeLimitFunctionForET();
  EXPECT_FALSE(w->dataLimitForET_->isEnabled());
  w->timeLimitForET_->setText("0");
  w->timeLimitForMMLable_->setText("0");
  ScriptedAnswers answers;
  records->recordsettingApplyForET();
  EXPECT_EQ(messages(answers), QStringList({"Please set the time limit."}));
  w->timeLimitForMMLable_->setText("30");
  w->limitDisconnectBtnForET_->setChecked(true);
  RecordClock::setNow(QDateTime(QDate(2024, 3, 16), QTime(9, 30, 5), kBerlin));
  records->recordsettingApplyForET();
  EXPECT_EQ(answers.asked().last().message, "Settings OK");
  EXPECT_EQ(stored("Record_IfSetRecordUsageLimit").toBool(), true);
  EXPECT_EQ(stored("Record_LimitState_IfChooseDataLimit").toBool(), false);
  EXPECT_EQ(stored("Record_TimeLimitMMValue").toInt(), 30);
  EXPECT_EQ(stored("Record_LimitDisconnectFlag").toString(), "1");
  EXPECT_EQ(stored("Record_ResetStartTime").toString(), "2024-03-16 09:30:05");
  EXPECT_TRUE(w->isVisible());
}

// ---- while connected: the 80 % warning and the limit action ----

using UsageLimitsConnected = UsageLimitsFixture;

TEST_F(UsageLimitsConnected, TimeLimitWithADelayWarnsOnlyBetweenEightyPercentAndTheAction) {
  setRecord({{"IfSetRecordResetEveryDays", true},
             {"recordLimitState", false},
             {"recordTimeLimit", 1.0},
             {"recordLimitWarn", "1"},
             {"recordLimitDisconnect", "1"}});
  setInternet("LimitDisconnectDelay", 60);
  connectedWith(0, 2000);
  struct Step {
    qint64 seconds;
    bool warned;
    int disconnects;
  };
  // Records hold 2000 s; the connection adds the rest.
  const Step steps[] = {{880, false, 0}, {881, true, 0}, {1539, true, 0}, {1540, true, 1}, {2000, true, 1}};
  for (const Step &s : steps) {
    figures(0, s.seconds);
    tick();
    EXPECT_EQ(!dial->warnLimitFlag, s.warned) << s.seconds;
    EXPECT_EQ(dial->limitDisconnectRequests(), s.disconnects) << s.seconds;
  }
  EXPECT_TRUE(dial->reachLimitsMsg && dial->reachLimitsMsg->isVisible());
  EXPECT_TRUE(dial->wndLimitWarning_ && dial->wndLimitWarning_->isVisible());
  // The road asked the modem to disconnect; the state follows its answer.
  EXPECT_EQ(dial->connectStatus(), DialController::kDisconnecting);
}

TEST_F(UsageLimitsConnected, AWarningPastTheDelayIsNotShown) {
  setRecord({{"IfSetRecordResetEveryDays", true},
             {"recordLimitState", false},
             {"recordTimeLimit", 1.0},
             {"recordLimitWarn", "1"}});
  setInternet("LimitDisconnectDelay", 60);
  connectedWith(0, 0);
  figures(0, 3545);
  tick();
  EXPECT_TRUE(dial->warnLimitFlag);
}

TEST_F(UsageLimitsConnected, DataLimitAsksOnceAndActsOnlyWhileStillConnected) {
  setRecord({{"IfSetRecordResetFrequence", true},
             {"recordLimitState", true},
             {"recordDataLimit", 1},
             {"recordLimitDisconnect", "0"}});
  connectedWith(512, 10);
  figures(400 * 1024, 5);
  {
    ScriptedAnswers none;
    tick();
    EXPECT_TRUE(none.asked().isEmpty());
  }
  figures(600 * 1024, 6);
  {
    // Cancel: the connection stays, and the question is not asked again in it.
    ScriptedAnswers cancel(QList<int>{ModalQuestions::kAlternateAnswer});
    tick();
    tick();
    EXPECT_EQ(messages(cancel), QStringList({"Preset limit has been reached. Do you want to disconnect?"}));
    EXPECT_EQ(dial->limitDisconnectRequests(), 0);
  }
  dial->resetLimitFlagsForConnect();
  {
    // The link drops while the question is open: OK then asks nothing of a link that is gone.
    ScriptedAnswers dropped([this](const ModalQuestion &) {
      dial->setConnectStatus(DialController::kDisconnected);
      return ModalQuestions::kDefaultAnswer;
    });
    tick();
    EXPECT_EQ(dial->limitDisconnectRequests(), 0);
  }
  dial->setConnectStatus(DialController::kConnected);
  dial->resetLimitFlagsForConnect();
  ScriptedAnswers ok;
  tick();
  EXPECT_EQ(dial->limitDisconnectRequests(), 1);
}

TEST_F(UsageLimitsConnected, NoLimitWithoutAResetPeriodOrWithALimitOfZero) {
  setRecord(
      {{"recordLimitState", true}, {"recordDataLimit", 1}, {"recordLimitWarn", "1"}, {"recordLimitDisconnect", "1"}});
  connectedWith(5000, 10);
  ScriptedAnswers answers;
  tick();
  EXPECT_EQ(dial->limitDisconnectRequests(), 0);
  setRecord({{"IfSetRecordResetFrequence", true}, {"recordDataLimit", 0}});
  tick();
  EXPECT_EQ(dial->limitDisconnectRequests(), 0);
  EXPECT_TRUE(dial->warnLimitFlag);
  EXPECT_TRUE(answers.asked().isEmpty());
}

TEST_F(UsageLimitsConnected, ASavedConnectionIsNotCountedTwice) {
  setRecord({{"IfSetRecordResetFrequence", true},
             {"recordLimitState", true},
             {"recordDataLimit", 1},
             {"recordLimitDisconnect", "1"}});
  connectedWith(600, 10);
  // The record of this connection is in the file already; its figures are still shown.
  dial->saveRecordFlag = true;
  figures(600 * 1024, 10);
  tick();
  EXPECT_EQ(dial->limitDisconnectRequests(), 0);
  EXPECT_DOUBLE_EQ(dial->currentTotalDataKB(), 600);
}

TEST_F(UsageLimitsConnected, TheVariantDisconnectsAndStartsANewPeriod) {
  setRecord({{"Record_IfSetRecordUsageLimit", true},
             {"Record_LimitState_IfChooseDataLimit", true},
             {"Record_DataLimitValue", 1},
             {"Record_LimitDisconnectFlag", "1"},
             {"Record_ResetStartTime", "2024-03-01 00:00:00"}});
  connectedWith(100, 10);
  figures(1000 * 1024, 10);
  RecordClock::setNow(QDateTime(QDate(2024, 3, 15), QTime(13, 14, 15), kBerlin));
  tick();
  EXPECT_EQ(dial->limitDisconnectRequests(), 1);
  EXPECT_EQ(stored("Record_ResetStartTime").toString(), "2024-03-15 13:14:15");
  // The new period holds none of the earlier records.
  EXPECT_DOUBLE_EQ(records->getTotalData(), 0);
}

// ---- the "Volume Limit" warnings ----

using UsageLimitsVolume = UsageLimitsFixture;

TEST_F(UsageLimitsVolume, DataBandsForAHundredMegabyteLimit) {
  setRecord({{"LimitSetValue", 100},
             {"LimitSetType", 0},
             {"DataLimitSet", true},
             {"WarningForLimit25", true},
             {"WarningForLimit50", true},
             {"WarningForLimit75", true},
             {"WarningForLimit80", true},
             {"WarningForLimit100", true}});
  connectedWith(0, 0);
  struct Step {
    double megabytes;
    const char *message;
  };
  const Step steps[] = {{60, "Total data is reaching 50 percent of the limit"},
                        {76, "Total data is reaching 75 percent of the limit"},
                        {81, "Total data is reaching 80 percent of the limit"},
                        {100.5, "The preset limit on the data volume that is set on the modem has now reached."},
                        {120, nullptr}};
  for (const Step &s : steps) {
    ScriptedAnswers answers;
    figures(s.megabytes * 1024 * 1024, 0);
    tick();
    EXPECT_EQ(messages(answers), s.message ? QStringList{QString::fromLatin1(s.message)} : QStringList())
        << s.megabytes;
  }
}

TEST_F(UsageLimitsVolume, ExactlyEightyPercentIsStillTheSeventyFiveBand) {
  setRecord({{"LimitSetValue", 100},
             {"LimitSetType", 0},
             {"DataLimitSet", true},
             {"WarningForLimit75", true},
             {"WarningForLimit80", true}});
  connectedWith(0, 0);
  ScriptedAnswers answers;
  figures(80 * 1024 * 1024, 0);
  tick();
  EXPECT_EQ(messages(answers), QStringList({"Total data is reaching 75 percent of the limit"}));
}

TEST_F(UsageLimitsVolume, TimeWarningsOnceAndNoneWithTheHundredPercentWarningOff) {
  setRecord({{"LimitSetValue", 2}, {"LimitSetType", 1}, {"WarningForLimit80", true}, {"WarningForLimit100", true}});
  connectedWith(0, 6000);
  ScriptedAnswers answers;
  figures(0, 1000);
  tick();
  tick();
  EXPECT_EQ(messages(answers), QStringList({"Total time is reaching 80 percent of the limit."}));

  setRecord({{"WarningForLimit100", false}});
  dial->resetLimitFlagsForConnect();
  ScriptedAnswers over;
  figures(0, 3000);
  tick();
  EXPECT_TRUE(over.asked().isEmpty());
}

TEST_F(UsageLimitsVolume, DataWarningsNeedTheDataVolumeSwitch) {
  setRecord({{"LimitSetValue", 1}, {"LimitSetType", 0}, {"DataLimitSet", true}, {"WarningForLimit100", true}});
  connectedWith(0, 0);
  ScriptedAnswers answers;
  figures(2 * 1024 * 1024, 0);
  tick();
  EXPECT_EQ(answers.asked().size(), 1);
  // No data-volume switch: nothing at all.
  setRecord({{"DataLimitSet", false}});
  dial->resetLimitFlagsForConnect();
  tick();
  EXPECT_EQ(answers.asked().size(), 1);
}

} // namespace
