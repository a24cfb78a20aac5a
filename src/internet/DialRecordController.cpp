#include "DialRecordController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialRecordFile.h"
#include "DialRecordTab.h"
#include "NSTableViewExt.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "QelFileManager.h"
#include "RecordClock.h"
#include "StatisticSource.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

DialRecordController *g_DialRecordController = nullptr;

namespace {
const QString kPeriodStartPattern = QStringLiteral("%Y-%m-%d 00:00:00");
const QString kPeriodEndPattern = QStringLiteral("%Y-%m-%d 23:59:59");
} // namespace

DialRecordController::DialRecordController(QObject *parent) : QELUIController(parent) {
  g_DialRecordController = this;
  Neighbourhood::setRecords(this);
  dialRecordFileToSave_ = kCMDialRecordFile;
  store_.setSaveWatcher([this](bool written) { storeWritten(written); });
  saveRetry_.setSingleShot(true);
  saveRetry_.setInterval(kSaveRetryMs);
  connect(&saveRetry_, &QTimer::timeout, this, [this] {
    if (store_.hasUnsavedChanges())
      store_.save();
  });
}

DialRecordController::~DialRecordController() {
  Neighbourhood::leave(static_cast<RecordsNeighbour *>(this));
  if (g_DialRecordController == this)
    g_DialRecordController = nullptr;
}

QDate DialRecordController::today() const {
  return today_.isValid() ? today_ : RecordClock::now().toTimeZone(zone()).date();
}

QTimeZone DialRecordController::zone() const {
  return zone_.isValid() ? zone_ : RecordClock::zone();
}

QString DialRecordController::getDialRecordFilePathWithFileName(const QString &fileName) const {
  const QString name = fileName.isEmpty() ? dialRecordFileToSave_ : fileName;
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config || name.isEmpty())
    return QString();
  // A name is a file of the ModemList folder, never a way out of it.
  if (name.contains(u'/') || name == QLatin1String("..") || name == QLatin1String("."))
    return QString();
  return config->getFilePathWithFileName(name);
}

RecordFieldFormats DialRecordController::fieldFormats() const {
  RecordFieldFormats formats;
  formats.date = [this](const QDateTime &date) { return formatStringFromDate(date); };
  formats.word = [](const QString &key) { return Map_Name_Item_of_IndexString(key); };
  return formats;
}

QString DialRecordController::recordCellText(int row, const QString &key) const {
  if (row < 0 || row >= recordList_.size())
    return QString();
  return recordFieldText(recordList_[row], key, fieldFormats());
}

void DialRecordController::reloadTable() {
  if (model_)
    model_->reloadData();
  tableViewSelectionDidChange();
  if (viewDialRecordTab_)
    notificationCenter->postNotificationName(QStringLiteral("NSTableViewSelectionDidChangeNotification"),
                                             viewDialRecordTab_->table);
}

void DialRecordController::refreshStore() {
  store_.refresh();
  // Told once per file: the records start afresh and the big file is kept aside at the next write.
  if (!store_.fileWasTooLarge() || tooLargeTold_ == store_.path())
    return;
  tooLargeTold_ = store_.path();
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning")),
                       fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Dial_RecordsFileTooLarge")),
                                        {QFileInfo(store_.path()).fileName()}),
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

void DialRecordController::storeWritten(bool written) {
  if (written) {
    saveFailing_ = false;
    saveRetry_.stop();
    return;
  }
  saveRetry_.start();
  if (saveFailing_)
    return;
  saveFailing_ = true;
  // A record is added at the end of a connection, inside the modem's answers: the notice must
  // not wait.
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning")),
                       fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Dial_RecordsNotSaved")),
                                        {QFileInfo(store_.path()).fileName()}),
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

void DialRecordController::loadRecordList(const QString &fileName) {
  if (fileName.isEmpty())
    return;
  if (fileName != dialRecordFileToSave_ || store_.path().isEmpty()) {
    dialRecordFileToSave_ = fileName;
    store_.setPath(getDialRecordFilePathWithFileName(fileName));
  }
  refreshStore();
  const bool unchanged = !FLAG_ShowPeriodRecord && shownPeriod_.fromMs == -1 && shownGeneration_ == store_.generation();
  shownGeneration_ = store_.generation();
  shownPeriod_ = {-1, -1};
  if (unchanged)
    return;
  recordList_ = store_.records();
  reloadTable();
}

