// The SIM and device-memory stores without a backend: read results, free numbers, names.
#include "PBAlphaId.h"
#include "PBFixture.h"

namespace {
using namespace pbtest;

TEST(PBModemBlocks, ReadResultLayout) {
  QByteArray block(PBModemBlocks::kReadResultSize, '\0');
  auto put = [&block](int offset, qint32 v) { qToLittleEndian<qint32>(v, block.data() + offset); };
  put(4, 20);
  put(8, 14);
  put(12, 1);
  put(16, 250);
  memcpy(block.data() + 20, "/tmp/list.plist", 15);
  put(532, 21);
  put(536, 22);
  put(540, 60);
  put(544, 2);
  const auto r = PBModemBlocks::parseReadResult(block);
  EXPECT_EQ(r.numberMaxLen, 20);
  EXPECT_EQ(r.nameMaxLen, 14);
  EXPECT_EQ(r.minIndex, 1);
  EXPECT_EQ(r.maxIndex, 250);
  EXPECT_EQ(r.listFilePath, QStringLiteral("/tmp/list.plist"));
  EXPECT_EQ(r.number2MaxLen, 21);
  EXPECT_EQ(r.number3MaxLen, 22);
  EXPECT_EQ(r.emailMaxLen, 60);
  EXPECT_EQ(r.storage, 2);
  EXPECT_EQ(PBModemBlocks::encodeReadResult(r), block);
  // A short package reads its missing bytes as zero; a path without terminator stays in its field.
  EXPECT_EQ(PBModemBlocks::parseReadResult(block.left(8)).nameMaxLen, 0);
  QByteArray full(PBModemBlocks::kReadResultSize, 'x');
  EXPECT_EQ(PBModemBlocks::parseReadResult(full).listFilePath.size(), PBModemBlocks::kPathField);
}

TEST(PBModemBlocks, WriteRequestKeepsEveryTerminator) {
  PBModemBlocks::Request r;
  r.index = 7;
  r.name = QString(200, QChar(0x00E9)); // 400 UTF-8 bytes
  r.number = QStringLiteral("+49123");
  const QByteArray block = PBModemBlocks::encodeRequest(r);
  ASSERT_EQ(block.size(), PBModemBlocks::kWriteRequestSize);
  const auto back = PBModemBlocks::parseRequest(block);
  EXPECT_EQ(back.index, 7);
  EXPECT_EQ(back.name, QString(59, QChar(0x00E9))); // cut at a character boundary within 119 bytes
  EXPECT_EQ(back.number, QStringLiteral("+49123"));
  EXPECT_EQ(back.operation, PBModemBlocks::kOperationWrite);
  r.operation = PBModemBlocks::kOperationDelete;
  const auto del = PBModemBlocks::parseRequest(PBModemBlocks::encodeRequest(r));
  EXPECT_TRUE(del.name.isEmpty());
  EXPECT_EQ(del.operation, PBModemBlocks::kOperationDelete);
}

struct StorageCase {
  int storage;
  bool autoDetect;
  bool z3;
  int expectedCurrent;
  int simName, simNumber, simNumber2, simMail;
  int flag;
};

class ReadResultTest : public PBFixture, public ::testing::WithParamInterface<StorageCase> {};

TEST_P(ReadResultTest, SetsTheLimitsOfTheMemoryItCovers) {
  const StorageCase &c = GetParam();
  start({}, {{QStringLiteral("SimFieldAutoDetectionEnabled"), c.autoDetect},
             {QStringLiteral("Z3IDefinedPBItemLength"), c.z3}});
  pb->setPcFieldLengths(30, 25, 50);
  pb->setContactFieldsFlag(-1);
  PBModemBlocks::ReadResult r;
  r.storage = c.storage;
  r.nameMaxLen = 0;
  r.numberMaxLen = 20;
  r.number2MaxLen = 20;
  r.emailMaxLen = 40;
  r.maxIndex = 100;
  pb->setBaseInfo(r, c.storage);
  EXPECT_EQ(pb->currentStorage(), c.expectedCurrent);
  EXPECT_EQ(pb->getSimMaxNameLen(), c.simName);
  EXPECT_EQ(pb->getSimMaxNumberLen(), c.simNumber);
  EXPECT_EQ(pb->getSimMaxNumber2Len(), c.simNumber2);
  EXPECT_EQ(pb->simMailMaxLen(), c.simMail);
  EXPECT_EQ(pb->contactFieldsFlag(), c.flag);
}

INSTANTIATE_TEST_SUITE_P(Table, ReadResultTest,
                         ::testing::Values(
                             // SIM, no auto-detection: the flag is left alone.
                             StorageCase{2, false, false, 2, 0, 20, 0, 0, -1},
                             // SIM with auto-detection: number 2 and e-mail too; name 0 gives no name bit.
                             StorageCase{2, true, false, 2, 0, 20, 20, 40, 2 | 4 | 16},
                             // The operator's own lengths replace the SIM's, whichever memory was read.
                             StorageCase{2, true, true, 2, 30, 25, 25, 50, 2 | 4 | 16},
                             StorageCase{1, true, true, 1, 30, 25, 25, 50, 2 | 4 | 16},
                             // ME: the SIM limits stay.
                             StorageCase{1, false, false, 1, 0, 0, 0, 0, -1},
                             // Another code changes nothing.
                             StorageCase{5, true, false, 0, 0, 0, 0, 0, -1}));

TEST_F(PBFixture, ReadResultOfAnotherCodeFillsTheMemoryActiveBefore) {
  start();
  read(kStorageME, {item(1, QStringLiteral("Me"), QStringLiteral("1"))});
  read(7, {item(1, QStringLiteral("Other"), QStringLiteral("2"))});
  EXPECT_EQ(pb->getMeUserNumber(), 1);
  EXPECT_EQ(pb->getUserFromMe(0).value(PBKey::kUserName).toString(), QStringLiteral("Other"));
  EXPECT_EQ(pb->getSimUserNumber(), 0);
}

TEST_F(PBFixture, FreeRecordNumbers) {
  start();
  QVariantList ten;
  for (int i = 1; i <= 10; ++i)
    ten << item(i, QStringLiteral("N%1").arg(i), QString::number(i));
  read(kStorageSIM, ten, 10);
  EXPECT_EQ(pb->simNewContactIndex(), 11); // full
  read(kStorageSIM, {item(1, "A", "1"), item(2, "B", "2"), item(4, "D", "4")}, 10);
  EXPECT_EQ(pb->simNewContactIndex(), 3);
  pb->addContactToAddUserList({{PBKey::kIndex, 3}});
  EXPECT_EQ(pb->simNewContactIndex(), 5); // a pending write holds its number
  pb->clearAddUserList();
  // A record without "index" (sorted first by its empty name) does not end the scan.
  read(kStorageSIM, {QVariantMap{{QStringLiteral("ITEM_NUM1"), "9"}}, item(1, "A", "1"), item(2, "B", "2")}, 10);
  EXPECT_EQ(pb->simNewContactIndex(), 3);
}

TEST(PBAlphaId, LengthsAndForms) {
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QString()), QString());
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QStringLiteral("Anna")), QStringLiteral("416E6E61"));
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QStringLiteral("a@")), QStringLiteral("6100")); // "@" is code 0
  // Latin with one Cyrillic letter: 0x81, count, block 8 (0x0400 >> 7), then a byte each.
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QString::fromUtf8("Ab\u0416")), QStringLiteral("8103084162") + "96");
  // Characters of one block at or above 128 (0x4E00 >> 7 = 156): 0x82, count, base 0x4E00.
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QString::fromUtf8("\u4E00a")).left(8), QStringLiteral("82024E00"));
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QString::fromUtf8("\u4E00a")).size(), 2 * (2 + 4));
  // Two blocks: UCS2.
  EXPECT_EQ(PBAlphaId::encodeAlphaId(QString::fromUtf8("\u0416\u4E00")), QStringLiteral("8004164E00"));
}

