#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

inline const QString kUpdateLanguageNotification = QStringLiteral("UpdateLanguage");

// A language object with a token table of its own. Controllers register with it to re-apply
// their texts when the language changes ("UpdateLanguage", posted with this object).
class Language : public QObject {
  Q_OBJECT
public:
  using SystemLanguages = std::function<QStringList()>;

  explicit Language(QObject *parent = nullptr);

  // Replaces the table with the token list at `path`; false (the old table stays) when the file
  // does not exist or cannot be read.
  bool LoadTokenListResource(const QString &path);
  void setLanguageTokenDict(const QHash<QString, QString> &dict);
  const QHash<QString, QString> &languageTokenDict() const { return tokens_; }
  // The table's text for `key`; the key itself when the table lacks it; empty for an empty key.
  QString mapStringByName(const QString &key) const;

  static QString nativeToEnglish(const QString &nativeName);
  static QString englishToNative(const QString &englishName);
  // The English name of a system code; regional variants fall back to their language.
  static QString systemLanguageToEnglish(const QString &code);
  // The system's most preferred language code; empty when it names none.
  QString systemDefaultLanguage() const;
  void setSystemLanguages(SystemLanguages provider);
  int languageCount() const;

  // Makes `target` call `method` on every "UpdateLanguage" of this object, and once at once
  // with `needUpdate`. False for a null target or one without that method.
  bool registerObserver(QObject *target, const QByteArray &method, bool needUpdate);
  void update();

protected:
  QStringList systemLanguages() const;

private:
  QHash<QString, QString> tokens_;
  SystemLanguages systemLanguages_;
};
