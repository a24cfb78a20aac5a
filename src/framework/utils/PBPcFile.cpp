#include "PBPcFile.h"

#include "ConfigManager.h"
#include "Plist.h"

namespace PBPcFile {

QString path(const QString &fileName) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return {};
  QString folder = config->configFilePathOfKey(kCMModemListPath);
  if (folder.isEmpty())
    folder = config->modemListPath();
  if (folder.isEmpty())
    return {};
  return folder + QLatin1Char('/') + fileName;
}

QVariantList read(const QString &filePath) {
  QVariantList groups;
  QVariant value;
  if (filePath.isEmpty() || !Plist::readFile(filePath, &value) || value.typeId() != QMetaType::QVariantList)
    return groups;
  for (const QVariant &g : value.toList()) {
    if (g.typeId() != QMetaType::QVariantList)
      continue;
    QVariantList group;
    for (const QVariant &r : g.toList())
      if (r.typeId() == QMetaType::QVariantMap)
        group.append(r);
    if (!group.isEmpty())
      groups.append(QVariant(group));
  }
  return groups;
}

bool write(const QString &filePath, const QVariantList &groups) {
  return !filePath.isEmpty() && Plist::writeFile(filePath, groups);
}

} // namespace PBPcFile
