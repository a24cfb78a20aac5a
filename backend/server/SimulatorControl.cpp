#include "SimulatorControl.h"

#include "BackendServer.h"
#include "BusNames.h"
#include "NetworkRegistration.h"
#include "Router.h"
#include "SignalAndDevice.h"
#include "SimulatedModem.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QFileInfo>

#include "Bundle.h"
#include "Plist.h"

namespace {
// A scenario by name from the bundle, or by path.
bool readScenario(const QString &nameOrPath, QVariantMap *out) {
  QString path = nameOrPath;
  if (!QFileInfo(path).isAbsolute())
    path = Bundle::mainBundle().pathForResource(QStringLiteral("Scenarios/") + nameOrPath, QStringLiteral("plist"));
  return !path.isEmpty() && Plist::readDictionary(path, out);
}
} // namespace

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

bool SimulatorControl::SetSim(const QString &scenario) {
  QVariantMap dict;
  if (!readScenario(scenario, &dict))
    return false;
  modem_->insertSim(dict.value(QStringLiteral("SIM")).toMap());
  return true;
}

bool SimulatorControl::LoadScenario(const QString &scenario) {
  QVariantMap dict;
  if (!readScenario(scenario, &dict))
    return false;
  modem_->loadScenario(dict);
  return true;
}

QString SimulatorControl::SimState(int &pinTries, int &pukTries) {
  const SimCard &sim = modem_->sim();
  pinTries = sim.pinTries();
  pukTries = sim.pukTries();
  switch (sim.state()) {
  case SimCard::State::Ready:
    return QStringLiteral("Ready");
  case SimCard::State::PinRequired:
    return QStringLiteral("PIN");
  case SimCard::State::PukRequired:
    return QStringLiteral("PUK");
  case SimCard::State::Absent:
    return QStringLiteral("Absent");
  case SimCard::State::Invalid:
    return QStringLiteral("Invalid");
  }
  return {};
}

bool SimulatorControl::SetSignal(int level) {
  SignalAndDevice *signal = SignalAndDevice::of(*modem_);
  return signal && signal->setLevel(level);
}

bool SimulatorControl::SetSignalFamily(const QString &family) {
  SignalAndDevice *signal = SignalAndDevice::of(*modem_);
  return signal && signal->setFamily(family);
}

bool SimulatorControl::SetSignalReport(const QString &family, const QList<int> &words) {
  SignalAndDevice *signal = SignalAndDevice::of(*modem_);
  return signal && signal->setReport(family, words);
}

QString SimulatorControl::Signal(int &level) {
  SignalAndDevice *signal = SignalAndDevice::of(*modem_);
  level = signal ? signal->level() : 0;
  return signal ? signal->family() : QString();
}

bool SimulatorControl::SetDeviceMode(int mode) {
  SignalAndDevice *signal = SignalAndDevice::of(*modem_);
  return signal && signal->setDeviceMode(mode);
}

void SimulatorControl::SetRegistration(const QString &domain) {
  NetworkRegistration::setRegistration(*modem_, domain);
}

void SimulatorControl::SetNetwork(const QString &operatorName, const QString &mcc, const QString &mnc,
                                  const QString &technology) {
  NetworkRegistration::setNetwork(*modem_, operatorName, mcc, mnc, technology);
}

void SimulatorControl::SetRoaming(bool roaming) {
  NetworkRegistration::setRoaming(*modem_, roaming);
}

void SimulatorControl::SetCell(const QString &lac, const QString &cellId) {
  NetworkRegistration::setCell(*modem_, lac, cellId);
}

bool SimulatorControl::RouterPushReads() {
  Router *router = Router::of(*modem_);
  return router && router->pushReads();
}

QString SimulatorControl::RouterState() {
  Router *router = Router::of(*modem_);
  const QVariantMap state = router ? router->state() : QVariantMap();
  return state.isEmpty() ? QString() : QString::fromUtf8(Plist::toXml(state));
}

void SimulatorControl::RouterFailNext(int count) {
  if (Router *router = Router::of(*modem_))
    router->failNext(count);
}
