#pragma once

#include <QString>
#include <QStringList>

// While the message centre hands a backend package to its handlers nothing may wait for the
// user: a waiting alert there holds back every later package (the device's removal among them)
// until it is answered. The centre marks the time it dispatches; the waiting alerts report
// themselves when they open, and one opened then is logged as a fault and counted, so that
// tests can see it. With QEL_STRICT_HANDLER_ALERTS=1 in the environment it ends the process
// instead (for runs that hunt such alerts down).
namespace PackageDispatchGuard {

// Marks a package being handled for as long as it lives; scopes nest.
class Scope {
public:
  Scope();
  ~Scope();
  Scope(const Scope &) = delete;
  Scope &operator=(const Scope &) = delete;
};

bool isHandlingPackage();

// Called by every alert that waits for its answer, before it opens.
void reportWaitingAlert(const QString &title, const QString &message);

// The waiting alerts opened while a package was handled, since the last reset: "title / message".
QStringList waitingAlertsInHandlers();
void resetWaitingAlertsInHandlers();

} // namespace PackageDispatchGuard
