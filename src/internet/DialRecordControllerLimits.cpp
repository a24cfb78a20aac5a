// The usage-limit settings: the record-settings window (reset period, one data or time limit, the
// warning and disconnect choices, and the usage-limit variant counted from when it was applied)
// and the "Volume Limit" page (recurrence, limit and warnings at 25 to 100 %), with their input
// filters and wording.
#include "DialRecordController.h"

#include "ConfigService.h"
#include "DialRecordTab.h"
#include "FrameworkLinks.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordResetRules.h"
#include "SettingValue.h"
#include "SettingsNeighbour.h"
#include "TextFormats.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace {

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

int alert(const QString &titleKey, const QString &messageKey, const QString &buttonKey,
          const QString &alternateKey = QString()) {
  // A title of one space is shown as it stands.
  const QString title = titleKey == QLatin1String(" ") ? titleKey : word(titleKey);
  return NSRunAlertPanelExt(title, word(messageKey), buttonKey.isEmpty() ? QString() : word(buttonKey),
                            alternateKey.isEmpty() ? QString() : word(alternateKey));
}

// The integer a number field starts with ("12,5" is 12), as a text field's intValue reads it.
int intValue(const QString &text) {
  const QString t = text.trimmed();
  qsizetype end = 0;
  if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
    ++end;
  while (end < t.size() && t[end].isDigit())
    ++end;
  bool ok = false;
  const int value = t.left(end).toInt(&ok);
  return ok ? value : 0;
}

// The leading decimal number of a text with a decimal point ("1.5h" is 1.5).
double doubleValue(const QString &text) {
  const QString t = text.trimmed();
  qsizetype end = 0;
  bool point = false;
  if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
    ++end;
  while (end < t.size() && (t[end].isDigit() || (!point && t[end] == u'.'))) {
    point = point || t[end] == u'.';
    ++end;
  }
  bool ok = false;
  const double value = t.left(end).toDouble(&ok);
  return ok ? value : 0;
}

bool boolOf(const QVariantMap &module, const QString &key) {
  return SettingValue::toBool(module.value(key));
}

bool digit(QChar c) {
  return c >= u'0' && c <= u'9';
}
bool digitOrComma(QChar c) {
  return digit(c) || c == u',';
}

void setChecked(QAbstractButton *button, const QVariant &value) {
  // Only 0 and 1 choose; anything else leaves the box as it is.
  bool ok = false;
  const int v = value.toString().toInt(&ok);
  if (ok && (v == 0 || v == 1))
    button->setChecked(v == 1);
}

} // namespace

// ---- windows ----

RecordSettingWindow *DialRecordController::recordSettingWindow() {
  if (!recordSettingWin_) {
    recordSettingWin_ = new RecordSettingWindow(viewDialRecordTab_ ? viewDialRecordTab_->window() : nullptr);
    recordSettingWin_->setWindowFlag(Qt::Window, true);
    connectRecordSettingWindow();
    initRecordSettingNib();
    if (qelSkinManager)
      FrameworkLinks::registerController(qelSkinManager, recordSettingWin_->recordSettingApplyBtn,
                                         QStringLiteral("recordSettingApplyBtn"), true);
  }
  return recordSettingWin_;
}

VolumeLimitPage *DialRecordController::volumeLimitPage() {
  if (!volumeLimitPage_) {
    volumeLimitPage_ = new VolumeLimitPage(viewDialRecordTab_ ? viewDialRecordTab_->window() : nullptr);
    volumeLimitPage_->setWindowFlag(Qt::Window, true);
    connectVolumeLimitPage();
    initVolumeLimitWording();
  }
  return volumeLimitPage_;
}

void DialRecordController::connectRecordSettingWindow() {
  RecordSettingWindow *w = recordSettingWin_;
  connect(w->recordSettingApplyBtn, &QPushButton::clicked, this, [this] { recordSettingApply(); });
  connect(w->recordSettingCancelBtn, &QPushButton::clicked, this, [this] { recordSettingCancel(); });
  connect(w->recordSettingBackBtn, &QPushButton::clicked, this, [this] { recordSettingBack(); });
  connect(w->dataLimitBtn, &QRadioButton::clicked, this, [this] { dataLimitFunction(); });
  connect(w->timeLimitBtn, &QRadioButton::clicked, this, [this] { timeLimitFunction(); });
  connect(w->ifSetResetFrequenceBtn, &QCheckBox::clicked, this, [this] { DeactiveSetLimitFunction(); });
  connect(w->ifSetResetEveryDaysBtn, &QCheckBox::clicked, this, [this] { EveryDaysBtnDeactiveSetLimitFunction(); });
  connect(w->usageLimit_, &QCheckBox::clicked, this, [this] { setUsageLimitFunction(); });
  connect(w->dataLimitBtnForET_, &QRadioButton::clicked, this, [this] { dataLimitFunctionForET(); });
  connect(w->timeLimitBtnForET_, &QRadioButton::clicked, this, [this] { timeLimitFunctionForET(); });
  connect(w->recordSettingApplyBtn_, &QPushButton::clicked, this, [this] { recordsettingApplyForET(); });
  for (QLineEdit *field : {w->dataLimit, w->timeLimit, w->dataLimitForET_, w->timeLimitForET_, w->timeLimitForMMLable_})
    connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
}

