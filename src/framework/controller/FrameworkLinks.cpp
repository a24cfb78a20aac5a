#include "FrameworkLinks.h"

#include "ConfigManager.h"

#include <QObject>

#if __has_include("QELUIManager.h")
#define QEL_HAVE_SKIN 1
#include "QELUIManager.h"
#endif
#if __has_include("LanguageOperation.h")
#define QEL_HAVE_LANGUAGE 1
#include "LanguageOperation.h"
#endif
#if __has_include("ConfigService.h")
#define QEL_HAVE_CONFIGSERVICE 1
#include "ConfigService.h"
#endif

namespace FrameworkLinks {

#ifndef QEL_HAVE_SKIN
QObject *asObject(QELUIManager *) {
  return nullptr;
}
bool registerController(QELUIManager *, QObject *, const QString &, bool) {
  return false;
}
bool hasKey(QELUIManager *, const QString &) {
  return false;
}
bool setImageForKey(QELUIManager *, const QString &, const QString &, bool) {
  return false;
}
bool updateItem(QELUIManager *, QObject *) {
  return false;
}
QObject *controllerByKey(QELUIManager *, const QString &) {
  return nullptr;
}
QList<QObject *> controllersByKey(QELUIManager *, const QString &) {
  return {};
}
#endif

#ifndef QEL_HAVE_LANGUAGE
QObject *asObject(QELLanguage *) {
  return nullptr;
}
bool registerLanguageObserver(QELLanguage *, QObject *, const QByteArray &, bool) {
  return false;
}
void updateLanguage(QELLanguage *) {}
QString wording(const QString &key) {
  return key;
}
#endif

#ifndef QEL_HAVE_CONFIGSERVICE
QString uiDateFormat() {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  return cm ? cm->getConfiguration().value(QStringLiteral("CustomDateFormat")).toString() : QString();
}
QVariantMap uiFont() {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  return cm ? cm->getConfigurationByModuleAndKey(QStringLiteral("Main"), QStringLiteral("TextFont")).toMap()
            : QVariantMap();
}
#endif

} // namespace FrameworkLinks
