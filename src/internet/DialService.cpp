#include "DialService.h"

#include "ConfigService.h"

namespace {
DialService *g_installed = nullptr;
} // namespace

DialService *DialService::sharedDialService() {
  if (!g_installed) {
    // One made on first use serves the whole process.
    static DialService *fallback = new DialService;
    g_installed = fallback;
  }
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
