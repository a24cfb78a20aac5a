// The speed test of a fresh connection and the reason of the last disconnect.
#include "DialController.h"

void DialController::startSpeedTestIfConnected() {}
void DialController::writeDisconetNetWorkReason() {}
