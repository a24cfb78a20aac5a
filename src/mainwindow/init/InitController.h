#pragma once

#include "MainWindowNeighbour.h"
#include "NetworkIdentityHandlers.h"
#include "QELUIController.h"
#include "UIMsg.h"

#include <QAction>
#include <QPointer>
#include <QTimer>
#include <optional>

class InitStatusView;
class PinSheet;
class PukSheet;
class ReAlertSheet;
class UnlockDeviceSheet;
class RoamAlertWindow;
class WhiteListReminderSheet;
class DiagnosticsWindow;
class SignalDetailWindow;
class SimCardUpdateSheet;

// Names of the status notifications; each carries {its own name: value}.
inline const QString kModemConnected = QStringLiteral("init_ModemConnected");
inline const QString kSimStatus = QStringLiteral("init_SimStatus");
inline const QString kSingalStrength = QStringLiteral("init_SingalStrength");
inline const QString kRoamStatus = QStringLiteral("init_RoamStatus");
inline const QString kBelonetoSPN = QStringLiteral("init_BeloneToSPN");
inline const QString kLocalSPN = QStringLiteral("init_LocalSPN");
inline const QString kNetworkStatus = QStringLiteral("init_NetworkStatus");
inline const QString kDomainName = QStringLiteral("init_DomainName");

// Turns the backend's device, SIM and PIN messages into the state every other controller reads,
// the status area of the main window, and the notifications "DevicePlugin", "DeviceRemoved" and
// "SimReady". The SIM code entry (PIN and PUK sheets) lives in InitControllerPin.cpp.
class InitController : public QELUIController, public NetworkIdentitySink, public DeviceStatusNeighbour {
  Q_OBJECT
public:
  enum SimPinState { kSimNotReady = 0, kSimReady = 1, kSimCheckingCode = 2 };
  enum CheckPinPuk { kCheckNone = 0, kCheckPin = 1, kCheckPuk = 2 };

  explicit InitController(QObject *parent = nullptr);
  ~InitController() override;

  // Outlets set by the builder.
  QPointer<InitStatusView> statusView;
  QPointer<QAction> labelPINEnter_;  // "Enter PIN"
  QPointer<QAction> labelPINUnlock_; // "Unlock PIN"

  // Status setters: each shows its value and posts its notification.
  void sendNotification(const QString &name, const QVariant &data);
  void setModemStatus(bool started);
  void setSimStatus(bool ready);
  void setImageForSimCardRead();
  void setBelonetoSPN(const QString &name) override;
  void setLocalSPN(const QString &name, bool refresh) override;
  void setNetworkStatus(const QString &networkText);
  void setDomainName(const QString &domain);
  void initNibNetworkStatus();

  // Commands to the device.
  void setDeviceOnline();
  void setDeviceOffline();

  // Registered domains: bit 0 CS, bit 1 PS.
  int networkMode() const override { return networkMode_; }
  void setNetworkMode(int mode) { networkMode_ = mode; }
  bool hasCSDomain() const { return networkMode_ & 1; }
  bool hasPSDomain() const;
  bool checkToReturnPSDomain() const override;
  int roamTransferMode() const { return roamTransferMode_; }
  void setRoamTransferMode(int mode) { roamTransferMode_ = mode; }
  int networkRoamStatus() const override { return networkRoamStatus_; }
  void setNetworkRoamStatus(int status) { networkRoamStatus_ = status; }
  QString mccmnc() const override { return identity_.mccmnc(); }
  void setMccmnc(const QString &mccmnc) { identity_.setMccmnc(mccmnc); }
  NetworkIdentityHandlers &identity() { return identity_; }
  bool reportSendFlag() const { return sendDiagInfoSMSFlag_; }
  void setReportSendFlag(bool on) { sendDiagInfoSMSFlag_ = on; }

  int simPinState() const { return m_SimPinState; }
  int checkPinPukStatus() const { return checkPinPukStatus_; }
  QString networkName() const { return networkName_; }
  QString iccid() const { return identity_.iccid(); }
  // What the shared identity service knows, for the other subsystems (InitControllerIdentity.cpp).
  QString imsi() const override;
  QString iccidStr() const override;
  QString currentHmccmnc() const override;
  bool ifCurrentSIMCardNeededChangeSPN() const override;

