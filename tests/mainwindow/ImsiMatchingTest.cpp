// What the SIM's IMSI decides: the connection profile by IMSI, home and serving network, the
// USSD notice, the activation message and the keys kept for the next run.
#include "DialController.h"
#include "DialRecordController.h"
#include "SignalFixture.h"
#include "SimulatedModem.h"
#include "WordGlobe.h"

#include <QDBusArgument>
#include <QTest>

using signaltest::textPackage;

namespace {

QByteArray field(const QString &text, int width) {
  QByteArray b = text.toLatin1().left(width);
  b.resize(width, '\0');
  return b;
}

class ImsiMatching : public signaltest::SignalFixture {
protected:
  int ussdNotices = 0;

  void SetUp() override {
    SignalFixture::SetUp();
    NotificationCenter::defaultCenter().removeObserver(&owner, QStringLiteral("ImsiMatchUssd"));
    NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("ImsiMatchUssd"), nullptr,
                                                    [this](const Notification &) { ++ussdNotices; });
  }

  void cimi(const QString &imsi, uint8_t result = 0) {
    init()->dealWithMsgOfCheckCIMI(textPackage(7, 43, field(imsi, 36), result));
  }
  QStringList requests() const { return g_DialController->defaultProfileRequests(); }
  QVariant sms(const QString &key) { return init()->settingDict().value("SMS").toMap().value(key); }
  // A fresh window and settings for the next case of a table. The old script goes first: its
  // end would otherwise take the new script's place and real windows would ask.
  void fresh() {
    TearDown();
    answers.reset();
    ussdNotices = 0;
    SetUp();
  }
};

TEST_F(ImsiMatching, ProfileAndUssdRulesByCard) {
  struct Step {
    char kind; // 'i' CIMI reply, 's' serving network, 'h' home network of the PLMN report
    const char *value;
  };
  struct Case {
    const char *what;
    QVariantMap top;
    QList<Step> steps;
    QStringList requests;
    int ussd;
    const char *simImsiCode; // afterwards; null: absent
  };
  const QVariantMap byImsi{{"ImsiMatchApn", true}};
  const QVariantMap diag{{"ImsiMatchApn", true}, {"Setting", QVariantMap{{"CheckIMSIForDiag", true}}}};
  const Case cases[] = {
      {"the same card twice (diagnostics refresh on)",
       diag,
       {{'i', "001010123456789"}, {'i', "001010123456789"}},
       {"imsi:001010123456789"},
       0,
       "001010123456789"},
      {"a second reply without the refresh is only read",
       byImsi,
       {{'i', "001010123456789"}, {'i', "460001111111111"}},
       {"imsi:001010123456789"},
       0,
       "001010123456789"},
      {"another card with the refresh on",
       diag,
       {{'i', "001010123456789"}, {'i', "460001111111111"}},
       {"imsi:001010123456789", "imsi:460001111111111"},
       0,
       "460001111111111"},
      {"a new card with the profile and USSD rules both on",
       {{"ImsiMatchApn", true}, {"ImsiMatchUssdCode", true}},
       {{'i', "001010123456789"}},
       {"imsi:001010123456789"},
       1,
       "001010123456789"},
      {"the USSD rule alone", {{"ImsiMatchUssdCode", true}}, {{'i', "001010123456789"}}, {}, 1, "001010123456789"},
      {"the global rule",
       {{"ImsiMatchGlobalApn", true}},
       {{'i', "001010123456789"}},
       {"global:001010123456789"},
       0,
       "001010123456789"},
      {"automatic choice off",
       {{"ImsiMatchApn", true}, {"EnableAutoApnMatch", false}},
       {{'i', "001010123456789"}},
       {},
       0,
       nullptr},
      {"serving network 46000, 46001, 46000 and a repeat",
       {{"APNMatchWithMCCMNC", true}},
       {{'s', "46000"}, {'s', "46001"}, {'s', "46000"}, {'s', "46000"}},
       {"serving:46000", "serving:46001", "serving:46000"},
       0,
       nullptr},
      {"the home network waits for the IMSI",
       {{"QdonMatchApn", true}},
       {{'h', "460/00"}, {'i', "460001234567890"}, {'h', "460/00"}, {'h', "460/00"}},
       {"mcc:460/00"},
       0,
       "460001234567890"},
      {"a failed reply changes nothing", byImsi, {{'x', "001010123456789"}}, {}, 0, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    for (auto it = c.top.cbegin(); it != c.top.cend(); ++it)
      setSwitch(QString(), it.key(), it.value());
    for (const Step &s : c.steps) {
      const QString v = QString::fromLatin1(s.value);
      if (s.kind == 'i')
        cimi(v);
      else if (s.kind == 'x')
        cimi(v, UIMsg::kResultFailure);
      else if (s.kind == 's')
        init()->checkAPNMatchWithMCCMNC(v);
      else
        init()->matchApnAccordMCCAndMNC(v.section('/', 0, 0), v.section('/', 1, 1));
    }
    EXPECT_EQ(requests(), c.requests);
    EXPECT_EQ(ussdNotices, c.ussd);
    const QVariant code = init()->settingDict().value("SimImsiCode");
    if (c.simImsiCode)
      EXPECT_EQ(code.toString(), c.simImsiCode);
    else
      EXPECT_FALSE(code.isValid());
  }
}

TEST_F(ImsiMatching, KeysKeptForTheNextRun) {
  setSwitch(QString(), "APNMatchWithMCCMNC", true);
  setSwitch(QString(), "ImsiMatchApn", true);
  service.setHomeMncLength(3);
  cimi("310260123456789");
  init()->checkAPNMatchWithMCCMNC("31026");
  QVariantMap saved;
  ASSERT_TRUE(Plist::readDictionary(dir.filePath("ModemList/settings.plist"), &saved));
  EXPECT_EQ(saved.value("IMSI").toString(), "310260123456789");
  EXPECT_EQ(saved.value("SimImsiCode").toString(), "310260123456789");
  EXPECT_EQ(saved.value("CurrentMCCMNC").toString(), "31026");
  EXPECT_EQ(InitService::sharedInitService()->imsi(), "310260123456789");
  // A card whose network has a three-digit MNC keeps it: the home network is the service's.
  EXPECT_TRUE(InitService::sharedInitService()->isHomeOrFriendly("310260"));
}

TEST_F(ImsiMatching, ActivationMessageDueByTheEighthDigit) {
  struct Case {
    const char *imsi;
    QVariant due;   // SMS/"NeedSendActiveSIMCardSMS" before
    QVariant after; // and after
  };
  const Case cases[] = {
      {"001010103456789", true, true},
      {"001010123456789", true, false},
      {"0010101", true, true}, // too short to say: left alone
      {"001010103456789", QVariant(), QVariant()},
      {"001010103456789", false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.imsi);
    fresh();
    if (c.due.isValid())
      setSwitch("SMS", "NeedSendActiveSIMCardSMS", c.due);
    cimi(c.imsi);
    EXPECT_EQ(sms("NeedSendActiveSIMCardSMS"), c.after);
  }
}

TEST_F(ImsiMatching, ActivationNoticeWithoutMessageShowsOncePerInsertion) {
  setSwitch("SMS", "NeedSendActiveSIMCardSMS", true);
  for (int mode : {0, 2, 1, 3, 1})
    init()->sendActiveSimcardSMS(mode);
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked().first().message,
            Map_Name_Item_of_IndexString("It is necessary to active the line for starting to use your MODEM USB."));
  init()->deviceRemoved({});
  init()->sendActiveSimcardSMS(1);
  EXPECT_EQ(answers->asked().size(), 2);
  EXPECT_EQ(sms("NeedSendActiveSIMCardSMS"), true);
}

