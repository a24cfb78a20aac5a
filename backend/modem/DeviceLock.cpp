#include "DeviceLock.h"

#include "SimulatedModem.h"

namespace {
constexpr uint16_t kStatusMajor = 0, kStatusMinor = 27, kUnlockResultMinor = 165;
constexpr uint16_t kRequestMajor = 5, kUnlockMinor = 28, kSwitchMinor = 29, kModifyMinor = 31;
constexpr uint16_t kSettingUnlockResultMajor = 512, kSettingAnswerMajor = 8;
constexpr int kSettingModule = 3;
constexpr uint8_t kFail = UIMsg::kResultFailure;

bool fourDigits(const QString &code) {
  return code.size() == 4 && std::all_of(code.cbegin(), code.cend(), [](QChar c) { return c.isDigit(); });
}
} // namespace

DeviceLock::DeviceLock(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("DeviceLock"));
}

DeviceLock *DeviceLock::install(SimulatedModem &modem) {
  auto *self = new DeviceLock(modem);
  self->install();
  return self;
}

DeviceLock *DeviceLock::of(SimulatedModem &modem) {
  return modem.findChild<DeviceLock *>(QStringLiteral("DeviceLock"), Qt::FindDirectChildrenOnly);
}

void DeviceLock::followScenario() {
  if (loaded_ && modem_.scenario() == baseScenario_)
    return;
  loaded_ = true;
  baseScenario_ = modem_.scenario();
  const QVariantMap dict = baseScenario_.value(QStringLiteral("DeviceLock")).toMap();
  enabled_ = dict.value(QStringLiteral("Enabled"), false).toBool();
  code_ = dict.value(QStringLiteral("Code"), QStringLiteral("0000")).toString();
}

bool DeviceLock::enabled() {
  followScenario();
  return enabled_;
}

QString DeviceLock::code() {
  followScenario();
  return code_;
}

void DeviceLock::set(bool enabled, const QString &code) {
  followScenario();
  enabled_ = enabled;
  if (!code.isEmpty())
    code_ = code;
  pushStatus();
}

void DeviceLock::pushStatus() {
  modem_.send(kStatusMajor, kStatusMinor, 1, 0, Payload::u32(enabled() ? 1 : 0));
}

void DeviceLock::install() {
  modem_.onDeviceAnnounced([this] { pushStatus(); });
  modem_.on(kRequestMajor, kUnlockMinor, [this](const UIMsg &m) {
    const bool right = Payload::text(m, 0, 4) == code();
    if (m.moduleId == kSettingModule)
      modem_.send(kSettingUnlockResultMajor, kUnlockResultMinor, 1, right ? 0 : kFail, {}, kSettingModule);
    else
      modem_.send(kStatusMajor, kUnlockResultMinor, 1, right ? 0 : kFail, {}, m.moduleId);
  });
  modem_.on(kRequestMajor, kSwitchMinor, [this](const UIMsg &m) {
    const bool right = Payload::text(m, 4, 8) == code();
    if (right)
      enabled_ = Payload::u32At(m, 0) != 0;
    modem_.send(kSettingAnswerMajor, kStatusMinor, 1, right ? 0 : kFail, Payload::u32(enabled_ ? 1 : 0), m.moduleId);
  });
  modem_.on(kRequestMajor, kModifyMinor, [this](const UIMsg &m) {
    const QString oldCode = Payload::text(m, 0, 5), newCode = Payload::text(m, 5, 5);
    const bool right = oldCode == code() && fourDigits(newCode);
    if (right)
      code_ = newCode;
    modem_.send(kSettingAnswerMajor, kModifyMinor, 1, right ? 0 : kFail, {}, m.moduleId);
  });
}
