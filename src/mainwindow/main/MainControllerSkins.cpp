// The two other main windows a skin may ask for: the mini window (a strip of buttons, the pages
// and the status area in a pop-up window) and the ruvoz window (fixed top and bottom bands around
// the pages). Both show the device status themselves, from the device-status notifications.
#include "CocoaExt.h"
#include "FrameworkLinks.h"
#include "MainController.h"
#include "NSViewExt.h"
#include "NotificationTables.h"
#include "QELUIManager.h"
#include "SkinCanvas.h"
#include "WebLinkControls.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QToolBar>

namespace {

// The skinned content of the main window, from the skin's window picture.
SkinCanvas *makeCanvas(QELUIManager *skin, QMainWindow *window) {
  QRectF titleBand;
  const int titleHeight =
      skin->getItemRect(&titleBand, QStringLiteral("wndMainTitlebar")) ? int(titleBand.height()) : 0;
  const QString imageName =
      skin->itemInfoDictForKey(QStringLiteral("wndMain")).value(QStringLiteral("ImageName")).toString();
  auto *canvas = new SkinCanvas(skin->imageNamed(imageName), titleHeight, window);
  window->setCentralWidget(canvas);
  return canvas;
}

void centre(QWidget *window) {
  const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen)
    return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

} // namespace

void MainController::registerUINotifications() {
  static const char *const pairs[][2] = {
      {"updateSingalStrength", "init_SingalStrength"}, {"updateRoamStatus", "init_RoamStatus"},
      {"updateBelonetoSPN", "init_BeloneToSPN"},       {"updateModemStatus", "init_ModemConnected"},
      {"updateSimStatus", "init_SimStatus"},           {"updateNetworkStatus", "init_NetworkStatus"},
      {"updateDomainName", "init_DomainName"}};
  for (const auto &pair : pairs)
    notificationCenter->addObserver(this, QByteArray(pair[0]), QLatin1String(pair[1]));
}

void MainController::initializeMiniSkin() {
  skinned_ = true;
  skinVariant_ = QStringLiteral("Mini");
  registerUINotifications();
  if (lableTabviewTitle_)
    lableTabviewTitle_->hide();
  // The pop-up window holds the pages and the status area.
  if (!wndMainPopup) {
    auto *popup = new QWidget(mainWindow, Qt::Tool);
    popup->setObjectName(QStringLiteral("wndMainPopup"));
    popup->setWindowTitle(mainWindow ? mainWindow->windowTitle() : QString());
    wndMainPopup = popup;
  }
  auto *popupContent = new NSViewExt(wndMainPopup);
  if (registerController(popupContent, QStringLiteral("wndMainPopup"), wndMainPopup))
    wndMainPopup->setFixedSize(popupContent->size());
  if (statusView_)
    registerController(statusView_, QStringLiteral("wndMainStatusView"), popupContent);
  if (tabviewMain) {
    tabviewMain->setDocumentMode(true);
    registerController(tabviewMain, QStringLiteral("wndMainTabview"), popupContent);
  }
  // The main window: the skin's mini picture with the title-bar and toolbar buttons.
  qelSkinManager->setImageForKey(QStringLiteral("wndMain"), QStringLiteral("Mini"), false);
  if (toolbar)
    toolbar->hide();
  SkinCanvas *canvas = makeCanvas(qelSkinManager, mainWindow);
  initializeBtnsOfView(canvas, QStringLiteral("TitlebarItems"));
  initializeBtnsOfView(canvas, QStringLiteral("ToolbarItems"));
  initializeImageViewOfView(canvas, QStringLiteral("MiniUIImageViews"));
  registerController(canvas, QStringLiteral("wndMain"), nullptr);
  toolbarView_ = canvas;
  cacheToolbarButtons(canvas);
  mainWindow->adjustSize();
  mainWindow->setFixedSize(mainWindow->sizeHint());
  // A page chosen from the buttons comes up in the pop-up window, below the strip.
  notificationCenter->addObserver(
      this, QString::fromLatin1(kTabViewItemDidChange), nullptr, [this](const Notification &) {
        if (!wndMainPopup || !mainWindow || !mainWindow->isVisible())
          return;
        if (!wndMainPopup->isVisible()) {
          QRect frame(mainWindow->frameGeometry().bottomLeft() + QPoint(0, 4), wndMainPopup->size());
          if (const QScreen *screen = mainWindow->screen())
            frame = FavoriteIconHintWindow::keptInside(frame, screen->availableGeometry());
          wndMainPopup->move(frame.topLeft());
        }
        wndMainPopup->show();
        wndMainPopup->raise();
      });
}

