#include "QelObjectOperation.h"

#include <QDateTime>

QVariant QelObjectOperation::nullObject() {
  return QVariant::fromValue(nullptr);
}

bool QelObjectOperation::isNullObject(const QVariant &value) {
  return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

QVariant QelObjectOperation::checkNilWithObject(const QVariant &object, QMetaType type) {
  if (object.isValid() && !object.isNull())
    return object;
  if (type == QMetaType::fromType<QString>())
    return QString(QLatin1String(""));
  if (type == QMetaType::fromType<qint64>())
    return QVariant::fromValue<qint64>(0);
  if (type == QMetaType::fromType<QDateTime>())
    return QDateTime::currentDateTime();
  return nullObject();
}
