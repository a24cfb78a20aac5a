#include "QELLanguage.h"

#include "Bundle.h"
#include "LanguageTables.h"
#include "QELDatacardConfig.h"
#include "SettingValue.h"

namespace {
const QString kSupportLanguages = QStringLiteral("SupportLanguages");
const QString kCurrentLanguage = QStringLiteral("CurrentLanguage");
const QString kFirstInstallFlag = QStringLiteral("FirstInstallFlag");
const QString kFirstInstallLanguage = QStringLiteral("FirstInstallLanguage");
} // namespace

QELLanguage::QELLanguage(QString resourcePath, SystemLanguages systemLanguages, QObject *parent)
    : Language(parent), resourcePath_(resourcePath.isEmpty() ? Bundle::mainBundle().resourcePath() : resourcePath) {
  setSystemLanguages(std::move(systemLanguages));
  QELDatacardConfig::initGlobal();
  loadSupportLanguagesArray();
  loadLanguageTokenListFileAutomatically();
}

void QELLanguage::loadSupportLanguagesArray() {
  if (supportLoaded_)
    return;
  supportLoaded_ = true;
  const QVariant stored = QELDatacardConfig::settingDictKey(kSupportLanguages);
  if (stored.typeId() == QMetaType::QVariantList) {
    for (const QVariant &element : stored.toList())
      if (element.typeId() == QMetaType::QString)
        supportLanguages_ << element.toString();
    return;
  }
  QString current = QELDatacardConfig::settingDictKey(kCurrentLanguage).toString();
  if (current.isEmpty()) {
    current = QStringLiteral("English");
    QELDatacardConfig::setSettingDictKey(kCurrentLanguage, current);
  }
  supportLanguages_ = {current};
  QELDatacardConfig::setSettingDictKey(kSupportLanguages, QVariantList{current});
}

bool QELLanguage::loadLanguageTokenListFileAutomatically() {
  if (isFirstLoadLanguage())
    return loadLanguageTokenListFileInSystemLanguage();
  return loadLanguageTokenListFileOfLastUsing();
}

bool QELLanguage::loadLanguageTokenListFileOfLastUsing() {
  const QString current = currentLanguage();
  return findSupportLanguage(current) && loadLanguageTokenListFileByName(current);
}

bool QELLanguage::loadLanguageTokenListFileInSystemLanguage() {
  const QString name = systemLanguageToEnglish(systemDefaultLanguage());
  if (!findSupportLanguage(name) || !loadLanguageTokenListFileByName(name))
    return false;
  QELDatacardConfig::setSettingDictKey(kFirstInstallLanguage, name);
  return true;
}

bool QELLanguage::loadLanguageTokenListFileByName(const QString &name) {
  const QString path = LanguageTables::tokenListPathOfLanguage(resourcePath_, name);
  if (path.isEmpty() || !LoadTokenListResource(path))
    return false;
  QELDatacardConfig::setSettingDictKey(kCurrentLanguage, name);
  QELDatacardConfig::setSettingDictKey(kFirstInstallFlag, false);
  return true;
}

bool QELLanguage::isFirstLoadLanguage() const {
  return SettingValue::toBool(QELDatacardConfig::settingDictKey(kFirstInstallFlag));
}

bool QELLanguage::findSupportLanguage(const QString &name) const {
  return !name.isEmpty() && supportLanguages_.contains(name);
}

int QELLanguage::supportLanguageCount() const {
  return int(supportLanguages_.size());
}

QString QELLanguage::supportLanguageByIndex(int index) const {
  if (index < 0 || index >= supportLanguages_.size())
    return {};
  return supportLanguages_.at(index);
}

QString QELLanguage::currentLanguage() const {
  return QELDatacardConfig::settingDictKey(kCurrentLanguage).toString();
}
