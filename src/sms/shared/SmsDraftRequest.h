#pragma once

#include "SmsSendRequest.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Both sides read this header: the program builds the request, the simulated modem reads it.

// The payload of a draft save (768/94): the editor's text and recipients field as typed, with
// the centre, report flag and validity the message would be sent with. Where the draft is
// stored is the backend's choice.
struct SmsDraftRequest {
  static constexpr int kSize = 7744;
  static constexpr int kTextOffset = 0, kMaxTextUnits = 3200;
  static constexpr int kTextLengthOffset = 6400;
  static constexpr int kRecipientsOffset = 6404, kRecipientsWidth = 1300;
  static constexpr int kCentreOffset = 7704, kCentreWidth = 32;
  static constexpr int kReportOffset = 7736;
  static constexpr int kValidityOffset = 7740;

  QString text;
  QString recipients;
  QString centre;
  bool report = false;
  quint32 validity = 0;

  // nullopt when the text has more than 3200 UTF-16 units, the recipients more than 1299 UTF-8
  // bytes or the centre more than 31: a cut draft would lose a number or the end of the text.
  std::optional<QByteArray> encode() const {
    using namespace smssend_detail;
    const QByteArray recipientsUtf8 = recipients.toUtf8();
    const QByteArray centreUtf8 = centre.toUtf8();
    if (text.size() > kMaxTextUnits || recipientsUtf8.size() > kRecipientsWidth - 1 ||
        centreUtf8.size() > kCentreWidth - 1)
      return std::nullopt;
    QByteArray out(kSize, '\0');
    for (int i = 0; i < text.size(); ++i) {
      const quint16 unit = text.at(i).unicode();
      out[kTextOffset + 2 * i] = char(unit & 0xFF);
      out[kTextOffset + 2 * i + 1] = char(unit >> 8);
    }
    putU32(out, kTextLengthOffset, quint32(text.size()));
    out.replace(kRecipientsOffset, recipientsUtf8.size(), recipientsUtf8);
    out.replace(kCentreOffset, centreUtf8.size(), centreUtf8);
    out[kReportOffset] = report ? 1 : 0;
    putU32(out, kValidityOffset, validity);
    return out;
  }

  static std::optional<SmsDraftRequest> decode(const QByteArray &payload) {
    using namespace smssend_detail;
    if (payload.size() < kSize)
      return std::nullopt;
    const char *d = payload.constData();
    const quint32 units = u32At(d, kTextLengthOffset);
    if (units > quint32(kMaxTextUnits))
      return std::nullopt;
    SmsDraftRequest r;
    r.text.resize(int(units));
    for (int i = 0; i < int(units); ++i)
      r.text[i] = QChar(quint16(quint8(d[kTextOffset + 2 * i]) | (quint8(d[kTextOffset + 2 * i + 1]) << 8)));
    r.recipients = nulText(payload, kRecipientsOffset, kRecipientsWidth);
    r.centre = nulText(payload, kCentreOffset, kCentreWidth);
    r.report = d[kReportOffset] != 0;
    r.validity = u32At(d, kValidityOffset);
    return r;
  }
};

// The progress of a long message (768/113): the part now going out and the number of parts,
// then the recipient's number, NUL-terminated.
struct SmsSendProgress {
  static constexpr int kSize = 100;
  static constexpr int kCurrentOffset = 0, kTotalOffset = 2;
  static constexpr int kNumberOffset = 4, kNumberWidth = kSize - kNumberOffset;

  int current = 0;
  int total = 0;
  QString number;

  QByteArray encode() const {
    QByteArray out(kSize, '\0');
    out[kCurrentOffset] = char(current & 0xFF);
    out[kCurrentOffset + 1] = char((current >> 8) & 0xFF);
    out[kTotalOffset] = char(total & 0xFF);
    out[kTotalOffset + 1] = char((total >> 8) & 0xFF);
    const QByteArray n = number.toUtf8().left(kNumberWidth - 1);
    out.replace(kNumberOffset, n.size(), n);
    return out;
  }
  // Reads only within `payload`: a short package gives zero counters and an empty number.
  static SmsSendProgress decode(const QByteArray &payload) {
    QByteArray d = payload.left(kSize);
    d.append(QByteArray(kSize - d.size(), '\0'));
    SmsSendProgress p;
    p.current = quint8(d[0]) | (quint8(d[1]) << 8);
    p.total = quint8(d[2]) | (quint8(d[3]) << 8);
    p.number = smssend_detail::nulText(d, kNumberOffset, kNumberWidth);
    return p;
  }
};

// The centre reply (768/110): the number, NUL-terminated, in 32 bytes.
struct SmsCentreReply {
  static constexpr int kSize = 32;
  static QByteArray encode(const QString &number) {
    QByteArray out(kSize, '\0');
    const QByteArray n = number.toUtf8().left(kSize - 1);
    out.replace(0, n.size(), n);
    return out;
  }
  static QString decode(const QByteArray &payload) { return smssend_detail::nulText(payload, 0, kSize); }
};
