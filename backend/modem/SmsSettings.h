#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class SimulatedModem;

// The modem's message settings that the settings window sets: the service centre number, the
// store position of arriving messages (the window's codes: 0 default, 1 SIM, 2 PC, 3 device,
// 4 memory card) and the routing (0 to 3).
//
// Requests and answers (module 5 for the centre and the national table, 3 for the others;
// answers type 1):
//   768/96  set the centre: 32 bytes of UTF-8, zero-filled. A number with no digit is refused
//           (result 0xFF, no data); otherwise it is stored and answered with its 32 bytes
//   768/110 query the centre: answered as 768/96 with the stored number
//   768/97  set the store position: u32 code, answered with the code
//   768/107 set the routing: u32 value; 0..3 is stored and answered 768/109 result 0, another
//           value 768/109 result 0xFF
//   768/111 the national table changed: recorded (count in SmsSettings())
// Once the SIM is ready it pushes the centre (768/96) and the routing read (768/108, u32).
//
// Scenario key (optional): "SmsCenter" dictionary {"Number" string ("+491720000000"),
// "Routing" integer (0)}. Run-time changes last until the scenario is replaced.
class SmsSettings : public QObject {
  Q_OBJECT
public:
  static SmsSettings *install(SimulatedModem &modem);
  static SmsSettings *of(SimulatedModem &modem);

  // {"Centre", "Position" (-1 before any request), "Routing", "NationalTableNotices"}.
  QVariantMap state();

private:
  explicit SmsSettings(SimulatedModem &modem);
  void install();
  void followScenario();
  void pushCentre();

  SimulatedModem &modem_;
  QVariantMap baseScenario_;
  bool loaded_ = false;
  QString centre_;
  int position_ = -1;
  int routing_ = 0;
  int nationalNotices_ = 0;
};
