// Managing stored messages on the SMS tab against the simulated modem: the delete and copy
// chains of the SIM, moves that delete each source once, failures that end a chain, and the PC's
// DeletedBox, ImportantBox and recovery on the list file.
#include "MainWindowFixture.h"
#include "ModalQuestions.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsTableModel.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QTest>
#include <QTimeZone>
#include <QtEndian>

namespace {

const QVariantMap kBoxOrder = {{"InBox", 0}, {"OutBox", 1}, {"DraftBox", 2}, {"DeletedBox", 3}, {"ImportantBox", 4}};

class SmsManage : public MainWindowFixture {
protected:
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }

  QVariantMap settingsOverrides() const override { return {{"SMS", sms()}}; }
  virtual QVariantMap sms() const { return {{"boxOrder", kBoxOrder}}; }

  void SetUp() override {
    MainWindowFixture::SetUp();
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    qunsetenv("QEL_MODEMLIST_DIR");
  }

  SMSController *controller() const { return g_SMSController; }
  SmsTableModel *table() const { return controller()->tableModel(); }
  bool ready() const {
    return testsupport::waitUntil([&] {
      return controller()->boxList(1, 0).size() == 3 && controller()->getNetCardStatus() == 12 &&
             controller()->receivePosition() == 1;
    });
  }
  void choose(int position, int box) {
    SMSPage *page = controller()->page;
    page->saveAtPos->setCurrentRow(controller()->qelPositionManager().getPositionOrderByPositon(position));
    controller()->selectSaveAt();
    page->msgBoxSelectAt->setCurrentRow(controller()->getBoxDisplayOrderWithBox(box, page->msgBoxSelectAt->count()));
    controller()->msgBoxSelect();
  }
  void selectRows(const QList<int> &rows) {
    QItemSelectionModel *selection = controller()->page->msgBoxList->selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(table()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  // The requests of a minor the backend received, as their words.
  QList<QList<quint32>> requests(int minor) const {
    QList<QList<quint32>> out;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (!UIMsg::decode(bytes, &m) || m.majorId != 768 || m.minorId != minor)
        continue;
      QList<quint32> words;
      for (int at = 0; at + 4 <= m.dataLength; at += 4)
        words << qFromLittleEndian<quint32>(m.data.data() + at);
      out << words;
    }
    return out;
  }
  QVariantList fileBox(const QString &file, const char *box) const {
    QVariantMap dict;
    Plist::readDictionary(modemList() + QLatin1Char('/') + file, &dict);
    return dict.value(QLatin1String(box)).toList();
  }
  static QString textOf(const QVariant &record) {
    const QVariantMap r = record.toMap();
    return r.value("smsInfo").toMap().value("messagetext").toString();
  }
  QStringList texts(const QString &file, const char *box) const {
    QStringList out;
    for (const QVariant &r : fileBox(file, box))
      out << textOf(r);
    return out;
  }
  int failureNotices() const {
    const QString failed = Map_Name_Item_of_IndexString(QStringLiteral("Fail to delete SMS!"));
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message == failed;
    return n;
  }
  bool chainDone() const {
    return testsupport::waitUntil([&] { return !controller()->chainRunning(); });
  }
};

TEST_F(SmsManage, DeletingSimMessagesAsksLargestIndexFirstAndLosesExactlyThose) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList before = texts("SmsList_Sim.plist", "InBox");
  ASSERT_EQ(before.size(), 3);
  choose(1, 0);
  selectRows({0, 2});
  controller()->deleteMessage(controller()->page->deleteBtn);
  EXPECT_FALSE(controller()->page->deleteBtn->isEnabled()); // disabled while the chain runs
  ASSERT_TRUE(chainDone());
  EXPECT_EQ(requests(92), (QList<QList<quint32>>{{1, 0, 2}, {1, 0, 0}}));
  EXPECT_EQ(texts("SmsList_Sim.plist", "InBox"), QStringList{before.at(1)});
  ASSERT_TRUE(testsupport::waitUntil([&] { return table()->rowCount() == 1; }));
  EXPECT_TRUE(controller()->page->msgBoxSelectAt->isEnabled());
  EXPECT_EQ(failureNotices(), 0);
}

