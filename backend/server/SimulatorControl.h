#pragma once

#include <QByteArrayList>
#include <QDBusContext>
#include <QObject>

class BackendServer;
class SimulatedModem;

// The control interface tests and demos use to steer the simulated modem (gdbus call ...).
class SimulatorControl : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qel.vArivevorer.Simulator")
public:
  SimulatorControl(SimulatedModem *modem, BackendServer *server, QObject *parent = nullptr);
  bool registerOn(class QDBusConnection &connection);

public slots:
  Q_SCRIPTABLE void Plug();
  Q_SCRIPTABLE void Unplug();
  Q_SCRIPTABLE bool Inject(const QByteArray &bytes);
  Q_SCRIPTABLE QByteArrayList Received();
  Q_SCRIPTABLE void Reset();

private:
  SimulatedModem *modem_;
  BackendServer *server_;
};
