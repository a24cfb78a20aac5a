#pragma once

#include "QELUIController.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVariantList>

class ButtonMatrix;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class LimitNoticeWindow;

// The connection controller: the connection state, the disconnect on quit, the status texts of
// its connection area, and the connection profiles (dialConfig.plist, the current profile, the
// operator's default profiles, the dial parameters and the profile windows). The profile code
// lives in the DialController*.cpp category files; every widget outlet may be null, so the
// logic runs without windows.
class DialController : public QELUIController {
  Q_OBJECT
public:
  enum ConnectStatus { kDisconnected = 0, kConnecting = 1, kDisconnecting = 2, kConnected = 3 };
  enum ConnectType { kDialUp = 0, kNDIS = 1 };

  explicit DialController(QObject *parent = nullptr);
  ~DialController() override;

  int connectStatus() const { return connectStatus_; }
  // YES while a connection is up or being made and "AppWillClose" has not been seen yet.
  bool GetisDialNow() const;
  // Disconnects by the current connection type.
  void SelectDisconnectAction();
  void applicationDidFinishLaunchingInDialController();
  // Sends the current connection profile to the backend (module 2, 257/61).
  void setDialParams();

  // The modem-and-SIM status line of the connection area (worded on display).
  void setModemAndSimStateString(const QString &wordingKey);
  QString modemAndSimStateString() const { return modemAndSimState_; }
  void setDeviceStatusStringRows(int rows) { deviceStatusRows_ = rows; }
  void ruvozUITopFixedImage(const QString &topImage, const QString &homePageImage, const QString &connectBtnName,
                            const QString &deviceStatus);
  QString ruvozDeviceStatus() const { return ruvozDeviceStatus_; }

  Q_INVOKABLE void applicationWillClose(const Notification &notification);
  Q_INVOKABLE void updateLanguages(const Notification &notification);
  Q_INVOKABLE void devicePlugin(const Notification &notification);
  Q_INVOKABLE void deviceRemoved(const Notification &notification);

  // ---- what the device status asks of the connection when the network changes ----
  // Disconnects the current connection (by its type).
  void DialDisconnect();
  // Connects again after a drop; `automatic` as the reconnect rules pass it.
  void reconnect(bool automatic);
  // YES while a connect request is on its way.
  bool isDoingConnect() const { return doingConnect_; }
  void setDoingConnect(bool on) { doingConnect_ = on; }
  // YES once the user disconnected by hand; automatic connects keep off then.
  bool hadDoManualDisconnect() const { return manualDisconnect_; }
  void setHadDoManualDisconnect(bool on) { manualDisconnect_ = on; }
  // Lets the profile cycle try the next APN on the next connect.
  void setApnCycleEnable(bool on) { apnCycleEnabled_ = on; }
  bool apnCycleEnable() const { return apnCycleEnabled_; }
  bool apnCycleEnabled() const { return apnCycleEnabled_; }
  // Whether the PS domain is registered: the connect buttons may connect only then.
  void setPSDomainStatus(bool ps);
  bool psDomainStatus() const { return psDomainStatus_; }
  // Follows the network type of every registration report: "No Service" while connected arms a
  // one-shot disconnect; a service back before it fires cancels it; a service back after it
  // disconnected connects again.
  void changeDialConnectStatusWhenNoSignal(const QByteArray &networkType);
  Q_INVOKABLE void disConnectTimer(QObject *timer = nullptr);
  bool disconnectAfterNoSignal90s() const { return disconnectAfterNoSignal90s_; }
  bool isNoSignalTimerActive() const { return noSignalTimer_.isActive(); }
  // Connects (YES) or disconnects (NO) as the connect button would.
  void connectOrDisconnectNetwork(bool connect);
  // Counters the tests and the main window read until the connection code arrives.
  int disconnectRequests() const { return disconnectRequests_; }
  int connectRequests() const { return connectRequests_; }
  int reconnectRequests() const { return reconnectRequests_; }
  // The no-service delay (tests shorten it).
  static void setNoSignalDisconnectDelayMs(int ms);
  // ---- end ----

  // Tests and the connection code that arrives later set the state through here.
  void setConnectStatus(int status) { connectStatus_ = status; }

