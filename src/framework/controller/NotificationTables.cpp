#include "NotificationTables.h"

const NotificationPair qelUINotificationTable[] = {
    {"deviceRemoved:", "DeviceRemoved"},
    {"devicePlugin:", "DevicePlugin"},
    {"simReady:", "SimReady"},
    {"setDataServicesStatus:", "DataServiceSwitch"},
    {"tabViewItemWillChange:", "TabViewItemWillChange"},
    {"tabViewItemDidChange:", "TabViewItemDidChange"},
    {"applicationReady:", "AppReady"},
    {"applicationWillClose:", "AppWillClose"},
    {"connectStatusDidChange:", "ConnectStatusDidChange"},
    {"isAbleToConnect:", "IsAbleToConnect"},
    {"dialConnectStart:", "StartConnection"},
    {nullptr, nullptr},
};

const NotificationPair deviceFunctionNotficationTable[] = {
    {"notifyDeviceUnlockSuccess:", "DeviceUnlockSuccess"},
    {"notifyDeviceUnlockFailed:", "DeviceUnlockFailed"},
    {nullptr, nullptr},
};

const NotificationPair MainControllerNotificationTable[] = {
    {"updateStkTooltip:", "UpdateStkToolTip"},
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair initObServerTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair dialControllerNotificationTable[] = {
    {"dialNotification:", "dialOption"},
    {"alreadyGetSimIMSI:", "AlreadyGetSimIMSI"},
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair settingObServerTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair smsObserverTable[] = {
    {"recieveSMSNotification:", "SendMessageNotification"},
    {"recieveSelectContactNotification:", "SelectContactFromPhoneBook"},
    {"recieveNewSMSHint:", "RecieveNewSMSHint"},
    {"reloadSMSPCList:", "ReLoadSMSPCList"},
    {"deleteSMSPCList:", "DeleteSMSInPCList"},
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair PhoneBookNotficationTable[] = {
    {"initUSIMListWithReadResult:", "initPhoneBookSimSide"},
    {"wirteContactsToUSIMList:", "addNewContactsInPB"},
    {"SearUserInUSIMSide:", "SearchItemInUSIMList"},
    {"addNewUserInSIMOrPC:", "AddNewUserItem"},
    {"saveNewUserToPB:", "saveNewUserToPB"},
    {"CheckBundleUserName:", "checkInputUserName"},
    {"CheckBundleMobilePhone:", "checkInputMobilePhone"},
    {"getSelectContact:", "selectContact"},
    {"editUserInSIMOrPC:", "editUserItem"},
    {"deleteUserInSIMOrPC:", "deleteUserItem"},
    {"callModuleReady:", "callModuleReady"},
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair callBundleNotficationTable[] = {
    {"makeCallWithPhoneNumber:", "makeCallWithPhoneNumber"},
    {"answerCall:", "answerCall"},
    {"hangClicked:", "hostHangupCall"},
    {"dialNumberButnFromBundle:", "dialButton"},
    {"setMuteBtnDownFromBundle:", "MuteBtnDown"},
    {"setMuteBtnUpFromBundle:", "MuteBtnUp"},
    {"setVolumeFromBundle:", "VolumeSliderChange"},
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair callRecordBundleNotficationTable[] = {
    {"readAllCallRecords:", "readCallRecords"},
    {"clearAllCallRecords:", "clearAllCallRecords"},
    {"initPhonebookReady:", "phonebookReadFinshed"},
    {nullptr, nullptr},
};

const NotificationPair STKObServerTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair USSDObServerTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair MMSObserverTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair WLANObserverTable[] = {
    {"changeMainWindowOfApp:", "MainwindOfAppChanged"},
    {nullptr, nullptr},
};

const NotificationPair statisticsNotifactionTable[] = {
    {"setDateUsage:", "yearReceiveDateAndSendData"},
    {"resetDataForNetWorkData:", "btnDatausageRestCliked"},
    {nullptr, nullptr},
};

const NotificationPair CustomerLogNotficationTable[] = {
    {"notifyDevicePlugInForLog:", "DevicePlugin"},
    {"notifyDeviceRemoveForLog:", "DeviceRemoved"},
    {"recieveSpeedDataForLog:", "SendSpeedData"},
    {"connectStatusChangeForLog:", "ConnectStatusDidChange"},
    {"applicationWillCloseForLog:", "AppWillClose"},
    {"connectionFailed:", "ConnectFailed"},
    {nullptr, nullptr},
};

const NotificationPair entertainObserverTable[] = {
    {"updateWebLinkImageView:", "LoadImageFormURLOver"},
    {"showAlertWindowWhenWebLinkImageViewDisabled:", "WebLinkImageViewDisabled"},
    {"setWebLinkeImageViewDisabled:", "SetWebLinkImageViewDisabled"},
    {"setWebLinkeImageViewEnabled:", "SetWebLinkImageViewEnabled"},
    {nullptr, nullptr},
};

const NotificationPair callNotficationTable[] = {
    {"dealWithIncomingCall:", "incomingCall"},
    {"dealWithCallSuccessed:", "callSuccessed"},
    {"dealWithConnectedCall:", "connectedCall"},
    {"dealWithHangupCall:", "hangupCall"},
    {"dealWithCallFailed:", "callFailed"},
    {"dealWithCallError:", "callError"},
    {"dealWithEnableBtn:", "enabelBtn"},
    {"dealWithWillMakeCall:", "willMakeCall"},
    {"setCallName:", "callName"},
    {"dealWithDataCardNotReady:", "dataCardNotreadyForCall"},
    {"makeCallWithPhoneNumber:", "makeCallWithPhoneNumber"},
    {"prepareOperatorAndProductInfo:", "diagInfo"},
    {nullptr, nullptr},
};

const NotificationPair callRecordNotficationTable[] = {
    {"clearAllCallRecords:", "clearAllCallRecordsSuccess"},
    {"readAllCallRecords:", "readCallRecords"},
    {"addNewCallRecord:", "addNewCallRecord"},
    {"initPhonebookReady:", "phonebookReadFinshed"},
    {"removeCallRecord:", "removeCallRecord"},
    {"phonebookModify:", "addContactResult"},
    {nullptr, nullptr},
};

const NotificationPair PhoneBookBundleNotficationTable[] = {
    {"TheWriteItemResultOK:", "GetTheOKResultFromHostToBundle"},
    {"PhoneBookInitFinshed:", "phonebookReadFinshed"},
    {"DisplaySearchResult:", "searchResultInSIMAndPC"},
    {"DisplayAddContactResult:", "addContactResult"},
    {"showFromatUserName:", "formatUserName"},
    {"showFromatMobilePhone:", "formatMobilePhone"},
    {"getTheSelectedUserInfo:", "selectUsrInfo"},
    {"saveContactFromSMSInfo:", "saveNumberToPhoneBook"},
    {"editContactFromCallRecordInfo:", "editPBwithPhonNumber"},
    {"clearContactList:", "deviceRemovedInfo"},
    {nullptr, nullptr},
};

const NotificationPair simPinNotificationTable[] = {
    {"setPinActiveStatusForBundle:", "pinActiveStatusForBundle"},
    {"changePinActiveStatusSuccessful:", "changePinActiveStatusSuccessful"},
    {"changePinActiveStatusCancel:", "changePinActiveStatusCancel"},
    {nullptr, nullptr},
};

const NotificationPair smsChatObserverTable[] = {
    {"refreshChatRecord:", "RefreshChatRecord"},
    {"updateButtonState:", "UpdateButtonState"},
    {"recieveChangeTabViewItem:", "TabViewItemWillChange"},
    {"recieveSendList:", "SelectContactFinished"},
    {"sendSMSFromContact:", "infoFromContactToSMS"},
    {"initPBPointer:", "phonebookReadFinshed"},
    {"smsSendFinished:", "SMSSendFinished"},
    {"newSMSArrive:", "NewSMSArriveNotification"},
    {"phoneBookModified:", "addContactResult"},
    {"sendSmsCancelWhenMsgNil:", "SmsSendCancelWhenMsgNilNnotification"},
    {nullptr, nullptr},
};