TEST_F(SmsManage, DeleteFailuresAreAskedOnceMoreThenDroppedAndSaidOnce) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  backend->control("FailSmsRequests", {92, 5});
  choose(1, 0);
  selectRows({0, 1, 2});
  controller()->deleteMessage();
  ASSERT_TRUE(chainDone());
  // Two tries each; the last message's second try goes through.
  EXPECT_EQ(requests(92), (QList<QList<quint32>>{{1, 0, 2}, {1, 0, 2}, {1, 0, 1}, {1, 0, 1}, {1, 0, 0}, {1, 0, 0}}));
  EXPECT_EQ(fileBox("SmsList_Sim.plist", "InBox").size(), 2);
  EXPECT_EQ(failureNotices(), 1);
  EXPECT_TRUE(controller()->page->newMessageBtn->isEnabled());
  EXPECT_TRUE(controller()->page->msgBoxList->isEnabled());
}

class SmsManageMoveDeletes : public SmsManage {
protected:
  QVariantMap sms() const override { return {{"boxOrder", kBoxOrder}, {"Sms_DeleteSavedSms_AfterSaveOK", true}}; }
};

TEST_F(SmsManageMoveDeletes, AMoveToThePcDeletesEachSourceOnce) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList sim = texts("SmsList_Sim.plist", "InBox");
  const int pcBefore = int(fileBox("SmsList_PC.plist", "InBox").size());
  choose(1, 0);
  selectRows({0, 1});
  controller()->saveMessage(controller()->page->btnMoveTo_);
  ASSERT_TRUE(testsupport::waitUntil([&] { return requests(92).size() == 2 && !controller()->chainRunning(); }));
  EXPECT_EQ(requests(93), (QList<QList<quint32>>{{1, 0, 1, 0}, {1, 0, 0, 0}}));
  EXPECT_EQ(requests(92), (QList<QList<quint32>>{{1, 0, 1}, {1, 0, 0}}));
  EXPECT_EQ(texts("SmsList_Sim.plist", "InBox"), QStringList{sim.at(2)});
  const QStringList pc = texts("SmsList_PC.plist", "InBox");
  EXPECT_EQ(pc.size(), pcBefore + 2);
  EXPECT_TRUE(pc.contains(sim.at(0)) && pc.contains(sim.at(1)));
  EXPECT_EQ(controller()->getCurrentPosition(), 0); // the destination is shown
}

TEST_F(SmsManage, AFailedCopyLeavesItsSourceOnTheSim) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  const QStringList sim = texts("SmsList_Sim.plist", "InBox");
  backend->control("FailSmsRequests", {93, 1});
  choose(1, 0);
  selectRows({0, 1});
  controller()->saveMessage(controller()->page->btnMoveTo_);
  ASSERT_TRUE(testsupport::waitUntil([&] { return requests(92).size() == 1 && !controller()->chainRunning(); }));
  // The first copy asked for (row 1) failed: only row 0 moved.
  EXPECT_EQ(requests(92), (QList<QList<quint32>>{{1, 0, 0}}));
  EXPECT_EQ(texts("SmsList_Sim.plist", "InBox"), (QStringList{sim.at(1), sim.at(2)}));
  EXPECT_EQ(failureNotices(), 1);
}

TEST_F(SmsManage, ACopyBetweenPcAndSimWithTwoPositionsNeedsNoChoice) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(0, 0);
  EXPECT_EQ(controller()->getSavedDestPosition(), 1);
  choose(1, 0);
  EXPECT_EQ(controller()->getSavedDestPosition(), 0);
  // Save-to keeps the source; a cancelled question changes nothing.
  selectRows({2});
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0});
  controller()->saveMessage(controller()->page->saveToBtn);
  EXPECT_FALSE(controller()->chainRunning());
  EXPECT_TRUE(requests(93).isEmpty());
}

