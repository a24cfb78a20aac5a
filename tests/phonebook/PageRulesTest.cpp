// The phonebook page's rules without windows: enable rules, copy-to menus, capacity label,
// columns, field cutting and checks, group names, the split by number fields, the tree.
#include "FilePanels.h"
#include "NotificationTables.h"
#include "PBFixture.h"
#include "PBPage.h"
#include "PBSource.h"
#include "SMSController.h"
#include "WordGlobe.h"

using namespace pbtest;

namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QVariantList threeGroups() {
  return {group(QStringLiteral("Family"), {contact("Anna", "1"), contact("Bart", "2"), contact("Carla", "3")}),
          group(QStringLiteral("Friends")), group(QStringLiteral("Work"))};
}

// The store and the read state the rules tables need: three contacts in each store.
class PageRules : public PBFixture {
protected:
  PBController &up(const QVariantMap &phoneBook = {}) {
    PBController &c = start(threeGroups(), phoneBook, {{QStringLiteral("HasMePosition"), true}});
    read(kStorageME, {item(1, "Anna ME", "11"), item(2, "Bart ME", "12"), item(3, "Carla ME", "13")});
    read(kStorageSIM, {item(1, "Anna SIM", "21"), item(2, "Bart SIM", "22"), item(3, "Carla SIM", "23")});
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kCallModuleReady));
    return c;
  }
  void show(PBController &c, int store) {
    if (store == kSaveInPC)
      c.selectAtPCSide();
    else if (store == kSaveInSIM)
      c.selectAtSimSide();
    else
      c.selectAtMeSide();
  }
};
} // namespace

TEST_F(PageRules, SelectionDecidesTheThreeEnableOperations) {
  PBController &c = up();
  struct Case {
    int store;
    bool search;
    int n;
    bool copy, call;
    const char *buttons; // a..f as "YNNYNN"
  };
  const Case cases[] = {
      {kSaveInPC, false, 0, true, true, "YNNYNN"},   {kSaveInPC, false, 1, true, true, "YNNYYY"},
      {kSaveInPC, false, 2, true, false, "YNNYYN"},  {kSaveInPC, true, 0, false, true, "NNNNNN"},
      {kSaveInPC, true, 1, false, true, "NNNNYY"},   {kSaveInPC, true, 2, false, false, "NNNNYN"},
      {kSaveInSIM, false, 0, true, true, "YNNYNN"},  {kSaveInSIM, false, 1, true, true, "YYYYYY"},
      {kSaveInSIM, false, 2, true, false, "YYNYYN"}, {kSaveInSIM, true, 0, false, true, "NNNNNN"},
      {kSaveInSIM, true, 1, false, true, "NYYNYY"},  {kSaveInSIM, true, 2, false, false, "NYNNYN"},
      {kSaveInME, false, 0, true, true, "YNNNNN"},   {kSaveInME, false, 1, true, true, "YYYNNN"},
      {kSaveInME, false, 2, true, false, "YYNNNN"},  {kSaveInME, true, 0, false, true, "NNNNNN"},
      {kSaveInME, true, 1, false, true, "NYYNNN"},   {kSaveInME, true, 2, false, false, "NYNNNN"},
  };
  for (const Case &k : cases) {
    show(c, k.store);
    c.searchUser(k.search ? QStringLiteral("a") : QString());
    QList<int> rows;
    for (int r = 0; r < k.n; ++r)
      rows << r;
    c.contactSelectionChanged(rows);
    const PBPageControls &s = c.controls();
    const QString where = QStringLiteral("store %1 search %2 rows %3").arg(k.store).arg(k.search).arg(k.n);
    if (k.n > 0) {
      EXPECT_EQ(s.copyMenus, k.copy) << where.toStdString();
      EXPECT_EQ(s.call, k.call) << where.toStdString();
      EXPECT_EQ(s.sms, true) << where.toStdString();
    } else {
      // An empty selection turns copy, call and SMS off whatever the store.
      EXPECT_FALSE(s.copyMenus || s.call || s.sms) << where.toStdString();
    }
    const bool got[] = {s.addGroup, s.deleteGroup, s.editGroup, s.addUser, s.deleteUser, s.editUser};
    QString gotText;
    for (bool b : got)
      gotText += b ? u'Y' : u'N';
    if (k.n > 0 || k.search || k.store == kSaveInPC) {
      EXPECT_EQ(gotText, QLatin1String(k.buttons)) << where.toStdString();
    }
  }
}

