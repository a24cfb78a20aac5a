// The Security page's backup and restore of the phonebook and the messages: the file's layout
// and checks, and the restore against the simulated modem.
#include "FilePanels.h"
#include "PBController.h"
#include "Plist.h"
#include "SettingFixture.h"
#include "SettingsBackupFile.h"
#include "WordGlobe.h"

#include <QTest>

namespace {

// A group as one element of a list (a QVariant, so a one-group list is never taken for a copy
// of the group itself).
QVariant group(const QString &name, const QVariantList &contacts = {}) {
  QVariantList g{QVariantMap{{QStringLiteral("groupname"), name}}};
  g << contacts;
  return g;
}
QVariantMap contact(const QString &name) {
  return {{QStringLiteral("username"), name}, {QStringLiteral("mobilephone"), QStringLiteral("1")}};
}

TEST(BackupFile, TheBoxesFollowBoxOrderOrTheThreeBoxesAndTheReports) {
  const QVariantMap pcSms{{QStringLiteral("InBox"), QVariantList{1}},
                          {QStringLiteral("OutBox"), QVariantList{2, 2}},
                          {QStringLiteral("ImportantBox"), QVariantList{3}}};
  const QVariantList reports{9};
  struct Case {
    const char *name;
    QVariantMap settings;
    QList<QVariantList> boxes;
  };
  const Case cases[] = {
      {"three boxes", {}, {{1}, {2, 2}, {}}},
      {"with the report box", {{QStringLiteral("isHaveDeliveryReportBox"), true}}, {{1}, {2, 2}, {}, {9}}},
      {"by boxOrder",
       {{QStringLiteral("boxOrder"), QVariantMap{{QStringLiteral("ImportantBox"), 0},
                                                 {QStringLiteral("DELIVERY_REPORTBOX"), 1},
                                                 {QStringLiteral("InBox"), 2}}}},
       {{3}, {9}, {1}}},
      // Mend: a position that no box holds is an empty array, so the file still restores.
      {"boxOrder with a gap",
       {{QStringLiteral("boxOrder"), QVariantMap{{QStringLiteral("InBox"), 0}, {QStringLiteral("OutBox"), 2}}}},
       {{1}, {}}},
  };
  for (const Case &c : cases) {
    const QVariantList boxes = SettingsBackupFile::smsBoxes(c.settings, pcSms, reports);
    ASSERT_EQ(boxes.size(), c.boxes.size()) << c.name;
    for (int i = 0; i < boxes.size(); ++i)
      EXPECT_EQ(boxes.at(i).toList(), c.boxes.at(i)) << c.name << " box " << i;
    QVariantList root{QVariant(QVariantList{})};
    root << boxes;
    EXPECT_TRUE(SettingsBackupFile::isValidFull(root, c.settings)) << c.name;
  }
}

TEST(BackupFile, AFullBackupIsValidByItsElementCount) {
  const QVariantMap none, reportBox{{QStringLiteral("isHaveDeliveryReportBox"), true}};
  const QVariantMap sixBoxes{{QStringLiteral("boxOrder"),
                              QVariantMap{{"InBox", 0}, {"OutBox", 1}, {"DraftBox", 2}, {"A", 3}, {"B", 4}, {"C", 5}}}};
  const auto root = [](int n) { return QVariantList(n, QVariant(QVariantList{})); };
  EXPECT_TRUE(SettingsBackupFile::isValidFull(root(4), none));
  EXPECT_FALSE(SettingsBackupFile::isValidFull(root(5), none));
  EXPECT_TRUE(SettingsBackupFile::isValidFull(root(5), reportBox));
  EXPECT_TRUE(SettingsBackupFile::isValidFull(root(4), reportBox));
  EXPECT_TRUE(SettingsBackupFile::isValidFull(root(7), sixBoxes));
  EXPECT_FALSE(SettingsBackupFile::isValidFull(root(4), sixBoxes));
}

TEST(BackupFile, OnlyThePhonebooksLayoutIsAPhonebook) {
  EXPECT_TRUE(SettingsBackupFile::isPhonebook(QVariantList{group("G", {contact("A")})}));
  EXPECT_TRUE(SettingsBackupFile::isPhonebook(QVariantList{}));
  EXPECT_FALSE(SettingsBackupFile::isPhonebook(QVariantList{contact("A")}));
  EXPECT_FALSE(SettingsBackupFile::isPhonebook(QVariantList{QVariant(QVariantList{})}));
  EXPECT_FALSE(SettingsBackupFile::isPhonebook(QVariantList{QVariant(QVariantList{QStringLiteral("text")})}));
  EXPECT_FALSE(SettingsBackupFile::isPhonebook(QVariantMap{}));
}

TEST(BackupFile, AMergeAppendsToAGroupOfTheSameNameAndKeepsItsHeader) {
  QVariantList current{group("Work", {contact("A")})};
  QVariantMap header = current[0].toList()[0].toMap();
  header.insert(QStringLiteral("bRes"), true);
  QVariantList work = current[0].toList();
  work[0] = header;
  current[0] = work;
  const QVariantList merged =
      SettingsBackupFile::merge(current, {group("Work", {contact("B")}), group("Home", {contact("C")})});
  ASSERT_EQ(merged.size(), 2);
  EXPECT_EQ(merged[0].toList(), (QVariantList{header, contact("A"), contact("B")}));
  EXPECT_EQ(merged[1], group("Home", {contact("C")}));
}

// Mend: a path that does not fit the request is refused, never cut.
TEST(BackupFile, TheRestoreRequestHoldsPathsOfUpTo127Bytes) {
  const QString fits = QLatin1Char('/') + QString(126, QLatin1Char('a'));
  const QByteArray request = SettingsBackupFile::restoreRequest(fits);
  ASSERT_EQ(request.size(), 128);
  EXPECT_EQ(request.left(127), fits.toUtf8());
  EXPECT_EQ(request.at(127), '\0');
  EXPECT_TRUE(SettingsBackupFile::restoreRequest(fits + QLatin1Char('b')).isEmpty());
  // Bytes count, not characters.
  EXPECT_TRUE(SettingsBackupFile::restoreRequest(QLatin1Char('/') + QString(64, QChar(0x00E4))).isEmpty());
  EXPECT_TRUE(SettingsBackupFile::restoreRequest(QString()).isEmpty());
}

class SettingsBackup : public SettingFixture {
protected:
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QString phoneBook() const { return modemList() + QStringLiteral("/phoneBook.plist"); }
  QVariantList read(const QString &path) const {
    QVariant v;
    Plist::readFile(path, &v);
    return v.toList();
  }
  QString word(const char *key) const { return Map_Name_Item_of_IndexString(QLatin1String(key)); }
};

TEST_F(SettingsBackup, ABackupThenARestoreBringsThePhonebookBackAndTellsTheModem) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  Plist::writeFile(phoneBook(), QVariantList{group("Saved", {contact("A")})});
  Plist::writeFile(modemList() + QStringLiteral("/SmsList_PC.plist"),
                   QVariantMap{{QStringLiteral("InBox"), QVariantList{QVariantMap{{"text", "hi"}}}}});
  const QString file = dir.filePath(QStringLiteral("backup"));
  {
    ScriptedFilePanels panels(file);
    settings()->backupSMSAndPhoneBook();
  }
  ASSERT_TRUE(waitAsked(word("BackUp SMS And PhoneBook Success.")));
  const QVariantList root = read(dir.filePath(QStringLiteral("backup.plist")));
  ASSERT_EQ(root.size(), 4);
  EXPECT_EQ(root[0].toList(), QVariantList{group("Saved", {contact("A")})});
  EXPECT_EQ(root[1].toList().size(), 1);

