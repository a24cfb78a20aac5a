// The call packages of the backend: caller lists, numbers, stage codes and emergency lists, with
// any data length the package claims, and the worded-format filler with any format.
#include "CallPackages.h"
#include "TextFormats.h"
#include "UIMsg.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  UIMsg msg;
  msg.setPayload(bytes.left(UIMsg::kDataSize));
  // The length a package claims may lie; the decoders must stay within the data.
  if (size >= 2)
    msg.dataLength = int(uint8_t(bytes[0])) * 40 + int(uint8_t(bytes[1]));
  const QList<CallPackages::CallerRecord> callers = CallPackages::callerList(msg);
  if (callers.size() > CallPackages::kMaxCallers)
    std::abort();
  for (const CallPackages::CallerRecord &c : callers)
    if (c.number.toUtf8().size() > CallPackages::kCallerNumberWidth * 3)
      std::abort();
  if (CallPackages::emergencyNumbers(msg).size() > CallPackages::kEmergencyCount)
    std::abort();
  (void)CallPackages::incomingNumber(msg);
  (void)CallPackages::waitingNumber(msg);
  (void)CallPackages::stageCode(msg);
  if (CallPackages::dialData(QString::fromUtf8(bytes)).size() != CallPackages::kDialNumberSize)
    std::abort();
  (void)fillWordedFormat(QString::fromUtf8(bytes), {1, QStringLiteral("x"), 3.5});
  return 0;
}
