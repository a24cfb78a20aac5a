#include "Language.h"

#include "LanguageTables.h"
#include "NotificationCenter.h"
#include "TokenListReader.h"

Language::Language(QObject *parent) : QObject(parent), systemLanguages_(&LanguageTables::systemPreferredLanguages) {}

bool Language::LoadTokenListResource(const QString &path) {
  TokenListReader::Result result;
  if (!TokenListReader::readFile(path, &result))
    return false;
  tokens_.swap(result.table);
  return true;
}

void Language::setLanguageTokenDict(const QHash<QString, QString> &dict) {
  tokens_ = dict;
}

QString Language::mapStringByName(const QString &key) const {
  if (key.isEmpty())
    return QLatin1String("");
  const auto it = tokens_.constFind(key);
  return it == tokens_.cend() ? key : *it;
}

QString Language::nativeToEnglish(const QString &nativeName) {
  for (const auto &row : LanguageTables::languagesPackage())
    if (nativeName == QString::fromUtf8(row.nativeName))
      return QString::fromLatin1(row.englishName);
  return {};
}

QString Language::englishToNative(const QString &englishName) {
  for (const auto &row : LanguageTables::languagesPackage())
    if (englishName == QLatin1String(row.englishName))
      return QString::fromUtf8(row.nativeName);
  return {};
}

QString Language::systemLanguageToEnglish(const QString &code) {
  for (const QString &candidate : LanguageTables::candidateCodes(code))
    for (const auto &row : LanguageTables::languagesPackage())
      if (candidate.compare(QLatin1String(row.code), Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(row.englishName);
  return {};
}

QString Language::systemDefaultLanguage() const {
  const QStringList languages = systemLanguages();
  return languages.isEmpty() ? QString() : languages.first();
}

void Language::setSystemLanguages(SystemLanguages provider) {
  systemLanguages_ = provider ? std::move(provider) : SystemLanguages(&LanguageTables::systemPreferredLanguages);
}

QStringList Language::systemLanguages() const {
  return systemLanguages_();
}

int Language::languageCount() const {
  return int(LanguageTables::languagesPackage().size());
}

bool Language::registerObserver(QObject *target, const QByteArray &method, bool needUpdate) {
  if (!target || !hasNotificationMethod(target, method))
    return false;
  if (!NotificationCenter::defaultCenter().addObserver(target, method, kUpdateLanguageNotification, this))
    return false;
  if (needUpdate)
    invokeNotificationMethod(target, method, Notification{kUpdateLanguageNotification, this, {}});
  return true;
}

void Language::update() {
  NotificationCenter::defaultCenter().postNotificationName(kUpdateLanguageNotification, this);
}
