#include "SmsService.h"
#include "SmsFixture.h"
#include "SmsRecord.h"

namespace {

using records::flatDraft;
using records::longMessage;
using records::part;
using records::single;

const QVariantMap kConditions{{"FlowValueSMS_PhoneNumber", "8888"},
                              {"FLowValueSMS_Bandbreite", "volume"},
                              {"FlowValueSMS_SeventyFivePercentKey", "75%"},
                              {"FlowValueSMS_OneHundredPercentKey1", "100%"},
                              {"FlowValueSMS_OneHundredPercentKey2", "used up"}};

class Service : public SmsFixture {
protected:
  QVariantMap settings() const override {
    return {{"SMS", QVariantMap{{"SMS_FlowValueSMSJudegeConditions", kConditions},
                                {"Sms_ReplaceSpecialNumberToSpecialString_IfNeeded", true},
                                {"SpecialNumberToHidden",
                                 QVariantList{QVariantMap{{"NumberToHidden", "1234"}, {"NameToShow", "Service"}}}},
                                {"SpecialSMS", QVariantMap{{"TO_NUMBER", "5000"}}},
                                {"NoShowNewSMSWndWithCertainContent", true}}},
            {"DefaultPhoneSeparator", ","},
            {"PurchargeBySMS", QVariantMap{{"PurchargeBySMS_ServerNumber", "7777"},
                                           {"PurchargeBySMS_ConfirmPurchaseResponse", "confirm"},
                                           {"PurchargeBySMS_Done", "activated"}}}};
  }

