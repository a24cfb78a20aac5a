#pragma once

#include "QELUIController.h"
#include "StoragePositions.h"

#include "ButtonMatrix.h"
#include "SettingsNeighbour.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

class CodeSheet;
class IconMatrix;
class NetListModel;

// The controls of one event-sound row of the Alert page (connect, disconnect, SMS, call).
struct SoundRow {
  QPointer<QLabel> text;
  QPointer<QCheckBox> mute;
  QPointer<QLineEdit> fileName;
  QPointer<QPushButton> browse;
  QPointer<QPushButton> play;
};

// The settings window: its pages in the main tab "Setting", the user's choices they write, and
// the answers other controllers ask of them (auto connect, SMS defaults, PIN and device lock
// state). Every outlet may be null (a page the configuration leaves out, or a test without
// windows), so the logic runs without widgets. The work is split by concern:
//   SettingController.cpp          life cycle, device hooks, enable rules, navigation, getters
//   SettingControllerMessages.cpp  backend and notification registrations, wording, routing
//   SettingControllerSecurity.cpp  PIN, PUK and the device lock code
//   SettingControllerSms.cpp       the SMS page
//   SettingControllerSystem.cpp    general, start-up, sounds, language and update options
//   SettingControllerNetwork.cpp   network selection, band, roaming switches and roaming IMSI
//   SettingControllerCall.cpp      call forwarding, waiting and barring
//   SettingControllerBrowser.cpp   the start page and the favourite links
//   SettingControllerSkin.cpp      skin item names and the reduced "RuvozUI" layout
//   SettingControllerBackup.cpp    backup and restore of the phonebook and the messages
// The widgets are made by SettingPages (one builder per page, in one table).
class SettingController : public QELUIController, public SettingsNeighbour {
  Q_OBJECT
public:
  explicit SettingController(QObject *parent = nullptr);
  ~SettingController() override;

  // ---- outlets (set by SettingPages before the controller wakes) ----
  QPointer<QWidget> settingView;            // the whole page of the main tab "Setting"
  QPointer<ButtonMatrix> matrixSettingItem; // the page-selection matrix (cells carry page tags)
  QPointer<QLabel> tfdSettingTitle;         // the title field above the pages
  QPointer<QLabel> tfdIMSIValue, tfdSoftwareVersion, tfdPhoneNumber;
  QList<QPointer<QAbstractButton>> settingPageButtons; // by page identifier ("pageIdentifier")

  // System page.
  QPointer<QCheckBox> btnAutoConnect;
  QPointer<ButtonMatrix> matrixAutoConnectRuvoz; // row 0 on, row 1 off (reduced layout)
  QPointer<QPushButton> btnSaveAutoConnectRuvoz;
  QPointer<QCheckBox> btnAutoDeleteSMS;
  QPointer<QCheckBox> btnStartWithSystem, btnStartWithPluginDevice, btnLPMBState;
  QPointer<QCheckBox> btnDisconnectAsk, btnConnectWarning, btnNotAutolaunch;
  QPointer<QLabel> labelLanguage, labelConnectWarningTip, labelLPMTip;
  QPointer<QComboBox> popupLanguage;
  QPointer<QAction> menuLanguageFirst, menuLanguageSecond;
  QPointer<QCheckBox> btnAutoUpdate;
  QPointer<ButtonMatrix> matrixAutoUpdate; // cells tagged 1 (every two weeks) and 0 (never)
  QPointer<QLineEdit> tfdServerAddress;
  QPointer<QLabel> labelServer, labelUpdate;
  QPointer<QPushButton> btnApplyServer, btnUpdateNow, btnCheckForUpdateRizora;
  QPointer<QWidget> boxUpdate;
  QPointer<QComboBox> cboxUpdateDuration;
  QPointer<QLabel> labelUpdateDuration;

  // Connect page.
  QPointer<ButtonMatrix> matrixConnectType; // cells tagged 0 (RAS) and 1 (NDIS)
  QPointer<QLabel> labelConnectFunction, labelConnectType, labelServiceNumber;
  QPointer<QLineEdit> tfdServiceNumber;

  // Alert page.
  SoundRow soundRows[4];

  // Security page.
  QPointer<QCheckBox> m_PINEnable;
  QPointer<QPushButton> m_RevisePinButton;
  QPointer<QCheckBox> btnPINAutoValidat_;
  QPointer<QAction> labelPINEnable_, labelPINDisable_, labelPinModify_;
  QPointer<QCheckBox> btnCheckDeviceUnlockCodeEnable;
  QPointer<QPushButton> btnModifyDeviceUnlockCode;
  // The PIN kept on this computer (when the configuration offers saving it).
  QPointer<QCheckBox> btnPinNumSavedInConfigFile_;
  QPointer<QPushButton> btnRemovePinAutoCheckByICCID_;
  // Backup and restore of the phonebook and the messages (Security page).
  QPointer<QCheckBox> btnBRSMSandPB;
  QPointer<QPushButton> btnBackupSMSAndPB, btnRestoreSMSAndPB;
  QPointer<QLabel> labelServicesNumber;

