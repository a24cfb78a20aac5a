#include "Bundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include "Plist.h"
#include <memory>

namespace {
std::unique_ptr<Bundle> &mainBundleSlot() {
  static std::unique_ptr<Bundle> bundle;
  return bundle;
}

QString locateBundle() {
  const QByteArray env = qgetenv("QEL_BUNDLE_DIR");
  if (!env.isEmpty())
    return QDir(QString::fromLocal8Bit(env)).absolutePath();
  QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  if (exeDir.isEmpty())
    exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  // bin/<exe> -> the bundle is the parent of bin/.
  return QDir(exeDir + QStringLiteral("/..")).absolutePath();
}
} // namespace

Bundle &Bundle::mainBundle() {
  auto &slot = mainBundleSlot();
  if (!slot)
    slot = std::make_unique<Bundle>(locateBundle());
  return *slot;
}

void Bundle::setMainBundlePath(const QString &path) {
  mainBundleSlot() = std::make_unique<Bundle>(path);
}

Bundle::Bundle(QString bundlePath) : bundlePath_(QDir::cleanPath(std::move(bundlePath))) {}

QString Bundle::resourcePath() const {
  return bundlePath_ + QStringLiteral("/Resources");
}
QString Bundle::plugInsPath() const {
  return bundlePath_ + QStringLiteral("/PlugIns");
}
QString Bundle::executableFolder() const {
  return bundlePath_ + QStringLiteral("/bin");
}

QString Bundle::pathForResource(const QString &name, const QString &type) const {
  if (name.isEmpty())
    return {};
  QString path = resourcePath() + QLatin1Char('/') + name;
  if (!type.isEmpty())
    path += QLatin1Char('.') + type;
  return QFileInfo::exists(path) ? path : QString();
}

QString Bundle::infoPlistPath() const {
  return bundlePath_ + QStringLiteral("/Info.plist");
}

QVariant Bundle::objectForInfoDictionaryKey(const QString &key) const {
  QVariantMap info;
  if (key.isEmpty() || !Plist::readDictionary(infoPlistPath(), &info))
    return {};
  return info.value(key);
}
