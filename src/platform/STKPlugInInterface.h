#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtPlugin>

class QWidget;

// What the SIM toolkit tab asks of its plug-in's principal object, beside the common tab plug-in
// interface: the menu list and title, the Select, Back and Exit buttons, and the alert, input and
// information windows. The plug-in calls its host's SelectClicked(int) and
// getLanguageString(QString) through STKHostInterface (PlugInHosts.h), and its other answers
// (backClicked(), ExitClicked(), InputOKClicked(), InputCancelClicked(), AlertOKClicked(),
// AlertCancelClicked(), getmTextColor(), getIsNewUI(), GetGlobalSupportLanguage()) by name.
class STKPlugInInterface {
public:
  virtual ~STKPlugInInterface() = default;
  virtual int interfaceVersion() const = 0;
  virtual QObject *hostController() const = 0;
  virtual void setHostController(QObject *host) = 0;
  virtual QWidget *bundleView() = 0;
  virtual void STK_OnReceiveNetCardStatusChange(int status) = 0;
  virtual void Init_STK_nib() = 0;
  virtual void SelectBtnSetEnabled(bool enabled) = 0;
  virtual void BackBtnSetEnabled(bool enabled) = 0;
  virtual void ExitBtnSetEnabled(bool enabled) = 0;
  virtual void clearMenuContextList() = 0;
  virtual void menutitleSetStringValue(const QString &title) = 0;
  // An entry is a dictionary with the one key "menu" (the item's text).
  virtual void menuContextListAddObj(const QVariantMap &entry) = 0;
  virtual void menuListReloadData() = 0;
  virtual void menuListDeselectAll() = 0;
  // 0 the main menu, 1 a sub-menu.
  virtual void setCurrentLocation(int location) = 0;
  virtual int getCurrentLocation() const = 0;
  virtual void SMSRStatusShutInfoWin() = 0;
  virtual void infoWindowShutDown() = 0;
  virtual void setSMSRStatus(int status) = 0;
  virtual int getSMSRStatus() const = 0;
  virtual void alertTextSetStringValue(const QString &text) = 0;
  virtual void popAlertWindow() = 0;
  virtual void hidePopAlertWindowBtn(bool hidden) = 0;
  virtual void informationTextSetStringValue(const QString &text) = 0;
  virtual void popInformationWindow() = 0;
  virtual void minLengthSetStringValue(const QString &text) = 0;
  virtual void setMinLen(int length) = 0;
  virtual int getMinLen() const = 0;
  virtual void maxLengthSetStringValue(const QString &text) = 0;
  virtual void setMaxLen(int length) = 0;
  virtual int getMaxLen() const = 0;
  virtual void inputTitleSetStringValue(const QString &text) = 0;
  virtual void inputTextSetStringValue(const QString &text) = 0;
  virtual QString inputTextStringValue() const = 0;
  virtual void popInputWindow() = 0;
  virtual void setResultOfIn(int result) = 0;
  virtual void setMenuTitleTextColor(const QColor &colour) = 0;
  virtual void setIsNewUI(bool on) = 0;
  virtual bool getIsNewUI() const = 0;
  virtual void closeAlertWindow() = 0;
  virtual void closeInputWindow() = 0;
  virtual void setMainWindow(QWidget *window) = 0;
};

#define STKPlugInInterface_iid "org.qel.ConnectionManager.STKPlugIn/1"
Q_DECLARE_INTERFACE(STKPlugInInterface, STKPlugInInterface_iid)
