#include "SimulatedModem.h"

SimulatedModem::SimulatedModem(QVariantMap scenario, QObject *parent)
    : Modem(parent), initialScenario_(std::move(scenario)) {
  reset();
}

void SimulatedModem::reset() {
  scenario_ = initialScenario_;
  plugged_ = scenario_.value(QStringLiteral("DevicePlugged"), true).toBool();
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

void SimulatedModem::programAppeared() {
  emit packageOut(makePackage(SimMsg::kHandshakeMajor, SimMsg::kHandshakeMinor));
  sendDeviceStatus();
}

void SimulatedModem::handle(const UIMsg &request) {
  if (request.majorId == SimMsg::kHandshakeMajor && request.minorId == SimMsg::kHandshakeMinor) {
    emit packageOut(makePackage(SimMsg::kHandshakeMajor, SimMsg::kHandshakeMinor));
    sendDeviceStatus();
  }
}

void SimulatedModem::plug() {
  plugged_ = true;
  sendDeviceStatus();
}

void SimulatedModem::unplug() {
  plugged_ = false;
  sendDeviceStatus();
}

void SimulatedModem::sendDeviceStatus() {
  emit packageOut(makePackage(SimMsg::kDeviceStatusMajor, SimMsg::kDeviceStatusMinor, 0,
                              plugged_ ? UIMsg::kResultSuccess : UIMsg::kResultFailure));
}
