// Arrivals against the simulated modem: long messages announced once, in any order and from
// senders sharing a reference; a full SIM; delivery reports in the window and the box;
// broadcasts; malformed packages; the pop-up list; data-usage and purchase messages.
#include "MainWindowFixture.h"
#include "NotificationCenter.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SimulatedModem.h"
#include "SmsArrivalRecords.h"
#include "SmsArrivalWindows.h"
#include "SmsService.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

// Three parts in the 7-bit alphabet.
const QString kLongText = QString(400, QLatin1Char('a'));

class SmsArrival : public MainWindowFixture {
protected:
  QVariantMap sms;
  std::unique_ptr<SmsService> service;

  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QVariantMap settingsOverrides() const override {
    QVariantMap all{{QStringLiteral("SMS"), sms}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
      all.insert(it.key(), it.value());
    return all;
  }
  QVariantMap extra;
  void start(const QVariantMap &smsSettings, const QVariantMap &more = {}) {
    sms = smsSettings;
    extra = more;
    MainWindowFixture::SetUp();
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
    service = std::make_unique<SmsService>();
    SmsService::setSharedSmsService(service.get());
  }
  void SetUp() override {}
  void TearDown() override {
    MainWindowFixture::TearDown();
    SmsService::setSharedSmsService(nullptr);
    service.reset();
    qunsetenv("QEL_MODEMLIST_DIR");
  }
  SMSController *c() const { return g_SMSController; }
  bool ready() const {
    return testsupport::waitUntil([&] { return c()->getNetCardStatus() == 12 && c()->boxList(0, 0).size() >= 2; });
  }
  QVariantList pcBox(const char *box) const {
    QVariantMap dict;
    Plist::readDictionary(modemList() + QStringLiteral("/SmsList_PC.plist"), &dict);
    return dict.value(QLatin1String(box)).toList();
  }
  int announced() const { return c()->arrivalState().announced; }
  // Lets the packages in flight arrive, then answers the count.
  int announcedAfterQuiet() const {
    testsupport::waitUntil([] { return false; }, 400);
    return announced();
  }
  void inject(uint16_t minor, int type, const QByteArray &data) {
    backend->control("Inject", {SimulatedModem::makePackage(768, minor, type, 0, data, 5).encode()});
  }
};

TEST_F(SmsArrival, ALongMessageIsAnnouncedOnceAfterItsLastPartInAnyOrder) {
  start({{"concatSMSOneNote", true}, {"newSMSNotification", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  EXPECT_EQ(backend->control("DeliverSms", {QString("+15550001"), kLongText, 0}).value(0).toInt(), 3);
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 1; }));
  EXPECT_EQ(announcedAfterQuiet(), 1);
  // The notification showed the whole message, and only it.
  EXPECT_EQ(c()->newSMSNotificationWnd()->content->toPlainText(), kLongText);
  EXPECT_TRUE(c()->newSMSNotificationWnd()->isVisible());
  EXPECT_EQ(
      backend->control("DeliverSmsParts", {QString("+15550001"), kLongText, QVariant::fromValue(QList<int>{3, 1, 2})})
          .value(0)
          .toInt(),
      3);
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 2; }));
  EXPECT_EQ(announcedAfterQuiet(), 2);
  EXPECT_EQ(c()->arrivalState().concatSMSReferNum_currentReciveNum.pending(), 0);
  // Both messages are stored whole: the first on the PC, the second at the receive position.
  int found = 0;
  for (const QVariant &r : c()->boxList(0, 0) + c()->boxList(1, 0))
    found += r.toMap().value("concatSmsInfo").toMap().value("messagetext").toString() == kLongText;
  EXPECT_EQ(found, 2);
}

TEST_F(SmsArrival, WithoutTheSwitchEveryPartIsAnnouncedAndSendersSharingAReferenceAreApart) {
  start({});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverSms", {QString("+15550001"), kLongText, 1});
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 3; }));
  // Each sender's first long message has reference 0: the first gets one part in, the second all.
  backend->control("DeliverSmsParts", {QString("+15550002"), kLongText, QVariant::fromValue(QList<int>{1})});
  backend->control("DeliverSmsParts", {QString("+15550003"), kLongText, QVariant::fromValue(QList<int>{1, 2, 3})});
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 7; }));
  EXPECT_EQ(c()->arrivalState().concatSMSReferNum_currentReciveNum.pending(), 1);
}

