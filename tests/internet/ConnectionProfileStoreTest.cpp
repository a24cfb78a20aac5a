#include "ProfileFixture.h"

#include <QFile>
#include <QFileInfo>

class ConnectionProfileStore : public ProfileFixture {
protected:
  QVariantList initialProfiles() const override {
    return {profile("Internet", "internet"), profile("A", "a.apn"), profile("B", "b.apn"), profile("C", "c.apn")};
  }
};

TEST_F(ConnectionProfileStore, LoadCorrectsTheCurrentProfile) {
  set({}, QStringLiteral("ProfileID"), 9);
  dial->loadDialConfig();
  EXPECT_EQ(dial->dialConfigArray.size(), 4);
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 3);
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 4);
  EXPECT_EQ(dial->numberOfItemsInComboBox(), 5);
  EXPECT_EQ(dial->comboBoxObjectValueForItemAtIndex(0), QStringLiteral("Edit Configuration"));
  EXPECT_EQ(dial->tableViewObjectValueForRow(7), QStringLiteral("Something is wrong, please check your code!"));
}

TEST_F(ConnectionProfileStore, AnUnreadableFileSurvivesTheNextSave) {
  QFile f(DialConfigFile::path());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write("<plist><array><dict><key>provider</key>"); // cut short
  f.close();
  dial->loadDialConfig();
  EXPECT_TRUE(dial->dialConfigArray.isEmpty());
  EXPECT_EQ(dial->numberOfItemsInComboBox(), 1) << "the heading row stays";
  const QString aside = dial->dialConfigSetAsidePath();
  ASSERT_FALSE(aside.isEmpty());
  dial->AddAPNInfo();
  QFile kept(aside);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_TRUE(kept.readAll().startsWith("<plist><array><dict>"));
  EXPECT_EQ(names(fileProfiles()), (QStringList{"New1"}));
}

TEST_F(ConnectionProfileStore, TheFileIsReadableByTheUserOnly) {
  dial->loadDialConfig();
  dial->saveDialConfigFile();
  EXPECT_EQ(QFileInfo(DialConfigFile::path()).permissions() &
                (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
            QFileDevice::Permissions());
}

TEST_F(ConnectionProfileStore, DeletingKeepsTheCurrentProfile) {
  ScriptedAnswers answers({1, 1, 1, 0});
  set({}, QStringLiteral("ProfileID"), 2); // "B"
  dial->loadDialConfig();
  // No table: the last profile goes, after the current one.
  dial->DelAPNInfo();
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"Internet", "A", "B"}));
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 2);
  // The current profile goes: the next-lower index stays in range.
  dial->DelAPNInfo();
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 1);
  EXPECT_EQ(names(fileProfiles()), (QStringList{"Internet", "A"}));
  dial->DelAPNInfo();
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 0);
  // Cancel deletes nothing.
  dial->DelAPNInfo();
  EXPECT_EQ(names(fileProfiles()), (QStringList{"Internet"}));
}

TEST_F(ConnectionProfileStore, NewProfilesTakeTheirDefaults) {
  set(QStringLiteral("Internet"), QStringLiteral("AddNewAPNWithSaveUsername"), true);
  set(QStringLiteral("Internet"), QStringLiteral("AddNewAPNWithDefaultTelNum"), true);
  set({}, QStringLiteral("DefaultAuthMode"), QStringLiteral("CHAP"));
  dial->loadDialConfig();
  dial->AddAPNInfo();
  const QVariantMap p = dial->dialConfigArray.last().toMap();
  EXPECT_EQ(p.value("provider").toString(), QStringLiteral("New1"));
  EXPECT_EQ(p.value("telNumber").toString(), QStringLiteral("*99#"));
  EXPECT_EQ(p.value("saveUsernameFlag").toInt(), 1);
  EXPECT_EQ(p.value("pppFlag").toInt(), 1);
  EXPECT_FALSE(p.contains("IMSI"));
  EXPECT_EQ(fileProfiles().size(), 5);
}

TEST_F(ConnectionProfileStore, ProfilesOfOtherSimsStayAsideAndSurviveASave) {
  set(QStringLiteral("Internet"), QStringLiteral("AddAPNWithSIM"), true);
  Plist::writeFile(DialConfigFile::path(),
                   QVariantList{profile("Internet", "internet"), profile("Mine", "m", {{"IMSI", "111"}}),
                                profile("Theirs", "t", {{"IMSI", "222"}})});
  set({}, QStringLiteral("simIMSI"), QStringLiteral("111"));
  set({}, QStringLiteral("IMSI"), QStringLiteral("111"));
  dial->loadDialConfig();
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1) << "waits for the SIM";
  dial->alreadyGetSimIMSI(Notification{QStringLiteral("AlreadyGetSimIMSI"), nullptr, {{"imsiInfo", false}}});
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"Internet", "Mine"}));
  dial->AddAPNInfo();
  EXPECT_EQ(dial->dialConfigArray.last().toMap().value("IMSI").toString(), QStringLiteral("111"));
  EXPECT_EQ(names(fileProfiles()), (QStringList{"Internet", "Mine", "New1", "Theirs"}));
}

