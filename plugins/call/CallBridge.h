#pragma once

// How the call plug-ins talk to the program: through the application's notification bridge
// (an object named "qelNotificationCenter", a child of the application object), called through
// its typed interface; what is observed comes back through the bridge's signal.
#include "PlugInHosts.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>

class CallBridge : public QObject {
  Q_OBJECT
public:
  explicit CallBridge(QObject *parent = nullptr) : QObject(parent) {
    if (QCoreApplication *app = QCoreApplication::instance())
      bridge_ = app->findChild<QObject *>(QStringLiteral("qelNotificationCenter"), Qt::FindDirectChildrenOnly);
    if (bridge_)
      QObject::connect(bridge_, SIGNAL(notificationPosted(QString, QVariantMap)), this,
                       SLOT(deliver(QString, QVariantMap)));
  }

  bool isConnected() const { return host() != nullptr; }

  void post(const QString &name, const QVariantMap &userInfo = {}) {
    if (NotificationHostInterface *h = host())
      h->post(name, userInfo);
  }

  void observe(const QString &name, std::function<void(const QVariantMap &)> handler) {
    handlers_.insert(name, std::move(handler));
    if (NotificationHostInterface *h = host())
      h->observe(name);
  }

public slots:
  // The bridge's signal, connected by name.
  void deliver(const QString &name, const QVariantMap &userInfo) {
    const auto it = handlers_.constFind(name);
    if (it != handlers_.cend())
      (*it)(userInfo);
  }

private:
  NotificationHostInterface *host() const { return qobject_cast<NotificationHostInterface *>(bridge_.data()); }

  QPointer<QObject> bridge_;
  QHash<QString, std::function<void(const QVariantMap &)>> handlers_;
};