TEST_F(SmsArrival, AFullSimWarnsAndKeepsTheMessageOnThePc) {
  start({{"smsPopUpOfZ3i", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->simCapacity() > 0; }));
  backend->control("SetSmsCapacity", {1, c()->simUsed()});
  const int pcBefore = int(pcBox("InBox").size());
  EXPECT_EQ(backend->control("DeliverSms", {QString("+15550009"), QString("no room on the SIM"), 1}).value(0).toInt(),
            1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->revNewPos() == 2; }));
  SmsNoteWindow *warning = c()->smsSimMaxWarningWin();
  EXPECT_TRUE(warning->isVisible());
  EXPECT_EQ(warning->title->text(), word("New message is too long, and will be saved in PC!"));
  EXPECT_EQ(int(pcBox("InBox").size()), pcBefore + 1);
  // The pop-up list holds it as a PC message.
  ASSERT_FALSE(c()->arrivalState().tmpNewSMSListOfPop_Up.empty());
  EXPECT_EQ(c()->arrivalState().tmpNewSMSListOfPop_Up.back().messageStoredLocation.toInt(), 0);
  warning->okBtn->click();
  EXPECT_FALSE(warning->isVisible());
}

TEST_F(SmsArrival, ReportsQueueInTheWindowAndTheBox) {
  start({{"isHaveDeliveryReportBox", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverReport", {QString("+15550101"), 1});
  backend->control("DeliverReport", {QString("+15550102"), 0});
  backend->control("DeliverReport", {QString("+15550103"), 7});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->deliveryReports().size() == 3; }));
  SmsNoteWindow *w = c()->reportWindow();
  EXPECT_TRUE(w->isVisible());
  // An unknown result reads as a failure, never as the report before it.
  EXPECT_TRUE(w->content->toPlainText().startsWith(word("Fail to send message(s) to:%@ ").section("%@", 0, 0)));
  EXPECT_TRUE(w->content->toPlainText().contains("+15550103"));
  // The file holds the box, newest first.
  QVariant file;
  ASSERT_TRUE(Plist::readFile(SMSController::deliveryReportBoxPath(), &file));
  const QVariantList reports = file.toList();
  ASSERT_EQ(reports.size(), 3);
  EXPECT_EQ(reports.at(0).toMap().value("mobilephone").toString(), "+15550103");
  EXPECT_EQ(reports.at(2).toMap().value("RESULT").toInt(), 1);
  EXPECT_EQ(reports.at(2).toMap().value("messagetext").toString(),
            word("Successful to send message(s) to:") + "+15550101");
  EXPECT_EQ(reports.at(0).toMap().value("stat").toInt(), 0);
  // OK shows the one before, newest first; the third closes the window.
  w->okBtn->click();
  EXPECT_TRUE(w->content->toPlainText().contains("+15550102"));
  w->okBtn->click();
  EXPECT_TRUE(w->content->toPlainText().contains("+15550101"));
  EXPECT_TRUE(w->isVisible());
  w->okBtn->click();
  EXPECT_FALSE(w->isVisible());
  // The PC total counts the reports.
  EXPECT_EQ(c()->boxList(0, 3).size(), 3);
}

