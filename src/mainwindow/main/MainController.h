#pragma once

#include "QELUIController.h"

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

class QMenuBar;
class QToolBar;

// The main window: its frame (toolbar, provider logo, menus, tabs, status area), the launch
// sequence, and the quit rules every way of leaving the program passes through.
class MainController : public QELUIController {
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
  bool requestTerminate();
  Q_INVOKABLE void quitTerminal(QObject *sender = nullptr) { windowShouldClose(sender); }
  Q_INVOKABLE void closeMainWindow(QObject *sender = nullptr);
  bool quitAppAlert();
  Q_INVOKABLE void closeApp(QObject *sender = nullptr);
  Q_INVOKABLE void minimizeMainWindow(QObject *sender = nullptr);
  int wndFlag() const { return wndFlag_; }
  bool winWillClose() const { return bWinWillClose_; }

  // Toolbar.
  void loadToolBar();
  QList<QAction *> toolbarItemsArray() const { return toolbarItems_; }
  QAction *toolbarItem(const QString &identifier) const;
  void toolbarSetItemEnable(bool enable, const QString &identifier);
  void toolbarSetEnable(bool enable);
  void specialToolBarItemsSetEnable(bool enable);
  void menuToolbarSetEnable(bool enable);
  void setToolbarEnableWhenSimDetected(bool enable);
  void resetToolBar();
  void setToolbarProviderLogo();
  QStringList toolbarDefaultItemIdentifiers() const;
  Q_INVOKABLE void updateStkTooltip(const Notification &n);

  // Menus.
  void Init_UIMenu();
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

  // Hooks of the base table.
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  // ---- reactions to device, SIM and connection events; window models and low-power mode
  //      (MainControllerReactions.cpp, MainControllerWindowModels.cpp) ----

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
  bool eventFilter(QObject *watched, QEvent *event) override;
  void alert(const QString &title, const QString &message, const QString &button);

  // ---- state of reactions and window models ----

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
};

extern MainController *g_MainController;
