#pragma once

#include "PackageDispatchGuard.h"

#include <gtest/gtest.h>

// A fixture member that fails the test when a waiting alert was opened while the message centre
// handed a backend package to its handlers: such an alert holds back every later package, the
// device's removal among them, until someone answers it (a script answers at once, so the test
// would not notice otherwise).
class NoWaitingAlertInHandlers {
public:
  NoWaitingAlertInHandlers() { PackageDispatchGuard::resetWaitingAlertsInHandlers(); }
  ~NoWaitingAlertInHandlers() {
    const QStringList found = PackageDispatchGuard::waitingAlertsInHandlers();
    EXPECT_TRUE(found.isEmpty()) << "waiting alert(s) inside a package handler: "
                                 << found.join(QStringLiteral("; ")).toStdString();
    PackageDispatchGuard::resetWaitingAlertsInHandlers();
  }
  NoWaitingAlertInHandlers(const NoWaitingAlertInHandlers &) = delete;
  NoWaitingAlertInHandlers &operator=(const NoWaitingAlertInHandlers &) = delete;
};
