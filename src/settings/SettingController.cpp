// The settings window's frame: life cycle, the page list, device and connection hooks, the
// enable rules, page navigation and the getters other controllers ask.
#include "SettingController.h"

#include "ButtonMatrix.h"
#include "CodeSheet.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "Platform.h"
#include "SettingControllerSupport.h"
#include "SettingService.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

SettingController *g_SettingController = nullptr;

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool boolOf(const QVariantMap &dict, const QString &module, const QString &key) {
  return module.isEmpty() ? dict.value(key).toBool() : dict.value(module).toMap().value(key).toBool();
}

template <typename W> void enable(const QPointer<W> &w, bool on) {
  if (w)
    w->setEnabled(on);
}

int selectedRow(const ButtonMatrix *m) {
  return m ? m->selectedIndex() : -1;
}

// A control counts as shown unless it (or a parent) was hidden on purpose; pages that are not the
// current tab are not "hidden" in this sense.
bool shown(const QWidget *w) {
  return w && !w->isHidden();
}
} // namespace

SettingController::SettingController(QObject *parent) : QELUIController(parent) {
  g_SettingController = this;
  Neighbourhood::setSettings(this);
  bHideSMSStoreDefault_ =
      settingDict().value(QStringLiteral("Setting")).toMap().value(QStringLiteral("HideSMSStoreDefault")) ==
      QVariant(true);
  bSimCardReady_ = false;
  isSMSInSimCardFull_ = false;
  currentSetSMSPositionIndex_ = 0;
  setCurrentSetSMSPostion_(2);
  ruvozAutoConnectEnableFlag_ = true;
  loadSettingList();
  pinAutoValidationStatusWinFlag_ = false;
  positionManager_ = smsSettingPositions(
      settingDict().value(QStringLiteral("SMS")).toMap().value(QStringLiteral("SetSMSPositionOrder")),
      Platform::sharedPlatform() ? Platform::sharedPlatform()->platform() : Platform::kPlatformOther);
  SettingService::sharedSettingService()->setNeedAlertLeftTimesFlag(false);
  SettingService::sharedSettingService()->setSecondManualSelectNetFlag(false);
}

SettingController::~SettingController() {
  if (g_SettingController == this)
    g_SettingController = nullptr;
  Neighbourhood::leave(static_cast<SettingsNeighbour *>(this));
}

void SettingController::loadSettingList() {
  const QVariant list = settingDict().value(QStringLiteral("SettingDefaultItem"));
  hasSettingList_ = list.typeId() == QMetaType::QVariantList;
  m_settingBarItemArray.clear();
  for (const QVariant &v : list.toList())
    m_settingBarItemArray << v.toString();
  m_NetworkSelectModeItemArray = settingDict().value(QStringLiteral("NetworkSelectMode")).toList();
  m_MessageValidPeriod = settingDict().value(QStringLiteral("MessageValidPeriod"));
  const QVariant band = settingDict().value(QStringLiteral("DefaultBandFrequency"));
  if (band.isValid()) {
    defaultBandTag_ = band.toInt();
    settingsupport::selectTag(matrixFrequencySelect_, defaultBandTag_);
  }
}

bool SettingController::sethasModuleWith(const QString &identifier) const {
  return hasSettingList_ && m_settingBarItemArray.contains(identifier);
}

// ---- hooks ----

