// Network identity of InitController: the SIM-file and network-name replies go to the identity
// handlers, which call back here for what lies in the controller's other areas.
#include "InitController.h"
#include "InitService.h"

void InitController::dealWithMsgOfCheckPLMN(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    identity_.dealWithMsgOfCheckPLMN(msg);
}

void InitController::dealWithMsgOfCheckSPDI(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    identity_.dealWithMsgOfCheckSPDI(msg);
}

void InitController::dealWithMsgOfCheckSPN(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    identity_.dealWithMsgOfCheckSPN(msg);
}

void InitController::dealWithMsgOfCheckICCID(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    identity_.dealWithMsgOfCheckICCID(msg);
}

void InitController::showDiagMccAndMnc(const QString &, const QString &) {}

void InitController::showDiagIccid(const QString &) {}

QString InitController::imsi() const {
  return InitService::sharedInitService()->imsi();
}

QString InitController::iccidStr() const {
  return InitService::sharedInitService()->iccidStr();
}

QString InitController::currentHmccmnc() const {
  return InitService::sharedInitService()->currentHmccmnc();
}

bool InitController::ifCurrentSIMCardNeededChangeSPN() const {
  return InitService::sharedInitService()->ifCurrentSIMCardNeededChangeSPN();
}
