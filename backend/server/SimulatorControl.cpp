#include "SimulatorControl.h"

#include "BackendServer.h"
#include "BusNames.h"
#include "SimulatedModem.h"

#include <QDBusConnection>
#include <QDBusMetaType>

SimulatorControl::SimulatorControl(SimulatedModem *modem, BackendServer *server, QObject *parent)
    : QObject(parent), modem_(modem), server_(server) {
  qDBusRegisterMetaType<QByteArrayList>();
}

bool SimulatorControl::registerOn(QDBusConnection &connection) {
  return connection.registerObject(QLatin1String(BusNames::kSimulatorPath), this,
                                   QDBusConnection::ExportScriptableSlots);
}

void SimulatorControl::Plug() {
  modem_->plug();
}
void SimulatorControl::Unplug() {
  modem_->unplug();
}
bool SimulatorControl::Inject(const QByteArray &bytes) {
  return server_->inject(bytes);
}
QByteArrayList SimulatorControl::Received() {
  return server_->received();
}

void SimulatorControl::Reset() {
  server_->clearReceived();
  modem_->reset();
}
