#pragma once

#include "MainWindowNeighbour.h"
#include "QELUIController.h"
#include "StatusBarView.h"
#include "WebViewUtilities.h"

#include <QAction>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <vector>

class QMenu;
class QMenuBar;
class UserRegistrationSheet;
class QToolBar;

// The main window: its frame (toolbar, provider logo, menus, tabs, status area), the launch
// sequence, and the quit rules every way of leaving the program passes through.
class MainController : public QELUIController, public MainWindowNeighbour {
  Q_OBJECT
public:
  enum TerminateReply { NSTerminateCancel = 0, NSTerminateNow = 1 };

  explicit MainController(QObject *parent = nullptr);
  ~MainController() override;

  // Outlets set by the builder.
  QPointer<QMainWindow> mainWindow;
  QPointer<QToolBar> toolbar;
  QPointer<QMenuBar> menuBar;
  QPointer<QWidget> wndStartup_;
  QPointer<QLabel> startupImage_;
  QPointer<QLabel> tfdStartWndInfo_;
  QPointer<QLabel> tfdSoftwareVersionAlias_;
  QPointer<QLabel> lableTabviewTitle_;
  QPointer<QWidget> statusView_; // the device status area ("wndMainStatusView")

  // Lays the window out from the skin when it describes the main window ("wndMain" and the
  // configuration's "ToolbarItems"), else as a plain window with the system's toolbar.
  void initializeNormalSkin();
  void layoutWithoutSkin();
  bool usesSkinnedWindow() const { return skinned_; }

  // Launch.
  void applicationWillFinishLaunching();
  void applicationDidFinishLaunching();
  void prepareStartupWin();
  void beginStartupWin();
  void refreshImage();
  void endStartupWin();
  void runDatacard();
  bool datacardStarted() const { return datacardRuns_ > 0; }
  int datacardRuns() const { return datacardRuns_; }
  void setDiagSoftwareVersionString(QLabel *field);
  void miniaturizeMainWindowWhenAppFinishLaunching();
  void showMainUI();
  // The backend is started by runDatacard; tests may keep it from launching a process.
  void setStartsBackend(bool on) { startsBackend_ = on; }

  // Service-provider code window.
  void initCheckSPCodeWin();
  void popUpCheckSPCodeWin();
  Q_INVOKABLE void checkSPCode(QObject *sender = nullptr);
  Q_INVOKABLE void checkSPCodeWndCancel(QObject *sender = nullptr);
  void closeCheckSPCodeWin();
  bool findAPNInfoBySPCode(const QString &code);
  QDialog *spCodeWindow() const { return wndCheckSPCode_; }
  QLineEdit *spCodeField() const { return tfdSPCode_; }

  // Quit.
  bool windowShouldClose(QObject *sender = nullptr);
  TerminateReply applicationShouldTerminate();
  bool appShouldClose();
  bool getAppCloseStateForZID() const;
  // Asks the application to terminate; answers whether it goes ahead.
  bool requestTerminate() override;
  Q_INVOKABLE void quitTerminal(QObject *sender = nullptr) { windowShouldClose(sender); }
  Q_INVOKABLE void closeMainWindow(QObject *sender = nullptr);
  bool quitAppAlert();
  Q_INVOKABLE void closeApp(QObject *sender = nullptr);
  Q_INVOKABLE void minimizeMainWindow(QObject *sender = nullptr);
  // Miniaturises the window the sender sits in.
  Q_INVOKABLE void minimizeWindow(QObject *sender = nullptr);
  // The operator's close flow: with Main/"CloseUIForDidoro" the custom close button shows a sheet
  // that offers to shut the device down, quit, or stay (MainControllerClose.cpp).
  bool closeMainWindowForDidoro();
  Q_INVOKABLE void shutDownDeviceForDidoro(QObject *sender = nullptr);
  Q_INVOKABLE void quitApplicationForDidoro(QObject *sender = nullptr);
  Q_INVOKABLE void cancelCloseWindowForDidoro(QObject *sender = nullptr);
  QDialog *closeAppSheetForDidoro();
  // While off, the window's close button (and the skin's) does nothing: the quit sound plays.
  void setCloseButtonEnabled(bool enabled);
  bool closeButtonEnabled() const { return closeButtonEnabled_; }
  // runDatacard's first step: the not-connected application icon, with "IconChangeWithConnected".
  void showUnconnectedIcon();
  int wndFlag() const { return wndFlag_; }
  bool winWillClose() const { return bWinWillClose_; }

