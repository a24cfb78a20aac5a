#include "Router.h"

#include "SimulatedModem.h"

namespace {
constexpr uint8_t kFail = UIMsg::kResultFailure;

quint32 u(const QVariantMap &m, const char *key, quint32 fallback = 0) {
  const QVariant v = m.value(QLatin1String(key));
  return v.isValid() ? quint32(v.toLongLong()) : fallback;
}
QString s(const QVariantMap &m, const char *key, const QString &fallback = {}) {
  return m.value(QLatin1String(key), fallback).toString();
}
QVariantMap dict(const QVariantMap &m, const char *key) {
  return m.value(QLatin1String(key)).toMap();
}

bool validRate(quint32 rate) {
  for (quint32 r : {0u, 1u, 2u, 5u, 6u, 9u, 11u, 12u, 18u, 24u, 36u, 48u, 54u})
    if (r == rate)
      return true;
  return false;
}

bool validPorts(quint32 begin, quint32 end) {
  return begin <= 65535 && end <= 65535 && begin <= end;
}

IPFilterListEntry filterEntry(const QVariantMap &m) {
  IPFilterListEntry e;
  e.index = u(m, "Index");
  e.comment = s(m, "Comment");
  e.destIp = s(m, "DestIP", QStringLiteral("0.0.0.0"));
  e.sourceIp = s(m, "SourceIP", QStringLiteral("0.0.0.0"));
  e.destPortBegin = u(m, "DestPortStart");
  e.destPortEnd = u(m, "DestPortEnd");
  e.sourcePortBegin = u(m, "SourcePortStart");
  e.sourcePortEnd = u(m, "SourcePortEnd");
  e.protocol = u(m, "Protocol", 1);
  e.action = u(m, "Action");
  e.mac = s(m, "MAC", QString::fromLatin1(WLANMsg::kEmptyMac));
  return e;
}

QVariantMap filterMap(const IPFilterListEntry &e) {
  return {{QStringLiteral("Index"), qint64(e.index)},
          {QStringLiteral("Comment"), e.comment},
          {QStringLiteral("DestIP"), e.destIp},
          {QStringLiteral("SourceIP"), e.sourceIp},
          {QStringLiteral("DestPortStart"), qint64(e.destPortBegin)},
          {QStringLiteral("DestPortEnd"), qint64(e.destPortEnd)},
          {QStringLiteral("SourcePortStart"), qint64(e.sourcePortBegin)},
          {QStringLiteral("SourcePortEnd"), qint64(e.sourcePortEnd)},
          {QStringLiteral("Protocol"), qint64(e.protocol)},
          {QStringLiteral("Action"), qint64(e.action)},
          {QStringLiteral("MAC"), e.mac}};
}

VirtualServerListEntry virtualEntry(const QVariantMap &m) {
  VirtualServerListEntry e;
  e.index = u(m, "Index");
  e.comment = s(m, "Comment");
  e.ip = s(m, "IP");
  e.portBegin = u(m, "PortStart");
  e.portEnd = u(m, "PortEnd");
  e.protocol = u(m, "Protocol", 1);
  return e;
}

QVariantMap virtualMap(const VirtualServerListEntry &e) {
  return {{QStringLiteral("Index"), qint64(e.index)},
          {QStringLiteral("Comment"), e.comment},
          {QStringLiteral("IP"), e.ip},
          {QStringLiteral("PortStart"), qint64(e.portBegin)},
          {QStringLiteral("PortEnd"), qint64(e.portEnd)},
          {QStringLiteral("Protocol"), qint64(e.protocol)}};
}

template <typename Entry> int indexOfRule(const QList<Entry> &rules, quint32 index) {
  for (int i = 0; i < rules.size(); ++i)
    if (rules.at(i).index == index)
      return i;
  return -1;
}
} // namespace

Router::Router(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("Router"));
}

Router *Router::install(SimulatedModem &modem) {
  auto *self = new Router(modem);
  self->install();
  return self;
}

Router *Router::of(SimulatedModem &modem) {
  return modem.findChild<Router *>(QStringLiteral("Router"), Qt::FindDirectChildrenOnly);
}

