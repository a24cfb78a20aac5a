// The three window models (complete, simple, minimized): which one shows, how the user moves
// between them, what is remembered, and the device's low-power state while the window is down.
#include "MainController.h"

#include "ButtonMatrix.h"
#include "CallsNeighbour.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindowStateChangeEvent>
#include <cmath>
#include <limits>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QVariant lpmInfo(const char *key) {
  return ConfigService::readValue(QStringLiteral("LPMinfo"), QLatin1String(key));
}

// A real number from the settings, or 0 when it is missing or not a finite number.
double finiteReal(const QVariant &value) {
  bool ok = false;
  const double v = value.toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0.0;
}

// The model menus act only while the close button merely hides the window and the window is up;
// elsewhere they are greyed out rather than left as items that do nothing.
bool modelMenusAct(const ConfigService *config, int wndFlag) {
  return config && config->doNotCloseApp() && wndFlag == 1;
}

bool isMiniaturized(const QWidget *window) {
  return window && window->isVisible() && window->isMinimized();
}

// Turns the window system's minimise, restore and maximise of the two main windows into the
// controller's miniaturise, deminiaturise and zoom.
class WindowModelWatcher : public QObject {
public:
  explicit WindowModelWatcher(MainController *controller) : QObject(controller), controller_(controller) {}

  void watch(QWidget *window) {
    classes_.insert(window, window->metaObject());
    window->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    // A window half-way through its destructor still gets events (its platform window going,
    // children leaving); filters behind this one would take it for the window it no longer
    // is, so they are kept from seeing them.
    if (const auto it = classes_.constFind(watched); it != classes_.cend() && watched->metaObject() != it.value())
      return true;
    if (event->type() != QEvent::WindowStateChange)
      return false;
    auto *window = qobject_cast<QWidget *>(watched);
    if (!window)
      return false;
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent *>(event)->oldState();
    const Qt::WindowStates now = window->windowState();
    if (!(before & Qt::WindowMinimized) && (now & Qt::WindowMinimized)) {
      controller_->windowWillMiniaturize();
      controller_->windowDidMiniaturize();
    } else if ((before & Qt::WindowMinimized) && !(now & Qt::WindowMinimized)) {
      controller_->windowDidDeminiaturize();
    }
    if (!(before & Qt::WindowMaximized) && (now & Qt::WindowMaximized)) {
      // The zoom button changes the model instead of filling the screen; undo the maximising
      // once the window system is done with it.
      QPointer<QWidget> target(window);
      QTimer::singleShot(0, controller_, [this, target, before] {
        if (!target)
          return;
        target->setWindowState(before & ~Qt::WindowMaximized);
        controller_->windowWillUseStandardFrame(target, target->geometry());
      });
    }
    return false;
  }

private:
  MainController *controller_;
  QHash<QObject *, const QMetaObject *> classes_;
};
} // namespace

// ---- set-up ----

void MainController::initWindowModels() {
  if (windowModelWatcher_)
    return;
  if (!wndCompleteMain_)
    wndCompleteMain_ = mainWindow;
  if (wndCompleteMain_)
    rectOfwndMain_ = wndCompleteMain_->size();
  if (wndSimpleMain_)
    rectOfWndSimpleMain_ = wndSimpleMain_->size();
  initCallMenuItemSel();

  auto *watcher = new WindowModelWatcher(this);
  windowModelWatcher_ = watcher;
  for (QWidget *window : {wndCompleteMain_.data(), wndSimpleMain_.data()})
    if (window)
      watcher->watch(window);

  timerCheckLPM_.setSingleShot(true);
  connect(&timerCheckLPM_, &QTimer::timeout, this, &MainController::checkLPM);
  endSheetTimer_.setSingleShot(true);
  connect(&endSheetTimer_, &QTimer::timeout, this, &MainController::performEndSheet);

  const struct {
    const char *title;
    void (MainController::*action)(QObject *);
  } menus[] = {{"Complete Model", &MainController::menuCompleteModelClicked},
               {"Simple Model", &MainController::menuSimpleModelClicked},
               {"Minimized Model", &MainController::menuMinimizedModelClicked}};
  for (const auto &m : menus)
    if (QAction *item = menuItem(QLatin1String(m.title))) {
      connect(item, &QAction::triggered, this, [this, item, action = m.action] { (this->*action)(item); });
      if (auto *menu = qobject_cast<QMenu *>(item->parent()))
        connect(menu, &QMenu::aboutToShow, item,
                [this, item] { item->setEnabled(modelMenusAct(ConfigService::sharedConfigService(), wndFlag_)); });
    }

  notificationCenter->addObserver(this, QStringLiteral("ReceiveBroadCastNotification"), nullptr,
                                  [this](const Notification &n) { receiveSMSBroadCast(n); });
  notificationCenter->addObserver(this, QLatin1String(kUpdateLanguage), nullptr,
                                  [this](const Notification &) { loadSimpleModeWording(); });
  loadSimpleModeWording();
}

