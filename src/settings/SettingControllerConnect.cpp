// The settings the connection road reads.
#include "SettingController.h"

int SettingController::getNetworkMode() const {
  return getCurrentNetWorkPreferedMode();
}

bool SettingController::getOperatorSelectionForNetwork() const {
  return isManualSelecting();
}
