#include "SmsSettings.h"

#include "SimulatedModem.h"

namespace {
constexpr uint16_t kSmsMajor = 768;
constexpr uint16_t kCentreMinor = 96, kPositionMinor = 97, kRoutingSetMinor = 107, kRoutingReadMinor = 108,
                   kRoutingAnswerMinor = 109, kCentreQueryMinor = 110, kNationalMinor = 111;
constexpr int kCentreWidth = 32;
constexpr int kSmsModule = 5, kSettingModule = 3;
constexpr uint8_t kFail = UIMsg::kResultFailure;

QByteArray centreField(const QString &number) {
  QByteArray bytes = number.toUtf8().left(kCentreWidth);
  bytes.append(QByteArray(kCentreWidth - bytes.size(), '\0'));
  return bytes;
}

// The centre as sent: UTF-8 up to the first zero byte or the end of the 32 bytes.
QString centreOf(const UIMsg &msg) {
  QByteArray bytes = msg.payload().left(kCentreWidth);
  const int end = bytes.indexOf('\0');
  if (end >= 0)
    bytes.truncate(end);
  return QString::fromUtf8(bytes);
}
} // namespace

SmsSettings::SmsSettings(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SmsSettings"));
}

SmsSettings *SmsSettings::install(SimulatedModem &modem) {
  auto *self = new SmsSettings(modem);
  self->install();
  return self;
}

SmsSettings *SmsSettings::of(SimulatedModem &modem) {
  return modem.findChild<SmsSettings *>(QStringLiteral("SmsSettings"), Qt::FindDirectChildrenOnly);
}

void SmsSettings::followScenario() {
  if (loaded_ && modem_.scenario() == baseScenario_)
    return;
  loaded_ = true;
  baseScenario_ = modem_.scenario();
  const QVariantMap dict = baseScenario_.value(QStringLiteral("SmsCenter")).toMap();
  centre_ = dict.value(QStringLiteral("Number"), QStringLiteral("+491720000000")).toString().left(kCentreWidth);
  routing_ = std::clamp(dict.value(QStringLiteral("Routing"), 0).toInt(), 0, 3);
  position_ = -1;
  nationalNotices_ = 0;
}

QVariantMap SmsSettings::state() {
  followScenario();
  return {{QStringLiteral("Centre"), centre_},
          {QStringLiteral("Position"), position_},
          {QStringLiteral("Routing"), routing_},
          {QStringLiteral("NationalTableNotices"), nationalNotices_}};
}

void SmsSettings::pushCentre() {
  followScenario();
  modem_.send(kSmsMajor, kCentreMinor, 1, 0, centreField(centre_), kSmsModule);
}

void SmsSettings::install() {
  modem_.on(kSmsMajor, kCentreMinor, [this](const UIMsg &m) {
    followScenario();
    const QString number = centreOf(m);
    if (!std::any_of(number.cbegin(), number.cend(), [](QChar c) { return c.isDigit(); })) {
      modem_.send(kSmsMajor, kCentreMinor, 1, kFail, {}, kSmsModule);
      return;
    }
    centre_ = number;
    pushCentre();
  });
  modem_.on(kSmsMajor, kCentreQueryMinor, [this](const UIMsg &) { pushCentre(); });
  modem_.on(kSmsMajor, kPositionMinor, [this](const UIMsg &m) {
    followScenario();
    position_ = int(Payload::u32At(m, 0));
    modem_.send(kSmsMajor, kPositionMinor, 1, 0, Payload::u32(quint32(position_)), kSettingModule);
  });
  modem_.on(kSmsMajor, kRoutingSetMinor, [this](const UIMsg &m) {
    followScenario();
    const quint32 value = Payload::u32At(m, 0);
    if (value <= 3)
      routing_ = int(value);
    modem_.send(kSmsMajor, kRoutingAnswerMinor, 1, value <= 3 ? 0 : kFail, {}, kSettingModule);
  });
  modem_.on(kSmsMajor, kNationalMinor, [this](const UIMsg &) {
    followScenario();
    ++nationalNotices_;
  });
  modem_.onSimReady([this] {
    pushCentre();
    modem_.send(kSmsMajor, kRoutingReadMinor, 1, 0, Payload::u32(quint32(routing_)), kSettingModule);
  });
}
