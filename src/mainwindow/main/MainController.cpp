#include "MainController.h"
#include "AEMessage.h"

#include "Bundle.h"
#include "CallsNeighbour.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "DispatchTargets.h"
#include "InitController.h"
#include "MessagesNeighbour.h"
#include "NSButtonExt.h"
#include "Neighbourhood.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "SettingsNeighbour.h"
#include "SkinCanvas.h"
#include "WindowManners.h"
#include "WordGlobe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

MainController *g_MainController = nullptr;

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QVariant mainForm(const char *key) {
  return ConfigService::readValue(QStringLiteral("MAINFORM"), QLatin1String(key));
}
bool mainFormBool(const char *key) {
  return ConfigService::readBool(QStringLiteral("MAINFORM"), QLatin1String(key));
}
bool topBool(const char *key) {
  return ConfigService::readBool(QString(), QLatin1String(key));
}

const char *const kOperationItems[] = {"Internet",       "Statistics", "Call",     "SMS",       "Phonebook",
                                       "AccountBalance", "Support",    "HomePage", "DialRecord"};
} // namespace

MainController::MainController(QObject *parent) : QELUIController(parent) {
  g_MainController = this;
  Neighbourhood::setMainWindow(this);
  setRuntimeObject(false, QStringLiteral("IsConnectBtnEnable"));
  connect(&splashTimer_, &QTimer::timeout, this, &MainController::refreshImage);
  userInfoTimer_.setSingleShot(true);
  connect(&userInfoTimer_, &QTimer::timeout, this, &MainController::continueUserInfoChain);
}

MainController::~MainController() {
  if (g_MainController == this)
    g_MainController = nullptr;
  Neighbourhood::leave(static_cast<MainWindowNeighbour *>(this));
}

void MainController::alert(const QString &title, const QString &message, const QString &button) {
  NSRunAlertPanelExt(word(title), word(message), word(button));
}

// ---- hooks ----

void MainController::initializeSkin() {
  ConfigService *config = ConfigService::sharedConfigService();
  const bool skinDescribesWindow = qelSkinManager && qelSkinManager->isLoaded() &&
                                   qelSkinManager->hasKey(QStringLiteral("wndMain")) && config &&
                                   config->hasToolbarSkinInfo();
  const bool skinLoaded =
      qelSkinManager && qelSkinManager->isLoaded() && qelSkinManager->hasKey(QStringLiteral("wndMain"));
  if (skinLoaded && uiConfigDict().value(QStringLiteral("MiniUI")).toBool())
    initializeMiniSkin();
  else if (skinLoaded && uiConfigDict().value(QStringLiteral("RuvozUI")).toBool())
    initializeRuvozSkin();
  else if (skinDescribesWindow)
    initializeNormalSkin();
  else
    layoutWithoutSkin();
  // The operator's device-state window follows the skin too (the SIM code sheets are the device
  // status controller's, the close sheet registers when it is made).
  if (qelSkinManager && windowOfDevStateChangeForDidoro_)
    qelSkinManager->registerController(windowOfDevStateChangeForDidoro_,
                                       QStringLiteral("viewOfDevStateChangeForDidoro"), true);
}

void MainController::layoutWithoutSkin() {
  if (!mainWindow)
    return;
  auto *central = new QWidget(mainWindow);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (lableTabviewTitle_) {
    lableTabviewTitle_->setContentsMargins(16, 10, 16, 6);
    QFont titleFont = lableTabviewTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lableTabviewTitle_->setFont(titleFont);
    layout->addWidget(lableTabviewTitle_);
  }
  if (tabviewMain)
    layout->addWidget(tabviewMain, 1);
  if (statusView_)
    layout->addWidget(statusView_);
  mainWindow->setCentralWidget(central);
  mainWindow->resize(760, 520);
}

