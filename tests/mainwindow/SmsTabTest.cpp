// The SMS tab against the simulated modem's message stores: the lists after the list-ready
// reply, names from the phonebook, the counters, and reading a message in each store.
#include "MainWindowFixture.h"
#include "Plist.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsTableModel.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QtEndian>

namespace {

class SmsTab : public MainWindowFixture {
protected:
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }

  void SetUp() override {
    MainWindowFixture::SetUp();
    // One PC group: a contact written with the national 0 matches the sender's +1 number.
    // The group is wrapped in a QVariant: a braced list of one QVariantList would copy it.
    const QVariantList group = {QVariantMap{{"groupname", "Friends"}},
                                QVariantMap{{"username", "Alice"}, {"mobilephone", "+15554440001"}},
                                QVariantMap{{"username", "Bob"}, {"mobilephone", "05551110002"}}};
    const QVariantList book = {QVariant(group)};
    Plist::writeFile(modemList() + QStringLiteral("/phoneBook.plist"), book);
    qputenv("QEL_MODEMLIST_DIR", modemList().toLocal8Bit());
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    qunsetenv("QEL_MODEMLIST_DIR");
  }

  // The list-ready reply has been handled and the last reply of the start has come.
  bool listsLoaded() const {
    return testsupport::waitUntil([&] {
      return sms()->boxList(1, 0).size() == 3 && sms()->boxList(0, 0).size() >= 2 && sms()->receivePosition() == 1;
    });
  }
  SMSController *sms() const { return g_SMSController; }
  SmsTableModel *table() const { return sms()->tableModel(); }
  QString cell(int row, const char *column) const {
    return table()
        ->data(table()->index(row, int(SmsTableModel::columnIds().indexOf(QLatin1String(column)))), Qt::DisplayRole)
        .toString();
  }
  void choose(int positionRow, int boxRow) {
    sms()->page->saveAtPos->setCurrentRow(positionRow);
    sms()->selectSaveAt();
    sms()->page->msgBoxSelectAt->setCurrentRow(boxRow);
    sms()->msgBoxSelect();
  }
  void select(int row) { sms()->page->msgBoxList->selectRow(row); }
  // The read requests the backend has received, as (position, index).
  QList<QPair<quint32, quint32>> readRequests() const {
    QList<QPair<quint32, quint32>> out;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == 768 && m.minorId == 103 && m.dataLength == 8)
        out << qMakePair(qFromLittleEndian<quint32>(m.data.data()), qFromLittleEndian<quint32>(m.data.data() + 4));
    }
    return out;
  }
  int storedState(const QString &file, int index) const {
    QVariantMap dict;
    Plist::readDictionary(modemList() + QLatin1Char('/') + file, &dict);
    const QVariantMap record = dict.value(QStringLiteral("InBox")).toList().value(index).toMap();
    return record.value(QStringLiteral("smsInfo")).toMap().value(QStringLiteral("stat")).toInt();
  }
};

TEST_F(SmsTab, ListsShowEveryStoreWithNamesCountersAndPartCounts) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  EXPECT_EQ(sms()->simCapacity(), 20);
  EXPECT_EQ(sms()->simUsed(), 1 + 1 + 2 + 1); // the long message counts the parts it holds
  EXPECT_EQ(sms()->modemCapacity(), 100);
  EXPECT_EQ(sms()->receivePosition(), 1);

  choose(0, 0); // PC InBox
  ASSERT_EQ(table()->rowCount(), 3);
  EXPECT_EQ(cell(0, "username"), QStringLiteral("Alice"));
  EXPECT_EQ(cell(1, "username"), QStringLiteral("+15554440002")); // no contact: the number
  EXPECT_TRUE(cell(2, "stat").startsWith(QStringLiteral("2/3 "))) << cell(2, "stat").toStdString();
  EXPECT_EQ(sms()->page->inBoxMessageNum->text(), QStringLiteral("(3)"));
  EXPECT_EQ(sms()->page->outBoxMessageNum->text(), QStringLiteral("(1)"));
  EXPECT_EQ(sms()->page->draftBoxMessageNum->text(), QStringLiteral("(2)"));

  choose(1, 0); // SIM InBox
  ASSERT_EQ(table()->rowCount(), 3);
  EXPECT_EQ(cell(1, "username"), QStringLiteral("Bob"));
  EXPECT_EQ(table()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("From"));
  choose(1, 1);
  EXPECT_EQ(table()->rowCount(), 1);
  EXPECT_EQ(table()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("To"));
}

