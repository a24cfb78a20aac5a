#pragma once

// The in-process notification vocabulary shared by the controllers, and the tables in which each
// controller declares the notifications it handles.

// One entry of a table: the handler's selector name ("devicePlugin:") and the notification name.
// A table ends with an entry whose selector is null.
struct NotificationPair {
  const char *selector;
  const char *notification;
};

inline constexpr char kDeviceRemoved[] = "DeviceRemoved";
inline constexpr char kDevicePlugin[] = "DevicePlugin";
inline constexpr char kSimReady[] = "SimReady";
inline constexpr char kDataServiceSwitch[] = "DataServiceSwitch";
inline constexpr char kTabViewItemWillChange[] = "TabViewItemWillChange";
inline constexpr char kTabViewItemDidChange[] = "TabViewItemDidChange";
inline constexpr char kAppReady[] = "AppReady";
inline constexpr char kAppWillClose[] = "AppWillClose";
inline constexpr char kConnectStatusDidChange[] = "ConnectStatusDidChange";
inline constexpr char kIsConnectBtnEnable[] = "IsConnectBtnEnable";
inline constexpr char kIsAbleToConnect[] = "IsAbleToConnect";
inline constexpr char kStartConncetion[] = "StartConnection";
inline constexpr char kDialOption[] = "dialOption";
inline constexpr char alreadyGetSimIMSI_[] = "AlreadyGetSimIMSI";
inline constexpr char kXMLParseOver[] = "xmlParseOver";
inline constexpr char kConnectServerError[] = "connectServerError";
inline constexpr char kReceivePhoneNumberFromSoapServer[] = "receivePhoneNumberFromSoapServer";
inline constexpr char kMainwindOfAppChanged[] = "MainwindOfAppChanged";
inline constexpr char kUpdateLanguage[] = "UpdateLanguage";
inline constexpr char kDeviceUnlockSuccess[] = "DeviceUnlockSuccess";
inline constexpr char kDeviceUnlockFailed[] = "DeviceUnlockFailed";
inline constexpr char kStkMainTitle[] = "StkMainTitle";
inline constexpr char kUpdateStkToolTip[] = "UpdateStkToolTip";
inline constexpr char kPassRechargeSMS[] = "PassRechargeSMS";
inline constexpr char kImsiMatchUssd[] = "ImsiMatchUssd";
inline constexpr char kChangeAPNSelection[] = "ChangeAPNSelection";
inline constexpr char kOpenPopUpUssdWnd[] = "openPopUpUssdWnd";
inline constexpr char kNotifyPopupSheetUssdWndPlugin[] = "notifyPopupSheetUssdWndPlugin";
inline constexpr char kHostMainWnd[] = "hostMainWnd";
inline constexpr char kUssdPopWndTag[] = "ussdPopWndTag";
inline constexpr char kUSSDBundleMessage[] = "USSDBundleMessage";
inline constexpr char kConnectTypeChange[] = "ConnectTypeChange";
inline constexpr char kConnectFailed[] = "ConnectFailed";
inline constexpr char kSendSpeedData[] = "SendSpeedData";
inline constexpr char kRemoveCallRecord[] = "removeCallRecord";
inline constexpr char kAddNewCallRecord[] = "addNewCallRecord";
inline constexpr char kClearAllCallRecordsSuccess[] = "clearAllCallRecordsSuccess";
inline constexpr char kClearAllCallRecords[] = "clearAllCallRecords";
inline constexpr char kReadAllCallRecords[] = "readCallRecords";
inline constexpr char kSendUssdComand[] = "sendUssdComand";
inline constexpr char kMissedCall[] = "aMissedCall";
inline constexpr char kWillMakeCall[] = "willMakeCall";
inline constexpr char kCallNumberBtnDown[] = "dialButton";
inline constexpr char kHangClicked[] = "hostHangupCall";
inline constexpr char kAnswerCall[] = "answerCall";
inline constexpr char kCallWithPhoneNumber[] = "makeCallWithPhoneNumber";
inline constexpr char kSetCallName[] = "callName";
inline constexpr char kCallDatacardNotReady[] = "dataCardNotreadyForCall";
inline constexpr char kCallSuccessed[] = "callSuccessed";
inline constexpr char kCallFailed[] = "callFailed";
inline constexpr char kCallError[] = "callError";
inline constexpr char kHangUpCall[] = "hangupCall";
inline constexpr char kConnectedCall[] = "connectedCall";
inline constexpr char kIncomingCall[] = "incomingCall";
inline constexpr char kVolumeSliderChange[] = "VolumeSliderChange";
inline constexpr char kMuteBtnUp[] = "MuteBtnUp";
inline constexpr char kMuteBtnDown[] = "MuteBtnDown";
inline constexpr char kSMSSendCanelWhenMSGISNIL[] = "SmsSendCancelWhenMsgNilNnotification";
inline constexpr char kNewSMSArriveNotification[] = "NewSMSArriveNotification";
inline constexpr char kSMSSendFinished[] = "SMSSendFinished";
inline constexpr char kInfoFromContactToSMS[] = "infoFromContactToSMS";
inline constexpr char kSelectContactFinished[] = "SelectContactFinished";
inline constexpr char kUpdateSMSChatButtonStatus[] = "UpdateButtonState";
inline constexpr char kRefreshSMSChatRecord[] = "RefreshChatRecord";
inline constexpr char kDeleteSMSInPCList[] = "DeleteSMSInPCList";
inline constexpr char kReLoadSMSPCList[] = "ReLoadSMSPCList";
inline constexpr char kRecieveNewSMSHint[] = "RecieveNewSMSHint";
inline constexpr char kSMSSetFormatterHost[] = "SetFormatterHost";
inline constexpr char kSMSSelectContactFromPB[] = "SelectContactFromPhoneBook";
inline constexpr char kSMSSendMessage[] = "SendMessageNotification";
inline constexpr char kSMSReceiveBroadCast[] = "ReceiveBroadCastNotification";
inline constexpr char kGetDiviceRemoveInfo[] = "deviceRemovedInfo";
inline constexpr char kPBDeviceRemoved[] = "deviceRemovedInfo";
inline constexpr char kEditPBwithPhonNumber[] = "editPBwithPhonNumber";
inline constexpr char kSaveNumberToPhonBook[] = "saveNumberToPhoneBook";
inline constexpr char kSelectUsrInfo[] = "selectUsrInfo";
inline constexpr char kPBSelectUserInfo[] = "selectUsrInfo";
inline constexpr char kFormatMobilePhone[] = "formatMobilePhone";
inline constexpr char kPBFormatMobilePhone[] = "formatMobilePhone";
inline constexpr char kFormatUserName[] = "formatUserName";
inline constexpr char kPBFormatUserName[] = "formatUserName";
inline constexpr char kAddContactResult[] = "addContactResult";
inline constexpr char kPBAddContactResult[] = "addContactResult";
inline constexpr char kSearchResultInSIMAndPC[] = "searchResultInSIMAndPC";
inline constexpr char kPhonebookReadFinshed[] = "phonebookReadFinshed";
inline constexpr char kPBInitFinished[] = "phonebookReadFinshed";
inline constexpr char kGetTheOKResultFromHostToBundle[] = "GetTheOKResultFromHostToBundle";
inline constexpr char kSaveNewUserToPB[] = "saveNewUserToPB";
inline constexpr char kCallModuleReady[] = "callModuleReady";
inline constexpr char kDeleteUserInSIMOrPC[] = "deleteUserItem";
inline constexpr char kEditUserInSIMOrPC[] = "editUserItem";
inline constexpr char kGetSelectContact[] = "selectContact";
inline constexpr char kCheckInputMobilePhone[] = "checkInputMobilePhone";
inline constexpr char kCheckInputUserName[] = "checkInputUserName";
inline constexpr char kAddNewUserToSIMOrPC[] = "AddNewUserItem";
inline constexpr char kSearchItemInSIM[] = "SearchItemInUSIMList";
inline constexpr char kkAddNewContactsToPB[] = "addNewContactsInPB";
inline constexpr char kInitPBSimSide[] = "initPhoneBookSimSide";
inline constexpr char kPBInterface[] = "phonebookInterface";
inline constexpr char kPBSearchUserInSIM[] = "searchUserInUSIM";
inline constexpr char kPBWriteUserFailed[] = "writeUserFailed";
inline constexpr char kPBWriteUserSuccess[] = "writeUserSucess";

