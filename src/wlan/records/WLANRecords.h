#pragma once

// The router's records (module 10), shared by the program and the simulated modem. Every record
// is encoded and decoded field by field, little-endian, into a zero-filled payload; texts are
// NUL-terminated UTF-8 within their fixed arrays (an over-long text is cut at a character
// boundary so the terminator always fits). Decoders never read past the data they are given: a
// fixed record shorter than its layout is refused, a text without a terminator ends at its
// array, and a list's count is held to ten and to the entries actually received.
//
// Header-only on purpose: the backend links no program library, yet must speak the same layout.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace WLANMsg {
inline constexpr int kModule = 10;
inline constexpr uint16_t kReadMajor = 4097;
inline constexpr uint16_t kSetMajor = 4098;
// Read minors 168..179 pair with set minors 181..192 (set = read + 13).
inline constexpr uint16_t kReadWifi = 168, kReadBasic = 169, kReadSecurity = 170, kReadWEP = 171, kReadWPA = 172,
                          kReadFilterSwitch = 173, kReadFilterList = 174, kReadVirtualSwitch = 175,
                          kReadVirtualList = 176, kReadDMZ = 177, kReadDHCP = 178, kReadUPNP = 179;
inline constexpr uint16_t kSetWifi = 181, kSetBasic = 182, kSetSecurity = 183, kSetWEP = 184, kSetWPA = 185,
                          kSetFilterSwitch = 186, kSetFilterRule = 187, kSetVirtualSwitch = 188, kSetVirtualRule = 189,
                          kSetDMZ = 190, kSetDHCP = 191, kSetUPNP = 192, kRestoreFactory = 193;
inline constexpr int kSetOffset = 13;
inline constexpr int kListCapacity = 10;
inline const QByteArray kEmptyMac = QByteArrayLiteral("GG:GG:GG:GG:GG:GG");
} // namespace WLANMsg

namespace wlanwire {

// Writes fields into a zero-filled payload of a fixed size.
class Writer {
public:
  explicit Writer(int size) : bytes_(size, '\0') {}
  void u32(int offset, quint32 value) {
    if (offset >= 0 && offset + 4 <= bytes_.size())
      qToLittleEndian<quint32>(value, bytes_.data() + offset);
  }
  // At most width - 1 bytes of UTF-8, cut before a partial character; the rest stays zero.
  void text(int offset, int width, const QString &value) { raw(offset, width, value.toUtf8()); }
  void raw(int offset, int width, QByteArray bytes) {
    if (width <= 0 || offset < 0 || offset + width > bytes_.size())
      return;
    if (bytes.size() > width - 1) {
      int cut = width - 1;
      while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
        --cut;
      bytes.truncate(cut);
    }
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
      bytes.truncate(nul);
    std::copy(bytes.cbegin(), bytes.cend(), bytes_.begin() + offset);
  }
  const QByteArray &bytes() const { return bytes_; }

private:
  QByteArray bytes_;
};

// Reads fields of received data; anything beyond the data reads as zero.
class Reader {
public:
  explicit Reader(const QByteArray &data, int base = 0) : data_(data), base_(base) {}
  quint32 u32(int offset) const {
    const qsizetype at = qsizetype(base_) + offset;
    if (at < 0 || at + 4 > data_.size())
      return 0;
    return qFromLittleEndian<quint32>(data_.constData() + at);
  }
  // The bytes up to the first NUL, never beyond the array or the data.
  QByteArray raw(int offset, int width) const {
    const qsizetype at = qsizetype(base_) + offset;
    if (at < 0 || at >= data_.size() || width <= 0)
      return {};
    const qsizetype end = std::min<qsizetype>(at + width, data_.size());
    QByteArray out = data_.mid(at, end - at);
    const int nul = out.indexOf('\0');
    if (nul >= 0)
      out.truncate(nul);
    return out;
  }
  QString text(int offset, int width) const { return QString::fromUtf8(raw(offset, width)); }

private:
  const QByteArray &data_;
  int base_;
};

} // namespace wlanwire

struct WLANBasicRecord {
  static constexpr int kSize = 52;
  quint32 apmode = 0;
  QString ssid;
  quint32 apchannel = 0;
  quint32 hidessid = 0;
  quint32 aprate = 0;

  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, apmode);
    w.text(4, 33, ssid);
    w.u32(40, apchannel);
    w.u32(44, hidessid);
    w.u32(48, aprate);
    return w.bytes();
  }
  static std::optional<WLANBasicRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    WLANBasicRecord rec;
    rec.apmode = r.u32(0);
    rec.ssid = r.text(4, 33);
    rec.apchannel = r.u32(40);
    rec.hidessid = r.u32(44);
    rec.aprate = r.u32(48);
    return rec;
  }
  bool operator==(const WLANBasicRecord &) const = default;
};

