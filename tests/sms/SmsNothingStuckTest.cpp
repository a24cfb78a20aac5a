// The SMS tab against the simulated modem where messages used to get stuck or lost: flat records
// in the special boxes, a device removed while a message is written or sent, the stamps shown,
// what a delete leaves behind, arrivals in the middle of a delete or move chain, saves that fail,
// delivery reports, the restore reply and the smaller faults of the lists.
#include "../mainwindow/MainWindowFixture.h"
#include "ModalQuestions.h"
#include "NotificationCenter.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalWindows.h"
#include "SmsSendWindows.h"
#include "SmsService.h"
#include "SmsSource.h"
#include "SmsTableModel.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>
#include <QTimeZone>
#include <QtEndian>
#include <ctime>

namespace {

const QVariantMap kAllBoxes = {{"InBox", 0},        {"OutBox", 1},       {"DraftBox", 2},          {"DeletedBox", 3},
                               {"ImportantBox", 4}, {"BroadCastBox", 5}, {"DELIVERY_REPORTBOX", 6}};

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QVariantMap flat(const QString &text, const QString &number, int minute, const QVariantMap &extra = {}) {
  QVariantMap r = {{"messagetext", text},
                   {"mobilephone", number},
                   {"date", QDateTime(QDate(2026, 12, 3), QTime(8, minute), QTimeZone::utc())},
                   {"stat", QString()}};
  for (auto it = extra.cbegin(); it != extra.cend(); ++it)
    r.insert(it.key(), it.value());
  return r;
}

QVariantMap full(const QString &text, const QString &number, int minute, int state = 1) {
  const QDateTime date(QDate(2026, 12, 3), QTime(9, minute), QTimeZone::utc());
  return {{"concatSmsFlag", false},
          {"concatSmsInfo", QVariantMap{{"mobilephone", number}, {"date", date}, {"stat", state}}},
          {"smsInfo", QVariantMap{{"mobilephone", number}, {"messagetext", text}, {"date", date}, {"stat", state}}}};
}

class SmsStuck : public MainWindowFixture {
protected:
  QVariantMap smsSettings{{"boxOrder", kAllBoxes}};
  QVariantMap pcList;
  std::unique_ptr<SmsService> service;

  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QString pcPath() const { return modemList() + QStringLiteral("/SmsList_PC.plist"); }
  QVariantMap settingsOverrides() const override { return {{"SMS", smsSettings}}; }

  void SetUp() override {}
  // The settings and PC list the test chose, then the window against the scenario.
  bool start(const QString &scenario = QStringLiteral("sms-lists")) {
    MainWindowFixture::SetUp();
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
    if (!pcList.isEmpty())
      Plist::writeFile(pcPath(), pcList);
    service = std::make_unique<SmsService>();
    SmsService::setSharedSmsService(service.get());
    return launch(scenario);
  }
  void TearDown() override {
    ModalQuestions::closeAllQuestions();
    MainWindowFixture::TearDown();
    SmsService::setSharedSmsService(nullptr);
    service.reset();
    qunsetenv("QEL_MODEMLIST_DIR");
    QDir(pcPath() + QStringLiteral(".lock")).removeRecursively();
  }

