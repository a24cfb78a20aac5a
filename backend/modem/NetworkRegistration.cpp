#include "NetworkRegistration.h"

#include "NetworkIdentity.h"
#include "SimulatedModem.h"

#include <QtEndian>
#include <cstring>
#include <functional>

namespace NetworkRegistration {

namespace {
constexpr int kNetInfoSize = 180;
const QString kNetwork = QStringLiteral("Network");

QVariantMap network(const QVariantMap &scenario) {
  return scenario.value(kNetwork).toMap();
}

bool isIcera(const QVariantMap &scenario) {
  return scenario.value(QStringLiteral("DeviceType")).toString() == QLatin1String("Icera");
}

bool registered(const QVariantMap &net) {
  return net.value(QStringLiteral("Registered"), true).toBool();
}

// The registered domains, "" when there is no service.
QString domainOf(const QVariantMap &net) {
  if (!registered(net))
    return {};
  const QString domain = net.value(QStringLiteral("Domain"), QStringLiteral("CS_PS")).toString();
  if (domain == QLatin1String("CS_PS") || domain == QLatin1String("CS_ONLY") || domain == QLatin1String("PS_ONLY"))
    return domain;
  return {};
}

QString technologyOf(const QVariantMap &net) {
  return net.value(QStringLiteral("Technology"), QStringLiteral("UMTS")).toString();
}

bool is2G(const QString &technology) {
  return technology == QLatin1String("GSM") || technology == QLatin1String("GPRS") ||
         technology == QLatin1String("EDGE");
}

QString homeMcc(const QVariantMap &scenario) {
  return scenario.value(QStringLiteral("SIM")).toMap().value(QStringLiteral("IMSI")).toString().left(3);
}

QString homeMnc(const QVariantMap &scenario) {
  const QVariantMap sim = scenario.value(QStringLiteral("SIM")).toMap();
  const int len = sim.value(QStringLiteral("MNCLength"), 2).toInt() == 3 ? 3 : 2;
  return sim.value(QStringLiteral("IMSI")).toString().mid(3, len);
}

QByteArray padded(QByteArray bytes, int size) {
  bytes = bytes.left(size);
  bytes.append(QByteArray(size - bytes.size(), '\0'));
  return bytes;
}

// The modem keeps one scenario; a change of network made through the control interface is a
// change of that scenario, so that Reset and LoadScenario undo it with everything else.
QVariantMap &editableScenario(SimulatedModem &modem) {
  return const_cast<QVariantMap &>(modem.scenario());
}

void editNetwork(SimulatedModem &modem, const std::function<void(QVariantMap &)> &edit) {
  QVariantMap &scenario = editableScenario(modem);
  QVariantMap net = network(scenario);
  edit(net);
  scenario.insert(kNetwork, net);
}

bool reporting(const SimulatedModem &modem) {
  return modem.isPlugged() && modem.sim().state() == SimCard::State::Ready;
}

void sendNetInfo(SimulatedModem &modem) {
  if (isIcera(modem.scenario()))
    modem.send(kMajor, kCheckNetInfoForIcera, 1, 0, netInfoForIcera(modem.scenario()));
  else
    modem.send(kMajor, kCheckNetInfo, 1, 0, netInfo(modem.scenario()));
}

void sendRoamInfo(SimulatedModem &modem) {
  modem.send(kMajor, kCheckRoamInfo, 1, 0, roamInfo(modem.scenario()));
}

void sendRoamSwitches(SimulatedModem &modem) {
  modem.send(kRoamSwitchMajor, kReadRoamSwitch, 1, 0, roamSwitches(modem.scenario()));
}

void sendRegistration(SimulatedModem &modem) {
  sendNetInfo(modem);
  sendRoamInfo(modem);
}
} // namespace

QByteArray netInfo(const QVariantMap &scenario) {
  const QVariantMap net = network(scenario);
  const QString domain = domainOf(net);
  QByteArray p(40, '\0');
  p += Payload::field(domain.isEmpty() ? QStringLiteral("No Service") : technologyOf(net), 68);
  p += Payload::field(domain.isEmpty() ? QStringLiteral("NO_SERVICE") : domain, 72);
  return padded(p, kNetInfoSize);
}

QByteArray netInfoForIcera(const QVariantMap &scenario) {
  const QVariantMap net = network(scenario);
  const QString domain = domainOf(net);
  const QString technology = technologyOf(net);
  const float value = domain.isEmpty() ? 0.0f : 1.0f;
  quint32 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  QString mccmnc;
  QString netStr = QStringLiteral("0");
  QString tech3G = QStringLiteral("-");
  if (!domain.isEmpty()) {
    mccmnc = net.value(QStringLiteral("MCC"), homeMcc(scenario)).toString() +
             net.value(QStringLiteral("MNC"), homeMnc(scenario)).toString();
    // The generation in lower case means circuit-switched only.
    netStr = is2G(technology) ? QStringLiteral("2G") : QStringLiteral("3G");
    if (domain == QLatin1String("CS_ONLY"))
      netStr = netStr.toLower();
    if (technology == QLatin1String("GPRS") || technology == QLatin1String("EDGE"))
      netStr += QLatin1Char(' ') + technology;
    if (!is2G(technology) && technology != QLatin1String("UMTS"))
      tech3G = technology;
  }
  QByteArray p = Payload::u32(bits);
  p += Payload::field(mccmnc, 36);
  p += Payload::field(netStr, 104);
  p += Payload::field(tech3G, 36);
  return padded(p, kNetInfoSize);
}

QByteArray roamInfo(const QVariantMap &scenario) {
  const QVariantMap net = network(scenario);
  quint32 state = 0;
  QString lac = QStringLiteral("0");
  QString cell = QStringLiteral("0");
  if (!domainOf(net).isEmpty()) {
    state = net.value(QStringLiteral("Roaming")).toBool() ? 5 : 1;
    lac = net.value(QStringLiteral("LAC"), QStringLiteral("1A2B")).toString();
    cell = net.value(QStringLiteral("CellId"), QStringLiteral("00A1B2C3")).toString();
  }
  // Ten characters each, without room for a terminator when full.
  QByteArray p = Payload::u32(state);
  p += lac.toLatin1().leftJustified(10, '\0', true);
  p += cell.toLatin1().leftJustified(10, '\0', true);
  return padded(p, 28);
}

QByteArray roamSwitches(const QVariantMap &scenario) {
  const QVariantMap net = network(scenario);
  return Payload::u32(net.value(QStringLiteral("NationalRoaming"), true).toBool() ? 1 : 0) +
         Payload::u32(net.value(QStringLiteral("InternationalRoaming"), false).toBool() ? 1 : 0);
}

void setRegistration(SimulatedModem &modem, const QString &domain) {
  editNetwork(modem, [&](QVariantMap &net) {
    const bool known =
        domain == QLatin1String("CS_PS") || domain == QLatin1String("CS_ONLY") || domain == QLatin1String("PS_ONLY");
    net.insert(QStringLiteral("Registered"), known);
    if (known)
      net.insert(QStringLiteral("Domain"), domain);
  });
  if (!reporting(modem))
    return;
  NetworkIdentity::sendNetworkReport(modem);
  sendRegistration(modem);
}

void setNetwork(SimulatedModem &modem, const QString &operatorName, const QString &mcc, const QString &mnc,
                const QString &technology) {
  editNetwork(modem, [&](QVariantMap &net) {
    const auto set = [&net](const char *key, const QString &value) {
      if (!value.isEmpty())
        net.insert(QLatin1String(key), value);
    };
    set("OperatorShortName", operatorName);
    set("MCC", mcc);
    set("MNC", mnc);
    set("Technology", technology);
  });
  if (!reporting(modem))
    return;
  NetworkIdentity::sendNetworkReport(modem);
  sendRegistration(modem);
}

void setRoaming(SimulatedModem &modem, bool roaming) {
  editNetwork(modem, [&](QVariantMap &net) { net.insert(QStringLiteral("Roaming"), roaming); });
  if (!reporting(modem))
    return;
  NetworkIdentity::sendNetworkReport(modem);
  sendRoamInfo(modem);
}

void setCell(SimulatedModem &modem, const QString &lac, const QString &cellId) {
  editNetwork(modem, [&](QVariantMap &net) {
    net.insert(QStringLiteral("LAC"), lac);
    net.insert(QStringLiteral("CellId"), cellId);
  });
  if (reporting(modem))
    sendRoamInfo(modem);
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kCheckNetInfo,
           [&modem](const UIMsg &) { modem.send(kMajor, kCheckNetInfo, 1, 0, netInfo(modem.scenario())); });
  modem.on(kMajor, kCheckNetInfoForIcera, [&modem](const UIMsg &) {
    modem.send(kMajor, kCheckNetInfoForIcera, 1, 0, netInfoForIcera(modem.scenario()));
  });
  modem.on(kMajor, kCheckRoamInfo, [&modem](const UIMsg &) { sendRoamInfo(modem); });
  modem.on(kRoamSwitchMajor, kReadRoamSwitch, [&modem](const UIMsg &) { sendRoamSwitches(modem); });
  modem.on(kRoamSwitchMajor, kSetRoamSwitch, [&modem](const UIMsg &m) {
    // Answered under the module of the request (the settings window's 3, type 1).
    if (m.dataLength < 8 || network(modem.scenario()).value(QStringLiteral("RoamSwitchFails")).toBool()) {
      modem.send(kRoamSwitchMajor, kSetRoamSwitch, 1, UIMsg::kResultFailure, {}, m.moduleId);
      return;
    }
    editNetwork(modem, [&m](QVariantMap &net) {
      net.insert(QStringLiteral("NationalRoaming"), Payload::u32At(m, 0) == 1);
      net.insert(QStringLiteral("InternationalRoaming"), Payload::u32At(m, 4) == 1);
    });
    modem.send(kRoamSwitchMajor, kSetRoamSwitch, 1, 0, {}, m.moduleId);
  });
  // After the network report (installed earlier), as a device registers once it knows its card.
  modem.onSimReady([&modem] {
    sendRegistration(modem);
    sendRoamSwitches(modem);
  });
}

} // namespace NetworkRegistration
