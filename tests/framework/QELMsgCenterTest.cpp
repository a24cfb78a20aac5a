#include "QELMsgCenter.h"
#include "Bundle.h"
#include "BusNames.h"
#include "ModalQuestions.h"
#include "PackageDispatchGuard.h"
#include "PackageLink.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QtEndian>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray package(uint16_t major, uint16_t minor, const QByteArray &data = {}) {
  return SimulatedModem::makePackage(major, minor, 0, 0, data).encode();
}

TEST(QELMsgCenter, NotificationNameIsPrefixAndDecimalID) {
  EXPECT_EQ(QELMsgCenter::notificationName(258, 68), "qUIMsg16908356");
  EXPECT_EQ(QELMsgCenter::makeIDByMajorID(258, 72), 16908360);
}

TEST(QELMsgCenter, DeliversAPackageOnlyToObserversOfItsPair) {
  QELMsgCenter center(nullptr);
  QObject owner;
  int hits72 = 0, hits68 = 0;
  center.registerObserver(&owner, 258, 72, [&](const Notification &n) {
    UIMsg m;
    ASSERT_TRUE(QELMsgCenter::getMsgPackage(&m, n));
    EXPECT_EQ(m.payload(), QByteArray("ndis"));
    ++hits72;
  });
  center.registerObserver(&owner, 258, 72, [&](const Notification &) { ++hits72; });
  center.registerObserver(&owner, 258, 68, [&](const Notification &) { ++hits68; });
  center.putReceiveMsgInQueue(package(258, 72, "ndis"));
  center.readingReceiveMsg();
  EXPECT_EQ(hits72, 2);
  EXPECT_EQ(hits68, 0);
}

TEST(QELMsgCenter, QueueKeeps250InOrderOnePerTickAndDropsTheRest) {
  QELMsgCenter center(nullptr);
  QObject owner;
  QList<int> order;
  center.registerObserver(&owner, 7, 1, [&](const Notification &n) {
    UIMsg m;
    QELMsgCenter::getMsgPackage(&m, n);
    order << m.type;
  });
  for (int i = 0; i < 251; ++i) {
    UIMsg m = SimulatedModem::makePackage(7, 1, i);
    EXPECT_EQ(center.putReceiveMsgInQueue(m.encode()), i < 250 ? 0 : -1);
  }
  EXPECT_EQ(center.droppedCount(), 1);
  center.readingReceiveMsg();
  EXPECT_EQ(order.size(), 1) << "one package per tick";
  for (int i = 1; i < 260; ++i)
    center.readingReceiveMsg();
  ASSERT_EQ(order.size(), 250);
  for (int i = 0; i < 250; ++i)
    EXPECT_EQ(order[i], i);
}

TEST(QELMsgCenter, TimerDrainsTheQueueByItself) {
  QELMsgCenter center(nullptr);
  QObject owner;
  int hits = 0;
  center.registerObserver(&owner, 7, 2, [&](const Notification &) { ++hits; });
  for (int i = 0; i < 5; ++i)
    center.putReceiveMsgInQueue(package(7, 2));
  EXPECT_TRUE(testsupport::waitUntil([&] { return hits == 5; }, 2000));
}

