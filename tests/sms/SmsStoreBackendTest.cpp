#include "BusNames.h"
#include "PackageLink.h"
#include "QELMsgCenter.h"
#include "SmsFixture.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsServiceTransplant.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QFileInfo>
#include <QtEndian>

namespace {

// The real backend started from a scenario, writing into this test's ModemList folder.
class SmsStoreBackend : public SmsFixture {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  std::unique_ptr<PackageLink> link;
  std::unique_ptr<QELMsgCenter> center;
  std::unique_ptr<testsupport::BackendProcess> backend;
  QObject owner;
  QList<QList<quint32>> counts; // the 768/98 replies, as four words
  int listReady = 0;
  std::unique_ptr<SmsService> service;

  void TearDown() override {
    SmsService::setSharedSmsService(nullptr);
    service.reset();
    center.reset();
    backend.reset();
    link.reset();
    SmsFixture::TearDown();
  }

  // False without a session bus; a backend that does not start fails the test.
  bool launch(const QString &scenario) {
    link = std::make_unique<PackageLink>(ui, be);
    if (!link->open())
      return false;
    // The centre listens before the backend starts, so its first packages are not missed.
    center = std::make_unique<QELMsgCenter>(link.get());
    center->registerObserver(&owner, 768, 98, [this](const Notification &n) {
      UIMsg m;
      if (!QELMsgCenter::getMsgPackage(&m, n) || m.type != 1 || m.moduleId != 5 || m.dataLength < 16)
        return;
      QList<quint32> words;
      for (int i = 0; i < 4; ++i)
        words << qFromLittleEndian<quint32>(m.data.data() + 4 * i);
      counts << words;
    });
    center->registerObserver(&owner, 768, 95, [this](const Notification &n) {
      UIMsg m;
      if (QELMsgCenter::getMsgPackage(&m, n) && m.type == 1 && qFromLittleEndian<quint32>(m.data.data()) == 1)
        ++listReady;
    });
    qputenv("QEL_MODEMLIST_DIR", modemList.toLocal8Bit());
    backend = std::make_unique<testsupport::BackendProcess>(
        ui, be, testsupport::buildBundlePath() + "/Resources/Scenarios/" + scenario + ".plist");
    EXPECT_TRUE(backend->start());
    return true;
  }

  QDBusMessage call(const QString &method, const QVariantList &args) const {
    QDBusMessage m =
        QDBusMessage::createMethodCall(be, BusNames::kSimulatorPath, BusNames::kSimulatorInterface, method);
    m.setArguments(args);
    return m;
  }

  QVariantMap scenarioSms() const {
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + "/Resources/Scenarios/sms-lists.plist", &scenario);
    return scenario.value("SMS").toMap();
  }
};

