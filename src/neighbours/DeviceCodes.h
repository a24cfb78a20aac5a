#pragma once

#include <QString>

#include <algorithm>

// The rules the SIM and device-lock codes follow. The device status checks them before it sends a
// code to the modem, and the settings window checks them in its own sheets; both must refuse the
// same codes with the same words.
namespace DeviceCodes {
inline bool digitsOnly(const QString &s) {
  return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Null when the given codes are acceptable (a null argument is not checked), else the wording key
// of the first rule they break.
inline QString pinPukProblem(const QString &puk, const QString &pin, const QString &repeatedPin) {
  if (!puk.isNull()) {
    if (puk.size() != 8)
      return QStringLiteral("PUK must be 8 digits!");
    if (!digitsOnly(puk))
      return QStringLiteral("PUK must be digits only!");
  }
  if (!pin.isNull()) {
    if (pin.size() < 4 || pin.size() > 8)
      return QStringLiteral("Length of PIN must be between 4 and 8!");
    if (!digitsOnly(pin))
      return QStringLiteral("PIN must be digits only!");
  }
  if (!pin.isNull() && !repeatedPin.isNull() && pin != repeatedPin)
    return QStringLiteral("Different inputs of PIN code, please input again!");
  return {};
}

// Four characters, all digits.
inline bool isValidDeviceUnlockCode(const QString &code) {
  return code.size() == 4 && digitsOnly(code);
}
} // namespace DeviceCodes