void SettingController::initializeController() {
  // 1. Auto connect.
  const QVariant autoConnect = settingDict().value(QStringLiteral("AutoConnect"));
  if (!autoConnect.isValid()) {
    if (btnAutoConnect)
      btnAutoConnect->hide();
    if (matrixAutoConnectRuvoz)
      matrixAutoConnectRuvoz->hide();
  } else {
    if (btnAutoConnect)
      btnAutoConnect->setChecked(autoConnect.toBool());
    if (matrixAutoConnectRuvoz) {
      if (QAbstractButton *cell = matrixAutoConnectRuvoz->cellAtRow(autoConnect.toBool() ? 0 : 1, 0))
        cell->setChecked(true);
    }
  }
  // 2. Auto delete.
  const QVariant sms = settingDict().value(QStringLiteral("SMS"));
  if (btnAutoDeleteSMS) {
    if (!sms.isValid())
      btnAutoDeleteSMS->hide();
    else
      btnAutoDeleteSMS->setChecked(sms.toMap().value(QStringLiteral("AutoDeleteState")).toBool());
  }
  // 3. Start-up choices.
  if (btnStartWithSystem && settingDict().contains(QStringLiteral("StartUIWithSystem")))
    btnStartWithSystem->setChecked(settingDict().value(QStringLiteral("StartUIWithSystem")).toBool());
  const QVariant lpm = settingDict().value(QStringLiteral("LPMinfo")).toMap().value(QStringLiteral("btnLPMBState"));
  if (btnLPMBState && lpm.isValid())
    btnLPMBState->setChecked(lpm.toBool());
  if (btnStartWithPluginDevice && settingDict().contains(QStringLiteral("StartUIWithPluginDevice")))
    btnStartWithPluginDevice->setChecked(settingDict().value(QStringLiteral("StartUIWithPluginDevice")).toBool());
  // 4. The pages' own set-up; everything device-related starts disabled.
  initDisconnectAskSate();
  LoadBrowserList();
  deviceRemoved(Notification{});
  ConfigSettingToolBarArray();
  ConfigAlert();
  updateSet();
  loadLanguageList();
  InitSMSSettingNib();
  initLanguageStateInMenu();
  // 5. PIN controls.
  m_PinEnableFlag = 0;
  ruvozAutoConnectEnableFlag_ = true;
  setBtnPinEnable(false);
  for (QAction *a : {labelPINEnable_.data(), labelPINDisable_.data(), labelPinModify_.data()})
    if (a)
      a->setEnabled(false);
  enable(m_RevisePinButton, false);
  // 6. The network page starts disabled.
  if (sethasModuleWith(QStringLiteral("Network"))) {
    ConfigNetworkSelectMode();
    enable(m_NetworkFindModeSeletion, false);
    enable(m_MethodToSelectNet, false);
    enable(matrixFrequencySelect_, false);
    enable(btnSaveNetAndFrequencyRuvoz, false);
    enable(m_PreferenceMode, false);
  }
  initNetFrequencySet();
  if (defaultBandTag_ >= 0)
    settingsupport::selectTag(matrixFrequencySelect_, defaultBandTag_);
  // 7.
  netList_.clear();
  if (BarSsearchProcess)
    BarSsearchProcess->hide();
  if (cancelNetworkManualSelectBtn)
    cancelNetworkManualSelectBtn->hide();
  if (sethasModuleWith(QStringLiteral("FavoriteLinks")))
    initFavoriteLinksSettings();
  // 8. The start-page suppression box.
  if (btnNotAutolaunch)
    btnNotAutolaunch->setChecked(settingDict().value(QStringLiteral("NotAutolaunch")).toBool());
  // 9.
  hasRegisteringNetFlagValue_ = false;
  m_ManualSelectFlag = false;
  setEnableBRSMSAndPB(false);
  selectSettingPage(currentSettingPage().isEmpty() ? QStringLiteral("System") : currentSettingPage());
}