TEST_F(SmsStoreBackend, TheScenarioListsAreWrittenAnnouncedAndReadBack) {
  if (!launch("sms-lists"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return listReady >= 1 && !counts.isEmpty(); }));
  // SIM: two singles, a long message with two of its three parts, one sent: 5 parts of 20.
  // Device: one single and a long message of three parts: 4 of 100.
  EXPECT_EQ(counts.first(), (QList<quint32>{20, 5, 100, 4}));
  ASSERT_TRUE(QFileInfo::exists(listPath("SmsList_Sim.plist")));
  ASSERT_TRUE(QFileInfo::exists(listPath("SmsList_ME.plist")));

  const QVariantMap sms = scenarioSms();
  service = std::make_unique<SmsService>();
  SmsService::setSharedSmsService(service.get());
  service->loadBoxInSIMList();
  const QVariantMap sim = sms.value("SIM").toMap();
  EXPECT_EQ(service->simInBoxList(), sim.value("InBox").toList());
  EXPECT_EQ(service->simOutBoxList(), sim.value("OutBox").toList());
  EXPECT_TRUE(service->simDraftBoxList().isEmpty());
  EXPECT_EQ(SmsRecord::smsNumberInBox(service->simInBoxList()), 4);
  EXPECT_EQ(service->getUnreadSMSInPos(AT_SIM, service->simInBoxList()).size(), 2);

  // The PC list was absent, so the scenario seeded it.
  const QVariantMap pc = sms.value("PC").toMap();
  const QVariantList pcDrafts = service->getAllPcListByBox(DraftBox);
  ASSERT_EQ(pcDrafts.size(), 2);
  EXPECT_EQ(pcDrafts.first().toMap().value("mobilephone"),
            pc.value("DraftBox").toList().first().toMap().value("mobilephone"));
  EXPECT_EQ(pcDrafts.first().toMap().value("username").toString(), "+15555550001;+15555550002;+15555550003");
  EXPECT_EQ(service->getAllPcListByBox(InBox).size(), 3);

  SmsServiceTransplant loader;
  SmsServiceTransplant::BoxLists me;
  ASSERT_TRUE(loader.loadSMSList(&me, AT_ME, listPath("SmsList_ME.plist")));
  EXPECT_EQ(SmsServiceTransplant::smsNumberInSIMBox(me.value("OutBox")), 3);

  // Control: the store as XML, a new capacity, a replaced store.
  const QVariantList xml = backend->control("SmsStore", {1});
  ASSERT_EQ(xml.size(), 1);
  QVariant store;
  ASSERT_TRUE(Plist::fromData(xml.first().toString().toUtf8(), &store));
  EXPECT_EQ(store.toMap().value("InBox").toList(), sim.value("InBox").toList());
  EXPECT_TRUE(backend->control("SmsStore", {2}).value(0).toString().isEmpty());
  EXPECT_EQ(backend->control("SetSmsCapacity", {1, 30}).value(0).toBool(), true);
  ASSERT_TRUE(testsupport::waitUntil([&] { return counts.size() >= 2 && counts.last().at(0) == 30; }));
  const QString replacement =
      QString::fromUtf8(Plist::toXml(QVariantMap{{"InBox", QVariantList{sim.value("OutBox").toList().first()}}}));
  EXPECT_EQ(backend->control("SetSmsStore", {1, replacement}).value(0).toBool(), true);
  ASSERT_TRUE(testsupport::waitUntil([&] { return counts.last() == QList<quint32>{30, 1, 100, 4}; }));
  service->loadBoxInSIMList();
  EXPECT_EQ(service->simInBoxList().size(), 1);
  EXPECT_TRUE(service->simOutBoxList().isEmpty());
  EXPECT_EQ(backend->control("SetSmsStore", {1, QString("not a plist")}).value(0).toBool(), false);

  // A full store takes no more messages: the message goes to the PC instead.
  EXPECT_EQ(backend->control("SetSmsCapacity", {4, 4}).value(0).toBool(), true);
  EXPECT_EQ(backend->control("DeliverSms", {QString("+1"), QString("no room"), 4}).value(0).toInt(), 1);
  EXPECT_EQ(backend->control("DeliverSms", {QString("+1"), QString("room"), 1}).value(0).toInt(), 1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return counts.last() == QList<quint32>{30, 2, 4, 4}; }));
  service->loadBoxinPCList();
  EXPECT_EQ(service->pcList(InBox).value(0).toMap().value("smsInfo").toMap().value("messagetext").toString(),
            QStringLiteral("no room"));
}

TEST_F(SmsStoreBackend, TheProgramAndTheBackendWritingOnePcListLoseNothing) {
  if (!launch("sms-lists"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return listReady >= 1; }));
  service = std::make_unique<SmsService>();
  const int seededIn = int(service->getAllPcListByBox(InBox).size());
  const int seededOut = int(service->getAllPcListByBox(OutBox).size());
  constexpr int kRounds = 40;
  QList<QDBusPendingCall> pending;
  // The backend answers the calls one after another, each after its write: the last answer
  // waits for all the others, longer than the bus's default time-out in the sanitizer build.
  for (int i = 0; i < kRounds; ++i)
    pending << QDBusConnection::sessionBus().asyncCall(
        call("DeliverSms", {QString("+1000"), QStringLiteral("arrival %1").arg(i), 0}), 120000);
  for (int i = 0; i < kRounds; ++i) {
    QVariantList out = service->getAllPcListByBox(OutBox);
    out.append(records::single(QStringLiteral("sent %1").arg(i), "+2000", 1));
    ASSERT_TRUE(service->writeMessagesToPC(out, OutBox));
  }
  for (QDBusPendingCall &p : pending) {
    p.waitForFinished();
    ASSERT_FALSE(p.isError()) << p.error().message().toStdString();
  }
  EXPECT_EQ(service->getAllPcListByBox(InBox).size(), seededIn + kRounds);
  EXPECT_EQ(service->getAllPcListByBox(OutBox).size(), seededOut + kRounds);
}

} // namespace

namespace {

// A read request names a store and an InBox index; the backend marks that record read and
// answers with the counts. Requests outside the stores or boxes change nothing.
TEST_F(SmsStoreBackend, AReadRequestMarksTheRecordReadInItsStore) {
  if (!launch("sms-lists"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return listReady >= 1; }));
  auto request = [&](quint32 position, quint32 index) {
    QByteArray data(8, '\0');
    qToLittleEndian(position, data.data());
    qToLittleEndian(index, data.data() + 4);
    center->sendMessageModuleID(5, 768, 103, 0, 0, data);
  };
  auto stateOf = [&](const char *file, int index) {
    QVariantMap dict;
    Plist::readDictionary(listPath(file), &dict);
    return dict.value("InBox").toList().value(index).toMap().value("smsInfo").toMap().value("stat").toInt();
  };
  const qsizetype before = counts.size();
  request(0, 0);
  ASSERT_TRUE(testsupport::waitUntil([&] { return counts.size() > before; }));
  EXPECT_EQ(stateOf("SmsList_PC.plist", 0), 1);
  request(1, 1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return stateOf("SmsList_Sim.plist", 1) == 1; }));
  const qsizetype after = counts.size();
  request(1, 99);
  request(7, 0);
  request(0, 0xFFFFFFFFu);
  request(1, 0); // a real one, so the refused ones above have been handled when it answers
  ASSERT_TRUE(testsupport::waitUntil([&] { return counts.size() > after; }));
  EXPECT_EQ(counts.size(), after + 1);
}

} // namespace