TEST_F(ImsiMatching, AFailedReplyMarksTheSimNotReadyOnlyWhenAsked) {
  cimi("001010123456789");
  ASSERT_EQ(init()->imsiOfSim(), "001010123456789");
  cimi(QString(), UIMsg::kResultFailure);
  EXPECT_TRUE(init()->runtimeObjectForKey(kRTSIMCardReady).toBool());
  // With the loop switch a failed reply forgets the card, so the next good one is read again.
  setSwitch(QString(), "sendCIMICmdInLoop", true);
  cimi(QString(), UIMsg::kResultFailure);
  cimi("262019876543210");
  EXPECT_EQ(init()->imsiOfSim(), "262019876543210");
}

TEST_F(ImsiMatching, PerCardFilesAreNamedOnlyByDigits) {
  setSwitch("specialSoftVersion", "ZUDE_ZEZ", true);
  setSwitch("Setting", "CheckIMSIForDiag", true);
  ASSERT_TRUE(g_DialRecordController);
  const QString before = g_DialRecordController->dialRecordFileToSave();
  cimi("../../x");
  EXPECT_EQ(g_DialRecordController->dialRecordFileToSave(), before);
  cimi("001010123456789");
  EXPECT_EQ(g_DialRecordController->dialRecordFileToSave(), "001010123456789_dialRecordData.plist");
}

TEST_F(ImsiMatching, HomeNetworkReplyChoosesOnlyWhileTheChoiceIsAutomatic) {
  const QByteArray payload = field("460", 32) + field("01", 32);
  init()->dealWithMsgOfCheckMCCMNC(textPackage(7, 52, payload, UIMsg::kResultFailure));
  EXPECT_TRUE(requests().isEmpty());
  init()->dealWithMsgOfCheckMCCMNC(textPackage(7, 52, payload));
  EXPECT_EQ(requests(), QStringList{"mcc:460/01"});
  setSwitch(QString(), "EnableAutoApnMatch", false);
  init()->dealWithMsgOfCheckMCCMNC(textPackage(7, 52, payload));
  EXPECT_EQ(requests().size(), 1);
}

