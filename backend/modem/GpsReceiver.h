#pragma once

#include "GpsRecord.h"

#include <QObject>
#include <QTimer>

class SimulatedModem;
struct UIMsg;

// The simulated modem's GPS receiver (module 8, major 2048). Start (141) and the position
// request (143) are answered with type 1 (result 0xFF while failing or unplugged); once started
// the receiver reports 2048/144 (type 1) every second: "searching" for the first fixes, then
// "tracking" at the scenario's position. Stop (142) is answered and ends the reports.
//
// Scenario key "GPS" (optional): "Latitude", "Longitude", "Altitude" (strings), "Velocity"
// (array of up to three strings), "SearchFixes" (reports before the first fix, default 2).
class GpsReceiver : public QObject {
  Q_OBJECT
public:
  static GpsReceiver *install(SimulatedModem &modem);
  static GpsReceiver *of(SimulatedModem &modem);

  // The position reported while tracking, in place of the scenario's.
  void setPosition(const GpsRecord::Position &position);
  // While on, start and position requests fail.
  void setFailing(bool on) { failing_ = on; }
  bool isRunning() const { return timer_.isActive(); }
  // Report interval (tests shorten it).
  void setIntervalMs(int ms) { timer_.setInterval(ms); }

private:
  explicit GpsReceiver(SimulatedModem &modem);
  void onRequest(const UIMsg &msg);
  void report();
  GpsRecord::Position scenarioPosition() const;

  SimulatedModem &modem_;
  QTimer timer_;
  int reports_ = 0;
  bool failing_ = false;
  bool hasPosition_ = false;
  GpsRecord::Position position_;
};
