// The main window's frame beyond the toolbar list: the toolbar items drawn as buttons or pull-
// down buttons, the skinned window's title bar, bottom view and right bar, the link drawer, the
// title font, the provider logo, the USSD toolbar variants, and where sheets come out.
#include "CocoaExt.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "FrameworkLinks.h"
#include "MainController.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "Neighbourhood.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}
bool uiConfigBool(const QVariantMap &uiConfig, const char *key) {
  return uiConfig.value(QLatin1String(key)).toBool();
}
} // namespace

// ---- toolbar item kinds ----

QAction *MainController::makeToolbarItem(const QVariantMap &entry, QToolBar *bar) {
  const QString image = entry.value(QStringLiteral("itemImageName")).toString();
  const QImage picture = !image.isEmpty() && qelSkinManager ? qelSkinManager->imageNamed(image) : QImage();
  const QVariant popup = entry.value(QStringLiteral("UseAsPopupButton"));
  const bool asButton = entry.value(QStringLiteral("UseAsButton")).toBool() && !picture.isNull();
  const bool asPopup = popup.typeId() == QMetaType::QVariantList && !picture.isNull();
  if (!asButton && !asPopup)
    return new QAction(bar);

  auto *item = new QWidgetAction(bar);
  const QSize size = NSImageExt::logicalSize(picture).toSize();
  if (asButton) {
    // A borderless button that is the picture, carrying what the URL actions read.
    auto *button = new NSButtonExt;
    button->setImage(picture);
    button->setFixedSize(size);
    button->setItemIdentifier(entry.value(QStringLiteral("itemIdentifier")).toString());
    button->setUrlLabel(entry.value(QStringLiteral("urlLabel")).toString());
    button->setToolTip(word(entry.value(QStringLiteral("itemToolTip")).toString()));
    connect(button, &QAbstractButton::clicked, item, &QAction::trigger);
    item->setDefaultWidget(button);
    return item;
  }
  // A pull-down button showing the picture; each entry runs its action on this controller.
  auto *button = new QToolButton;
  button->setAutoRaise(true);
  button->setIcon(QIcon(QPixmap::fromImage(picture)));
  button->setIconSize(size);
  button->setFixedWidth(size.width() + 10);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
  auto *menu = new QMenu(button);
  for (const QVariant &v : popup.toList()) {
    const QVariantMap e = v.toMap();
    const QString title = e.value(QStringLiteral("itemTitle")).toString();
    QAction *entryAction = menu->addAction(word(title));
    entryAction->setProperty("itemTitle", title);
    const QByteArray selector = e.value(QStringLiteral("itemAction")).toString().toLatin1();
    connect(entryAction, &QAction::triggered, this, [this, selector, entryAction] {
      if (!performItemAction(selector, entryAction))
        qWarning() << "MainController: no action" << selector;
    });
  }
  button->setMenu(menu);
  item->setDefaultWidget(button);
  return item;
}

void MainController::cacheToolbarButtons(QWidget *view) {
  toolbarButtons_.clear();
  if (!view)
    return;
  for (QObject *child : view->children())
    if (auto *button = qobject_cast<QAbstractButton *>(child); button && button != toolbarMore_)
      toolbarButtons_ << button;
}

// ---- the skinned toolbar's overflow ----

