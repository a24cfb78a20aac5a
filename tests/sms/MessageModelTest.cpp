#include "QELMessageModel.h"
#include "SmsFixture.h"
#include "SmsRecord.h"

namespace {

using records::flatDraft;
using records::longMessage;
using records::part;
using records::single;

const QDateTime kNow(QDate(2026, 12, 10), QTime(12, 0), QTimeZone::utc());

class MessageModel : public ::testing::Test {
protected:
  QELMessageModelManager &manager = *QELMessageModelManager::sharedQELMessageModelManagerInstance();
  void SetUp() override {
    SmsClock::setForTesting([] { return kNow; }, QTimeZone::utc());
  }
  void TearDown() override { SmsClock::setForTesting(nullptr); }
};

TEST_F(MessageModel, RecordsConvertToMessagesAndBack) {
  // Parts stored out of order: 2, then 1; the text keeps stored order, the PDU sequence order.
  const QVariantMap longTwoOfThree =
      longMessage({part("second ", "+1555", 1, 2, "P2"), part("first", "+1555", 0, 1, "P1")}, "+1555", 0, 3);
  struct Case {
    const char *name;
    QVariantMap record;
    bool concat;
    QString text;
    QString pdu;
    int status, total, realTotal;
  };
  const Case cases[] = {
      {"single", single("hello", "+1444", 1), false, "hello", "", 1, 1, 1},
      {"long, two of three parts", longTwoOfThree, true, "second first", "P1P2", 0, 3, 2},
      {"flat draft", flatDraft("draft", "+1;+2"), false, "draft", "", 2, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QELMessagePtr m = manager.qelMessageModelProtocolWithSMSFileStrut(c.record, 5);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->isConcatMessage(), c.concat);
    EXPECT_EQ(m->getMessageText(), c.text);
    EXPECT_EQ(m->getMessagePDU(), c.pdu);
    EXPECT_EQ(m->getMessageStatus(), c.status);
    EXPECT_EQ(m->getMessageTotalNum(), c.total);
    EXPECT_EQ(m->getMessageRealTotalNum(), c.realTotal);

    const QVariantMap back = manager.getSmsContentDictWithMessageProtocol(*m);
    if (c.status == 2) {
      EXPECT_TRUE(SmsRecord::isFlat(back));
      EXPECT_EQ(back.value("stat").toString(), "");
      EXPECT_EQ(back.value("mobilephone").toString(), "+1;+2");
      continue;
    }
    EXPECT_EQ(back.value("concatSmsFlag").toBool(), c.concat);
    EXPECT_EQ(SmsRecord::text(back), c.text);
    EXPECT_EQ(SmsRecord::storedParts(back), c.realTotal);
    EXPECT_EQ(SmsRecord::readState(back), c.status);
    // Converting the record again gives the same message.
    const QELMessagePtr again = manager.qelMessageModelProtocolWithSMSFileStrut(back, 5);
    EXPECT_EQ(again->getMessageText(), c.text);
    EXPECT_EQ(again->getMessagePDU(), c.pdu);
  }
}

TEST_F(MessageModel, KeyLookupAndTheNilRule) {
  const QVariantMap longRecord =
      longMessage({part("a", "+1", 1, 1), part("b", "+1", 0, 2), part("c", "+1", 1, 3)}, "+1", 0, 3);
  EXPECT_EQ(manager.getMessageValueWithMessage(longRecord, "messagetext").toString(), "abc");
  EXPECT_EQ(manager.getMessageValueWithMessage(longRecord, "totalNum").toInt(), 3);
  EXPECT_EQ(manager.getMessageValueWithMessage(single("x", "+2", 0), "totalNum").toInt(), 1);
  EXPECT_EQ(manager.getMessageValueWithMessage(single("x", "+2", 0), "sca").toString(), "+15550000000");
  // The second part unread and the third read: the whole message is unread.
  EXPECT_EQ(manager.qelMessageModelProtocolWithSMSFileStrut(longRecord, QVariant())->getMessageStatus(), 0);

  // A single message without name, PDU or date gets "", 0 and the current time.
  QELSingleMessage bare(QString("t"), QString(), QString("+3"), 1, false, QString(), QDateTime(), QVariant(),
                        QVariant(), QString(), QVariant());
  const QVariantMap record = manager.getSmsContentDictWithMessageProtocol(bare);
  const QVariantMap info = record.value("smsInfo").toMap();
  EXPECT_EQ(info.value("seqNum").toInt(), 0);
  EXPECT_EQ(info.value("pdu").toString(), "");
  EXPECT_EQ(info.value("date").toDateTime(), kNow);
  EXPECT_EQ(record.value("concatSmsInfo").toMap().value("username").toString(), "");
  EXPECT_TRUE(record.value("concatSmsInfo").toMap().value("username").toString().isEmpty());
  // A status that is no record state has no record.
  bare.setMessageStatus(7);
  EXPECT_TRUE(manager.getSmsContentDictWithMessageProtocol(bare).isEmpty());
  EXPECT_FALSE(manager.qelMessageModelProtocolWithSMSFileStrut(QVariantMap(), 0));
}

TEST_F(MessageModel, ACompositeWithoutPartsAnswersTheNilRule) {
  QELCompositeConcatMessage empty;
  EXPECT_EQ(empty.getMessageText(), "");
  EXPECT_EQ(empty.getUserName(), "");
  EXPECT_EQ(empty.getPhoneNum(), "");
  EXPECT_EQ(empty.getMessagePID().toInt(), 0);
  EXPECT_EQ(empty.getMessageTotalNum(), 0);
  EXPECT_EQ(empty.getMessageDate(), kNow);
  EXPECT_EQ(empty.getMessageStatus(), 1);
  EXPECT_EQ(empty.getMessageRealTotalNum(), 0);
  // The record of an empty "smsInfo" converts to such a composite and back without parts.
  const QVariantMap record = longMessage({}, "+1", 1, 2);
  const QELMessagePtr m = manager.qelMessageModelProtocolWithSMSFileStrut(record, 3);
  EXPECT_EQ(m->getMessageStoredIndex().toInt(), 3);
  EXPECT_EQ(SmsRecord::storedParts(manager.getSmsContentDictWithMessageProtocol(*m)), 0);
  // Setters that would change only one part are ignored.
  m->setUserName("someone");
  m->setMessageStatus(0);
  EXPECT_EQ(m->getUserName(), "");
}

TEST_F(MessageModel, ParameterDictionariesAndReports) {
  const QVariantMap params{{"messageText", "p"}, {"phoneNum", "+9"}, {"messageStatus", 1}, {"box", 1}};
  EXPECT_FALSE(QELMessageModelManager::getQelMessageFromMessageParam(params)->isConcatMessage());
  QVariantMap partParams = params;
  partParams.insert("concatSmsFlag", true);
  partParams.insert("messageTotalNum", 2);
  EXPECT_EQ(QELMessageModelManager::getQelMessageFromMessageParam(partParams)->getMessageTotalNum(), 2);
  const QELMessagePtr composite =
      QELMessageModelManager::getQelMessageFromMessageParam(QVariantList{partParams, partParams});
  EXPECT_EQ(composite->getMessageText(), "pp");
  EXPECT_EQ(composite->messageBox().toInt(), 1);
  EXPECT_FALSE(QELMessageModelManager::getQelMessageFromMessageParam(QVariant(3)));

  // Reports: nil fields take the nil rule; the date shows its first 19 characters.
  QELMessageDeliveryReport report;
  const QVariantMap stored = manager.deliveryReportFileStructWithQELMessageDeliveryReport(report);
  EXPECT_EQ(stored.value("RESULT").toInt(), 0);
  EXPECT_EQ(stored.value("messagetext").toString(), "");
  EXPECT_EQ(stored.value("date").toDateTime(), kNow);
  const QELMessageDeliveryReport back =
      manager.qELMessageDeliveryReportWithdeliveryReportFileStruct({{"messagetext", "delivered"},
                                                                    {"RESULT", 1},
                                                                    {"username", "Ann"},
                                                                    {"mobilephone", "+7"},
                                                                    {"date", kNow},
                                                                    {"stat", 0}});
  EXPECT_EQ(back.reportText(), "delivered");
  EXPECT_EQ(back.receiver(), "Ann");
  EXPECT_EQ(back.dateFormatString(), "2026-12-10 12:00:00");
  QELMessageDeliveryReport patterned = back;
  patterned.setDateFormatPattern("%d.%m.%Y %H:%M");
  EXPECT_EQ(patterned.dateFormatString(), "10.12.2026 12:00");
  EXPECT_EQ(QELMessageDeliveryReport("t", 1, QString("yesterday"), "r", "+1", kNow).dateFormatString(), "yesterday");
  EXPECT_EQ(QELMessageModelManager::dateFormatStringWithDate(QDateTime(), QString()), "");
}

TEST(StoredParts, CountedInParts) {
  const QVariantList box{single("a", "1", 0), single("b", "2", 1),
                         longMessage({part("x", "3", 0, 1), part("y", "3", 0, 2), part("z", "3", 0, 3)}, "3", 0, 3)};
  EXPECT_EQ(SmsRecord::smsNumberInBox(box), 5);
  EXPECT_EQ(SmsRecord::unreadCount(box), 2);
  // A long record with two of its three parts counts 2.
  EXPECT_EQ(SmsRecord::storedParts(longMessage({part("x", "3", 0, 1), part("z", "3", 0, 3)}, "3", 0, 3)), 2);
  EXPECT_EQ(SmsRecord::storedParts(flatDraft("d", "1")), 1);
}

} // namespace