void MainController::initializeRuvozSkin() {
  skinned_ = true;
  skinVariant_ = QStringLiteral("Ruvoz");
  registerUINotifications();
  if (lableTabviewTitle_)
    lableTabviewTitle_->hide();
  if (toolbar)
    toolbar->hide();
  SkinCanvas *canvas = makeCanvas(qelSkinManager, mainWindow);
  if (statusView_) {
    // Kept in a hidden holder: the device-status controller shows its view when it starts.
    auto *holder = new QWidget(canvas);
    holder->setObjectName(QStringLiteral("hiddenStatusHolder"));
    holder->hide();
    statusView_->setParent(holder);
    statusView_->hide();
  }
  if (QWidget *top = createNSViewExtByKey(QStringLiteral("viewTopFixed"), canvas)) {
    initializeBtnsOfView(top, QStringLiteral("btnsInViewTopFixed"));
    if (auto *dial = qobject_cast<QWidget *>(
            FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("btnDialConnectExt"))))
      dial->setEnabled(false);
    initializeLabelsOfView(top, QStringLiteral("labesInViewTopFixed"));
    initializeImageViewOfView(top, QStringLiteral("imageViewsInViewTopFixed"));
    createNSViewExtByKey(QStringLiteral("webViewInTopFixed"), top);
    qelSkinManager->updateItem(top);
    toolbarView_ = top;
    cacheToolbarButtons(top);
  }
  if (QWidget *middle = createNSViewExtByKey(QStringLiteral("viewMiddleChangeable"), canvas); middle && tabviewMain) {
    tabviewMain->setDocumentMode(true);
    registerController(tabviewMain, QStringLiteral("wndMainTabview"), middle);
  }
  if (QWidget *bottom = createNSViewExtByKey(QStringLiteral("viewBottomFixed"), canvas)) {
    initializeBtnsOfView(bottom, QStringLiteral("btnsInViewBottomFixed"));
    initializeLabelsOfView(bottom, QStringLiteral("labelsInViewBottomFixed"));
  }
  if (tabviewMain) {
    initializeTabViewItemOfView(tabviewMain, QStringLiteral("tabViewItemArray"));
    const int home = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, QStringLiteral("HomePage"));
    if (home >= 0) {
      tabviewMain->setCurrentIndex(home);
      createNSViewExtByKey(QStringLiteral("webViewInHomePage"), tabviewMain->widget(home));
      if (lableTabviewTitle_)
        lableTabviewTitle_->setText(tabTitle(QStringLiteral("HomePage")));
    }
  }
  changeMainTabViewItemSize(QStringLiteral("HomePage"));
  mainWindow->adjustSize();
  mainWindow->setFixedSize(mainWindow->sizeHint());
  centre(mainWindow);
}

// ---- status handlers ----

QString MainController::shortNetworkStatus(const QString &text) {
  if (text == QLatin1String("HSDPA") || text == QLatin1String("HSUPA"))
    return QStringLiteral("HSPA");
  if (text == QLatin1String("UMTS"))
    return QStringLiteral("3G");
  return text;
}

void MainController::updateSingalStrength(const Notification &n) {
  bool ok = false;
  const int level = n.userInfo.value(QStringLiteral("init_SingalStrength")).toInt(&ok);
  if (ok && qelSkinManager)
    qelSkinManager->setImageForKey(QStringLiteral("imageviewSingal"), level, true);
}

void MainController::updateNetworkStatus(const Notification &n) {
  const QString text = shortNetworkStatus(n.userInfo.value(QStringLiteral("init_NetworkStatus")).toString());
  QObject *control = FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("labelNetworkStatus"));
  if (auto *field = qobject_cast<QLineEdit *>(control))
    field->setText(text);
  else if (auto *label = qobject_cast<QLabel *>(control))
    label->setText(text);
  else
    return;
  FrameworkLinks::updateItem(qelSkinManager, control);
}

// The other states are read and kept off the screen: the windows show only signal and network.
void MainController::updateRoamStatus(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_RoamStatus")))
}
void MainController::updateBelonetoSPN(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_BeloneToSPN")))
}
void MainController::updateLocalSPN(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_LocalSPN")))
}
void MainController::updateModemStatus(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_ModemConnected")))
}
void MainController::updateSimStatus(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_SimStatus")))
}
void MainController::updateDomainName(const Notification &n) {
  Q_UNUSED(n.userInfo.value(QStringLiteral("init_DomainName")))
}

void MainController::btnDialConnectExt(QObject *) {
  notificationCenter->postNotificationName(QString::fromLatin1(kDialOption), nullptr);
}

void MainController::closeMainPopupWindow(QObject *) {
  if (wndMainPopup)
    wndMainPopup->close();
}
