#pragma once

#include <QString>

class SimulatedModem;

// The card's IMSI as the device reports it: once the SIM is ready it pushes the CIMI reply
// (7/43, type 1, the IMSI in a 36-byte field) and answers a request for it the same way. It is
// installed before the network reports, so the program knows the card before its networks.
// With the IMSI goes the card's home MCC (7/58, one word), and with "SIM"/"ReportMccMnc" its
// home MCC/MNC (7/52, two 32-byte texts; the MNC has "SIM"/"MNCLength" digits, 2 unless 3);
// both answer their requests too.
//
// Scenario key: "SIM"/"IMSI" string (the card's default, "001010123456789").
namespace SubscriberIdentity {

inline constexpr int kMajor = 7, kCimi = 43, kImsiWidth = 36;
inline constexpr int kMccMnc = 52, kHomeMcc = 58, kMccMncWidth = 32;

void install(SimulatedModem &modem);
void pushImsi(SimulatedModem &modem);
void pushHomeNetwork(SimulatedModem &modem);
// The card now reports `imsi` and pushes it; an empty one pushes a failed reply instead.
void setImsi(SimulatedModem &modem, const QString &imsi);

} // namespace SubscriberIdentity