void SettingController::ConfigSettingToolBarArray() {
  if (hasSettingList_ && tabviewSetting) {
    // Each page present at the start is tested once, whatever was removed before it.
    QList<QWidget *> pages;
    for (int i = 0; i < tabviewSetting->count(); ++i)
      pages << tabviewSetting->widget(i);
    for (QWidget *page : pages) {
      const QString id = page->property("itemIdentifier").toString();
      if (m_settingBarItemArray.contains(id))
        continue;
      tabviewSetting->removeTab(tabviewSetting->indexOf(page));
      page->hide();
    }
    for (const QPointer<QAbstractButton> &b : settingPageButtons)
      if (b)
        b->setVisible(m_settingBarItemArray.contains(b->property("pageIdentifier").toString()));
  }
  // Rows of features the main toolbar lacks.
  if (!hasModuleWith(QStringLiteral("SMS"))) {
    const SoundRow &row = soundRows[kSoundSMS];
    for (QWidget *w :
         {static_cast<QWidget *>(row.text), static_cast<QWidget *>(row.mute), static_cast<QWidget *>(row.fileName),
          static_cast<QWidget *>(row.browse), static_cast<QWidget *>(row.play)})
      if (w)
        w->hide();
  }
  if (!hasModuleWith(QStringLiteral("Call"))) {
    const SoundRow &row = soundRows[kSoundIncomingCall];
    for (QWidget *w :
         {static_cast<QWidget *>(row.text), static_cast<QWidget *>(row.mute), static_cast<QWidget *>(row.fileName),
          static_cast<QWidget *>(row.browse), static_cast<QWidget *>(row.play)})
      if (w)
        w->hide();
  }
}

// ---- device hooks ----

void SettingController::devicePlugin(const Notification &) {
  if (settingDict().value(QStringLiteral("DialAdaption")).toBool())
    sendGetNetDeviceInfo();
}

void SettingController::simReady(const Notification &) {
  setEnableBRSMSAndPB(true);
}

void SettingController::setEnableBRSMSAndPB(bool enable) {
  if (ConfigService::sharedConfigService()->isBackupPhoneBookOnly())
    return;
  bSimCardReady_ = enable;
}

void SettingController::deviceRemoved(const Notification &) {
  setEnableBRSMSAndPB(false);
  setSettingBtnStatus(false);
  setBtnPinEnable(false);
  for (QAction *a : {labelPINEnable_.data(), labelPINDisable_.data(), labelPinModify_.data()})
    if (a)
      a->setEnabled(false);
  enable(m_RevisePinButton, false);
  // Sheets about a device that has gone are closed quietly.
  for (CodeSheet *sheet : {m_EnablePinWin.data(), m_RevisePinWin.data(), m_PukWin.data(), wndSetingUnlockDevice_.data(),
                           wndModifyUnlockDevice_.data()})
    if (sheet)
      sheet->end();
  if (sethasModuleWith(QStringLiteral("SMS"))) {
    setSmsPageButtonsEnabled(false);
    enable(MessageStoreLoc, false);
    if (MessageCenter) {
      MessageCenter->setEnabled(false);
      MessageCenter->setReadOnly(true);
      MessageCenter->clear();
    }
    enable(cboxMsgRouting_, false);
  }
  if (sethasModuleWith(QStringLiteral("Network"))) {
    enable(m_NetworkFindModeSeletion, false);
    enable(m_MethodToSelectNet, false);
    enable(matrixFrequencySelect_, false);
    enable(btnSaveNetAndFrequencyRuvoz, false);
    m_ManualSelectFlag = false;
    // A search or a list of a device that has gone is dropped.
    noPopupNetSelectWindowFlag_ = true;
    if (netSelectWindow)
      netSelectWindow->hide();
    if (cancelNetworkManualSelectBtn)
      cancelNetworkManualSelectBtn->hide();
    if (BarSsearchProcess)
      BarSsearchProcess->hide();
  }
  if (sethasModuleWith(QStringLiteral("System"))) {
    enable(btnAutoConnect, false);
    enable(matrixAutoConnectRuvoz, false);
    enable(btnSaveAutoConnectRuvoz, false);
  }
  if (sethasModuleWith(QStringLiteral("Connect")))
    enable(matrixConnectType, true);
  setCheckForUpdateRizoraEnable(false);
  if (sethasModuleWith(QStringLiteral("Call")))
    resetCallSetting();
}

void SettingController::connectStatusDidChange(const Notification &) {
  if (runtimeObjectForKey(kRTIsConnectted).toBool())
    AutoLaunchURL();
}