// The skinned main window: the window picture, the toolbar view with its buttons from the
// configuration's "ToolbarItems", the provider logo, the page title, the pages and the status
// area, each placed by the skin.
void MainController::initializeNormalSkin() {
  skinned_ = true;
  QRectF titleBand;
  const int titleHeight =
      qelSkinManager->getItemRect(&titleBand, QStringLiteral("wndMainTitlebar")) ? int(titleBand.height()) : 0;
  const QString imageName =
      qelSkinManager->itemInfoDictForKey(QStringLiteral("wndMain")).value(QStringLiteral("ImageName")).toString();
  auto *canvas = new SkinCanvas(qelSkinManager->imageNamed(imageName), titleHeight, mainWindow);
  mainWindow->setCentralWidget(canvas);
  // The skin's own toolbar view replaces the system's.
  if (toolbar)
    toolbar->hide();

  if (QWidget *bar = createNSViewExtByKey(QStringLiteral("wndMainToolbar"), canvas)) {
    toolbarView_ = bar;
    initializeBtnsOfView(bar, QStringLiteral("ToolbarItems"));
    qelSkinManager->updateItem(bar);
    cacheToolbarButtons(bar);
  }
  createNSImageViewByKey(QStringLiteral("viewextProviderLogo"), canvas);
  initializeSkinnedFrame(canvas, toolbarView_);
  if (QWidget *back = createNSViewExtByKey(QStringLiteral("wndMainTabviewBack"), canvas))
    back->lower();
  if (lableTabviewTitle_)
    registerController(lableTabviewTitle_, QStringLiteral("lableTabviewTitle"), canvas);
  if (tabviewMain) {
    tabviewMain->setDocumentMode(true);
    registerController(tabviewMain, QStringLiteral("wndMainTabview"), canvas);
  }
  if (statusView_) {
    registerController(statusView_, QStringLiteral("wndMainStatusView"), canvas);
    statusView_->setContentsMargins(0, 0, 0, 0);
  }
  if (lableTabviewTitle_)
    lableTabviewTitle_->setText(tabTitle(QStringLiteral("Internet")));
  // The skin's size is the window's default and its least; the page area takes what a larger
  // window adds, the toolbar and status area widen with it.
  if (tabviewMain) {
    const QRect pages = tabviewMain->geometry();
    const QSize size = canvas->skinSize();
    canvas->setFixedBorders(QMargins(pages.left(), pages.top(), std::max(0, size.width() - pages.right() - 1),
                                     std::max(0, size.height() - pages.bottom() - 1)));
  }
  canvas->growWithSize();
  if (toolbarView_)
    toolbarView_->installEventFilter(this);
  mainWindow->adjustSize();
  mainWindow->setMinimumSize(mainWindow->sizeHint());
  mainWindow->resize(mainWindow->sizeHint());
  fitToolbarButtons();
}

void MainController::initializeNibResources() {
  Init_mainWindow_nib();
  Init_UIMenu();
  if (mainFormBool("LinkButton"))
    initDrawerProperty();
  prepareStartupWin();
  initCheckSPCodeWin();
  initializeDrawer();
  setToolbarEnableWhenSimDetected(false);
  initSysStatusBarItem();
  buildOperatorWidgets();
  buildAuxiliaryWindows();
  loadLinkButtonTitleWording();
  loadZuzuvidiButtonToolTip();
  initMainWindowForDidoro();
  setTextLinkAddressForMainPage();
  initLocalWebUI();
  if (mainWindow) {
    mainWindow->installEventFilter(this);
    WindowManners::install(mainWindow, word(QStringLiteral("Title")));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
      QRect frame = mainWindow->frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      mainWindow->move(frame.topLeft());
    }
  }
}

void MainController::registerMessages() {
  registerNotification(MainControllerNotificationTable);
}

void MainController::initializeController() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->hasToolbarSkinInfo())
    loadToolBar();
  if (!mainFormBool("TooBarEnableBySimStatus")) {
    toolbarSetEnable(true);
    setToolbarEnableWhenSimDetected(false);
  } else {
    toolbarSetEnable(false);
  }
  disableUSSDToolbarForMalaixiya();
  toolbarSetItemEnable(false, QStringLiteral("RECHARGE"));
  freshStatusViewWhenInitialController();
}

void MainController::Init_mainWindow_nib() {
  if (mainWindow)
    mainWindow->setWindowTitle(word(QStringLiteral("Title")));
  // The program's worded name, not its file's, on every window the system titles.
  QGuiApplication::setApplicationDisplayName(word(QStringLiteral("Title")));
  WindowManners::setDialogTitle(word(QStringLiteral("Title")));
  changeMainWinTitleFont();
}

void MainController::Init_UIMenu() {
  if (!menuBar)
    return;
  // Every action keeps its English title as its object name, so the wording can change.
  const QList<QAction *> actions = menuBar->findChildren<QAction *>();
  for (QAction *a : actions)
    if (!a->objectName().isEmpty())
      a->setText(word(a->objectName()));
  const QList<QMenu *> menus = menuBar->findChildren<QMenu *>();
  for (QMenu *m : menus)
    if (!m->objectName().isEmpty())
      m->setTitle(word(m->objectName()));
  assignMenuMnemonics();
}

