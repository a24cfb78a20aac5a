// The send request (768/91) both sides read, and the per-part result the backend answers.
#include "SmsSendRequest.h"

#include <gtest/gtest.h>

namespace {

TEST(SmsSendRequest, RoundTripAndWhatDoesNotFit) {
  SmsSendRequest r;
  r.centre = QStringLiteral("+15550000");
  r.report = true;
  r.text = QString::fromUtf8("Héllo ✓");
  r.number = QStringLiteral("+15550123");
  r.ref = 200;
  r.saveInBox = true;
  r.returnResult = false;
  const std::optional<QByteArray> bytes = r.encode();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), SmsSendRequest::kSize);
  const std::optional<SmsSendRequest> back = SmsSendRequest::decode(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->centre, r.centre);
  EXPECT_EQ(back->text, r.text);
  EXPECT_EQ(back->number, r.number);
  EXPECT_EQ(back->ref, 200);
  EXPECT_TRUE(back->report && back->saveInBox && !back->returnResult);

  struct Case {
    const char *what;
    int textUnits;
    int numberBytes;
    bool fits;
  };
  const Case cases[] = {
      {"the longest text", SmsSendRequest::kMaxTextUnits, 10, true},
      {"one unit more", SmsSendRequest::kMaxTextUnits + 1, 10, false},
      {"the longest number", 10, SmsSendRequest::kNumberWidth - 1, true},
      {"one byte more", 10, SmsSendRequest::kNumberWidth, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SmsSendRequest s;
    s.text = QString(c.textUnits, QLatin1Char('a'));
    s.number = QString(c.numberBytes, QLatin1Char('1'));
    EXPECT_EQ(s.encode().has_value(), c.fits);
  }
}

TEST(SmsSendRequest, DecodeRefusesShortPayloadsAndOverlongLengths) {
  EXPECT_FALSE(SmsSendRequest::decode(QByteArray(SmsSendRequest::kSize - 1, '\0')));
  QByteArray bytes = *SmsSendRequest{}.encode();
  smssend_detail::putU32(bytes, SmsSendRequest::kTextLengthOffset, SmsSendRequest::kMaxTextUnits + 1);
  EXPECT_FALSE(SmsSendRequest::decode(bytes));
  // A number filling its whole field without a terminator is read within the field.
  bytes = *SmsSendRequest{}.encode();
  bytes.replace(SmsSendRequest::kNumberOffset, SmsSendRequest::kNumberWidth,
                QByteArray(SmsSendRequest::kNumberWidth, '9'));
  EXPECT_EQ(SmsSendRequest::decode(bytes)->number.size(), SmsSendRequest::kNumberWidth);
}

TEST(SmsSendResult, PartsAreCountedWithinTheReply) {
  const auto result = [](const QByteArray &payload) {
    UIMsg msg;
    msg.setPayload(payload);
    return SmsSendResult::fromPackage(msg);
  };
  const SmsSendResult mixed = result(SmsSendResult::payload({true, false, true}));
  EXPECT_EQ(mixed.ok, 2);
  EXPECT_EQ(mixed.failed, 1);
  // More parts than a message can have are held to the limit.
  QByteArray tooMany = SmsSendResult::payload({true});
  smssend_detail::putU32(tooMany, SmsSendResult::kCountOffset, 1000);
  EXPECT_EQ(result(tooMany).parts(), SmsSendResult::kMaxParts);
  EXPECT_EQ(result(QByteArray()).parts(), 0);
}

} // namespace
