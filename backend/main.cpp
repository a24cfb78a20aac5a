// vArivevorer: the simulated modem server the connection manager talks to.
#include "BackendServer.h"
#include "Bundle.h"
#include "BusNames.h"
#include "Plist.h"
#include "SimulatedModem.h"
#include "SimulatorControl.h"
#include "VoiceDataService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDebug>
#include <QFileInfo>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};

void onTerm(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(g_signalFd[0], &c, 1);
}

// A scenario by path, or by the name of one in the bundle ("router").
QString scenarioFile(const QString &nameOrPath) {
  if (QFileInfo::exists(nameOrPath) || nameOrPath.contains(QLatin1Char('/')))
    return nameOrPath;
  const QString named =
      Bundle::mainBundle().pathForResource(QStringLiteral("Scenarios/") + nameOrPath, QStringLiteral("plist"));
  return named.isEmpty() ? nameOrPath : named;
}

QString scenarioPath(const QStringList &args) {
  if (args.size() > 1)
    return scenarioFile(args.at(1));
  const QByteArray env = qgetenv("QEL_SCENARIO");
  if (!env.isEmpty())
    return scenarioFile(QString::fromLocal8Bit(env));
  return Bundle::mainBundle().pathForResource(QStringLiteral("Scenarios/default"), QStringLiteral("plist"));
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

  QVariantMap scenario;
  const QString path = scenarioPath(app.arguments());
  if (!path.isEmpty() && !Plist::readDictionary(path, &scenario))
    qWarning() << "vArivevorer: cannot read scenario" << path << "- using built-in defaults";

  SimulatedModem modem(scenario);
  BackendServer server(&modem, BusNames::backendBusName(), BusNames::uiBusName());
  if (qEnvironmentVariableIsSet("QEL_BACKEND_PERSIST"))
    server.setExitWhenProgramLeaves(false);
  SimulatorControl control(&modem, &server);
  QDBusConnection bus = QDBusConnection::sessionBus();
  // The voice-data service is in place before the name is claimed: whoever sees the name finds it.
  VoiceDataService voice(BusNames::backendBusName());
  if (!voice.registerOn(bus))
    qWarning() << "vArivevorer: cannot offer the voice-data service";
  if (!server.start() || !control.registerOn(bus))
    return 1;
  return app.exec();
}
