#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <QtGlobal>

// Both sides read this header: the simulated modem builds the arrival packages, the program
// reads them. Reading never trusts a length or a terminator: every text is read within its
// field, and a length is clamped to the units the field holds.

namespace smsarrival_detail {
inline quint32 u32(const QByteArray &d, int offset) {
  if (offset < 0 || offset + 4 > d.size())
    return 0;
  quint32 v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | quint8(d[offset + i]);
  return v;
}
inline quint8 u8(const QByteArray &d, int offset) {
  return offset >= 0 && offset < d.size() ? quint8(d[offset]) : 0;
}
inline void putU32(QByteArray &out, int offset, quint32 value) {
  for (int i = 0; i < 4; ++i)
    out[offset + i] = char((value >> (8 * i)) & 0xFF);
}
// The text up to the first NUL, never beyond the field's width.
inline QString cText(const QByteArray &d, int offset, int width) {
  const QByteArray field = d.mid(offset, width);
  const int end = field.indexOf('\0');
  return QString::fromUtf8(end < 0 ? field : field.left(end));
}
inline void putCText(QByteArray &out, int offset, int width, const QString &text) {
  QByteArray bytes = text.toUtf8();
  if (bytes.size() > width - 1)
    bytes.truncate(width - 1);
  out.replace(offset, bytes.size(), bytes);
}
// A signed length clamped to 0..maxUnits.
inline int clampedUnits(quint32 raw, int maxUnits) {
  const qint32 n = qint32(raw);
  return n < 0 ? 0 : qMin<int>(n, maxUnits);
}
inline QString utf16Text(const QByteArray &d, int offset, int units) {
  QString text;
  text.reserve(units);
  for (int i = 0; i < units; ++i)
    text.append(QChar(quint16(quint8(d[offset + 2 * i]) | (quint8(d[offset + 2 * i + 1]) << 8))));
  return text;
}
inline int putUtf16(QByteArray &out, int offset, int maxUnits, const QString &text) {
  const int units = qMin<int>(int(text.size()), maxUnits);
  for (int i = 0; i < units; ++i) {
    const quint16 unit = text.at(i).unicode();
    out[offset + 2 * i] = char(unit & 0xFF);
    out[offset + 2 * i + 1] = char(unit >> 8);
  }
  return units;
}
} // namespace smsarrival_detail

// A service-centre time stamp, YYMMDDhhmmssZZ, the zone in quarter hours (first zone digit
// 8 or 9: west of GMT).
struct SmsTimeStamp {
  // Invalid unless the first 14 characters are digits and name a real date and time.
  static QDateTime decode(const QString &stamp) {
    if (stamp.size() < 14)
      return {};
    int v[7];
    for (int i = 0; i < 7; ++i) {
      const QChar a = stamp.at(2 * i), b = stamp.at(2 * i + 1);
      if (!a.isDigit() || !b.isDigit() || a.unicode() > '9' || b.unicode() > '9')
        return {};
      v[i] = (a.unicode() - '0') * 10 + (b.unicode() - '0');
    }
    const int first = stamp.at(12).unicode() - '0';
    int quarters = (first & 7) * 10 + (stamp.at(13).unicode() - '0');
    if (first & 8)
      quarters = -quarters;
    const QDate date(2000 + v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid())
      return {};
    return QDateTime(date, time, QTimeZone(quarters * 900));
  }
  // The stamp of a moment in a zone `quarters` quarter hours east of GMT.
  static QString encode(const QDateTime &when, int quarters) {
    const QDateTime local = when.toOffsetFromUtc(quarters * 900);
    const int q = qAbs(quarters);
    const int zone = (quarters < 0 ? 80 : 0) + q;
    return local.toString(QStringLiteral("yyMMddHHmmss")) + QStringLiteral("%1").arg(zone, 2, 10, QLatin1Char('0'));
  }
};

// A new message or a recharge message (768/101, 768/102): one part as the modem stored it.
struct SmsArrivalRecord {
  static constexpr int kSize = 436;
  static constexpr int kPositionOffset = 0;
  static constexpr int kNumberOffset = 4, kNumberWidth = 45;
  static constexpr int kStampOffset = 49, kStampWidth = 50;
  static constexpr int kTextOffset = 100, kMaxTextUnits = 161;
  static constexpr int kTextLengthOffset = 424;
  static constexpr int kRef8Offset = 428, kTotalOffset = 429, kSequenceOffset = 430, kConcatOffset = 431;
  static constexpr int kRefKindOffset = 432, kRef16Offset = 434;
  static constexpr int kRefKind16 = 8;

  int position = 0;
  QString number;
  QString stamp;
  QString text;
  quint8 ref8 = 0;
  quint8 total = 0;
  quint8 sequence = 0;
  bool concat = false;
  quint8 refKind = 0;
  qint16 ref16 = 0;