  // The updater conversation, offered to the settings window's update page (AEMessage).
  bool updaterSupported() const override;
  void setUpdaterAutoUpdate(bool on) override;
  void setUpdaterServiceAddress(const QString &address) override;
  void setUpdaterDuration(int days) override;
  void sendUpdaterInit() override;
  void sendUpdaterManualUpdate() override;
  void sendUpdaterDeviceReady() override;

  // Toolbar.
  void loadToolBar();
  QList<QAction *> toolbarItemsArray() const { return toolbarItems_; }
  QAction *toolbarItem(const QString &identifier) const;
  void toolbarSetItemEnable(bool enable, const QString &identifier) override;
  void toolbarSetEnable(bool enable) override;
  void specialToolBarItemsSetEnable(bool enable);
  void menuToolbarSetEnable(bool enable);
  void setToolbarEnableWhenSimDetected(bool enable);
  void resetToolBar();
  void setToolbarProviderLogo();
  QStringList toolbarDefaultItemIdentifiers() const;
  Q_INVOKABLE void updateStkTooltip(const Notification &n);

  // Pages. A page exists when the main tab view holds it; items that would bring up a page that
  // does not exist stay disabled.
  bool hasPage(const QString &identifier) const;
  // False only for a tab-changing toolbar item or button whose page does not exist.
  bool itemLeadsSomewhere(QObject *item) const;
  // The worded "<identifier>_TITLE", or the worded identifier when the wording lacks the title.
  QString tabTitle(const QString &identifier) const;

  // Toolbar item kinds: a plain item, or with an image "UseAsButton" (the picture as a button)
  // and "UseAsPopupButton" (a pull-down button of actions).
  QAction *makeToolbarItem(const QVariantMap &entry, QToolBar *bar);
  void cacheToolbarButtons(QWidget *view);
  // The skinned toolbar's buttons that do not fit go into its "more" menu (MainControllerFrame.cpp).
  void fitToolbarButtons();
  QList<QAbstractButton *> toolbarButtonsInMore() const;
  QToolButton *toolbarMoreButton() const { return toolbarMore_; }
  QWidget *toolbarView() const { return toolbarView_; }
  int toolbarButtonCount() const { return int(toolbarButtons_.size()); }
  // The skinned window's title bar items, main title, broadcast label, bottom view and right bar.
  void initializeSkinnedFrame(QWidget *canvas, QWidget *toolbarView);
  void initDrawerProperty();
  DrawerPanel *drawerLink() const { return drawerLink_; }
  void changeMainWinTitleFont();
  QLabel *titleFontField() const { return titleFontField_; }
  void resetProviderLogoImage(const QString &path);
  // Rebuilds the skin's toolbar from the skin of UIConfig "CurrentSkinName2" (0),
  // "CurrentSkinName" (1) or "CurrentSkinName1" (2); other values do nothing.
  void insertUSSDToobarItem(int which) override;
  void disableUSSDToolbarForMalaixiya();
  // Where a sheet of `window` comes out: below the skin's title bar when the skin has one.
  QRect windowWillPositionSheet(QWidget *window, QWidget *sheet, const QRect &proposed) const;
  void windowDidMove(QWidget *window);
  // Windows that sit next to the main window and move with it (the MMS preview); the builder
  // hands in each one's reaction.
  void addWindowMoveFollower(std::function<void()> follower) { windowMoveFollowers_.push_back(std::move(follower)); }
  QPointer<QWidget> ussdBalancewnd_; // the USSD pop-up window, when one is built

