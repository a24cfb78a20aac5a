// The settings window's controls under their skin item names, and the reduced layout of the
// "RuvozUI" configuration, which moves the network controls into the main window's "Setting" tab.
#include "SettingController.h"

#include "CodeSheet.h"
#include "FrameworkLinks.h"
#include "Platform.h"
#include "SettingControllerSupport.h"

#include <QLayout>

using namespace settingsupport;

namespace {
QWidget *pageButton(const QList<QPointer<QAbstractButton>> &buttons, const char *page) {
  for (const QPointer<QAbstractButton> &b : buttons)
    if (b && b->property("pageIdentifier").toString() == QLatin1String(page))
      return b;
  return nullptr;
}

QWidget *labelWithKey(const QList<QPointer<QLabel>> &labels, const char *key) {
  for (const QPointer<QLabel> &l : labels)
    if (l && l->property("wordingKey").toString() == QLatin1String(key))
      return l;
  return nullptr;
}

QWidget *childNamed(QWidget *root, const char *name) {
  return root ? root->findChild<QWidget *>(QLatin1String(name)) : nullptr;
}
} // namespace

bool SettingController::isRuvozUI() const {
  return boolOf(const_cast<SettingController *>(this)->settingDict(), QStringLiteral("UIConfig"),
                QStringLiteral("RuvozUI"));
}

