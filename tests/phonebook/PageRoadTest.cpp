// The phonebook page's commands end to end: the program with its page against the simulated
// modem with a device memory and a SIM of five records ("phonebook-me").
#include "MainWindowFixture.h"
#include "NoWaitingAlertInHandlers.h"
#include "PBController.h"
#include "PBFixture.h"
#include "PBPage.h"
#include "WordGlobe.h"

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QStringList sortedNames(const QVariantList &list, const char *key = "username") {
  QStringList names;
  for (const QVariant &v : list)
    names << v.toMap().value(QLatin1String(key)).toString();
  names.sort();
  return names;
}

class PhonebookPageRoadTest : public MainWindowFixture {
protected:
  // The modem's answers (failed writes among them) never wait for the user.
  NoWaitingAlertInHandlers noWaitingAlerts;
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("HasMePosition"), true}, {QStringLiteral("CurrentLanguage"), QStringLiteral("English")}};
  }

  void SetUp() override {
    MainWindowFixture::SetUp();
    QVariantList people;
    for (const char *name : {"P1", "P2", "P3", "P4", "P5"})
      people << pbtest::contact(QLatin1String(name), QStringLiteral("06%1").arg(name[1]));
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/phoneBook.plist")),
                     QVariantList{pbtest::group(QStringLiteral("Friends"), people)});
  }

  PBController *pb() const { return g_PBController; }

  // The program up with both memories read; false without a bus.
  bool up() {
    if (!launch(QStringLiteral("phonebook-me")))
      return false;
    return testsupport::waitUntil([this] { return pb()->simInitFinished() && pb()->meInitFinished(); }, 10000);
  }

  QVariantList modemContacts(const QString &store) const {
    QVariant v;
    Plist::fromData(backend->control(QStringLiteral("Contacts"), {store}).value(0).toString().toUtf8(), &v);
    return v.toMap().value(QStringLiteral("Contacts")).toList();
  }
  int activeMemory() const { return backend->control(QStringLiteral("ActiveMemory")).value(0).toInt(); }
  bool idle() const { return !pb()->batchRunning() && pb()->phonebookOperate() == kPBOperationNone; }
  bool waitIdle() {
    // Let the last answers (a switch back among them) arrive.
    testsupport::waitUntil([] { return false; }, 150);
    return testsupport::waitUntil([this] { return idle() && pb()->currentStorage() == activeMemory(); }, 5000);
  }

  QList<PBModemBlocks::Request> requestsSent(int operation) const {
    QList<PBModemBlocks::Request> sent;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == PBModemBlocks::kWriteMajor) {
        const auto r = PBModemBlocks::parseRequest(m.payload());
        if (r.operation == operation)
          sent << r;
      }
    }
    return sent;
  }

  // Shows a store as the selector would and waits for it.
  bool show(int store) {
    pb()->selectSavePos(store);
    return testsupport::waitUntil([this, store] { return pb()->lastSelectSavePos() == store && idle(); }, 5000);
  }
};

TEST_F(PhonebookPageRoadTest, SwitchingStoresWaitsForTheModemAndFallsBackOnARefusal) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  auto *page = parts.window->findChild<PBPage *>();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(show(kSaveInME));
  EXPECT_EQ(activeMemory(), kStorageME);
  EXPECT_EQ(page->selectedSavePos(), int(kSaveInME));
  EXPECT_EQ(page->contactTable->model()->rowCount(), 2);

  backend->control(QStringLiteral("FailPhonebookRequests"), {1});
  pb()->selectSavePos(kSaveInSIM);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(pb()->lastSelectSavePos(), int(kSaveInME));
  EXPECT_EQ(page->selectedSavePos(), int(kSaveInME));
  EXPECT_EQ(pb()->currentStorage(), kStorageME);

  ASSERT_TRUE(show(kSaveInSIM));
  EXPECT_EQ(activeMemory(), kStorageSIM);
  EXPECT_EQ(page->selectedSavePos(), int(kSaveInSIM));
  EXPECT_EQ(page->contactTable->model()->index(0, 0).data().toString(), QStringLiteral("Anna SIM"));
  EXPECT_EQ(pb()->controls().capacity, word("Cur %d  Maxcur %d")
                                           .replace(QStringLiteral("%d  "), "2  ")
                                           .replace(QStringLiteral("%d"), QStringLiteral("5")));
}

