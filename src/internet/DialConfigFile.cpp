#include "DialConfigFile.h"

#include "ConfigManager.h"
#include "Plist.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace DialConfigFile {

QString path() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->configFilePathOfKey(kCMDialConfigFile) : QString();
}

QVariantList read(QString *setAside) {
  const QString file = path();
  QVariant loaded;
  if (file.isEmpty() || !QFileInfo::exists(file))
    return {};
  if (!Plist::readFile(file, &loaded) || loaded.typeId() != QMetaType::QVariantList) {
    const QString aside = file + QStringLiteral(".unreadable-") +
                          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (QFile::rename(file, aside)) {
      qWarning() << "dialConfig: unreadable" << file << "set aside as" << aside;
      if (setAside)
        *setAside = aside;
    } else {
      qWarning() << "dialConfig: unreadable" << file << "and it could not be set aside";
    }
    return {};
  }
  QVariantList profiles;
  for (const QVariant &entry : loaded.toList())
    if (entry.typeId() == QMetaType::QVariantMap)
      profiles << entry;
  return profiles;
}

bool write(const QVariantList &profiles) {
  const QString file = path();
  if (file.isEmpty())
    return false;
  if (QFileInfo::exists(file)) {
    // Never replace a file nobody could read: it is set aside first.
    QVariant probe;
    if (!Plist::readFile(file, &probe) || probe.typeId() != QMetaType::QVariantList)
      read();
  }
  return Plist::writeFile(file, profiles, ConfigManager::kPrivateFilePermissions);
}

} // namespace DialConfigFile
