#pragma once

class QObject;

// What the other subsystems call on the voice calls and SIM services (calls, call log, USSD,
// SIM toolkit, GPS). The call controller answers for the whole subsystem; an operation of a
// service whose controller is absent does nothing and answers false.
class CallsNeighbour {
public:
  virtual ~CallsNeighbour() = default;

  // ---- voice calls ----
  // 0 while no call runs; otherwise the stage codes ORed over the callers (1 connected, 2 held,
  // 3 held plus active, 4 dialling, 16 incoming, 32 waiting, 64 answering).
  virtual int callStage() const = 0;
  // True while the modem is registered on a 2G network (a call then blocks a data connection).
  virtual bool is2GNetRegisted() const = 0;
  // The main window's call menu: accept (answers or dials, as the Dial button) and reject
  // (hangs up, as the Hang-up button). `sender` is the menu item.
  virtual void selectDialCallStyle(QObject *sender) = 0;
  virtual void hangClicked(QObject *sender) = 0;

  // ---- USSD ----
  // Whether the USSD side lets the operator toolbar's connect button connect.
  virtual bool getConnectBtnEnableRadirer() const = 0;

  // ---- SIM toolkit ----
  // The toolkit's Exit and its menu's item `index`, as the toolkit page's buttons do them (the
  // settings window's roaming-IMSI choice drives the SIM's menu this way).
  virtual void toolkitExitClicked() = 0;
  virtual void toolkitSelectClicked(int index) = 0;
};
