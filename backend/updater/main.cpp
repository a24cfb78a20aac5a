// The stand-in updater: owns the updater's bus name, keeps every command the connection manager
// sends (each an XML property list) and answers them through Received(). It updates nothing, and
// ends when the connection manager leaves the session bus, or the bus itself goes.
#include "BusNames.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cstdio>

namespace {
class Updater : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qel.Updater")
public:
  using QObject::QObject;

public slots:
  Q_SCRIPTABLE void Command(const QString &xml) { received_.append(xml); }
  Q_SCRIPTABLE QStringList Received() const { return received_; }

private:
  QStringList received_;
};
} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "AutoUpdateManager: no session bus\n");
    return 1;
  }
  // A bus that dies during a question must not hold the updater for the default 25 seconds.
  bus.interface()->setTimeout(2000);
  const QString program = BusNames::uiBusName();
  // Without the program there is nobody to serve.
  if (!bus.interface()->isServiceRegistered(program).value())
    return 0;
  Updater updater;
  if (!bus.registerObject(QLatin1String(BusNames::kUpdaterPath), &updater, QDBusConnection::ExportScriptableSlots))
    return 1;
  // A second updater leaves the name to the first.
  if (!bus.registerService(BusNames::updaterBusName()))
    return 0;
  QDBusServiceWatcher watcher(program, bus, QDBusServiceWatcher::WatchForUnregistration);
  QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &app, [] { QCoreApplication::quit(); });
  // With the bus gone no name can leave any more: without this check the updater would outlive
  // the session. The connection says so only when asked.
  QTimer busCheck;
  QObject::connect(&busCheck, &QTimer::timeout, &app, [&bus] {
    if (!bus.isConnected())
      QCoreApplication::quit();
  });
  busCheck.start(500);
  // The program may have gone between the first look and the watch.
  if (!bus.interface()->isServiceRegistered(program).value())
    return 0;
  return app.exec();
}

#include "main.moc"
