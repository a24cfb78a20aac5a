#include "SimServices.h"

#include "SimulatedModem.h"
#include "SmsCodecSettings.h"
#include "SmsPacking.h"

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
  modem.onSimReady([self] {
    self->simReady_ = true;
    self->session_.clear();
  });
  modem.on(kUssdMajor, kUssdRequest, [self](const UIMsg &msg) { self->onUssdRequest(msg); });
  return self;
}

SimServices *SimServices::of(SimulatedModem &modem) {
  return modem.findChild<SimServices *>(QStringLiteral("SimServices"), Qt::FindDirectChildrenOnly);
}

QByteArray SimServices::packedHex(const QString &code) {
  // The network's default alphabet, not Latin-1: "@", "[" or "~" have codes of their own there.
  return CodeTheSendingString(code, SmsCodecSettings()).toLatin1();
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
  const int group = (dcs >> 4) & 0xF, alphabet = (dcs >> 2) & 3;
  // The codings in the default alphabet: group 0, the general groups with alphabet bits 00
  // (0x40...) and the data-coding group with the 8-bit flag clear (0xF0...).
  const bool sevenBit = group == 0 || (group >= 4 && group <= 7 && alphabet == 0) || (group == 15 && !(dcs & 4));
  QByteArray body;
  if (sevenBit)
    body = packedHex(text);
  else if (group >= 4 && group <= 7 && alphabet == 2)
    body = ucs2Hex(text);
  else
    body = text.toUtf8();
  modem_.send(kUssdMajor, kUssdReply, 1, 0, ussdRecord(interaction, dcs, body), kModuleUssd);
  if (interaction != 1)
    session_.clear();
  return true;
}

void SimServices::onUssdRequest(const UIMsg &msg) {
  const QByteArray data = msg.payload();
  if (!simReady_ || failRequests_ || data.size() <= kTextOffset) {
    modem_.send(kUssdMajor, kUssdRequest, 1, 0xFF, {}, kModuleUssd);
    return;
  }
  QByteArray text = data.mid(kTextOffset, kRecordSize - kTextOffset);
  const int nul = text.indexOf('\0');
  if (nul >= 0)
    text.truncate(nul);
  lastRequest_ = QString::fromUtf8(text);
  modem_.send(kUssdMajor, kUssdRequest, 1, 0, {}, kModuleUssd);
  // First word 2: the user ends the session; the network says nothing more.
  if (qFromLittleEndian<qint32>(data.constData()) == 2) {
    session_.clear();
    return;
  }
  const QVariantMap ussd = modem_.scenario().value(QStringLiteral("USSD")).toMap();
  // Inside a session the answer is looked up in the menu of the last reply, else among the codes.
  const QVariantMap choices = session_.isEmpty() ? ussd.value(QStringLiteral("Replies")).toMap() : session_;
  QVariantMap reply;
  for (auto it = choices.cbegin(); it != choices.cend(); ++it) {
    if (it.key() == lastRequest_ || packedHex(it.key()) == text) {
      reply = it.value().toMap();
      break;
    }
  }
  if (reply.isEmpty())
    reply = session_.value(QStringLiteral("*")).toMap(); // a menu that takes any answer
  if (reply.isEmpty())
    reply = ussd.value(QStringLiteral("Unknown")).toMap();
  if (reply.isEmpty())
    return;
  const int interaction = reply.value(QStringLiteral("Interaction"), 0).toInt();
  ussdPush(reply.value(QStringLiteral("Text")).toString(), reply.value(QStringLiteral("DCS"), 15).toInt(), interaction);
  session_ = interaction == 1 ? reply.value(QStringLiteral("Menu")).toMap() : QVariantMap();
}