  SMSController *c() const { return g_SMSController; }
  SMSPage *page() const { return c()->page; }
  SmsTableModel *table() const { return c()->tableModel(); }
  bool ready() const {
    return testsupport::waitUntil(
        [&] { return c()->boxList(1, 0).size() == 3 && c()->getNetCardStatus() == 12 && c()->receivePosition() == 1; });
  }
  void choose(int position, int box) {
    page()->saveAtPos->setCurrentRow(c()->qelPositionManager().getPositionOrderByPositon(position));
    c()->selectSaveAt();
    page()->msgBoxSelectAt->setCurrentRow(c()->getBoxDisplayOrderWithBox(box, page()->msgBoxSelectAt->count()));
    c()->msgBoxSelect();
  }
  void selectRows(const QList<int> &rows) {
    QItemSelectionModel *selection = page()->msgBoxList->selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(table()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  QString cell(int row, const char *column) const {
    return table()
        ->data(table()->index(row, int(SmsTableModel::columnIds().indexOf(QLatin1String(column)))), Qt::DisplayRole)
        .toString();
  }
  QVariantList fileBox(const QString &file, const char *box) const {
    QVariantMap dict;
    Plist::readDictionary(modemList() + QLatin1Char('/') + file, &dict);
    return dict.value(QLatin1String(box)).toList();
  }
  static QString textOf(const QVariant &record) {
    const QVariantMap r = record.toMap();
    if (r.contains("smsInfo"))
      return r.value("smsInfo").toMap().value("messagetext").toString();
    return r.value("messagetext").toString();
  }
  QStringList texts(const QString &file, const char *box) const {
    QStringList out;
    for (const QVariant &r : fileBox(file, box))
      out << textOf(r);
    return out;
  }
  int said(const QString &message) const {
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message == message;
    return n;
  }
  int saidContaining(const QString &part) const {
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message.contains(part);
    return n;
  }
  // While this folder stands where the PC list's lock file goes, no write of the list succeeds.
  void blockPcWrites(bool blocked) {
    const QString lock = pcPath() + QStringLiteral(".lock");
    QFile::remove(lock);
    if (blocked)
      QDir().mkpath(lock);
    else
      QDir(lock).removeRecursively();
  }
};

// ---- flat records in the special boxes ----

class SmsStuckFlat : public SmsStuck {
protected:
  void SetUp() override {
    pcList = {{"InBox", QVariantList{full("in", "+1500", 1)}},
              {"OutBox", QVariantList{}},
              {"DraftBox", QVariantList{flat("draft one", "+1601;+1602;", 2)}},
              {"DeletedBox", QVariantList{flat("deleted draft", "+1603;", 3, {{"preLocationBeforeGoToDelBox", 2}})}},
              {"ImportantBox", QVariantList{flat("kept broadcast", "4370", 4, {{"preLocationBeforeGotoImpBox", 6}})}},
              {"BroadCastBox", QVariantList{flat("cell news", "4370", 5)}}};
  }
};

TEST_F(SmsStuckFlat, FlatBroadcastsAndDraftsAreShownDeletedRecoveredAndMoved) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  // Each special box shows its flat record's text and number.
  const struct {
    int box;
    QString text;
  } shown[] = {{BroadCastBox, "cell news"}, {DeletedBox, "deleted draft"}, {ImportantBox, "kept broadcast"}};
  for (const auto &s : shown) {
    SCOPED_TRACE(s.box);
    choose(0, s.box);
    ASSERT_EQ(table()->rowCount(), 1);
    selectRows({0});
    EXPECT_EQ(page()->messageText->toPlainText(), s.text);
    EXPECT_FALSE(cell(0, "mobilephone").isEmpty());
  }

  // The broadcast goes to the DeletedBox, and comes back to the BroadCastBox.
  choose(0, BroadCastBox);
  selectRows({0});
  c()->deleteMessage();
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "BroadCastBox").isEmpty());
  EXPECT_EQ(texts("SmsList_PC.plist", "DeletedBox"), (QStringList{"deleted draft", "cell news"}));
  EXPECT_EQ(fileBox("SmsList_PC.plist", "DeletedBox").last().toMap().value("preLocationBeforeGoToDelBox").toInt(),
            int(BroadCastBox));
  // Stored flat, as it came.
  EXPECT_FALSE(fileBox("SmsList_PC.plist", "DeletedBox").last().toMap().contains("concatSmsInfo"));
  choose(0, DeletedBox);
  ASSERT_EQ(table()->rowCount(), 2);
  selectRows({0, 1});
  c()->recoverMessage();
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "DeletedBox").isEmpty());
  EXPECT_EQ(texts("SmsList_PC.plist", "BroadCastBox"), QStringList{"cell news"});
  EXPECT_EQ(texts("SmsList_PC.plist", "DraftBox"), (QStringList{"draft one", "deleted draft"}));

  // A draft goes to the ImportantBox and back; the important broadcast goes back to its box.
  choose(0, DraftBox);
  selectRows({0});
  c()->moveToImportantBox();
  EXPECT_EQ(texts("SmsList_PC.plist", "ImportantBox"), (QStringList{"kept broadcast", "draft one"}));
  choose(0, ImportantBox);
  selectRows({0, 1});
  c()->recoverMessage();
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "ImportantBox").isEmpty());
  EXPECT_EQ(texts("SmsList_PC.plist", "BroadCastBox"), (QStringList{"cell news", "kept broadcast"}));
  EXPECT_EQ(texts("SmsList_PC.plist", "DraftBox"), (QStringList{"deleted draft", "draft one"}));
  EXPECT_EQ(fileBox("SmsList_PC.plist", "DraftBox").last().toMap().value("mobilephone").toString(), "+1601;+1602;");

  // Deleting in the DeletedBox removes the flat record for good.
  choose(0, DraftBox);
  selectRows({0});
  c()->deleteMessage();
  choose(0, DeletedBox);
  ASSERT_EQ(table()->rowCount(), 1);
  selectRows({0});
  c()->deleteMessage();
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "DeletedBox").isEmpty());
}