TEST_F(SmsTab, ReadingASimMessageAsksTheBackendWhichMarksItRead) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 12; }));
  choose(1, 0);
  ASSERT_FALSE(cell(1, "stat").isEmpty()); // unread
  select(1);
  EXPECT_EQ(sms()->page->messageText->toPlainText().isEmpty(), false);
  EXPECT_TRUE(cell(1, "stat").isEmpty());
  ASSERT_TRUE(testsupport::waitUntil([&] { return readRequests().contains(qMakePair(1u, 1u)); }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return storedState(QStringLiteral("SmsList_Sim.plist"), 1) == 1; }));
  // A read message is not asked for again.
  sms()->page->msgBoxList->clearSelection();
  select(1);
  EXPECT_EQ(readRequests().count(qMakePair(1u, 1u)), 1);
}

TEST_F(SmsTab, ReadingAPcMessageWritesOnlyThatRecord) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  choose(0, 0);
  ASSERT_EQ(storedState(QStringLiteral("SmsList_PC.plist"), 0), 0);
  select(0);
  EXPECT_EQ(storedState(QStringLiteral("SmsList_PC.plist"), 0), 1);
  EXPECT_TRUE(readRequests().isEmpty()); // the PC list is the program's own

  // The selected number goes to the phonebook's new-contact window and to the call side.
  sms()->savePhoneNumber(Map_Name_Item_of_IndexString(QStringLiteral("PC")));
  EXPECT_EQ(sms()->lastSaveNumberRequest(), qMakePair(QStringLiteral("+15554440001"), QStringLiteral("PC")));
  QString dialled;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("makeCallWithPhoneNumber"), nullptr,
      [&](const Notification &n) { dialled = n.userInfo.value("makeCallWithPhoneNumber").toString(); });
  sms()->call();
  EXPECT_EQ(dialled, QStringLiteral("+15554440001"));
}

// With the IMSI filter the tab shows this SIM's PC messages only; reading one leaves the other
// SIM's records in the file.
class SmsTabByImsi : public SmsTab {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("SMS"), QVariantMap{{QStringLiteral("displayPCSMSByIMSI"), true}}},
            {QStringLiteral("IMSI"), QStringLiteral("001010123456789")}};
  }
};

TEST_F(SmsTabByImsi, ReadingKeepsTheOtherSimsMessages) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  choose(0, 0);
  ASSERT_EQ(table()->rowCount(), 2);
  select(0);
  QVariantMap dict;
  Plist::readDictionary(modemList() + QStringLiteral("/SmsList_PC.plist"), &dict);
  const QVariantList inBox = dict.value(QStringLiteral("InBox")).toList();
  ASSERT_EQ(inBox.size(), 3);
  EXPECT_EQ(inBox.at(2).toMap().value(QStringLiteral("IMSI")).toString(), QStringLiteral("001019999999999"));
  EXPECT_EQ(storedState(QStringLiteral("SmsList_PC.plist"), 0), 1);
}

} // namespace

