#include "SimulatorControl.h"

#include <QPointer>

#include "BackendServer.h"
#include "BusNames.h"
#include "CallServices.h"
#include "DataSession.h"
#include "DeviceLock.h"
#include "DialParameters.h"
#include "GpsReceiver.h"
#include "NetworkRegistration.h"
#include "NetworkSelection.h"
#include "OperatorServer.h"
#include "Phonebook.h"
#include "Plist.h"
#include "Router.h"
#include "Scenario.h"
#include "SignalAndDevice.h"
#include "SimServices.h"
#include "SimToolkit.h"
#include "SimUpdate.h"
#include "SimulatedModem.h"
#include "SmsArrivals.h"
#include "SmsSending.h"
#include "SmsSettings.h"
#include "SmsStore.h"
#include "SubscriberIdentity.h"
#include "VoiceCalls.h"
#include "VoiceDataService.h"

#include <QDBusConnection>
#include <QDBusMetaType>

namespace {
bool readScenario(const QString &nameOrPath, QVariantMap *out) {
  return Scenario::read(nameOrPath, out);
}
} // namespace

SimulatorControl::SimulatorControl(SimulatedModem *modem, BackendServer *server, QObject *parent)
    : QObject(parent), modem_(modem), server_(server) {
  qDBusRegisterMetaType<QByteArrayList>();
  qDBusRegisterMetaType<SimCaller>();
  qDBusRegisterMetaType<QList<SimCaller>>();
  qDBusRegisterMetaType<SimSentSms>();
  qDBusRegisterMetaType<QList<SimSentSms>>();
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

QString SimulatorControl::DialParams(QString &number, QString &user, QString &password, int &connectType, int &authMode,
                                     int &mtu) {
  DialParameters *area = DialParameters::of(*modem_);
  const DialParameters::Record r = area ? area->last() : DialParameters::Record{};
  number = r.number;
  user = r.user;
  password = r.password;
  connectType = r.connectType;
  authMode = r.authMode;
  mtu = r.mtu;
  return r.apn;
}

QString SimulatorControl::SmsStore(int position) {
  ::SmsStore *store = ::SmsStore::of(*modem_);
  const QVariantMap dict = store ? store->store(position) : QVariantMap();
  return dict.isEmpty() ? QString() : QString::fromUtf8(Plist::toXml(dict));
}

bool SimulatorControl::SetSmsStore(int position, const QString &listFile) {
  ::SmsStore *store = ::SmsStore::of(*modem_);
  QVariant root;
  const bool read = listFile.trimmed().startsWith(QLatin1Char('<')) ? Plist::fromData(listFile.toUtf8(), &root)
                                                                    : Plist::readFile(listFile, &root);
  if (!store || !read || root.typeId() != QMetaType::QVariantMap)
    return false;
  return store->setStore(position, root.toMap());
}

bool SimulatorControl::SetSmsCapacity(int position, int capacity) {
  ::SmsStore *store = ::SmsStore::of(*modem_);
  return store && store->setCapacity(position, capacity);
}

int SimulatorControl::DeliverSms(const QString &from, const QString &text, int position) {
  SmsArrivals *arrivals = SmsArrivals::of(*modem_);
  return arrivals ? arrivals->deliver(from, text, position) : 0;
}

int SimulatorControl::DeliverSmsParts(const QString &from, const QString &text, const QList<int> &order) {
  SmsArrivals *arrivals = SmsArrivals::of(*modem_);
  return arrivals ? arrivals->deliver(from, text, -1, order) : 0;
}

void SimulatorControl::DeliverClass0(const QString &from, const QString &text) {
  if (SmsArrivals *arrivals = SmsArrivals::of(*modem_))
    arrivals->deliverClass0(from, text);
}

void SimulatorControl::DeliverReport(const QString &to, int result) {
  if (SmsArrivals *arrivals = SmsArrivals::of(*modem_))
    arrivals->deliverReport(to, result);
}

void SimulatorControl::Broadcast(const QString &from, const QString &text) {
  if (SmsArrivals *arrivals = SmsArrivals::of(*modem_))
    arrivals->broadcast(from, text);
}

void SimulatorControl::DeliverRecharge(const QString &from, const QString &text) {
  if (SmsArrivals *arrivals = SmsArrivals::of(*modem_))
    arrivals->deliverRecharge(from, text);
}

void SimulatorControl::PushMms(const QByteArray &data) {
  if (SmsArrivals *arrivals = SmsArrivals::of(*modem_))
    arrivals->pushMms(data);
}

bool SimulatorControl::SetReceivePosition(int position) {
  ::SmsStore *store = ::SmsStore::of(*modem_);
  return store && store->setReceivePosition(position);
}

void SimulatorControl::FailSmsRequests(int minor, int count) {
  if (::SmsStore *store = ::SmsStore::of(*modem_))
    store->failRequests(minor, count);
}

void SimulatorControl::DeliverSmsAfterRequests(int minor, int count, const QString &from, const QString &text,
                                               int position) {
  ::SmsStore *store = ::SmsStore::of(*modem_);
  SmsArrivals *arrivals = SmsArrivals::of(*modem_);
  if (!store || !arrivals)
    return;
  QPointer<SmsArrivals> target(arrivals);
  store->afterRequests(minor, count, [target, from, text, position] {
    if (target)
      target->deliver(from, text, position);
  });
}

int SimulatorControl::StoreLocation() {
  ::SmsSettings *settings = ::SmsSettings::of(*modem_);
  return settings ? settings->state().value(QStringLiteral("Position"), -1).toInt() : -1;
}

bool SimulatorControl::SetContacts(const QString &store, const QString &plist) {
  Phonebook *book = Phonebook::of(*modem_);
  QVariant value;
  if (!book || !Plist::fromData(plist.toUtf8(), &value) || value.typeId() != QMetaType::QVariantMap)
    return false;
  return book->setContacts(Phonebook::storeCode(store), value.toMap());
}

QString SimulatorControl::Contacts(const QString &store) {
  Phonebook *book = Phonebook::of(*modem_);
  const int code = Phonebook::storeCode(store);
  if (!book || code == 0)
    return {};
  return QString::fromUtf8(Plist::toXml(book->contacts(code)));
}

int SimulatorControl::ActiveMemory() {
  Phonebook *book = Phonebook::of(*modem_);
  return book ? book->activeMemory() : 0;
}

void SimulatorControl::FailPhonebookRequests(int count) {
  if (Phonebook *book = Phonebook::of(*modem_))
    book->failRequests(count);
}

QDBusArgument &operator<<(QDBusArgument &arg, const SimCaller &caller) {
  arg.beginStructure();
  arg << caller.id << caller.direction << caller.state << caller.number;
  arg.endStructure();
  return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, SimCaller &caller) {
  arg.beginStructure();
  arg >> caller.id >> caller.direction >> caller.state >> caller.number;
  arg.endStructure();
  return arg;
}

bool SimulatorControl::Ring(const QString &number) {
  VoiceCalls *voice = VoiceCalls::of(*modem_);
  return voice && voice->ring(number);
}

bool SimulatorControl::RemoteAnswer() {
  VoiceCalls *voice = VoiceCalls::of(*modem_);
  return voice && voice->remoteAnswer();
}

bool SimulatorControl::RemoteHangup(int id) {
  VoiceCalls *voice = VoiceCalls::of(*modem_);
  return voice && voice->remoteHangup(id);
}

QList<SimCaller> SimulatorControl::Callers() {
  QList<SimCaller> out;
  if (VoiceCalls *voice = VoiceCalls::of(*modem_))
    for (const VoiceCalls::Caller &c : voice->callers())
      out.append({c.id, c.direction, c.state, c.number});
  return out;
}

QString SimulatorControl::Dtmf() {
  VoiceCalls *voice = VoiceCalls::of(*modem_);
  return voice ? voice->dtmf() : QString();
}

void SimulatorControl::SetVoiceAvailable(bool available) {
  if (VoiceCalls *voice = VoiceCalls::of(*modem_))
    voice->setVoiceAvailable(available);
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

QDBusArgument &operator<<(QDBusArgument &arg, const SimSentSms &sms) {
  arg.beginStructure();
  arg << sms.number << sms.text;
  arg.endStructure();
  return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, SimSentSms &sms) {
  arg.beginStructure();
  arg >> sms.number >> sms.text;
  arg.endStructure();
  return arg;
}

void SimulatorControl::SetImsi(const QString &imsi) {
  SubscriberIdentity::setImsi(*modem_, imsi);
}

QList<SimSentSms> SimulatorControl::SentMessages() {
  QList<SimSentSms> out;
  if (SmsSending *sending = SmsSending::of(*modem_))
    for (const auto &m : sending->sent())
      out.append({m.first, m.second});
  return out;
}

void SimulatorControl::SetSmsSendResult(bool ok) {
  if (SmsSending *sending = SmsSending::of(*modem_))
    sending->setSendResult(ok);
}

QString SimulatorControl::SentSms() {
  SmsSending *sending = SmsSending::of(*modem_);
  return QString::fromUtf8(Plist::toXml(sending ? sending->sentRequests() : QVariantList()));
}

void SimulatorControl::SetSendFailure(const QString &number, int failedParts) {
  if (SmsSending *sending = SmsSending::of(*modem_))
    sending->setSendFailure(number, failedParts);
}

void SimulatorControl::SetSmsCenter(const QString &number, bool fail) {
  if (SmsSending *sending = SmsSending::of(*modem_))
    sending->setSmsCenter(number, fail);
}

void SimulatorControl::SetDraftSaveResult(bool ok) {
  if (SmsSending *sending = SmsSending::of(*modem_))
    sending->setDraftSaveResult(ok);
}

bool SimulatorControl::UssdPush(const QString &text, int dcs, int interaction) {
  SimServices *services = SimServices::of(*modem_);
  return services && services->ussdPush(text, dcs, interaction);
}

void SimulatorControl::UssdFail(bool on) {
  if (SimServices *services = SimServices::of(*modem_))
    services->setFailRequests(on);
}

bool SimulatorControl::StkPush(const QString &kind, const QString &text, int minimum, int maximum) {
  SimToolkit *toolkit = SimToolkit::of(*modem_);
  return toolkit && toolkit->push(kind, text, minimum, maximum);
}

QString SimulatorControl::StkLastInput() {
  SimToolkit *toolkit = SimToolkit::of(*modem_);
  return toolkit ? toolkit->lastInput() : QString();
}

void SimulatorControl::GpsSetPosition(const QString &latitude, const QString &longitude, const QString &altitude,
                                      const QString &velocity1, const QString &velocity2, const QString &velocity3) {
  GpsReceiver *gps = GpsReceiver::of(*modem_);
  if (!gps)
    return;
  GpsRecord::Position p;
  p.latitude = latitude;
  p.longitude = longitude;
  p.altitude = altitude;
  p.velocity[0] = velocity1;
  p.velocity[1] = velocity2;
  p.velocity[2] = velocity3;
  gps->setPosition(p);
}

void SimulatorControl::GpsFail(bool on) {
  if (GpsReceiver *gps = GpsReceiver::of(*modem_))
    gps->setFailing(on);
}

int SimulatorControl::VoiceStats(int &framesOut) {
  const VoiceDataService *voice = VoiceDataService::instance();
  framesOut = voice ? voice->framesOut() : 0;
  return voice ? voice->framesIn() : 0;
}

void SimulatorControl::SetDeviceLock(bool enabled, const QString &code) {
  if (::DeviceLock *lock = ::DeviceLock::of(*modem_))
    lock->set(enabled, code);
}

bool SimulatorControl::DeviceLock(QString &code) {
  ::DeviceLock *lock = ::DeviceLock::of(*modem_);
  code = lock ? lock->code() : QString();
  return lock && lock->enabled();
}

QString SimulatorControl::SmsSettings() {
  ::SmsSettings *settings = ::SmsSettings::of(*modem_);
  return settings ? QString::fromUtf8(Plist::toXml(settings->state())) : QString();
}

bool SimulatorControl::SimUpdate() {
  ::SimUpdate *update = ::SimUpdate::of(*modem_);
  return update && update->push();
}

bool SimulatorControl::SetNetworkList(const QString &plist) {
  QVariant value;
  if (!Plist::fromData(plist.toUtf8(), &value) || value.typeId() != QMetaType::QVariantList)
    return false;
  ::NetworkSelection::setNetworkList(*modem_, value.toList());
  return true;
}

QString SimulatorControl::NetworkSelection() {
  return QString::fromUtf8(Plist::toXml(::NetworkSelection::state(*modem_)));
}

bool SimulatorControl::SetCallServices(const QString &plist) {
  QVariant value;
  if (!Plist::fromData(plist.toUtf8(), &value) || value.typeId() != QMetaType::QVariantMap)
    return false;
  ::CallServices::setState(*modem_, value.toMap());
  return true;
}

QString SimulatorControl::CallServices() {
  return QString::fromUtf8(Plist::toXml(::CallServices::state(*modem_)));
}

void SimulatorControl::KeepCallServices(bool keep) {
  ::CallServices::setKeep(*modem_, keep);
}

QString SimulatorControl::DataSession(QString &apn, qulonglong &sent, qulonglong &received, QString &address) {
  ::DataSession *session = ::DataSession::of(*modem_);
  if (!session)
    return QStringLiteral("idle");
  apn = session->apn();
  sent = session->sent();
  received = session->received();
  address = session->address();
  return session->state();
}

void SimulatorControl::SetDataRates(uint up, uint down) {
  if (::DataSession *session = ::DataSession::of(*modem_))
    session->setRates(up, down);
}

bool SimulatorControl::SetDataCounters(qulonglong sent, qulonglong received) {
  ::DataSession *session = ::DataSession::of(*modem_);
  return session && session->setCounters(sent, received);
}

void SimulatorControl::DropData() {
  if (::DataSession *session = ::DataSession::of(*modem_))
    session->drop();
}

void SimulatorControl::SetConnectOutcome(const QString &apn, const QString &outcome) {
  if (::DataSession *session = ::DataSession::of(*modem_))
    session->setOutcome(apn, outcome);
}

bool SimulatorControl::SetStatusLayout(const QString &layout) {
  ::DataSession *session = ::DataSession::of(*modem_);
  return session && session->setStatusLayout(layout);
}

QStringList SimulatorControl::OperatorRequests() {
  return operator_ ? operator_->requests() : QStringList();
}

bool SimulatorControl::SetOperatorAnswer(const QString &path, int status, const QString &body, uint delayMs) {
  if (!operator_ || !path.startsWith(QLatin1Char('/')))
    return false;
  operator_->setAnswer(path, status, body.toUtf8(), delayMs);
  return true;
}
