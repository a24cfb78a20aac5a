// A connection profile read from a damaged dialConfig.plist becomes the dial-parameter record,
// and the simulated modem reads whatever record bytes arrive.
#include "DialParameters.h"
#include "DialParamsLayout.h"
#include "DialParamsRecord.h"
#include "DialServiceTransplant.h"
#include "Plist.h"
#include "UIMsg.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  QVariant parsed;
  if (Plist::fromData(bytes, &parsed)) {
    const QVariantMap profile = parsed.toMap();
    const QByteArray record = DialParamsRecord::encode(profile, {1, 1, 1500, true});
    if (record.size() != DialParamsLayout::kRecordSize)
      std::abort();
    for (const DialParamsLayout::TextField f :
         {DialParamsLayout::kApnName, DialParamsLayout::kTelNumber, DialParamsLayout::kAccountName,
          DialParamsLayout::kPassword, DialParamsLayout::kPdpAddress, DialParamsLayout::kIPv6ApnName,
          DialParamsLayout::kPreDns, DialParamsLayout::kAltDns, DialParamsLayout::kIPv6PrefDns,
          DialParamsLayout::kIPv6AltDns})
      if (record.at(f.offset + f.width - 1) != '\0')
        std::abort();
    (void)DialServiceTransplant::indexValue(parsed);
  }
  UIMsg msg;
  msg.setPayload(bytes.left(UIMsg::kDataSize));
  (void)DialParameters::parse(msg);
  return 0;
}