// ---- a delete leaves nothing behind ----

TEST_F(SmsStuck, AfterADeleteTheTextIsGoneAndCallDialsNothing) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  QStringList dialled;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("makeCallWithPhoneNumber"), nullptr, [&](const Notification &n) {
        dialled << n.userInfo.value(QStringLiteral("makeCallWithPhoneNumber")).toString();
      });
  for (int position : {0, 1}) {
    SCOPED_TRACE(position);
    choose(position, InBox);
    const int before = table()->rowCount();
    ASSERT_GT(before, 0);
    selectRows({0});
    ASSERT_FALSE(page()->messageText->toPlainText().isEmpty());
    ASSERT_TRUE(page()->callBtn->isEnabled());
    c()->deleteMessage();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !c()->chainRunning() && table()->rowCount() < before; }));
    EXPECT_TRUE(page()->messageText->toPlainText().isEmpty() || c()->currentSMSRecord().isEmpty());
    EXPECT_TRUE(c()->currentSMSRecord().isEmpty());
    EXPECT_FALSE(page()->callBtn->isEnabled());
    EXPECT_FALSE(page()->replyBtn->isEnabled());
    c()->call();
  }
  EXPECT_TRUE(dialled.isEmpty());
}

// ---- an arrival in the middle of a chain ----

TEST_F(SmsStuck, AnArrivalDuringASimDeleteChainDeletesExactlyTheChosenMessages) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList before = texts("SmsList_Sim.plist", "InBox");
  ASSERT_EQ(before.size(), 3);
  // Once the first delete is done, a message arrives at the front of the SIM's InBox.
  backend->control("DeliverSmsAfterRequests", {92, 1, QString("+1999"), QString("arrived meanwhile"), 1});
  choose(1, InBox);
  selectRows({0, 2});
  c()->deleteMessage();
  ASSERT_TRUE(testsupport::waitUntil([&] { return !c()->chainRunning(); }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return texts("SmsList_Sim.plist", "InBox").size() == 2; }));
  EXPECT_EQ(texts("SmsList_Sim.plist", "InBox"), (QStringList{"arrived meanwhile", before.at(1)}));
}

class SmsStuckMoves : public SmsStuck {
protected:
  void SetUp() override { smsSettings.insert("Sms_DeleteSavedSms_AfterSaveOK", true); }
};