QAction *MainController::menuItem(const QString &englishTitle) const {
  if (!menuBar)
    return nullptr;
  const QList<QAction *> actions = menuBar->findChildren<QAction *>(englishTitle);
  return actions.isEmpty() ? nullptr : actions.first();
}

void MainController::updateLanguages(const Notification &) {
  resetToolBar();
  Init_mainWindow_nib();
  Init_UIMenu();
  loadSimpleModeWording();
  wordCloseAppSheetForDidoro();
  wordUserRegisteWnd();
  if (topBool("ProviderLogoLocalize"))
    resetProviderLogoImage(word(QStringLiteral("STRING_PROVIDER_LOGO_PATH")));
  for (const char *key : {"ToolbarItems", "DrawerItems", "TitlebarItems", "RightbarItems"})
    updateLanguagesOfDynamicItem(QLatin1String(key));
  if (lableTabviewTitle_ && tabviewMain && tabviewMain->currentWidget())
    lableTabviewTitle_->setText(tabTitle(tabviewMain->currentWidget()->property("itemIdentifier").toString()));
}

void MainController::tabViewItemWillChange(const Notification &n) {
  const QString identifier = n.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString();
  // Only a page that exists changes the title: the tab view stays where it is otherwise.
  if (identifier.isEmpty() || !hasPage(identifier))
    return;
  if (identifier == QLatin1String("HomePage"))
    changeMainTabViewItemSize(identifier);
  selectToolbarButtonOfPage(identifier);
  if (lableTabviewTitle_)
    lableTabviewTitle_->setText(tabTitle(identifier));
}

// ---- splash ----

void MainController::prepareStartupWin() {
  const QVariantMap startup = mainForm("StartupWindow").toMap();
  if (!mainForm("StartupWindow").isValid()) {
    if (wndStartup_)
      wndStartup_->close();
    wndStartup_ = nullptr;
    return;
  }
  imageCount_ = startup.value(QStringLiteral("ImageCount")).toInt();
  imageArray_.clear();
  const QString resources = Bundle::mainBundle().resourcePath();
  QStringList paths;
  if (startup.contains(QStringLiteral("DicName"))) {
    const QString folder = startup.value(QStringLiteral("DicName")).toString();
    for (int i = 1; i <= std::clamp(imageCount_, 0, 1000); ++i)
      paths << QStringLiteral("%1/%2/%3.png").arg(resources, folder).arg(i);
  } else {
    imageCount_ = 1;
    paths << resources + QStringLiteral("/Startup.PNG");
  }
  for (const QString &path : paths) {
    QImage image(path);
    if (image.isNull()) {
      imageArray_.clear();
      break;
    }
    imageArray_ << image;
  }
  if (imageArray_.isEmpty()) {
    // No frames: no splash at all, and the launch goes on as if none were configured.
    if (wndStartup_)
      wndStartup_->close();
    wndStartup_ = nullptr;
    return;
  }
  if (tfdStartWndInfo_ && startup.contains(QStringLiteral("StartWndInfo")))
    tfdStartWndInfo_->setText(word(startup.value(QStringLiteral("StartWndInfo")).toString()));
  if (mainWindow)
    mainWindow->setWindowOpacity(0);
  if (wndStartup_) {
    wndStartup_->resize(imageArray_.last().size());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
      QRect frame = wndStartup_->frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      wndStartup_->move(frame.topLeft());
    }
  }
}

void MainController::setDiagSoftwareVersionString(QLabel *field) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (field && config && config->startupWindowControlGetSoftwareVersionString() &&
      !QCoreApplication::applicationVersion().isEmpty())
    field->setText(QCoreApplication::applicationVersion());
}

void MainController::beginStartupWin() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || config->getStartupInfo().isEmpty())
    return;
  if (!wndStartup_ || imageArray_.isEmpty()) {
    // The frames failed to load: go straight on, with the main window visible.
    endStartupWin();
    return;
  }
  double delay = config->getStartupViewDelayTime();
  wndStartup_->setWindowOpacity(1.0);
  if (imageArray_.size() > 1) {
    const double rate = delay == 0 ? 100.0 : delay;
    splashTimer_.start(std::max(1, int(1000.0 / rate)));
    return;
  }
  if (startupImage_)
    startupImage_->setPixmap(QPixmap::fromImage(imageArray_.first()));
  wndStartup_->show();
  QTimer::singleShot(int(std::max(0.0, delay) * 1000), this, &MainController::endStartupWin);
}

