#pragma once

#include "NSTableViewExt.h"
#include "Node.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>
#include <memory>

class NodeOutlineModel;
class SmsBoxTables;

// The SMS folder tree: one folder per storage position, one child per box. Logic only; the page
// shows it through a NodeOutlineModel over root(). The SIM folder exists only while the card is
// ready: it is added once, found and removed by its name "AT_SIM", and only it gets new boxes.
class SmsSource : public QObject {
  Q_OBJECT
public:
  explicit SmsSource(QObject *parent = nullptr);
  ~SmsSource() override;

  Node *root() const { return root_.get(); }
  NodeOutlineModel *model() const { return model_; }
  // Shows the tree in the outline view and mirrors its clicks through `nodeSelected`.
  void setOutlineView(NSOutlineViewExt *view);
  NSOutlineViewExt *outlineView() const { return outlineView_; }

  // Builds the tree from SMS/"positionOrder" (folders in display order) and the box tables; the
  // SIM folder only when the card is ready.
  void build(const QVariant &positionOrder, const SmsBoxTables &boxes, bool cardReady);
  // Appends a position folder; null for a SIM folder without a ready card or one already there.
  Node *addChildNodeOfSavePosition(const QString &name, int order, int position, bool cardReady);
  // Appends a box under every position folder that can hold it (the SIM and the device memory
  // hold only the InBox and OutBox, and DraftBox for the device), or under `only`.
  void addChildNodeOfMsgBox(const QString &boxName, int order, int box, Node *only = nullptr);
  // Adds the boxes of the tables (InBox, OutBox, DraftBox when none are listed) under `only`
  // or every folder.
  void addMsgBoxNodes(const SmsBoxTables &boxes, Node *only = nullptr);
  // Adds the SIM folder with its boxes; null when it is there already.
  Node *addSimFolder(const SmsBoxTables &boxes);
  // Removes the SIM folder; false when there is none.
  bool removeSimFolder();

  Node *getNodeofSavePosByPositonName(const QString &name) const;
  Node *getNodeOfBoxByPositonNameAndSavePos(const QString &positionName, const QString &boxName) const;
  const Node *selectedNode() const { return selectedNode_; }
  // A folder (its position code, box -1) or a box (its folder's position and its code).
  std::function<void(int position, int box)> nodeSelected;
  // Selects the node in the view and mirrors it, as a click would.
  void selectNode(const Node *node);

  // After the tree's shape changed / after titles changed.
  void reload();
  void reloadTitles();

private:
  void selectionChanged();

  std::unique_ptr<Node> root_;
  NodeOutlineModel *model_ = nullptr;
  // The view may go with its window before the tree does.
  QPointer<NSOutlineViewExt> outlineView_;
  const Node *selectedNode_ = nullptr;
};

extern SmsSource *g_SmsSource;