QWidget *MainController::appMainWindow() const {
  for (QWidget *window : {wndCompleteMain_.data(), wndSimpleMain_.data()})
    if (window && window->isVisible() && !window->isMinimized())
      return window;
  return nullptr;
}

void MainController::makeMainWindow(QWidget *window) {
  wndMain = window;
  currentMainWnd = window;
}

void MainController::postMainWindowChanged(QWidget *window) {
  notificationCenter->postNotificationName(QStringLiteral("MainwindOfAppChanged"), nullptr,
                                           {{QStringLiteral("window"), QVariant::fromValue<QObject *>(window)}});
}

void MainController::centreAndShow(QWidget *window) {
  if (!window)
    return;
  if (window->isMinimized())
    window->showNormal();
  else
    window->show();
  if (const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
  }
  window->raise();
  window->activateWindow();
}

void MainController::changeToUIModel(int model) {
  QWidget *window = model == kSimpleModel ? wndSimpleMain_.data() : wndCompleteMain_.data();
  makeMainWindow(window);
  postMainWindowChanged(window);
  if (model == kSimpleModel)
    switchToSimPleUI();
  else
    switchToCompleteUI();
  saveCurrentUIModel(model);
  modeCurrent_ = modePrev_ = model;
}

// ---- launch ----

void MainController::showSavedUIModel() {
  wndFlag_ = 1;
  ConfigService *config = ConfigService::sharedConfigService();
  switch (config ? config->getUIModelConfig() : int(kNoModel)) {
  case kSimpleModel:
    if (wndCompleteMain_)
      wndCompleteMain_->hide();
    centreAndShow(wndSimpleMain_);
    modeCurrent_ = modePrev_ = kSimpleModel;
    makeMainWindow(wndSimpleMain_);
    break;
  case kCompleteModel:
    if (wndSimpleMain_)
      wndSimpleMain_->hide();
    centreAndShow(wndCompleteMain_);
    modeCurrent_ = modePrev_ = kCompleteModel;
    makeMainWindow(wndCompleteMain_);
    break;
  case kMinimizedModel:
    if (wndMain)
      wndMain->showMinimized();
    modePrev_ = kMinimizedModel;
    break;
  default:
    // No model: the complete window shows as built, unless the launch put it in the Dock.
    if (wndCompleteMain_ && !wndCompleteMain_->isVisible() &&
        !ConfigService::readBool(QStringLiteral("MAINFORM"), QStringLiteral("MiniaturizeMainWindow")))
      wndCompleteMain_->show();
    return;
  }
  postMainWindowChanged(wndMain);
}

// ---- switching ----

QRect MainController::getSimpleFrame() {
  // The top-left corner stays where the user left the window in use.
  const QWidget *current = appMainWindow() ? appMainWindow() : wndMain.data();
  rectOfCurrentWnd_ = QRect(current ? current->geometry().topLeft() : QPoint(), rectOfWndSimpleMain_);
  return rectOfCurrentWnd_;
}

QRect MainController::getCompleteFrame() {
  const QWidget *current = appMainWindow() ? appMainWindow() : wndMain.data();
  rectOfCurrentWnd_ = QRect(current ? current->geometry().topLeft() : QPoint(), rectOfwndMain_);
  return rectOfCurrentWnd_;
}

void MainController::switchToSimPleUI() {
  if (!wndSimpleMain_)
    return;
  const QRect frame = getSimpleFrame();
  if (wndCompleteMain_)
    wndCompleteMain_->hide();
  wndSimpleMain_->setGeometry(frame);
  wndSimpleMain_->setWindowTitle(word(QStringLiteral("Title")));
  wndSimpleMain_->show();
  wndSimpleMain_->raise();
  wndSimpleMain_->activateWindow();
}

void MainController::switchToCompleteUI() {
  if (!wndCompleteMain_)
    return;
  const QRect frame = getCompleteFrame();
  if (wndSimpleMain_)
    wndSimpleMain_->hide();
  wndCompleteMain_->setGeometry(frame);
  wndCompleteMain_->show();
  wndCompleteMain_->raise();
  wndCompleteMain_->activateWindow();
}

void MainController::saveCurrentUIModel(int model) {
  if (ConfigService *config = ConfigService::sharedConfigService())
    config->saveCurrentUIModel(model);
}

