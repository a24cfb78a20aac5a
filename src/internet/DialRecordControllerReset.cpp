// The record reset periods: the 30-day or every-N-days period of the record-settings window and
// the daily, weekly or monthly recurrence of the "Volume Limit" page. When a period has ended,
// the records that started in it are removed and the period start moves on.
#include "DialRecordController.h"

#include "ConfigManager.h"
#include "ModalQuestions.h"
#include "QELAlertPanel.h"
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordResetRules.h"
#include "SettingValue.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>

using namespace RecordResetRules;

namespace {

const QString kRecord = QStringLiteral("Record");
const QString kThirtyDays = QStringLiteral("IfSetRecordResetFrequence");
const QString kEveryDays = QStringLiteral("IfSetRecordResetEveryDays");

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool on(const QVariantMap &module, const QString &key) {
  return SettingValue::toBool(module.value(key));
}

} // namespace

QVariantMap DialRecordController::recordModule() const {
  return const_cast<DialRecordController *>(this)->settingDict().value(kRecord).toMap();
}

void DialRecordController::storeRecord(const QVariantMap &values) {
  QVariantMap &settings = settingDict();
  QVariantMap module = settings.value(kRecord).toMap();
  for (auto it = values.cbegin(); it != values.cend(); ++it)
    module.insert(it.key(), it.value());
  settings.insert(kRecord, module);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
  showLimitSummary();
}

// ---- the 30-day and every-N-days periods ----

bool DialRecordController::isResetCheckArmed() const {
  return resetTimer_ && resetTimer_->isActive();
}

void DialRecordController::refereshPeriodRecordReset() {
  const QVariantMap module = recordModule();
  if (!module.contains(kThirtyDays) && !module.contains(kEveryDays))
    return;
  if (!resetTimer_) {
    resetTimer_ = new QTimer(this);
    resetTimer_->setInterval(500);
    connect(resetTimer_, &QTimer::timeout, this, [this] { periodRecordReset(); });
  }
  if (!resetTimer_->isActive())
    resetTimer_->start();
}

bool DialRecordController::periodRecordReset() {
  const QVariantMap module = recordModule();
  if (!on(module, kThirtyDays) && !on(module, kEveryDays))
    return false;
  const QVariant stored = module.value(QStringLiteral("recordResetStartTime"));
  const QString pattern = module.value(QStringLiteral("ResetTimePattern")).toString();
  if (stored != resetStartSeen_ || !resetStart_.isValid()) {
    resetStartSeen_ = stored;
    resetStart_ = periodStart(stored, pattern, RecordClock::zone());
  }
  // The length is the stored one: a period box changed but not applied changes nothing.
  const int length = periodDays(module.value(QStringLiteral("recordResetPeriod")));
  QDateTime now = RecordClock::now();
  now = now.addMSecs(-now.time().msec());
  const EndedPeriods ended = endedPeriods(resetStart_, length, now);
  if (!ended.ended())
    return false;

  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  store_.refresh();
  QSet<quint64> ids;
  for (const DialRecord &r : store_.recordsIn(ended.removed))
    ids.insert(r.id);
  if (!ids.isEmpty())
    store_.removeIds(ids);
  const QString startPattern = pattern.isEmpty() ? kDatePattern : pattern;
  storeRecord({{QStringLiteral("recordLastResetTime"), ended.newStart.toUTC()},
               {QStringLiteral("recordResetStartTime"), formatCalendarDate(ended.newStart, startPattern)}});
  resetStartSeen_ = QVariant();
  resetStart_ = QDateTime();
  updateInterface();
  return true;
}

void DialRecordController::setResetPeriod() {
  RecordSettingWindow *w = recordSettingWindow();
  const QString start = formatCalendarDate(QDateTime(w->resetStartDate->date(), QTime(0, 0), RecordClock::zone()),
                                           QStringLiteral("%Y-%m-%d 00:00:00"));
  const QString lastReset = QStringLiteral("recordLastResetTime");
  if (!w->ifSetResetFrequenceBtn->isChecked()) {
    storeRecord({{kThirtyDays, false}, {lastReset, QStringLiteral("0")}});
  } else {
    storeRecord({{kThirtyDays, true},
                 {kEveryDays, false},
                 {lastReset, QStringLiteral("0")},
                 {QStringLiteral("recordResetPeriod"), QStringLiteral("29")},
                 {QStringLiteral("recordResetStartTime"), start}});
    NSRunAlertPanelExt(QStringLiteral(" "), word(QStringLiteral("Meters will be reset in 30 days")),
                       word(QStringLiteral("OK")), QString());
  }
  if (!w->ifSetResetEveryDaysBtn->isChecked()) {
    storeRecord({{kEveryDays, false}, {lastReset, QStringLiteral("0")}});
  } else {
    storeRecord({{kThirtyDays, false},
                 {kEveryDays, true},
                 {lastReset, QStringLiteral("0")},
                 {QStringLiteral("recordResetPeriod"), std::max(0, w->resetPeriod->currentIndex())},
                 {QStringLiteral("recordResetStartTime"), start}});
    const int days = std::max(1, w->resetPeriod->currentText().toInt());
    NSRunAlertPanelExt(QStringLiteral(" "),
                       fillWordedFormat(word(QStringLiteral("Meters will be reset in %d days")), {days}),
                       word(QStringLiteral("OK")), QString());
  }
  resetStartSeen_ = QVariant();
  resetStart_ = QDateTime();
  // A period applied now is checked from now on, not only after the next launch.
  refereshPeriodRecordReset();
}

