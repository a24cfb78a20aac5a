#include "SettingController.h"

#include "QELAlertPanel.h"
#include "WordGlobe.h"

SettingController *g_SettingController = nullptr;

SettingController::SettingController(QObject *parent) : QELUIController(parent) {
  g_SettingController = this;
}

SettingController::~SettingController() {
  if (g_SettingController == this)
    g_SettingController = nullptr;
}

bool SettingController::openSettingPage(const QString &page) {
  Q_UNUSED(page)
  return false;
}

void SettingController::runAlertPanel(const QString &wordingKey) {
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning!")),
                       Map_Name_Item_of_IndexString(wordingKey), Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}
