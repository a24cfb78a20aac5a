#include "Bundle.h"
#include "BusNames.h"
#include "ConfigManager.h"
#include "LinkWindow.h"
#include "PackageLink.h"
#include "QELMsgCenter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDebug>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};

void onTerm(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(g_signalFd[0], &c, 1);
}

QString userDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/qel-connection-manager/ModemList");
}
} // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("connection-manager"));

  QCommandLineParser parser;
  parser.addHelpOption();
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Write a PNG of the window once the link is up, then quit."),
                                QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  // Owning the program's bus name is also the single-instance guard.
  PackageLink link(BusNames::uiBusName(), BusNames::backendBusName());
  if (!link.open()) {
    if (link.connection().isConnected()) {
      qInfo() << "connection-manager: another instance is running";
      return 0;
    }
    qCritical() << "connection-manager: no session bus";
    return 1;
  }

  ConfigManager config(ConfigManager::locationsForBundle(Bundle::mainBundle().bundlePath(), userDataFolder()));
  ConfigManager::setSharedConfigManager(&config);

  QELMsgCenter center(&link);
  center.awakeFromNib();

  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) == 0) {
    auto *notifier = new QSocketNotifier(g_signalFd[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&] {
      center.stopMsgServer();
      QApplication::exit(0);
    });
    std::signal(SIGTERM, onTerm);
  }

  center.stopMsgServer();
  const bool started = center.startMsgServer();
  LinkWindow window(&center, started);
  window.show();

  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    auto shoot = [&window, file] {
      if (!window.grab().save(file))
        qWarning() << "cannot write" << file;
      QApplication::exit(0);
    };
    QObject::connect(&window, &LinkWindow::linkSettled, &app, [shoot] { QTimer::singleShot(200, shoot); });
    QTimer::singleShot(10000, &app, shoot);
  }

  const int rc = app.exec();
  center.stopMsgServer();
  return rc;
}
