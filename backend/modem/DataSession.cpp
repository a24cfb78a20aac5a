#include "DataSession.h"

#include "DataSessionLayout.h"
#include "DialParameters.h"
#include "SimulatedModem.h"

using namespace DataSessionLayout;

namespace {
const QString kData = QStringLiteral("Data");
constexpr int kTickMs = 1000;

QVariantMap &editableScenario(SimulatedModem &modem) {
  return const_cast<QVariantMap &>(modem.scenario());
}

void editData(SimulatedModem &modem, const QString &key, const QVariant &value) {
  QVariantMap &scenario = editableScenario(modem);
  QVariantMap data = scenario.value(kData).toMap();
  data.insert(key, value);
  scenario.insert(kData, data);
}
} // namespace

DataSession::DataSession(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("DataSession"));
  connect(&stepTimer_, &QTimer::timeout, this, &DataSession::step);
  connect(&tickTimer_, &QTimer::timeout, this, &DataSession::tick);
}

DataSession *DataSession::install(SimulatedModem &modem) {
  auto *self = new DataSession(modem);
  self->install();
  return self;
}

DataSession *DataSession::of(SimulatedModem &modem) {
  return modem.findChild<DataSession *>(QStringLiteral("DataSession"), Qt::FindDirectChildrenOnly);
}

QVariantMap DataSession::data() const {
  return modem_.scenario().value(kData).toMap();
}

int DataSession::stepMs() const {
  return std::clamp(data().value(QStringLiteral("StepMs"), 200).toInt(), 1, 60000);
}

bool DataSession::psRegistered() const {
  const QVariantMap net = modem_.scenario().value(QStringLiteral("Network")).toMap();
  if (!net.value(QStringLiteral("Registered"), true).toBool())
    return false;
  const QString domain = net.value(QStringLiteral("Domain"), QStringLiteral("CS_PS")).toString();
  return domain == QLatin1String("CS_PS") || domain == QLatin1String("PS_ONLY");
}

QString DataSession::state() const {
  if (road_ == Road::None)
    return QStringLiteral("idle");
  if (disconnecting_)
    return QStringLiteral("disconnecting");
  return connected_ ? QStringLiteral("connected") : QStringLiteral("connecting");
}

QString DataSession::address() const {
  if (!connected_)
    return {};
  return data().value(QStringLiteral("Address"), QStringLiteral("10.64.1.23")).toString();
}

bool DataSession::connectAllowed() const {
  if (!psRegistered() || !modem_.isPlugged())
    return false;
  const QString outcome = data().value(QStringLiteral("Outcomes")).toMap().value(apn_).toString();
  if (outcome == QLatin1String("fail"))
    return false;
  if (outcome == QLatin1String("account")) {
    const QVariantMap account = data().value(QStringLiteral("Accounts")).toMap().value(apn_).toMap();
    const DialParameters *params = DialParameters::of(modem_);
    if (!params)
      return false;
    return params->last().user == account.value(QStringLiteral("User")).toString() &&
           params->last().password == account.value(QStringLiteral("Password")).toString();
  }
  return true;
}

void DataSession::install() {
  modem_.on(kDialMajor, kDialConnect, [this](const UIMsg &) { startDialUp(); });
  modem_.on(kDialMajor, kDialDisconnect, [this](const UIMsg &) { stopDialUp(); });
  modem_.on(kDialMajor, kDialStatus, [this](const UIMsg &m) { sendDialStatus(m); });
  modem_.on(kDialMajor, kDialPppOption, [this](const UIMsg &m) {
    const quint32 address = road_ == Road::DialUp ? addressToU32(this->address()) : 0;
    modem_.send(kDialMajor, kDialPppOption, 1, 0, Payload::u32(address), m.moduleId);
  });
  modem_.on(kDialMajor, kNdisConnect, [this](const UIMsg &) { startNdis(); });
  modem_.on(kDialMajor, kNdisDisconnect, [this](const UIMsg &) { stopNdis(); });
  modem_.on(kDialMajor, kNdisIsConnected, [this](const UIMsg &m) {
    const bool up = road_ == Road::Ndis && connected_;
    modem_.send(kDialMajor, kNdisIsConnected, 1, up ? 0 : UIMsg::kResultFailure, {}, m.moduleId);
  });
  modem_.on(kDialMajor, kSetNetworkMode, [this](const UIMsg &m) {
    modem_.send(kDialMajor, kSetNetworkModeResult, 1, psRegistered() ? 0 : UIMsg::kResultFailure, {}, m.moduleId);
  });
  modem_.on(kConfigMajor, kSetFreqLock, [this](const UIMsg &m) {
    editData(modem_, QStringLiteral("FreqLock"), int(Payload::u32At(m, 4)));
    modem_.send(kConfigMajor, kSetFreqLock, 1, 0, {}, m.moduleId);
  });
  modem_.on(kConfigMajor, kReadFreqLock, [this](const UIMsg &m) {
    modem_.send(kConfigMajor, kFreqLockResult, 1, 0, Payload::u32(quint32(data().value("FreqLock").toInt())),
                m.moduleId);
  });
}

