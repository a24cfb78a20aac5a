// The number-to-name lookup and the search over the stores.
#include "PBFixture.h"
#include "PBSearch.h"

namespace {
using namespace pbtest;

struct LookupCase {
  const char *what;
  QVariant threshold; // PhoneBook "PhoneNumberMatchThreshold"; invalid: absent
  QVariantList groups;
  QVariantList sim; // SIM list file; read only when `simRead`
  bool simRead;
  QString number;
  QString name; // expected answer
  bool has;
};

class LookupTest : public PBFixture, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LookupTest, AnswersTheFirstMatchingContact) {
  const LookupCase &c = GetParam();
  QVariantMap settings;
  if (c.threshold.isValid())
    settings.insert(QStringLiteral("PhoneNumberMatchThreshold"), c.threshold);
  start(c.groups, settings);
  if (c.simRead)
    read(kStorageSIM, c.sim);
  EXPECT_EQ(pb->searchNameAtPhoneBook(c.number), c.name) << c.what;
  EXPECT_EQ(pb->hasPhoneNumber(c.number), c.has) << c.what;
}

const QVariantList kTwoGroups = {
    group(QStringLiteral("Family"), {contact(QStringLiteral("Mum"), QStringLiteral("01761234567")),
                                     contact(QStringLiteral("Dad"), QStringLiteral("1234"))}),
    group(QStringLiteral("Work"), {contact(QStringLiteral("Boss"), QStringLiteral("0049761234567")),
                                   contact(QStringLiteral("Empty"), QString())}),
};

