#include "SimulatedModem.h"

#include "CallServices.h"
#include "DataSession.h"
#include "DeviceLock.h"
#include "SimUpdate.h"
#include "DialParameters.h"
#include "GpsReceiver.h"
#include "NetworkIdentity.h"
#include "NetworkRegistration.h"
#include "NetworkSelection.h"
#include "Phonebook.h"
#include "Router.h"
#include "SignalAndDevice.h"
#include "SimServices.h"
#include "SimToolkit.h"
#include "SubscriberIdentity.h"
#include "SmsArrivals.h"
#include "SmsSending.h"
#include "SmsSettings.h"
#include "SmsStore.h"
#include "VoiceCalls.h"
#include "BackupRestore.h"

#include <QtEndian>

namespace Payload {
QByteArray field(const QString &text, int width) {
  QByteArray bytes = text.toLatin1().left(width - 1);
  bytes.append(QByteArray(width - bytes.size(), '\0'));
  return bytes;
}

QByteArray u32(quint32 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(value, reinterpret_cast<uchar *>(b.data()));
  return b;
}

QString text(const UIMsg &msg, int offset, int width) {
  if (offset < 0 || width <= 0 || offset >= msg.dataLength)
    return {};
  const int end = std::min(offset + width, int(msg.dataLength));
  const char *begin = reinterpret_cast<const char *>(msg.data.data()) + offset;
  const int len = int(std::find(begin, begin + (end - offset), '\0') - begin);
  return QString::fromLatin1(begin, len);
}

quint32 u32At(const UIMsg &msg, int offset) {
  if (offset < 0 || offset + 4 > msg.dataLength)
    return 0;
  return qFromLittleEndian<quint32>(msg.data.data() + offset);
}
} // namespace Payload

namespace {
constexpr uint8_t kFail = UIMsg::kResultFailure;
constexpr uint8_t kPinNeeded = 1; // neither success nor failure: "a code is expected"
constexpr int kSettingModule = 3; // the settings window's requests
} // namespace

SimulatedModem::SimulatedModem(QVariantMap scenario, QObject *parent)
    : Modem(parent), initialScenario_(std::move(scenario)) {
  registerHandlers();
  // A device registers before it names the network it registered on: the registration's pushes
  // go first, so the operator name finds a serving domain when it arrives.
  SubscriberIdentity::install(*this);
  NetworkRegistration::install(*this);
  NetworkIdentity::install(*this);
  SignalAndDevice::install(*this);
  DialParameters::install(*this);
  DataSession::install(*this);
  SmsStore::install(*this);
  SmsSending::install(*this);
  SmsArrivals::install(*this);
  Phonebook::install(*this);
  VoiceCalls::install(*this);
  Router::install(*this);
  SimServices::install(*this);
  SimToolkit::install(*this);
  GpsReceiver::install(*this);
  DeviceLock::install(*this);
  SmsSettings::install(*this);
  SimUpdate::install(*this);
  NetworkSelection::install(*this);
  CallServices::install(*this);
  BackupRestore::install(*this);
  reset();
}

void SimulatedModem::reset() {
  scenario_ = initialScenario_;
  plugged_ = scenario_.value(QStringLiteral("DevicePlugged"), true).toBool();
  sim_ = SimCard::fromScenario(scenario_.value(QStringLiteral("SIM")).toMap());
}

UIMsg SimulatedModem::makePackage(uint16_t major, uint16_t minor, int type, uint8_t result, const QByteArray &data,
                                  int module) {
  UIMsg m;
  m.moduleId = module;
  m.majorId = major;
  m.minorId = minor;
  m.type = type;
  m.result = result;
  m.setPayload(data.left(UIMsg::kDataSize));
  return m;
}

void SimulatedModem::send(uint16_t major, uint16_t minor, int type, uint8_t result, const QByteArray &data,
                          int module) {
  emit packageOut(makePackage(major, minor, type, result, data, module));
}

void SimulatedModem::on(uint16_t major, uint16_t minor, Handler handler) {
  handlers_.insert(UIMsg::makeID(major, minor), std::move(handler));
}

void SimulatedModem::handle(const UIMsg &request) {
  const auto it = handlers_.constFind(UIMsg::makeID(request.majorId, request.minorId));
  if (it != handlers_.cend())
    (*it)(request);
}

void SimulatedModem::programAppeared() {
  programSeen_ = true;
  send(SimMsg::kHandshakeMajor, SimMsg::kHandshakeMinor, 0, 0, {}, 0);
  if (plugged_)
    announceDevice();
  else
    sendDeviceStatus();
}

void SimulatedModem::plug() {
  plugged_ = true;
  sim_.powerCycle();
  announceDevice();
}

void SimulatedModem::unplug() {
  plugged_ = false;
  sendDeviceStatus();
}

void SimulatedModem::insertSim(const QVariantMap &sim) {
  scenario_.insert(QStringLiteral("SIM"), sim);
  unplug();
  sim_ = SimCard::fromScenario(sim);
  plugged_ = true;
  announceDevice();
}

void SimulatedModem::loadScenario(const QVariantMap &scenario) {
  initialScenario_ = scenario;
  reset();
  if (programSeen_)
    programAppeared();
}

QString SimulatedModem::imei() const {
  return scenario_.value(QStringLiteral("IMEI"), QStringLiteral("350000000000001")).toString();
}

void SimulatedModem::sendDeviceStatus() {
  send(SimMsg::kDeviceStatusMajor, SimMsg::kDeviceStatusMinor, 0, plugged_ ? 0 : kFail, {}, 0);
}

