// A message the backend files first in the PC InBox is taken into the lists and the table as one
// record: the lists equal a fresh load after any run of arrivals, the table gains a row without
// a reset (the selection and the scroll position stay), and every file changed in another way is
// loaded whole.
#include "ListFile.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalRecords.h"
#include "SmsFixture.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsServiceTransplant.h"
#include "SmsTableModel.h"

#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

namespace {

QVariantMap arrivalRecord(int n) {
  return records::single(QStringLiteral("arrival %1").arg(n), QStringLiteral("+1777%1").arg(n), 0);
}

class PcArrival : public SmsFixture {
protected:
  std::unique_ptr<SmsService> service;

  void TearDown() override {
    SmsService::setSharedSmsService(nullptr);
    service.reset();
    SmsFixture::TearDown();
  }

  QString pcPath() const { return listPath("SmsList_PC.plist"); }

  // An InBox of `count` messages in both forms with a long one among them, and other boxes.
  void writeList(int count) {
    QVariantList inBox;
    for (int i = 0; i < count; ++i) {
      if (i % 10 == 3)
        inBox << records::longMessage(
            {records::part("first half ", "+1555", 1, 1), records::part("second", "+1555", 1, 2)}, "+1555", 1, 2, i);
      else if (i % 10 == 7)
        inBox << records::flatDraft(QStringLiteral("flat %1").arg(i), QStringLiteral("+1666%1;").arg(i), "1");
      else
        inBox << records::single(QStringLiteral("message %1").arg(i), QStringLiteral("+1555%1").arg(i), i % 2);
    }
    ASSERT_TRUE(
        Plist::writeFile(pcPath(), QVariantMap{{"InBox", inBox},
                                               {"OutBox", QVariantList{records::single("sent", "+1999", 1)}},
                                               {"DraftBox", QVariantList{records::flatDraft("draft", "+1888;")}}}));
  }

  void startService() {
    service = std::make_unique<SmsService>();
    SmsService::setSharedSmsService(service.get());
  }

