#pragma once

#include "PlugInHosts.h"
#include "QELUIController.h"
#include "ServiceHostPage.h"
#include "UssdRecord.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVariantMap>
#include <functional>

// The controller behind the USSD tabs ("USSD1" to "USSD3"). The "USSDBundle" plug-in draws the
// pages and keeps the codes; this controller packs the plug-in's requests for the modem
// (module 7), turns the modem's answers and the network's replies into dictionaries for the
// plug-in, and carries the operator variants' USSD side (toolbar items, recharge link and
// messages, the connect button). The plug-in and the host talk by method name only: the host's
// operations below are Q_INVOKABLE, and the plug-in's are asked for with askPlugIn. Split by
// concern: USSDContrller.cpp (life, plug-in, requests and replies, tabs) and
// USSDContrllerHost.cpp (the operations the plug-in calls for the main window and neighbours).
class USSDContrller : public QELUIController, public USSDHostInterface {
  Q_OBJECT
  Q_INTERFACES(USSDHostInterface)
public:
  explicit USSDContrller(QObject *parent = nullptr);
  ~USSDContrller() override;

  // Outlets: the three places of the main window for the plug-in's views (made by the controller
  // when the builder gives none).
  QPointer<ServiceHostPage> hostView;
  QPointer<ServiceHostPage> hostViewTwo;
  QPointer<ServiceHostPage> viewHostThree_;
  // The pop-up USSD window: a code, Send, the network's reply and Close, for a quick request
  // without the USSD tab. It speaks to the modem through sendUSSDCommand as the tab does.
  QPointer<QWidget> popUpUssdWnd;
  QPointer<QComboBox> popupUssdCode_;
  QPointer<QPushButton> popupUssdSend_;
  QPointer<QPlainTextEdit> popupUssdReply_;
  QPointer<QLabel> popupUssdStatus_;
  // The notice that the network did not answer, with its OK; it goes when an answer comes, a new
  // request goes out or the device goes.
  QPointer<QWidget> wndUssdTimeOutPopup_;
  QPointer<QLabel> tfdUssdTimeOutInfo_;
  QPointer<QPushButton> btnUssdTimeOutOK_;

  int netCardStatus() const { return m_nNetCardStatus; }
  int sendType() const { return m_nSendType; }
  QString feedbackString() const { return m_StrFeedbackString; }
  QObject *bundleDelegate() const { return m_bundleDelegate; }

  // ---- operations the plug-in calls ----
  // Encodes and sends a request ("FIRST_PARAMETER", "CODE_TYPE", "CODE_STRING"). -1 for an empty
  // dictionary or a text that does not fit the request (nothing is then sent), else 0.
  Q_INVOKABLE int sendUSSDCommand(const QVariantMap &dict) override;
  Q_INVOKABLE int sendUSSDSMSCommand(const QVariantMap &dict);
  Q_INVOKABLE int getInternetConnectFlag();
  Q_INVOKABLE int get_flag_isconnect();
  Q_INVOKABLE int get_flag_status();
  Q_INVOKABLE int get_flag_list() { return 0; }
  Q_INVOKABLE QString getLanguageString(const QString &key) override;
  Q_INVOKABLE int USSDNSRunAlertPanelExt(const QVariantMap &dict);
  Q_INVOKABLE void toolbarEnable();
  Q_INVOKABLE void toolbarDisable();
  // The flags must be booleans; anything else is refused and logged.
  Q_INVOKABLE void setPrepaidBundleUSSDToolbarItemStatus(const QVariant &flag);
  Q_INVOKABLE void setPostpaidBundleUSSDToolbarItemStatus(const QVariant &flag);
  Q_INVOKABLE void setActivateBundleUSSDToolbarItemStatus(const QVariant &flag);
  Q_INVOKABLE void setEnabledToolbar(const QVariant &flag);
  Q_INVOKABLE void setDiagMSISDN(const QString &number);
  Q_INVOKABLE void openRechargeWeb(const QString &prefix);
  Q_INVOKABLE void selectMainUSSDTab();
  Q_INVOKABLE void openPopUpUssdWnd(QObject *sender = nullptr);
  Q_INVOKABLE void closePopUpUssdWnd(QObject *sender = nullptr);
  Q_INVOKABLE void openUssdTimeOutWndPopup();
  Q_INVOKABLE void closeUssdTimeOutWndPopup(QObject *sender = nullptr);
  Q_INVOKABLE void setConnectBtnEnableRadirer(bool enable) { isConnectBtnEnableForRadirer_ = enable; }

  // ---- operations other parts call ----
  Q_INVOKABLE void setBundleDelegate(QObject *delegate) { m_bundleDelegate = delegate; }
  Q_INVOKABLE bool getConnectBtnEnableRadirer() const { return isConnectBtnEnableForRadirer_; }

  // ---- notifications ----
  Q_INVOKABLE void ussdModelClicked(const Notification &n);
  Q_INVOKABLE void openPopUpUssdWnd(const Notification &n);
  Q_INVOKABLE void resetDefaultUssdWithImsi(const Notification &n);
  Q_INVOKABLE void readSMS(const Notification &n);
  Q_INVOKABLE void performUSSDNotification(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  // ---- backend packages ----
  Q_INVOKABLE void dealWithMsgOfRequest(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfFeedBack(const Notification &n);
  // The decoded forms (tests drive them directly).
  void requestAnswered(bool success);
  void feedbackReceived(const QByteArray &data);

  void netcardChanged(int status);
  void loadBundle();

  // Sees every request as it goes to the backend; tests install one.
  using RequestObserver = std::function<void(const QByteArray &data)>;
  static void setRequestObserver(RequestObserver observer);

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;

private:
  void sendMessage(const QByteArray &record);
  void setSendType(int n);
  void initUSSDModuleNib();
  void updateBundleNib();
  void selectAppointTabView();
  void setToolbarItem(const QVariant &flag, const QString &identifier, int insertWhich);
  void registerUIControllerMessages();
  void buildWindows();
  void sendFromPopup();
  void wordPopupWindows();
  bool gsm7() const;

  int m_nNetCardStatus = 0;
  int m_nSendType = 1;
  QString m_StrSendString;
  QString m_StrFeedbackString;
  UssdRecord::Reply m_Feedback;
  QPointer<QObject> m_bundleDelegate;
  bool isConnectBtnEnableForRadirer_ = false;
};

extern USSDContrller *g_USSDController;
