// The PC store: phoneBook.plist with its groups, capacity, names and the merged list.
#include "PBFixture.h"

#include <QFile>

namespace {
using namespace pbtest;

QStringList groupNames(const PBController &pb) {
  QStringList names;
  for (int g = 0; g < pb.sumOfGroupInPC(); ++g)
    names << pb.getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString();
  return names;
}

TEST_F(PBFixture, LoadSortsGroupsAndKeepsOnlyWellFormedEntries) {
  configure();
  // A file written by hand: a stray text, a group holding a number, groups out of order.
  writePhoneBook({QStringLiteral("junk"), group(QStringLiteral("Work"), {contact("Zed", "1"), 42}),
                  group(QStringLiteral("family"), {contact("Bea", "2")}), group(QStringLiteral("Family"))});
  pb = std::make_unique<PBController>();
  pb->awakeFromNib();
  EXPECT_EQ(groupNames(*pb), (QStringList{"family", "Family", "Work"}));
  EXPECT_EQ(pb->sumOfContactInGroup(2), 1);
  EXPECT_EQ(pb->currentGroupIndex(), 0);
  EXPECT_EQ(pb->sumOfContactInPC(), 2);
}

TEST_F(PBFixture, MissingFileGivesADefaultGroupOnlyWhenAsked) {
  start();
  EXPECT_EQ(pb->sumOfGroupInPC(), 0);
  start({}, {{QStringLiteral("AddDefGrpWhileInit"), true}});
  EXPECT_EQ(groupNames(*pb), QStringList{"Group 0"});
  EXPECT_TRUE(QFile::exists(phoneBookPath()));
}

TEST_F(PBFixture, NewGroupsTakeTheSmallestFreeNumber) {
  start({group(QStringLiteral("Friends"))});
  pb->addGroup();
  pb->addGroup();
  EXPECT_EQ(groupNames(*pb), (QStringList{"Friends", "Group 0", "Group 1"}));
  pb->deleteGrop(1);
  pb->addGroup();
  EXPECT_EQ(groupNames(*pb), (QStringList{"Friends", "Group 0", "Group 1"}));
  // The file follows every change, and a reload for another SIM reads the same file.
  pb->loadPcPhoneListByImsi(QStringLiteral("001010123456789_phoneBook.plist"));
  EXPECT_EQ(groupNames(*pb), (QStringList{"Friends", "Group 0", "Group 1"}));
  EXPECT_TRUE(pb->checktNewGroupItem(QStringLiteral("Group 0"), 1));
  EXPECT_FALSE(pb->checktNewGroupItem(QStringLiteral("Group 0"), 0));
}

TEST_F(PBFixture, CapacityIsClampedAndCountsDistinctContactsWhenAsked) {
  for (const auto &[setting, capacity] : {std::pair{50, 1000}, {20000, 1000}, {100, 100}, {10000, 10000}}) {
    start({}, {{QStringLiteral("PCContactsMaxCount"), setting}});
    EXPECT_EQ(pb->PCUserMaxCount(), capacity) << setting;
  }
  const QVariantList groups = {group("A", {contact("Ann", "1"), contact("Ann", "1"), contact("Ann", "2")}),
                               group("B", {contact("Ann", "1"), contact("Bob", QString()), contact("Bob", QString())})};
  start(groups);
  EXPECT_EQ(pb->sumOfContactInPC(), 6);
  start(groups, {{QStringLiteral("NotAddCountWhenSameRecord"), true}});
  // Ann/1 once, Ann/2, and each record without a number on its own.
  EXPECT_EQ(pb->sumOfContactInPC(), 4);
}

TEST_F(PBFixture, AFullPcRefusesAdditions) {
  QVariantList many;
  for (int i = 0; i < 100; ++i)
    many << contact(QStringLiteral("C%1").arg(i), QString::number(i));
  start({group("A", many)}, {{QStringLiteral("PCContactsMaxCount"), 100}});
  EXPECT_FALSE(pb->addContactToPcPhoneList(contact("One more", "5"), 0));
  EXPECT_EQ(pb->addUser2CurGrop(contact("One more", "5")), 2);
}

TEST_F(PBFixture, GroupContactsSortByNameInTheLanguageOrder) {
  start({group("A")});
  for (const char *name : {"émile", "Zoe", "adam", "Émile", "Ben"})
    pb->addUser2CurGrop(contact(QString::fromUtf8(name), "1"));
  QStringList names;
  for (int r = 0; r < pb->sumOfContactInCurrentGroup(); ++r)
    names << pb->getUserFromCurGroup(r).value(PBKey::kUserName).toString();
  EXPECT_EQ(names, (QStringList{"adam", "Ben", QString::fromUtf8("émile"), QString::fromUtf8("Émile"), "Zoe"}));
}

TEST_F(PBFixture, MergedListGivesEveryPcEntryItsOwnNumber) {
  start({group("A", {contact("Ann", "1"), contact("Bob", "2"), contact("Cy", "3")})});
  read(kStorageSIM, {item(1, QStringLiteral("Sim"), QStringLiteral("9"))});
  QList<int> pcNumbers;
  for (const QVariant &v : pb->allPhoneList())
    if (v.toMap().value(PBKey::kSavePos) == PBTag::kPC)
      pcNumbers << v.toMap().value(PBKey::kIndex).toInt();
  EXPECT_EQ(pcNumbers, (QList<int>{1, 2, 3}));
  EXPECT_EQ(pb->getRuvozUserByIndexFromAllPhoneList(2, PBTag::kPC).value(PBKey::kUserName).toString(),
            QStringLiteral("Bob"));
  EXPECT_EQ(pb->getRuvozUserByIndexFromAllPhoneList(1, PBTag::kSIM).value(PBKey::kUserName).toString(),
            QStringLiteral("Sim"));
}

// The merge hands out numbers from one set for the whole group: numbers the group's records
// already carry are passed over, each entry takes the smallest number still free, and past the
// capacity every entry gets the capacity plus one, as before.
TEST_F(PBFixture, MergedPcNumbersPassOverTakenOnesAndStopAtTheCapacity) {
  QVariantList contacts;
  for (int i = 0; i < 102; ++i)
    contacts << contact(QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(i),
                        i == 1   ? QVariantMap{{PBKey::kIndex, 1}}
                        : i == 4 ? QVariantMap{{PBKey::kIndex, 3}}
                                 : QVariantMap{});
  start({group("A", contacts)}, {{QStringLiteral("PCContactsMaxCount"), 100}});
  read(kStorageSIM, {});
  QList<int> numbers;
  for (const QVariant &v : pb->allPhoneList())
    if (v.toMap().value(PBKey::kSavePos) == PBTag::kPC)
      numbers << v.toMap().value(PBKey::kIndex).toInt();
  ASSERT_EQ(numbers.size(), 102);
  EXPECT_EQ(numbers.mid(0, 5), (QList<int>{2, 4, 5, 6, 7}));
  // 98 free numbers below the capacity (1 and 3 are taken), then capacity plus one.
  EXPECT_EQ(numbers.at(97), 100);
  EXPECT_EQ(numbers.mid(98), (QList<int>{101, 101, 101, 101}));
  // A new PC entry now finds no number below the capacity.
  EXPECT_EQ(pb->pcNewContactIndex(), 101);
}

TEST_F(PBFixture, UniqueNamesFollowTheNameLimit) {
  start({group("A", {contact("Ann", "1"), contact("ABCDEFGHIJKLMNO", "2"), contact("Bo", "3"), contact("Bo1", "4")})},
        {{QStringLiteral("ContactNameUniqueCheckingEnabled"), true}});
  pb->setPcFieldLengths(15, 20, 40);
  PBContactRecord ann = contact("Ann", "7");
  pb->doUniqueCheckIfNeededOfContact(ann, kSaveInPC);
  EXPECT_EQ(ann.value(PBKey::kUserName).toString(), QStringLiteral("Ann1"));
  PBContactRecord longName = contact("ABCDEFGHIJKLMNO", "8");
  pb->doUniqueCheckIfNeededOfContact(longName, kSaveInPC);
  EXPECT_EQ(longName.value(PBKey::kUserName).toString(), QStringLiteral("ABCDEFGHIJKLMN1"));
  PBContactRecord bo = contact("Bo", "9");
  pb->doUniqueCheckIfNeededOfContact(bo, kSaveInPC);
  EXPECT_EQ(bo.value(PBKey::kUserName).toString(), QStringLiteral("Bo2"));
  EXPECT_FALSE(pb->contactNameIsUnique(QStringLiteral("Bo1")));
  EXPECT_TRUE(pb->contactNameIsUnique(QStringLiteral("Bo3")));
}

TEST_F(PBFixture, NumbersForAMessageCarryTheirLabel) {
  start();
  const PBContactList numbers = pb->availableNumbersOfContacts(
      {contact("Ann", "1", {{PBKey::kHomePhone, "3"}, {PBKey::kOfficePhone, ""}}), contact("Bob", QString())});
  ASSERT_EQ(numbers.size(), 2);
  EXPECT_EQ(numbers.at(0).toMap().value(PBKey::kMobilePhone).toString(), QStringLiteral("1(Mobile)"));
  EXPECT_EQ(numbers.at(1).toMap().value(PBKey::kMobilePhone).toString(), QStringLiteral("3(Home)"));
}

} // namespace
