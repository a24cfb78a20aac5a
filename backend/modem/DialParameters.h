#pragma once

#include <QObject>
#include <QString>

class SimulatedModem;
struct UIMsg;

// The simulated modem's data-session settings: it reads every dial-parameter record (2, 257/61,
// 920 bytes) field by field, bounded by the package's data length, keeps the last one and
// answers 257/61 with type 1, result 0. Nothing is dialled yet.
class DialParameters : public QObject {
  Q_OBJECT
public:
  struct Record {
    QString apn, number, user, password, pdpAddress, preDns, altDns;
    QString ipv6Apn, ipv6PrefDns, ipv6AltDns;
    int connectType = 0, authMode = 0, pdpType = 0, pdpFlag = 0, disableAlert = 0, mtu = 0;
  };

  static DialParameters *install(SimulatedModem &modem);
  static DialParameters *of(SimulatedModem &modem);

  // The last record received; empty texts and zeros before any.
  const Record &last() const { return last_; }
  int received() const { return received_; }

  // Reads a record from a package; short data reads as zeros.
  static Record parse(const UIMsg &msg);

private:
  explicit DialParameters(SimulatedModem &modem);

  SimulatedModem &modem_;
  Record last_;
  int received_ = 0;
};
