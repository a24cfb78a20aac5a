#pragma once

#include "Language.h"

// The program's language object: the languages this build offers ("SupportLanguages") and the
// token table of the one in use, chosen from the system's preferred language at the first
// start and from "CurrentLanguage" afterwards.
class QELLanguage : public Language {
  Q_OBJECT
public:
  // Runs the start: the offered languages, then the automatic choice. `resourcePath` is the
  // bundle's Resources folder (the main bundle's when empty).
  explicit QELLanguage(QString resourcePath = {}, SystemLanguages systemLanguages = {}, QObject *parent = nullptr);

  void loadSupportLanguagesArray();
  bool loadLanguageTokenListFileAutomatically();
  bool loadLanguageTokenListFileOfLastUsing();
  bool loadLanguageTokenListFileInSystemLanguage();
  // Loads <name>.lproj's token list; on success stores "CurrentLanguage" = name and
  // "FirstInstallFlag" = NO. False for an empty or unusable name or a failed load.
  bool loadLanguageTokenListFileByName(const QString &name);
  bool isFirstLoadLanguage() const;
  bool findSupportLanguage(const QString &name) const;
  int supportLanguageCount() const;
  // Empty beyond the count.
  QString supportLanguageByIndex(int index) const;
  QString currentLanguage() const;

private:
  QString resourcePath_;
  QStringList supportLanguages_;
  bool supportLoaded_ = false;
};
