#include "LanguageTables.h"

#include <QFileInfo>
#include <QLocale>
#include <array>

namespace LanguageTables {

std::span<const CodeAndName> matchLanguageTable() {
  // "et" names the folder "Estonian": a second spelling here would never find its token list.
  static constexpr std::array<CodeAndName, 33> table = {{
      {"ar", "Arabic"},   {"bg", "Bulgarian"},  {"bg", "Bulgarian"},  {"hr", "Croatian"},   {"cs", "Czech"},
      {"da", "Danish"},   {"nl", "Dutch"},      {"en", "English"},    {"et", "Estonian"},   {"fi", "Finnish"},
      {"fr", "French"},   {"de", "German"},     {"hu", "Hungarian"},  {"id", "Indonesian"}, {"it", "Italian"},
      {"ja", "Japanese"}, {"nb", "Norwegian"},  {"pl", "Polish"},     {"pt", "Portuguese"}, {"pt-PT", "Portuguese"},
      {"ro", "Romanian"}, {"ru", "Russian"},    {"sk", "Slovak"},     {"es", "Spanish"},    {"sv", "Swedish"},
      {"tr", "Turkish"},  {"zh-Hans", "zh_CN"}, {"zh-Hant", "zh_TW"}, {"vi", "Vietnamese"}, {"sq", "Albanian"},
      {"hy", "Armenian"}, {"lt", "Lithuanian"}, {"sr", "Serbian"},
  }};
  return table;
}

std::span<const char *const> tokenListFolderNames() {
  static constexpr std::array<const char *, 30> names = {
      "Arabic",     "Bulgarian", "Croatian",  "Czech",      "Danish",     "Dutch",    "English",   "Estonian",
      "French",     "German",    "Hungarian", "Indonesian", "Italian",    "Japanese", "Norwegian", "Polish",
      "Portuguese", "Romanian",  "Russian",   "Slovak",     "Spanish",    "Swedish",  "Turkish",   "zh_CN",
      "zh_TW",      "Albanian",  "Armenian",  "Vietnamese", "Lithuanian", "Serbian",
  };
  return names;
}

std::span<const PackageRow> languagesPackage() {
  static constexpr std::array<PackageRow, 27> rows = {{
      {"ar", "Arabic", "لعربية"},       {"bg", "Bulgarian", "Bulgarian"},  {"hr", "Croatian", "Hrvatski"},
      {"cs", "Czech", "Česky"},         {"da", "Danish", "Dansk"},         {"nl", "Dutch", "Nederlands"},
      {"en", "English", "English"},     {"fi", "Finnish", "Suomi"},        {"fr", "French", "Français"},
      {"de", "German", "Deutsch"},      {"hu", "Hungarian", "Magyar"},     {"id", "Indonesian", "Indonesia"},
      {"it", "Italian", "Italiano"},    {"ja", "Japanese", "日本語"},      {"nb", "Norwegian", "Norsk"},
      {"pl", "Polish", "Polski"},       {"pt", "Portuguese", "Português"}, {"ro", "Romanian", "Română"},
      {"ru", "Russian", "Русский"},     {"sk", "Slovak", "Slovenčina"},    {"es", "Spanish", "Español"},
      {"sv", "Swedish", "Svenska"},     {"tr", "Turkish", "Türkçe"},       {"zh-Hans", "zh_CN", "简体中文"},
      {"zh-Hant", "zh_TW", "繁體中文"}, {"lt", "Lithuanian", "Lietuvių"},  {"sr", "Serbian", "Српски"},
  }};
  return rows;
}

QStringList candidateCodes(const QString &systemCode) {
  QString code = systemCode.trimmed();
  code.replace(QLatin1Char('_'), QLatin1Char('-'));
  // POSIX locale names may carry an encoding or modifier ("de_DE.UTF-8@euro").
  code = code.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  QStringList out;
  if (code.isEmpty() || code.size() > 64)
    return out;
  QStringList parts = code.split(QLatin1Char('-'), Qt::SkipEmptyParts);
  while (!parts.isEmpty()) {
    out << parts.join(QLatin1Char('-'));
    parts.removeLast();
  }
  const QStringList whole = code.split(QLatin1Char('-'), Qt::SkipEmptyParts);
  if (!whole.isEmpty() && whole.first().compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0 &&
      !code.contains(QLatin1String("Hans"), Qt::CaseInsensitive) &&
      !code.contains(QLatin1String("Hant"), Qt::CaseInsensitive)) {
    const QLocale locale(code);
    if (locale.language() == QLocale::Chinese) {
      const QString scripted =
          locale.script() == QLocale::TraditionalHanScript ? QStringLiteral("zh-Hant") : QStringLiteral("zh-Hans");
      out.insert(out.size() - 1, scripted);
    }
  }
  return out;
}

bool isSafeLanguageName(const QString &name) {
  if (name.isEmpty() || name.size() > 64 || name.startsWith(QLatin1Char('.')))
    return false;
  for (const QChar c : name)
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
      return false;
  return true;
}

QString tokenListPathOfLanguage(const QString &resourcePath, const QString &name) {
  if (!isSafeLanguageName(name))
    return {};
  return resourcePath + QLatin1Char('/') + name + QStringLiteral(".lproj/LanguageTokenList.txt");
}

QString defaultTokenListPath(const QString &resourcePath) {
  const QString plain = resourcePath + QStringLiteral("/LanguageTokenList.txt");
  if (QFileInfo(plain).isFile())
    return plain;
  const QString english = tokenListPathOfLanguage(resourcePath, QStringLiteral("English"));
  return QFileInfo(english).isFile() ? english : QString();
}

QStringList systemPreferredLanguages() {
  return QLocale::system().uiLanguages();
}

} // namespace LanguageTables
