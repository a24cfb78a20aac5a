#include "NodeOutlineModel.h"

#include "Node.h"

#include <QHeaderView>
#include <QTreeView>

NodeOutlineModel::NodeOutlineModel(const Node *root, QStringList columnIdentifiers, QObject *parent)
    : QAbstractItemModel(parent), root_(root), columns_(std::move(columnIdentifiers)) {
  indexParents(root_);
}

void NodeOutlineModel::indexParents(const Node *node) {
  if (!node)
    return;
  for (const auto &child : node->children()) {
    parents_.insert(child.get(), node);
    indexParents(child.get());
  }
}

void NodeOutlineModel::reloadData() {
  beginResetModel();
  parents_.clear();
  indexParents(root_);
  endResetModel();
}

void NodeOutlineModel::emitChanged(const QModelIndex &parent) {
  const int rows = rowCount(parent);
  if (rows == 0)
    return;
  emit dataChanged(index(0, 0, parent), index(rows - 1, columnCount() - 1, parent), {Qt::DisplayRole});
  for (int r = 0; r < rows; ++r)
    emitChanged(index(r, 0, parent));
}

void NodeOutlineModel::reloadValues() {
  emitChanged({});
}

const Node *NodeOutlineModel::nodeOf(const QModelIndex &index) const {
  return index.isValid() ? static_cast<const Node *>(index.internalPointer()) : root_;
}

QModelIndex NodeOutlineModel::indexOf(const Node *node, int column) const {
  if (!node || node == root_)
    return {};
  const Node *parent = parents_.value(node);
  if (!parent)
    return {};
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->childAt(i) == node)
      return createIndex(i, column, const_cast<Node *>(node));
  return {};
}

QModelIndex NodeOutlineModel::index(int row, int column, const QModelIndex &parent) const {
  const Node *node = nodeOf(parent);
  if (!node || column < 0 || column >= columnCount())
    return {};
  Node *child = node->childAt(row);
  return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex NodeOutlineModel::parent(const QModelIndex &child) const {
  if (!child.isValid())
    return {};
  return indexOf(parents_.value(nodeOf(child)));
}

int NodeOutlineModel::rowCount(const QModelIndex &parent) const {
  if (parent.isValid() && parent.column() != 0)
    return 0;
  const Node *node = nodeOf(parent);
  return node ? node->childCount() : 0;
}

int NodeOutlineModel::columnCount(const QModelIndex &) const {
  return int(columns_.size());
}

bool NodeOutlineModel::hasChildren(const QModelIndex &parent) const {
  return !parent.isValid() || rowCount(parent) > 0;
}

QVariant NodeOutlineModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole)
    return {};
  const Node *node = nodeOf(index);
  return columns_.value(index.column()) == QLatin1String("Attribute") ? node->name() : node->value();
}

QVariant NodeOutlineModel::headerData(int, Qt::Orientation, int) const {
  return {};
}

Qt::ItemFlags NodeOutlineModel::flags(const QModelIndex &index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void NodeOutlineModel::keepExpanded(QTreeView *view) {
  if (!view)
    return;
  view->setItemsExpandable(false);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->header()->setSectionsMovable(false);
  view->expandAll();
  QObject::connect(view, &QTreeView::collapsed, view, [view](const QModelIndex &index) { view->expand(index); });
  if (view->model())
    QObject::connect(view->model(), &QAbstractItemModel::modelReset, view, [view] { view->expandAll(); });
}