// A PC list of the test's own: two SIMs' messages, older entries in the DeletedBox and the
// ImportantBox, one of them without the box it came from.
QVariantMap pcRecord(const QString &number, const QString &text, const QString &imsi, int state,
                     const QVariantMap &extra = {}) {
  const QDateTime date = QDateTime(QDate(2026, 12, 2), QTime(10, text.size() % 60), Qt::UTC);
  QVariantMap info = {{"mobilephone", number}, {"messagetext", text}, {"date", date}, {"stat", state}};
  QVariantMap record = {{"concatSmsFlag", false},
                        {"concatSmsInfo", QVariantMap{{"mobilephone", number}, {"date", date}, {"stat", state}}},
                        {"smsInfo", info},
                        {"IMSI", imsi}};
  for (auto it = extra.cbegin(); it != extra.cend(); ++it)
    record.insert(it.key(), it.value());
  return record;
}

class SmsManagePc : public SmsManage {
protected:
  void SetUp() override {
    SmsManage::SetUp();
    const QString mine = QStringLiteral("001010123456789"), other = QStringLiteral("001019999999999");
    QVariantMap pc;
    pc.insert("InBox", QVariantList{pcRecord("+1555", "in one", mine, 1), pcRecord("+1556", "in two", other, 0),
                                    pcRecord("+1557", "in three", mine, 0)});
    pc.insert("OutBox", QVariantList{pcRecord("+1558", "out one", mine, 3)});
    pc.insert("DraftBox", QVariantList{});
    pc.insert("DeletedBox",
              QVariantList{pcRecord("+1559", "deleted before", other, 1, {{"preLocationBeforeGoToDelBox", 0}}),
                           pcRecord("+1560", "no way back", mine, 1)});
    pc.insert("ImportantBox", QVariantList{pcRecord("+1561", "important before", other, 1)});
    Plist::writeFile(modemList() + QStringLiteral("/SmsList_PC.plist"), pc);
  }
};

TEST_F(SmsManagePc, DeletedMessagesGoToTheDeletedBoxAndComeBackWithTheirState) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(0, 1); // OutBox
  selectRows({0});
  controller()->deleteMessage();
  EXPECT_TRUE(texts("SmsList_PC.plist", "OutBox").isEmpty());
  QVariantList deleted = fileBox("SmsList_PC.plist", "DeletedBox");
  ASSERT_EQ(deleted.size(), 3);
  EXPECT_EQ(textOf(deleted.last()), QStringLiteral("out one"));
  EXPECT_EQ(deleted.last().toMap().value("preLocationBeforeGoToDelBox").toInt(), 1);

  // Recovering all three: the one that names no earlier box stays.
  choose(0, 4);
  ASSERT_EQ(table()->rowCount(), 3);
  selectRows({0, 1, 2});
  controller()->recoverMessage();
  EXPECT_EQ(texts("SmsList_PC.plist", "DeletedBox"), QStringList{"no way back"});
  const QVariantList out = fileBox("SmsList_PC.plist", "OutBox");
  ASSERT_EQ(out.size(), 1);
  EXPECT_EQ(out.first().toMap().value("smsInfo").toMap().value("stat").toInt(), 3);
  EXPECT_TRUE(texts("SmsList_PC.plist", "InBox").contains("deleted before"));

  // Deleting in the DeletedBox removes for good.
  choose(0, 4);
  selectRows({0});
  controller()->deleteMessage();
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "DeletedBox").isEmpty());
}

TEST_F(SmsManagePc, CancelOrNoSelectionChangesNothing) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(0, 0);
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0, 0, 0});
  selectRows({0});
  controller()->deleteMessage();
  controller()->moveToImportantBox();
  EXPECT_EQ(fileBox("SmsList_PC.plist", "InBox").size(), 3);
  EXPECT_TRUE(fileBox("SmsList_PC.plist", "ImportantBox").size() == 1);
  // Nothing selected: the question is asked, and nothing goes.
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>();
  selectRows({});
  controller()->deleteMessage();
  EXPECT_EQ(fileBox("SmsList_PC.plist", "InBox").size(), 3);
}