void MainController::saveCurrentUIModelWhenAppClosed() {
  saveCurrentUIModel(modeCurrent_);
}

QRect MainController::windowWillUseStandardFrame(QWidget *window, const QRect &defaultFrame) {
  if (window && window == wndCompleteMain_ && wndSimpleMain_) {
    changeToUIModel(kSimpleModel);
    return rectOfCurrentWnd_;
  }
  if (window && window == wndSimpleMain_ && wndCompleteMain_) {
    changeToUIModel(kCompleteModel);
    return rectOfCurrentWnd_;
  }
  return defaultFrame;
}

void MainController::menuCompleteModelClicked(QObject *) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!modelMenusAct(config, wndFlag_) || !wndCompleteMain_)
    return;
  if (config->getUIModelConfig() == kMinimizedModel) {
    if (modePrev_ == kCompleteModel) {
      if (wndSimpleMain_)
        wndSimpleMain_->hide();
      centreAndShow(wndCompleteMain_);
      makeMainWindow(wndCompleteMain_);
    } else {
      wndCompleteMain_->hide();
      centreAndShow(wndSimpleMain_);
      makeMainWindow(wndCompleteMain_);
      switchToCompleteUI();
    }
    postMainWindowChanged(wndCompleteMain_);
  } else if (wndSimpleMain_ && appMainWindow() == wndSimpleMain_) {
    changeToUIModel(kCompleteModel);
    return;
  }
  saveCurrentUIModel(kCompleteModel);
  modeCurrent_ = modePrev_ = kCompleteModel;
}

void MainController::menuSimpleModelClicked(QObject *) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!modelMenusAct(config, wndFlag_) || !wndSimpleMain_)
    return;
  if (config->getUIModelConfig() == kMinimizedModel) {
    if (modePrev_ == kCompleteModel) {
      if (wndSimpleMain_)
        wndSimpleMain_->hide();
      centreAndShow(wndCompleteMain_);
      makeMainWindow(wndSimpleMain_);
      switchToSimPleUI();
    } else {
      if (wndCompleteMain_)
        wndCompleteMain_->hide();
      centreAndShow(wndSimpleMain_);
      makeMainWindow(wndSimpleMain_);
    }
    postMainWindowChanged(wndSimpleMain_);
  } else if (wndCompleteMain_ && appMainWindow() == wndCompleteMain_) {
    changeToUIModel(kSimpleModel);
    return;
  }
  saveCurrentUIModel(kSimpleModel);
  modeCurrent_ = modePrev_ = kSimpleModel;
}

void MainController::menuMinimizedModelClicked(QObject *) {
  if (!modelMenusAct(ConfigService::sharedConfigService(), wndFlag_))
    return;
  modePrev_ = modeCurrent_;
  // The model itself is saved when the window has gone down (windowDidMiniaturize).
  if (QWidget *window = appMainWindow())
    window->showMinimized();
}

void MainController::goBackToMainWnd(QObject *sender) {
  if (!wndSimpleMain_ || !wndCompleteMain_ || appMainWindow() != wndSimpleMain_)
    return;
  changeToUIModel(kCompleteModel);
  bool ok = false;
  const int tag = sender ? sender->property("tag").toInt(&ok) : -1;
  switch (ok ? tag : -1) {
  case 0:
    notifyChangeTabViewItem(QStringLiteral("SMS"));
    break;
  case 1:
    notifyChangeTabViewItem(QStringLiteral("Phonebook"));
    break;
  case 2:
    notifyChangeTabViewItem(QStringLiteral("Setting"));
    break;
  case 3:
    tbiMainHelpAction(sender);
    break;
  case 4:
    notifyChangeTabViewItem(QStringLiteral("DialRecord"));
    break;
  default:
    break;
  }
}

bool MainController::applicationShouldHandleReopen(bool) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config)
    return true;
  const int saved = config->getUIModelConfig();
  if (saved == kMinimizedModel) {
    if (modePrev_ == kSimpleModel) {
      saveCurrentUIModel(kSimpleModel);
      modeCurrent_ = kSimpleModel;
      if (wndCompleteMain_)
        wndCompleteMain_->hide();
      centreAndShow(wndSimpleMain_);
      makeMainWindow(wndSimpleMain_);
      return true;
    }
    if (modePrev_ == kCompleteModel) {
      saveCurrentUIModel(kCompleteModel);
      modeCurrent_ = kCompleteModel;
      if (wndSimpleMain_)
        wndSimpleMain_->hide();
    } else {
      if (wndCompleteMain_)
        wndCompleteMain_->hide();
      if (wndSimpleMain_)
        wndSimpleMain_->hide();
    }
    centreAndShow(wndCompleteMain_);
    makeMainWindow(wndCompleteMain_);
    return true;
  }
  if (!config->doNotCloseApp() || wndFlag_ != 0)
    return true;
  wndFlag_ = 1;
  if (saved == kCompleteModel)
    centreAndShow(wndCompleteMain_);
  else if (saved == kSimpleModel)
    centreAndShow(wndSimpleMain_);
  return true;
}

