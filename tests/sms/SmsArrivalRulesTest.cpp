// The arrival rules without windows: reading the arrival packages whatever they hold, the
// service-centre stamps, the tracking of long messages, the special-number match and the counts.
#include "SmsArrivalRules.h"
#include "SmsArrivalRecords.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

SmsArrivalRecord part(const QString &from, int ref, int total, int seq, int refKind = 0, int ref16 = 0) {
  SmsArrivalRecord r;
  r.number = from;
  r.concat = true;
  r.ref8 = quint8(ref);
  r.total = quint8(total);
  r.sequence = quint8(seq);
  r.refKind = quint8(refKind);
  r.ref16 = qint16(ref16);
  return r;
}

void putU32(QByteArray &d, int offset, quint32 v) {
  for (int i = 0; i < 4; ++i)
    d[offset + i] = char((v >> (8 * i)) & 0xFF);
}

TEST(SmsArrivalRecords, RoundTripOfEveryPackage) {
  SmsArrivalRecord r = part(QStringLiteral("+8613800000000"), 200, 3, 2, 8, 0x1234);
  r.position = 4;
  r.stamp = QStringLiteral("26121112000032");
  r.text = QStringLiteral("Grüße ✓");
  const QByteArray bytes = r.encode();
  ASSERT_EQ(bytes.size(), SmsArrivalRecord::kSize);
  const SmsArrivalRecord back = SmsArrivalRecord::decode(bytes);
  EXPECT_EQ(back.position, 4);
  EXPECT_EQ(back.number, r.number);
  EXPECT_EQ(back.stamp, r.stamp);
  EXPECT_EQ(back.text, r.text);
  EXPECT_TRUE(back.concat);
  EXPECT_EQ(back.total, 3);
  EXPECT_EQ(back.sequence, 2);
  EXPECT_EQ(back.reference(), 0x1234); // the 16-bit reference wins with kind 8

  const SmsDeliveryReportRecord report =
      SmsDeliveryReportRecord::decode(SmsDeliveryReportRecord{2, "123", "x"}.encode());
  EXPECT_EQ(report.result, 2);
  EXPECT_EQ(report.number, QStringLiteral("123"));
  const SmsClass0Record c0 = SmsClass0Record::decode(SmsClass0Record{"Flash", "555"}.encode());
  EXPECT_EQ(c0.text, QStringLiteral("Flash"));
  EXPECT_EQ(c0.number, QStringLiteral("555"));
  const SmsBroadcastRecord cb = SmsBroadcastRecord::decode(SmsBroadcastRecord{"CB", "Storm"}.encode());
  EXPECT_EQ(cb.sender, QStringLiteral("CB"));
  EXPECT_EQ(cb.text, QStringLiteral("Storm"));
}

// Lengths beyond the field or below 0, fields without a terminator, short packages: every
// text stays within its field.
TEST(SmsArrivalRecords, BadPackagesGiveBoundedTexts) {
  for (const qint32 length : {5000, -1, 161, 162, 0x7fffffff}) {
    QByteArray d(SmsArrivalRecord::kSize, 'A');
    putU32(d, SmsArrivalRecord::kTextLengthOffset, quint32(length));
    const SmsArrivalRecord r = SmsArrivalRecord::decode(d);
    EXPECT_LE(r.text.size(), SmsArrivalRecord::kMaxTextUnits) << length;
    EXPECT_EQ(r.text.size(), length < 0 ? 0 : 161) << length;
    EXPECT_EQ(r.number.size(), SmsArrivalRecord::kNumberWidth); // no NUL: the whole field, no more
    EXPECT_EQ(r.stamp.size(), SmsArrivalRecord::kStampWidth);
  }
  QByteArray c0(SmsClass0Record::kSize, 'B');
  putU32(c0, SmsClass0Record::kTextLengthOffset, 5000);
  const SmsClass0Record c = SmsClass0Record::decode(c0);
  EXPECT_EQ(c.text.size(), SmsClass0Record::kMaxTextUnits);
  EXPECT_EQ(c.number.size(), SmsClass0Record::kNumberWidth);
  const SmsBroadcastRecord b = SmsBroadcastRecord::decode(QByteArray(SmsBroadcastRecord::kSize, 'C'));
  EXPECT_EQ(b.text.size(), SmsBroadcastRecord::kSize - SmsBroadcastRecord::kTextOffset);
  EXPECT_EQ(SmsDeliveryReportRecord::decode(QByteArray(3, 'x')).number, QString());
  EXPECT_TRUE(SmsArrivalRecord::decode(QByteArray()).text.isEmpty());
}

