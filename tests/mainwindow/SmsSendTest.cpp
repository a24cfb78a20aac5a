// Writing and sending against the simulated modem: a run to several recipients with a failing
// one, a long message in parts, Cancel in the pause, the device removed during a run, drafts
// opened, sent and saved again, and the registration messages.
#include "MainWindowFixture.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsSendWindows.h"
#include "SmsTableModel.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class SmsSend : public MainWindowFixture {
protected:
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  void SetUp() override {
    MainWindowFixture::SetUp();
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    qunsetenv("QEL_MODEMLIST_DIR");
  }
  SMSController *sms() const { return g_SMSController; }
  // The lists are loaded and the card is ready to send.
  bool ready() const {
    return testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 12 && sms()->boxList(0, 0).size() >= 2; });
  }
  QVariantList pcBox(const char *box) const {
    QVariantMap dict;
    Plist::readDictionary(modemList() + QStringLiteral("/SmsList_PC.plist"), &dict);
    return dict.value(QLatin1String(box)).toList();
  }
  QVariantList sentSms() const {
    const QVariantList xml = backend->control(QStringLiteral("SentSms"));
    QVariant list;
    if (!xml.isEmpty())
      Plist::fromData(xml.first().toString().toUtf8(), &list);
    return list.toList();
  }
  // The result line as the user reads it.
  static QString counts(int ok, int failed, int cancelled) {
    auto w = [](const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); };
    return fillWordedFormat(w("%@%d,%@%d,%@%d"),
                            {w("Send success:"), ok, w("failed:"), failed, w("cancel:"), cancelled});
  }
  QString resultText() const { return sms()->sendingWindow()->newSMSInfoText->text(); }
  bool runOver() const {
    return testsupport::waitUntil([&] { return !sms()->sendState().running; }, 15000);
  }
  void write(const QString &numbers, const QString &text) {
    sms()->newMessage();
    SmsEditorWindow *editor = sms()->messageWindow();
    editor->sendMessageTo->setText(numbers);
    editor->sendMessageText->setPlainText(text);
  }
  void choose(int positionRow, int boxRow) {
    sms()->page->saveAtPos->setCurrentRow(positionRow);
    sms()->selectSaveAt();
    sms()->page->msgBoxSelectAt->setCurrentRow(boxRow);
    sms()->msgBoxSelect();
  }
  QStringList draftTexts() const {
    QStringList out;
    for (const QVariant &d : pcBox("DraftBox"))
      out << d.toMap().value(QStringLiteral("messagetext")).toString();
    return out;
  }
};

TEST_F(SmsSend, ThreeRecipientsOneFailingGiveTheCountsAndTwoSentMessages) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  sms()->sendState().delayMs = 20;
  backend->control(QStringLiteral("SetSendFailure"), {QStringLiteral("222"), 1});
  const int outBefore = int(pcBox("OutBox").size());
  write(QStringLiteral("111;222;;333;"), QStringLiteral("Hello"));
  sms()->messageWindow()->SendMessageBtn->click();
  EXPECT_FALSE(sms()->messageWindow()->isVisible());
  ASSERT_TRUE(runOver());
  EXPECT_EQ(resultText(), counts(2, 1, 0));
  EXPECT_TRUE(sms()->sendingWindow()->isVisible());
  EXPECT_EQ(sms()->sendingWindow()->cancelSendBtn->text(), Map_Name_Item_of_IndexString(QStringLiteral("OK")));
  const QVariantList sent = sentSms();
  ASSERT_EQ(sent.size(), 3);
  QStringList numbers;
  for (const QVariant &s : sent) {
    numbers << s.toMap().value("number").toString();
    EXPECT_TRUE(s.toMap().value("saveInBox").toBool());
  }
  EXPECT_EQ(numbers, (QStringList{"111", "222", "333"}));
  // One reference number each, in turn.
  EXPECT_EQ((sent.at(1).toMap().value("reference").toInt() - sent.at(0).toMap().value("reference").toInt() + 256) % 256,
            1);
  EXPECT_EQ(int(pcBox("OutBox").size()), outBefore + 2);
  sms()->sendingWindow()->cancelSendBtn->click();
  EXPECT_FALSE(sms()->sendingWindow()->isVisible());
}

