// The USSD controller against a plug-in of the test's own: requests as they leave, the answers
// and replies the plug-in is given, and the notifications it is passed.
#include "Blowfish.h"
#include "InitController.h"
#include "InitService.h"
#include "ServicesFixture.h"
#include "USSDContrller.h"

#include <QtEndian>

namespace {

// Answers the plug-in contract by name and remembers what it was told.
class RecordingUssdPlugIn : public QObject {
  Q_OBJECT
public:
  QList<QVariantMap> responses;
  QList<int> statuses;
  QStringList sms;
  QList<QVariantMap> actions;
  int requestState = 0;
  int connectState = 0;

  Q_INVOKABLE void receiveUSSDResponse(const QVariantMap &info) { responses << info; }
  Q_INVOKABLE void OnReceiveNetCardStatusChange(int status) { statuses << status; }
  Q_INVOKABLE void readSMS(const QString &text) { sms << text; }
  Q_INVOKABLE void performUSSDAction(const QVariantMap &info) { actions << info; }
  Q_INVOKABLE int ussdRequestStates() { return requestState; }
  Q_INVOKABLE int ussdConnectStates() { return connectState; }
};

QByteArray replyRecord(int interaction, int dcs, const QByteArray &text) {
  QByteArray r(UssdRecord::kRecordSize, '\0');
  qToLittleEndian<qint32>(interaction, r.data());
  qToLittleEndian<qint32>(dcs, r.data() + 4);
  r.replace(UssdRecord::kTextOffset, text.size(), text);
  return r;
}

class UssdController : public ServicesFixture {
protected:
  bool gsm7 = true;
  std::unique_ptr<USSDContrller> ussd;
  RecordingUssdPlugIn plugIn;
  QList<QByteArray> sent;

  QVariantMap settingsOverrides() const override {
    return {{"USSD", QVariantMap{{"Ussd_codeTheSendStringWithGSM7_IfUssdModeIsOne", gsm7}}}};
  }
  void SetUp() override {
    ServicesFixture::SetUp();
    USSDContrller::setRequestObserver([this](const QByteArray &data) { sent << data; });
    ussd = std::make_unique<USSDContrller>();
    ussd->awakeFromNib();
    ussd->setBundleDelegate(&plugIn);
  }
  void TearDown() override {
    ussd.reset();
    USSDContrller::setRequestObserver({});
    ServicesFixture::TearDown();
  }
  int send(int first, int codeType, const QString &text) {
    return ussd->sendUSSDCommand({{"FIRST_PARAMETER", first}, {"CODE_TYPE", codeType}, {"CODE_STRING", text}});
  }
  static QByteArray textOf(const QByteArray &record) {
    const QByteArray field = record.mid(UssdRecord::kTextOffset);
    return field.left(field.indexOf('\0'));
  }
};

TEST_F(UssdController, RequestsArePackedAndRefusedWhole) {
  EXPECT_EQ(ussd->sendUSSDCommand({}), -1);
  EXPECT_TRUE(sent.isEmpty());
  // Five ASCII characters pack into five octets, eight into seven.
  ASSERT_EQ(send(1, 15, QStringLiteral("*100#")), 0);
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent.last().size(), UssdRecord::kRecordSize);
  EXPECT_EQ(qFromLittleEndian<qint32>(sent.last().constData()), 1);
  EXPECT_EQ(qFromLittleEndian<qint32>(sent.last().constData() + 4), 15);
  EXPECT_EQ(textOf(sent.last()), QByteArray("AA180C3602"));
  ASSERT_EQ(send(1, 72, QStringLiteral("*123*45#")), 0);
  EXPECT_EQ(textOf(sent.last()).size(), 14);
  EXPECT_EQ(qFromLittleEndian<qint32>(sent.last().constData() + 4), 72) << "the code type goes unchanged";
  // A text whose packed form does not fit is refused, and nothing of it leaves.
  EXPECT_EQ(send(2, 15, QString(9400, QLatin1Char('1'))), -1);
  EXPECT_EQ(sent.size(), 2);
  EXPECT_EQ(ussd->sendType(), 1) << "a refused request leaves the send type";
  // A short request after a long one carries nothing of the long one.
  ASSERT_EQ(send(1, 15, QString(1000, QLatin1Char('9'))), 0);
  ASSERT_EQ(send(1, 15, QStringLiteral("*1#")), 0);
  EXPECT_EQ(sent.last().mid(UssdRecord::kTextOffset + 8), QByteArray(UssdRecord::kTextSize - 8, '\0'));
}

