#pragma once

#include "ConnectFigures.h"
#include "ConnectionNeighbour.h"
#include "QELUIController.h"

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QVariantList>
#include <array>
#include <memory>

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
class statisticsView;
class LimitNoticeWindow;
struct SpeedTestFigures;
struct SpeedTestSetup;
class WebView;
class WebViewDelegate;
class WeblinkButton;
class WebLinkImageView;

// The connection controller: the connection state, the disconnect on quit, the status texts of
// its connection area, and the connection profiles (dialConfig.plist, the current profile, the
// operator's default profiles, the dial parameters and the profile windows). The profile code
// lives in the DialController*.cpp category files; every widget outlet may be null, so the
// logic runs without windows.
class DialController : public QELUIController, public ConnectionNeighbour {
  Q_OBJECT
public:
  enum ConnectType { kDialUp = 0, kNDIS = 1 };

  explicit DialController(QObject *parent = nullptr);
  ~DialController() override;

  int connectStatus() const override { return connectStatus_; }
  // Reloads the Internet tab's favourite links from "FavoriteLinks.plist" (the settings window's
  // FavoriteLinks page saved them).
  Q_INVOKABLE void loadFavoritesLinkPropeties() override;
  const QVariantList &favoritesLinkProperties() const { return favoritesLinkProperties_; }
  // YES while a connection is up or being made and "AppWillClose" has not been seen yet.
  bool GetisDialNow() const override;
  // Disconnects by the current connection type.
  void SelectDisconnectAction();
  void applicationDidFinishLaunchingInDialController() override;
  // The Internet tab's statistics button: the records tab.
  Q_INVOKABLE void addStatisticsInInternet(QObject *sender = nullptr);
  // Sends the current connection profile to the backend (module 2, 257/61).
  void setDialParams() override;

  // The modem-and-SIM status line of the connection area (worded on display).
  void setModemAndSimStateString(const QString &wordingKey) override;
  QString modemAndSimStateString() const { return modemAndSimState_; }
  void setDeviceStatusStringRows(int rows) override { deviceStatusRows_ = rows; }
  void ruvozUITopFixedImage(const QString &topImage, const QString &homePageImage, const QString &connectBtnName,
                            const QString &deviceStatus) override;
  QString ruvozDeviceStatus() const { return ruvozDeviceStatus_; }

  // "AppWillClose": with MAINFORM/"CloseAppWihoutQueryConnection" a connection still up is
  // taken down, its record saved, and the program quits once the link is down.
  Q_INVOKABLE void applicationWillClose(const Notification &notification);
  void quitOnceDisconnected();
  bool isQuitRequested() const { return quitRequested_; }
  Q_INVOKABLE void updateLanguages(const Notification &notification);
  Q_INVOKABLE void devicePlugin(const Notification &notification);
  Q_INVOKABLE void deviceRemoved(const Notification &notification);

  // ======== connect and disconnect ========
  // The status is written only here: 0 and 3 set "runtimeIsConnecttedFlag" and post
  // "ConnectStatusDidChange"; 1 and 2 are stored silently.
  void setConnectStatus(int status);
  bool getFlagIsConnect() const { return connectStatus_ == kConnected; }
  // YES while a connect or a disconnect is on its way (status 1 or 2).
  bool isDoingConnect() const override { return connectStatus_ == kConnecting || connectStatus_ == kDisconnecting; }
  bool isDataServicesInUsage() const { return connectStatus_ != kDisconnected; }
  bool isManalConnect() const { return bManualConnect_; }
  void setManualConnect(bool on) { bManualConnect_ = on; }
  bool manualConnectSucceeded() const { return bManualConnectSuccess_; }

