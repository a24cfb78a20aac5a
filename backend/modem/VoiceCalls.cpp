#include "VoiceCalls.h"

#include "SimulatedModem.h"

#include <QPointer>
#include <QVariantMap>

namespace {
constexpr uint16_t kCallModule = 9;
constexpr uint16_t kInitMajor = 2305, kInitMinor = 0;
constexpr uint16_t kEmergencyMajor = 2308, kEmergencyMinor = 145;
constexpr uint16_t kEventMajor = 2306, kIncomingMinor = 146, kStageMinor = 147, kRingMinor = 148, kWaitingMinor = 149;
constexpr uint16_t kRequestMajor = 2307, kDialMinor = 150, kHangupMinor = 151, kAnswerMinor = 152, kDtmfMinor = 153,
                   kChldMinor = 163, kListMinor = 164, kListReplyMinor = 166, kChldReplyMinor = 167;
constexpr int kDialNumberSize = 100, kEmergencyCount = 16, kEmergencyWidth = 36;
constexpr int kIncomingWidth = 116, kWaitingWidth = 44, kRecordNumberOffset = 20, kRecordNumberWidth = 56;
constexpr int kRingIntervalMs = 1000, kDefaultAnswerMs = 3000, kDefaultRingAfterMs = 1000;
// Stage codes the program follows.
constexpr int kDelivered = 1, kEstablished = 5, kReleased = 6, kRingingReleased = 7, kFailed = 8;

QStringList stringList(const QVariant &value) {
  QStringList out;
  for (const QVariant &v : value.toList())
    out << v.toString();
  return out;
}
} // namespace

VoiceCalls::VoiceCalls(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("VoiceCalls"));
  ringTimer_.setInterval(kRingIntervalMs);
  connect(&ringTimer_, &QTimer::timeout, this, [this] {
    if (hasState(kIncoming))
      modem_.send(kEventMajor, kRingMinor, 0, 0, {}, kCallModule);
    else
      ringTimer_.stop();
  });
  answerTimer_.setSingleShot(true);
  connect(&answerTimer_, &QTimer::timeout, this, [this] { remoteAnswer(); });
}

VoiceCalls *VoiceCalls::install(SimulatedModem &modem) {
  auto *self = new VoiceCalls(modem);
  self->install();
  return self;
}

VoiceCalls *VoiceCalls::of(SimulatedModem &modem) {
  return modem.findChild<VoiceCalls *>(QStringLiteral("VoiceCalls"), Qt::FindDirectChildrenOnly);
}

void VoiceCalls::install() {
  modem_.on(kRequestMajor, kDialMinor, [this](const UIMsg &m) { dial(m); });
  modem_.on(kRequestMajor, kHangupMinor, [this](const UIMsg &) { hangup(); });
  modem_.on(kRequestMajor, kAnswerMinor, [this](const UIMsg &) { answer(); });
  modem_.on(kRequestMajor, kDtmfMinor, [this](const UIMsg &m) {
    if (m.dataLength >= 1 && m.data[0] != 0)
      dtmf_.append(QChar::fromLatin1(char(m.data[0])));
  });
  modem_.on(kRequestMajor, kChldMinor, [this](const UIMsg &m) { callHold(Payload::u32At(m, 0)); });
  modem_.on(kRequestMajor, kListMinor, [this](const UIMsg &) {
    modem_.send(kRequestMajor, kListReplyMinor, 0, 0, encodeCallerList(callers_), kCallModule);
  });
  // The device's own status package tells when it came up or went away.
  connect(&modem_, &Modem::packageOut, this, [this](const UIMsg &p) { devicePackage(p); });
  modem_.onSimReady([this] {
    const QString number = voiceDict().value(QStringLiteral("RingWhenReady")).toString();
    if (number.isEmpty())
      return;
    const int after = voiceDict().value(QStringLiteral("RingAfterMs"), kDefaultRingAfterMs).toInt();
    QPointer<VoiceCalls> self(this);
    QTimer::singleShot(std::max(0, after), this, [self, number] {
      if (self && self->modem_.isPlugged())
        self->ring(number);
    });
  });
}

QVariantMap VoiceCalls::voiceDict() const {
  return modem_.scenario().value(QStringLiteral("Voice")).toMap();
}

