#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class SimulatedModem;

// The simulated modem's network identity: the serving-network report (CheckPLMN 7/38) and the
// SIM files the program reads (CheckSPDI 7/40, CheckSPN 7/41, CheckICCID 7/42). It answers a
// request for each and pushes all four, SIM files first, whenever the SIM becomes ready.
//
// Scenario keys (all optional):
//   "Network" dictionary:
//     "OperatorShortName"   string  operator name of the full report ("Sim Operator"); the text
//                                   "Not Found" stands for no network found
//     "OperatorLongName"    string  when present, a name-only report (numeric flag 0) with this
//                                   name goes out before the full report
//     "NationalRoamingName" string  name for national roaming (empty)
//     "MCC", "MNC"          string  serving network; the MNC has two or three digits (default:
//                                   the SIM's home network)
//     "Roaming"             bool    roam indication "ROAM_ON" when true, "ROAM_OFF" when false
//     "Registered"          bool    false: no network (empty MCC/MNC, roam indication
//                                   "NO_SERVICE"); default true
//     "PnnOplFlag"          integer the PNN/OPL flag of the report (0)
//     "PSAttached"          bool    marks the PS domain in the package trailer (true)
//   "SIM" dictionary (besides the card's own keys):
//     "SPN"                 string  service provider name; absent: the SPN file is empty
//     "SPNDisplayCondition" integer first byte of the SPN file (0)
//     "SPDI"                array   friendly networks as MCC/MNC texts ("00102", "310260")
//     "MNCLength"           integer digits of the home MNC in the IMSI, 2 or 3 (2)
//     "ICCID"               string  card serial number, decimal digits
namespace NetworkIdentity {

inline constexpr uint16_t kMajor = 7;
inline constexpr uint16_t kCheckPLMN = 38, kCheckSPDI = 40, kCheckSPN = 41, kCheckICCID = 42;

// Installs the answers and the SIM-ready pushes on `modem`.
void install(SimulatedModem &modem);

// Pushes the serving-network report as the device sends it after a change of network: the
// name-only report first when the scenario has a long name, then the full one.
void sendNetworkReport(SimulatedModem &modem);

// The SIM files as the hexadecimal text the modem sends (upper case, two characters a byte).
QByteArray spnFileHex(const QString &name, int displayCondition);
QByteArray spdiFileHex(const QStringList &plmns);
QByteArray iccidFileHex(const QString &iccid);

// The 324-byte CheckPLMN payload of a scenario.
QByteArray plmnReport(const QVariantMap &scenario, bool numeric);

} // namespace NetworkIdentity
