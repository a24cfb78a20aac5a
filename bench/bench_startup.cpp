// Start-up: from process start to the main window shown with the handshake done and the device
// reported (no splash), and the program's resident memory at that moment.
#include "TestSupport.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_StartUpToDeviceReported(benchmark::State &state) {
  QTemporaryDir home;
  double rssKb = 0;
  int runs = 0;
  for (auto _ : state) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QEL_UI_BUS_NAME"), testsupport::uniqueBusName(QStringLiteral("benchui")));
    env.insert(QStringLiteral("QEL_BACKEND_BUS_NAME"), testsupport::uniqueBusName(QStringLiteral("benchbe")));
    env.insert(QStringLiteral("QEL_BUNDLE_DIR"), testsupport::buildBundlePath());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    program.setProcessEnvironment(env);
    program.start(testsupport::buildBundlePath() + QStringLiteral("/bin/connection-manager"),
                  {QStringLiteral("--quit-when-ready")});
    if (!program.waitForFinished(20000)) {
      state.SkipWithError("the program did not get ready");
      return;
    }
    const QList<QByteArray> words = program.readAllStandardOutput().trimmed().split(' ');
    if (words.size() < 4 || words.at(0) != "ready") {
      state.SkipWithError("no ready line");
      return;
    }
    state.SetIterationTime(words.at(1).toDouble() / 1000.0);
    rssKb += words.at(3).toDouble();
    ++runs;
  }
  state.counters["rss_MB"] = runs ? rssKb / runs / 1024.0 : 0;
}
BENCHMARK(BM_StartUpToDeviceReported)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
