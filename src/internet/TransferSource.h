#pragma once

#include "Node.h"
#include "QELUIController.h"

#include <QPointer>
#include <memory>

class NodeOutlineModel;
class NSOutlineViewExt;

// The Transfer outline: the running connection's duration and its upload and download speed and
// amount, taken ready-formatted from the connection's once-a-second "ConnectStatistics".
class transferSource : public QELUIController {
  Q_OBJECT
public:
  explicit transferSource(QObject *parent = nullptr);
  ~transferSource() override;

  // Outlet, set by the builder before awakeFromNib().
  QPointer<NSOutlineViewExt> outlineView;

  Q_INVOKABLE void receiveConnectStatistics(const Notification &notification);
  void reloadTransferSendData(const QVariantMap &info);
  // Formats the figures itself: kilobytes, kilobytes per second, seconds.
  void reloadTransferSendData(float sendKB, float receiveKB, float sendSpeed, float receiveSpeed, qint32 connectTime);
  void clearTransferSourceView();
  void init_transfer_view();

  const Node &root() const { return *root_; }
  NodeOutlineModel *model() const { return model_; }
  // Row 0 "Transfer" ... 7 the download amount.
  QString rowValue(int row) const;
  QString rowName(int row) const;

protected:
  void initializeNibResources() override;
  void registerMessages() override;

private:
  QList<Node *> rows() const;
  void reloadRows();

  std::unique_ptr<Node> root_;
  Node *Upload = nullptr;
  Node *Download = nullptr;
  NodeOutlineModel *model_ = nullptr;
};

extern transferSource *transferForm;
