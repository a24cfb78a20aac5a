// The number update and the restore of the SIM end to end, against the simulated modem.
#include "MainWindowFixture.h"
#include "PBController.h"
#include "PBFixture.h"
#include "WordGlobe.h"

#include <QTest>

namespace {
using pbtest::RecordingPage;

QVariantMap plistMap(const QString &xml) {
  QVariant v;
  Plist::fromData(xml.toUtf8(), &v);
  return v.toMap();
}

class PhonebookBackupRoadTest : public MainWindowFixture {
protected:
  RecordingPage page;

  QVariantMap settingsOverrides() const override {
    const QVariantMap rule{{QStringLiteral("0171"), QStringLiteral("+49171")},
                           {QStringLiteral("030"), QStringLiteral("+4930")}};
    return {{QStringLiteral("HasMePosition"), true},
            {QStringLiteral("CurrentLanguage"), QStringLiteral("English")},
            {QStringLiteral("PhoneBook"), QVariantMap{{QStringLiteral("PhonebookUpdatedRule"), rule}}}};
  }

  PBController *pb() const { return g_PBController; }

  // The program up with the SIM holding `contacts` (name, number) at records 1, 2, ...; false
  // without a bus.
  bool up(const QList<std::pair<QString, QString>> &contacts) {
    if (!launch())
      return false;
    pb()->setPage(&page);
    if (!testsupport::waitUntil([this] { return pb()->simInitFinished(); }, 10000))
      return false;
    QVariantList items;
    for (int i = 0; i < contacts.size(); ++i)
      items << pbtest::item(i + 1, contacts.at(i).first, contacts.at(i).second);
    const QVariantMap sim{{QStringLiteral("Capacity"), 10}, {QStringLiteral("Contacts"), items}};
    backend->control(QStringLiteral("SetContacts"), {QStringLiteral("SIM"), QString::fromUtf8(Plist::toXml(sim))});
    // The store on screen is the one just set: its names, not only its size.
    const auto shownNames = [this] {
      QStringList names;
      for (const QVariant &v : pb()->getSimUserList())
        names << v.toMap().value(PBKey::kUserName).toString();
      names.sort();
      return names;
    };
    QStringList wanted;
    for (const auto &c : contacts)
      wanted << c.first;
    wanted.sort();
    if (!testsupport::waitUntil([&] { return shownNames() == wanted; }))
      return false;
    pb()->setLastSelectSavePos(kSaveInSIM);
    return true;
  }

