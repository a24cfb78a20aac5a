#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <span>

// The plain switches, one line each: method, module ("" for a top-level entry), settings key.
// A boolean reads NO, an integer 0 and an object an invalid QVariant when the key is absent.
#define QEL_BOOL_SWITCHES(X)                                                                                           \
  X(isApnWindSheetWindMainChanged_IfJamaicaSkinVersion, "Main",                                                        \
    "Main_AddNewApnSheetWhenMainWndChanged_IfJamaicaSkinVersion")                                                      \
  X(isDisplayCheckSimStatus, "Main", "Main_DisplayCheckSIMStatus")                                                     \
  X(isCloseUIIfDeviceRemoved, "Main", "Main_CloseUI_IfDeviceRemoved")                                                  \
  X(isFreshStatusViewWhenConnectStatusChanged, "Main", "Main_FreshStatusView_ConnectStatusChanged")                    \
  X(isFreshStatusViewWhenNewSMSArrive, "Main", "Main_FreshStatusView_NewSMSArrive")                                    \
  X(doNotCloseApp, "Main", "Main_MinimizeMainWnd_IfClickCloseButton")                                                  \
  X(makeFavoriteIconHintWindowIntoSubviewOfMainWnd, "Main", "Main_addHintWindowIntoMainWnd_IfNeedMoveWithMainWnd")     \
  X(isDisplayCheckModemStatus, "Init", "Init_DisplayCheckModemStatus")                                                 \
  X(showSpnByNewMethod, "Init", "Init_ShowSpnByNewMethod")                                                             \
  X(onlyShowLocalSpnAndHighPriorityThanHomeSpn, "Init", "Init_OnlyShowLocalSpn_AndHighPriorityThanHomeSpn")            \
  X(isOnlyShowSpnWhenRoamOff, "Init", "Init_OnlyShowBelongtoSpn_WhenRoamOff")                                          \
  X(isSupportDeleteSmsAfterSaveSmsOK, "SMS", "Sms_DeleteSavedSms_AfterSaveOK")                                         \
  X(isSupportArrangeSmsOrderStat, "SMS", "Sms_ArrangeSms_OrderStat")                                                   \
  X(isDisplayInboxCountLabelWithUnreadSmsCount, "SMS", "Sms_DisplayUnreadSmsCount_WithInboxCountLabel")                \
  X(isCheckPCCompacity, "SMS", "Sms_CheckPCCompacity_IfNeeded")                                                        \
  X(checkIfShowReadStatus, "SMS", "showReadStatus")                                                                    \
  X(checkIfSaveBroadCastAsShortMessage, "SMS", "Sms_SaveBroadCastAsSMS_IfNeeded")                                      \
  X(isSupportCheckSmsIsFlowValueSMS, "SMS", "SMS_CheckSmsIsFlowValueSms_ifNeeded")                                     \
  X(isSupportCheckSmsIsRechargeSMS, "SMS", "SMS_CheckSmsIsRechargeSms_ifNeeded")                                       \
  X(isBackUpPcInBoxListBeforeNewSMSArrive, "SMS", "SMS_BackUpPcInBoxList_BeforeNewSMSArrive")                          \
  X(isGoToSMSPageWhenNewSMSArrives, "SMS", "SMS_GoToSMSPageWhenNewSMSArrives")                                         \
  X(isSupportSetSmsStoreLocWhenClickSavePos, "SMS", "SMS_SetSmsStoreLoc_WhenClickSavePos")                             \
  X(isSupportSetSmsBrowsePosBySmsStoreLoc, "SMS", "SMS_SetSmsBrowsePos_WhenSmsStoreLocChanged")                        \
  X(isSupportSelectSMSDefaultBrowsePosWhenOpenSmsUI, "SMS", "SMS_selectDefaultPos_WhenOpenSMSUI")                      \
  X(isNotShowSMSReportWndWhenHasReportBox, "SMS", "SMS_NotShowSMSReportWnd_WhenHasReportBox")                          \
  X(getNewMessageBtnIsEnabledFromFileWhenSMSInit, "SMS", "SMS_NewMessageBtnIsEnabled_WhenSMSInit")                     \
  X(getNewMessageBtnIsEnabledFromFileWhenNetCardUnDetected, "SMS", "SMS_NewMessageBtnIsEnabled_WhenNetCardUnDetected") \
  X(isShowSendInfoWndWhenSendSMSFailOnBackGround, "SMS", "SMS_ShowSendInfoWnd_WhenSendSMSFailOnBackGround")            \
  X(isSendUnreadRechargeSMSToUSSD, "SMS", "SMS_SendUnreadRechargeSMSToUSSD_IfNeeded")                                  \
  X(isNotShowNewSMSWndWithCertainContent, "SMS", "NoShowNewSMSWndWithCertainContent")                                  \
  X(isNotShowSMSReportArrivingTime, "SMS", "SMS_DoNotShowSMSReportArrivingTime_InSMSReportWnd")                        \
  X(notDisplayWordingForNewBtn, "SMS", "SMS_notDisplayWordingForNewBtn")                                               \
  X(checkIfUSSDEncodeAndDecodeTypeIsGSM7, "USSD", "Ussd_codeTheSendStringWithGSM7_IfUssdModeIsOne")                    \
  X(isEnableToolbarForZOzava, "USSD", "DisableUSSDToolbarForRAdirer")                                                  \
  X(whetherEnableToolbarBasesMatching, "USSD", "USSD_WhetherEnableToolbarBasesMatching")                               \
  X(selectAppointUssdTabView, "USSD", "USSD_SelectAppointTabView")                                                     \
  X(isAppingApnInfoForConnectStateWhenConnected, "Internet", "Internet_AppendingApnInfoForConnectStateWhenConnected")  \
  X(isDisplayPhoneNumberForRuvoz, "Internet", "Internet_IsDisplayPhoneNumber_WhenConnectedOrDisconnected")             \
  X(isSavedDataToTheTxtFileToMB, "Internet", "Internet_RecordDataUnitWithMB_ifRecordFileSaveTypeIsTxt")                \
  X(isDisplayBillboard, "Internet", "Internet_isDisplayBillboard_WhenConnectSuccess")                                  \
  X(isNotShowIPAddressWhenDhcpFailed, "Internet", "Internet_doNotDisplayIPAddress_whenDHCPFailed")                     \
  X(forbiddenIpv6ApnWhileChooseRas, "Internet", "Internet_ForbiddenIPV6APN_WhileChooseRAS")                            \
  X(isDisplayWordingForConnectBtn, "Internet", "Internet_notDisplayWordingForConnectBtn")                              \
  X(displayTooltipForConnectBtn, "Internet", "Internet_displayTooltipForConnectBtn")                                   \
  X(changeLeftValueOfWordingForConnectBtn, "Internet", "Internet_ChangeLeftValueOfWording_ForConnectBtn")              \
  X(changeConnectStatus, "Internet", "Internet_DisconnectFromInternet_WhenNoSignal")                                   \
  X(isOpenBlowFishEncryptServiceURL, "Internet", "Internet_OpenBlowFishEncryptServiceURL_AfterConnected")              \
  X(isDisconnectAsk, "Internet", "PopUpDisconnectWaring")                                                              \
  X(isTransplantCodeToTestApnMatch, "Internet", "Internet_UseTransplantCodeToTestApnMatch")                            \
  X(setSearchNetListViewApplyBtnEnable, "Setting", "Setting_SetSearchNetListViewApplyBtnEnable")                       \
  X(isSetSearchNetMode2GOnly, "Setting", "Setting_SetSearchNetMode2GOnly_IfChoose3GPref")                              \
  X(isBackupPhoneBookOnly, "Setting", "Setting_BackupAndRestorePhoneBookOnly")                                         \
  X(isSupportSetSMSDefaultStorePosWhenFirstStartUpUI, "Setting", "Setting_SetSMSDefaultStore_WhenFirstStartUpUI")      \
  X(forbiddenNetCanChooseAndReturnFailedByUI, "Setting", "Setting_ForbiddenNetCanChooseAndReturnFailedByUI")           \
  X(isRoamingImsiSet, "Setting", "Setting_RoamingImsiSet")                                                             \
  X(isCallBarringSetting, "Setting", "Setting_DoNotReadCallBarSetting_IfNoCallBar")                                    \
  X(getCheckUserInformationLen, "PhoneBook", "PhoneBook_IsCheckUserInformationLen")                                    \
  X(isDisplayEditGroupBtn, "PhoneBook", "PhoneBook_isDisplayEditGroupBtn_IfNeedDisplayInSIM")                          \
  X(isPopupDialog, "PhoneBook", "PhoneBook_PopUpSelectAlertWnd_IfCopyToSim")                                           \
  X(isSupportCaseSensitiveWhenSearch, "PhoneBook", "PhoneBook_caseSensitive_WhenSearch")                               \
  X(isGoToCallViewWhenIncoming, "Call", "Call_IncomingCallOKClickedGoToCallView")                                      \
  X(isSkinVersionForRAdirer, "", "DifferentWorkingMothodForRadirer")                                                   \
  X(setModemAndSimStateStringWhenR27K, "", "ShowModemAndSimStateBasisDeviceStateWhenR27K")                             \
  X(deviceLockForSettingFunction, "", "DeviceLockSettingFunction")                                                     \
  X(isImsiMatchGlobalApn, "", "ImsiMatchGlobalApn")                                                                    \
  X(isAPNMatchWithMCCMNC, "", "APNMatchWithMCCMNC")                                                                    \
  X(isQdonMatchApn, "", "QdonMatchApn")                                                                                \
  X(isImsiMatchApn, "", "ImsiMatchApn")                                                                                \
  X(isSpecialImsiRoam, "", "SpecialImsiRoam")

