// SMSController: what the phonebook and the contact picker hand over.
#include "ConfigService.h"
#include "SMSController.h"
#include "WordGlobe.h"

void SMSController::loadSaveNumberBtnwithState(bool state) {
  saveNumberMenuItems_ = {Map_Name_Item_of_IndexString(QStringLiteral("SavePhone")),
                          Map_Name_Item_of_IndexString(QStringLiteral("PC"))};
  if (!state)
    return;
  saveNumberMenuItems_ << Map_Name_Item_of_IndexString(QStringLiteral("(U)SIM"));
  if (ConfigService::readBool(QString(), QStringLiteral("HasMePosition")))
    saveNumberMenuItems_ << Map_Name_Item_of_IndexString(QStringLiteral("Data Card"));
}

void SMSController::setTheSearchFieldText(const QStringList &numbers) {
  recipientsFieldNumbers_ = numbers;
}

void SMSController::toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module) {
  newMessageNumbers_ = numbers;
  newMessageModule_ = module;
}