TEST_F(PageRules, NameUniquenessBlocksNewAndEditUntilTheSimIsUsable) {
  PBController &c = up({{QStringLiteral("ContactNameUniqueCheckingEnabled"), true}});
  c.selectAtPCSide();
  c.contactSelectionChanged({0});
  EXPECT_FALSE(c.controls().addUser);
  EXPECT_FALSE(c.controls().editUser);
  c.netcardChanged(12);
  c.contactSelectionChanged({0});
  EXPECT_TRUE(c.controls().addUser);
  EXPECT_TRUE(c.controls().editUser);
}

TEST_F(PageRules, CopyToMenusListTheOtherStoresAndGroups) {
  PBController &c = up({{QStringLiteral("IsShowTCard"), true}});
  const QString sim = word("(U)SIM"), me = word("Data Card"), card = word("SD Card");
  struct Case {
    int store;
    bool search;
    QStringList entries;
    QList<bool> enabled;
  };
  const Case cases[] = {
      {kSaveInPC, false, {sim, me, card, "Friends", "Work"}, {true, true, false, true, true}},
      {kSaveInPC, true, {sim, me, card}, {true, true, false}},
      {kSaveInSIM, false, {me, card, "Family", "Friends", "Work"}, {true, false, true, true, true}},
      {kSaveInME, true, {sim, card, "Family", "Friends", "Work"}, {true, false, true, true, true}},
  };
  for (const Case &k : cases) {
    show(c, k.store);
    c.searchUser(k.search ? QStringLiteral("a") : QString());
    c.setMoveMenu();
    EXPECT_EQ(c.controls().moveMenu, k.entries) << k.store << k.search;
    EXPECT_EQ(c.controls().moveMenuEnabled, k.enabled) << k.store << k.search;
  }
}

TEST_F(PageRules, CapacityLabelWithAndWithoutTheHideSwitches) {
  const auto format = [](const char *key, std::initializer_list<int> values) {
    QString text = word(key);
    for (int v : values)
      text.replace(text.indexOf(QLatin1String("%d")), 2, QString::number(v));
    return text;
  };
  PBController &c = up({{QStringLiteral("HideMaxCountInSIM"), true}});
  c.selectAtSimSide();
  EXPECT_EQ(c.controls().capacity, format("Cur %d", {3}));
  c.selectAtMeSide();
  EXPECT_EQ(c.controls().capacity, format("Cur %d  Maxcur %d", {3, 250}));
  c.selectAtPCSide();
  EXPECT_EQ(c.controls().capacity, format("Cur %d  Maxcur %d", {3, 1000}));
}

TEST_F(PageRules, ColumnsPerStore) {
  using K = QStringList;
  PBController &plain = up();
  EXPECT_EQ(plain.userTableViewColumnsAtPC(),
            (K{"username", "mobilephone", "officephone", "homephone", "email", "groupname"}));
  EXPECT_EQ(plain.userTableViewColumnsAtNotPC(), (K{"username", "mobilephone"}));
  PBController &noGroup = up({{QStringLiteral("IsNoGroup"), true},
                              {QStringLiteral("IsDisplayRemark"), true},
                              {QStringLiteral("SimFieldAutoDetectionEnabled"), true}});
  EXPECT_EQ(noGroup.userTableViewColumnsAtPC(),
            (K{"username", "mobilephone", "officephone", "homephone", "email", "remark"}));
  noGroup.setContactFieldsFlag(kFieldName | kFieldNumber);
  EXPECT_EQ(noGroup.userTableViewColumnsAtNotPC(), (K{"username", "mobilephone"}));
  noGroup.setContactFieldsFlag(kFieldName | kFieldNumber | kFieldNumber3 | kFieldEmail);
  EXPECT_EQ(noGroup.userTableViewColumnsAtNotPC(), (K{"username", "mobilephone", "officephone", "email"}));
}