class SmsManagePcByImsi : public SmsManagePc {
protected:
  QVariantMap settingsOverrides() const override {
    return {{"SMS", QVariantMap{{"boxOrder", kBoxOrder}, {"displayPCSMSByIMSI", true}}},
            {"IMSI", QStringLiteral("001010123456789")}};
  }
};

TEST_F(SmsManagePcByImsi, TheDeletedAndImportantBoxesKeepTheirOlderEntries) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  choose(0, 0);
  ASSERT_EQ(table()->rowCount(), 2); // this SIM's messages only
  selectRows({0});
  controller()->deleteMessage();
  selectRows({0});
  controller()->moveToImportantBox();
  EXPECT_EQ(texts("SmsList_PC.plist", "InBox"), QStringList{"in two"});
  EXPECT_EQ(texts("SmsList_PC.plist", "DeletedBox"), (QStringList{"deleted before", "no way back", "in one"}));
  EXPECT_EQ(texts("SmsList_PC.plist", "ImportantBox"), (QStringList{"important before", "in three"}));
  EXPECT_EQ(fileBox("SmsList_PC.plist", "ImportantBox").last().toMap().value("preLocationBeforeGotoImpBox").toInt(), 0);
}

} // namespace

namespace {

class SmsManageCard : public SmsManage {
protected:
  QVariantMap sms() const override {
    return {{"positionOrder", QVariantMap{{"AT_PC", 0}, {"AT_SIM", 1}, {"AT_TCARD", 2}}}, {"SynTCardTimeInterval", 1}};
  }
  void TearDown() override {
    SmsManage::TearDown();
    qunsetenv("QEL_TCARD_VOLUME");
  }
};

TEST_F(SmsManageCard, TheCardIsSynchronisedOnlyWhenChangedAndMounted) {
  qunsetenv("QEL_TCARD_VOLUME");
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  EXPECT_TRUE(controller()->synTcardTimerActive());
  EXPECT_EQ(controller()->synTcardInterval(), 1);
  controller()->synTCard();
  EXPECT_TRUE(requests(115).isEmpty()); // nothing changed
  controller()->setSynTcardSmsFlag(true);
  controller()->synTCard();
  QTest::qWait(1500);
  EXPECT_TRUE(requests(115).isEmpty()); // no card mounted
  EXPECT_TRUE(controller()->synTcardSmsFlag());
  const QString card = dir.filePath(QStringLiteral("card"));
  QDir().mkpath(card + QStringLiteral("/SMS"));
  qputenv("QEL_TCARD_VOLUME", card.toLocal8Bit());
  // The next tick asks; the backend's answer clears the flag.
  ASSERT_TRUE(testsupport::waitUntil([&] { return !requests(115).isEmpty() && !controller()->synTcardSmsFlag(); }));
}

TEST_F(SmsManage, ARestoreReplyReloadsThePcListAndTellsTheSettingsWindow) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(ready());
  auto inject = [&](int type, int result) {
    UIMsg m;
    m.moduleId = 5;
    m.majorId = 768;
    m.minorId = 104;
    m.type = type;
    m.result = uint8_t(result);
    backend->control("Inject", {m.encode()});
  };
  const QString ok = Map_Name_Item_of_IndexString(QStringLiteral("Restore SMS And PhoneBook Success."));
  const QString failed =
      Map_Name_Item_of_IndexString(QStringLiteral("Restore SMS And PhoneBook Failed.Invalid data file!"));
  auto said = [&](const QString &text) {
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message == text;
    return n;
  };
  inject(2, 0); // progress: ignored
  inject(1, 0);
  inject(0, 0); // not a reply: a failure
  ASSERT_TRUE(testsupport::waitUntil([&] { return said(failed) == 1; }));
  EXPECT_EQ(said(ok), 1);
}

} // namespace
