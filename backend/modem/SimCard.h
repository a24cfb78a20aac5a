#pragma once

#include <QString>
#include <QVariantMap>

// The SIM in the simulated modem: its lock state and the PIN/PUK tries, as a card would keep
// them. Pure logic, so the rules (three wrong PINs block, a right PUK unblocks) test in isolation.
class SimCard {
public:
  enum class State { Ready, PinRequired, PukRequired, Absent, Invalid };

  static constexpr int kPinTries = 3;
  static constexpr int kPukTries = 10;

  // Reads the "SIM" dictionary of a scenario: State ("Ready", "PIN", "PUK", "Absent",
  // "Invalid"), PIN, PUK, PinTries, PukTries, PinLockEnabled, Type ("2G"/"3G"), ICCID, IMSI.
  static SimCard fromScenario(const QVariantMap &sim);

  State state() const { return state_; }
  int pinTries() const { return pinTries_; }
  int pukTries() const { return pukTries_; }
  bool pinLockEnabled() const { return pinLockEnabled_; }
  bool is3G() const { return is3G_; }
  const QString &iccid() const { return iccid_; }
  const QString &imsi() const { return imsi_; }
  const QString &savedPin() const { return savedPin_; }

  // Each answers whether the code was right; a wrong code costs a try.
  bool verifyPin(const QString &pin);
  bool unblock(const QString &puk, const QString &newPin);
  bool setPinLock(const QString &pin, bool on);
  bool changePin(const QString &oldPin, const QString &newPin);
  void savePin(const QString &pin) { savedPin_ = pin; }
  void setImsi(const QString &imsi) { imsi_ = imsi; }

  // A card that asks for its PIN again, as after the device is plugged in once more.
  void powerCycle();

private:
  bool checkPin(const QString &pin);

  State state_ = State::Ready;
  QString pin_ = QStringLiteral("1234");
  QString puk_ = QStringLiteral("12345678");
  int pinTries_ = kPinTries;
  int pukTries_ = kPukTries;
  bool pinLockEnabled_ = false;
  bool is3G_ = true;
  QString iccid_;
  QString imsi_;
  QString savedPin_;
};
