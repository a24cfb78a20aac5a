// The records tab's actions: deleting, resetting, saving and exporting, the counting mode and
// the way to the statistics page.
#include "DialRecordController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialRecordTab.h"
#include "ModalQuestions.h"
#include "NSTableViewExt.h"
#include "QELAlertPanel.h"
#include "QelFileManager.h"
#include "StatisticSource.h"
#include "WordGlobe.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromUtf8(key));
}

// Stores Record/`key` in the live settings (the module is made when absent) and writes the file.
void storeRecordSetting(QVariantMap &settings, const QString &key, const QVariant &value) {
  const QString module = QStringLiteral("Record");
  if (settings.value(module).typeId() != QMetaType::QVariantMap)
    settings.insert(module, QVariantMap());
  if (ConfigService *service = ConfigService::sharedConfigService()) {
    service->setconfigurationForRecordAndWriteToFile(key, value);
    return;
  }
  QVariantMap record = settings.value(module).toMap();
  record.insert(key, value);
  settings.insert(module, record);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

} // namespace

int DialRecordController::askWarning(const QString &title, const QString &message, bool withCancel) {
  return NSRunAlertPanelExt(Map_Name_Item_of_IndexString(title), Map_Name_Item_of_IndexString(message), word("OK"),
                            withCancel ? word("Cancel") : QString());
}

void DialRecordController::storeLastResetTime() {
  storeRecordSetting(settingDict(), QStringLiteral("recordLastResetTime"), QDateTime::currentDateTimeUtc());
}

// ---- deleting ----

void DialRecordController::deleteRecord(QObject *) {
  if (!viewDialRecordTab_ || !viewDialRecordTab_->table->selectionModel())
    return;
  const QModelIndexList rows = viewDialRecordTab_->table->selectionModel()->selectedRows();
  if (rows.isEmpty())
    return;
  const bool ok =
      askWarning(QStringLiteral("Warning"), QStringLiteral("Are you sure to delete the selected record(s)?"), true) ==
      ModalQuestions::kDefaultAnswer;
  DialRecordList selected;
  for (const QModelIndex &index : rows)
    if (index.row() >= 0 && index.row() < recordList_.size())
      selected << recordList_[index.row()];
  if (ok) {
    QSet<quint64> ids;
    for (const DialRecord &r : selected)
      ids.insert(r.id);
    store_.refresh();
    // The shown copies carry the file's identities unless the file was changed meanwhile; then
    // the same records are found by their content.
    QSet<quint64> inFile;
    for (const DialRecord &wanted : selected) {
      for (const DialRecord &r : store_.records()) {
        if (!inFile.contains(r.id) && (r.id == wanted.id || r.sameContent(wanted))) {
          inFile.insert(r.id);
          break;
        }
      }
    }
    store_.removeIds(inFile);
    recordList_.removeIf([&](const DialRecord &r) { return ids.contains(r.id); });
    if (FLAG_ShowPeriodRecord)
      writeBackFile(recordList_);
  }
  viewDialRecordTab_->table->clearSelection();
  reloadTable();
  updateInterface();
}

void DialRecordController::resetRecord(QObject *) {
  if (recordList_.isEmpty())
    return;
  if (askWarning(QStringLiteral("Warning!"), QStringLiteral("Are you sure you want to delete all the record(s)?"),
                 true) == ModalQuestions::kDefaultAnswer)
    clearAllRecord();
}

void DialRecordController::clearAllRecord() {
  recordList_.clear();
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  store_.clear();
  writeBackFile({});
  FLAG_ShowPeriodRecord = false;
  reloadTable();
  if (viewDialRecordTab_)
    viewDialRecordTab_->btnReset->setEnabled(false);
  storeLastResetTime();
  refreshStatistics();
  getTotalDataAndTime();
}

void DialRecordController::resetDataForNetWorkData(const Notification &) {
  clearAllRecord();
}

// ---- saving and exporting ----

