// The USSD request and reply record: sizes, the text field's bounds and the coding schemes.
#include "UssdRecord.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray reply(qint32 n, qint32 dcs, const QByteArray &text, int size = UssdRecord::kRecordSize) {
  QByteArray r(size, '\0');
  qToLittleEndian<qint32>(n, r.data());
  qToLittleEndian<qint32>(dcs, r.data() + 4);
  std::copy(text.cbegin(), text.cbegin() + std::min<qsizetype>(text.size(), size - 8), r.begin() + 8);
  return r;
}

TEST(UssdRecord, RequestIsPackedGsmHexInA8192ByteRecord) {
  const QByteArray r = UssdRecord::requestData(1, 15, QStringLiteral("*100#"), true);
  ASSERT_EQ(r.size(), 8192);
  EXPECT_EQ(qFromLittleEndian<qint32>(r.constData()), 1);
  EXPECT_EQ(qFromLittleEndian<qint32>(r.constData() + 4), 15);
  EXPECT_EQ(QByteArray(r.constData() + 8), QByteArray("AA180C3602"));
}

TEST(UssdRecord, RequestWithoutGsmSwitchSendsUtf8OnlyForCodeType15) {
  EXPECT_EQ(QByteArray(UssdRecord::requestData(2, 15, QStringLiteral("*1ä#"), false).constData() + 8),
            QStringLiteral("*1ä#").toUtf8());
  EXPECT_EQ(UssdRecord::requestData(2, 0, QStringLiteral("*1#"), false).at(8), '\0');
}

TEST(UssdRecord, RequestThatDoesNotFitIsRefused) {
  EXPECT_TRUE(UssdRecord::requestData(1, 15, QString(8183, QLatin1Char('1')), false).size() == 8192);
  EXPECT_TRUE(UssdRecord::requestData(1, 15, QString(8184, QLatin1Char('1')), false).isEmpty());
  EXPECT_TRUE(UssdRecord::requestData(1, 15, QString(5000, QLatin1Char('1')), true).isEmpty());
}

TEST(UssdRecord, ReplyDecodesByCodingGroup) {
  const QByteArray packed = "AA180C3602"; // "*100#"
  struct Case {
    int dcs;
    QByteArray text;
    QString expected;
    bool decoded;
  } cases[] = {
      {0x0F, packed, QStringLiteral("*100#"), true},
      {0x11, "656E00480069", QStringLiteral("Hi"), true},
      {0x10, "plain", QStringLiteral("plain"), true},
      {0x20, "plain", QStringLiteral("plain"), true},
      {0x48, "00480069", QStringLiteral("Hi"), true},
      {0x40, packed, QStringLiteral("*100#"), true}, // alphabet bits 00: GSM 7-bit
      {0x44, "8bit", QStringLiteral("8bit"), true},
      {0xF0, packed, QStringLiteral("*100#"), true}, // group 15, bit 2 clear: GSM 7-bit
      {0xF4, "data", QStringLiteral("data"), true},
      {0xE0, "ignored", QString(), false},
      {0, "ignored", QString(), false},
      {-3, "ignored", QString(), false},
  };
  for (const Case &c : cases) {
    const UssdRecord::Reply r = UssdRecord::decodeReply(reply(7, c.dcs, c.text), true);
    EXPECT_EQ(r.text, c.expected) << c.dcs;
    EXPECT_EQ(r.decoded, c.decoded) << c.dcs;
    EXPECT_EQ(r.interaction, 7);
  }
}

TEST(UssdRecord, ReplyIsReadWithinItsData) {
  // A full text field without NUL stops at the record's end.
  const UssdRecord::Reply full = UssdRecord::decodeReply(reply(1, 0x10, QByteArray(9000, 'x')), true);
  EXPECT_EQ(full.text.size(), UssdRecord::kTextSize);
  // Short data: the text stops where the data does; shorter than the words reads zeros.
  EXPECT_EQ(UssdRecord::decodeReply(reply(1, 0x10, "abcdef", 11), true).text, QStringLiteral("abc"));
  const UssdRecord::Reply tiny = UssdRecord::decodeReply(QByteArray(3, '\x01'), true);
  EXPECT_EQ(tiny.dcs, 0);
  EXPECT_TRUE(tiny.text.isEmpty());
  EXPECT_EQ(UssdRecord::ucs2FromHex("0041004"), QStringLiteral("A"));
}

} // namespace
