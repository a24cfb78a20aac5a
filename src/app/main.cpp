#include "Application.h"
#include "ListFileNotices.h"
#include "WebContentProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};

// Only an async-signal-safe write happens here; the work runs on the main loop.
void SignalHandler(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(g_signalFd[0], &c, 1);
}
} // namespace

int main(int argc, char **argv) {
  const qint64 startedAt = QDateTime::currentMSecsSinceEpoch();
  // Shared GL contexts make Qt load the GL stack at once. The web engine's context is made with
  // the first web view instead; only a run that asks for it pays at start.
  if (WebContentProbe::shareGlContextsAtStart())
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("connection-manager"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));

  QCommandLineParser parser;
  parser.addHelpOption();
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Write a PNG of the main window once it is up, then quit."),
                                QStringLiteral("file"));
  parser.addOption(screenshot);
  QCommandLineOption quitWhenReady(
      QStringLiteral("quit-when-ready"),
      QStringLiteral("Quit once the device is reported; print the time taken and memory."));
  parser.addOption(quitWhenReady);
  parser.process(app);

  Application application;
  if (!application.claimSingleInstance())
    return application.otherInstanceRunning() ? 0 : 1;

  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) == 0) {
    auto *notifier = new QSocketNotifier(g_signalFd[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, &Application::terminateFromSignal);
    std::signal(SIGTERM, SignalHandler);
  }

  // A message list that cannot be read is told to the user, not shown as an empty box.
  ListFileNotices::install();
  if (parser.isSet(quitWhenReady))
    application.quitWhenReady(startedAt);
  application.start();
  if (parser.isSet(screenshot))
    application.screenshotWhenSettled(parser.value(screenshot));
  return app.exec();
}
