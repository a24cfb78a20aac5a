#pragma once

#include "Neighbours.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QObject>
#include <optional>

// Messages to a plug-in's principal object, found by name as the plug-in contract has them: a
// plug-in without the method answers nothing, and the call does nothing.
template <typename R, typename... Args>
std::optional<R> askPlugIn(QObject *target, const char *method, const Args &...args) {
  if (!target)
    return std::nullopt;
  QByteArrayList types = {QByteArray(QMetaType::fromType<Args>().name())...};
  const QByteArray signature = QByteArray(method) + '(' + types.join(',') + ')';
  const int index = target->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature.constData()));
  if (index < 0 || target->metaObject()->method(index).returnMetaType() != QMetaType::fromType<R>())
    return std::nullopt;
  R value{};
  if (!QMetaObject::invokeMethod(target, method, Qt::DirectConnection,
                                 QReturnArgument<R>(QMetaType::fromType<R>().name(), value),
                                 QArgument<Args>(QMetaType::fromType<Args>().name(), args)...))
    return std::nullopt;
  return value;
}