TEST_F(SmsStuckMoves, AnArrivalDuringAMoveCopiesAndDeletesExactlyTheChosenMessages) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList sim = texts("SmsList_Sim.plist", "InBox");
  const QStringList pcBefore = texts("SmsList_PC.plist", "InBox");
  // After the first copy a message arrives on the SIM, and another after the first delete.
  backend->control("DeliverSmsAfterRequests", {93, 1, QString("+1998"), QString("first intruder"), 1});
  backend->control("DeliverSmsAfterRequests", {92, 1, QString("+1997"), QString("second intruder"), 1});
  choose(1, InBox);
  selectRows({0, 2});
  c()->saveMessage(page()->btnMoveTo_);
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return !c()->chainRunning() && texts("SmsList_Sim.plist", "InBox").size() == 3; }, 20000));
  EXPECT_EQ(texts("SmsList_Sim.plist", "InBox"), (QStringList{"second intruder", "first intruder", sim.at(1)}));
  QStringList moved = texts("SmsList_PC.plist", "InBox");
  for (const QString &t : pcBefore)
    moved.removeOne(t);
  moved.sort();
  QStringList expected{sim.at(0), sim.at(2)};
  expected.sort();
  EXPECT_EQ(moved, expected);
}

// ---- the device goes ----

class SmsStuckRemoval : public SmsStuck {
protected:
  void SetUp() override {
    smsSettings.insert("smsPopUpOfZ3i", true);
    smsSettings.insert("SMS_NewMessageBtnIsEnabled_WhenNetCardUnDetected", true);
  }
};

TEST_F(SmsStuckRemoval, UnpluggingKeepsTheTypedTextWhichCanBeSavedAsAPcDraft) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  c()->newMessage();
  SmsEditorWindow *editor = c()->messageWindow();
  editor->sendMessageTo->setText(QStringLiteral("+15557;"));
  c()->setStringForSMSEditor(QStringLiteral("half written"));
  backend->control("Unplug");
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->getNetCardStatus() == 1; }));
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(c()->stringForSMSEditor(), QStringLiteral("half written"));
  EXPECT_EQ(editor->sendMessageTo->text(), QStringLiteral("+15557;"));
  EXPECT_TRUE(page()->newMessageBtn->isEnabled());
  // The user is told once the removal has been dealt with, and offered the PC draft.
  ASSERT_TRUE(testsupport::waitUntil([&] {
    return said(word("The device was removed. Your message is kept: Save to Draft keeps it on the PC.")) == 1;
  }));
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  EXPECT_FALSE(editor->isVisible());
  const QVariantList drafts = fileBox("SmsList_PC.plist", "DraftBox");
  ASSERT_FALSE(drafts.isEmpty());
  EXPECT_EQ(drafts.last().toMap().value("messagetext").toString(), QStringLiteral("half written"));
  EXPECT_EQ(drafts.last().toMap().value("mobilephone").toString(), QStringLiteral("+15557;"));
}

TEST_F(SmsStuckRemoval, UnpluggingEndsABackgroundSendTheArrivalsAndTheSpecialBoxes) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  // An unread message on the PC fills the pop-up list and starts the picture.
  backend->control("DeliverSms", {QString("+15550009"), QString("unread"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return !c()->arrivalState().tmpNewSMSListOfPop_Up.empty(); }));
  // A background send of three recipients, cut short.
  service->setSendingSmsSMSInBackGroud(true);
  service->setUnshowInfoWndWhenSendSmsByFlag(true);
  c()->sendMessageBackground(QStringLiteral("+1701;+1702;+1703;"), QStringLiteral("buy"));
  ASSERT_TRUE(c()->sendState().running);
  choose(1, InBox);
  backend->control("Unplug");
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->getNetCardStatus() == 1; }));
  EXPECT_FALSE(c()->sendState().running);
  EXPECT_FALSE(service->sendingSMSInBackGround());
  EXPECT_FALSE(config->getConfigurationByModuleAndKey("SMS", "noSendInfoWnd").toBool());
  EXPECT_TRUE(c()->arrivalState().tmpNewSMSListOfPop_Up.empty());
  EXPECT_TRUE(c()->synTcardSmsFlag());
  EXPECT_EQ(c()->getCurrentPosition(), int(AT_PC));
  EXPECT_EQ(c()->simUsed(), 0);
  // The recipients not reached keep the text as PC drafts.
  EXPECT_GE(texts("SmsList_PC.plist", "DraftBox").count(QStringLiteral("buy")), 1);
}

