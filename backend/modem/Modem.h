#pragma once

#include "UIMsg.h"

#include <QObject>
#include <QVariantMap>

// What the backend server needs of a modem: it hands over each package the program sends and
// forwards whatever the modem pushes. The simulated modem implements it; a driver for a real
// device would too.
class Modem : public QObject {
  Q_OBJECT
public:
  using QObject::QObject;

  // The program appeared on the bus (or was already there when the backend started).
  virtual void programAppeared() = 0;
  virtual void handle(const UIMsg &request) = 0;

signals:
  void packageOut(const UIMsg &package);
};
