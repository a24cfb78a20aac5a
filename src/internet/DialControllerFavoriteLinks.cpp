// The Internet tab's favourite links, as the settings window's FavoriteLinks page keeps them.
#include "DialController.h"

#include "ConfigManager.h"
#include "Plist.h"

void DialController::loadFavoritesLinkPropeties() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  QVariant root;
  if (config && Plist::readFile(config->getFilePathWithFileName(QStringLiteral("FavoriteLinks.plist")), &root) &&
      root.typeId() == QMetaType::QVariantList)
    favoritesLinkProperties_ = root.toList();
  else
    favoritesLinkProperties_.clear();
}