// The memory card's cell comes after the others, once a card's store is open.
TEST_F(PageRules, StoreSelectorCellsFollowTheConfiguration) {
  QDir().mkpath(dir.filePath(QStringLiteral("card")));
  qputenv("QEL_TCARD_VOLUME", dir.filePath(QStringLiteral("card")).toUtf8());
  PBController &c = start({}, {{QStringLiteral("IsShowTCard"), true}});
  read(kStorageSIM, {});
  PBPage page(&c);
  qunsetenv("QEL_TCARD_VOLUME");
  ASSERT_EQ(page.savePosition->count(), 3);
  EXPECT_EQ(page.savePosition->itemData(2).toInt(), int(kSaveInTCard));
  EXPECT_EQ(page.savePosition->itemText(1), word("(U)SIM"));
  c.setPage(nullptr);
}

TEST_F(PageRules, FieldsAreCutWhileTypingByTheStoresLimit) {
  PBController &c = up();
  EXPECT_EQ(PBController::deleteExtraContent(QStringLiteral("abc"), 2), QStringLiteral("ab"));
  EXPECT_EQ(PBController::deleteExtraContent(QString::fromUtf8("\u4e2d\u6587\u5b57"), 5),
            QString::fromUtf8("\u4e2d\u6587"));
  EXPECT_EQ(PBController::deleteExtraContent(QString(), 5), QString());
  const QString longName(20, u'n');
  c.setDialogStore(kSaveInSIM, -1);
  EXPECT_EQ(c.limitTextFieldLength(PBKey::kUserName, longName).size(), 14);
  EXPECT_EQ(c.limitTextFieldLength(PBKey::kMobilePhone, QString(45, u'1')).size(), 40);
  EXPECT_EQ(c.limitTextFieldLength(QStringLiteral("other"), longName), longName);
  c.setDialogStore(kSaveInPC, 0);
  EXPECT_EQ(c.limitTextFieldLength(PBKey::kUserName, longName), longName);
  // A configured mobile length is a minimum: the field is never cut while typing.
  PBController &configured = up({{QStringLiteral("PhoneBook_UserMobilePhoneLen"), 5}});
  configured.setDialogStore(kSaveInSIM, -1);
  EXPECT_EQ(configured.limitTextFieldLength(PBKey::kMobilePhone, QString(45, u'1')).size(), 45);
}

TEST_F(PageRules, ContentChecksNameTheFirstFailingField) {
  PBController &c = up();
  struct Case {
    const char *name, *mobile, *home, *email;
    const char *failed; // empty: passes
  };
  const Case cases[] = {
      {"Ann", "+12*#|3", "", "", ""},         {"Ann Lee", "123", "", "a@b", ""},
      {"", "123", "", "", "username"},        {" Ann", "123", "", "", "username"},
      {"Ann ", "123", "", "", "username"},    {"Ann", "", "", "", "mobilephone"},
      {"Ann", "++1", "", "", "mobilephone"},  {"Ann", "1+2", "", "", "mobilephone"},
      {"Ann", "12-3", "", "", "mobilephone"}, {"Ann", "1", "x", "", "homephone"},
      {"Ann", "1", "", "ab", "email"},        {"Ann", "+", "", "", ""},
  };
  for (const Case &k : cases) {
    QString failed;
    const PBContactRecord f{{"username", k.name}, {"mobilephone", k.mobile}, {"homephone", k.home}, {"email", k.email}};
    EXPECT_EQ(c.checkTextFieldContent(f, &failed), QLatin1String(k.failed).isEmpty()) << k.name << "|" << k.mobile;
    EXPECT_EQ(failed, QLatin1String(k.failed)) << k.name << "|" << k.mobile;
  }
}

TEST_F(PageRules, MinimumLengthsAndUniqueness) {
  PBController &c = up({{QStringLiteral("PhoneBook_UserMobilePhoneLen"), 5},
                        {QStringLiteral("ContactNameUniqueCheckingEnabled"), true},
                        {QStringLiteral("NotAllowSameRecordInOneGroup"), true}});
  EXPECT_FALSE(c.checkTextFieldLength({{"mobilephone", "1234"}, {"homephone", ""}}));
  QString expected = word("MobilePhone Number is less than %d");
  expected.replace(QLatin1String("%d"), QLatin1String("5"));
  EXPECT_EQ(answers->asked().last().message, expected);
  EXPECT_TRUE(c.checkTextFieldLength({{"mobilephone", "12345"}, {"homephone", ""}}));

  // A new PC contact: the name is taken in "Family".
  c.selectAtPCSide();
  ASSERT_TRUE(c.newUser());
  EXPECT_FALSE(c.validTextFieldContent({{"username", "Anna"}, {"mobilephone", "9"}}));
  c.canceladduser();
  // Editing Anna without changing her name passes.
  c.contactSelectionChanged({0});
  ASSERT_TRUE(c.editUser());
  EXPECT_TRUE(c.validTextFieldContent({{"username", "Anna"}, {"mobilephone", "1"}}));
  c.canceladduser();
}