#define QEL_INT_SWITCHES(X)                                                                                            \
  X(getURLEncryptPattern, "Main", "Main_EncryptURLPattern_IfNeeded")                                                   \
  X(getPassWordLimitLen, "Internet", "Internet_setPasswordLenOfAPN")                                                   \
  X(getIsCheckEncipher, "Internet", "Internet_isCheckImsiEncipher")                                                    \
  X(getUserEmailLen, "PhoneBook", "PhoneBook_UserEmailLen")                                                            \
  X(getUserHomePhoneLen, "PhoneBook", "PhoneBook_UserHomePhoneLen")                                                    \
  X(getUserMobilePhoneLen, "PhoneBook", "PhoneBook_UserMobilePhoneLen")                                                \
  X(getUserNameLen, "PhoneBook", "PhoneBook_UserNameLen")                                                              \
  X(getUserOfficePhoneNumLen, "PhoneBook", "PhoneBook_UserOfficePhoneLen")                                             \
  X(readDefaultProfileNum, "", "DefaultProfileNum")

#define QEL_OBJECT_SWITCHES(X)                                                                                         \
  X(getMccAndMncData, "Init", "Init_specificMccAndMnc")                                                                \
  X(readCustomHomeSPNFromConfig, "Init", "Init_changeHomeSPN_IfMatchedSpecialMCCMNC")                                  \
  X(readCustomSPNFromConfig, "Init", "Init_ChangeAllSPN_IfMatchedSpecialMCCMNC")                                       \
  X(readCustomLocalSPNFromConfig, "Init", "Init_ChangeLocalSPN_IfMatchedSpecialMCCMNC")                                \
  X(readMCCMNCListFromConfig, "Init", "Init_HideRoamStatus_IfMatchedSpecialMCCMNC")                                    \
  X(readHMCCMNCListNeededHideRoamStatus, "Init", "Init_HideRoamStatus_IfMatchedSpecialHMCCMNC")                        \
  X(readFixedSPNFromConfig, "Init", "Init_FixedLocalSPN_AccordingBelongMCCMNC")                                        \
  X(readHMCCMNCListNeededChangeSpn, "Init", "Init_SimHMCCMNCList_NeededChangeSPN")                                     \
  X(readCustomBelongSPNFromConfig, "Init", "Init_ChangeBelongSPN_IfMatchedSpecialMCCMNC")                              \
  X(getArrayContainsSpeicalNumberAndSpeicalStringToReplace, "SMS", "SpecialNumberToHidden")                            \
  X(readFlowValueSMSJudgeCondition, "SMS", "SMS_FlowValueSMSJudegeConditions")                                         \
  X(readSpecialSMSConfig, "SMS", "SpecialSMS")                                                                         \
  X(getServerNumberWhenRechargeByUSSD, "USSD", "USSD_ServerNumber_WhenRecharge")                                       \
  X(getParmsForUploadTestTool, "Internet", "Internet_ParmsForUploadTestTool")                                          \
  X(getWebPageAddressesFromFile, "Internet", "Internet_WebPageAddress_NeedCycleDisplay")                               \
  X(getWebPageDisplayTimerInterval, "Internet", "Internet_SwitchWebTimeValue_WhenDisplayWebPage")                      \
  X(specialImsiAndIccidMnc, "Setting", "Setting_SpecialImsiAndIccidMnc")                                               \
  X(readDisplayInTheInputBoxSpecialPhoneNum, "Call", "Call_SpecialPhoneNumberNeedDisplayInTheInputBox")                \
  X(readImsiConfig, "", "IMSI2DialConfigIdx")                                                                          \
  X(readDefDialCfgs, "", "AllDefaultDialCfg")                                                                          \
  X(readEntertainTableConfig, "", "EntertainTabelConfig")

