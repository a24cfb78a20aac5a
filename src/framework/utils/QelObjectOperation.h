#pragma once

#include <QMetaType>
#include <QVariant>

// The nil guard: a value that is missing becomes a harmless one of the wanted kind.
class QelObjectOperation {
public:
  // `object` when it holds a value; for an invalid or null one: "" when `type` is QString, the
  // number 0 when it is qint64, the present date when it is QDateTime, otherwise the null value
  // (a QVariant holding std::nullptr_t).
  static QVariant checkNilWithObject(const QVariant &object, QMetaType type);
  static QVariant nullObject();
  static bool isNullObject(const QVariant &value);
};