  // SIM code entry.
  // nil or the wording key of the first rule the codes break (any argument may be null).
  static QString checkPinPukAlertMsg(const QString &puk, const QString &pin, const QString &newPin);
  // Warns on the last try, then runs `then` (at once when there is nothing to warn of; never
  // when the device went while the warning was up).
  void alertWithPinOrPukLeftTimes(int tries, bool pinAlert, std::function<void()> then = {}) override;
  bool isNeedPinAutoValidation() const;
  void pinAutoValidation();
  void savePinToModem();
  void openPinWindow();
  void openPukWindow();
  Q_INVOKABLE void closePinWindow(QObject *sender = nullptr);
  Q_INVOKABLE void cancelPinWindow(QObject *sender = nullptr);
  Q_INVOKABLE void closePukWindow(QObject *sender = nullptr);
  Q_INVOKABLE void cancelPukWindow(QObject *sender = nullptr);
  Q_INVOKABLE void clickYESOfReAlertPinWindow(QObject *sender = nullptr);
  Q_INVOKABLE void clickNOOfReAlertPinWindow(QObject *sender = nullptr);
  Q_INVOKABLE void enterPIN(QObject *sender = nullptr) {
    Q_UNUSED(sender)
    openPinWindow();
  }
  Q_INVOKABLE void unlockPIN(QObject *sender = nullptr) {
    Q_UNUSED(sender)
    openPukWindow();
  }
  Q_INVOKABLE void openPINWindow(const Notification &notification);
  // Answers a plug-in's "prepareDiagInfo" with "diagInfo" carrying the diagnostics values.
  Q_INVOKABLE void prepareToShowDiagWindow(const Notification &notification);
  QVariantMap diagWindowInfo() const { return dicDiagWindowInfo_; }
  Q_INVOKABLE void msgServerGaveUp(const Notification &notification);
  Q_INVOKABLE void savePinNum(QObject *sender = nullptr);
  Q_INVOKABLE void enableSavePinNum(QObject *sender = nullptr);
  Q_INVOKABLE void removeAutoCheckPinByICCID(QObject *sender = nullptr);
  bool isSavingPin() const override;
  void setSavingPin(bool on) override;
  void forgetSavedPin() override { removeAutoCheckPinByICCID(nullptr); }
  void cardPinChanged(const QString &newPin) override;
  // Keeps only the leading digits (at most 4) when Setting/"PinLimitFourDigitals" is on.
  void controlTextDidChange(QObject *field);

  QString pinNum() const { return pinNum_; }
  void setPinNum(const QString &pin) { pinNum_ = pin; }
  bool hadDoPinAutoValidation() const { return hadDoPinAutoValidation_; }
  void setHadDoPinAutoValidation(bool on) { hadDoPinAutoValidation_ = on; }
  bool manuuallyInputPinFlag() const { return manuuallyInputPinFlag_; }
  void setManuuallyInputPinFlag(bool on) { manuuallyInputPinFlag_ = on; }
  bool pinInputWndDisplayFlag() const { return pinInputWndDisplayFlag_; }
  void setPinInputWndDisplayFlag(bool on) { pinInputWndDisplayFlag_ = on; }
  bool pinAutoValidationChecked() const { return pinAutoValidationChecked_; }

  PinSheet *pinSheet();
  PukSheet *pukSheet();
  ReAlertSheet *reAlertSheet();

