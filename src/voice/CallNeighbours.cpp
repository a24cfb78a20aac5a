#include "CallNeighbours.h"

#include "MainWindowNeighbour.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "SettingsNeighbour.h"

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
  getDeviceUnlockCodeState = [] {
    return Neighbourhood::settings() && Neighbourhood::settings()->getDeviceUnlockCodeState();
  };
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
    auto *sms = Neighbourhood::messages();
    if (!sms)
      return;
    sms->sendMessageToNumber(recipients);
    // The reply sheet empties the name line; the recipients' filter fills it again.
    sms->controlTextDidChange();
  };
  hasPosition = [](int position) {
    auto *sms = Neighbourhood::messages();
    return sms && sms->hasPosition(position);
  };
}

QString phonebookNameOf(const QString &number) {
  PhonebookNeighbour *phonebook = Neighbourhood::phonebook();
  const QString name = phonebook ? phonebook->searchNameAtPhoneBook(number) : QString();
  return name.isEmpty() ? number : name;
}
