#include "TransferSource.h"

#include "ConfigService.h"
#include "DialController.h"
#include "NSTableViewExt.h"
#include "NodeOutlineModel.h"
#include "RecordFormats.h"
#include "WordGlobe.h"

#include <QHeaderView>

transferSource *transferForm = nullptr;

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromUtf8(key));
}

QString speedText(double s) {
  if (ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("ConnectRateUnit")).toString() ==
      QLatin1String("Kbps"))
    return wordedNumber(QStringLiteral("%0.2f(Kb/s)"), {8 * s});
  if (s > 1024)
    return wordedNumber(QStringLiteral("%0.2f(MB/s)"), {s / 1024});
  return wordedNumber(QStringLiteral("%0.2f(KB/s)"), {s});
}

QString amountText(double a) {
  if (ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("ConnectDataUnit")).toString() ==
      QLatin1String("Kb")) {
    if (a > 1024)
      return wordedNumber(QStringLiteral("%0.2f(Mb)"), {8 * a / 1024});
    return wordedNumber(QStringLiteral("%0.2f(Kb)"), {8 * a});
  }
  if (a > 1048576)
    return wordedNumber(QStringLiteral("%0.2f(GB)"), {a / 1024 / 1024});
  if (a > 1024)
    return wordedNumber(QStringLiteral("%0.2f(MB)"), {a / 1024});
  return wordedNumber(QStringLiteral("%0.2f(KB)"), {a});
}

} // namespace

transferSource::transferSource(QObject *parent) : QELUIController(parent), root_(std::make_unique<Node>()) {
  transferForm = this;
  Node *top = root_->addChild(std::make_unique<Node>(word("Transfer")));
  top->addChildWithName(word("Transfer Time:"), QStringLiteral("00:00:00"));
  auto direction = [&](const char *name) {
    Node *node = top->addChild(std::make_unique<Node>(word(name)));
    node->addChildWithName(word("Speed:"), word("0.00KB/s"));
    node->addChildWithName(word("Data:"), word("0.00KB"));
    return node;
  };
  Upload = direction("Upload");
  Download = direction("Download");
  model_ = new NodeOutlineModel(root_.get(), {QStringLiteral("Attribute"), QStringLiteral("Value")}, this);
}

transferSource::~transferSource() {
  if (transferForm == this)
    transferForm = nullptr;
}

void transferSource::registerMessages() {
  notificationCenter->addObserver(this, QByteArray("receiveConnectStatistics:"), QStringLiteral("ConnectStatistics"));
}

void transferSource::initializeNibResources() {
  root_->childAt(0)->setNodeName(word("Transfer"));
  if (!outlineView)
    return;
  outlineView->setModel(model_);
  outlineView->setHeaderHidden(true);
  outlineView->header()->setStretchLastSection(true);
  // The captions get the room their worded text needs; the values take the rest.
  outlineView->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  NodeOutlineModel::keepExpanded(outlineView);
}

QList<Node *> transferSource::rows() const {
  Node *top = root_->childAt(0);
  return {top,
          top->childAt(0),
          Upload,
          Upload->childAt(0),
          Upload->childAt(1),
          Download,
          Download->childAt(0),
          Download->childAt(1)};
}

QString transferSource::rowValue(int row) const {
  const QList<Node *> all = rows();
  return row >= 0 && row < all.size() ? all[row]->value() : QString();
}

QString transferSource::rowName(int row) const {
  const QList<Node *> all = rows();
  return row >= 0 && row < all.size() ? all[row]->name() : QString();
}

void transferSource::reloadRows() {
  model_->reloadValues();
  if (outlineView)
    outlineView->expandAll();
}

void transferSource::init_transfer_view() {
  const QList<Node *> all = rows();
  const bool diff = ConfigService::readValue(QString(), QStringLiteral("DiffSpeedWording")).toBool();
  const char *const names[] = {"Transfer", "Transfer Time:", "Upload", nullptr, "Data:", "Download", nullptr, "Data:"};
  for (int i = 0; i < all.size(); ++i)
    if (names[i])
      all[i]->setNodeName(word(names[i]));
  all[3]->setNodeName(word(diff ? "Upload Speed:" : "Speed:"));
  all[6]->setNodeName(word(diff ? "Download Speed:" : "Speed:"));
  reloadRows();
}

void transferSource::receiveConnectStatistics(const Notification &notification) {
  reloadTransferSendData(notification.userInfo);
}

void transferSource::reloadTransferSendData(const QVariantMap &info) {
  // A missing entry clears its row.
  auto text = [&](const char *key) {
    const QVariant v = info.value(QString::fromLatin1(key));
    return v.isValid() ? v.toString() : QString();
  };
  root_->childAt(0)->childAt(0)->setValue(text("ConnectTime"));
  Upload->childAt(0)->setValue(text("UploadSpeed"));
  Upload->childAt(1)->setValue(text("UploadData"));
  Download->childAt(0)->setValue(text("DowloadSpeed"));
  Download->childAt(1)->setValue(text("DowloadData"));
  reloadRows();
}

void transferSource::reloadTransferSendData(float sendKB, float receiveKB, float sendSpeed, float receiveSpeed,
                                            qint32 connectTime) {
  const qint64 t = connectTime;
  root_->childAt(0)->childAt(0)->setValue(
      wordedNumber(QStringLiteral("%02d:%02d:%02d"), {double(t / 3600), double(t % 3600 / 60), double(t % 60)}));
  Upload->childAt(0)->setValue(speedText(sendSpeed));
  Upload->childAt(1)->setValue(amountText(sendKB));
  Download->childAt(0)->setValue(speedText(receiveSpeed));
  Download->childAt(1)->setValue(amountText(receiveKB));
  reloadRows();
}

void transferSource::clearTransferSourceView() {
  if (g_DialController && g_DialController->GetisDialNow())
    return;
  Upload->childAt(0)->setValue(word("0.00KB/s"));
  Download->childAt(0)->setValue(word("0.00KB/s"));
  Upload->childAt(1)->setValue(word("0.00KB"));
  Download->childAt(1)->setValue(word("0.00KB"));
}
