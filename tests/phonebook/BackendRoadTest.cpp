// The SIM and device-memory stores end to end: the program's phonebook against the simulated
// modem in its own process.
#include "CallNeighbours.h"
#include "MainWindowFixture.h"
#include "NoWaitingAlertInHandlers.h"
#include "PBController.h"
#include "PBFixture.h"
#include "WordGlobe.h"

namespace {
using pbtest::RecordingPage;

QVariantMap plistMap(const QString &xml) {
  QVariant v;
  Plist::fromData(xml.toUtf8(), &v);
  return v.toMap();
}

QStringList namesOf(const QVariantList &list, const char *key = "username") {
  QStringList names;
  for (const QVariant &v : list)
    names << v.toMap().value(QLatin1String(key)).toString();
  names.sort();
  return names;
}

class PhonebookRoadTest : public MainWindowFixture {
protected:
  // The modem's answers (failed writes among them) never wait for the user.
  NoWaitingAlertInHandlers noWaitingAlerts;
  RecordingPage page;

  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("HasMePosition"), true}, {QStringLiteral("CurrentLanguage"), QStringLiteral("English")}};
  }

  PBController *pb() const { return g_PBController; }

  // The program up with the SIM read; false without a bus.
  bool up() {
    if (!launch())
      return false;
    pb()->setPage(&page);
    return testsupport::waitUntil([this] { return pb()->simInitFinished(); }, 10000);
  }

  QVariantList modemContacts(const QString &store) const {
    return plistMap(backend->control(QStringLiteral("Contacts"), {store}).value(0).toString())
        .value(QStringLiteral("Contacts"))
        .toList();
  }
  int activeMemory() const { return backend->control(QStringLiteral("ActiveMemory")).value(0).toInt(); }
  bool settled() const { return pb()->addUserList().isEmpty() && pb()->delUserList().isEmpty(); }

  // The write requests the program sent.
  QList<PBModemBlocks::Request> writesSent() const {
    QList<PBModemBlocks::Request> writes;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == PBModemBlocks::kWriteMajor) {
        const auto r = PBModemBlocks::parseRequest(m.payload());
        if (r.operation == PBModemBlocks::kOperationWrite)
          writes << r;
      }
    }
    return writes;
  }
  int failureAlerts() const {
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message == Map_Name_Item_of_IndexString(QStringLiteral("The operation failed!"));
    return n;
  }
  void addMe() {
    const QVariantMap me{{QStringLiteral("Capacity"), 10},
                         {QStringLiteral("Contacts"), QVariantList{pbtest::item(1, QStringLiteral("Me One"), "111")}}};
    ASSERT_TRUE(
        backend->control(QStringLiteral("SetContacts"), {QStringLiteral("ME"), QString::fromUtf8(Plist::toXml(me))})
            .value(0)
            .toBool());
    ASSERT_TRUE(testsupport::waitUntil([this] { return pb()->meInitFinished(); }));
  }
};

TEST_F(PhonebookRoadTest, SimReadFillsTheListsAndTheLookup) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  EXPECT_EQ(namesOf(pb()->getSimUserList()), (QStringList{"Anna SIM", "Bruno SIM", "Carla SIM"}));
  EXPECT_EQ(pb()->getSimMaxNameLen(), 14);
  EXPECT_EQ(pb()->currentStorage(), activeMemory());
  int simInMerged = 0;
  for (const QVariant &v : pb()->allPhoneList())
    simInMerged += v.toMap().value(PBKey::kSavePos) == PBTag::kSIM;
  EXPECT_EQ(simInMerged, 3);
  EXPECT_EQ(pb()->searchNameAtPhoneBook(QStringLiteral("017612345678")), QStringLiteral("Bruno SIM"));
  // The call pages ask the same lookup through the neighbourhood.
  EXPECT_EQ(phonebookNameOf(QStringLiteral("017612345678")), QStringLiteral("Bruno SIM"));
  EXPECT_EQ(phonebookNameOf(QStringLiteral("999")), QStringLiteral("999"));
  EXPECT_EQ(pb()->simNewContactIndex(), 3);
}

TEST_F(PhonebookRoadTest, SaveAndDeleteChangeTheModemsStoreAndTheLists) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  QList<QVariantMap> results;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(kPBAddContactResult), pb(),
                                                  [&results](const Notification &n) { results << n.userInfo; });
  pb()->setPhonebookOperate(kPBOperationAdd);
  pb()->saveContactToSim(pbtest::contact("Dora", "0401", {{PBKey::kIndex, pb()->simNewContactIndex()}}));
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  EXPECT_TRUE(namesOf(modemContacts("SIM"), "ITEM_NAME").contains("Dora"));
  EXPECT_TRUE(namesOf(pb()->getSimUserList()).contains("Dora"));
  ASSERT_EQ(results.size(), 1);
  EXPECT_TRUE(namesOf(results.at(0).value(QLatin1String(kPBAddContactResult)).toList()).contains("Dora"));
  EXPECT_EQ(pb()->phonebookOperate(), kPBOperationNone);

  pb()->addContactToDelUserList(3);
  pb()->deleteContactFromSim(3);
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  EXPECT_FALSE(namesOf(modemContacts("SIM"), "ITEM_NAME").contains("Dora"));
  EXPECT_FALSE(namesOf(pb()->getSimUserList()).contains("Dora"));
  EXPECT_FALSE(namesOf(pb()->allPhoneList()).contains("Dora"));
  EXPECT_EQ(results.size(), 2);
  EXPECT_EQ(failureAlerts(), 0);
}

