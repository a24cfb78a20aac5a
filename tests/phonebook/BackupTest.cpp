// Contacts in and out of files without a backend: export, import, the number update rule, the
// backups and their restore.
#include "FilePanels.h"
#include "PBFixture.h"
#include "WordGlobe.h"

#include <QFile>

namespace {
using namespace pbtest;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

const QVariantMap kRule{{QStringLiteral("0171"), QStringLiteral("+49171")},
                        {QStringLiteral("030"), QStringLiteral("+4930")}};

class PhonebookFilesTest : public PBFixture {
protected:
  RecordingPage page;

  PBController &startWith(const QVariantList &groups, QVariantMap phoneBook = {}) {
    PBController &c = start(groups, phoneBook);
    c.setPage(&page);
    return c;
  }
  // The store's backup folder, made when missing.
  QString backupFolder(const char *store) const {
    const QString folder = modemList() + QStringLiteral("/PhonebookBackup/") + QLatin1String(store);
    QDir().mkpath(folder);
    return folder;
  }
  QStringList backups(const char *store) const { return QDir(backupFolder(store)).entryList(QDir::Files, QDir::Name); }
  QVariantList readList(const QString &path) const {
    QVariant v;
    Plist::readFile(path, &v);
    return v.toList();
  }
  QStringList alerts() const {
    QStringList messages;
    for (const ModalQuestion &q : answers->asked())
      messages << q.message;
    return messages;
  }
  QStringList mobilesOfGroup(int g) const {
    QStringList numbers;
    for (int i = 0; i < pb->sumOfContactInGroup(g); ++i)
      numbers << pb->getPCUserByIndex(g, i).value(PBKey::kMobilePhone).toString();
    return numbers;
  }
};

TEST_F(PhonebookFilesTest, TheUpdateRuleRewritesOnlyTenAndElevenCharacterNumbersWithAKnownPrefix) {
  struct Case {
    const char *number;
    bool withRule;
    const char *expected;
  };
  const Case cases[] = {
      {"01711234567", true, "+491711234567"}, // 11 characters: a four-character prefix
      {"0301234567", true, "+49301234567"},   // 10 characters: a three-character prefix
      {"017112345678", true, "017112345678"}, // 12 characters are left alone
      {"0991234567", true, "0991234567"},     // a prefix the rule does not know
      {"030123456", true, "030123456"},       // 9 characters
      {"01711234567", false, "01711234567"},  // no rule
  };
  for (const Case &c : cases) {
    startWith({}, c.withRule ? QVariantMap{{QStringLiteral("PhonebookUpdatedRule"), kRule}} : QVariantMap());
    PBContactRecord record = contact(QStringLiteral("A"), QLatin1String(c.number));
    const bool changed = pb->updateContactNumber(record);
    EXPECT_EQ(record.value(PBKey::kMobilePhone).toString(), QLatin1String(c.expected)) << c.number;
    EXPECT_EQ(changed, QLatin1String(c.number) != QLatin1String(c.expected)) << c.number;
    EXPECT_EQ(pb->contactIsUpdated(contact(QStringLiteral("A"), QLatin1String(c.number))), !changed) << c.number;
  }
  // A record without a mobile number counts as updated.
  EXPECT_TRUE(pb->contactIsUpdated(contact(QStringLiteral("A"), QString())));
}

TEST_F(PhonebookFilesTest, APhonebookWithNothingToRewriteIsAlreadyTransformedWithoutAQuestion) {
  startWith({group(QStringLiteral("G"), {contact(QStringLiteral("A"), QStringLiteral("+4930111"))})},
            {{QStringLiteral("PhonebookUpdatedRule"), kRule}});
  pb->updatePhonebook();
  EXPECT_TRUE(answers->asked().isEmpty());
  EXPECT_EQ(page.results, QStringList{word("Contacts are already transformed to new format.")});
  EXPECT_TRUE(pb->controls().updateWindowShown);
  EXPECT_FALSE(pb->controls().updateWindowBusy);
  EXPECT_TRUE(backups("PC").isEmpty());
}

TEST_F(PhonebookFilesTest, ThePcUpdateBacksUpThenRewritesEveryGroupAndWritesTheFile) {
  startWith({group(QStringLiteral("A"), {contact(QStringLiteral("Ann"), QStringLiteral("01711234567"))}),
             group(QStringLiteral("B"), {contact(QStringLiteral("Ben"), QStringLiteral("0301234567")),
                                         contact(QStringLiteral("Bob"), QStringLiteral("112"))})},
            {{QStringLiteral("PhonebookUpdatedRule"), kRule}});
  pb->updatePhonebook();
  ASSERT_EQ(answers->asked().size(), 2);
  EXPECT_EQ(answers->asked().at(0).message, word("Do you want to update our contacts to the new rules?"));
  EXPECT_EQ(answers->asked().at(1).message, word("Are you sure?"));
  EXPECT_EQ(page.results, QStringList{word("Contacts are updated successfully.")});
  EXPECT_EQ(mobilesOfGroup(0), QStringList{"+491711234567"});
  EXPECT_EQ(mobilesOfGroup(1), (QStringList{"+49301234567", "112"}));
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
  // The backup holds the numbers before, the file the numbers after.
  ASSERT_EQ(backups("PC").size(), 1);
  const QVariantList backup = readList(backupFolder("PC") + u'/' + backups("PC").first());
  EXPECT_EQ(backup.value(0).toList().value(1).toMap().value(PBKey::kMobilePhone).toString(), "01711234567");
  EXPECT_EQ(readList(phoneBookPath()).value(0).toList().value(1).toMap().value(PBKey::kMobilePhone).toString(),
            "+491711234567");
}

TEST_F(PhonebookFilesTest, ANoToEitherQuestionChangesNothingAndClosesTheWindow) {
  for (const QList<int> &script : {QList<int>{0}, QList<int>{1, 0}}) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>(script);
    startWith({group(QStringLiteral("A"), {contact(QStringLiteral("Ann"), QStringLiteral("01711234567"))})},
              {{QStringLiteral("PhonebookUpdatedRule"), kRule}});
    pb->updatePhonebook();
    EXPECT_EQ(mobilesOfGroup(0), QStringList{"01711234567"});
    EXPECT_FALSE(pb->controls().updateWindowShown);
    EXPECT_TRUE(backups("PC").isEmpty());
  }
}

