#pragma once

#include <QDialog>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The record-settings window: the reset period (30 days, or every 1 to 30 days from a start
// date), one data or time limit with its warning and disconnect choices, and the usage-limit
// variant (a limit counted from the moment it was applied). It only holds the controls;
// DialRecordController fills, filters and stores them.
class RecordSettingWindow : public QDialog {
  Q_OBJECT
public:
  explicit RecordSettingWindow(QWidget *parent = nullptr);

  // Period.
  QGroupBox *boxPeriod = nullptr;
  QCheckBox *ifSetResetFrequenceBtn = nullptr;
  QCheckBox *ifSetResetEveryDaysBtn = nullptr;
  QComboBox *resetPeriod = nullptr;
  QLabel *labelDays = nullptr;
  QLabel *labelStartingDay = nullptr;
  QDateEdit *resetStartDate = nullptr;
  // Limit and warnings.
  QGroupBox *boxLimit = nullptr;
  QRadioButton *dataLimitBtn = nullptr;
  QRadioButton *timeLimitBtn = nullptr;
  QLineEdit *dataLimit = nullptr;
  QLineEdit *timeLimit = nullptr;
  QLabel *labelMB = nullptr;
  QLabel *labelHours = nullptr;
  QGroupBox *boxWarnings = nullptr;
  QCheckBox *limitWarnBtn = nullptr;
  QCheckBox *limitDisconnectBtn = nullptr;
  QPushButton *recordSettingApplyBtn = nullptr;
  QPushButton *recordSettingCancelBtn = nullptr;
  QPushButton *recordSettingBackBtn = nullptr;
  // The variant.
  QGroupBox *boxLimitForET = nullptr;
  QCheckBox *usageLimit_ = nullptr;
  QRadioButton *dataLimitBtnForET_ = nullptr;
  QRadioButton *timeLimitBtnForET_ = nullptr;
  QLineEdit *dataLimitForET_ = nullptr;
  QLineEdit *timeLimitForET_ = nullptr;
  QLineEdit *timeLimitForMMLable_ = nullptr;
  QLabel *labelMBForET = nullptr;
  QLabel *labelHoursForET = nullptr;
  QLabel *labelMinutesForET = nullptr;
  QCheckBox *limitDisconnectBtnForET_ = nullptr;
  QPushButton *recordSettingApplyBtn_ = nullptr;
};

// The "Volume Limit" page: a reset recurrence (daily, weekly on a weekday, monthly on a day)
// from a start day, one data or time limit and warnings at 25, 50, 75, 80 and 100 %. Shown in
// its own window until the settings window hosts it.
class VolumeLimitPage : public QWidget {
  Q_OBJECT
public:
  explicit VolumeLimitPage(QWidget *parent = nullptr);

  QGroupBox *boxSetPeriod_ = nullptr;
  QGroupBox *boxSetRecurrence_ = nullptr;
  QGroupBox *boxSetLimits_ = nullptr;
  QGroupBox *boxSetWarnings_ = nullptr;
  QCheckBox *checkBoxRecordReset_ = nullptr;
  QButtonGroup *radioResetGroup_ = nullptr; // ids are the tags: 0 daily, 1 weekly, 2 monthly
  QRadioButton *radioDaily = nullptr;
  QRadioButton *radioWeekly = nullptr;
  QRadioButton *radioMonthly = nullptr;
  QLabel *labelSetDate_ = nullptr;
  QDateEdit *recordResetDate_ = nullptr;
  QComboBox *comBoxWeek_ = nullptr;
  QComboBox *comBoxMonth_ = nullptr;
  QButtonGroup *limitTypeGroup_ = nullptr; // ids are the rows: 0 data, 1 time
  QRadioButton *radioDataLimit = nullptr;
  QRadioButton *radioTimeLimit = nullptr;
  QLineEdit *textDataLimit_ = nullptr;
  QLineEdit *textTimeLimit_ = nullptr;
  QLabel *labelMB_ = nullptr;
  QLabel *labelHours_ = nullptr;
  QCheckBox *checkDataVolumeSet_ = nullptr;
  QCheckBox *checkBox25LimitWarn_ = nullptr;
  QCheckBox *checkBox50LimitWarn_ = nullptr;
  QCheckBox *checkBox75LimitWarn_ = nullptr;
  QCheckBox *checkBox80LimitWarn_ = nullptr;
  QCheckBox *checkBox100LimitWarn_ = nullptr;
  QCheckBox *checkBoxDisconnectWarn_ = nullptr;
  QCheckBox *checkBoxplaySoundWran_ = nullptr;
  QPushButton *btnSetRecordApply_ = nullptr;
  QPushButton *btnSetRecordCancel_ = nullptr;
};

// The two windows of the limits while connected: the warning before the limit (not modal, with
// one OK button) and the notice that the limit was reached and the connection ended.
class LimitNoticeWindow : public QDialog {
  Q_OBJECT
public:
  explicit LimitNoticeWindow(const QString &name, QWidget *parent = nullptr);
  void show(const QString &heading, const QString &message, const QString &button);

  QLabel *heading = nullptr;
  QLabel *message = nullptr;
  QPushButton *ok = nullptr;
};