  // Menus.
  void Init_UIMenu();
  // The application and help menus' entries (MainControllerMenus.cpp). Each says plainly what
  // it could not open: no help file, no updater, no browser for the log folder.
  Q_INVOKABLE void showAboutBox(QObject *sender = nullptr);
  Q_INVOKABLE void showLogFolder(QObject *sender = nullptr);
  Q_INVOKABLE void checkForUpdates(QObject *sender = nullptr);
  Q_INVOKABLE void openOnlineHelp(QObject *sender = nullptr);
  // The shipped help file, or empty when none is installed.
  QString helpFilePath();
  static QString logFolder();
  void assignMenuMnemonics();
  void Init_mainWindow_nib();
  QAction *menuItem(const QString &englishTitle) const;

  // Toolbar and menu actions.
  Q_INVOKABLE void tabViewChangeItemAction(QObject *sender);
  Q_INVOKABLE void tbiMainURLAction(QObject *sender);
  Q_INVOKABLE void tabViewChangeToCallAndMakeCall(QObject *sender);
  Q_INVOKABLE void checkMyNumber(QObject *sender);
  Q_INVOKABLE void tbiMainPopUpUssdAction(QObject *sender);
  Q_INVOKABLE void tbiChangeAPNSelection(QObject *sender);
  Q_INVOKABLE void tbiMainHelpAction(QObject *sender);
  // MainControllerLinks.cpp.
  Q_INVOKABLE void tbiMainHomewebAction(QObject *sender = nullptr);
  Q_INVOKABLE void tbiMainUSSDPopUPAction(QObject *sender = nullptr);
  Q_INVOKABLE void closeUSSDPopUPAction(QObject *sender = nullptr);
  Q_INVOKABLE void tbimainURLEncipherAction(QObject *sender);
  Q_INVOKABLE void tbimainURLEncipherActionExt(QObject *sender) override;
  Q_INVOKABLE void tbiMainSendSMS(QObject *sender = nullptr);
  Q_INVOKABLE void tbiMainZUDEHelpClick(QObject *sender = nullptr);
  Q_INVOKABLE void tbiMainQELPlayerAction(QObject *sender = nullptr);
  Q_INVOKABLE void tbiMainSendVolStatusCheckSMS(QObject *sender = nullptr);

  // Hooks of the base table.
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  // ---- reactions to device, SIM and connection events; window models and low-power mode
  //      (MainControllerReactions.cpp, MainControllerWindowModels.cpp) ----

  // Network-card status: 1 device removed, 2 device plugged in, 12 SIM ready.
  enum NetCardStatus { kNetCardRemoved = 1, kNetCardPlugged = 2, kNetCardSimReady = 12 };
  Q_INVOKABLE void dialConnectStart(const Notification &n);
  Q_INVOKABLE void connectStatusDidChange(const Notification &n);
  Q_INVOKABLE void isAbleToConnect(const Notification &n);
  Q_INVOKABLE void receiveSMSBroadCast(const Notification &n);
  void netcardChanged(int status);
  void setNetCardStatus(int status) { netCardStatus_ = status; }
  int getNetCardStatus() const { return netCardStatus_; }
  void setDeviceRemoveSign(bool sign) { deviceRemoveSign_ = sign; }
  bool getDeviceRemoveSign() const { return deviceRemoveSign_; }
  void deviceRemovedForDidoro(bool removed);
  void performEndSheet();
  void setCallMenuItemEnable(bool acceptState, bool setAccept, bool rejectState, bool setReject) override;
  void initCallMenuItemSel();
  void setBroadcastMsg(const QString &text);
  Q_INVOKABLE void broadcastReportOK(QObject *sender = nullptr);
  void setIsHiddenForUSSDActive(bool hidden) override;
  Q_INVOKABLE void simCardActivity(QObject *sender = nullptr);
  Q_INVOKABLE void tbiMainURLWithAlertAction(QObject *sender);
  Q_INVOKABLE void tbiMainOpenURLWithAlertAndAutoConnectAction(QObject *sender);
  bool urlWaitsForConnection() const { return openURLWithAlertClicked_; }

  // Outlets of the reactions (any may be absent).
  QPointer<QWidget> windowOfDevStateChangeForDidoro_;
  QPointer<QLabel> labelOfDevStateChageForDidoro_;
  QPointer<QAction> acceptMenuItem;
  QPointer<QAction> rejectMenuItem;
  QPointer<QWidget> wndBroadcastReport_;
  QPointer<QLabel> tfdBroadCast_;
  QPointer<QAbstractButton> btnUSSDActive_;

