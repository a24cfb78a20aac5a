// Network identity of InitController: the SIM-file and network-name replies go to the identity
// handlers, which call back here for what lies in the controller's other areas.
#include "DiagnosticsWindow.h"
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

// The serving network's codes and the card's ICCID as the device reports them; the rows keep
// their last values while no network is reported.
void InitController::showDiagMccAndMnc(const QString &mcc, const QString &mnc) {
  if (mcc.isEmpty())
    return;
  diagMcc_ = mcc;
  diagMnc_ = mnc;
  if (m_DiagWindow) {
    setDiagValue(QStringLiteral("MCC:"), mcc);
    setDiagValue(QStringLiteral("MNC:"), mnc);
  }
}

void InitController::showDiagIccid(const QString &iccid) {
  if (m_DiagWindow)
    setDiagValue(QStringLiteral("ICCID:"), iccid);
}

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
