// vArivevorer: the simulated modem server the connection manager talks to.
#include "BackendServer.h"
#include "BusNames.h"
#include "OperatorServer.h"
#include "Scenario.h"
#include "SimulatedModem.h"
#include "SimulatorControl.h"
#include "VoiceDataService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDebug>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};

void onTerm(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(g_signalFd[0], &c, 1);
}

// The scenario named by the first argument or QEL_SCENARIO; without one, the bundle's default.
QString scenarioName(const QStringList &args, bool *named) {
  *named = true;
  if (args.size() > 1)
    return args.at(1);
  const QString env = qEnvironmentVariable("QEL_SCENARIO");
  if (!env.isEmpty())
    return env;
  *named = false;
  return QStringLiteral("default");
}
} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);

  // SIGTERM ends the event loop cleanly; nothing else runs inside the handler.
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) == 0) {
    auto *notifier = new QSocketNotifier(g_signalFd[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGTERM, onTerm);
    std::signal(SIGINT, onTerm);
  }

  // A scenario that was asked for and cannot be used ends the backend: a modem other than the
  // one asked for would make every later check wrong without saying so.
  QVariantMap scenario;
  bool named = false;
  const QString name = scenarioName(app.arguments(), &named);
  QString error;
  if (!Scenario::read(name, &scenario, &error)) {
    if (named) {
      std::fprintf(stderr, "vArivevorer: %s\n", qPrintable(error));
      return 2;
    }
    qWarning() << "vArivevorer:" << error << "- using built-in defaults";
  }

  SimulatedModem modem(scenario);
  BackendServer server(&modem, BusNames::backendBusName(), BusNames::uiBusName());
  if (qEnvironmentVariableIsSet("QEL_BACKEND_PERSIST"))
    server.setExitWhenProgramLeaves(false);
  SimulatorControl control(&modem, &server);
  // The operator's servers are optional: a port someone else holds leaves the modem working.
  OperatorServer operatorServer(&modem);
  operatorServer.start();
  control.setOperatorServer(&operatorServer);
  QDBusConnection bus = QDBusConnection::sessionBus();
  // The voice-data service is in place before the name is claimed: whoever sees the name finds it.
  VoiceDataService voice(BusNames::backendBusName());
  if (!voice.registerOn(bus))
    qWarning() << "vArivevorer: cannot offer the voice-data service";
  if (!server.start() || !control.registerOn(bus))
    return 1;
  return app.exec();
}