void MainController::refreshImage() {
  ConfigService *config = ConfigService::sharedConfigService();
  const int times = config ? config->getDisplayStartupFlashTimes() : 0;
  const int count = int(imageArray_.size());
  if (count == 0 || qint64(times) * count <= frameCounter_) {
    splashTimer_.stop();
    endStartupWin();
    return;
  }
  if (startupImage_)
    startupImage_->setPixmap(QPixmap::fromImage(imageArray_.at(frameCounter_ % count)));
  if (wndStartup_)
    wndStartup_->show();
  ++frameCounter_;
}

void MainController::endStartupWin() {
  imageArray_.clear();
  if (wndStartup_)
    wndStartup_->close();
  wndStartup_ = nullptr;
  if (mainWindow)
    mainWindow->setWindowOpacity(1.0);
  runDatacard();
}

// ---- launch ----

void MainController::applicationWillFinishLaunching() {
  if (mainForm("StartupWindow").isValid()) {
    setDiagSoftwareVersionString(tfdSoftwareVersionAlias_);
    beginStartupWin();
  } else if (topBool("CheckSPCode")) {
    popUpCheckSPCodeWin();
  } else {
    runDatacard();
  }
  miniaturizeMainWindowWhenAppFinishLaunching();
}

void MainController::miniaturizeMainWindowWhenAppFinishLaunching() {
  if (mainWindow && mainFormBool("MiniaturizeMainWindow"))
    mainWindow->showMinimized();
}

void MainController::runDatacard() {
  // Once per launch, whichever road (splash, code window, none) gets here first.
  if (datacardRuns_++ > 0)
    return;
  showUnconnectedIcon();
  notifyChangeLanguage();
  notifyAppReady();
  // The updater is started (and told) with the program, whether or not a device is there.
  AEMessage::defaultAEMessage()->ApplicationFinishLaunchHook();
  if (qelMsgCenter && startsBackend_) {
    qelMsgCenter->stopMsgServer();
    qelMsgCenter->startMsgServer();
  }
  if (mainWindow && mainForm("acceptMouseMovedEvent").isValid())
    mainWindow->setMouseTracking(mainFormBool("acceptMouseMovedEvent"));
  if (drawerMain)
    drawerMain->open();
}

void MainController::applicationDidFinishLaunching() {
  if (auto *dial = Neighbourhood::connection())
    dial->applicationDidFinishLaunchingInDialController();
  showMainUI();
  // After the window shows, so that the sheet has a window to come out of.
  openUserRegisteWndIfNeedRegiste();
}

void MainController::showMainUI() {
  showSavedUIModel();
}

// ---- service-provider code window ----

void MainController::initCheckSPCodeWin() {
  if (!topBool("CheckSPCode"))
    return;
  auto *dialog = new QDialog(mainWindow);
  dialog->setObjectName(QStringLiteral("wndCheckSPCode"));
  labelSPCode_ =
      new QLabel(word(QStringLiteral("Please input service provider code, code can be found in the box:")), dialog);
  labelSPCode_->setWordWrap(true);
  tfdSPCode_ = new QLineEdit(dialog);
  btnSPCodeOK_ = new QPushButton(word(QStringLiteral("OK")), dialog);
  btnSPCodeCancel_ = new QPushButton(word(QStringLiteral("Cancel")), dialog);
  btnSPCodeOK_->setEnabled(false);
  auto *layout = new QVBoxLayout(dialog);
  layout->addWidget(labelSPCode_);
  layout->addWidget(tfdSPCode_);
  auto *row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(btnSPCodeCancel_);
  row->addWidget(btnSPCodeOK_);
  layout->addLayout(row);
  connect(tfdSPCode_, &QLineEdit::textChanged, this,
          [this](const QString &text) { btnSPCodeOK_->setEnabled(!text.isEmpty()); });
  connect(btnSPCodeOK_, &QPushButton::clicked, this, [this] { checkSPCode(btnSPCodeOK_); });
  connect(btnSPCodeCancel_, &QPushButton::clicked, this, [this] { checkSPCodeWndCancel(btnSPCodeCancel_); });
  wndCheckSPCode_ = dialog;
  if (mainWindow)
    mainWindow->setWindowOpacity(0);
}

