#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the call pages ask of their neighbours (the phonebook, the settings window's device lock,
// the device status's unlock window, the SMS editor), reached through one set of replaceable
// functions so that the pages work, in their least form, before those neighbours are wired in.
// The defaults ask the neighbour's controller where it exists (phonebook lookup, settings' device
// lock state, SMS positions) and otherwise answer as a neighbour that holds nothing would.
struct CallNeighbours {
  // The phonebook name of a number; the number itself when the phonebook knows none.
  std::function<QString(const QString &number)> searchNameAtPhoneBook;
  // Opens the phonebook's new-contact dialog for the number in a store ("PC", "(U)SIM",
  // "Data Card").
  std::function<void(const QString &number, const QString &position)> toPbUserWinWithPhoneNumber;
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
  // The phonebook's contact picker, laid out for calls, on `window`; its choice is posted as
  // "makeCallWithPhoneNumber". The main window's builder installs it; the default shows nothing.
  std::function<void(QWidget *window)> showContactPicker;

  static CallNeighbours &shared();
  // Puts every function back to its default.
  void reset();
};