TEST_F(ConnectionProfileStore, PresetsReplacedAtTheHead) {
  dial->loadDialConfig();
  dial->resetDialCfgListWithCfgArray({profile("X", "x"), profile("Y", "y")});
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"Y", "X", "A", "B", "C"}));
  EXPECT_EQ(dial->readDefaultProfileNum(), 2);
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
  // More presets stored than profiles: nothing happens.
  set({}, QStringLiteral("DefaultProfileNum"), 9);
  dial->resetDialCfgListWithCfgArray({profile("Z", "z")});
  EXPECT_EQ(dial->dialConfigArray.size(), 5);
}

TEST_F(ConnectionProfileStore, ApnCycleLists) {
  struct Case {
    int current;
    QVariant total, times;
    QList<int> list;
  };
  const Case cases[] = {
      {3, 3, {}, {3, 0, 1}},
      {3, 3, 2, {3, 0, 1, 3, 0, 1}},
      {1, 9, {}, {1, 0, 2, 3}},
      {0, 1, {}, {0}},
  };
  set(QStringLiteral("Internet"), QStringLiteral("apnCycle"), true);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.current);
    set(QStringLiteral("Internet"), QStringLiteral("apnCycleTotal"), c.total);
    QVariantMap internet = setting(QStringLiteral("Internet")).toMap();
    internet.remove(QStringLiteral("apnCycleTimes"));
    if (c.times.isValid())
      internet.insert(QStringLiteral("apnCycleTimes"), c.times);
    set({}, QStringLiteral("Internet"), internet);
    dial->loadDialConfig();
    dial->apnCycleEnd();
    dial->dialConfigListSelectItemAtIndex(c.current + 1);
    dial->setApnCycleEnable(true);
    dial->apnCycleStart();
    EXPECT_EQ(dial->apnCycleList(), c.list);
  }
  // Not enabled: no cycle.
  dial->apnCycleEnd();
  dial->setApnCycleEnable(false);
  dial->apnCycleStart();
  EXPECT_FALSE(dial->hasApnCycle());
  EXPECT_TRUE(dial->apnCycleLastTry());
}

TEST_F(ConnectionProfileStore, ChangeAPNSelectionSwapsTheFirstTwo) {
  dial->loadDialConfig();
  dial->dialConfigListSelectItemAtIndex(1);
  dial->ChangeAPNSelection();
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 2);
  dial->ChangeAPNSelection();
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
  dial->dialConfigListSelectItemAtIndex(4); // a user profile
  dial->ChangeAPNSelection();
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 1);
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 0);
}

TEST_F(ConnectionProfileStore, MmsProfileIsNeverSaved) {
  Plist::writeFile(modemList + QStringLiteral("/config.plist"),
                   QVariantMap{{"WapGateUserName", "mms"}, {"WapGatePassword", "pw"}});
  dial->loadDialConfig();
  dial->removeMMSConfig(); // never added: nothing changes
  EXPECT_EQ(dial->dialConfigArray.size(), 4);
  dial->addMMSConfig();
  const QVariantMap mms = dial->dialConfigArray.last().toMap();
  EXPECT_EQ(mms.value("apnName").toString(), QString()) << "no APN: empty, never the text 0";
  EXPECT_EQ(mms.value("apnFlag").toInt(), 0);
  EXPECT_EQ(mms.value("accountName").toString(), QStringLiteral("mms"));
  EXPECT_EQ(dial->m_IndexOfComboBoxSelectionNow, 5);

  // A profile added after it, a save and a reload: the MMS profile is kept but never written.
  dial->AddAPNInfo();
  dial->loadDialConfig();
  EXPECT_EQ(names(fileProfiles()), (QStringList{"Internet", "A", "B", "C", "New1"}));
  EXPECT_EQ(dial->dialConfigArray.size(), 6);
  EXPECT_EQ(dial->IDMMSConfig(), 6);
  dial->removeMMSConfig();
  EXPECT_EQ(names(dial->dialConfigArray), (QStringList{"Internet", "A", "B", "C", "New1"}));
  EXPECT_FALSE(dial->hasMMSConfig());
}