void Router::install() {
  for (uint16_t minor = WLANMsg::kReadWifi; minor <= WLANMsg::kReadUPNP; ++minor)
    modem_.on(WLANMsg::kReadMajor, minor, [this](const UIMsg &m) { handleRead(m); });
  for (uint16_t minor = WLANMsg::kSetWifi; minor <= WLANMsg::kRestoreFactory; ++minor)
    modem_.on(WLANMsg::kSetMajor, minor, [this](const UIMsg &m) { handleSet(m); });
  modem_.onSimReady([this] { pushReads(); });
  followScenario();
}

void Router::followScenario() {
  // Only a new router section starts the router afresh: a SIM swap keeps its settings.
  const QVariant router = modem_.scenario().value(QStringLiteral("Router"));
  if (followed_ && router == baseRouter_)
    return;
  followed_ = true;
  baseRouter_ = router;
  present_ = router.isValid();
  failNext_ = 0;
  loadFrom(router.toMap());
}

void Router::loadFrom(const QVariantMap &router) {
  const QVariantMap basic = dict(router, "Basic");
  basic_.apmode = u(basic, "Mode");
  basic_.ssid = s(basic, "SSID");
  basic_.apchannel = u(basic, "Channel");
  basic_.hidessid = u(basic, "HideSSID");
  basic_.aprate = u(basic, "Rate");

  const QVariantMap security = dict(router, "Security");
  security_.aumode = u(security, "Mode");
  security_.maxnum = u(security, "MaxStations", 5);

  const QVariantMap wep = dict(router, "WEP");
  wep_ = WEPKeyRecord();
  wep_.shmode = u(wep, "Encryption");
  wep_.wepkeyindex = u(wep, "DefaultKey", 1);
  const QVariantList keys = wep.value(QStringLiteral("Keys")).toList();
  const QVariantList formats = wep.value(QStringLiteral("KeyFormats")).toList();
  for (int i = 0; i < 4; ++i) {
    wep_.key[i] = keys.value(i).toString();
    wep_.keyModel[i] = quint32(formats.value(i, 1).toLongLong());
  }

  const QVariantMap wpa = dict(router, "WPA");
  wpa_.wpamode = u(wpa, "Cipher");
  wpa_.presharekey = s(wpa, "PassPhrase");

  const QVariantMap filter = dict(router, "IPFilter");
  filter_.enable = u(filter, "Enable");
  filter_.policy = u(filter, "Policy");
  filterRules_.clear();
  nextIndex_ = 1;
  for (const QVariant &v : filter.value(QStringLiteral("Rules")).toList().mid(0, WLANMsg::kListCapacity)) {
    IPFilterListEntry e = filterEntry(v.toMap());
    if (e.index == 0)
      e.index = nextIndex_;
    nextIndex_ = std::max(nextIndex_, e.index + 1);
    filterRules_ << e;
  }

  const QVariantMap virt = dict(router, "VirtualServer");
  virtualEnable_ = u(virt, "Enable");
  virtualRules_.clear();
  for (const QVariant &v : virt.value(QStringLiteral("Rules")).toList().mid(0, WLANMsg::kListCapacity)) {
    VirtualServerListEntry e = virtualEntry(v.toMap());
    if (e.index == 0)
      e.index = nextIndex_;
    nextIndex_ = std::max(nextIndex_, e.index + 1);
    virtualRules_ << e;
  }

  const QVariantMap dhcp = dict(router, "DHCP");
  dhcp_.ip_address = s(dhcp, "IPAddress", QStringLiteral("192.168.1.1"));
  dhcp_.subnet_mask = s(dhcp, "SubnetMask", QStringLiteral("255.255.255.0"));
  dhcp_.dhcp_enable = u(dhcp, "Enable");
  dhcp_.dhcp_lease = u(dhcp, "Lease");
  dhcp_.start_ip = s(dhcp, "StartIP");
  dhcp_.end_ip = s(dhcp, "EndIP");
}

