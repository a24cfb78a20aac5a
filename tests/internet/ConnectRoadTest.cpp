// The connect road end to end: the real window and controllers against the simulated modem,
// over dial-up in both status layouts and over NDIS, with its failures and reconnects.
#include "../mainwindow/MainWindowFixture.h"
#include "DataSessionLayout.h"
#include "DialController.h"
#include "DialRecordController.h"
#include "DialRecordFile.h"
#include "MainController.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "RecordViews.h"
#include "SimulatedModem.h"
#include "StatisticsView.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QComboBox>
#include <QFile>
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
  QVariantMap network; // merged over the scenario's network
  QVariantList profiles{profile("Internet", "internet"), profile("Work", "work.apn")};
  QList<Notification> failed;

  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {} // each test sets its settings, then starts
  void TearDown() override {
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }

  void internet(const QString &key, const QVariant &value) { module(QStringLiteral("Internet"), key, value); }
  void module(const QString &name, const QString &key, const QVariant &value) {
    QVariantMap m = extraSettings.value(name).toMap();
    m.insert(key, value);
    extraSettings.insert(name, m);
  }
  // Answers every question with `responder` from now on; the questions asked are in `answers`.
  void answerWith(ModalQuestions::Responder responder) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>(std::move(responder));
  }
  QStringList askedKinds() const {
    QStringList kinds;
    for (const ModalQuestion &q : answers->asked())
      kinds << q.kind;
    return kinds;
  }
  QStringList askedMessages() const {
    QStringList messages;
    for (const ModalQuestion &q : answers->asked())
      messages << q.message;
    return messages;
  }
  static QString w(const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); }

  bool start() {
    NetworkWindowFixture::SetUp();
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")), profiles);
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Data"), data);
    QVariantMap net = scenario.value(QStringLiteral("Network")).toMap();
    for (auto it = network.cbegin(); it != network.cend(); ++it)
      net.insert(it.key(), it.value());
    scenario.insert(QStringLiteral("Network"), net);
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

// ---- the question answered, the quit completed, the graph drawn, the failure said ----

TEST_F(ConnectRoadFixture, DisconnectQuestionAnsweredAfterTheLinkDroppedConnectsNothing) {
  internet(QStringLiteral("PopUpDisconnectWaring"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  // While the question is up the network takes the link down; then the user says OK.
  answerWith([this](const ModalQuestion &q) {
    if (q.message == w("Do you want to terminate current connection?")) {
      backend->control(QStringLiteral("DropData"));
      EXPECT_TRUE(waitStatus(DialController::kDisconnected));
    }
    return 1;
  });
  button()->click();
  ASSERT_TRUE(askedMessages().contains(w("Do you want to terminate current connection?")));
  QTest::qWait(500);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1) << "the OK to a disconnect never connects";
  EXPECT_EQ(dial()->connectStatus(), DialController::kDisconnected);
  EXPECT_EQ(session().state, "idle");
  // The question still works while the link is up.
  answerWith([](const ModalQuestion &) { return 1; });
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 1);
}

class QuitRoad : public ConnectRoadFixture, public ::testing::WithParamInterface<int> {};

TEST_P(QuitRoad, QuitWhileConnectedDisconnectsSavesTheRecordAndQuits) {
  extraSettings.insert(QStringLiteral("ConnectType"), GetParam());
  module(QStringLiteral("MAINFORM"), QStringLiteral("CloseAppWihoutQueryConnection"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  int willClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppWillClose"), nullptr,
                                                  [&willClose](const Notification &) { ++willClose; });
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectTime() >= 1; }));
  const QString path = g_DialRecordController->store().path();
  ASSERT_FALSE(path.isEmpty());

  EXPECT_FALSE(parts.mainController->windowShouldClose(nullptr)) << "the window waits for the link";
  EXPECT_TRUE(askedMessages().contains(
      w("It has an active connection.Are you sure you hold fast to finish the applications?")));
  const int disconnect = GetParam() == DialController::kDialUp ? kDialDisconnect : kNdisDisconnect;
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(kDialMajor, disconnect) == 1; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->isQuitRequested() && willClose >= 2; }))
      << "the quit goes on once the link is down";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  DialRecordList stored;
  ASSERT_TRUE(DialRecordFile::parse(file.readAll(), &stored));
  ASSERT_EQ(stored.size(), 1);
  EXPECT_GE(stored.first().connectTime, 1);
}