  // The Connect/Disconnect action (sender null: an automatic request) and its dispatcher, run
  // 0.05 s later.
  Q_INVOKABLE void DialOption(QObject *sender = nullptr);
  Q_INVOKABLE void performDialOption(QObject *sender = nullptr);
  // The checks of DialOption after the account step (connect warning, operator APN prompt,
  // frequency lock, manual mark); NO stops the connect.
  bool finishConnectChecks(QObject *sender);
  // The account sheet's OK: the remaining checks, then the connect.
  void resumeConnectAfterAccount(QObject *sender);
  // Runs performDialOption after 0.05 s, only while the status still fits the direction asked
  // for (a connect from idle; a cancel or a disconnect otherwise).
  void schedulePerformDialOption(QObject *sender, bool wantsConnect);
  bool performDialOptionStillApplies() const;
  Q_INVOKABLE void dialNotification(const Notification &notification);
  Q_INVOKABLE void dialOptionExt(QObject *sender = nullptr);
  Q_INVOKABLE void btnZUDEConnect(QObject *sender = nullptr);
  Q_INVOKABLE void CancelConnect(QObject *sender = nullptr);
  // Dial-up.
  void DialConnect();
  void DialDisconnect() override;
  void DialCancelConnect();
  // NDIS.
  void NDISDialConnect();
  void NDISDialDisconnect();
  // The PS domain attach before a dial-up connect (Internet/"PSDomainSettings").
  void checkIsAttachPSForConnect();
  void attachPS();
  void deattachPS();
  void checkISDetatchPS();
  bool willConnectToInternet() const { return willConnectToInternet_; }
  // Backend requests.
  void sendDialConnectMsg(bool connect);
  void sendNDISDialConnectMsg(bool connect);
  void getConnectStatus();
  void getConnectPppOption();
  void setNetFrequencyLockStatus();
  void readNetFrequencyLockStatus();
  bool isPollingConnectState() const { return m_TimerToGetConnectState != nullptr; }
  // Backend replies and pushes.
  Q_INVOKABLE void dealWithMsgOfDialConnect(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfDialDisconnect(const Notification &) {}
  Q_INVOKABLE void dealWithNetFrequencyLockReadResult(const Notification &notification);
  Q_INVOKABLE void dealWithMsgOfPPPConnectStatus(const Notification &notification);
  Q_INVOKABLE void dealWithMsgOfDialConnectStatus(const Notification &notification);
  Q_INVOKABLE void dealWithMsgOfPPPConnectOption(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfDialConnectPppOption(const Notification &notification);
  Q_INVOKABLE void dealWithMsgOfNDISDialStatus(const Notification &notification);
  Q_INVOKABLE void dealWithMsgOfNDISDialTransferData(const Notification &notification);
  Q_INVOKABLE void dealWithOfNDISDialIsConnected(const Notification &notification);
  Q_INVOKABLE void dealWithSetNetworkModeResult(const Notification &notification);
  // The PPP state handlers of a dial-up status record.
  void processPPPConnectStatus(int pppState, double connectTime, float sent, float received);
  int preDealWithConnectStatus(int state);
  // Says in the state field why a connect ended without a connection: refused, refused and tried
  // again, or refused after the last automatic attempt.
  void showConnectFailure(bool retrying);
  // The speed samples go to every graph that follows them (both tabs), and are cleared there.
  void feedSpeedGraphs(float upload, float download);
  void clearSpeedGraphs();
  QString connectFailureText() const { return connectFailureText_; }
  void setPPPDisconnectedSatus();
  void setPPPInitializingStatus();
  void setPPPConnectingLinkStatus();
  void setPPPNegotiatingLinkStatus();
  void setPPPAuthenticatingStatus();
  void setPPPNegotiatingNetworkStatus();
  void setPPPConnectedStatusWithTime(qint64 seconds, float sent, float received);
  void setPPPTerminatingStatus();
  void setPPPDisconnectingLinkStatus();
  bool showDialingWording();
  void performCancelDialAction();
  void resetConnectBtnStatusWhenConnecting();
  void resetConnectBtnStatusWhenDisconnecting();
  // NDIS states.
  void dealWithOfNDISDialDisconnected();
  void dealWithOfNDISDialConnected();
  void dealWithOfNDISDialConnecting();
  void dealWithOfNDISDialConnectFailed();
  void refereshConnectTime();
  bool isConnectTimeRunning() const { return timerConnectInterval_.isActive(); }
  // End of any connection: timers stopped, fields reset, the idle look.
  void StopTimerOfGetConnectState();
  void stopConnectionTimer();
  void InitConnectState();
  void setIPAddress(const QString &address);
  // The connection record.
  void saveDialRecord();
  static QString recordInState(const QString &state = QString());
  QVariantMap statusDict() const { return statusDict_; }
  // Device events as the connection sees them.
  void dealWithMsgOfDeviceOffline();
  Q_INVOKABLE void simReady(const Notification &notification);
  void netcardChanged(int what);
  void receiveDeviceOn();
  Q_INVOKABLE void setDataServicesStatus(const Notification &notification);
  Q_INVOKABLE void datausageRest(const Notification &notification = {});
  Q_INVOKABLE void tabViewItemWillChange(const Notification &notification);
  // Sleep and wake.
  Q_INVOKABLE void machineWillSleep();
  Q_INVOKABLE void machineDidWake();

  // ---- figures ----
  void calculateTransferSpeed();
  void setConnectTimeInfo();
  void setTransferDataInfo();
  void setSpeedInfo();
  void sendStatisticsNotification();
  void sendResetStatisticsNotification();
  void displayStatisticsForDisconnect();
  Q_INVOKABLE void closeStatisticsWin(QObject *sender = nullptr);
  void sendSpeedData(float sendRate, float receiveRate);
  qint64 connectTime() const { return m_connecttime; }
  float sentData() const { return m_sendData; }
  float receivedData() const { return m_receiveData; }
  float sendSpeed() const { return m_sendSpeed; }
  float receiveSpeed() const { return m_receiveSpeed; }
  QVariantMap statisticsInfo() const { return statisticsInfo_; }
  // Bytes sent plus received on the current connection.
  double getCurrentTotalData() const override { return double(m_sendData) + double(m_receiveData); }
  void setCurrentTotalData(double bytes) {
    m_sendData = 0;
    m_receiveData = float(bytes);
  }

  // ---- button and status ----
  void setDialBtnWithStatus(bool connected);
  // The USSD tab disables them while a session holds the modem.
  void setConnectBtnEnable(bool enable) override;
  bool isConnectBtnEnabled() const;
  // The diagnostics number field; the USSD tab fills it with the number a session reports.
  void setDiagMSISDNValue(const QString &text) override;
  QString diagMSISDNValue() const { return diagMSISDN_; }
  QPointer<QLineEdit> tfdDiagMSISDN_;
  void sendTheConnectBtnStatus(bool enabled);
  void sendConnectStatusMsg(bool start);
  // The connect button gives way to the USSD-active button while USSD runs.
  void setIsHiddenConnectBtn(bool hidden) override;
  bool isHiddenConnectBtn() const { return connectBtnHidden_; }
  // Whether the PS domain is registered: the connect buttons may connect only then.
  void setPSDomainStatus(bool ps) override;
  bool psDomainStatus() const { return lastPSDomain_; }
  bool checkIsAutoConnectOnline() const;
  Q_INVOKABLE void connectWarningWinOKClicked(QObject *sender = nullptr);
  void Init_internet_nib();
  void initConnectStatusWording();
  void setConnectBtnImage();
  void connectButtonImageName(const QString &key);
  QString connectButtonImagePath() const { return connectButtonImagePath_; }
  void setConnectStateHidden(bool hidden);
  void setConnectStateHiddenForDidoro(bool hidden);
  QString roamAlertOKBtnWording() const;
  bool hadConnectAction() const { return hadConnectAction_; }
  void setHadConnectAction(bool on) { hadConnectAction_ = on; }
  // YES once the user disconnected by hand; automatic connects keep off then.
  bool hadDoManualDisconnect() const override { return manualDisconnect_; }
  void setHadDoManualDisconnect(bool on) { manualDisconnect_ = on; }
  bool displayDisConnectingFlag() const { return displayDisConnectingFlag_; }
  void setDisplayDisConnectingFlag(bool on) { displayDisConnectingFlag_ = on; }
  bool connectWarningsDisplayFlag() const { return connectWarningsDisplayFlag_; }
  void setConnectWarningsDisplayFlag(bool on) { connectWarningsDisplayFlag_ = on; }
  bool is2GNetWork() const { return is2GNetWork_; }
  void setIs2GNetWork(bool on) { is2GNetWork_ = on; }
  bool manualDisconnectFlag() const { return manualDisconnectFlag_; }
  // Lets the profile cycle try the next APN on the next connect.
  void setApnCycleEnable(bool on) override { apnCycleEnabled_ = on; }
  bool apnCycleEnable() const { return apnCycleEnabled_; }
  bool apnCycleEnabled() const { return apnCycleEnabled_; }

  // ---- automatic connect and reconnect ----
  // Connects again after a drop; `reset` starts the attempts afresh.
  void reconnect(bool reset) override;
  void autoReconnect();
  double autoReconnectInterval() const;
  bool checkAutoConnectByTimes() const;
  bool notAutoConnectWhenInterRoaming();
  void disableConnectionAlertWindow();
  bool isDoReconnectAfterDisconnect() const;
  bool checkAutoConnectForPPPFailed() const;
  void doReconnectAfterAutoDisconnect();
  void reconnectAfterAutoDisconnect();
  void AutoReconnectForNdis();
  void initReconnectTimes();
  int maxReconnectTimes() const { return max_ReconnectTimes_; }
  bool isAutoReconnectPending() const { return autoReconnectTimer_.isActive(); }

  // ---- network service guards ----
  // Follows the network type of every registration report: "No Service" while connected arms a
  // one-shot disconnect; a service back before it fires cancels it; a service back after it
  // disconnected asks the roaming-cost question once and connects again when confirmed.
  void changeDialConnectStatusWhenNoSignal(const QByteArray &networkType) override;
  Q_INVOKABLE void disConnectTimer(QObject *timer = nullptr);
  bool disconnectAfterNoSignal90s() const { return disconnectAfterNoSignal90s_; }
  bool isNoSignalTimerActive() const { return noSignalTimer_.isActive(); }
  // Connects (YES) or disconnects (NO) by the connect type.
  void connectOrDisconnectNetwork(bool connect);
  Q_INVOKABLE void updateNetworkStatus(const Notification &notification);
  void monitorNetworkService(bool available);
  void startNetworkServiceTimer();
  void stopNetworkServiceTimer();
  bool isNetworkServiceTimerActive() const { return timerForNoService_.isActive(); }
  // The no-service delay (tests shorten it).
  static void setNoSignalDisconnectDelayMs(int ms);
  static int noSignalDisconnectDelayMs();
  // Every timed step of the road in one factor (tests shorten them): the poll, the attach
  // wait, the reconnect intervals.
  static void setTimeScale(double scale);
  static int scaledMs(double seconds);

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
  void resetDefaultProfileWithMcc(const QString &mcc, const QString &mnc) override;
  void resetDefaultProfileWithMCCMNC(const QString &mccmnc) override;
  void resetDefaultProfileWithImsiAll(const QByteArray &imsi) override;
  void resetGlobalDefaultProfileWithImsi(const QByteArray &imsi) override;
  // Every default-profile request of this run, oldest first ("imsi:", "global:", "mcc:",
  // "serving:" and its key): what the device-status rules asked for, for the record and the tests.
  QStringList defaultProfileRequests() const { return defaultProfileRequests_; }
  void resetDialConfigListWithMatchedApn(const QVariantList &profiles);
  void resetDiaCfgListWithImsiCfg(const QVariantMap &profile);
  void setDefaultProfile(int index);
  QString getDefaultProfileAPN() const override;
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
  bool isDeviceRemoved() const { return isDeviceRemoved_; }
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
  void setWCDMAConfigHidden(bool hide) override;
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
  // ---- outlets of the Internet tab's connection area ----
  QPointer<QPushButton> btnConnectSimple, postConnectBtn_;
  QPointer<QLabel> Net_SendSpeed, Net_ReceiveSpeed, Net_ProfileName, m_SpeedForSend, m_SpeedForReceive, m_TotalData;
  QPointer<QLabel> labelConnectTimeSimple, labelSpeedForSendSimple, labelSpeedForReceiveSimple, InterUiTotalTime_;
  QPointer<QLabel> tfdModemAndSimState_, tfdDisplayModemStartUpProcess_, labelForConnectStatus_,
      imageViewForConnectStatus_, labelInternetPrompt_, labelProfileInputPrompt_, tfdTotalData_;
  QPointer<QLabel> imageViewOfUpDataImage_, imageViewOfDownDataImage_;
  QPointer<QWidget> viewInternet_;
  QPointer<statisticsView> speedView;
  // The statistics window shown after a disconnect, and the connect-warning sheet.
  QPointer<QDialog> wndStatisticsWin_, wndConnectWarning_;
  // The operator's APN prompt (Internet/"ChangePosForProfile"): the chosen service's text.
  QPointer<QDialog> promptOfAPNWinForZIZ_;
  QPointer<QLabel> promptOfAPNForZIZ_;
  QPointer<QLabel> tfdDisplayDownData_, tfdDisplayUpData_, tfdDisplayTotalData_, tfdDisplayDuration_;

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

  // ======== after connecting ========
  // ---- web content of the Internet tab (DialControllerWebContent.cpp) ----
  // The split layout's page by connection status.
  void switchInternetTabAction();
  // Internet/"AutoLaunchURLWithFirstDefaultAPN": the page of the first default profile.
  void launchURLAtFirstAPN();
  void displaySpecialWebView();
  void detachSpecialWebview();
  void downloadAdImageFile();
  Q_INVOKABLE void imageDownloadFinishForBillboard();
  // `url` in a web view over `container`, its frame shrunk by `offset` (see getRectInSuperView).
  void displayWebUrl(const QString &url, QWidget *container, bool allowsScrolling, const QRect &offset);
  // "WebViewRectInSuperView": origin (left, bottom), width and height fields from "DecreasedHeight"
  // and "DecreasedWidth" in that order.
  QRect getRectInSuperView() const;
  void LoadFlash(const QString &path, WebView *view);
  void openURL(const QString &url, WebView *view);
  // Start-up of the tab's web content, in the order of the controller's set-up: custom links,
  // the embedded page, the billboard's rest state, the split layout, the advertisement.
  void initWebContentOfInternetTab();
  // Split layout ("EnableSplitConnectionProcess"): the pages "PreInternet" and "PostInternet".
  bool isSplitConnectionProcessEnabled();
  void initSplitConnectionProcess();
  void initSplitConnectionProcessForVuzira();
  bool shouldSwitchToInternetState() const;
  void switchToInternetState();
  void switchInternetTabActionForVuzira();
  // The main tab view's will-select (`item` not yet current) and did-select.
  void performSwitchTabActionForVuzira(QTabWidget *tabView, QWidget *item);
  void selectSplitPage(const QString &identifier);
  QString currentSplitPage() const;
  // Every page the split layout selected, in order.
  QStringList splitPageSwitches() const { return splitPageSwitches_; }
  // The favourite-icon hint.
  void hintFavoriteIconConfigrable();
  Q_INVOKABLE void closefavoriteIconHintWindow(QObject *sender = nullptr);
  Q_INVOKABLE void stopNotifyHintClicked(QObject *sender = nullptr);
  bool isFavoriteIconHintShown() const;
  Q_INVOKABLE void UpdateWebLinkTimerFired();
  // Link buttons (DialControllerFavoriteLinks.cpp).
  void initCustomWeblinks();
  void setCustomBtn(WeblinkButton *button, const QString &link);
  // Banner, Flash and advertisement files (DialControllerWebLinks.cpp).
  void loadCurrentIconAndFlash();
  static QString getHtmlFilePathByFlash(const QString &path);
  void initAdContainerView();
  void updateAdImageView();
  // Embedded views.
  void displayWebUrl(const QString &url, QWidget *container, bool allowsScrolling);
  // A container-sized frame shrunk by `offset` (see getRectInSuperView).
  static QRect webViewFrameInContainer(const QSize &container, const QRect &offset);
  void attachWebviewWithDelegates(WebViewDelegate *delegate);
  void initHomepageViewRes(WebViewDelegate *delegate);
  void detachWebviews();
  // The navigation policy of the views that have this controller as delegate.
  enum class WebAction { NotDecided, Use, Ignore };
  WebAction performWebActionForVuziraWith(const QUrl &request);
  WebAction performWebActionForRuvozUIWithdecisionListener();
  WebAction performWebActionForDadizarerAZIWithdecisionListener(const QUrl &request);
  bool decidePolicyForNavigationAction(const QUrl &request);
  void decidePolicyForNewWindowAction(const QUrl &request);
  WebViewDelegate *webPolicyDelegate();
  // The billboard (DialControllerBillboard.cpp).
  void setDefaultBackgroundImageForBillboard();
  void isHiddenBrowserPicBtnForBillboard(bool hidden);
  void startRollForBillboard();
  void stopRollForBillboard();
  void autoBrowserPictureForBillboard(bool forward);
  Q_INVOKABLE void browserNextPictureForBillboard(QObject *sender = nullptr);
  Q_INVOKABLE void browserAPictureForBillboard(QObject *sender = nullptr);
  Q_INVOKABLE void connectStatusDidChange(const Notification &notification);
  int billboardPictureNumber() const { return borwserPicIndexforBillboard_; }
  bool isBillboardRolling() const { return timerOfAutoBrowserPicForBillboard_.isActive(); }
  // The file the billboard shows now (empty: none yet).
  QString billboardPicturePath() const { return billboardPicture_; }
  // Outlets of the web content (InternetPage builds them only for the switches that are on).
  QPointer<QTabWidget> internetSwitchTab_;
  std::array<QPointer<WeblinkButton>, 6> favoriteLinkBtns_, customLinkBtns_;
  QPointer<QLabel> preDefaultConfiguration_;
  QPointer<WebLinkImageView> bgupWeblinkView_, adContainerView_;
  QPointer<QWidget> bgContainerView_, viewContainer_, viewContainerEmbedInUI_;
  QPointer<WebView> homepageView_, promoWebkitView_, wbvAdvertisement_, webViewEmbedInUI_;
  QPointer<QWidget> favoriteIconHintWindow_, favoriteIconHintView_;
  QPointer<QLabel> favoriteHintTextfield_;
  QPointer<QCheckBox> stopNotifyHintCheckbox_;
  QPointer<QLabel> imageViewOfShowImageForBillboard_;
  QPointer<QPushButton> btnOfUpForBillboard_, btnOfDownForBillboard_;
  int borwserPicIndexforBillboard_ = 1;
  QTimer timerOfAutoBrowserPicForBillboard_;
  QString billboardPicture_;
  void showBillboardPicture(const QString &path);
  // The last status the split layout acted on: each connect and disconnect is acted on once,
  // however many of the status reports call in.
  int splitStatusActedOn_ = -1;
  QStringList splitPageSwitches_;
  bool webContentStarted_ = false;
  bool favoriteIconHintShown_ = false;
  bool billboardTimerWired_ = false;
  // ---- the subscriber's number (DialControllerNumber.cpp) ----
  // Asks the operator's number service once for a SIM whose number is not stored yet.
  void sendIMSIToHttpServerBySoap();
  // The runtime number as the ruvoz header shows it.
  QString getPhoneNumber();
  // The value of the first record named "MSISDN"; a null string when there is none.
  static QString getMsisdnFromResponseXML(const QVariantList &records);
  // Whether the service's answer is a number worth storing: digits, an optional leading "+".
  static bool isStorableMsisdn(const QString &number);
  Q_INVOKABLE void setMsisdnNumberWithResult(const Notification &notification);
  Q_INVOKABLE void excuteWhenConnectServerError(const Notification &notification);
  // The controller's one client of the number service, made on first use.
  class SoapClient *soapClient();
  class SoapClient *soapClient_ = nullptr;
  // The IMSI the request in flight asks about; empty while none is.
  QString soapImsi_;
  // ---- the speed test (DialControllerSpeedTest.cpp) ----
  // Starts the test of a fresh connection on its worker (the connect button's status changed).
  void startSpeedTestIfConnected();
  void writeDisconetNetWorkReason();
  // The steps of one test; they run on the test's worker and touch only their arguments.
  // testSpeed answers YES when a result is to be posted.
  static bool testSpeed(const SpeedTestSetup &setup, SpeedTestFigures &figures);
  static void delayTest(const SpeedTestSetup &setup, SpeedTestFigures &figures);
  static void downloadTest(const SpeedTestSetup &setup, SpeedTestFigures &figures);
  static bool uploadTest(const SpeedTestSetup &setup, SpeedTestFigures &figures);
  // The upload rate of an iperf report in KB/s (1 KB = 1000 bytes); 0 without a rate line.
  static float readUploadSpeedValue(const QString &reportPath);
  bool isSpeedTestRunning() const;
  // Ends a running test (its result is dropped) and waits for its worker.
  void stopSpeedTest();
  // The figures of the last test that posted its result (main thread).
  double delayTime_ = 0;
  double downLoadData_ = 0;
  double downloadSpeed_ = 0;
  float uploadSpeed_ = 0;
  int disconnectionReason_ = 1;
  struct SpeedTestRun;
  std::shared_ptr<SpeedTestRun> speedTestRun_;
  void speedTestFinished(const SpeedTestFigures &figures);
  // ---- the first connect (DialControllerFirstConnect.cpp) ----
  void performActionWhenFirstConnected();
  // Whether the first-connected actions are still due for the connection being made.
  bool firstConnectedActionsDue() const { return m_launchURLState; }
  // "OpenURLSettings": the first entry for the current profile's provider decides.
  void checkIsOpenSpecialURL();
  // UIConfig/"DadizarerAZI": the operator's page over the Internet tab, made once per process.
  void dadizarerAZIWebBackground();
  void dadizarerAZIEmbedWebBackground();
  QPointer<WebView> dadizarerAZIWebView_;
  // Internet/"IMSIAndWebPage": the page of the longest IMSI prefix, in the default browser.
  void openWebPageWithSIM();
  // The address openWebPageWithSIM opens for `imsi` (empty: none).
  static QString webPageForImsi(const QVariantMap &imsiAndWebPage, const QString &imsi);
  Q_INVOKABLE void displayPhoneNumberForRuvoz();
  // ---- the ruvoz window (DialControllerRuvoz.cpp) ----
  // The ruvoz main window is up: UIConfig/"RuvozUI" (and not "MiniUI") with a skin.
  bool isRuvozSkin() const;
  void ruvozUISetConnectBtnTitle(const QString &title);
  void resetDeviceStatusLabelSize(int width, int height);
  void ruvozUIAttachWebViewOpenURL();
  void ruvozUIDeattachWebView();
  void ruvozUIManualDisconnect();
  // The two extender pages for the runtime number and the SIM's IMSI (top view, home view).
  QStringList ruvozExtenderAddresses();
  // What the ruvoz header shows (kept also without the skin's controls).
  struct RuvozHeader {
    QString topImage, homeImage, connectBtnTitle;
    bool topViewVisible = true, deviceLabelVisible = false, centred = true;
    QSize deviceLabelSize;
    int fontSize = 0;
  };
  RuvozHeader ruvozHeader() const { return ruvozHeader_; }
  QPointer<WebView> webViewInViewTopFixed_, webViewInHomePage_;
  QPointer<QLabel> labelDeviceStatus_;
  // ---- embedded pages (DialControllerRuvoz.cpp) ----
  // The holder of the cycling pages and their background inside the Internet tab (made on first
  // use; the embedded page's frame viewContainerEmbedInUI_ is the tab's own).
  QPointer<QWidget> viewEmbeddedPages_, viewBackground_;
  QPointer<QWidget> viewContainerEmbedInUI1_, viewContainerEmbedInUI2_, viewContainerEmbedInUI3_,
      viewContainerEmbedInUI4_, viewContainerEmbedInUI5_;
  void makeEmbeddedContainers();
  QWidget *embeddedContainer(int index) const;
  void loadWebPagesWhenFirstConnected();
  void startCycleDisplayWebPagesTimer();
  void stopCycleDisplayWebPagesTimer();
  Q_INVOKABLE void cycleDisplayWebPages();
  void displayStaticBackGroundPicAndNotDisplayWebPages();
  void displayWebPagesAndNotDisplayStaticBackGroundPic();
  void setWebPagesVisible(bool visible);
  int currentDisplayWebUIIndex() const { return currentDisplayWebUIIndex_; }
  bool isCycleDisplayWebPagesTimerActive() const { return timerForCycleDisplayWebUI_.isActive(); }
  // ---- favourite and link buttons ----
  QPointer<WebView> webViewOfFavouiteBtnForIcon_[6];
  void setFavoriteandLinkBtnState(bool enabled);
  void loadFavouriteBtnWebKitViews();
  // The animation for favourite icon `icon` (1 ... 6) in `folder`: its own file, else the shared
  // background one, else none.
  static QString favouriteIconFile(const QString &folder, int icon);
  void openServerURLWithEncodedIMSIAndIMEI();
  Q_INVOKABLE void openWindURL(QObject *sender = nullptr);
  Q_INVOKABLE void openRuzoruURL(QObject *sender = nullptr);
  // ---- operator connect windows (DialControllerOperatorWindows.cpp) ----
  void setConnectStateForDidoro(bool connected);
  void openConnectStateWindowForDidoro(bool open);
  Q_INVOKABLE void closeDidoroConnectStateWindow(QObject *sender = nullptr);
  Q_INVOKABLE void cancelCurrentConnectOperate(QObject *sender = nullptr);
  void openConnectFailedWindow();
  Q_INVOKABLE void closeConnectFailedWindow(QObject *sender = nullptr);
  Q_INVOKABLE void redialWhenConnectFailed(QObject *sender = nullptr);
  void startProgressIndicator();
  void stopProgressIndicator();
  void startTimerForConnectFailed();
  void stopTimerForConnectFailed();
  void restartProgressTimer(QTimer &timer);
  void setProgressIndicatorWhenConnectStateChangeForDidoro();
  QDialog *connectStateWindowForDidoro();
  QDialog *connectFailedWindowForDidoro();
  QPointer<QDialog> windowOfConnectStateForDidoro_, windowOfConnectFailedForDidoro_;
  QPointer<QLabel> labelOfConnectStateForDidoro_, imageViewOfProgressIndicator_, labelOfConnectFailedForDidoro_,
      imageViewOfConnectFailed_, imageViewOfConnectStatesForDidoro_;
  QPointer<QPushButton> btnCancelConnectForDidoro_;
  int countOfConnectStateImage_ = 1;
  QString connectStateImageName() const { return connectStateImageName_; }
  QString progressImageName() const { return progressImageName_; }
  bool isProgressIndicatorRunning() const { return timerOfProgressIndicator_.isActive(); }
  bool isConnectFailedTimerRunning() const { return timerOfConnectFailed_.isActive(); }
  // ---- figures ----
  // Internet/"DisplayMonthlyData": this month's data, the running connection counted once.
  void displayMonthlyData();
  QPointer<QLabel> monthlyData_;
  // ======== end of after connecting ========

  // ======== pre-connect checks (DialControllerChecks.cpp) ========
  // YES hands the connect over to the device lock code (the request stops here).
  bool checkDeviceLockStatus(QObject *sender);
  bool allowUserConnect();
  bool allowRoamWithAlert();
  bool showAlertWin();
  bool displayDataLimitWarning();
  bool displayTimeLimitWarning();
  // The data or the time question, by Record/"recordLimitState".
  bool displayLimitWarningBeforeConnect();
  bool allowUserDisconnect();
  void displayUKMTSWaring();
  bool dialDisconnectWhenRoamForDidoro();
  qint64 connectTime15 = 0;
  // The sender of the connect that follows an accepted device lock code.
  static QObject *deviceUnlockedSender();
  // The code window a connect opened (lock-function module 0) answers here: an accepted code
  // makes that connect go on, a refused one ends it.
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
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
  void setLimitFigures(const UsageFigures &figures) {
    limitFigures_ = figures;
    limitFiguresSet_ = true;
  }
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
  // YES once this connection's record is saved: the totals then hold it already.
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
  // A PS attach that is refused or not answered ends the attempt.
  void attachFailed();
  // Sleep and wake follow logind when a system bus is there.
  void watchSleepAndWake();
  // The idle look of the fields after a connection.
  void resetConnectionFields();
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
  // No modem until one reports itself.
  bool isDeviceRemoved_ = true;
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
  bool connectBtnHidden_ = false;
  // The connection in progress.
  QTimer *m_TimerToGetConnectState = nullptr;
  QTimer timerConnectInterval_;
  QTimer attachTimer_, attachAnswerTimer_;
  QTimer autoReconnectTimer_, reconnectAfterDisconnectTimer_;
  QTimer timerForNoService_;
  QTimer performDialOptionTimer_;
  QPointer<QObject> performDialOptionSender_;
  bool performDialOptionSenderSet_ = false;
  bool performDialOptionWantsConnect_ = false;
  QString connectFailureText_;
  QVariantMap statusDict_;
  QVariantMap statisticsInfo_;
  qint64 m_connecttime = 0;
  float m_sendData = 0, m_receiveData = 0;
  float m_sendSpeed = 0, m_receiveSpeed = 0;
  ConnectFigures::SpeedMeter speedMeter_;
  QPointer<QObject> sleepWatcher_;
  bool manualDisconnectFlag_ = false;
  bool bManualConnect_ = false;
  bool bManualConnectSuccess_ = false;
  bool willConnectToInternet_ = false;
  bool bAttatchPS_ = false;
  bool m_notified = false;
  bool m_launchURLState = true;
  bool m_haveSendUpdateMessage = false;
  bool hadConnectAction_ = false;
  bool displayDisConnectingFlag_ = false;
  bool connectWarningsDisplayFlag_ = true;
  bool is2GNetWork_ = false;
  bool modemStartUpProcessStateChanged_ = false;
  bool lastPSDomain_ = false;
  bool redialPending_ = false;
  bool connectBtnEnabled_ = false;
  bool noSignalQuestionOpen_ = false;
  int max_ReconnectTimes_ = 3;
  int dialingWordingCounter_ = 0;
  bool connectingToggle_ = false;
  bool disconnectingToggle_ = false;
  QString connectButtonImagePath_;
  int deviceStatusRows_ = 1;
  QString modemAndSimState_;
  // What the start-up hint says while no connection can be made: the device's or the SIM's state
  // when one is known (no device, no SIM, locked), else that the modem is starting.
  QString stateHint_;
  QString startUpHintText() const;
  QString ruvozDeviceStatus_;
  bool manualDisconnect_ = false;
  bool apnCycleEnabled_ = false;
  bool disconnectAfterNoSignal90s_ = false;
  QTimer noSignalTimer_;
  QStringList defaultProfileRequests_;
  QVariantList favoritesLinkProperties_;
  QString diagMSISDN_;
  // Usage limits.
  void limitDisconnect();
  void actOnReachedLimit(int action);
  UsageFigures limitFigures_;
  bool limitFiguresSet_ = false;
  int limitDisconnectRequests_ = 0;
  bool closingForZID_ = false;
  bool quitRequested_ = false;
  QTimer quitFallbackTimer_;
  bool askDeviceLockCodeForConnect();
  // The first connect and the operator's views.
  RuvozHeader ruvozHeader_;
  QTimer timerForCycleDisplayWebUI_;
  int currentDisplayWebUIIndex_ = 0;
  QTimer timerOfProgressIndicator_, timerOfConnectFailed_;
  QString connectStateImageName_, progressImageName_;
};

extern DialController *g_DialController;