bool DialRecordController::appendRecord(const DialRecord &record) {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  const bool written = store_.append(record);
  updateInterface();
  return written;
}

bool DialRecordController::appendRecord(const QVariantMap &record) {
  return appendRecord(DialRecord::fromMap(record));
}

// ---- refresh and totals ----

void DialRecordController::updateInterface() {
  if (!FLAG_ShowPeriodRecord) {
    loadRecordList(dialRecordFileToSave_);
  } else {
    QDateTime from, to;
    if (!periodBounds(&from, &to) || to <= from)
      setPeriodDates(today(), today());
    Show(nullptr);
  }
  setCountingModeButtons(countingModeIs15Min());
  getTotalDataAndTime();
  if (viewDialRecordTab_)
    viewDialRecordTab_->btnReset->setEnabled(!recordList_.isEmpty());
  refreshStatistics();
}

void DialRecordController::showTotals(const RecordSums &sums) {
  totalDataText_ = wordedNumber(QStringLiteral("%0.2f KB"), {sums.dataKB()});
  totalTimeText_ = durationText(sums.seconds);
  if (viewDialRecordTab_) {
    viewDialRecordTab_->labelTotalData->setText(totalDataText_);
    viewDialRecordTab_->labelTotalTime->setText(totalTimeText_);
  }
}

void DialRecordController::getTotalDataAndTime() {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  refreshStore();
  const RecordSums sums = store_.totals();
  totalDataKB = sums.dataKB();
  totalTimes = sums.seconds;
  showTotals(sums);
  if (ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("Record_ResetStartTime")).isValid())
    gettotalTimeForET();
}

void DialRecordController::gettotalTimeForET() {
  const QString text =
      ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("Record_ResetStartTime")).toString();
  if (text != etStartText_ || !etStartParsed_.isValid()) {
    etStartText_ = text;
    const QDateTime read = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    etStartParsed_ = read.isValid() ? QDateTime(read.date(), read.time(), zone()) : QDateTime();
  }
  const QDateTime start = etStartParsed_;
  if (!start.isValid())
    return;
  // Kept until the records or the start change: the limit checks read it ten times a second.
  if (etGeneration_ != store_.generation() || etStartMs_ != start.toMSecsSinceEpoch()) {
    etGeneration_ = store_.generation();
    etStartMs_ = start.toMSecsSinceEpoch();
    etSums_ = store_.sumsIn(RecordWindow{etStartMs_, std::numeric_limits<qint64>::max()});
  }
  totalDataKB = etSums_.dataKB();
  totalTimes = etSums_.seconds;
}

QString DialRecordController::totalDataText() const {
  return totalDataText_;
}
QString DialRecordController::totalTimeText() const {
  return totalTimeText_;
}
QString DialRecordController::periodText() const {
  return viewDialRecordTab_ ? viewDialRecordTab_->labelPeriod->text() : QString();
}
bool DialRecordController::isResetEnabled() const {
  return viewDialRecordTab_ && viewDialRecordTab_->btnReset->isEnabled();
}

DialRecordList DialRecordController::getRecordsFrom(const QDateTime &from, const QDateTime &to) {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  refreshStore();
  recordList_ = store_.records();
  return store_.recordsIn({from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch()});
}

DialRecordList DialRecordController::getRecordsForOtherFunctionFrom(const QDateTime &from, const QDateTime &to) {
  refreshStore();
  return store_.recordsIn({from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch()});
}

RecordSums DialRecordController::sumsFor(const RecordWindow &window) {
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  refreshStore();
  return store_.sumsIn(window);
}

namespace {
void putSums(const RecordSums &sums, float *receive, float *send, quint64 *time) {
  if (receive)
    *receive = float(sums.receiveKB);
  if (send)
    *send = float(sums.sendKB);
  if (time)
    *time = quint64(std::max<qint64>(0, sums.seconds));
}
} // namespace

void DialRecordController::getDayRecordReceive(float *receive, float *send, quint64 *time) {
  putSums(sumsFor(dayWindow(today(), zone())), receive, send, time);
}
void DialRecordController::getMonthRecordReceive(float *receive, float *send, quint64 *time) {
  putSums(sumsFor(monthWindow(today(), zone())), receive, send, time);
}
void DialRecordController::getYearRecordReceive(float *receive, float *send, quint64 *time) {
  putSums(sumsFor(yearWindow(today(), zone())), receive, send, time);
}