  // The reference this part's message is known by: the 16-bit one when its kind says so.
  int reference() const { return refKind == kRefKind16 ? int(ref16) : int(ref8); }

  QByteArray encode() const {
    using namespace smsarrival_detail;
    QByteArray out(kSize, '\0');
    putU32(out, kPositionOffset, quint32(position));
    putCText(out, kNumberOffset, kNumberWidth, number);
    putCText(out, kStampOffset, kStampWidth, stamp);
    putU32(out, kTextLengthOffset, quint32(putUtf16(out, kTextOffset, kMaxTextUnits, text)));
    out[kRef8Offset] = char(ref8);
    out[kTotalOffset] = char(total);
    out[kSequenceOffset] = char(sequence);
    out[kConcatOffset] = concat ? 1 : 0;
    out[kRefKindOffset] = char(refKind);
    out[kRef16Offset] = char(quint16(ref16) & 0xFF);
    out[kRef16Offset + 1] = char(quint16(ref16) >> 8);
    return out;
  }
  // A short package reads as the zero-filled package it arrived in.
  static SmsArrivalRecord decode(QByteArray d) {
    using namespace smsarrival_detail;
    if (d.size() < kSize)
      d.resize(kSize, '\0');
    SmsArrivalRecord r;
    r.position = qint32(u32(d, kPositionOffset));
    r.number = cText(d, kNumberOffset, kNumberWidth);
    r.stamp = cText(d, kStampOffset, kStampWidth);
    r.text = utf16Text(d, kTextOffset, clampedUnits(u32(d, kTextLengthOffset), kMaxTextUnits));
    r.ref8 = u8(d, kRef8Offset);
    r.total = u8(d, kTotalOffset);
    r.sequence = u8(d, kSequenceOffset);
    r.concat = u8(d, kConcatOffset) == 1;
    r.refKind = u8(d, kRefKindOffset);
    r.ref16 = qint16(quint16(u8(d, kRef16Offset) | (u8(d, kRef16Offset + 1) << 8)));
    return r;
  }
};

// A delivery report (768/100).
struct SmsDeliveryReportRecord {
  static constexpr int kSize = 100;
  static constexpr int kNumberOffset = 4, kNumberWidth = 45;
  static constexpr int kStampOffset = 49, kStampWidth = 50;
  int result = 0;
  QString number;
  QString stamp;
  QByteArray encode() const {
    using namespace smsarrival_detail;
    QByteArray out(kSize, '\0');
    putU32(out, 0, quint32(result));
    putCText(out, kNumberOffset, kNumberWidth, number);
    putCText(out, kStampOffset, kStampWidth, stamp);
    return out;
  }
  static SmsDeliveryReportRecord decode(QByteArray d) {
    using namespace smsarrival_detail;
    if (d.size() < kSize)
      d.resize(kSize, '\0');
    return {qint32(u32(d, 0)), cText(d, kNumberOffset, kNumberWidth), cText(d, kStampOffset, kStampWidth)};
  }
};

// A class-0 message (768/99): shown, never stored.
struct SmsClass0Record {
  static constexpr int kSize = 2092;
  static constexpr int kMaxTextUnits = 1024, kTextLengthOffset = 2048;
  static constexpr int kNumberOffset = 2052, kNumberWidth = 40;
  QString text;
  QString number;
  QByteArray encode() const {
    using namespace smsarrival_detail;
    QByteArray out(kSize, '\0');
    putU32(out, kTextLengthOffset, quint32(putUtf16(out, 0, kMaxTextUnits, text)));
    putCText(out, kNumberOffset, kNumberWidth, number);
    return out;
  }
  static SmsClass0Record decode(QByteArray d) {
    using namespace smsarrival_detail;
    if (d.size() < kSize)
      d.resize(kSize, '\0');
    return {utf16Text(d, 0, clampedUnits(u32(d, kTextLengthOffset), kMaxTextUnits)),
            cText(d, kNumberOffset, kNumberWidth)};
  }
};

// A cell broadcast (768/106, type 1).
struct SmsBroadcastRecord {
  static constexpr int kSize = 336;
  static constexpr int kSenderOffset = 36, kSenderWidth = 79;
  static constexpr int kTextOffset = 115, kTextWidth = 221;
  QString sender;
  QString text;
  QByteArray encode() const {
    using namespace smsarrival_detail;
    QByteArray out(kSize, '\0');
    putCText(out, kSenderOffset, kSenderWidth, sender);
    putCText(out, kTextOffset, kTextWidth, text);
    return out;
  }
  static SmsBroadcastRecord decode(QByteArray d) {
    using namespace smsarrival_detail;
    if (d.size() < kSize)
      d.resize(kSize, '\0');
    return {cText(d, kSenderOffset, kSenderWidth), cText(d, kTextOffset, kTextWidth)};
  }
};