  // SMS page.
  QPointer<QLineEdit> MessageCenter;
  QPointer<QComboBox> MessageValidityPeriod;
  QPointer<ButtonMatrix> MessageDeliveryReport; // row 0 on (tag 1), row 1 off (tag 0)
  QPointer<QComboBox> MessageStoreLoc;
  QPointer<QComboBox> cboxMsgRouting_;
  QPointer<QLabel> tfMsgRouting_;
  QPointer<QComboBox> cbxSingleLanguageSet_;
  QPointer<QPushButton> MessageSetApplyBtn, MessageSetCancelBtn;
  QList<QPointer<QLabel>> smsLabels; // by wording key ("wordingKey" property)

  // Network page.
  QPointer<ButtonMatrix> m_MethodToSelectNet;       // row 0 automatic, row 1 manual
  QPointer<ButtonMatrix> m_NetworkFindModeSeletion; // cells tagged by find mode (0..4)
  QPointer<ButtonMatrix> m_PreferenceMode;          // CDMA preference, tags 0..2
  QPointer<QWidget> networkClassLable, cdmaNetworkClassLable;
  QPointer<ButtonMatrix> matrixFrequencySelect_; // cells tagged by band index
  QPointer<QWidget> boxFrequencySelect_;
  QPointer<QCheckBox> btnIroamSwitchSetting_, btnNroamSwitchSetting_;
  QPointer<ButtonMatrix> matrixRoamingSet_; // tag 0 home IMSI, tag 1 roaming IMSI
  QPointer<QDialog> netSelectWindow;
  QPointer<QTableView> netListView;
  QPointer<QPushButton> netSelectBtn, CancelnetSelectBtn;
  QPointer<QPushButton> cancelNetworkManualSelectBtn;
  QPointer<QPushButton> btnSearchNetResultForR27K_;
  QPointer<QProgressBar> BarSsearchProcess;
  QPointer<QPushButton> btnSaveNetAndFrequencyRuvoz;
  QPointer<QLabel> labelProductNameRuvoz;

  // Call page.
  QPointer<QTabWidget> callSettingView_; // "CallForward", "CallWaiting", "CallBarring"
  QPointer<QCheckBox> btnDivertWhenBusy_, btnDivertWhenNotReachable_, btnDivertWhenNotAnswer_, btnDivertAll_;
  QPointer<QLineEdit> txdDivertWhenBusy_, txdDivertWhenNotReachable_, txdDivertWhenNotAnswer_, txdDivertAll_;
  QPointer<QCheckBox> btnCallWaitSetting_;
  QPointer<QCheckBox> btnBarAllOutgoing_, btnBarInternational_, btnBarInternationalEXHC_, btnBarAllIncoming_,
      btnBarIncomingWhenRoaming_;
  QPointer<QLineEdit> txdCallBarPassword_;
  QPointer<QLabel> labelCallBarPassword_;
  QPointer<QPushButton> btnCallSettingApply_, btnReadCallSetStatus_;

  // Browser page and its add and edit windows.
  QPointer<QComboBox> cbboxBrowserList;
  QPointer<QPushButton> btnAdvanced;
  QPointer<QLabel> labelBrowser;
  QPointer<QDialog> wndAddBrowser, wndEditBrowser;
  QPointer<QLineEdit> textAddBrowser, textEditBrowser;
  QPointer<QComboBox> cbboxAddBrowserList;
  QPointer<QPushButton> btnAddLink, btnEditAvailable, btnRemoveAvailable, btnOKAddBrowser, btnCancelAddBrowser,
      btnOKEditBrowser, btnCancelEditBrowser;

  // FavoriteLinks page.
  QPointer<IconMatrix> iconMatrixFavoriteLinks;
  QPointer<QLineEdit> tfdLinkName, tfdLinkPath, tfdLinkImage, tfdLinkPara;
  QPointer<QComboBox> cboxLinkType; // 0 application, 1 web address
  QPointer<QCheckBox> btnLaunchAtStartup, btnLaunchWhenConnected;
  QPointer<QPushButton> btnBrowseLinkPath, btnBrowseLinkImage, btnMoveLinkBackward, btnMoveLinkForward,
      btnModifyFavoriteLink, btnCancelFavoriteLink;
  // ---- backup and restore of the phonebook and the messages (SettingControllerBackup.cpp) ----
  // The check box: the Backup and Restore buttons are enabled exactly when it is on.
  void BRSMSandPB(bool on);
  void backupSMSAndPhoneBook();
  void restoreSMSAndPhoneBook();
  void backupPhoneBookOnly();
  void restorePhoneBookOnly();
  // The panels' ends: the chosen path (empty: cancelled).
  void backupSMSAndPhoneFile(const QString &path);
  void backupPhoneFileOnly(const QString &path);
  void restoreSMSAndPhoneFile(const QString &path);
  void restorePhoneFileOnly(const QString &path);
  // With "Setting_BackupAndRestorePhoneBookOnly" the buttons back up and restore the phonebook
  // alone and are always enabled.
  void initNibForBackupPhoneBookOnly();
  // The phonebook's own file, phoneBook.plist.
  QString getPhoneBookFilePath() const;
  // Merges the restored groups into the phonebook file.
  bool restorePhonebook(const QVariantList &restored);