  // Sets the clock and the local zone.
  void at(const QDateTime &now, const QTimeZone &zone) {
    SmsClock::setForTesting([now] { return now; }, zone);
  }
};

TEST_F(Service, ExpiryIsThe22ndInTheLocalZone) {
  const QTimeZone tokyo("Asia/Tokyo"), utc = QTimeZone::utc(), ny("America/New_York");
  struct Case {
    const char *name;
    QDateTime arrival;
    QTimeZone zone;
    QDateTime deadline;
  };
  const Case cases[] = {
      {"21st", QDateTime(QDate(2026, 3, 21), QTime(23, 58), utc), utc, QDateTime(QDate(2026, 3, 22), QTime(0, 0), utc)},
      {"22nd", QDateTime(QDate(2026, 3, 22), QTime(0, 0), utc), utc, QDateTime(QDate(2026, 4, 22), QTime(0, 0), utc)},
      {"31 December", QDateTime(QDate(2026, 12, 31), QTime(12, 0), utc), utc,
       QDateTime(QDate(2027, 1, 22), QTime(0, 0), utc)},
      // 00:30 local on the 22nd east of UTC is still the 21st in UTC: the local day counts.
      {"00:30 on the 22nd in Tokyo", QDateTime(QDate(2026, 5, 22), QTime(0, 30), tokyo), tokyo,
       QDateTime(QDate(2026, 6, 22), QTime(0, 0), tokyo)},
      // 20:00 on the 21st in New York is the 22nd in UTC.
      {"20:00 on the 21st in New York", QDateTime(QDate(2026, 5, 21), QTime(20, 0), ny), ny,
       QDateTime(QDate(2026, 5, 22), QTime(0, 0), ny)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    at(c.arrival.addSecs(60), c.zone);
    const QDateTime deadline = SmsService::deadlineForArrival(c.arrival.toUTC());
    EXPECT_EQ(deadline, c.deadline) << deadline.toString(Qt::ISODate).toStdString();
    SmsService service;
    EXPECT_FALSE(service.checkIsOverdueByDate(c.arrival)); // a minute after arrival
    at(c.deadline, c.zone);
    EXPECT_TRUE(service.checkIsOverdueByDate(c.arrival));
  }
  EXPECT_FALSE(SmsService::deadlineForArrival(QDateTime()).isValid());
}

TEST_F(Service, DataUsageMessagesAreRememberedUntilTheyExpire) {
  const QTimeZone utc = QTimeZone::utc();
  const QDateTime arrival(QDate(2026, 3, 10), QTime(8, 0), utc);
  at(arrival, utc);
  // The settings have no "FlowValueSmsInfo" module: it is created.
  ASSERT_FALSE(config->getConfigurationByModule("FlowValueSmsInfo").isValid());
  SmsService service;
  EXPECT_EQ(service.checkFlowValueTypeBySmsPhoneNumber("8888", "Your volume is 75% used"), 0);
  EXPECT_EQ(service.checkFlowValueTypeBySmsPhoneNumber("8888", "Your volume is used up (100%)"), 1);
  EXPECT_EQ(service.checkFlowValueTypeBySmsPhoneNumber("8888", "75% of your volume"), 2); // key before the band
  EXPECT_EQ(service.checkFlowValueTypeBySmsPhoneNumber("9999", "Your volume is 75% used"), 2);

  EXPECT_TRUE(service.checkIsValidFlowValueSmsBySMSContent("Your volume is 100% used", "8888", arrival));
  EXPECT_EQ(service.getFlowValueInfoFromFile(), 1);
  // 75 % after 100 % changes nothing; nor does a second 100 %.
  EXPECT_FALSE(service.checkIsValidFlowValueSmsBySMSContent("Your volume is 75% used", "8888", arrival));
  EXPECT_FALSE(service.checkIsValidFlowValueSmsBySMSContent("Your volume is 100% used", "8888", arrival));
  EXPECT_EQ(service.flowValueSmsInfo().value("FlowSmsContent").toString(), "Your volume is 100% used");
  // Written to the file: a second process reads it.
  startConfig();
  SmsService reader;
  EXPECT_EQ(reader.getFlowValueInfoFromFile(), 1);
  EXPECT_FALSE(reader.isOverDueFlowValueSms());
  at(QDateTime(QDate(2026, 3, 22), QTime(0, 0), utc), utc);
  EXPECT_TRUE(reader.isOverDueFlowValueSms());
  EXPECT_EQ(reader.applicationIconName(), "icon.icns.png");
  EXPECT_EQ(reader.getFlowValueInfoFromFile(), 2);

  // With 75 % remembered, 100 % replaces it; an overdue message is never valid.
  SmsService again;
  const QDateTime april(QDate(2026, 4, 1), QTime(8, 0), utc);
  at(april, utc);
  EXPECT_TRUE(again.checkIsValidFlowValueSmsBySMSContent("Your volume is 75% used", "8888", april));
  EXPECT_TRUE(again.checkIsValidFlowValueSmsBySMSContent("Your volume is used up", "8888", april));
  EXPECT_EQ(again.getFlowValueInfoFromFile(), 1);
  EXPECT_FALSE(again.checkIsValidFlowValueSmsBySMSContent("Your volume is 100% used", "8888", arrival));
}

TEST_F(Service, PurchaseMessagesAndBundleLists) {
  SmsService service;
  EXPECT_FALSE(service.checkSMSIsPurChaseSMSBySmsPhoneNumber("1111", "activated"));
  EXPECT_TRUE(service.checkSMSIsPurChaseSMSBySmsPhoneNumber("7777", "Your bundle is activated"));
  EXPECT_EQ(service.processOfRechargeBySMS(), "PurchargeBySMS_Done");
  EXPECT_TRUE(service.checkSMSIsPurChaseSMSBySmsPhoneNumber("7777", "Hello"));
  EXPECT_EQ(service.processOfRechargeBySMS(), "PurchargeBySMS_ConfirmPurchaseResponse");
  EXPECT_EQ(service.purchaseSMSContent(), "Hello");

  EXPECT_EQ(service.broadBandList().size(), 4);
  service.parseBroadBandListFromSMSContent("Choose ON VOL1GB/month or ON VOL5GB to 7777");
  EXPECT_EQ(service.broadBandList(), QStringList({"ON VOL1GB", "ON VOL5GB"}));
  service.parseBroadBandListFromSMSContent("ON VOL9GB"); // no end: nothing kept, no failure
  EXPECT_EQ(service.broadBandList(), QStringList({"ON VOL1GB", "ON VOL5GB"}));
  service.parseConfigInformationFromSMSContent("Please SEND ON VOL1GB to 7777 now");
  EXPECT_EQ(service.configSMSContent(), "ON VOL1GB");
  service.parseConfigInformationFromSMSContent("nothing to send here");
  EXPECT_EQ(service.configSMSContent(), "ON VOL1GB");
}

TEST_F(Service, NumbersFlagsAndLists) {
  SmsService service;
  EXPECT_EQ(service.phoneSeparator(), ",");
  EXPECT_EQ(service.searchMultiPhoneNumber("+1"), "+1");
  EXPECT_EQ(service.searchMultiPhoneNumber("+1,+2,,+3"), "+1,+2,+3");
  EXPECT_EQ(service.searchMultiPhoneNumber(","), "");
  EXPECT_EQ(service.searchMultiPhoneNumber(QString()), "");
  EXPECT_EQ(service.getDictionaryContainsSpeicalNumberAndSpeicalStringWithPhoneNumber("1234").value("NameToShow"),
            "Service");
  EXPECT_EQ(service.getDictionaryContainsSpeicalNumberAndSpeicalString("Service").value("NumberToHidden"), "1234");
  EXPECT_TRUE(service.getDictionaryContainsSpeicalNumberAndSpeicalStringWithPhoneNumber("999").isEmpty());

  service.saveSendSuccessResultBySendCount(3, 3);
  EXPECT_TRUE(service.sendingSMSSuccess());
  service.saveSendSuccessResultBySendCount(3, 2);
  EXPECT_FALSE(service.sendingSMSSuccess());
  service.saveSendSuccessResultBySendCount(2, 3);
  EXPECT_FALSE(service.sendingSMSSuccess());

  EXPECT_FALSE(service.isShowCheckUsageRespondedSMS("5000"));
  service.setBAlreadySendedCheckUsageSMS(true);
  EXPECT_TRUE(service.isShowCheckUsageRespondedSMS("5000"));
  EXPECT_FALSE(service.isShowCheckUsageRespondedSMS("5001"));

  const QVariantList inBox{single("Your volume is 75% used", "8888", 0), single("read", "2", 1),
                           longMessage({part("x", "3", 0, 1)}, "3", 0, 2)};
  EXPECT_EQ(SmsService::getUnreadSMSCountFromSMSList(inBox), 2);
  EXPECT_EQ(service.getUnreadSMSInPos(AT_PC, inBox).size(), 2);
  EXPECT_TRUE(service.getUnreadSMSInPos(AT_ME, inBox).isEmpty());
  EXPECT_TRUE(service.checkPos(AT_PC, 0));
  EXPECT_FALSE(service.checkPos(AT_PC, 1));
  EXPECT_FALSE(service.checkPos(AT_SIM, 0));

  service.makeSimSmsDelList(QVariantList{QVariantMap{{"srcIndex", 1}}, QVariantMap{{"srcIndex", 4}}}, OutBox);
  ASSERT_EQ(service.delSimSmsList().size(), 2);
  EXPECT_EQ(service.delSimSmsList().first().toMap(), (QVariantMap{{"pos", 1}, {"box", 1}, {"index", 4}}));
  service.makeSaveSmsBySrcPos(1, 0, 0, 3);
  EXPECT_EQ(service.saveToList().size(), 1);
  EXPECT_EQ(service.saveToList().first().toMap().value("destPos").toInt(), 0);
}

TEST_F(Service, PcBoxesAreReadNamedAndWritten) {
  Plist::writeFile(listPath("SmsList_PC.plist"),
                   QVariantMap{{"InBox", QVariantList{single("one", "+1", 0), single("two", "+2", 1)}},
                               {"DraftBox", QVariantList{flatDraft("d", "+5,+6")}}});
  SmsService service;
  QVariantList inBox = service.getAllPcListByBox(InBox);
  ASSERT_EQ(inBox.size(), 2);
  EXPECT_EQ(inBox.at(1).toMap().value("index").toInt(), 1);
  EXPECT_EQ(inBox.at(1).toMap().value("concatSmsInfo").toMap().value("username").toString(), "+2");
  EXPECT_EQ(service.getAllPcListByBox(DraftBox).first().toMap().value("username").toString(), "+5,+6");
  EXPECT_TRUE(service.getAllPcListByBox(DELIVERY_REPORTBOX).isEmpty());

  // Deleting the first message while another process has put a new one in front deletes "one".
  SmsListFiles::insertIntoBox(listPath("SmsList_PC.plist"), InBox, single("new", "+9", 0), true);
  ASSERT_TRUE(service.deleteSMSlist(QVariantList{QVariantMap{{"srcIndex", 0}}}, InBox));
  inBox = service.getAllPcListByBox(InBox);
  ASSERT_EQ(inBox.size(), 2);
  EXPECT_EQ(inBox.at(0).toMap().value("smsInfo").toMap().value("messagetext").toString(), "new");
  EXPECT_EQ(inBox.at(1).toMap().value("smsInfo").toMap().value("messagetext").toString(), "two");
  // The reader's additions never reach the file.
  QVariantMap onDisk;
  Plist::readDictionary(listPath("SmsList_PC.plist"), &onDisk);
  EXPECT_FALSE(onDisk.value("InBox").toList().first().toMap().contains("index"));
  EXPECT_EQ(onDisk.value("DraftBox").toList().size(), 1); // other boxes kept

  EXPECT_TRUE(service.saveBroadCastAsShortMessage(single("cell news", "50", 0)));
  EXPECT_EQ(service.pcList(BroadCastBox).size(), 1);
}

} // namespace