TEST_F(SmsArrival, ABroadcastIsSavedWhenSwitchedOnAndPosted) {
  start({{"Sms_SaveBroadCastAsSMS_IfNeeded", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  QString posted;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(
      &observer, QStringLiteral("ReceiveBroadCastNotification"), nullptr,
      [&](const Notification &n) { posted = n.userInfo.value("ReceiveBroadCastNotification").toString(); });
  backend->control("Broadcast", {QString("CellInfo"), QString("Storm warning")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return posted == "Storm warning"; }));
  bool saved = false;
  for (const QVariant &r : service->pcList(BroadCastBox))
    saved = saved || r.toMap().value("messagetext").toString() == "Storm warning" ||
            r.toMap().value("smsInfo").toMap().value("messagetext").toString() == "Storm warning";
  EXPECT_TRUE(saved);
}

TEST_F(SmsArrival, MalformedPackagesKeepTheProgramRunningWithBoundedTexts) {
  start({{"newSMSNotification", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  auto record = [](qint32 length, const QByteArray &stamp) {
    QByteArray d(SmsArrivalRecord::kSize, 'A'); // no NUL anywhere
    d.replace(SmsArrivalRecord::kStampOffset, stamp.size(), stamp);
    for (int i = 0; i < 4; ++i)
      d[SmsArrivalRecord::kTextLengthOffset + i] = char((quint32(length) >> (8 * i)) & 0xFF);
    d[SmsArrivalRecord::kConcatOffset] = 0;
    return d;
  };
  inject(101, 0, record(5000, QByteArray()));
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 1; }));
  EXPECT_LE(c()->newSMSNotificationWnd()->content->toPlainText().size(), SmsArrivalRecord::kMaxTextUnits);
  EXPECT_EQ(c()->newSMSArriveMsg()->field1->text().size(), SmsArrivalRecord::kNumberWidth);
  inject(101, 0, record(-1, "261211120\0"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 2; }));
  EXPECT_TRUE(c()->newSMSNotificationWnd()->content->toPlainText().isEmpty());
  // A stamp that is no stamp shows the arrival time.
  EXPECT_FALSE(c()->newSMSArriveMsg()->field3->text().isEmpty());
  inject(99, 0, QByteArray(SmsClass0Record::kSize, 'B'));
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->class0ArriveWin()->isVisible(); }));
  EXPECT_LE(c()->class0ArriveWin()->content->toPlainText().size(), 1024 + 60);
  inject(100, 0, QByteArray(7, 'C'));
  inject(106, 1, QByteArray(SmsBroadcastRecord::kSize, 'D'));
  inject(102, 0, QByteArray(2, 'E'));
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->reportWindow()->isVisible(); }));
  // Wrong types are ignored.
  inject(101, 1, record(3, "26121112000032"));
  EXPECT_EQ(announcedAfterQuiet(), 2);
}

