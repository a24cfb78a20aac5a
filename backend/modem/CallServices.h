#pragma once

#include <QVariantMap>

class SimulatedModem;

// The network's supplementary services for voice as the simulated modem relays them: call
// forwarding per reason, call waiting, and call barring per facility with its password.
//
// Requests (major 2307), answered with type 1 under the module of the request:
//   154 forwarding: u32 reason, u32 mode (2 query, 3 register, 4 erase), number (32 bytes);
//       a query answers 162 (u32 count, entries of 84 bytes: u32 status, u32 class, number),
//       a change answers 158
//   155 barring: facility (4 bytes), u32 mode at 12 (0 unlock, 1 lock, 2 query), password
//       (12 bytes) at 16; a query answers 161 (u32 status), a change answers 157 and fails for
//       a wrong password
//   156 waiting: u32 enable, u32 mode (0 off, 1 on, 2 query); a query answers 160 (u32 count,
//       entries of 8 bytes: u32 status, u32 class), a change answers 159
//
// Scenario key "CallServices" (optional) dictionary:
//   "Forwarding"  dictionary by reason ("0" unconditional, "1" busy, "2" no reply, "3" not
//                 reachable) of {"Status" bool, "Number" string}
//   "Waiting"     bool
//   "Barring"     dictionary by facility ("AO", "OI", "OX", "AI", "IR") of bool
//   "Password"    string ("0000")
//   "ReadFails"   bool   every query is answered with result 0xFF
//   "Keep"        bool   changes answer success but the network keeps its state
// The state lives in the scenario, so Reset and LoadScenario undo changes.
namespace CallServices {

void install(SimulatedModem &modem);

QVariantMap state(const SimulatedModem &modem);
// Replaces the services (the scenario's "CallServices").
void setState(SimulatedModem &modem, const QVariantMap &services);
void setKeep(SimulatedModem &modem, bool keep);

} // namespace CallServices
