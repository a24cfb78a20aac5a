#pragma once

#include <QString>
#include <QVariant>

// The one place the network-identity code reads the operator build's settings, so the switch
// facade can take over here alone. An empty module reads a top-level entry; without a
// configuration every setting is absent (and every switch off).
namespace IdentitySettings {
QVariant value(const QString &module, const QString &key);
inline bool switchOn(const QString &module, const QString &key) {
  return value(module, key).toBool();
}
} // namespace IdentitySettings
