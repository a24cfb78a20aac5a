#include "SimCard.h"

SimCard SimCard::fromScenario(const QVariantMap &sim) {
  SimCard card;
  const QString state = sim.value(QStringLiteral("State"), QStringLiteral("Ready")).toString();
  if (state == QLatin1String("PIN"))
    card.state_ = State::PinRequired;
  else if (state == QLatin1String("PUK"))
    card.state_ = State::PukRequired;
  else if (state == QLatin1String("Absent"))
    card.state_ = State::Absent;
  else if (state == QLatin1String("Invalid"))
    card.state_ = State::Invalid;
  card.pin_ = sim.value(QStringLiteral("PIN"), card.pin_).toString();
  card.puk_ = sim.value(QStringLiteral("PUK"), card.puk_).toString();
  card.pinTries_ = std::clamp(sim.value(QStringLiteral("PinTries"), kPinTries).toInt(), 0, kPinTries);
  card.pukTries_ = std::clamp(sim.value(QStringLiteral("PukTries"), kPukTries).toInt(), 0, kPukTries);
  if (card.state_ == State::PukRequired)
    card.pinTries_ = 0;
  card.pinLockEnabled_ = sim.value(QStringLiteral("PinLockEnabled"), card.state_ == State::PinRequired).toBool();
  card.is3G_ = sim.value(QStringLiteral("Type"), QStringLiteral("3G")).toString() != QLatin1String("2G");
  card.iccid_ = sim.value(QStringLiteral("ICCID"), QStringLiteral("89860012345678901234")).toString();
  card.imsi_ = sim.value(QStringLiteral("IMSI"), QStringLiteral("001010123456789")).toString();
  return card;
}

bool SimCard::checkPin(const QString &pin) {
  if (pinTries_ <= 0)
    return false;
  if (pin == pin_) {
    pinTries_ = kPinTries;
    return true;
  }
  if (--pinTries_ == 0)
    state_ = State::PukRequired;
  return false;
}

bool SimCard::verifyPin(const QString &pin) {
  if (state_ != State::PinRequired)
    return false;
  if (!checkPin(pin))
    return false;
  state_ = State::Ready;
  return true;
}

bool SimCard::unblock(const QString &puk, const QString &newPin) {
  if (state_ != State::PukRequired || pukTries_ <= 0)
    return false;
  if (puk != puk_) {
    --pukTries_;
    return false;
  }
  pin_ = newPin;
  pinTries_ = kPinTries;
  pukTries_ = kPukTries;
  // A card unblocked with its PUK keeps its PIN lock on, with the new PIN.
  pinLockEnabled_ = true;
  state_ = State::Ready;
  return true;
}

bool SimCard::setPinLock(const QString &pin, bool on) {
  if (state_ != State::Ready || !checkPin(pin))
    return false;
  pinLockEnabled_ = on;
  return true;
}

bool SimCard::changePin(const QString &oldPin, const QString &newPin) {
  if (state_ != State::Ready || !pinLockEnabled_ || !checkPin(oldPin))
    return false;
  pin_ = newPin;
  return true;
}

void SimCard::powerCycle() {
  if (state_ == State::Ready && pinLockEnabled_)
    state_ = State::PinRequired;
}
