// USSD end to end: the main window with the USSD plug-in against the simulated modem's scripted
// network (scenario "sim-services"), driven through the plug-in's own controls.
#include "CompoundCallController.h"
#include "MainWindowFixture.h"
#include "NoWaitingAlertInHandlers.h"
#include "USSDContrller.h"
#include "WordGlobe.h"

#include "CocoaExt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

using testsupport::waitUntil;

class UssdRoad : public ModemWindowFixture {
protected:
  NoWaitingAlertInHandlers noWaitingAlerts;
  QVariantMap settingsOverrides() const override {
    return {{"Call", QVariantMap{{"SupportUssdCommand", true}}},
            {"USSD", QVariantMap{{"Ussd_codeTheSendStringWithGSM7_IfUssdModeIsOne", true}}}};
  }

  bool start() {
    if (!launch(QStringLiteral("sim-services")))
      return false;
    return waitUntil([] { return g_USSDController && g_USSDController->netCardStatus() == 12; });
  }
  QWidget *page() const { return NSTabViewExt::viewOfIdentifier(parts.tabs, QStringLiteral("USSD1")); }
  template <typename T> T *child(const char *name) const {
    return page() ? page()->findChild<T *>(QLatin1String(name)) : nullptr;
  }
  QString reply() const { return child<QPlainTextEdit>("USSDBundleReply")->toPlainText(); }
  QString status() const { return child<QLabel>("USSDBundleStatus")->text(); }
  static QString word(const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); }
  bool replyBecomes(const QString &text) {
    return waitUntil([&] { return reply() == text; });
  }
  bool statusBecomes(const char *key) {
    return waitUntil([&] { return status() == word(key); });
  }
  void sendCode(const QString &code) {
    child<QComboBox>("USSDBundleCode")->setCurrentText(code);
    child<QPushButton>("USSDBundleSend")->click();
  }
  void answer(const QString &text) {
    child<QLineEdit>("USSDBundleAnswer")->setText(text);
    child<QPushButton>("USSDBundleSendAnswer")->click();
  }
  bool control(const char *method, const QVariantList &args = {}) {
    return backend->control(QLatin1String(method), args).value(0).toBool();
  }
};