namespace {

UIMsg smsPackage(uint16_t minor, int type, const QList<quint32> &words) {
  UIMsg m;
  m.moduleId = 5;
  m.majorId = 768;
  m.minorId = minor;
  m.type = type;
  QByteArray data;
  for (quint32 w : words) {
    char b[4];
    qToLittleEndian(w, b);
    data.append(b, 4);
  }
  m.setPayload(data);
  return m;
}

TEST_F(SmsTab, CountsAreClampedAndRepliesOfTheWrongShapeIgnored) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  backend->control("Inject", {smsPackage(98, 1, {0xFFFFFFFFu, 70000u, 5u, 9u}).encode()});
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->modemUsed() == 9; }));
  EXPECT_EQ(sms()->simCapacity(), 65535);
  EXPECT_EQ(sms()->simUsed(), 65535);
  EXPECT_EQ(sms()->modemCapacity(), 5);
  EXPECT_TRUE(sms()->isFullWithPosition(4));
  // A receive position must be a type-1 reply of exactly four bytes.
  backend->control("Inject", {smsPackage(97, 0, {4u}).encode()});
  backend->control("Inject", {smsPackage(97, 1, {4u, 0u}).encode()});
  backend->control("SetReceivePosition", {0});
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->receivePosition() == 0; }));
}

TEST_F(SmsTab, DeleteRequestsOutsideTheBoxesChangeNothing) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  auto post = [&](const QVariantMap &info) {
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeleteSMSInPCList"), nullptr, info);
  };
  post({{"box", "Nowhere"}, {"index", 0}});
  post({{"box", "InBox"}, {"index", 3}});
  post({{"box", "InBox"}, {"index", -1}});
  post({{"box", "InBox"}});
  EXPECT_EQ(sms()->boxList(0, 0).size(), 3);
  post({{"box", "OutBox"}, {"index", 0}});
  EXPECT_EQ(sms()->boxList(0, 1).size(), 0);
  EXPECT_EQ(sms()->boxList(0, 0).size(), 3);
}

TEST_F(SmsTab, RemovingTheDeviceGoesBackToThePcInBox) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 12; }));
  choose(1, 1);
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return sms()->getNetCardStatus() == 1; }));
  EXPECT_EQ(sms()->getCurrentPosition(), 0);
  EXPECT_EQ(sms()->getCurrentBox(), 0);
  EXPECT_EQ(table()->rowCount(), 3);
  EXPECT_FALSE(sms()->page->newMessageBtn->isEnabled());
  EXPECT_TRUE(sms()->boxList(1, 0).isEmpty());
}

class SmsTabWithLinks : public SmsTab {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("SMS"), QVariantMap{{QStringLiteral("DisplayHyperlinkInSMS"), true}}}};
  }
};

TEST_F(SmsTabWithLinks, SearchNarrowsTheRowsAndTextsShowLinks) {
  if (!launch(QStringLiteral("sms-lists")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(listsLoaded());
  choose(0, 0);
  sms()->page->SearchSMS_item->setText(QStringLiteral("alice"));
  sms()->searchSMS();
  ASSERT_EQ(table()->rowCount(), 1);
  EXPECT_EQ(sms()->page->inBoxMessageNum->text(), QStringLiteral("(3)")); // counters ignore the search
  QVariantMap record = table()->rows().first().toMap();
  QVariantMap info = record.value("smsInfo").toMap();
  info.insert("messagetext", QStringLiteral("See www.example.com now"));
  record.insert("smsInfo", info);
  table()->setRows({record});
  select(0);
  EXPECT_TRUE(sms()->page->messageText->toHtml().contains(QStringLiteral("http://www.example.com")));
  QList<QUrl> opened;
  QELUIController::setUrlOpener([&](const QUrl &url) {
    opened << url;
    return true;
  });
  emit sms()->page->messageText->anchorClicked(QUrl(QStringLiteral("http://www.example.com")));
  QELUIController::setUrlOpener(nullptr);
  EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("http://www.example.com"))}));
  sms()->page->SearchSMS_item->clear();
  sms()->searchSMS();
  EXPECT_EQ(table()->rowCount(), 3);
}

} // namespace
