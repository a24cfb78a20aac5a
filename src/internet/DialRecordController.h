#pragma once

#include "ConnectionNeighbour.h"
#include "DialRecordStore.h"
#include "QELUIController.h"
#include "RecordFormats.h"

#include <QPointer>
#include <QTimer>

class DialRecordTab;
class DialRecordTableModel;
class QFileDialog;
class QLineEdit;
class RecordSettingWindow;
class VolumeLimitPage;

// The connection records: one record per finished connection, kept in the record file of the
// ModemList folder (one per SIM when the device status asks for it), shown in the "DialRecord"
// tab with totals and a period view, exported as text or CSV, deleted one by one or all at once.
// It answers the totals the usage limits are measured against and the day, month and year sums
// of the statistics view. The records live in memory (DialRecordStore): the file is read again
// only when someone else changed it, so the frequent refreshes of the limit checks cost nothing.
class DialRecordController : public QELUIController, public RecordsNeighbour {
  Q_OBJECT
public:
  explicit DialRecordController(QObject *parent = nullptr);
  ~DialRecordController() override;

  // Outlet: the page, set by the builder before awakeFromNib().
  QPointer<DialRecordTab> viewDialRecordTab_;

  // The path of `fileName` in the ModemList folder; the record file in use for an empty name.
  QString getDialRecordFilePathWithFileName(const QString &fileName = QString()) const;
  QString dialRecordFileToSave() const { return dialRecordFileToSave_; }
  // Makes `fileName` the record file and shows its records (nothing for an empty name).
  void loadRecordList(const QString &fileName) override;

  // The one way a finished connection enters the file (this controller is its only writer);
  // the tab and the totals follow at once.
  bool appendRecord(const DialRecord &record);
  bool appendRecord(const QVariantMap &record);

  // The refresh after a change: the table (whole file or period), the counting-mode radios,
  // the totals, the statistics view.
  void updateInterface();

  // Totals of the whole file (or since Record/"Record_ResetStartTime"), shown in the tab.
  void getTotalDataAndTime();
  float getTotalData() const { return float(totalDataKB); }
  qint64 gettotalTime() const { return totalTimes; }

  // Records whose start lies in [from, to] in file order; the first also shows the whole file.
  DialRecordList getRecordsFrom(const QDateTime &from, const QDateTime &to);
  DialRecordList getRecordsForOtherFunctionFrom(const QDateTime &from, const QDateTime &to);

  // Today's, this month's and this year's sums (received KB, sent KB, seconds).
  void getDayRecordReceive(float *receive, float *send, quint64 *time);
  void getMonthRecordReceive(float *receive, float *send, quint64 *time);
  void getYearRecordReceive(float *receive, float *send, quint64 *time);

  QString autoChangeKBDataToMBGBUnit(double kilobytes) const { return ::autoChangeKBDataToMBGBUnit(kilobytes); }

  // Empties the records, both files, and stores the reset time.
  void clearAllRecord();

  // The shown records and what the tab shows (tests and the statistics read them).
  const DialRecordList &recordList() const { return recordList_; }
  bool isShowingPeriodRecord() const { return FLAG_ShowPeriodRecord; }
  QString totalDataText() const;
  QString totalTimeText() const;
  QString periodText() const;
  bool isResetEnabled() const;
  // A failed write of the records file is told once (until a write succeeds again) and tried
  // again at the next change and on a timer; the records stay in memory meanwhile.
  bool isSaveFailing() const { return saveFailing_; }
  static constexpr int kSaveRetryMs = 30000;
  void setSaveRetryIntervalMs(int ms) { saveRetry_.setInterval(ms); }
  const DialRecordStore &store() const { return store_; }
  DialRecordStore &mutableStore() { return store_; }
  QString recordCellText(int row, const QString &key) const;

  // Sets both period pickers (the tab's dates are the period).
  void setPeriodDates(const QDate &from, const QDate &to);
  // Selects rows of the table (as the user would).
  void selectRows(const QList<int> &rows);

