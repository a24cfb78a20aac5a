#pragma once

#include "SmsArrivalRecords.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The long messages being received, each known by its sender, reference kind and reference,
// so that two senders' messages that happen to share a reference are counted apart. A message
// is complete once as many distinct part numbers as its total have arrived; a part that comes
// twice counts once.
// The tracking is bounded: at most kMaxPending messages are followed (the one heard of longest
// ago gives way to a new one), and a message none of whose missing parts came for kExpiry is
// given up. The modem stores every part as it comes, so a message given up keeps the parts that
// came; only the wait for the rest ends.
class SmsPartTracker {
public:
  static constexpr int kMaxPending = 512;
  static constexpr qint64 kExpiryMs = 60LL * 60 * 1000;
  // Counts a part; nothing for a single message.
  void count(const SmsArrivalRecord &r);
  // Single messages, and long messages with all parts in (or a total of 0 or 1).
  bool isComplete(const SmsArrivalRecord &r) const;
  int pending() const { return int(parts_.size()); }
  // Messages given up (expired or pushed out) since the tracker was made.
  int givenUp() const { return givenUp_; }

private:
  using Key = QString;
  static Key keyOf(const SmsArrivalRecord &r) {
    return QStringLiteral("%1|%2|%3")
        .arg(r.refKind == SmsArrivalRecord::kRefKind16 ? 16 : 8)
        .arg(r.reference())
        .arg(r.number);
  }
  struct Pending {
    QSet<int> parts;
    qint64 lastPartMs = 0;
  };
  void expire(qint64 nowMs);
  QHash<Key, Pending> parts_;
  int givenUp_ = 0;
};

// The text gathered for the notification window: only the message being received, and never
// more than a long message's worth.
class SmsArrivalText {
public:
  static constexpr int kMaxUnits = 255 * SmsArrivalRecord::kMaxTextUnits;
  // A part of another message than the one gathered starts anew.
  void append(const SmsArrivalRecord &r);
  QString text() const { return text_; }
  void clear() {
    text_.clear();
    key_.clear();
  }

private:
  QString text_;
  QString key_;
};

namespace smsarrival {
// Where a message went when the SIM was full: the PC.
constexpr int kSimFullPosition = 2;
// A worded format with "%@" (or "%d") places filled in order; extra places stay empty.
QString fill(const QString &format, const QStringList &args);
// Whether a sender matches a special number: exactly, or on the last `threshold` characters
// (the whole shorter number when shorter; a threshold below 0 counts as 0). An empty number
// never matches.
bool ifTwoNumbersMatch(const QString &a, const QString &b, bool exact, int threshold);
// A record of a box counts its parts for the PC total: a long message its total, a flat draft
// the first digit of its "stat", anything else 1.
int countOfEntry(const QVariantMap &entry, int box);
// The unread parts of a record: 1 for an unread single message, the unread parts of a long one.
int unreadPartsOf(const QVariantMap &record);
// The record's summary ("concatSmsInfo" of a long message, "smsInfo" of a single one).
QVariantMap summaryOf(const QVariantMap &record);
// Whether a record is the message a summary names (a single one: equal number and date; a long
// one: any of its parts).
bool isSameMessage(const QVariantMap &record, const QString &number, const QDateTime &date);
} // namespace smsarrival
