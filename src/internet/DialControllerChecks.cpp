// The checks a connect or a disconnect request passes first. Until the usage limits and the
// warnings arrive, each answers "go on"; the roaming-cost question is real, since the
// no-signal reconnect asks it too.
#include "DialController.h"

#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "QELAlertPanel.h"

using namespace dialsupport;

bool DialController::checkDeviceLockStatus(QObject *) {
  return false;
}

bool DialController::allowUserConnect() {
  return true;
}

bool DialController::allowRoamWithAlert() {
  return true;
}

bool DialController::showAlertWin() {
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")),
                                        word(QStringLiteral("Cost will be increased at roaming status")),
                                        roamAlertOKBtnWording(), word(QStringLiteral("Cancel")));
  if (answer == 1)
    return true;
  setManualDisconnect(true);
  return false;
}

bool DialController::displayDataLimitWarning() {
  autoDisconnectFlag = true;
  return true;
}

bool DialController::displayTimeLimitWarning() {
  autoDisconnectFlag = true;
  return true;
}

void DialController::displayUKMTSWaring() {
  clickOKForAPNPromptFlag_ = true;
}

bool DialController::doBeforeConnect() {
  return true;
}

bool DialController::allowUserDisconnect() {
  return true;
}

bool DialController::dialDisconnectWhenRoamForDidoro() {
  return true;
}

void DialController::checkRecordLimit() {}

void DialController::recordLimitWarnForVavu() {}
