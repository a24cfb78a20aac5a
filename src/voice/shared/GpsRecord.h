#pragma once

// The GPS receiver's records (module 8, major 2048), shared by the program and the simulated
// modem: the start and position requests' two words, and the 124-byte position record whose
// texts are NUL-terminated single-byte strings of at most 20 bytes.
#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <algorithm>

namespace GpsRecord {

inline constexpr int kModule = 8;
inline constexpr int kMajor = 2048;
enum Minor : int { kStart = 141, kStop = 142, kPositionRequest = 143, kPosition = 144 };
inline constexpr int kSize = 124;
inline constexpr int kTextSize = 20;
enum State : int { kOff = 0, kSearching = 1, kTracking = 2 };

struct Position {
  int state = 0;
  QString latitude, longitude, altitude;
  QString velocity[3];
};

namespace detail {
// A text field: up to its NUL, never past its 20 bytes nor the data given.
inline QString text(const QByteArray &data, int offset) {
  if (offset >= data.size())
    return {};
  const QByteArray field = data.mid(offset, kTextSize);
  const int nul = field.indexOf('\0');
  return QString::fromLatin1(nul < 0 ? field : field.left(nul));
}
inline void put(QByteArray &record, int offset, const QString &text) {
  // At most 19 bytes, so the field keeps its terminator.
  const QByteArray bytes = text.toLatin1().left(kTextSize - 1);
  std::copy(bytes.cbegin(), bytes.cend(), record.begin() + offset);
}
} // namespace detail

inline Position decode(const QByteArray &data) {
  Position p;
  p.state = data.size() >= 4 ? qFromLittleEndian<qint32>(data.constData()) : 0;
  p.latitude = detail::text(data, 4);
  p.longitude = detail::text(data, 24);
  p.altitude = detail::text(data, 44);
  for (int i = 0; i < 3; ++i)
    p.velocity[i] = detail::text(data, 64 + 20 * i);
  return p;
}

inline QByteArray encode(const Position &p) {
  QByteArray r(kSize, '\0');
  qToLittleEndian<qint32>(p.state, r.data());
  detail::put(r, 4, p.latitude);
  detail::put(r, 24, p.longitude);
  detail::put(r, 44, p.altitude);
  for (int i = 0; i < 3; ++i)
    detail::put(r, 64 + 20 * i, p.velocity[i]);
  return r;
}

inline QByteArray words(quint32 a, quint32 b) {
  QByteArray r(8, '\0');
  qToLittleEndian<quint32>(a, r.data());
  qToLittleEndian<quint32>(b, r.data() + 4);
  return r;
}

} // namespace GpsRecord