// The named switches over the live settings: controllers ask `isCloseUIIfDeviceRemoved()`
// instead of naming module and key. Nothing is cached: every call reads the shared
// ConfigManager's dictionary, and every writer saves settings.plist at once. Writers that only
// change a key the operator's file already declares leave memory and file alone otherwise.
class ConfigService : public QObject {
  Q_OBJECT
public:
  enum class Kind { Bool, Int, Object };
  struct Switch {
    const char *method;
    const char *module; // empty for a top-level entry
    const char *key;
    Kind kind;
  };
  // Every plain switch, in table order.
  static std::span<const Switch> switchTable();

  explicit ConfigService(QObject *parent = nullptr);
  ~ConfigService() override;

  // The installed instance; one made on first use when nothing was installed.
  static ConfigService *sharedConfigService();
  // The composition root (or a test) installs the instance; the previous one is not deleted.
  static void setSharedConfigService(ConfigService *service);

#define QEL_DECLARE_BOOL(name, module, key) bool name() const;
#define QEL_DECLARE_INT(name, module, key) int name() const;
#define QEL_DECLARE_OBJECT(name, module, key) QVariant name() const;
  QEL_BOOL_SWITCHES(QEL_DECLARE_BOOL)
  QEL_INT_SWITCHES(QEL_DECLARE_INT)
  QEL_OBJECT_SWITCHES(QEL_DECLARE_OBJECT)
#undef QEL_DECLARE_BOOL
#undef QEL_DECLARE_INT
#undef QEL_DECLARE_OBJECT

