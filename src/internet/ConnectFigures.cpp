#include "ConnectFigures.h"

#include "ConfigService.h"
#include "RecordFormats.h"

namespace ConnectFigures {

namespace {
bool internetSwitch(const char *key) {
  return ConfigService::readValue(QStringLiteral("Internet"), QLatin1String(key)).toBool();
}
} // namespace

Units Units::fromSettings() {
  Units u;
  u.dataWithMB = internetSwitch("DataWithMB");
  u.dataInBits = ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("dataType")).toString() ==
                 QLatin1String("Kb");
  u.speedKBit = internetSwitch("SpeedUnitKBit");
  u.rateKbps = ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("ConnectRateUnit")).toString() ==
               QLatin1String("Kbps");
  u.speedOnlyKBit = internetSwitch("SpeedUnitOnlyKBit");
  u.quarterHours =
      ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("connectTimeincreaseState")).toBool();
  u.initDataWithKB = internetSwitch("InitDataWithKB");
  return u;
}

QString formatData(double bytes, const Units &units) {
  if (units.dataWithMB)
    return wordedNumber(QStringLiteral("%0.2f"), {bytes / 1048576});
  if (units.dataInBits)
    return formatTransferData(bytes * 8,
                              {QStringLiteral("%0.2f Kb"), QStringLiteral("%0.2f Mb"), QStringLiteral("%0.2f Gb")});
  return formatTransferData(bytes,
                            {QStringLiteral("%0.2f KB"), QStringLiteral("%0.2f MB"), QStringLiteral("%0.2f GB")});
}

QString formatSpeed(double bytesPerSecond, const Units &units) {
  if (units.speedKBit || units.rateKbps)
    return formatTransferData(
        bytesPerSecond * 8, {QStringLiteral("%0.2f Kb/s"), QStringLiteral("%0.2f Mb/s"), QStringLiteral("%0.2f Gb/s")});
  if (units.speedOnlyKBit)
    return wordedNumber(QStringLiteral("%0.2f Kbit/s"), {bytesPerSecond * 8 / 1024});
  return formatTransferData(bytesPerSecond,
                            {QStringLiteral("%0.2f KB/s"), QStringLiteral("%0.2f MB/s"), QStringLiteral("%0.2f GB/s")});
}

qint64 countedConnectTime(qint64 seconds, bool quarterHours) {
  if (seconds < 0)
    seconds = 0;
  return quarterHours ? (seconds / 900 + 1) * 900 : seconds;
}

QString kbpsText(double bytesPerSecond) {
  return QString::asprintf("%0.2f Kbps", bytesPerSecond * 8 / 1024);
}

double graphPoint(double bytesPerSecond, const Units &units) {
  return (units.speedKBit || units.speedOnlyKBit) ? bytesPerSecond / 128 : bytesPerSecond / 1024;
}

QString recordKB(double bytes) {
  return wordedNumber(QStringLiteral("%0.2f"), {bytes / 1024});
}

QString idleDataText(const Units &units) {
  return units.initDataWithKB ? QStringLiteral("0.00 KB") : QStringLiteral("_____");
}

QString idleSpeedText(const Units &units) {
  return units.initDataWithKB ? QStringLiteral("0.00 KBPS") : QStringLiteral("_____");
}

QVariantMap statistics(qint64 countedSeconds, double sent, double received, double sendSpeed, double receiveSpeed,
                       const Units &units) {
  return {{QStringLiteral("ConnectTime"), durationText(countedSeconds)},
          {QStringLiteral("UploadData"), formatData(sent, units)},
          {QStringLiteral("DowloadData"), formatData(received, units)},
          {QStringLiteral("UploadDataUnitWithKB"), QString::asprintf("%f", sent / 1024)},
          {QStringLiteral("DowloadDataUnitWithKB"), QString::asprintf("%f", received / 1024)},
          {QStringLiteral("UploadSpeed"), formatSpeed(sendSpeed, units)},
          {QStringLiteral("DowloadSpeed"), formatSpeed(receiveSpeed, units)}};
}

bool SpeedMeter::report(double sent, double received) {
  if (reports_ <= 8) {
    ++reports_;
    return false;
  }
  reports_ = 0;
  sendSpeed_ = std::max(0.0, sent - lastSent_);
  receiveSpeed_ = std::max(0.0, received - lastReceived_);
  lastSent_ = sent;
  lastReceived_ = received;
  return true;
}

} // namespace ConnectFigures