  // Actions.
  Q_INVOKABLE void saveRecord(QObject *sender = nullptr);
  Q_INVOKABLE void deleteRecord(QObject *sender = nullptr);
  Q_INVOKABLE void resetRecord(QObject *sender = nullptr);
  Q_INVOKABLE void Show(QObject *sender = nullptr);
  Q_INVOKABLE void goToStatistics(QObject *sender = nullptr);
  Q_INVOKABLE void goBackToRecord(QObject *sender = nullptr);
  Q_INVOKABLE void selectIncrease15MinBtn(QObject *sender = nullptr);
  Q_INVOKABLE void selectContinuousBtn(QObject *sender = nullptr);

  // Notifications.
  Q_INVOKABLE void resetDataForNetWorkData(const Notification &notification);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &notification);
  Q_INVOKABLE void updateLanguages(const Notification &notification);
  Q_INVOKABLE void deviceRemoved(const Notification &notification);
  void tableViewSelectionDidChange();

  // Category: the tab's wording, the skin and the volume-limit start-up.
  void initRecordNibWording();
  void initDataLimitSetting();

  // The time zone of the day, month and year windows (the record clock's unless set).
  void setTimeZone(const QTimeZone &zone) { zone_ = zone; }
  // Today as the sums see it (tests fix it).
  void setToday(const QDate &today) { today_ = today; }

  // ======== usage limits and reset periods ========
  // The Records tab's limit box opens the record-settings window; the "Volume Limit" page is its
  // own window until the settings window hosts it. Both are made on first use.
  RecordSettingWindow *recordSettingWindow();
  VolumeLimitPage *volumeLimitPage();
  QPointer<RecordSettingWindow> recordSettingWin_;
  QPointer<VolumeLimitPage> volumeLimitPage_;

  // Reset periods (DialRecordControllerReset.cpp).
  // Arms the reset check while a period is stored (at start-up and whenever a period is applied).
  void refereshPeriodRecordReset();
  // The check: removes the records of every ended period and moves the start on. YES when a
  // period had ended. Rereads nothing when none has.
  bool periodRecordReset() override;
  void setResetPeriod();
  Q_INVOKABLE void DeactiveSetLimitFunction(QObject *sender = nullptr);
  Q_INVOKABLE void EveryDaysBtnDeactiveSetLimitFunction(QObject *sender = nullptr);
  bool isResetCheckArmed() const;
  // The volume-limit page's reset: at start-up and at every local midnight.
  bool periodRecordResetWithDayWeekMonth();
  void clearRecordFrom(const QDateTime &from, const QDateTime &to);
  QDateTime nextMidnightCheck() const;

  // The record-settings window (DialRecordControllerLimits.cpp).
  Q_INVOKABLE void showSetLimit(QObject *sender = nullptr);
  Q_INVOKABLE void recordSettingApply(QObject *sender = nullptr);
  Q_INVOKABLE void recordSettingCancel(QObject *sender = nullptr);
  Q_INVOKABLE void recordSettingBack(QObject *sender = nullptr);
  Q_INVOKABLE void dataLimitFunction(QObject *sender = nullptr);
  Q_INVOKABLE void timeLimitFunction(QObject *sender = nullptr);
  Q_INVOKABLE void recordsettingApplyForET(QObject *sender = nullptr);
  Q_INVOKABLE void setUsageLimitFunction(QObject *sender = nullptr);
  Q_INVOKABLE void dataLimitFunctionForET(QObject *sender = nullptr);
  Q_INVOKABLE void timeLimitFunctionForET(QObject *sender = nullptr);
  void setRecordLimit();
  void setRecordLimitForET();
  void loadDefaultRecordSetting() override;
  void loadDefaultRecordSettingForET();
  QString readRecordTimeLimit(double hours) const;
  // The input filter of the limit fields (the records controller's and the volume-limit page's).
  void controlTextDidChange(QLineEdit *field);
  void initRecordSettingNib();

  // The "Volume Limit" page (DialRecordControllerLimits.cpp).
  void loadRecordSetting();
  void checkRecordSettingConfig();
  void loadRecordResetPeriodWithWeekAndMonth();
  void loadDataAndTimeRecordLimit();
  void loadRecordLimitWarn();
  Q_INVOKABLE void updeataInterface() { loadRecordSetting(); }
  Q_INVOKABLE void recordLimitSetCancel(QObject *sender = nullptr);
  Q_INVOKABLE void recordLimitSetApply(QObject *sender = nullptr);
  Q_INVOKABLE void setRecurrences(QObject *sender = nullptr);
  Q_INVOKABLE void selectRecordResetRadio(QObject *sender = nullptr);
  Q_INVOKABLE void volumeLimitSet(QObject *sender = nullptr);
  Q_INVOKABLE void dataVolumeLimitSet(QObject *sender = nullptr);
  Q_INVOKABLE void timeVolumeLimitSet(QObject *sender = nullptr);
  bool checkLimitValue();
  bool periodSettingsIsChanged() const;
  bool limitSettingsIsChanged() const;
  bool warningSettingsIsChanged() const;
  void savePeriodSettings();
  void saveLimitSettings();
  void saveWarningSettings();
  void setResetRecordPeriodWithDayWeekMonth();
  void initVolumeLimitWording();
  void initDialRecordWording();

  // The totals the limit checks read on every tick: kept in memory, the file only stat'ed.
  void refreshTotalsForLimits();
  // ======== end of usage limits ========

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;

