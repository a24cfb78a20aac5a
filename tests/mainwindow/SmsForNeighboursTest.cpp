// What the other tabs ask of the message page, against the simulated modem: the status item's
// click opens the inbox, the toolbar's usage checks send their messages, the USSD tab's message
// goes out; and the page's own actions that were never reached: deleting delivery reports, the
// report box's state per position and the context menu's Send.
#include "CocoaExt.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "ModalQuestions.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "USSDContrller.h"

#include <QMenu>
#include <QTabWidget>

namespace {

const QVariantMap kBoxOrder = {{"InBox", 0}, {"OutBox", 1}, {"DraftBox", 2}, {"DELIVERY_REPORTBOX", 3}};

QVariantMap report(const QString &number, const QString &text, int minute) {
  return {{"messagetext", text},
          {"RESULT", 1},
          {"username", QString()},
          {"mobilephone", number},
          {"date", QDateTime(QDate(2026, 12, 3), QTime(9, minute), Qt::UTC)},
          {"stat", 1}};
}

class SmsForNeighbours : public MainWindowFixture {
protected:
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QVariantMap settingsOverrides() const override {
    return {{"SMS", QVariantMap{{"boxOrder", kBoxOrder},
                                {"isHaveDeliveryReportBox", true},
                                {"SpecialSMS", QVariantMap{{"TO_NUMBER", "4455"}, {"SMS_CONTENT", "USAGE?"}}}}}};
  }
  void SetUp() override {
    MainWindowFixture::SetUp();
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
    Plist::writeFile(modemList() + QStringLiteral("/smsReportsBoxData.plist"),
                     QVariantList{report("+1001", "r0", 0), report("+1002", "r1", 1), report("+1003", "r2", 2),
                                  report("+1004", "r3", 3), report("+1005", "r4", 4)});
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    qunsetenv("QEL_MODEMLIST_DIR");
  }
  SMSController *sms() const { return g_SMSController; }
  bool ready() const {
    return testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 12 && sms()->boxList(0, 0).size() >= 2; });
  }
  void choose(int position, int box) {
    SMSPage *page = sms()->page;
    page->saveAtPos->setCurrentRow(sms()->qelPositionManager().getPositionOrderByPositon(position));
    sms()->selectSaveAt();
    page->msgBoxSelectAt->setCurrentRow(sms()->getBoxDisplayOrderWithBox(box, page->msgBoxSelectAt->count()));
    sms()->msgBoxSelect();
  }
  void selectRows(const QList<int> &rows) {
    QItemSelectionModel *selection = sms()->page->msgBoxList->selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(sms()->tableModel()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  QVariantList sentSms() const {
    const QVariantList xml = backend->control(QStringLiteral("SentSms"));
    QVariant list;
    if (!xml.isEmpty())
      Plist::fromData(xml.first().toString().toUtf8(), &list);
    return list.toList();
  }
  // The number and text of every message the modem was asked to send.
  QStringList sent() const {
    QStringList out;
    for (const QVariant &s : sentSms())
      out << s.toMap().value("number").toString() + QLatin1Char(':') + s.toMap().value("text").toString();
    return out;
  }
  bool sentBecomes(const QStringList &expected) const {
    return testsupport::waitUntil([&] { return sent() == expected; }, 10000);
  }
  QStringList reportTextsOnDisk() const {
    QVariant root;
    Plist::readFile(modemList() + QStringLiteral("/smsReportsBoxData.plist"), &root);
    QStringList out;
    for (const QVariant &r : root.toList())
      out << r.toMap().value("messagetext").toString();
    return out;
  }
  int smsTab() const { return NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, QStringLiteral("SMS")); }
};

TEST_F(SmsForNeighbours, TheStatusItemsClickOpensTheInboxOfThePc) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(AT_SIM, OutBox);
  parts.tabs->setCurrentIndex(0);
  // The item's action while it blinks for a new message.
  parts.mainController->gotoSMSUIOfCompleteWnd(nullptr);
  EXPECT_EQ(parts.tabs->currentIndex(), smsTab());
  EXPECT_EQ(sms()->getCurrentPosition(), int(AT_PC));
  EXPECT_EQ(sms()->getCurrentBox(), int(InBox));
  EXPECT_EQ(sms()->tableModel()->rowCount(), int(sms()->boxList(AT_PC, InBox).size()));
}

