// The Internet tab's link buttons: the six favourite links the settings window's FavoriteLinks
// page keeps, and the six custom links to the operator's own pages.
#include "DialController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "Plist.h"
#include "WebLinkControls.h"

#include <QCheckBox>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

using namespace dialsupport;

namespace {

// The operator's pages behind the custom buttons, each also a wording key so that an operator
// build may give its own address, with the button's caption.
struct CustomLink {
  const char *address;
  const char *caption;
};
constexpr CustomLink kCustomLinks[6] = {
    {"https://www.operator.example/", "Home"},
    {"https://www.operator.example/login/", "Log in"},
    {"https://selfcare.operator.example/", "My account"},
    {"https://www.operator.example/personal/broadband/hspa/settings/", "Broadband settings"},
    {"https://shop.operator.example/", "Online shop"},
    {"https://secure.operator.example/", "Secure services"},
};

// An image named relative to the ModemList folder is found there.
QPixmap favoriteImage(const QString &path) {
  if (path.isEmpty())
    return {};
  QPixmap picture(path);
  if (picture.isNull() && QDir::isRelativePath(path))
    if (ConfigManager *config = ConfigManager::sharedConfigManager())
      picture.load(config->getFilePathWithFileName(path));
  return picture;
}

} // namespace

void DialController::loadFavoritesLinkPropeties() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  QVariant root;
  if (config && Plist::readFile(config->getFilePathWithFileName(QStringLiteral("FavoriteLinks.plist")), &root) &&
      root.typeId() == QMetaType::QVariantList)
    favoritesLinkProperties_ = root.toList();
  else
    favoritesLinkProperties_.clear();
  for (const QVariant &v : std::as_const(favoritesLinkProperties_)) {
    const QVariantMap link = v.toMap();
    bool numeric = false;
    const int index = link.value(QStringLiteral("Index")).toInt(&numeric);
    // Six buttons: an entry that names none of them is left out, never written past the end.
    if (!numeric || index < 0 || index >= int(favoriteLinkBtns_.size())) {
      qWarning().noquote() << "DialController: a favourite link without a button (Index"
                           << link.value(QStringLiteral("Index")).toString() << ") is left out";
      continue;
    }
    WeblinkButton *button = favoriteLinkBtns_[size_t(index)];
    if (!button)
      continue;
    const QPixmap picture = favoriteImage(link.value(QStringLiteral("Image")).toString());
    if (picture.isNull()) {
      button->setIcon(QIcon());
      button->hide();
    } else {
      button->setIcon(QIcon(picture));
      button->show();
    }
    button->setWebLinkString(link.value(QStringLiteral("Path")).toString());
    const int type = link.value(QStringLiteral("Type")).toInt();
    button->setLinkType(type);
    if (type == WeblinkButton::kApplicationOrFile)
      button->setLinkPara(link.value(QStringLiteral("Para")).toString());
    button->setToolTip(link.value(QStringLiteral("Name")).toString());
  }
}

void DialController::initCustomWeblinks() {
  ConfigService *config = ConfigService::sharedConfigService();
  if ((config && config->isSkinVersionForRAdirer()) || !isSplitConnectionProcessEnabled())
    return;
  for (size_t i = 0; i < customLinkBtns_.size(); ++i) {
    setCustomBtn(customLinkBtns_[i], word(QLatin1String(kCustomLinks[i].address)));
    if (customLinkBtns_[i])
      customLinkBtns_[i]->setText(word(QLatin1String(kCustomLinks[i].caption)));
  }
  if (preDefaultConfiguration_)
    preDefaultConfiguration_->setText(QStringLiteral("Profile Name:"));
  if (postConnectBtn_)
    postConnectBtn_->setText(QStringLiteral("Disconnect"));
  if (favoriteHintTextfield_)
    favoriteHintTextfield_->setText(word(QStringLiteral("Go to \"     \"  to change any of the below icons settings")));
  if (stopNotifyHintCheckbox_)
    stopNotifyHintCheckbox_->setText(word(QStringLiteral("Do not notify me again")));
}

void DialController::setCustomBtn(WeblinkButton *button, const QString &link) {
  if (!button)
    return;
  button->setLinkType(WeblinkButton::kWebPage);
  button->setWebLinkString(link);
}
