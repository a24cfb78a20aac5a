#include "RecordLimitWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *widget, const char *name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit *numberField(QWidget *parent, const char *name) {
  auto *field = named(new QLineEdit(parent), name);
  field->setMaxLength(6);
  field->setFixedWidth(80);
  field->setText(QStringLiteral("0"));
  return field;
}

QDateEdit *dateField(QWidget *parent, const char *name) {
  auto *date = named(new QDateEdit(parent), name);
  date->setCalendarPopup(true);
  date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  return date;
}

} // namespace

RecordSettingWindow::RecordSettingWindow(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("recordSettingWin"));
  setModal(false);
  auto *layout = new QVBoxLayout(this);

  boxPeriod = named(new QGroupBox(this), "boxPeriod");
  auto *period = new QGridLayout(boxPeriod);
  ifSetResetFrequenceBtn = named(new QCheckBox(boxPeriod), "ifSetResetFrequenceBtn");
  ifSetResetEveryDaysBtn = named(new QCheckBox(boxPeriod), "ifSetResetEveryDaysBtn");
  resetPeriod = named(new QComboBox(boxPeriod), "resetPeriod");
  for (int days = 1; days <= 30; ++days)
    resetPeriod->addItem(QString::number(days));
  labelDays = named(new QLabel(boxPeriod), "labelDays");
  labelStartingDay = named(new QLabel(boxPeriod), "labelStartingDay");
  resetStartDate = dateField(boxPeriod, "resetStartDate");
  period->addWidget(ifSetResetFrequenceBtn, 0, 0, 1, 3);
  period->addWidget(ifSetResetEveryDaysBtn, 1, 0);
  period->addWidget(resetPeriod, 1, 1);
  period->addWidget(labelDays, 1, 2);
  period->addWidget(labelStartingDay, 2, 0);
  period->addWidget(resetStartDate, 2, 1, 1, 2);
  layout->addWidget(boxPeriod);

  boxLimit = named(new QGroupBox(this), "boxLimit");
  auto *limit = new QGridLayout(boxLimit);
  dataLimitBtn = named(new QRadioButton(boxLimit), "dataLimitBtn");
  timeLimitBtn = named(new QRadioButton(boxLimit), "timeLimitBtn");
  dataLimit = numberField(boxLimit, "dataLimit");
  timeLimit = numberField(boxLimit, "timeLimit");
  labelMB = named(new QLabel(boxLimit), "labelMB");
  labelHours = named(new QLabel(boxLimit), "labelHours");
  limit->addWidget(dataLimitBtn, 0, 0);
  limit->addWidget(dataLimit, 0, 1);
  limit->addWidget(labelMB, 0, 2);
  limit->addWidget(timeLimitBtn, 1, 0);
  limit->addWidget(timeLimit, 1, 1);
  limit->addWidget(labelHours, 1, 2);
  layout->addWidget(boxLimit);

  boxWarnings = named(new QGroupBox(this), "boxWarnings");
  auto *warnings = new QVBoxLayout(boxWarnings);
  limitWarnBtn = named(new QCheckBox(boxWarnings), "limitWarnBtn");
  limitDisconnectBtn = named(new QCheckBox(boxWarnings), "limitDisconnectBtn");
  warnings->addWidget(limitWarnBtn);
  warnings->addWidget(limitDisconnectBtn);
  layout->addWidget(boxWarnings);

  auto *buttons = new QHBoxLayout;
  recordSettingBackBtn = named(new QPushButton(this), "recordSettingBackBtn");
  recordSettingCancelBtn = named(new QPushButton(this), "recordSettingCancelBtn");
  recordSettingApplyBtn = named(new QPushButton(this), "recordSettingApplyBtn");
  recordSettingApplyBtn->setAutoDefault(false);
  recordSettingCancelBtn->setAutoDefault(false);
  recordSettingBackBtn->setAutoDefault(false);
  buttons->addWidget(recordSettingBackBtn);
  buttons->addStretch(1);
  buttons->addWidget(recordSettingCancelBtn);
  buttons->addWidget(recordSettingApplyBtn);
  layout->addLayout(buttons);

  boxLimitForET = named(new QGroupBox(this), "boxLimitForET");
  auto *variant = new QGridLayout(boxLimitForET);
  usageLimit_ = named(new QCheckBox(boxLimitForET), "usageLimit_");
  dataLimitBtnForET_ = named(new QRadioButton(boxLimitForET), "dataLimitBtnForET_");
  timeLimitBtnForET_ = named(new QRadioButton(boxLimitForET), "timeLimitBtnForET_");
  dataLimitForET_ = numberField(boxLimitForET, "dataLimitForET_");
  timeLimitForET_ = numberField(boxLimitForET, "timeLimitForET_");
  timeLimitForMMLable_ = numberField(boxLimitForET, "timeLimitForMMLable_");
  timeLimitForMMLable_->setMaxLength(2);
  timeLimitForMMLable_->setFixedWidth(40);
  labelMBForET = named(new QLabel(boxLimitForET), "labelMBForET");
  labelHoursForET = named(new QLabel(boxLimitForET), "labelHoursForET");
  labelMinutesForET = named(new QLabel(boxLimitForET), "labelMinutesForET");
  limitDisconnectBtnForET_ = named(new QCheckBox(boxLimitForET), "limitDisconnectBtnForET_");
  recordSettingApplyBtn_ = named(new QPushButton(boxLimitForET), "recordSettingApplyBtn_");
  recordSettingApplyBtn_->setAutoDefault(false);
  variant->addWidget(usageLimit_, 0, 0, 1, 5);
  variant->addWidget(dataLimitBtnForET_, 1, 0);
  variant->addWidget(dataLimitForET_, 1, 1);
  variant->addWidget(labelMBForET, 1, 2);
  variant->addWidget(timeLimitBtnForET_, 2, 0);
  variant->addWidget(timeLimitForET_, 2, 1);
  variant->addWidget(labelHoursForET, 2, 2);
  variant->addWidget(timeLimitForMMLable_, 2, 3);
  variant->addWidget(labelMinutesForET, 2, 4);
  variant->addWidget(limitDisconnectBtnForET_, 3, 0, 1, 4);
  variant->addWidget(recordSettingApplyBtn_, 3, 4);
  layout->addWidget(boxLimitForET);
  // The variant's controls show only where the operator has it.
  boxLimitForET->hide();

  // The radios of each set exclude each other on their own (they share a box per set).
  auto *mainRadios = new QButtonGroup(this);
  mainRadios->addButton(dataLimitBtn);
  mainRadios->addButton(timeLimitBtn);
  auto *variantRadios = new QButtonGroup(this);
  variantRadios->addButton(dataLimitBtnForET_);
  variantRadios->addButton(timeLimitBtnForET_);
}