// What a device says when it comes up: it is there, its IMEI, then its SIM.
void SimulatedModem::announceDevice() {
  sendDeviceStatus();
  send(5, 23, 1, 0, Payload::field(imei(), 36));
  for (const auto &hook : deviceAnnouncedHooks_)
    hook();
  reportSim();
}

void SimulatedModem::reportSim() {
  switch (sim_.state()) {
  case SimCard::State::Absent:
    send(6, 33, 0, kFail, Payload::u32(0xFFFFFFFFu));
    return;
  case SimCard::State::Invalid:
    send(4, 20, 1, 0);
    return;
  case SimCard::State::Ready:
    send(6, 33, 0, 0, Payload::u32(sim_.is3G() ? 1 : 0));
    for (const auto &hook : simPresentHooks_)
      hook();
    sendPinLockStatus();
    simBecameReady();
    return;
  case SimCard::State::PinRequired:
  case SimCard::State::PukRequired:
    send(6, 33, 0, 0, Payload::u32(sim_.is3G() ? 1 : 0));
    for (const auto &hook : simPresentHooks_)
      hook();
    sendPinLockStatus();
    // A code is expected: the program enters its PIN/PUK phase, then learns the tries.
    send(4, 10, 0, kPinNeeded);
    sendTries();
    return;
  }
}

void SimulatedModem::sendTries(int module) {
  send(4, 8, 1, 0, Payload::u32(quint32(sim_.pinTries())) + Payload::u32(quint32(sim_.pukTries())), module);
}

void SimulatedModem::sendPinLockStatus() {
  send(4, 13, 1, 0, Payload::u32(sim_.pinLockEnabled() ? 1 : 0));
}

void SimulatedModem::simBecameReady() {
  if (!sim_.savedPin().isEmpty())
    send(4, 19, 1, 0, Payload::field(sim_.savedPin(), 10));
  send(4, 9, 0, 0);
  for (const auto &hook : simReadyHooks_)
    hook();
}

void SimulatedModem::registerHandlers() {
  // Handshake and work state.
  on(1, 0, [this](const UIMsg &) {
    send(1, 0, 0, 0, {}, 0);
    if (plugged_)
      announceDevice();
    else
      sendDeviceStatus();
  });
  on(3, 3, [this](const UIMsg &) { send(3, 3); });
  on(3, 4, [this](const UIMsg &) { send(3, 4); });
  on(5, 23, [this](const UIMsg &) { send(5, 23, 1, 0, Payload::field(imei(), 36)); });

  // PIN and PUK.
  // The settings window (module 3) hears its answers under its own module, with type 1.
  on(4, 8, [this](const UIMsg &m) { sendTries(m.moduleId == kSettingModule ? kSettingModule : 1); });
  on(4, 10, [this](const UIMsg &m) {
    if (m.type != 1)
      return;
    if (sim_.verifyPin(Payload::text(m, 0, 10))) {
      send(4, 10, 0, 0);
      send(4, 10, 1, 0);
      simBecameReady();
    } else {
      send(4, 10, 0, kFail);
      sendTries();
    }
  });
  on(4, 11, [this](const UIMsg &m) {
    const QString newPin = Payload::text(m, 0, 10);
    const QString puk = Payload::text(m, 10, 10);
    const bool ok = sim_.unblock(puk, newPin);
    if (m.moduleId == kSettingModule) {
      send(4, 11, 1, ok ? 0 : kFail, {}, kSettingModule);
      if (ok)
        sendPinLockStatus();
      else
        sendTries(kSettingModule);
      return;
    }
    if (ok) {
      send(4, 11, 0, 0);
      send(4, 11, 1, 0);
      simBecameReady();
    } else {
      // A wrong PUK is reported the way a wrong PIN is; the program knows which it asked for.
      send(4, 10, 0, kFail);
      sendTries();
    }
  });
  on(4, 12, [this](const UIMsg &m) {
    const bool ok = sim_.changePin(Payload::text(m, 0, 10), Payload::text(m, 10, 10));
    const bool settings = m.moduleId == kSettingModule;
    send(4, 12, settings ? 1 : 0, ok ? 0 : kFail, {}, settings ? kSettingModule : 1);
    // The settings window learns the tries after every change (its automatic-validation step
    // continues from them).
    if (!ok || settings)
      sendTries(settings ? kSettingModule : 1);
  });
  on(4, 13, [this](const UIMsg &) { sendPinLockStatus(); });
  on(4, 14, [this](const UIMsg &m) {
    const bool ok = sim_.setPinLock(Payload::text(m, 0, 12), Payload::u32At(m, 12) != 0);
    const bool settings = m.moduleId == kSettingModule;
    send(4, 14, settings ? 1 : 0, ok ? 0 : kFail, {}, settings ? kSettingModule : 1);
    if (ok)
      sendPinLockStatus();
    else
      sendTries(settings ? kSettingModule : 1);
  });
  on(4, 15, [](const UIMsg &) {});
  on(4, 16, [](const UIMsg &) {});
  on(4, 17, [this](const UIMsg &m) {
    sim_.savePin(Payload::text(m, 0, 10));
    const bool settings = m.moduleId == kSettingModule;
    send(4, 17, settings ? 1 : 0, 0, {}, settings ? kSettingModule : 1);
  });
  on(4, 18, [this](const UIMsg &m) {
    scenario_.insert(QStringLiteral("PinAutoValidation"), Payload::u32At(m, 0) == 1);
    const bool settings = m.moduleId == kSettingModule;
    send(4, 18, settings ? 1 : 0, 0, {}, settings ? kSettingModule : 1);
    send(4, 16, 1, 0, Payload::u32(Payload::u32At(m, 0) == 1 ? 1 : 0) + Payload::u32(1));
  });
}