void MainController::popUpCheckSPCodeWin() {
  if (!wndCheckSPCode_) {
    runDatacard();
    return;
  }
  wndCheckSPCode_->show();
  wndCheckSPCode_->raise();
  wndCheckSPCode_->activateWindow();
}

bool MainController::findAPNInfoBySPCode(const QString &code) {
  const QVariant all = settingDict().value(QStringLiteral("AllDialConfig"));
  const QVariant index = settingDict().value(QStringLiteral("AllSPCodeIndex"));
  if (all.typeId() != QMetaType::QVariantList || index.typeId() != QMetaType::QVariantMap)
    return false;
  const QVariantMap entry = index.toMap().value(code).toMap();
  bool ok = false;
  const int i = entry.value(QStringLiteral("Index")).toInt(&ok);
  const QVariantList profiles = all.toList();
  if (!ok || i < 0 || i >= profiles.size())
    return false;
  ConfigManager *config = ConfigManager::sharedConfigManager();
  // The profile holds its password: the user's eyes only.
  if (!config || !Plist::writeFile(config->configFilePathOfKey(kCMDialConfigFile), QVariantList{profiles.at(i)},
                                   ConfigManager::kPrivateFilePermissions))
    return false;
  if (entry.contains(QStringLiteral("ProviderLogo"))) {
    settingDict().insert(QStringLiteral("ProviderLogoImage"), entry.value(QStringLiteral("ProviderLogo")));
    settingDict().insert(QStringLiteral("ChangeProviderLogo"), true);
    config->writeToFile();
  }
  return true;
}

void MainController::checkSPCode(QObject *) {
  if (!tfdSPCode_ || tfdSPCode_->text().isEmpty())
    return;
  if (findAPNInfoBySPCode(tfdSPCode_->text())) {
    closeCheckSPCodeWin();
    return;
  }
  alert(QStringLiteral("Warning"), QStringLiteral("Invalid service provider code"), QStringLiteral("OK"));
  tfdSPCode_->clear();
  btnSPCodeOK_->setEnabled(false);
}

void MainController::checkSPCodeWndCancel(QObject *) {
  const int answer =
      NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("STRING_INPUT_SPCODE_WARNING")),
                         word(QStringLiteral("Cancel")), word(QStringLiteral("Continue")));
  if (answer == 0)
    closeCheckSPCodeWin();
}

void MainController::closeCheckSPCodeWin() {
  if (wndCheckSPCode_) {
    wndCheckSPCode_->close();
    wndCheckSPCode_->deleteLater();
  }
  wndCheckSPCode_ = nullptr;
  setToolbarProviderLogo();
  if (mainWindow)
    mainWindow->setWindowOpacity(1.0);
  settingDict().insert(QStringLiteral("CheckSPCode"), false);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
  notificationCenter->postNotificationName(QStringLiteral("TabViewItemWillChange"), nullptr,
                                           {{QStringLiteral("TabViewItemWillChange"), QStringLiteral("Internet")}});
  runDatacard();
}

// ---- quit ----

bool MainController::eventFilter(QObject *watched, QEvent *event) {
  // One gate for every close: the window goes only when the quit goes ahead.
  // The event type first: while the window is being destroyed it is no QMainWindow any more.
  if (event->type() == QEvent::Close && !terminating_ && watched == mainWindow) {
    event->ignore();
    if (closeButtonEnabled_)
      windowShouldClose(mainWindow);
    return true;
  }
  if (watched == mainWindow && event->type() == QEvent::Resize)
    placeTitleFontField();
  if (watched == mainWindow && event->type() == QEvent::Move)
    windowDidMove(mainWindow);
  if (watched == toolbarView_ && event->type() == QEvent::Resize)
    fitToolbarButtons();
  return QELUIController::eventFilter(watched, event);
}

bool MainController::windowShouldClose(QObject *) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->doNotCloseApp()) {
    wndFlag_ = 0;
    if (mainWindow)
      mainWindow->hide();
    return false;
  }
  if (Neighbourhood::connection() && Neighbourhood::connection()->GetisDialNow()) {
    if (mainFormBool("CloseAppWihoutQueryConnection")) {
      const int answer = NSRunAlertPanelExt(
          word(QStringLiteral("Warning")),
          word(QStringLiteral("It has an active connection.Are you sure you hold fast to finish the applications?")),
          word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
      if (answer == 1) {
        bWinWillClose_ = true;
        notifyAppWillClose();
      }
      return false;
    }
    alert(QStringLiteral("Warning"), QStringLiteral("You are currently connected. Please disconnect first!"),
          QStringLiteral("OK"));
    return false;
  }
  if (quitRefusedBySelectionOrCall())
    return false;
  return requestTerminate();
}

