// What InitController tells the updater conversation: the modem's identity as it is read, and
// its arrival and removal.
#include "AEMessage.h"
#include "InitController.h"

bool InitController::isSupportUpdate() {
  return AEMessage::defaultAEMessage()->isSupportUpdate();
}

void InitController::dealWithMCCMNC(const QString &mccmnc) {
  AEMessage::defaultAEMessage()->dealWithMCCMNC(mccmnc);
}

void InitController::dealWithDeviceReady() {
  if (isSupportUpdate())
    AEMessage::defaultAEMessage()->dealWithDeviceReady();
}

bool InitController::isSendUpdateMessageWhenMCCMNC() {
  return AEMessage::defaultAEMessage()->isSendUpdateMessageWhenMCCMNC();
}

void InitController::setIsSendUpdateMessageWhenMCCMNC(bool sent) {
  AEMessage::defaultAEMessage()->setIsSendUpdateMessageWhenMCCMNC(sent);
}

void InitController::updaterDealWithInternalFirmwareVersion(const QString &version) {
  AEMessage::defaultAEMessage()->dealWithInternalFirmwareVersion(version);
}

void InitController::updaterDealWithDeviceType(const QString &model) {
  AEMessage::defaultAEMessage()->dealWithDeviceType(model);
}

void InitController::updaterDeviceRemoved() {
  // A report on its way went with the device: its result never comes.
  setReportSendFlag(false);
  AEMessage::defaultAEMessage()->send_DeviceOut_Msg();
}
