#include "ConfigService.h"
#include "ConfigManager.h"
#include "Plist.h"
#include "SettingValue.h"
#include "WordGlobe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <functional>
#include <gtest/gtest.h>

namespace {

template <typename R> struct SwitchCase {
  R (ConfigService::*read)() const;
  const char *module; // empty: a top-level entry
  const char *key;
};

// Every plain switch with the module and key the operators' files use.
const SwitchCase<bool> kBoolSwitches[] = {
    {&ConfigService::isApnWindSheetWindMainChanged_IfJamaicaSkinVersion, "Main",
     "Main_AddNewApnSheetWhenMainWndChanged_IfJamaicaSkinVersion"},
    {&ConfigService::isDisplayCheckSimStatus, "Main", "Main_DisplayCheckSIMStatus"},
    {&ConfigService::isCloseUIIfDeviceRemoved, "Main", "Main_CloseUI_IfDeviceRemoved"},
    {&ConfigService::isFreshStatusViewWhenConnectStatusChanged, "Main", "Main_FreshStatusView_ConnectStatusChanged"},
    {&ConfigService::isFreshStatusViewWhenNewSMSArrive, "Main", "Main_FreshStatusView_NewSMSArrive"},
    {&ConfigService::doNotCloseApp, "Main", "Main_MinimizeMainWnd_IfClickCloseButton"},
    {&ConfigService::makeFavoriteIconHintWindowIntoSubviewOfMainWnd, "Main",
     "Main_addHintWindowIntoMainWnd_IfNeedMoveWithMainWnd"},
    {&ConfigService::isDisplayCheckModemStatus, "Init", "Init_DisplayCheckModemStatus"},
    {&ConfigService::showSpnByNewMethod, "Init", "Init_ShowSpnByNewMethod"},
    {&ConfigService::onlyShowLocalSpnAndHighPriorityThanHomeSpn, "Init",
     "Init_OnlyShowLocalSpn_AndHighPriorityThanHomeSpn"},
    {&ConfigService::isOnlyShowSpnWhenRoamOff, "Init", "Init_OnlyShowBelongtoSpn_WhenRoamOff"},
    {&ConfigService::isSupportDeleteSmsAfterSaveSmsOK, "SMS", "Sms_DeleteSavedSms_AfterSaveOK"},
    {&ConfigService::isSupportArrangeSmsOrderStat, "SMS", "Sms_ArrangeSms_OrderStat"},
    {&ConfigService::isDisplayInboxCountLabelWithUnreadSmsCount, "SMS",
     "Sms_DisplayUnreadSmsCount_WithInboxCountLabel"},
    {&ConfigService::isCheckPCCompacity, "SMS", "Sms_CheckPCCompacity_IfNeeded"},
    {&ConfigService::checkIfShowReadStatus, "SMS", "showReadStatus"},
    {&ConfigService::checkIfSaveBroadCastAsShortMessage, "SMS", "Sms_SaveBroadCastAsSMS_IfNeeded"},
    {&ConfigService::isSupportCheckSmsIsFlowValueSMS, "SMS", "SMS_CheckSmsIsFlowValueSms_ifNeeded"},
    {&ConfigService::isSupportCheckSmsIsRechargeSMS, "SMS", "SMS_CheckSmsIsRechargeSms_ifNeeded"},
    {&ConfigService::isBackUpPcInBoxListBeforeNewSMSArrive, "SMS", "SMS_BackUpPcInBoxList_BeforeNewSMSArrive"},
    {&ConfigService::isGoToSMSPageWhenNewSMSArrives, "SMS", "SMS_GoToSMSPageWhenNewSMSArrives"},
    {&ConfigService::isSupportSetSmsStoreLocWhenClickSavePos, "SMS", "SMS_SetSmsStoreLoc_WhenClickSavePos"},
    {&ConfigService::isSupportSetSmsBrowsePosBySmsStoreLoc, "SMS", "SMS_SetSmsBrowsePos_WhenSmsStoreLocChanged"},
    {&ConfigService::isSupportSelectSMSDefaultBrowsePosWhenOpenSmsUI, "SMS", "SMS_selectDefaultPos_WhenOpenSMSUI"},
    {&ConfigService::isNotShowSMSReportWndWhenHasReportBox, "SMS", "SMS_NotShowSMSReportWnd_WhenHasReportBox"},
    {&ConfigService::getNewMessageBtnIsEnabledFromFileWhenSMSInit, "SMS", "SMS_NewMessageBtnIsEnabled_WhenSMSInit"},
    {&ConfigService::getNewMessageBtnIsEnabledFromFileWhenNetCardUnDetected, "SMS",
     "SMS_NewMessageBtnIsEnabled_WhenNetCardUnDetected"},
    {&ConfigService::isShowSendInfoWndWhenSendSMSFailOnBackGround, "SMS",
     "SMS_ShowSendInfoWnd_WhenSendSMSFailOnBackGround"},
    {&ConfigService::isSendUnreadRechargeSMSToUSSD, "SMS", "SMS_SendUnreadRechargeSMSToUSSD_IfNeeded"},
    {&ConfigService::isNotShowNewSMSWndWithCertainContent, "SMS", "NoShowNewSMSWndWithCertainContent"},
    {&ConfigService::isNotShowSMSReportArrivingTime, "SMS", "SMS_DoNotShowSMSReportArrivingTime_InSMSReportWnd"},
    {&ConfigService::notDisplayWordingForNewBtn, "SMS", "SMS_notDisplayWordingForNewBtn"},
    {&ConfigService::checkIfUSSDEncodeAndDecodeTypeIsGSM7, "USSD", "Ussd_codeTheSendStringWithGSM7_IfUssdModeIsOne"},
    {&ConfigService::isEnableToolbarForZOzava, "USSD", "DisableUSSDToolbarForRAdirer"},
    {&ConfigService::whetherEnableToolbarBasesMatching, "USSD", "USSD_WhetherEnableToolbarBasesMatching"},
    {&ConfigService::selectAppointUssdTabView, "USSD", "USSD_SelectAppointTabView"},
    {&ConfigService::isAppingApnInfoForConnectStateWhenConnected, "Internet",
     "Internet_AppendingApnInfoForConnectStateWhenConnected"},
    {&ConfigService::isDisplayPhoneNumberForRuvoz, "Internet",
     "Internet_IsDisplayPhoneNumber_WhenConnectedOrDisconnected"},
    {&ConfigService::isSavedDataToTheTxtFileToMB, "Internet",
     "Internet_RecordDataUnitWithMB_ifRecordFileSaveTypeIsTxt"},
    {&ConfigService::isDisplayBillboard, "Internet", "Internet_isDisplayBillboard_WhenConnectSuccess"},
    {&ConfigService::isNotShowIPAddressWhenDhcpFailed, "Internet", "Internet_doNotDisplayIPAddress_whenDHCPFailed"},
    {&ConfigService::forbiddenIpv6ApnWhileChooseRas, "Internet", "Internet_ForbiddenIPV6APN_WhileChooseRAS"},
    {&ConfigService::isDisplayWordingForConnectBtn, "Internet", "Internet_notDisplayWordingForConnectBtn"},
    {&ConfigService::displayTooltipForConnectBtn, "Internet", "Internet_displayTooltipForConnectBtn"},
    {&ConfigService::changeLeftValueOfWordingForConnectBtn, "Internet",
     "Internet_ChangeLeftValueOfWording_ForConnectBtn"},
    {&ConfigService::changeConnectStatus, "Internet", "Internet_DisconnectFromInternet_WhenNoSignal"},
    {&ConfigService::isOpenBlowFishEncryptServiceURL, "Internet",
     "Internet_OpenBlowFishEncryptServiceURL_AfterConnected"},
    {&ConfigService::isDisconnectAsk, "Internet", "PopUpDisconnectWaring"},
    {&ConfigService::isTransplantCodeToTestApnMatch, "Internet", "Internet_UseTransplantCodeToTestApnMatch"},
    {&ConfigService::setSearchNetListViewApplyBtnEnable, "Setting", "Setting_SetSearchNetListViewApplyBtnEnable"},
    {&ConfigService::isSetSearchNetMode2GOnly, "Setting", "Setting_SetSearchNetMode2GOnly_IfChoose3GPref"},
    {&ConfigService::isBackupPhoneBookOnly, "Setting", "Setting_BackupAndRestorePhoneBookOnly"},
    {&ConfigService::isSupportSetSMSDefaultStorePosWhenFirstStartUpUI, "Setting",
     "Setting_SetSMSDefaultStore_WhenFirstStartUpUI"},
    {&ConfigService::forbiddenNetCanChooseAndReturnFailedByUI, "Setting",
     "Setting_ForbiddenNetCanChooseAndReturnFailedByUI"},
    {&ConfigService::isRoamingImsiSet, "Setting", "Setting_RoamingImsiSet"},
    {&ConfigService::isCallBarringSetting, "Setting", "Setting_DoNotReadCallBarSetting_IfNoCallBar"},
    {&ConfigService::getCheckUserInformationLen, "PhoneBook", "PhoneBook_IsCheckUserInformationLen"},
    {&ConfigService::isDisplayEditGroupBtn, "PhoneBook", "PhoneBook_isDisplayEditGroupBtn_IfNeedDisplayInSIM"},
    {&ConfigService::isPopupDialog, "PhoneBook", "PhoneBook_PopUpSelectAlertWnd_IfCopyToSim"},
    {&ConfigService::isSupportCaseSensitiveWhenSearch, "PhoneBook", "PhoneBook_caseSensitive_WhenSearch"},
    {&ConfigService::isGoToCallViewWhenIncoming, "Call", "Call_IncomingCallOKClickedGoToCallView"},
    {&ConfigService::isSkinVersionForRAdirer, "", "DifferentWorkingMothodForRadirer"},
    {&ConfigService::setModemAndSimStateStringWhenR27K, "", "ShowModemAndSimStateBasisDeviceStateWhenR27K"},
    {&ConfigService::deviceLockForSettingFunction, "", "DeviceLockSettingFunction"},
    {&ConfigService::isImsiMatchGlobalApn, "", "ImsiMatchGlobalApn"},
    {&ConfigService::isAPNMatchWithMCCMNC, "", "APNMatchWithMCCMNC"},
    {&ConfigService::isQdonMatchApn, "", "QdonMatchApn"},
    {&ConfigService::isImsiMatchApn, "", "ImsiMatchApn"},
    {&ConfigService::isSpecialImsiRoam, "", "SpecialImsiRoam"},
};
const SwitchCase<int> kIntSwitches[] = {
    {&ConfigService::getURLEncryptPattern, "Main", "Main_EncryptURLPattern_IfNeeded"},
    {&ConfigService::getPassWordLimitLen, "Internet", "Internet_setPasswordLenOfAPN"},
    {&ConfigService::getIsCheckEncipher, "Internet", "Internet_isCheckImsiEncipher"},
    {&ConfigService::getUserEmailLen, "PhoneBook", "PhoneBook_UserEmailLen"},
    {&ConfigService::getUserHomePhoneLen, "PhoneBook", "PhoneBook_UserHomePhoneLen"},
    {&ConfigService::getUserMobilePhoneLen, "PhoneBook", "PhoneBook_UserMobilePhoneLen"},
    {&ConfigService::getUserNameLen, "PhoneBook", "PhoneBook_UserNameLen"},
    {&ConfigService::getUserOfficePhoneNumLen, "PhoneBook", "PhoneBook_UserOfficePhoneLen"},
    {&ConfigService::readDefaultProfileNum, "", "DefaultProfileNum"},
};
const SwitchCase<QVariant> kObjectSwitches[] = {
    {&ConfigService::getMccAndMncData, "Init", "Init_specificMccAndMnc"},
    {&ConfigService::readCustomHomeSPNFromConfig, "Init", "Init_changeHomeSPN_IfMatchedSpecialMCCMNC"},
    {&ConfigService::readCustomSPNFromConfig, "Init", "Init_ChangeAllSPN_IfMatchedSpecialMCCMNC"},
    {&ConfigService::readCustomLocalSPNFromConfig, "Init", "Init_ChangeLocalSPN_IfMatchedSpecialMCCMNC"},
    {&ConfigService::readMCCMNCListFromConfig, "Init", "Init_HideRoamStatus_IfMatchedSpecialMCCMNC"},
    {&ConfigService::readHMCCMNCListNeededHideRoamStatus, "Init", "Init_HideRoamStatus_IfMatchedSpecialHMCCMNC"},
    {&ConfigService::readFixedSPNFromConfig, "Init", "Init_FixedLocalSPN_AccordingBelongMCCMNC"},
    {&ConfigService::readHMCCMNCListNeededChangeSpn, "Init", "Init_SimHMCCMNCList_NeededChangeSPN"},
    {&ConfigService::readCustomBelongSPNFromConfig, "Init", "Init_ChangeBelongSPN_IfMatchedSpecialMCCMNC"},
    {&ConfigService::getArrayContainsSpeicalNumberAndSpeicalStringToReplace, "SMS", "SpecialNumberToHidden"},
    {&ConfigService::readFlowValueSMSJudgeCondition, "SMS", "SMS_FlowValueSMSJudegeConditions"},
    {&ConfigService::readSpecialSMSConfig, "SMS", "SpecialSMS"},
    {&ConfigService::getServerNumberWhenRechargeByUSSD, "USSD", "USSD_ServerNumber_WhenRecharge"},
    {&ConfigService::getParmsForUploadTestTool, "Internet", "Internet_ParmsForUploadTestTool"},
    {&ConfigService::getWebPageAddressesFromFile, "Internet", "Internet_WebPageAddress_NeedCycleDisplay"},
    {&ConfigService::getWebPageDisplayTimerInterval, "Internet", "Internet_SwitchWebTimeValue_WhenDisplayWebPage"},
    {&ConfigService::specialImsiAndIccidMnc, "Setting", "Setting_SpecialImsiAndIccidMnc"},
    {&ConfigService::readDisplayInTheInputBoxSpecialPhoneNum, "Call",
     "Call_SpecialPhoneNumberNeedDisplayInTheInputBox"},
    {&ConfigService::readImsiConfig, "", "IMSI2DialConfigIdx"},
    {&ConfigService::readDefDialCfgs, "", "AllDefaultDialCfg"},
    {&ConfigService::readEntertainTableConfig, "", "EntertainTabelConfig"},
};

// A ModemList folder with a settings file and the shared ConfigManager over it.
class ConfigServiceFixture : public ::testing::Test {
protected:
  QTemporaryDir root;
  std::unique_ptr<ConfigManager> config;
  ConfigService service;

