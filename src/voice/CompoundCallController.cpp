#include "CompoundCallController.h"

CompoundCallController *g_CompoundCallController = nullptr;

CompoundCallController::CompoundCallController(QObject *parent) : QELUIController(parent) {
  g_CompoundCallController = this;
}

CompoundCallController::~CompoundCallController() {
  if (g_CompoundCallController == this)
    g_CompoundCallController = nullptr;
}