QVariantMap Router::state() {
  followScenario();
  if (!present_)
    return {};
  QVariantList keys, formats, filterRules, virtualRules;
  for (int i = 0; i < 4; ++i) {
    keys << wep_.key[i];
    formats << qint64(wep_.keyModel[i]);
  }
  for (const IPFilterListEntry &e : filterRules_)
    filterRules << filterMap(e);
  for (const VirtualServerListEntry &e : virtualRules_)
    virtualRules << virtualMap(e);
  return {
      {QStringLiteral("Basic"), QVariantMap{{QStringLiteral("Mode"), qint64(basic_.apmode)},
                                            {QStringLiteral("SSID"), basic_.ssid},
                                            {QStringLiteral("Channel"), qint64(basic_.apchannel)},
                                            {QStringLiteral("HideSSID"), qint64(basic_.hidessid)},
                                            {QStringLiteral("Rate"), qint64(basic_.aprate)}}},
      {QStringLiteral("Security"), QVariantMap{{QStringLiteral("Mode"), qint64(security_.aumode)},
                                               {QStringLiteral("MaxStations"), qint64(security_.maxnum)}}},
      {QStringLiteral("WEP"), QVariantMap{{QStringLiteral("Encryption"), qint64(wep_.shmode)},
                                          {QStringLiteral("DefaultKey"), qint64(wep_.wepkeyindex)},
                                          {QStringLiteral("Keys"), keys},
                                          {QStringLiteral("KeyFormats"), formats}}},
      {QStringLiteral("WPA"),
       QVariantMap{{QStringLiteral("Cipher"), qint64(wpa_.wpamode)}, {QStringLiteral("PassPhrase"), wpa_.presharekey}}},
      {QStringLiteral("IPFilter"), QVariantMap{{QStringLiteral("Enable"), qint64(filter_.enable)},
                                               {QStringLiteral("Policy"), qint64(filter_.policy)},
                                               {QStringLiteral("Rules"), filterRules}}},
      {QStringLiteral("VirtualServer"),
       QVariantMap{{QStringLiteral("Enable"), qint64(virtualEnable_)}, {QStringLiteral("Rules"), virtualRules}}},
      {QStringLiteral("DHCP"), QVariantMap{{QStringLiteral("IPAddress"), dhcp_.ip_address},
                                           {QStringLiteral("SubnetMask"), dhcp_.subnet_mask},
                                           {QStringLiteral("Enable"), qint64(dhcp_.dhcp_enable)},
                                           {QStringLiteral("Lease"), qint64(dhcp_.dhcp_lease)},
                                           {QStringLiteral("StartIP"), dhcp_.start_ip},
                                           {QStringLiteral("EndIP"), dhcp_.end_ip}}},
  };
}

bool Router::pushReads() {
  followScenario();
  if (!present_)
    return false;
  for (uint16_t minor = WLANMsg::kReadWifi; minor <= WLANMsg::kReadUPNP; ++minor)
    pushRead(minor);
  return true;
}

void Router::pushRead(uint16_t minor) {
  modem_.send(WLANMsg::kReadMajor, minor, 0, 0, readPayload(minor), WLANMsg::kModule);
}

QByteArray Router::readPayload(uint16_t minor) const {
  switch (minor) {
  case WLANMsg::kReadWifi:
  case WLANMsg::kReadUPNP:
    return EnableWordRecord{1}.encode();
  case WLANMsg::kReadBasic:
    return basic_.encode();
  case WLANMsg::kReadSecurity:
    return security_.encode();
  case WLANMsg::kReadWEP: {
    // A read carries the keys even with encryption off, as a router keeps them.
    wlanwire::Writer w(WEPKeyRecord::kSize);
    w.u32(0, wep_.shmode);
    w.u32(4, wep_.wepkeyindex);
    for (int i = 0; i < 4; ++i) {
      w.text(8 + i * WEPKeyRecord::kKeyWidth, WEPKeyRecord::kKeyWidth, wep_.key[i]);
      w.u32(116 + i * 4, wep_.keyModel[i]);
    }
    return w.bytes();
  }
  case WLANMsg::kReadWPA: {
    WPAKeyRecord rec = wpa_;
    rec.authentication = WPAKeyRecord::authenticationOf(security_.aumode);
    return rec.encode();
  }
  case WLANMsg::kReadFilterSwitch: {
    wlanwire::Writer w(FilterSwitchRecord::kSize);
    w.u32(0, filter_.enable);
    w.u32(4, filter_.policy);
    return w.bytes();
  }
  case WLANMsg::kReadFilterList:
    return IPFilterListReply{filterRules_}.encode();
  case WLANMsg::kReadVirtualSwitch:
    return EnableWordRecord{virtualEnable_}.encode();
  case WLANMsg::kReadVirtualList:
    return VirtualServerListReply{virtualRules_}.encode();
  case WLANMsg::kReadDMZ:
    return QByteArray(20, '\0');
  case WLANMsg::kReadDHCP: {
    // The router reports its pool even while its DHCP server is off.
    wlanwire::Writer w(DHCPRecord::kSize);
    w.text(0, 16, dhcp_.ip_address);
    w.text(16, 16, dhcp_.subnet_mask);
    w.u32(32, dhcp_.dhcp_enable);
    w.u32(36, dhcp_.dhcp_lease);
    w.text(40, 16, dhcp_.start_ip);
    w.text(56, 16, dhcp_.end_ip);
    return w.bytes();
  }
  default:
    return {};
  }
}

