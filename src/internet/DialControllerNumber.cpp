// The subscriber's number: the operator's number service and how the number is shown.
#include "DialController.h"

void DialController::sendIMSIToHttpServerBySoap() {}
QString DialController::getPhoneNumber() {
  return {};
}
