#pragma once

#include "UIMsg.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Both sides read this header: the program builds the request, the simulated modem reads it.

// The payload of one send request (768/91): everything the backend needs to send one message to
// one number. The backend splits, encodes and files the message; the program only hands over
// the text, the number and a few flags.
struct SmsSendRequest {
  static constexpr int kSize = 6488;
  static constexpr int kCentreOffset = 0, kCentreWidth = 32;
  static constexpr int kReportOffset = 32;
  static constexpr int kValidityOffset = 36;
  static constexpr int kTextOffset = 40, kMaxTextUnits = 3200;
  static constexpr int kTextLengthOffset = 6440;
  static constexpr int kNumberOffset = 6444, kNumberWidth = 41;
  static constexpr int kRefOffset = 6485, kSaveInBoxOffset = 6486, kNoResultOffset = 6487;
  static constexpr int kDefaultValidity = 3;

  QString centre;
  bool report = false;
  quint32 validity = kDefaultValidity;
  QString text;
  QString number;
  quint8 ref = 0;
  bool saveInBox = false;
  bool returnResult = true;

  // nullopt when the text has more than 3200 UTF-16 units, the number more than 40 bytes or the
  // centre more than 31: such a message does not fit, and a cut one would go to a wrong number
  // or through a wrong centre, or lose its end.
  std::optional<QByteArray> encode() const;
  static std::optional<SmsSendRequest> decode(const QByteArray &payload);
};

// The send result (768/91, type 1): one word per part, non-zero when the part went out.
struct SmsSendResult {
  static constexpr int kMaxParts = 15;
  static constexpr int kCountOffset = 60;
  int ok = 0;
  int failed = 0;
  int parts() const { return ok + failed; }
  static SmsSendResult fromPackage(const UIMsg &msg);
  static QByteArray payload(const QList<bool> &parts);
};

namespace smssend_detail {
inline void putU32(QByteArray &out, int offset, quint32 value) {
  for (int i = 0; i < 4; ++i)
    out[offset + i] = char((value >> (8 * i)) & 0xFF);
}

inline quint32 u32At(const char *data, int offset) {
  quint32 v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | quint8(data[offset + i]);
  return v;
}

inline QString nulText(const QByteArray &payload, int offset, int width) {
  const QByteArray field = payload.mid(offset, width);
  const int end = field.indexOf('\0');
  return QString::fromUtf8(end < 0 ? field : field.left(end));
}
} // namespace smssend_detail

inline std::optional<QByteArray> SmsSendRequest::encode() const {
  using namespace smssend_detail;
  const QByteArray numberUtf8 = number.toUtf8();
  const QByteArray centreUtf8 = centre.toUtf8();
  if (text.size() > kMaxTextUnits || numberUtf8.size() > kNumberWidth - 1 || centreUtf8.size() > kCentreWidth - 1)
    return std::nullopt;
  QByteArray out(kSize, '\0');
  out.replace(kCentreOffset, centreUtf8.size(), centreUtf8);
  out[kReportOffset] = report ? 1 : 0;
  putU32(out, kValidityOffset, validity);
  for (int i = 0; i < text.size(); ++i) {
    const quint16 unit = text.at(i).unicode();
    out[kTextOffset + 2 * i] = char(unit & 0xFF);
    out[kTextOffset + 2 * i + 1] = char(unit >> 8);
  }
  putU32(out, kTextLengthOffset, quint32(text.size()));
  out.replace(kNumberOffset, numberUtf8.size(), numberUtf8);
  out[kRefOffset] = char(ref);
  out[kSaveInBoxOffset] = saveInBox ? 1 : 0;
  out[kNoResultOffset] = returnResult ? 0 : 1;
  return out;
}

inline std::optional<SmsSendRequest> SmsSendRequest::decode(const QByteArray &payload) {
  using namespace smssend_detail;
  if (payload.size() < kSize)
    return std::nullopt;
  const char *d = payload.constData();
  const quint32 units = u32At(d, kTextLengthOffset);
  if (units > quint32(kMaxTextUnits))
    return std::nullopt;
  SmsSendRequest r;
  r.centre = nulText(payload, kCentreOffset, kCentreWidth);
  r.report = d[kReportOffset] != 0;
  r.validity = u32At(d, kValidityOffset);
  r.text.resize(int(units));
  for (int i = 0; i < int(units); ++i)
    r.text[i] = QChar(quint16(quint8(d[kTextOffset + 2 * i]) | (quint8(d[kTextOffset + 2 * i + 1]) << 8)));
  r.number = nulText(payload, kNumberOffset, kNumberWidth);
  r.ref = quint8(d[kRefOffset]);
  r.saveInBox = d[kSaveInBoxOffset] != 0;
  r.returnResult = d[kNoResultOffset] == 0;
  return r;
}

inline SmsSendResult SmsSendResult::fromPackage(const UIMsg &msg) {
  using namespace smssend_detail;
  SmsSendResult r;
  // A short reply is read as the zero-filled package it arrives in: no parts reported.
  const char *d = reinterpret_cast<const char *>(msg.data.data());
  const quint32 count = qMin<quint32>(u32At(d, kCountOffset), kMaxParts);
  for (quint32 i = 0; i < count; ++i)
    (u32At(d, int(4 * i)) != 0 ? r.ok : r.failed) += 1;
  return r;
}

inline QByteArray SmsSendResult::payload(const QList<bool> &parts) {
  using namespace smssend_detail;
  QByteArray out(kCountOffset + 4, '\0');
  const int count = qMin<int>(parts.size(), kMaxParts);
  for (int i = 0; i < count; ++i)
    putU32(out, 4 * i, parts.at(i) ? 1 : 0);
  putU32(out, kCountOffset, quint32(count));
  return out;
}
