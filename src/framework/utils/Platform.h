#pragma once

#include <QVariant>
#include <atomic>

// The device platform type, read once from Main/"DeviceType" when the instance is made.
class Platform {
public:
  enum : int { kPlatformOther = 0, kPlatformIcera = 1, kPlatformTK330 = 2, kPlatformCDMA = 3 };

  // Reads the type from the shared ConfigManager (0 without one).
  Platform();
  explicit Platform(int platform) : platform_(platform) {}

  static Platform *sharedPlatform();
  // Tests install a fresh instance; the previous one is not deleted.
  static void setSharedPlatform(Platform *platform);

  // "Icera" 1, "TK330" 2, "CDMA" 3, anything else 0.
  static int platformOfDeviceType(const QVariant &deviceType);

  int platform() const { return platform_.load(); }
  void setPlatform(int platform) { platform_.store(platform); }

private:
  std::atomic<int> platform_{kPlatformOther};
};
