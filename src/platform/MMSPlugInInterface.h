#pragma once

#include <QObject>
#include <QStringList>
#include <QtPlugin>

class QWidget;

// What the MMS tab asks of its plug-in's principal object. The plug-in words its texts through
// the host's WordingHostInterface (PlugInHosts.h) and calls its other operations by name:
// windowDidMove(), configFormSoundPlay(int),
// mainFormchangeToOtherModule(QString), mainFormhasModuleWith(QString), msgBoxsearchMultiPhoneNumber(QString),
// msgBoxreplyMessageFromMMS(QString), getFlagIsConnect(), getAPNString(), connect(QObject*),
// disConnect(QObject*), addMMSConfig(), removeMMSConfig(), setDialConfig(int), dialObject(),
// hostMainWindow(), showContactSelectWindow(QObject*).
class MMSPlugInInterface {
public:
  virtual ~MMSPlugInInterface() = default;
  virtual unsigned interfaceVersion() const = 0;
  virtual QObject *hostController() const = 0;
  virtual void setHostController(QObject *host) = 0;
  virtual QWidget *bundleView() = 0;
  virtual bool LoadMMSLib() = 0;
  virtual void updateMMSNib() = 0;
  virtual void updatePreviewWindowPosition() = 0;
  virtual void connectIdleStatuFromDial() = 0;
  virtual void connectRunningStatuFromDial() = 0;
  // 2 device plugged in, 12 SIM ready, 1 device removed.
  virtual void MMS_OnReceiveNetCardStatusChange(int status) = 0;
  virtual void setTheSearchFieldText(const QStringList &numbers) = 0;
  virtual void unloadMMSLib() = 0;
  // The data area of a push package and the bytes it holds (never more than the package's data).
  virtual void ProcMMSPush_Manual(const char *data, int length) = 0;
  virtual void changeLanguage() = 0;
};

#define MMSPlugInInterface_iid "org.qel.ConnectionManager.MMSPlugIn/1"
Q_DECLARE_INTERFACE(MMSPlugInInterface, MMSPlugInInterface_iid)
