// What runs once when a connection first comes up.
#include "DialController.h"

void DialController::performActionWhenFirstConnected() {}
