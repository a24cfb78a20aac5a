#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <cstdint>
#include <cstring>

// The data session's packages (module 2) and the status records they carry, little-endian.
// The program reads them and the simulated backend writes them, both through these helpers.
namespace DataSessionLayout {
inline constexpr int kModule = 2;
inline constexpr int kConfigMajor = 257, kDialMajor = 258;
// 257: the frequency lock kept while connected.
inline constexpr int kSetFreqLock = 62, kReadFreqLock = 63, kFreqLockResult = 88;
// 258: the dial-up and NDIS roads and the PS domain.
inline constexpr int kSetNetworkModeResult = 65, kDialConnect = 66, kDialDisconnect = 67, kDialStatus = 68,
                     kDialPppOption = 69, kNdisConnect = 70, kNdisDisconnect = 71, kNdisState = 72,
                     kNdisIsConnected = 73, kNdisTransfer = 74, kSetNetworkMode = 77;

// PPP states of the dial-up status record.
enum PppState : int32_t {
  kPppDisconnected = 0,
  kPppInitializing = 1,
  kPppConnectingLink = 2,
  kPppNegotiatingLink = 4,
  kPppAuthenticating = 5,
  kPppNegotiatingNetwork = 7,
  kPppConnected = 8,
  kPppTerminating = 9,
  kPppDisconnectingLink = 10,
};
// NDIS states of the 258/72 push.
enum NdisState : uint32_t { kNdisDisconnected = 0, kNdisConnected = 1, kNdisConnecting = 2, kNdisFailed = 3 };

inline constexpr int kAddressWidth = 128;
inline constexpr int kPppStatusSize = 164;    // the new dial-up record
inline constexpr int kOldPppStatusSize = 36;  // the old one: nine u32 words
inline constexpr int kNdisTransferSize = 156; // the NDIS transfer record

// What a status record says, in one shape for the three layouts.
struct Status {
  QString address; // IPv4 text; empty in the old dial-up layout
  float sent = 0, received = 0;
  double connectTime = 0; // seconds
  int32_t pppState = 0;
  float upSpeed = 0, downSpeed = 0; // NDIS only, bytes per second
};

namespace detail {
inline float f32At(const char *p) {
  const quint32 bits = qFromLittleEndian<quint32>(p);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline double f64At(const char *p) {
  const quint64 bits = qFromLittleEndian<quint64>(p);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline void putF32(char *p, float v) {
  quint32 bits;
  std::memcpy(&bits, &v, sizeof bits);
  qToLittleEndian<quint32>(bits, p);
}
inline void putF64(char *p, double v) {
  quint64 bits;
  std::memcpy(&bits, &v, sizeof bits);
  qToLittleEndian<quint64>(bits, p);
}
inline QString addressAt(const QByteArray &b) {
  const int end = std::min<int>(kAddressWidth, int(b.size()));
  int len = 0;
  while (len < end && b.at(len) != '\0')
    ++len;
  return QString::fromLatin1(b.constData(), len);
}
inline void putAddress(QByteArray &b, const QString &address) {
  const QByteArray text = address.toLatin1().left(kAddressWidth - 1);
  std::memcpy(b.data(), text.constData(), size_t(text.size()));
}
} // namespace detail

// The new dial-up record; false (and nothing read) when `b` is shorter than its layout.
inline bool readPppStatus(const QByteArray &b, Status *s) {
  if (b.size() < kPppStatusSize)
    return false;
  const char *p = b.constData();
  s->address = detail::addressAt(b);
  s->sent = detail::f32At(p + 128);
  s->received = detail::f32At(p + 132);
  s->connectTime = detail::f64At(p + 152);
  s->pppState = qFromLittleEndian<qint32>(p + 160);
  return true;
}

// The old dial-up record (word 0 state, 1 time, 3 received, 6 sent), as the new one reads it.
inline bool readOldPppStatus(const QByteArray &b, Status *s) {
  if (b.size() < kOldPppStatusSize)
    return false;
  const char *p = b.constData();
  const auto word = [p](int i) { return qFromLittleEndian<quint32>(p + 4 * i); };
  *s = Status{};
  s->pppState = int32_t(word(0));
  s->connectTime = double(word(1));
  s->received = float(word(3));
  s->sent = float(word(6));
  return true;
}

// The NDIS transfer record, honoured only at its exact length.
inline bool readNdisTransfer(const QByteArray &b, Status *s) {
  if (b.size() != kNdisTransferSize)
    return false;
  const char *p = b.constData();
  s->address = detail::addressAt(b);
  s->sent = detail::f32At(p + 128);
  s->received = detail::f32At(p + 132);
  s->upSpeed = detail::f32At(p + 144);
  s->downSpeed = detail::f32At(p + 148);
  return true;
}

inline QByteArray pppStatus(const Status &s) {
  QByteArray b(kPppStatusSize, '\0');
  detail::putAddress(b, s.address);
  detail::putF32(b.data() + 128, s.sent);
  detail::putF32(b.data() + 132, s.received);
  detail::putF64(b.data() + 152, s.connectTime);
  qToLittleEndian<qint32>(s.pppState, b.data() + 160);
  return b;
}

inline QByteArray oldPppStatus(const Status &s) {
  QByteArray b(kOldPppStatusSize, '\0');
  const auto put = [&b](int i, quint32 v) { qToLittleEndian<quint32>(v, b.data() + 4 * i); };
  put(0, quint32(s.pppState));
  put(1, quint32(s.connectTime));
  put(3, quint32(s.received));
  put(6, quint32(s.sent));
  return b;
}

inline QByteArray ndisTransfer(const Status &s) {
  QByteArray b(kNdisTransferSize, '\0');
  detail::putAddress(b, s.address);
  detail::putF32(b.data() + 128, s.sent);
  detail::putF32(b.data() + 132, s.received);
  detail::putF32(b.data() + 144, s.upSpeed);
  detail::putF32(b.data() + 148, s.downSpeed);
  return b;
}

// The old PPP option reply's address: most significant byte first.
inline QString addressFromU32(quint32 a) {
  return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xff).arg((a >> 8) & 0xff).arg(a & 0xff);
}
inline quint32 addressToU32(const QString &text) {
  const QStringList parts = text.split(QLatin1Char('.'));
  if (parts.size() != 4)
    return 0;
  quint32 a = 0;
  for (const QString &part : parts)
    a = (a << 8) | (part.toUInt() & 0xff);
  return a;
}
} // namespace DataSessionLayout