// ---- the stamps shown ----

class SmsStuckClock : public SmsStuck {
protected:
  QByteArray oldTz;
  bool hadTz = false;
  void SetUp() override {
    smsSettings.insert("isHaveDeliveryReportBox", true);
    smsSettings.insert("smsPopUpOfZ3i", true);
    hadTz = qEnvironmentVariableIsSet("TZ");
    oldTz = qgetenv("TZ");
    // Three hours east of GMT; the message centre stamps eight.
    qputenv("TZ", "QEL-3");
    tzset();
  }
  void TearDown() override {
    SmsStuck::TearDown();
    if (hadTz)
      qputenv("TZ", oldTz);
    else
      qunsetenv("TZ");
    tzset();
  }
};

TEST_F(SmsStuckClock, TheArrivalReportAndPopUpWindowsShowTheListsLocalTime) {
  if (QDateTime::currentDateTime().offsetFromUtc() != 3 * 3600)
    GTEST_SKIP() << "the local zone cannot be set here";
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverSms", {QString("+15550042"), QString("what time is it"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->newSMSArriveMsg()->field1->text() == "+15550042"; }));
  choose(0, InBox);
  int row = -1;
  for (int r = 0; r < table()->rowCount(); ++r)
    if (cell(r, "mobilephone") == "+15550042")
      row = r;
  ASSERT_GE(row, 0);
  const QString listed = cell(row, "date");
  ASSERT_FALSE(listed.isEmpty());
  EXPECT_EQ(c()->newSMSArriveMsg()->field3->text(), listed);
  ASSERT_FALSE(c()->arrivalState().tmpNewSMSListOfPop_Up.empty());
  EXPECT_EQ(c()->arrivalState().tmpNewSMSListOfPop_Up.back().getMessageDateFormatString(), listed);

  // A report: its window and its row in the report box show the same local time.
  backend->control("DeliverReport", {QString("+15550043"), 1});
  ASSERT_TRUE(testsupport::waitUntil([&] { return !c()->deliveryReports().empty(); }));
  choose(0, DELIVERY_REPORTBOX);
  ASSERT_GE(table()->rowCount(), 1);
  EXPECT_TRUE(c()->reportWindow()->content->toPlainText().contains(cell(0, "date")))
      << c()->reportWindow()->content->toPlainText().toStdString() << " / " << cell(0, "date").toStdString();
}

// ---- delivery reports ----

class SmsStuckReports : public SmsStuck {
protected:
  void SetUp() override { smsSettings.insert("isHaveDeliveryReportBox", true); }
};

TEST_F(SmsStuckReports, AReportIsNewUntilReadAndTheTreeCountsTheBox) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverReport", {QString("+15550051"), 1});
  backend->control("DeliverReport", {QString("+15550052"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->deliveryReports().size() == 2; }));
  choose(0, DELIVERY_REPORTBOX);
  ASSERT_EQ(table()->rowCount(), 2);
  const QString fresh = table()->context().unreadWord;
  EXPECT_EQ(cell(0, "stat"), fresh);
  EXPECT_EQ(cell(1, "stat"), fresh);
  selectRows({1});
  EXPECT_EQ(cell(1, "stat"), QString());
  EXPECT_EQ(cell(0, "stat"), fresh);
  QVariant stored;
  ASSERT_TRUE(Plist::readFile(SMSController::deliveryReportBoxPath(), &stored));
  EXPECT_EQ(stored.toList().value(1).toMap().value("stat").toInt(), 1);
  // The tree's report node counts the reports.
  ASSERT_NE(g_SmsSource, nullptr);
  const Node *reports = g_SmsSource->getNodeOfBoxByPositonNameAndSavePos("AT_PC", "DELIVERY_REPORTBOX");
  ASSERT_NE(reports, nullptr);
  EXPECT_EQ(reports->name(), word("Delivery Report") + QStringLiteral("(2)"));
  // Deleting the read one (the older report, shown second) takes it from the box and the file.
  c()->deleteMessage();
  EXPECT_EQ(table()->rowCount(), 1);
  ASSERT_TRUE(Plist::readFile(SMSController::deliveryReportBoxPath(), &stored));
  EXPECT_EQ(stored.toList().size(), 1);
  EXPECT_EQ(stored.toList().value(0).toMap().value("mobilephone").toString(), QStringLiteral("+15550052"));
}

