// The default group's name follows the language where the operator wants that.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "PBController.h"
#include "WordGlobe.h"

void PBController::setCurDefGrpName() {
  if (!ConfigService::readBool(QStringLiteral("PhoneBook"), QStringLiteral("ChangeDefGrpNameWithLag")))
    return;
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString name = Map_Name_Item_of_IndexString(QStringLiteral("Group")) + QStringLiteral(" 0");
  QVariantMap phoneBook = config->getConfiguration().value(QStringLiteral("PhoneBook")).toMap();
  phoneBook.insert(QStringLiteral("CurDefGrpName"), name);
  config->getConfiguration().insert(QStringLiteral("PhoneBook"), phoneBook);
  config->writeToFile();
}
