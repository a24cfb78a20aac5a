#include "CompoundCallController.h"

CompoundCallController *g_CompoundCallController = nullptr;

CompoundCallController::CompoundCallController(QObject *parent) : QELUIController(parent) {
  g_CompoundCallController = this;
}

CompoundCallController::~CompoundCallController() {
  if (g_CompoundCallController == this)
    g_CompoundCallController = nullptr;
}

// Answering and hanging up arrive with the call code; the menu items already lead here.
void CompoundCallController::selectDialCallStyle(QObject *) {}

void CompoundCallController::hangClicked(QObject *) {}