// Buttons that do not fit the toolbar view go into a "more" menu at its right end, as a toolbar's
// extension does: every configured item stays reachable at any window width.
void MainController::fitToolbarButtons() {
  if (!toolbarView_)
    return;
  QList<QAbstractButton *> buttons;
  for (const QPointer<QWidget> &w : std::as_const(toolbarButtons_))
    if (auto *button = qobject_cast<QAbstractButton *>(w.data()); button && button->parentWidget() == toolbarView_)
      // A button hidden by its own rule (not by the overflow) stays out.
      if (button->isVisibleTo(toolbarView_) || button->property("inToolbarMore").toBool())
        buttons << button;
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const QAbstractButton *a, const QAbstractButton *b) { return a->x() < b->x(); });
  const int width = toolbarView_->width();
  int right = 0;
  for (QAbstractButton *button : std::as_const(buttons))
    right = std::max(right, button->geometry().right() + 1);
  if (!toolbarMore_) {
    auto *more = new QToolButton(toolbarView_);
    more->setObjectName(QStringLiteral("btnToolbarMore"));
    more->setText(QStringLiteral("\u00BB"));
    more->setToolTip(word(QStringLiteral("More")));
    more->setAutoRaise(true);
    more->setPopupMode(QToolButton::InstantPopup);
    more->setStyleSheet(QStringLiteral("QToolButton { color: white; font-size: 18px; } "
                                       "QToolButton::menu-indicator { image: none; }"));
    more->setMenu(new QMenu(more));
    // Each time it opens: the hidden buttons, worded and enabled as the buttons are now.
    connect(more->menu(), &QMenu::aboutToShow, this, [this] {
      QMenu *menu = toolbarMore_->menu();
      menu->clear();
      for (const QPointer<QWidget> &w : std::as_const(toolbarButtons_)) {
        auto *button = qobject_cast<QAbstractButton *>(w.data());
        if (!button || !button->property("inToolbarMore").toBool())
          continue;
        QAction *item = menu->addAction(button->icon(), button->text().isEmpty() ? button->toolTip() : button->text());
        item->setObjectName(button->objectName());
        item->setEnabled(button->isEnabled());
        connect(item, &QAction::triggered, button, [button = QPointer<QAbstractButton>(button)] {
          if (button)
            button->click();
        });
      }
    });
    toolbarMore_ = more;
  }
  const int moreWidth = 36;
  const bool overflow = right > width;
  const int limit = overflow ? width - moreWidth : width;
  for (QAbstractButton *button : std::as_const(buttons)) {
    const bool fits = button->geometry().right() < limit;
    button->setProperty("inToolbarMore", !fits);
    button->setVisible(fits);
  }
  toolbarMore_->setVisible(overflow);
  if (overflow) {
    toolbarMore_->setGeometry(width - moreWidth, 0, moreWidth, toolbarView_->height());
    toolbarMore_->raise();
  }
}

QList<QAbstractButton *> MainController::toolbarButtonsInMore() const {
  QList<QAbstractButton *> hidden;
  for (const QPointer<QWidget> &w : toolbarButtons_)
    if (auto *button = qobject_cast<QAbstractButton *>(w.data()); button && button->property("inToolbarMore").toBool())
      hidden << button;
  return hidden;
}

// ---- the skinned window's other parts ----

void MainController::initializeSkinnedFrame(QWidget *canvas, QWidget *toolbarView) {
  const QVariantMap ui = uiConfigDict();
  if (uiConfigBool(ui, "addTitleButtonsInToolbar") && toolbarView) {
    initializeBtnsOfView(toolbarView, QStringLiteral("TitlebarItems"));
  } else if (QWidget *titlebar = createNSViewExtByKey(QStringLiteral("wndMainTitlebar"), canvas)) {
    initializeBtnsOfView(titlebar, QStringLiteral("TitlebarItems"));
  }
  auto *mainTitle = new QLabel;
  mainTitle->setObjectName(QStringLiteral("labelMainTitle"));
  if (!registerController(mainTitle, QStringLiteral("labelMainTitle"), canvas))
    delete mainTitle;
  auto *broadcast = new QLabel;
  broadcast->setObjectName(QStringLiteral("labelBroadCast"));
  if (registerController(broadcast, QStringLiteral("labelBroadCast"), canvas))
    labelBroadCast_ = broadcast;
  else
    delete broadcast;
  createNSViewExtByKey(QStringLiteral("wndMainBottomView"), canvas);
  if (uiConfigBool(ui, "NeedRightbar"))
    if (QWidget *rightbar = createNSViewExtByKey(QStringLiteral("rightbar"), canvas))
      initializeBtnsOfView(rightbar, QStringLiteral("RightbarItems"));
}

// ---- drawer and title ----

void MainController::initDrawerProperty() {
  if (!drawerLink_) {
    drawerLink_ = new DrawerPanel(QSize(328, 413), DrawerPanel::RightEdge, mainWindow);
    drawerLink_->setObjectName(QStringLiteral("drawerLink"));
  }
  drawerLink_->setContentSize(QSize(328, 413));
  drawerLink_->setMinContentSize(QSize(328, 413));
  drawerLink_->setMaxContentSize(QSize(400, 413));
  drawerLink_->setLeadingOffset(60);
  drawerLink_->setTrailingOffset(30);
}