struct WLANSecurityRecord {
  static constexpr int kSize = 8;
  quint32 aumode = 0;
  quint32 maxnum = 0;

  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, aumode);
    w.u32(4, maxnum);
    return w.bytes();
  }
  static std::optional<WLANSecurityRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    return WLANSecurityRecord{r.u32(0), r.u32(4)};
  }
  bool operator==(const WLANSecurityRecord &) const = default;
};

struct WEPKeyRecord {
  static constexpr int kSize = 132;
  static constexpr int kKeyWidth = 27;
  quint32 shmode = 0;
  quint32 wepkeyindex = 0;
  QString key[4];
  quint32 keyModel[4] = {0, 0, 0, 0};

  // With encryption "NONE" the whole record travels as zero.
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    if (shmode == 0)
      return w.bytes();
    w.u32(0, shmode);
    w.u32(4, wepkeyindex);
    for (int i = 0; i < 4; ++i) {
      w.text(8 + i * kKeyWidth, kKeyWidth, key[i]);
      w.u32(116 + i * 4, keyModel[i]);
    }
    return w.bytes();
  }
  static std::optional<WEPKeyRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    WEPKeyRecord rec;
    rec.shmode = r.u32(0);
    rec.wepkeyindex = r.u32(4);
    for (int i = 0; i < 4; ++i) {
      rec.key[i] = r.text(8 + i * kKeyWidth, kKeyWidth);
      rec.keyModel[i] = r.u32(116 + i * 4);
    }
    return rec;
  }
  bool operator==(const WEPKeyRecord &o) const {
    for (int i = 0; i < 4; ++i)
      if (key[i] != o.key[i] || keyModel[i] != o.keyModel[i])
        return false;
    return shmode == o.shmode && wepkeyindex == o.wepkeyindex;
  }
};

struct WPAKeyRecord {
  static constexpr int kSize = 76;
  quint32 authentication = 0; // derived from the security mode when sending
  quint32 wpamode = 0;
  QString presharekey;

  // The authentication word of a security mode: WPA-PSK 1, WPA2-PSK 2, WPA/WPA2-PSK 0.
  static quint32 authenticationOf(quint32 aumode) {
    switch (aumode) {
    case 2:
      return 1;
    case 3:
      return 2;
    default:
      return 0;
    }
  }
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, authentication);
    w.u32(4, wpamode);
    w.text(8, 65, presharekey);
    return w.bytes();
  }
  static std::optional<WPAKeyRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    return WPAKeyRecord{r.u32(0), r.u32(4), r.text(8, 65)};
  }
  bool operator==(const WPAKeyRecord &) const = default;
};

struct FilterSwitchRecord {
  static constexpr int kSize = 8;
  quint32 enable = 0;
  quint32 policy = 0;

  // An off filter carries no policy.
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    if (enable != 0) {
      w.u32(0, enable);
      w.u32(4, policy);
    }
    return w.bytes();
  }
  static std::optional<FilterSwitchRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    return FilterSwitchRecord{r.u32(0), r.u32(4)};
  }
  bool operator==(const FilterSwitchRecord &) const = default;
};

// The virtual server's switch: one word.
struct EnableWordRecord {
  static constexpr int kSize = 4;
  quint32 enable = 0;
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, enable);
    return w.bytes();
  }
  static std::optional<EnableWordRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    return EnableWordRecord{wlanwire::Reader(data).u32(0)};
  }
};

enum WLANRuleOperation : quint32 { kRuleAdd = 0, kRuleChange = 1, kRuleDelete = 2 };

struct IPFilterRuleRecord {
  static constexpr int kSize = 120;
  quint32 if_oper = 0;
  quint32 if_index = 0;
  quint32 if_protocol = 0;
  quint32 if_action = 0;
  QString if_name;
  QString if_dest_ip;
  QString if_source_ip;
  quint32 if_dest_port_b = 0, if_dest_port_e = 0, if_source_port_b = 0, if_source_port_e = 0;
  QString if_mac_address;

