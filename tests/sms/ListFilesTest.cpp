#include "ListFile.h"
#include "SmsFixture.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsServiceTransplant.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

using records::longMessage;
using records::part;
using records::single;

class ListFiles : public SmsFixture {};

TEST_F(ListFiles, TheFirstWriteCreatesTheFileAndItsFolder) {
  const QString path = dir.filePath("card/SMS/SmsList_TCARD.plist");
  EXPECT_EQ(SmsListFiles::tcardListPath(dir.filePath("card")), path);
  ASSERT_TRUE(SmsListFiles::writeBox(path, DraftBox, {single("a", "1", 0)}));
  EXPECT_EQ(SmsListFiles::readBox(path, DraftBox).size(), 1);

  SmsService service;
  EXPECT_FALSE(QFileInfo::exists(listPath("SmsList_PC.plist")));
  EXPECT_TRUE(service.writeMessagesToPC({single("b", "2", 1)}, OutBox));
  EXPECT_EQ(service.readPCListWithBox(OutBox).size(), 1);
  EXPECT_FALSE(service.writeMessagesToPC({single("b", "2", 1)}, DELIVERY_REPORTBOX)); // not a box of the list
  EXPECT_FALSE(service.writeMessagesToBox(InBox, {}, QString()));
}

TEST_F(ListFiles, ADamagedFileIsMovedAsideAndTheWriteGoesAhead) {
  const QString path = listPath("SmsList_PC.plist");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><plist><dict><key>InBox</key><array><dict>"); // cut short
  }
  QVariantMap dict;
  EXPECT_EQ(ListFile::read(path, &dict), ListFile::ReadState::Damaged);
  SmsService service;
  EXPECT_TRUE(service.getAllPcListByBox(InBox).isEmpty());
  ASSERT_TRUE(service.writeMessagesToPC({single("kept", "1", 0)}, InBox));
  const QString aside = ListFile::lastSetAsidePath();
  ASSERT_FALSE(aside.isEmpty());
  EXPECT_TRUE(aside.startsWith(path + ".damaged-"));
  QFile old(aside);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_TRUE(old.readAll().contains("<key>InBox</key>")); // the damaged content is kept
  EXPECT_EQ(ListFile::read(path, &dict), ListFile::ReadState::Read);
  EXPECT_EQ(dict.value("InBox").toList().size(), 1);
  // A root that is not a dictionary counts as damaged too.
  Plist::writeFile(path, QVariantList{1, 2});
  EXPECT_EQ(ListFile::read(path, &dict), ListFile::ReadState::Damaged);
}

TEST_F(ListFiles, UpdatesAnswerWhetherTheyWrote) {
  const QString path = listPath("SmsList_PC.plist");
  EXPECT_FALSE(ListFile::update(path, [](QVariantMap &) { return false; }));
  EXPECT_FALSE(QFileInfo::exists(path));
  EXPECT_FALSE(ListFile::update(QString(), [](QVariantMap &) { return true; }));
  // A FIFO in the file's place is neither read (which would block) nor replaced.
  const QString fifo = listPath("SmsList_ME.plist");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QVariantMap dict;
  EXPECT_EQ(ListFile::read(fifo, &dict), ListFile::ReadState::Damaged);
  EXPECT_FALSE(SmsListFiles::writeBox(fifo, InBox, {}));
  EXPECT_FALSE(QFileInfo(fifo).isFile());
  // A folder in the file's place cannot be written.
  QDir().mkpath(path);
  EXPECT_FALSE(ListFile::update(path, [](QVariantMap &d) {
    d.insert("InBox", QVariantList());
    return true;
  }));
}

TEST_F(ListFiles, TheCacheParsesOnlyAChangedFile) {
  const QString path = listPath("SmsList_ME.plist");
  ListFile::Cache cache;
  QVariantMap dict;
  EXPECT_EQ(cache.read(path, &dict), ListFile::ReadState::Missing);
  ASSERT_TRUE(SmsListFiles::writeBox(path, InBox, {single("a", "1", 0)}));
  EXPECT_EQ(cache.read(path, &dict), ListFile::ReadState::Read);
  EXPECT_EQ(dict.value("InBox").toList().size(), 1);
  ASSERT_TRUE(SmsListFiles::writeBox(path, InBox, {single("a", "1", 0), single("b", "2", 0)}));
  EXPECT_EQ(cache.read(path, &dict), ListFile::ReadState::Read);
  EXPECT_EQ(dict.value("InBox").toList().size(), 2);
}

TEST_F(ListFiles, TheLoaderFillsTheCallersLists) {
  const QString sim = listPath("SmsList_Sim.plist");
  Plist::writeFile(
      sim, QVariantMap{{"InBox", QVariantList{single("a", "+1", 0),
                                              longMessage({part("x", "+2", 0, 1), part("y", "+2", 0, 2)}, "+2", 0, 3)}},
                       {"BroadCastBox", QVariantList{single("b", "50", 0)}}});
  SmsServiceTransplant loader;
  loader.setNameLookup([](const QString &number) { return number == "+1" ? QStringLiteral("Ann") : number; });
  SmsServiceTransplant::BoxLists lists{{"InBox", {single("old", "0", 0)}}};
  EXPECT_TRUE(loader.loadSMSList(&lists, AT_TCARD, sim)); // another position: left alone
  EXPECT_EQ(lists.value("InBox").size(), 1);
  EXPECT_FALSE(loader.loadSMSList(nullptr, AT_SIM, sim));
  EXPECT_FALSE(loader.loadSMSList(&lists, AT_SIM, QString()));
  ASSERT_TRUE(loader.loadSMSList(&lists, AT_SIM, sim));
  ASSERT_EQ(lists.value("InBox").size(), 2);
  EXPECT_EQ(lists.value("InBox").first().toMap().value("concatSmsInfo").toMap().value("username"), "Ann");
  EXPECT_EQ(lists.value("InBox").last().toMap().value("index").toInt(), 1);
  ASSERT_TRUE(loader.loadSMSList(&lists, AT_PC, sim));
  EXPECT_FALSE(lists.value("InBox").first().toMap().contains("index")); // the PC boxes as stored
  EXPECT_TRUE(SmsServiceTransplant::getSMSListWithBox(BroadCastBox, sim).isEmpty());

  QVariantList in, out, drafts;
  loader.loadBoxInSIMListWithInBox(&in, &out, &drafts);
  EXPECT_EQ(in.size(), 2);
  EXPECT_EQ(loader.smsUsedSpaceInSIM(), 3);
}

} // namespace
