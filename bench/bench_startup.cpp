// Start-up: from process start to the main window shown with the handshake done and the device
// reported (no splash), and the program's resident memory at that moment. Measured offscreen and
// on a real X server (Xvfb, the xcb platform), where a GL stack set up at start shows in the
// memory: as shipped (no GL until a web view loads the engine), and with it set up at start.
#include "TestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// An X server of our own for the xcb runs, on the first free display from :90 on.
class XServer {
public:
  bool start() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
      return false;
    for (int n = 90; n < 110; ++n) {
      if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
          QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
        continue;
      display_ = QStringLiteral(":%1").arg(n);
      process_.start(xvfb, {display_, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
      if (!process_.waitForStarted(3000))
        return false;
      for (int i = 0; i < 100 && !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); ++i)
        QThread::msleep(50);
      return process_.state() == QProcess::Running;
    }
    return false;
  }
  ~XServer() {
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();
      if (!process_.waitForFinished(3000))
        process_.kill();
    }
  }
  QString display() const { return display_; }

private:
  QProcess process_;
  QString display_;
};

void startUp(benchmark::State &state, const QProcessEnvironment &extra) {
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
    env.insert(extra);
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

void BM_StartUpToDeviceReported(benchmark::State &state) {
  QProcessEnvironment env;
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  startUp(state, env);
}
BENCHMARK(BM_StartUpToDeviceReported)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void onXServer(benchmark::State &state, const char *name = nullptr, const char *value = nullptr) {
  XServer x;
  if (!x.start()) {
    state.SkipWithError("no Xvfb");
    return;
  }
  QProcessEnvironment env;
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("DISPLAY"), x.display());
  if (name)
    env.insert(QLatin1String(name), QLatin1String(value));
  startUp(state, env);
}

// As shipped: the web engine's GL context comes with the first web view, none at rest.
void BM_StartUpOnXvfb(benchmark::State &state) {
  onXServer(state);
}
BENCHMARK(BM_StartUpOnXvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// With shared GL contexts set up at start, as before: the difference is what the GL stack costs.
void BM_StartUpOnXvfbWithGlAtStart(benchmark::State &state) {
  onXServer(state, "QEL_SHARE_GL_CONTEXTS", "1");
}
BENCHMARK(BM_StartUpOnXvfbWithGlAtStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
