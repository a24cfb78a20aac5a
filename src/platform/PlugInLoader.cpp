#include "PlugInInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

LoadedPlugIn::LoadedPlugIn() = default;
LoadedPlugIn::LoadedPlugIn(LoadedPlugIn &&) noexcept = default;
LoadedPlugIn &LoadedPlugIn::operator=(LoadedPlugIn &&) noexcept = default;
// The library stays mapped: views and objects it made may still be alive.
LoadedPlugIn::~LoadedPlugIn() = default;

namespace PlugInLoader {

QString pathForBundle(const QString &folder, const QString &bundleName) {
  if (folder.isEmpty() || bundleName.isEmpty() || bundleName.contains(QLatin1Char('/')) ||
      bundleName == QLatin1String("..") || bundleName == QLatin1String("."))
    return {};
  const QDir dir(folder);
  QString base = bundleName;
  if (base.endsWith(QLatin1String(".bundle")))
    base.chop(7);
  const QStringList candidates = {bundleName, base + QStringLiteral(".so"), QStringLiteral("lib") + base + ".so"};
  for (const QString &name : candidates) {
    const QFileInfo info(dir.filePath(name));
    if (info.isFile())
      return info.absoluteFilePath();
  }
  return {};
}

std::optional<LoadedPlugIn> load(const QString &folder, const QString &bundleName, QString *error) {
  auto fail = [error](const QString &why) -> std::optional<LoadedPlugIn> {
    if (error)
      *error = why;
    return std::nullopt;
  };
  const QString path = pathForBundle(folder, bundleName);
  if (path.isEmpty())
    return fail(QStringLiteral("no plug-in named %1 in %2").arg(bundleName, folder));
  LoadedPlugIn plugIn;
  plugIn.loader = std::make_unique<QPluginLoader>(path);
  plugIn.instance = plugIn.loader->instance();
  if (!plugIn.instance)
    return fail(plugIn.loader->errorString());
  plugIn.principal = qobject_cast<QELPlugInInterface *>(plugIn.instance);
  if (!plugIn.principal) {
    plugIn.loader->unload();
    return fail(QStringLiteral("%1 does not implement %2").arg(path, QLatin1String(QELPlugInInterface_iid)));
  }
  return plugIn;
}

} // namespace PlugInLoader
