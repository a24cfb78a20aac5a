// SMSController: the storage positions and the box tables.
#include "ConfigManager.h"
#include "SMSController.h"
#include "SmsService.h"

void SMSController::specialInitialize() {
  boxDisplayOrderInit();
  qelPositionManagerInit();
}

// The name map is fixed; the display-order map comes from SMS/"boxOrder".
void SMSController::boxDisplayOrderInit() {
  boxTables_ = SmsBoxTables::fromSettings();
}

void SMSController::qelPositionManagerInit() {
  qelPositionManager_ = QelPositionManager::fromSettings();
}

bool SMSController::isPCDrafBoxMessage(const QVariantMap &entry) {
  return !entry.value(QStringLiteral("smsInfo")).isValid();
}

// ---- the message stores, for the other subsystems ----
// The store service is process-wide; the controller answers for it so that the other subsystems
// hold one neighbour, present exactly while the message page is.

void SMSController::setBAlreadySendedCheckUsageSMS(bool sent) {
  SmsService::sharedSmsService()->setBAlreadySendedCheckUsageSMS(sent);
}

QVariantMap SMSController::processListOfRecharge() const {
  return SmsService::sharedSmsService()->processListOfRecharge();
}

void SMSController::setUnshowInfoWndWhenSendSmsByFlag(bool flag) {
  SmsService::sharedSmsService()->setUnshowInfoWndWhenSendSmsByFlag(flag);
}

bool SMSController::sendingSMSInBackGround() const {
  return SmsService::sharedSmsService()->sendingSMSInBackGround();
}

void SMSController::setSendingSmsSMSInBackGroud(bool on) {
  SmsService::sharedSmsService()->setSendingSmsSMSInBackGroud(on);
}

int SMSController::typeOfNewSms() const {
  return SmsService::sharedSmsService()->typeOfNewSms();
}

bool SMSController::checkPos(int position, int type) const {
  return SmsService::sharedSmsService()->checkPos(position, type);
}

bool SMSController::hasUnreadInList(int position) const {
  const SmsService *service = SmsService::sharedSmsService();
  if (position == AT_PC)
    return !service->unreadSMSListInPc().isEmpty();
  if (position == AT_SIM)
    return !service->unreadSMSListInSim().isEmpty();
  return false;
}

void SMSController::refillPcUnreadList() {
  SmsService *service = SmsService::sharedSmsService();
  service->getUnreadSMSInPos(AT_PC, service->getAllPcListByBox(InBox));
}

int SMSController::getFlowValueInfoFromFile() {
  return SmsService::sharedSmsService()->getFlowValueInfoFromFile();
}

bool SMSController::isOverDueFlowValueSms() {
  return SmsService::sharedSmsService()->isOverDueFlowValueSms();
}