  Plist::writeFile(phoneBook(), QVariantList{group("Changed")});
  settings()->restoreSMSAndPhoneFile(dir.filePath(QStringLiteral("backup.plist")));
  ASSERT_TRUE(waitAsked(word("Restore SMS And PhoneBook Success.")));
  EXPECT_EQ(read(phoneBook()), QVariantList{group("Saved", {contact("A")})});
  EXPECT_EQ(g_PBController->getPCUserByIndex(0, -1).value(QStringLiteral("groupname")).toString(), "Saved");
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(768, 104).size() == 1; }));
  const UIMsg request = received(768, 104).first();
  EXPECT_EQ(request.moduleId, kModuleSMS);
  EXPECT_EQ(request.payload().size(), 128);
  EXPECT_TRUE(request.payload().startsWith(dir.filePath(QStringLiteral("backup.plist")).toUtf8() + '\0'));
}

// Mend: a file is checked before anything happens; an invalid one reaches neither the modem nor
// the phonebook file.
TEST_F(SettingsBackup, AnInvalidFileIsRefusedBeforeTheModemHearsOfIt) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  Plist::writeFile(phoneBook(), QVariantList{group("Kept")});
  const QString malformed = dir.filePath(QStringLiteral("malformed.plist"));
  Plist::writeFile(malformed,
                   QVariantList{QVariantList{contact("NotAGroup")}, QVariantList{}, QVariantList{}, QVariantList{}});
  const QString wrongCount = dir.filePath(QStringLiteral("count.plist"));
  Plist::writeFile(wrongCount, QVariantList{QVariantList{}, QVariantList{}});
  const QString longPath = dir.filePath(QString(130, QLatin1Char('x')) + QStringLiteral(".plist"));
  Plist::writeFile(longPath,
                   QVariantList{QVariant(QVariantList{group("Long")}), QVariantList{}, QVariantList{}, QVariantList{}});
  for (const QString &path : {malformed, wrongCount, longPath})
    settings()->restoreSMSAndPhoneFile(path);
  EXPECT_EQ(askedCount(word("Restore SMS And PhoneBook Failed.Invalid data file!")), 3);
  EXPECT_EQ(read(phoneBook()), QVariantList{group("Kept")});
  QTest::qWait(200);
  EXPECT_TRUE(received(768, 104).isEmpty());
}