void SettingController::setDataServicesStatus(const Notification &n) {
  const QVariant on = n.userInfo.value(QStringLiteral("DataServiceSwitch"));
  if (!on.isValid())
    return;
  if (!on.toBool()) {
    enable(m_MethodToSelectNet, false);
    enable(m_NetworkFindModeSeletion, false);
    enable(matrixFrequencySelect_, false);
    enable(btnSaveNetAndFrequencyRuvoz, false);
    return;
  }
  if (Neighbourhood::connection() && Neighbourhood::connection()->connectStatus() != ConnectionNeighbour::kDisconnected)
    return;
  enable(m_MethodToSelectNet, true);
  enable(m_NetworkFindModeSeletion, true);
  enable(matrixFrequencySelect_, true);
  enable(btnSaveNetAndFrequencyRuvoz, true);
  if (selectedRow(m_MethodToSelectNet) == 0)
    ruvozUISetMatrixEnable(false);
}

void SettingController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QLatin1String(kTabViewItemWillChange)).toString() != QLatin1String("Setting"))
    return;
  changeMainTabViewItemSize(QStringLiteral("Setting"));
  const QVariant imsi = settingDict().value(QStringLiteral("IMSI"));
  if (tfdIMSIValue && imsi.isValid())
    tfdIMSIValue->setText(imsi.toString());
  if (tfdSoftwareVersion)
    tfdSoftwareVersion->setText(QCoreApplication::applicationVersion());
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (tfdPhoneNumber && device)
    tfdPhoneNumber->setText(device->getPhoneNum());
  if (boolOf(settingDict(), QStringLiteral("SMS"), QStringLiteral("CheckSMSCenterAfterSTK")))
    selectSettingPage(QStringLiteral("Security"));
  const bool justUnlocked = settingTabUnlocked_;
  settingTabUnlocked_ = false;
  if (!justUnlocked && ConfigService::sharedConfigService()->deviceLockForSettingFunction() &&
      getDeviceUnlockCodeState() && device) {
    device->openUnlockDeviceWindow(wndMain);
    device->setDeviceLockFunctionModule(6);
  }
}

// ---- enable rules ----

void SettingController::setSettingBtnStatus(bool flag) {
  setBtnPinEnable(flag);
  const bool on = m_PINEnable && m_PINEnable->isChecked();
  enable(m_RevisePinButton, flag && on);
  if (labelPinModify_)
    labelPinModify_->setEnabled(flag && on);
  if (labelPINEnable_)
    labelPINEnable_->setEnabled(flag && !on);
  if (labelPINDisable_)
    labelPINDisable_->setEnabled(flag && on);
  if (sethasModuleWith(QStringLiteral("Network"))) {
    const int method = selectedRow(m_MethodToSelectNet);
    enable(m_MethodToSelectNet, flag);
    enable(matrixFrequencySelect_, flag);
    enable(btnSaveNetAndFrequencyRuvoz, flag);
    enable(btnSearchNetResultForR27K_, flag && method != 0);
    enable(m_NetworkFindModeSeletion, flag && method == 0);
    if (flag)
      ruvozUISetMatrixEnable(method != 0);
    enable(m_PreferenceMode, flag);
  }
  if (sethasModuleWith(QStringLiteral("System")) &&
      boolOf(settingDict(), QStringLiteral("UIConfig"), QStringLiteral("RuvozUI"))) {
    ruvozAutoConnectEnableFlag_ = flag;
    enable(matrixAutoConnectRuvoz, flag);
    enable(btnSaveAutoConnectRuvoz, flag);
  }
  if (sethasModuleWith(QStringLiteral("Connect")))
    enable(matrixConnectType, flag);
  notificationCenter->postNotificationName(QStringLiteral("setSettingBtnStatus"), this,
                                           {{QStringLiteral("index"), flag}});
}

void SettingController::setAutoConnectBtnEnable(bool enableIt) {
  enable(btnAutoConnect, enableIt);
  if (ruvozAutoConnectEnableFlag_) {
    enable(matrixAutoConnectRuvoz, enableIt);
    enable(btnSaveAutoConnectRuvoz, enableIt);
  }
}