QStringList VoiceCalls::emergencyNumbers() const {
  const QVariantMap dict = voiceDict();
  if (!dict.contains(QStringLiteral("EmergencyNumbers")))
    return {QStringLiteral("112"), QStringLiteral("911")};
  return stringList(dict.value(QStringLiteral("EmergencyNumbers"))).mid(0, kEmergencyCount);
}

void VoiceCalls::devicePackage(const UIMsg &package) {
  if (package.majorId != SimMsg::kDeviceStatusMajor || package.minorId != SimMsg::kDeviceStatusMinor)
    return;
  callers_.clear();
  ringTimer_.stop();
  answerTimer_.stop();
  if (package.result != 0)
    return;
  // Sent after the device's announcement, as a modem reports its voice service once it is up.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!modem_.isPlugged())
          return;
        pushVoiceInit();
        pushEmergencyNumbers();
      },
      Qt::QueuedConnection);
}

void VoiceCalls::pushVoiceInit() {
  const bool available =
      availableOverridden_ ? available_ : voiceDict().value(QStringLiteral("Available"), true).toBool();
  modem_.send(kInitMajor, kInitMinor, 0, available ? 1 : 0, {}, kCallModule);
}

void VoiceCalls::pushEmergencyNumbers() {
  QByteArray data;
  for (const QString &number : emergencyNumbers())
    data += Payload::field(number, kEmergencyWidth);
  data.append(QByteArray(kEmergencyCount * kEmergencyWidth - data.size(), '\0'));
  modem_.send(kEmergencyMajor, kEmergencyMinor, 0, 0, data, kCallModule);
}

void VoiceCalls::setVoiceAvailable(bool available) {
  available_ = available;
  availableOverridden_ = true;
  if (modem_.isPlugged())
    pushVoiceInit();
}

void VoiceCalls::pushStage(int code) {
  modem_.send(kEventMajor, kStageMinor, 0, 0, Payload::u32(quint32(code)), kCallModule);
}

int VoiceCalls::indexOf(int id) const {
  for (int i = 0; i < callers_.size(); ++i)
    if (callers_.at(i).id == id)
      return i;
  return -1;
}

int VoiceCalls::nextId() const {
  for (int id = 1;; ++id)
    if (indexOf(id) < 0)
      return id;
}

bool VoiceCalls::hasState(int state) const {
  for (const Caller &c : callers_)
    if (c.state == state)
      return true;
  return false;
}

void VoiceCalls::followRing() {
  if (hasState(kIncoming)) {
    if (!ringTimer_.isActive())
      ringTimer_.start();
  } else {
    ringTimer_.stop();
  }
}

void VoiceCalls::dial(const UIMsg &request) {
  const QString number = Payload::text(request, 0, kDialNumberSize);
  const bool emergency = emergencyNumbers().contains(number);
  const bool available =
      availableOverridden_ ? available_ : voiceDict().value(QStringLiteral("Available"), true).toBool();
  const bool busy = stringList(voiceDict().value(QStringLiteral("BusyNumbers"))).contains(number);
  const bool simReady = modem_.sim().state() == SimCard::State::Ready;
  if (number.isEmpty() || !available || busy || (!simReady && !emergency) || callers_.size() >= kMaxCallers) {
    pushStage(kFailed);
    return;
  }
  // A new call puts the active ones on hold, as a handset does.
  for (Caller &c : callers_)
    if (c.state == kActive)
      c.state = kHeld;
  callers_.append({nextId(), 0, kAlerting, number});
  pushStage(kDelivered);
  const int after = voiceDict().value(QStringLiteral("AnswerAfterMs"), kDefaultAnswerMs).toInt();
  if (after >= 0)
    answerTimer_.start(after);
}

bool VoiceCalls::remoteAnswer() {
  bool any = false;
  for (Caller &c : callers_) {
    if (c.direction == 0 && (c.state == kDialling || c.state == kAlerting)) {
      c.state = kActive;
      any = true;
    }
  }
  if (any)
    pushStage(kEstablished);
  return any;
}

void VoiceCalls::endCaller(int index) {
  const Caller c = callers_.takeAt(index);
  pushStage(c.state == kIncoming || c.state == kWaiting ? kRingingReleased : kReleased);
}

