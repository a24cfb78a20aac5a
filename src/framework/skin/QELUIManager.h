#pragma once

#include "UIManager.h"

#include <QString>
#include <QVariantMap>

class ConfigManager;

// The skin engine plus the choice and remembrance of the skin in the configuration module
// "UIConfig" ("CurrentSkinName": path of the skin last loaded, "SupportSkinArray": every skin
// path loaded so far). Skins live in the bundle's Resources; the default is "defaultSkin".
class QELUIManager : public UIManager {
  Q_OBJECT
public:
  // `config` defaults to the shared ConfigManager; without one nothing is remembered. The last
  // used skin is loaded at once.
  explicit QELUIManager(ConfigManager *config = nullptr, QObject *parent = nullptr);

  static const QString kDefaultSkinName; // "defaultSkin"

  // The remembered skin when it still loads, else "defaultSkin".
  bool loadLastUsedUIResource();
  bool loadUIResourceBySkinName(const QString &name);
  // Loads and, unless the operator variant says otherwise, remembers the path.
  bool loadUIResource(const QString &path) override;

  QString currentSkinName() const;
  int skinCount() const;
  QString skinNameByIndex(int index) const; // empty when out of range
  QVariantMap configDictionaryOfUI() const;
  void saveCurrentSkinPathToConfig(const QString &path);

  // The language folder whose "SkinInfo_<name>" is preferred; by default the folder holding the
  // bundle's token list ("English" for English.lproj).
  void setLanguageFolderName(const QString &name) { languageFolder_ = name; }

protected:
  bool supportsLanguageSkins() const override;
  QString languageFolderName() const override;
  QVariantMap configuredUIFont() const override;

private:
  ConfigManager *config() const;
  ConfigManager *config_;
  QString languageFolder_;
};
