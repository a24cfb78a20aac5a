#include "Node.h"

#include "Bundle.h"

void Node::setNodeName(const QString &name) {
  if (!name_.isNull() && name_ == name)
    return;
  name_ = name;
}

void Node::setValue(const QString &value) {
  if (!value_.isNull() && value_ == value)
    return;
  value_ = value;
}

Node *Node::addChild(std::unique_ptr<Node> child) {
  if (!child)
    return nullptr;
  children_.push_back(std::move(child));
  return children_.back().get();
}

Node *Node::addChildWithName(const QString &name, const QString &value) {
  if (name.isNull() || value.isNull())
    return nullptr;
  auto node = std::make_unique<Node>(name);
  node->setValue(value);
  return addChild(std::move(node));
}

Node *Node::addChildWithNameAndImage(const QString &name, const QString &imageName) {
  if (name.isNull() || imageName.isNull())
    return nullptr;
  auto node = std::make_unique<Node>(name);
  // Only a name inside the resources folder: never a path elsewhere.
  if (!imageName.contains(u'/')) {
    const QString path = Bundle::mainBundle().pathForResource(imageName);
    if (!path.isEmpty())
      node->setImage(QImage(path));
  }
  node->setParent_Node(this);
  return addChild(std::move(node));
}

Node *Node::childAt(int index) const {
  return index >= 0 && index < childCount() ? children_[size_t(index)].get() : nullptr;
}