// Mend: without a backup the numbers are not rewritten.
TEST_F(PhonebookFilesTest, AnUpdateWhoseBackupCannotBeWrittenStopsWithTheFailureText) {
  startWith({group(QStringLiteral("A"), {contact(QStringLiteral("Ann"), QStringLiteral("01711234567"))})},
            {{QStringLiteral("PhonebookUpdatedRule"), kRule}});
  // A file where the backup folder belongs.
  QFile blocker(modemList() + QStringLiteral("/PhonebookBackup"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  pb->updatePhonebook();
  EXPECT_EQ(page.results, QStringList{word("Contacts are failed to updated.")});
  EXPECT_EQ(mobilesOfGroup(0), QStringList{"01711234567"});
  EXPECT_EQ(readList(phoneBookPath()).value(0).toList().value(1).toMap().value(PBKey::kMobilePhone).toString(),
            "01711234567");
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
}

// Mend: a backup never replaces another one made in the same minute.
TEST_F(PhonebookFilesTest, BackupsWithinOneMinuteEachKeepTheirOwnFile) {
  startWith({group(QStringLiteral("A"), {contact(QStringLiteral("Ann"), QStringLiteral("1"))})});
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(pb->backupPhonebook());
  const QStringList files = backups("PC");
  ASSERT_EQ(files.size(), 3);
  for (const QString &name : files) {
    EXPECT_TRUE(name.startsWith(QStringLiteral("PC-"))) << name.toStdString();
    EXPECT_TRUE(name.endsWith(QStringLiteral(".plist"))) << name.toStdString();
    EXPECT_TRUE(PBController::backupFileIsValidToPC(QVariant(readList(backupFolder("PC") + u'/' + name))));
  }
  // Only the PC and the SIM have backups.
  pb->setLastSelectSavePos(kSaveInME);
  EXPECT_FALSE(pb->backupPhonebook());
  EXPECT_TRUE(pb->backupFileBasePath().isEmpty());
}

TEST_F(PhonebookFilesTest, ExportWritesTheSelectedRowsInReverseOrderWithoutTheStoreTag) {
  startWith({group(QStringLiteral("G"), {contact(QStringLiteral("A"), QStringLiteral("1")),
                                         contact(QStringLiteral("B"), QStringLiteral("2"), {{PBKey::kSavePos, "X"}}),
                                         contact(QStringLiteral("C"), QStringLiteral("3"))})});
  pb->contactSelectionChanged({0, 1, 2});
  {
    ScriptedFilePanels panels(dir.filePath(QStringLiteral("panel")));
    pb->exportPhoneBook();
    ASSERT_EQ(panels.asked().size(), 1);
    EXPECT_TRUE(panels.asked().first().save);
  }
  EXPECT_EQ(readList(dir.filePath(QStringLiteral("panel.plist"))).size(), 3);
  // The name's extension becomes ".plist".
  pb->backupPhonebookFile(dir.filePath(QStringLiteral("out.txt")));
  const QVariantList written = readList(dir.filePath(QStringLiteral("out.plist")));
  ASSERT_EQ(written.size(), 3);
  QStringList names;
  for (const QVariant &v : written) {
    names << v.toMap().value(PBKey::kUserName).toString();
    EXPECT_FALSE(v.toMap().contains(PBKey::kSavePos));
  }
  EXPECT_EQ(names, (QStringList{"C", "B", "A"}));
  EXPECT_TRUE(alerts().isEmpty());
  // A folder that does not exist: the alert, and nothing left behind.
  pb->backupPhonebookFile(dir.filePath(QStringLiteral("missing/out.plist")));
  EXPECT_EQ(alerts(), QStringList{word("Export contact(s) failed.Please confirm the access privileges.")});
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing/out.plist"))));
  // Nothing selected: nothing written.
  pb->contactSelectionChanged({});
  pb->backupPhonebookFile(dir.filePath(QStringLiteral("none.plist")));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.plist"))));
}

// Mend: the imported contacts reach phoneBook.plist, also when the store fills up on the way.
TEST_F(PhonebookFilesTest, APcImportSkipsNamelessEntriesAndIsOnDiskForTheNextController) {
  startWith({group(QStringLiteral("G"))});
  const QString file = dir.filePath(QStringLiteral("in.plist"));
  Plist::writeFile(
      file, QVariantList{contact(QStringLiteral("Valid"), QStringLiteral("1")), contact(QString(), QStringLiteral("2")),
                         contact(QStringLiteral("No Number"), QString()), QStringLiteral("not a contact")});
  pb->restorePhonebookFile(file);
  EXPECT_TRUE(alerts().isEmpty());
  startWith({});
  ASSERT_EQ(pb->sumOfContactInGroup(0), 2);
  QStringList names;
  for (int i = 0; i < 2; ++i) {
    names << pb->getPCUserByIndex(0, i).value(PBKey::kUserName).toString();
    EXPECT_EQ(pb->getPCUserByIndex(0, i).value(PBKey::kGroupName).toString(), "G");
  }
  EXPECT_EQ(names, (QStringList{"No Number", "Valid"}));
}

TEST_F(PhonebookFilesTest, AnImportWithoutAnyValidEntryAlertsThatTheDataIsInvalid) {
  const QString invalid = word("Import contact(s) failed.The data is invalid!");
  struct Case {
    const char *name;
    QVariant content;
  };
  const Case cases[] = {
      {"nameless", QVariantList{contact(QString(), QStringLiteral("1")), contact(QString(), QStringLiteral("2"))}},
      {"empty", QVariantList{}},
      {"not an array", QVariantMap{{QStringLiteral("username"), QStringLiteral("A")}}},
  };
  for (const Case &c : cases) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>();
    startWith({group(QStringLiteral("G"))});
    const QString file = dir.filePath(QStringLiteral("bad.plist"));
    Plist::writeFile(file, c.content);
    pb->restorePhonebookFile(file);
    EXPECT_EQ(alerts(), QStringList{invalid}) << c.name;
    EXPECT_EQ(pb->sumOfContactInGroup(0), 0) << c.name;
  }
}

TEST_F(PhonebookFilesTest, APcImportStopsAtAFullStoreKeepingWhatCameBefore) {
  QVariantList full;
  for (int i = 0; i < 99; ++i)
    full << contact(QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(i));
  startWith({group(QStringLiteral("G"), full)}, {{QStringLiteral("PCContactsMaxCount"), 100}});
  const QString file = dir.filePath(QStringLiteral("in.plist"));
  Plist::writeFile(file, QVariantList{contact(QStringLiteral("X1"), QStringLiteral("1")),
                                      contact(QStringLiteral("X2"), QStringLiteral("2"))});
  pb->restorePhonebookFile(file);
  EXPECT_EQ(alerts(), QStringList{word("PC Record full,Please delete records first!")});
  EXPECT_EQ(pb->sumOfContactInGroup(0), 100);
  EXPECT_EQ(readList(phoneBookPath()).value(0).toList().size(), 101);
}

TEST_F(PhonebookFilesTest, ASimImportWritesOneRecordPerNumberUntilTheSimIsFull) {
  startWith({});
  read(kStorageSIM, {item(1, QStringLiteral("Old"), QStringLiteral("9"))}, 3);
  pb->setLastSelectSavePos(kSaveInSIM);
  const QString file = dir.filePath(QStringLiteral("in.plist"));
  Plist::writeFile(file, QVariantList{contact(QStringLiteral("Two"), QStringLiteral("1"),
                                              {{PBKey::kHomePhone, QStringLiteral("2")}}),
                                      contact(QStringLiteral("Late"), QStringLiteral("3"))});
  pb->restorePhonebookFile(file);
  // The two free records take both numbers of the first entry; the second entry finds no room.
  ASSERT_EQ(pb->addUserList().size(), 2);
  EXPECT_EQ(pb->addUserList().at(0).toMap().value(PBKey::kIndex).toInt(), 2);
  EXPECT_EQ(pb->addUserList().at(1).toMap().value(PBKey::kIndex).toInt(), 3);
  EXPECT_EQ(pb->addUserList().at(1).toMap().value(PBKey::kMobilePhone).toString(), "2");
  EXPECT_TRUE(alerts().isEmpty());
  // Mend: the import is an add, so each written record joins the SIM list on its result.
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationAdd);
  for (int index : {2, 3}) {
    PBModemBlocks::WriteResult r;
    r.operation = PBModemBlocks::kOperationWrite;
    r.success = true;
    r.index = index;
    pb->applyWriteResult(r);
  }
  EXPECT_EQ(pb->getSimUserNumber(), 3);
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
}

