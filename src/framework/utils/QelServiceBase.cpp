#include "QelServiceBase.h"

#include <QMutex>
#include <QStringList>

namespace {
QMutex g_imsiLock;
QString g_imsi;

bool inTable(const QString &text, std::initializer_list<const char *> table) {
  for (const char *entry : table) {
    if (text == QLatin1String(entry))
      return true;
  }
  return false;
}
} // namespace

QString QelServiceBase::imsi() const {
  QMutexLocker locker(&g_imsiLock);
  return g_imsi;
}

void QelServiceBase::setImsi(const QString &imsi) {
  QMutexLocker locker(&g_imsiLock);
  g_imsi = imsi;
}

bool QelServiceBase::is2GType(const QString &netStr) {
  return inTable(netStr, {"GSM", "EDGE", "GPRS", "2G"});
}
bool QelServiceBase::is3GType(const QString &netStr) {
  return inTable(netStr, {"UMTS"});
}
bool QelServiceBase::isHType(const QString &netStr) {
  return inTable(netStr, {"HSDPA", "HSUPA"});
}
bool QelServiceBase::isHPlusType(const QString &netStr) {
  return inTable(netStr, {"HSPA+", "DC-HSPA+"});
}

int QelServiceBase::getNetTypeWithNetStr(const QString &netStr) {
  if (is3GType(netStr))
    return kNet3G;
  if (isHType(netStr))
    return kNetH;
  if (isHPlusType(netStr))
    return kNetHPlus;
  return kNet2G;
}