void DialRecordController::connectVolumeLimitPage() {
  VolumeLimitPage *p = volumeLimitPage_;
  connect(p->btnSetRecordApply_, &QPushButton::clicked, this, [this] { recordLimitSetApply(); });
  connect(p->btnSetRecordCancel_, &QPushButton::clicked, this, [this] { recordLimitSetCancel(); });
  connect(p->checkBoxRecordReset_, &QCheckBox::clicked, this,
          [this] { setRecurrences(volumeLimitPage_->checkBoxRecordReset_); });
  connect(p->radioResetGroup_, &QButtonGroup::idClicked, this, [this] { selectRecordResetRadio(); });
  connect(p->limitTypeGroup_, &QButtonGroup::idClicked, this, [this] { volumeLimitSet(); });
  connect(p->checkDataVolumeSet_, &QCheckBox::clicked, this,
          [this] { dataVolumeLimitSet(volumeLimitPage_->checkDataVolumeSet_); });
  for (QLineEdit *field : {p->textDataLimit_, p->textTimeLimit_})
    connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
}

// ---- input filter ----

void DialRecordController::controlTextDidChange(QLineEdit *field) {
  if (!field)
    return;
  RecordSettingWindow *w = recordSettingWin_;
  VolumeLimitPage *p = volumeLimitPage_;
  const bool onlyHours = SettingValue::toBool(recordModule().value(QStringLiteral("recordTimeLimitOnlyIntValue")));
  QString text;
  if (w && field == w->timeLimit && onlyHours) {
    text = trimString(field->text(), digit, 6);
  } else if ((w && (field == w->timeLimit || field == w->dataLimit)) ||
             (p && (field == p->textDataLimit_ || field == p->textTimeLimit_))) {
    text = trimString(field->text(), digitOrComma, 6);
  } else if (w && (field == w->dataLimitForET_ || field == w->timeLimitForET_)) {
    text = trimString(field->text(), digit, 6);
  } else if (w && field == w->timeLimitForMMLable_) {
    text = trimString(field->text(), digit, 2);
    if (text.toInt() > 59)
      text = QStringLiteral("0");
  } else {
    return;
  }
  if (text.isEmpty())
    text = QStringLiteral("0");
  if (text != field->text())
    field->setText(text);
}

// ---- the record-settings window ----

QString DialRecordController::readRecordTimeLimit(double hours) const {
  if (SettingValue::toBool(recordModule().value(QStringLiteral("recordTimeLimitOnlyIntValue"))))
    return QString::number(hours, 'f', 0);
  return QString::number(hours, 'f', 2);
}

void DialRecordController::showSetLimit(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  loadDefaultRecordSetting();
  loadDefaultRecordSettingForET();
  w->show();
  w->raise();
}

void DialRecordController::dataLimitFunction(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  w->dataLimit->setEnabled(true);
  w->timeLimit->setEnabled(false);
}

void DialRecordController::timeLimitFunction(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  w->dataLimit->setEnabled(false);
  w->timeLimit->setEnabled(true);
}

void DialRecordController::recordSettingApply(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  const QString timeText = w->timeLimit->text().replace(u',', u'.');
  if (w->ifSetResetFrequenceBtn->isChecked() || w->ifSetResetEveryDaysBtn->isChecked()) {
    const double hours = w->timeLimitBtn->isChecked() ? doubleValue(timeText) : 0;
    if (w->timeLimitBtn->isChecked()) {
      if (hours == 0) {
        alert(QStringLiteral("Warning"), QStringLiteral("Please set the time limit."), QStringLiteral("OK"));
        return;
      }
      if (std::fmod(hours, 0.25) != 0) {
        alert(QStringLiteral("Warning"), QStringLiteral("Value should be a multiple of 0,25 hours (15 minutes)"),
              QString());
        w->timeLimit->setText(QStringLiteral("0"));
        return;
      }
    }
    if (w->dataLimitBtn->isChecked() && intValue(w->dataLimit->text()) == 0) {
      alert(QStringLiteral("Warning"), QStringLiteral("Please set the data volume limit."), QStringLiteral("OK"));
      return;
    }
    setResetPeriod();
    setRecordLimit();
    alert(QStringLiteral(" "), QStringLiteral("Settings OK"), QStringLiteral("OK"));
    const QString shown = readRecordTimeLimit(hours);
    if (shown == QLatin1String("-0.00") || shown == QLatin1String("0.00") || shown == QLatin1String("-0") ||
        shown == QLatin1String("0")) {
      w->timeLimit->setText(QStringLiteral("0"));
      return;
    }
    w->timeLimit->setText(QString(shown).replace(u'.', u','));
    w->hide();
    return;
  }
  storeRecord({{QStringLiteral("IfSetRecordResetFrequence"), false}});
  storeRecord({{QStringLiteral("IfSetRecordResetEveryDays"), false}});
  alert(QStringLiteral(" "), QStringLiteral("You have choose a null record period to disable the record"),
        QStringLiteral("OK"));
  w->hide();
}

