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
  // Callers may store the name before or after the new language's words are loaded; the name
  // stored before is kept so that the default group is still recognised in either order.
  const QString before = phoneBook.value(QStringLiteral("CurDefGrpName")).toString();
  if (before != name)
    previousDefGrpName_ = before;
  phoneBook.insert(QStringLiteral("CurDefGrpName"), name);
  config->getConfiguration().insert(QStringLiteral("PhoneBook"), phoneBook);
  config->writeToFile();
}

void PBController::changeDefGrpWithLag() {
  if (!ConfigService::readBool(QStringLiteral("PhoneBook"), QStringLiteral("ChangeDefGrpNameWithLag")))
    return;
  // Only an untouched default group is renamed: one group, empty, still under the name stored
  // for the language before.
  if (sumOfGroupInPC() != 1 || sumOfContactInGroup(0) != 0)
    return;
  const QString stored =
      ConfigService::readValue(QStringLiteral("PhoneBook"), QStringLiteral("CurDefGrpName")).toString();
  const QString name = getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString();
  if (name.isEmpty() || (name != stored && name != previousDefGrpName_))
    return;
  // Already under the current language's name: nothing to rename.
  if (name == Map_Name_Item_of_IndexString(QStringLiteral("Group")) + QStringLiteral(" 0"))
    return;
  deleteGrop(0);
  addGroup();
  setCurrentgroup(0);
  initialNodeOfPc();
}
