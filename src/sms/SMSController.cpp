#include "SMSController.h"

SMSController *g_SMSController = nullptr;

SMSController::SMSController(QObject *parent) : QELUIController(parent) {
  g_SMSController = this;
}

SMSController::~SMSController() {
  if (g_SMSController == this)
    g_SMSController = nullptr;
}
