#include "SimServices.h"

#include "SimulatedModem.h"

#include <QVariantMap>
#include <QtEndian>

namespace {
constexpr int kModuleUssd = 7;
constexpr int kUssdMajor = 1792, kUssdRequest = 139, kUssdReply = 140;
constexpr int kRecordSize = 8192, kTextOffset = 8;

QByteArray ucs2Hex(const QString &text) {
  QByteArray out;
  for (QChar c : text)
    out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
  return out;
}
} // namespace

SimServices::SimServices(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SimServices"));
}

SimServices *SimServices::install(SimulatedModem &modem) {
  auto *self = new SimServices(modem);
  modem.onSimReady([self] { self->simReady_ = true; });
  modem.on(kUssdMajor, kUssdRequest, [self](const UIMsg &msg) { self->onUssdRequest(msg.payload()); });
  return self;
}

SimServices *SimServices::of(SimulatedModem &modem) {
  return modem.findChild<SimServices *>(QStringLiteral("SimServices"), Qt::FindDirectChildrenOnly);
}

QByteArray SimServices::packedHex(const QString &code) {
  QByteArray septets = code.toLatin1();
  if (septets.size() % 8 == 7)
    septets += '\r';
  QByteArray octets;
  int acc = 0, bits = 0;
  for (char s : septets) {
    acc |= (s & 0x7F) << bits;
    bits += 7;
    while (bits >= 8) {
      octets += char(acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0)
    octets += char(acc & 0xFF);
  return octets.toHex().toUpper();
}

QByteArray SimServices::ussdRecord(int interaction, int dcs, const QByteArray &text) {
  QByteArray record(kRecordSize, '\0');
  qToLittleEndian<qint32>(interaction, record.data());
  qToLittleEndian<qint32>(dcs, record.data() + 4);
  const QByteArray body = text.left(kRecordSize - kTextOffset - 1);
  std::copy(body.cbegin(), body.cend(), record.begin() + kTextOffset);
  return record;
}

bool SimServices::ussdPush(const QString &text, int dcs, int interaction) {
  if (!simReady_)
    return false;
  const int group = (dcs >> 4) & 0xF;
  QByteArray body;
  if (group == 0)
    body = packedHex(text);
  else if (group >= 4 && group <= 7 && ((dcs >> 2) & 3) == 2)
    body = ucs2Hex(text);
  else
    body = text.toUtf8();
  modem_.send(kUssdMajor, kUssdReply, 1, 0, ussdRecord(interaction, dcs, body), kModuleUssd);
  return true;
}

void SimServices::onUssdRequest(const QByteArray &data) {
  if (!simReady_ || data.size() <= kTextOffset) {
    modem_.send(kUssdMajor, kUssdRequest, 1, 0xFF, {}, kModuleUssd);
    return;
  }
  QByteArray text = data.mid(kTextOffset, kRecordSize - kTextOffset);
  const int nul = text.indexOf('\0');
  if (nul >= 0)
    text.truncate(nul);
  lastRequest_ = QString::fromUtf8(text);
  modem_.send(kUssdMajor, kUssdRequest, 1, 0, {}, kModuleUssd);
  const QVariantMap replies =
      modem_.scenario().value(QStringLiteral("USSD")).toMap().value(QStringLiteral("Replies")).toMap();
  for (auto it = replies.cbegin(); it != replies.cend(); ++it) {
    if (it.key() != lastRequest_ && packedHex(it.key()) != text)
      continue;
    const QVariantMap r = it.value().toMap();
    ussdPush(r.value(QStringLiteral("Text")).toString(), r.value(QStringLiteral("DCS"), 15).toInt(),
             r.value(QStringLiteral("Interaction"), 0).toInt());
    return;
  }
}
