// SMSController: the storage positions and the box tables.
#include "ConfigManager.h"
#include "SMSController.h"

void SMSController::specialInitialize() {
  boxDisplayOrderInit();
  qelPositionManagerInit();
}

// The name map is fixed; the display-order map comes from SMS/"boxOrder".
void SMSController::boxDisplayOrderInit() {
  boxTables_ = SmsBoxTables::fromSettings();
}

void SMSController::qelPositionManagerInit() {
  qelPositionManager_ = QelPositionManager::fromSettings();
}

bool SMSController::isPCDrafBoxMessage(const QVariantMap &entry) {
  return !entry.value(QStringLiteral("smsInfo")).isValid();
}