  // A delete carries the operation and the index only.
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, if_oper);
    w.u32(4, if_index);
    if (if_oper == kRuleDelete)
      return w.bytes();
    w.u32(8, if_protocol);
    w.u32(12, if_action);
    w.text(16, 33, if_name);
    w.text(49, 16, if_dest_ip);
    w.text(65, 16, if_source_ip);
    w.u32(84, if_dest_port_b);
    w.u32(88, if_dest_port_e);
    w.u32(92, if_source_port_b);
    w.u32(96, if_source_port_e);
    w.text(100, 18, if_mac_address);
    return w.bytes();
  }
  static std::optional<IPFilterRuleRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    IPFilterRuleRecord rec;
    rec.if_oper = r.u32(0);
    rec.if_index = r.u32(4);
    rec.if_protocol = r.u32(8);
    rec.if_action = r.u32(12);
    rec.if_name = r.text(16, 33);
    rec.if_dest_ip = r.text(49, 16);
    rec.if_source_ip = r.text(65, 16);
    rec.if_dest_port_b = r.u32(84);
    rec.if_dest_port_e = r.u32(88);
    rec.if_source_port_b = r.u32(92);
    rec.if_source_port_e = r.u32(96);
    rec.if_mac_address = r.text(100, 18);
    return rec;
  }
  bool operator==(const IPFilterRuleRecord &) const = default;
};

struct ListReadRequest {
  static constexpr int kSize = 8;
  static QByteArray encode() {
    wlanwire::Writer w(kSize);
    w.u32(0, 1);
    w.u32(4, WLANMsg::kListCapacity);
    return w.bytes();
  }
};

struct IPFilterListEntry {
  static constexpr int kSize = 116;
  quint32 index = 0;
  QString comment;
  QString destIp;
  QString sourceIp;
  quint32 destPortBegin = 0, destPortEnd = 0, sourcePortBegin = 0, sourcePortEnd = 0;
  quint32 protocol = 0;
  quint32 action = 0;
  QString mac;
  bool operator==(const IPFilterListEntry &) const = default;
};

struct VirtualServerListEntry {
  static constexpr int kSize = 68;
  quint32 index = 0;
  QString comment;
  QString ip;
  quint32 portBegin = 0, portEnd = 0;
  quint32 protocol = 0;
  bool operator==(const VirtualServerListEntry &) const = default;
};

namespace wlanwire {
// The number of entries a list reply really holds: its count, at most ten, and no more than the
// slots present in the data.
inline int listCount(const QByteArray &data, int slotSize) {
  if (data.size() < 4)
    return 0;
  const quint32 count = Reader(data).u32(0);
  const int present = int((data.size() - 4) / slotSize);
  return int(std::min<quint32>({count, quint32(WLANMsg::kListCapacity), quint32(present)}));
}
} // namespace wlanwire

struct IPFilterListReply {
  static constexpr int kSize = 4 + WLANMsg::kListCapacity * IPFilterListEntry::kSize; // 1164
  QList<IPFilterListEntry> entries;

  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    const int n = int(std::min<qsizetype>(entries.size(), WLANMsg::kListCapacity));
    w.u32(0, quint32(n));
    for (int i = 0; i < n; ++i) {
      const int b = 4 + i * IPFilterListEntry::kSize;
      const IPFilterListEntry &e = entries.at(i);
      w.u32(b + 0, e.index);
      w.text(b + 4, 33, e.comment);
      w.text(b + 37, 16, e.destIp);
      w.text(b + 53, 16, e.sourceIp);
      w.u32(b + 72, e.destPortBegin);
      w.u32(b + 76, e.destPortEnd);
      w.u32(b + 80, e.sourcePortBegin);
      w.u32(b + 84, e.sourcePortEnd);
      w.u32(b + 88, e.protocol);
      w.u32(b + 92, e.action);
      w.text(b + 96, 18, e.mac);
    }
    return w.bytes();
  }
  static IPFilterListReply decode(const QByteArray &data) {
    IPFilterListReply reply;
    const int n = wlanwire::listCount(data, IPFilterListEntry::kSize);
    for (int i = 0; i < n; ++i) {
      wlanwire::Reader r(data, 4 + i * IPFilterListEntry::kSize);
      IPFilterListEntry e;
      e.index = r.u32(0);
      e.comment = r.text(4, 33);
      e.destIp = r.text(37, 16);
      e.sourceIp = r.text(53, 16);
      e.destPortBegin = r.u32(72);
      e.destPortEnd = r.u32(76);
      e.sourcePortBegin = r.u32(80);
      e.sourcePortEnd = r.u32(84);
      e.protocol = r.u32(88);
      e.action = r.u32(92);
      e.mac = r.text(96, 18);
      reply.entries << e;
    }
    return reply;
  }
};