TEST_F(PhonebookFilesTest, ASimImportOfEntriesWithoutNumbersAddsNothingAndDoesNotAlert) {
  startWith({});
  read(kStorageSIM, {}, 10);
  pb->setLastSelectSavePos(kSaveInSIM);
  const QString file = dir.filePath(QStringLiteral("in.plist"));
  Plist::writeFile(file,
                   QVariantList{contact(QStringLiteral("A"), QString()), contact(QStringLiteral("B"), QString())});
  pb->restorePhonebookFile(file);
  EXPECT_TRUE(pb->addUserList().isEmpty());
  EXPECT_FALSE(alerts().contains(word("Import contact(s) failed.The data is invalid!")));
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
}

TEST_F(PhonebookFilesTest, RestoreWithNoneOneOrTwoBackups) {
  startWith({group(QStringLiteral("Now"), {contact(QStringLiteral("Now"), QStringLiteral("1"))})});
  // None: the alert.
  pb->restorePhonebook();
  EXPECT_EQ(alerts(), QStringList{word("Backup files dont's exist.")});
  // One: restored without a panel.
  Plist::writeFile(backupFolder("PC") + QStringLiteral("/PC-2026-01-01-10-00.plist"),
                   QVariantList{group(QStringLiteral("Then"), {contact(QStringLiteral("Then"), QStringLiteral("2"))})});
  {
    ScriptedFilePanels panels{QString()};
    pb->restorePhonebook();
    EXPECT_TRUE(panels.asked().isEmpty());
  }
  EXPECT_EQ(pb->getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), "Then");
  EXPECT_EQ(readList(phoneBookPath()).size(), 1);
  EXPECT_EQ(page.results, QStringList{word("Contacts are restored successfully.")});
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
  // Two: the panel opens in the store's backup folder, and its choice is restored.
  const QString second = backupFolder("PC") + QStringLiteral("/PC-2026-01-01-11-00.plist");
  Plist::writeFile(second, QVariantList{group(QStringLiteral("Later"))});
  {
    ScriptedFilePanels panels(second);
    pb->restorePhonebook();
    ASSERT_EQ(panels.asked().size(), 1);
    EXPECT_FALSE(panels.asked().first().save);
    EXPECT_EQ(FilePanels::lastOptions().directory, backupFolder("PC"));
  }
  EXPECT_EQ(pb->getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), "Later");
}