  // Window models: 0 complete, 1 simple, 2 minimized, 3 none saved.
  enum UIModel { kCompleteModel = 0, kSimpleModel = 1, kMinimizedModel = 2, kNoModel = 3 };
  // Run once by the builder after the wake-up: remembers the two windows' frames, words the
  // simple window, follows the windows' state changes and wires the model menus, the timers and
  // the broadcast notification.
  void initWindowModels();
  // The window-model step of showMainUI: shows the window of the saved model (without one, the
  // complete window as showMainUI always did).
  void showSavedUIModel();
  QRect getSimpleFrame();
  QRect getCompleteFrame();
  void switchToSimPleUI();
  void switchToCompleteUI();
  void saveCurrentUIModel(int model);
  void saveCurrentUIModelWhenAppClosed();
  QRect windowWillUseStandardFrame(QWidget *window, const QRect &defaultFrame);
  Q_INVOKABLE void menuCompleteModelClicked(QObject *sender = nullptr);
  Q_INVOKABLE void menuSimpleModelClicked(QObject *sender = nullptr);
  Q_INVOKABLE void menuMinimizedModelClicked(QObject *sender = nullptr);
  Q_INVOKABLE void goBackToMainWnd(QObject *sender);
  Q_INVOKABLE bool applicationShouldHandleReopen(bool hasVisibleWindows = false);
  void windowWillMiniaturize();
  void windowDidMiniaturize();
  void windowDidDeminiaturize();
  void releaseTimerCheckLPM();
  void checkLPM();
  bool lpmTimerActive() const { return timerCheckLPM_.isActive(); }
  int lpmTimerIntervalMs() const { return timerCheckLPM_.interval(); }
  void openMainWindow() override;
  void zoomMainWindow(bool flag);
  void miniaturizeMainWindowWhenConnectSucced() override;
  void loadSimpleModeWording();
  void setButtonMatrixToolTip(class ButtonMatrix *matrix, const QString &wordingKey);
  int modePrev() const { return modePrev_; }
  int modeCurrent() const { return modeCurrent_; }

  // Outlets of the window models (the simple window's button matrices are ButtonMatrix).
  QPointer<class ButtonMatrix> matrixSms_;
  QPointer<ButtonMatrix> matrixPhoneBook_;
  QPointer<ButtonMatrix> matrixSet_;
  QPointer<ButtonMatrix> matrixHelp_;
  QPointer<ButtonMatrix> matrixRecord_;
  QPointer<QAbstractButton> btnLPMStatus_;

  // ---- end ----

  // ---- navigation, drawer and operator links (MainControllerNavigation.cpp,
  //      MainControllerOperatorLinks.cpp) ----

