#include "MainWindowBuilder.h"

#include "ButtonMatrix.h"
#include "CallNeighbours.h"
#include "CallPage.h"
#include "CallRecordController.h"
#include "CallRecordPage.h"
#include "CompoundCallController.h"
#include "ConfigService.h"
#include "CustomerLogController.h"
#include "DialController.h"
#include "DialServiceTransplant.h"
#include "EntertainController.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "InternetPage.h"
#include "MMSController.h"
#include "MainController.h"
#include "MenuKeys.h"
#include "Neighbourhood.h"
#include "PBController.h"
#include "PBPage.h"
#include "PBSource.h"
#include "ProfileWindows.h"
#include "QELMsgCenter.h"
#include "QELUIManager.h"
#include "RecordViews.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingController.h"
#include "SettingPages.h"
#include "SimServicePages.h"
#include "SimpleMainWindow.h"
#include "SmsArrivalNeighbours.h"
#include "SmsSendNeighbours.h"
#include "SmsServiceTransplant.h"
#include "WLANController.h"
#include "WLANPage.h"
#include "WordGlobe.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QAction *addItem(QMenu *menu, const char *englishTitle) {
  QAction *action = menu->addAction(QLatin1String(englishTitle));
  action->setObjectName(QLatin1String(englishTitle));
  return action;
}

QMenu *addMenu(QMenuBar *bar, const char *englishTitle) {
  QMenu *menu = bar->addMenu(QLatin1String(englishTitle));
  menu->setObjectName(QLatin1String(englishTitle));
  return menu;
}

