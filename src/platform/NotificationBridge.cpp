#include "NotificationBridge.h"

#include "NotificationCenter.h"

#include <QCoreApplication>

NotificationBridge::NotificationBridge(QObject *parent) : QObject(parent) {
  setObjectName(QLatin1String(kObjectName));
}

NotificationBridge *NotificationBridge::shared() {
  QCoreApplication *app = QCoreApplication::instance();
  if (!app)
    return nullptr;
  if (auto *bridge = app->findChild<NotificationBridge *>(QLatin1String(kObjectName), Qt::FindDirectChildrenOnly))
    return bridge;
  return new NotificationBridge(app);
}

void NotificationBridge::post(const QString &name, const QVariantMap &userInfo) {
  if (!name.isEmpty())
    NotificationCenter::defaultCenter().postNotificationName(name, this, userInfo);
}

void NotificationBridge::observe(const QString &name) {
  if (name.isEmpty() || observed_.contains(name))
    return;
  observed_.insert(name);
  NotificationCenter::defaultCenter().addObserver(this, name, nullptr, [this](const Notification &n) {
    if (n.object != this)
      emit notificationPosted(n.name, n.userInfo);
  });
}