TEST(SmsTimeStamps, ZonesAndMalformedStamps) {
  struct Case {
    const char *stamp;
    int offsetSeconds; // -1: not decoded
  } cases[] = {
      {"26121112000032", 8 * 3600},  // 32 quarter hours east
      {"26121112000000", 0},         //
      {"26121112000082", -2 * 900},  // first digit 8: west
      {"26121112000094", -14 * 900}, // first digit 9: west, 10 + 4 quarters
      {"261211120000", -1},          // 12 characters
      {"261211120", -1},             // 9 characters
      {"2612111200003A", -1},        // a letter in the zone
      {"26131112000000", -1},        // month 13
      {"26121112000032trailing", 8 * 3600},
  };
  for (const Case &c : cases) {
    const QDateTime t = SmsTimeStamp::decode(QString::fromLatin1(c.stamp));
    if (c.offsetSeconds < 0 && c.offsetSeconds == -1) {
      EXPECT_FALSE(t.isValid()) << c.stamp;
      continue;
    }
    ASSERT_TRUE(t.isValid()) << c.stamp;
    EXPECT_EQ(t.offsetFromUtc(), c.offsetSeconds) << c.stamp;
    EXPECT_EQ(t.date(), QDate(2026, 12, 11)) << c.stamp;
    EXPECT_EQ(t.time(), QTime(12, 0)) << c.stamp;
  }
  // The modem writes what the program reads back.
  const QDateTime now = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
  EXPECT_EQ(SmsTimeStamp::decode(SmsTimeStamp::encode(now, 32)), now);
  EXPECT_EQ(SmsTimeStamp::decode(SmsTimeStamp::encode(now, -10)), now);
}

TEST(SmsPartTracking, CompleteOnceEveryPartIsInInAnyOrder) {
  for (const QList<int> &order : {QList<int>{1, 2, 3}, QList<int>{3, 1, 2}, QList<int>{2, 3, 1}}) {
    SmsPartTracker t;
    for (int i = 0; i < order.size(); ++i) {
      const SmsArrivalRecord r = part("+1", 7, 3, order.at(i));
      t.count(r);
      EXPECT_EQ(t.isComplete(r), i == 2) << order.at(0) << " step " << i;
    }
    EXPECT_EQ(t.pending(), 0);
  }
  // A part that comes twice counts once.
  SmsPartTracker t;
  t.count(part("+1", 7, 2, 1));
  t.count(part("+1", 7, 2, 1));
  EXPECT_FALSE(t.isComplete(part("+1", 7, 2, 1)));
  t.count(part("+1", 7, 2, 2));
  EXPECT_TRUE(t.isComplete(part("+1", 7, 2, 2)));
}

TEST(SmsPartTracking, SendersKindsAndTotalsAreKeptApart) {
  SmsPartTracker t;
  // Two senders with one 8-bit reference, interleaved.
  t.count(part("+1", 5, 2, 1));
  t.count(part("+2", 5, 2, 1));
  EXPECT_FALSE(t.isComplete(part("+1", 5, 2, 1)));
  EXPECT_FALSE(t.isComplete(part("+2", 5, 2, 1)));
  t.count(part("+1", 5, 2, 2));
  EXPECT_TRUE(t.isComplete(part("+1", 5, 2, 2)));
  EXPECT_FALSE(t.isComplete(part("+2", 5, 2, 1)));
  // The 16-bit reference is the key with kind 8, whatever the 8-bit field holds.
  t.count(part("+3", 1, 2, 1, 8, 0x1234));
  EXPECT_FALSE(t.isComplete(part("+3", 99, 2, 1, 8, 0x1234)));
  EXPECT_TRUE(t.isComplete(part("+3", 1, 2, 1, 0, 0x1234))); // kind 0: another message
  // A total of 0 or 1 and a single message are complete at once.
  SmsArrivalRecord single;
  EXPECT_TRUE(t.isComplete(single));
  EXPECT_TRUE(t.isComplete(part("+4", 1, 0, 1)));
  EXPECT_TRUE(t.isComplete(part("+4", 1, 1, 1)));
}