QList<QPair<QString, QWidget *>> SettingController::skinBindingTable() const {
  auto *self = const_cast<SettingController *>(this);
  CodeSheet *pin = self->enablePinSheet(), *revise = self->revisePinSheet(), *puk = self->pukSheet();
  CodeSheet *unlock = self->unlockDeviceSheet(), *modify = self->modifyUnlockDeviceSheet();
  const auto f = [](CodeSheet *s, int i) -> QWidget * { return s ? s->field(i) : nullptr; };
  const auto l = [](CodeSheet *s, int i) -> QWidget * { return s ? s->label(i) : nullptr; };
  const SoundRow *r = soundRows;
  // The order is the skin's; "btnCallSettingApply" and "btnReadCallSetStatus" come twice.
  return {
      {QStringLiteral("tabviewSetting"), tabviewSetting},
      {QStringLiteral("wndSettingNetSelect"), netSelectWindow},
      {QStringLiteral("wndSettingEnablePin"), pin},
      {QStringLiteral("wndSettingChangePin"), revise},
      {QStringLiteral("wndSettingPuk"), puk},
      {QStringLiteral("wndSettingAddBrowser"), wndAddBrowser},
      {QStringLiteral("wndCommonBackGround"), wndEditBrowser},
      {QStringLiteral("wndSettingAlert"), nullptr},
      {QStringLiteral("wndSettingUnlockDevice"), unlock},
      {QStringLiteral("wndModifyUnlockDevice"), modify},
      {QStringLiteral("matrixSettingMethodToSelectNet"), m_MethodToSelectNet},
      {QStringLiteral("matrixSettingNetworkFindModeSeletion"), m_NetworkFindModeSeletion},
      {QStringLiteral("matrixFrequencySelect"), matrixFrequencySelect_},
      {QStringLiteral("matrixSettingDeliveryReport"), MessageDeliveryReport},
      {QStringLiteral("BarSsearchProcess"), BarSsearchProcess},
      {QStringLiteral("btnSettingPinEnable"), m_PINEnable},
      {QStringLiteral("btnSettingBRSMSPB"), nullptr},
      {QStringLiteral("btnSettingStartWithSys"), btnStartWithSystem},
      {QStringLiteral("btnSettingStartWithDeviceIsPlugLabel"), btnStartWithPluginDevice},
      {QStringLiteral("btnSettingAutoConnect"), btnAutoConnect},
      {QStringLiteral("matrixSettingAutoConnect"), matrixAutoConnectRuvoz},
      {QStringLiteral("btnSettingMsgSetApply"), MessageSetApplyBtn},
      {QStringLiteral("btnSettingMsgSetCancel"), MessageSetCancelBtn},
      {QStringLiteral("btnSettingRevisePin"), m_RevisePinButton},
      {QStringLiteral("btnSettingAddBrowser"), btnNotAutolaunch},
      {QStringLiteral("CheckSettingAutoUpdate"), btnAutoUpdate},
      {QStringLiteral("btnSettingCheckDeviceUnlockCodeEnable"), btnCheckDeviceUnlockCodeEnable},
      {QStringLiteral("btnSettingInputPinCancel"), pin ? pin->cancel : nullptr},
      {QStringLiteral("btnSettingInputPinOK"), pin ? pin->ok : nullptr},
      {QStringLiteral("btnSettingRevisePinCancel"), revise ? revise->cancel : nullptr},
      {QStringLiteral("btnSettingRevisePinOK"), revise ? revise->ok : nullptr},
      {QStringLiteral("btnSettingInputPukCancel"), puk ? puk->cancel : nullptr},
      {QStringLiteral("btnSettingInputPukOK"), puk ? puk->ok : nullptr},
      {QStringLiteral("btnSettingCancelNetSelect"), CancelnetSelectBtn},
      {QStringLiteral("btnSettingInputApplyNetSelect"), netSelectBtn},
      {QStringLiteral("btnSettingAlertOK"), nullptr},
      {QStringLiteral("viewSettingsTab"), settingView},
      {QStringLiteral("labelServerSetting"), labelServer},
      {QStringLiteral("textServiceSetting"), tfdServerAddress},
      {QStringLiteral("btnApplySetting"), btnApplyServer},
      {QStringLiteral("btnUpdateNowSetting"), btnUpdateNow},
      {QStringLiteral("btnModifyDeviceUnlockCodeSetting"), btnModifyDeviceUnlockCode},
      {QStringLiteral("btnBackupSMSandPhonebookSetting"), nullptr},
      {QStringLiteral("btnRestoreSMSandPhonebookSetting"), nullptr},
      {QStringLiteral("labelUpdateBoxSetting"), boxUpdate},
      {QStringLiteral("labelUpdateSetting"), labelUpdate},
      {QStringLiteral("labelOperSelectSetting"), childNamed(settingView, "boxSelectMode")},
      {QStringLiteral("labelSelectModeSetting"), networkClassLable},
      {QStringLiteral("textMessageCenterSetting"), MessageCenter},
      {QStringLiteral("labelMessageCenterSetting"), labelWithKey(smsLabels, "Message Center:")},
      {QStringLiteral("labelValidityPeriodSetting"), labelWithKey(smsLabels, "Validity Period:")},
      {QStringLiteral("textMessageValidityPeriodSetting"), MessageValidityPeriod},
      {QStringLiteral("labelDeliveryReportSetting"), labelWithKey(smsLabels, "Delivery Report:")},
      {QStringLiteral("textLocationSetting"), labelWithKey(smsLabels, "Location of Saving New SMS:")},
      {QStringLiteral("labelMessageStoreLocSetting"), MessageStoreLoc},
      {QStringLiteral("labelBrowserAutoConnectSetting"), labelBrowser},
      {QStringLiteral("textBrowserSetting"), nullptr},
      {QStringLiteral("cbboxSettingBrowserList"), cbboxBrowserList},
      {QStringLiteral("btnAdvancedSetting"), btnAdvanced},
      {QStringLiteral("labelAutoSetting"), nullptr},
      {QStringLiteral("labelselectLanguageSetting"), labelLanguage},
      {QStringLiteral("comboSupportLanguageSetting"), popupLanguage},
      {QStringLiteral("textPukStringSetting"), f(puk, 0)},
      {QStringLiteral("textNewPinStringSetting"), f(puk, 1)},
      {QStringLiteral("textRepNewPinStringSetting"), f(puk, 2)},
      {QStringLiteral("labelInputPUKSetting"), l(puk, 0)},
      {QStringLiteral("labelPUKNewPinSetting"), l(puk, 1)},
      {QStringLiteral("labelPleaseInputPUKSetting"), puk ? puk->prompt : nullptr},
      {QStringLiteral("labelPUKRepeatNewPinSetting"), l(puk, 2)},
      {QStringLiteral("labelPukTimeLeftSetting"), puk ? puk->timeLeft : nullptr},
      {QStringLiteral("textEnablePinPinSetting"), f(pin, 0)},
      {QStringLiteral("labelInputPinSetting"), l(pin, 0)},
      {QStringLiteral("labelPleaseInputPinSetting"), pin ? pin->prompt : nullptr},
      {QStringLiteral("labelEnablePinTimeLeftSetting"), pin ? pin->timeLeft : nullptr},
      {QStringLiteral("textReviseOldPinSetting"), f(revise, 0)},
      {QStringLiteral("labelReviseOldPinSetting"), l(revise, 0)},
      {QStringLiteral("textReviseNewPinStringSetting"), f(revise, 1)},
      {QStringLiteral("labelReviseNewPinSetting"), l(revise, 1)},
      {QStringLiteral("labelPleaseRevisePinSetting"), revise ? revise->prompt : nullptr},
      {QStringLiteral("textReviseRepNewPinStringSetting"), f(revise, 2)},
      {QStringLiteral("labelReviseRepeatNewPinSetting"), l(revise, 2)},
      {QStringLiteral("labelRevisePinTimeLeftSetting"), revise ? revise->timeLeft : nullptr},
      {QStringLiteral("labelAlertTextSetting"), nullptr},
      {QStringLiteral("labelAdvancedSetting"), nullptr},
      {QStringLiteral("labelAddLinkSetting"), childNamed(wndAddBrowser, "labelAddLinkSetting")},
      {QStringLiteral("textAddBrowserSetting"), textAddBrowser},
      {QStringLiteral("btnAddLinkSetting"), btnAddLink},
      {QStringLiteral("labelAddBrowserListSetting"), nullptr},
      {QStringLiteral("cbboxAddBrowserListSetting"), cbboxAddBrowserList},
      {QStringLiteral("btnEditAvailableSetting"), btnEditAvailable},
      {QStringLiteral("btnRemoveAvailableSetting"), btnRemoveAvailable},
      {QStringLiteral("textEditBrowserSetting"), textEditBrowser},
      {QStringLiteral("btnOKAddBrowserSetting"), btnOKAddBrowser},
      {QStringLiteral("btnCancelAddBrowserSetting"), btnCancelAddBrowser},
      {QStringLiteral("btnOKEditBrowserSetting"), btnOKEditBrowser},
      {QStringLiteral("btnCancelEditBrowserSetting"), btnCancelEditBrowser},
      {QStringLiteral("btnModifyUnlockDeviceOKSetting"), modify ? modify->ok : nullptr},
      {QStringLiteral("btnModifyUnlockDeviceCancelSetting"), modify ? modify->cancel : nullptr},
      {QStringLiteral("textOldUnlockDeviceCodeSetting"), f(modify, 0)},
      {QStringLiteral("labelOldUnlockDeviceCodeSetting"), l(modify, 0)},
      {QStringLiteral("textNewUnlockDeviceCodeSetting"), f(modify, 1)},
      {QStringLiteral("labelNewUnlockDeviceCodeSetting"), l(modify, 1)},
      {QStringLiteral("textVerifyNewUnlockDeviceCodeSetting"), f(modify, 2)},
      {QStringLiteral("labelVerifyNewUnlockDeviceCodeSetting"), l(modify, 2)},
      {QStringLiteral("labelModifyUnlockDeviceCountSetting"), modify ? modify->timeLeft : nullptr},
      {QStringLiteral("btnUnlockDeviceOKSetting"), unlock ? unlock->ok : nullptr},
      {QStringLiteral("btnUnlockDeviceCancelSetting"), unlock ? unlock->cancel : nullptr},
      {QStringLiteral("textUnlockDeviceCodeSetting"), f(unlock, 0)},
      {QStringLiteral("labelUnlockDeviceCodeSetting"), l(unlock, 0)},
      {QStringLiteral("labelUnlockDeviceCountSetting"), unlock ? unlock->timeLeft : nullptr},
      {QStringLiteral("btnConnectBrowseSetting"), r[kSoundOnline].browse},
      {QStringLiteral("btnSMSBrowseSetting"), r[kSoundSMS].browse},
      {QStringLiteral("btnDisconnectBrowseSetting"), r[kSoundOffline].browse},
      {QStringLiteral("btnCallBrowseSetting"), r[kSoundIncomingCall].browse},
      {QStringLiteral("btnConnectTextDiscriptionSetting"), r[kSoundOnline].text},
      {QStringLiteral("labelSMSTextDiscriptionSetting"), r[kSoundSMS].text},
      {QStringLiteral("btnDisconnectTextDiscriptionSetting"), r[kSoundOffline].text},
      {QStringLiteral("btnCallTextDiscriptionSetting"), r[kSoundIncomingCall].text},
      {QStringLiteral("btnConnectSoundFileNameSetting"), r[kSoundOnline].fileName},
      {QStringLiteral("btnSMSSoundFileNameSetting"), r[kSoundSMS].fileName},
      {QStringLiteral("btnDisconnectSoundFileNameSetting"), r[kSoundOffline].fileName},
      {QStringLiteral("btnCallSoundFileNameSetting"), r[kSoundIncomingCall].fileName},
      {QStringLiteral("btnConnectMuteSetting"), r[kSoundOnline].mute},
      {QStringLiteral("btnSMSMuteSetting"), r[kSoundSMS].mute},
      {QStringLiteral("btnDisconnectMuteSetting"), r[kSoundOffline].mute},
      {QStringLiteral("btnCallMuteSetting"), r[kSoundIncomingCall].mute},
      {QStringLiteral("MatrixConnectTypeSetting"), matrixConnectType},
      {QStringLiteral("labelConnectTypeSetting"), labelConnectType},
      {QStringLiteral("labelConnectSetting"), labelConnectFunction},
      {QStringLiteral("btnDivertWhenBusy"), btnDivertWhenBusy_},
      {QStringLiteral("btnDivertWhenNotReachable"), btnDivertWhenNotReachable_},
      {QStringLiteral("btnDivertWhenNotAnswer"), btnDivertWhenNotAnswer_},
      {QStringLiteral("btnDivertAll"), btnDivertAll_},
      {QStringLiteral("btnCallWaitSetting"), btnCallWaitSetting_},
      {QStringLiteral("btnBarAllOutgoing"), btnBarAllOutgoing_},
      {QStringLiteral("btnBarInternational"), btnBarInternational_},
      {QStringLiteral("btnBarInternationalEXHC"), btnBarInternationalEXHC_},
      {QStringLiteral("btnBarAllIncoming"), btnBarAllIncoming_},
      {QStringLiteral("btnBarIncomingWhenRoaming"), btnBarIncomingWhenRoaming_},
      {QStringLiteral("btnCallSettingApply"), btnCallSettingApply_},
      {QStringLiteral("btnReadCallSetStatus"), btnReadCallSetStatus_},
      {QStringLiteral("btnCallSettingApply"), btnCallSettingApply_},
      {QStringLiteral("btnReadCallSetStatus"), btnReadCallSetStatus_},
      {QStringLiteral("callSettingView"), callSettingView_},
      {QStringLiteral("labelCallBarPassword"), labelCallBarPassword_},
      {QStringLiteral("txdDivertWhenBusy"), txdDivertWhenBusy_},
      {QStringLiteral("txdDivertWhenNotReachable"), txdDivertWhenNotReachable_},
      {QStringLiteral("txdDivertWhenNotAnswer"), txdDivertWhenNotAnswer_},
      {QStringLiteral("txdDivertAll"), txdDivertAll_},
      {QStringLiteral("txdCallBarPassword"), txdCallBarPassword_},
      {QStringLiteral("btnSettingSecurity"), pageButton(settingPageButtons, "Security")},
      {QStringLiteral("btnSettingSystem"), pageButton(settingPageButtons, "System")},
      {QStringLiteral("btnSettingNetwork"), pageButton(settingPageButtons, "Network")},
      {QStringLiteral("btnSettingSMS"), pageButton(settingPageButtons, "SMS")},
      {QStringLiteral("btnSettingAlert"), pageButton(settingPageButtons, "Alert")},
      {QStringLiteral("btnSettingBrowser"), pageButton(settingPageButtons, "Browser")},
      {QStringLiteral("btnSettingRecord"), pageButton(settingPageButtons, "Record")},
  };
}