TEST_F(PhonebookRoadTest, FailedWritesAlertOncePerBatch) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  backend->control(QStringLiteral("FailPhonebookRequests"), {1});
  pb()->setPhonebookOperate(kPBOperationAdd);
  pb()->saveContactToSim(pbtest::contact("One", "1", {{PBKey::kIndex, 3}}));
  pb()->saveContactToSim(pbtest::contact("Out of range", "2", {{PBKey::kIndex, 251}}));
  pb()->saveContactToSim(pbtest::contact("Name far too long for this SIM", "3", {{PBKey::kIndex, 5}}));
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  EXPECT_EQ(failureAlerts(), 1);
  EXPECT_EQ(modemContacts("SIM").size(), 3);
  EXPECT_FALSE(pb()->updateOrRestoreSuccess());
  // The next batch tells its own failure.
  pb()->setPhonebookOperate(kPBOperationAdd);
  pb()->saveContactToSim(pbtest::contact("Again", "4", {{PBKey::kIndex, 0}}));
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  EXPECT_EQ(failureAlerts(), 2);
}

TEST_F(PhonebookRoadTest, EverySwitchAnswerLeavesTheProgramOnTheModemsMemory) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  addMe();
  EXPECT_EQ(pb()->currentStorage(), kStorageME);
  EXPECT_EQ(activeMemory(), kStorageME);

  // The page switches to the SIM store.
  pb()->setPhonebookOperate(kPBOperationSwitchStore);
  pb()->setModemStorage(kStorageSIM);
  ASSERT_TRUE(testsupport::waitUntil([this] { return pb()->phonebookOperate() == kPBOperationNone; }));
  EXPECT_EQ(pb()->currentStorage(), kStorageSIM);
  EXPECT_EQ(activeMemory(), kStorageSIM);

  // A refused switch leaves both where they were.
  backend->control(QStringLiteral("FailPhonebookRequests"), {1});
  pb()->setPhonebookOperate(kPBOperationSwitchStore);
  pb()->setModemStorage(kStorageME);
  ASSERT_TRUE(testsupport::waitUntil([this] { return pb()->phonebookOperate() == kPBOperationNone; }));
  EXPECT_EQ(pb()->currentStorage(), kStorageSIM);
  EXPECT_EQ(activeMemory(), kStorageSIM);

  // A copy of two contacts into the device memory while the SIM is shown.
  page.savePos = kSaveInSIM;
  page.destName = Map_Name_Item_of_IndexString(QStringLiteral("Data Card"));
  pb()->setPhonebookOperate(kPBOperationCopy);
  pb()->addContactToAddUserList(pbtest::contact("Copy A", "201", {{PBKey::kIndex, 1}}));
  pb()->addContactToAddUserList(pbtest::contact("Copy B", "202", {{PBKey::kIndex, 2}}));
  pb()->setModemStorage(kStorageME);
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled() && pb()->getMeUserNumber() == 3; }));
  // The switch back went out with the last result; another copy starts before its answer.
  pb()->setPhonebookOperate(kPBOperationCopy);
  ASSERT_TRUE(testsupport::waitUntil([this] { return pb()->currentStorage() == kStorageSIM; }));
  testsupport::waitUntil([] { return false; }, 200);
  EXPECT_EQ(pb()->currentStorage(), activeMemory());
  EXPECT_EQ(activeMemory(), kStorageSIM);
  EXPECT_EQ(namesOf(modemContacts("ME"), "ITEM_NAME"), (QStringList{"Copy A", "Copy B", "Me One"}));
  EXPECT_EQ(modemContacts("SIM").size(), 3);
  // The copy took the free numbers 2 and 3 of the device memory.
  QList<int> numbers;
  for (const QVariant &v : pb()->getMeUserList())
    numbers << v.toMap().value(PBKey::kIndex).toInt();
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (QList<int>{1, 2, 3}));
}

TEST_F(PhonebookRoadTest, ARestoreWritesEachQueuedRecordOnceAfterItsDeletes) {
  if (!up())
    GTEST_SKIP() << "no session bus";
  const int writesBefore = int(writesSent().size());
  pb()->setPhonebookOperate(kPBOperationRestore);
  pb()->addContactToAddUserList(pbtest::contact("Restored A", "301", {{PBKey::kIndex, 1}}));
  pb()->addContactToAddUserList(pbtest::contact("Restored B", "302", {{PBKey::kIndex, 2}}));
  for (int index : {1, 2}) {
    pb()->addContactToDelUserList(index);
    pb()->deleteContactFromSim(index);
  }
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  const QList<PBModemBlocks::Request> writes = writesSent().mid(writesBefore);
  ASSERT_EQ(writes.size(), 2);
  EXPECT_EQ(writes.at(0).name, QStringLiteral("Restored A"));
  EXPECT_EQ(writes.at(1).name, QStringLiteral("Restored B"));
  EXPECT_EQ(namesOf(modemContacts("SIM"), "ITEM_NAME"), (QStringList{"Carla SIM", "Restored A", "Restored B"}));
  EXPECT_EQ(namesOf(pb()->getSimUserList()), (QStringList{"Carla SIM", "Restored A", "Restored B"}));
  EXPECT_EQ(page.results,
            QStringList{Map_Name_Item_of_IndexString(QStringLiteral("Contacts are restored successfully."))});
}

} // namespace