TEST(PBAlphaId, CutsToTheByteLimit) {
  EXPECT_EQ(PBAlphaId::reSetNameStrWithInputName(QStringLiteral("Anna"), 0), QString());
  EXPECT_EQ(PBAlphaId::reSetNameStrWithInputName(QStringLiteral("Annabelle"), 4), QStringLiteral("Anna"));
  // 0x81: n + 3 bytes, so six bytes hold three characters.
  EXPECT_EQ(PBAlphaId::reSetNameStrWithInputName(QString::fromUtf8("\u0416\u0416\u0416\u0416"), 6),
            QString::fromUtf8("\u0416\u0416\u0416"));
  // Mixed blocks: 2n + 1, so seven bytes hold three characters.
  EXPECT_EQ(PBAlphaId::reSetNameStrWithInputName(QString::fromUtf8("\u0416\u4E00\u0416\u4E00"), 7),
            QString::fromUtf8("\u0416\u4E00\u0416"));
  // Dropping the one wide character turns the rest plain.
  EXPECT_EQ(PBAlphaId::reSetNameStrWithInputName(QString::fromUtf8("Anna\u0416"), 5), QStringLiteral("Anna"));
}

TEST_F(PBFixture, ReadFillsListsMergedListAndPostsOnce) {
  start({group("A", {contact("Pc", "1")})});
  int posted = 0;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(kPBInitFinished), pb.get(),
                                                  [&posted](const Notification &) { ++posted; });
  read(kStorageSIM, {item(2, "Zoe", "2"), item(1, "Al", "1")});
  EXPECT_EQ(posted, 1);
  EXPECT_TRUE(pb->simInitFinished());
  EXPECT_EQ(pb->getUserFromSim(0).value(PBKey::kUserName).toString(), QStringLiteral("Al"));
  EXPECT_EQ(pb->getAllUserNumber(), 3);
  EXPECT_EQ(pb->getDiagnosticsContact(), QStringLiteral("2/250"));
  EXPECT_TRUE(pb->getUserFromSim(-1).isEmpty());
}

} // namespace

