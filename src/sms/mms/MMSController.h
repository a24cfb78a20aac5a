#pragma once

#include "PlugInHosts.h"
#include "QELUIController.h"

#include <QPointer>
#include <functional>
#include <memory>

class MMSPlugInInterface;
class QPluginLoader;
struct Notification;

// The MMS tab's host: loads the MMS plug-in into the tab, forwards the backend's pushes and the
// program's dial, device, window, language and contact-picker events to it, and answers the
// plug-in's calls. Every forwarding call is a no-op while no plug-in is loaded.
class MMSController : public QELUIController, public WordingHostInterface {
  Q_OBJECT
  Q_INTERFACES(WordingHostInterface)
public:
  explicit MMSController(QObject *parent = nullptr);
  ~MMSController() override;
  static MMSController *sharedManager();

  // The tab's view the plug-in's view goes into; set by the builder.
  QPointer<QWidget> hostView_;
  // The plug-in's file name in the bundle's plug-ins folder (tests load others).
  QString bundleName = QStringLiteral("MMSBundle.bundle");
  // The connection side, wired by the builder: the connection controller, whether the data
  // connection is up, its Connect/Disconnect action, the APN and the MMS profile.
  struct Dial {
    QPointer<QObject> object;
    std::function<bool()> isConnected;
    std::function<void(QObject *sender)> dialOption;
    std::function<QString()> apn;
    std::function<void()> addMMSConfig;
    std::function<void()> removeMMSConfig;
    std::function<void(int)> setDialConfig;
  } dial;
  // The SMS side and the contact picker, wired by the builder.
  std::function<QString(const QString &)> searchMultiPhoneNumber;
  std::function<void(const QString &)> replyMessageFromMMS;
  std::function<void(QObject *host)> showContactPicker;

  MMSPlugInInterface *bundleDelegate() const { return bundleDelegate_; }
  void loadBundle();
  void attachBundleView();
  Q_INVOKABLE void dealWithMMSOfNewPush(const Notification &n);

  // Host to plug-in.
  void connectIdleStatuFromDial();
  void connectRunningStatuFromDial();
  Q_INVOKABLE void windowDidMove();
  Q_INVOKABLE void setTheSearchFieldText(const QStringList &numbers);
  void netcardChanged(int status);
  void unloadMMSLib();
  void informBundleLanguageChanged();
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  // Plug-in to host.
  Q_INVOKABLE QString Map_Name_Item_of_IndexStr(const QString &key) const;
  QString getLanguageString(const QString &key) override { return Map_Name_Item_of_IndexStr(key); }
  Q_INVOKABLE void configFormSoundPlay(int type);
  Q_INVOKABLE void mainFormchangeToOtherModule(const QString &identifier);
  Q_INVOKABLE bool mainFormhasModuleWith(const QString &module) const;
  Q_INVOKABLE QString msgBoxsearchMultiPhoneNumber(const QString &numbers) const;
  Q_INVOKABLE void msgBoxreplyMessageFromMMS(const QString &number);
  Q_INVOKABLE bool getFlagIsConnect() const;
  Q_INVOKABLE QString getAPNString() const;
  // Connect only while disconnected, disconnect only while connected: the one action both call
  // toggles, so a connect while connected would drop the connection.
  Q_INVOKABLE void connect(QObject *sender = nullptr);
  Q_INVOKABLE void disConnect(QObject *sender = nullptr);
  Q_INVOKABLE void addMMSConfig();
  Q_INVOKABLE void removeMMSConfig();
  Q_INVOKABLE void setDialConfig(int index);
  Q_INVOKABLE QObject *dialObject() const { return dial.object; }
  Q_INVOKABLE QWidget *hostMainWindow() const { return wndMain; }
  Q_INVOKABLE void showContactSelectWindow(QObject *sender = nullptr);

protected:
  void initializeNibResources() override;
  void registerMessages() override;

private:
  std::unique_ptr<QPluginLoader> loader_;
  MMSPlugInInterface *bundleDelegate_ = nullptr;
};
