#include "IdentitySettings.h"

#include "ConfigManager.h"

namespace IdentitySettings {
QVariant value(const QString &module, const QString &key) {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  if (!cm)
    return {};
  if (module.isEmpty())
    return cm->getConfigurationByModule(key);
  return cm->getConfigurationByModuleAndKey(module, key);
}
} // namespace IdentitySettings