// Registered by every controller at wake-up, after its own tables.
extern const NotificationPair qelUINotificationTable[];

// Registered by the controllers named in the design, in their registerMessages hook.
extern const NotificationPair deviceFunctionNotficationTable[];
extern const NotificationPair MainControllerNotificationTable[];
extern const NotificationPair initObServerTable[];
extern const NotificationPair dialControllerNotificationTable[];
extern const NotificationPair settingObServerTable[];
extern const NotificationPair smsObserverTable[];
extern const NotificationPair PhoneBookNotficationTable[];
extern const NotificationPair callBundleNotficationTable[];
extern const NotificationPair callRecordBundleNotficationTable[];
extern const NotificationPair STKObServerTable[];
extern const NotificationPair USSDObServerTable[];
extern const NotificationPair MMSObserverTable[];
extern const NotificationPair WLANObserverTable[];
extern const NotificationPair statisticsNotifactionTable[];
extern const NotificationPair CustomerLogNotficationTable[];
extern const NotificationPair entertainObserverTable[];

// Kept in table form for the plug-ins; no controller of the program registers them.
extern const NotificationPair callNotficationTable[];
extern const NotificationPair callRecordNotficationTable[];
extern const NotificationPair PhoneBookBundleNotficationTable[];
extern const NotificationPair simPinNotificationTable[];
extern const NotificationPair smsChatObserverTable[];
