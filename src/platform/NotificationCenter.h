#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>

// One in-process notification: a name, the posting object and a dictionary of details.
struct Notification {
  QString name;
  QObject *object = nullptr;
  QVariantMap userInfo;
};
Q_DECLARE_METATYPE(Notification)

// The default centre: observers are called synchronously, in the order they registered, on the
// thread that posts. An observer object that is destroyed is dropped automatically.
class NotificationCenter {
public:
  using Handler = std::function<void(const Notification &)>;

  static NotificationCenter &defaultCenter();

  // Calls `handler` for every post of `name` (any name when empty) whose object is `object`
  // (any object when null). `observer` owns the registration: it ends when the observer is
  // destroyed or removed.
  void addObserver(QObject *observer, const QString &name, const QObject *object, Handler handler);
  // Resolves `method` on the observer by name through the meta-object system; the method takes
  // `const Notification &` or nothing. Answers false, registers nothing and reports the missing
  // handler (DispatchTargets) when the observer has no such method: check hasNotificationMethod
  // first where the handler is optional.
  bool addObserver(QObject *observer, const QByteArray &method, const QString &name, const QObject *object = nullptr);

  void removeObserver(QObject *observer);
  void removeObserver(QObject *observer, const QString &name, const QObject *object = nullptr);

  void postNotification(const Notification &notification);
  void postNotificationName(const QString &name, QObject *object = nullptr, const QVariantMap &userInfo = {});

  int observerCount(const QString &name) const;

private:
  struct Entry {
    QPointer<QObject> observer;
    QString name;
    const QObject *object;
    Handler handler;
    quint64 serial;
    // Cleared on removal, so a post already holding the entry skips it.
    bool live = true;
  };
  using EntryPtr = std::shared_ptr<Entry>;
  void dropEntries(const std::function<bool(const Entry &)> &match);
  // Observers by name; the empty name holds those of every notification. Serials keep the
  // registration order across the two when both apply.
  QHash<QString, QList<EntryPtr>> byName_;
  quint64 nextSerial_ = 0;
};

// Invokes `method` on `target` with the notification, when the target has a method of that name
// taking a Notification or nothing. Shared by the centre and the controllers' tables.
bool invokeNotificationMethod(QObject *target, const QByteArray &method, const Notification &n);
bool hasNotificationMethod(const QObject *target, const QByteArray &method);
