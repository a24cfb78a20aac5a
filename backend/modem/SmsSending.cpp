#include "SmsSending.h"

#include "SimulatedModem.h"
#include "SmsSendRequest.h"

namespace {
constexpr int kMajor = 768, kMinorSend = 91, kModuleSms = 5;
constexpr int kUnitsPerPart = 160;
} // namespace

SmsSending::SmsSending(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SmsSending"));
}

SmsSending *SmsSending::install(SimulatedModem &modem) {
  auto *self = new SmsSending(modem);
  modem.on(kMajor, kMinorSend, [self](const UIMsg &msg) {
    const std::optional<SmsSendRequest> request = SmsSendRequest::decode(msg.payload());
    if (!request) {
      self->modem_.send(kMajor, kMinorSend, 1, UIMsg::kResultFailure, SmsSendResult::payload({}), kModuleSms);
      return;
    }
    self->sent_.append({request->number, request->text});
    if (!request->returnResult)
      return;
    const int parts =
        qBound(1, (int(request->text.size()) + kUnitsPerPart - 1) / kUnitsPerPart, SmsSendResult::kMaxParts);
    self->modem_.send(kMajor, kMinorSend, 1, 0, SmsSendResult::payload(QList<bool>(parts, self->sendOk_)), kModuleSms);
  });
  return self;
}

SmsSending *SmsSending::of(SimulatedModem &modem) {
  return modem.findChild<SmsSending *>(QStringLiteral("SmsSending"), Qt::FindDirectChildrenOnly);
}
