#include "NetworkIdentity.h"

#include "SimulatedModem.h"

namespace NetworkIdentity {

namespace {
constexpr int kSimFileTextWidth = 512;
constexpr int kSpnFileSize = 17; // display condition and 16 bytes of name

QVariantMap network(const QVariantMap &scenario) {
  return scenario.value(QStringLiteral("Network")).toMap();
}
QVariantMap simOf(const QVariantMap &scenario) {
  return scenario.value(QStringLiteral("SIM")).toMap();
}

// Characters whose GSM default-alphabet code is their ASCII code.
bool isPlainGsm(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
         QStringView(u" !\"#%&'()*+,-./:;<=>?").contains(c);
}

QByteArray hexField(const QByteArray &hex) {
  QByteArray text = hex.left(kSimFileTextWidth - 1);
  text.append(QByteArray(kSimFileTextWidth - text.size(), '\0'));
  return text;
}

// The UTF-8 text of a name, cut whole characters at a time to fit `width` with its terminator.
QByteArray nameField(const QString &name, int width) {
  QByteArray bytes;
  for (int i = 0; i < name.size();) {
    const int n = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
    const QByteArray ch = name.mid(i, n).toUtf8();
    if (bytes.size() + ch.size() > width - 1)
      break;
    bytes += ch;
    i += n;
  }
  bytes.append(QByteArray(width - bytes.size(), '\0'));
  return bytes;
}

QString homeMcc(const QVariantMap &scenario) {
  return simOf(scenario).value(QStringLiteral("IMSI")).toString().left(3);
}

QString homeMnc(const QVariantMap &scenario) {
  const QVariantMap sim = simOf(scenario);
  const int len = sim.value(QStringLiteral("MNCLength"), 2).toInt() == 3 ? 3 : 2;
  return sim.value(QStringLiteral("IMSI")).toString().mid(3, len);
}

void sendPlmn(SimulatedModem &modem, bool numeric) {
  const QVariantMap net = network(modem.scenario());
  UIMsg m = SimulatedModem::makePackage(kMajor, kCheckPLMN, 1, 0, plmnReport(modem.scenario(), numeric), 1);
  if (numeric && net.value(QStringLiteral("Registered"), true).toBool() &&
      net.value(QStringLiteral("PSAttached"), true).toBool())
    m.tail[2] = '1';
  emit modem.packageOut(m);
}

void sendPlmnReports(SimulatedModem &modem) {
  if (network(modem.scenario()).contains(QStringLiteral("OperatorLongName")))
    sendPlmn(modem, false);
  sendPlmn(modem, true);
}

void sendSimFile(SimulatedModem &modem, uint16_t minor) {
  const QVariantMap sim = simOf(modem.scenario());
  QByteArray hex;
  switch (minor) {
  case kCheckSPN:
    if (sim.contains(QStringLiteral("SPN")))
      hex = spnFileHex(sim.value(QStringLiteral("SPN")).toString(),
                       sim.value(QStringLiteral("SPNDisplayCondition")).toInt());
    break;
  case kCheckSPDI:
    hex = spdiFileHex(sim.value(QStringLiteral("SPDI")).toStringList());
    break;
  case kCheckICCID:
    hex = iccidFileHex(sim.value(QStringLiteral("ICCID")).toString());
    break;
  default:
    return;
  }
  modem.send(kMajor, minor, 1, 0, hexField(hex));
}
} // namespace

QByteArray spnFileHex(const QString &name, int displayCondition) {
  QByteArray bytes(1, char(displayCondition & 0xFF));
  const bool plain = std::all_of(name.begin(), name.end(), isPlainGsm);
  if (plain) {
    bytes += name.toLatin1().left(kSpnFileSize - 1);
  } else {
    bytes += char(0x80);
    for (QChar c : name) {
      if (bytes.size() + 2 > kSpnFileSize)
        break;
      bytes += char(c.unicode() >> 8);
      bytes += char(c.unicode() & 0xFF);
    }
  }
  bytes.append(QByteArray(kSpnFileSize - bytes.size(), char(0xFF)));
  return bytes.toHex().toUpper();
}

QByteArray spdiFileHex(const QStringList &plmns) {
  QByteArray list;
  for (const QString &plmn : plmns) {
    if (plmn.size() != 5 && plmn.size() != 6)
      continue;
    const QByteArray d = plmn.toLatin1();
    const char mnc3 = d.size() == 6 ? d[5] : 'F';
    for (char c : {d[1], d[0], mnc3, d[2], d[4], d[3]})
      list += c;
  }
  const QByteArray bytes = QByteArray::fromHex(list);
  QByteArray tlv;
  tlv += char(0x80);
  tlv += char(bytes.size());
  tlv += bytes;
  QByteArray file;
  file += char(0xA3);
  file += char(tlv.size());
  file += tlv;
  return file.toHex().toUpper();
}

QByteArray iccidFileHex(const QString &iccid) {
  QByteArray digits = iccid.toLatin1().left(20);
  if (digits.size() % 2)
    digits += 'F';
  QByteArray out;
  for (int i = 0; i + 1 < digits.size(); i += 2) {
    out += digits[i + 1];
    out += digits[i];
  }
  return out.toUpper();
}

QByteArray plmnReport(const QVariantMap &scenario, bool numeric) {
  const QVariantMap net = network(scenario);
  const bool registered = net.value(QStringLiteral("Registered"), true).toBool();
  const QString longName = net.value(QStringLiteral("OperatorLongName")).toString();
  const QString shortName = net.value(QStringLiteral("OperatorShortName"), QStringLiteral("Sim Operator")).toString();
  QByteArray p;
  p += nameField(numeric ? (registered ? shortName : QStringLiteral("Not Found")) : longName, 68);
  p += nameField(net.value(QStringLiteral("NationalRoamingName")).toString(), 68);
  const QString mcc = registered ? net.value(QStringLiteral("MCC"), homeMcc(scenario)).toString() : QString();
  const QString mnc = registered ? net.value(QStringLiteral("MNC"), homeMnc(scenario)).toString() : QString();
  QString roam = QStringLiteral("NO_SERVICE");
  if (registered)
    roam = net.value(QStringLiteral("Roaming")).toBool() ? QStringLiteral("ROAM_ON") : QStringLiteral("ROAM_OFF");
  p += Payload::field(mcc, 36);
  p += Payload::field(mnc, 36);
  p += Payload::field(roam, 36);
  p += Payload::field(homeMcc(scenario), 36);
  p += Payload::field(homeMnc(scenario), 36);
  p += Payload::u32(net.value(QStringLiteral("PnnOplFlag")).toUInt());
  p += char(numeric ? 1 : 0);
  p += QByteArray(3, '\0');
  return p;
}

void sendNetworkReport(SimulatedModem &modem) {
  sendPlmnReports(modem);
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kCheckPLMN, [&modem](const UIMsg &) { sendPlmnReports(modem); });
  for (uint16_t minor : {kCheckSPDI, kCheckSPN, kCheckICCID})
    modem.on(kMajor, minor, [&modem, minor](const UIMsg &) { sendSimFile(modem, minor); });
  // The ICCID is readable before the PIN (the saved PIN belongs to it); the rest of a ready card
  // is read first, so the names already know their provider when the network report arrives.
  modem.onSimPresent([&modem] { sendSimFile(modem, kCheckICCID); });
  modem.onSimReady([&modem] {
    sendSimFile(modem, kCheckSPN);
    sendSimFile(modem, kCheckSPDI);
    sendPlmnReports(modem);
  });
}

} // namespace NetworkIdentity
