#pragma once

#include <QString>
#include <QVariantMap>

// The figures of a running connection and their texts, apart from any window so the units and
// their edges can be checked as tables.
namespace ConnectFigures {

// The unit settings the figures follow (Internet/... and Record/... keys).
struct Units {
  bool dataWithMB = false;     // Internet/"DataWithMB": megabytes, no unit
  bool dataInBits = false;     // Internet/"dataType" "Kb"
  bool speedKBit = false;      // Internet/"SpeedUnitKBit"
  bool rateKbps = false;       // Record/"ConnectRateUnit" "Kbps"
  bool speedOnlyKBit = false;  // Internet/"SpeedUnitOnlyKBit": always Kbit/s
  bool quarterHours = false;   // Record/"connectTimeincreaseState": time counted by 15 minutes
  bool initDataWithKB = false; // Internet/"InitDataWithKB": idle fields read "0.00 KB"
  static Units fromSettings();
};

QString formatData(double bytes, const Units &units);
QString formatSpeed(double bytesPerSecond, const Units &units);
// The time a record and the fields count: with quarter hours, the next whole quarter hour above
// (0 counts 900, 900 counts 1800).
qint64 countedConnectTime(qint64 seconds, bool quarterHours);
// "%0.2f Kbps" of a rate in bytes per second, as "SendSpeedData" carries it.
QString kbpsText(double bytesPerSecond);
// The speed graph's point: kilobits with either Kbit unit, else kilobytes.
double graphPoint(double bytesPerSecond, const Units &units);
// The KB text a record keeps for a count of bytes ("%0.2f").
QString recordKB(double bytes);
// The idle text of the data and speed fields.
QString idleDataText(const Units &units);
QString idleSpeedText(const Units &units);

// The userInfo of "ConnectStatistics".
QVariantMap statistics(qint64 countedSeconds, double sent, double received, double sendSpeed, double receiveSpeed,
                       const Units &units);

// Speeds from the dial-up counters: one computation every tenth report, as a difference of the
// counts since the previous one (never below 0).
class SpeedMeter {
public:
  // True when this report computed new speeds.
  bool report(double sent, double received);
  double sendSpeed() const { return sendSpeed_; }
  double receiveSpeed() const { return receiveSpeed_; }
  void reset() { *this = SpeedMeter(); }

private:
  int reports_ = 0;
  double lastSent_ = 0, lastReceived_ = 0;
  double sendSpeed_ = 0, receiveSpeed_ = 0;
};

} // namespace ConnectFigures