// A package that finds the queue empty is handed out on the next turn of the event loop, not a
// tick later; packages that queue behind it keep their order and stay at least a tick apart.
TEST(QELMsgCenter, AfterAQuietSpellAPackageGoesOutAtOnceAndDispatchesStayATickApart) {
  QELMsgCenter center(nullptr);
  QObject owner;
  QList<int> order;
  QList<qint64> atNs;
  QElapsedTimer clock;
  clock.start();
  center.registerObserver(&owner, 7, 8, [&](const Notification &n) {
    UIMsg m;
    QELMsgCenter::getMsgPackage(&m, n);
    order << m.type;
    atNs << clock.nsecsElapsed();
  });
  center.putReceiveMsgInQueue(SimulatedModem::makePackage(7, 8, 0).encode());
  EXPECT_TRUE(order.isEmpty()) << "never inside the arrival itself";
  QCoreApplication::processEvents();
  ASSERT_EQ(order.size(), 1) << "one turn of the event loop is enough";

  for (int i = 1; i <= 4; ++i)
    center.putReceiveMsgInQueue(SimulatedModem::makePackage(7, 8, i).encode());
  ASSERT_TRUE(testsupport::waitUntil([&] { return order.size() == 5; }, 3000));
  EXPECT_EQ(order, QList<int>({0, 1, 2, 3, 4}));
  // At most one dispatch a tick, also for the first of them, which came right after the first.
  for (int i = 1; i < atNs.size(); ++i)
    EXPECT_GE(atNs[i] - atNs[i - 1], qint64(QELMsgCenter::kTickMs) * 1000000) << "package " << i;
}

TEST(QELMsgCenter, HandlerRunningAModalLoopGetsNoNestedPackage) {
  QELMsgCenter center(nullptr);
  QObject owner;
  int depth = 0, maxDepth = 0, hits = 0;
  center.registerObserver(&owner, 7, 3, [&](const Notification &) {
    ++hits;
    maxDepth = std::max(maxDepth, ++depth);
    if (hits == 1) {
      center.readingReceiveMsg(); // a tick arriving inside the handler is refused
      QEventLoop loop;            // and so is anything a modal dialog's loop brings
      QTimer::singleShot(60, &loop, &QEventLoop::quit);
      loop.exec();
      EXPECT_EQ(hits, 1);
    }
    --depth;
  });
  center.putReceiveMsgInQueue(package(7, 3));
  center.putReceiveMsgInQueue(package(7, 3));
  ASSERT_TRUE(testsupport::waitUntil([&] { return hits == 2; }, 3000));
  EXPECT_EQ(maxDepth, 1);
}

TEST(QELMsgCenter, WithoutTheReceiveLockHandlersMayNest) {
  QELMsgCenter center(nullptr);
  center.setLockMsgWhenReceiveMsg(false);
  QObject owner;
  int depth = 0, maxDepth = 0, hits = 0;
  center.registerObserver(&owner, 7, 3, [&](const Notification &) {
    ++hits;
    maxDepth = std::max(maxDepth, ++depth);
    if (hits == 1)
      center.readingReceiveMsg(); // a tick arriving inside the handler
    --depth;
  });
  center.putReceiveMsgInQueue(package(7, 3));
  center.putReceiveMsgInQueue(package(7, 3));
  ASSERT_TRUE(testsupport::waitUntil([&] { return hits == 2; }, 3000));
  EXPECT_EQ(maxDepth, 2);
}

// The run that ends the process at a waiting alert in a handler (the guard's strict mode).
bool strictHandlerAlerts() {
  return qEnvironmentVariableIntValue("QEL_STRICT_HANDLER_ALERTS") != 0;
}