void MainController::changeMainWinTitleFont() {
  const QVariant fontInfo = ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("ChangeMainWinTitleFont"));
  if (fontInfo.typeId() != QMetaType::QVariantMap || !mainWindow)
    return;
  const QVariantMap f = fontInfo.toMap();
  // The system draws the title bar here: the title goes into a field of our own along the top
  // of the window, from a quarter of its width, half of it wide.
  if (!titleFontField_) {
    titleFontField_ = new QLabel(mainWindow);
    titleFontField_->setObjectName(QStringLiteral("titleFontField"));
    titleFontField_->setAlignment(Qt::AlignCenter);
    titleFontField_->setAttribute(Qt::WA_TransparentForMouseEvents);
    mainWindow->installEventFilter(this);
  }
  QFont font(f.value(QStringLiteral("FontName")).toString());
  const double size = f.value(QStringLiteral("FontSize")).toDouble();
  if (size > 0 && size < 1000)
    font.setPointSizeF(size);
  titleFontField_->setFont(font);
  titleFontField_->setText(word(QStringLiteral("Title")));
  mainWindow->setWindowTitle(QString());
  placeTitleFontField();
  titleFontField_->show();
  titleFontField_->raise();
}

void MainController::placeTitleFontField() {
  if (!titleFontField_ || !mainWindow)
    return;
  const int width = mainWindow->width();
  const int height = std::max(titleFontField_->sizeHint().height(), 22);
  titleFontField_->setGeometry(width / 4, 0, width / 2, height);
}

// ---- provider logo ----

void MainController::resetProviderLogoImage(const QString &path) {
  QImage image(path);
  if (image.isNull())
    return;
  const QSize size = NSImageExt::logicalSize(image).toSize();
  if (auto *logo = logoAction_ && toolbar ? qobject_cast<QLabel *>(toolbar->widgetForAction(logoAction_)) : nullptr) {
    logo->setPixmap(QPixmap::fromImage(image));
    logo->setFixedSize(size);
  }
  if (auto *view = qobject_cast<ImageView *>(
          FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("viewextProviderLogo")))) {
    view->setImage(image);
    view->setFixedSize(size);
  }
}

// ---- USSD toolbar variants ----

void MainController::insertUSSDToobarItem(int which) {
  static const char *const kSkinKeys[] = {"CurrentSkinName2", "CurrentSkinName", "CurrentSkinName1"};
  if (which < 0 || which > 2 || !qelSkinManager)
    return;
  const QString skin = uiConfigDict().value(QLatin1String(kSkinKeys[which])).toString();
  if (!skin.isEmpty() && !qelSkinManager->loadUIResource(skin))
    qWarning() << "MainController: cannot load the toolbar skin" << skin;
  QWidget *view = toolbarView_;
  for (const QPointer<QWidget> &button : std::as_const(toolbarButtons_)) {
    if (!button)
      continue;
    qelSkinManager->removeController(button);
    delete button.data();
  }
  toolbarButtons_.clear();
  if (!view)
    return;
  initializeBtnsOfView(view, QStringLiteral("ToolbarItems"));
  qelSkinManager->updateItem(view);
  cacheToolbarButtons(view);
  fitToolbarButtons();
  view->update();
}

void MainController::disableUSSDToolbarForMalaixiya() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isEnableToolbarForZOzava()) {
    toolbarSetEnable(false);
    if (config->isSkinVersionForRAdirer()) {
      if (btnUSSDActive_)
        btnUSSDActive_->hide();
      if (auto *dial = Neighbourhood::connection())
        dial->setIsHiddenConnectBtn(false);
    }
  }
  if (ConfigService::readValue(QStringLiteral("USSD"), QStringLiteral("DisableUSSDToolbarForReZi")).isValid())
    toolbarSetItemEnable(false, QStringLiteral("USSD1"));
}

// ---- sheets and moves ----

QRect MainController::windowWillPositionSheet(QWidget *window, QWidget *sheet, const QRect &proposed) const {
  Q_UNUSED(window)
  Q_UNUSED(sheet)
  QSizeF titlebar;
  if (!qelSkinManager || !qelSkinManager->getItemSize(&titlebar, QStringLiteral("wndMainTitlebar")))
    return proposed;
  // Sheets come out below the skin's title bar (y grows downwards here).
  return proposed.translated(0, int(titlebar.height()));
}

void MainController::windowDidMove(QWidget *window) {
  Q_UNUSED(window)
  if (!hasModuleWith(QStringLiteral("MMS")))
    return;
  // A copy: a follower may be added while the others run.
  const auto followers = windowMoveFollowers_;
  for (const auto &follow : followers)
    if (follow)
      follow();
}
