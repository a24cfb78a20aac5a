#include "SignalAndDevice.h"

#include "SimulatedModem.h"

namespace {
constexpr uint16_t kInfoMajor = 7;
constexpr uint16_t kSignalMinor = 36, kExtendedMinor = 56, kIceraMinor = 55, kAirInfoMinor = 57;
constexpr uint16_t kHwMinor = 49, kFwMinor = 45, kInternalFwMinor = 46, kModelMinor = 50, kNumberMinor = 48,
                   kSerialMinor = 51;
constexpr uint16_t kWorkMajor = 3, kDeviceModeMinor = 5;
constexpr uint16_t kNetSelMajor = 513, kSearchModeMinor = 76, kPreferenceMinor = 81;
constexpr int kAirInfoSize = 384;

const QString kCsq = QStringLiteral("CSQ");

struct Family {
  const char *name;
  uint16_t minor;
  bool cdmaMarker;
  int words;
  // The words for levels 0 to 5.
  QList<QList<int>> levels;
};

const QList<Family> &familyTable() {
  static const QList<Family> table = {
      {"CSQ", kSignalMinor, false, 1, {{0}, {5}, {8}, {11}, {14}, {20}}},
      {"CDMA", kSignalMinor, false, 3, {{0, 0, 0}, {10, 0, 20}, {15, 0, 40}, {22, 0, 60}, {28, 0, 80}, {31, 0, 99}}},
      {"CDMAMarked",
       kSignalMinor,
       true,
       3,
       {{125, 125, 0}, {100, 100, 0}, {90, 90, 0}, {80, 80, 0}, {70, 70, 0}, {50, 50, 0}}},
      {"Extended",
       kExtendedMinor,
       false,
       3,
       {{113, 40, 240}, {100, 34, 228}, {90, 28, 220}, {80, 22, 200}, {70, 18, 190}, {60, 12, 170}}},
      {"Extended2G",
       kExtendedMinor,
       false,
       3,
       {{110, 1000, 1000}, {104, 1000, 1000}, {97, 1000, 1000}, {90, 1000, 1000}, {85, 1000, 1000}, {75, 1000, 1000}}},
      {"Icera",
       kIceraMinor,
       false,
       4,
       {{2, -113, -120, -20},
        {2, -100, -114, -17},
        {2, -90, -110, -14},
        {2, -80, -100, -11},
        {2, -70, -95, -9},
        {2, -60, -85, -6}}},
      {"Icera2G",
       kIceraMinor,
       false,
       4,
       {{1, -110, 0, 0}, {1, -104, 0, 0}, {1, -97, 0, 0}, {1, -90, 0, 0}, {1, -85, 0, 0}, {1, -75, 0, 0}}},
  };
  return table;
}

const Family *findFamily(const QString &name) {
  for (const Family &f : familyTable())
    if (name == QLatin1String(f.name))
      return &f;
  return nullptr;
}

QVariantList variantList(const QList<int> &words) {
  QVariantList out;
  for (int w : words)
    out << w;
  return out;
}

QList<int> intList(const QVariant &value) {
  QList<int> out;
  for (const QVariant &v : value.toList())
    out << v.toInt();
  return out;
}
} // namespace

SignalAndDevice::SignalAndDevice(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SignalAndDevice"));
}

SignalAndDevice *SignalAndDevice::install(SimulatedModem &modem) {
  auto *self = new SignalAndDevice(modem);
  self->install();
  return self;
}

SignalAndDevice *SignalAndDevice::of(SimulatedModem &modem) {
  return modem.findChild<SignalAndDevice *>(QStringLiteral("SignalAndDevice"), Qt::FindDirectChildrenOnly);
}

QStringList SignalAndDevice::families() {
  QStringList names;
  for (const Family &f : familyTable())
    names << QString::fromLatin1(f.name);
  return names;
}

QList<int> SignalAndDevice::valuesForLevel(const QString &family, int level) {
  const Family *f = findFamily(family);
  if (!f || level < 0 || level > 5)
    return {};
  return f->levels.at(level);
}

