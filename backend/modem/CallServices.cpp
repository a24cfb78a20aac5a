#include "CallServices.h"

#include "SimulatedModem.h"

namespace CallServices {

namespace {
constexpr uint16_t kMajor = 2307;
constexpr uint16_t kForwardSet = 154, kBarSet = 155, kWaitSet = 156;
constexpr uint16_t kBarAnswer = 157, kForwardAnswer = 158, kWaitAnswer = 159, kWaitRead = 160, kBarRead = 161,
                   kForwardRead = 162;
constexpr uint8_t kFail = UIMsg::kResultFailure;
constexpr quint32 kVoiceClass = 1;
const QString kKey = QStringLiteral("CallServices");

QVariantMap services(const SimulatedModem &modem) {
  return modem.scenario().value(kKey).toMap();
}

void edit(SimulatedModem &modem, const std::function<void(QVariantMap &)> &change) {
  auto &scenario = const_cast<QVariantMap &>(modem.scenario());
  QVariantMap s = scenario.value(kKey).toMap();
  change(s);
  scenario.insert(kKey, s);
}

bool flag(const SimulatedModem &modem, const char *key) {
  return services(modem).value(QLatin1String(key)).toBool();
}

void forwarding(SimulatedModem &modem, const UIMsg &m) {
  const QString reason = QString::number(Payload::u32At(m, 0));
  const quint32 mode = Payload::u32At(m, 4);
  if (mode == 2) {
    if (flag(modem, "ReadFails")) {
      modem.send(kMajor, kForwardRead, 1, kFail, {}, m.moduleId);
      return;
    }
    const QVariantMap entry = services(modem).value(QStringLiteral("Forwarding")).toMap().value(reason).toMap();
    const bool on = entry.value(QStringLiteral("Status")).toBool();
    QByteArray data = Payload::u32(1) + Payload::u32(on ? 1 : 0) + Payload::u32(kVoiceClass) +
                      Payload::field(on ? entry.value(QStringLiteral("Number")).toString() : QString(), 76);
    modem.send(kMajor, kForwardRead, 1, 0, data, m.moduleId);
    return;
  }
  if (mode != 3 && mode != 4) {
    modem.send(kMajor, kForwardAnswer, 1, kFail, {}, m.moduleId);
    return;
  }
  const QString number = Payload::text(m, 8, 32);
  if (mode == 3 && number.isEmpty()) {
    modem.send(kMajor, kForwardAnswer, 1, kFail, {}, m.moduleId);
    return;
  }
  if (!flag(modem, "Keep"))
    edit(modem, [&](QVariantMap &s) {
      QVariantMap fw = s.value(QStringLiteral("Forwarding")).toMap();
      fw.insert(reason, QVariantMap{{QStringLiteral("Status"), mode == 3},
                                    {QStringLiteral("Number"), mode == 3 ? number : QString()}});
      s.insert(QStringLiteral("Forwarding"), fw);
    });
  modem.send(kMajor, kForwardAnswer, 1, 0, {}, m.moduleId);
}

void barring(SimulatedModem &modem, const UIMsg &m) {
  const QString facility = Payload::text(m, 0, 4);
  const quint32 mode = Payload::u32At(m, 12);
  if (mode == 2) {
    if (flag(modem, "ReadFails")) {
      modem.send(kMajor, kBarRead, 1, kFail, {}, m.moduleId);
      return;
    }
    const bool on = services(modem).value(QStringLiteral("Barring")).toMap().value(facility).toBool();
    modem.send(kMajor, kBarRead, 1, 0, Payload::u32(on ? 1 : 0), m.moduleId);
    return;
  }
  const QString password = services(modem).value(QStringLiteral("Password"), QStringLiteral("0000")).toString();
  if (mode > 1 || Payload::text(m, 16, 12) != password) {
    modem.send(kMajor, kBarAnswer, 1, kFail, {}, m.moduleId);
    return;
  }
  if (!flag(modem, "Keep"))
    edit(modem, [&](QVariantMap &s) {
      QVariantMap bars = s.value(QStringLiteral("Barring")).toMap();
      bars.insert(facility, mode == 1);
      s.insert(QStringLiteral("Barring"), bars);
    });
  modem.send(kMajor, kBarAnswer, 1, 0, {}, m.moduleId);
}

void waiting(SimulatedModem &modem, const UIMsg &m) {
  const quint32 mode = Payload::u32At(m, 4);
  if (mode == 2) {
    if (flag(modem, "ReadFails")) {
      modem.send(kMajor, kWaitRead, 1, kFail, {}, m.moduleId);
      return;
    }
    const bool on = flag(modem, "Waiting");
    modem.send(kMajor, kWaitRead, 1, 0, Payload::u32(1) + Payload::u32(on ? 1 : 0) + Payload::u32(kVoiceClass),
               m.moduleId);
    return;
  }
  if (mode > 1) {
    modem.send(kMajor, kWaitAnswer, 1, kFail, {}, m.moduleId);
    return;
  }
  // A network that refuses with a code of its own (not the general failure) changes nothing.
  if (const int refusal = services(modem).value(QStringLiteral("WaitSetResult")).toInt(); refusal > 0) {
    modem.send(kMajor, kWaitAnswer, 1, quint8(refusal), {}, m.moduleId);
    return;
  }
  if (!flag(modem, "Keep"))
    edit(modem, [&](QVariantMap &s) { s.insert(QStringLiteral("Waiting"), mode == 1); });
  modem.send(kMajor, kWaitAnswer, 1, 0, {}, m.moduleId);
}
} // namespace

QVariantMap state(const SimulatedModem &modem) {
  return services(modem);
}

void setState(SimulatedModem &modem, const QVariantMap &s) {
  const_cast<QVariantMap &>(modem.scenario()).insert(kKey, s);
}

void setKeep(SimulatedModem &modem, bool keep) {
  edit(modem, [keep](QVariantMap &s) { s.insert(QStringLiteral("Keep"), keep); });
}

void install(SimulatedModem &modem) {
  modem.on(kMajor, kForwardSet, [&modem](const UIMsg &m) { forwarding(modem, m); });
  modem.on(kMajor, kBarSet, [&modem](const UIMsg &m) { barring(modem, m); });
  modem.on(kMajor, kWaitSet, [&modem](const UIMsg &m) { waiting(modem, m); });
}

} // namespace CallServices