  // Bytes sent plus received on the current connection.
  double getCurrentTotalData() const { return currentTotalData_; }
  void setCurrentTotalData(double bytes) { currentTotalData_ = bytes; }
  // The connect button gives way to the USSD-active button while USSD runs.
  void setIsHiddenConnectBtn(bool hidden) { connectBtnHidden_ = hidden; }
  bool isHiddenConnectBtn() const { return connectBtnHidden_; }

  // ======== connection profiles ========
  // The profiles in memory; the first readDefaultProfileNum() are the operator's presets.
  QVariantList dialConfigArray;
  // With Internet/"AddAPNWithSIM": the profiles of other SIMs, kept aside and merged on save.
  QVariantList dialConfigArrayWithSIM_;
  // The selected combo item: 0 is the heading row, profile i is item i + 1.
  int m_IndexOfComboBoxSelectionNow = 0;
  bool alreadyGetSimIMSIFlag_ = false;
  // Ask for the account before connecting (Internet/"CheckAPNAccount").
  bool checkUsernameFlag_ = false;
  bool bSupportDoublePdp_ = false;
  // Automatic retries of the current connect (the disable-alert flag of the dial parameters).
  int reconnectTimes = 0;

  // Store (file, combo box, table).
  void loadDialConfig();
  bool saveDialConfigFile();
  void loadDialConfigWithSIM();
  Q_INVOKABLE void alreadyGetSimIMSI(const Notification &notification);
  void updateInterface() { loadDialConfig(); }
  Q_INVOKABLE void AddAPNInfo(QObject *sender = nullptr);
  Q_INVOKABLE void DelAPNInfo(QObject *sender = nullptr);
  void displayAPNInfo();
  void InitAPNConfigEdit();
  void InitAPNConfigBrowse();
  Q_INVOKABLE void toggleBrowserView(QObject *sender = nullptr);
  int numberOfItemsInComboBox() const { return int(dialConfigArray.size()) + 1; }
  QString comboBoxObjectValueForItemAtIndex(int index) const;
  void comboBoxSelectionDidChange(int index);
  int numberOfRowsInTableView() const { return int(dialConfigArray.size()); }
  QString tableViewObjectValueForRow(int row) const;
  void tableViewSelectionDidChange();
  void reloadComboBox();
  void reloadTable();
  int selectedTableRow() const;
  // The path an unreadable dialConfig.plist was moved to, if any.
  QString dialConfigSetAsidePath() const { return dialConfigSetAside_; }

  // Default profiles of the operator.
  void resetDefaultProfileWithMcc(const QString &mcc, const QString &mnc);
  void resetDefaultProfileWithMCCMNC(const QString &mccmnc);
  void resetDefaultProfileWithImsiAll(const QByteArray &imsi);
  void resetGlobalDefaultProfileWithImsi(const QByteArray &imsi);
  // Every default-profile request of this run, oldest first ("imsi:", "global:", "mcc:",
  // "serving:" and its key): what the device-status rules asked for, for the record and the tests.
  QStringList defaultProfileRequests() const { return defaultProfileRequests_; }
  void resetDialConfigListWithMatchedApn(const QVariantList &profiles);
  void resetDiaCfgListWithImsiCfg(const QVariantMap &profile);
  void setDefaultProfile(int index);
  QString getDefaultProfileAPN() const;
  void reloadApnListView();
  Q_INVOKABLE void enableAutoApnMatch(QObject *sender = nullptr);
  void setBtnAutoAPNMatchState();
  static int defaultAuthMode();

  // Current profile, APN cycle, MMS profile.
  int readCurrentProfile() const;
  void writeCurrentProfile(int profile);
  int readDefaultProfileNum() const;
  void writeDefaultProfileNum(int number);
  int MMSDefaultProfileNum() const { return readDefaultProfileNum(); }
  void dialConfigListSelectItemAtIndex(int item);
  void setCurrentProfile();
  void setDialConfig(int index);
  QString getAPNString() const;
  bool isDefaultAPN() const;
  Q_INVOKABLE void ChangeAPNSelection(const Notification &notification = {});
  void resetDialCfgListWithCfgArray(const QVariantList &profiles);
  void apnCycleStart();
  bool apnCycleTryNext();
  void apnCycleEnd();
  bool apnCycleLastTry() const;
  QList<int> apnCycleList() const { return apnCycleArray; }
  bool hasApnCycle() const { return apnCycleRunning_; }
  void setManualDisconnect(bool manual);
  QString MMSAccessPoint() const;
  QString MMSGatewayUsername() const;
  QString MMSGatewayPassword() const;
  void addMMSConfig();
  void removeMMSConfig();
  // The MMS profile's combo item (0 when there is none); found by its mark, as profiles added
  // or deleted since it was added move it.
  int IDMMSConfig() const;
  bool hasMMSConfig() const { return flagAddMMSConfig_; }

