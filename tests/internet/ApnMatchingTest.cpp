#include "ProfileFixture.h"

namespace {
// Operator profiles A..E at indexes 0..4 of "AllDefaultDialCfg".
QVariantList operatorProfiles() {
  QVariantList out;
  for (const char *name : {"A", "B", "C", "D", "E"})
    out << QVariantMap{{QStringLiteral("provider"), QLatin1String(name)},
                       {QStringLiteral("apnName"), QString::fromLatin1(name).toLower() + QStringLiteral(".apn")}};
  return out;
}
} // namespace

class ApnMatching : public ProfileFixture {
protected:
  QVariantMap initialSettings() const override {
    return {{QStringLiteral("DefaultProfileNum"), 1}, {QStringLiteral("AllDefaultDialCfg"), operatorProfiles()}};
  }
  QVariantList initialProfiles() const override { return {profile("Old", "old.apn"), profile("Mine", "mine.apn")}; }
  void table(const QVariantMap &t) { set({}, QStringLiteral("IMSI2DialConfigIdx"), t); }
};

// The MCC/MNC road of the controller: which keys are tried and what ends at the head.
TEST_F(ApnMatching, DefaultProfilesByMccAndMnc) {
  struct Case {
    const char *name;
    QVariantMap table;
    QString mcc, mnc;
    QStringList head; // profile names of the whole list afterwards
    int presets;
  };
  const QVariantList twoIndexes{3, 1};
  const Case cases[] = {
      {"404/45 takes 40445 first", {{"40445", 0}, {"404045", 1}, {"NULL", 2}}, "404", "45", {"A", "Mine"}, 1},
      {"then 404045", {{"404045", 1}, {"NULL", 2}}, "404", "45", {"B", "Mine"}, 1},
      {"then NULL", {{"NULL", 2}}, "404", "45", {"C", "Mine"}, 1},
      {"a three-digit MNC skips the short key", {{"310041", 0}, {"310410", 4}}, "310", "410", {"E", "Mine"}, 1},
      {"an array puts several, in its order", {{"26201", twoIndexes}}, "262", "01", {"D", "B", "Mine"}, 2},
      {"no key: nothing changes", {{"99999", 0}}, "404", "45", {"Old", "Mine"}, 1},
      {"an index beyond the table is ignored", {{"40445", QVariantList{7, 2}}}, "404", "45", {"C", "Mine"}, 1},
      {"only bad indexes: nothing changes", {{"40445", 9}}, "404", "45", {"Old", "Mine"}, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Plist::writeFile(DialConfigFile::path(), QVariantList{profile("Old", "old.apn"), profile("Mine", "mine.apn")});
    set({}, QStringLiteral("DefaultProfileNum"), 1);
    table(c.table);
    dial->loadDialConfig();
    dial->resetDefaultProfileWithMcc(c.mcc, c.mnc);
    EXPECT_EQ(names(dial->dialConfigArray), c.head);
    EXPECT_EQ(names(fileProfiles()), c.head);
    EXPECT_EQ(dial->readDefaultProfileNum(), c.presets);
  }
}

TEST_F(ApnMatching, ArrayThenSingleIndexReplacesTheWholeBlock) {
  table({{"26201", QVariantList{3, 1}}, {"26202", 0}});
  dial->loadDialConfig();
  dial->resetDefaultProfileWithMcc(QStringLiteral("262"), QStringLiteral("01"));
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"D", "B", "Mine"}));
  dial->resetDefaultProfileWithMcc(QStringLiteral("262"), QStringLiteral("02"));
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"A", "Mine"}));
  EXPECT_EQ(dial->readDefaultProfileNum(), 1);
  // The new head is the current profile and went to the backend.
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 0);
  EXPECT_TRUE(dial->lastDialParams().startsWith("a.apn"));
}

TEST_F(ApnMatching, ImsiPrefixesLongestFirst) {
  struct Case {
    const char *name;
    QByteArray imsi;
    QVariantMap table;
    int index; // -1: none
  };
  const Case cases[] = {
      {"6-digit beats 5-digit", "404451234567890", {{"40445", 1}, {"404451", 2}}, 2},
      {"8 digits first", "404451234567890", {{"40445123", 3}, {"404451", 2}}, 3},
      {"4 digits last", "404451234567890", {{"4044", 4}}, 4},
      {"no prefix", "404451234567890", {{"31041", 1}}, -1},
      {"a short IMSI skips longer prefixes", "40445", {{"40445", 1}, {"4044", 2}}, 1},
      {"an empty IMSI matches nothing", "", {{"4044", 2}}, -1},
      {"an array gives its first index", "404451234567890", {{"40445", QVariantList{3, 1}}}, 3},
      {"a dictionary is no index", "404451234567890", {{"40445", QVariantMap{}}}, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    table(c.table);
    EXPECT_EQ(transplant->matchDefaultProfileWithImsi(c.imsi), c.index);
    EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), std::max(c.index, 0));
    EXPECT_EQ(transplant->imsiMatchApn(QString::fromLatin1(c.imsi)), c.index);
  }
}

TEST_F(ApnMatching, ImsiChoosesTheProfileOrWarns) {
  dial->loadDialConfig();
  table({{"40445", 1}});
  ScriptedAnswers answers;
  dial->resetDefaultProfileWithImsiAll("404451234567890");
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 2);
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 1);
  EXPECT_TRUE(answers.asked().isEmpty());

  // An index with no profile behind it chooses the first and says so.
  table({{"40445", 7}});
  dial->resetDefaultProfileWithImsiAll("404451234567890");
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked().first().message, QStringLiteral("Not found a suitable APN")); // no token list loaded
}