private:
  QDate today() const;
  RecordFieldFormats fieldFormats() const;
  void reloadTable();
  void showTotals(const RecordSums &sums);
  void setCountingModeButtons(bool fifteenMinutes);
  void chooseCountingMode(bool fifteenMinutes);
  bool countingModeIs15Min() const;
  void gettotalTimeForET();
  void ShowItem(const DialRecordList &periodRecords);
  bool periodBounds(QDateTime *from, QDateTime *to) const;
  void writeBackFile(const DialRecordList &records);
  void refreshStatistics();
  void storeLastResetTime();
  void selectMainTab(const QString &identifier);
  void connectTab();
  int askWarning(const QString &title, const QString &message, bool withCancel);
  bool exportRecords(const QString &path, const QString &type);
  RecordSums sumsFor(const RecordWindow &window);

  DialRecordStore store_;
  // Reads the records file again when it changed; a file refused for its size is told once.
  void refreshStore();
  QString tooLargeTold_;
  void storeWritten(bool written);
  bool saveFailing_ = false;
  QTimer saveRetry_;
  DialRecordList recordList_;
  QString dialRecordFileToSave_;
  double totalDataKB = 0;
  qint64 totalTimes = 0;
  bool FLAG_ShowPeriodRecord = false;
  QString totalDataText_;
  QString totalTimeText_;
  DialRecordTableModel *model_ = nullptr;
  // What the table shows, so that a refresh that changes nothing keeps the selection.
  quint64 shownGeneration_ = 0;
  RecordWindow shownPeriod_{-1, -1};
  QTimeZone zone() const;
  QTimeZone zone_;
  QDate today_;

  // Usage limits and reset periods.
  QVariantMap recordModule() const;
  void storeRecord(const QVariantMap &values);
  void connectRecordSettingWindow();
  void connectVolumeLimitPage();
  void applyResetBoxState(bool thirtyDays, bool on);
  void armMidnightCheck();
  // The limit box of the tab: the limit in force, or nothing.
  void showLimitSummary();
  QTimer *resetTimer_ = nullptr;
  QTimer *midnightTimer_ = nullptr;
  // The stored start as last read, so a check that finds nothing ended parses nothing.
  QVariant resetStartSeen_;
  QDateTime resetStart_;
  // The variant's totals, kept until the records or the start change.
  quint64 etGeneration_ = ~quint64(0);
  qint64 etStartMs_ = -1;
  RecordSums etSums_;
  QString etStartText_;
  QDateTime etStartParsed_;
};

extern DialRecordController *g_DialRecordController;
