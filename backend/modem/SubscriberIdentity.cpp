#include "SubscriberIdentity.h"

#include "SimulatedModem.h"

namespace SubscriberIdentity {

void pushImsi(SimulatedModem &modem) {
  modem.send(kMajor, kCimi, 1, 0, Payload::field(modem.sim().imsi(), kImsiWidth));
}

QString homeMcc(const SimulatedModem &modem) {
  return modem.sim().imsi().left(3);
}

QString homeMnc(const SimulatedModem &modem) {
  const QVariantMap sim = modem.scenario().value(QStringLiteral("SIM")).toMap();
  const int len = sim.value(QStringLiteral("MNCLength"), 2).toInt() == 3 ? 3 : 2;
  return modem.sim().imsi().mid(3, len);
}

void pushHomeMcc(SimulatedModem &modem) {
  const QString mcc = homeMcc(modem);
  bool numeric = false;
  const uint value = mcc.toUInt(&numeric);
  modem.send(kMajor, kHomeMcc, 1, numeric && mcc.size() == 3 ? 0 : UIMsg::kResultFailure,
             Payload::u32(numeric ? value : 0));
}

void pushMccMnc(SimulatedModem &modem) {
  const QString mcc = homeMcc(modem);
  modem.send(kMajor, kMccMnc, 1, mcc.size() == 3 ? 0 : UIMsg::kResultFailure,
             Payload::field(mcc, kMccMncWidth) + Payload::field(homeMnc(modem), kMccMncWidth));
}

void pushHomeNetwork(SimulatedModem &modem) {
  pushHomeMcc(modem);
  // The MCC/MNC reply chooses a connection profile; only a scenario that wants it gets it unasked.
  if (modem.scenario().value(QStringLiteral("SIM")).toMap().value(QStringLiteral("ReportMccMnc")).toBool())
    pushMccMnc(modem);
}

void setImsi(SimulatedModem &modem, const QString &imsi) {
  if (imsi.isEmpty()) {
    modem.send(kMajor, kCimi, 1, UIMsg::kResultFailure, Payload::field(QString(), kImsiWidth));
    return;
  }
  modem.setImsi(imsi);
  pushImsi(modem);
  pushHomeNetwork(modem);
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kCimi, [&modem](const UIMsg &) { pushImsi(modem); });
  modem.on(kMajor, kHomeMcc, [&modem](const UIMsg &) { pushHomeMcc(modem); });
  modem.on(kMajor, kMccMnc, [&modem](const UIMsg &) { pushMccMnc(modem); });
  modem.onSimReady([&modem] {
    pushImsi(modem);
    pushHomeNetwork(modem);
  });
}

} // namespace SubscriberIdentity