  // ---- life cycle and frame (SettingController.cpp) ----
  void loadSettingList();
  QStringList settingBarItems() const { return m_settingBarItemArray; }
  bool hasSettingBarItems() const { return hasSettingList_; }
  // YES when the page list holds `identifier`; NO without a page list.
  Q_INVOKABLE bool sethasModuleWith(const QString &identifier) const override;
  // Removes every settings tab whose identifier is not in the page list (none without a list).
  void ConfigSettingToolBarArray();

  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void connectStatusDidChange(const Notification &n);
  Q_INVOKABLE void setDataServicesStatus(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  void setEnableBRSMSAndPB(bool enable);
  Q_INVOKABLE void setSettingBtnStatus(bool enable) override;
  Q_INVOKABLE void setAutoConnectBtnEnable(bool enable) override;
  Q_INVOKABLE bool allowAutoConnect() const override;
  Q_INVOKABLE bool allowAutoReconnect() const override;

  // YES while a manual network selection runs; the quit rules refuse to quit then.
  Q_INVOKABLE bool isManualSelecting() const override { return m_ManualSelectFlag; }
  void setManualSelecting(bool on) { m_ManualSelectFlag = on; }
  // YES when one of this window's sheets is up on the main window.
  Q_INVOKABLE bool isPinPukOrNetSelectWinBeginSheet() const override;
  QString getPinStatus() const override;
  QString getNetworkSelectionMode() const override;
  QString getNetworkFindModeSelection() const override;
  static QString networkFindModeWording(int tag);
  // Row and tag of the network page's matrices, until that page is built.
  int networkSelectMethodRow() const;
  int networkFindModeTag() const;
  void setNetworkSelection(int methodRow, int findModeTag);

  // Navigation: a matrix or button carrying a page tag.
  Q_INVOKABLE void settingTabViewItemSelect(QObject *sender);
  Q_INVOKABLE void settingTabViewItemSelected(QObject *sender);
  // The identifier of a page tag of the navigation matrix (empty for another tag).
  static QString pageOfSelectTag(int tag);
  static QString pageOfSelectedTag(int tag);
  // Brings the settings window forward on the page named `page`; false when there is no such page.
  bool openSettingPage(const QString &page) override;
  QString currentSettingPage() const;
  // Switching pages is refused while a manual network selection runs; leaving the SMS page
  // drops its unapplied edits.
  bool shouldSelectSettingPage(const QString &page);
  void selectSettingPage(const QString &page);

  // The PIN fields keep at most four leading digits under Setting/"PinLimitFourDigitals"; the
  // centre field has its own filter.
  void controlTextDidChange(QObject *field);

  // ---- registrations and wording (SettingControllerMessages.cpp) ----
  void initWording();
  Q_INVOKABLE void updateLanguages(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
  Q_INVOKABLE void activePinStatus(const Notification &n);
  Q_INVOKABLE void pinModifyClicked(const Notification &n);
  Q_INVOKABLE void pinUnlockClicked(const Notification &n);
  Q_INVOKABLE void setNetModeChanged(const Notification &n);
  Q_INVOKABLE void methodToSelectNetChanged(const Notification &n);
  Q_INVOKABLE void btMessageSetApply(const Notification &n);
  Q_INVOKABLE void autoDeleteSMSLabelChanged(QObject *sender = nullptr);
  // Routing: names 0 "Packet Switched" ... 3 "Circuit Switched Preferred".
  static QString messageRoutingString(int value);
  int indexOfMsgRoutingArray(const QString &text) const;
  int getIndexOfMsgRoutingList(const QString &name) const;
  void selectMessageRouting(int value);
  Q_INVOKABLE void dealWithMsgOfMsgRoutingRead(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfMsgRoutingFeedback(const Notification &n);
  void setSMSStoreLocWhenFirstStartupUI();

  // ---- PIN, PUK and device lock code (SettingControllerSecurity.cpp) ----
  void runAlertPanel(const QString &wordingKey) override;
  void runInformationPanel(const QString &text);
  void setBtnPinEnable(bool enable);
  void setBtnPinState(bool on);
  void setPinActiveStatus(quint32 on) override;
  bool pinActiveStatus() const;
  void setPinTimeLeft(int tries) override;
  void setPukTimeLeft(int tries) override;
  int pinTimeLeft() const { return pinNum; }
  int pukTimeLeft() const { return pukNum; }
  void setDeviceUnlockCodeState(bool on) override;
  bool getDeviceUnlockCodeState() const override;
  Q_INVOKABLE void EnablePIN(QObject *sender = nullptr);
  Q_INVOKABLE void DisablePIN(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePinActiveStatus(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePinActiveStatusOK(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePinActiveStatusCancel(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePin(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePinOK(QObject *sender = nullptr);
  Q_INVOKABLE void ChangePinCancel(QObject *sender = nullptr);
  Q_INVOKABLE void CheckoutPuk(QObject *sender = nullptr);
  Q_INVOKABLE void CheckoutPukOK(QObject *sender = nullptr);
  Q_INVOKABLE void CheckoutPukCancel(QObject *sender = nullptr);
  Q_INVOKABLE void CheckPinPukRemainCount(QObject *sender = nullptr);
  Q_INVOKABLE void pinAutoValidation(QObject *sender = nullptr);
  Q_INVOKABLE void checkDeviceUnlockCodeStatus(QObject *sender = nullptr);
  // The saved PIN's controls: the box switches saving, the button forgets the saved PIN; both
  // act on the device-status side, which keeps the PIN.
  Q_INVOKABLE void enableSavePinNum(QObject *sender = nullptr);
  Q_INVOKABLE void removeAutoCheckPinByICCID(QObject *sender = nullptr);
  void refreshSavedPinControls();
  Q_INVOKABLE void modifyDeviceUnlockCode(QObject *sender = nullptr);
  Q_INVOKABLE void enableDeviceUnlockCodeOK(QObject *sender = nullptr);
  Q_INVOKABLE void enableDeviceUnlockCodeCancel(QObject *sender = nullptr);
  Q_INVOKABLE void modifyDeviceUnlockCodeOK(QObject *sender = nullptr);
  Q_INVOKABLE void modifyDeviceUnlockCodeCancel(QObject *sender = nullptr);
  void openUnlockDeviceWindow();
  void SendCLCK();
  void SendCPWD();
  void SendPukCheckout();
  void setPinAutoValidationStatusWithLeftPinTimes(int tries);
  Q_INVOKABLE void dealWithMsgOfChangePinActiveStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCountPinPukRemain(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfChangePin(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckPinStatus(const Notification &) {}
  Q_INVOKABLE void dealWithMsgOfCheckoutPuk(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfChangePinAutoValidationStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckDeviceLockStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfModifyDeviceLockCodeStatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckDeviceUnLockResult(const Notification &n);
  void dealWithMsgOfSetPinAutoValidationStatus(const Notification &n);
  void dealWithMsgOfCheckDeviceUnLockCount(const Notification &n);
  // The sheets, made on first use.
  CodeSheet *enablePinSheet();
  CodeSheet *revisePinSheet();
  CodeSheet *pukSheet();
  CodeSheet *unlockDeviceSheet();
  CodeSheet *modifyUnlockDeviceSheet();
  int pinEnableFlag() const { return m_PinEnableFlag; }
  bool pinAutoValidationStatusWinFlag() const { return pinAutoValidationStatusWinFlag_; }
  int unlockCount() const { return unlockCount_; }

  // ---- record settings (SettingControllerLimits.cpp) ----
  // Runs the records controller's reset check, then reloads its settings window.
  void configRecordSettings();

  // ---- SMS page (SettingControllerSms.cpp) ----
  // The page's store positions: "SetAtDefault" 0, "SetAtSIM" 1, "SetAtPC" 2, "SetAtME" 3,
  // "SetAtTcard" 4, from SMS/"SetSMSPositionOrder" or the platform's default.
  static QelPositionManager smsSettingPositions(const QVariant &positionOrder, int platformType);
  const QelPositionManager &positionManager() const { return positionManager_; }
  void InitSMSSettingNib();
  void updateSet();
  QString readMessageCenter() const override;
  int readValidityPeriod() const override;
  bool readDeliveryReport() const override;
  int readMessageRouting() const;
  int readMessageStoreLoc() const;
  void writeMessageCenter(const QString &number) override;
  void writeValidityPeriod(int index);
  void writeDeliveryReport(bool on);
  void writeMessageRouting(int value);
  void writeMessageStoreLoc(int position);
  void writeCurrentSmsStoredPosition(int position);
  void writeSMSNationalIdentifier();
  void REQMessageCenter(const QString &number);
  void REQMessageStoreLoc(int position);
  void setMessageRouting(int value);
  void checkMessageCenter();
  // The centre field's filter: digits and "+" first, then at most 32 characters.
  static QString filterMessageCenter(const QString &text);
  Q_INVOKABLE void MessageSetApply(QObject *sender = nullptr);
  Q_INVOKABLE void MessageSetCancel(QObject *sender = nullptr);
  Q_INVOKABLE void setSMSPageEdited(QObject *sender = nullptr);
  Q_INVOKABLE void dealWithMsgOfSMSCenter(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSMSRevPos(const Notification &n);
  Q_INVOKABLE void setIsSimCardFull(bool full) override;
  bool isSimCardFull() const { return isSMSInSimCardFull_; }
  void setMessageStoreLocEnable();
  void setMessageSelectPC();
  // The store position the page shows (-1 none) and its row.
  int currentSetSMSPosition_ = -1;
  int currentSetSMSPositionIndex_ = 0;
  int currentSMSStorePosition() const override { return currentSetSMSPosition_; }
  Q_INVOKABLE void setCurrentSetSMSPostion_(int position) override { currentSetSMSPosition_ = position; }
  // The restore result, from the backup page and the message tab's restore reply.
  Q_INVOKABLE void restoreAlertPanel(bool ok) override;
  // ---- end ----

  // ---- general, sounds, language, update (SettingControllerSystem.cpp) ----
  Q_INVOKABLE void auto_Connect(QObject *sender = nullptr);
  Q_INVOKABLE void auto_Connect_Ruvoz(QObject *sender = nullptr);
  Q_INVOKABLE void StartWithSystem(QObject *sender = nullptr);
  Q_INVOKABLE void StartWithPluginDevice(QObject *sender = nullptr);
  Q_INVOKABLE void setLPMEnable(QObject *sender = nullptr);
  Q_INVOKABLE void enableConnectWarningDisplay(QObject *sender = nullptr);
  Q_INVOKABLE void DisconnectAsk(QObject *sender = nullptr);
  Q_INVOKABLE void SelectConnectType(QObject *sender = nullptr);
  Q_INVOKABLE void setServicesNum(QObject *sender = nullptr);
  void initDisconnectAskSate();
  void loadServicesNum();
  void writeConnectType(int type);
  void ConfigAlert();
  void configSoundRow(int type);
  void updateSoundFile(int type, const QString &defaultKey);
  QString defaultSoundFile(int type) const;
  Q_INVOKABLE void setSoundMute(int type);
  Q_INVOKABLE void browseSoundFile(int type);
  Q_INVOKABLE void playSoundOfType(int type);
  // The sound file a browse chose (tests and the file panel call it).
  void takeSoundFile(int type, const QString &path);
  void loadLanguageList();
  void initLanguageStateInMenu();
  static QString EnglishToNative(const QString &english);
  static QString NativeToEnglish(const QString &native);
  Q_INVOKABLE void changeLanguageTo(QObject *sender = nullptr);
  Q_INVOKABLE void changeLanguageToFirst(QObject *sender = nullptr);
  Q_INVOKABLE void changeLanguageToSecond(QObject *sender = nullptr);
  void changeLanguageby(const QString &native);
  void reloadNibWording() { notifyChangeLanguage(); }
  void initUpdateNibState();
  void initUpdateNibWording();
  static bool isRadioModeAutoUpdate(QObject *control);
  Q_INVOKABLE void CheckAutoUpdate(QObject *sender = nullptr);
  Q_INVOKABLE void ApplyServerAddress(QObject *sender = nullptr);
  Q_INVOKABLE void SendManualUpdate(QObject *sender = nullptr);
  Q_INVOKABLE void SetUpdateDuration(int interval);
  Q_INVOKABLE void checkForUpdateRizora(QObject *sender = nullptr);
  // The operator's update-check address: the worded template with its three values
  // percent-encoded.
  static QString fillWebLinkTemplate(const QString &pattern, const QStringList &values);
  QString updateCheckAddress() const;

  // What the device status learns of the modem's modes and identity.
  Q_INVOKABLE void dealWithMsgOfCheckSearchmode(uint searchMode, uint selectedMode, uint prefMode) override;
  Q_INVOKABLE void dealWithMsgOfCheckSearchmodeForIcera(uint searchMode, uint selectedMode) override;
  Q_INVOKABLE void dealWithMsgOfCheckPreferenceMode(uint prefMode) override;
  Q_INVOKABLE void setWCDMASelectNetworkVisible(bool visible) override;
  Q_INVOKABLE void setCDMASelectNetworkVisible(bool visible) override;
  Q_INVOKABLE void setCheckForUpdateRizoraEnable(bool enable) override;
  Q_INVOKABLE void setRuvozModel(const QString &model) override;
  Q_INVOKABLE int getCurrentNetWorkPreferedMode() const override;

  // ---- network selection and roaming (SettingControllerNetwork.cpp) ----
  static int getFrequencyTag(const QString &name);
  static QStringList frequencyNames();
  // The search mode a request carries: `kind` 0 the automatic request, 1 the manual search, 2
  // the back-to-automatic timer.
  int searchModeToSend(int kind) const;
  // The find-mode tag a search-mode reply selects (-1: unchanged).
  static int findModeTagOfReply(uint searchMode, uint selectedMode, uint prefMode);
  int getNetworkMode() const override;
  void ConfigNetworkSelectMode();
  void initNetFrequencySet();
  Q_INVOKABLE void SetSearchNetMode(QObject *sender = nullptr);
  Q_INVOKABLE void setSearchNetModeForR27K(QObject *sender = nullptr);
  Q_INVOKABLE void SetSearchNetClass(QObject *sender = nullptr);
  Q_INVOKABLE void SetPreferenceMode(QObject *sender = nullptr);
  Q_INVOKABLE void SetNetFrequency(QObject *sender = nullptr);
  Q_INVOKABLE void ApplyNetSelect(QObject *sender = nullptr);
  Q_INVOKABLE void CancelNetSelect(QObject *sender = nullptr);
  Q_INVOKABLE void cancelNetworkManualSelect(QObject *sender = nullptr);
  Q_INVOKABLE void clickIroamSwitch(QObject *sender = nullptr);
  Q_INVOKABLE void clickNroamSwitch(QObject *sender = nullptr);
  Q_INVOKABLE void roamingIMSISelect(QObject *sender = nullptr);
  void sendAutoNetSelectToBack();
  void sendManualNetSearchToBack();
  void sendManualSelectNetToBack(int row, int mode);
  Q_INVOKABLE void sendSetRoamSwitch() override;
  // The roaming boxes show the switches the modem reported.
  void showRoamSwitches(bool national, bool international) override;
  void sendGetNetDeviceInfo();
  void checkStatusAfterManualSelect();
  void backToAutoAfterSelNetSuccess();
  void backToAutoModeAfterSelNetSuccess();
  void startBackToAutoModeTimerWithSeconds(double seconds);
  const QTimer *backToAutoTimer() const { return timerBackToAutonetMode_; }
  void searchingNetworkUI(bool searching);
  void setSearchProcessBarEnable(bool on);
  void setMatrixFrequencySelectEnable(bool on);
  void restoreCurrentBand();
  void ruvozUIInitNetworkSetting();
  void registerCurrentNetworkAfterFailure(int failedRow);
  // The rows of a search reply, as the list table shows them.
  static QVariantList netListFromSearchReply(const QByteArray &data, bool shortNames);
  const QVariantList &netList() const { return netList_; }
  void setNetListModel(NetListModel *model);
  void setNetList(const QVariantList &list) { netList_ = list; }
  // The list table: values by column identifier, the Apply rule of a selection.
  QVariant netListValue(int row, const QString &column) const;
  void tableViewSelectionDidChange();
  int selectedNetRow() const;
  void selectNetRow(int row);
  Q_INVOKABLE void dealWithMsgOfSetSearchNetMode(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfManualSearchNet(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfManualSelectNet(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckNetChannel(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSetBandFrequency(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfNodeSelectSatus(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSetRoamSwitch(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfNetDeviceInfo(const Notification &n);
  Q_INVOKABLE void manualRegisterNet(const Notification &n);
  // The roaming IMSI: the rule of a SIM's IMSI and ICCID (0 home, 1 roaming).
  static int roamingImsiTagFor(const QString &imsi, const QString &iccid, const QVariantList &homeCfg,
                               const QVariantList &roamingCfg);
  Q_INVOKABLE void setRoamingStateAccordImsi(const QString &imsi) override;
  Q_INVOKABLE void setRoamingIMSISelectEnabled(bool enabled) override;
  Q_INVOKABLE int roamingImsiType() const override { return roamingImsiType_; }
  Q_INVOKABLE bool roamingImsiSet() const override { return roamingImsiSet_; }
  Q_INVOKABLE void setRoamingImsiSet(bool set) override { roamingImsiSet_ = set; }
  void setHasRegisteringNetFlag_(bool on) { hasRegisteringNetFlagValue_ = on; }
  bool hasRegisteringNetFlag_() const { return hasRegisteringNetFlagValue_; }
  void setisManualSetRoamSwitch(bool on) { isManualSetRoamSwitch_ = on; }
  bool isManualSetRoamSwitch() const { return isManualSetRoamSwitch_; }
  void setOperatorSelectionForNetwork(bool on) { isOperatorSelectionForNetwork = on; }
  Q_INVOKABLE bool getOperatorSelectionForNetwork() const override { return isOperatorSelectionForNetwork; }
  void setCheckNetStatusTimesAfterRegisterFailed(int n) { m_nCheckNetStatusTimes_ = n; }
  int checkNetStatusTimesAfterRegisterFailed() const { return m_nCheckNetStatusTimes_; }
  bool noPopupNetSelectWindowFlag() const { return noPopupNetSelectWindowFlag_; }
  int currentBandTag() const { return currentBandTag_; }

  // ---- call forwarding, waiting and barring (SettingControllerCall.cpp) ----
  static QString callBarringFacilityString(int index);
  void resetCallSetting();
  void callSettingNibEnable(bool enable);
  Q_INVOKABLE void updateNetworkStatus(const Notification &n);
  Q_INVOKABLE void callSettingApply(QObject *sender = nullptr);
  Q_INVOKABLE void readCallSettingStatues(QObject *sender = nullptr);
  Q_INVOKABLE void setCallForward(QObject *sender = nullptr);
  Q_INVOKABLE void setCallBarring(QObject *sender = nullptr);
  void sendCallForwardSetWithMode(int mode, int reason, const QString &number);
  void sendCallBarSetWithMode(int mode, int reason);
  void sendCallWaitSetWithMode(int mode, int enable);
  void sendCallForwardSetting();
  void sendCallBarSetting();
  void sendCallWaitSetting();
  void readCallForwardSetting();
  void readCallBarSetting();
  void readCallWaitSetting();
  void checkCallForwardBtnState();
  void resetCallForwardStates();
  void resetCallBarStates();
  void readCallBarSettingSuccess(int status);
  void continueReadCallForwardSetting(int status, const QString &number);
  Q_INVOKABLE void dealWithCallForwardSettingResult(const Notification &n);
  Q_INVOKABLE void dealWithCallBarSettingResult(const Notification &n);
  Q_INVOKABLE void dealWithCallWaitSettingResult(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReadCallForwardSetting(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReadCallWaitSetting(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReadCallBarSetting(const Notification &n);
  bool callSettingsAllFinished() const {
    return callForwardReadFinsihed_ && callBarReadFinsihed_ && callWaitReadFinsihed_;
  }
  bool needReadCallSetting() const { return needReadCallSetting_; }

  // ---- browser start page and favourite links (SettingControllerBrowser.cpp) ----
  void LoadBrowserList();
  const QVariantList &browserList() const { return browserList_; }
  int browserChoice() const { return m_Browser; }
  QString browserComboBoxItemAtIndex(int index) const;
  Q_INVOKABLE void advancedbrowserlist(QObject *sender = nullptr);
  Q_INVOKABLE void addlink(QObject *sender = nullptr);
  Q_INVOKABLE void editAvailableLinks(QObject *sender = nullptr);
  Q_INVOKABLE void okEditBrowser(QObject *sender = nullptr);
  Q_INVOKABLE void cancelEditBrowser(QObject *sender = nullptr);
  Q_INVOKABLE void removAvailableLinks(QObject *sender = nullptr);
  // The page's "do not open the page after connecting" box: stored when clicked.
  Q_INVOKABLE void notAutolaunchClicked(QObject *sender = nullptr);
  Q_INVOKABLE void okAddBrowser(QObject *sender = nullptr);
  Q_INVOKABLE void cancelAddBrowser(QObject *sender = nullptr);
  void comboBoxSelectionDidChange(QObject *box);
  // The start-page address: "http://" goes in front unless it begins with "http://" or "https:/".
  static QString browserAddress(const QString &text);
  Q_INVOKABLE void AutoLaunchURL() override;
  void openURLFirstConnectOnly();
  void initFavoriteLinksSettings();
  void loadFavoriteLinks();
  bool saveFavoriteLinks();
  const QVariantList &favoriteLinksProperties() const { return favoriteLinksProperties_; }
  Q_INVOKABLE void iconMatrixClicked(QObject *sender = nullptr);
  QVariantMap findLinkPropertiesByIndex(int index) const;
  void setCurLinkPropertyValue(const QVariant &value, const QString &key);
  void setLinkTypeComboxStatus();
  static void SetControl(QWidget *control, const QVariantMap &link, const QString &key);
  void switchInterfaceToIndexedLink(int index);
  Q_INVOKABLE void moveLinkBackward(QObject *sender = nullptr);
  Q_INVOKABLE void moveLinkForward(QObject *sender = nullptr);
  Q_INVOKABLE void modifyFavoriteLink(QObject *sender = nullptr);
  Q_INVOKABLE void cancelFavoriteLink(QObject *sender = nullptr);
  Q_INVOKABLE void launchLinkWhenConnectedChanged(QObject *sender = nullptr);
  Q_INVOKABLE void launchLinkAtStartupChanged(QObject *sender = nullptr);
  Q_INVOKABLE void browseLinkPath(QObject *sender = nullptr);
  Q_INVOKABLE void browseLinkImage(QObject *sender = nullptr);
  bool checkFavoriteURL() const;
  Q_INVOKABLE void checkLauchWebLinksAtMoment(bool connected) override;
  void launchFavoriteLinksBy(const QVariantMap &link);
  // Starts a program detached with its arguments (never through a shell); tests replace it.
  using LinkLauncher = std::function<bool(const QString &program, const QStringList &arguments)>;
  static void setLinkLauncher(LinkLauncher launcher);
  // The program and arguments that start an "application" link: an executable with `para` as
  // its one argument, or a .desktop file's command with `para` in its file field.
  static bool applicationCommand(const QString &path, const QString &para, QString *program, QStringList *arguments);

  // ---- skin binding and the reduced layout (SettingControllerSkin.cpp) ----
  // The skin item names and their controls, in registration order.
  QList<QPair<QString, QWidget *>> skinBindingTable() const;
  void initRuvozSkin();
  Q_INVOKABLE void ruvozUISaveNetAndFrequencySetting(QObject *sender = nullptr);
  Q_INVOKABLE void ruvozUISetNetSearchMode(QObject *sender = nullptr);
  void setSaveNetAndFrequencySettingBtnEnable(bool enable);
  void setSaveAutoConnectSettingBtnEnable(bool enable);
  void ruvozUISetMatrixEnable(bool enable);
  void initRuvozFrequencyWithTag(int tag);
  bool isRuvozUI() const;
  QWidget *ruvozView() const { return viewInSetting_; }

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  void loadCommonBundle() override;

private:
  QString sentNewPin_; // the new PIN of the change (or PUK unblock) the modem was asked for
  bool writeSetting(const QString &key, const QVariant &value);
  bool writeModuleSetting(const QString &module, const QString &key, const QVariant &value);
  void setSmsPageButtonsEnabled(bool enabled);
  void wordSheets();
  void setTimeLeftLabels();
  void invertPinCheckbox();
  void setPinMenuItems(bool on);
  void sendPinPayload(int minor, const QByteArray &payload, int type = 0);
  void initSecurityModuleWording();
  void initSmsModuleWording();
  void initAlertModuleWording();
  void initSystemModuleWording();
  void initConnectModuleWording();
  void initSettingItemsWording();
  void initSettingItemsBtnWording();
  void reloadSmsCombos();
  void selectDeliveryReport(bool on);

  QStringList m_settingBarItemArray;
  bool hasSettingList_ = false;
  QVariantList m_NetworkSelectModeItemArray;
  QVariant m_MessageValidPeriod;
  int defaultBandTag_ = -1;
  bool bHideSMSStoreDefault_ = false;
  bool bSimCardReady_ = false;
  bool isSMSInSimCardFull_ = false;
  bool ruvozAutoConnectEnableFlag_ = true;
  bool m_ManualSelectFlag = false;
  int m_PinEnableFlag = 0;
  bool pinAutoValidationStatusWinFlag_ = false;
  bool pinActive_ = false;
  int pinNum = -1;
  int pukNum = -1;
  int unlockCount_ = 5;
  bool deviceUnlockCodeState_ = false;
  bool settingTabUnlocked_ = false; // the code was just accepted for this tab: do not ask again
  int networkSelectMethodRow_ = 0;
  int networkFindModeTag_ = 0;

  // Network selection.
  QVariantList netList_;
  bool noPopupNetSelectWindowFlag_ = false;
  bool hasRegisteringNetFlagValue_ = false;
  bool isOperatorSelectionForNetwork = false;
  int m_nCheckNetStatusTimes_ = 0;
  QPointer<QTimer> timerBackToAutonetMode_;
  int currentBandTag_ = -1;
  bool isManualSetRoamSwitch_ = false;
  bool clickedIroam_ = false; // which roaming box the pending request came from
  int roamingImsiType_ = 0;
  bool roamingImsiSet_ = false;
  int lastSelectedNetRow_ = -1;
  QPointer<NetListModel> netListModel_;

  // Call services.
  bool needReadCallSetting_ = true;
  bool callForwardReadFinsihed_ = false, callBarReadFinsihed_ = false, callWaitReadFinsihed_ = false;
  bool callForwardRead_ = false, callBarRead_ = false;
  int callForwardSettingFlag_ = -1, callBarSettingFlag_ = -1;
  int divertWhenBusyState_ = 0, divertWhenNotReachableState_ = 0, divertWhenNotAnswerState_ = 0, divertAllState_ = 0;
  QString divertWhenBusyNumber_, divertWhenNotReachableNumber_, divertWhenNotAnswerNumber_, divertAllNumber_;
  int barAllOutgoingState_ = 0, barInternationalState_ = 0, barInternationalEXHCState_ = 0, barAllIncomingState_ = 0,
      barIncomingWhenRoamingState_ = 0;
  // What one Apply asked of each condition or facility (by tag): each is sent once per Apply, and
  // its read-back must show it.
  QHash<int, QPair<int, QString>> callForwardAsked_;
  QHash<int, int> callBarAsked_;

  // Browser and favourite links.
  QVariantList browserList_;
  int m_Browser = 0;
  int m_default_Browser_num = 0;
  bool m_addBrowserBtnState = false;
  int mainBoxIndexBeforeSheet_ = 0;
  QVariantList favoriteLinksProperties_;

  // The reduced layout.
  QPointer<QWidget> viewInSetting_;
  QelPositionManager positionManager_;
  QPointer<CodeSheet> m_EnablePinWin, m_RevisePinWin, m_PukWin, wndSetingUnlockDevice_, wndModifyUnlockDevice_;
};

extern SettingController *g_SettingController;
