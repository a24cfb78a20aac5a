#pragma once

#include "Node.h"

#include <QStringList>
#include <functional>
#include <memory>

class PBController;

// The phonebook's store tree: a "PC" node with one child per PC group, and a SIM node while a
// usable SIM is present. Logic only; the page shows it through a NodeOutlineModel over root()
// and is told to reload with onReload.
class PBSource {
public:
  // Node kinds: the PC node, a group node, the SIM node, anything else.
  enum NodeKind { kPcNode = 0, kGroupNode = 1, kSimNode = 2, kOtherNode = 3 };
  // The node menu's items after the send-message item, in this order.
  static inline const QString kNewGroup = QStringLiteral("New Group");
  static inline const QString kDeleteGroup = QStringLiteral("Delete Group");
  static inline const QString kRenameGroup = QStringLiteral("Rename Group");

  explicit PBSource(PBController *controller);
  ~PBSource();

  Node *root() const { return root_.get(); }
  Node *nodeOfPc() const { return nodeOfPc_; }
  Node *nodeOfSim() const { return nodeOfSim_; }
  Node *selectedNode() const { return selectedNode_; }
  void setSelectedNode(Node *node) { selectedNode_ = node; }
  bool simNodeInTree() const { return !simNodeHolder_; }

  // The PC node's children become one node per name, sorted like the groups.
  void rebuildGroupNodes(const QStringList &groupNames);
  void addGroupNodeWithGroupName(const QString &name);
  void deleteSeletedGroupNode();
  void sortGroupNodeInPC();
  void createNodeOfSim();
  void deleteNodeOfSim();

  NodeKind kindOf(const Node *node) const;
  // The outline's selection changed to `node`: the store selector and the group table follow,
  // and the "new" menu's state. Answers the node's kind.
  NodeKind outlineSelectionChanged(Node *node);
  // The "new" menu's items (new contact, new group) enabled for a kind.
  static std::pair<bool, bool> newMenuState(NodeKind kind);
  // The node menu's items after item 0 for the right-clicked node, and whether they act (only
  // when the right-clicked node is the selected one).
  QStringList nodeMenuItems(const Node *clicked) const;
  bool nodeMenuItemsEnabled(const Node *clicked) const { return clicked && clicked == selectedNode_; }

  // Row of a node in the fully expanded outline (-1 when not shown).
  int rowOf(const Node *node) const;
  Node *nodeAtRow(int row) const;

  std::function<void()> onReload;

private:
  void reload();

  PBController *controller_;
  std::unique_ptr<Node> root_;
  Node *nodeOfPc_ = nullptr;
  Node *nodeOfSim_ = nullptr;
  // The SIM node while it is not in the tree.
  std::unique_ptr<Node> simNodeHolder_;
  Node *selectedNode_ = nullptr;
};

extern PBSource *g_PBSource;
