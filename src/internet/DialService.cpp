#include "DialService.h"

#include "ConfigService.h"

namespace {
DialService *g_installed = nullptr;
} // namespace

DialService *DialService::sharedDialService() {
  if (!g_installed)
    g_installed = new DialService; // lives as long as the process
  return g_installed;
}

void DialService::setSharedDialService(DialService *service) {
  g_installed = service;
}

QString DialService::filterIPAddress(const QString &address) const {
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isNotShowIPAddressWhenDhcpFailed() && address.startsWith(QLatin1String("169.254")))
    return QStringLiteral("");
  return address;
}