void SettingController::initializeSkin() {
  if (!qelSkinManager)
    return;
  for (const auto &[name, control] : skinBindingTable())
    if (control)
      FrameworkLinks::registerController(qelSkinManager, control, name, true);
  initRuvozSkin();
}

void SettingController::initRuvozSkin() {
  if (!isRuvozUI() || !tabviewMain)
    return;
  QWidget *tab = nullptr;
  for (int i = 0; i < tabviewMain->count(); ++i)
    if (tabviewMain->widget(i)->property("itemIdentifier").toString() == QLatin1String("Setting"))
      tab = tabviewMain->widget(i);
  if (!tab)
    return;
  QWidget *view = createNSViewExtByKey(QStringLiteral("viewInSetting"), tab);
  if (!view) {
    view = new QWidget(tab);
    view->setObjectName(QStringLiteral("viewInSetting"));
  }
  viewInSetting_ = view;
  initializeLabelsOfView(view, QStringLiteral("labelsInViewInSetting"));
  initializeBtnsOfView(view, QStringLiteral("btnsInViewInSetting"));
  // The band and auto-connect save buttons and the product name label of the layout.
  btnSaveNetAndFrequencyRuvoz = view->findChild<QPushButton *>(QStringLiteral("btnSaveInFrequencySelect"));
  if (!btnSaveAutoConnectRuvoz)
    btnSaveAutoConnectRuvoz = view->findChild<QPushButton *>(QStringLiteral("btnSaveInAutoConnect"));
  labelProductNameRuvoz = view->findChild<QLabel *>(QStringLiteral("ProductName"));
  if (!view->layout())
    new QVBoxLayout(view);
  for (QWidget *w : {static_cast<QWidget *>(m_NetworkFindModeSeletion), static_cast<QWidget *>(m_MethodToSelectNet),
                     static_cast<QWidget *>(BarSsearchProcess), static_cast<QWidget *>(matrixFrequencySelect_),
                     static_cast<QWidget *>(matrixAutoConnectRuvoz)})
    if (w) {
      w->setParent(view);
      view->layout()->addWidget(w);
    }
  if (btnSaveNetAndFrequencyRuvoz)
    connect(btnSaveNetAndFrequencyRuvoz, &QPushButton::clicked, this,
            [this] { ruvozUISaveNetAndFrequencySetting(btnSaveNetAndFrequencyRuvoz); });
}

