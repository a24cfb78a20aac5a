#include "DialParameters.h"

#include "DialParamsLayout.h"
#include "SimulatedModem.h"

#include <QtEndian>

namespace {
QString utf8Field(const UIMsg &msg, DialParamsLayout::TextField f) {
  const int end = std::min(f.offset + f.width, int(msg.dataLength));
  if (f.offset >= end)
    return {};
  const char *begin = reinterpret_cast<const char *>(msg.data.data()) + f.offset;
  const int len = int(std::find(begin, begin + (end - f.offset), '\0') - begin);
  return QString::fromUtf8(begin, len);
}

int int32Field(const UIMsg &msg, int offset) {
  if (offset + 4 > msg.dataLength)
    return 0;
  return qFromLittleEndian<qint32>(msg.data.data() + offset);
}
} // namespace

DialParameters::DialParameters(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("DialParameters"));
}

DialParameters *DialParameters::install(SimulatedModem &modem) {
  auto *self = new DialParameters(modem);
  modem.on(DialParamsLayout::kMajor, DialParamsLayout::kMinor, [self](const UIMsg &msg) {
    self->last_ = parse(msg);
    ++self->received_;
    self->modem_.send(DialParamsLayout::kMajor, DialParamsLayout::kMinor, 1, 0, {}, DialParamsLayout::kModule);
  });
  return self;
}

DialParameters *DialParameters::of(SimulatedModem &modem) {
  return modem.findChild<DialParameters *>(QStringLiteral("DialParameters"), Qt::FindDirectChildrenOnly);
}

DialParameters::Record DialParameters::parse(const UIMsg &msg) {
  using namespace DialParamsLayout;
  Record r;
  r.apn = utf8Field(msg, kApnName);
  r.number = utf8Field(msg, kTelNumber);
  r.user = utf8Field(msg, kAccountName);
  r.password = utf8Field(msg, kPassword);
  r.pdpAddress = utf8Field(msg, kPdpAddress);
  r.preDns = utf8Field(msg, kPreDns);
  r.altDns = utf8Field(msg, kAltDns);
  r.ipv6Apn = utf8Field(msg, kIPv6ApnName);
  r.ipv6PrefDns = utf8Field(msg, kIPv6PrefDns);
  r.ipv6AltDns = utf8Field(msg, kIPv6AltDns);
  r.connectType = int32Field(msg, kConnectType);
  r.authMode = int32Field(msg, kPppFlag);
  r.pdpType = int32Field(msg, kPdpType);
  r.pdpFlag = int32Field(msg, kPdpFlag);
  r.disableAlert = int32Field(msg, kDisableAlert);
  r.mtu = int32Field(msg, kMtu);
  return r;
}
