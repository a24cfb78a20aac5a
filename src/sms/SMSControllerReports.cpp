// SMSController: the delivery-report box, kept in memory newest first and in
// "smsReportsBoxData.plist" as an array of dictionaries.
#include "ConfigManager.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsSendWording.h"
#include "WordingOperation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTextBrowser>

using namespace smssend;

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
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path, aside);
    qWarning("the delivery-report file could not be read; moved to %s", qPrintable(aside));
    return;
  }
  for (const QVariant &item : root.toList()) {
    if (item.typeId() != QMetaType::QVariantMap)
      continue;
    const QVariantMap m = item.toMap();
    const QDateTime date = m.value(QStringLiteral("date")).toDateTime();
    QELMessageDeliveryReport r(m.value(QStringLiteral("messagetext")).toString(), m.value(QStringLiteral("RESULT")),
                               formatStringFromDate(date), m.value(QStringLiteral("username")).toString(),
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
    if (!Plist::readFile(path, &existing) || existing.typeId() != QMetaType::QVariantList) {
      const QString aside = path + QStringLiteral(".damaged");
      QFile::remove(aside);
      QFile::rename(path, aside);
    }
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
  const auto &reports = arrival_.deliveryReportArray;
  if (reports.empty())
    return QString();
  if (row < 0 || row >= int(reports.size()))
    return {};
  const QELMessageDeliveryReport &r = reports.at(size_t(row));
  if (column == QLatin1String("stat"))
    return r.status().toInt() == 0
               ? WordingOperation::getDisplayWordingValueByWordingKey(QStringLiteral("SMS_tableColumnStat_NewSmsState"))
               : QString();
  if (column == QLatin1String("mobilephone"))
    return r.receiveMobilephone();
  if (column == QLatin1String("username"))
    return lookupName(r.receiveMobilephone());
  if (column == QLatin1String("date"))
    return r.dateFormatString();
  return {};
}

void SMSController::readDeliveryReportAt(int row) {
  auto &reports = arrival_.deliveryReportArray;
  if (row < 0 || row >= int(reports.size()) || reports.at(size_t(row)).status().toInt() != 0)
    return;
  reports[size_t(row)].setStatus(1);
  writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(reports);
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
  for (int i = int(reports.size()) - 1; i >= 0; --i)
    if (selectedRows_.contains(i))
      reports.erase(reports.begin() + i);
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
