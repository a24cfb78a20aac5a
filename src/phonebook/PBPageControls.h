#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The page's enable state as the phonebook's rules leave it. PBController keeps one and tells
// the page (PBPageLink::controlsChanged) to show it; tests read it without widgets.
struct PBPageControls {
  // The group-level commands (in the SIM and device-memory views: new, delete and edit contact)
  // and the contact-level commands.
  bool addGroup = true, deleteGroup = false, editGroup = false;
  bool addUser = true, deleteUser = false, editUser = false;
  // The copy-to and move-to menus (and export), call and SMS.
  bool copyMenus = false, call = false, sms = false;
  // Edit menu items; the page never has anything to cut, copy or paste.
  bool cut = false, copy = false, paste = false;
  // The entries of both copy-to menus, in order, and whether each is enabled.
  QStringList moveMenu;
  QList<bool> moveMenuEnabled;
  QString capacity;
  QString details;
  // The call button's number menu ("Mobile Number:+49...").
  QStringList callMenu;
  // The update window (number update and restore): shown, its text, and whether it still works
  // (indicator running, OK hidden) or shows its result.
  bool updateWindowShown = false, updateWindowBusy = false;
  QString updateWindowMessage;
  bool progressVisible = false;
  double progressValue = 0;
};