INSTANTIATE_TEST_SUITE_P(
    Table, LookupTest,
    ::testing::Values(
        LookupCase{"+ and country code against a national leading 0, N = 8",
                   {},
                   kTwoGroups,
                   {},
                   false,
                   QStringLiteral("+491761234567"),
                   QStringLiteral("Mum"),
                   true},
        LookupCase{"four digits match exactly four",
                   {},
                   kTwoGroups,
                   {},
                   false,
                   QStringLiteral("1234"),
                   QStringLiteral("Dad"),
                   true},
        LookupCase{"four digits do not match an eight-digit number ending in them",
                   {},
                   {group(QStringLiteral("G"), {contact(QStringLiteral("Long"), QStringLiteral("56781234"))})},
                   {},
                   false,
                   QStringLiteral("1234"),
                   QStringLiteral("1234"),
                   false},
        LookupCase{"the earlier group wins",
                   {},
                   kTwoGroups,
                   {},
                   false,
                   QStringLiteral("761234567"),
                   QStringLiteral("Mum"),
                   true},
        LookupCase{"the earlier row wins",
                   {},
                   {group(QStringLiteral("G"), {contact(QStringLiteral("A"), QStringLiteral("111122223333")),
                                                contact(QStringLiteral("B"), QStringLiteral("99922223333"))})},
                   {},
                   false,
                   QStringLiteral("22223333"),
                   QStringLiteral("A"),
                   true},
        LookupCase{"the SIM only when no PC contact matched",
                   {},
                   kTwoGroups,
                   {item(1, QStringLiteral("Sim Mum"), QStringLiteral("01761234567")),
                    item(2, QStringLiteral("Sim Only"), QStringLiteral("5550001"))},
                   true,
                   QStringLiteral("5550001"),
                   QStringLiteral("Sim Only"),
                   true},
        LookupCase{"a PC match hides the SIM's",
                   {},
                   kTwoGroups,
                   {item(1, QStringLiteral("Sim Mum"), QStringLiteral("01761234567"))},
                   true,
                   QStringLiteral("01761234567"),
                   QStringLiteral("Mum"),
                   true},
        LookupCase{"the SIM is not asked before it was read",
                   {},
                   {},
                   {},
                   false,
                   QStringLiteral("5550001"),
                   QStringLiteral("5550001"),
                   false},
        LookupCase{"an empty phonebook answers the number",
                   {},
                   {},
                   {},
                   true,
                   QStringLiteral("+4930"),
                   QStringLiteral("+4930"),
                   false},
        LookupCase{"an empty mobile number never matches, even an empty number",
                   {},
                   kTwoGroups,
                   {},
                   false,
                   QString(),
                   QString(),
                   false},
        LookupCase{"threshold 0 reads as 1",
                   0,
                   {group(QStringLiteral("G"), {contact(QStringLiteral("Nine"), QStringLiteral("0009"))})},
                   {},
                   false,
                   QStringLiteral("19"),
                   QStringLiteral("Nine"),
                   true},
        LookupCase{"threshold 13 reads as 12",
                   13,
                   {group(QStringLiteral("G"), {contact(QStringLiteral("Twelve"), QStringLiteral("9123456789012"))})},
                   {},
                   false,
                   QStringLiteral("8123456789012"),
                   QStringLiteral("Twelve"),
                   true},
        LookupCase{"threshold absent reads as 8",
                   {},
                   {group(QStringLiteral("G"), {contact(QStringLiteral("Eight"), QStringLiteral("112345678"))})},
                   {},
                   false,
                   QStringLiteral("212345678"),
                   QStringLiteral("Eight"),
                   true}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST_F(PBFixture, LookupFollowsChangesOfThePcStore) {
  start({group(QStringLiteral("G"))});
  EXPECT_FALSE(pb->hasPhoneNumber(QStringLiteral("5551234")));
  pb->addUser2CurGrop(contact(QStringLiteral("New"), QStringLiteral("5551234")));
  EXPECT_EQ(pb->searchNameAtPhoneBook(QStringLiteral("5551234")), QStringLiteral("New"));
  pb->deleteUserFromCurGrop(0);
  EXPECT_FALSE(pb->hasPhoneNumber(QStringLiteral("5551234")));
}

TEST_F(PBFixture, UsimSideLookupScansTheMergedListInOrder) {
  start({group(QStringLiteral("G"), {contact(QStringLiteral("Pc"), QStringLiteral("01761234567"))})});
  EXPECT_TRUE(pb->getMatchUserItemAtUSIMSide(QStringLiteral("+491761234567")).isEmpty()); // nothing merged yet
  read(kStorageSIM, {item(3, QStringLiteral("Sim"), QStringLiteral("+491761234567"))});
  const QVariantMap hit = pb->getMatchUserItemAtUSIMSide(QStringLiteral("1761234567"));
  EXPECT_EQ(hit.value(PBKey::kUserName).toString(), QStringLiteral("Sim")); // SIM entries come first
  EXPECT_EQ(hit.value(PBKey::kSavePos).toString(), PBTag::kSIM);
}

struct SearchCase {
  const char *what;
  QString text;
  bool prefix;
  bool caseSensitive;
  QStringList found; // names, in store order
};

class SearchTest : public PBFixture, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, MatchesTheTextLiterally) {
  const SearchCase &c = GetParam();
  QVariantMap settings{{QStringLiteral("PrefixMatchModeEnabled"), c.prefix},
                       {QStringLiteral("PhoneBook_caseSensitive_WhenSearch"), c.caseSensitive}};
  start({group(QStringLiteral("A"), {contact(QStringLiteral("Anna"), QStringLiteral("+491761234567")),
                                     contact(QStringLiteral("Hanna"), QStringLiteral("030.123"))}),
         group(QStringLiteral("B"),
               {contact(QStringLiteral("Bernd (work)"), QStringLiteral("0301"), {{PBKey::kEmail, "b@x.de"}})})},
        settings);
  read(kStorageSIM, {item(1, QStringLiteral("anton"), QStringLiteral("49"))});
  pb->setSearchText(c.text);
  pb->getSearchContactsFromPC();
  pb->getSearchContactsFromSIM();
  QStringList names;
  for (const QVariant &v : pb->getCurSearchGroup())
    names << v.toMap().value(PBKey::kUserName).toString();
  EXPECT_EQ(names, c.found) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchTest,
    ::testing::Values(SearchCase{"prefix, either case",
                                 QStringLiteral("an"),
                                 true,
                                 false,
                                 {QStringLiteral("Anna"), QStringLiteral("anton")}},
                      SearchCase{"anywhere, either case",
                                 QStringLiteral("an"),
                                 false,
                                 false,
                                 {QStringLiteral("Anna"), QStringLiteral("Hanna"), QStringLiteral("anton")}},
                      SearchCase{"case-sensitive", QStringLiteral("An"), false, true, {QStringLiteral("Anna")}},
                      SearchCase{"\"+49\" is text", QStringLiteral("+49"), false, false, {QStringLiteral("Anna")}},
                      SearchCase{"\".\" is text",
                                 QStringLiteral("."),
                                 false,
                                 false,
                                 {QStringLiteral("Hanna"), QStringLiteral("Bernd (work)")}},
                      SearchCase{"\"(\" is text", QStringLiteral("("), false, false, {QStringLiteral("Bernd (work)")}},
                      SearchCase{"prefix over a number",
                                 QStringLiteral("030"),
                                 true,
                                 false,
                                 {QStringLiteral("Hanna"), QStringLiteral("Bernd (work)")}}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST_F(PBFixture, SearchHitsOfAStoreCarryTheirRow) {
  start();
  read(kStorageSIM,
       {item(1, QStringLiteral("Bea"), QStringLiteral("1")), item(2, QStringLiteral("Al"), QStringLiteral("2"))});
  pb->setSearchText(QStringLiteral("Bea"));
  pb->getSearchContactsFromSIM();
  ASSERT_EQ(pb->getCurSearchGroupCount(), 1);
  EXPECT_EQ(pb->getUserFromCurSearchGroup(0).value(PBKey::kListIndex).toString(), QStringLiteral("1"));
  pb->deleteUserFromCurSearchGroup(10000);
  EXPECT_EQ(pb->getCurSearchGroupCount(), 0);
}

} // namespace