  // The held lists and counts equal those of a service that reads the file afresh.
  void expectSameAsFreshLoad(const char *when) {
    SmsService fresh;
    for (int box : {InBox, OutBox, DraftBox, DeletedBox, ImportantBox, BroadCastBox}) {
      EXPECT_EQ(service->pcList(box), fresh.pcList(box)) << when << " box " << box;
      EXPECT_EQ(service->pcUnreadCount(box), fresh.pcUnreadCount(box)) << when << " box " << box;
      EXPECT_EQ(service->pcStoredParts(box), fresh.pcStoredParts(box)) << when << " box " << box;
    }
  }
};

TEST_F(PcArrival, RecordsPutInFrontAreTakenOneByOneAndEqualAFreshLoad) {
  writeList(50);
  startService();
  const QVariantMap flat = records::flatDraft("a flat arrival", "+1444;", "0");
  const QVariantMap longOne =
      records::longMessage({records::part("one ", "+1333", 0, 1), records::part("two ", "+1333", 0, 2),
                            records::part("three", "+1333", 0, 3)},
                           "+1333", 0, 3, 9);
  const QVariantList arrivals{arrivalRecord(1), flat, longOne, arrivalRecord(2), arrivalRecord(3)};
  for (const QVariant &record : arrivals) {
    ASSERT_TRUE(ListFile::prepend(pcPath(), "InBox", record));
    EXPECT_EQ(service->takePcInBoxArrival(), 1);
    // Nothing changed since: the later parts of a long message filed whole.
    EXPECT_EQ(service->takePcInBoxArrival(), 0);
    expectSameAsFreshLoad("after an arrival");
  }
  EXPECT_EQ(service->pcList(InBox).size(), 55);
  // A reload of the unchanged file keeps the lists as they are.
  service->loadBoxinPCList();
  expectSameAsFreshLoad("after a reload");
}

TEST_F(PcArrival, AFileChangedInAnyOtherWayIsLoadedWhole) {
  struct Case {
    const char *name;
    std::function<void(const QString &path)> change;
  };
  const QVariantMap partAdded = records::longMessage(
      {records::part("first half ", "+1555", 1, 1), records::part("second", "+1555", 1, 2)}, "+1555", 1, 2, 3);
  const Case cases[] = {
      {"a record changed besides the arrival",
       [](const QString &path) {
         ListFile::update(path, [](QVariantMap &dict) {
           QVariantList in = dict.value("InBox").toList();
           in[4] = records::single("changed", "+1000", 1);
           dict.insert("InBox", in);
           return true;
         });
         ListFile::prepend(path, "InBox", arrivalRecord(1));
       }},
      {"a part completing a long message listed",
       [&](const QString &path) {
         ListFile::update(path, [&](QVariantMap &dict) {
           QVariantList in = dict.value("InBox").toList();
           QVariantMap record = in.at(3).toMap();
           QVariantList parts = record.value("smsInfo").toList();
           parts << records::part("third", "+1555", 0, 3);
           record.insert("smsInfo", parts);
           in[3] = record;
           dict.insert("InBox", in);
           return true;
         });
       }},
      {"the arrival put into another box",
       [](const QString &path) { ListFile::prepend(path, "OutBox", arrivalRecord(1)); }},
      {"two arrivals at once",
       [](const QString &path) {
         ListFile::prepend(path, "InBox", arrivalRecord(1));
         ListFile::prepend(path, "InBox", arrivalRecord(2));
       }},
      {"the file rewritten by another writer",
       [](const QString &path) {
         QVariantMap dict;
         Plist::readDictionary(path, &dict);
         QVariantList in = dict.value("InBox").toList();
         in.prepend(arrivalRecord(1));
         dict.insert("InBox", in);
         Plist::writeFile(path, dict);
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    writeList(20);
    startService();
    c.change(pcPath());
    EXPECT_EQ(service->takePcInBoxArrival(), -1);
    service->loadBoxinPCList();
    expectSameAsFreshLoad(c.name);
  }
  // The first message of an empty InBox: a full load, after which arrivals are taken again.
  ASSERT_TRUE(Plist::writeFile(pcPath(), QVariantMap{{"InBox", QVariantList()}}));
  startService();
  ListFile::prepend(pcPath(), "InBox", arrivalRecord(1));
  EXPECT_EQ(service->takePcInBoxArrival(), -1);
  service->loadBoxinPCList();
  ListFile::prepend(pcPath(), "InBox", arrivalRecord(2));
  EXPECT_EQ(service->takePcInBoxArrival(), 1);
  expectSameAsFreshLoad("after the first messages");
}

class PcArrivalTab : public PcArrival {
protected:
  SMSPage page;
  std::unique_ptr<SMSController> sms;

  void TearDown() override {
    sms.reset();
    PcArrival::TearDown();
  }

  void startTab() {
    startService();
    sms = std::make_unique<SMSController>();
    sms->page = &page;
    sms->awakeFromNib();
    page.resize(900, 500);
    page.show();
  }

  // The modem filed the message, then tells the program.
  void arrive(const QVariantMap &record, const QString &text) {
    ASSERT_TRUE(ListFile::prepend(pcPath(), "InBox", record));
    SmsArrivalRecord r;
    r.position = AT_PC;
    r.number = QStringLiteral("+1777");
    r.stamp = QStringLiteral("26121112000032");
    r.text = text;
    sms->receiveNewSms(r);
  }

  QList<int> selectedRows() const {
    QList<int> rows;
    for (const QModelIndex &index : page.msgBoxList->selectionModel()->selectedRows())
      rows << index.row();
    return rows;
  }
};

TEST_F(PcArrivalTab, AnArrivalWhileAMessageIsSelectedKeepsTheSelectionAndTheScrollPosition) {
  writeList(300);
  startTab();
  SmsTableModel *model = sms->tableModel();
  ASSERT_EQ(model->rowCount(), 300);
  int resets = 0, inserted = 0;
  QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
  // A message already read: choosing it writes nothing.
  page.msgBoxList->selectRow(41);
  ASSERT_EQ(SmsRecord::text(sms->currentSMSRecord()), QStringLiteral("message 41"));
  QScrollBar *bar = page.msgBoxList->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 20);
  bar->setValue(20);

  for (int n = 1; n <= 3; ++n)
    arrive(arrivalRecord(n), QStringLiteral("arrival %1").arg(n));

  EXPECT_EQ(resets, 0);
  EXPECT_EQ(inserted, 3);
  ASSERT_EQ(model->rowCount(), 303);
  EXPECT_EQ(SmsRecord::text(model->rows().at(0).toMap()), QStringLiteral("arrival 3"));
  EXPECT_EQ(selectedRows(), QList<int>{44});
  EXPECT_EQ(SmsRecord::text(sms->currentSMSRecord()), QStringLiteral("message 41"));
  EXPECT_EQ(sms->currentSMSRecord().value("index").toInt(), 44);
  EXPECT_EQ(bar->value(), 20);
  // What the table and the controller hold is what a fresh load gives.
  expectSameAsFreshLoad("after three arrivals");
  EXPECT_EQ(model->rows(), service->pcList(InBox));
  EXPECT_EQ(sms->boxList(AT_PC, InBox), service->pcList(InBox));

  // A long message filed whole, told part by part: one row, the selection still where it was.
  const QVariantMap longOne = records::longMessage(
      {records::part("one ", "+1333", 0, 1), records::part("two", "+1333", 0, 2)}, "+1333", 0, 2, 9);
  ASSERT_TRUE(ListFile::prepend(pcPath(), "InBox", longOne));
  for (int seq = 1; seq <= 2; ++seq) {
    SmsArrivalRecord r;
    r.position = AT_PC;
    r.number = QStringLiteral("+1333");
    r.stamp = QStringLiteral("26121112000032");
    r.text = seq == 1 ? QStringLiteral("one ") : QStringLiteral("two");
    r.concat = true;
    r.ref8 = 9;
    r.total = 2;
    r.sequence = quint8(seq);
    sms->receiveNewSms(r);
  }
  EXPECT_EQ(resets, 0);
  EXPECT_EQ(model->rowCount(), 304);
  EXPECT_EQ(selectedRows(), QList<int>{45});
  EXPECT_EQ(SmsRecord::text(sms->currentSMSRecord()), QStringLiteral("message 41"));
  expectSameAsFreshLoad("after a long message");
  EXPECT_EQ(model->rows(), service->pcList(InBox));
}

TEST_F(PcArrivalTab, ASortedTableOrAnotherBoxShownIsFilledAgain) {
  writeList(30);
  startTab();
  SmsTableModel *model = sms->tableModel();
  sms->didClickTableColumn(QStringLiteral("mobilephone"));
  int resets = 0;
  QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  arrive(arrivalRecord(1), QStringLiteral("arrival 1"));
  EXPECT_GE(resets, 1);
  EXPECT_EQ(model->rowCount(), 31);
  expectSameAsFreshLoad("sorted");
  EXPECT_EQ(model->rows(), service->pcList(InBox));
}

} // namespace