TEST_F(SettingsBackup, TheMergeOptionAddsTheRestoredGroupsToThePhonebook) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ConfigManager::sharedConfigManager()->setConfigurationByModuleKeyAndValue(
      QStringLiteral("Setting"), QStringLiteral("RestorePhonebookSuperaddition"), true);
  Plist::writeFile(phoneBook(), QVariantList{group("Work", {contact("A")})});
  const QString file = dir.filePath(QStringLiteral("merge.plist"));
  Plist::writeFile(file, QVariantList{QVariantList{group("Work", {contact("B")}), group("Home")}, QVariantList{},
                                      QVariantList{}, QVariantList{}});
  settings()->restoreSMSAndPhoneFile(file);
  ASSERT_TRUE(waitAsked(word("Restore SMS And PhoneBook Success.")));
  EXPECT_EQ(read(phoneBook()), (QVariantList{group("Work", {contact("A"), contact("B")}), group("Home")}));
}

TEST_F(SettingsBackup, ThePhonebookOnlyFileHoldsThePhonebookAloneAndReportsAFailedWrite) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  Plist::writeFile(phoneBook(), QVariantList{group("Only", {contact("A")})});
  settings()->backupPhoneFileOnly(dir.filePath(QStringLiteral("only.plist")));
  ASSERT_TRUE(waitAsked(word("Export PhoneBook Success.")));
  EXPECT_EQ(read(dir.filePath(QStringLiteral("only.plist"))),
            QVariantList{QVariant(QVariantList{group("Only", {contact("A")})})});
  // Mend: a write that fails says so.
  settings()->backupPhoneFileOnly(dir.filePath(QStringLiteral("missing/only.plist")));
  ASSERT_TRUE(waitAsked(word("Export contact(s) failed.Please confirm the access privileges.")));
  // Restoring it: one element of the phonebook's layout, else nothing is written.
  Plist::writeFile(phoneBook(), QVariantList{group("Other")});
  settings()->restorePhoneFileOnly(dir.filePath(QStringLiteral("only.plist")));
  ASSERT_TRUE(waitAsked(word("Import PhoneBook Success.")));
  EXPECT_EQ(read(phoneBook()), QVariantList{group("Only", {contact("A")})});
  const QString two = dir.filePath(QStringLiteral("two.plist"));
  Plist::writeFile(two, QVariantList{QVariantList{}, QVariantList{}});
  settings()->restorePhoneFileOnly(two);
  ASSERT_TRUE(waitAsked(word("Import PhoneBook Failed. Invalid data file!")));
  EXPECT_EQ(read(phoneBook()), QVariantList{group("Only", {contact("A")})});
}

} // namespace