  QString settingsPath() const { return root.filePath("Bundle/Resources/ModemList/settings.plist"); }
  void install(const QVariantMap &settings) {
    QDir().mkpath(root.filePath("Bundle/Resources/ModemList"));
    QFile::remove(settingsPath());
    if (!settings.isEmpty())
      Plist::writeFile(settingsPath(), settings);
    config = std::make_unique<ConfigManager>(ConfigManager::locationsForBundle(root.filePath("Bundle")));
    ConfigManager::setSharedConfigManager(config.get());
  }
  QVariantMap onDisk() const {
    QVariantMap m;
    Plist::readDictionary(settingsPath(), &m);
    return m;
  }
  void SetUp() override { install({}); }
  void TearDown() override {
    ConfigManager::setSharedConfigManager(nullptr);
    WordGlobe::reset();
  }
  // Settings holding `value` at module[key], or at the top level for an empty module.
  static QVariantMap with(const char *module, const char *key, const QVariant &value) {
    if (!*module)
      return {{key, value}};
    return {{module, QVariantMap{{key, value}}}};
  }
};

TEST_F(ConfigServiceFixture, AbsentKeysReadAsOffZeroOrNothing) {
  for (const auto &c : kBoolSwitches)
    EXPECT_FALSE((service.*c.read)()) << c.key;
  for (const auto &c : kIntSwitches)
    EXPECT_EQ((service.*c.read)(), 0) << c.key;
  for (const auto &c : kObjectSwitches)
    EXPECT_FALSE((service.*c.read)().isValid()) << c.key;
  EXPECT_EQ(ConfigService::switchTable().size(),
            std::size(kBoolSwitches) + std::size(kIntSwitches) + std::size(kObjectSwitches));

  // The switches whose absent key means something else.
  EXPECT_EQ(service.getUIModelConfig(), 3);
  EXPECT_TRUE(service.isEnableAutoApnMatch());
  EXPECT_EQ(service.getSMSDefaultBrowsePosWhenOpenSmsUI(), "AT_PC");
  EXPECT_EQ(service.getSMSDefaultStorePosWhenFirstStartUpUI(), "SetAtPC");
  EXPECT_TRUE(service.getIsSupportMutalsLanguages());
  EXPECT_TRUE(service.checkMccMncIsRegister("46001"));
  EXPECT_TRUE(service.isDisabledLimits());
  EXPECT_TRUE(service.judgeRecordLastResetTimeWhetherEmptyWhenUIInit());
  EXPECT_FALSE(service.isNeedTestSpeedAtConnected());
  EXPECT_FALSE(service.hasImsiPhoneConfig());
  EXPECT_EQ(service.getStartupViewDelayTime(), 0.0);
  EXPECT_TRUE(service.getUIFont().isEmpty());
  EXPECT_TRUE(service.getUIDateFormat().isNull());

  // No settings owner at all reads the same and writes nothing.
  ConfigManager::setSharedConfigManager(nullptr);
  EXPECT_FALSE(service.isCloseUIIfDeviceRemoved());
  EXPECT_EQ(service.getUIModelConfig(), 3);
  EXPECT_FALSE(service.writeCurrentProfile(1));
}

TEST_F(ConfigServiceFixture, EachSwitchReadsItsOwnKeyLive) {
  for (const auto &c : kBoolSwitches) {
    install(with(c.module, c.key, true));
    EXPECT_TRUE((service.*c.read)()) << c.key;
    // Read afresh on every call: an edit in memory counts at once.
    config->getConfiguration() = with(c.module, c.key, false);
    EXPECT_FALSE((service.*c.read)()) << c.key;
  }
  for (const auto &c : kIntSwitches) {
    install(with(c.module, c.key, 7));
    EXPECT_EQ((service.*c.read)(), 7) << c.key;
  }
  for (const auto &c : kObjectSwitches) {
    const QVariant value = QVariantList{"46001", QVariantMap{{"a", 1}}};
    install(with(c.module, c.key, value));
    EXPECT_EQ((service.*c.read)(), value) << c.key;
  }
}

TEST_F(ConfigServiceFixture, AKeyInTheWrongModuleDoesNotCount) {
  for (const auto &c : kBoolSwitches) {
    QVariantMap settings = *c.module ? QVariantMap{{c.key, true}, {"Other", QVariantMap{{c.key, true}}}}
                                     : QVariantMap{{"Main", QVariantMap{{c.key, true}}}};
    install(settings);
    EXPECT_FALSE((service.*c.read)()) << c.key;
  }
}

TEST_F(ConfigServiceFixture, WritersThatNeedADeclaredKeyTouchNothingWithoutIt) {
  struct Case {
    const char *name;
    QVariantMap undeclared;
    QVariantMap declared;
    std::function<bool(ConfigService &)> write;
    QString module, key;
    QVariant stored;
  };
  const QDateTime when = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
  const QList<Case> cases = {
      {"UI model",
       {{"Main", QVariantMap{{"Other", 1}}}},
       {{"Main", QVariantMap{{"Main_UIModel", 1}}}},
       [](ConfigService &s) { return s.saveCurrentUIModel(2); },
       "Main",
       "Main_UIModel",
       2},
      {"preferred network mode",
       {{"Setting", QVariantMap{}}},
       {{"Setting", QVariantMap{{"Setting_CurrentNetPreSys", 0}}}},
       [](ConfigService &s) { return s.saveCurrentNetPreferedMode(3); },
       "Setting",
       "Setting_CurrentNetPreSys",
       3},
      {"SMS store flag",
       {{"Setting", QVariantMap{}}},
       {{"Setting", QVariantMap{{"Setting_SetSMSDefaultStore_WhenFirstStartUpUI", true}}}},
       [](ConfigService &s) { return s.writeSMSStoreLocSettingFlagAfterFirstStartupUI(false); },
       "Setting",
       "Setting_SetSMSDefaultStore_WhenFirstStartUpUI",
       false},
      {"disconnect question",
       {{"Main", QVariantMap{}}},
       {{"Internet", QVariantMap{}}},
       [](ConfigService &s) { return s.writeDisconnectAskState(true); },
       "Internet",
       "PopUpDisconnectWaring",
       true},
      {"record reset time",
       {{"Record", "not a module"}},
       {{"Record", QVariantMap{}}},
       [when](ConfigService &s) { return s.setRecordLastResetTimeValueWhenEmpty(when); },
       "Record",
       "recordLastResetTime",
       when},
      {"record entry",
       {},
       {{"Record", QVariantMap{}}},
       [](ConfigService &s) { return s.setconfigurationForRecordAndWriteToFile("IfSetRecordResetEveryDays", true); },
       "Record",
       "IfSetRecordResetEveryDays",
       true},
      {"IMSI phone number",
       {{"ImsiPhone", QVariantList{"460"}}},
       {{"ImsiPhone", QVariantMap{}}},
       [](ConfigService &s) { return s.setImsi("460011234567890", "+4912345"); },
       "ImsiPhone",
       "460011234567890",
       "+4912345"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QVariantMap undeclared = c.undeclared;
    undeclared.insert("Marker", 1); // keeps the file non-empty
    install(undeclared);
    EXPECT_FALSE(c.write(service));
    EXPECT_EQ(config->getConfiguration(), undeclared);
    EXPECT_EQ(onDisk(), undeclared);

    install(c.declared);
    // An edit another controller made only in memory is written along with it.
    config->setConfigurationByModule("ProfileID", 9);
    EXPECT_TRUE(c.write(service));
    const QVariantMap disk = onDisk();
    EXPECT_EQ(disk.value(c.module).toMap().value(c.key), c.stored);
    EXPECT_EQ(config->getConfigurationByModuleAndKey(c.module, c.key), c.stored);
    EXPECT_EQ(disk.value("ProfileID").toInt(), 9);
  }
}

TEST_F(ConfigServiceFixture, TopLevelWritersSaveAtOnce) {
  EXPECT_TRUE(service.writeCurrentProfile(2));
  EXPECT_TRUE(service.writeDefaultProfileNum(4));
  const QVariantMap purchase{{"Step", 1}};
  EXPECT_TRUE(service.writePurchaseProcessListInFile(purchase));
  const QVariantMap disk = onDisk();
  EXPECT_EQ(disk.value("ProfileID").toInt(), 2);
  EXPECT_EQ(disk.value("DefaultProfileNum").toInt(), 4);
  EXPECT_EQ(disk.value("PurchargeBySMS"), purchase);
  EXPECT_EQ(service.readDefaultProfileNum(), 4);
  EXPECT_EQ(service.readPurchaseProcessList(), purchase);
}

TEST_F(ConfigServiceFixture, SwitchesWithTheirOwnRule) {
  install({
      {"Internet", QVariantMap{{"Internet_IsNeedTestSpeedAtConnected", false}, {"ConnectImage", "connect.png"}}},
      {"SMS", QVariantMap{{"SMS_DefaultPos_WhenOpenSMSUI", ""},
                          {"Sms_ReplaceSpecialNumberToSpecialString_IfNeeded", true},
                          {"SpecialNumberToHidden", QVariantList{}}}},
      {"Setting",
       QVariantMap{{"Setting_SMSDefaultStorePos_WhenFirstStartUpUI", "SetAtSIM"}, {"Setting_CurrentNetPreSys", 3}}},
      {"Record", QVariantMap{{"IfSetRecordResetEveryDays", true}, {"recordLastResetTime", 0}}},
      {"AllowMCCMNCList", QVariantList{"46001", 46002}},
      {"SupportLanguages", QVariantList{}},
      {"ImsiPhone", QVariantMap{{"460", "+49"}}},
      {"UIAnimation", QVariantMap{{"ShakeWindow", QVariantMap{{"PinWindow", true}}}}},
      {"MAINFORM", QVariantMap{{"StartupWindow", QVariantMap{{"DisplayCount", 2},
                                                             {"DelayTime", 1.5},
                                                             {"StartupWindow_GetSoftwareVersionString", "YES"}}}}},
      {"Main", QVariantMap{{"Main_UIModel", 1}, {"TextFont", QVariantMap{{"FontName", "Sans"}, {"FontSize", 11}}}}},
      {"EnableAutoApnMatch", false},
      {"CustomDateFormat", "yyyy-MM-dd"},
      {"UIConfig", QVariantMap{{"ToolbarItems", QVariantList{}}}},
  });
  EXPECT_TRUE(service.isNeedTestSpeedAtConnected()) << "present counts, whatever its value";
  EXPECT_EQ(service.getSMSDefaultBrowsePosWhenOpenSmsUI(), "AT_PC") << "the empty string means the default";
  EXPECT_EQ(service.getSMSDefaultStorePosWhenFirstStartUpUI(), "SetAtSIM");
  EXPECT_FALSE(service.checkIfRepalceSpecialPhoneNumberToSpecialString()) << "nothing to replace";
  EXPECT_FALSE(service.isDisabledLimits());
  EXPECT_FALSE(service.judgeRecordLastResetTimeWhetherEmptyWhenUIInit());
  EXPECT_TRUE(service.isSetCurrentNetPreferedMode());
  EXPECT_FALSE(service.checkMccMncIsRegister("46001"));
  EXPECT_TRUE(service.checkMccMncIsRegister("46002")) << "a number is not the text";
  EXPECT_EQ(service.mccMncArray().size(), 2);
  EXPECT_TRUE(service.getIsSupportMutalsLanguages()) << "an empty list offers no choice";
  EXPECT_TRUE(service.hasImsiPhoneConfig());
  EXPECT_TRUE(service.isImsiPhoneDictContainCertainImsi("460"));
  EXPECT_FALSE(service.isImsiPhoneDictContainCertainImsi("461"));
  EXPECT_EQ(service.getPhoneNumWithImsi("460"), "+49");
  EXPECT_TRUE(service.getPhoneNumWithImsi("461").isNull());
  EXPECT_TRUE(service.needShakePinWindow());
  EXPECT_TRUE(service.startupWindowControlGetSoftwareVersionString());
  EXPECT_EQ(service.getDisplayStartupFlashTimes(), 2);
  EXPECT_DOUBLE_EQ(service.getStartupViewDelayTime(), 1.5);
  EXPECT_EQ(service.getUIModelConfig(), 1);
  EXPECT_EQ(service.getUIFont().value("FontName"), "Sans");
  EXPECT_FALSE(service.isEnableAutoApnMatch());
  EXPECT_EQ(service.getUIDateFormat(), "yyyy-MM-dd");
  EXPECT_TRUE(service.hasToolbarSkinInfo());
  EXPECT_EQ(service.getConnectButtonImageName("ConnectImage"), "connect.png");
  EXPECT_TRUE(service.getConnectButtonImageName("None").isNull());
  EXPECT_EQ(service.getConfigFromRecord("IfSetRecordResetEveryDays"), true);

  auto &sms = config->getConfiguration()["SMS"];
  QVariantMap smsMap = sms.toMap();
  smsMap.insert("SpecialNumberToHidden", QVariantList{QVariantMap{{"NumberToHidden", "123"}, {"NameToShow", "Op"}}});
  smsMap.insert("SMS_DefaultPos_WhenOpenSMSUI", "AT_SIM");
  sms = smsMap;
  EXPECT_TRUE(service.checkIfRepalceSpecialPhoneNumberToSpecialString());
  EXPECT_EQ(service.getSMSDefaultBrowsePosWhenOpenSmsUI(), "AT_SIM");
  config->getConfiguration().insert("SupportLanguages", QVariantList{"English"});
  EXPECT_FALSE(service.getIsSupportMutalsLanguages());
  config->getConfiguration().remove("AllowMCCMNCList");
  EXPECT_TRUE(service.checkMccMncIsRegister("46001"));
}

TEST_F(ConfigServiceFixture, PhoneBookInversionFollowsTheLoadedArabicWording) {
  install({{"PhoneBook", QVariantMap{{"PhoneBook_InterfaceInversion_AtArabic", true}}}});
  for (const char *folder : {"Arabic", "English"}) {
    QDir().mkpath(root.filePath(QString("Res/%1.lproj").arg(folder)));
    QFile f(root.filePath(QString("Res/%1.lproj/LanguageTokenList.txt").arg(folder)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"a\" = \"b\";");
  }
  EXPECT_FALSE(service.isSupportInterfaceInversionForPhoneBook()) << "no wording loaded";
  ASSERT_TRUE(Word_Globe_Init(root.filePath("Res/Arabic.lproj/LanguageTokenList.txt")));
  EXPECT_TRUE(service.isSupportInterfaceInversionForPhoneBook());
  ASSERT_TRUE(Word_Globe_Init(root.filePath("Res/English.lproj/LanguageTokenList.txt")));
  EXPECT_FALSE(service.isSupportInterfaceInversionForPhoneBook());
}

TEST(ConfigService, SoapRequestCarriesTheImsi) {
  EXPECT_TRUE(ConfigService::getSoapServiceName().endsWith(":7002/SPBUUP/SPBService?WSDL"));
  EXPECT_TRUE(ConfigService::getSoapServiceName().startsWith("http://"));
  const QString request = ConfigService::getSoapServiceContent().arg("460011234567890");
  EXPECT_FALSE(request.contains('\n'));
  EXPECT_TRUE(request.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
  EXPECT_TRUE(request.contains("<loc:IMSI>460011234567890</loc:IMSI>"));
  EXPECT_TRUE(request.contains("<Username>kel_wadu</Username><Password>kox</Password>"));
}

TEST(ConfigService, SharedInstanceIsTheInstalledOne) {
  ConfigService mine;
  ConfigService::setSharedConfigService(&mine);
  EXPECT_EQ(ConfigService::sharedConfigService(), &mine);
  ConfigService::setSharedConfigService(nullptr);
  EXPECT_NE(ConfigService::sharedConfigService(), nullptr);
  EXPECT_NE(ConfigService::sharedConfigService(), &mine);
}

TEST(SettingValue, ReadsHandWrittenValues) {
  struct Case {
    QVariant value;
    bool asBool;
    int asInt;
  };
  const QList<Case> cases = {
      {true, true, 1},
      {false, false, 0},
      {0, false, 0},
      {qint64(3), true, 3},
      {2.9, true, 2},
      {-0.5, true, 0},
      {"YES", true, 0},
      {"NO", false, 0},
      {"true", true, 0},
      {"false", false, 0},
      {"1", true, 1},
      {"0", false, 0},
      {" 12abc", true, 12},
      {"-7", true, -7},
      {"", false, 0},
      {"99999999999", true, 2147483647},
      {qint64(1) << 40, true, 2147483647},
      {QVariantMap{{"a", 1}}, false, 0},
      {QVariantList{1}, false, 0},
      {QVariant(), false, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(SettingValue::toBool(c.value), c.asBool) << c.value.toString().toStdString();
    EXPECT_EQ(SettingValue::toInt(c.value), c.asInt) << c.value.toString().toStdString();
  }
  EXPECT_DOUBLE_EQ(SettingValue::toDouble("1.5s"), 1.5);
  EXPECT_DOUBLE_EQ(SettingValue::toDouble(QVariantMap()), 0.0);
}

} // namespace
