// SettingController: the message settings the send road reads and the centre it stores.
#include "ConfigManager.h"
#include "SettingController.h"

QString SettingController::readMessageCenter() {
  return settingDict().value(QStringLiteral("MessageCenterNum")).toString();
}

bool SettingController::writeMessageCenter(const QString &number) {
  settingDict().insert(QStringLiteral("MessageCenterNum"), number);
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config && config->writeToFile();
}

int SettingController::readValidityPeriod() {
  const QVariant v = settingDict().value(QStringLiteral("MessageValidPeriod"));
  bool ok = false;
  const int period = v.toInt(&ok);
  return v.isValid() && ok ? period : 3;
}

bool SettingController::readDeliveryReport() {
  return settingDict().value(QStringLiteral("SwitchDeliveryReport")).toBool();
}