TEST_F(UssdController, AnswersCarryTheCommandTypeOfTheLastRequest) {
  struct Case {
    int first;
    bool success;
    QVariant cmdType;
    int boardRes;
  };
  // The send type starts at 1 and follows only first parameters 1 and 2.
  const Case cases[] = {{0, true, 0, 1}, {2, true, 1, 1}, {7, false, 1, 0}, {1, true, 0, 1}};
  for (const Case &c : cases) {
    plugIn.responses.clear();
    if (c.first)
      send(c.first, 15, QStringLiteral("*1#"));
    ussd->dealWithMsgOfRequest(notificationOf(1792, 139, 1, c.success ? 0 : 0xFF));
    ASSERT_EQ(plugIn.responses.size(), 1);
    const QVariantMap r = plugIn.responses.first();
    EXPECT_FALSE(r.value("USSD_RES_CONTENTS").toBool());
    EXPECT_EQ(r.value("BOARD_RES").toInt(), c.boardRes) << c.first;
    EXPECT_EQ(r.value("CMD_TYPE"), c.cmdType) << c.first;
  }
}

class UssdControllerPlain : public UssdController {
protected:
  void SetUp() override {
    gsm7 = false;
    UssdController::SetUp();
  }
};

TEST_F(UssdControllerPlain, WithoutGsm7OnlyCodeType15CarriesItsText) {
  ASSERT_EQ(send(1, 15, QStringLiteral("*100#ü")), 0);
  EXPECT_EQ(textOf(sent.last()), QStringLiteral("*100#ü").toUtf8());
  ASSERT_EQ(send(1, 72, QStringLiteral("*100#")), 0);
  EXPECT_TRUE(textOf(sent.last()).isEmpty());
}

TEST_F(UssdController, RepliesAreDecodedByTheirSchemeAndUnreadableOnesShowNothing) {
  struct Case {
    int dcs;
    QByteArray text;
    QString shown;
  };
  const Case cases[] = {
      {15, "C8329BFD06", QStringLiteral("Hello")},   // group 0: packed GSM 7-bit
      {0x48, "0048", QStringLiteral("H")},           // group 4, UCS2
      {0xE0, "0041", QString()},                     // group 14: not read, and nothing of the last
      {0, "0041", QString()},                        // code type 0: not read
      {0x11, "00410042", QStringLiteral("B")},       // language indication: the first 4 skipped
      {0x40, "C8329BFD06", QStringLiteral("Hello")}, // group 4, alphabet bits 00: GSM 7-bit
      {0xF4, "8-bit", QStringLiteral("8-bit")},      // group 15, 8-bit data: as it comes
      {0xF0, "C8329BFD06", QStringLiteral("Hello")}, // group 15, bit 2 clear: GSM 7-bit
      {0x21, "plain", QStringLiteral("plain")},      // group 2: the text as it comes
  };
  for (const Case &c : cases) {
    plugIn.responses.clear();
    ussd->dealWithMsgOfFeedBack(notificationOf(1792, 140, 1, 0, replyRecord(1, c.dcs, c.text)));
    ASSERT_EQ(plugIn.responses.size(), 1);
    const QVariantMap r = plugIn.responses.first();
    EXPECT_TRUE(r.value("USSD_RES_CONTENTS").toBool());
    EXPECT_EQ(r.value("INTERACT_TYPE").toInt(), 1);
    EXPECT_EQ(r.value("CODE_STRING").toString(), c.shown) << c.dcs;
  }
}

TEST_F(UssdController, AReplyIsReadWithinItsDataAndAFullFieldKeepsItsBound) {
  // A full text field without a NUL: the text ends at the record's end.
  QByteArray full = replyRecord(0, 0x44, {});
  full.replace(UssdRecord::kTextOffset, UssdRecord::kTextSize, QByteArray(UssdRecord::kTextSize, 'x'));
  ussd->dealWithMsgOfFeedBack(notificationOf(1792, 140, 1, 0, full));
  ASSERT_EQ(plugIn.responses.size(), 1);
  EXPECT_EQ(plugIn.responses.last().value("CODE_STRING").toString().size(), UssdRecord::kTextSize);
  // A short package: the words it lacks read as zero, nothing is decoded, nothing breaks.
  ussd->dealWithMsgOfFeedBack(notificationOf(1792, 140, 1, 0, QByteArray(3, '\x01')));
  ASSERT_EQ(plugIn.responses.size(), 2);
  EXPECT_EQ(plugIn.responses.last().value("INTERACT_TYPE").toInt(), 0);
}