bool VoiceCalls::remoteHangup(int id) {
  if (id == 0) {
    if (callers_.isEmpty())
      return false;
    while (!callers_.isEmpty())
      endCaller(int(callers_.size()) - 1);
  } else {
    const int index = indexOf(id);
    if (index < 0)
      return false;
    endCaller(index);
  }
  followRing();
  return true;
}

void VoiceCalls::hangup() {
  answerTimer_.stop();
  while (!callers_.isEmpty())
    endCaller(int(callers_.size()) - 1);
  followRing();
}

void VoiceCalls::answer() {
  for (Caller &c : callers_) {
    if (c.state == kIncoming) {
      c.state = kActive;
      followRing();
      pushStage(kEstablished);
      return;
    }
  }
}

bool VoiceCalls::ring(const QString &number) {
  if (!modem_.isPlugged() || callers_.size() >= kMaxCallers || number.isEmpty())
    return false;
  const bool busyLine = !callers_.isEmpty();
  callers_.append({nextId(), 1, busyLine ? kWaiting : kIncoming, number});
  if (busyLine) {
    modem_.send(kEventMajor, kWaitingMinor, 0, 0, Payload::field(number, kWaitingWidth), kCallModule);
  } else {
    modem_.send(kEventMajor, kIncomingMinor, 0, 0, Payload::field(number, kIncomingWidth), kCallModule);
    followRing();
  }
  return true;
}

// The +CHLD operations on the callers.
void VoiceCalls::callHold(quint32 value) {
  const auto removeWhere = [this](auto match) {
    for (int i = int(callers_.size()) - 1; i >= 0; --i)
      if (match(callers_.at(i)))
        callers_.removeAt(i);
  };
  const auto acceptOther = [this] {
    // A waiting call goes first, else the held calls come back.
    for (Caller &c : callers_) {
      if (c.state == kWaiting || c.state == kIncoming) {
        c.state = kActive;
        return;
      }
    }
    for (Caller &c : callers_)
      if (c.state == kHeld)
        c.state = kActive;
  };
  const bool hadCallers = !callers_.isEmpty();
  if (value == 0) {
    if (hasState(kWaiting))
      removeWhere([](const Caller &c) { return c.state == kWaiting; });
    else
      removeWhere([](const Caller &c) { return c.state == kHeld; });
  } else if (value == 1) {
    removeWhere([](const Caller &c) { return c.state == kActive; });
    acceptOther();
  } else if (value == 2) {
    const bool hasOther = hasState(kWaiting) || hasState(kIncoming) || hasState(kHeld);
    QList<int> wereActive;
    for (const Caller &c : callers_)
      if (c.state == kActive)
        wereActive << c.id;
    if (hasOther)
      acceptOther();
    for (Caller &c : callers_)
      if (wereActive.contains(c.id))
        c.state = kHeld;
  } else if (value == 3) {
    for (Caller &c : callers_)
      if (c.state == kHeld)
        c.state = kActive;
  } else if (value >= 10) {
    // "1x": release caller x only (the digits after the leading 1).
    const QString digits = QString::number(value);
    if (digits.startsWith(QLatin1Char('1'))) {
      const int index = indexOf(digits.mid(1).toInt());
      if (index >= 0)
        callers_.removeAt(index);
    }
  }
  followRing();
  modem_.send(kRequestMajor, kChldReplyMinor, 0, 0, {}, kCallModule);
  if (hadCallers && callers_.isEmpty())
    pushStage(kReleased);
}

QByteArray VoiceCalls::encodeCallerList(const QList<Caller> &callers) {
  QByteArray data(kListSize, '\0');
  const int count = int(std::min<qsizetype>(callers.size(), kMaxCallers));
  data.replace(0, 4, Payload::u32(quint32(count)));
  for (int i = 0; i < count; ++i) {
    const Caller &c = callers.at(i);
    const int at = 4 + i * kRecordSize;
    data.replace(at, 4, Payload::u32(quint32(c.id)));
    data.replace(at + 4, 4, Payload::u32(quint32(c.direction)));
    data.replace(at + 8, 4, Payload::u32(quint32(c.state)));
    data.replace(at + kRecordNumberOffset, kRecordNumberWidth, Payload::field(c.number, kRecordNumberWidth));
  }
  return data;
}