TEST_F(ApnMatching, GlobalModes) {
  table({{"40445", 1}, {"404451", QVariantList{2, 3}}, {"26201", 4}, {"NULL", 0}});
  struct Case {
    const char *name;
    const char *mode;
    QString s, t;
    bool matched;
    QStringList head;
  };
  const Case cases[] = {
      {"by IMSI prefix", "ImsiMatchGlobalApn", "404451234567890", {}, true, {"C", "D", "Mine"}},
      {"by MCC+MNC text", "APNMatchWithMCCMNC", "26201", {}, true, {"E", "Mine"}},
      {"by MCC and MNC", "QdonMatchApn", "262", "01", true, {"E", "Mine"}},
      {"by MCC and MNC to NULL", "QdonMatchApn", "999", "99", true, {"A", "Mine"}},
      {"no mode", nullptr, "26201", {}, false, {"Old", "Mine"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Plist::writeFile(DialConfigFile::path(), QVariantList{profile("Old", "old.apn"), profile("Mine", "mine.apn")});
    set({}, QStringLiteral("DefaultProfileNum"), 1);
    for (const char *m : {"ImsiMatchGlobalApn", "APNMatchWithMCCMNC", "QdonMatchApn"})
      set({}, QLatin1String(m), c.mode && QLatin1String(m) == QLatin1String(c.mode));
    EXPECT_EQ(transplant->matchGlobalApn(c.s, c.t), c.matched);
    EXPECT_EQ(names(fileProfiles()), c.head);
  }
}

TEST_F(ApnMatching, SpecialRoamingRuleComparesTheIccid) {
  set(QStringLiteral("Setting"), QStringLiteral("Setting_SpecialImsiAndIccidMnc"), QVariantMap{{"40445", "45"}});
  QString iccid;
  DialServiceTransplant::setIccidSource([&iccid] { return iccid; });
  iccid = QStringLiteral("8991450000000000000");
  EXPECT_FALSE(transplant->specialImsiRoamMatch(QStringLiteral("404451234567890")));
  iccid = QStringLiteral("8991100000000000000");
  EXPECT_TRUE(transplant->specialImsiRoamMatch(QStringLiteral("404451234567890")));
  iccid = QStringLiteral("8991");
  EXPECT_FALSE(transplant->specialImsiRoamMatch(QStringLiteral("404451234567890"))) << "a short ICCID never matches";
  EXPECT_FALSE(transplant->specialImsiRoamMatch(QStringLiteral("3104"))) << "a short IMSI";

  // With the rule on and the ICCID differing, the global match chooses nothing.
  iccid = QStringLiteral("8991100000000000000");
  set({}, QStringLiteral("SpecialImsiRoam"), true);
  set({}, QStringLiteral("ImsiMatchGlobalApn"), true);
  table({{"40445", 1}});
  EXPECT_FALSE(transplant->matchGlobalApn(QStringLiteral("404451234567890"), {}));
}

TEST_F(ApnMatching, TransplantModeReloadsTheList) {
  set(QStringLiteral("Internet"), QStringLiteral("Internet_UseTransplantCodeToTestApnMatch"), true);
  set({}, QStringLiteral("QdonMatchApn"), true);
  table({{"40445", 2}});
  dial->loadDialConfig();
  dial->resetDefaultProfileWithMcc(QStringLiteral("404"), QStringLiteral("45"));
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"C", "Mine"}));
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
}

TEST_F(ApnMatching, MccMncStringReplacesPresetsInReverse) {
  table({{"26201", QVariantList{0, 1}}});
  dial->loadDialConfig();
  dial->resetDefaultProfileWithMCCMNC(QStringLiteral("26201"));
  // Each goes in at the head in turn.
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"B", "A", "Mine"}));
  EXPECT_EQ(dial->readDefaultProfileNum(), 2);
}

TEST(ApnMatchingFilters, FourFiltersCutWhatIsNotAllowed) {
  EXPECT_EQ(DialServiceTransplant::checkToFormatTelephoneNumber(QStringLiteral("12 34-56")), QStringLiteral("123456"));
  EXPECT_EQ(DialServiceTransplant::checkToFormatTelephoneNumber(QString(31, QLatin1Char('1'))).size(), 30);
  EXPECT_EQ(DialServiceTransplant::checkToFormatAPN(QStringLiteral("my apn_x-1.com")), QStringLiteral("myapnx-1.com"));
  EXPECT_EQ(DialServiceTransplant::checkToFormatAPN(QString::fromUtf8("Zürich")), QString::fromUtf8("Zürich"));
  EXPECT_EQ(DialServiceTransplant::checkToFormatPassword(QStringLiteral("a b\"\\'!~")), QStringLiteral("ab\"\\'!~"));
  EXPECT_EQ(DialServiceTransplant::checkToFormatIPv6DNS(QStringLiteral("2001:DB8::g1 ")),
            QStringLiteral("2001:DB8::1"));
  EXPECT_EQ(DialServiceTransplant::checkToFormatIPv6DNS(QString(45, QLatin1Char('a'))).size(), 39);
}

TEST_F(ApnMatching, FilterIPAddressHidesLinkLocal) {
  DialService service;
  EXPECT_EQ(service.filterIPAddress(QStringLiteral("169.254.1.2")), QStringLiteral("169.254.1.2"));
  set(QStringLiteral("Internet"), QStringLiteral("Internet_doNotDisplayIPAddress_whenDHCPFailed"), true);
  EXPECT_EQ(service.filterIPAddress(QStringLiteral("169.254.1.2")), QString());
  EXPECT_EQ(service.filterIPAddress(QStringLiteral("10.0.0.1")), QStringLiteral("10.0.0.1"));
  service.setSendSpeed(2.5f);
  EXPECT_FLOAT_EQ(service.sendSpeed(), 2.5f);
}
