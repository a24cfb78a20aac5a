// The PC phonebook service without a window: the file it shares with the page, its own limits
// and its search.
#include "PBFixture.h"
#include "PhoneBookServiceTransplant.h"

namespace {
using namespace pbtest;

class PhoneBookServiceTransplantTest : public PBFixture {
protected:
  std::unique_ptr<PhoneBookServiceTransplant> service;

  PhoneBookServiceTransplant &startService(const QVariantList &groups) {
    configure();
    if (!groups.isEmpty())
      writePhoneBook(groups);
    service = std::make_unique<PhoneBookServiceTransplant>();
    EXPECT_TRUE(service->readPcPhoneList(true));
    return *service;
  }
  void TearDown() override {
    service.reset();
    PBFixture::TearDown();
  }
  static QStringList names(const QVariantList &list) {
    QStringList n;
    for (const QVariant &v : list)
      n << v.toMap().value(PBKey::kUserName).toString();
    return n;
  }
};

TEST_F(PhoneBookServiceTransplantTest, ReadsAndWritesTheFileThePageReads) {
  PhoneBookServiceTransplant &s = startService(
      {group(QStringLiteral("Work"), {contact("Zed", "1"), contact("Amy", "2")}), group(QStringLiteral("Family"))});
  // Groups sorted by name, the current group by contact name.
  EXPECT_EQ(s.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), "Family");
  ASSERT_TRUE(s.switchGroup(1));
  EXPECT_EQ(names(s.getCurrentGroupList().mid(1)), (QStringList{"Amy", "Zed"}));
  ASSERT_TRUE(s.newPCRecord(contact("Bob", "3", {{PBKey::kGroupName, QStringLiteral("Family")}})));
  // A group name no group bears puts the contact into group 0.
  ASSERT_TRUE(s.newPCRecord(contact("Cid", "4", {{PBKey::kGroupName, QStringLiteral("Nowhere")}})));
  start();
  EXPECT_EQ(pb->sumOfGroupInPC(), 2);
  EXPECT_EQ(pb->sumOfContactInGroup(0), 2);
  EXPECT_EQ(pb->sumOfContactInGroup(1), 2);
  // Out of range and empty requests are refused.
  EXPECT_FALSE(s.switchGroup(2));
  EXPECT_FALSE(s.switchGroup(-1));
  EXPECT_FALSE(s.editPCRecord(contact("X", "9"), -1));
  EXPECT_FALSE(s.editPCRecord(contact("X", "9"), 5));
  EXPECT_FALSE(s.newPCRecord({}));
  EXPECT_FALSE(s.deletePCRecord({}, QStringLiteral("CurrentGroup")));
  EXPECT_FALSE(s.readPcPhoneList(false));
}

TEST_F(PhoneBookServiceTransplantTest, AnEmptyFileGetsTheDefaultGroupAndNewGroupsTakeTheNextNumber) {
  PhoneBookServiceTransplant &s = startService({});
  ASSERT_EQ(s.sumOfGroupInPC(), 1);
  EXPECT_EQ(s.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), "Group 0");
  s.newGroup();
  EXPECT_TRUE(s.isFindTheSameGroupName(QStringLiteral("Group 1")));
  EXPECT_EQ(s.getNewGroupItem(), "Group 2");
}

TEST_F(PhoneBookServiceTransplantTest, HoldsAtMostOneThousandContacts) {
  QVariantList many;
  for (int i = 0; i < 999; ++i)
    many << contact(QStringLiteral("C%1").arg(i), QString::number(i));
  PhoneBookServiceTransplant &s = startService({group(QStringLiteral("G"), many)});
  EXPECT_TRUE(s.newPCRecord(contact("Last", "1")));
  EXPECT_EQ(s.sumOfContactInPC(), 1000);
  EXPECT_FALSE(s.newPCRecord(contact("Over", "2")));
}

// Mend: the search text is matched as typed, never as a pattern.
TEST_F(PhoneBookServiceTransplantTest, SearchMatchesTheTextLiterallyAndAddsToTheResultsBefore) {
  const QVariantList groups{
      group(QStringLiteral("G"), {contact("Anna", "+4930111"), contact("Ben (work)", "0301"), contact("c.d", "7")})};
  struct Case {
    const char *text;
    QStringList found;
  };
  const Case cases[] = {{"+49", {"Anna"}}, {"(", {"Ben (work)"}}, {".", {"c.d"}}, {"ANNA", {"Anna"}}, {"[", {}}};
  for (const Case &c : cases) {
    startService(groups);
    service->setPrefixMatchModeEnabled(false);
    EXPECT_TRUE(service->searchPCRecord(QLatin1String(c.text)));
    EXPECT_EQ(names(service->getCurrentSearchList()), c.found) << c.text;
  }
  // The list is not emptied between searches; prefix mode needs the field to begin with the text.
  service->setPrefixMatchModeEnabled(true);
  service->searchPCRecord(QStringLiteral("An"));
  service->searchPCRecord(QStringLiteral("nna"));
  EXPECT_EQ(names(service->getCurrentSearchList()), QStringList{"Anna"});
  service->searchPCRecord(QStringLiteral("An"));
  EXPECT_EQ(names(service->getCurrentSearchList()), (QStringList{"Anna", "Anna"}));
}

TEST_F(PhoneBookServiceTransplantTest, DeletingSearchResultsRemovesEachFromTheFirstGroupHoldingIt) {
  PhoneBookServiceTransplant &s = startService(
      {group(QStringLiteral("A"), {contact("Same", "1")}), group(QStringLiteral("B"), {contact("Same", "1")})});
  s.setPrefixMatchModeEnabled(false);
  ASSERT_TRUE(s.searchPCRecord(QStringLiteral("Same")));
  ASSERT_EQ(s.getCurrentSearchList().size(), 2);
  ASSERT_TRUE(s.deletePCRecord({0}, QStringLiteral("CurrentSearchGroup")));
  EXPECT_EQ(s.sumOfContactInGroup(0), 0);
  EXPECT_EQ(s.sumOfContactInGroup(1), 1);
  EXPECT_EQ(s.getCurrentSearchList().size(), 1);
}

TEST_F(PhoneBookServiceTransplantTest, NewSimRecordsTakeTheFirstNumberNoRecordUses) {
  PhoneBookServiceTransplant &s = startService({});
  s.setSimPhoneList(
      {contact("A", "1", {{PBKey::kIndex, 1}}), contact("NoIndex", "2"), contact("C", "3", {{PBKey::kIndex, 3}})}, 4);
  s.setAddContactList({contact("Pending", "4", {{PBKey::kIndex, 2}})});
  PBContactRecord record = contact("New", "5");
  EXPECT_FALSE(s.newSimRecord(record));
  EXPECT_EQ(record.value(PBKey::kIndex).toInt(), 4);
  s.setSimPhoneList({contact("A", "1", {{PBKey::kIndex, 1}})}, 1);
  s.setAddContactList({});
  EXPECT_EQ(s.getNewUnuseIndexInSim(), 2);
}

} // namespace