// A waiting alert opened by a package's handler holds back every later package: the centre marks
// its dispatch and such an alert is caught and named, whether a script or a window answers it.
// The non-blocking alert there, and a waiting one outside a dispatch, are fine.
TEST(QELMsgCenter, AWaitingAlertInsideAPackageHandlerIsCaught) {
  if (strictHandlerAlerts())
    GTEST_SKIP() << "the strict run ends the process at the alert this test opens on purpose";
  PackageDispatchGuard::resetWaitingAlertsInHandlers();
  ScriptedAnswers answers;
  QELMsgCenter center(nullptr);
  QObject owner;
  bool handling = false;
  center.registerObserver(&owner, 7, 4, [&](const Notification &) {
    handling = PackageDispatchGuard::isHandlingPackage();
    NSBeginAlertPanelExt(QStringLiteral("Fine"), QStringLiteral("does not wait"), QStringLiteral("OK"));
  });
  center.registerObserver(&owner, 7, 5, [&](const Notification &) {
    NSRunAlertPanelExt(QStringLiteral("Stuck"), QStringLiteral("waits in a handler"), QStringLiteral("OK"));
  });
  center.registerObserver(&owner, 7, 6, [&](const Notification &) {
    runSystemAlertPanel(QStringLiteral("Stuck too"), QStringLiteral("the system's form"), QStringLiteral("OK"));
  });
  center.putReceiveMsgInQueue(package(7, 4));
  center.readingReceiveMsg();
  EXPECT_TRUE(handling);
  EXPECT_FALSE(PackageDispatchGuard::isHandlingPackage()) << "the mark ends with the dispatch";
  EXPECT_TRUE(PackageDispatchGuard::waitingAlertsInHandlers().isEmpty());
  NSRunAlertPanelExt(QStringLiteral("Free"), QStringLiteral("outside any handler"), QStringLiteral("OK"));
  EXPECT_TRUE(PackageDispatchGuard::waitingAlertsInHandlers().isEmpty());

  center.putReceiveMsgInQueue(package(7, 5));
  center.putReceiveMsgInQueue(package(7, 6));
  center.readingReceiveMsg();
  center.readingReceiveMsg();
  EXPECT_EQ(
      PackageDispatchGuard::waitingAlertsInHandlers(),
      QStringList({QStringLiteral("Stuck / waits in a handler"), QStringLiteral("Stuck too / the system's form")}));
  EXPECT_EQ(answers.asked().size(), 4) << "the guard names the fault; the alerts still run";
  PackageDispatchGuard::resetWaitingAlertsInHandlers();
}

// The layer's own waiting roads (a question with its own window, a dialog run to its end) are
// caught the same way; a question opened without waiting is not, even when a script answers it at
// once.
TEST(QELMsgCenter, TheQuestionLayersWaitingRoadsAreCaughtInsideAPackageHandler) {
  if (strictHandlerAlerts())
    GTEST_SKIP() << "the strict run ends the process at the alert this test opens on purpose";
  PackageDispatchGuard::resetWaitingAlertsInHandlers();
  ScriptedAnswers answers;
  QELMsgCenter center(nullptr);
  QObject owner;
  QDialog dialog;
  center.registerObserver(&owner, 7, 7, [&](const Notification &) {
    ModalQuestions::ask(
        {QStringLiteral("q"), QStringLiteral("Asked"), QStringLiteral("and waited"), QStringLiteral("OK"), QString()},
        {});
    ModalQuestions::runDialog(&dialog, {QStringLiteral("d"), QStringLiteral("Dialog"), QStringLiteral("run"),
                                        QStringLiteral("OK"), QString()});
    ModalQuestions::open(
        &dialog,
        {QStringLiteral("o"), QStringLiteral("Opened"), QStringLiteral("not waited"), QStringLiteral("OK"), QString()},
        {});
  });
  center.putReceiveMsgInQueue(package(7, 7));
  center.readingReceiveMsg();
  EXPECT_EQ(PackageDispatchGuard::waitingAlertsInHandlers(),
            QStringList({QStringLiteral("Asked / and waited"), QStringLiteral("Dialog / run")}));
  EXPECT_EQ(answers.asked().size(), 3);
  PackageDispatchGuard::resetWaitingAlertsInHandlers();
}

TEST(QELMsgCenter, GetMsgPackageZeroesTheBufferFirst) {
  UIMsg buffer;
  buffer.setPayload(QByteArray(100, 'z'));
  buffer.majorId = 99;
  EXPECT_FALSE(QELMsgCenter::getMsgPackage(&buffer, Notification{"x", nullptr, {}}));
  EXPECT_EQ(buffer.majorId, 0);
  EXPECT_EQ(buffer.dataLength, 0);
  EXPECT_EQ(buffer.data[0], 0);
  EXPECT_FALSE(QELMsgCenter::getMsgPackage(nullptr, Notification{}));
}

