#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class SimulatedModem;

// The modem's device lock: a four-digit code that, when enabled, locks the device each time it
// starts until the program sends the code.
//
// Pushed once the device has announced itself: (0, 27) result 0, u32 1 when the lock is on
// (0 otherwise). Requests (type 1):
//   5/28 unlock, 4 ASCII digits: answered (0, 165) under module 1 and (512, 165) under module 3
//        (the settings window); result 0 right code, 0xFF wrong
//   5/29 lock on/off: u32 new state, 8-byte code field; answered (8, 27), result 0 and the state
//        changed for the right code, 0xFF otherwise
//   5/31 change code: old code (5 bytes), new code (5 bytes); answered (8, 31), result 0, or 255
//        for a wrong old code or a new code that is not four digits
// Answers carry the module of the request and type 1.
//
// Scenario key (optional): "DeviceLock" dictionary {"Enabled" bool (NO), "Code" string ("0000")}.
// Run-time changes last until the scenario is replaced.
class DeviceLock : public QObject {
  Q_OBJECT
public:
  static DeviceLock *install(SimulatedModem &modem);
  static DeviceLock *of(SimulatedModem &modem);

  bool enabled();
  QString code();
  // Sets the lock and its code (an empty code keeps the old one) and pushes the lock status.
  void set(bool enabled, const QString &code);

private:
  explicit DeviceLock(SimulatedModem &modem);
  void install();
  void followScenario();
  void pushStatus();

  SimulatedModem &modem_;
  QVariantMap baseScenario_;
  bool loaded_ = false;
  bool enabled_ = false;
  QString code_;
};
