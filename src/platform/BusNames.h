#pragma once

#include <QString>

// The names both processes use on the session bus. Environment variables override the defaults
// so that tests running side by side never meet.
namespace BusNames {
inline constexpr const char *kPackageInterface = "org.qel.GURL";
inline constexpr const char *kPackageMethod = "qMsg";
inline constexpr const char *kPackagePath = "/qUIMsg";
inline constexpr const char *kSimulatorPath = "/Simulator";
inline constexpr const char *kSimulatorInterface = "org.qel.vArivevorer.Simulator";
inline constexpr const char *kVoicePath = "/qcontrollerosxproxy";
inline constexpr const char *kUpdaterPath = "/Updater";
inline constexpr const char *kUpdaterInterface = "org.qel.Updater";
inline constexpr const char *kUpdaterCommandMethod = "Command";

QString uiBusName();      // org.qel.ConnectionManager, or $QEL_UI_BUS_NAME
QString backendBusName(); // org.qel.vArivevorer, or $QEL_BACKEND_BUS_NAME
QString updaterBusName(); // org.qel.AutoUpdateManager, or $QEL_UPDATER_BUS_NAME
} // namespace BusNames