void DialRecordController::setRecordLimit() {
  RecordSettingWindow *w = recordSettingWindow();
  QVariantMap values;
  if (w->dataLimitBtn->isChecked()) {
    values.insert(QStringLiteral("recordLimitState"), true);
    values.insert(QStringLiteral("recordDataLimit"), intValue(w->dataLimit->text()));
  } else if (w->timeLimitBtn->isChecked()) {
    values.insert(QStringLiteral("recordLimitState"), false);
    values.insert(QStringLiteral("recordTimeLimit"), doubleValue(w->timeLimit->text().replace(u',', u'.')));
  }
  values.insert(QStringLiteral("recordLimitWarn"),
                w->limitWarnBtn->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  values.insert(QStringLiteral("recordLimitDisconnect"),
                w->limitDisconnectBtn->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  storeRecord(values);
}

void DialRecordController::recordSettingCancel(QObject *) {
  loadDefaultRecordSetting();
}

void DialRecordController::recordSettingBack(QObject *) {
  recordSettingWindow()->hide();
  updateInterface();
  selectMainTab(QStringLiteral("DialRecord"));
}

void DialRecordController::loadDefaultRecordSetting() {
  RecordSettingWindow *w = recordSettingWindow();
  const QVariantMap module = recordModule();
  const bool thirty = boolOf(module, QStringLiteral("IfSetRecordResetFrequence"));
  const bool every = boolOf(module, QStringLiteral("IfSetRecordResetEveryDays"));
  w->ifSetResetFrequenceBtn->setChecked(thirty);
  w->ifSetResetFrequenceBtn->setEnabled(thirty);
  w->ifSetResetEveryDaysBtn->setChecked(!thirty);
  w->ifSetResetEveryDaysBtn->setEnabled(!thirty);
  w->resetPeriod->setEnabled(!thirty);
  for (QWidget *control :
       std::initializer_list<QWidget *>{w->resetStartDate, w->dataLimitBtn, w->timeLimitBtn, w->dataLimit, w->timeLimit,
                                        w->limitWarnBtn, w->limitDisconnectBtn})
    control->setEnabled(true);
  if (!thirty && !every) {
    for (QCheckBox *box : {w->ifSetResetFrequenceBtn, w->ifSetResetEveryDaysBtn}) {
      box->setChecked(false);
      box->setEnabled(true);
    }
    for (QWidget *control :
         std::initializer_list<QWidget *>{w->resetPeriod, w->resetStartDate, w->dataLimitBtn, w->timeLimitBtn,
                                          w->dataLimit, w->timeLimit, w->limitWarnBtn, w->limitDisconnectBtn})
      control->setEnabled(false);
  }
  const int index = module.value(QStringLiteral("recordResetPeriod")).toString().toInt();
  w->resetPeriod->setCurrentIndex(index >= 0 && index < w->resetPeriod->count() ? index : 0);
  const QDateTime start =
      RecordResetRules::parseCalendarDate(module.value(QStringLiteral("recordResetStartTime")).toString(),
                                          RecordResetRules::kDatePattern, RecordClock::zone());
  w->resetStartDate->setDate(start.isValid() ? start.date() : RecordClock::today());
  if (boolOf(module, QStringLiteral("recordLimitState"))) {
    w->timeLimitBtn->setChecked(false);
    w->timeLimit->setEnabled(false);
    w->dataLimit->setEnabled(true);
    w->dataLimitBtn->setChecked(true);
  } else {
    w->timeLimitBtn->setChecked(true);
    w->timeLimit->setEnabled(true);
    w->dataLimit->setEnabled(false);
    w->dataLimitBtn->setChecked(false);
  }
  if (module.contains(QStringLiteral("recordDataLimit")))
    w->dataLimit->setText(QString::number(intValue(module.value(QStringLiteral("recordDataLimit")).toString())));
  if (module.contains(QStringLiteral("recordTimeLimit")))
    w->timeLimit->setText(
        readRecordTimeLimit(module.value(QStringLiteral("recordTimeLimit")).toDouble()).replace(u'.', u','));
  if (module.contains(QStringLiteral("recordLimitWarn")))
    setChecked(w->limitWarnBtn, module.value(QStringLiteral("recordLimitWarn")));
  if (module.contains(QStringLiteral("recordLimitDisconnect")))
    setChecked(w->limitDisconnectBtn, module.value(QStringLiteral("recordLimitDisconnect")));
}

// ---- the variant ----

void DialRecordController::setUsageLimitFunction(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  const bool boxOn = w->usageLimit_->isChecked();
  w->usageLimit_->setEnabled(true);
  if (!boxOn) {
    for (QWidget *c :
         std::initializer_list<QWidget *>{w->dataLimitBtnForET_, w->timeLimitBtnForET_, w->dataLimitForET_,
                                          w->timeLimitForET_, w->timeLimitForMMLable_, w->limitDisconnectBtnForET_})
      c->setEnabled(false);
    return;
  }
  w->limitDisconnectBtnForET_->setEnabled(true);
  w->recordSettingApplyBtn_->setEnabled(true);
  w->dataLimitBtnForET_->setEnabled(true);
  w->timeLimitBtnForET_->setEnabled(true);
  const bool data = w->dataLimitBtnForET_->isChecked();
  w->dataLimitForET_->setEnabled(data);
  w->timeLimitForET_->setEnabled(!data);
  w->timeLimitForMMLable_->setEnabled(!data);
}

void DialRecordController::dataLimitFunctionForET(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  w->dataLimitForET_->setEnabled(true);
  w->timeLimitForET_->setEnabled(false);
  w->timeLimitForMMLable_->setEnabled(false);
}

void DialRecordController::timeLimitFunctionForET(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  w->dataLimitForET_->setEnabled(false);
  w->timeLimitForET_->setEnabled(true);
  w->timeLimitForMMLable_->setEnabled(true);
}

void DialRecordController::recordsettingApplyForET(QObject *) {
  RecordSettingWindow *w = recordSettingWindow();
  if (w->usageLimit_->isChecked()) {
    const double hours = intValue(w->timeLimitForET_->text()) + intValue(w->timeLimitForMMLable_->text()) / 60.0;
    if (w->timeLimitBtnForET_->isChecked() && hours == 0) {
      alert(QStringLiteral("Warning"), QStringLiteral("Please set the time limit."), QStringLiteral("OK"));
      return;
    }
    if (w->dataLimitBtnForET_->isChecked() && intValue(w->dataLimitForET_->text()) == 0) {
      alert(QStringLiteral("Warning"), QStringLiteral("Please set the data volume limit."), QStringLiteral("OK"));
      return;
    }
  }
  storeRecord({{QStringLiteral("Record_IfSetRecordUsageLimit"), w->usageLimit_->isChecked()}});
  setRecordLimitForET();
  // The variant counts again from now.
  storeRecord({{QStringLiteral("Record_ResetStartTime"),
                formatCalendarDate(RecordClock::now(), RecordResetRules::kDatePattern)}});
  getTotalDataAndTime();
  alert(QStringLiteral(" "), QStringLiteral("Settings OK"), QStringLiteral("OK"));
}

void DialRecordController::setRecordLimitForET() {
  RecordSettingWindow *w = recordSettingWindow();
  QVariantMap values;
  if (w->dataLimitBtnForET_->isChecked()) {
    values.insert(QStringLiteral("Record_LimitState_IfChooseDataLimit"), true);
    values.insert(QStringLiteral("Record_DataLimitValue"), intValue(w->dataLimitForET_->text()));
  } else if (w->timeLimitBtnForET_->isChecked()) {
    values.insert(QStringLiteral("Record_LimitState_IfChooseDataLimit"), false);
    values.insert(QStringLiteral("Record_TimeLimitHHValue"), intValue(w->timeLimitForET_->text()));
    values.insert(QStringLiteral("Record_TimeLimitMMValue"), intValue(w->timeLimitForMMLable_->text()));
  }
  values.insert(QStringLiteral("Record_LimitDisconnectFlag"),
                w->limitDisconnectBtnForET_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  storeRecord(values);
}

void DialRecordController::loadDefaultRecordSettingForET() {
  const QVariantMap module = recordModule();
  if (!module.contains(QStringLiteral("Record_IfSetRecordUsageLimit")))
    return;
  RecordSettingWindow *w = recordSettingWindow();
  w->boxLimitForET->show();
  const bool boxOn = boolOf(module, QStringLiteral("Record_IfSetRecordUsageLimit"));
  w->usageLimit_->setChecked(boxOn);
  for (QWidget *c :
       std::initializer_list<QWidget *>{w->dataLimitBtnForET_, w->timeLimitBtnForET_, w->dataLimitForET_,
                                        w->timeLimitForET_, w->timeLimitForMMLable_, w->limitDisconnectBtnForET_})
    c->setEnabled(boxOn);
  if (!boolOf(module, QStringLiteral("Record_LimitState_IfChooseDataLimit"))) {
    w->timeLimitBtnForET_->setChecked(true);
    w->dataLimitForET_->setEnabled(false);
  } else {
    w->dataLimitBtnForET_->setChecked(true);
    w->timeLimitForET_->setEnabled(false);
    w->timeLimitForMMLable_->setEnabled(false);
  }
  if (module.contains(QStringLiteral("Record_DataLimitValue")))
    w->dataLimitForET_->setText(QString::number(module.value(QStringLiteral("Record_DataLimitValue")).toInt()));
  if (module.contains(QStringLiteral("Record_TimeLimitHHValue")) &&
      module.contains(QStringLiteral("Record_TimeLimitMMValue"))) {
    w->timeLimitForET_->setText(QString::number(module.value(QStringLiteral("Record_TimeLimitHHValue")).toInt()));
    w->timeLimitForMMLable_->setText(QString::number(module.value(QStringLiteral("Record_TimeLimitMMValue")).toInt()));
  }
  if (module.contains(QStringLiteral("Record_LimitDisconnectFlag")))
    setChecked(w->limitDisconnectBtnForET_, module.value(QStringLiteral("Record_LimitDisconnectFlag")));
  if (!module.contains(QStringLiteral("Record_ResetStartTime")))
    storeRecord({{QStringLiteral("Record_ResetStartTime"),
                  formatCalendarDate(RecordClock::now(), RecordResetRules::kDatePattern)}});
}

// ---- the "Volume Limit" page ----

void DialRecordController::checkRecordSettingConfig() {
  const QVariantMap module = recordModule();
  QVariantMap values;
  if (!module.contains(QStringLiteral("recordLastResetTime")))
    values.insert(QStringLiteral("recordLastResetTime"), RecordClock::now().toUTC());
  if (!module.contains(QStringLiteral("RecordResetFlag"))) {
    values.insert(QStringLiteral("StartTimeOfSettings"), QString());
    values.insert(QStringLiteral("RecordResetFlag"), false);
    values.insert(QStringLiteral("LimitSetType"), 0);
    values.insert(QStringLiteral("LimitSetValue"), 0);
    values.insert(QStringLiteral("RecurrenceRadioTag"), 0);
    values.insert(QStringLiteral("DayOfWeek"), 0);
    values.insert(QStringLiteral("DayOfMonth"), 0);
    values.insert(QStringLiteral("WarningForLimit80"), false);
    values.insert(QStringLiteral("WarningForLimit100"), false);
  }
  if (!values.isEmpty())
    storeRecord(values);
}

void DialRecordController::loadRecordSetting() {
  checkRecordSettingConfig();
  loadRecordResetPeriodWithWeekAndMonth();
  loadDataAndTimeRecordLimit();
  loadRecordLimitWarn();
}

void DialRecordController::loadRecordResetPeriodWithWeekAndMonth() {
  VolumeLimitPage *p = volumeLimitPage();
  const QVariantMap module = recordModule();
  const QDateTime start =
      RecordResetRules::parseCalendarDate(module.value(QStringLiteral("StartTimeOfSettings")).toString(),
                                          RecordResetRules::kDatePattern, RecordClock::zone());
  p->recordResetDate_->setDate(start.isValid() ? start.date() : RecordClock::today());
  p->checkBoxRecordReset_->setChecked(boolOf(module, QStringLiteral("RecordResetFlag")));
  if (QAbstractButton *cell = p->radioResetGroup_->button(module.value(QStringLiteral("RecurrenceRadioTag")).toInt()))
    cell->setChecked(true);
  const int week = module.value(QStringLiteral("DayOfWeek")).toInt();
  const int month = module.value(QStringLiteral("DayOfMonth")).toInt();
  p->comBoxWeek_->setCurrentIndex(week >= 0 && week < p->comBoxWeek_->count() ? week : 0);
  p->comBoxMonth_->setCurrentIndex(month >= 0 && month < p->comBoxMonth_->count() ? month : 0);
  setRecurrences(nullptr);
  selectRecordResetRadio(nullptr);
}

void DialRecordController::loadDataAndTimeRecordLimit() {
  VolumeLimitPage *p = volumeLimitPage();
  const QVariantMap module = recordModule();
  const int type = module.value(QStringLiteral("LimitSetType")).toInt();
  if (QAbstractButton *row = p->limitTypeGroup_->button(type == 0 ? 0 : 1))
    row->setChecked(true);
  const QString value = QString::number(module.value(QStringLiteral("LimitSetValue")).toInt());
  p->textDataLimit_->setText(type == 0 ? value : QStringLiteral("0"));
  p->textTimeLimit_->setText(type == 0 ? QStringLiteral("0") : value);
  volumeLimitSet(nullptr);
  p->checkDataVolumeSet_->setChecked(boolOf(module, QStringLiteral("DataLimitSet")));
}

void DialRecordController::loadRecordLimitWarn() {
  VolumeLimitPage *p = volumeLimitPage();
  const QVariantMap module = recordModule();
  p->checkBox25LimitWarn_->setChecked(boolOf(module, QStringLiteral("WarningForLimit25")));
  p->checkBox50LimitWarn_->setChecked(boolOf(module, QStringLiteral("WarningForLimit50")));
  p->checkBox75LimitWarn_->setChecked(boolOf(module, QStringLiteral("WarningForLimit75")));
  p->checkBox80LimitWarn_->setChecked(boolOf(module, QStringLiteral("WarningForLimit80")));
  p->checkBox100LimitWarn_->setChecked(boolOf(module, QStringLiteral("WarningForLimit100")));
  p->checkBoxplaySoundWran_->setChecked(boolOf(module, QStringLiteral("WarningForPlaySound")));
}

void DialRecordController::recordLimitSetCancel(QObject *) {
  loadRecordSetting();
}

void DialRecordController::setRecurrences(QObject *sender) {
  VolumeLimitPage *p = volumeLimitPage();
  if (sender)
    p->radioDaily->setChecked(true);
  const bool boxOn = p->checkBoxRecordReset_->isChecked();
  p->recordResetDate_->setEnabled(!boxOn);
  for (QAbstractButton *cell : p->radioResetGroup_->buttons())
    cell->setEnabled(boxOn);
  selectRecordResetRadio(nullptr);
}

void DialRecordController::selectRecordResetRadio(QObject *) {
  VolumeLimitPage *p = volumeLimitPage();
  const int tag = p->radioResetGroup_->checkedId();
  p->comBoxWeek_->setEnabled(tag == RecordResetRules::kWeekly);
  p->comBoxMonth_->setEnabled(tag == RecordResetRules::kMonthly);
  if (tag != RecordResetRules::kWeekly)
    p->comBoxWeek_->setCurrentIndex(0);
  if (tag != RecordResetRules::kMonthly)
    p->comBoxMonth_->setCurrentIndex(0);
}

void DialRecordController::volumeLimitSet(QObject *) {
  VolumeLimitPage *p = volumeLimitPage();
  const bool data = p->limitTypeGroup_->checkedId() != 1;
  p->textDataLimit_->setEnabled(data);
  p->textTimeLimit_->setEnabled(!data);
  if (data)
    p->textTimeLimit_->setText(QStringLiteral("0"));
  else
    p->textDataLimit_->setText(QStringLiteral("0"));
}

void DialRecordController::dataVolumeLimitSet(QObject *sender) {
  VolumeLimitPage *p = volumeLimitPage();
  auto *box = qobject_cast<QAbstractButton *>(sender);
  if (box && !box->isChecked()) {
    p->textDataLimit_->setEnabled(false);
    p->textDataLimit_->setText(QStringLiteral("0"));
  } else {
    p->textDataLimit_->setEnabled(true);
    p->textTimeLimit_->setEnabled(false);
    p->textTimeLimit_->setText(QStringLiteral("0"));
  }
}

void DialRecordController::timeVolumeLimitSet(QObject *sender) {
  // The same as the data box: the page has one limit switch and it governs the data field.
  dataVolumeLimitSet(sender);
}

bool DialRecordController::checkLimitValue() {
  VolumeLimitPage *p = volumeLimitPage();
  const int row = p->limitTypeGroup_->checkedId();
  if ((row == 0 && intValue(p->textDataLimit_->text()) != 0) || (row == 1 && intValue(p->textTimeLimit_->text()) != 0))
    return true;
  alert(QStringLiteral("Warning!"), QStringLiteral("Please set the volume limit."), QStringLiteral("OK"));
  return false;
}

namespace {
QString pickedDay(const QDate &date) {
  return formatCalendarDate(QDateTime(date, QTime(0, 0), RecordClock::zone()), QStringLiteral("%Y-%m-%d 00:00:00"));
}
} // namespace

bool DialRecordController::periodSettingsIsChanged() const {
  VolumeLimitPage *p = volumeLimitPage_;
  if (!p)
    return false;
  const QVariantMap module = recordModule();
  if (pickedDay(p->recordResetDate_->date()) != module.value(QStringLiteral("StartTimeOfSettings")).toString())
    return true;
  if (p->checkBoxRecordReset_->isChecked() != boolOf(module, QStringLiteral("RecordResetFlag")))
    return true;
  const int tag = p->radioResetGroup_->checkedId();
  if (tag != module.value(QStringLiteral("RecurrenceRadioTag")).toInt())
    return true;
  if (tag == RecordResetRules::kWeekly &&
      p->comBoxWeek_->currentIndex() != module.value(QStringLiteral("DayOfWeek")).toInt())
    return true;
  return tag == RecordResetRules::kMonthly &&
         p->comBoxMonth_->currentIndex() != module.value(QStringLiteral("DayOfMonth")).toInt();
}

bool DialRecordController::limitSettingsIsChanged() const {
  VolumeLimitPage *p = volumeLimitPage_;
  if (!p)
    return false;
  const QVariantMap module = recordModule();
  const int row = p->limitTypeGroup_->checkedId();
  if (row != module.value(QStringLiteral("LimitSetType")).toInt())
    return true;
  const QLineEdit *field = row == 1 ? p->textTimeLimit_ : p->textDataLimit_;
  if (intValue(field->text()) != module.value(QStringLiteral("LimitSetValue")).toInt())
    return true;
  return p->checkDataVolumeSet_ &&
         p->checkDataVolumeSet_->isChecked() != boolOf(module, QStringLiteral("DataLimitSet"));
}

bool DialRecordController::warningSettingsIsChanged() const {
  VolumeLimitPage *p = volumeLimitPage_;
  if (!p)
    return false;
  const QVariantMap module = recordModule();
  const std::pair<QCheckBox *, const char *> boxes[] = {
      {p->checkBox25LimitWarn_, "WarningForLimit25"},   {p->checkBox50LimitWarn_, "WarningForLimit50"},
      {p->checkBox75LimitWarn_, "WarningForLimit75"},   {p->checkBox80LimitWarn_, "WarningForLimit80"},
      {p->checkBox100LimitWarn_, "WarningForLimit100"}, {p->checkBoxplaySoundWran_, "WarningForPlaySound"}};
  for (const auto &[box, key] : boxes)
    if (box->isChecked() != boolOf(module, QString::fromLatin1(key)))
      return true;
  return false;
}

void DialRecordController::recordLimitSetApply(QObject *) {
  if (!checkLimitValue())
    return;
  const bool period = periodSettingsIsChanged();
  if (!period && !limitSettingsIsChanged() && !warningSettingsIsChanged())
    return;
  const int answer =
      alert(QStringLiteral("Warning!"), QStringLiteral("Are you sure you want to change the limit settings?"),
            QStringLiteral("OK"), QStringLiteral("Cancel"));
  if (answer != ModalQuestions::kDefaultAnswer) {
    loadRecordSetting();
    return;
  }
  if (volumeLimitPage()->checkBoxRecordReset_->isChecked() && period)
    clearAllRecord();
  savePeriodSettings();
  saveLimitSettings();
  saveWarningSettings();
}

void DialRecordController::savePeriodSettings() {
  if (!settingDict().contains(QStringLiteral("Record")))
    return;
  VolumeLimitPage *p = volumeLimitPage();
  QVariantMap values{{QStringLiteral("RecurrenceRadioTag"), std::max(0, p->radioResetGroup_->checkedId())},
                     {QStringLiteral("RecordResetFlag"), p->checkBoxRecordReset_->isChecked()},
                     {QStringLiteral("DayOfWeek"), p->comBoxWeek_->currentIndex()},
                     {QStringLiteral("DayOfMonth"), p->comBoxMonth_->currentIndex()}};
  if (p->checkBoxRecordReset_->isChecked())
    values.insert(QStringLiteral("StartTimeOfSettings"), pickedDay(p->recordResetDate_->date()));
  storeRecord(values);
}

void DialRecordController::saveLimitSettings() {
  if (!settingDict().contains(QStringLiteral("Record")))
    return;
  VolumeLimitPage *p = volumeLimitPage();
  const int row = std::max(0, p->limitTypeGroup_->checkedId());
  QVariantMap values{
      {QStringLiteral("LimitSetType"), row},
      {QStringLiteral("LimitSetValue"), intValue((row == 1 ? p->textTimeLimit_ : p->textDataLimit_)->text())}};
  if (p->checkDataVolumeSet_)
    values.insert(QStringLiteral("DataLimitSet"), p->checkDataVolumeSet_->isChecked());
  storeRecord(values);
}

void DialRecordController::saveWarningSettings() {
  if (!settingDict().contains(QStringLiteral("Record")))
    return;
  VolumeLimitPage *p = volumeLimitPage();
  storeRecord({{QStringLiteral("WarningForPlaySound"), p->checkBoxplaySoundWran_->isChecked()},
               {QStringLiteral("WarningForLimit25"), p->checkBox25LimitWarn_->isChecked()},
               {QStringLiteral("WarningForLimit50"), p->checkBox50LimitWarn_->isChecked()},
               {QStringLiteral("WarningForLimit75"), p->checkBox75LimitWarn_->isChecked()},
               {QStringLiteral("WarningForLimit80"), p->checkBox80LimitWarn_->isChecked()},
               {QStringLiteral("WarningForLimit100"), p->checkBox100LimitWarn_->isChecked()}});
}

void DialRecordController::setResetRecordPeriodWithDayWeekMonth() {
  VolumeLimitPage *p = volumeLimitPage();
  if (p->comBoxWeek_->currentIndex() < 0)
    p->comBoxWeek_->setCurrentIndex(0);
  if (p->comBoxMonth_->currentIndex() < 0)
    p->comBoxMonth_->setCurrentIndex(0);
  const int tag = std::max(0, p->radioResetGroup_->checkedId());
  QVariantMap values{{QStringLiteral("RecordResetFlag"), true}, {QStringLiteral("RecurrenceRadioTag"), tag}};
  if (tag == RecordResetRules::kWeekly)
    values.insert(QStringLiteral("DayOfWeek"), p->comBoxWeek_->currentIndex());
  if (tag == RecordResetRules::kMonthly)
    values.insert(QStringLiteral("DayOfMonth"), p->comBoxMonth_->currentIndex());
  storeRecord(values);
}

// ---- wording ----

void DialRecordController::showLimitSummary() {
  DialRecordTab *tab = viewDialRecordTab_;
  if (!tab || !tab->labelLimit)
    return;
  const QVariantMap module = recordModule();
  QString text;
  if (boolOf(module, QStringLiteral("IfSetRecordResetFrequence")) ||
      boolOf(module, QStringLiteral("IfSetRecordResetEveryDays"))) {
    if (boolOf(module, QStringLiteral("recordLimitState"))) {
      const int mb = module.value(QStringLiteral("recordDataLimit")).toInt();
      if (mb > 0)
        text = QString::number(mb) + u' ' + word(QStringLiteral("MB"));
    } else {
      const double hours = module.value(QStringLiteral("recordTimeLimit")).toDouble();
      if (hours > 0)
        text = readRecordTimeLimit(hours).replace(u'.', u',') + u' ' + word(QStringLiteral("Hours"));
    }
  }
  tab->labelLimit->setText(text);
}

void DialRecordController::initRecordSettingNib() {
  if (DialRecordTab *tab = viewDialRecordTab_) {
    if (tab->boxLimit)
      tab->boxLimit->setTitle(word(QStringLiteral("Set Limit")));
    if (tab->btnSetLimit)
      tab->btnSetLimit->setText(word(QStringLiteral("Set Limit")));
    showLimitSummary();
  }
  RecordSettingWindow *w = recordSettingWin_;
  if (!w)
    return;
  w->setWindowTitle(word(QStringLiteral("Set Limit")));
  w->boxPeriod->setTitle(word(QStringLiteral("Set Period")));
  w->ifSetResetFrequenceBtn->setText(word(QStringLiteral("Monthly")));
  w->ifSetResetEveryDaysBtn->setText(word(QStringLiteral("Every")));
  w->labelStartingDay->setText(word(QStringLiteral("Starting Day:")));
  w->labelDays->setText(word(QStringLiteral("Days")));
  w->boxLimit->setTitle(word(QStringLiteral("Limits")));
  w->dataLimitBtn->setText(word(QStringLiteral("Data-Volume Limit:")));
  w->timeLimitBtn->setText(word(QStringLiteral("Time-Volume Limit:")));
  w->labelMB->setText(word(QStringLiteral("MB")));
  w->labelHours->setText(word(QStringLiteral("Hours")));
  w->boxWarnings->setTitle(word(QStringLiteral("Set Warnings")));
  w->limitWarnBtn->setText(word(QStringLiteral("Warn when reaching 80% of the limit")));
  w->limitDisconnectBtn->setText(word(QStringLiteral("Disconnect when the limit is reached")));
  w->recordSettingApplyBtn->setText(word(QStringLiteral("Apply")));
  w->recordSettingCancelBtn->setText(word(QStringLiteral("Cancel")));
  w->recordSettingBackBtn->setText(word(QStringLiteral("Go Back")));
  auto setting = [](const char *key) {
    return WordingOperation::getDisplayWordingValueByWordingKey(QString::fromLatin1(key));
  };
  w->usageLimit_->setText(setting("Setting_btnRecordUsageLimit"));
  w->recordSettingApplyBtn_->setText(setting("Setting_btnRecordApply"));
  w->boxLimitForET->setTitle(setting("Setting_boxRecordSetLimit"));
  w->dataLimitBtnForET_->setText(setting("Setting_btnRecordDataVolumeLimit"));
  w->timeLimitBtnForET_->setText(setting("Setting_btnRecordTimeVolumeLimit"));
  w->limitDisconnectBtnForET_->setText(setting("Setting_btnRecordDisconnectLimit"));
  w->labelMBForET->setText(setting("Setting_labelRecordMB"));
  w->labelHoursForET->setText(setting("Setting_labelRecordHours"));
  w->labelMinutesForET->setText(setting("Setting_labelRecordMinutes"));
}

void DialRecordController::initVolumeLimitWording() {
  VolumeLimitPage *p = volumeLimitPage_;
  if (!p)
    return;
  p->setWindowTitle(word(QStringLiteral("Volume Limit")));
  p->boxSetPeriod_->setTitle(word(QStringLiteral("Set Period")));
  p->boxSetRecurrence_->setTitle(word(QStringLiteral("Recurrence")));
  p->boxSetLimits_->setTitle(word(QStringLiteral("Set Limit")));
  p->boxSetWarnings_->setTitle(word(QStringLiteral("Set Warnings")));
  p->radioDataLimit->setText(word(QStringLiteral("Data-Volume Limit:")));
  p->radioTimeLimit->setText(word(QStringLiteral("Time-Volume Limit:")));
  p->checkBoxRecordReset_->setText(word(QStringLiteral("Set the recurrence to")));
  p->radioDaily->setText(word(QStringLiteral("Daily")));
  p->radioWeekly->setText(word(QStringLiteral("Weekly")));
  p->radioMonthly->setText(word(QStringLiteral("Monthly")));
  p->labelSetDate_->setText(word(QStringLiteral("set date:")));
  p->labelMB_->setText(word(QStringLiteral("MB")));
  p->labelHours_->setText(word(QStringLiteral("Hours")));
  p->checkDataVolumeSet_->setText(word(QStringLiteral("Set Limit")));
  p->checkBox50LimitWarn_->setText(word(QStringLiteral("Warn before 50% of the limit is reached")));
  p->checkBox75LimitWarn_->setText(word(QStringLiteral("Warn before 75% of the limit is reached")));
  p->checkBox80LimitWarn_->setText(word(QStringLiteral("Warn before the limit is reached")));
  p->checkBox100LimitWarn_->setText(word(QStringLiteral("Warn when the limit is reached or exceeded")));
  p->checkBoxDisconnectWarn_->setText(word(QStringLiteral("Warn when the limit is reached or exceeded")));
  p->checkBoxplaySoundWran_->setText(word(QStringLiteral("Play a sound with the warning")));
  p->btnSetRecordApply_->setText(word(QStringLiteral("Apply")));
  p->btnSetRecordCancel_->setText(word(QStringLiteral("Cancel")));
}

void DialRecordController::initDialRecordWording() {
  initRecordNibWording();
  if (Neighbourhood::settings() && Neighbourhood::settings()->sethasModuleWith(QStringLiteral("Volume Limit"))) {
    initRecordSettingNib();
    initVolumeLimitWording();
  }
}

// ---- the totals of the limit checks ----

void DialRecordController::refreshTotalsForLimits() {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  store_.refresh();
  const RecordSums sums = store_.totals();
  totalDataKB = sums.dataKB();
  totalTimes = sums.seconds;
  if (recordModule().contains(QStringLiteral("Record_ResetStartTime")))
    gettotalTimeForET();
}
