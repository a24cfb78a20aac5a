#include "SettingService.h"

SettingService *SettingService::sharedSettingService() {
  static SettingService *service = new SettingService;
  return service;
}

int SettingService::checkPinInputStatusByLeftTimes(int tries) const {
  if (tries < 1)
    return 2;
  return isNeedAlertLeftTimesFlag_ ? 1 : 0;
}
