#pragma once

#include "QELUIController.h"
#include "QelPosition.h"

#include "ButtonMatrix.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>

class CodeSheet;

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
// The widgets are made by SettingPages (one builder per page, in one table).
class SettingController : public QELUIController {
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

  // ---- life cycle and frame (SettingController.cpp) ----
  void loadSettingList();
  QStringList settingBarItems() const { return m_settingBarItemArray; }
  bool hasSettingBarItems() const { return hasSettingList_; }
  // YES when the page list holds `identifier`; NO without a page list.
  Q_INVOKABLE bool sethasModuleWith(const QString &identifier) const;
  // Removes every settings tab whose identifier is not in the page list (none without a list).
  void ConfigSettingToolBarArray();

  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void connectStatusDidChange(const Notification &n);
  Q_INVOKABLE void setDataServicesStatus(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  void setEnableBRSMSAndPB(bool enable);
  Q_INVOKABLE void setSettingBtnStatus(bool enable);
  Q_INVOKABLE void setAutoConnectBtnEnable(bool enable);
  Q_INVOKABLE bool allowAutoConnect() const;
  Q_INVOKABLE bool allowAutoReconnect() const;
  Q_INVOKABLE void AutoLaunchURL() {}
  Q_INVOKABLE void checkLauchWebLinksAtMoment(bool connected) { Q_UNUSED(connected) }

  // YES while a manual network selection runs; the quit rules refuse to quit then.
  Q_INVOKABLE bool isManualSelecting() const { return m_ManualSelectFlag; }
  void setManualSelecting(bool on) { m_ManualSelectFlag = on; }
  // YES when one of this window's sheets is up on the main window.
  Q_INVOKABLE bool isPinPukOrNetSelectWinBeginSheet() const;
  QString getPinStatus() const;
  QString getNetworkSelectionMode() const;
  QString getNetworkFindModeSelection() const;
  static QString networkFindModeWording(int tag);
  // Row and tag of the network page's matrices, until that page is built.
  int networkSelectMethodRow() const { return networkSelectMethodRow_; }
  int networkFindModeTag() const { return networkFindModeTag_; }
  void setNetworkSelection(int methodRow, int findModeTag) {
    networkSelectMethodRow_ = methodRow;
    networkFindModeTag_ = findModeTag;
  }

  // Navigation: a matrix or button carrying a page tag.
  Q_INVOKABLE void settingTabViewItemSelect(QObject *sender);
  Q_INVOKABLE void settingTabViewItemSelected(QObject *sender);
  // The identifier of a page tag of the navigation matrix (empty for another tag).
  static QString pageOfSelectTag(int tag);
  static QString pageOfSelectedTag(int tag);
  // Brings the settings window forward on the page named `page`; false when there is no such page.
  bool openSettingPage(const QString &page);
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
  void runAlertPanel(const QString &wordingKey);
  void runInformationPanel(const QString &text);
  void setBtnPinEnable(bool enable);
  void setBtnPinState(bool on);
  void setPinActiveStatus(quint32 on);
  bool pinActiveStatus() const;
  void setPinTimeLeft(int tries);
  void setPukTimeLeft(int tries);
  int pinTimeLeft() const { return pinNum; }
  int pukTimeLeft() const { return pukNum; }
  void setDeviceUnlockCodeState(bool on);
  bool getDeviceUnlockCodeState() const;
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
  QString readMessageCenter() const;
  int readValidityPeriod() const;
  bool readDeliveryReport() const;
  int readMessageRouting() const;
  int readMessageStoreLoc() const;
  void writeMessageCenter(const QString &number);
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
  Q_INVOKABLE void setIsSimCardFull(bool full);
  bool isSimCardFull() const { return isSMSInSimCardFull_; }
  void setMessageStoreLocEnable();
  void setMessageSelectPC();
  // The store position the page shows (-1 none) and its row.
  int currentSetSMSPosition_ = -1;
  int currentSetSMSPositionIndex_ = 0;
  Q_INVOKABLE void setCurrentSetSMSPostion_(int position) { currentSetSMSPosition_ = position; }

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

  // Called by the device status; the network ones get their bodies with the network page.
  Q_INVOKABLE void dealWithMsgOfCheckSearchmode(uint searchMode, uint selectedMode, uint prefMode);
  Q_INVOKABLE void dealWithMsgOfCheckSearchmodeForIcera(uint searchMode, uint selectedMode);
  Q_INVOKABLE void dealWithMsgOfCheckPreferenceMode(uint prefMode);
  Q_INVOKABLE void setWCDMASelectNetworkVisible(bool visible);
  Q_INVOKABLE void setCDMASelectNetworkVisible(bool visible);
  Q_INVOKABLE void setCheckForUpdateRizoraEnable(bool enable);
  Q_INVOKABLE void setRuvozModel(const QString &model);
  Q_INVOKABLE int getCurrentNetWorkPreferedMode() const { return currentPreferedMode_; }

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  void loadCommonBundle() override;

private:
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
  int currentPreferedMode_ = 0;
  QelPositionManager positionManager_;
  QPointer<CodeSheet> m_EnablePinWin, m_RevisePinWin, m_PukWin, wndSetingUnlockDevice_, wndModifyUnlockDevice_;
};

extern SettingController *g_SettingController;