  // Dial parameters.
  int setParaDisableAlertWindow() const;
  static int readConnectType();
  Q_INVOKABLE void connectTypeDidChanged(const Notification &notification = {});
  void setDefaultDialParamsForIPv6(QVariantMap &profile) const;
  void addIPv6ParaNumArray(QStringList &numKeys, QStringList &strKeys) const;
  void saveDialConfigForIPv6();
  void displyEditDialParamsForIPv6(const QVariantMap &profile);
  // The last record sent (tests, diagnostics).
  QByteArray lastDialParams() const { return lastDialParams_; }
  int dialParamsSent() const { return dialParamsSent_; }
  Q_INVOKABLE void dealWithMsgOfAPNSet(const Notification &notification) { Q_UNUSED(notification) }

  // Profile fields.
  QVariantMap createSafeDialConfig(const QVariantMap &profile) const;
  static QVariant getSafeDialStrParas(const QVariantMap &profile, const QString &key);
  static QVariant getSafeDialNumParas(const QVariantMap &profile, const QString &key);
  QString createNewProvider() const;
  QString createDialNumber() const;
  QString getApnProviderNameWith(const QVariantMap &profile) const;
  void setdialControls(QWidget *control, const QVariantMap &profile, const QString &key);
  void setBrowseWinValue(const QVariantMap &profile);
  void setEditWinValue(const QVariantMap &profile);

  // Profile windows.
  Q_INVOKABLE void popUpDialConfigWindow();
  Q_INVOKABLE void closeDialConfigSettings(QObject *sender = nullptr);
  Q_INVOKABLE void editDialConfigSettings(QObject *sender = nullptr);
  Q_INVOKABLE void browseDialConfigSettings(QObject *sender = nullptr);
  Q_INVOKABLE void editWindowOK(QObject *sender = nullptr);
  Q_INVOKABLE void editWindowCancel(QObject *sender = nullptr);
  void setEidtStatusAtRow(int row);
  void setDeviceStatus(bool removed) { isDeviceRemoved_ = removed; }
  bool checkDialConfigIsValid();
  bool checkProviderIsValid(const QString &name);
  bool checkAPNIsValid(const QString &apn);
  static bool checkIPv6DNSIsValid(const QString &dns) { return dns.size() <= 40; }
  void saveCurrentDialConfig();
  Q_INVOKABLE void saveAPNPassword(QObject *sender = nullptr);
  Q_INVOKABLE void selectObtainAPNType(QObject *sender = nullptr);
  Q_INVOKABLE void selectObtainPDPType(QObject *sender = nullptr);
  Q_INVOKABLE void selectObtainDNSType(QObject *sender = nullptr);
  void setAPNEditWinControlsStatus();
  void setAPNEditWinControlsStatusWithConfig();
  void setEditWinControlsStatus(bool enabled);
  void setBrowseWinControlsStatus(bool enabled);
  void forbiddenOperateIpv6Apn();
  void changeControlsPosForProfile();
  Q_INVOKABLE void setWCDMAConfigHidden(bool hide);
  void runWarningPanel(const QString &messageKey);
  void Init_config_nib();
  void Init_editConfig_nib();
  void setNewDialConfig();

  // Input filters of the profile and account fields.
  Q_INVOKABLE void controlTextDidChange(QLineEdit *field);
  QString formatTelephoneNumber(const QString &text) const;
  QString formatAPN(const QString &text) const;
  QString formatPassword(const QString &text) const;
  QString formatIPv6DNS(const QString &text) const;

  // Account check before a connect.
  bool checkAPNAccountFlag() const;
  bool checkAPNAccount();
  Q_INVOKABLE void checkWindowOK(QObject *sender = nullptr);
  Q_INVOKABLE void checkWindowCancel(QObject *sender = nullptr);
  // Called 0.05 s after the account sheet's OK (the connect road takes it over).
  int performDialOptionRequests() const { return performDialOptionRequests_; }