void DialRecordController::applyResetBoxState(bool thirtyDays, bool boxOn) {
  RecordSettingWindow *w = recordSettingWindow();
  QCheckBox *other = thirtyDays ? w->ifSetResetEveryDaysBtn : w->ifSetResetFrequenceBtn;
  other->setEnabled(!boxOn);
  // The period box counts days only for the every-days option.
  w->resetPeriod->setEnabled(thirtyDays ? !boxOn : boxOn);
  w->resetStartDate->setEnabled(boxOn);
  w->limitWarnBtn->setEnabled(boxOn);
  w->limitDisconnectBtn->setEnabled(boxOn);
  w->dataLimitBtn->setEnabled(boxOn);
  w->timeLimitBtn->setEnabled(boxOn);
  w->dataLimit->setEnabled(boxOn && w->dataLimitBtn->isChecked());
  w->timeLimit->setEnabled(boxOn && w->timeLimitBtn->isChecked());
}

void DialRecordController::DeactiveSetLimitFunction(QObject *) {
  applyResetBoxState(true, recordSettingWindow()->ifSetResetFrequenceBtn->isChecked());
}

void DialRecordController::EveryDaysBtnDeactiveSetLimitFunction(QObject *) {
  applyResetBoxState(false, recordSettingWindow()->ifSetResetEveryDaysBtn->isChecked());
}

// ---- the "Volume Limit" recurrence ----

bool DialRecordController::periodRecordResetWithDayWeekMonth() {
  const QVariantMap module = recordModule();
  // Records go only while the user has a recurrence set.
  if (!on(module, QStringLiteral("RecordResetFlag")))
    return false;
  const QTimeZone zone = RecordClock::zone();
  // The last reset is a stored date: used as it is, not as its text read back.
  QDateTime start;
  const QVariant last = module.value(QStringLiteral("recordLastResetTime"));
  if (last.typeId() == QMetaType::QDateTime)
    start = last.toDateTime().toTimeZone(zone);
  else if (last.isValid())
    start = parseCalendarDate(last.toString(), kDatePattern, zone);
  if (!start.isValid())
    start = parseCalendarDate(module.value(QStringLiteral("StartTimeOfSettings")).toString(), kDatePattern, zone);
  if (!start.isValid())
    return false;
  QDateTime now = RecordClock::now();
  now = now.addMSecs(-now.time().msec());
  if (!recurrenceEnded(module.value(QStringLiteral("RecurrenceRadioTag")).toInt(), start, now,
                       module.value(QStringLiteral("DayOfWeek")).toInt(),
                       module.value(QStringLiteral("DayOfMonth")).toInt(), zone))
    return false;
  clearRecordFrom(start, QDateTime(now.toTimeZone(zone).date(), QTime(0, 0), zone));
  return true;
}

void DialRecordController::clearRecordFrom(const QDateTime &from, const QDateTime &to) {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  store_.refresh();
  // [from, to): a record that starts exactly at the new start belongs to the new period.
  QSet<quint64> ids;
  if (from.isValid() && to > from)
    for (const DialRecord &r : store_.recordsIn({from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch() - 1}))
      ids.insert(r.id);
  if (!ids.isEmpty())
    store_.removeIds(ids);
  storeRecord({{QStringLiteral("recordLastResetTime"), to.toUTC()}});
  updateInterface();
}

QDateTime DialRecordController::nextMidnightCheck() const {
  return midnightTimer_ && midnightTimer_->isActive() ? nextMidnight(RecordClock::now(), RecordClock::zone())
                                                      : QDateTime();
}

void DialRecordController::armMidnightCheck() {
  if (!midnightTimer_) {
    midnightTimer_ = new QTimer(this);
    midnightTimer_->setSingleShot(true);
    connect(midnightTimer_, &QTimer::timeout, this, [this] {
      periodRecordResetWithDayWeekMonth();
      armMidnightCheck();
    });
  }
  const QDateTime now = RecordClock::now();
  const qint64 ms = now.msecsTo(nextMidnight(now, RecordClock::zone()));
  // A second past midnight, so the new day has surely begun; never a busy loop.
  midnightTimer_->start(int(std::clamp<qint64>(ms + 1000, 1000, 24LL * 3600 * 1000 + 1000)));
}