VolumeLimitPage::VolumeLimitPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("VolumeLimit"));
  auto *layout = new QVBoxLayout(this);

  boxSetPeriod_ = named(new QGroupBox(this), "boxSetPeriod_");
  auto *period = new QGridLayout(boxSetPeriod_);
  checkBoxRecordReset_ = named(new QCheckBox(boxSetPeriod_), "checkBoxRecordReset_");
  labelSetDate_ = named(new QLabel(boxSetPeriod_), "labelSetDate_");
  recordResetDate_ = dateField(boxSetPeriod_, "recordResetDate_");
  period->addWidget(checkBoxRecordReset_, 0, 0, 1, 2);
  period->addWidget(labelSetDate_, 1, 0);
  period->addWidget(recordResetDate_, 1, 1);
  layout->addWidget(boxSetPeriod_);

  boxSetRecurrence_ = named(new QGroupBox(this), "boxSetRecurrence_");
  auto *recurrence = new QGridLayout(boxSetRecurrence_);
  radioResetGroup_ = new QButtonGroup(this);
  radioDaily = named(new QRadioButton(boxSetRecurrence_), "radioDaily");
  radioWeekly = named(new QRadioButton(boxSetRecurrence_), "radioWeekly");
  radioMonthly = named(new QRadioButton(boxSetRecurrence_), "radioMonthly");
  radioResetGroup_->addButton(radioDaily, 0);
  radioResetGroup_->addButton(radioWeekly, 1);
  radioResetGroup_->addButton(radioMonthly, 2);
  comBoxWeek_ = named(new QComboBox(boxSetRecurrence_), "comBoxWeek_");
  for (const char *day : {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"})
    comBoxWeek_->addItem(QString::fromLatin1(day));
  comBoxMonth_ = named(new QComboBox(boxSetRecurrence_), "comBoxMonth_");
  for (int day = 1; day <= 31; ++day)
    comBoxMonth_->addItem(QString::number(day));
  recurrence->addWidget(radioDaily, 0, 0);
  recurrence->addWidget(radioWeekly, 1, 0);
  recurrence->addWidget(comBoxWeek_, 1, 1);
  recurrence->addWidget(radioMonthly, 2, 0);
  recurrence->addWidget(comBoxMonth_, 2, 1);
  layout->addWidget(boxSetRecurrence_);

  boxSetLimits_ = named(new QGroupBox(this), "boxSetLimits_");
  auto *limits = new QGridLayout(boxSetLimits_);
  limitTypeGroup_ = new QButtonGroup(this);
  radioDataLimit = named(new QRadioButton(boxSetLimits_), "radioDataLimit");
  radioTimeLimit = named(new QRadioButton(boxSetLimits_), "radioTimeLimit");
  limitTypeGroup_->addButton(radioDataLimit, 0);
  limitTypeGroup_->addButton(radioTimeLimit, 1);
  textDataLimit_ = numberField(boxSetLimits_, "textDataLimit_");
  textTimeLimit_ = numberField(boxSetLimits_, "textTimeLimit_");
  labelMB_ = named(new QLabel(boxSetLimits_), "labelMB_");
  labelHours_ = named(new QLabel(boxSetLimits_), "labelHours_");
  checkDataVolumeSet_ = named(new QCheckBox(boxSetLimits_), "checkDataVolumeSet_");
  limits->addWidget(checkDataVolumeSet_, 0, 0, 1, 3);
  limits->addWidget(radioDataLimit, 1, 0);
  limits->addWidget(textDataLimit_, 1, 1);
  limits->addWidget(labelMB_, 1, 2);
  limits->addWidget(radioTimeLimit, 2, 0);
  limits->addWidget(textTimeLimit_, 2, 1);
  limits->addWidget(labelHours_, 2, 2);
  layout->addWidget(boxSetLimits_);

  boxSetWarnings_ = named(new QGroupBox(this), "boxSetWarnings_");
  auto *warnings = new QVBoxLayout(boxSetWarnings_);
  checkBox25LimitWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBox25LimitWarn_");
  checkBox50LimitWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBox50LimitWarn_");
  checkBox75LimitWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBox75LimitWarn_");
  checkBox80LimitWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBox80LimitWarn_");
  checkBox100LimitWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBox100LimitWarn_");
  checkBoxDisconnectWarn_ = named(new QCheckBox(boxSetWarnings_), "checkBoxDisconnectWarn_");
  checkBoxplaySoundWran_ = named(new QCheckBox(boxSetWarnings_), "checkBoxplaySoundWran_");
  for (QCheckBox *box : {checkBox25LimitWarn_, checkBox50LimitWarn_, checkBox75LimitWarn_, checkBox80LimitWarn_,
                         checkBox100LimitWarn_, checkBoxDisconnectWarn_, checkBoxplaySoundWran_})
    warnings->addWidget(box);
  // The 25 % box has no wording of its own on this page; it shows where a skin words it.
  checkBox25LimitWarn_->hide();
  checkBoxDisconnectWarn_->hide();
  layout->addWidget(boxSetWarnings_);

  auto *buttons = new QHBoxLayout;
  btnSetRecordCancel_ = named(new QPushButton(this), "btnSetRecordCancel_");
  btnSetRecordApply_ = named(new QPushButton(this), "btnSetRecordApply_");
  btnSetRecordCancel_->setAutoDefault(false);
  btnSetRecordApply_->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(btnSetRecordCancel_);
  buttons->addWidget(btnSetRecordApply_);
  layout->addLayout(buttons);
  layout->addStretch(1);
}

LimitNoticeWindow::LimitNoticeWindow(const QString &name, QWidget *parent) : QDialog(parent) {
  setObjectName(name);
  setModal(false);
  auto *layout = new QVBoxLayout(this);
  heading = named(new QLabel(this), "heading");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  message = named(new QLabel(this), "message");
  message->setWordWrap(true);
  message->setMinimumWidth(280);
  ok = named(new QPushButton(this), "ok");
  layout->addWidget(heading);
  layout->addWidget(message);
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  layout->addLayout(row);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

void LimitNoticeWindow::show(const QString &headingText, const QString &messageText, const QString &button) {
  heading->setText(headingText);
  message->setText(messageText);
  ok->setText(button);
  // Above ordinary windows, as a panel that asks nothing.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QDialog::show();
  raise();
}
