#pragma once

#include <QObject>

// Launching the program again while it runs asks the running one to show its window again (the
// way a dock icon reopens a hidden window); the second process then ends.
class ReopenService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qel.ConnectionManager.Application")
public:
  static constexpr const char *kPath = "/Application";
  using QObject::QObject;

  // Registers the service on the program's own bus connection.
  bool registerOn(class QDBusConnection &connection);
  // Asks the instance owning `busName` to reopen; false when nobody answered.
  static bool askRunningInstance(const QString &busName);

public slots:
  Q_SCRIPTABLE void Reopen();
};
