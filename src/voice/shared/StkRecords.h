#pragma once

// The SIM toolkit's records (module 6, major 1280), shared by the program and the simulated
// modem. Little-endian, texts in UTF-16 units with an explicit count. Decoders read only within
// the record and the data given: counts are clamped to their arrays, a short package reads as
// zeros.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <algorithm>

namespace StkRecords {

inline constexpr int kModule = 6;
inline constexpr int kMajor = 1280;
enum Minor : int {
  kMainMenu = 125,
  kSubMenu = 126,
  kAlert = 127,
  kAlertNoButton = 128,
  kInput = 129,
  kInformation = 130,
  kSelectMain = 131,
  kSelectSub = 132,
  kBack = 133,
  kExit = 134,
  kAlertOK = 135,
  kAlertCancel = 136,
  kInputAnswer = 137,
  kInputCancel = 138,
};

inline constexpr int kTitleUnits = 512;                                // u16[512]
inline constexpr int kMaxItems = 20;                                   // items of a menu record
inline constexpr int kItemUnits = 48;                                  // u16[48] per item
inline constexpr int kItemSize = 100;                                  // text and its length
inline constexpr int kItemsOffset = 1032;                              // title, its length, the count
inline constexpr int kMenuSize = kItemsOffset + kMaxItems * kItemSize; // 3032
inline constexpr int kTextSize = 1028;                                 // text record
inline constexpr int kInputSize = 1036;                                // input request record

struct Menu {
  QString title;
  QStringList items;
};

struct Input {
  QString prompt;
  int minimum = 0;
  int maximum = 0;
};

namespace detail {
inline qint32 word(const QByteArray &data, int offset) {
  if (offset < 0 || data.size() < offset + 4)
    return 0;
  return qFromLittleEndian<qint32>(data.constData() + offset);
}
// `count` UTF-16 units at `offset`, clamped to `capacity` units and to the data present.
inline QString units(const QByteArray &data, int offset, int count, int capacity) {
  count = std::clamp(count, 0, capacity);
  const int available = std::max(0, (int(data.size()) - offset) / 2);
  count = std::min(count, available);
  QString out;
  out.reserve(count);
  for (int i = 0; i < count; ++i)
    out.append(QChar(qFromLittleEndian<quint16>(data.constData() + offset + 2 * i)));
  return out;
}
inline void putUnits(QByteArray &record, int offset, const QString &text, int capacity, int lengthOffset) {
  const int count = std::min<int>(text.size(), capacity);
  for (int i = 0; i < count; ++i)
    qToLittleEndian<quint16>(text.at(i).unicode(), record.data() + offset + 2 * i);
  qToLittleEndian<qint32>(count, record.data() + lengthOffset);
}
} // namespace detail

inline Menu decodeMenu(const QByteArray &data) {
  Menu m;
  m.title = detail::units(data, 0, detail::word(data, 1024), kTitleUnits);
  const int count = std::clamp(detail::word(data, 1028), 0, kMaxItems);
  for (int i = 0; i < count; ++i) {
    const int at = kItemsOffset + i * kItemSize;
    m.items << detail::units(data, at, detail::word(data, at + 96), kItemUnits);
  }
  return m;
}

inline QString decodeText(const QByteArray &data) {
  return detail::units(data, 0, detail::word(data, 1024), kTitleUnits);
}

inline Input decodeInput(const QByteArray &data) {
  return {detail::units(data, 0, detail::word(data, 1024), kTitleUnits), detail::word(data, 1028),
          detail::word(data, 1032)};
}

// Texts longer than their arrays are cut; more than 20 items keep the first 20.
inline QByteArray encodeMenu(const Menu &menu) {
  QByteArray r(kMenuSize, '\0');
  detail::putUnits(r, 0, menu.title, kTitleUnits, 1024);
  const int count = std::min<int>(menu.items.size(), kMaxItems);
  qToLittleEndian<qint32>(count, r.data() + 1028);
  for (int i = 0; i < count; ++i) {
    const int at = kItemsOffset + i * kItemSize;
    detail::putUnits(r, at, menu.items.at(i), kItemUnits, at + 96);
  }
  return r;
}

// The text record; also the input answer, whose area holds the answer's UTF-16 units.
inline QByteArray encodeText(const QString &text) {
  QByteArray r(kTextSize, '\0');
  detail::putUnits(r, 0, text, kTitleUnits, 1024);
  return r;
}

inline QByteArray encodeInput(const Input &input) {
  QByteArray r(kInputSize, '\0');
  detail::putUnits(r, 0, input.prompt, kTitleUnits, 1024);
  qToLittleEndian<qint32>(input.minimum, r.data() + 1028);
  qToLittleEndian<qint32>(input.maximum, r.data() + 1032);
  return r;
}

inline QByteArray encodeIndex(quint32 index) {
  QByteArray r(4, '\0');
  qToLittleEndian<quint32>(index, r.data());
  return r;
}

} // namespace StkRecords