  // Operator rules for the profile buttons.
  bool checkProviderIsEditable(int row) const;
  void setUsernameAndPasswordEditable(int row);
  void setBtnStausForZUDE(int row);

  // PDP type groups and the IPv6 controls.
  void supportIPv6();
  void checkIsSupportDoublePdpSettings();
  bool isSupportDoblePdpSettings() const { return bSupportDoublePdp_; }
  static int getPDPType(const ButtonMatrix *group);
  static int getFourPDPType(const ButtonMatrix *group);
  static int getThreePDPType(const ButtonMatrix *group);
  static void displayPDPAt(ButtonMatrix *group, int type);
  Q_INVOKABLE void setPdpTypeStatus(QObject *sender = nullptr);
  void pdpTypeSelect(QObject *sender = nullptr);
  void setIPv4ApnEnabled(bool enabled);
  void setIPv6ApnEnabled(bool enabled);
  Q_INVOKABLE void setUseSinglePdpForIPv6(QObject *sender = nullptr);
  Q_INVOKABLE void saveAPNPasswordIPv6(QObject *sender = nullptr);
  void selectObtainAPNTypeIPv6(ButtonMatrix *apnGroup);
  Q_INVOKABLE void selectObtainPDPTypeIPv6(QObject *sender = nullptr);
  Q_INVOKABLE void selectObtainDNSTypeIPv6(QObject *sender = nullptr);
  void setApnEditWinCtrlStatusForIPv6();
  Q_INVOKABLE void advancedApnConfigForIPv4(QObject *sender = nullptr);
  Q_INVOKABLE void commonApnConfigForIPv4(QObject *sender = nullptr);
  Q_INVOKABLE void advancedApnConfigForIPv6(QObject *sender = nullptr);
  Q_INVOKABLE void commonApnConfigForIPv6(QObject *sender = nullptr);
  bool tabViewShouldSelectTabViewItem(QTabWidget *tabView) const;
  static int specialPdpTypeProcess(int type);

  // ---- outlets of the Internet page ----
  QPointer<QComboBox> m_DialConfigList;
  QPointer<QLineEdit> m_TelephoneNumber, m_Username, m_Password;
  QPointer<QLabel> Net_DefaultConfiguration, Net_TelNumber, Net_UserName, Net_Password;
  QPointer<QLabel> apnProviderLabel_, postDialListCombox_, Net_CurrentApnName, apnProviderLabelForVavav_;
  QPointer<QCheckBox> btnEnableAutoAPNMatch_;
  QPointer<QLabel> APNNotsForZIZ_;
  QPointer<QWidget> horizontalLine1ForZIZ_, horizontalLine2ForZIZ_;
  QPointer<QLabel> Net_Status, Net_Send, Net_Receive, Net_ConnectTime, Net_IPAddress;
  QPointer<QLabel> m_ConnectState, m_FluxForSend, m_FluxForReceive, m_ConnectTime, m_IPAddress;
  QPointer<QPushButton> m_ConnectButton;

  // ---- outlets of the management sheet and its browse view ----
  QPointer<QDialog> m_dialConfigWindow;
  QPointer<QTableWidget> m_configListView;
  QPointer<QPushButton> m_browseProfileBtn, m_editProfileBtn, m_AddAPNInfoBtn, m_DelAPNInfoBtn, m_closeBtnForConfig;
  QPointer<QWidget> viewDialBrowse_;
  QPointer<QLineEdit> m_bProviderForConfig, m_bTelephoneNumber, m_bUsername, m_bPassword, m_bAPN, m_bPDPAddress,
      m_bPreferredDNS, m_bAlternateDNS, tfBrowseApnIPv6_;
  QPointer<QCheckBox> m_bIsSaveUserInfo, bAskUernameCheck_;
  QPointer<ButtonMatrix> m_bIsAutoObtainAPN, m_bIsAutoObtainPDP, m_bIsAutoObtainDNS, m_bAuthMode, bPDPTypeGroup_;
  QPointer<QLabel> Config_Profile, Config_TelNumber, Config_UserName, Config_Password, Config_APN, Config_PreferredDNS,
      Config_AlternateDNS, Config_Address, Config_AuthMode;
  QPointer<QWidget> bottomDivideLine;

