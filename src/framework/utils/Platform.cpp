#include "Platform.h"

#include "ConfigManager.h"

#include <QList>
#include <QMutex>

namespace {
Platform *g_sharedPlatform = nullptr;
QMutex g_platformLock;
} // namespace

Platform::Platform() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    platform_ = platformOfDeviceType(
        config->getConfigurationByModuleAndKey(QStringLiteral("Main"), QStringLiteral("DeviceType")));
}

Platform *Platform::sharedPlatform() {
  QMutexLocker locker(&g_platformLock);
  // Every instance made here lives as long as the process, also after a test has replaced it.
  static QList<Platform *> made;
  if (!g_sharedPlatform) {
    g_sharedPlatform = new Platform();
    made.append(g_sharedPlatform);
  }
  return g_sharedPlatform;
}

void Platform::setSharedPlatform(Platform *platform) {
  QMutexLocker locker(&g_platformLock);
  g_sharedPlatform = platform;
}

int Platform::platformOfDeviceType(const QVariant &deviceType) {
  if (deviceType.typeId() != QMetaType::QString)
    return kPlatformOther;
  const QString type = deviceType.toString();
  if (type == QLatin1String("Icera"))
    return kPlatformIcera;
  if (type == QLatin1String("TK330"))
    return kPlatformTK330;
  if (type == QLatin1String("CDMA"))
    return kPlatformCDMA;
  return kPlatformOther;
}
