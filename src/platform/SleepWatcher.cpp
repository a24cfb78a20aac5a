#include "SleepWatcher.h"

#include <QDBusConnection>

SleepWatcher::SleepWatcher(QObject *parent) : QObject(parent) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected())
    return;
  watching_ = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                          QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                          SLOT(prepareForSleep(bool)));
}

void SleepWatcher::prepareForSleep(bool sleeping) {
  if (sleeping)
    emit willSleep();
  else
    emit didWake();
}
