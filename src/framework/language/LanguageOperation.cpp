#include "LanguageOperation.h"

#include "Bundle.h"
#include "ConfigManager.h"
#include "LanguageTables.h"
#include "SettingValue.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QFileInfo>

namespace {

LanguageOperation *g_sharedLanguageOperation = nullptr;

const QString kSupportLanguages = QStringLiteral("SupportLanguages");
const QString kCurrentLanguage = QStringLiteral("CurrentLanguage");
const QString kFirstInstallFlag = QStringLiteral("FirstInstallFlag");
const QString kEnglish = QStringLiteral("English");

QVariant setting(const QString &name) {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  return cm ? cm->getConfiguration().value(name) : QVariant();
}

} // namespace

LanguageOperation::LanguageOperation(QString resourcePath, QObject *parent)
    : QObject(parent), resourcePath_(resourcePath.isEmpty() ? Bundle::mainBundle().resourcePath() : resourcePath),
      systemLanguages_(&LanguageTables::systemPreferredLanguages) {}

LanguageOperation::~LanguageOperation() {
  if (g_sharedLanguageOperation == this)
    g_sharedLanguageOperation = nullptr;
}

LanguageOperation *LanguageOperation::sharedLanguageOperation() {
  if (!g_sharedLanguageOperation) {
    // Lives as long as the process, as a singleton does.
    static LanguageOperation *fallback = new LanguageOperation();
    g_sharedLanguageOperation = fallback;
  }
  return g_sharedLanguageOperation;
}

void LanguageOperation::setSharedLanguageOperation(LanguageOperation *operation) {
  g_sharedLanguageOperation = operation;
}

void LanguageOperation::setSystemLanguages(SystemLanguages provider) {
  systemLanguages_ = provider ? std::move(provider) : SystemLanguages(&LanguageTables::systemPreferredLanguages);
}

QStringList LanguageOperation::systemLanguages() const {
  return systemLanguages_();
}

void LanguageOperation::initLanguage() {
  const QVariant support = setting(kSupportLanguages);
  supportLanguages_ = getSupportLanguageArray();
  if (SettingValue::toBool(setting(kFirstInstallFlag)))
    loadTokenListByFirstInstall();
  else if (support.isValid())
    loadTokenList();
  else
    loadPath(LanguageTables::defaultTokenListPath(resourcePath_));
}

bool LanguageOperation::loadTokenList() {
  const QString current = setting(kCurrentLanguage).toString();
  QString path;
  for (const char *folder : LanguageTables::tokenListFolderNames()) {
    if (current == QLatin1String(folder)) {
      path = LanguageTables::tokenListPathOfLanguage(resourcePath_, current);
      break;
    }
  }
  if (path.isEmpty())
    path = LanguageTables::defaultTokenListPath(resourcePath_);
  return loadPath(path);
}

bool LanguageOperation::loadTokenListByFirstInstall() {
  supportLanguages_ = getSupportLanguageArray();
  for (const QString &code : systemLanguages()) {
    const QString name = getSystemLanguageFullName(code);
    if (!name.isEmpty())
      return findInSupportLanguages(name);
  }
  // Nothing the system prefers is offered: English when offered, else the first offered
  // language. A build that offers no list at all still gets a stored choice, English, so the
  // next start does not take the first-start road again with nothing recorded.
  QString name = kEnglish;
  if (!supportLanguages_.contains(kEnglish) && !supportLanguages_.isEmpty() &&
      LanguageTables::isSafeLanguageName(supportLanguages_.first()))
    name = supportLanguages_.first();
  const QString path = LanguageTables::tokenListPathOfLanguage(resourcePath_, name);
  const bool stored = storeChoice(name);
  return loadPath(path) && stored;
}

bool LanguageOperation::findInSupportLanguages(const QString &name) {
  QString path;
  QString chosen;
  if (languageIsSupported(name) && LanguageTables::isSafeLanguageName(name)) {
    path = LanguageTables::tokenListPathOfLanguage(resourcePath_, name);
    chosen = name;
  } else {
    path = LanguageTables::defaultTokenListPath(resourcePath_);
    chosen = kEnglish;
  }
  const bool stored = storeChoice(chosen);
  return loadPath(path) && stored;
}

QString LanguageOperation::getSystemLanguageFullName(const QString &code) {
  supportLanguages_ = getSupportLanguageArray();
  for (const QString &candidate : LanguageTables::candidateCodes(code)) {
    for (const auto &pair : LanguageTables::matchLanguageTable()) {
      if (candidate.compare(QLatin1String(pair.code), Qt::CaseInsensitive) != 0)
        continue;
      const QString name = QString::fromLatin1(pair.englishName);
      if (supportLanguages_.contains(name))
        return name;
    }
  }
  return {};
}

bool LanguageOperation::languageIsSupported(const QString &name) {
  supportLanguages_ = getSupportLanguageArray();
  return !name.isEmpty() && supportLanguages_.contains(name);
}

QStringList LanguageOperation::getSupportLanguageArray() {
  QStringList names;
  const QVariant value = setting(kSupportLanguages);
  if (value.typeId() != QMetaType::QVariantList)
    return names;
  for (const QVariant &element : value.toList())
    if (element.typeId() == QMetaType::QString)
      names << element.toString();
  return names;
}

bool LanguageOperation::loadPath(const QString &path) {
  QString chosen = path;
  if (chosen.isEmpty() || !QFileInfo(chosen).isFile()) {
    const QString fallback = LanguageTables::defaultTokenListPath(resourcePath_);
    if (!chosen.isEmpty())
      qWarning() << "LanguageOperation: no token list at" << chosen << "- using" << fallback;
    chosen = fallback;
  }
  if (chosen.isEmpty() || !Word_Globe_Init(chosen))
    return false;
  Word_Globe_Dump();
  loadedPath_ = chosen;
  return true;
}

bool LanguageOperation::storeChoice(const QString &name) {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  if (!cm)
    return false;
  cm->setConfigurationByModule(kCurrentLanguage, name);
  cm->setConfigurationByModule(kFirstInstallFlag, false);
  return cm->writeToFile();
}
