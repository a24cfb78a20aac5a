#pragma once

#include <QString>

class QWidget;

// What the other subsystems call on the phonebook (PBController and the contact picker).
class PhonebookNeighbour {
public:
  virtual ~PhonebookNeighbour() = default;

  // ---- numbers and names (the message lists, the call pages and the call log) ----
  // The name of the first contact whose number matches `number` by its last digits (PC contacts
  // first, then the SIM's once read); the number itself when none matches.
  virtual QString searchNameAtPhoneBook(const QString &number) = 0;
  // True when a contact matches `number` by the same rule.
  virtual bool hasPhoneNumber(const QString &number) = 0;
  // Opens the new-contact window of a store ("PC", "(U)SIM" or "Data Card") with the number
  // filled in.
  virtual void toPbUserWinWithPhoneNumber(const QString &number, const QString &position) = 0;
  // The contact picker laid out for one number, on `window`; the number chosen comes back as the
  // notification "makeCallWithPhoneNumber".
  virtual void showContactPickerForCall(QWidget *window) = 0;

  // ---- the PC store (the device status and the settings window) ----
  // Loads the PC phonebook of a SIM (its IMSI and "phoneBook.plist" joined by "_") and shows it.
  virtual void loadPcPhoneListByImsi(const QString &fileName) = 0;
  // Reads phoneBook.plist again after someone else wrote it (a restore) and shows it.
  virtual void reloadPCPhoneList() = 0;
  // Shows the PC store on the phonebook page.
  virtual void selectAtPCSide() = 0;
  // Names the default group in the current language (after a language change).
  virtual void setCurDefGrpName() = 0;
  // "read/highest" of the SIM contacts, for the diagnostics window.
  virtual QString getDiagnosticsContact() const = 0;

  // The phonebook's "Warning!" alert with the worded `key` and one OK button.
  virtual void popupAlertOk(const QString &key) = 0;
};
