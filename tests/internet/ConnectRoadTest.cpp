// The connect road end to end: the real window and controllers against the simulated modem,
// over dial-up in both status layouts and over NDIS, with its failures and reconnects.
#include "../mainwindow/MainWindowFixture.h"
#include "DataSessionLayout.h"
#include "DialController.h"
#include "DialRecordController.h"
#include "SimulatedModem.h"
#include "WordGlobe.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
using namespace DataSessionLayout;

QVariantMap profile(const QString &name, const QString &apn) {
  return {{QStringLiteral("provider"), name},
          {QStringLiteral("apnName"), apn},
          {QStringLiteral("telNumber"), QStringLiteral("*99#")},
          {QStringLiteral("pppFlag"), 1}};
}

struct Session {
  QString state, apn, address;
  qulonglong sent = 0, received = 0;
};

class ConnectRoadFixture : public NetworkWindowFixture {
protected:
  QVariantMap extraSettings;
  QVariantMap data{{QStringLiteral("StepMs"), 30}};
  QVariantList profiles{profile("Internet", "internet"), profile("Work", "work.apn")};
  QList<Notification> failed;

  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {} // each test sets its settings, then starts
  void TearDown() override {
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }

  void internet(const QString &key, const QVariant &value) {
    QVariantMap m = extraSettings.value(QStringLiteral("Internet")).toMap();
    m.insert(key, value);
    extraSettings.insert(QStringLiteral("Internet"), m);
  }

  bool start() {
    NetworkWindowFixture::SetUp();
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")), profiles);
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Data"), data);
    const QString path = testsupport::writePlist(dir.filePath(QStringLiteral("scenario.plist")), scenario);
    DialController::setTimeScale(0.02);
    if (!launch(path))
      return false;
    NotificationCenter::defaultCenter().addObserver(&owner, QString::fromLatin1(kConnectFailed), nullptr,
                                                    [this](const Notification &n) { failed << n; });
    return testsupport::waitUntil([] { return g_DialController && g_DialController->isConnectBtnEnabled(); });
  }

  DialController *dial() const { return g_DialController; }
  QPushButton *button() const { return dial()->m_ConnectButton; }
  Session session() const {
    const QVariantList r = backend->control(QStringLiteral("DataSession"));
    Session s;
    if (r.size() == 5) {
      s.state = r[0].toString();
      s.apn = r[1].toString();
      s.sent = r[2].toULongLong();
      s.received = r[3].toULongLong();
      s.address = r[4].toString();
    }
    return s;
  }
  // How many packages of this pair the modem received.
  int received(int major, int minor) const {
    int n = 0;
    for (const QByteArray &b : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(b, &m) && m.majorId == major && m.minorId == minor)
        ++n;
    }
    return n;
  }
  bool waitStatus(int status, int ms = 5000) const {
    return testsupport::waitUntil([&] { return dial()->connectStatus() == status; }, ms);
  }
  const DialRecordList &records() const { return g_DialRecordController->store().records(); }
  void inject(int minor, const QByteArray &payload) {
    backend->control(QStringLiteral("Inject"),
                     {SimulatedModem::makePackage(kDialMajor, uint16_t(minor), 1, 0, payload, kModule).encode()});
  }
  // A connected session, checked as the tab shows it.
  void expectConnectedFigures() {
    ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectTime() >= 1 && dial()->receivedData() > 0; }));
    ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->receiveSpeed() > 0; }));
    EXPECT_EQ(session().state, "connected");
    EXPECT_NE(dial()->m_ConnectTime->text(), "00:00:00");
    EXPECT_TRUE(dial()->m_FluxForReceive->text().endsWith(" KB")) << dial()->m_FluxForReceive->text().toStdString();
    EXPECT_TRUE(dial()->m_SpeedForReceive->text().endsWith("KB/s"));
    EXPECT_TRUE(testsupport::waitUntil([&] { return dial()->m_IPAddress->text() == "10.64.1.23"; }));
    EXPECT_EQ(dial()->m_ConnectState->text(), Map_Name_Item_of_IndexString(QStringLiteral("Connected")));
    EXPECT_EQ(button()->text(), Map_Name_Item_of_IndexString(QStringLiteral("Disconnect")));
  }
  void expectOneConsistentRecord() {
    ASSERT_TRUE(testsupport::waitUntil([&] { return records().size() == 1; }));
    const DialRecord &r = records().first();
    EXPECT_EQ(r.connectName, "Internet");
    EXPECT_GE(r.connectTime, 1);
    EXPECT_EQ(r.disconnectMs - r.startMs, r.connectTime * 1000);
    EXPECT_GT(r.receiveKB, 0);
  }
};

