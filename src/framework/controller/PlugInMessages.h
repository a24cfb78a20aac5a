#pragma once

#include "DispatchTargets.h"

#include <QByteArrayList>
#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaType>
#include <QObject>
#include <optional>

// Messages to a plug-in's principal object, found by name as the plug-in contract has them. An
// absent plug-in (null target) is no fault and the call does nothing; a plug-in that lacks the
// method, or answers with another type, breaks the contract and is reported by name.
namespace plugin_messages {
template <typename... Args> QByteArray signatureOf(const char *method) {
  const QByteArrayList types = {QByteArray(QMetaType::fromType<Args>().name())...};
  return QMetaObject::normalizedSignature((QByteArray(method) + '(' + types.join(',') + ')').constData());
}
} // namespace plugin_messages

template <typename... Args> bool callPlugIn(QObject *target, const char *method, const Args &...args) {
  if (!target)
    return false;
  const QByteArray signature = plugin_messages::signatureOf<Args...>(method);
  if (target->metaObject()->indexOfMethod(signature.constData()) < 0) {
    DispatchTargets::reportMissing(target, signature, QStringLiteral("plug-in call"));
    return false;
  }
  return QMetaObject::invokeMethod(target, method, Qt::DirectConnection,
                                   QArgument<Args>(QMetaType::fromType<Args>().name(), args)...);
}

template <typename R, typename... Args>
std::optional<R> askPlugIn(QObject *target, const char *method, const Args &...args) {
  if (!target)
    return std::nullopt;
  const QByteArray signature = plugin_messages::signatureOf<Args...>(method);
  const int index = target->metaObject()->indexOfMethod(signature.constData());
  if (index < 0 || target->metaObject()->method(index).returnMetaType() != QMetaType::fromType<R>()) {
    DispatchTargets::reportMissing(
        target, signature,
        QStringLiteral("plug-in question answered as %1").arg(QLatin1String(QMetaType::fromType<R>().name())));
    return std::nullopt;
  }
  R value{};
  if (!QMetaObject::invokeMethod(target, method, Qt::DirectConnection,
                                 QReturnArgument<R>(QMetaType::fromType<R>().name(), value),
                                 QArgument<Args>(QMetaType::fromType<Args>().name(), args)...))
    return std::nullopt;
  return value;
}
