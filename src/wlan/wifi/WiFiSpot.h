#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// One network seen by a scan, built from its 50-byte scan record.
class WiFiSpot {
public:
  // A record shorter than 50 bytes is read as if zero-filled.
  explicit WiFiSpot(const QByteArray &record);
  static WiFiSpot initWithWirelessNetwork(const QByteArray &record) { return WiFiSpot(record); }

  QString getNetworkName() const { return name_; }
  int signalStrength() const { return signal_; }
  int maxSignal() const { return maxSignal_; }
  int minSignal() const { return minSignal_; }
  int maxNoise() const { return maxNoise_; }
  int minNoise() const { return minNoise_; }
  int noiseLevel() const { return noise_; }
  int usedChannel() const { return channel_; }
  int beaconInterval() const { return beaconInterval_; }
  QString macAddress() const { return macAddress_; }
  int flags() const { return flags_; }
  QDateTime lastSeenDate() const { return lastSeen_; }
  QStringList macAddressAsBlocks() const { return macAddress_.split(QLatin1Char(':')); }
  bool isWAPManaged() const { return flags_ & 0x0001; }
  bool isWEPEncrypted() const { return flags_ & 0x0010; }
  int averageSignal() const { return (maxSignal_ + minSignal_) / 2; }
  void _setSignal(int signal);
  void _setNoise(int noise);
  void updateLastSeenDate() { lastSeen_ = QDateTime::currentDateTime(); }
  QString descriptionStat() const;

private:
  int channel_ = 0, noise_ = 0, signal_ = 0, beaconInterval_ = 0, flags_ = 0;
  int minNoise_ = 0, maxNoise_ = 0, minSignal_ = 0, maxSignal_ = 0;
  QString macAddress_;
  QString name_;
  QDateTime lastSeen_;
};
