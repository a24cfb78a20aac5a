// Any bytes as the data of a router read or apply: every decoder stays within the data and its
// arrays, lists hold at most ten entries, and what a decoder reads encodes back to a record of
// the layout's size.
#include "WLANRecords.h"
#include "WiFiSpot.h"

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
  if (!ok)
    abort();
}

template <typename Record> void roundTrip(const QByteArray &data) {
  if (const auto r = Record::decode(data))
    check(r->encode().size() == Record::kSize);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
  const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(std::min<size_t>(size, 16384)));
  roundTrip<WLANBasicRecord>(data);
  roundTrip<WLANSecurityRecord>(data);
  roundTrip<WEPKeyRecord>(data);
  roundTrip<WPAKeyRecord>(data);
  roundTrip<FilterSwitchRecord>(data);
  roundTrip<EnableWordRecord>(data);
  roundTrip<IPFilterRuleRecord>(data);
  roundTrip<VirtualServerRuleRecord>(data);
  roundTrip<DHCPRecord>(data);
  const IPFilterListReply filters = IPFilterListReply::decode(data);
  check(filters.entries.size() <= WLANMsg::kListCapacity);
  for (const IPFilterListEntry &e : filters.entries)
    check(e.comment.size() <= 33 && e.destIp.size() <= 16 && e.mac.size() <= 18);
  check(filters.encode().size() == IPFilterListReply::kSize);
  const VirtualServerListReply servers = VirtualServerListReply::decode(data);
  check(servers.entries.size() <= WLANMsg::kListCapacity);
  check(servers.encode().size() == VirtualServerListReply::kSize);
  const WiFiSpot spot(data);
  check(spot.getNetworkName().size() <= 32);
  return 0;
}
