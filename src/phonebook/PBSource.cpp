#include "PBSource.h"

#include "PBController.h"
#include "PBNameSort.h"
#include "WordGlobe.h"

#include <QCollator>

PBSource *g_PBSource = nullptr;

namespace {
const QString kFolder = QStringLiteral("Folder");

void collectRows(const Node *node, QList<const Node *> &rows) {
  for (const auto &child : node->children()) {
    rows << child.get();
    collectRows(child.get(), rows);
  }
}
} // namespace

PBSource::PBSource(PBController *controller) : controller_(controller), root_(std::make_unique<Node>()) {
  nodeOfPc_ = root_->addChildWithNameAndImage(Map_Name_Item_of_IndexString(QStringLiteral("PC")), kFolder);
  simNodeHolder_ = std::make_unique<Node>(Map_Name_Item_of_IndexString(QStringLiteral("(U)SIM")));
  nodeOfSim_ = simNodeHolder_.get();
  g_PBSource = this;
}

PBSource::~PBSource() {
  if (g_PBSource == this)
    g_PBSource = nullptr;
}

void PBSource::reload() {
  if (onReload)
    onReload();
}

void PBSource::rebuildGroupNodes(const QStringList &groupNames) {
  // Every load starts the PC node afresh, so a group is never listed twice.
  if (selectedNode_ && selectedNode_->parent_Node() == nodeOfPc_)
    selectedNode_ = nodeOfPc_;
  nodeOfPc_->children().clear();
  for (const QString &name : groupNames)
    if (!name.isEmpty())
      nodeOfPc_->addChildWithNameAndImage(name, kFolder);
  sortGroupNodeInPC();
  selectedNode_ = nodeOfPc_;
  reload();
}

void PBSource::addGroupNodeWithGroupName(const QString &name) {
  if (!selectedNode_ || (selectedNode_ != nodeOfPc_ && selectedNode_->parent_Node() != nodeOfPc_))
    return;
  nodeOfPc_->addChildWithNameAndImage(name, kFolder);
  sortGroupNodeInPC();
  selectedNode_ = nodeOfPc_;
  reload();
}

void PBSource::deleteSeletedGroupNode() {
  auto &children = nodeOfPc_->children();
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->get() == selectedNode_) {
      children.erase(it);
      selectedNode_ = nodeOfPc_;
      break;
    }
  }
  reload();
}

void PBSource::sortGroupNodeInPC() {
  const QCollator collator = PBNameSort::collator();
  auto &children = nodeOfPc_->children();
  std::stable_sort(children.begin(), children.end(),
                   [&collator](const auto &a, const auto &b) { return collator.compare(a->name(), b->name()) < 0; });
}

void PBSource::createNodeOfSim() {
  if (!simNodeHolder_)
    return;
  simNodeHolder_->setNodeName(Map_Name_Item_of_IndexString(QStringLiteral("(U)SIM")));
  simNodeHolder_->setParent_Node(root_.get());
  root_->addChild(std::move(simNodeHolder_));
  reload();
}

void PBSource::deleteNodeOfSim() {
  auto &children = root_->children();
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->get() == nodeOfSim_) {
      simNodeHolder_ = std::move(*it);
      children.erase(it);
      if (selectedNode_ == nodeOfSim_)
        selectedNode_ = nodeOfPc_;
      break;
    }
  }
  reload();
}

PBSource::NodeKind PBSource::kindOf(const Node *node) const {
  if (!node)
    return kOtherNode;
  if (node == nodeOfPc_)
    return kPcNode;
  if (node == nodeOfSim_)
    return kSimNode;
  if (node->parent_Node() == nodeOfPc_)
    return kGroupNode;
  return kOtherNode;
}

PBSource::NodeKind PBSource::outlineSelectionChanged(Node *node) {
  selectedNode_ = node;
  const NodeKind kind = kindOf(node);
  if (!controller_)
    return kind;
  switch (kind) {
  case kSimNode:
    controller_->page().showStore(kSaveInSIM);
    break;
  case kPcNode:
    controller_->page().showStore(kSaveInPC);
    break;
  case kGroupNode: {
    controller_->page().showStore(kSaveInPC);
    const int row = controller_->groupIndexWithName(node->name());
    controller_->page().selectGroupRow(row);
    break;
  }
  default:
    break;
  }
  return kind;
}

std::pair<bool, bool> PBSource::newMenuState(NodeKind kind) {
  switch (kind) {
  case kPcNode:
  case kGroupNode:
    return {true, true};
  case kSimNode:
    return {true, false};
  default:
    return {false, false};
  }
}

QStringList PBSource::nodeMenuItems(const Node *clicked) const {
  switch (kindOf(clicked)) {
  case kPcNode:
    return {kNewGroup};
  case kSimNode:
    return {};
  default:
    return {kNewGroup, kDeleteGroup, kRenameGroup};
  }
}

int PBSource::rowOf(const Node *node) const {
  QList<const Node *> rows;
  collectRows(root_.get(), rows);
  return int(rows.indexOf(node));
}

Node *PBSource::nodeAtRow(int row) const {
  QList<const Node *> rows;
  collectRows(root_.get(), rows);
  return const_cast<Node *>(rows.value(row));
}
