#pragma once

#include <QString>

class SimulatedModem;

// The card's IMSI as the device reports it: once the SIM is ready it pushes the CIMI reply
// (7/43, type 1, the IMSI in a 36-byte field) and answers a request for it the same way. It is
// installed before the network reports, so the program knows the card before its networks.
//
// Scenario key: "SIM"/"IMSI" string (the card's default, "001010123456789").
namespace SubscriberIdentity {

inline constexpr int kMajor = 7, kCimi = 43, kImsiWidth = 36;

void install(SimulatedModem &modem);
void pushImsi(SimulatedModem &modem);
// The card now reports `imsi` and pushes it; an empty one pushes a failed reply instead.
void setImsi(SimulatedModem &modem, const QString &imsi);

} // namespace SubscriberIdentity
