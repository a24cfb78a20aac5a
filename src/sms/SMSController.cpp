#include "SMSController.h"

SMSController *g_SMSController = nullptr;

SMSController::SMSController(QObject *parent) : QELUIController(parent) {
  g_SMSController = this;
  specialInitialize();
}

SMSController::~SMSController() {
  if (g_SMSController == this)
    g_SMSController = nullptr;
}

void SMSController::initializeController() {
  // The tables follow the configuration of the moment the controller wakes.
  specialInitialize();
}
