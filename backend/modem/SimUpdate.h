#pragma once

#include <QObject>

class SimulatedModem;

// The network updating the SIM over the air: the modem pushes (7, 35), type 1, result 0, no
// data. On request (the simulator's SimUpdate) or, with the scenario key "SimUpdateAtStart",
// right after the SIM is ready.
class SimUpdate : public QObject {
  Q_OBJECT
public:
  static SimUpdate *install(SimulatedModem &modem);
  static SimUpdate *of(SimulatedModem &modem);

  // False while no device is plugged in.
  bool push();

private:
  explicit SimUpdate(SimulatedModem &modem);
  SimulatedModem &modem_;
};
