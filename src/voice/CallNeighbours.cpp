#include "CallNeighbours.h"

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
  searchNameAtPhoneBook = [](const QString &number) { return number; };
  toPbUserWinWithPhoneNumber = [](const QString &, const QString &) {};
  getDeviceUnlockCodeState = [] { return g_SettingController && g_SettingController->getDeviceUnlockCodeState(); };
  openUnlockDeviceWindow = [](QWidget *) {};
  setDeviceLockFunctionModule = [](int module) { g_deviceLockModule = module; };
  getDeviceLockFunctionModule = [] { return g_deviceLockModule; };
  replyMessage = [](const QString &) {};
  hasPosition = [](int) { return false; };
}