  Q_INVOKABLE void gotoSetting(QObject *sender = nullptr);
  Q_INVOKABLE void gotoPhonebook(QObject *sender = nullptr);
  Q_INVOKABLE void gotoInternet(QObject *sender = nullptr);
  Q_INVOKABLE void gotoSMS(QObject *sender = nullptr);
  Q_INVOKABLE void gotoDialRecord(QObject *sender = nullptr);
  Q_INVOKABLE void gotoCall(QObject *sender = nullptr);
  Q_INVOKABLE void gotoUSSD(QObject *sender = nullptr);
  // The settings page of a matrix row 0 to 6; other rows do nothing.
  Q_INVOKABLE void selectModule(QObject *sender);
  static QString settingsPageOfRow(int row);
  // The settings page that holds a row's subject ("Sounds": "Alert"); the subject when none does.
  static QString settingsPageOfSubject(const QString &subject);
  void selectTabViewbyIdentifier(const QString &identifier);
  Q_INVOKABLE void toolbarCallUssdSheetWnd(QObject *sender);
  Q_INVOKABLE void popUpUssdSeetWithTag(int tag);
  Q_INVOKABLE void popUpRefillSheet(QObject *sender = nullptr);
  Q_INVOKABLE void popUpCheckBalanceSheet(QObject *sender = nullptr);
  Q_INVOKABLE void openUSSDWndVovudiTopup(QObject *sender = nullptr);
  Q_INVOKABLE void openUSSDWndVovudiCheckbalance(QObject *sender = nullptr);
  Q_INVOKABLE void openUSSDWndVovudiBuybundles(QObject *sender = nullptr);
  Q_INVOKABLE void openWndVovudiQuickTips(QObject *sender = nullptr);
  Q_INVOKABLE void showSupportWindowForZudovid(QObject *sender = nullptr);
  Q_INVOKABLE void showUSSDGuideWindowForZudovid(QObject *sender = nullptr);
  Q_INVOKABLE void showDialRecordAndSettingWindow(QObject *sender);
  Q_INVOKABLE void closeAllWindow(QObject *sender);
  Q_INVOKABLE void changeDrawerState(QObject *sender = nullptr);
  Q_INVOKABLE void loadDrawerLinkWnd(QObject *sender = nullptr);
  void updateControllersForBarVavav(const QString &identifier);
  // The settings window's way in to the same layout change (after it switched the tab itself).
  void updateUIForBraVavav(const QString &tabIdentifier) override;
  void changeDrawerBtnStyleForBraVavav(const QString &identifier);
  // Makes the skin's grouped toolbar button of `identifier` the pressed one, so that the toolbar
  // follows a page chosen from code as it follows a click.
  void selectToolbarButtonOfPage(const QString &identifier);
  // A records or settings window: shown by showDialRecordAndSettingWindow; closed by the window
  // manager, it brings the main window back. With `page` it holds that page of the main tab view
  // while it is shown and gives it back when it hides.
  void setAuxiliaryWindow(const QString &identifier, QWidget *window, const QString &page = QString());
  QWidget *auxiliaryWindow(const QString &identifier) const;
  // The records ("wndOfdialRecord") and settings ("wndOfSetting") windows, when the skin describes
  // them; the quick-tips, support and USSD-guide windows always (hidden until asked for).
  void buildAuxiliaryWindows();
  void returnHostedPage(QWidget *window);
  QPointer<QWidget> wndVovudiQuickTips_;
  QPointer<QWidget> wndSupportForZudovid_;
  QPointer<QWidget> wndUSSDGuideForZudovid_;
  QPointer<QLabel> labelSettingTitle_; // the settings window's page title

  Q_INVOKABLE void gotoWebsiteMainpage(QObject *sender = nullptr);
  Q_INVOKABLE void open1und1URL(QObject *sender = nullptr);
  Q_INVOKABLE void openTabMenuLinks(QObject *sender);
  Q_INVOKABLE void homePageClick(QObject *sender = nullptr);
  Q_INVOKABLE void openVivivedURL(QObject *sender);
  Q_INVOKABLE void openDORIMenuLinks(QObject *sender);
  void openDORILinks(const QString &url);
  Q_INVOKABLE void openLinkPage(QObject *sender);
  Q_INVOKABLE void openVozavWebsites(QObject *sender);
  Q_INVOKABLE void performOpenHelpActionForZudovid(QObject *sender);
  // The operator's fixed address of a table ("LinkPage", "VozavWebsites", "DORIMenuLinks") and
  // key, from the settings' Main/"OperatorLinks"; empty when not configured.
  static QString operatorAddress(const QString &table, const QString &key);
  void loadLinkButtonTitleWording();
  void loadZuzuvidiButtonToolTip();
  static void textField(QLabel *field, const QString &text, const QString &link);
  void initMainWindowForDidoro();
  void setTextLinkAddressForMainPage();
  // The link buttons (MAINFORM/"LinkButton", in the link drawer), the operator buttons, the
  // operator's link labels and dial button and the main page's link label, each as the
  // configuration and the skin ask for it.
  void buildOperatorWidgets();
  QList<QPointer<QAbstractButton>> linkButtons_; // the nine link buttons, in order
  QList<QPointer<QWidget>> zuzuvidiButtons_;     // the twelve operator buttons, in order
  QPointer<QLabel> labelHomeLinkForDidoro_;
  QPointer<QLabel> labelPostPaidLinkForDidoro_;
  QPointer<QLabel> labelPrePaidLinkForDidoro_;
  QPointer<QAbstractButton> btnDialForDidoro_;
  QPointer<QLabel> labelMainPageLink_;
  // The bundle's local page "index.html", shown on the "HomePage" page when the bundle has it
  // (MainControllerLocalPage.cpp); loaded once the window is up, reloaded when an icon arrives.
  void initLocalWebUI();
  Q_INVOKABLE void refreshWebView(const Notification &n = Notification());
  WebView *localWebView() const { return webViewForShowLocalWebUI_; }
  QPointer<WebView> webViewForShowLocalWebUI_;