TEST_F(PageRules, SameNameAndNumberMayGoIntoAnotherGroupOnly) {
  PBController &c = up({{QStringLiteral("NotAllowSameRecordInOneGroup"), true}});
  c.selectAtPCSide();
  ASSERT_TRUE(c.newUser());
  c.setDialogStore(kSaveInPC, c.groupIndexWithName(QStringLiteral("Family")));
  EXPECT_FALSE(c.validTextFieldContent({{"username", "Bart"}, {"mobilephone", "2"}}));
  c.setDialogStore(kSaveInPC, c.groupIndexWithName(QStringLiteral("Work")));
  EXPECT_TRUE(c.validTextFieldContent({{"username", "Bart"}, {"mobilephone", "2"}}));
  // A memory-card contact is never a duplicate.
  c.setDialogStore(kSaveInTCard, -1);
  EXPECT_TRUE(c.newContactNameAndNumberIsUnique(QStringLiteral("Anna SIM"), QStringLiteral("21")));
}

TEST_F(PageRules, GroupNameChecks) {
  PBController &c = up();
  struct Case {
    QString name;
    const char *message; // empty: accepted
  };
  const Case cases[] = {{"", "The item should not be null!"},
                        {QString(41, u'g'), "The groupname is too long!"},
                        {" Lead", "The item contains invalid charactor(s)!"},
                        {"Work", "The groupname has existed!"},
                        {"Team B", ""}};
  for (const Case &k : cases) {
    const qsizetype before = answers->asked().size();
    EXPECT_EQ(c.checkGroupName(k.name, 0), QLatin1String(k.message).isEmpty()) << k.name.toStdString();
    if (*k.message) {
      EXPECT_EQ(answers->asked().value(before).message, word(k.message));
    }
  }
  // The group's own name is not a clash.
  EXPECT_TRUE(c.checkGroupName(QStringLiteral("Family"), c.groupIndexWithName(QStringLiteral("Family"))));
}

TEST_F(PageRules, ContactsSplitByTheStoresNumberFields) {
  const PBContactRecord source{
      {"username", "Ann"}, {"mobilephone", "1"}, {"homephone", "2"}, {"officephone", "3"}, {"email", "a@b"}};
  // Without auto-detection: one record per number.
  PBController &plain = up();
  PBContactList array;
  plain.changeContactToArray(source, array);
  ASSERT_EQ(array.size(), 3);
  EXPECT_EQ(array.at(2).toMap().value("mobilephone"), "3");

  PBController &c = up({{QStringLiteral("SimFieldAutoDetectionEnabled"), true}});
  PBModemBlocks::ReadResult r;
  r.storage = kStorageSIM;
  r.maxIndex = 50;
  r.minIndex = 1;
  r.nameMaxLen = 14;
  r.numberMaxLen = 20;
  r.number2MaxLen = 20;
  r.number3MaxLen = 20;
  r.emailMaxLen = 30;
  c.applyReadResult(r);
  struct Case {
    int flag;
    int records;
    QStringList keys;
  };
  const Case cases[] = {
      {kFieldName, 0, {}},
      {kFieldName | kFieldNumber, 3, {"mobilephone", "username"}},
      {kFieldName | kFieldNumber | kFieldNumber2 | kFieldEmail, 1, {"email", "homephone", "mobilephone", "username"}},
      {kFieldName | kFieldNumber | kFieldNumber2 | kFieldNumber3 | kFieldEmail,
       1,
       {"email", "homephone", "mobilephone", "officephone", "username"}},
  };
  for (const Case &k : cases) {
    c.setContactFieldsFlag(k.flag);
    PBContactList out;
    c.changeContactToArray(source, out);
    ASSERT_EQ(out.size(), k.records) << k.flag;
    if (k.records) {
      EXPECT_EQ(out.first().toMap().keys(), k.keys) << k.flag;
    }
  }
}

