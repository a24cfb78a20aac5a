// The operator's web links of the main window: the addresses behind its buttons and menu items
// (all opened in the default browser), the link labels and the worded titles and tool tips of
// its link buttons.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "DrawerPanel.h"
#include "InitService.h"
#include "MainController.h"
#include "Neighbourhood.h"
#include "Plist.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

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

// ---- the widgets behind the links ----

void MainController::buildOperatorWidgets() {
  QWidget *canvas = mainWindow ? mainWindow->centralWidget() : nullptr;
  const auto described = [this](const QString &key) {
    return qelSkinManager && qelSkinManager->skinInfo().contains(key);
  };
  // A widget of the skin goes where the skin places it; one the skin cannot place is dropped.
  const auto place = [&](QWidget *widget, const QString &key) -> QWidget * {
    widget->setObjectName(key);
    if (!registerController(widget, key, canvas)) {
      delete widget;
      return nullptr;
    }
    return widget;
  };

  // The nine link buttons live in the link drawer; the first eight lead to the operator's link
  // pages (tags 11 to 88), the ninth has no page of its own.
  if (ConfigService::readBool(QStringLiteral("MAINFORM"), QStringLiteral("LinkButton")) && drawerLink_ &&
      linkButtons_.isEmpty()) {
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    for (int i = 0; i < 9; ++i) {
      auto *button = new QPushButton(content);
      button->setObjectName(QStringLiteral("btnLink%1").arg(i + 1));
      button->setProperty("tag", (i + 1) * 11);
      connect(button, &QPushButton::clicked, this, [this, button] { openLinkPage(button); });
      layout->addWidget(button);
      linkButtons_ << button;
    }
    layout->addStretch();
    drawerLink_->setContentView(content);
  }

  // The operator buttons exist where the skin places them ("btn" followed by the tool tip's key).
  static const char *const operatorButtons[] = {
      "DjuiceForZuzuvidi",     "MusicForZuzuvidi",        "GamesForZuzuvidi",          "MyDjuiceForZuzuvidi",
      "MusicDriveForZuzuvidi", "KontakeForZuzuvidi",      "DjuiceInfoForZuzuvidi",     "MusicInfoForZuzuvidi",
      "GamesInfoForZuzuvidi",  "MyDjuiceInfoForZuzuvidi", "MusicDriveInfoForZuzuvidi", "KontakeForInfoZuzuvidi"};
  if (zuzuvidiButtons_.isEmpty()) {
    bool any = false;
    QList<QPointer<QWidget>> buttons;
    for (const char *name : operatorButtons) {
      const QString key = QStringLiteral("btn") + QLatin1String(name);
      QWidget *button = described(key) ? place(new QPushButton, key) : nullptr;
      any = any || button;
      buttons << button; // the tool tips go by position: an absent button keeps its place
    }
    if (any)
      zuzuvidiButtons_ = buttons;
  }

  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("initWindowForDidoro"))) {
    const struct {
      QPointer<QLabel> *outlet;
      const char *key;
    } labels[] = {{&labelHomeLinkForDidoro_, "labelHomeLinkForDidoro"},
                  {&labelPostPaidLinkForDidoro_, "labelPostPaidLinkForDidoro"},
                  {&labelPrePaidLinkForDidoro_, "labelPrePaidLinkForDidoro"}};
    for (const auto &label : labels)
      if (!*label.outlet && described(QLatin1String(label.key)))
        *label.outlet = qobject_cast<QLabel *>(place(new QLabel, QLatin1String(label.key)));
    const QString dialKey = QStringLiteral("btnDialSpecialNumberForDidoro");
    if (!btnDialForDidoro_ && described(dialKey))
      btnDialForDidoro_ = qobject_cast<QAbstractButton *>(place(new QPushButton, dialKey));
  }

  const QString mainPageKey = QStringLiteral("labelMainPageLink");
  if (!labelMainPageLink_ && described(mainPageKey))
    labelMainPageLink_ = qobject_cast<QLabel *>(place(new QLabel, mainPageKey));
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