INSTANTIATE_TEST_SUITE_P(BothRoads, QuitRoad, ::testing::Values(0, 1),
                         [](const auto &info) { return info.param ? "Ndis" : "DialUp"; });

TEST_F(ConnectRoadFixture, QuitWithoutTheSwitchLeavesTheConnectionAlone) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_FALSE(parts.mainController->windowShouldClose(nullptr));
  QTest::qWait(300);
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 0);
  EXPECT_FALSE(dial()->isQuitRequested());
  EXPECT_EQ(dial()->connectStatus(), DialController::kConnected);
}

TEST_F(ConnectRoadFixture, BothSpeedGraphsDrawTheSameSamplesOnAScaleThatFitsThem) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  auto *statisticsPage = parts.window->findChild<StatisticsTab *>();
  ASSERT_TRUE(statisticsPage);
  statisticsView *statistics = statisticsPage->speedView;
  statisticsView *internetGraph = dial()->speedView;
  ASSERT_TRUE(statistics && internetGraph);
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  ASSERT_TRUE(testsupport::waitUntil([&] { return statistics->pointCount() >= 3; }, 10000));
  EXPECT_EQ(statistics->pointCount(), internetGraph->pointCount());
  for (int slot = 0; slot < statistics->pointCount(); ++slot)
    EXPECT_EQ(statistics->downSpeedSample(slot), internetGraph->downSpeedSample(slot)) << slot;
  // The modem's 2000 and 8000 bytes/s: a few KB/s, drawn on a scale just above them.
  EXPECT_GT(statistics->downSpeedSample(0), 4);
  EXPECT_LE(statistics->rulerValue(), 12);
  EXPECT_GT(statistics->maxDownSpeedValue() / statistics->rulerValue(), 0.5f);
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  EXPECT_EQ(statistics->pointCount(), 0);
  EXPECT_EQ(internetGraph->pointCount(), 0);
}

TEST_F(ConnectRoadFixture, NdisOpensTheStartPageOncePerConnect) {
  extraSettings.insert(QStringLiteral("ConnectType"), 1);
  extraSettings.insert(QStringLiteral("SettingDefaultItem"), QVariantList{QStringLiteral("Browser")});
  extraSettings.insert(QStringLiteral("BrowserID"), 0);
  QStringList opened;
  QELUIController::setUrlOpener([&opened](const QUrl &u) {
    opened << u.toString();
    return true;
  });
  struct Reset {
    ~Reset() { QELUIController::setUrlOpener({}); }
  } reset;
  // The browser list lives beside the settings.
  QDir().mkpath(dir.filePath(QStringLiteral("ModemList")));
  Plist::writeFile(
      dir.filePath(QStringLiteral("ModemList/browserList.plist")),
      QVariantList{QVariantMap{{QStringLiteral("browserdiscription"), QStringLiteral("https://start.example")},
                               {QStringLiteral("DonotOpenTheBrowser"), QStringLiteral("0")}}});
  if (!start())
    GTEST_SKIP() << "no session bus";
  for (int connect = 1; connect <= 2; ++connect) {
    button()->click();
    ASSERT_TRUE(waitStatus(DialController::kConnected));
    QTest::qWait(300);
    EXPECT_EQ(opened.count(QStringLiteral("https://start.example")), connect) << opened.join(' ').toStdString();
    button()->click();
    ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  }
}

