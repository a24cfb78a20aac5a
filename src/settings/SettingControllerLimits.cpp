// What the record settings ask of the settings window controller.
#include "SettingController.h"

#include "DialRecordController.h"

void SettingController::configRecordSettings() {
  if (!g_DialRecordController)
    return;
  g_DialRecordController->periodRecordReset();
  g_DialRecordController->loadDefaultRecordSetting();
}