  // ---- outlets of the edit sheet ----
  QPointer<QDialog> m_profileEditWin;
  QPointer<QLineEdit> m_eProviderForConfig, m_eTelephoneNumber, m_eUsername, m_ePassword, m_eAPN, m_ePDPAddress,
      m_ePreferredDNS, m_eAlternateDNS;
  QPointer<QCheckBox> m_eIsSaveUserInfo, eAskUernameCheck_;
  QPointer<ButtonMatrix> m_eIsAutoObtainAPN, m_eIsAutoObtainPDP, m_eIsAutoObtainDNS, m_eAuthMode, ePDPTypeGroup_;
  QPointer<QLabel> EditConfig_Profile, EditConfig_TelNumber, EditConfig_UserName, EditConfig_Password, EditConfig_APN,
      EditConfig_PreferredDNS, EditConfig_AlternateDNS, EditConfig_Address, EditConfig_AuthMode;
  QPointer<QPushButton> m_profileEditOKBtn, m_profileEditCancelBtn;
  QPointer<QWidget> eTopDivideLine, eBottomDivideLine;
  // IPv6 controls of the edit sheet.
  QPointer<QTabWidget> tabviewApnSettings_, tabviewIpv4ApnConfig_, tabviewIpv6ApnConfig_;
  QPointer<QCheckBox> checkSavePasswordForIPv6_, checkSinglePdp_;
  QPointer<QLineEdit> tfUsernameForIPv6_, tfPasswordForIPv6_, tfApnIPv6_, tfPdpAddrIPv6_, tfPreferDNSIPv6_,
      tfAltDNSIPv6_;
  QPointer<ButtonMatrix> radioObtainApnIPv6_, radioAuthModeIPv6_, radioObtainPdpIPv6_, radioObtainDNSIPv6_;
  QPointer<QLabel> labelPreDNSIPv6_, labelAltDNSIPv6_;

  // ---- outlets of the account sheet ----
  QPointer<QDialog> checkUernameWin_;
  QPointer<QLineEdit> winUernameText_, winPasswordText_;
  QPointer<QCheckBox> winAskUsernameCheck_;
  QPointer<QLabel> winUernameLabel_, winPasswordLabel_;
  QPointer<QPushButton> askWinOK_, askWinCancel_;
  // ======== end of connection profiles ========

  // ---- linked icons (DialControllerWebLinks.cpp) ----
  // The download folder "vuzira/images/" and the list "IconLinks.plist" of the ModemList folder.
  void initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  // The start-up step: set-up, date queries of the icons, and the link pictures following the
  // connection ("SetWebLinkImageViewEnabled" once connected, "...Disabled" when it drops).
  void startWebLinksAtStartUp();
  Q_INVOKABLE void loadIconImageAccordingProperty(const QVariantMap &entry);
  QVariantList loadedIconProperties() const { return loadedIconProperties_; }
  QVariantList loadedIconProperties_;

  // ======== pre-connect checks (DialControllerChecks.cpp) ========
  // YES hands the connect over to the device lock code (the request stops here).
  bool checkDeviceLockStatus(QObject *sender);
  bool allowUserConnect();
  bool allowRoamWithAlert();
  bool showAlertWin();
  QString roamAlertOKBtnWording() const;
  bool displayDataLimitWarning();
  bool displayTimeLimitWarning();
  // The data or the time question, by Record/"recordLimitState".
  bool displayLimitWarningBeforeConnect();
  bool allowUserDisconnect();
  void displayUKMTSWaring();
  // Whether the last registration report named a 2G network.
  bool is2GNetWork() const { return is2GNetWork_; }
  void setIs2GNetWork(bool on) { is2GNetWork_ = on; }
  // The sender of the connect that follows an accepted device lock code.
  static QObject *deviceUnlockedSender();
  // The checks of a connect request in their order; NO stops it (the button is enabled again).
  bool runPreConnectChecks(QObject *sender);
  bool clickOKForAPNPromptFlag_ = false;
  // ======== end of pre-connect checks ========

