#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QStringList>

class Node;
class QTreeView;

// An outline view's data source over a Node tree: the invisible root's children are the top
// level; the column with the identifier "Attribute" shows a node's name, every other column its
// value. Nothing is editable. The tree belongs to the caller.
class NodeOutlineModel : public QAbstractItemModel {
  Q_OBJECT
public:
  NodeOutlineModel(const Node *root, QStringList columnIdentifiers, QObject *parent = nullptr);

  // After the tree's shape changed.
  void reloadData();
  // After names or values changed: the rows show them again.
  void reloadValues();

  // The node of an index; the root for an invalid index.
  const Node *nodeOf(const QModelIndex &index) const;
  QModelIndex indexOf(const Node *node, int column = 0) const;
  QString columnIdentifier(int column) const { return columns_.value(column); }

  QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
  QModelIndex parent(const QModelIndex &child) const override;
  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  bool hasChildren(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

  // Shows the outline fully expanded and keeps it so: no item may be collapsed.
  static void keepExpanded(QTreeView *view);

private:
  void indexParents(const Node *node);
  void emitChanged(const QModelIndex &parent);

  const Node *root_;
  QStringList columns_;
  QHash<const Node *, const Node *> parents_; // children do not always know their parent
};
