// Decoding the backend's call packages, the number filter and the worded time format.
#include "CallPackages.h"
#include "CompoundCallController.h"
#include "TextFormats.h"
#include "UIMsg.h"
#include "VoiceCalls.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

UIMsg withData(const QByteArray &data) {
  UIMsg m;
  m.setPayload(data);
  return m;
}

QByteArray word(quint32 v) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(v, b.data());
  return b;
}

TEST(CallPackages, CallerListRoundTripsTheSimulatorsEncoding) {
  const QList<VoiceCalls::Caller> callers = {{1, 0, 0, QStringLiteral("5551")}, {2, 1, 5, QStringLiteral("+4930123")}};
  const QList<CallPackages::CallerRecord> decoded =
      CallPackages::callerList(withData(VoiceCalls::encodeCallerList(callers)));
  ASSERT_EQ(decoded.size(), 2);
  EXPECT_EQ(decoded.at(1).id, 2);
  EXPECT_EQ(decoded.at(1).direction, 1);
  EXPECT_EQ(decoded.at(1).state, 5);
  EXPECT_EQ(decoded.at(1).number, QStringLiteral("+4930123"));
}

TEST(CallPackages, CallerCountIsClampedToEightAndToTheDataReceived) {
  QByteArray full(CallPackages::kCallerListSize, '\0');
  full.replace(0, 4, word(1000));
  EXPECT_EQ(CallPackages::callerList(withData(full)).size(), 8);
  // Room for two records only.
  QByteArray shortData = word(5) + QByteArray(2 * CallPackages::kCallerRecordSize + 10, '\0');
  EXPECT_EQ(CallPackages::callerList(withData(shortData)).size(), 2);
  EXPECT_TRUE(CallPackages::callerList(withData(QByteArray(3, '\x7f'))).isEmpty());
  EXPECT_TRUE(CallPackages::callerList(withData(word(0xFFFFFFFFu))).isEmpty());
}

TEST(CallPackages, NumbersAreReadWithinTheirFields) {
  // A caller number without its terminator stops at its 56-byte field, not in the next record.
  QByteArray data(CallPackages::kCallerListSize, 'x');
  data.replace(0, 4, word(2));
  for (int i = 0; i < 2; ++i)
    data.replace(4 + i * CallPackages::kCallerRecordSize, 12, word(i + 1) + word(0) + word(0));
  EXPECT_EQ(
      CallPackages::textAt(withData(data), 4 + CallPackages::kCallerNumberOffset, CallPackages::kCallerNumberWidth)
          .size(),
      CallPackages::kCallerNumberWidth);
  // Incoming and waiting numbers have their own widths: a digit just past the field is not read.
  QByteArray incoming(CallPackages::kIncomingNumberWidth, 'x');
  incoming.replace(0, 3, "123");
  EXPECT_EQ(CallPackages::incomingNumber(withData(incoming + "4")), QStringLiteral("123"));
  QByteArray waiting(CallPackages::kWaitingNumberWidth, 'x');
  waiting.replace(CallPackages::kWaitingNumberWidth - 1, 1, "5");
  EXPECT_EQ(CallPackages::waitingNumber(withData(waiting + "6")), QStringLiteral("5"));
  EXPECT_EQ(CallPackages::stageCode(withData(QByteArray(2, '\1'))), 0);
}

TEST(CallPackages, NumbersFromTheBackendKeepOnlyWhatADialStringHolds) {
  struct Case {
    QByteArray field;
    const char *kept;
  } cases[] = {
      {QByteArray("\x01\x02\x1b]x;\x07+49\t30\r\n123"), "+4930123"},
      {QByteArray("*100#\x7f"), "*100#"},
      {QByteArray("12P34W5 (Name)"), "12P34W5"},
      {QByteArray("\xc2\x85\xe2\x80\xae"
                  "555"),
       "555"}, // C1 control, right-to-left override
      {QByteArray(116, '\x01'), ""},
      {QByteArray(116, '8'), "88888888888888888888888888888888"}, // capped to the field's 32
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CallPackages::incomingNumber(withData(c.field)), QString::fromLatin1(c.kept)) << c.field.toHex().data();
    EXPECT_EQ(CallPackages::waitingNumber(withData(c.field.left(CallPackages::kWaitingNumberWidth))),
              QString::fromLatin1(c.kept).left(CallPackages::kWaitingNumberWidth))
        << c.field.toHex().data();
    // The same number in a caller-list record.
    QByteArray list =
        word(1) + word(7) + word(1) + word(4) + QByteArray(8, '\0') + c.field.left(CallPackages::kCallerNumberWidth);
    list.append(QByteArray(CallPackages::kCallerListSize - list.size(), '\0'));
    const auto callers = CallPackages::callerList(withData(list));
    ASSERT_EQ(callers.size(), 1);
    EXPECT_EQ(callers.first().number, QString::fromLatin1(c.kept)) << c.field.toHex().data();
  }
}

TEST(CallPackages, EmergencyNumbersStopAtTheFirstEmptyOne) {
  QByteArray data(16 * 36, '\0');
  data.replace(0, 3, "112");
  data.replace(36, 3, "911");
  data.replace(3 * 36, 3, "999"); // after the gap: not read
  EXPECT_EQ(CallPackages::emergencyNumbers(withData(data)), QStringList({"112", "911"}));
  EXPECT_EQ(CallPackages::emergencyNumbers(withData(QByteArray(16 * 36, '1'))).size(), 16);
}

TEST(CallPackages, DialDataIsTheNumberZeroFilledToOneHundredBytes) {
  const QByteArray d = CallPackages::dialData(QStringLiteral("+123"));
  EXPECT_EQ(d.size(), 100);
  EXPECT_EQ(d.left(5), QByteArray("+123\0", 5));
  EXPECT_EQ(CallPackages::dialData(QString(300, QLatin1Char('9'))).size(), 100);
}

TEST(CallNumberFilter, KeepsDialCharactersOnlyAndAtMostThirtyTwo) {
  struct Case {
    const char *typed;
    const char *kept;
  } cases[] = {
      {"+49 (30) 123-456", "+4930123456"}, {"*100#", "*100#"}, {"12P34W5", "12P34W5"}, {"abc p w", ""},
      {"0123456789", "0123456789"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(CompoundCallController::filterDialNumber(QString::fromLatin1(c.typed)), QString::fromLatin1(c.kept))
        << c.typed;
  EXPECT_EQ(CompoundCallController::filterDialNumber(QString(33, QLatin1Char('1'))).size(), 32);
}

TEST(WordedFormat, ConversionsAreFilledInOrderNeverAsPrintf) {
  struct Case {
    const char *format;
    QVariantList values;
    const char *out;
  } cases[] = {
      {"Time:%02d:%02d:%02d", {1, 2, 3}, "Time:01:02:03"},
      {"Time:%02d:%02d:%02d", {10, 0, 59}, "Time:10:00:59"},
      // A translation that asks for texts gets the numbers as texts; nothing is read past them.
      {"%s:%s:%s %s %s %n", {1, 2, 3}, "1:2:3   %n"},
      {"Zeit %@ (%d%%)", {QStringLiteral("x"), 5}, "Zeit x (5%)"},
      {"%5d|%-3d|", {42, 7}, "   42|7  |"},
      {"100%", {}, "100%"},
      {"%", {}, "%"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(fillWordedFormat(QString::fromLatin1(c.format), c.values), QString::fromLatin1(c.out)) << c.format;
}

} // namespace
