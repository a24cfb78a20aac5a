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
  // Swaps the SIM for the one of a scenario in the bundle ("sim-pin", "no-sim", ...) or of a
  // scenario file given by path; false when there is no such scenario.
  Q_SCRIPTABLE bool SetSim(const QString &scenario);
  // Replaces the whole scenario and replays the device's start.
  Q_SCRIPTABLE bool LoadScenario(const QString &scenario);
  // "Ready", "PIN", "PUK", "Absent" or "Invalid", then the PIN and PUK tries left.
  Q_SCRIPTABLE QString SimState(int &pinTries, int &pukTries);

  // ---- signal and device ----

  // ---- end ----

  // (separator)

  // ---- registration, network and roaming ----
  // Each pushes what a registered device reports after such a change, for example
  //   gdbus call --session --dest org.qel.vArivevorer --object-path /Simulator
  //         --method org.qel.vArivevorer.Simulator.SetNetwork "Abroad" "262" "01" "HSDPA"
  // The registered domains: "CS_PS", "CS_ONLY", "PS_ONLY", or anything else for no service.
  Q_SCRIPTABLE void SetRegistration(const QString &domain);
  // Operator name, MCC, MNC and access technology ("GSM", "UMTS", "HSDPA", ...) of the serving
  // network; an empty text keeps that part.
  Q_SCRIPTABLE void SetNetwork(const QString &operatorName, const QString &mcc, const QString &mnc,
                               const QString &technology);
  Q_SCRIPTABLE void SetRoaming(bool roaming);
  // Location area and cell identity, hexadecimal texts.
  Q_SCRIPTABLE void SetCell(const QString &lac, const QString &cellId);
  // ---- end ----

private:
  SimulatedModem *modem_;
  BackendServer *server_;
};
