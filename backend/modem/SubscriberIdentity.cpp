#include "SubscriberIdentity.h"

#include "SimulatedModem.h"

namespace SubscriberIdentity {

void pushImsi(SimulatedModem &modem) {
  modem.send(kMajor, kCimi, 1, 0, Payload::field(modem.sim().imsi(), kImsiWidth));
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kCimi, [&modem](const UIMsg &) { pushImsi(modem); });
  modem.onSimReady([&modem] { pushImsi(modem); });
}

} // namespace SubscriberIdentity