  // Backend handlers.
  Q_INVOKABLE void dealWithMsgOfHandShake(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfPowerCheck(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfWorkModeCheck(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfStartWork(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfStopWork(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfCountPinPukRemain(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfPinStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckoutPin(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfPinAutoValidation(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReadPin(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSavePin(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckoutPuk(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckPinActiveStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfInvalidCardStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckIMEIInfo(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSIMStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckUSIMStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckDeviceStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckDeviceNotAttached(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckPLMN(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSPDI(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSPN(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckICCID(const Notification &n);
  // The SIM's IMSI (7/43): kept for every service, then the profile rules run (InitControllerImsi.cpp).
  Q_INVOKABLE void dealWithMsgOfCheckCIMI(const Notification &n);
  void matchApnAccordImsi(const QByteArray &imsi);
  QString imsiOfSim() const { return m_IMSI; }
  // Asks the device for the IMSI (the diagnostics refresh).
  void checkIMSI();
  // The home MCC/MNC the device reports (7/52): the profile for it, while the choice is automatic.
  Q_INVOKABLE void dealWithMsgOfCheckMCCMNC(const Notification &n);
  void matchUssdCodeAccordImsi(const QString &imsi);
  void getPhoneNumberByIMSI();
  // The own number of the card, as the last own-number reply told ("" when it failed).
  Q_INVOKABLE QString getPhoneNum() override;
  // The phonebook and the connection records of this card.
  void SetPCDataPathWithIMSI(const QString &imsi);
  void checkIfNeedSendActiveSMS(const QString &imsi);
  void checkIMSIForZUDE();
  // The IMSI the last profile or USSD choice was made for (null when none was); saved at once.
  QString readSimImsiCode();
  void saveSimImsiCode(const QString &imsi);

  // What the network-identity handlers call back (InitControllerIdentity.cpp).
  void showRoamAlertWindow(int roamStatus) override;
  void checkLocalMCCAndNetMCC(const QString &localMcc, const QString &netMcc) override;
  int closeRoamAtDomesticRoaming(int roamStatus, const QString &localMcc, const QString &netMcc) override;
  void setRoamInfoWithNetworkRoamStatus(int roamStatus) override;
  void matchApnAccordMCCAndMNC(const QString &homeMcc, const QString &homeMnc) override;
  void checkAPNMatchWithMCCMNC(const QString &mccmnc) override;
  void getIccidNumAfterMatchApnAccordImsi() override;
  void showDiagMccAndMnc(const QString &mcc, const QString &mnc) override;
  void showDiagIccid(const QString &iccid) override;
  bool isSupportUpdate() override;
  void dealWithMCCMNC(const QString &mccmnc) override;
  bool isSendUpdateMessageWhenMCCMNC() override;
  void setIsSendUpdateMessageWhenMCCMNC(bool sent) override;
  void dealWithDeviceReady() override;
  void informOtherModulePSDomain(int mode) override;
  bool firstTimeDealWithQdonWhenNetWorkChanged() override { return firstTimeDealWithQdon_; }
  void setFirstTimeDealWithQdonWhenNetWorkChanged(bool filter) override { firstTimeDealWithQdon_ = filter; }
  void dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(const QString &previousMccmnc) override;
  void doWhenNetWorkChanged() override;
  bool progressSPNDomainForZavidev(const QString &shownName) override;

  // Controller hooks of the base table.
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  // ---- signal strength and device modes (InitControllerSignal.cpp, InitControllerDevice.cpp) ----

  // Signal reports (InitControllerSignal.cpp). The level runs from 0 to 5 and shows as the
  // picture "rssi" followed by the level plus 1.
  Q_INVOKABLE void dealWithMsgOfCheckSignalStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckQrssiSignalStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSignalStatusIcera(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckQairInfoStatus(const Notification &n);
  void dealWithMsgOfCheckCDMASignalStatus(const UIMsg &msg);
  void displayQualcomWCDMASignal(const UIMsg &msg);
  void displayQualcomCDMASignal(const UIMsg &msg);
  void display1XSignal(qint64 value);
  void displayEvdoSignal(qint64 value);
  void displayNetworkStatus(qint64 value1X, qint64 valueEvdo);
  void setSignalStrength(int level);
  void setIndiaDidoroSignal(int level);
  void setRssiSignalWithRSCP(int rscp, int rssi, int ecno);
  void startTimerOfAlertSelect3GPreferIfNoSignalWithSeconds(double seconds);
  void alertSelect3GPreferIfNoSignal();
  bool allowAlertSel3GPreferWhenSignalToNoSignal() const { return allowAlertSel3GPreferWhenSignalToNoSignal_; }
  void setAllowAlertSel3GPreferWhenSignalToNoSignal(bool on) override {
    allowAlertSel3GPreferWhenSignalToNoSignal_ = on;
  }
  // Shows the EVDO picture and both signal labels, and keeps the diagnostics rows a CDMA
  // device has.
  void initWithCDMA();
  // The EVDO picture and the signal labels as the platform type wants them (shown on TK330,
  // the CDMA set-up on CDMA, hidden otherwise).
  void initSignalViewsForPlatform();
  // What a removed device leaves behind: no signal, the prefer-3G alert allowed again.
  void signalDeviceRemoved();

  // Pure level tables, shared by the handlers and their tests.
  static int levelOfCsq(qint64 csq);
  static int levelOf1X(qint64 value);
  static int levelOfCdma(qint64 value); // 1X and EVDO values of the marked CDMA report
  static int levelOf2GRssi(qint64 rssiDbm);
  static int levelOf3G(qint64 rscpDbm, qint64 ecioDb);

  int signalStrengthValue() const { return m_SignalStrength; }
  QString rscpText() const { return rscp_; }
  QString rssiText() const { return rssi_; }
  QString ecnoText() const { return ecno_; }
  QString signalDetailRssi() const { return signalDetailRssi_; }
  QString diagRAC() const { return diagRAC_; }
  QString diagRXqual() const { return diagRXqual_; }
  QString diagRXlev() const { return diagRXlev_; }
  QString diagFrequency() const { return diagFrequency_; }
  QString diagChannel() const { return diagChannel_; }
  // The diagnostics window's signal fields ("RSCP", "ECNO", "RSSI", "SignalStrength").
  QString diagSignalField(const QString &field) const { return diagSignalFields_.value(field); }
  bool isPrefer3GAlertPending() const { return timerAlertSelect3GPrefer_.isActive(); }

  // Signal views beyond the status area's own picture; created on first use.
  QPointer<class QLabel> m_evdoStatus;
  QPointer<QLabel> m_evdoStatusLabel;
  QPointer<QLabel> m_rssiStatusLabel;
  QPointer<QLabel> imageViewOfSignalStrengthForDidoro_;

  // Device mode and identity replies (InitControllerDevice.cpp).
  Q_INVOKABLE void dealWithMsgOfGetDeviceMode(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSearchMode(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckPreferenceMode(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckHWVERSION(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckFWINTERNALVERSION(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckModemModel(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckPhoneNumber(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSerialNumber(const Notification &n);
  QString getFWVersionWithCGMR() const override { return m_FWVersion; }
  QString getInternalFWVersionWithQVN() const { return m_InternalFWVersion; }
  int deviceMode() const { return m_deviceMode; }
  QString hwVersion() const { return m_HWVersion; }
  QString deviceModel() const { return m_Devicemodel; }
  QString serialNumber() const { return m_SerialNumber; }
  bool ruvozUITopFrontSizeFlag() const override { return ruvozUITopFrontSizeFlag_; }
  void setRuvozUITopFrontSizeFlag(bool on) override { ruvozUITopFrontSizeFlag_ = on; }
  // Own-number fields; either may be absent.
  QPointer<QLabel> tfdOwnNumContent_;
  QPointer<QLabel> tfdOwnNumUI_;

  // ---- end of signal strength and device modes ----

  // (separator: keep these two areas apart so that their edits merge cleanly)

  // ---- registration and roaming (InitControllerNetwork.cpp, InitControllerRoam.cpp) ----

  // Registration: the network-information replies of ordinary (7, 37) and Icera (7, 47) devices.
  Q_INVOKABLE void dealWithMsgOfCheckNetInfo(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckNetInfoForIcera(const Notification &n);
  void dealWithCheckNetInfo(const UIMsg &msg);
  void dealWithCheckNetInfoForIcera(const UIMsg &msg);
  // The word the network-type label shows for a type text (the empty string for a null one).
  QString getDisplayNetWorkTypeWithNetType(const QString &type) const;
  // 1 for a lower-case "2g"/"3g" (CS only), else 3 for "2G"/"3G", else 0 (also for null).
  static int networkModeForIceraWithNetStr(const char *netStr);
  void setCurrentAccessTechnology(const QString &technology) { currentAccessTechnology_ = technology; }
  QString getCurrentAccessTechnology() const { return currentAccessTechnology_; }
  // Brings up the roam alert when a connected device falls from "UMTS" to anything else.
  void compareAccessTechnology(const QString &oldTechnology, const QString &currentTechnology);
  void setNetworkStatusWhenDomainModeChange(int mode);
  bool isNetWorkChangedWithPreMCCMNC(const QString &previous) const {
    return identity_.isNetWorkChangedWithPreMCCMNC(previous);
  }
  void dealWithFirstQpasWhenNetWorkChanged();
  // With the top-level "SearchRegistModel" on, every other report is used, and the mode ends.
  bool checkSearchRegistStatus();
  bool firstTimeDealWithQpasWhenNetWorkChanged() const { return firstTimeDealWithQpas_; }
  void setFirstTimeDealWithQpasWhenNetWorkChanged(bool filter) { firstTimeDealWithQpas_ = filter; }
  bool apnCyleWhenRoamToNoRoam() const override { return apnCyleWhenRoamToNoRoam_; }
  void setApnCyleWhenRoamToNoRoam(bool on) override { apnCyleWhenRoamToNoRoam_ = on; }
  bool dialFunctionEnabled() const { return dialFunctionEnabledFlag_; }
  void setDialFunctionEnabled(bool on) { dialFunctionEnabledFlag_ = on; }
  bool manualRegistFlag() const { return manualRegistFlag_; }
  // The SIM activation message, sent once the network registers the circuit domain
  // (InitControllerImsi.cpp).
  void sendActiveSimcardSMS(int mode);
  // The reminder that a roaming network is billed like home (InitControllerRoamAlert.cpp).
  void whiteListCheck();
  Q_INVOKABLE void clickOKBtnInZ3iPopUp1(QObject *sender = nullptr);
  Q_INVOKABLE void clickCheckboxInZ3iPopUp1(QObject *sender = nullptr);
  bool whiteListCheckFlag() const { return whiteListCheckFlag_; }
  void setWhiteListCheckFlag(bool on) { whiteListCheckFlag_ = on; }
  bool isWhiteListReminderOpen() const;
  WhiteListReminderSheet *whiteListReminderSheet();
  // The home MCC (7/58).
  Q_INVOKABLE void dealWithMsgOfCheckHPLMN(const Notification &n);

  // Roaming: the registration state of Icera devices with the serving cell (7, 39) and the
  // roaming switches read from the modem (513, 86).
  Q_INVOKABLE void dealWithMsgOfCheckRoamInfo(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReadRoamSwitch(const Notification &n);
  void dealWithCheckRoamInfo(const UIMsg &msg);
  void dealWithReadRoamSwitch(const UIMsg &msg);
  // 5 roaming (0), 1 home (1), anything else 2.
  static int getNetworkRoamStatusWithCregResult(quint32 cregState);
  void setRoamTransferModeWithPreStatus(int previousStatus, int newStatus);
  // The operator's two roaming pictures (Init/"setRoamStatusForDidoro").
  void setRoamStatusForDidoro(int roamStatus);
  QString roamingPictureForDidoro() const { return roamingPictureForDidoro_; }
  QString homePictureForDidoro() const { return homePictureForDidoro_; }
  // "runtimeIsSameMCC" from the serving MCC/MNC and the SIM's home MCC.
  void checkIsNationnalRoam(const QString &servingMccmnc);
  // The serving network is one of Internet/"InternetWhiteList".
  bool isInWhiteList() const override;
  // Offers to disconnect when a connected device moved from home to roaming.
  void disconectNetIfConfig();
  // The roam alert window: brought to the front and ordered out (its content is the alert's).
  Q_INVOKABLE void closeRoamAlertWnd(QObject *sender = nullptr);
  void orderFrontRoamAlertWnd();
  RoamAlertWindow *roamAlertWnd();
  bool hasAlertedRoam() const { return hasAlertRoam; }
  bool isRoamAlertWndVisible() const { return roamAlertWndVisible_; }
  int registeredNetworkRoamStatus() const override { return registeredNetworkRoamStatus_; }
  void setRegisteredNetworkRoamStatus(int status) { registeredNetworkRoamStatus_ = status; }
  int iRoamDefaultValue() const override { return iRoamDefaultValue_; }
  int nRoamDefaultValue() const override { return nRoamDefaultValue_; }
  bool iRoamSwitchOn() const { return btnIroamSwitchOn_; }
  bool nRoamSwitchOn() const { return btnNroamSwitchOn_; }
  bool roamSwitchesEnabled() const { return roamSwitchesEnabled_; }
  int currentHMcc() const { return currentHMcc_; }
  void setCurrentHMcc(int mcc) { currentHMcc_ = mcc; }
  // Asking before a connect on a white-listed roaming network stays on until the user opts out.
  bool roamTipWhenInWhiteList() const override { return roamTipWhenInWhiteList_; }
  void setRoamTipWhenInWhiteList(bool on) { roamTipWhenInWhiteList_ = on; }
  // Serving cell and location area as decimal texts (diagnostics and cell windows).
  QString servingCellText() const { return servingCellText_; }
  QString locationAreaText() const { return locationAreaText_; }
  // Connection rules of roaming: may an automatic connect start on this network?
  bool isRoaming() const { return networkRoamStatus_ == 0; }
  // Back to the start values when the device leaves.
  void registrationAndRoamDeviceRemoved();

  // ---- end of registration and roaming ----

  // ---- device lock code (InitControllerDeviceLock.cpp) ----
  // The device's lock state at start (0, 27) and the answer to an unlock request (0, 165).
  Q_INVOKABLE void dealWithMsgOfCheckDeviceLockStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckDeviceUnLockResult(const Notification &n);
  // Empties the code field and runs the unlock sheet on `window` (the main window when null).
  Q_INVOKABLE void openUnlockDeviceWindow(QWidget *window = nullptr) override;
  Q_INVOKABLE void unlockDeviceOK(QObject *sender = nullptr);
  Q_INVOKABLE void unlockDeviceCancel(QObject *sender = nullptr);
  // The feature that asked for the code: 2 phonebook, 3 USSD, 4 call, 5 SIM toolkit, 6 settings.
  // The asking feature when the device reported itself locked as it started (no feature).
  static constexpr int kDeviceLockAskedAtStartUp = -1;
  Q_INVOKABLE void setDeviceLockFunctionModule(int module) override { deviceLockFunctionModule_ = module; }
  Q_INVOKABLE int getDeviceLockFunctionModule() const override { return deviceLockFunctionModule_; }
  // Four characters, all digits.
  static bool isValidDeviceUnlockCode(const QString &code);
  UnlockDeviceSheet *unlockDeviceSheet();
  bool firstUnlockedDevice() const { return firstUnlockedDevice_; }
  // ---- end of device lock code ----

  // ---- diagnostics, versions and the report (InitControllerDiagnostics.cpp,
  //      InitControllerVersions.cpp, InitControllerUpdater.cpp) ----
  Q_INVOKABLE void showDiagInfo(QObject *sender = nullptr);
  Q_INVOKABLE void refreshDiagWindow(QObject *sender = nullptr);
  Q_INVOKABLE void closeDiagWindow(QObject *sender = nullptr);
  Q_INVOKABLE void OpenDiagInfoInTextEdit(QObject *sender = nullptr);
  Q_INVOKABLE void clickDiagSegmentedTable(QObject *sender = nullptr);
  Q_INVOKABLE void openRssiLacCiWindow(QObject *sender = nullptr);
  Q_INVOKABLE void closeRssiLacCiWindow(QObject *sender = nullptr);
  Q_INVOKABLE void showLogs(QObject *sender = nullptr);
  Q_INVOKABLE void openAboutURL(QObject *sender = nullptr);
  void showDiagnosticInfo();
  void initDiagWindow();
  void clearDiagWindow();
  void initRssiLacCiWindow();
  void setIMEINumInDiagWindow();
  // YES from the fill, NO from the IMSI reply: with Setting/"CheckIMSIForDiag" the fill asks the
  // device and the reply shows it; without, the fill shows the IMSI known.
  void refreshDiagIMSI(bool query);
  void showNetworkNameInDiagnostic();
  void displaySPNNameAtDiagWindow();
  void prepareForDicDiagWindowInfo(QLabel *field, const QString &key);
  static QVariant checkNilWithObject(QLabel *field);
  DiagnosticsWindow *diagWindow();
  SignalDetailWindow *rssiLacCiWindow();
  // The reduced window of a CDMA device (also when the window is made later).
  void diagUseCdmaLayout();
  // The text a value field of the window shows (by its label's wording key).
  QString diagValue(const QString &labelKey) const;
  // The export: headings at the margin, other labels 8 spaces in, then 5 spaces and the value.
  static QByteArray diagnosticsExportText(const QList<QPair<QString, QString>> &pairs, const QStringList &headings);
  // Writes "DiagInfo.txt" from the window; its path, or empty when it could not be written.
  QString exportDiagInfo();
  // The AT log files that exist, in the folder the log writes to.
  static QStringList atLogFiles();

  Q_INVOKABLE void dealWithMsgOfCheckFWVERSION(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckSmsPPDownload(const Notification &n);
  // The modem driver's version under `root` (the system's root in the program).
  static QString dataCardDriverVersion(int platform, const QString &root);
  QString getDataCardDriverVersion() const;
  QString getDriverVersion() const;
  static void setDriverInfoRoot(const QString &root);
  void popUpSimcardUpdateWnd();
  void setSimcardUpdateEndWording();
  void closeSimcardUpdateWnd();
  void selectPCPhonebook();
  SimCardUpdateSheet *simCardUpdateSheet();
  bool isSimUpdateNoticeVisible() const;
  QString simUpdateNoticeText() const;
  // The notice's steps after a reply (tests shorten them).
  static void setSimUpdateDelaysMs(int textMs, int closeMs, int phonebookMs);
  Q_INVOKABLE void sendReport(QObject *sender = nullptr);
  QString reportText();
  // A signal text without its unit, "Null" when nothing is left.
  static QString reportValueWithoutUnit(const QString &text);
  // ---- end of diagnostics, versions and the report ----

  void setInactivatedUSIMForRizoraWithStatus(quint32 status);
  void setNetworkDomain(int mode, const QString &networkName);
  void closeApplication();

  // The delay of the "check" pictures before the real one shows (tests shorten it).
  static void setCheckPictureDelayMs(int ms);

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;

private:
  void specialInit();
  void specialDeviceRemoved();
  void showImage(class QLabel *label, const QString &imageName);
  bool readPackage(const Notification &n, UIMsg *msg) const;
  void wirePinSheets();
  void sendPinCheck(const QString &pin);
  void sendPukCheck(const QString &newPin, const QString &puk);
  void sendPinAutoValidationSwitch(bool on);
  void setLockTip(const QString &wordingKey);
  bool writeSavePinChoice(bool on);
  // Tells that the code just typed was wrong; the sheet that follows opens only once the user
  // has read it (afterWrongCodeAlert).
  void tellWrongCode(const QString &wordingKey);
  void afterWrongCodeAlert(std::function<void()> next);

  int m_SimPinState = kSimNotReady;
  int m_deviceMode = 1;
  int networkMode_ = 0;
  int checkPinPukStatus_ = kCheckNone;
  int roamTransferMode_ = 2;
  int networkRoamStatus_ = 2;
  int registeredNetworkRoamStatus_ = 2;
  QString pinNum_;
  bool hadDoPinAutoValidation_ = false;
  bool manuuallyInputPinFlag_ = false;
  bool pinInputWndDisplayFlag_ = false;
  bool pinAutoValidationChecked_ = false;   // btnPINAutoValidation_
  bool pinNumSavedInConfigChecked_ = false; // btnPinNumSavedInConfigFile_
  QString networkName_;
  NetworkIdentityHandlers identity_;
  bool firstTimeDealWithQdon_ = true;
  bool hasAlertRoam = false;
  bool alreadyGetSimIMSIFlag_ = false;
  QString m_IMSI;
  // Set while a CIMI reply runs: whether its card differs from the last one chosen for.
  std::optional<bool> simIsNewForThisReply_;
  bool isNewSim(const QString &imsi);
  // The activation notice without a message to send shows once per insertion.
  bool activeSmsAlertShown_ = false;
  QString MCCMNCForAPNMatch;
  bool mccmncForAPNMatchLoaded_ = false;
  bool dialFunctionEnabledFlag_ = true;
  bool firstUnlockedDevice_ = false;
  bool sendDiagInfoSMSFlag_ = false;
  bool networkStatusViewHidden_ = false;
  bool autoPinFailed_ = false;
  QString diagMcc_, diagMnc_; // the serving network's codes last reported, for the diagnostics
  bool wrongCodeAlertUp_ = false;
  // Set while the acceptance of the device code is being told (until the event loop turns).
  bool unlockJustAccepted_ = false;
  void deviceUnlockJustAccepted();
  std::function<void()> afterWrongCodeAlert_; // the sheet to open when it is answered
  QVariantMap dicDiagWindowInfo_;             // the values the diagnostics window shows, by its keys

  // ---- state of signal strength and device modes ----

  QLabel *ensureSignalView(QPointer<QLabel> &view, const char *name);
  void showEvdoImage(const QString &imageName);
  void setEvdoViewsVisible(bool visible);
  // Operations of the settings window, the connection controller and the updater conversation,
  // each passed on through the neighbour's interface when that neighbour is present.
  int getCurrentNetWorkPreferedMode() const;
  void settingSetWCDMASelectNetworkVisible(bool visible);
  void settingSetCDMASelectNetworkVisible(bool visible);
  void settingDealWithSearchmode(quint32 searchMode, quint32 selectedMode, quint32 prefMode);
  void settingDealWithSearchmodeForIcera(quint32 searchMode, quint32 selectedMode);
  void settingDealWithPreferenceMode(quint32 prefMode);
  void settingSetCheckForUpdateRizoraEnable(bool enable);
  void settingSetRuvozModel(const QString &model);
  void dialSetWCDMAConfigHidden(bool hidden);
  void updaterDealWithInternalFirmwareVersion(const QString &version);
  void updaterDealWithDeviceType(const QString &model);
  // The diagnostics window shows the air-interface values when it is open.
  void showDiagAirInfo();

  int m_SignalStrength = 0;
  QTimer timerAlertSelect3GPrefer_;
  bool allowAlertSel3GPreferWhenSignalToNoSignal_ = true;
  QString rscp_, rssi_, ecno_;
  QString signalDetailRssi_;
  QString diagRAC_, diagRXqual_, diagRXlev_, diagFrequency_, diagChannel_;
  QMap<QString, QString> diagSignalFields_;
  QString m_FWVersion, m_HWVersion, m_InternalFWVersion, m_Devicemodel, m_SerialNumber;
  bool ruvozUITopFrontSizeFlag_ = false;

  // ---- end ----

  // (separator)

  // ---- state of registration and roaming ----
  QString currentAccessTechnology_;
  bool firstTimeDealWithQpas_ = false;
  bool manualRegistFlag_ = false;

  bool apnCyleWhenRoamToNoRoam_ = false;
  bool roamAlertWndVisible_ = false;
  bool whiteListCheckFlag_ = true;
  QPointer<RoamAlertWindow> roamAlertWnd_;
  QPointer<WhiteListReminderSheet> winZ3iWhiteCheck_;
  bool roamTipWhenInWhiteList_ = true;
  int iRoamDefaultValue_ = 0;
  int nRoamDefaultValue_ = 0;
  bool btnIroamSwitchOn_ = false;
  bool btnNroamSwitchOn_ = false;
  bool roamSwitchesEnabled_ = false;
  int currentHMcc_ = 0;
  QString roamingPictureForDidoro_;
  QString homePictureForDidoro_;
  QString servingCellText_;
  QString locationAreaText_;
  // ---- end ----

  QTimer modemStatusTimer_;
  QTimer simImageTimer_;
  QPointer<PinSheet> pinSheet_;
  QPointer<PukSheet> pukSheet_;
  QPointer<ReAlertSheet> reAlertSheet_;

  // ---- state of the device lock code ----
  void wordUnlockDeviceSheet();
  void endUnlockDeviceSheet();
  void deviceLockDeviceRemoved();
  QPointer<UnlockDeviceSheet> wndUnlockDevice_;
  int deviceLockFunctionModule_ = 0;
  // ---- end ----

  // ---- state of diagnostics, versions and the report ----
  void setDiagValue(const QString &labelKey, const QString &text);
  int diagNetCardStatus() const;
  void updaterDeviceRemoved();
  QPointer<DiagnosticsWindow> m_DiagWindow;
  QPointer<SignalDetailWindow> windowRssiLacCi_;
  QPointer<SimCardUpdateSheet> wndSimCardUpdate_;
  bool diagCdmaLayoutWanted_ = false;
  QTimer simUpdateTextTimer_;
  QTimer simUpdateCloseTimer_;
  QTimer simUpdatePhonebookTimer_;
  // ---- end ----
};

extern InitController *g_InitController;