TEST_F(SmsForNeighbours, TheToolbarsUsageChecksReachTheModem) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  SmsService *service = SmsService::sharedSmsService();
  service->setBAlreadySendedCheckUsageSMS(false);
  parts.mainController->tbiMainSendSMS(nullptr);
  EXPECT_TRUE(sentBecomes({"4455:USAGE?"}));
  EXPECT_TRUE(service->bAlreadySendedCheckUsageSMS()) << "the usage reply is looked for";

  service->setProcessListOfRecharge(
      QVariantMap{{"PurchargeBySMS_ServerNumber", "7788"}, {"PurchargeBySMS_VolStatusRequire", "VOL"}});
  parts.mainController->tbiMainSendVolStatusCheckSMS(nullptr);
  EXPECT_TRUE(sentBecomes({"4455:USAGE?", "7788:VOL"}));
  EXPECT_TRUE(service->sendingSMSInBackGround());
  service->setSendingSmsSMSInBackGroud(false);
}

TEST_F(SmsForNeighbours, TheUssdTabsMessageIsSent) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  USSDContrller ussd;
  EXPECT_EQ(ussd.sendUSSDSMSCommand({{"SMS_NUM", "1212"}, {"SMS_CONTENT", "BAL"}}), 0);
  EXPECT_TRUE(sentBecomes({"1212:BAL"}));
}

TEST_F(SmsForNeighbours, DeletingDeliveryReportsRemovesThemFromTheBoxAndTheFile) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(AT_PC, DELIVERY_REPORTBOX);
  ASSERT_TRUE(sms()->isPcDeliveryReportBox());
  ASSERT_EQ(sms()->tableModel()->rowCount(), 5);
  selectRows({0, 2});
  sms()->page->deleteBtn->click();
  EXPECT_EQ(reportTextsOnDisk(), (QStringList{"r1", "r3", "r4"}));
  EXPECT_EQ(sms()->deliveryReports().size(), 3u);
  EXPECT_EQ(sms()->tableModel()->rowCount(), 3);

  // Refused at the question: nothing goes.
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0});
  selectRows({0});
  sms()->deleteMessage();
  EXPECT_EQ(reportTextsOnDisk(), (QStringList{"r1", "r3", "r4"}));
}

TEST_F(SmsForNeighbours, TheReportBoxIsUsableOnThePcOnly) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  QListWidgetItem *reportCell = sms()->page->msgBoxSelectAt->item(3);
  ASSERT_NE(reportCell, nullptr);
  choose(AT_SIM, InBox);
  EXPECT_FALSE(reportCell->flags() & Qt::ItemIsEnabled);
  choose(AT_PC, InBox);
  EXPECT_TRUE(reportCell->flags() & Qt::ItemIsEnabled);
}

TEST_F(SmsForNeighbours, TheContextMenusSendSendsTheSelectedMessageAgain) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(AT_PC, InBox);
  ASSERT_GE(sms()->tableModel()->rowCount(), 2);
  auto *menu = sms()->page->msgBoxList->findChild<QMenu *>(QStringLiteral("popUPmenuOfMsgBoxList"));
  ASSERT_NE(menu, nullptr);
  QAction *send = menu->actions().value(SMSController::SendItem);
  ASSERT_NE(send, nullptr);

  // Two rows: nothing is sent.
  selectRows({0, 1});
  sms()->setMenuItemState(true, SMSController::SendItem);
  send->trigger();
  selectRows({0});
  const QVariantMap record = sms()->currentSMSRecord();
  const QString number = record.value("concatSmsInfo").toMap().value("mobilephone").toString();
  const QString text = record.value("smsInfo").toMap().value("messagetext").toString();
  ASSERT_FALSE(number.isEmpty());
  sms()->setMenuItemState(true, SMSController::SendItem);
  send->trigger();
  EXPECT_TRUE(sentBecomes({number + QLatin1Char(':') + text}));
}

} // namespace
