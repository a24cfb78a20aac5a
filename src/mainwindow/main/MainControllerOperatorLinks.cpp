// The operator's web links of the main window: the addresses behind its buttons and menu items
// (all opened in the default browser), the link labels and the worded titles and tool tips of
// its link buttons.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitService.h"
#include "MainController.h"
#include "Neighbourhood.h"
#include "Plist.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QUrl>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// A sender's tag: -1 when it has none.
int tagOf(QObject *sender) {
  bool ok = false;
  const int tag = sender ? sender->property("tag").toInt(&ok) : -1;
  return ok ? tag : -1;
}

QString titleOf(QObject *sender) {
  if (!sender)
    return {};
  if (auto *action = qobject_cast<QAction *>(sender))
    return action->text();
  if (auto *button = qobject_cast<QAbstractButton *>(sender))
    return button->text();
  return sender->property("title").toString();
}

// A local file is opened as a file address; anything else as it stands.
QString addressOfPathOrUrl(const QString &text) {
  if (!text.isEmpty() && QFileInfo(text).isFile())
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()).toString();
  return text;
}
} // namespace

QString MainController::operatorAddress(const QString &table, const QString &key) {
  const QVariant links = ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("OperatorLinks"));
  const QVariant value = links.toMap().value(table);
  if (value.typeId() == QMetaType::QString)
    return key.isEmpty() ? value.toString() : QString();
  return value.toMap().value(key).toString();
}

void MainController::gotoWebsiteMainpage(QObject *) {
  openSafari(webURLForKey(QStringLiteral("MainPage")));
}

void MainController::open1und1URL(QObject *) {
  openSafari(operatorAddress(QStringLiteral("Dashboard"), QString()));
}

void MainController::openTabMenuLinks(QObject *sender) {
  const QString title = titleOf(sender);
  if (!title.isEmpty())
    openSafari(word(title));
}

void MainController::homePageClick(QObject *) {
  const QString key = operatorAddress(QStringLiteral("HomePage"), QString());
  if (!key.isEmpty())
    openSafari(word(key));
}

void MainController::openVivivedURL(QObject *sender) {
  const int tag = tagOf(sender);
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (tag < 0 || !config)
    return;
  QVariant list;
  if (!Plist::readFile(config->getFilePathWithFileName(QStringLiteral("SpecialNeedForURL.plist")), &list))
    return;
  const QVariantList urls = list.toList();
  if (tag < urls.size())
    openSafari(urls.at(tag).toString());
}

void MainController::openDORIMenuLinks(QObject *sender) {
  static const char *const titles[] = {"Gaming",  "Mail",     "Market",    "Videos",   "Fortune", "Docomics",
                                       "Prayer",  "Facebook", "Google",    "LinkedIn", "Twitter", "Gmail",
                                       "Picassa", "MySpace",  "Mobile TV", "Youtube"};
  const QString title = titleOf(sender);
  for (const char *known : titles)
    if (title == QLatin1String(known)) {
      openDORILinks(operatorAddress(QStringLiteral("DORIMenuLinks"), title));
      return;
    }
}

void MainController::openDORILinks(const QString &url) {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  const bool connected = dial && dial->connectStatus() == ConnectionNeighbour::kConnected;
  if (!connected) {
    alert(QStringLiteral("Warning"), QStringLiteral("Please confirm that you have connected to internet!"),
          QStringLiteral("OK"));
    return;
  }
  openSafari(url);
}

void MainController::openLinkPage(QObject *sender) {
  const int tag = tagOf(sender);
  if (tag % 11 == 0 && tag >= 11 && tag <= 88)
    openSafari(operatorAddress(QStringLiteral("LinkPage"), QString::number(tag)));
}

void MainController::openVozavWebsites(QObject *sender) {
  const int tag = tagOf(sender);
  if (tag >= 91 && tag <= 93)
    openSafari(operatorAddress(QStringLiteral("VozavWebsites"), QString::number(tag)));
}

void MainController::performOpenHelpActionForZudovid(QObject *sender) {
  const int tag = tagOf(sender);
  const QVariantList files =
      ConfigService::readValue(QStringLiteral("VietnamZudovidTK310S"), QStringLiteral("HelpFileArray")).toList();
  if (tag >= 0 && tag < files.size())
    openSafari(addressOfPathOrUrl(files.at(tag).toString()));
}

// ---- texts and tool tips ----