void DialRecordController::saveRecord(QObject *) {
  // What is shown goes back to the file it came from first.
  if (FLAG_ShowPeriodRecord)
    writeBackFile(recordList_);
  else if (store_.hasUnsavedChanges())
    store_.save();

  QString type = ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("SaveRecordFileType")).toString();
  if (type.isEmpty())
    type = QStringLiteral("txt");
  QFileDialog panel(viewDialRecordTab_ ? viewDialRecordTab_->window() : nullptr);
  panel.setObjectName(QStringLiteral("saveRecordPanel"));
  panel.setAcceptMode(QFileDialog::AcceptSave);
  panel.setFileMode(QFileDialog::AnyFile);
  panel.setOption(QFileDialog::DontUseNativeDialog, true);
  panel.setDefaultSuffix(type);
  panel.setNameFilter(QStringLiteral("*.") + type);
  panel.setDirectory(QDir::homePath());
  panel.selectFile(QStringLiteral("dialRecord.") + type);
  const ModalQuestion question{QStringLiteral("saveRecordPanel"), word("Save Record"), type, word("OK"),
                               word("Cancel")};
  if (ModalQuestions::runDialog(&panel, question) != QDialog::Accepted)
    return;
  QString path = panel.selectedFiles().value(0);
  if (path.isEmpty())
    return;
  // The panel requires its type: a name without it gets it.
  if (QFileInfo(path).suffix().compare(type, Qt::CaseInsensitive) != 0)
    path += u'.' + type;
  exportRecords(path, type);
}

bool DialRecordController::exportRecords(const QString &path, const QString &type) {
  QString text;
  if (type == QLatin1String("txt")) {
    const ConfigService *service = ConfigService::sharedConfigService();
    text = recordsAsText(recordList_, fieldFormats(), service && service->isSavedDataToTheTxtFileToMB());
  } else if (type == QLatin1String("csv")) {
    text = recordsAsCsv(recordList_, fieldFormats());
  } else {
    return false;
  }
  if (QelFileManager::writeToFile(path, text, QStringConverter::Utf8))
    return true;
  qWarning() << "DialRecordController: cannot export the records to" << path;
  return false;
}

// ---- counting mode ----

bool DialRecordController::countingModeIs15Min() const {
  return ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("connectTimeincreaseState")).toBool();
}

void DialRecordController::setCountingModeButtons(bool fifteenMinutes) {
  if (!viewDialRecordTab_)
    return;
  viewDialRecordTab_->radio15Min->setChecked(fifteenMinutes);
  viewDialRecordTab_->radioContinuous->setChecked(!fifteenMinutes);
}

void DialRecordController::chooseCountingMode(bool fifteenMinutes) {
  setCountingModeButtons(fifteenMinutes);
  if (fifteenMinutes == countingModeIs15Min())
    return;
  if (askWarning(QStringLiteral("Warning!"),
                 QStringLiteral("The Connection History will be cancelled, do you want to continue?"),
                 true) != ModalQuestions::kDefaultAnswer) {
    setCountingModeButtons(!fifteenMinutes);
    return;
  }
  recordList_.clear();
  if (store_.path().isEmpty())
    store_.setPath(getDialRecordFilePathWithFileName());
  store_.clear();
  reloadTable();
  getTotalDataAndTime();
  storeRecordSetting(settingDict(), QStringLiteral("connectTimeincreaseState"), fifteenMinutes);
}

void DialRecordController::selectIncrease15MinBtn(QObject *) {
  chooseCountingMode(true);
}

void DialRecordController::selectContinuousBtn(QObject *) {
  chooseCountingMode(false);
}

// ---- the statistics page ----

void DialRecordController::selectMainTab(const QString &identifier) {
  notifyChangeTabViewItem(identifier);
}

void DialRecordController::goToStatistics(QObject *) {
  refreshStatistics();
  selectMainTab(QStringLiteral("Statistics"));
  if (ConfigService::readValue(QStringLiteral("Provider"), QStringLiteral("MRDW_Statistics")).toBool())
    NSRunAlertPanelExt(QStringLiteral(" "),
                       word("Data usage is approximate only, please contact your operator for actual usage."),
                       word("OK"));
}

void DialRecordController::goBackToRecord(QObject *) {
  updateInterface();
  selectMainTab(QStringLiteral("DialRecord"));
}

void DialRecordController::tabViewItemWillChange(const Notification &notification) {
  if (notification.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString() ==
      QLatin1String("DialRecord"))
    updateInterface();
}

void DialRecordController::deviceRemoved(const Notification &) {
  if (ConfigService::readValue(QString(), QStringLiteral("PCDataWithIMSI")).toBool())
    loadRecordList(kCMDialRecordFile);
}
