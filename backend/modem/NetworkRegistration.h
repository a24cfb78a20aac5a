#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class SimulatedModem;

// The simulated modem's registration: the network information of ordinary devices (CheckNetInfo
// 7/37) and of Icera devices (CheckNetInfoForIcera 7/47), the registration state with the
// serving cell (CheckRoamInfo 7/39), and the roaming switches (set 513/85, read 513/86). It
// answers a request for each and pushes the registration after the network report whenever the
// SIM becomes ready, and again whenever a control method changes the network.
//
// Scenario keys (all optional), besides those of NetworkIdentity:
//   "DeviceType"            string  "Icera": the registration goes out as 7/47 instead of 7/37
//   "Network" dictionary:
//     "Technology"          string  access technology: "GSM", "GPRS", "EDGE", "UMTS", "HSDPA",
//                                   "HSUPA", "HSPA+", "DC-HSPA+" ("UMTS")
//     "Domain"              string  registered domains: "CS_PS", "CS_ONLY", "PS_ONLY"; anything
//                                   else is no service ("CS_PS"); "Registered" false overrides it
//     "LAC", "CellId"       string  location area and cell identity, hexadecimal ("1A2B",
//                                   "00A1B2C3")
//     "NationalRoaming", "InternationalRoaming"
//                           bool    the roaming switches the modem keeps (true, false)
//     "RoamSwitchFails"     bool    setting the roaming switches fails (false)
namespace NetworkRegistration {

inline constexpr uint16_t kMajor = 7;
inline constexpr uint16_t kCheckNetInfo = 37, kCheckRoamInfo = 39, kCheckNetInfoForIcera = 47;
inline constexpr uint16_t kRoamSwitchMajor = 513, kSetRoamSwitch = 85, kReadRoamSwitch = 86;

// Installs the answers and the SIM-ready pushes on `modem`.
void install(SimulatedModem &modem);

// Payloads of a scenario.
QByteArray netInfo(const QVariantMap &scenario);         // 180 bytes
QByteArray netInfoForIcera(const QVariantMap &scenario); // 180 bytes
QByteArray roamInfo(const QVariantMap &scenario);        // 28 bytes
QByteArray roamSwitches(const QVariantMap &scenario);    // 8 bytes

// Changes of the network, as the control interface makes them. Each edits the modem's scenario
// (so that Reset and LoadScenario undo it as they undo everything else) and, when the device is
// plugged with a ready SIM, pushes what a device reports after such a change.
// `domain`: "CS_PS", "CS_ONLY", "PS_ONLY", or anything else for no service.
void setRegistration(SimulatedModem &modem, const QString &domain);
// An empty text leaves that part of the network as it is.
void setNetwork(SimulatedModem &modem, const QString &operatorName, const QString &mcc, const QString &mnc,
                const QString &technology);
void setRoaming(SimulatedModem &modem, bool roaming);
void setCell(SimulatedModem &modem, const QString &lac, const QString &cellId);

} // namespace NetworkRegistration
