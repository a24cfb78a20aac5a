#include "DispatchTargets.h"

#include <QDebug>
#include <QMetaObject>
#include <QMutex>
#include <QObject>

namespace {
QMutex &ledgerLock() {
  static QMutex lock;
  return lock;
}
QStringList &ledger() {
  static QStringList entries;
  return entries;
}
} // namespace

namespace DispatchTargets {

bool answersItemAction(const QObject *target, const QByteArray &selector) {
  if (!target || selector.isEmpty())
    return false;
  const QByteArray name = selector.left(selector.indexOf(':') < 0 ? selector.size() : selector.indexOf(':'));
  const QMetaObject *mo = target->metaObject();
  return mo->indexOfMethod(name + "(QObject*)") >= 0 || mo->indexOfMethod(name + "()") >= 0;
}

void reportMissing(const QObject *target, const QByteArray &method, const QString &wantedBy) {
  const QString entry = QStringLiteral("%1::%2 (%3)")
                            .arg(QLatin1String(target ? target->metaObject()->className() : "nil"),
                                 QString::fromLatin1(method), wantedBy);
  qWarning().noquote() << "Missing handler:" << entry;
  QMutexLocker lock(&ledgerLock());
  ledger() << entry;
}

QStringList missing() {
  QMutexLocker lock(&ledgerLock());
  return ledger();
}

void forget() {
  QMutexLocker lock(&ledgerLock());
  ledger().clear();
}

} // namespace DispatchTargets
