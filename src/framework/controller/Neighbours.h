#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QMetaObject>
#include <QMetaType>
#include <QObject>

// Calls `method` on a neighbour controller when it has an invokable method of that name taking
// exactly these argument types, as a message to an object that may not answer it. False when the
// neighbour is absent or lacks the method (a subsystem not built yet).
template <typename... Args> bool callNeighbour(QObject *target, const char *method, const Args &...args) {
  if (!target)
    return false;
  QByteArrayList types = {QByteArray(QMetaType::fromType<Args>().name())...};
  const QByteArray signature = QByteArray(method) + '(' + types.join(',') + ')';
  if (target->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature.constData())) < 0)
    return false;
  return QMetaObject::invokeMethod(target, method, Qt::DirectConnection,
                                   QArgument<Args>(QMetaType::fromType<Args>().name(), args)...);
}
