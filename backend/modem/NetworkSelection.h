#pragma once

#include <QVariantMap>

class SimulatedModem;

// How the simulated modem finds its network: the search mode and automatic selection (513/77),
// a manual search with its list of networks (513/79), registration on one of them (513/80), the
// band set (513/83 set, 513/82 read), the selection method in use (513/84), the re-check after a
// manual registration (513/89, answered as 513/80), cancelling a search (513/90), the network
// device information with its NDIS flag (258/75) and the CDMA preference (3/6). Answers carry
// type 1 and the module of the request.
//
// Scenario keys (all optional):
//   "NetworkList"  array of dictionaries, one per network found by a manual search:
//                  "State" integer (1 available, 2 current, 3 forbidden), "LongName",
//                  "ShortName", "Numeric" (MCC and MNC digits), "Technology" integer (0 2G,
//                  2 3G), "RegistrationFails" bool; absent: a search fails without a list
//   "Band"         integer band tag in use (3)
//   "NDIS"         bool    the device offers the NDIS connection type (false)
// A successful registration makes that network the registered one (NetworkRegistration pushes
// it) and the modem's selection manual; its state lives in the scenario under
// "NetworkSelection", so Reset and LoadScenario undo it.
namespace NetworkSelection {

inline constexpr int kMaxRecords = 30;
inline constexpr int kRecordSize = 128;
inline constexpr int kListSize = 4 + kMaxRecords * kRecordSize; // 3,844 bytes

void install(SimulatedModem &modem);

// The search reply's data for a list of networks as the scenario describes them.
QByteArray searchReply(const QVariantList &networks);

// Replaces the networks a manual search finds (the scenario's "NetworkList").
void setNetworkList(SimulatedModem &modem, const QVariantList &networks);
// Mode, selection, band, roaming switches and the registered network.
QVariantMap state(const SimulatedModem &modem);

} // namespace NetworkSelection