// Application, File, Edit, Operation, Window and Help menus. Hide, Hide Others and Show All
// mean nothing on this desktop and are left out. Every item acts; the worded titles and their
// Alt mnemonics come from MainController::Init_UIMenu.
void buildMenus(QMenuBar *bar, MainController *main, InitController *init) {
  auto on = [main](QAction *item, auto &&react) { QObject::connect(item, &QAction::triggered, main, react); };
  QMenu *app = addMenu(bar, "Connection Manager");
  on(addItem(app, "About..."), [main] { main->showAboutBox(); });
  QObject::connect(addItem(app, "Diagnostics"), &QAction::triggered, init, [init] { init->showDiagInfo(nullptr); });
  on(addItem(app, "Logs"), [main] { main->showLogFolder(); });
  on(addItem(app, "Update"), [main] { main->checkForUpdates(); });
  QAction *preferences = addItem(app, "Preferences...");
  preferences->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
  preferences->setMenuRole(QAction::PreferencesRole);
  on(preferences, [main] { main->gotoSetting(); });
  app->addSeparator();
  QAction *quit = addItem(app, "Quit");
  quit->setShortcut(QKeySequence::Quit);
  quit->setMenuRole(QAction::QuitRole);
  on(quit, [main] { main->quitTerminal(nullptr); });

  QMenu *file = addMenu(bar, "File");
  on(addItem(file, "Close"), [main] { main->quitTerminal(nullptr); });

  // The edit commands act on the text field that has the focus; the items follow what it can do.
  QMenu *edit = addMenu(bar, "Edit");
  const std::pair<const char *, MenuKeys::EditCommand> editItems[] = {
      {"Undo", MenuKeys::EditCommand::Undo},     {"Redo", MenuKeys::EditCommand::Redo},
      {"Cut", MenuKeys::EditCommand::Cut},       {"Copy", MenuKeys::EditCommand::Copy},
      {"Paste", MenuKeys::EditCommand::Paste},   {"Clear", MenuKeys::EditCommand::Delete},
      {"Delete", MenuKeys::EditCommand::Delete}, {"Select All", MenuKeys::EditCommand::SelectAll}};
  for (const auto &editItem : editItems) {
    const MenuKeys::EditCommand command = editItem.second;
    QAction *item = addItem(edit, editItem.first);
    item->setProperty("editCommand", int(command));
    on(item, [command] { MenuKeys::runEditCommand(QApplication::focusWidget(), command); });
  }
  QObject::connect(edit, &QMenu::aboutToShow, edit, [edit] {
    for (QAction *item : edit->actions())
      if (item->property("editCommand").isValid())
        item->setEnabled(MenuKeys::editCommandApplies(QApplication::focusWidget(),
                                                      MenuKeys::EditCommand(item->property("editCommand").toInt())));
  });

  QMenu *operation = addMenu(bar, "Operation");
  for (const char *t : {"Internet", "Statistics", "Call", "SMS", "Phonebook", "Support", "HomePage", "DialRecord"}) {
    QAction *item = addItem(operation, t);
    on(item, [main, item] { main->tabViewChangeItemAction(item); });
  }
  // The USSD item: the balance page of the USSD tab.
  QAction *balance = addItem(operation, "AccountBalance");
  balance->setProperty("itemIdentifier", QStringLiteral("USSD1"));
  on(balance, [main] { main->gotoUSSD(); });
  operation->addSeparator();
  // "Tools" and "Language" stay disabled until something fills them.
  for (const char *t : {"Tools", "Language"}) {
    QMenu *sub = operation->addMenu(QLatin1String(t));
    sub->setObjectName(QLatin1String(t));
    sub->menuAction()->setEnabled(false);
  }
  QMenu *pin = operation->addMenu(QStringLiteral("PIN Operations"));
  pin->setObjectName(QStringLiteral("PIN Operations"));
  init->labelPINEnter_ = addItem(pin, "Enter PIN");
  init->labelPINUnlock_ = addItem(pin, "Unlock PIN");
  init->labelPINEnter_->setEnabled(false);
  init->labelPINUnlock_->setEnabled(false);
  QObject::connect(init->labelPINEnter_, &QAction::triggered, init, [init] { init->enterPIN(); });
  QObject::connect(init->labelPINUnlock_, &QAction::triggered, init, [init] { init->unlockPIN(); });
  on(addItem(operation, "Options"), [main] { main->gotoSetting(); });

  QMenu *window = addMenu(bar, "Window");
  on(addItem(window, "Minimize"), [main] { main->minimizeMainWindow(nullptr); });
  // The window models' items are wired with the models (MainController::initWindowModels).
  for (const char *t : {"Complete Model", "Simple Model", "Minimized Model"})
    addItem(window, t);

  QMenu *help = addMenu(bar, "Help");
  QAction *helpItem = addItem(help, "MyApp Help");
  helpItem->setShortcut(QKeySequence::HelpContents);
  on(helpItem, [main] { main->tbiMainHelpAction(nullptr); });
  on(addItem(help, "Online Help"), [main] { main->openOnlineHelp(); });
  addItem(help, "Prepaid guide")->setEnabled(false);
}

