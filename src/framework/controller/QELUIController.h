#pragma once

#include "DrawerPanel.h"
#include "NotificationCenter.h"
#include "NotificationTables.h"
#include "QELMsgCenter.h"

#include <QDateTime>
#include <QFont>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class QELLanguage;
class QELUIManager;
class QMenu;
struct LoadedPlugIn;

// Keys of the run-time dictionary shared by the controllers.
inline const QString kRTIMEI = QStringLiteral("runtimeIMEI");
inline const QString kRTPhoneNumber = QStringLiteral("runtimePhoneNumber");
inline const QString kRTIsConnectted = QStringLiteral("runtimeIsConnecttedFlag");
inline const QString kRTSIMCardReady = QStringLiteral("runtimeSIMCardReady");
inline const QString kRTIsSameMCC = QStringLiteral("runtimeIsSameMCC");

// Sound types of playSound() and friends.
enum QELSoundType : int {
  kSoundOnline = 0,
  kSoundOffline = 1,
  kSoundSMS = 2,
  kSoundIncomingCall = 3,
  kSoundQuit = 4,
};

// The base of every window controller. A builder makes the controller, sets its outlets and
// calls awakeFromNib(), which runs the hooks in a fixed order and subscribes the controller to
// the UI notifications whose handlers it has. Handlers are Q_INVOKABLE methods or slots taking
// `const Notification &` (or nothing), found by name, so a subclass handles a notification just
// by having the method.
class QELUIController : public QObject {
  Q_OBJECT
public:
  explicit QELUIController(QObject *parent = nullptr);
  ~QELUIController() override;

  // Runs the hooks, then registers updateLanguages (when the controller has it) and the base
  // table. Virtual only so that a panel may replace the whole wake-up.
  virtual void awakeFromNib();

  // Outlets, set by the builder before awakeFromNib().
  QPointer<QWidget> wndMain;
  QPointer<QWidget> wndSimpleMain_;
  QPointer<QWidget> wndCompleteMain_;
  QPointer<QTabWidget> tabviewMain;
  QPointer<QTabWidget> tabviewSetting;
  QPointer<QWidget> wndMainPopup;
  QPointer<DrawerPanel> drawerMain;
  QPointer<QELMsgCenter> qelMsgCenter;
  QELUIManager *qelSkinManager = nullptr;
  QELLanguage *qelLanguage = nullptr;
  QPointer<QWidget> currentMainWnd;
  QPointer<QWidget> viewCurrent_;

  // Notification posters.
  void notifyDeviceRemoved();
  void notifyDevicePlugin();
  void notifySimReady();
  void notifyDataServiceSwitch(bool on);
  void notifyChangeTabViewItem(const QString &identifier);
  void notifyAppReady();
  void notifyAppWillClose();
  void notifyChangeLanguage();

  // Subscribes to every pair of the null-terminated table; a pair whose handler this controller
  // lacks is reported as missing (DispatchTargets). False for a null table.
  bool registerNotification(const NotificationPair *table);

  // Settings.
  QVariantMap &settingDict() { return *settingDict_; }
  QVariantMap uiConfigDict() const;
  QVariantMap runtimeDictionary();
  QVariant runtimeObjectForKey(const QString &key);
  void setRuntimeObject(const QVariant &object, const QString &key);
  void deleteRuntimeDictionary();

  // Sounds (one sound at a time for the whole program; a ringing call is never cut off).
  void playSound(int type);
  void playSound(int type, double seconds);
  void playShortSound(int type);
  void playCloseSound();
  static void stopSound();
  static void stopSound(int type);
  void experienceIncomingcallSond(int type);
  bool isSoundMute(int type) const;
  void setSoundType(int type, bool mute);
  void setSoundFileName(int type, const QString &path);
  QString soundFileName(int type) const;
  static QString filenameKeyOfSound(int type);
  static QString muteKeyOfSound(int type);
  static int currentSoundType();
  static bool isSoundPlaying();
  // The delay of the pending stop of this controller's sound, -1 when none is pending.
  int pendingSoundStopMs() const { return stopSoundTimer_.isActive() ? stopSoundTimer_.interval() : -1; }
  // How long playCloseSound() waits for the quit sound (tests shorten it).
  static void setCloseSoundWaitMs(int ms);