// ---- saves that fail ----

class SmsStuckSaves : public SmsStuck {
protected:
  void SetUp() override { smsSettings.insert("Sms_SaveBroadCastAsSMS_IfNeeded", true); }
};

TEST_F(SmsStuckSaves, ADraftWithoutAModemIsWrittenBeforeTheEditorCloses) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("Unplug");
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->getNetCardStatus() == 1; }));
  c()->newMessage();
  SmsEditorWindow *editor = c()->messageWindow();
  editor->sendMessageTo->setText(QStringLiteral("+1800;"));
  c()->setStringForSMSEditor(QStringLiteral("keep me"));
  const int before = int(fileBox("SmsList_PC.plist", "DraftBox").size());
  blockPcWrites(true);
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  // Not stored: the editor stays with the text, and the failure is said once.
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(c()->stringForSMSEditor(), QStringLiteral("keep me"));
  EXPECT_EQ(fileBox("SmsList_PC.plist", "DraftBox").size(), before);
  const int notices = saidContaining(word("It is kept"));
  EXPECT_EQ(notices, 1);
  blockPcWrites(false);
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(fileBox("SmsList_PC.plist", "DraftBox").size(), before + 1);
  EXPECT_EQ(texts("SmsList_PC.plist", "DraftBox").last(), QStringLiteral("keep me"));
}

TEST_F(SmsStuckSaves, ADraftTheModemDoesNotStoreLeavesTheEditorOpen) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  c()->newMessage();
  SmsEditorWindow *editor = c()->messageWindow();
  editor->sendMessageTo->setText(QStringLiteral("+1801;"));
  c()->setStringForSMSEditor(QStringLiteral("not stored"));
  backend->control(QStringLiteral("SetDraftSaveResult"), {false});
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->sendState().resaves.isEmpty(); }));
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(c()->stringForSMSEditor(), QStringLiteral("not stored"));
  EXPECT_EQ(saidContaining(word("It is kept")), 1);
  backend->control(QStringLiteral("SetDraftSaveResult"), {true});
  c()->saveMessageToDraft(editor->SaveToDraftBtn);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !editor->isVisible(); }));
  EXPECT_TRUE(texts("SmsList_PC.plist", "DraftBox").contains(QStringLiteral("not stored")));
}

TEST_F(SmsStuckSaves, BroadcastsThatCannotBeSavedAreKeptSaidOnceAndSavedLater) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  c()->setPcWriteRetryInterval(100);
  blockPcWrites(true);
  backend->control("Broadcast", {QString("4370"), QString("first news")});
  backend->control("Broadcast", {QString("4370"), QString("second news")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->pendingPcWriteCount() == 2; }));
  EXPECT_EQ(saidContaining(word("It is kept")), 1);
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "BroadCastBox").isEmpty());
  blockPcWrites(false);
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->pendingPcWriteCount() == 0; }));
  EXPECT_EQ(texts("SmsList_PC.plist", "BroadCastBox"), (QStringList{"second news", "first news"}));
  // Saved again: a later failure is said again.
  blockPcWrites(true);
  backend->control("Broadcast", {QString("4370"), QString("third news")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return saidContaining(word("It is kept")) == 2; }));
  blockPcWrites(false);
}

// ---- the restore reply ----