TEST(QELMsgCenter, RefusesDataLongerThanTheField) {
  QELMsgCenter center(nullptr);
  EXPECT_FALSE(center.sendMessageModuleID(kModuleMain, 1, 0, 0, 0, QByteArray(8193, 'a')));
}

// A package link to a backend process of the test's own. The centre listens, and the test's
// observers are registered, before the backend starts: it greets the program at once.
class LinkedCenter : public ::testing::Test {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  PackageLink link{ui, be};
  std::unique_ptr<QELMsgCenter> center;
  std::unique_ptr<testsupport::BackendProcess> backend;

  void SetUp() override {
    if (!link.open())
      GTEST_SKIP() << "no session bus";
    center = std::make_unique<QELMsgCenter>(&link);
  }

  void startBackend() {
    backend = std::make_unique<testsupport::BackendProcess>(ui, be);
    ASSERT_TRUE(backend->start());
  }

  QList<UIMsg> received() {
    QList<UIMsg> out;
    for (const QByteArray &b : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(b, &m))
        out << m;
    }
    return out;
  }
};

TEST_F(LinkedCenter, RoundTripWithTheRealBackend) {
  QObject owner;
  int handshakes = 0, plugged = 0;
  center->registerObserver(&owner, 1, 0, [&](const Notification &) { ++handshakes; });
  center->registerObserver(&owner, 8, 59, [&](const Notification &n) {
    UIMsg m;
    QELMsgCenter::getMsgPackage(&m, n);
    plugged += m.result == 0;
  });
  startBackend();
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 1 && plugged == 1; }));
  ASSERT_TRUE(center->sendMessageModuleID(kModuleInit, 1, 0, 2, 0, "hello"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 2; }));
  const QList<UIMsg> got = received();
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last().moduleId, kModuleInit);
  EXPECT_EQ(got.last().type, 2);
  EXPECT_EQ(got.last().payload(), QByteArray("hello"));
}

