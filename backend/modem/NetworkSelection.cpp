#include "NetworkSelection.h"

#include "NetworkRegistration.h"
#include "SimulatedModem.h"

#include <QtEndian>
#include <cstring>

namespace NetworkSelection {

namespace {
constexpr uint16_t kSelMajor = 513;
constexpr uint16_t kSetModeMinor = 77, kSearchMinor = 79, kRegisterMinor = 80, kBandReadMinor = 82, kBandSetMinor = 83,
                   kMethodMinor = 84, kCheckMinor = 89, kCancelMinor = 90;
constexpr uint16_t kDeviceInfoMajor = 258, kDeviceInfoMinor = 75;
constexpr uint16_t kCdmaMajor = 3, kCdmaMinor = 6;
constexpr uint8_t kFail = UIMsg::kResultFailure;
constexpr int kRegisterAnswerSize = 80;

const QString kSelection = QStringLiteral("NetworkSelection");

QVariantMap &editableScenario(SimulatedModem &modem) {
  return const_cast<QVariantMap &>(modem.scenario());
}

QVariantMap selection(const SimulatedModem &modem) {
  return modem.scenario().value(kSelection).toMap();
}

void setSelection(SimulatedModem &modem, const QString &key, const QVariant &value) {
  QVariantMap &scenario = editableScenario(modem);
  QVariantMap sel = scenario.value(kSelection).toMap();
  sel.insert(key, value);
  scenario.insert(kSelection, sel);
}

// The device's read-back of the modes (513/76) follows what was set.
void setDeviceMode(SimulatedModem &modem, const QString &key, int value) {
  QVariantMap &scenario = editableScenario(modem);
  QVariantMap device = scenario.value(QStringLiteral("Device")).toMap();
  device.insert(key, value);
  scenario.insert(QStringLiteral("Device"), device);
}

QVariantMap recordWithNumeric(const SimulatedModem &modem, const QString &numeric) {
  for (const QVariant &v : modem.scenario().value(QStringLiteral("NetworkList")).toList()) {
    const QVariantMap record = v.toMap();
    if (!numeric.isEmpty() && record.value(QStringLiteral("Numeric")).toString() == numeric)
      return record;
  }
  return {};
}

void putText(QByteArray &buffer, int offset, int width, const QString &text) {
  const QByteArray field = Payload::field(text, width);
  std::memcpy(buffer.data() + offset, field.constData(), size_t(width));
}

// The registration answer: a signal figure, the network's id and its technology digit.
QByteArray registerAnswer(const QString &numeric, int technology) {
  QByteArray data(kRegisterAnswerSize, '\0');
  const float quality = 1.0f;
  quint32 bits = 0;
  std::memcpy(&bits, &quality, sizeof bits);
  qToLittleEndian<quint32>(bits, data.data());
  putText(data, 4, 36, numeric);
  data[40] = technology == 2 ? '3' : '2';
  return data;
}

void answerRegistration(SimulatedModem &modem, const UIMsg &request, const QString &numeric, int technology) {
  const QVariantMap record = recordWithNumeric(modem, numeric);
  const int state = record.value(QStringLiteral("State")).toInt();
  const bool ok = !record.isEmpty() && state != 3 && !record.value(QStringLiteral("RegistrationFails")).toBool();
  if (!ok) {
    modem.send(kSelMajor, kRegisterMinor, 1, kFail, {}, request.moduleId);
    return;
  }
  setSelection(modem, QStringLiteral("SelectedMode"), 1);
  setSelection(modem, QStringLiteral("Registered"), numeric);
  setDeviceMode(modem, QStringLiteral("SelectedMode"), 1);
  modem.send(kSelMajor, kRegisterMinor, 1, 0, registerAnswer(numeric, technology), request.moduleId);
  // The chosen network becomes the registered one, as the device then reports it.
  const QString name = record.value(QStringLiteral("ShortName")).toString();
  const int mncLength =
      modem.scenario().value(QStringLiteral("SIM")).toMap().value(QStringLiteral("MNCLength"), 2).toInt();
  NetworkRegistration::setNetwork(modem, name.isEmpty() ? record.value(QStringLiteral("LongName")).toString() : name,
                                  numeric.left(3), numeric.mid(3, mncLength == 3 ? 3 : 2),
                                  technology == 2 ? QStringLiteral("UMTS") : QStringLiteral("GSM"));
}
} // namespace

QByteArray searchReply(const QVariantList &networks) {
  QByteArray data(kListSize, '\0');
  const int count = int(std::min<qsizetype>(networks.size(), kMaxRecords));
  qToLittleEndian<quint32>(quint32(count), data.data());
  for (int i = 0; i < count; ++i) {
    const QVariantMap r = networks[i].toMap();
    const int base = 4 + i * kRecordSize;
    qToLittleEndian<quint32>(quint32(r.value(QStringLiteral("State"), 1).toInt()), data.data() + base);
    putText(data, base + 4, 68, r.value(QStringLiteral("LongName")).toString());
    putText(data, base + 72, 20, r.value(QStringLiteral("ShortName")).toString());
    putText(data, base + 92, 12, r.value(QStringLiteral("Numeric")).toString());
    putText(data, base + 104, 24, QString::number(r.value(QStringLiteral("Technology"), 2).toInt()));
  }
  return data;
}

void setNetworkList(SimulatedModem &modem, const QVariantList &networks) {
  editableScenario(modem).insert(QStringLiteral("NetworkList"), networks);
}

QVariantMap state(const SimulatedModem &modem) {
  const QVariantMap sel = selection(modem);
  const QVariantMap net = modem.scenario().value(QStringLiteral("Network")).toMap();
  return {
      {QStringLiteral("SearchMode"), sel.value(QStringLiteral("SearchMode"), 0)},
      {QStringLiteral("SelectedMode"), sel.value(QStringLiteral("SelectedMode"), 0)},
      {QStringLiteral("Band"), modem.scenario().value(QStringLiteral("Band"), 3)},
      {QStringLiteral("Preference"), sel.value(QStringLiteral("Preference"), 8)},
      {QStringLiteral("NationalRoaming"), net.value(QStringLiteral("NationalRoaming"), true)},
      {QStringLiteral("InternationalRoaming"), net.value(QStringLiteral("InternationalRoaming"), false)},
      {QStringLiteral("Registered"), sel.value(QStringLiteral("Registered"), QString())},
      {QStringLiteral("Searches"), sel.value(QStringLiteral("Searches"), 0)},
      {QStringLiteral("Cancels"), sel.value(QStringLiteral("Cancels"), 0)},
  };
}

void install(SimulatedModem &modem) {
  modem.on(kSelMajor, kSetModeMinor, [&modem](const UIMsg &m) {
    const int mode = int(Payload::u32At(m, 0));
    setSelection(modem, QStringLiteral("SearchMode"), mode);
    setSelection(modem, QStringLiteral("SelectedMode"), 0);
    setDeviceMode(modem, QStringLiteral("SelectedMode"), 0);
    modem.send(kSelMajor, kSetModeMinor, 1, 0, {}, m.moduleId);
  });
  modem.on(kSelMajor, kSearchMinor, [&modem](const UIMsg &m) {
    setSelection(modem, QStringLiteral("Searches"), selection(modem).value(QStringLiteral("Searches")).toInt() + 1);
    const QVariant list = modem.scenario().value(QStringLiteral("NetworkList"));
    if (!list.isValid() || !modem.isPlugged())
      modem.send(kSelMajor, kSearchMinor, 1, kFail, {}, m.moduleId);
    else
      modem.send(kSelMajor, kSearchMinor, 1, 0, searchReply(list.toList()), m.moduleId);
  });
  modem.on(kSelMajor, kRegisterMinor, [&modem](const UIMsg &m) {
    const QString numeric = Payload::text(m, 8, 68);
    setSelection(modem, QStringLiteral("LastAttempt"), numeric);
    answerRegistration(modem, m, numeric, int(Payload::u32At(m, 76)));
  });
  modem.on(kSelMajor, kCheckMinor, [&modem](const UIMsg &m) {
    const QString numeric = selection(modem).value(QStringLiteral("LastAttempt")).toString();
    const QVariantMap record = recordWithNumeric(modem, numeric);
    answerRegistration(modem, m, numeric, record.value(QStringLiteral("Technology"), 2).toInt());
  });
  modem.on(kSelMajor, kCancelMinor, [&modem](const UIMsg &m) {
    setSelection(modem, QStringLiteral("Cancels"), selection(modem).value(QStringLiteral("Cancels")).toInt() + 1);
    modem.send(kSelMajor, kCancelMinor, 1, 0, {}, m.moduleId);
  });
  modem.on(kSelMajor, kBandSetMinor, [&modem](const UIMsg &m) {
    if (m.dataLength < 4) {
      modem.send(kSelMajor, kBandSetMinor, 1, kFail, {}, m.moduleId);
      return;
    }
    editableScenario(modem).insert(QStringLiteral("Band"), int(Payload::u32At(m, 0)));
    modem.send(kSelMajor, kBandSetMinor, 1, 0, {}, m.moduleId);
  });
  modem.on(kSelMajor, kBandReadMinor, [&modem](const UIMsg &m) {
    modem.send(kSelMajor, kBandReadMinor, 1, 0,
               Payload::u32(quint32(modem.scenario().value(QStringLiteral("Band"), 3).toInt())), m.moduleId);
  });
  modem.on(kSelMajor, kMethodMinor, [&modem](const UIMsg &m) {
    modem.send(kSelMajor, kMethodMinor, 1, 0,
               Payload::u32(quint32(selection(modem).value(QStringLiteral("SelectedMode"), 0).toInt())), m.moduleId);
  });
  modem.on(kDeviceInfoMajor, kDeviceInfoMinor, [&modem](const UIMsg &m) {
    modem.send(kDeviceInfoMajor, kDeviceInfoMinor, 1, 0,
               Payload::u32(0) + Payload::u32(modem.scenario().value(QStringLiteral("NDIS")).toBool() ? 1 : 0),
               m.moduleId);
  });
  modem.on(kCdmaMajor, kCdmaMinor, [&modem](const UIMsg &m) {
    setSelection(modem, QStringLiteral("Preference"), int(Payload::u32At(m, 0)));
    modem.send(kCdmaMajor, kCdmaMinor, 1, 0, {}, m.moduleId);
  });
}

} // namespace NetworkSelection
