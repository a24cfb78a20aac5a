#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

class SimulatedModem;
struct UIMsg;

// The simulated modem's data session: no interface, route or PPP daemon, only the packages a
// device exchanges while it connects, carries data and disconnects.
//
// Dial-up: 258/66 walks the PPP states 1, 2, 4, 5, 7, 8 (one step every "StepMs"); the program
// polls them with 258/68 (answered in the old 36-byte or the new 164-byte layout) and 258/69
// (the address as u32); 258/67 walks 9, 10, 0. A failing APN goes 1, 2, 4, 5, 0.
// NDIS: 258/70 pushes 258/72 state 2 then 1 (3 when the APN fails) and a 156-byte 258/74 every
// second; 258/71 pushes 0; 258/73 answers result 0 while connected.
// PS domain: 258/77 answers 258/65, result 0 only while the PS domain is registered.
// Frequency lock: 257/62 sets it, 257/63 answers 257/88 with it.
// A lost PS registration, an unplug or DropData takes the link down.
//
// Scenario keys, all optional, in a "Data" dictionary:
//   "StepMs"      int     the time between two connect steps (200)
//   "NewDial"     bool    the 164-byte status layout (false: the 36-byte one)
//   "UpRate", "DownRate"  int  bytes per second while connected (2000, 8000)
//   "Address"     string  the address the network gives ("10.64.1.23")
//   "Outcomes"    dict    APN -> "connect", "fail" or "account" (connect only with the account
//                         of "Accounts"); unlisted APNs connect
//   "Accounts"    dict    APN -> {"User": string, "Password": string}
//   "FreqLock"    int     the frequency lock state (0)
class DataSession : public QObject {
  Q_OBJECT
public:
  enum class Road { None, DialUp, Ndis };

  static DataSession *install(SimulatedModem &modem);
  static DataSession *of(SimulatedModem &modem);

  // "idle", "connecting", "connected" or "disconnecting".
  QString state() const;
  QString apn() const { return apn_; }
  quint64 sent() const { return quint64(sent_); }
  quint64 received() const { return quint64(received_); }
  QString address() const;
  int pppState() const { return pppState_; }

  // Control: these edit the modem's scenario, so Reset and LoadScenario undo them.
  void setRates(uint up, uint down);
  // Jumps the running session's counters (both roads), so limit checks need not wait for the
  // rates; false when no link is up.
  bool setCounters(quint64 sent, quint64 received);
  void setOutcome(const QString &apn, const QString &outcome);
  // "old" or "new"; false for anything else.
  bool setStatusLayout(const QString &layout);
  // The network takes the link down.
  void drop();

private:
  explicit DataSession(SimulatedModem &modem);
  void install();
  QVariantMap data() const;
  bool psRegistered() const;
  bool connectAllowed() const;
  void startDialUp();
  void stopDialUp();
  void startNdis();
  void stopNdis();
  void step();
  void tick();
  void goDown();
  void sendNdisState(uint state);
  void sendDialStatus(const UIMsg &request);
  int stepMs() const;

  SimulatedModem &modem_;
  Road road_ = Road::None;
  // The states still to walk, one per step.
  QList<int> steps_;
  int pppState_ = 0;
  bool connected_ = false;
  bool disconnecting_ = false;
  QString apn_;
  double sent_ = 0, received_ = 0;
  QElapsedTimer connectedSince_;
  QElapsedTimer lastTick_;
  QTimer stepTimer_;
  QTimer tickTimer_;
  int ticks_ = 0;
};
