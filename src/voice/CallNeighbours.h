#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the call pages ask of their neighbours that do not offer it yet through the neighbourhood
// (the settings window's device lock, the device status's unlock window, the SMS editor),
// reached through one set of replaceable functions so that the pages work, in their least form,
// before those neighbours are wired in. The defaults ask the neighbour's controller where it
// exists (settings' device lock state, SMS positions) and otherwise answer as a neighbour that
// holds nothing would. The phonebook is asked through the neighbourhood (phonebookNameOf below).
struct CallNeighbours {
  // YES when the device unlock code is on (the settings window's getDeviceUnlockCodeState).
  std::function<bool()> getDeviceUnlockCodeState;
  // The device status's unlock window on `window`, and the module that asked for it.
  std::function<void(QWidget *window)> openUnlockDeviceWindow;
  std::function<void(int module)> setDeviceLockFunctionModule;
  std::function<int()> getDeviceLockFunctionModule;
  // The SMS editor's reply sheet with these recipients (separator-joined).
  std::function<void(const QString &recipients)> replyMessage;
  // YES when the SMS storage positions include `position` (4 is the device memory).
  std::function<bool(int position)> hasPosition;

  static CallNeighbours &shared();
  // Puts every function back to its default.
  void reset();
};

// The phonebook's name for `number`; the number itself when the phonebook knows none or is not
// there.
QString phonebookNameOf(const QString &number);
