#include "Scenario.h"

#include "Bundle.h"
#include "Plist.h"

#include <QFileInfo>

namespace Scenario {

QString pathOf(const QString &nameOrPath) {
  if (nameOrPath.isEmpty())
    return {};
  if (QFileInfo(nameOrPath).isFile())
    return nameOrPath;
  // A name never leaves the Scenarios folder.
  if (nameOrPath.contains(QLatin1Char('/')) || nameOrPath.startsWith(QLatin1Char('.')))
    return {};
  QString name = nameOrPath;
  if (name.endsWith(QLatin1String(".plist")))
    name.chop(6);
  return Bundle::mainBundle().pathForResource(QStringLiteral("Scenarios/") + name, QStringLiteral("plist"));
}

bool read(const QString &nameOrPath, QVariantMap *out, QString *error) {
  const QString path = pathOf(nameOrPath);
  if (path.isEmpty()) {
    if (error)
      *error = QStringLiteral("no scenario \"%1\" (neither a file nor a name in %2)")
                   .arg(nameOrPath, Bundle::mainBundle().resourcePath() + QStringLiteral("/Scenarios"));
    return false;
  }
  QVariantMap dict;
  if (!Plist::readDictionary(path, &dict)) {
    if (error)
      *error = QStringLiteral("cannot read scenario %1 as a property-list dictionary").arg(path);
    return false;
  }
  if (out)
    *out = dict;
  return true;
}

} // namespace Scenario