  // ---- end ----

  // ---- the status item of the desktop's status area (MainControllerStatusItem.cpp) ----

  void initSysStatusBarItem();
  StatusBarView *sysStatusItemView() const { return viewSysStatusItem_; }
  QMenu *sysStatusItemMenu() const { return menuSysStatusItem_; }
  void startAnimationInStatusViewWithAnimaitonPath(const QString &path, int frames);
  void setImageOfStatusBarViewWithImageName(const QString &name);
  Q_INVOKABLE void freshStatusViewWhenNormalSMSArrive();
  Q_INVOKABLE void freshStatusViewWhenFlowValueSMSArrive();
  Q_INVOKABLE void freshStatusViewWhenNewSMSArrive();
  Q_INVOKABLE void freshStatusViewWhenSMSReaded();
  Q_INVOKABLE void freshStatusViewWhenDialStatusChanged() override;
  void freshStatusViewToStaticViewAccorindToDialStatus(int status);
  void freshStatusViewWhenInitialController();
  Q_INVOKABLE void gotoSMSUIOfCompleteWnd(QObject *sender = nullptr);
  // Whether position 0 (PC) or 1 (SIM) holds unread messages, as the message service last
  // counted them.
  static bool hasNewSMSInPos(int position);

  // ---- the mini and ruvoz windows (MainControllerSkins.cpp) ----

  // "MiniUI" first, then "RuvozUI" of the UI configuration; empty for the normal window.
  QString skinVariant() const { return skinVariant_; }
  void initializeMiniSkin();
  void initializeRuvozSkin();
  void registerUINotifications();
  Q_INVOKABLE void updateSingalStrength(const Notification &n);
  Q_INVOKABLE void updateNetworkStatus(const Notification &n);
  Q_INVOKABLE void updateRoamStatus(const Notification &n);
  Q_INVOKABLE void updateBelonetoSPN(const Notification &n);
  Q_INVOKABLE void updateLocalSPN(const Notification &n);
  Q_INVOKABLE void updateModemStatus(const Notification &n);
  Q_INVOKABLE void updateSimStatus(const Notification &n);
  Q_INVOKABLE void updateDomainName(const Notification &n);
  Q_INVOKABLE void btnDialConnectExt(QObject *sender = nullptr);
  Q_INVOKABLE void closeMainPopupWindow(QObject *sender = nullptr);
  // "HSDPA" and "HSUPA" read "HSPA", "UMTS" reads "3G", anything else as it comes.
  static QString shortNetworkStatus(const QString &text);

  // ---- user registration by SMS (MainControllerRegistration.cpp) ----
  void openUserRegisteWndIfNeedRegiste();
  UserRegistrationSheet *userRegisteWnd();
  Q_INVOKABLE void clickOKofUserRegisteWnd(QObject *sender = nullptr);
  Q_INVOKABLE void clickOKofUserExitWnd(QObject *sender = nullptr);
  Q_INVOKABLE void openCalendarWnd(QObject *sender = nullptr);
  Q_INVOKABLE void setCalendarDateTime(QObject *sender = nullptr);
  bool checKUserInfoValidity();
  bool checkEmailValidity(const QString &email);
  bool checkContactValidity(const QString &contact);
  bool checkDobValidity(const QString &dob);
  void getUserInfoFromTextField();
  void saveUserInfoIntoFile();
  bool readUserInfoFromFile();
  void sendUserEmailInfo();
  void sendUserContact();
  void sendUSerODB();
  Q_INVOKABLE void setIsSendingUserInfo(bool sending) { isSendingUserInfo_ = sending; }
  Q_INVOKABLE bool isSendingUserInfo() const { return isSendingUserInfo_; }
  void limitTextFiledLength(QLineEdit *field);
  void sendUserInfoIfNeededAndSendFailedBefore();
  QStringList userRegisteInfo() const { return userRegisteInfoArray_; }
  // The pause between the three messages (tests shorten it).
  static void setUserInfoSendDelayMs(int ms);
  // ---- end ----