TEST_F(PageRules, CallMenuAndMessagesToASelection) {
  PBController &c = start({group(QStringLiteral("G"), {contact("Al", QString(), {{"officephone", "77"}}),
                                                       contact("Bo", "2"), contact("Cy", "3")})},
                          {}, {});
  read(kStorageSIM, {item(1, "S", "5")});
  NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kCallModuleReady));
  c.selectAtPCSide();
  c.contactSelectionChanged({0});
  EXPECT_EQ(c.controls().callMenu, QStringList{QStringLiteral("Office Number:77")});
  QString dialled;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(
      &observer, QLatin1String(kCallWithPhoneNumber), nullptr, [&dialled](const Notification &n) {
        dialled = n.userInfo.value(QLatin1String(kCallWithPhoneNumber)).toString();
      });
  c.clickMenuItemToCall(c.controls().callMenu.first());
  EXPECT_EQ(dialled, QStringLiteral("77"));

  SMSController sms;
  c.contactSelectionChanged({0, 1, 2});
  c.sendSMS();
  EXPECT_EQ(sms.newMessageNumbers(), (QStringList{"2", "3"}));
  EXPECT_EQ(sms.newMessageModule(), QStringLiteral("PhoneBook"));
}

TEST_F(PageRules, TwoPcLoadsLeaveEachGroupOnceInTheTree) {
  PBController &c = up();
  PBSource source(&c);
  c.setSource(&source);
  c.loadPcPhoneList(QStringLiteral("phoneBook.plist"));
  c.loadPcPhoneList(QStringLiteral("phoneBook.plist"));
  ASSERT_EQ(source.nodeOfPc()->childCount(), 3);
  EXPECT_EQ(source.nodeOfPc()->childAt(2)->name(), QStringLiteral("Work"));
  // The SIM node comes and goes with the SIM; its menu offers only the message.
  c.netcardChanged(12);
  EXPECT_TRUE(source.simNodeInTree());
  EXPECT_TRUE(source.nodeMenuItems(source.nodeOfSim()).isEmpty());
  EXPECT_EQ(source.nodeMenuItems(source.nodeOfPc()), QStringList{PBSource::kNewGroup});
  Node *work = source.nodeOfPc()->childAt(2);
  EXPECT_FALSE(source.nodeMenuItemsEnabled(work));
  EXPECT_EQ(source.outlineSelectionChanged(work), PBSource::kGroupNode);
  EXPECT_TRUE(source.nodeMenuItemsEnabled(work));
  c.netcardChanged(4);
  EXPECT_FALSE(source.simNodeInTree());
  c.setSource(nullptr);
}

TEST_F(PageRules, ANewContactDuringAnOutstandingCopyTakesNoNumberTheCopyHolds) {
  PBController &c = up();
  c.selectAtPCSide();
  c.contactSelectionChanged({0, 1});
  // No device memory position here: the copy writes at once (without a backend no result comes).
  c.move(word("(U)SIM"));
  ASSERT_EQ(c.addUserList().size(), 2);
  EXPECT_TRUE(c.batchRunning());
  EXPECT_FALSE(c.newUser());
  c.contactIsAddedInSIM({{"username", "New"}, {"mobilephone", "9"}});
  QList<int> numbers;
  for (const QVariant &v : c.addUserList())
    numbers << v.toMap().value(PBKey::kIndex).toInt();
  EXPECT_EQ(numbers, (QList<int>{4, 5, 6}));
}

TEST_F(PageRules, ProgressRestartsWithoutASecondTimer) {
  PBController &c = up();
  c.preDoWithProcessBeforeOperation(4);
  c.doWithProcessWhenOneMoreRecordOperation();
  c.updateCurOperationProcessBar();
  EXPECT_DOUBLE_EQ(c.controls().progressValue, 5.0);
  c.preDoWithProcessBeforeOperation(2);
  EXPECT_EQ(c.alreadyOperationNumbers(), 0.f);
  EXPECT_EQ(c.sumOperationNumbers(), 2.f);
  EXPECT_EQ(c.findChildren<QTimer *>().size(), 1);
  c.doWithProcessWhenOneMoreRecordOperation();
  c.doWithProcessWhenOneMoreRecordOperation();
  c.updateCurOperationProcessBar();
  EXPECT_FALSE(c.controls().progressVisible);
}

