#include "SmsSource.h"

#include "NSTableViewExt.h"
#include "NodeOutlineModel.h"
#include "QelPosition.h"

#include <QDebug>
#include <QItemSelectionModel>

SmsSource *g_SmsSource = nullptr;

namespace {
const QString kSimName = QStringLiteral("AT_SIM");

bool folderHolds(const Node *folder, int box) {
  const QString &name = folder->positionNameInParentNode();
  if (name == QLatin1String("AT_SIM"))
    return box == InBox || box == OutBox;
  if (name == QLatin1String("AT_ME"))
    return box >= InBox && box <= DraftBox;
  return true;
}
} // namespace

SmsSource::SmsSource(QObject *parent) : QObject(parent), root_(std::make_unique<Node>()) {
  g_SmsSource = this;
  model_ = new NodeOutlineModel(root_.get(), {QStringLiteral("Attribute")}, this);
}

SmsSource::~SmsSource() {
  // The model goes before the tree it shows.
  delete model_;
  model_ = nullptr;
  if (g_SmsSource == this)
    g_SmsSource = nullptr;
}

void SmsSource::setOutlineView(NSOutlineViewExt *view) {
  outlineView_ = view;
  if (!view)
    return;
  view->setModel(model_);
  NodeOutlineModel::keepExpanded(view);
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { selectionChanged(); });
}

void SmsSource::build(const QVariant &positionOrder, const SmsBoxTables &boxes, bool cardReady) {
  root_->children().clear();
  selectedNode_ = nullptr;
  const QVariantMap order = positionOrder.toMap();
  if (order.isEmpty()) {
    addChildNodeOfSavePosition(QStringLiteral("AT_PC"), 0, AT_PC, cardReady);
    addChildNodeOfSavePosition(kSimName, 1, AT_SIM, cardReady);
  } else {
    // Folders in display order, whatever order the dictionary yields its keys in.
    QList<QPair<int, QString>> sorted;
    for (auto it = order.cbegin(); it != order.cend(); ++it)
      sorted.append({it.value().toInt(), it.key()});
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[displayOrder, name] : sorted) {
      int code = QelPositionManager::positionCodeOfName(name);
      if (code < 0) {
        qWarning("error://position config file read error...");
        code = AT_PC;
      }
      addChildNodeOfSavePosition(name, displayOrder, code, cardReady);
    }
  }
  addMsgBoxNodes(boxes);
  reload();
}

Node *SmsSource::addChildNodeOfSavePosition(const QString &name, int order, int position, bool cardReady) {
  if (name == kSimName && (!cardReady || getNodeofSavePosByPositonName(kSimName)))
    return nullptr;
  auto node = std::make_unique<Node>();
  node->setOrderInParentNode(quint32(std::max(0, order)));
  node->setPositionNameInParentNode(name);
  node->setPositonInParentNode(quint32(std::max(0, position)));
  node->setParent_Node(root_.get());
  // The SIM folder keeps its place in the display order among the others.
  auto &children = root_->children();
  auto at = children.end();
  if (name == kSimName)
    at = std::find_if(children.begin(), children.end(),
                      [order](const std::unique_ptr<Node> &c) { return int(c->orderInParentNode()) > order; });
  return children.insert(at, std::move(node))->get();
}

void SmsSource::addChildNodeOfMsgBox(const QString &boxName, int order, int box, Node *only) {
  for (const std::unique_ptr<Node> &folder : root_->children()) {
    if ((only && folder.get() != only) || !folderHolds(folder.get(), box))
      continue;
    auto node = std::make_unique<Node>();
    node->setOrderInParentNode(quint32(std::max(0, order)));
    node->setPositionNameInParentNode(boxName);
    node->setPositonInParentNode(quint32(std::max(0, box)));
    node->setParent_Node(folder.get());
    folder->addChild(std::move(node));
  }
}

void SmsSource::addMsgBoxNodes(const SmsBoxTables &boxes, Node *only) {
  if (boxes.listedBoxCount() == 0) {
    for (int box : {InBox, OutBox, DraftBox})
      addChildNodeOfMsgBox(smsBoxNames().at(box), box, box, only);
    return;
  }
  for (int order = 0; order < boxes.listedBoxCount(); ++order) {
    const int box = boxes.boxAtDisplayOrder(order);
    if (box >= 0)
      addChildNodeOfMsgBox(boxes.getBoxStrWithBox(box), order, box, only);
  }
}

Node *SmsSource::addSimFolder(const SmsBoxTables &boxes) {
  Node *sim = addChildNodeOfSavePosition(kSimName, 1, AT_SIM, true);
  if (!sim)
    return nullptr;
  addMsgBoxNodes(boxes, sim);
  reload();
  return sim;
}

bool SmsSource::removeSimFolder() {
  auto &children = root_->children();
  const auto it = std::find_if(children.begin(), children.end(), [](const std::unique_ptr<Node> &c) {
    return c->positionNameInParentNode() == kSimName;
  });
  if (it == children.end())
    return false;
  if (selectedNode_ && (selectedNode_ == it->get() || selectedNode_->parent_Node() == it->get()))
    selectedNode_ = nullptr;
  children.erase(it);
  reload();
  return true;
}

Node *SmsSource::getNodeofSavePosByPositonName(const QString &name) const {
  if (name.isNull())
    return nullptr;
  for (const std::unique_ptr<Node> &folder : root_->children())
    if (folder->positionNameInParentNode() == name)
      return folder.get();
  return nullptr;
}

Node *SmsSource::getNodeOfBoxByPositonNameAndSavePos(const QString &positionName, const QString &boxName) const {
  Node *folder = getNodeofSavePosByPositonName(positionName);
  if (!folder || boxName.isNull())
    return nullptr;
  for (const std::unique_ptr<Node> &box : folder->children())
    if (box->positionNameInParentNode() == boxName)
      return box.get();
  return nullptr;
}

void SmsSource::selectNode(const Node *node) {
  if (outlineView_ && node) {
    outlineView_->setCurrentIndex(model_->indexOf(node));
    return;
  }
  selectedNode_ = node;
  if (!node || !nodeSelected)
    return;
  const Node *parent = node->parent_Node();
  if (parent && parent != root_.get())
    nodeSelected(int(parent->positonInParentNode()), int(node->positonInParentNode()));
  else
    nodeSelected(int(node->positonInParentNode()), -1);
}

void SmsSource::selectionChanged() {
  const Node *node = outlineView_ ? model_->nodeOf(outlineView_->currentIndex()) : nullptr;
  if (!node || node == root_.get())
    return;
  selectedNode_ = node;
  if (!nodeSelected)
    return;
  const Node *parent = node->parent_Node();
  if (parent && parent != root_.get())
    nodeSelected(int(parent->positonInParentNode()), int(node->positonInParentNode()));
  else
    nodeSelected(int(node->positonInParentNode()), -1);
}

void SmsSource::reload() {
  model_->reloadData();
  if (outlineView_)
    outlineView_->expandAll();
}

void SmsSource::reloadTitles() {
  model_->reloadValues();
}
