#pragma once

#include <QString>
#include <QStringList>
#include <span>

// The fixed language tables shared by the language classes.
namespace LanguageTables {

struct CodeAndName {
  const char *code;
  const char *englishName;
};

struct PackageRow {
  const char *code;
  const char *englishName;
  const char *nativeName; // UTF-8
};

// System language code -> English name of the language folder, searched in order.
std::span<const CodeAndName> matchLanguageTable();
// The language folder names known to the token-list loader, in the order they are tested.
std::span<const char *const> tokenListFolderNames();
// System code, English name and native name of the languages the language object offers.
std::span<const PackageRow> languagesPackage();

// The codes worth trying for one system language, most specific first: "zh_Hans_CN" gives
// "zh-Hans-CN", "zh-Hans", "zh"; a Chinese code without a script gains the script its region
// implies ("zh-TW" gives "zh-TW", "zh-Hant", "zh").
QStringList candidateCodes(const QString &systemCode);

// A language name that can safely become a folder name inside Resources.
bool isSafeLanguageName(const QString &name);

// The token list of a language: <resources>/<name>.lproj/LanguageTokenList.txt.
QString tokenListPathOfLanguage(const QString &resourcePath, const QString &name);
// The token list found without a language folder: Resources/LanguageTokenList.txt, else the
// development language's (English) one. Empty when neither exists.
QString defaultTokenListPath(const QString &resourcePath);

// The system's preferred languages, most preferred first (BCP 47 codes).
QStringList systemPreferredLanguages();

} // namespace LanguageTables
