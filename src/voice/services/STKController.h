#pragma once

#include "PlugInHosts.h"
#include "QELUIController.h"
#include "STKPlugInInterface.h"
#include "ServiceHostPage.h"
#include "StkRecords.h"

#include <QPointer>
#include <functional>

// The controller of the "STK" tab: it shows the SIM application's proactive requests (module 6)
// through the "STKBundle" plug-in (menus, alerts, inputs, information) and sends the user's
// answers back. It also finishes the roaming-IMSI choice the settings window starts: once the
// SIM's main menu is known the choice is offered, and a sub-menu then answers itself with the
// item the settings chose.
class STKController : public QELUIController, public STKHostInterface {
  Q_OBJECT
  Q_INTERFACES(STKHostInterface)
public:
  explicit STKController(QObject *parent = nullptr);
  ~STKController() override;

  QPointer<ServiceHostPage> hostView;

  STKPlugInInterface *bundleDelegate() const { return bundleObject_ ? m_bundleDelegate : nullptr; }
  const StkRecords::Menu &mainMenu() const { return mMainMenu; }
  const StkRecords::Menu &subMenu() const { return mSubMenu; }

  // ---- the plug-in's buttons ----
  Q_INVOKABLE void SelectClicked(int index) override;
  Q_INVOKABLE void backClicked();
  Q_INVOKABLE void ExitClicked();
  Q_INVOKABLE void InputOKClicked();
  Q_INVOKABLE void InputCancelClicked();
  Q_INVOKABLE void AlertOKClicked();
  Q_INVOKABLE void AlertCancelClicked();
  Q_INVOKABLE QString getLanguageString(const QString &key) override;
  Q_INVOKABLE QColor getmTextColor() const { return Qt::black; }
  Q_INVOKABLE bool getIsNewUI() const { return isNewUI; }
  Q_INVOKABLE int GetGlobalSupportLanguage();

  // ---- backend packages (type 0 only) ----
  Q_INVOKABLE void dealWithMsgOfMAINMENU(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSUBMENU(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfALERTREQ(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfINPUTREQ(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfINFORMATION(const Notification &n);
  // The decoded forms (tests drive them directly).
  void showMainMenu(const QByteArray &data);
  void showSubMenu(const QByteArray &data);
  void showAlert(const QByteArray &data, bool hideButton);
  void showInput(const QByteArray &data);
  void showInformation(const QByteArray &data);

  // ---- notifications ----
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  void netcardChanged(int) {}
  void loadBundle();
  // The plug-in's file name ("STKBundle.bundle"); tests load another.
  static void setBundleName(const QString &name);

  // Sees every request as it goes to the backend (minor id and data); tests install one.
  using RequestObserver = std::function<void(int minor, const QByteArray &data)>;
  static void setRequestObserver(RequestObserver observer);

protected:
  void initializeNibResources() override;
  void registerMessages() override;

private:
  void send(int minor, const QByteArray &data = {});
  void fillMenu(const StkRecords::Menu &menu);
  void closeWindows();

  STKPlugInInterface *m_bundleDelegate = nullptr;
  QPointer<QObject> bundleObject_; // the plug-in's object; m_bundleDelegate is valid while it lives
  bool isNewUI = true;
  int location_ = 0; // the last menu shown, for a host without plug-in
  StkRecords::Menu mMainMenu;
  StkRecords::Menu mSubMenu;
};

extern STKController *g_STKController;