TEST_F(SmsStuck, ManyRestoreRepliesOpenOneAlertAndPackagesKeepFlowing) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  // The windows themselves, not a script: an alert that waited would hold the handler.
  answers.reset();
  UIMsg m;
  m.moduleId = 5;
  m.majorId = 768;
  m.minorId = 104;
  m.type = 1;
  m.result = 0xFF;
  for (int i = 0; i < 200; ++i)
    backend->control("Inject", {m.encode()});
  // A later package is handled while the alert is up.
  backend->control("DeliverSms", {QString("+15550077"), QString("after the flood"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->newSMSArriveMsg()->field1->text() == "+15550077"; }, 20000));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 1);
  EXPECT_GE(ModalQuestions::droppedCount(), 199);
  ModalQuestions::closeAllQuestions();
  answers = std::make_unique<ScriptedAnswers>();
}

// ---- the pop-up and the counts ----

class SmsStuckPopUp : public SmsStuck {
protected:
  void SetUp() override {
    smsSettings.insert("smsPopUpOfZ3i", true);
    smsSettings.insert("DisplaySMSCountInfo", true);
  }
};

TEST_F(SmsStuckPopUp, OpeningFromThePopUpShowsTheMessageReadInTheTable) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("DeliverSms", {QString("+15550061"), QString("open me"), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] {
    const auto &list = c()->arrivalState().tmpNewSMSListOfPop_Up;
    return !list.empty() && list.back().phoneNum == QStringLiteral("+15550061");
  }));
  c()->openNewSMSContentOfPop_Up();
  EXPECT_EQ(c()->getCurrentPosition(), int(AT_PC));
  int row = -1;
  for (int r = 0; r < table()->rowCount(); ++r)
    if (cell(r, "mobilephone") == "+15550061")
      row = r;
  ASSERT_GE(row, 0);
  EXPECT_NE(cell(row, "stat"), table()->context().unreadWord);
  for (const QVariant &r : fileBox("SmsList_PC.plist", "InBox"))
    if (textOf(r) == "open me") {
      EXPECT_EQ(r.toMap().value("smsInfo").toMap().value("stat").toInt(), 1);
    }
}

TEST_F(SmsStuckPopUp, TheTreeAndThePositionListCountThePcAlike) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  // A long message counts its parts in both.
  backend->control("DeliverSms", {QString("+15550062"), QString(400, QLatin1Char('a')), 0});
  ASSERT_TRUE(testsupport::waitUntil([&] {
    for (const QVariant &r : c()->boxList(0, 0))
      if (r.toMap().value("concatSmsFlag").toBool())
        return true;
    return false;
  }));
  c()->reloadTable();
  const int count = c()->getSMSCountWithPos(AT_PC);
  EXPECT_EQ(c()->getSMSCountOfNodeWithPos(AT_PC), count);
  const QString row = page()->saveAtPos->item(c()->qelPositionManager().getPositionOrderByPositon(AT_PC))->text();
  EXPECT_TRUE(row.contains(QString::number(count))) << row.toStdString();
  ASSERT_NE(g_SmsSource, nullptr);
  const QString folder = g_SmsSource->getNodeofSavePosByPositonName("AT_PC")->name();
  EXPECT_TRUE(folder.contains(QStringLiteral("(%1/").arg(count))) << folder.toStdString();
}

} // namespace