  // Plug-ins.
  QVariantMap objectsDict() const;
  bool loadPlugin(const QString &bundleName, const QString &tabIdentifier);
  QObject *bundleInstance() const;
  QWidget *viewOfOldTabViewItem() const { return viewOfOldTavViewItem_; }

  // Main window and sheets.
  Q_INVOKABLE void changeMainWindowOfApp(const Notification &notification);
  void closeAllSheetsOfMainWnd();

  // Web links. Opening goes through a replaceable opener (tests).
  QString webURLForKey(const QString &key) const;
  void tbiMainURLActionExt(const QString &itemIdentifier);
  Q_INVOKABLE void tbiMainURLActionExt(QObject *toolbarItem);
  Q_INVOKABLE void menuItemAction(QObject *sender) { Q_UNUSED(sender) }
  // Hands the address to the browser (or the test's opener); false when it is no usable address
  // or nothing took it.
  bool openSafari(const QString &url);
  using UrlOpener = std::function<bool(const QUrl &)>;
  static void setUrlOpener(UrlOpener opener);

  // Text helpers.
  QString formatStringFromDate(const QDateTime &date) const;
  static QString trimString(const QString &string, const std::function<bool(QChar)> &characterSet, int length);
  QString getControlWordingValueByKey(const QString &key, int moduleID) const;

  QString customDateFormat() const { return customDateFormat_; }
  std::optional<QFont> font() const { return font_; }
  QString fontName() const { return fontName_; }
  float fontSize() const { return fontSize_; }

  int numberOfShakes = 8;
  float durationOfShake = 0.5f;
  float vigourOfShake = 0.05f;

  // Controls built from the "UIConfig" module.
  bool initializeBtnsOfView(QWidget *view, const QString &key);
  bool initializeLabelsOfView(QWidget *view, const QString &key);
  bool initializeTabViewItemOfView(QTabWidget *view, const QString &key);
  bool initializeNSMatrixOfView(QWidget *view, const QString &key);
  bool initializeNSBoxOfView(QWidget *view, const QString &key);
  bool initializeImageViewOfView(QWidget *view, const QString &key);
  QWidget *createNSViewExtByKey(const QString &key, QWidget *superView);
  QWidget *createNSImageViewByKey(const QString &key, QWidget *superView);
  bool registerController(QWidget *control, const QString &key, QWidget *superview);
  QMenu *createPopUpMenuFromConfig(const QVariantList &items, QWidget *parent = nullptr);
  void createMenuItem(const QVariantMap &item, QMenu *menu);
  void updateLanguagesOfDynamicItem(const QString &key);
  void updateMenuLanguage(const QVariantList &items);
  void updateDynamicControllersByKey(const QString &key);
  void setDynamicControllersEnabledByKey(const QString &key, bool enabled);
  void updateDynamicItemsByModule(const QString &imageName);
  void updateDrawerOffsetByWindow(const QString &itemName);
  void initializeDrawer();
  void changeMainTabViewItemSize(const QString &key);
  bool hasModuleWith(const QString &identifier) const;
  // Calls the method named by an "itemAction" or "menuItemAction" entry with `sender`; false, and
  // reported as missing, when this controller has no such method.
  bool performItemAction(const QByteArray &action, QObject *sender);

protected:
  // Hooks, empty here; run in this order by awakeFromNib().
  virtual void initializeSkin() {}
  virtual void initializeNibResources() {}
  virtual void registerMessages() {}
  virtual void initializeController() {}
  virtual void loadCommonBundle() {}

  NotificationCenter *notificationCenter;

private:
  void cancelPendingStop();

  QVariantMap *settingDict_;
  QVariantMap ownSettings_; // only when no ConfigManager exists
  QPointer<QWidget> viewOfOldTavViewItem_;
  std::unique_ptr<LoadedPlugIn> loadedBundle_;
  QString customDateFormat_;
  std::optional<QFont> font_;
  QString fontName_;
  float fontSize_ = 0;
  QTimer stopSoundTimer_;
};