void SignalAndDevice::install() {
  for (uint16_t minor : {kSignalMinor, kExtendedMinor, kIceraMinor})
    modem_.on(kInfoMajor, minor, [this](const UIMsg &) { pushSignal(); });
  modem_.on(kInfoMajor, kAirInfoMinor, [this](const UIMsg &) { pushAirInfo(true); });
  modem_.on(kWorkMajor, kDeviceModeMinor, [this](const UIMsg &) { pushDeviceMode(); });
  modem_.on(kNetSelMajor, kSearchModeMinor, [this](const UIMsg &) { pushModes(); });
  modem_.on(kNetSelMajor, kPreferenceMinor, [this](const UIMsg &) { pushModes(); });
  modem_.on(kInfoMajor, kHwMinor, [this](const UIMsg &) { pushDeviceIdentity(); });
  modem_.on(kInfoMajor, kFwMinor, [this](const UIMsg &) { pushDeviceIdentity(); });
  modem_.on(kInfoMajor, kInternalFwMinor, [this](const UIMsg &) { pushDeviceIdentity(); });
  modem_.on(kInfoMajor, kModelMinor, [this](const UIMsg &) { pushDeviceIdentity(); });
  modem_.on(kInfoMajor, kSerialMinor, [this](const UIMsg &) { pushDeviceIdentity(); });
  modem_.on(kInfoMajor, kNumberMinor, [this](const UIMsg &) { pushOwnNumber(); });
  modem_.onSimPresent([this] { pushDeviceIdentity(); });
  modem_.onSimReady([this] {
    pushOwnNumber();
    pushModes();
    pushSignal();
    pushAirInfo(false);
  });
}

void SignalAndDevice::followScenario() {
  if (modem_.scenario() == baseScenario_)
    return;
  baseScenario_ = modem_.scenario();
  signalOverride_.clear();
  deviceOverride_.clear();
}

QVariantMap SignalAndDevice::signalDict() const {
  QVariantMap dict = modem_.scenario().value(QStringLiteral("Signal")).toMap();
  for (auto it = signalOverride_.cbegin(); it != signalOverride_.cend(); ++it)
    dict.insert(it.key(), it.value());
  return dict;
}

QVariantMap SignalAndDevice::deviceDict() const {
  QVariantMap dict = modem_.scenario().value(QStringLiteral("Device")).toMap();
  for (auto it = deviceOverride_.cbegin(); it != deviceOverride_.cend(); ++it)
    dict.insert(it.key(), it.value());
  return dict;
}

QString SignalAndDevice::family() const {
  const QString name = signalDict().value(QStringLiteral("Family"), kCsq).toString();
  return findFamily(name) ? name : kCsq;
}

int SignalAndDevice::level() const {
  return std::clamp(signalDict().value(QStringLiteral("Level"), 4).toInt(), 0, 5);
}

void SignalAndDevice::pushSignal() {
  followScenario();
  const Family *f = findFamily(family());
  const QVariantMap dict = signalDict();
  QList<int> words =
      dict.contains(QStringLiteral("Values")) ? intList(dict.value(QStringLiteral("Values"))) : f->levels.at(level());
  while (words.size() < f->words)
    words << 0;
  QByteArray data;
  for (int w : words)
    data += Payload::u32(quint32(w));
  UIMsg m = SimulatedModem::makePackage(kInfoMajor, f->minor, 1, 0, data, 1);
  if (f->cdmaMarker)
    m.tail[2] = '1';
  emit modem_.packageOut(m);
}

bool SignalAndDevice::setLevel(int level) {
  if (level < 0 || level > 5)
    return false;
  followScenario();
  signalOverride_.insert(QStringLiteral("Level"), level);
  signalOverride_.remove(QStringLiteral("Values"));
  // A scenario's raw values would hide the level asked for.
  if (modem_.scenario().value(QStringLiteral("Signal")).toMap().contains(QStringLiteral("Values")))
    signalOverride_.insert(QStringLiteral("Values"), variantList(valuesForLevel(family(), level)));
  pushSignal();
  return true;
}

bool SignalAndDevice::setFamily(const QString &family) {
  if (!findFamily(family))
    return false;
  followScenario();
  signalOverride_.insert(QStringLiteral("Family"), family);
  signalOverride_.remove(QStringLiteral("Values"));
  if (modem_.scenario().value(QStringLiteral("Signal")).toMap().contains(QStringLiteral("Values")))
    signalOverride_.insert(QStringLiteral("Values"), variantList(valuesForLevel(family, level())));
  pushSignal();
  return true;
}

