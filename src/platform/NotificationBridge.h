#pragma once

#include "PlugInHosts.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QVariantMap>

// How a tab plug-in, which links none of the program's libraries, reaches the default
// notification centre: this object is a child of the application object, named
// "qelNotificationCenter" (kObjectName), where the plug-in finds it. The plug-in posts with `post` and learns of the
// notifications it `observe`s through the signal `notificationPosted` (both found by name through Qt's meta-object
// system, so the plug-in needs no header of ours).
class NotificationBridge : public QObject, public NotificationHostInterface {
  Q_OBJECT
  Q_INTERFACES(NotificationHostInterface)
public:
  static constexpr const char *kObjectName = "qelNotificationCenter";

  // The application's bridge, made on first use (null without an application object).
  static NotificationBridge *shared();

  Q_INVOKABLE void post(const QString &name, const QVariantMap &userInfo) override;
  Q_INVOKABLE void observe(const QString &name) override;

signals:
  void notificationPosted(const QString &name, const QVariantMap &userInfo);

private:
  explicit NotificationBridge(QObject *parent = nullptr);
  QSet<QString> observed_;
};
