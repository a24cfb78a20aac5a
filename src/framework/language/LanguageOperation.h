#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Chooses the language at start and loads its token list into the wording framework: the one
// from the settings ("CurrentLanguage"), or at the first start the best of the system's preferred
// languages that this build offers ("SupportLanguages"). Every settings change goes through the
// shared ConfigManager and is written at once.
class LanguageOperation : public QObject {
  Q_OBJECT
public:
  using SystemLanguages = std::function<QStringList()>;

  // `resourcePath` is the bundle's Resources folder (the main bundle's when empty).
  explicit LanguageOperation(QString resourcePath = {}, QObject *parent = nullptr);
  ~LanguageOperation() override;

  // The installed instance; one made on first use when nothing was installed.
  static LanguageOperation *sharedLanguageOperation();
  // The composition root (or a test) installs the instance; the previous one is not deleted.
  static void setSharedLanguageOperation(LanguageOperation *operation);

  // Replaces the source of the system's preferred languages (tests).
  void setSystemLanguages(SystemLanguages provider);
  QStringList systemLanguages() const;

  // Start-up entry: the first start's choice, the stored language, or the default token list.
  void initLanguage();
  // Loads the token list of "CurrentLanguage" (also after the user changed the language).
  bool loadTokenList();
  bool loadTokenListByFirstInstall();
  bool findInSupportLanguages(const QString &name);
  // The English name of the first match of `code` in the code table that this build supports;
  // empty when none. Regional and script variants fall back to their language ("de-AT" -> "de").
  QString getSystemLanguageFullName(const QString &code);
  bool languageIsSupported(const QString &name);
  // "SupportLanguages" (its text elements); empty when absent.
  QStringList getSupportLanguageArray();

  QString resourcePath() const { return resourcePath_; }
  // The token list that the last load handed to the wording framework.
  QString loadedTokenListPath() const { return loadedPath_; }

private:
  // Hands `path` to the wording framework; the default list stands in for a missing one.
  bool loadPath(const QString &path);
  bool storeChoice(const QString &name);

  QString resourcePath_;
  SystemLanguages systemLanguages_;
  QStringList supportLanguages_;
  QString loadedPath_;
};