TEST_F(LinkedCenter, NilDataSendsLengthZeroAndZeroedData) {
  startBackend();
  ASSERT_TRUE(center->sendMessageModuleID(kModuleDial, 258, 66, 0, 0));
  const QList<UIMsg> got = received();
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last().dataLength, 0);
  EXPECT_TRUE(std::all_of(got.last().data.begin(), got.last().data.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(LinkedCenter, MalformedInjectedPackagesNeverReachAHandlerWithBadData) {
  startBackend();
  QObject owner;
  QList<int> lengths;
  center->registerObserver(&owner, 9, 9, [&](const Notification &n) {
    UIMsg m;
    ASSERT_TRUE(QELMsgCenter::getMsgPackage(&m, n));
    lengths << m.dataLength;
  });
  auto withLength = [](int32_t len) {
    QByteArray b = SimulatedModem::makePackage(9, 9).encode();
    qToLittleEndian<qint32>(len, reinterpret_cast<uchar *>(b.data()) + 20);
    return b;
  };
  const QByteArray good = SimulatedModem::makePackage(9, 9, 0, 0, "ok").encode();
  for (const QByteArray &bad :
       {QByteArray(10, 'x'), QByteArray(8221, 'x'), QByteArray(), withLength(9000), withLength(-5)})
    EXPECT_TRUE(backend->control("Inject", {bad}).value(0).toBool());
  backend->control("Inject", {good});
  ASSERT_TRUE(testsupport::waitUntil([&] { return lengths.size() == 3; }));
  EXPECT_EQ(lengths, (QList<int>{8192, 0, 2}));
  EXPECT_EQ(center->refusedCount(), 3);
}

// Without anyone owning the backend's name nothing is sent and nothing waits for a time-out.
TEST_F(LinkedCenter, SendWithoutABackendAnswersAtOnce) {
  EXPECT_FALSE(center->sendMessageModuleID(kModuleMain, 1, 0, 0, 0));
  EXPECT_EQ(link.sendBlocking(SimulatedModem::makePackage(1, 0).encode()), PackageLink::ErrNoPeer);
  startBackend();
  EXPECT_TRUE(center->sendMessageModuleID(kModuleMain, 1, 0, 0, 0)) << "a backend that just came is found";
  backend.reset();
  EXPECT_EQ(link.sendBlocking(SimulatedModem::makePackage(1, 0).encode()), PackageLink::ErrNoPeer);
}

// Another process of the same user calling qMsg is answered with an error, counted, and its
// package never reaches a handler; the backend's own packages still do.
TEST_F(LinkedCenter, APackageFromAnyoneButTheBackendIsRefused) {
  QObject owner;
  int removed = 0, handshakes = 0;
  center->registerObserver(&owner, 1, 0, [&](const Notification &) { ++handshakes; });
  center->registerObserver(&owner, 8, 59, [&](const Notification &n) {
    UIMsg m;
    QELMsgCenter::getMsgPackage(&m, n);
    removed += m.result == UIMsg::kResultFailure;
  });
  auto strangerSends = [&](const QString &connectionName) {
    QDBusConnection stranger = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    QDBusMessage call = QDBusMessage::createMethodCall(ui, BusNames::kPackagePath, BusNames::kPackageInterface,
                                                       BusNames::kPackageMethod);
    call << SimulatedModem::makePackage(8, 59, 0, UIMsg::kResultFailure).encode();
    // Asynchronous: this thread is also the one that answers for the program's name.
    QDBusPendingCall pending = stranger.asyncCall(call, 3000);
    testsupport::waitUntil([&] { return pending.isFinished(); });
    const QDBusMessage reply = pending.reply();
    QDBusConnection::disconnectFromBus(connectionName);
    return reply;
  };
  // Before any backend is there, and while one is.
  EXPECT_EQ(strangerSends("stranger1").errorName(), "org.freedesktop.DBus.Error.AccessDenied");
  startBackend();
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 1; }));
  EXPECT_EQ(strangerSends("stranger2").errorName(), "org.freedesktop.DBus.Error.AccessDenied");
  EXPECT_EQ(link.refusedSenderCount(), 2);
  backend->control("Inject", {SimulatedModem::makePackage(1, 0).encode()});
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 2; }));
  EXPECT_EQ(removed, 0) << "no stranger's package reached a handler";
}

TEST(QELMsgCenterServer, SecondStartAnswersNoAlsoAfterStop) {
  const QString ui = testsupport::uniqueBusName("ui"), be = testsupport::uniqueBusName("be");
  PackageLink link(ui, be);
  if (!link.open())
    GTEST_SKIP() << "no session bus";
  Bundle::setMainBundlePath(testsupport::buildBundlePath());
  QELMsgCenter center(&link);
  QObject owner;
  int handshakes = 0;
  center.registerObserver(&owner, 1, 0, [&](const Notification &) { ++handshakes; });
  ASSERT_TRUE(center.startMsgServer());
  EXPECT_TRUE(testsupport::waitUntil([&] { return handshakes > 0; }));
  EXPECT_FALSE(center.startMsgServer());
  EXPECT_TRUE(center.stopMsgServer());
  EXPECT_FALSE(center.startMsgServer());
  EXPECT_FALSE(center.stopMsgServer());
}

// The backend this centre started, watched: the test steers it through its process.
class SupervisedBackend : public ::testing::Test {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  PackageLink link{ui, be};
  std::unique_ptr<QELMsgCenter> center;
  QObject owner;
  int handshakes = 0, removals = 0, gaveUp = 0;