TEST_F(SmsArrival, ThePopUpOpensTheNewestAndReadsItInTheFile) {
  start({{"smsPopUpOfZ3i", true}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverSms", {QString("+15550201"), QString("first"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 1; }));
  backend->control("DeliverSms", {QString("+15550202"), QString("second"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 2; }));
  SmsNoteWindow *panel = c()->popUpPanel();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->field1->text(), QStringLiteral("+15550202"));
  panel->okBtn->click();
  SmsNoteWindow *content = c()->popUpContentWindow();
  EXPECT_TRUE(content->isVisible());
  EXPECT_EQ(content->content->toPlainText(), QStringLiteral("second"));
  EXPECT_EQ(content->field2->text(), QStringLiteral("+15550202"));
  // The panel goes on to the one before.
  EXPECT_EQ(panel->field1->text(), QStringLiteral("+15550201"));
  // The modem marked the opened one read in the file, where it stands.
  ASSERT_TRUE(testsupport::waitUntil([&] {
    for (const QVariant &r : pcBox("InBox"))
      if (r.toMap().value("smsInfo").toMap().value("messagetext") == "second")
        return r.toMap().value("smsInfo").toMap().value("stat").toInt() == 1;
    return false;
  }));
  // Reading the other in the list takes it off the pop-up, which goes on to an older one.
  for (const QVariant &r : c()->boxList(0, 0))
    if (r.toMap().value("smsInfo").toMap().value("messagetext") == "first")
      c()->removeMessageOfPop_UpWithMessage(r.toMap());
  for (const QELBasicMessage &m : c()->arrivalState().tmpNewSMSListOfPop_Up)
    EXPECT_NE(m.phoneNum, QStringLiteral("+15550201"));
  EXPECT_NE(panel->field1->text(), QStringLiteral("+15550201"));
}

TEST_F(SmsArrival, UsageAlertsStepUpNeverDown) {
  start({{"SMS_CheckSmsIsFlowValueSms_ifNeeded", true},
         {"SMS_FlowValueSMSJudegeConditions", QVariantMap{{"FlowValueSMS_PhoneNumber", "10086"},
                                                          {"FLowValueSMS_Bandbreite", "volume"},
                                                          {"FlowValueSMS_SeventyFivePercentKey", "75%"},
                                                          {"FlowValueSMS_OneHundredPercentKey1", "100%"},
                                                          {"FlowValueSMS_OneHundredPercentKey2", "used up"}}}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  auto image = [&] {
    QPushButton *b = c()->arrivalState().btnFlowValueAlert_;
    return b && !b->isHidden() ? b->property("imageName").toString() : QString();
  };
  backend->control("DeliverSms", {QString("10086"), QString("Your volume is 75% used"), 1});
  ASSERT_TRUE(testsupport::waitUntil([&] { return image() == "ImageOfSeventyFive.PNG"; }));
  EXPECT_EQ(c()->applicationIconName(), "flow75.png");
  backend->control("DeliverSms", {QString("10086"), QString("Your volume is 100% used"), 1});
  ASSERT_TRUE(testsupport::waitUntil([&] { return image() == "ImageOfonehundred.PNG"; }));
  backend->control("DeliverSms", {QString("10086"), QString("Your volume is 75% used"), 1});
  ASSERT_TRUE(testsupport::waitUntil([&] { return announced() == 3; }));
  EXPECT_EQ(image(), "ImageOfonehundred.PNG");
  EXPECT_EQ(service->flowValueSmsInfo().value("FlowValueType").toInt(), 1);
  // Expiry hides the alert and gives the icon back.
  c()->doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime();
  EXPECT_TRUE(image().isEmpty());
  EXPECT_EQ(c()->applicationIconName(), "icon.icns.png");
}

TEST_F(SmsArrival, PurchaseStepsOfferTheirButtonsAndSendTheChoice) {
  start({{"SMS_CheckSmsIsRechargeSms_ifNeeded", true}},
        {{"PurchargeBySMS", QVariantMap{{"PurchargeBySMS_ServerNumber", "900"},
                                        {"PurchargeBySMS_BroadbandRequire", "LIST"},
                                        {"PurchargeBySMS_VolStatusResponse", "volume status"},
                                        {"PurchargeBySMS_BroadBandResponse", "packages"},
                                        {"PurchargeBySMS_PurchasePresponse", "confirm"}}}});
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  SmsPurchaseWindow *w = c()->purchaseWindow();
  backend->control("DeliverSms", {QString("900"), QString("Your volume status is low"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return w->isVisible(); }));
  EXPECT_TRUE(w->btnOfPurchaseInVolStatusWnd_->isVisible());
  EXPECT_FALSE(w->btnOfOKInRechargeWnd_->isVisible());
  w->btnOfPurchaseInVolStatusWnd_->click();
  EXPECT_FALSE(w->isVisible());
  auto sentTexts = [&] {
    QStringList out;
    QVariant list;
    const QVariantList xml = backend->control(QStringLiteral("SentSms"));
    if (!xml.isEmpty())
      Plist::fromData(xml.first().toString().toUtf8(), &list);
    for (const QVariant &s : list.toList())
      out << s.toMap().value("number").toString() + ":" + s.toMap().value("text").toString();
    return out;
  };
  ASSERT_TRUE(testsupport::waitUntil([&] { return sentTexts() == QStringList{"900:LIST"}; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return !c()->sendState().running; }));
  backend->control("DeliverSms", {QString("900"), QString("packages: ON1 1GB/ ON2 5GB/"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return w->isVisible(); }));
  EXPECT_TRUE(w->combOfPurchaseList_->isVisible());
  EXPECT_EQ(w->combOfPurchaseList_->count(), 2);
  w->combOfPurchaseList_->setCurrentIndex(1);
  w->btnOfPurchaseInPartnerWnd_->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return sentTexts().size() == 2; }));
  EXPECT_EQ(sentTexts().last(), "900:" + w->combOfPurchaseList_->itemText(1));
}

} // namespace