// The simple window, the operator's device-state window, the broadcast window and the
// low-power check box; the complete window is the main window itself.
void buildWindowModels(MainController *main, QMainWindow *window) {
  auto *simple = new SimpleMainWindow(main, window);
  main->wndCompleteMain_ = window;
  main->wndSimpleMain_ = simple;
  const QList<ButtonMatrix *> matrices = simple->matrices();
  main->matrixSms_ = matrices.value(0);
  main->matrixPhoneBook_ = matrices.value(1);
  main->matrixSet_ = matrices.value(2);
  main->matrixHelp_ = matrices.value(3);
  main->matrixRecord_ = matrices.value(4);

  auto *devState = new QWidget(window, Qt::Tool | Qt::FramelessWindowHint);
  devState->setObjectName(QStringLiteral("viewOfDevStateChangeForDidoro"));
  auto *devLabel = new QLabel(devState);
  devLabel->setContentsMargins(16, 12, 16, 12);
  (new QVBoxLayout(devState))->addWidget(devLabel);
  main->windowOfDevStateChangeForDidoro_ = devState;
  main->labelOfDevStateChageForDidoro_ = devLabel;

  auto *broadcast = new QDialog(window);
  broadcast->setObjectName(QStringLiteral("wndBroadcastReport"));
  broadcast->setWindowTitle(Map_Name_Item_of_IndexString(QStringLiteral("Broadcast message")));
  auto *broadcastText = new QLabel(broadcast);
  broadcastText->setWordWrap(true);
  broadcastText->setMinimumWidth(320);
  auto *broadcastOK = new QPushButton(Map_Name_Item_of_IndexString(QStringLiteral("OK")), broadcast);
  auto *broadcastLayout = new QVBoxLayout(broadcast);
  broadcastLayout->addWidget(broadcastText);
  broadcastLayout->addWidget(broadcastOK, 0, Qt::AlignRight);
  QObject::connect(broadcastOK, &QPushButton::clicked, main, [main] { main->broadcastReportOK(nullptr); });
  main->wndBroadcastReport_ = broadcast;
  main->tfdBroadCast_ = broadcastText;

  if (ConfigService::readValue(QStringLiteral("LPMinfo"), QStringLiteral("hasLPMmode")).isValid()) {
    auto *lpm = new QCheckBox(Map_Name_Item_of_IndexString(QStringLiteral("Low power while minimized")), window);
    lpm->setObjectName(QStringLiteral("btnLPMStatus"));
    lpm->setChecked(true);
    window->statusBar()->addPermanentWidget(lpm);
    main->btnLPMStatus_ = lpm;
  }
}

} // namespace

