#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

// One node of the outline trees (statistics, transfer, message folders, contact groups): a name,
// a value, an image and the children in display order. A node owns its children; the parent
// link never owns (only addChildWithNameAndImage sets it), so a tree is freed from its root.
class Node {
public:
  Node() = default;
  explicit Node(const QString &name) : name_(name) {}
  Node(const Node &) = delete;
  Node &operator=(const Node &) = delete;

  // A null text stands for "no name" / "no value".
  void setNodeName(const QString &name);
  const QString &name() const { return name_; }
  void setValue(const QString &value);
  const QString &value() const { return value_; }
  void setImage(const QImage &image) { image_ = image; }
  const QImage &image() const { return image_; }

  // Appends the node and takes it; a null node is ignored. The child's parent link is not set.
  Node *addChild(std::unique_ptr<Node> child);
  // Appends a new node with the name and the value when both are given (not null); its parent
  // link is not set. Answers the new node or null.
  Node *addChildWithName(const QString &name, const QString &value);
  // Appends a new node with the name and the image of that name from the program's resources,
  // and links it to this node; nothing when either is null.
  Node *addChildWithNameAndImage(const QString &name, const QString &imageName);

  // The live children, in display order.
  std::vector<std::unique_ptr<Node>> &children() { return children_; }
  const std::vector<std::unique_ptr<Node>> &children() const { return children_; }
  int childCount() const { return int(children_.size()); }
  Node *childAt(int index) const;

  void setParent_Node(Node *parent) { parent_ = parent; }
  Node *parent_Node() const { return parent_; }
  void setOrderInParentNode(quint32 order) { orderInParentNode_ = order; }
  quint32 orderInParentNode() const { return orderInParentNode_; }
  void setPositionNameInParentNode(const QString &name) { positionNameInParentNode_ = name; }
  const QString &positionNameInParentNode() const { return positionNameInParentNode_; }
  void setPositonInParentNode(quint32 position) { positonInParentNode_ = position; }
  quint32 positonInParentNode() const { return positonInParentNode_; }

private:
  QString name_;
  QString value_;
  QImage image_;
  std::vector<std::unique_ptr<Node>> children_;
  Node *parent_ = nullptr;
  quint32 orderInParentNode_ = 0;
  QString positionNameInParentNode_;
  quint32 positonInParentNode_ = 0;
};
