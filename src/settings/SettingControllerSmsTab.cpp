// SettingController: the restore result the message tab hands over.
#include "QELAlertPanel.h"
#include "SettingController.h"
#include "WordGlobe.h"

void SettingController::restoreAlertPanel(bool ok) {
  ++restoreAlertCount_;
  const QString message =
      Map_Name_Item_of_IndexString(ok ? QStringLiteral("Restore SMS And PhoneBook Success.")
                                      : QStringLiteral("Restore SMS And PhoneBook Failed.Invalid data file!"));
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning")), message,
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}