struct VirtualServerRuleRecord {
  static constexpr int kSize = 72;
  quint32 vs_oper = 0;
  quint32 vs_index = 0;
  QString vs_ip_address;
  quint32 vs_port_b = 0, vs_port_e = 0;
  quint32 vs_protocol = 0;
  QString vs_name;

  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.u32(0, vs_oper);
    w.u32(4, vs_index);
    if (vs_oper == kRuleDelete)
      return w.bytes();
    w.text(8, 16, vs_ip_address);
    w.u32(24, vs_port_b);
    w.u32(28, vs_port_e);
    w.u32(32, vs_protocol);
    w.text(36, 33, vs_name);
    return w.bytes();
  }
  static std::optional<VirtualServerRuleRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    VirtualServerRuleRecord rec;
    rec.vs_oper = r.u32(0);
    rec.vs_index = r.u32(4);
    rec.vs_ip_address = r.text(8, 16);
    rec.vs_port_b = r.u32(24);
    rec.vs_port_e = r.u32(28);
    rec.vs_protocol = r.u32(32);
    rec.vs_name = r.text(36, 33);
    return rec;
  }
  bool operator==(const VirtualServerRuleRecord &) const = default;
};

struct VirtualServerListReply {
  static constexpr int kSize = 4 + WLANMsg::kListCapacity * VirtualServerListEntry::kSize; // 684
  QList<VirtualServerListEntry> entries;

  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    const int n = int(std::min<qsizetype>(entries.size(), WLANMsg::kListCapacity));
    w.u32(0, quint32(n));
    for (int i = 0; i < n; ++i) {
      const int b = 4 + i * VirtualServerListEntry::kSize;
      const VirtualServerListEntry &e = entries.at(i);
      w.u32(b + 0, e.index);
      w.text(b + 4, 33, e.comment);
      w.text(b + 37, 16, e.ip);
      w.u32(b + 56, e.portBegin);
      w.u32(b + 60, e.portEnd);
      w.u32(b + 64, e.protocol);
    }
    return w.bytes();
  }
  static VirtualServerListReply decode(const QByteArray &data) {
    VirtualServerListReply reply;
    const int n = wlanwire::listCount(data, VirtualServerListEntry::kSize);
    for (int i = 0; i < n; ++i) {
      wlanwire::Reader r(data, 4 + i * VirtualServerListEntry::kSize);
      VirtualServerListEntry e;
      e.index = r.u32(0);
      e.comment = r.text(4, 33);
      e.ip = r.text(37, 16);
      e.portBegin = r.u32(56);
      e.portEnd = r.u32(60);
      e.protocol = r.u32(64);
      reply.entries << e;
    }
    return reply;
  }
};

struct DHCPRecord {
  static constexpr int kSize = 72;
  QString ip_address;
  QString subnet_mask;
  quint32 dhcp_enable = 0;
  quint32 dhcp_lease = 0;
  QString start_ip;
  QString end_ip;

  // With the DHCP server off only the address, the mask and the switch travel.
  QByteArray encode() const {
    wlanwire::Writer w(kSize);
    w.text(0, 16, ip_address);
    w.text(16, 16, subnet_mask);
    w.u32(32, dhcp_enable);
    if (dhcp_enable == 0)
      return w.bytes();
    w.u32(36, dhcp_lease);
    w.text(40, 16, start_ip);
    w.text(56, 16, end_ip);
    return w.bytes();
  }
  static std::optional<DHCPRecord> decode(const QByteArray &data) {
    if (data.size() < kSize)
      return std::nullopt;
    wlanwire::Reader r(data);
    DHCPRecord rec;
    rec.ip_address = r.text(0, 16);
    rec.subnet_mask = r.text(16, 16);
    rec.dhcp_enable = r.u32(32);
    rec.dhcp_lease = r.u32(36);
    rec.start_ip = r.text(40, 16);
    rec.end_ip = r.text(56, 16);
    return rec;
  }
  bool operator==(const DHCPRecord &) const = default;
};

// The factory-default request: one word, always 1.
inline QByteArray restoreFactoryPayload() {
  wlanwire::Writer w(4);
  w.u32(0, 1);
  return w.bytes();
}