TEST_F(ConnectRoadFixture, RoamingWarningAfterConnectingOutsideTheWhiteList) {
  internet(QStringLiteral("alertWhenRoamConnectedAndIsBlackNet"), true);
  internet(QStringLiteral("ForbidRoamingAlert"), true); // no question before the connect
  internet(QStringLiteral("InternetWhiteList"), QVariantMap{{QStringLiteral("Partner"), QStringLiteral("00202")}});
  network.insert(QStringLiteral("Roaming"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([] { return Neighbourhood::deviceStatus()->networkRoamStatus() == 0; }));
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  ASSERT_TRUE(testsupport::waitUntil([&] { return askedMessages().contains(w("connectedNotInWhiteList")); }));
  EXPECT_EQ(askedMessages().count(w("connectedNotInWhiteList")), 1);
  EXPECT_EQ(dial()->connectStatus(), DialController::kConnected) << "a warning, not a disconnect";
}

TEST_F(ConnectRoadFixture, NoRoamingWarningAtHome) {
  internet(QStringLiteral("alertWhenRoamConnectedAndIsBlackNet"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  QTest::qWait(200);
  EXPECT_FALSE(askedMessages().contains(w("connectedNotInWhiteList")));
}

// The account sheet's OK goes on with the checks after it: the operator's APN prompt still asks.
TEST_F(ConnectRoadFixture, AccountSheetOkResumesTheRemainingChecks) {
  internet(QStringLiteral("CheckAPNAccount"), true);
  internet(QStringLiteral("ChangePosForProfile"), true);
  QVariantMap asking = profile("Internet", "internet");
  asking.insert(QStringLiteral("askUsernameFlag"), 1);
  profiles = {asking};
  if (!start())
    GTEST_SKIP() << "no session bus";
  struct Case {
    int promptAnswer;
    int connects;
  };
  for (const Case c : {Case{0, 0}, Case{1, 1}}) {
    answerWith([c](const ModalQuestion &q) { return q.kind == QLatin1String("promptOfAPNWin") ? c.promptAnswer : 1; });
    button()->click();
    QTest::qWait(400);
    const QStringList kinds = askedKinds();
    ASSERT_GE(kinds.size(), 2);
    EXPECT_EQ(kinds.first(), "checkUernameWin");
    EXPECT_EQ(kinds.at(1), "promptOfAPNWin") << "the prompt follows the account sheet";
    EXPECT_EQ(dial()->promptOfAPNForZIZ_->text(), w("Detail Service Mobile GPRS-Internet"));
    EXPECT_EQ(received(kDialMajor, kDialConnect), c.connects);
  }
  ASSERT_TRUE(waitStatus(DialController::kConnected));
}

TEST_F(ConnectRoadFixture, ConnectWarningSheetAsksOnceAndItsCancelStops) {
  module(QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay"), true);
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(dial()->wndConnectWarning_);
  answerWith([](const ModalQuestion &) { return 0; });
  button()->click();
  QTest::qWait(300);
  EXPECT_EQ(askedKinds(), QStringList{QStringLiteral("connectWarningWin")});
  EXPECT_EQ(received(kDialMajor, kDialConnect), 0);
  answerWith([](const ModalQuestion &) { return 1; });
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_EQ(askedKinds(), QStringList{QStringLiteral("connectWarningWin")});
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected));
  answerWith([](const ModalQuestion &) { return 1; });
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnected));
  EXPECT_TRUE(askedKinds().isEmpty()) << "asked once until the device goes";
}

TEST_F(ConnectRoadFixture, FailedManualConnectSaysWhyOnBothRoads) {
  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    extraSettings.insert(QStringLiteral("ConnectType"), type);
    if (!start())
      GTEST_SKIP() << "no session bus";
    backend->control(QStringLiteral("SetConnectOutcome"), {QStringLiteral("internet"), QStringLiteral("fail")});
    button()->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !failed.isEmpty() || dial()->connectFailureText().size(); }));
    ASSERT_TRUE(waitStatus(DialController::kDisconnected));
    QTest::qWait(100);
    EXPECT_EQ(dial()->m_ConnectState->text(), w("Dial_ConnectFailed"));
    EXPECT_TRUE(button()->isEnabled());
    NetworkWindowFixture::TearDown();
    parts = {};
    failed.clear();
    answers.reset();
  }
}

TEST_F(ConnectRoadFixture, ConnectUnderWayIsCancelledFromTheButton) {
  data.insert(QStringLiteral("StepMs"), 400); // a slow network: time to change one's mind
  if (!start())
    GTEST_SKIP() << "no session bus";
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kConnecting));
  ASSERT_TRUE(testsupport::waitUntil([&] { return button()->isEnabled(); }, 1000));
  EXPECT_EQ(button()->text(), w("Internet_btnConnect_Cancel"));
  button()->click();
  ASSERT_TRUE(waitStatus(DialController::kDisconnected, 8000));
  EXPECT_EQ(received(kDialMajor, kDialDisconnect), 1);
  EXPECT_EQ(received(kDialMajor, kDialConnect), 1);
  EXPECT_TRUE(failed.isEmpty()) << "a cancel is no failure";
  EXPECT_TRUE(records().isEmpty());
  EXPECT_EQ(session().state, "idle");
  EXPECT_NE(dial()->m_ConnectState->text(), w("Dial_ConnectFailed"));
  EXPECT_TRUE(button()->isEnabled());
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
  // The state field says the attempts were given up, and how many there were.
  EXPECT_EQ(dial()->m_ConnectState->text(), fillWordedFormat(w("Dial_ConnectFailedGaveUp"), {2}));
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
