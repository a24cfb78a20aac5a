#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

// One registration of the skin manager: a control and the item key it was registered under.
// The control is watched, not owned: a destroyed control leaves a node whose controller() is null.
class UINode {
public:
  UINode() = default;
  UINode(QObject *controller, QString name) : controller_(controller), name_(std::move(name)) {}
  QObject *controller() const { return controller_; }
  void setController(QObject *controller) { controller_ = controller; }
  const QString &name() const { return name_; }
  void setName(const QString &name) { name_ = name; }

private:
  QPointer<QObject> controller_;
  QString name_;
};