void MainController::loadLinkButtonTitleWording() {
  if (!ConfigService::readBool(QStringLiteral("MAINFORM"), QStringLiteral("LinkButton")))
    return;
  static const char *const keys[] = {"CUSTOM_SERVICE_STR", "CUSTOM_ESHOP_STR",         "CUSTOM_MOBILE_DEVICE_STR",
                                     "CUSTOM_TRAVARU_STR", "CUSTOM_CHANGE_SIGNAL_STR", "CUSTOM_SERVICE_GUIDE_STR",
                                     "CUSTOM_FILLUP_STR",  "CUSTOM_MMS_STR",           "CUSTOM_MULTIFON_STR"};
  for (int i = 0; i < int(std::size(keys)) && i < linkButtons_.size(); ++i)
    if (linkButtons_.at(i))
      linkButtons_.at(i)->setText(word(QLatin1String(keys[i])));
}

void MainController::loadZuzuvidiButtonToolTip() {
  static const char *const keys[] = {"DjuiceForZuzuvidi",       "MusicForZuzuvidi",          "GamesForZuzuvidi",
                                     "MyDjuiceForZuzuvidi",     "MusicDriveForZuzuvidi",     "KontakeForZuzuvidi",
                                     "DjuiceInfoForZuzuvidi",   "MusicInfoForZuzuvidi",      "GamesInfoForZuzuvidi",
                                     "MyDjuiceInfoForZuzuvidi", "MusicDriveInfoForZuzuvidi", "KontakeForInfoZuzuvidi"};
  for (int i = 0; i < int(std::size(keys)) && i < zuzuvidiButtons_.size(); ++i)
    if (zuzuvidiButtons_.at(i))
      zuzuvidiButtons_.at(i)->setToolTip(word(QLatin1String(keys[i])));
}

void MainController::textField(QLabel *field, const QString &text, const QString &link) {
  if (!field)
    return;
  // Small, half-transparent black and underlined; the text is escaped, the address quoted.
  const QString style = QStringLiteral("font-size:9pt; color:rgba(0,0,0,128); text-decoration:underline;");
  const QString escaped = text.toHtmlEscaped();
  if (link.isEmpty()) {
    field->setText(QStringLiteral("<span style=\"%1\">%2</span>").arg(style, escaped));
  } else {
    field->setText(QStringLiteral("<a href=\"%1\" style=\"%2\">%3</a>").arg(link.toHtmlEscaped(), style, escaped));
  }
  field->setTextFormat(Qt::RichText);
  field->setTextInteractionFlags(Qt::TextBrowserInteraction);
  field->setOpenExternalLinks(false);
}

void MainController::initMainWindowForDidoro() {
  if (!ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("initWindowForDidoro")))
    return;
  const struct {
    QLabel *field;
    const char *key;
  } links[] = {{labelHomeLinkForDidoro_, "HomeLinkForDidoro"},
               {labelPostPaidLinkForDidoro_, "PostPaidLinkForDidoro"},
               {labelPrePaidLinkForDidoro_, "PrePaidLinkForDidoro"}};
  for (const auto &link : links) {
    if (!link.field)
      continue;
    const QString address = word(QLatin1String(link.key));
    textField(link.field, address, address);
    // Links open through the one opener, never straight from the label.
    connect(link.field, &QLabel::linkActivated, this, [this](const QString &url) { openSafari(url); });
  }
  if (btnDialForDidoro_)
    btnDialForDidoro_->setText(QStringLiteral("121"));
}

void MainController::setTextLinkAddressForMainPage() {
  if (!labelMainPageLink_)
    return;
  InitService *service = InitService::sharedInitService();
  const QString address = service ? service->getInternetAddressAtMainPage() : QString();
  if (address.isEmpty())
    return;
  labelMainPageLink_->setTextFormat(Qt::RichText);
  labelMainPageLink_->setText(
      QStringLiteral("<a href=\"%1\" style=\"color:blue;\">%1</a>").arg(address.toHtmlEscaped()));
  labelMainPageLink_->setTextInteractionFlags(Qt::TextBrowserInteraction);
  labelMainPageLink_->setOpenExternalLinks(false);
  if (!labelMainPageLink_->property("linkOpens").toBool()) {
    labelMainPageLink_->setProperty("linkOpens", true);
    connect(labelMainPageLink_, &QLabel::linkActivated, this, [this](const QString &url) { openSafari(url); });
  }
}