// ---- the period view ----

void DialRecordController::setPeriodDates(const QDate &from, const QDate &to) {
  if (!viewDialRecordTab_)
    return;
  viewDialRecordTab_->fromDate->setDate(from);
  viewDialRecordTab_->toDate->setDate(to);
}

bool DialRecordController::periodBounds(QDateTime *from, QDateTime *to) const {
  if (!viewDialRecordTab_)
    return false;
  const QDate first = viewDialRecordTab_->fromDate->date();
  const QDate last = viewDialRecordTab_->toDate->date();
  const RecordWindow window = periodWindow(first, last, zone());
  *from = QDateTime::fromMSecsSinceEpoch(window.fromMs, zone());
  *to = QDateTime::fromMSecsSinceEpoch(window.toMs, zone());
  return from->isValid() && to->isValid();
}

void DialRecordController::writeBackFile(const DialRecordList &records) {
  const QString path = getDialRecordFilePathWithFileName(kCMDialRecordBackupFile);
  if (path.isEmpty())
    return;
  if (!QelFileManager::writeToFile(path, DialRecordFile::toXml(records)))
    qWarning() << "DialRecordController: cannot write" << path;
}

void DialRecordController::Show(QObject *) {
  QDateTime from, to;
  if (!periodBounds(&from, &to))
    return;
  if (from.secsTo(to) <= 0) {
    askWarning(QStringLiteral("Warning"), QStringLiteral("You selected a wrong period"), false);
    loadRecordList(dialRecordFileToSave_);
    return;
  }
  refreshStore();
  const RecordWindow window{from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch()};
  // The same period of the same records: the view, its file and its selection stay.
  if (!(FLAG_ShowPeriodRecord && shownGeneration_ == store_.generation() && shownPeriod_.fromMs == window.fromMs &&
        shownPeriod_.toMs == window.toMs)) {
    const DialRecordList period = getRecordsFrom(from, to);
    writeBackFile(period);
    ShowItem(period);
    shownGeneration_ = store_.generation();
    shownPeriod_ = window;
  }
  const QString pattern = Map_Name_Item_of_IndexString(QStringLiteral("Statistics for period from %@ to %@"));
  const QString first = formatCalendarDate(from, kPeriodStartPattern);
  const QString last = formatCalendarDate(to, kPeriodEndPattern);
  // The dates fill the two places in order; the pattern is never read as a format.
  QString text = pattern;
  const int a = text.indexOf(QLatin1String("%@"));
  if (a >= 0) {
    text.replace(a, 2, first);
    const int b = text.indexOf(QLatin1String("%@"), a + first.size());
    if (b >= 0)
      text.replace(b, 2, last);
  }
  if (viewDialRecordTab_)
    viewDialRecordTab_->labelPeriod->setText(text);
}

void DialRecordController::ShowItem(const DialRecordList &periodRecords) {
  recordList_ = periodRecords;
  if (viewDialRecordTab_)
    viewDialRecordTab_->btnReset->setEnabled(!recordList_.isEmpty());
  RecordSums sums;
  for (const DialRecord &r : recordList_) {
    sums.receiveKB += r.receiveKB;
    sums.sendKB += r.sendKB;
    sums.seconds += r.connectTime;
  }
  showTotals(sums);
  reloadTable();
  FLAG_ShowPeriodRecord = true;
}

void DialRecordController::refreshStatistics() {
  if (statisticForm)
    statisticForm->updateInterface();
}

void DialRecordController::tableViewSelectionDidChange() {
  if (!viewDialRecordTab_)
    return;
  const QItemSelectionModel *selection = viewDialRecordTab_->table->selectionModel();
  const bool any = selection && !selection->selectedRows().isEmpty();
  viewDialRecordTab_->btnSave->setEnabled(any);
  viewDialRecordTab_->btnDelete->setEnabled(any);
}

void DialRecordController::selectRows(const QList<int> &rows) {
  if (!viewDialRecordTab_ || !model_)
    return;
  QItemSelectionModel *selection = viewDialRecordTab_->table->selectionModel();
  selection->clearSelection();
  for (int row : rows)
    selection->select(model_->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