  // ======== usage limits while connected (DialControllerLimits.cpp) ========
  // The figures the limit checks count besides the records: this connection's bytes and seconds.
  struct UsageFigures {
    double sentBytes = 0;
    double receivedBytes = 0;
    qint64 seconds = 0;
  };
  UsageFigures limitFigures() const;
  void setLimitFigures(const UsageFigures &figures) { limitFigures_ = figures; }
  // The tick of the connection's status poll (with recordLimitWarnForVavu): the 80 % warning and
  // the limit action, each at most once per connection.
  void checkRecordLimit();
  // A new connection may warn and act again.
  void resetLimitFlagsForConnect();
  void recordLimitWarn();
  void recordDataLimitWarn();
  void recordTimeLimitWarn();
  void recordLimitDisconnect();
  void recordDataLimitDisconnect();
  void recordTimeLimitDisconnect();
  void recordDataLimitDisconnectForET();
  void recordTimeLimitDisconnectForET();
  int delayForLimistDisconnect() const;
  void runLimitWarning(const QString &message);
  Q_INVOKABLE void closeLimitWarningPanel(QObject *sender = nullptr);
  Q_INVOKABLE void reachLimitsMsgOK(QObject *sender = nullptr);
  void recordLimitWarnForVavu();
  void dataLimitWarnForVavu();
  void timeLimitForVavu();
  void runVolumeLimitWaring(const QString &wordingKey);
  bool doBeforeConnect();
  void doAfterConnected();
  void performCloseActionForZID();
  // The records' totals plus this connection's, unless its record is saved already.
  double currentTotalDataKB() const;
  qint64 currentTotalSeconds() const;
  QPointer<LimitNoticeWindow> wndLimitWarning_;
  QPointer<LimitNoticeWindow> reachLimitsMsg;
  LimitNoticeWindow *limitWarningWindow();
  LimitNoticeWindow *reachLimitsWindow();
  bool warnLimitFlag = true;
  bool autoDisconnectFlag = true;
  bool saveRecordFlag = false;
  bool warnLimitExceedFlag = true;
  bool warnLimit75Flag_ = true;
  bool warnLimit50Flag_ = true;
  bool warnLimit25Flag_ = true;
  // Disconnect requests the limits made (one per reached limit).
  int limitDisconnectRequests() const { return limitDisconnectRequests_; }
  // ======== end of usage limits ========

signals:
  void modemAndSimStateChanged(const QString &text);

protected:
  void registerMessages() override;
  void initializeController() override;

private:
  QVariantMap currentProfile() const;
  QVariantMap profileAt(int index) const;
  void postTableSelectionChanged();
  // Runs one of the profile sheets; YES when it ended with its default button.
  int runProfileSheet(QDialog *sheet, const QString &kind);
  QVariantMap mmsAccount() const;

  QList<int> apnCycleArray;
  int apnCycleCurrentAPN = 0;
  bool apnCycleRunning_ = false;
  bool flagAddMMSConfig_ = false;
  int nMMSconfigItem_ = 0;
  QVariantMap mmsProfile_;
  bool isDeviceRemoved_ = false;
  bool editAccepted_ = false;
  bool accountAccepted_ = false;
  bool browseViewOpen_ = false;
  int performDialOptionRequests_ = 0;
  QByteArray lastDialParams_;
  int dialParamsSent_ = 0;
  QString dialConfigSetAside_;
  bool updatingCombo_ = false;

  int connectStatus_ = kDisconnected;
  bool appWillClose_ = false;
  double currentTotalData_ = 0;
  bool connectBtnHidden_ = false;
  int deviceStatusRows_ = 1;
  QString modemAndSimState_;
  QString ruvozDeviceStatus_;
  bool doingConnect_ = false;
  bool manualDisconnect_ = false;
  bool apnCycleEnabled_ = false;
  bool psDomainStatus_ = false;
  bool disconnectAfterNoSignal90s_ = false;
  int disconnectRequests_ = 0;
  int connectRequests_ = 0;
  int reconnectRequests_ = 0;
  QTimer noSignalTimer_;
  QStringList defaultProfileRequests_;
  // Usage limits.
  void limitDisconnect();
  UsageFigures limitFigures_;
  int limitDisconnectRequests_ = 0;
  bool closingForZID_ = false;
  bool is2GNetWork_ = false;
  bool askDeviceLockCodeForConnect();
};

extern DialController *g_DialController;
