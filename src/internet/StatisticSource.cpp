#include "StatisticSource.h"

#include "ConfigService.h"
#include "DialRecordController.h"
#include "NSTableViewExt.h"
#include "NodeOutlineModel.h"
#include "RecordFormats.h"
#include "TransferSource.h"
#include "WordGlobe.h"

#include <QHeaderView>

statisticSource *statisticForm = nullptr;

namespace {

// The wording keys of the outline's rows, in row order.
const char *const kRowKeys[] = {
    "Statistics",   "Time Last Reset:", "Daily",  "Upload Data:", "Download Data:", "Monthly",
    "Upload Data:", "Download Data:",   "Yearly", "Upload Data:", "Download Data:"};

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromUtf8(key));
}

} // namespace

statisticSource::statisticSource(QObject *parent) : QELUIController(parent), root_(std::make_unique<Node>()) {
  statisticForm = this;
  Node *top = root_->addChild(std::make_unique<Node>(word("Statistics")));
  top->addChildWithName(word("Time Last Reset:"), QStringLiteral("00:00:00"));
  auto period = [&](const char *name) {
    Node *node = top->addChild(std::make_unique<Node>(word(name)));
    node->addChildWithName(word("Upload Data:"), QStringLiteral("0"));
    node->addChildWithName(word("Download Data:"), QStringLiteral("0"));
    return node;
  };
  Daily = period("Daily");
  Monthly = period("Monthly");
  Yearly = period("Yearly");
  sendData_ = QString("");
  receiveData_ = QString("");
  model_ = new NodeOutlineModel(root_.get(), {QStringLiteral("Attribute"), QStringLiteral("Value")}, this);
  notificationCenter->addObserver(this, QByteArray("updateInterface"), QStringLiteral("PrepareUsageDate"));
}

statisticSource::~statisticSource() {
  if (statisticForm == this)
    statisticForm = nullptr;
}

void statisticSource::registerMessages() {
  notificationCenter->addObserver(this, QByteArray("receiveConnectStatisticsData:"),
                                  QStringLiteral("ConnectStatistics"));
}

void statisticSource::initializeNibResources() {
  if (!outlineView)
    return;
  outlineView->setModel(model_);
  outlineView->setHeaderHidden(true);
  outlineView->header()->setStretchLastSection(true);
  // The captions get the room their worded text needs; the values take the rest.
  outlineView->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  NodeOutlineModel::keepExpanded(outlineView);
}

QList<Node *> statisticSource::rows() const {
  Node *top = root_->childAt(0);
  QList<Node *> list{top, top->childAt(0)};
  for (Node *period : {Daily, Monthly, Yearly})
    list << period << period->childAt(0) << period->childAt(1);
  return list;
}

QString statisticSource::rowValue(int row) const {
  const QList<Node *> all = rows();
  return row >= 0 && row < all.size() ? all[row]->value() : QString();
}

QString statisticSource::rowName(int row) const {
  const QList<Node *> all = rows();
  return row >= 0 && row < all.size() ? all[row]->name() : QString();
}

void statisticSource::receiveConnectStatisticsData(const Notification &notification) {
  reloadStatisticSendData(notification.userInfo);
}

void statisticSource::reloadStatisticSendData(const QVariantMap &info) {
  const QString zero = QStringLiteral("0.0");
  const QVariant up = info.value(QStringLiteral("UploadDataUnitWithKB"));
  const QVariant down = info.value(QStringLiteral("DowloadDataUnitWithKB"));
  sendData_ = up.isValid() ? up.toString() : zero;
  receiveData_ = down.isValid() ? down.toString() : zero;
  updateInterface();
}

void statisticSource::updateInterface() {
  reloadStatistic();
  Init_statistic_view();
  if (transferForm)
    transferForm->init_transfer_view();
}

void statisticSource::tabViewItemWillChange(const Notification &notification) {
  if (notification.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString() ==
      QLatin1String("Statistics"))
    updateInterface();
}

void statisticSource::Init_statistic_view() {
  const QList<Node *> all = rows();
  for (int i = 0; i < all.size(); ++i)
    all[i]->setNodeName(word(kRowKeys[i]));
  model_->reloadValues();
  if (outlineView)
    outlineView->expandAll();
}

void statisticSource::reloadStatistic() {
  displayLastResetTime();
  displayPeriodStatistics();
  model_->reloadValues();
}

void statisticSource::displayLastResetTime() {
  const QVariant last = ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("recordLastResetTime"));
  Node *row = root_->childAt(0)->childAt(0);
  if (last.typeId() == QMetaType::QDateTime && last.toDateTime().isValid())
    row->setValue(formatStringFromDate(last.toDateTime().toLocalTime()));
  else
    row->setValue(QStringLiteral("00:00:00"));
}

QString statisticSource::autoSwitchStatisticData(double v) {
  if (v < 0)
    return QString();
  const bool bits = ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("dataType")).toString() ==
                    QLatin1String("Kb");
  if (bits)
    v *= 8;
  if (v < 1024)
    return wordedNumber(bits ? QStringLiteral("%0.2f Kb") : QStringLiteral("%0.2f KB"), {v});
  if (v < 1048576)
    return wordedNumber(bits ? QStringLiteral("%0.2f Mb") : QStringLiteral("%0.2f MB"), {v / 1024});
  return wordedNumber(bits ? QStringLiteral("%0.2f Gb") : QStringLiteral("%0.2f GB"), {v / 1024 / 1024});
}

void statisticSource::displayPeriodStatistics() {
  float dayReceive = 0, daySend = 0, monthReceive = 0, monthSend = 0, yearReceive = 0, yearSend = 0;
  quint64 dayTime = 0, monthTime = 0, yearTime = 0;
  if (g_DialRecordController) {
    g_DialRecordController->getDayRecordReceive(&dayReceive, &daySend, &dayTime);
    g_DialRecordController->getMonthRecordReceive(&monthReceive, &monthSend, &monthTime);
    g_DialRecordController->getYearRecordReceive(&yearReceive, &yearSend, &yearTime);
  }
  const float running = float(recordAmountValue(sendData_));
  const float runningReceive = float(recordAmountValue(receiveData_));
  daySend += running;
  monthSend += running;
  yearSend += running;
  dayReceive += runningReceive;
  monthReceive += runningReceive;
  yearReceive += runningReceive;
  const std::tuple<Node *, float, float> periods[] = {
      {Daily, daySend, dayReceive}, {Monthly, monthSend, monthReceive}, {Yearly, yearSend, yearReceive}};
  for (const auto &[node, send, receive] : periods) {
    node->childAt(0)->setValue(autoSwitchStatisticData(send));
    node->childAt(1)->setValue(autoSwitchStatisticData(receive));
  }
  monthlyTotalData_ = monthSend + monthReceive;
  notificationCenter->postNotificationName(
      QStringLiteral("yearReceiveDateAndSendData"), this,
      {{QStringLiteral("yearSendData"), yearSend}, {QStringLiteral("yearReceiveData"), yearReceive}});
}
