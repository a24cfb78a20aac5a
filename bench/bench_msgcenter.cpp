// Cost of the backend link: a package round trip over the real session bus, and the dispatch of
// one received package to many observers.
#include "BusNames.h"
#include "PackageLink.h"
#include "QELMsgCenter.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <QApplication>
#include <benchmark/benchmark.h>

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

void BM_RoundTrip(benchmark::State &state) {
  LinkedBackend linked;
  if (!linked.start(state))
    return;
  PackageLink &link = linked.link;
  QELMsgCenter center(&link);
  int replies = 0;
  QObject owner;
  int handshakes = 0;
  center.registerObserver(&owner, 1, 0, [&](const Notification &) { ++handshakes; });
  center.registerObserver(&owner, 3, 3, [&](const Notification &) { ++replies; });
  // Let the start-up pushes arrive and drain.
  testsupport::waitUntil([&] { return handshakes > 0 && center.queuedCount() == 0; }, 5000);
  testsupport::waitUntil([&] { return false; }, 300);
  while (center.queuedCount() > 0)
    center.readingReceiveMsg();
  for (auto _ : state) {
    const int before = replies;
    // StartWork: one request, one answer.
    center.sendMessageModuleID(kModuleInit, 3, 3, 0, 0);
    // Receive the reply and dispatch it at once: the round trip, without the 5 ms tick.
    while (replies == before) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      center.readingReceiveMsg();
    }
  }
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
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