  // The modem's SIM as name -> number.
  QMap<QString, QString> modemSim() const {
    QMap<QString, QString> contacts;
    const QVariantList list =
        plistMap(backend->control(QStringLiteral("Contacts"), {QStringLiteral("SIM")}).value(0).toString())
            .value(QStringLiteral("Contacts"))
            .toList();
    for (const QVariant &v : list)
      contacts.insert(v.toMap().value(QStringLiteral("ITEM_NAME")).toString(),
                      v.toMap().value(QStringLiteral("ITEM_NUM1")).toString());
    return contacts;
  }
  bool settled() const {
    return pb()->addUserList().isEmpty() && pb()->delUserList().isEmpty() &&
           pb()->phonebookOperate() == kPBOperationNone;
  }
  // The write and delete requests the program sent.
  QList<PBModemBlocks::Request> requests(int operation) const {
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
  QString backupPath() const {
    QDir().mkpath(pb()->backupFileBasePath());
    return pb()->backupFileBasePath() + QStringLiteral("/SIM-2026-01-01-10-00.plist");
  }
  static QVariantMap record(const QString &name, const QString &number) {
    return {{PBKey::kUserName, name}, {PBKey::kMobilePhone, number}};
  }
};

TEST_F(PhonebookBackupRoadTest, ASimUpdateWritesOnlyTheChangedContactsAndShowsTheResultAfterTheLastAnswer) {
  if (!up({{"Anna", "0301234567"}, {"Ben", "01711234567"}, {"Carl", "112"}}))
    GTEST_SKIP() << "no session bus";
  const qsizetype writesBefore = requests(PBModemBlocks::kOperationWrite).size();
  pb()->updatePhonebook();
  EXPECT_TRUE(page.results.isEmpty());
  EXPECT_TRUE(pb()->controls().updateWindowBusy);
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  const QList<PBModemBlocks::Request> writes = requests(PBModemBlocks::kOperationWrite).mid(writesBefore);
  ASSERT_EQ(writes.size(), 2);
  EXPECT_EQ(page.results,
            QStringList{Map_Name_Item_of_IndexString(QStringLiteral("Contacts are updated successfully."))});
  const QMap<QString, QString> expected{{"Anna", "+49301234567"}, {"Ben", "+491711234567"}, {"Carl", "112"}};
  EXPECT_EQ(modemSim(), expected);
  QMap<QString, QString> shown;
  for (const QVariant &v : pb()->getSimUserList())
    shown.insert(v.toMap().value(PBKey::kUserName).toString(), v.toMap().value(PBKey::kMobilePhone).toString());
  EXPECT_EQ(shown, expected);
  // The backup holds the numbers before.
  const QStringList files = QDir(pb()->backupFileBasePath()).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  QVariant backup;
  ASSERT_TRUE(Plist::readFile(pb()->backupFileBasePath() + u'/' + files.first(), &backup));
  EXPECT_EQ(backup.toList().size(), 3);
}

TEST_F(PhonebookBackupRoadTest, ASimRestoreDeletesAndWritesEachDifferenceOnce) {
  if (!up({{"Anna", "1"}, {"Ben", "2"}, {"Carl", "3"}, {"Dora", "4"}}))
    GTEST_SKIP() << "no session bus";
  Plist::writeFile(backupPath(),
                   QVariantList{record("Anna", "1"), record("Ben", "2"), record("Emil", "5"), record("Fay", "6")});
  const qsizetype writesBefore = requests(PBModemBlocks::kOperationWrite).size();
  const qsizetype deletesBefore = requests(PBModemBlocks::kOperationDelete).size();
  pb()->restorePhonebook();
  ASSERT_TRUE(testsupport::waitUntil([this] { return settled(); }));
  EXPECT_EQ(requests(PBModemBlocks::kOperationDelete).size() - deletesBefore, 2);
  EXPECT_EQ(requests(PBModemBlocks::kOperationWrite).size() - writesBefore, 2);
  const QMap<QString, QString> expected{{"Anna", "1"}, {"Ben", "2"}, {"Emil", "5"}, {"Fay", "6"}};
  EXPECT_EQ(modemSim(), expected);
  EXPECT_EQ(pb()->getSimUserNumber(), 4);
  EXPECT_EQ(page.results,
            QStringList{Map_Name_Item_of_IndexString(QStringLiteral("Contacts are restored successfully."))});
}

TEST_F(PhonebookBackupRoadTest, ASimRestoreOfAnEqualBackupSendsNothing) {
  if (!up({{"Anna", "1"}, {"Ben", "2"}}))
    GTEST_SKIP() << "no session bus";
  Plist::writeFile(backupPath(), QVariantList{record("Ben", "2"), record("Anna", "1")});
  const qsizetype before =
      requests(PBModemBlocks::kOperationWrite).size() + requests(PBModemBlocks::kOperationDelete).size();
  pb()->restorePhonebook();
  EXPECT_TRUE(settled());
  EXPECT_EQ(page.results,
            QStringList{Map_Name_Item_of_IndexString(QStringLiteral("Contacts are restored successfully."))});
  QTest::qWait(200);
  EXPECT_EQ(requests(PBModemBlocks::kOperationWrite).size() + requests(PBModemBlocks::kOperationDelete).size(), before);
}

} // namespace