  void SetUp() override {
    if (!link.open())
      GTEST_SKIP() << "no session bus";
    Bundle::setMainBundlePath(testsupport::buildBundlePath());
    center = std::make_unique<QELMsgCenter>(&link);
    center->setRestartPolicy({10, 40, 5, 30000, 10000});
    center->registerObserver(&owner, 1, 0, [&](const Notification &) { ++handshakes; });
    center->registerObserver(&owner, 8, 59, [&](const Notification &n) {
      UIMsg m;
      QELMsgCenter::getMsgPackage(&m, n);
      removals += m.result == UIMsg::kResultFailure;
    });
    NotificationCenter::defaultCenter().addObserver(&owner, kMsgServerGaveUp, nullptr,
                                                    [&](const Notification &) { ++gaveUp; });
  }
  void TearDown() override {
    center.reset();
    Bundle::setMainBundlePath(testsupport::buildBundlePath());
  }
};

TEST_F(SupervisedBackend, AKilledBackendCountsAsARemovedDeviceAndIsStartedAgain) {
  ASSERT_TRUE(center->startMsgServer());
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 1; }));
  for (int signal : {SIGKILL, SIGTERM}) {
    const int before = handshakes;
    const qint64 pid = center->serverProcessId();
    ASSERT_GT(pid, 0);
    ::kill(pid_t(pid), signal);
    ASSERT_TRUE(testsupport::waitUntil([&] { return removals == before; })) << "signal " << signal;
    ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == before + 1; })) << "signal " << signal;
    EXPECT_NE(center->serverProcessId(), pid);
  }
  EXPECT_EQ(center->restartCount(), 2);
  EXPECT_TRUE(center->sendMessageModuleID(kModuleInit, 1, 0, 0, 0));
  EXPECT_EQ(gaveUp, 0);
}

// A backend that holds its name but answers nothing (stopped) costs one time-out, no more: it
// is ended and started again.
TEST_F(SupervisedBackend, AStuckBackendIsEndedAndStartedAgain) {
  ASSERT_TRUE(center->startMsgServer());
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 1; }));
  ::kill(pid_t(center->serverProcessId()), SIGSTOP);
  EXPECT_FALSE(center->sendMessageModuleID(kModuleInit, 3, 3, 0, 0));
  ASSERT_TRUE(testsupport::waitUntil([&] { return handshakes == 2; }));
  EXPECT_EQ(center->restartCount(), 1);
  EXPECT_TRUE(center->sendMessageModuleID(kModuleInit, 3, 3, 0, 0));
}

TEST_F(SupervisedBackend, ABackendThatNeverComesUpIsTriedFiveTimesThenLeftAlone) {
  QTemporaryDir dir;
  testsupport::writePlist(dir.filePath("Resources/qUIInfo"), {{"UseConfigPath", true}, {"PathOfServer", "/bin/false"}});
  Bundle::setMainBundlePath(dir.path());
  ASSERT_TRUE(center->startMsgServer());
  ASSERT_TRUE(testsupport::waitUntil([&] { return gaveUp == 1; }));
  EXPECT_TRUE(center->hasGivenUp());
  EXPECT_EQ(center->restartCount(), 5);
  EXPECT_EQ(removals, 0) << "it never reported a device";
  testsupport::waitUntil([] { return false; }, 200);
  EXPECT_EQ(center->restartCount(), 5) << "no further attempts";
  EXPECT_EQ(center->serverProcessId(), 0);
}

TEST(QELMsgCenterServer, QUIInfoPathWinsWhenSwitchedOn) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("Resources"));
  Bundle::setMainBundlePath(dir.path());
  QELMsgCenter center(nullptr);
  EXPECT_TRUE(center.serverPath().isEmpty());
  testsupport::writePlist(dir.filePath("Resources/qUIInfo"),
                          {{"UseConfigPath", true}, {"PathOfServer", "/opt/x/backend"}});
  EXPECT_EQ(center.serverPath(), "/opt/x/backend");
  testsupport::writePlist(dir.filePath("Resources/qUIInfo"),
                          {{"UseConfigPath", false}, {"PathOfServer", "/opt/x/backend"}});
  EXPECT_TRUE(center.serverPath().isEmpty());
  Bundle::setMainBundlePath(testsupport::buildBundlePath());
}

} // namespace