namespace {

// Deletes, copies, the automatic deletion and the memory card's requests: each answered with a
// result, the changed store written and counted; refused requests change nothing.
TEST_F(SmsStoreBackend, DeleteCopyAndUpkeepRequestsChangeTheStoresTheyName) {
  if (!launch("sms-lists"))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return listReady >= 1 && !counts.isEmpty(); }));
  QMap<int, QList<int>> results; // minor -> results in order
  for (int minor : {92, 93, 112, 114, 115})
    center->registerObserver(&owner, 768, minor, [&results, minor](const Notification &n) {
      UIMsg m;
      if (QELMsgCenter::getMsgPackage(&m, n) && m.type == 1)
        results[minor] << m.result;
    });
  auto send = [&](int minor, const QList<quint32> &words) {
    QByteArray data;
    for (quint32 w : words) {
      char b[4];
      qToLittleEndian(w, b);
      data.append(b, 4);
    }
    center->sendMessageModuleID(5, 768, minor, 0, 0, data);
  };
  auto box = [&](const char *file, const char *name) {
    QVariantMap dict;
    Plist::readDictionary(listPath(file), &dict);
    return dict.value(name).toList();
  };
  auto answered = [&](int minor, int n) {
    return testsupport::waitUntil([&] { return results.value(minor).size() >= n; });
  };
  const QVariantList simIn = box("SmsList_Sim.plist", "InBox");
  ASSERT_EQ(simIn.size(), 3);

  // SIM -> PC lands first in the PC's InBox; the SIM keeps its message.
  const int pcIn = int(box("SmsList_PC.plist", "InBox").size());
  send(93, {1, 0, 2, 0});
  ASSERT_TRUE(answered(93, 1));
  EXPECT_EQ(box("SmsList_PC.plist", "InBox").size(), pcIn + 1);
  EXPECT_EQ(box("SmsList_PC.plist", "InBox").first().toMap().value("smsInfo"), simIn.at(2).toMap().value("smsInfo"));
  // PC -> SIM within the capacity, then over it.
  send(93, {0, 0, 0, 1});
  ASSERT_TRUE(answered(93, 2));
  EXPECT_EQ(box("SmsList_Sim.plist", "InBox").size(), 4);
  backend->control("SetSmsCapacity", {1, 6});
  send(93, {0, 0, 0, 1});
  ASSERT_TRUE(answered(93, 3));
  EXPECT_EQ(results.value(93), (QList<int>{0, 0, 0xFF}));
  EXPECT_EQ(box("SmsList_Sim.plist", "InBox").size(), 4);

  // Deletes: a SIM record at its index, then refused ones (index, box, position, failure).
  send(92, {1, 0, 0});
  ASSERT_TRUE(answered(92, 1));
  EXPECT_EQ(box("SmsList_Sim.plist", "InBox").size(), 3);
  backend->control("FailSmsRequests", {92, 1});
  send(92, {1, 0, 0});
  send(92, {1, 0, 40});
  send(92, {1, 9, 0});
  send(92, {7, 0, 0});
  ASSERT_TRUE(answered(92, 5));
  EXPECT_EQ(results.value(92), (QList<int>{0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(box("SmsList_Sim.plist", "InBox").size(), 3);

  // The automatic deletion takes the oldest read InBox message.
  const QVariantList before = box("SmsList_Sim.plist", "InBox");
  send(112, {});
  ASSERT_TRUE(answered(112, 1));
  EXPECT_EQ(results.value(112).first(), 0);
  const QVariantList after = box("SmsList_Sim.plist", "InBox");
  ASSERT_EQ(after.size(), 2);
  for (const QVariant &r : after)
    EXPECT_TRUE(before.contains(r));

  // The card's requests answer at once; the store location is what the settings sent last.
  send(114, {});
  send(115, {});
  ASSERT_TRUE(answered(114, 1) && answered(115, 1));
  EXPECT_EQ(backend->control("StoreLocation").value(0).toInt(), -1);
  QByteArray location(4, '\0');
  qToLittleEndian<quint32>(4, location.data());
  center->sendMessageModuleID(3, 768, 97, 0, 0, location);
  ASSERT_TRUE(testsupport::waitUntil([&] { return backend->control("StoreLocation").value(0).toInt() == 4; }));
}

} // namespace