class ConnectRoadDialUp : public ConnectRoadFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ConnectRoadDialUp, ConnectShowsTheFiguresAndDisconnectStoresOneRecord) {
  const bool newDial = GetParam();
  extraSettings.insert(QStringLiteral("NewDial"), newDial);
  data.insert(QStringLiteral("NewDial"), newDial);
  if (!start())
    GTEST_SKIP() << "no session bus";
  QList<int> statuses;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QString::fromLatin1(kConnectStatusDidChange), nullptr,
      [&statuses](const Notification &n) { statuses << n.userInfo.value(QStringLiteral("ConnectStatus")).toInt(); });
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(session().apn, "internet");
  expectConnectedFigures();
  EXPECT_TRUE(dial()->manualConnectSucceeded());

  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(session().state, "idle");
  expectOneConsistentRecord();
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 1);
  EXPECT_EQ(statuses, QList<int>({3, 0})); // the passing states are not broadcast
  EXPECT_TRUE(failed.isEmpty()) << "a disconnect by hand is no failure";
  EXPECT_EQ(dial()->m_ConnectTime->text(), "00:00:00");
  EXPECT_EQ(dial()->m_IPAddress->text(), "0.0.0.0");
  EXPECT_TRUE(button()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(ConnectRoadLayouts, ConnectRoadDialUp, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "New" : "Old"; });

TEST_F(ConnectRoadFixture, NdisConnectsByPushesAndAStoppedLinkKeepsItsTime) {
  extraSettings.insert(QStringLiteral("ConnectType"), 1);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_TRUE(dial()->isConnectTimeRunning());
  expectConnectedFigures();
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_FALSE(dial()->isConnectTimeRunning());
  expectOneConsistentRecord();
  EXPECT_EQ(received(kDialMajor, kNdisConnect), 1);
  EXPECT_EQ(received(kDialMajor, kNdisDisconnect), 1);
}

TEST_F(ConnectRoadFixture, NdisDropStoresItsRecordWithTheEndAtStartPlusTime) {
  extraSettings.insert(QStringLiteral("ConnectType"), 1);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectTime() >= 2; }));
  backend->control(QStringLiteral("DropData"));
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  expectOneConsistentRecord();
  EXPECT_GE(records().first().connectTime, 2);
}

TEST_F(ConnectRoadFixture, FailingApnWithTheCycleTriesTheNextProfile) {
  internet(QStringLiteral("apnCycle"), true);
  internet(QStringLiteral("apnCycleTotal"), 2);
  if (!start())
    GTEST_SKIP() << "no session bus";
  backend->control(QStringLiteral("SetConnectOutcome"), {QStringLiteral("internet"), QStringLiteral("fail")});
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(session().apn, "work.apn");
  EXPECT_EQ(received(kDialMajor, kDialConnect), 2);
  EXPECT_TRUE(failed.isEmpty());
}

TEST_F(ConnectRoadFixture, FailingApnWithoutTheCyclePostsConnectFailed) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  backend->control(QStringLiteral("SetConnectOutcome"), {QStringLiteral("internet"), QStringLiteral("fail")});
  button()->click();
  ASSERT_TRUE(testsupport::waitUntil([&] { return !failed.isEmpty(); }));
  EXPECT_EQ(dial()->connectStatus(), DialController::kDisconnected);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_TRUE(records().isEmpty()) << "a connection that never came up leaves no record";
  EXPECT_TRUE(button()->isEnabled());
}

