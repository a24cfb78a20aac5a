#include "PackageDispatchGuard.h"

#include <QDebug>
#include <QMutex>

namespace {
// Packages are dispatched on the main thread only; the list is read by tests on the same thread,
// but an alert may be reported from anywhere.
int g_depth = 0;
QMutex g_lock;
QStringList g_found;

bool strict() {
  static const bool on = qEnvironmentVariableIntValue("QEL_STRICT_HANDLER_ALERTS") != 0;
  return on;
}
} // namespace

namespace PackageDispatchGuard {

Scope::Scope() {
  ++g_depth;
}
Scope::~Scope() {
  --g_depth;
}

bool isHandlingPackage() {
  return g_depth > 0;
}

void reportWaitingAlert(const QString &title, const QString &message) {
  if (!isHandlingPackage())
    return;
  const QString what = title + QStringLiteral(" / ") + message;
  {
    QMutexLocker lock(&g_lock);
    g_found.append(what);
  }
  qCritical().noquote() << "A waiting alert was opened while a backend package was handled (use the"
                        << "non-blocking alert there):" << what;
  if (strict())
    qFatal("waiting alert inside a backend package handler: %s", qPrintable(what));
}

QStringList waitingAlertsInHandlers() {
  QMutexLocker lock(&g_lock);
  return g_found;
}

void resetWaitingAlertsInHandlers() {
  QMutexLocker lock(&g_lock);
  g_found.clear();
}

} // namespace PackageDispatchGuard