void DataSession::startDialUp() {
  if (road_ != Road::None)
    return;
  road_ = Road::DialUp;
  const DialParameters *params = DialParameters::of(modem_);
  apn_ = params ? params->last().apn : QString();
  sent_ = received_ = 0;
  connected_ = disconnecting_ = false;
  steps_ = {kPppInitializing, kPppConnectingLink, kPppNegotiatingLink, kPppAuthenticating};
  steps_ << (connectAllowed() ? QList<int>{kPppNegotiatingNetwork, kPppConnected} : QList<int>{kPppDisconnected});
  stepTimer_.start(stepMs());
  step();
}

void DataSession::stopDialUp() {
  if (road_ != Road::DialUp || disconnecting_)
    return;
  disconnecting_ = true;
  steps_ = {kPppTerminating, kPppDisconnectingLink, kPppDisconnected};
  stepTimer_.start(stepMs());
  step();
}

void DataSession::startNdis() {
  if (road_ != Road::None)
    return;
  road_ = Road::Ndis;
  const DialParameters *params = DialParameters::of(modem_);
  apn_ = params ? params->last().apn : QString();
  sent_ = received_ = 0;
  connected_ = disconnecting_ = false;
  sendNdisState(kNdisConnecting);
  steps_ = {connectAllowed() ? int(kNdisConnected) : int(kNdisFailed)};
  stepTimer_.start(stepMs());
}

void DataSession::stopNdis() {
  if (road_ != Road::Ndis)
    return;
  goDown();
}

void DataSession::step() {
  if (steps_.isEmpty()) {
    stepTimer_.stop();
    return;
  }
  const int next = steps_.takeFirst();
  if (steps_.isEmpty())
    stepTimer_.stop();
  if (road_ == Road::Ndis) {
    if (next == int(kNdisConnected)) {
      connected_ = true;
      connectedSince_.start();
      lastTick_.start();
      ticks_ = 0;
      sendNdisState(kNdisConnected);
      tickTimer_.start(kTickMs);
    } else {
      sendNdisState(kNdisFailed);
      road_ = Road::None;
    }
    return;
  }
  pppState_ = next;
  if (next == kPppConnected) {
    connected_ = true;
    connectedSince_.start();
    lastTick_.start();
    tickTimer_.start(std::min(kTickMs, stepMs()));
  } else if (next == kPppDisconnected) {
    tickTimer_.stop();
    road_ = Road::None;
    connected_ = disconnecting_ = false;
  }
}

void DataSession::tick() {
  if (!modem_.isPlugged() || !psRegistered()) {
    goDown();
    return;
  }
  if (!connected_ || disconnecting_)
    return;
  const double seconds = lastTick_.restart() / 1000.0;
  sent_ += data().value(QStringLiteral("UpRate"), 2000).toDouble() * seconds;
  received_ += data().value(QStringLiteral("DownRate"), 8000).toDouble() * seconds;
  if (road_ == Road::Ndis) {
    Status s;
    s.address = address();
    s.sent = float(sent_);
    s.received = float(received_);
    s.upSpeed = float(data().value(QStringLiteral("UpRate"), 2000).toDouble());
    s.downSpeed = float(data().value(QStringLiteral("DownRate"), 8000).toDouble());
    modem_.send(kDialMajor, kNdisTransfer, 1, 0, ndisTransfer(s), kModule);
  }
}

void DataSession::goDown() {
  const Road road = road_;
  stepTimer_.stop();
  tickTimer_.stop();
  steps_.clear();
  road_ = Road::None;
  connected_ = disconnecting_ = false;
  pppState_ = kPppDisconnected;
  if (road == Road::Ndis && modem_.isPlugged())
    sendNdisState(kNdisDisconnected);
}

void DataSession::drop() {
  goDown();
}

void DataSession::sendNdisState(uint state) {
  modem_.send(kDialMajor, kNdisState, 1, 0, Payload::u32(state), kModule);
}

void DataSession::sendDialStatus(const UIMsg &request) {
  Status s;
  s.pppState = road_ == Road::DialUp ? pppState_ : int(kPppDisconnected);
  if (road_ == Road::DialUp && connected_) {
    s.address = address();
    s.sent = float(sent_);
    s.received = float(received_);
    s.connectTime = double(connectedSince_.elapsed() / 1000);
  }
  const bool newLayout = data().value(QStringLiteral("NewDial"), false).toBool();
  modem_.send(kDialMajor, kDialStatus, 1, 0, newLayout ? pppStatus(s) : oldPppStatus(s), request.moduleId);
}

void DataSession::setRates(uint up, uint down) {
  tick(); // what ran at the old rates is counted at them
  editData(modem_, QStringLiteral("UpRate"), up);
  editData(modem_, QStringLiteral("DownRate"), down);
}

bool DataSession::setCounters(quint64 sent, quint64 received) {
  tick();
  if (!connected_ || disconnecting_)
    return false;
  sent_ = double(sent);
  received_ = double(received);
  return true;
}

void DataSession::setOutcome(const QString &apn, const QString &outcome) {
  QVariantMap outcomes = data().value(QStringLiteral("Outcomes")).toMap();
  outcomes.insert(apn, outcome);
  editData(modem_, QStringLiteral("Outcomes"), outcomes);
}

bool DataSession::setStatusLayout(const QString &layout) {
  if (layout != QLatin1String("old") && layout != QLatin1String("new"))
    return false;
  editData(modem_, QStringLiteral("NewDial"), layout == QLatin1String("new"));
  return true;
}