void Router::handleRead(const UIMsg &request) {
  followScenario();
  if (!present_) {
    modem_.send(WLANMsg::kReadMajor, request.minorId, 0, kFail, {}, WLANMsg::kModule);
    return;
  }
  pushRead(request.minorId);
}

void Router::handleSet(const UIMsg &request) {
  followScenario();
  const uint16_t minor = request.minorId;
  if (minor == WLANMsg::kRestoreFactory) {
    if (!present_) {
      modem_.send(WLANMsg::kSetMajor, minor, 0, kFail, {}, WLANMsg::kModule);
      return;
    }
    loadFrom(baseRouter_.toMap());
    modem_.send(WLANMsg::kSetMajor, minor, 0, 0, {}, WLANMsg::kModule);
    pushReads();
    return;
  }
  bool ok = present_;
  if (ok && failNext_ > 0) {
    --failNext_;
    ok = false;
  }
  ok = ok && apply(minor, request.payload());
  modem_.send(WLANMsg::kSetMajor, minor, 0, ok ? 0 : kFail, {}, WLANMsg::kModule);
  if (ok && minor >= WLANMsg::kSetBasic && minor <= WLANMsg::kSetDHCP)
    pushRead(uint16_t(minor - WLANMsg::kSetOffset));
}

bool Router::apply(uint16_t minor, const QByteArray &data) {
  switch (minor) {
  case WLANMsg::kSetWifi:
  case WLANMsg::kSetDMZ:
  case WLANMsg::kSetUPNP:
    return true; // nothing kept: the program sends none of these
  case WLANMsg::kSetBasic: {
    const auto rec = WLANBasicRecord::decode(data);
    if (!rec || rec->apmode > 2 || rec->apchannel > 13 || rec->hidessid > 1 || !validRate(rec->aprate))
      return false;
    basic_ = *rec;
    return true;
  }
  case WLANMsg::kSetSecurity: {
    const auto rec = WLANSecurityRecord::decode(data);
    if (!rec || rec->aumode > 4 || rec->maxnum < 1 || rec->maxnum > 5)
      return false;
    security_ = *rec;
    return true;
  }
  case WLANMsg::kSetWEP: {
    const auto rec = WEPKeyRecord::decode(data);
    if (!rec || rec->shmode > 1)
      return false;
    if (rec->shmode == 0) {
      wep_.shmode = 0; // the keys stay in the router
      return true;
    }
    if (rec->wepkeyindex < 1 || rec->wepkeyindex > 4)
      return false;
    for (quint32 format : rec->keyModel)
      if (format > 1)
        return false;
    wep_ = *rec;
    return true;
  }
  case WLANMsg::kSetWPA: {
    const auto rec = WPAKeyRecord::decode(data);
    if (!rec || rec->wpamode > 2)
      return false;
    wpa_.wpamode = rec->wpamode;
    wpa_.presharekey = rec->presharekey;
    return true;
  }
  case WLANMsg::kSetFilterSwitch: {
    const auto rec = FilterSwitchRecord::decode(data);
    if (!rec || rec->enable > 1 || rec->policy > 1)
      return false;
    filter_.enable = rec->enable;
    if (rec->enable)
      filter_.policy = rec->policy;
    return true;
  }
  case WLANMsg::kSetFilterRule: {
    const auto rec = IPFilterRuleRecord::decode(data);
    return rec && applyFilterRule(*rec);
  }
  case WLANMsg::kSetVirtualSwitch: {
    const auto rec = EnableWordRecord::decode(data);
    if (!rec || rec->enable > 1)
      return false;
    virtualEnable_ = rec->enable;
    return true;
  }
  case WLANMsg::kSetVirtualRule: {
    const auto rec = VirtualServerRuleRecord::decode(data);
    return rec && applyVirtualRule(*rec);
  }
  case WLANMsg::kSetDHCP: {
    const auto rec = DHCPRecord::decode(data);
    if (!rec || rec->dhcp_enable > 1 || rec->ip_address.isEmpty() || rec->subnet_mask.isEmpty())
      return false;
    if (rec->dhcp_enable && (rec->dhcp_lease < 1 || rec->dhcp_lease > 65535))
      return false;
    dhcp_.ip_address = rec->ip_address;
    dhcp_.subnet_mask = rec->subnet_mask;
    dhcp_.dhcp_enable = rec->dhcp_enable;
    if (rec->dhcp_enable) {
      dhcp_.dhcp_lease = rec->dhcp_lease;
      dhcp_.start_ip = rec->start_ip;
      dhcp_.end_ip = rec->end_ip;
    }
    return true;
  }
  default:
    return false;
  }
}