TEST(SmsArrivalText, HoldsOnlyTheMessageBeingReceived) {
  SmsArrivalText text;
  SmsArrivalRecord a;
  a.number = "+1";
  a.text = "earlier";
  text.append(a);
  SmsArrivalRecord p1 = part("+2", 9, 2, 1);
  p1.text = "Hello ";
  text.append(p1);
  EXPECT_EQ(text.text(), QStringLiteral("Hello "));
  SmsArrivalRecord p2 = part("+2", 9, 2, 2);
  p2.text = "world";
  text.append(p2);
  EXPECT_EQ(text.text(), QStringLiteral("Hello world"));
  SmsArrivalRecord b;
  b.number = "+3";
  b.text = "next";
  text.append(b);
  EXPECT_EQ(text.text(), QStringLiteral("next"));
}

TEST(SmsSpecialNumbers, MatchingRule) {
  struct Case {
    const char *a, *b;
    bool exact;
    int threshold;
    bool match;
  } cases[] = {
      {"+8613912345678", "013912345678", false, 8, true}, // +CC against 0: the last 8 agree
      {"+8613912345678", "013912345678", true, 8, false}, // exact mode
      {"+8613912345678", "+8613912345678", true, 8, true},
      {"13912345678", "13912345679", false, 8, false},
      {"10086", "12310086", false, 8, true}, // five digits: the last five compared
      {"10086", "12310087", false, 8, false},
      {"123", "456", false, 0, true},  // threshold 0: every pair
      {"123", "456", false, -3, true}, // below 0 counts as 0
      {"", "456", false, 0, false},    // an empty sender never matches
      {"", "", false, 8, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(smsarrival::ifTwoNumbersMatch(QString::fromLatin1(c.a), QString::fromLatin1(c.b), c.exact, c.threshold),
              c.match)
        << c.a << " / " << c.b << " exact " << c.exact << " threshold " << c.threshold;
}

TEST(SmsCounts, EntriesCountTheirParts) {
  const QVariantMap longOne{{"concatSmsFlag", true}, {"concatSmsInfo", QVariantMap{{"totalNum", 3}}}};
  const QVariantMap single{{"concatSmsFlag", false}, {"smsInfo", QVariantMap{{"stat", 0}}}};
  EXPECT_EQ(smsarrival::countOfEntry(longOne, 0) + smsarrival::countOfEntry(single, 0), 4);
  EXPECT_EQ(smsarrival::countOfEntry(QVariantMap{{"stat", "2/2"}}, 2), 2);
  EXPECT_EQ(smsarrival::countOfEntry(QVariantMap{{"stat", ""}}, 2), 1);
  EXPECT_EQ(smsarrival::countOfEntry(QVariantMap{{"stat", "x"}}, 2), 1);
  // The stored form keeps the count in full: "12/12" counts 12, not its first digit.
  EXPECT_EQ(smsarrival::countOfEntry(QVariantMap{{"stat", "12/12"}}, 2), 12);
  const QVariantMap parts{
      {"concatSmsFlag", true},
      {"smsInfo", QVariantList{QVariantMap{{"stat", 0}}, QVariantMap{{"stat", 1}}, QVariantMap{{"stat", 0}}}}};
  EXPECT_EQ(smsarrival::unreadPartsOf(parts), 2);
  EXPECT_EQ(smsarrival::unreadPartsOf(single), 1);
  EXPECT_EQ(smsarrival::fill(QStringLiteral("%@ (%d/%d)"), {"PC", "3", "10"}), QStringLiteral("PC (3/10)"));
}

} // namespace