TEST_F(UssdRoad, AMenuSessionRunsToItsEndThroughThePlugIn) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_NE(child<QComboBox>("USSDBundleCode"), nullptr) << "the plug-in's view is in the USSD1 tab";
  EXPECT_NE(NSTabViewExt::viewOfIdentifier(parts.tabs, QStringLiteral("USSD2"))
                ->findChild<QWidget *>(QStringLiteral("USSDBundleServicesView")),
            nullptr);
  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Your balance is 12.50. 1 Top up 2 Offers")));
  EXPECT_EQ(status(), word("USSD_ReplyNeeded"));
  // The request reached the modem as module 7, 1792/139, with the whole 8192-byte record.
  bool seen = false;
  for (const QByteArray &bytes : backend->received()) {
    UIMsg m;
    if (UIMsg::decode(bytes, &m) && m.majorId == 1792 && m.minorId == 139) {
      seen = true;
      EXPECT_EQ(m.moduleId, 7);
      EXPECT_EQ(m.dataLength, 8192);
    }
  }
  EXPECT_TRUE(seen);
  EXPECT_EQ(g_USSDController->get_flag_status(), 2) << "a session is open";
  EXPECT_TRUE(child<QLineEdit>("USSDBundleAnswer")->isEnabled());
  EXPECT_FALSE(child<QPushButton>("USSDBundleSend")->isEnabled());

  answer(QStringLiteral("2"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Offers: 1 GB for 5.00 (reply 1 to buy)")));
  // The page in the middle of a session, for a look (ussd-session.png in the build folder).
  page()->resize(752, 360);
  page()->grab().save(testsupport::buildBundlePath() + QStringLiteral("/../ussd-session.png"));
  answer(QStringLiteral("1"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("1 GB added. Thank you!")));
  EXPECT_EQ(status(), word("USSD_Done"));
  EXPECT_EQ(g_USSDController->get_flag_status(), 1) << "the session is over";
  EXPECT_TRUE(child<QPushButton>("USSDBundleSend")->isEnabled());

  // A menu that takes any answer.
  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(statusBecomes("USSD_ReplyNeeded"));
  answer(QStringLiteral("1"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Enter the 14-digit voucher number")));
  answer(QStringLiteral("12345678901234"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Voucher accepted. New balance 22.50")));
}

TEST_F(UssdRoad, TheUserEndsASessionAndTheNetworkForgetsIt) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(statusBecomes("USSD_ReplyNeeded"));
  child<QPushButton>("USSDBundleEnd")->click();
  ASSERT_TRUE(statusBecomes("USSD_SessionEnded"));
  EXPECT_EQ(g_USSDController->sendType(), 2);
  EXPECT_TRUE(child<QPushButton>("USSDBundleSend")->isEnabled());
  // Outside the session "2" is no menu answer but an unknown code.
  sendCode(QStringLiteral("2"));
  ASSERT_TRUE(statusBecomes("USSD_NotSupported"));
  EXPECT_EQ(reply(), QStringLiteral("Unknown service code"));
}

TEST_F(UssdRoad, NetworkPushesUcs2RepliesFailuresAndTheCallPagesCodes) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(control("UssdPush", {QStringLiteral("Network notice"), 15, 0}));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Network notice")));
  // A UCS2 reply (coding group 4).
  sendCode(QStringLiteral("*101#"));
  ASSERT_TRUE(replyBecomes(QStringLiteral("Data left: 1.2 GB")));
  // The network may end a session it opened.
  ASSERT_TRUE(control("UssdPush", {QStringLiteral("Reply 1 or 2"), 15, 1}));
  ASSERT_TRUE(statusBecomes("USSD_ReplyNeeded"));
  ASSERT_TRUE(control("UssdPush", {QStringLiteral("Bye"), 15, 2}));
  ASSERT_TRUE(statusBecomes("USSD_NetworkEnded"));

  // A modem that refuses the request: the page says so and lets the user try again.
  backend->control(QStringLiteral("UssdFail"), {true});
  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(statusBecomes("USSD_Failed"));
  EXPECT_TRUE(child<QPushButton>("USSDBundleSend")->isEnabled());
  backend->control(QStringLiteral("UssdFail"), {false});

  // A code dialled on the call page goes to the USSD page.
  g_CompoundCallController->page->dialNumber->setText(QStringLiteral("*101#"));
  g_CompoundCallController->selectDialCallStyle(g_CompoundCallController->page->dial);
  ASSERT_TRUE(replyBecomes(QStringLiteral("Data left: 1.2 GB")));
  EXPECT_EQ(child<QComboBox>("USSDBundleCode")->currentText(), QStringLiteral("*101#"));
  // Entering the tab with "SendCmdWhenEnterUssd" sends the plug-in's first code.
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("SendCmdWhenEnterUssd"), nullptr, {});
  ASSERT_TRUE(replyBecomes(QStringLiteral("Your balance is 12.50. 1 Top up 2 Offers")));
}

TEST_F(UssdRoad, ANetworkThatNeverAnswersTimesOutWithANotice) {
  // A card whose network has no USSD script: requests are taken and never answered.
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitUntil([] { return g_USSDController && g_USSDController->netCardStatus() == 12; }));
  g_USSDController->bundleDelegate()->setProperty("replyTimeoutMs", 300);
  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(statusBecomes("USSD_Waiting"));
  EXPECT_EQ(g_USSDController->get_flag_isconnect(), 1) << "a request is under way";
  ASSERT_TRUE(statusBecomes("USSD_NetworkTimeOut"));
  ASSERT_NE(g_USSDController->wndUssdTimeOutPopup_, nullptr);
  EXPECT_TRUE(g_USSDController->wndUssdTimeOutPopup_->isVisible());
  EXPECT_EQ(g_USSDController->tfdUssdTimeOutInfo_->text(), word("USSD_tfdUssdTimeOutInfo_WarningContent"));
  EXPECT_TRUE(child<QPushButton>("USSDBundleSend")->isEnabled());
  g_USSDController->closeUssdTimeOutWndPopup();
  EXPECT_FALSE(g_USSDController->wndUssdTimeOutPopup_->isVisible());
}

// The notice that the network did not answer has its OK, and goes by itself when it is no
// longer true: at the next request and when the device goes.
TEST_F(UssdRoad, TheTimeOutNoticeHasItsOKAndGoesWithTheNextRequestOrTheDevice) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitUntil([] { return g_USSDController && g_USSDController->netCardStatus() == 12; }));
  g_USSDController->bundleDelegate()->setProperty("replyTimeoutMs", 300);
  QWidget *notice = g_USSDController->wndUssdTimeOutPopup_;
  ASSERT_NE(notice, nullptr);
  auto *ok = notice->findChild<QPushButton *>(QStringLiteral("btnUssdTimeOutOK"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), word("OK"));

  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(waitUntil([&] { return notice->isVisible(); }));
  ok->click();
  EXPECT_FALSE(notice->isVisible());

  sendCode(QStringLiteral("*100#"));
  ASSERT_TRUE(waitUntil([&] { return notice->isVisible(); }));
  sendCode(QStringLiteral("*101#"));
  EXPECT_FALSE(notice->isVisible()) << "a new request makes the notice stale";
  EXPECT_TRUE(statusBecomes("USSD_Waiting"));

  ASSERT_TRUE(waitUntil([&] { return notice->isVisible(); }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(waitUntil([] { return g_USSDController->netCardStatus() == 1; }));
  EXPECT_FALSE(notice->isVisible()) << "nothing to wait for without the device";
}

// The pop-up USSD window (the toolbar's USSD item) sends a code of its own and shows the
// network's reply, without the USSD tab.
TEST_F(UssdRoad, ThePopUpWindowSendsACodeAndShowsTheReply) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("openPopUpUssdWnd"));
  QWidget *popup = g_USSDController->popUpUssdWnd;
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->isVisible());
  auto *code = popup->findChild<QComboBox *>(QStringLiteral("popupUssdCode"));
  auto *send = popup->findChild<QPushButton *>(QStringLiteral("btnPopupUssdSend"));
  auto *reply = popup->findChild<QPlainTextEdit *>(QStringLiteral("tfdPopupUssdReply"));
  ASSERT_TRUE(code && send && reply);
  EXPECT_EQ(send->text(), word("USSD_Send"));
  code->setCurrentText(QStringLiteral("*101#"));
  send->click();
  ASSERT_TRUE(waitUntil([&] { return reply->toPlainText() == QStringLiteral("Data left: 1.2 GB"); }));
  EXPECT_EQ(code->itemText(0), QStringLiteral("*101#")) << "kept for the next time";
  popup->findChild<QPushButton *>(QStringLiteral("btnPopupUssdClose"))->click();
  EXPECT_FALSE(popup->isVisible());
}

} // namespace
