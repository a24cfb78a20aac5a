#include "WiFiSpot.h"

#include "WirelessAdapter.h"

#include <QtEndian>

namespace {
quint16 u16(const QByteArray &b, int offset) {
  return qFromLittleEndian<quint16>(b.constData() + offset);
}
} // namespace

WiFiSpot::WiFiSpot(const QByteArray &bytes) {
  QByteArray record = bytes.left(WirelessScanRecord::kSize);
  record.append(QByteArray(WirelessScanRecord::kSize - record.size(), '\0'));
  channel_ = u16(record, 0);
  noise_ = minNoise_ = maxNoise_ = u16(record, 2);
  signal_ = minSignal_ = maxSignal_ = u16(record, 4);
  macAddress_ = QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", uchar(record[6]), uchar(record[7]), uchar(record[8]),
                                  uchar(record[9]), uchar(record[10]), uchar(record[11]));
  beaconInterval_ = u16(record, 12);
  flags_ = u16(record, 14);
  // The name is the field up to its first NUL, never more than its 32 bytes.
  QByteArray name = record.mid(18, 32);
  const int nul = name.indexOf('\0');
  if (nul >= 0)
    name.truncate(nul);
  name_ = QString::fromUtf8(name);
  lastSeen_ = QDateTime::currentDateTime();
}

void WiFiSpot::_setSignal(int signal) {
  signal_ = signal;
  minSignal_ = std::min(minSignal_, signal);
  maxSignal_ = std::max(maxSignal_, signal);
}

void WiFiSpot::_setNoise(int noise) {
  noise_ = noise;
  minNoise_ = std::min(minNoise_, noise);
  maxNoise_ = std::max(maxNoise_, noise);
}

QString WiFiSpot::descriptionStat() const {
  return QStringLiteral("[NETWORK]: %1\t\tMAC: %2 \t [Signal]: %3 [Min]: %4 [Max]: %5 [Avg]: %6 [Noise]: %7")
      .arg(name_, macAddress_)
      .arg(signal_)
      .arg(minSignal_)
      .arg(maxSignal_)
      .arg(averageSignal())
      .arg(noise_);
}