TEST_F(PhonebookPageRoadTest, ASimContactAddedThroughTheDialogAppearsAfterItsWriteResult) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInSIM));
  ASSERT_TRUE(pb()->newUser());
  // A check that fails keeps the dialog: nothing is sent.
  EXPECT_FALSE(pb()->adduserok({{"username", "Eva"}, {"mobilephone", "05-55"}}));
  ASSERT_TRUE(pb()->adduserok({{"username", "Eva"}, {"mobilephone", "0555"}}));
  EXPECT_FALSE(sortedNames(pb()->getSimUserList()).contains("Eva"));
  ASSERT_TRUE(waitIdle());
  EXPECT_TRUE(sortedNames(pb()->getSimUserList()).contains("Eva"));
  EXPECT_TRUE(sortedNames(modemContacts("SIM"), "ITEM_NAME").contains("Eva"));
}

TEST_F(PhonebookPageRoadTest, DeletingTwoSimContactsSendsTwoDeletesInAscendingOrder) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInSIM));
  const qsizetype before = requestsSent(PBModemBlocks::kOperationDelete).size();
  pb()->contactSelectionChanged({1, 0});
  pb()->deleteUser();
  EXPECT_EQ(pb()->sumOperationNumbers(), 2.f);
  ASSERT_TRUE(waitIdle());
  const auto deletes = requestsSent(PBModemBlocks::kOperationDelete).mid(before);
  ASSERT_EQ(deletes.size(), 2);
  EXPECT_EQ(deletes.at(0).index, 1);
  EXPECT_EQ(deletes.at(1).index, 2);
  EXPECT_EQ(pb()->getSimUserNumber(), 0);
  EXPECT_TRUE(modemContacts("SIM").isEmpty());
}

TEST_F(PhonebookPageRoadTest, CopyFromTheSimToTheDeviceMemoryEndsBackOnTheSim) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInSIM));
  pb()->contactSelectionChanged({0});
  pb()->move(word("Data Card"));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(pb()->currentStorage(), kStorageSIM);
  EXPECT_EQ(activeMemory(), kStorageSIM);
  EXPECT_TRUE(sortedNames(modemContacts("ME"), "ITEM_NAME").contains("Anna SIM"));
  EXPECT_TRUE(sortedNames(pb()->getMeUserList()).contains("Anna SIM"));
  EXPECT_EQ(modemContacts("SIM").size(), 2);
}

TEST_F(PhonebookPageRoadTest, MoveOfFivePcContactsToThreeFreeSimRecordsKeepsTheTwoNotWritten) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInPC));
  pb()->contactSelectionChanged({0, 1, 2, 3, 4});
  pb()->moveAndDelcont(word("(U)SIM"));
  ASSERT_TRUE(waitIdle());
  // The capacity question was asked and answered OK; the two records beyond the room failed.
  EXPECT_EQ(sortedNames(pb()->currentGroup().mid(1)), (QStringList{"P4", "P5"}));
  EXPECT_EQ(sortedNames(modemContacts("SIM"), "ITEM_NAME"), (QStringList{"Anna SIM", "Bruno SIM", "P1", "P2", "P3"}));
  EXPECT_EQ(pb()->getSimUserNumber(), 5);
  // The file holds what the page shows.
  QVariant file;
  ASSERT_TRUE(Plist::readFile(dir.filePath(QStringLiteral("ModemList/phoneBook.plist")), &file));
  EXPECT_EQ(sortedNames(file.toList().value(0).toList().mid(1)), (QStringList{"P4", "P5"}));
  int failures = 0;
  for (const ModalQuestion &q : answers->asked())
    failures += q.message == word("The operation failed!");
  EXPECT_EQ(failures, 1);
}

TEST_F(PhonebookPageRoadTest, MoveWhoseSwitchIsRefusedKeepsEverySource) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInME));
  pb()->contactSelectionChanged({0, 1});
  backend->control(QStringLiteral("FailPhonebookRequests"), {1});
  pb()->moveAndDelcont(word("(U)SIM"));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(pb()->getMeUserNumber(), 2);
  EXPECT_EQ(modemContacts("ME").size(), 2);
  EXPECT_EQ(modemContacts("SIM").size(), 2);
  EXPECT_EQ(pb()->currentStorage(), kStorageME);
}

TEST_F(PhonebookPageRoadTest, MoveFromTheSimToTheDeviceMemoryWritesEachRecordOnce) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInSIM));
  const qsizetype writesBefore = requestsSent(PBModemBlocks::kOperationWrite).size();
  pb()->contactSelectionChanged({0, 1});
  pb()->moveAndDelcont(word("Data Card"));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(requestsSent(PBModemBlocks::kOperationWrite).size() - writesBefore, 2);
  EXPECT_EQ(sortedNames(modemContacts("ME"), "ITEM_NAME"),
            (QStringList{"Anna SIM", "Bruno SIM", "Carla ME", "Dario ME"}));
  EXPECT_TRUE(modemContacts("SIM").isEmpty());
  EXPECT_EQ(pb()->getSimUserNumber(), 0);
  EXPECT_EQ(pb()->getMeUserNumber(), 4);
  EXPECT_EQ(pb()->currentStorage(), kStorageSIM);
  EXPECT_EQ(activeMemory(), kStorageSIM);
}