TEST_F(PageRules, SaveAsWritesTheStoreShownToTheFileThePanelNames) {
  PBController &c = up();
  PBPage page(&c);
  const QString path = dir.filePath(QStringLiteral("saved"));
  ScriptedFilePanels panels(path);
  page.btnSaveAs->click();
  ASSERT_EQ(panels.asked().size(), 1);
  EXPECT_EQ(panels.asked().at(0).fileType, QStringLiteral("plist"));
  QVariant saved;
  ASSERT_TRUE(Plist::readFile(path + QStringLiteral(".plist"), &saved));
  EXPECT_EQ(saved.toList().size(), 3);
  c.selectAtSimSide();
  page.btnSaveAs->click();
  ASSERT_TRUE(Plist::readFile(path + QStringLiteral(".plist"), &saved));
  EXPECT_EQ(saved.toList().size(), 3);
  EXPECT_EQ(saved.toList().at(0).toMap().value("username"), QStringLiteral("Anna SIM"));
}

TEST_F(PageRules, GroupsAreRenamedCheckedAndTheLastOneKept) {
  PBController &c = start({group(QStringLiteral("Only"), {contact("Al", "1")})});
  c.setCurrentgroup(0);
  c.deleteGroup();
  EXPECT_EQ(c.sumOfGroupInPC(), 1);
  EXPECT_EQ(answers->asked().last().message, word("The last group should not be deleted!"));
  EXPECT_FALSE(c.renameGroup(0, QStringLiteral(" bad")));
  ASSERT_TRUE(c.renameGroup(0, QStringLiteral("Team")));
  EXPECT_EQ(c.getPCUserByIndex(0, -1).value(PBKey::kGroupName), QStringLiteral("Team"));
  EXPECT_EQ(c.getPCUserByIndex(0, 0).value(PBKey::kGroupName), QStringLiteral("Team"));
  QVariant file;
  ASSERT_TRUE(Plist::readFile(phoneBookPath(), &file));
  EXPECT_EQ(file.toList().at(0).toList().at(0).toMap().value(PBKey::kGroupName), QStringLiteral("Team"));
}

TEST_F(PageRules, AFullSimOffersThePcAndOpensItsDialog) {
  PBController &c = start(threeGroups(), {{QStringLiteral("SaveToPCWhenSimFull"), true}});
  read(kStorageSIM, {item(1, "A", "1"), item(2, "B", "2")}, 2);
  RecordingPage page;
  c.setPage(&page);
  c.selectAtSimSide();
  EXPECT_FALSE(c.newUser());
  EXPECT_EQ(answers->asked().last().message, word("The SIM card is full.Do you want to save the contact to PC?"));
  EXPECT_EQ(c.lastSelectSavePos(), int(kSaveInPC));
  EXPECT_EQ(c.phonebookOperate(), int(kPBOperationAdd));
  EXPECT_EQ(c.dialogStore(), int(kSaveInPC));
  c.setPage(nullptr);
}

TEST_F(PageRules, AHandedOverNumberOpensTheNewContactDialogWithIt) {
  PBController &c = up();
  c.toPbUserWinWithPhoneNumber(QStringLiteral("0176555"), QStringLiteral("PC"));
  EXPECT_EQ(c.lastSelectSavePos(), int(kSaveInPC));
  EXPECT_EQ(c.dialogRecord().value(PBKey::kMobilePhone), QStringLiteral("0176555"));
  ASSERT_TRUE(c.adduserok({{"username", "Handed"}, {"mobilephone", "0176555"}}));
  EXPECT_EQ(c.searchNameAtPhoneBook(QStringLiteral("0176555")), QStringLiteral("Handed"));
  EXPECT_TRUE(c.dialogRecord().isEmpty());
}

TEST_F(PageRules, DeviceRemovalLeavesThePcStoreAndTellsOnce) {
  PBController &c = up();
  c.selectAtSimSide();
  int told = 0;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(kPBDeviceRemoved), nullptr,
                                                  [&told](const Notification &) { ++told; });
  c.deviceRemoved({});
  EXPECT_EQ(told, 1);
  EXPECT_EQ(c.lastSelectSavePos(), int(kSaveInPC));
  EXPECT_FALSE(c.simInitFinished());
  EXPECT_FALSE(c.controls().progressVisible);
  QString capacity = word("Cur %d  Maxcur %d");
  capacity.replace(capacity.indexOf(QLatin1String("%d")), 2, QStringLiteral("3"));
  capacity.replace(capacity.indexOf(QLatin1String("%d")), 2, QStringLiteral("1000"));
  EXPECT_EQ(c.controls().capacity, capacity);
}