TEST_F(SmsSend, ALongMessageGoesInPartsAndAFailedPartIsAFailure) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  QList<int> progress;
  center->registerObserver(&owner, 768, 113, [&](const Notification &n) {
    UIMsg m;
    if (QELMsgCenter::getMsgPackage(&m, n))
      progress << int(quint8(m.data.at(0)));
  });
  backend->control(QStringLiteral("SetSendFailure"), {QStringLiteral("+15550001"), 1});
  write(QStringLiteral("+15550001"), QString(400, QLatin1Char('a')));
  EXPECT_TRUE(sms()->messageWindow()->textCount->text().endsWith(QStringLiteral(" 400/3")));
  sms()->sendMessage(sms()->messageWindow()->SendMessageBtn);
  ASSERT_TRUE(runOver());
  EXPECT_EQ(progress, (QList<int>{1, 2, 3}));
  EXPECT_EQ(resultText(), counts(2, 1, 0));
  ASSERT_EQ(sentSms().size(), 1);
  EXPECT_EQ(sentSms().first().toMap().value("text").toString().size(), 400);
}

TEST_F(SmsSend, CancelInThePauseStopsTheRun) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  sms()->sendState().delayMs = 400;
  write(QStringLiteral("111;222;333"), QStringLiteral("Hi"));
  sms()->sendMessage(sms()->messageWindow()->SendMessageBtn);
  QPushButton *cancel = sms()->sendingWindow()->cancelSendBtn;
  ASSERT_TRUE(testsupport::waitUntil([&] { return cancel->isVisible() && cancel->isEnabled(); }));
  cancel->click();
  ASSERT_TRUE(runOver());
  EXPECT_EQ(sentSms().size(), 1);
  EXPECT_EQ(resultText(), counts(1, 0, 2));
  EXPECT_EQ(cancel->text(), Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

TEST_F(SmsSend, RemovingTheDeviceAtTheSecondOfFiveKeepsFourDrafts) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  sms()->sendState().delayMs = 60000;
  const int draftsBefore = int(pcBox("DraftBox").size());
  write(QStringLiteral("101;102;103;104;105"), QStringLiteral("Unfinished"));
  sms()->sendMessage(sms()->messageWindow()->SendMessageBtn);
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->sendState().messageSendCount == 1; }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 1; }));
  const QVariantList drafts = pcBox("DraftBox");
  ASSERT_EQ(int(drafts.size()), draftsBefore + 4);
  QStringList numbers;
  for (int i = draftsBefore; i < drafts.size(); ++i) {
    numbers << drafts.at(i).toMap().value("mobilephone").toString();
    EXPECT_EQ(drafts.at(i).toMap().value("messagetext").toString(), QStringLiteral("Unfinished"));
  }
  EXPECT_EQ(numbers, (QStringList{"102", "103", "104", "105"}));
  EXPECT_EQ(resultText(), counts(1, 4, 0));
  EXPECT_FALSE(sms()->sendState().running);
  EXPECT_EQ(sentSms().size(), 1);
}

TEST_F(SmsSend, TheOpenedDraftIsTheOneDeletedAfterItsSend) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  sms()->sendState().delayMs = 10;
  const QStringList before = draftTexts();
  ASSERT_EQ(before.size(), 2);
  choose(0, 2);
  sms()->page->msgBoxList->selectRow(0);
  const QString opened = sms()->currentSMSRecord().value("messagetext").toString();
  sms()->sendMessageInDraftBox();
  ASSERT_TRUE(sms()->messageWindow()->isVisible());
  EXPECT_TRUE(sms()->isDraftSms());
  EXPECT_EQ(sms()->stringForSMSEditor(), opened);
  // The user sorts and selects the other draft while the free editor is open.
  sms()->didClickTableColumn(QStringLiteral("date"));
  sms()->didClickTableColumn(QStringLiteral("date"));
  sms()->page->msgBoxList->selectRow(0);
  sms()->page->msgBoxList->selectRow(1);
  sms()->messageWindow()->sendMessageTo->setText(QStringLiteral("111"));
  sms()->sendMessage(sms()->messageWindow()->SendMessageBtn);
  ASSERT_TRUE(runOver());
  QStringList after = before;
  after.removeOne(opened);
  ASSERT_TRUE(testsupport::waitUntil([&] { return draftTexts() == after; }));

  // Every part failing: the draft stays.
  backend->control(QStringLiteral("SetSmsSendResult"), {false});
  sms()->reloadTable();
  sms()->page->msgBoxList->clearSelection();
  sms()->page->msgBoxList->selectRow(0);
  sms()->sendMessageInDraftBox();
  sms()->messageWindow()->sendMessageTo->setText(QStringLiteral("111"));
  sms()->sendMessage(sms()->messageWindow()->SendMessageBtn);
  ASSERT_TRUE(runOver());
  EXPECT_TRUE(resultText() == counts(0, 1, 0) || resultText() == counts(0, 2, 0)) << resultText().toStdString();
  EXPECT_EQ(draftTexts(), after);
}

