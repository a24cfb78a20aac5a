// What the record settings ask of the settings window controller.
#include "SettingController.h"

#include "ConnectionNeighbour.h"
#include "Neighbourhood.h"

void SettingController::configRecordSettings() {
  RecordsNeighbour *records = Neighbourhood::records();
  if (!records)
    return;
  records->periodRecordReset();
  records->loadDefaultRecordSetting();
}