  // "ImsiPhone": a map from IMSI to the subscriber's phone number.
  bool hasImsiPhoneConfig() const;
  bool isImsiPhoneDictContainCertainImsi(const QString &imsi) const;
  QString getPhoneNumWithImsi(const QString &imsi) const;
  bool setImsi(const QString &imsi, const QString &phoneNum);

  // SMS "Sms_ReplaceSpecialNumberToSpecialString_IfNeeded" with a non-empty "SpecialNumberToHidden".
  bool checkIfRepalceSpecialPhoneNumberToSpecialString() const;
  QVariant readPurchaseProcessList() const;
  bool writePurchaseProcessListInFile(const QVariant &list);
  // "AT_PC" when absent or empty.
  QString getSMSDefaultBrowsePosWhenOpenSmsUI() const;
  bool startupWindowControlGetSoftwareVersionString() const;
  bool judgeRecordLastResetTimeWhetherEmptyWhenUIInit() const;
  bool setRecordLastResetTimeValueWhenEmpty(const QVariant &time);
  bool isDisabledLimits() const;
  // YES whenever the key is present, whatever its value.
  bool isNeedTestSpeedAtConnected() const;
  // NO when `mccMnc` is in "AllowMCCMNCList"; YES otherwise or without the list.
  bool checkMccMncIsRegister(const QString &mccMnc);
  QVariantList mccMncArray() const {
    return m_MccMncArray_;
  }
  bool saveCurrentNetPreferedMode(int mode);
  bool isSetCurrentNetPreferedMode() const;
  // YES when "SupportLanguages" is absent or empty.
  bool getIsSupportMutalsLanguages() const;
  bool writeDisconnectAskState(const QVariant &state);
  // "SetAtPC" when absent or empty.
  QString getSMSDefaultStorePosWhenFirstStartUpUI() const;
  bool writeSMSStoreLocSettingFlagAfterFirstStartupUI(bool flag);
  QString getConnectButtonImageName(const QString &key) const;
  QVariantMap configDictionaryOfUIAnimation() const;
  bool needShakePinWindow() const;
  bool writeCurrentProfile(int profile);
  bool writeDefaultProfileNum(int number);
  // 3 when absent.
  int getUIModelConfig() const;
  bool saveCurrentUIModel(int model);
  bool hasToolbarSkinInfo() const;
  QString getUIDateFormat() const;
  QVariantMap getUIFont() const;
  QVariantMap getStartupInfo() const;
  int getDisplayStartupFlashTimes() const;
  double getStartupViewDelayTime() const;
  QString getURLEncryptSerectKey() const;
  // YES when absent.
  bool isEnableAutoApnMatch() const;
  // With the Arabic token list loaded and PhoneBook "PhoneBook_InterfaceInversion_AtArabic" on.
  bool isSupportInterfaceInversionForPhoneBook() const;
  QVariant getConfigFromRecord(const QString &key) const;
  bool setconfigurationForRecordAndWriteToFile(const QString &key, const QVariant &value);

  // The device-profile web service and its request; the request holds one "%1" for the IMSI.
  static QString getSoapServiceName();
  static QString getSoapServiceContent();

  // The readers behind the plain switches (an empty module reads a top-level entry).
  static QVariant readValue(const QString &module, const QString &key);
  static bool readBool(const QString &module, const QString &key);
  static int readInt(const QString &module, const QString &key);

private:
  // Stores module[key] only when the module is a dictionary that already holds the key.
  static bool storeExistingKey(const QString &module, const QString &key, const QVariant &value);
  // Stores module[key] only when the module is a dictionary.
  static bool storeInExistingModule(const QString &module, const QString &key, const QVariant &value);
  static bool storeTopLevel(const QString &name, const QVariant &value);

  QVariantList m_MccMncArray_;
};
