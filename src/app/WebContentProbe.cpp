#include "WebContentProbe.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where the bundle is, as Bundle finds it, without an application object.
QString bundlePath() {
  const QString named = qEnvironmentVariable("QEL_BUNDLE_DIR");
  if (!named.isEmpty())
    return QDir(named).absolutePath();
  return QDir(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/..")).absolutePath();
}

} // namespace

namespace WebContentProbe {

bool shareGlContexts() {
  const QString forced = qEnvironmentVariable("QEL_SHARE_GL_CONTEXTS");
  if (forced == QLatin1String("1"))
    return true;
  if (forced == QLatin1String("0") || qEnvironmentVariable("QEL_WEBENGINE") == QLatin1String("0"))
    return false;
  return QFileInfo::exists(bundlePath() + QStringLiteral("/PlugIns/WebEngineView.so"));
}

} // namespace WebContentProbe