bool Router::applyFilterRule(const IPFilterRuleRecord &rule) {
  const int at = indexOfRule(filterRules_, rule.if_index);
  if (rule.if_oper == kRuleDelete) {
    if (at < 0)
      return false;
    filterRules_.removeAt(at);
    return true;
  }
  if (rule.if_oper > kRuleDelete || rule.if_protocol < 1 || rule.if_protocol > 5 || rule.if_action > 1 ||
      !validPorts(rule.if_dest_port_b, rule.if_dest_port_e) ||
      !validPorts(rule.if_source_port_b, rule.if_source_port_e))
    return false;
  IPFilterListEntry e;
  e.comment = rule.if_name;
  e.destIp = rule.if_dest_ip;
  e.sourceIp = rule.if_source_ip;
  e.destPortBegin = rule.if_dest_port_b;
  e.destPortEnd = rule.if_dest_port_e;
  e.sourcePortBegin = rule.if_source_port_b;
  e.sourcePortEnd = rule.if_source_port_e;
  e.protocol = rule.if_protocol;
  e.action = rule.if_action;
  e.mac = rule.if_mac_address;
  if (rule.if_oper == kRuleAdd) {
    if (filterRules_.size() >= WLANMsg::kListCapacity)
      return false;
    e.index = nextIndex_++;
    filterRules_ << e;
    return true;
  }
  if (at < 0)
    return false;
  e.index = rule.if_index;
  filterRules_[at] = e;
  return true;
}

bool Router::applyVirtualRule(const VirtualServerRuleRecord &rule) {
  const int at = indexOfRule(virtualRules_, rule.vs_index);
  if (rule.vs_oper == kRuleDelete) {
    if (at < 0)
      return false;
    virtualRules_.removeAt(at);
    return true;
  }
  if (rule.vs_oper > kRuleDelete || rule.vs_protocol < 1 || rule.vs_protocol > 3 ||
      !validPorts(rule.vs_port_b, rule.vs_port_e) || rule.vs_ip_address.isEmpty())
    return false;
  VirtualServerListEntry e;
  e.comment = rule.vs_name;
  e.ip = rule.vs_ip_address;
  e.portBegin = rule.vs_port_b;
  e.portEnd = rule.vs_port_e;
  e.protocol = rule.vs_protocol;
  if (rule.vs_oper == kRuleAdd) {
    if (virtualRules_.size() >= WLANMsg::kListCapacity)
      return false;
    e.index = nextIndex_++;
    virtualRules_ << e;
    return true;
  }
  if (at < 0)
    return false;
  e.index = rule.vs_index;
  virtualRules_[at] = e;
  return true;
}