// A manual network selection or a call keeps the program open; the user is told which.
bool MainController::quitRefusedBySelectionOrCall() {
  if (Neighbourhood::settings() && Neighbourhood::settings()->isManualSelecting()) {
    alert(QStringLiteral("Warning"), QStringLiteral("You are manually selecting a network,please first finish it!"),
          QStringLiteral("ok"));
    return true;
  }
  if (const CallsNeighbour *calls = Neighbourhood::calls(); calls && calls->callStage() != 0) {
    alert(QStringLiteral("Warning"), QStringLiteral("You are dialing now,please hangup first!"), QStringLiteral("ok"));
    return true;
  }
  return false;
}

bool MainController::requestTerminate() {
  if (terminating_)
    return true;
  if (applicationShouldTerminate() != NSTerminateNow)
    return false;
  terminating_ = true;
  if (mainWindow)
    mainWindow->close();
  QCoreApplication::exit(0);
  return true;
}

bool MainController::getAppCloseStateForZID() const {
  if (!mainFormBool("CloseAppWihoutQueryConnection"))
    return false;
  return !bWinWillClose_;
}

bool MainController::appShouldClose() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isCloseUIIfDeviceRemoved())
    return true;
  if (Neighbourhood::connection() && Neighbourhood::connection()->GetisDialNow()) {
    if (mainFormBool("CloseAppWihoutQueryConnection"))
      return getAppCloseStateForZID();
    alert(QStringLiteral("Warning"), QStringLiteral("You are currently connected. Please disconnect first!"),
          QStringLiteral("OK"));
    return false;
  }
  if (quitRefusedBySelectionOrCall())
    return false;
  if (ConfigService::readBool(QStringLiteral("specialSoftVersion"), QStringLiteral("ZUDE_ZEZ"))) {
    const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("Close the software?")),
                                          word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
    if (answer == 0)
      return false;
    settingDict().insert(QStringLiteral("IMSI"), QString(""));
    if (ConfigManager *manager = ConfigManager::sharedConfigManager())
      manager->writeToFile();
  }
  auto *sms = Neighbourhood::messages();
  if (sms && sms->sendingSMSInBackGround())
    sms->setUnshowInfoWndWhenSendSmsByFlag(false);
  if (config && config->getUIModelConfig() != kNoModel)
    saveCurrentUIModelWhenAppClosed();
  return true;
}

MainController::TerminateReply MainController::applicationShouldTerminate() {
  if (!appShouldClose())
    return NSTerminateCancel;
  if (mainFormBool("closeUISoundEnable")) {
    setCloseButtonEnabled(false);
    playCloseSound();
  }
  if (mainFormBool("setDeviceOfflineWhileQuitUI") && g_InitController) {
    g_InitController->setDeviceOffline();
    QEventLoop wait;
    QTimer::singleShot(1000, &wait, &QEventLoop::quit);
    wait.exec();
  }
  notifyAppWillClose();
  deleteRuntimeDictionary();
  if (qelMsgCenter)
    qelMsgCenter->stopMsgServer();
  return NSTerminateNow;
}

void MainController::closeMainWindow(QObject *) {
  if (!quitAppAlert())
    return;
  if (closeMainWindowForDidoro())
    return;
  requestTerminate();
}

bool MainController::quitAppAlert() {
  if (!topBool("qutiUITips"))
    return true;
  return NSRunAlertPanelExt(word(QStringLiteral("Tips")), word(QStringLiteral("Exit the Connection Manager?")),
                            word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))) == 1;
}

void MainController::closeApp(QObject *) {
  requestTerminate();
}

void MainController::minimizeMainWindow(QObject *) {
  if (mainWindow)
    mainWindow->showMinimized();
}

// ---- toolbar ----