TEST_F(PhonebookFilesTest, AnIllegalBackupIsRefusedAndTheStoreStays) {
  startWith({group(QStringLiteral("Now"), {contact(QStringLiteral("Now"), QStringLiteral("1"))})});
  const QString outside = dir.filePath(QStringLiteral("PC-elsewhere.plist"));
  Plist::writeFile(outside, QVariantList{group(QStringLiteral("Other"))});
  const QString malformed = backupFolder("PC") + QStringLiteral("/PC-bad.plist");
  Plist::writeFile(malformed, QVariantList{contact(QStringLiteral("Not"), QStringLiteral("A group"))});
  const QString simShaped = backupFolder("PC") + QStringLiteral("/PC-dict.plist");
  Plist::writeFile(simShaped, QVariantMap{{QStringLiteral("a"), 1}});
  for (const QString &path : {outside, malformed, simShaped}) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>();
    pb->browerFile(path);
    EXPECT_EQ(alerts(), QStringList{word("Illegal backup file is selected.")}) << path.toStdString();
  }
  EXPECT_EQ(pb->getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), "Now");
  EXPECT_EQ(readList(phoneBookPath()).value(0).toList().value(0).toMap().value(PBKey::kGroupName).toString(), "Now");
  EXPECT_FALSE(pb->controls().updateWindowShown);
  // A SIM backup must be an array of records.
  EXPECT_TRUE(PBController::backupFileIsValidToSIM(QVariantList{contact(QStringLiteral("A"), QStringLiteral("1"))}));
  EXPECT_FALSE(PBController::backupFileIsValidToSIM(QVariantList{group(QStringLiteral("G"))}));
}

TEST_F(PhonebookFilesTest, ASimRestoreOfAnEqualBackupSendsNothingAndShowsTheResultAtOnce) {
  startWith({});
  read(kStorageSIM,
       {item(1, QStringLiteral("A"), QStringLiteral("1")), item(2, QStringLiteral("B"), QStringLiteral("2"))});
  pb->setLastSelectSavePos(kSaveInSIM);
  QVariantList backup = pb->getSimUserList();
  const QString path = backupFolder("SIM") + QStringLiteral("/SIM-2026-01-01-10-00.plist");
  Plist::writeFile(path, backup);
  pb->restorePhonebook();
  EXPECT_TRUE(pb->addUserList().isEmpty());
  EXPECT_TRUE(pb->delUserList().isEmpty());
  EXPECT_EQ(page.results, QStringList{word("Contacts are restored successfully.")});
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationNone);
}

} // namespace
