// Cost of the backend link: a package round trip over the real session bus, the same exchange
// done with nothing but QtDBus (a call of 8220 bytes answered at once, then 8220 bytes pushed
// back as a call without reply) for comparison, and the dispatch of one received package to
// many observers. The bare peer is this same binary started with --bare-peer.
#include "BusNames.h"
#include "PackageLink.h"
#include "QELMsgCenter.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The program's end of the link and a backend process on names of their own.
struct LinkedBackend {
  QString ui = testsupport::uniqueBusName(QStringLiteral("benchui"));
  QString be = testsupport::uniqueBusName(QStringLiteral("benchbe"));
  PackageLink link{ui, be};
  testsupport::BackendProcess backend{ui, be};

  bool start(benchmark::State &state) {
    if (!link.open()) {
      state.SkipWithError("no session bus");
      return false;
    }
    if (!backend.start()) {
      state.SkipWithError("backend did not start");
      return false;
    }
    return true;
  }
};

// The link's round trip as the program makes it: a request through the centre, the backend's
// answer dispatched to an observer (at once, without waiting for the 5 ms tick).
struct LinkRoundTrip {
  LinkedBackend linked;
  QELMsgCenter center{&linked.link};
  QObject owner;
  int replies = 0, handshakes = 0;

  bool start(benchmark::State &state) {
    // Listening before the backend starts: it greets the program at once.
    center.registerObserver(&owner, 1, 0, [this](const Notification &) { ++handshakes; });
    center.registerObserver(&owner, 3, 3, [this](const Notification &) { ++replies; });
    if (!linked.start(state))
      return false;
    // Let the start-up pushes arrive and drain.
    testsupport::waitUntil([&] { return handshakes > 0 && center.queuedCount() == 0; }, 5000);
    testsupport::waitUntil([&] { return false; }, 300);
    while (center.queuedCount() > 0)
      center.readingReceiveMsg();
    return true;
  }

  void once() {
    const int before = replies;
    // StartWork: one request, one answer.
    center.sendMessageModuleID(kModuleInit, 3, 3, 0, 0);
    while (replies == before) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      center.readingReceiveMsg();
    }
  }
};

void BM_RoundTrip(benchmark::State &state) {
  LinkRoundTrip link;
  if (!link.start(state))
    return;
  for (auto _ : state)
    link.once();
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

// The blocking call alone: the program's request reaching the backend and being taken.
void BM_SendOnly(benchmark::State &state) {
  LinkedBackend linked;
  if (!linked.start(state))
    return;
  PackageLink &link = linked.link;
  const QByteArray package = SimulatedModem::makePackage(3, 2).encode(); // answered by nothing
  for (auto _ : state)
    link.sendBlocking(package);
}
BENCHMARK(BM_SendOnly)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

// The least QtDBus needs for the link's exchange: an object taking one byte-array call.
class BareEndpoint : public QDBusVirtualObject {
public:
  std::function<void(const QByteArray &)> onBytes;
  QString introspect(const QString &) const override { return {}; }
  bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
    if (message.type() != QDBusMessage::MethodCallMessage || message.arguments().isEmpty())
      return false;
    if (message.isReplyRequired())
      connection.send(message.createReply());
    if (onBytes)
      onBytes(message.arguments().first().toByteArray());
    return true;
  }
};

QDBusMessage bareCall(const QString &to, const QByteArray &bytes) {
  QDBusMessage call = QDBusMessage::createMethodCall(to, QStringLiteral("/bare"), QStringLiteral("org.qel.Bare"),
                                                     QStringLiteral("take"));
  call.setAutoStartService(false);
  call << bytes;
  return call;
}

// The other process: answers each call at once, then pushes 8220 bytes back without a reply.
int runBarePeer(const QString &ownName, const QString &benchName) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  BareEndpoint endpoint;
  const QByteArray answer(8220, 'a');
  endpoint.onBytes = [&](const QByteArray &) {
    QDBusMessage push = bareCall(benchName, answer);
    bus.send(push);
  };
  if (!bus.registerVirtualObject(QStringLiteral("/bare"), &endpoint) || !bus.registerService(ownName))
    return 1;
  // Ends with the bench's name.
  QDBusServiceWatcher watcher(benchName, bus, QDBusServiceWatcher::WatchForUnregistration);
  QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, qApp, &QCoreApplication::quit);
  return QCoreApplication::exec();
}

