#include "FrameworkLinks.h"

#include "ConfigService.h"
#include "QELLanguage.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

namespace FrameworkLinks {

QObject *asObject(QELUIManager *skin) {
  return skin;
}
QObject *asObject(QELLanguage *language) {
  return language;
}

bool registerController(QELUIManager *skin, QObject *control, const QString &key, bool needReload) {
  return skin && skin->registerController(control, key, needReload);
}
bool hasKey(QELUIManager *skin, const QString &key) {
  return skin && skin->hasKey(key);
}
bool setImageForKey(QELUIManager *skin, const QString &key, const QString &imageName, bool needUpdate) {
  return skin && skin->setImageForKey(key, imageName, needUpdate);
}
bool updateItem(QELUIManager *skin, QObject *control) {
  return skin && skin->updateItem(control);
}
QObject *controllerByKey(QELUIManager *skin, const QString &key) {
  return skin ? skin->controllerByKey(key) : nullptr;
}
QList<QObject *> controllersByKey(QELUIManager *skin, const QString &key) {
  return skin ? skin->controllersByKey(key) : QList<QObject *>();
}

bool registerLanguageObserver(QELLanguage *language, QObject *target, const QByteArray &selector, bool needUpdate) {
  return language && language->registerObserver(target, selector, needUpdate);
}
void updateLanguage(QELLanguage *language) {
  if (language)
    language->update();
}

QString wording(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QString uiDateFormat() {
  return ConfigService::sharedConfigService()->getUIDateFormat();
}
QVariantMap uiFont() {
  return ConfigService::sharedConfigService()->getUIFont();
}

} // namespace FrameworkLinks