TEST_F(PhonebookPageRoadTest, MoveFromTheSimIntoAPcGroupDeletesTheSourcesAfterTheFileWrite) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(show(kSaveInSIM));
  pb()->contactSelectionChanged({0});
  pb()->moveAndDelcont(QStringLiteral("Friends"));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(sortedNames(modemContacts("SIM"), "ITEM_NAME"), QStringList{"Bruno SIM"});
  EXPECT_TRUE(sortedNames(pb()->getGroupWithGroupName(QStringLiteral("Friends")).mid(1)).contains("Anna SIM"));
}

// While a copy or move awaits the modem's results, New and Delete show disabled (and do nothing);
// once the batch is over New is offered again. Copies and moves, into the SIM from the PC, into
// the device memory from the SIM (a memory switch first), and a move's deletes of its sources.
TEST_F(PhonebookPageRoadTest, NewAndDeleteWaitWhileACopyOrMoveBatchRuns) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  auto *page = parts.window->findChild<PBPage *>();
  ASSERT_NE(page, nullptr);
  struct Case {
    int store;
    const char *destination;
    bool moving;
  };
  for (const Case &c : {Case{kSaveInPC, "(U)SIM", false}, Case{kSaveInSIM, "Data Card", false},
                        Case{kSaveInPC, "(U)SIM", true}, Case{kSaveInME, "(U)SIM", true}}) {
    SCOPED_TRACE(std::to_string(c.store) + " " + c.destination + (c.moving ? " move" : " copy"));
    ASSERT_TRUE(show(c.store));
    pb()->contactSelectionChanged({0});
    ASSERT_TRUE(page->btnNew->isEnabled());
    ASSERT_TRUE(page->btnDelete->isEnabled());
    if (c.moving)
      pb()->moveAndDelcont(word(c.destination));
    else
      pb()->move(word(c.destination));
    ASSERT_TRUE(pb()->batchRunning());
    EXPECT_FALSE(page->btnNew->isEnabled());
    EXPECT_FALSE(page->btnDelete->isEnabled());
    EXPECT_FALSE(page->btnEdit->isEnabled());
    // A move's deletes are a batch of their own, after the copies' results.
    if (c.moving) {
      ASSERT_TRUE(testsupport::waitUntil([this] { return pb()->delUserList().size() > 0 || idle(); }, 5000));
      if (pb()->batchRunning()) {
        EXPECT_FALSE(page->btnNew->isEnabled());
        EXPECT_FALSE(page->btnDelete->isEnabled());
      }
    }
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(page->btnNew->isEnabled());
    EXPECT_FALSE(page->btnDelete->isEnabled()) << "nothing is selected after the batch";
  }
}

// The warning about details lost on the way into the SIM or the device memory offers Cancel;
// Cancel copies (or moves) nothing, OK goes on.
TEST_F(PhonebookPageRoadTest, CancelOnTheDetailsLostWarningCopiesNothing) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  const QString warning = word("The info may be lost!");
  int cancelled = 0;
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>([&](const ModalQuestion &q) {
    if (q.message != warning)
      return ModalQuestions::kDefaultAnswer;
    ++cancelled;
    return ModalQuestions::kAlternateAnswer;
  });
  ASSERT_TRUE(show(kSaveInPC));
  const qsizetype writesBefore = requestsSent(PBModemBlocks::kOperationWrite).size();
  for (const bool moving : {false, true}) {
    pb()->contactSelectionChanged({0, 1});
    if (moving)
      pb()->moveAndDelcont(word("(U)SIM"));
    else
      pb()->move(word("(U)SIM"));
    EXPECT_FALSE(pb()->batchRunning());
    ASSERT_TRUE(waitIdle());
  }
  EXPECT_EQ(cancelled, 2);
  for (const ModalQuestion &asked : answers->asked()) {
    if (asked.message == warning) {
      EXPECT_EQ(asked.title, word("Warning!"));
      EXPECT_EQ(asked.alternateButton, word("Cancel")) << "the warning offers Cancel";
    }
  }
  EXPECT_EQ(requestsSent(PBModemBlocks::kOperationWrite).size(), writesBefore);
  EXPECT_EQ(modemContacts("SIM").size(), 2);
  EXPECT_EQ(pb()->currentGroup().size(), 6) << "the moved sources stay";
  EXPECT_EQ(pb()->phonebookOperate(), kPBOperationNone);

  // OK copies.
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>();
  pb()->contactSelectionChanged({0});
  pb()->move(word("(U)SIM"));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(modemContacts("SIM").size(), 3);
}

} // namespace
