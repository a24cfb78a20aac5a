// SMSController: the delivery-report box, kept in memory newest first and in
// "smsReportsBoxData.plist" as an array of dictionaries.
#include "ConfigManager.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsSendWording.h"
#include "SmsTableModel.h"
#include "WordingOperation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTextBrowser>
#include <algorithm>
#include <functional>

using namespace smssend;

// Moves a damaged report box aside under a name of its own ("<file>.damaged-<UTC time>", a
// number added when that is taken): every damaged copy is kept, none replaces an earlier one.
QString SMSController::setDamagedReportBoxAside(const QString &path) {
  const QString stem =
      path + QStringLiteral(".damaged-") + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString aside = stem;
  for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
    aside = stem + QStringLiteral("-%1").arg(n);
  if (!QFile::rename(path, aside))
    return QString();
  return aside;
}

QString SMSController::deliveryReportBoxPath() {
  ConfigManager *manager = ConfigManager::sharedConfigManager();
  return manager ? manager->configFilePathOfKey(kCMSMSListOfReportBoxFile) : QString();
}

void SMSController::readDeliveryReportBox() {
  const QString path = deliveryReportBoxPath();
  if (path.isEmpty() || !QFileInfo::exists(path))
    return;
  QVariant root;
  if (!Plist::readFile(path, &root) || root.typeId() != QMetaType::QVariantList) {
    // A damaged file is kept beside for whoever wants it back; the next report starts anew.
    const QString aside = setDamagedReportBoxAside(path);
    qWarning("the delivery-report file could not be read; moved to %s", qPrintable(aside));
    return;
  }
  for (const QVariant &item : root.toList()) {
    if (item.typeId() != QMetaType::QVariantMap)
      continue;
    const QVariantMap m = item.toMap();
    const QDateTime date = m.value(QStringLiteral("date")).toDateTime();
    QELMessageDeliveryReport r(m.value(QStringLiteral("messagetext")).toString(), m.value(QStringLiteral("RESULT")),
                               shownDate(date), m.value(QStringLiteral("username")).toString(),
                               m.value(QStringLiteral("mobilephone")).toString(), date);
    r.setStatus(m.value(QStringLiteral("stat"), 0).toInt());
    arrival_.deliveryReportArray.push_back(r);
  }
}

bool SMSController::writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(
    const std::vector<QELMessageDeliveryReport> &reports) {
  const QString path = deliveryReportBoxPath();
  if (path.isEmpty())
    return false;
  const QELMessageModelManager *manager = QELMessageModelManager::sharedQELMessageModelManagerInstance();
  QVariantList out;
  for (const QELMessageDeliveryReport &r : reports)
    out.append(manager->deliveryReportFileStructWithQELMessageDeliveryReport(r));
  // A file that cannot be read is not silently replaced: it is moved aside first.
  if (QFileInfo::exists(path)) {
    QVariant existing;
    if (!Plist::readFile(path, &existing) || existing.typeId() != QMetaType::QVariantList)
      setDamagedReportBoxAside(path);
  }
  return Plist::writeFile(path, out);
}

QVariantList SMSController::deliveryReportRows() const {
  const QELMessageModelManager *manager = QELMessageModelManager::sharedQELMessageModelManagerInstance();
  QVariantList rows;
  int index = 0;
  for (const QELMessageDeliveryReport &r : arrival_.deliveryReportArray) {
    QVariantMap row = manager->deliveryReportFileStructWithQELMessageDeliveryReport(r);
    row.insert(QStringLiteral("username"), lookupName(r.receiveMobilephone()));
    row.insert(QStringLiteral("index"), index++);
    rows.append(row);
  }
  return rows;
}

bool SMSController::isPcDeliveryReportBox() const {
  return getCurrentBox() == DELIVERY_REPORTBOX && getCurrentPosition() == AT_PC;
}

QVariant SMSController::setSmsTableValueOfDeliveryReport(const QString &column, int row) const {
  const QVariantList rows = deliveryReportRows();
  if (row < 0 || row >= rows.size())
    return {};
  return SmsTableModel::reportCellText(rows.at(row).toMap(), column, tableModel_->context());
}

// The report a table row shows: rows carry their place in the report array, whatever order a
// sort gave them.
int SMSController::reportIndexOfRow(int row) const {
  const QVariantList rows = tableModel_->rows();
  if (row < 0 || row >= rows.size())
    return -1;
  bool ok = false;
  const int index = rows.at(row).toMap().value(QStringLiteral("index")).toInt(&ok);
  return ok && index >= 0 && index < int(arrival_.deliveryReportArray.size()) ? index : -1;
}

void SMSController::readDeliveryReportAt(int row) {
  auto &reports = arrival_.deliveryReportArray;
  const int index = reportIndexOfRow(row);
  if (index < 0 || reports.at(size_t(index)).status().toInt() != 0)
    return;
  reports[size_t(index)].setStatus(1);
  writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(reports);
  // The row's state word follows at once; the selection stays.
  QVariantList rows = tableModel_->rows();
  QVariantMap shown = rows.at(row).toMap();
  shown.insert(QStringLiteral("stat"), 1);
  rows[row] = shown;
  tableModel_->updateRows(rows);
}

void SMSController::deleteDeliveryReport() {
  if (!smsSwitch("isHaveDeliveryReportBox"))
    return;
  if (NSRunAlertPanelExt(word("Warning"), word("Are you sure you want to delete the message(s)?"), word("OK"),
                         word("Cancel")) != 1)
    return;
  if (selectedRows_.isEmpty() || !isPcDeliveryReportBox())
    return;
  auto &reports = arrival_.deliveryReportArray;
  QList<int> doomed;
  for (int row : selectedRows_)
    if (const int index = reportIndexOfRow(row); index >= 0)
      doomed << index;
  std::sort(doomed.begin(), doomed.end(), std::greater<>());
  for (int index : doomed)
    reports.erase(reports.begin() + index);
  writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(reports);
  if (page)
    page->messageText->clear();
  setMsgBoxInfo();
  reloadTable();
  if (page)
    page->msgBoxList->clearSelection();
}

void SMSController::showOrHiddenDeliveryReportBox() {
  if (!page || page->msgBoxSelectAt->count() < 4)
    return;
  QListWidgetItem *cell = page->msgBoxSelectAt->item(3);
  const bool sim = getCurrentPosition() == AT_SIM;
  cell->setFlags(sim ? cell->flags() & ~Qt::ItemIsEnabled : cell->flags() | Qt::ItemIsEnabled);
  cell->setForeground(sim ? page->palette().brush(QPalette::Disabled, QPalette::Text)
                          : page->palette().brush(QPalette::Active, QPalette::Text));
}
