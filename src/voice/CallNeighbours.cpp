#include "CallNeighbours.h"

#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "PBController.h"
#include "SMSController.h"
#include "SettingController.h"

namespace {
int g_deviceLockModule = 0;
}

CallNeighbours &CallNeighbours::shared() {
  static CallNeighbours neighbours = [] {
    CallNeighbours n;
    n.reset();
    return n;
  }();
  return neighbours;
}

void CallNeighbours::reset() {
  searchNameAtPhoneBook = [](const QString &number) {
    return g_PBController ? g_PBController->searchNameAtPhoneBook(number) : number;
  };
  toPbUserWinWithPhoneNumber = [](const QString &number, const QString &position) {
    if (g_PBController)
      g_PBController->toPbUserWinWithPhoneNumber(number, position);
  };
  getDeviceUnlockCodeState = [] { return g_SettingController && g_SettingController->getDeviceUnlockCodeState(); };
  // The device status controller owns the unlock sheet and the asking module's number.
  openUnlockDeviceWindow = [](QWidget *window) {
    if (auto *device = Neighbourhood::deviceStatus())
      device->openUnlockDeviceWindow(window);
  };
  setDeviceLockFunctionModule = [](int module) {
    g_deviceLockModule = module;
    if (auto *device = Neighbourhood::deviceStatus())
      device->setDeviceLockFunctionModule(module);
  };
  getDeviceLockFunctionModule = [] {
    DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
    return device ? device->getDeviceLockFunctionModule() : g_deviceLockModule;
  };
  replyMessage = [](const QString &recipients) {
    if (!g_SMSController)
      return;
    g_SMSController->sendMessageToNumber(recipients);
    // The reply sheet empties the name line; the recipients' filter fills it again.
    g_SMSController->controlTextDidChange();
  };
  hasPosition = [](int position) { return g_SMSController && g_SMSController->hasPosition(position); };
  // The main window's builder hands in the phonebook's picker.
  showContactPicker = [](QWidget *) {};
}