TEST_F(ImsiMatching, OwnNumberByImsiAndTheSimChangeNotice) {
  setSwitch(QString(), "ImsiPhone", QVariantMap{{"001010123456789", "+15550100"}});
  setSwitch("specialSoftVersion", "ZUDE_ZEZ", true);
  setSwitch(QString(), "simIMSI", "001019999999999");
  QStringList numbers;
  QList<bool> changes;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("receivePhoneNumberFromSoapServer"), nullptr,
      [&](const Notification &n) { numbers << n.userInfo.value("receivePhoneNumberFromSoapServer").toString(); });
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("AlreadyGetSimIMSI"), nullptr,
      [&](const Notification &n) { changes << n.userInfo.value("imsiInfo").toBool(); });
  cimi("001010123456789");
  EXPECT_EQ(numbers, QStringList{"+15550100"});
  EXPECT_EQ(changes, QList<bool>{true});
  EXPECT_EQ(init()->settingDict().value("simIMSI").toString(), "001010123456789");
  NotificationCenter::defaultCenter().removeObserver(&owner, QStringLiteral("receivePhoneNumberFromSoapServer"));
  NotificationCenter::defaultCenter().removeObserver(&owner, QStringLiteral("AlreadyGetSimIMSI"));
}

} // namespace

namespace {

// The whole road against the simulated modem: a card whose IMSI has "0" at index 7.
class ImsiMatchingEndToEnd : public NetworkWindowFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {
        {QStringLiteral("SMS"), QVariantMap{{QStringLiteral("NeedSendActiveSIMCardSMS"), true},
                                            {QStringLiteral("SendActiveSIMCardSMSTo"), QStringLiteral("+15550999")},
                                            {QStringLiteral("SendActiveSIMCardSMSMsg"), QStringLiteral("ACTIVATE")}}},
        {QStringLiteral("Setting"), QVariantMap{{QStringLiteral("CheckIMSIForDiag"), true}}},
        {QStringLiteral("ImsiMatchUssdCode"), true}};
  }
  QString scenarioWithImsi(const QString &imsi) {
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    QVariantMap sim = scenario.value(QStringLiteral("SIM")).toMap();
    sim.insert(QStringLiteral("IMSI"), imsi);
    scenario.insert(QStringLiteral("SIM"), sim);
    return testsupport::writePlist(dir.filePath(QStringLiteral("card.plist")), scenario);
  }
  QVariantMap saved() const {
    QVariantMap s;
    Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &s);
    return s;
  }
  int sentCount() const {
    const QVariantList reply = backend->control(QStringLiteral("SentMessages"));
    if (reply.isEmpty())
      return -1;
    const QDBusArgument arg = reply.first().value<QDBusArgument>();
    int n = 0;
    arg.beginArray();
    while (!arg.atEnd()) {
      QString number, text;
      arg.beginStructure();
      arg >> number >> text;
      arg.endStructure();
      EXPECT_EQ(number, "+15550999");
      EXPECT_EQ(text, "ACTIVATE");
      ++n;
    }
    arg.endArray();
    return n;
  }
};

TEST_F(ImsiMatchingEndToEnd, ActivationAtTheFirstCsRegistrationOnceAndASimSwap) {
  QStringList ussd;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("ImsiMatchUssd"), nullptr,
      [&](const Notification &n) { ussd << n.userInfo.value(QStringLiteral("IMSI")).toString(); });
  if (!launch(scenarioWithImsi(QStringLiteral("001010103456789"))))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return sentCount() == 1; }));
  EXPECT_EQ(saved().value(QStringLiteral("IMSI")).toString(), "001010103456789");
  EXPECT_EQ(service.imsi(), "001010103456789");
  EXPECT_EQ(saved().value(QStringLiteral("SMS")).toMap().value(QStringLiteral("NeedSendActiveSIMCardSMS")),
            QVariant(false));
  int notices = 0;
  for (const ModalQuestion &q : answers->asked())
    notices += q.message ==
               Map_Name_Item_of_IndexString("It is necessary to active the line for starting to use your MODEM USB.");
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(ussd, QStringList{"001010103456789"});

  // Later registrations send nothing more.
  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_ONLY")});
  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_PS")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkMode() == 3; }));
  QTest::qWait(100);
  EXPECT_EQ(sentCount(), 1);

  // Another card reports itself: with the diagnostics refresh on, the rules run for it.
  backend->control(QStringLiteral("SetImsi"), {QStringLiteral("262019876543210")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->imsiOfSim() == QStringLiteral("262019876543210"); }));
  EXPECT_EQ(ussd.size(), 2);
  EXPECT_EQ(saved().value(QStringLiteral("IMSI")).toString(), "262019876543210");
  // An IMSI that cannot be read changes nothing.
  backend->control(QStringLiteral("SetImsi"), {QString()});
  QTest::qWait(100);
  EXPECT_EQ(init()->imsiOfSim(), "262019876543210");
  NotificationCenter::defaultCenter().removeObserver(&owner, QStringLiteral("ImsiMatchUssd"));
}

} // namespace