namespace {

TEST_F(SmsStuck, TheBoxCountersScrollWithTheirRowsAndEverySkinItemIsRegistered) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  parts.window->show();
  QListWidget *boxes = page()->msgBoxSelectAt;
  boxes->setFixedHeight(boxes->sizeHintForRow(0) * 2 + 2 * boxes->frameWidth());
  c()->reloadTable();
  QCoreApplication::processEvents();
  QScrollBar *bar = boxes->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  auto rowTop = [&](int box) {
    return boxes->visualItemRect(boxes->item(c()->getBoxDisplayOrderWithBox(box, boxes->count()))).top();
  };
  QLabel *drafts = page()->draftBoxMessageNum;
  EXPECT_EQ(drafts->parentWidget(), boxes->viewport());
  bar->setValue(bar->maximum());
  QCoreApplication::processEvents();
  const int shift = drafts->geometry().center().y() - rowTop(DraftBox);
  EXPECT_GE(shift, 0);
  EXPECT_LT(shift, boxes->sizeHintForRow(0));
  EXPECT_TRUE(page()->inBoxMessageNum->isHidden()); // its row scrolled away
  bar->setValue(0);
  QCoreApplication::processEvents();
  EXPECT_FALSE(page()->inBoxMessageNum->isHidden());
  EXPECT_EQ(page()->inBoxMessageNum->geometry().center().y() / boxes->sizeHintForRow(0),
            rowTop(InBox) / boxes->sizeHintForRow(0));

  // Every window's skin items, once each.
  c()->messageWindow();
  c()->sendingWindow();
  c()->newSMSArriveMsg();
  c()->class0ArriveWin();
  c()->reportWindow();
  c()->smsSimMaxWarningWin();
  c()->popUpPanel();
  c()->popUpContentWindow();
  const QStringList names = c()->skinItemNames();
  EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
  EXPECT_EQ(names.size(), 50);
  for (const char *name : {"wndSMSMessageEdit", "wndSMSSimMaxWarning", "wndSMSNewSMSArrive", "wndSMSNewSMSInfo",
                           "wndSMSReport", "btnSMSSendMsg", "wndNewSmsArrive", "wndNewSmsView", "wndSMSClass0NewSMS",
                           "textNewSMSDate", "labelSMSReport", "viewSMSTab"})
    EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
}

} // namespace

namespace {

TEST_F(SmsStuck, OpeningTheTabSaysTheSimIsFull) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  SmsNoteWindow *full = c()->smsSimMaxWarningWin();
  full->orderOut();
  auto openTab = [&] {
    NotificationCenter::defaultCenter().postNotificationName(
        QStringLiteral("TabViewItemWillChange"), nullptr,
        {{QStringLiteral("TabViewItemWillChange"), QStringLiteral("SMS")}});
  };
  openTab();
  EXPECT_FALSE(full->isVisible()); // room left
  // Five parts stored on a SIM of five.
  backend->control("SetSmsCapacity", {1, 5});
  ASSERT_TRUE(testsupport::waitUntil([&] { return c()->simCapacity() == 5; }));
  full->orderOut();
  openTab();
  EXPECT_TRUE(full->isVisible());
  EXPECT_EQ(full->title->text(), word("(U)SIM SMS bank is full!"));
}

} // namespace

namespace {

class SmsStuckUsage : public SmsStuck {
protected:
  void SetUp() override {
    smsSettings.insert("SMS_CheckSmsIsFlowValueSms_ifNeeded", true);
    smsSettings.insert("SMS_FlowValueSMSJudegeConditions",
                       QVariantMap{{"FlowValueSMS_PhoneNumber", "10086"},
                                   {"FLowValueSMS_Bandbreite", "volume"},
                                   {"FlowValueSMS_SeventyFivePercentKey", "75%"},
                                   {"FlowValueSMS_OneHundredPercentKey1", "100%"},
                                   {"FlowValueSMS_OneHundredPercentKey2", "used up"}});
  }
};

TEST_F(SmsStuckUsage, TheUsageMessageCopiedToTheSimIsReadThere) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QString text = QStringLiteral("Your volume is 75% used");
  backend->control("DeliverSms", {QString("10086"), text, 0});
  auto stateOnSim = [&] {
    for (const QVariant &r : fileBox("SmsList_Sim.plist", "InBox"))
      if (textOf(r) == text)
        return r.toMap().value("smsInfo").toMap().value("stat").toInt();
    return -1;
  };
  ASSERT_TRUE(testsupport::waitUntil([&] { return stateOnSim() == 1; })) << stateOnSim();
}

} // namespace
