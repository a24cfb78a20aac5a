#include "SubscriberIdentity.h"

#include "SimulatedModem.h"

namespace SubscriberIdentity {

void pushImsi(SimulatedModem &modem) {
  modem.send(kMajor, kCimi, 1, 0, Payload::field(modem.sim().imsi(), kImsiWidth));
}

void setImsi(SimulatedModem &modem, const QString &imsi) {
  if (imsi.isEmpty()) {
    modem.send(kMajor, kCimi, 1, UIMsg::kResultFailure, Payload::field(QString(), kImsiWidth));
    return;
  }
  modem.setImsi(imsi);
  pushImsi(modem);
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kCimi, [&modem](const UIMsg &) { pushImsi(modem); });
  modem.onSimReady([&modem] { pushImsi(modem); });
}

} // namespace SubscriberIdentity
