// The memory card's contact files.
#include "PBFixture.h"
#include "QelFileManager.h"
#include "TCardFiles.h"
#include "WordGlobe.h"

#include <QFile>

namespace {
using namespace pbtest;

QByteArray utf16(const QString &text) {
  QByteArray bytes("\xFF\xFE", 2);
  bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
  return bytes;
}

QByteArray fileBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TCardTest : public PBFixture {
protected:
  QString card() const { return dir.filePath(QStringLiteral("card")); }
  QString pbFolder() const { return card() + QStringLiteral("/PB"); }

  void SetUp() override {
    QDir().mkpath(card());
    qputenv("QEL_TCARD_VOLUME", card().toUtf8());
  }
  void TearDown() override {
    qunsetenv("QEL_TCARD_VOLUME");
    PBFixture::TearDown();
  }
  void writeContactFile(int n, const QString &text) {
    QDir().mkpath(pbFolder());
    QelFileManager::writeToFile(pbFolder() + QStringLiteral("/PB_%1.ini").arg(n), text, QStringConverter::Utf16);
  }
  // The store opened as after a SIM read.
  void open() {
    start({}, {{QStringLiteral("IsShowTCard"), true}});
    read(kStorageSIM, {});
  }
  QStringList names() const {
    QStringList out;
    for (const QVariant &v : pb->getTCardUserList())
      out << v.toMap().value(PBKey::kUserName).toString();
    return out;
  }
};

const QString kNewContact = QStringLiteral(
    "[Contact]\r\nIndex=-10000\r\nGroupId=\r\nName=Anna\r\nSecondName= \t\t\t\t\t\t \r\nCompany=\r\nDuty=\r\n"
    "Email=a@b.c\r\nEmail2=\r\nQQ=\r\nMSN=\r\nNotes= \t\t\t\t\t\t \r\nPhoneNumber=0301\r\nHomeNumber=\r\n"
    "OfficeNumber=0302\r\nHomeAddress= \t\t\t\t\t\t \r\nWorkAddress=\r\nUrl=\r\nPictureID=");

TEST_F(TCardTest, NewCardGetsTheKeyFileAndTheFirstContactsExactBytes) {
  open();
  EXPECT_TRUE(pb->tcardInitFinished());
  EXPECT_EQ(fileBytes(pbFolder() + "/KEY_LIST.ini"), utf16(QStringLiteral("[KeyList]\r\nCount=0")));
  ASSERT_TRUE(
      pb->addUserItemInTCard(contact("Anna", "0301", {{PBKey::kEmail, "a@b.c"}, {PBKey::kOfficePhone, "0302"}})));
  EXPECT_EQ(fileBytes(pbFolder() + "/PB_0.ini"), utf16(kNewContact));
  EXPECT_EQ(fileBytes(pbFolder() + "/KEY_LIST.ini"), utf16(QStringLiteral("[KeyList]\r\nCount=1\r\n0=-10000")));
  ASSERT_TRUE(pb->addUserItemInTCard(contact("Bert", "0303")));
  EXPECT_EQ(TCardFiles::read(pbFolder() + "/PB_1.ini").value("Index").toString(), QStringLiteral("-10001"));
  EXPECT_EQ(TCardFiles::read(pbFolder() + "/KEY_LIST.ini").value("Count").toString(), QStringLiteral("2"));
  // Without a name or a number nothing is written.
  EXPECT_FALSE(pb->addUserItemInTCard(contact(QString(), "1")));
  EXPECT_FALSE(pb->addUserItemInTCard(contact("No number", QString())));
  EXPECT_EQ(answers->asked().size(), 2);
}

TEST_F(TCardTest, ReadsOtherWritersFilesInNameOrderAndNumbersNewOnesAboveEveryFile) {
  for (int n = 1; n <= 5; ++n)
    writeContactFile(n,
                     QStringLiteral("[Contact]\r\nIndex=%1\r\nName=%2\r\nPhoneNumber=%1").arg(n).arg(QChar('F' - n)));
  writeContactFile(9, QStringLiteral("[Contact]\r\nName=No index\r\nPhoneNumber=9")); // left out, kept
  writeContactFile(12, QStringLiteral("[Contact]\r\nIndex=12\r\nName=Ignored"));      // renamed below
  QFile::rename(pbFolder() + "/PB_12.ini", pbFolder() + "/PB_x.ini");                 // not a number
  QFile::copy(pbFolder() + "/PB_1.ini", pbFolder() + "/PB_1_2.ini");                  // two underscores
  open();
  EXPECT_EQ(names(), (QStringList{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(pb->getTCardUserList().at(0).toMap().value(PBKey::kFileNameNumber).toInt(), 5);
  ASSERT_TRUE(pb->addUserItemInTCard(contact("New", "7")));
  // One above the largest file present, so the skipped PB_9 survives.
  EXPECT_TRUE(QFile::exists(pbFolder() + "/PB_10.ini"));
  EXPECT_EQ(TCardFiles::read(pbFolder() + "/PB_9.ini").value("Name").toString(), QStringLiteral("No index"));
  EXPECT_EQ(TCardFiles::read(pbFolder() + "/PB_10.ini").value("Index").toString(), QStringLiteral("-10001"));
  // The merged list lists the card's contacts.
  int onCard = 0;
  for (const QVariant &v : pb->allPhoneList())
    onCard += v.toMap().value(PBKey::kSavePos) == PBTag::kTCard;
  EXPECT_EQ(onCard, 5);
}

TEST_F(TCardTest, ValuesKeepEqualsSignsAndLineBreaksBecomeBlanks) {
  open();
  ASSERT_TRUE(pb->addUserItemInTCard(contact("A=B", "1", {{PBKey::kEmail, "x\r\ny\nz"}})));
  const QVariantMap entries = TCardFiles::read(pbFolder() + "/PB_0.ini");
  EXPECT_EQ(entries.value("Name").toString(), QStringLiteral("A=B"));
  EXPECT_EQ(entries.value("Email").toString(), QStringLiteral("x y z"));
  EXPECT_FALSE(entries.contains("y"));
  pb->initTCardList();
  EXPECT_EQ(names(), QStringList{"A=B"});
}

TEST_F(TCardTest, AnEditKeepsTheFilesOtherValues) {
  writeContactFile(3,
                   QStringLiteral("[Contact]\r\nIndex=3\r\nName=Old\r\nCompany=ACME\r\nNotes=note\r\nPhoneNumber=1"));
  open();
  pb->setTCardContact(pb->getTCardUserList().at(0).toMap());
  ASSERT_TRUE(pb->editUserItemInTCard(contact("New", "2")));
  const QVariantMap entries = TCardFiles::read(pbFolder() + "/PB_3.ini");
  EXPECT_EQ(entries.value("Name").toString(), QStringLiteral("New"));
  EXPECT_EQ(entries.value("PhoneNumber").toString(), QStringLiteral("2"));
  EXPECT_EQ(entries.value("Company").toString(), QStringLiteral("ACME"));
  EXPECT_EQ(entries.value("Notes").toString(), QStringLiteral("note"));
  EXPECT_EQ(entries.value("Index").toString(), QStringLiteral("3"));
  EXPECT_EQ(names(), QStringList{"New"});
}

TEST_F(TCardTest, DeleteRemovesFilesAndKeyEntries) {
  open();
  for (const char *n : {"Ann", "Bob", "Cy"})
    ASSERT_TRUE(pb->addUserItemInTCard(contact(n, "1")));
  pb->deleteUserFromTCard({0, 2}); // Ann and Cy
  EXPECT_EQ(names(), QStringList{"Bob"});
  EXPECT_FALSE(QFile::exists(pbFolder() + "/PB_0.ini"));
  EXPECT_FALSE(QFile::exists(pbFolder() + "/PB_2.ini"));
  const QVariantMap key = TCardFiles::read(pbFolder() + "/KEY_LIST.ini");
  EXPECT_EQ(key.value("Count").toString(), QStringLiteral("1"));
  EXPECT_EQ(key.value("1").toString(), QStringLiteral("-10001"));
  EXPECT_EQ(key.size(), 2);
}

TEST_F(TCardTest, NoCardOrSwitchOffLeavesTheStoreClosed) {
  start({}, {{QStringLiteral("IsShowTCard"), false}});
  read(kStorageSIM, {});
  EXPECT_FALSE(QFile::exists(pbFolder()));
  qputenv("QEL_TCARD_VOLUME", dir.filePath("missing").toUtf8());
  start({}, {{QStringLiteral("IsShowTCard"), true}});
  read(kStorageSIM, {});
  EXPECT_FALSE(pb->tcardInitFinished());
}

// New on the memory card's store opens the dialog and its OK writes the card's files; without
// a card New says why instead of doing nothing.
TEST_F(TCardTest, NewOnTheCardsStoreAddsAContactOrSaysThereIsNoCard) {
  open();
  pb->selectSavePos(kSaveInTCard);
  ASSERT_TRUE(pb->newUser());
  EXPECT_EQ(pb->dialogStore(), int(kSaveInTCard));
  QString failed;
  ASSERT_TRUE(pb->adduserok(contact("Anna", "0301"), &failed)) << failed.toStdString();
  EXPECT_EQ(names(), QStringList{QStringLiteral("Anna")});
  EXPECT_TRUE(QFile::exists(pbFolder() + "/PB_0.ini"));

  qputenv("QEL_TCARD_VOLUME", dir.filePath("missing").toUtf8());
  start({}, {{QStringLiteral("IsShowTCard"), true}});
  read(kStorageSIM, {});
  pb->selectSavePos(kSaveInTCard);
  const int asked = int(answers->asked().size());
  EXPECT_FALSE(pb->newUser());
  ASSERT_EQ(answers->asked().size(), asked + 1);
  EXPECT_EQ(answers->asked().last().message,
            Map_Name_Item_of_IndexString(QStringLiteral("No memory card is available.")));
}

TEST(TCardFiles, NamesAndParsing) {
  EXPECT_EQ(TCardFiles::fileNumberOfName("PB_12"), 12);
  EXPECT_EQ(TCardFiles::fileNumberOfName("PB_7abc"), 7);
  EXPECT_EQ(TCardFiles::fileNumberOfName("PB_x"), -1);
  EXPECT_EQ(TCardFiles::fileNumberOfName("PB_1_2"), -1);
  EXPECT_EQ(TCardFiles::fileNumberOfName("KEY_LIST"), -1);
  EXPECT_EQ(TCardFiles::fileNumberOfName("PB_99999999999"), -1);
  // Without a byte-order mark the text is read as UTF-16; a UTF-8 mark is honoured.
  const QVariantMap utf8 = TCardFiles::parse(QByteArray("\xEF\xBB\xBF[C]\r\nName=a=b\r\nx"));
  EXPECT_EQ(utf8.value("Name").toString(), QStringLiteral("a=b"));
  EXPECT_EQ(utf8.size(), 1);
}

} // namespace

namespace {
class TCardMoveTest : public TCardTest {};
} // namespace

TEST_F(TCardMoveTest, MoveIntoTheCardWritesCardFilesAndDeletesEachWrittenSource) {
  start({group(QStringLiteral("Family"), {contact("Al", "1"), contact("Bo", "2"), contact("Cy", "3")}),
         group(QStringLiteral("Work"))},
        {{QStringLiteral("IsShowTCard"), true}});
  read(kStorageSIM, {});
  ASSERT_TRUE(pb->tcardInitFinished());
  pb->selectAtPCSide();
  pb->contactSelectionChanged({0, 2});
  pb->moveAndDelcont(Map_Name_Item_of_IndexString(QStringLiteral("SD Card")));
  EXPECT_EQ(pb->getTCardUserNumber(), 2);
  EXPECT_EQ(QDir(pbFolder()).entryList({QStringLiteral("PB_*.ini")}).size(), 2);
  // The sources went; the group the card was not asked for stays as it was.
  ASSERT_EQ(pb->sumOfContactInCurrentGroup(), 1);
  EXPECT_EQ(pb->getUserFromCurGroup(0).value(PBKey::kUserName), QStringLiteral("Bo"));
  EXPECT_EQ(pb->sumOfContactInGroup(pb->groupIndexWithName(QStringLiteral("Work"))), 0);
  // A copy keeps its sources.
  pb->contactSelectionChanged({0});
  pb->move(Map_Name_Item_of_IndexString(QStringLiteral("SD Card")));
  EXPECT_EQ(pb->getTCardUserNumber(), 3);
  EXPECT_EQ(pb->sumOfContactInCurrentGroup(), 1);
}
