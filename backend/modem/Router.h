#pragma once

#include "UIMsg.h"
#include "WLANRecords.h"

#include <QList>
#include <QObject>
#include <QVariantMap>

class SimulatedModem;

// The simulated modem's Wi-Fi router (module 10). It keeps the router's settings, taken from
// the scenario's "Router" dictionary, pushes every read (4097/168..179) once the SIM is ready,
// answers each apply (4098/181..192) by changing its state and pushing the changed section's
// read, answers the two list reads (4097/174, 176), and puts the scenario's values back on a
// factory reset (4098/193), pushing every read again. An apply with a value outside its table,
// an eleventh rule, an unknown rule index or a forced failure (RouterFailNext) is answered with
// result 0xFF and changes nothing. Without "Router" in the scenario the modem has no router:
// it pushes nothing and fails every request of module 10.
//
// Scenario keys ("Router" dictionary; every key optional):
//   "Basic"         {"Mode" 0..2, "SSID", "Channel" 0..13, "HideSSID" 0/1, "Rate" Mbit/s or 0}
//   "Security"      {"Mode" 0..4, "MaxStations" 1..5}
//   "WEP"           {"Encryption" 0/1, "DefaultKey" 1..4, "Keys" [4 texts], "KeyFormats" [4 x 0/1]}
//   "WPA"           {"Cipher" 0..2, "PassPhrase"}
//   "IPFilter"      {"Enable", "Policy" 0/1, "Rules" [{"Index", "Comment", "DestIP", "SourceIP",
//                    "DestPortStart", "DestPortEnd", "SourcePortStart", "SourcePortEnd",
//                    "Protocol" 1..5, "Action" 0/1, "MAC"}]}
//   "VirtualServer" {"Enable", "Rules" [{"Index", "Comment", "IP", "PortStart", "PortEnd",
//                    "Protocol" 1..3}]}
//   "DHCP"          {"IPAddress", "SubnetMask", "Enable", "Lease", "StartIP", "EndIP"}
// RouterState() answers the same shape, so a state can be saved as a scenario.
class Router : public QObject {
  Q_OBJECT
public:
  static Router *install(SimulatedModem &modem);
  static Router *of(SimulatedModem &modem);

  bool hasRouter() {
    followScenario();
    return present_;
  }
  // Pushes every read; false (nothing sent) without a router.
  bool pushReads();
  // The router's settings in the scenario's shape.
  QVariantMap state();
  // The next `count` applies fail (0 cancels).
  void failNext(int count) { failNext_ = std::max(0, count); }

private:
  explicit Router(SimulatedModem &modem);
  void install();
  void followScenario();
  void loadFrom(const QVariantMap &router);
  void handleRead(const UIMsg &request);
  void handleSet(const UIMsg &request);
  bool apply(uint16_t minor, const QByteArray &data);
  void pushRead(uint16_t minor);
  QByteArray readPayload(uint16_t minor) const;
  bool applyFilterRule(const IPFilterRuleRecord &rule);
  bool applyVirtualRule(const VirtualServerRuleRecord &rule);

  SimulatedModem &modem_;
  QVariant baseRouter_;
  bool followed_ = false;
  bool present_ = false;
  int failNext_ = 0;
  quint32 nextIndex_ = 1;
  WLANBasicRecord basic_;
  WLANSecurityRecord security_;
  WEPKeyRecord wep_;
  WPAKeyRecord wpa_;
  FilterSwitchRecord filter_;
  QList<IPFilterListEntry> filterRules_;
  quint32 virtualEnable_ = 0;
  QList<VirtualServerListEntry> virtualRules_;
  DHCPRecord dhcp_;
};
