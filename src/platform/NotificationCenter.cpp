#include "NotificationCenter.h"

#include "DispatchTargets.h"

#include <QMetaMethod>

namespace {

// Accepts a Cocoa-style selector ("devicePlugin:") as well as a plain method name.
QByteArray methodName(const QByteArray &selector) {
  const int colon = selector.indexOf(':');
  return colon < 0 ? selector : selector.left(colon);
}

int findMethod(const QMetaObject *mo, const QByteArray &name, bool *takesArgument) {
  const QByteArray withArg = name + "(Notification)";
  const QByteArray noArg = name + "()";
  int idx = mo->indexOfMethod(withArg.constData());
  if (idx >= 0) {
    *takesArgument = true;
    return idx;
  }
  idx = mo->indexOfMethod(noArg.constData());
  *takesArgument = false;
  return idx;
}

} // namespace

bool hasNotificationMethod(const QObject *target, const QByteArray &method) {
  if (!target)
    return false;
  bool arg = false;
  return findMethod(target->metaObject(), methodName(method), &arg) >= 0;
}

bool invokeNotificationMethod(QObject *target, const QByteArray &method, const Notification &n) {
  if (!target)
    return false;
  bool takesArgument = false;
  const int idx = findMethod(target->metaObject(), methodName(method), &takesArgument);
  if (idx < 0)
    return false;
  const QMetaMethod mm = target->metaObject()->method(idx);
  return takesArgument ? mm.invoke(target, Qt::DirectConnection, Q_ARG(Notification, n))
                       : mm.invoke(target, Qt::DirectConnection);
}

NotificationCenter &NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

void NotificationCenter::addObserver(QObject *observer, const QString &name, const QObject *object, Handler handler) {
  if (!handler)
    return;
  byName_[name].append(std::make_shared<Entry>(
      Entry{QPointer<QObject>(observer), name, object, std::move(handler), nextSerial_++, true}));
}

bool NotificationCenter::addObserver(QObject *observer, const QByteArray &method, const QString &name,
                                     const QObject *object) {
  if (!hasNotificationMethod(observer, method)) {
    DispatchTargets::reportMissing(observer, method, QStringLiteral("notification ") + name);
    return false;
  }
  QPointer<QObject> target(observer);
  addObserver(observer, name, object, [target, method](const Notification &n) {
    if (target)
      invokeNotificationMethod(target, method, n);
  });
  return true;
}

void NotificationCenter::dropEntries(const std::function<bool(const Entry &)> &match) {
  for (auto it = byName_.begin(); it != byName_.end();) {
    it->removeIf([&](const EntryPtr &e) {
      if (!match(*e))
        return false;
      e->live = false;
      return true;
    });
    it = it->isEmpty() ? byName_.erase(it) : std::next(it);
  }
}

void NotificationCenter::removeObserver(QObject *observer) {
  dropEntries([observer](const Entry &e) { return e.observer.data() == observer || e.observer.isNull(); });
}

void NotificationCenter::removeObserver(QObject *observer, const QString &name, const QObject *object) {
  dropEntries([&](const Entry &e) {
    return e.observer.data() == observer && (name.isEmpty() || e.name == name) && (!object || e.object == object);
  });
}

void NotificationCenter::postNotification(const Notification &n) {
  // Observers may register or remove observers while being called: walk a snapshot, and skip
  // entries removed in the meantime.
  QList<EntryPtr> snapshot = byName_.value(n.name);
  if (!n.name.isEmpty()) {
    const auto wild = byName_.constFind(QString());
    if (wild != byName_.cend() && !wild->isEmpty()) {
      snapshot += *wild;
      std::sort(snapshot.begin(), snapshot.end(),
                [](const EntryPtr &a, const EntryPtr &b) { return a->serial < b->serial; });
    }
  }
  bool sawDead = false;
  for (const EntryPtr &e : std::as_const(snapshot)) {
    if (e->object && e->object != n.object)
      continue;
    if (e->observer.isNull()) {
      sawDead = true;
      continue;
    }
    if (e->live)
      e->handler(n);
  }
  if (sawDead)
    dropEntries([](const Entry &e) { return e.observer.isNull(); });
}

void NotificationCenter::postNotificationName(const QString &name, QObject *object, const QVariantMap &userInfo) {
  postNotification(Notification{name, object, userInfo});
}

int NotificationCenter::observerCount(const QString &name) const {
  const QList<EntryPtr> list = byName_.value(name);
  return int(std::count_if(list.cbegin(), list.cend(), [](const EntryPtr &e) { return !e->observer.isNull(); }));
}
