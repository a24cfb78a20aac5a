#pragma once

// Small readers shared by the DialController category files.
#include "SettingValue.h"
#include "WordGlobe.h"

#include <QString>
#include <QVariantMap>

namespace dialsupport {

inline QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// A switch of a settings module ("" for a top-level entry); absent reads NO.
inline bool switchOn(const QVariantMap &settings, const QString &module, const QString &key) {
  if (module.isEmpty())
    return SettingValue::toBool(settings.value(key));
  return SettingValue::toBool(settings.value(module).toMap().value(key));
}

inline QVariant moduleValue(const QVariantMap &settings, const QString &module, const QString &key) {
  return settings.value(module).toMap().value(key);
}

inline const QString kInternet = QStringLiteral("Internet");
// Marks the temporary MMS profile, which is never saved.
inline const QString kMMSProfileMark = QStringLiteral("qelTemporaryMMSProfile");

} // namespace dialsupport