void SettingController::ruvozUISetNetSearchMode(QObject *) {
  if (networkSelectMethodRow() == 0) {
    m_ManualSelectFlag = false;
    selectTag(matrixFrequencySelect_, 3);
    selectTag(m_NetworkFindModeSeletion, 3);
    enable(matrixFrequencySelect_, false);
    enable(m_NetworkFindModeSeletion, false);
  } else {
    m_ManualSelectFlag = true;
    enable(matrixFrequencySelect_, true);
    enable(m_NetworkFindModeSeletion, true);
  }
}

void SettingController::ruvozUISetMatrixEnable(bool on) {
  if (!isRuvozUI())
    return;
  setMatrixFrequencySelectEnable(on);
  enable(m_NetworkFindModeSeletion, on);
}

void SettingController::ruvozUISaveNetAndFrequencySetting(QObject *) {
  searchingNetworkUI(true);
  SetNetFrequency(matrixFrequencySelect_);
  if (!Platform::sharedPlatform() || Platform::sharedPlatform()->platform() != Platform::kPlatformIcera)
    SetSearchNetMode(m_MethodToSelectNet);
}

void SettingController::initRuvozFrequencyWithTag(int tag) {
  if (!isRuvozUI())
    return;
  if (tag > 0) {
    selectTag(matrixFrequencySelect_, tag);
    currentBandTag_ = tag;
    return;
  }
  selectTag(matrixFrequencySelect_, 3);
  if (currentBandTag_ != 3) {
    currentBandTag_ = 3;
    SetNetFrequency(matrixFrequencySelect_);
  }
}

void SettingController::setSaveNetAndFrequencySettingBtnEnable(bool on) {
  if (isRuvozUI())
    enable(btnSaveNetAndFrequencyRuvoz, on);
}

void SettingController::setSaveAutoConnectSettingBtnEnable(bool on) {
  if (isRuvozUI())
    enable(btnSaveAutoConnectRuvoz, on);
}

void SettingController::setRuvozModel(const QString &model) {
  if (isRuvozUI() && labelProductNameRuvoz)
    labelProductNameRuvoz->setText(model);
}