MainWindowBuilder::Parts MainWindowBuilder::build(QELMsgCenter *center, QELUIManager *skin, QObject *owner) {
  Parts parts;
  auto *window = new QMainWindow;
  window->setObjectName(QStringLiteral("wndMain"));
  window->setAttribute(Qt::WA_DeleteOnClose, false);

  // The controls; MainController lays them out from the skin, or plainly without one.
  auto *tabTitle = new QLabel(window);
  tabTitle->setObjectName(QStringLiteral("lableTabviewTitle"));
  auto *tabs = new QTabWidget(window);
  tabs->setObjectName(QStringLiteral("wndMainTabview"));
  tabs->tabBar()->hide(); // the toolbar chooses the page
  // The window's size comes from the skin or the saved frame; a page that wants more room
  // scrolls or squeezes instead of widening the window.
  tabs->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  auto *internet = new QWidget(tabs);
  internet->setObjectName(QStringLiteral("Internet"));
  internet->setProperty("itemIdentifier", QStringLiteral("Internet"));
  tabs->addTab(internet, QStringLiteral("Internet"));
  auto *smsPage = new SMSPage(tabs);
  tabs->addTab(smsPage, QStringLiteral("SMS"));
  auto *callPage = new CallPage(tabs);
  tabs->addTab(callPage, QStringLiteral("Call"));
  auto *recordPage = new CallRecordPage(tabs);
  tabs->addTab(recordPage, QStringLiteral("Record"));
  auto *statusView = new InitStatusView(window);

  auto *toolbar = new QToolBar(window);
  toolbar->setObjectName(QStringLiteral("ToolBar"));
  window->addToolBar(toolbar);

  auto *main = new MainController(owner);
  auto *init = new InitController(owner);
  auto *dial = new DialController(owner);
  auto *internetLayout = new QVBoxLayout(internet);
  internetLayout->setContentsMargins(0, 0, 0, 0);
  internetLayout->addWidget(InternetPage::build(dial, ProfileWindows::build(dial, window), window, internet));
  DialServiceTransplant::setIccidSource([] { return InitService::sharedInitService()->iccidStr(); });
  auto *settings = new SettingController(owner);
  SettingPages::build(settings, tabs);
  auto *call = new CompoundCallController(owner);
  auto *phonebook = new PBController(owner);
  // A skin that places the store tree gets one beside the tables.
  const bool pbTree = skin && skin->skinInfo().contains(QStringLiteral("outlinePBTree"));
  auto *pbSource = pbTree ? new PBSource(phonebook) : nullptr;
  tabs->addTab(new PBPage(phonebook, tabs, pbSource), QStringLiteral("Phonebook"));
  // The phonebook tab's device lock is the one the call pages use.
  phonebook->deviceLock.lockCodeOn = [] { return CallNeighbours::shared().getDeviceUnlockCodeState(); };
  phonebook->deviceLock.openUnlockWindow = [](QWidget *window, int module) {
    CallNeighbours::shared().openUnlockDeviceWindow(window);
    CallNeighbours::shared().setDeviceLockFunctionModule(module);
  };
  phonebook->deviceLock.askingModule = [] { return CallNeighbours::shared().getDeviceLockFunctionModule(); };
  auto *callRecord = new CallRecordController(owner);
  auto *smsController = new SMSController(owner);
  smsController->page = smsPage;
  // The message lists name senders through the phonebook, too.
  SMSController::setNameLookup(
      [](const QString &number) { return g_PBController ? g_PBController->searchNameAtPhoneBook(number) : number; });
  SmsServiceTransplant::sharedSmsServiceTransplant()->setNameLookup(
      [](const QString &number) { return SMSController::lookupName(number); });
  smsController->toPbUserWinWithPhoneNumber = [](const QString &number, const QString &store) {
    if (PhonebookNeighbour *pb = Neighbourhood::phonebook())
      pb->toPbUserWinWithPhoneNumber(number, store);
  };
  smsController->openUnlockDeviceWindow = [window] {
    CallNeighbours::shared().openUnlockDeviceWindow(window);
    CallNeighbours::shared().setDeviceLockFunctionModule(1);
  };
  // The message tab answers the unlock only when it asked for it.
  smsController->getDeviceLockFunctionModule = [init] { return init ? init->getDeviceLockFunctionModule() : 0; };
  wireSmsSendNeighbours(smsController, main, init);
  wireSmsArrivalNeighbours(smsController, main);
  call->page = callPage;
  callRecord->page = recordPage;
  auto *wlan = new WLANController(owner);
  auto *customerLog = new CustomerLogController(owner);

  buildMenus(window->menuBar(), main, init);

  QList<QELUIController *> controllers = {main,      init,       dial, settings,      call,
                                          phonebook, callRecord, wlan, smsController, customerLog};
  if (MMSController *mms = buildMmsHost(tabs, owner, skin, dial, smsController)) {
    controllers << mms;
    // The MMS preview window keeps its place next to the main window.
    const QPointer<MMSController> moved(mms);
    main->addWindowMoveFollower([moved] {
      if (moved)
        moved->windowDidMove();
    });
  }
  controllers << RecordViews::build(tabs, owner).controllers();
  if (QELUIController *entertain = EntertainController::build(tabs, owner))
    controllers << entertain;
  controllers << SimServicePages::build(tabs, owner); // the USSD, SIM toolkit and GPS tabs
  for (QELUIController *c : controllers) {
    c->wndMain = window;
    c->currentMainWnd = window;
    c->tabviewMain = tabs;
    c->qelMsgCenter = center;
    c->qelSkinManager = skin;
  }
  main->mainWindow = window;
  // The simple window's settings matrix chooses pages of the settings window's own tab view.
  main->tabviewSetting = settings->tabviewSetting;
  main->toolbar = toolbar;
  main->menuBar = window->menuBar();
  main->lableTabviewTitle_ = tabTitle;
  main->statusView_ = statusView;
  init->statusView = statusView;
  buildWindowModels(main, window);
  QWidget *wlanPage = WLANPage::build(wlan, tabs);
  wlanPage->setProperty("itemIdentifier", QStringLiteral("WLAN"));
  tabs->addTab(wlanPage, QStringLiteral("WLAN"));

  for (QELUIController *c : controllers) {
    c->awakeFromNib();
    parts.controllers << c;
  }
  main->initWindowModels();
  dial->startWebLinksAtStartUp();
  parts.window = window;
  parts.tabs = tabs;
  parts.mainController = main;
  parts.initController = init;
  return parts;
}