// ---- miniaturising and low power ----

void MainController::windowWillMiniaturize() {
  if (auto *sms = Neighbourhood::messages())
    sms->stopAnimationWhenMinimizeWithNewSms();
}

void MainController::windowDidMiniaturize() {
  if (lpmInfo("hasLPMmode").isValid() && btnLPMStatus_ && btnLPMStatus_->isChecked()) {
    releaseTimerCheckLPM();
    // The delay comes from the settings file: keep it within what a timer can wait.
    const double seconds = std::max(0.0, finiteReal(lpmInfo("enterLPMTime")));
    const double ms = std::min(seconds * 1000.0, double(std::numeric_limits<int>::max()));
    timerCheckLPM_.start(int(ms));
  }
  saveCurrentUIModel(kMinimizedModel);
  modeCurrent_ = kMinimizedModel;
}

void MainController::windowDidDeminiaturize() {
  if (auto *sms = Neighbourhood::messages())
    sms->startAnimationWhenMaximizeWithNewSms();
  if (lpmInfo("hasLPMmode").isValid() && btnLPMStatus_ && btnLPMStatus_->isChecked()) {
    releaseTimerCheckLPM();
    if (g_InitController)
      g_InitController->setDeviceOnline();
  }
}

void MainController::releaseTimerCheckLPM() {
  timerCheckLPM_.stop();
}

void MainController::checkLPM() {
  if (!lpmInfo("hasLPMmode").isValid())
    return;
  if (const CallsNeighbour *calls = Neighbourhood::calls(); calls && calls->callStage() != 0)
    return;
  ConnectionNeighbour *dial = Neighbourhood::connection();
  const int status = dial ? dial->connectStatus() : int(ConnectionNeighbour::kDisconnected);
  const float threshold = float(finiteReal(lpmInfo("enterLPMData")) * 1024.0);
  const float total = dial ? float(dial->getCurrentTotalData()) : 0.0f;
  const bool quiet =
      status == ConnectionNeighbour::kDisconnected || (status == ConnectionNeighbour::kConnected && threshold >= total);
  if (quiet && g_InitController)
    g_InitController->setDeviceOffline();
}

// ---- other window operations ----

void MainController::openMainWindow() {
  if (ConfigService::readBool(QStringLiteral("MAINFORM"), QStringLiteral("OpenMainWindow")) && isMiniaturized(wndMain))
    centreAndShow(wndMain);
}

void MainController::zoomMainWindow(bool flag) {
  if (flag && isMiniaturized(wndMain)) {
    wndMain->showNormal();
    wndMain->raise();
    wndMain->activateWindow();
  }
}

void MainController::miniaturizeMainWindowWhenConnectSucced() {
  if (wndMain &&
      ConfigService::readBool(QStringLiteral("MAINFORM"), QStringLiteral("MainForm_miniaturizeWindowAtConnectSucced")))
    wndMain->showMinimized();
}

void MainController::loadSimpleModeWording() {
  const std::pair<ButtonMatrix *, const char *> matrices[] = {{matrixSms_, "SMS"},
                                                              {matrixPhoneBook_, "Phonebook"},
                                                              {matrixSet_, "Settings"},
                                                              {matrixHelp_, "Help"},
                                                              {matrixRecord_, "DialRecord"}};
  for (const auto &[matrix, key] : matrices) {
    setButtonMatrixToolTip(matrix, QLatin1String(key));
    // Our cells carry a title as well as the picture a skin may give them.
    if (QAbstractButton *cell = matrix ? matrix->cellAtRow(0, 0) : nullptr)
      cell->setText(word(QLatin1String(key)));
    // A worded title longer than the skin's cell widens it.
    if (matrix)
      matrix->fitCellsToTitles();
  }
  if (wndSimpleMain_)
    wndSimpleMain_->adjustSize();
}

void MainController::setButtonMatrixToolTip(ButtonMatrix *matrix, const QString &wordingKey) {
  if (!matrix)
    return;
  if (QAbstractButton *cell = matrix->cellAtRow(0, 0))
    cell->setToolTip(word(wordingKey));
}
