#include "BusNames.h"

#include <QtGlobal>

namespace {
QString fromEnv(const char *var, const char *fallback) {
  const QByteArray v = qgetenv(var);
  return v.isEmpty() ? QString::fromLatin1(fallback) : QString::fromLatin1(v);
}
} // namespace

QString BusNames::uiBusName() {
  return fromEnv("QEL_UI_BUS_NAME", "org.qel.ConnectionManager");
}
QString BusNames::backendBusName() {
  return fromEnv("QEL_BACKEND_BUS_NAME", "org.qel.vArivevorer");
}
QString BusNames::updaterBusName() {
  return fromEnv("QEL_UPDATER_BUS_NAME", "org.qel.AutoUpdateManager");
}