bool SignalAndDevice::setReport(const QString &family, const QList<int> &words) {
  const Family *f = findFamily(family);
  if (!f || words.size() < f->words || words.size() > 64)
    return false;
  followScenario();
  signalOverride_.insert(QStringLiteral("Family"), family);
  signalOverride_.insert(QStringLiteral("Values"), variantList(words));
  pushSignal();
  return true;
}

bool SignalAndDevice::setDeviceMode(int mode) {
  followScenario();
  deviceOverride_.insert(QStringLiteral("Mode"), mode);
  pushDeviceMode();
  return true;
}

void SignalAndDevice::pushDeviceMode() {
  followScenario();
  modem_.send(kWorkMajor, kDeviceModeMinor, 0, 0,
              Payload::u32(quint32(deviceDict().value(QStringLiteral("Mode"), 3).toInt())));
}

QString SignalAndDevice::deviceText(const char *key, const char *fallback) const {
  return deviceDict().value(QString::fromLatin1(key), QString::fromLatin1(fallback)).toString();
}

void SignalAndDevice::sendText(uint16_t major, uint16_t minor, const QString &text, int width) {
  modem_.send(major, minor, 1, 0, Payload::field(text, width));
}

void SignalAndDevice::pushDeviceIdentity() {
  pushDeviceMode();
  sendText(kInfoMajor, kHwMinor, deviceText("HardwareVersion", "CH1SIMA"), 128);
  sendText(kInfoMajor, kFwMinor, deviceText("FirmwareVersion", "11.001.01.00.00"), 68);
  sendText(kInfoMajor, kInternalFwMinor, deviceText("InternalFirmwareVersion", "11.001.01.00.00.B01"), 68);
  sendText(kInfoMajor, kModelMinor, deviceText("Model", "QEL-E100"), 32);
  sendText(kInfoMajor, kSerialMinor, deviceText("SerialNumber", "SN0000000000001"), 36);
}

void SignalAndDevice::pushOwnNumber() {
  followScenario();
  const QVariantMap dict = deviceDict();
  if (dict.contains(QStringLiteral("OwnNumber")))
    sendText(kInfoMajor, kNumberMinor, dict.value(QStringLiteral("OwnNumber")).toString(), 44);
  else
    modem_.send(kInfoMajor, kNumberMinor, 1, UIMsg::kResultFailure, QByteArray(44, '\0'));
}

void SignalAndDevice::pushModes() {
  followScenario();
  const QVariantMap dict = deviceDict();
  const auto word = [&dict](const char *key, int fallback) {
    return Payload::u32(quint32(dict.value(QString::fromLatin1(key), fallback).toInt()));
  };
  modem_.send(kNetSelMajor, kSearchModeMinor, 1, 0,
              word("SearchMode", 0) + word("SelectedMode", 0) + word("PreferenceMode", 2));
  modem_.send(kNetSelMajor, kPreferenceMinor, 1, 0, word("PreferenceMode", 2));
}

void SignalAndDevice::pushAirInfo(bool answeringRequest) {
  followScenario();
  const QVariantMap sig = signalDict();
  if (!sig.contains(QStringLiteral("AirInfo"))) {
    if (answeringRequest)
      modem_.send(kInfoMajor, kAirInfoMinor, 1, UIMsg::kResultFailure, QByteArray(kAirInfoSize, '\0'));
    return;
  }
  const QVariantMap air = sig.value(QStringLiteral("AirInfo")).toMap();
  QByteArray block(kAirInfoSize, '\0');
  const auto put = [&block](int offset, const QByteArray &bytes) { block.replace(offset, bytes.size(), bytes); };
  put(164, Payload::u32(air.value(QStringLiteral("RAC")).toUInt()));
  put(168, Payload::field(air.value(QStringLiteral("Frequency")).toString(), 68));
  put(236, Payload::u32(air.value(QStringLiteral("Channel")).toUInt()));
  put(248, Payload::u32(air.value(QStringLiteral("RXQual")).toUInt()));
  put(252, Payload::u32(air.value(QStringLiteral("RXLev")).toUInt()));
  modem_.send(kInfoMajor, kAirInfoMinor, 1, 0, block);
}