// The same exchange with nothing but QtDBus between this process and a bare peer process.
struct BareExchange {
  QString own = testsupport::uniqueBusName(QStringLiteral("benchbare"));
  QString peer = testsupport::uniqueBusName(QStringLiteral("benchbarepeer"));
  QDBusConnection bus = QDBusConnection::sessionBus();
  BareEndpoint endpoint;
  QProcess process;
  QByteArray request = QByteArray(8220, 'r');
  int pushes = 0;

  bool start(benchmark::State &state) {
    endpoint.onBytes = [this](const QByteArray &bytes) { pushes += bytes.size() == 8220; };
    if (!bus.registerVirtualObject(QStringLiteral("/bare"), &endpoint) || !bus.registerService(own)) {
      state.SkipWithError("no session bus");
      return false;
    }
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--bare-peer"), peer, own});
    if (!process.waitForStarted(5000) ||
        !testsupport::waitUntil([&] { return bus.interface()->isServiceRegistered(peer).value(); }, 5000)) {
      state.SkipWithError("bare peer did not start");
      return false;
    }
    return true;
  }

  ~BareExchange() {
    bus.unregisterService(own);
    bus.unregisterObject(QStringLiteral("/bare"));
    if (!process.waitForFinished(3000))
      process.kill();
  }

  void once() {
    const int before = pushes;
    bus.call(bareCall(peer, request), QDBus::Block, 1000);
    while (pushes == before)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  }
};

void BM_BareQtDBusExchange(benchmark::State &state) {
  BareExchange bare;
  if (!bare.start(state))
    return;
  for (auto _ : state)
    bare.once();
}
BENCHMARK(BM_BareQtDBusExchange)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

// Both, one after the other in every iteration, so that the machine's load weighs on both alike.
void BM_LinkAgainstBare(benchmark::State &state) {
  LinkRoundTrip link;
  BareExchange bare;
  if (!link.start(state) || !bare.start(state))
    return;
  using Clock = std::chrono::steady_clock;
  double linkUs = 0, bareUs = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    link.once();
    const auto t1 = Clock::now();
    bare.once();
    const auto t2 = Clock::now();
    linkUs += std::chrono::duration<double, std::micro>(t1 - t0).count();
    bareUs += std::chrono::duration<double, std::micro>(t2 - t1).count();
  }
  state.counters["link_us"] = benchmark::Counter(linkUs, benchmark::Counter::kAvgIterations);
  state.counters["bare_us"] = benchmark::Counter(bareUs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LinkAgainstBare)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(4.0);

// The link's round trip against the bare exchange, from the interleaved run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal, so that the output can be read by scripts.
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      if (run.benchmark_name().rfind("BM_LinkAgainstBare", 0) != 0)
        continue;
      const auto link = run.counters.find("link_us"), bare = run.counters.find("bare_us");
      if (link != run.counters.end() && bare != run.counters.end()) {
        link_ = link->second.value;
        bare_ = bare->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (link_ > 0 && bare_ > 0)
      std::printf("Link round trip / bare QtDBus exchange: %.1f us / %.1f us = %.2fx\n", link_, bare_, link_ / bare_);
  }

private:
  double link_ = 0, bare_ = 0;
};

void BM_DispatchToObservers(benchmark::State &state) {
  QELMsgCenter center(nullptr);
  QObject owner;
  int calls = 0;
  for (int i = 0; i < state.range(0); ++i)
    center.registerObserver(&owner, 258, 68, [&calls](const Notification &n) {
      UIMsg m;
      QELMsgCenter::getMsgPackage(&m, n);
      calls += m.minorId;
    });
  const QByteArray package = SimulatedModem::makePackage(258, 68).encode();
  for (auto _ : state) {
    center.putReceiveMsgInQueue(package);
    center.readingReceiveMsg();
  }
  benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_DispatchToObservers)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 4 && std::strcmp(argv[1], "--bare-peer") == 0) {
    QCoreApplication app(argc, argv);
    return runBarePeer(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