void MainController::loadToolBar() {
  if (!toolbar || !toolbarItems_.isEmpty())
    return;
  const QVariantList entries = ConfigService::readValue(QString(), QStringLiteral("toolBarItems")).toList();
  for (const QVariant &v : entries) {
    const QVariantMap entry = v.toMap();
    const QString identifier = entry.value(QStringLiteral("itemIdentifier")).toString();
    if (identifier.isEmpty())
      continue;
    QAction *action = makeToolbarItem(entry, toolbar);
    action->setObjectName(identifier);
    action->setProperty("itemLabel", entry.value(QStringLiteral("itemLabel")));
    action->setProperty("itemToolTip", entry.value(QStringLiteral("itemToolTip")));
    action->setProperty("urlLabel", entry.value(QStringLiteral("urlLabel")));
    action->setProperty("itemAction", entry.value(QStringLiteral("itemAction")));
    action->setText(word(entry.value(QStringLiteral("itemLabel")).toString()));
    action->setToolTip(word(entry.value(QStringLiteral("itemToolTip")).toString()));
    const QString image = entry.value(QStringLiteral("itemImageName")).toString();
    if (!image.isEmpty() && qelSkinManager) {
      const QImage picture = qelSkinManager->imageNamed(image);
      if (!picture.isNull())
        action->setIcon(QIcon(QPixmap::fromImage(picture)));
    }
    // "itemAction" names a selector ("tbiMainURLAction:"): the method takes the sender.
    const QByteArray selector = entry.value(QStringLiteral("itemAction")).toString().toLatin1();
    if (!selector.isEmpty() && !DispatchTargets::answersItemAction(this, selector))
      DispatchTargets::reportMissing(this, selector, QStringLiteral("toolbar item ") + identifier);
    connect(action, &QAction::triggered, this, [this, action, selector] {
      if (!selector.isEmpty())
        performItemAction(selector, action);
    });
    toolbarItems_ << action;
  }
  for (const QString &identifier : toolbarDefaultItemIdentifiers()) {
    if (identifier == QLatin1String("NSToolbarFlexibleSpaceItem")) {
      auto *spacer = new QWidget(toolbar);
      spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
      toolbar->addWidget(spacer);
    } else if (identifier == QLatin1String("Custom Logo Toolbar Item Identifier")) {
      auto *logo = new QLabel(toolbar);
      logo->setObjectName(QStringLiteral("viewextProviderLogo"));
      logoAction_ = toolbar->addWidget(logo);
      setToolbarProviderLogo();
    } else if (QAction *item = toolbarItem(identifier)) {
      toolbar->addAction(item);
    }
  }
  toolbar->setToolButtonStyle(mainFormBool("ToolBarOnlyIcon") ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
  toolbar->setMovable(false);
  specialToolBarItemsSetEnable(false);
}

QStringList MainController::toolbarDefaultItemIdentifiers() const {
  QStringList ids;
  for (QAction *a : toolbarItems_)
    ids << a->objectName();
  if (!topBool("UseLogoAsButton"))
    ids << QStringLiteral("NSToolbarFlexibleSpaceItem") << QStringLiteral("Custom Logo Toolbar Item Identifier");
  return ids;
}

QAction *MainController::toolbarItem(const QString &identifier) const {
  for (QAction *a : toolbarItems_)
    if (a->objectName() == identifier)
      return a;
  return nullptr;
}

void MainController::toolbarSetItemEnable(bool enable, const QString &identifier) {
  if (QAction *item = toolbarItem(identifier))
    item->setEnabled(enable && itemLeadsSomewhere(item));
  for (const QPointer<QWidget> &button : toolbarButtons_) {
    auto *ext = qobject_cast<NSButtonExt *>(button.data());
    if (ext && ext->itemIdentifier() == identifier) {
      ext->setEnabled(enable && itemLeadsSomewhere(ext));
      break;
    }
  }
}

void MainController::toolbarSetEnable(bool enable) {
  for (QAction *a : toolbarItems_)
    a->setEnabled(enable && itemLeadsSomewhere(a));
  for (const QPointer<QWidget> &button : toolbarButtons_)
    if (button)
      button->setEnabled(enable && itemLeadsSomewhere(button));
  specialToolBarItemsSetEnable(enable);
  menuToolbarSetEnable(enable);
}

void MainController::specialToolBarItemsSetEnable(bool enable) {
  toolbarSetItemEnable(enable && runtimeObjectForKey(QStringLiteral("IsConnectBtnEnable")).toBool(),
                       QStringLiteral("URLWithAlert"));
}

void MainController::menuToolbarSetEnable(bool enable) {
  // A page that is not built leaves its item disabled.
  // An item may name its page apart from its title (AccountBalance: the USSD page).
  for (const char *title : kOperationItems)
    if (QAction *item = menuItem(QLatin1String(title))) {
      const QString page = item->property("itemIdentifier").toString();
      item->setEnabled(enable && hasPage(page.isEmpty() ? QLatin1String(title) : page));
    }
  if (QAction *options = menuItem(QStringLiteral("Options")))
    options->setEnabled(enable && hasPage(QStringLiteral("Setting")));
}

void MainController::setToolbarEnableWhenSimDetected(bool enable) {
  if (topBool("disableToolbarWhenNoSIM"))
    toolbarSetEnable(enable);
}

void MainController::resetToolBar() {
  for (QAction *a : toolbarItems_) {
    a->setText(word(a->property("itemLabel").toString()));
    a->setToolTip(word(a->property("itemToolTip").toString()));
  }
}

void MainController::setToolbarProviderLogo() {
  auto *logo = logoAction_ && toolbar ? qobject_cast<QLabel *>(toolbar->widgetForAction(logoAction_)) : nullptr;
  if (!logo)
    return;
  QImage image;
  if (topBool("ChangeProviderLogo")) {
    const QString folder = settingDict().value(QStringLiteral("ProviderLogoFolder")).toString();
    const QString file = settingDict().value(QStringLiteral("ProviderLogoImage")).toString();
    if (!folder.isEmpty() && !file.isEmpty())
      image.load(QDir(folder).filePath(file));
  } else if (topBool("ProviderLogoLocalize")) {
    image.load(word(QStringLiteral("STRING_PROVIDER_LOGO_PATH")));
  } else if (qelSkinManager) {
    image = qelSkinManager->imageNamed(QStringLiteral("ProviderLogoPlaceHolder"));
  }
  if (image.isNull())
    return;
  logo->setPixmap(QPixmap::fromImage(image));
  logo->setFixedSize(image.size() / std::max<qreal>(1.0, image.devicePixelRatio()));
}

void MainController::updateStkTooltip(const Notification &n) {
  const QString title = n.userInfo.value(QStringLiteral("StkMainTitle")).toString();
  if (QAction *stk = toolbarItem(QStringLiteral("STK")); stk && !title.isEmpty())
    stk->setToolTip(word(title));
}

// ---- actions ----

void MainController::tabViewChangeItemAction(QObject *sender) {
  // Skin buttons carry the page's identifier; menu and toolbar actions are named after it.
  QString identifier;
  if (auto *button = qobject_cast<NSButtonExt *>(sender))
    identifier = button->itemIdentifier();
  else if (sender)
    identifier = sender->objectName();
  if (!identifier.isEmpty())
    notifyChangeTabViewItem(identifier);
}

void MainController::tbiMainURLAction(QObject *sender) {
  const QString key = sender ? sender->property("urlLabel").toString() : QString();
  if (!key.isEmpty())
    openSafari(word(key));
}

void MainController::tabViewChangeToCallAndMakeCall(QObject *) {
  const QString number =
      ConfigService::readValue(QStringLiteral("Call"), QStringLiteral("phoneNumberToCall")).toString();
  if (!number.isEmpty())
    notificationCenter->postNotificationName(QStringLiteral("makeCallWithPhoneNumber"), nullptr,
                                             {{QStringLiteral("makeCallWithPhoneNumber"), number}});
}

void MainController::checkMyNumber(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("USSDBundleMessage"));
}

void MainController::tbiMainPopUpUssdAction(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("openPopUpUssdWnd"));
}

void MainController::tbiChangeAPNSelection(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("ChangeAPNSelection"));
}

// ---- the updater, for the settings window ----

bool MainController::updaterSupported() const {
  return AEMessage::defaultAEMessage()->isSupportUpdate();
}

void MainController::setUpdaterAutoUpdate(bool on) {
  AEMessage::defaultAEMessage()->setAutoUpdate(on);
}

void MainController::setUpdaterServiceAddress(const QString &address) {
  AEMessage::defaultAEMessage()->setServiceAddress(address);
}

void MainController::setUpdaterDuration(int days) {
  AEMessage::defaultAEMessage()->setUpdateDuration(days);
}

void MainController::sendUpdaterInit() {
  AEMessage::defaultAEMessage()->send_Init_Msg();
}

void MainController::sendUpdaterManualUpdate() {
  AEMessage::defaultAEMessage()->send_ManualUpdate_Msg();
}

void MainController::sendUpdaterDeviceReady() {
  AEMessage *updater = AEMessage::defaultAEMessage();
  if (updater->isSupportUpdate())
    updater->dealWithDeviceReady();
}