TEST_F(UssdController, DeviceStatesRechargeMessagesAndBundleMessagesReachThePlugIn) {
  ussd->devicePlugin({});
  ussd->simReady({});
  ussd->deviceRemoved({});
  EXPECT_EQ(plugIn.statuses, (QList<int>{2, 12, 1}));
  EXPECT_EQ(ussd->netCardStatus(), 1);
  NotificationCenter::defaultCenter().postNotificationName(
      QStringLiteral("PassRechargeSMS"), nullptr,
      {{"rechargeSMS", QVariantList{QStringLiteral("Top up 5"), QVariant(), QStringLiteral("Top up 10")}}});
  EXPECT_EQ(plugIn.sms, QStringList{QStringLiteral("Top up 5\nTop up 10\n")});
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("USSDBundleMessage"), nullptr,
                                                           {{"Action", "BuyBundle"}});
  // The observer is added when the plug-in is loaded; this plug-in was handed over instead.
  EXPECT_TRUE(plugIn.actions.isEmpty());
  plugIn.requestState = 1;
  plugIn.connectState = 4;
  EXPECT_EQ(ussd->get_flag_isconnect(), 1);
  EXPECT_EQ(ussd->get_flag_status(), 5);
  EXPECT_EQ(ussd->get_flag_list(), 0);
  // Flags that are not booleans are refused without harm.
  ussd->setPrepaidBundleUSSDToolbarItemStatus(QVariant());
  ussd->setEnabledToolbar(QVariant());
  ussd->setConnectBtnEnableRadirer(true);
  EXPECT_TRUE(ussd->getConnectBtnEnableRadirer());
}

TEST_F(UssdController, TheRechargeLinkCarriesTheEncipheredImsi) {
  QList<QUrl> opened;
  QELUIController::setUrlOpener([&](const QUrl &u) {
    opened << u;
    return true;
  });
  InitService service;
  InitService::setSharedInitService(&service);
  InitController device;      // the page reads the IMSI through the device status
  service.setImsi(QString()); // a card of an earlier test may have left its IMSI behind
  ussd->openRechargeWeb(QStringLiteral("https://op.example/topup?id="));
  EXPECT_TRUE(opened.isEmpty()) << "no IMSI, no link";
  service.setImsi(QStringLiteral("001010123456789"));
  ussd->openRechargeWeb(QStringLiteral("https://op.example/topup?id="));
  char cipher[kEncryptServicesOutputSize] = {};
  ASSERT_EQ(EncryptServicesMain("0010101234567890", cipher, sizeof cipher), 0);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened.first().toString(), QStringLiteral("https://op.example/topup?id=") + QLatin1String(cipher));
  service.setImsi(QString()); // the IMSI is shared by every service
  InitService::setSharedInitService(nullptr);
  QELUIController::setUrlOpener({});
}

class UssdControllerEnter : public UssdController {
protected:
  QVariantMap settingsOverrides() const override {
    return {{"USSD", QVariantMap{{"SendCmdWhenEnterUssd", true}, {"SendActiveCmdWhenEnterUssd", false}}}};
  }
};

TEST_F(UssdControllerEnter, EnteringTheMainTabsAsksForTheFirstCode) {
  QObject observer;
  int asked = 0;
  NotificationCenter::defaultCenter().addObserver(&observer, QStringLiteral("SendCmdWhenEnterUssd"), nullptr,
                                                  [&](const Notification &) { ++asked; });
  for (const char *tab : {"USSD1", "USSD2", "USSD3", "Call"})
    ussd->tabViewItemWillChange(
        Notification{QStringLiteral("TabViewItemWillChange"), nullptr, {{"TabViewItemWillChange", tab}}});
  EXPECT_EQ(asked, 2);
  NotificationCenter::defaultCenter().removeObserver(&observer);
}

} // namespace

#include "UssdControllerTest.moc"