namespace {
using namespace pbtest;

TEST_F(PBFixture, DialogCommitTakesTheFieldsTheStoreHas) {
  start({}, {{QStringLiteral("SimFieldAutoDetectionEnabled"), true}});
  PBModemBlocks::ReadResult r;
  r.storage = kStorageSIM;
  r.maxIndex = 10;
  r.nameMaxLen = 14;
  r.numberMaxLen = 20;
  r.emailMaxLen = 30;
  r.listFilePath = dir.filePath("none.plist");
  pb->applyReadResult(r);
  const PBContactRecord fields = contact("Ann", "1", {{PBKey::kHomePhone, "2"}, {PBKey::kEmail, "a@b"}});
  pb->contactIsAddedInSIM(fields);
  ASSERT_EQ(pb->addUserList().size(), 1);
  const QVariantMap sent = pb->addUserList().at(0).toMap();
  EXPECT_EQ(sent.value(PBKey::kIndex).toInt(), 1);
  EXPECT_EQ(sent.value(PBKey::kEmail).toString(), QStringLiteral("a@b"));
  EXPECT_FALSE(sent.contains(PBKey::kHomePhone)); // the SIM has no second number
  pb->setSimContact({{PBKey::kIndex, 7}, {PBKey::kUserName, "Old"}});
  pb->contactIsEditedInSIM(contact("New", "3"));
  EXPECT_EQ(pb->addUserList().at(1).toMap().value(PBKey::kIndex).toInt(), 7);
  EXPECT_EQ(pb->addUserList().at(1).toMap().value(PBKey::kEmail).toString(), QString()); // empty text kept
  pb->clearAddUserList();
  pb->deleteContactFromAddUserList();
  EXPECT_EQ(answers->asked().size(), 1); // "No deletion will take place!"
}

TEST(PBController, NumberCheck) {
  for (const char *valid : {"", "0301", "+49301", "*100#", "#31#0301"})
    EXPECT_FALSE(PBController::checkAddFlag(QLatin1String(valid))) << valid;
  for (const char *invalid : {"+", "030 1", "49+1", "++49", "abc"})
    EXPECT_TRUE(PBController::checkAddFlag(QLatin1String(invalid))) << invalid;
}

} // namespace

namespace {
using namespace pbtest;

TEST_F(PBFixture, AWriteRefusedByAFullSimGoesToThePcFileAtOnce) {
  start({group("A")}, {{QStringLiteral("SaveToPCWhenSimFull"), true}});
  read(kStorageSIM, {item(1, "Only", "1")}, 1);
  pb->setPhonebookOperate(kPBOperationAdd);
  pb->saveContactToSim(contact("Overflow", "2", {{PBKey::kIndex, pb->simNewContactIndex()}}));
  pb->applyWriteResult({2, PBModemBlocks::kOperationWrite, false});
  EXPECT_TRUE(answers->asked().isEmpty());
  EXPECT_EQ(pb->getPCUserByIndex(0, 0).value(PBKey::kUserName).toString(), QStringLiteral("Overflow"));
  QVariant onDisk;
  ASSERT_TRUE(Plist::readFile(phoneBookPath(), &onDisk));
  EXPECT_EQ(onDisk.toList().value(0).toList().size(), 2);
  EXPECT_TRUE(pb->addUserList().isEmpty());
  EXPECT_EQ(pb->getSimUserNumber(), 1);
}

} // namespace