bool SettingController::allowAutoConnect() const {
  const bool defaultAutoConnect = boolOf(const_cast<SettingController *>(this)->settingDict(),
                                         QStringLiteral("Internet"), QStringLiteral("DefaultAutoConnect"));
  bool answer = false;
  if (shown(btnAutoConnect))
    answer = btnAutoConnect->isEnabled() && btnAutoConnect->isChecked();
  else if (defaultAutoConnect)
    answer = btnAutoConnect && btnAutoConnect->isEnabled() && btnAutoConnect->isChecked();
  if (shown(matrixAutoConnectRuvoz) || (defaultAutoConnect && matrixAutoConnectRuvoz)) {
    if (matrixAutoConnectRuvoz->isEnabled()) {
      const int row = selectedRow(matrixAutoConnectRuvoz);
      if (row == 0)
        answer = true;
      else if (row == 1)
        answer = false;
    }
  }
  return answer;
}

bool SettingController::allowAutoReconnect() const {
  if (boolOf(const_cast<SettingController *>(this)->settingDict(), QStringLiteral("Internet"),
             QStringLiteral("EnableAutoReconnectNotDependOnAutoConnectLable")))
    return true;
  return allowAutoConnect();
}

bool SettingController::isPinPukOrNetSelectWinBeginSheet() const {
  for (const CodeSheet *sheet : {m_EnablePinWin.data(), m_RevisePinWin.data(), m_PukWin.data()})
    if (sheet && sheet->isVisible())
      return true;
  return netSelectWindow && netSelectWindow->isVisible();
}

