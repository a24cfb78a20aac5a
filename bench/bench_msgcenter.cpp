// Cost of the backend link: a package round trip over the real session bus, the same exchange
// done with nothing but QtDBus (a call of 8220 bytes answered at once, then 8220 bytes pushed
// back as a call without reply) for comparison, and the dispatch of one received package to
// many observers. The bare peer is this same binary started with --bare-peer.
//
// Every wait for a pushed answer sleeps in the event loop until the answer's own event wakes it,
// as a plain QtDBus client does; polling would put the poll interval into both figures and make
// the bare exchange no floor. The backend works on a private copy of the ModemList folder, so
// that a run leaves the build tree's files alone.
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
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// An answer that never comes ends the wait after this long; the iteration is counted as lost.
constexpr int kAnswerGuardMs = 2000;

// Sleeps in the event loop until done() holds; whoever changes what done() reads calls wake().
class SleepingWait {
public:
  SleepingWait() {
    guard_.setSingleShot(true);
    QObject::connect(&guard_, &QTimer::timeout, &loop_, &QEventLoop::quit);
  }
  // False when the guard ran out first.
  bool until(const std::function<bool()> &done) {
    if (done())
      return true;
    done_ = &done;
    guard_.start(kAnswerGuardMs);
    loop_.exec();
    guard_.stop();
    done_ = nullptr;
    return done();
  }
  void wake() {
    if (done_ && (*done_)())
      loop_.quit();
  }

private:
  QEventLoop loop_;
  QTimer guard_;
  const std::function<bool()> *done_ = nullptr;
};

// Answers that never came; shown only when there were some (a column of zeros has no deviation).
void reportLost(benchmark::State &state, int lost) {
  if (lost > 0)
    state.counters["lost"] = lost;
}

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

// The link's round trip as the program makes it: a request through the centre and the backend's
// answer dispatched to an observer. Direct: dispatched the moment it arrives, the link's own cost.
// Ticked: left to the centre's own timer, as the program sees it (dispatches stay a 5 ms tick
// apart; an answer after a quiet spell goes out on the next turn of the event loop).
struct LinkRoundTrip {
  enum Dispatch { Direct, Ticked };
  explicit LinkRoundTrip(Dispatch d = Direct) : dispatch(d) {}

  Dispatch dispatch;
  LinkedBackend linked;
  QELMsgCenter center{&linked.link};
  QObject owner;
  SleepingWait wait;
  int replies = 0, handshakes = 0, lost = 0;

  bool start(benchmark::State &state) {
    // Listening before the backend starts: it greets the program at once.
    center.registerObserver(&owner, 1, 0, [this](const Notification &) { ++handshakes; });
    center.registerObserver(&owner, 3, 3, [this](const Notification &) {
      ++replies;
      wait.wake();
    });
    if (!linked.start(state))
      return false;
    // Let the start-up pushes arrive and drain.
    testsupport::waitUntil([&] { return handshakes > 0 && center.queuedCount() == 0; }, 5000);
    testsupport::waitUntil([&] { return false; }, 300);
    while (center.queuedCount() > 0)
      center.readingReceiveMsg();
    // Queued by the centre first (it connected first), then handed out here at once.
    if (dispatch == Direct)
      QObject::connect(&linked.link, &PackageLink::packageReceived, &owner, [this] {
        while (center.queuedCount() > 0)
          center.readingReceiveMsg();
      });
    return true;
  }

  void once() {
    const int before = replies;
    // StartWork: one request, one answer.
    center.sendMessageModuleID(kModuleInit, 3, 3, 0, 0);
    if (!wait.until([&] { return replies != before; }))
      ++lost;
  }
};

void runRoundTrip(benchmark::State &state, LinkRoundTrip::Dispatch dispatch) {
  LinkRoundTrip link(dispatch);
  if (!link.start(state))
    return;
  for (auto _ : state)
    link.once();
  reportLost(state, link.lost);
}

void BM_RoundTrip(benchmark::State &state) {
  runRoundTrip(state, LinkRoundTrip::Direct);
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

// End to end as the program answers: the same round trip with the answer taken by the centre's
// timer. The difference to BM_RoundTrip is what the centre's pacing costs an answer.
void BM_RoundTripOnTick(benchmark::State &state) {
  runRoundTrip(state, LinkRoundTrip::Ticked);
}
BENCHMARK(BM_RoundTripOnTick)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

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
  SleepingWait wait;
  int pushes = 0, lost = 0;

  bool start(benchmark::State &state) {
    endpoint.onBytes = [this](const QByteArray &bytes) {
      pushes += bytes.size() == 8220;
      wait.wake();
    };
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
    // Blocks without running the event loop, as the link's send does.
    bus.call(bareCall(peer, request), QDBus::Block, 1000);
    if (!wait.until([&] { return pushes != before; }))
      ++lost;
  }
};

void BM_BareQtDBusExchange(benchmark::State &state) {
  BareExchange bare;
  if (!bare.start(state))
    return;
  for (auto _ : state)
    bare.once();
  reportLost(state, bare.lost);
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
  reportLost(state, link.lost + bare.lost);
}
BENCHMARK(BM_LinkAgainstBare)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(4.0);

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The link's round trip against the bare exchange, from the interleaved run. Only the runs
// themselves count: under --benchmark_repetitions the aggregates that follow them (mean, median,
// standard deviation, coefficient of variation) carry the same counters, and a ratio of two
// deviations means nothing.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal, so that the output can be read by scripts.
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred ||
          run.benchmark_name().rfind("BM_LinkAgainstBare", 0) != 0)
        continue;
      const auto link = run.counters.find("link_us"), bare = run.counters.find("bare_us");
      if (link != run.counters.end() && bare != run.counters.end() && link->second.value > 0 &&
          bare->second.value > 0) {
        link_.push_back(link->second.value);
        bare_.push_back(bare->second.value);
        ratio_.push_back(link->second.value / bare->second.value);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (ratio_.empty())
      return;
    std::printf("Link round trip / bare QtDBus exchange, median of %zu run(s): %.1f us / %.1f us, ratio %.2fx",
                ratio_.size(), median(link_), median(bare_), median(ratio_));
    if (ratio_.size() > 1) {
      std::printf(" (runs:");
      for (double r : ratio_)
        std::printf(" %.2f", r);
      std::printf(")");
    }
    std::printf("\n");
  }

private:
  std::vector<double> link_, bare_, ratio_;
};

// A fresh copy of the bundle's ModemList folder, named to the backends this process starts.
bool usePrivateModemList(QTemporaryDir &dir) {
  const QString shipped = testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList");
  if (!dir.isValid() || !QDir(shipped).exists())
    return false;
  QDirIterator it(shipped, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString from = it.next();
    const QString to = dir.filePath(QDir(shipped).relativeFilePath(from));
    if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to))
      return false;
  }
  qputenv("QEL_MODEMLIST_DIR", QFile::encodeName(dir.path()));
  return true;
}

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
  QTemporaryDir modemList;
  if (!usePrivateModemList(modemList)) {
    std::fprintf(stderr, "cannot copy the bundle's ModemList folder to %s\n", qPrintable(modemList.path()));
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
