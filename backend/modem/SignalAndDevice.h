#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

class SimulatedModem;

// The simulated modem's signal reports and its device identity: the device mode (3/5), the
// network search and preference modes (513/76, 513/81), the hardware, firmware and internal
// firmware versions (7/49, 7/45, 7/46), the model (7/50), the own number (7/48), the serial
// number (7/51), and the signal report of the configured family with the air-interface block
// (7/57). It answers a request for each. When a card is found it pushes the device mode and the
// identity texts; once the SIM is ready, the own number, the modes, the signal report and the
// air-interface block.
//
// Signal families and their reports (32-bit little-endian words):
//   "CSQ"        7/36  word 0 CSQ (0..31, 99 no measurement); WCDMA and GSM devices
//   "CDMA"       7/36  word 0 the 1X value, word 2 the EVDO value; CDMA devices
//   "CDMAMarked" 7/36  trailer byte 3 is '1'; word 0 1X, word 1 EVDO, word 2 a third value
//   "Extended"   7/56  word 0 RSSI magnitude, word 1 Ec/Io magnitude in half dB, word 2 RSCP
//                      magnitude in half dBm (3G)
//   "Extended2G" 7/56  as "Extended" with words 1 and 2 at 1000 (not available)
//   "Icera"      7/55  word 0 mode 2 (3G), word 1 RSSI dBm, word 2 RSCP dBm, word 3 Ec/Io dB, signed
//   "Icera2G"    7/55  as "Icera" with mode 1 (2G)
// A level (0 to 5) is sent as raw values that the program's tables turn back into that level.
//
// Scenario keys (all optional):
//   "Signal" dictionary:
//     "Family"     string  one of the families above ("CSQ")
//     "Level"      integer 0..5 (4)
//     "Values"     array   raw words sent instead of the level's values
//     "AirInfo"    dict    "RAC", "Channel", "RXQual", "RXLev" integers, "Frequency" string;
//                          absent: no air-interface block is pushed (a request answers one
//                          with result 0xFF)
//   "Device" dictionary:
//     "Mode"                    integer device mode; 4, 5 and 6 are the CDMA family (3)
//     "HardwareVersion"         string  ("CH1SIMA")
//     "FirmwareVersion"         string  ("11.001.01.00.00")
//     "InternalFirmwareVersion" string  ("11.001.01.00.00.B01")
//     "Model"                   string  ("QEL-E100")
//     "SerialNumber"            string  ("SN0000000000001")
//     "OwnNumber"               string  own number; absent: the reply carries result 0xFF
//     "SearchMode", "SelectedMode", "PreferenceMode"  integers (0, 0, 2)
//
// Run-time changes (SetSignal and friends) last until the scenario is replaced or the SIM swapped.
class SignalAndDevice : public QObject {
  Q_OBJECT
public:
  // Installs the answers and pushes on `modem`; the instance lives as the modem's child.
  static SignalAndDevice *install(SimulatedModem &modem);
  // The instance installed on `modem`, null when none.
  static SignalAndDevice *of(SimulatedModem &modem);

  static QStringList families();
  // The raw words of a family's report for a level; empty for an unknown family or a level
  // outside 0..5.
  static QList<int> valuesForLevel(const QString &family, int level);

  // Changes the signal and pushes the new report. False (nothing sent) for a level outside
  // 0..5, an unknown family, or too few words for the family's layout.
  bool setLevel(int level);
  bool setFamily(const QString &family);
  bool setReport(const QString &family, const QList<int> &words);
  bool setDeviceMode(int mode);

  QString family() const;
  int level() const;

  void pushSignal();
  void pushDeviceIdentity();

private:
  explicit SignalAndDevice(SimulatedModem &modem);
  void install();
  // Forgets the run-time changes when the scenario they were made on is gone.
  void followScenario();
  QVariantMap signalDict() const;
  QVariantMap deviceDict() const;
  QString deviceText(const char *key, const char *fallback) const;
  void sendText(uint16_t major, uint16_t minor, const QString &text, int width);
  void pushAirInfo(bool answeringRequest);
  void pushModes();
  void pushDeviceMode();
  void pushOwnNumber();

  SimulatedModem &modem_;
  QVariantMap baseScenario_;
  QVariantMap signalOverride_;
  QVariantMap deviceOverride_;
};