  // Frame counter and timings of the splash (tests read them).
  int splashFrameCounter() const { return frameCounter_; }
  int splashFrameCount() const { return int(imageArray_.size()); }
  bool splashRunning() const { return wndStartup_ && wndStartup_->isVisible(); }

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;

private:
  std::vector<std::function<void()>> windowMoveFollowers_;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void alert(const QString &title, const QString &message, const QString &button);
  // An information alert with the worded `titleKey` over a message already worded.
  void say(const QString &titleKey, const QString &message);
  bool quitRefusedBySelectionOrCall();

  // ---- state of reactions and window models ----

  void postMainWindowChanged(QWidget *window);
  void makeMainWindow(QWidget *window);
  // The window the user works in now: the shown, not miniaturised one of the two main windows.
  QWidget *appMainWindow() const;
  static void centreAndShow(QWidget *window);
  // Makes the simple or complete window the main one, moves to it and remembers the model.
  void changeToUIModel(int model);

  int netCardStatus_ = 0;
  bool deviceRemoveSign_ = false;
  bool openURLWithAlertClicked_ = false;
  QPointer<QObject> urlWithAlertToolBarItem_;
  QTimer endSheetTimer_;
  QByteArray selOfAcceptMenuItem;
  QByteArray selOfRejectMenuItem;
  QMetaObject::Connection acceptConnection_;
  QMetaObject::Connection rejectConnection_;

  QSize rectOfwndMain_;
  QSize rectOfWndSimpleMain_;
  QRect rectOfCurrentWnd_;
  int modePrev_ = kCompleteModel;
  int modeCurrent_ = kCompleteModel;
  QTimer timerCheckLPM_;
  QPointer<QObject> windowModelWatcher_;

  // ---- end ----

  QList<QAction *> toolbarItems_;
  QList<QPointer<QWidget>> toolbarButtons_; // the skin's toolbar buttons, in order
  bool skinned_ = false;
  QList<QImage> imageArray_;
  int imageCount_ = 0;
  int frameCounter_ = 0;
  QTimer splashTimer_;
  int datacardRuns_ = 0;
  bool startsBackend_ = true;
  bool bWinWillClose_ = false;
  int wndFlag_ = 1;
  bool terminating_ = false;
  QPointer<QDialog> wndCheckSPCode_;
  QPointer<QLineEdit> tfdSPCode_;
  QPointer<QPushButton> btnSPCodeOK_;
  QPointer<QLabel> labelSPCode_;
  QPointer<QPushButton> btnSPCodeCancel_;
  QPointer<QAction> logoAction_;
  QPointer<QWidget> toolbarView_;     // the skin's "wndMainToolbar"
  QPointer<QToolButton> toolbarMore_; // its "more" menu, shown while buttons do not fit
  QPointer<QLabel> labelBroadCast_;
  QPointer<DrawerPanel> drawerLink_;
  QPointer<QLabel> titleFontField_;
  QPointer<StatusBarView> viewSysStatusItem_;
  QString skinVariant_;
  QPointer<QMenu> menuSysStatusItem_;
  QPointer<QDialog> closeSheetForDidoro_;
  bool closeButtonEnabled_ = true;
  void endCloseAppSheetForDidoro();
  void wordCloseAppSheetForDidoro();
  void placeTitleFontField();

  // ---- state of the user registration ----
  bool userRegistrationWanted();
  void wordUserRegisteWnd();
  void startUserInfoSending();
  void sendUserInfoText(int index);
  void continueUserInfoChain();
  QPointer<UserRegistrationSheet> wndUserRegiste_;
  QStringList userRegisteInfoArray_;
  QString sendUserInfoto_;
  bool isSendingUserInfo_ = false;
  int userInfoChainStep_ = 0;
  QTimer userInfoTimer_;
  // ---- end ----
};

extern MainController *g_MainController;
