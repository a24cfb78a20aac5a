#include "SmsService.h"

#include "ConfigManager.h"

SmsService *SmsService::sharedSmsService() {
  static SmsService service;
  return &service;
}

void SmsService::setUnshowInfoWndWhenSendSmsByFlag(bool flag) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString module = QStringLiteral("SMS"), key = QStringLiteral("noSendInfoWnd");
  const QVariant current = config->getConfigurationByModuleAndKey(module, key);
  if (current.isValid() && current.toBool() == flag)
    return;
  if (!config->getConfigurationByModule(module).isValid())
    config->setConfigurationByModule(module, QVariantMap());
  config->setConfigurationByModuleKeyAndValue(module, key, flag);
  config->writeToFile();
}
