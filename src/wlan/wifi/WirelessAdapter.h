#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The calls WiFiCore makes on the computer's own Wi-Fi adapter, with the records and result
// codes those calls exchange (0 success). NetworkManagerAdapter answers them over
// NetworkManager's D-Bus interface; tests may put a fake in its place.
namespace WirelessError {
inline constexpr quint32 kParameters = 0x88001001;
inline constexpr quint32 kIOService = 0x88001002;
inline constexpr quint32 kInternal = 0x88001003;
inline constexpr quint32 kUnknown = 0x88001004;
inline constexpr quint32 kOutOfMemory = 0x88001005;
inline constexpr quint32 kNoPower = 0x8800100B;
} // namespace WirelessError

// One scanned network, 50 bytes, 16-bit little-endian fields: channel, noise, signal, the six
// MAC bytes, beacon interval, flags (bit 0 managed, bit 4 WEP), name length, 32 name bytes.
namespace WirelessScanRecord {
inline constexpr int kSize = 50;
inline constexpr quint16 kFlagManaged = 0x0001;
inline constexpr quint16 kFlagWEP = 0x0010;
} // namespace WirelessScanRecord

// The current connection, 60 bytes, 16-bit little-endian signed fields: 0 link quality, 2
// communication quality, 4 signal, 6 noise, 8 port state, 10 client mode (1 BSS, 4 IBSS), 12
// "U7", 14 access point state (1 on); 18..23 the MAC bytes; 24 the network name, NUL-terminated
// within 32 bytes.
namespace WirelessInfoRecord {
inline constexpr int kSize = 60;
inline constexpr int kNameOffset = 24;
inline constexpr int kNameWidth = 32;
} // namespace WirelessInfoRecord

class WirelessAdapter {
public:
  virtual ~WirelessAdapter() = default;
  virtual quint32 attach() = 0;
  virtual bool isAvailable() = 0;
  virtual quint32 setEnabled(int value) = 0;
  virtual quint32 setPower(bool on) = 0;
  virtual quint32 getPower(quint8 *on) = 0;
  virtual quint32 getInfo(QByteArray *record) = 0;
  // Scan records of the networks in range go into `first`; `second` is left empty.
  virtual quint32 scanSplit(QList<QByteArray> *first, QList<QByteArray> *second, int merge) = 0;
  virtual quint32 getBestChannel(quint16 *channel) = 0;
  // Names and passwords are UTF-8 bytes.
  virtual quint32 join(const QByteArray &name) = 0;
  virtual quint32 joinWEP(const QByteArray &name, const QByteArray &password) = 0;
  virtual quint32 makeIBSS(const QByteArray &name, const QByteArray &password, int channel) = 0;
  // Drops the adapter's association.
  virtual quint32 disassociate() = 0;
};