QString SettingController::getPinStatus() const {
  return word(pinActiveStatus() ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
}

QString SettingController::getNetworkSelectionMode() const {
  return word(networkSelectMethodRow() == 0 ? QStringLiteral("Automatic") : QStringLiteral("Manual"));
}

QString SettingController::networkFindModeWording(int tag) {
  switch (tag) {
  case 3:
    return word(QStringLiteral("3G Preferred"));
  case 2:
    return word(QStringLiteral("2G Preferred"));
  case 1:
    return word(QStringLiteral("3G Only"));
  default:
    return word(QStringLiteral("2G Only"));
  }
}

QString SettingController::getNetworkFindModeSelection() const {
  return networkFindModeWording(networkFindModeTag());
}

// ---- navigation ----

QString SettingController::pageOfSelectTag(int tag) {
  static const char *pages[] = {"System", "SMS", "Connection", "Network", "Security", "Alert"};
  return tag >= 0 && tag < 6 ? QLatin1String(pages[tag]) : QString();
}

QString SettingController::pageOfSelectedTag(int tag) {
  static const char *pages[] = {"System", "SMS", "Connect", "Network", "Security", "Alert", "Record", "Browser"};
  return tag >= 0 && tag < 8 ? QLatin1String(pages[tag]) : QString();
}

namespace {
int tagOf(QObject *sender) {
  if (auto *matrix = qobject_cast<ButtonMatrix *>(sender)) {
    const int row = matrix->selectedIndex();
    QAbstractButton *cell = row >= 0 ? matrix->cells().value(row) : nullptr;
    return cell ? cell->property("tag").toInt() : -1;
  }
  return sender ? sender->property("tag").toInt() : -1;
}
} // namespace

void SettingController::settingTabViewItemSelect(QObject *sender) {
  notifyChangeTabViewItem(QStringLiteral("Setting"));
  static const char *titles[] = {"System Settings",  "SMS Settings",      "Connection Settings",
                                 "Network Settings", "Security Settings", "Alert Settings"};
  const int tag = tagOf(sender);
  if (tag < 0 || tag > 5)
    return;
  // The "Connection" page of the menu is the page the table names "Connect".
  selectSettingPage(pageOfSelectedTag(tag));
  if (tfdSettingTitle)
    tfdSettingTitle->setText(word(QLatin1String(titles[tag])));
}

void SettingController::settingTabViewItemSelected(QObject *sender) {
  const QString page = pageOfSelectedTag(tagOf(sender));
  if (!page.isEmpty())
    selectSettingPage(page);
}

QString SettingController::currentSettingPage() const {
  if (!tabviewSetting || !tabviewSetting->currentWidget())
    return {};
  return tabviewSetting->currentWidget()->property("itemIdentifier").toString();
}

bool SettingController::shouldSelectSettingPage(const QString &page) {
  if (m_ManualSelectFlag)
    return false;
  if (sethasModuleWith(QStringLiteral("SMS")) && page != currentSettingPage())
    MessageSetCancel(nullptr);
  return true;
}

void SettingController::selectSettingPage(const QString &page) {
  if (!tabviewSetting)
    return;
  for (int i = 0; i < tabviewSetting->count(); ++i) {
    if (tabviewSetting->widget(i)->property("itemIdentifier").toString() != page)
      continue;
    // Choosing the SMS page asks the modem for its centre, where the operator wants that.
    if (page == QLatin1String("SMS") && currentSettingPage() != page && bSimCardReady_ &&
        boolOf(settingDict(), QStringLiteral("SMS"), QStringLiteral("CheckSMSCenterAfterSTK")))
      checkMessageCenter();
    if (page == QLatin1String("Security"))
      refreshSavedPinControls();
    tabviewSetting->setCurrentIndex(i);
    for (const QPointer<QAbstractButton> &b : settingPageButtons)
      if (b)
        b->setChecked(b->property("pageIdentifier").toString() == page);
    if (tfdSettingTitle) {
      static const QMap<QString, QString> titles = {
          {QStringLiteral("System"), QStringLiteral("System Settings")},
          {QStringLiteral("SMS"), QStringLiteral("SMS Settings")},
          {QStringLiteral("Connect"), QStringLiteral("Connection Settings")},
          {QStringLiteral("Network"), QStringLiteral("Network Settings")},
          {QStringLiteral("Security"), QStringLiteral("Security Settings")},
          {QStringLiteral("Alert"), QStringLiteral("Alert Settings")},
      };
      tfdSettingTitle->setText(word(titles.value(page, page)));
    }
    return;
  }
}

bool SettingController::openSettingPage(const QString &page) {
  if (!tabviewSetting)
    return false;
  for (int i = 0; i < tabviewSetting->count(); ++i) {
    if (tabviewSetting->widget(i)->property("itemIdentifier").toString() == page) {
      notifyChangeTabViewItem(QStringLiteral("Setting"));
      if (shouldSelectSettingPage(page))
        selectSettingPage(page);
      return currentSettingPage() == page;
    }
  }
  return false;
}

// ---- text filters ----

void SettingController::controlTextDidChange(QObject *field) {
  auto *edit = qobject_cast<QLineEdit *>(field);
  if (!edit)
    return;
  if (edit == MessageCenter) {
    setSmsPageButtonsEnabled(true);
    const QString filtered = filterMessageCenter(edit->text());
    if (filtered != edit->text())
      edit->setText(filtered);
    return;
  }
  if (!ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("PinLimitFourDigitals")))
    return;
  bool pinField = false;
  for (CodeSheet *sheet : {m_EnablePinWin.data(), m_RevisePinWin.data()})
    for (int i = 0; sheet && i < sheet->fieldCount(); ++i)
      pinField = pinField || sheet->field(i) == edit;
  if (m_PukWin)
    pinField = pinField || edit == m_PukWin->field(1) || edit == m_PukWin->field(2);
  if (!pinField)
    return;
  static const QRegularExpression leadingDigits(QStringLiteral("^[0-9]{0,4}"));
  edit->setText(leadingDigits.match(edit->text()).captured(0));
}

// ---- writing choices ----

bool SettingController::writeSetting(const QString &key, const QVariant &value) {
  settingDict().insert(key, value);
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config && config->writeToFile();
}

bool SettingController::writeModuleSetting(const QString &module, const QString &key, const QVariant &value) {
  QVariantMap dict = settingDict().value(module).toMap();
  dict.insert(key, value);
  return writeSetting(module, dict);
}
