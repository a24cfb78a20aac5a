// PDUs in hexadecimal text: every decoder, then the encoders on what was decoded.
#include "SmsPdu.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1 || size > 2048)
    return 0;
  SmsPduSettings settings;
  settings.decodePduDoNotUseSms7toUcs2 = data[0] & 1;
  settings.autoDeleteVoicemail = data[0] & 2;
  settings.setMsgCenterWithUnknownNum = data[0] & 4;
  const std::string pdu(reinterpret_cast<const char *>(data + 1), size - 1);

  SmsPduRecord r;
  char out[kSmsPduHexSize];
  auto checkTerminated = [](const SmsPduRecord &rec) {
    if (!memchr(rec.sca, 0, sizeof rec.sca) || !memchr(rec.address, 0, sizeof rec.address) ||
        !memchr(rec.scts, 0, sizeof rec.scts) || !memchr(rec.dischargeTime, 0, sizeof rec.dischargeTime))
      abort();
  };
  if (DecodePdu_Delivery(pdu.c_str(), &r, settings) >= 0) {
    checkTerminated(r);
    if (r.textLength > kSmsPduTextSize)
      abort();
    EncodePdu_Delivery(&r, out);
    EncodePdu_Submit(&r, out, settings);
  }
  if (DecodePdu_Submit(pdu.c_str(), &r, settings) >= 0) {
    checkTerminated(r);
    EncodePdu_Submit(&r, out, settings);
  }
  Decode_Class0_PDU(pdu.c_str(), &r, settings);
  if (STATUS_REPORT_PDU(pdu.c_str(), &r) == 0)
    checkTerminated(r);
  if (Decode_BroadCast_PDU(pdu.c_str(), &r) > 160)
    abort();
  uint8_t septets[kSmsPduTextSize];
  if (dc7BitHexStr2Str(pdu.c_str(), septets, &r, data[0] & 8) > 160)
    abort();
  char stamp[15];
  EncodeTimeStrToPDUFormat(pdu.c_str(), stamp);
  return 0;
}