TEST_F(SmsSend, ADraftSavedAgainReplacesItsOldCopyOnlyWhenStored) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList before = draftTexts();
  choose(0, 2);
  sms()->page->msgBoxList->selectRow(0);
  const QString opened = sms()->currentSMSRecord().value("messagetext").toString();
  sms()->sendMessageInDraftBox();
  // A failed save keeps the old draft and adds none.
  backend->control(QStringLiteral("SetDraftSaveResult"), {false});
  sms()->setStringForSMSEditor(QStringLiteral("edited once"));
  sms()->saveMessageToDraft();
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->sendState().resaves.isEmpty(); }));
  EXPECT_EQ(draftTexts(), before);
  // Opened again and saved: the new copy replaces the old one.
  backend->control(QStringLiteral("SetDraftSaveResult"), {true});
  choose(0, 2);
  sms()->page->msgBoxList->clearSelection();
  const int row = int(sms()->currentBoxList().indexOf(sms()->currentBoxList().value(0)));
  sms()->page->msgBoxList->selectRow(row);
  for (int r = 0; r < sms()->currentBoxList().size(); ++r)
    if (sms()->currentBoxList().at(r).toMap().value("messagetext").toString() == opened)
      sms()->page->msgBoxList->selectRow(r);
  sms()->sendMessageInDraftBox();
  sms()->setStringForSMSEditor(QStringLiteral("edited twice"));
  sms()->messageWindow()->sendMessageTo->setText(QStringLiteral("1;2;"));
  sms()->saveMessageToDraft();
  QStringList expected = before;
  expected.removeOne(opened);
  expected << QStringLiteral("edited twice");
  ASSERT_TRUE(testsupport::waitUntil([&] { return draftTexts() == expected; }));
  EXPECT_EQ(pcBox("DraftBox").last().toMap().value("mobilephone").toString(), QStringLiteral("1;2;"));
  EXPECT_EQ(sms()->getCurrentBox(), int(DraftBox));
}

TEST_F(SmsSend, RegistrationWritesOnlyWhenAllThreeWentThroughAndASecondRunStartsClean) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control(QStringLiteral("SetSendFailure"), {QStringLiteral("802"), 1});
  auto registration = [&](const QStringList &numbers) {
    parts.mainController->setIsSendingUserInfo(true);
    for (const QString &number : numbers) {
      const int before = int(sentSms().size());
      ASSERT_TRUE(sms()->sendSmsTo(number, QStringLiteral("REG"), false, true, false));
      ASSERT_TRUE(testsupport::waitUntil([&] { return sentSms().size() == before + 1; }));
      ASSERT_TRUE(testsupport::waitUntil(
          [&] { return sms()->sendState().resultOfSendUsrInfo_.size() == numbers.indexOf(number) + 1; }));
    }
  };
  registration({"801", "802", "803"});
  EXPECT_FALSE(parts.mainController->isSendingUserInfo());
  EXPECT_FALSE(config->getConfiguration().value("Main").toMap().value("Main_SendUserInfoOK").toBool());
  registration({"811", "812", "813"});
  EXPECT_FALSE(parts.mainController->isSendingUserInfo());
  EXPECT_TRUE(config->getConfiguration().value("Main").toMap().value("Main_SendUserInfoOK").toBool());
  QVariantMap onDisk;
  Plist::readDictionary(modemList() + QStringLiteral("/settings.plist"), &onDisk);
  EXPECT_TRUE(onDisk.value("Main").toMap().value("Main_SendUserInfoOK").toBool());
}

} // namespace
