// The records tab's set-up: skin items, wording, the start-up order and the notifications.
#include "DialRecordController.h"

#include "ConfigService.h"
#include "DialRecordTab.h"
#include "FrameworkLinks.h"
#include "NSTableViewExt.h"
#include "Neighbourhood.h"
#include "RecordClock.h"
#include "RecordFormats.h"
#include "RecordLimitWindows.h"
#include "SettingsNeighbour.h"
#include "StatisticSource.h"
#include "TransferSource.h"
#include "WordGlobe.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromUtf8(key));
}

} // namespace

void DialRecordController::initializeSkin() {
  if (!qelSkinManager || !viewDialRecordTab_)
    return;
  DialRecordTab *tab = viewDialRecordTab_;
  const std::pair<QWidget *, const char *> items[] = {{tab, "viewDialRecordTab"},
                                                      {tab->btnStatistics, "btnStatisticsDialRecord"},
                                                      {tab->btnReset, "btnResetDialRecord"},
                                                      {tab->btnDelete, "btnDeleteDialRecord"},
                                                      {tab->btnSave, "btnSaveDialRecord"},
                                                      {tab->btnShow, "btnShowDialRecord"},
                                                      {tab->labelFrom, "labelFromDialRecord"},
                                                      {tab->labelTo, "labelToDialRecord"},
                                                      {tab->labelPeriod, "labelTextShowDialRecord"},
                                                      {tab->fromDate, "cbboxFromDateDialRecord"},
                                                      {tab->toDate, "cbboxToDateDialRecord"}};

  for (const auto &[control, key] : items)
    FrameworkLinks::registerController(qelSkinManager, control, QString::fromLatin1(key), true);
}

void DialRecordController::connectTab() {
  DialRecordTab *tab = viewDialRecordTab_;
  if (!tab || model_)
    return;
  model_ = new DialRecordTableModel([this] { return int(recordList_.size()); },
                                    [this](int row, const QString &key) { return recordCellText(row, key); }, tab);
  tab->table->setModel(model_);
  // The widest values a record shows: a late date of a long month, hours of connection, gigabytes.
  DialRecord sample;
  sample.hasName = sample.hasStart = sample.hasDisconnect = sample.hasConnectTime = true;
  sample.connectName = QStringLiteral("Internet");
  sample.startMs = sample.disconnectMs =
      QDateTime(QDate(2026, 9, 28), QTime(22, 58, 58), RecordClock::zone()).toMSecsSinceEpoch();
  sample.connectTime = 99 * 3600 + 59 * 60 + 59;
  sample.setReceiveByte(QStringLiteral("999999.99"));
  sample.setSendByte(QStringLiteral("999999.99"));
  QStringList samples;
  for (const QString &key : RecordFileHeaderKeys())
    samples << recordFieldText(sample, key, fieldFormats());
  tab->sizeColumns(samples);
  connect(tab->table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { tableViewSelectionDidChange(); });
  connect(tab->btnShow, &QPushButton::clicked, this, [this] { Show(viewDialRecordTab_->btnShow); });
  connect(tab->btnSave, &QPushButton::clicked, this, [this] { saveRecord(viewDialRecordTab_->btnSave); });
  connect(tab->btnDelete, &QPushButton::clicked, this, [this] { deleteRecord(viewDialRecordTab_->btnDelete); });
  connect(tab->btnReset, &QPushButton::clicked, this, [this] { resetRecord(viewDialRecordTab_->btnReset); });
  connect(tab->btnStatistics, &QPushButton::clicked, this,
          [this] { goToStatistics(viewDialRecordTab_->btnStatistics); });
  connect(tab->radio15Min, &QRadioButton::clicked, this,
          [this] { selectIncrease15MinBtn(viewDialRecordTab_->radio15Min); });
  connect(tab->radioContinuous, &QRadioButton::clicked, this,
          [this] { selectContinuousBtn(viewDialRecordTab_->radioContinuous); });
  connect(tab->btnSetLimit, &QPushButton::clicked, this, [this] {
    if (Neighbourhood::settings() && Neighbourhood::settings()->sethasModuleWith(QStringLiteral("Volume Limit"))) {
      loadRecordSetting();
      volumeLimitPage()->show();
      volumeLimitPage()->raise();
    } else {
      showSetLimit(viewDialRecordTab_->btnSetLimit);
    }
  });
}

void DialRecordController::initializeNibResources() {
  connectTab();
  loadRecordList(dialRecordFileToSave_);
  initRecordNibWording();
  setPeriodDates(today(), today());
  FLAG_ShowPeriodRecord = false;
  initDataLimitSetting();
  refereshPeriodRecordReset();
  loadDefaultRecordSettingForET();
  if (!ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("recordLastResetTime")).isValid())
    storeLastResetTime();
  setCountingModeButtons(countingModeIs15Min());
  getTotalDataAndTime();
  if (viewDialRecordTab_)
    viewDialRecordTab_->btnReset->setEnabled(!recordList_.isEmpty());
}

void DialRecordController::registerMessages() {
  registerNotification(statisticsNotifactionTable);
}

void DialRecordController::initRecordNibWording() {
  QStringList titles;
  for (const QString &title : RecordFileHeaderTitles())
    titles << Map_Name_Item_of_IndexString(title);
  if (model_)
    model_->setColumnTitles(titles);
  reloadTable();
  DialRecordTab *tab = viewDialRecordTab_;
  if (!tab)
    return;
  tab->btnSave->setText(word("Save Record"));
  tab->btnDelete->setText(word("Delete"));
  tab->labelFrom->setText(word("Record From:"));
  tab->labelTo->setText(word("Record To:"));
  tab->btnShow->setText(word("Show"));
  if (!isShowingPeriodRecord())
    tab->labelPeriod->setText(word("Statistics for period"));
  tab->labelTotalDataTitle->setText(word("Current Total Data(KB)"));
  tab->labelTotalTimeTitle->setText(word("Current Total Time"));
  tab->labelAdvance->setText(word("Advance time"));
  tab->radioContinuous->setText(word("Continuous"));
  tab->radio15Min->setText(word("Increase every 15 min"));
  tab->labelMeter->setText(word("Data and Time meter"));
  tab->btnReset->setText(word("Reset"));
  tab->btnStatistics->setText(word("Show Statistics"));
  tab->labelNotice->setText(word("The Statistics are approximate. Refer to information center for the actual value."));
  initRecordSettingNib();
}

void DialRecordController::initDataLimitSetting() {
  if (!Neighbourhood::settings() || !Neighbourhood::settings()->sethasModuleWith(QStringLiteral("Volume Limit")))
    return;
  QVariantMap &settings = settingDict();
  if (settings.value(QStringLiteral("Record")).typeId() != QMetaType::QVariantMap)
    settings.insert(QStringLiteral("Record"), QVariantMap());
  loadRecordSetting();
  periodRecordResetWithDayWeekMonth();
  // The recurrence ends at a midnight: the check runs then too, not only at launch.
  armMidnightCheck();
}

void DialRecordController::updateLanguages(const Notification &) {
  initDialRecordWording();
  if (statisticForm)
    statisticForm->Init_statistic_view();
  if (transferForm)
    transferForm->init_transfer_view();
}