TEST_F(ConnectRoadFixture, AttachRefusedEndsTheAttempt) {
  internet(QStringLiteral("PSDomainSettings"), true);
  internet(QStringLiteral("AttachPSInterval"), 0.1);
  if (!start())
    GTEST_SKIP() << "no session bus";
  // The network keeps only its circuit domain: the modem refuses the attach.
  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_ONLY")});
  dial()->DialOption(button());
  ASSERT_TRUE(testsupport::waitUntil([&] { return !failed.isEmpty(); }));
  EXPECT_EQ(received(kDialMajor, kSetNetworkMode), 1);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 0);
  EXPECT_EQ(dial()->connectStatus(), DialController::kDisconnected);
  EXPECT_FALSE(dial()->willConnectToInternet());
  EXPECT_EQ(dial()->m_ConnectState->text(), Map_Name_Item_of_IndexString(QStringLiteral("Idle")));
  EXPECT_TRUE(button()->isEnabled());
}

TEST_F(ConnectRoadFixture, AttachAcceptedDialsAndTheDisconnectDetaches) {
  internet(QStringLiteral("PSDomainSettings"), true);
  internet(QStringLiteral("AttachPSInterval"), 0.1);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(received(kDialMajor, kSetNetworkMode), 1);
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_TRUE(testsupport::waitUntil([&] { return received(kDialMajor, kSetNetworkMode) == 2; }));
}

TEST_F(ConnectRoadFixture, ShortStatusRecordChangesNothing) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  // As long as the old layout's state word, all zeros: read whole it would say "link down".
  inject(kDialStatus, QByteArray(20, '\0'));
  inject(kDialStatus, QByteArray(35, '\0'));
  QTest::qWait(300);
  EXPECT_EQ(dial()->connectStatus(), DialController::kConnected);
  EXPECT_TRUE(failed.isEmpty());
  EXPECT_EQ(session().state, "connected");
}

TEST_F(ConnectRoadFixture, OneConnectPerDialOptionWithTheSmallWindowButton) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  auto *simple = new QPushButton(parts.window);
  dial()->btnConnectSimple = simple;
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("dialOption"), nullptr);
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  QTest::qWait(200);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 0);
  EXPECT_EQ(simple->text(), Map_Name_Item_of_IndexString(QStringLiteral("Internet_btnConnectSimple_Disconnect")));
}

class ReconnectRoad : public ConnectRoadFixture {
protected:
  void allowReconnect(int maxTimes) {
    internet(QStringLiteral("EnableAutoReconnectNotDependOnAutoConnectLable"), true);
    internet(QStringLiteral("MaxReconnectTimes"), maxTimes);
    internet(QStringLiteral("AutoReconnectStartTimeAfterDisconnect"), 5.0);
    extraSettings.insert(QStringLiteral("AutoConnectDelayTime"), 5.0);
  }
};

TEST_F(ReconnectRoad, DropReconnectsAndFailuresStopAfterTheMaximum) {
  allowReconnect(2);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  backend->control(QStringLiteral("DropData"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(kDialMajor, kDialConnect) == 2; }));
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(dial()->reconnectTimes, 0) << "a connection that came up starts the count afresh";

  backend->control(QStringLiteral("SetConnectOutcome"), {QStringLiteral("internet"), QStringLiteral("fail")});
  backend->control(QStringLiteral("DropData"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(kDialMajor, kDialConnect) == 4; }));
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  QTest::qWait(600);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 4) << "no third attempt after two";
  EXPECT_EQ(dial()->reconnectTimes, 2);
  EXPECT_FALSE(dial()->isAutoReconnectPending());
}

TEST_F(ReconnectRoad, TwoReconnectCallsMakeOneAttempt) {
  allowReconnect(3);
  if (!start())
    GTEST_SKIP() << "no session bus";
  dial()->reconnect(true);
  dial()->reconnect(true);
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  QTest::qWait(400);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 0);
  EXPECT_FALSE(dial()->manualConnectSucceeded()) << "an automatic connect is no manual one";
}

TEST_F(ReconnectRoad, NdisDropReconnectsWhenAllowed) {
  allowReconnect(3);
  extraSettings.insert(QStringLiteral("ConnectType"), 1);
  internet(QStringLiteral("AutoReconnectForNdis"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  backend->control(QStringLiteral("DropData"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(kDialMajor, kNdisConnect) == 2; }));
  ASSERT_TRUE(waitStatus(DialController::kConnected));
}

TEST_F(ReconnectRoad, ManualDisconnectIsNotUndone) {
  allowReconnect(3);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  QTest::qWait(400);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_FALSE(dial()->isAutoReconnectPending());
  EXPECT_TRUE(dial()->hadDoManualDisconnect());
}

} // namespace
