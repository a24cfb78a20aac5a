#pragma once

#include "Modem.h"
#include "PackageLink.h"

#include <QByteArrayList>
#include <QDBusServiceWatcher>
#include <QObject>

// Puts a modem on the bus: packages from the program go to the modem, the modem's packages go
// to the program as calls that are not waited for, so neither side ever blocks the other.
class BackendServer : public QObject {
  Q_OBJECT
public:
  BackendServer(Modem *modem, QString ownName, QString programName, QObject *parent = nullptr);

  bool start();
  // Sends raw bytes to the program as a package, malformed or not (tests use this).
  bool inject(const QByteArray &bytes);
  const QByteArrayList &received() const { return received_; }
  void clearReceived() { received_.clear(); }
  void setExitWhenProgramLeaves(bool on) { exitWhenProgramLeaves_ = on; }

signals:
  void programLeft();

private:
  void onPackage(const QByteArray &bytes);
  void onProgramRegistered();
  void onProgramUnregistered();

  Modem *modem_;
  PackageLink link_;
  QDBusServiceWatcher watcher_;
  QByteArrayList received_;
  bool programSeen_ = false;
  bool exitWhenProgramLeaves_ = true;
};
