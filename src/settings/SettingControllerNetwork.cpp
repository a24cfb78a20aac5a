// The Network page: selection method, find mode, CDMA preference, band set, the roaming switches
// and the roaming-IMSI choice. The manual search and its list sheet are in
// SettingControllerNetworkSearch.cpp.
#include "SettingController.h"

#include "CallsNeighbour.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "NetListModel.h"
#include "Platform.h"
#include "QELAlertPanel.h"
#include "SettingControllerNetworkSupport.h"
#include "SettingControllerSupport.h"
#include "SettingService.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QtEndian>
#include <cstring>

using namespace settingsupport;
using namespace networksupport;

// ---- band names and tags ----

QStringList SettingController::frequencyNames() {
  return {QStringLiteral("UMTS_850_1900_2100"),
          QStringLiteral("UMTS_850_GSM_900_1800"),
          QStringLiteral("UMTS_2100_GSM_900_1800"),
          QStringLiteral("UMTS_850_2100_GSM_900_1800"),
          QStringLiteral("UMTS_850_1900_GSM_850_1900"),
          QStringLiteral("UMTS_850_GSM_850_900_1800_1900"),
          QStringLiteral("UMTS_2100_GSM_850_900_1800_1900"),
          QStringLiteral("UMTS_850_2100_GSM_850_900_1800_1900"),
          QStringLiteral("UMTS_900_GSM_850_900_1800_1900"),
          QStringLiteral("UMTS_900_2100_GSM_850_900_1800_1900"),
          QStringLiteral("UMTS_1900_GSM_850_900_1800_1900")};
}

int SettingController::getFrequencyTag(const QString &name) {
  return int(frequencyNames().indexOf(name));
}

void SettingController::setNetListModel(NetListModel *model) {
  netListModel_ = model;
}

// ---- getters ----

int SettingController::networkSelectMethodRow() const {
  return m_MethodToSelectNet ? selectedRow(m_MethodToSelectNet) : networkSelectMethodRow_;
}

int SettingController::networkFindModeTag() const {
  return m_NetworkFindModeSeletion ? selectedTag(m_NetworkFindModeSeletion) : networkFindModeTag_;
}

void SettingController::setNetworkSelection(int methodRow, int findModeTag) {
  networkSelectMethodRow_ = methodRow;
  networkFindModeTag_ = findModeTag;
  selectRow(m_MethodToSelectNet, methodRow);
  selectTag(m_NetworkFindModeSeletion, findModeTag);
}

int SettingController::getNetworkMode() const {
  return networkFindModeTag();
}

int SettingController::getCurrentNetWorkPreferedMode() const {
  switch (networkFindModeTag()) {
  case 3:
    return 2;
  case 2:
    return 3;
  case 1:
    return 1;
  case 0:
    return 0;
  default:
    return 2;
  }
}

// ---- page set-up ----

void SettingController::ConfigNetworkSelectMode() {
  if (!settingDict().contains(QStringLiteral("NetworkSelectMode")) || !m_NetworkFindModeSeletion)
    return;
  static const char *modes[] = {"Only2G", "Only3G", "2GPref", "3GPref"};
  QStringList kept;
  for (const QVariant &v : m_NetworkSelectModeItemArray)
    kept << v.toString();
  for (QAbstractButton *cell : m_NetworkFindModeSeletion->cells()) {
    const int tag = cell->property("tag").toInt();
    // The automatic cell has no entry among the four modes: it stays.
    if (tag < 0 || tag > 3 || kept.contains(QLatin1String(modes[tag])))
      continue;
    cell->setProperty("removed", true);
    cell->hide();
  }
}

void SettingController::initNetFrequencySet() {
  if (boxFrequencySelect_)
    boxFrequencySelect_->setProperty("wordingKey", QStringLiteral("Set Net Frequency"));
  if (settingDict().contains(QStringLiteral("IceraBandNames")))
    return;
  const QVariant setting = settingDict().value(QStringLiteral("Setting")).toMap().value(kFrequencySetting);
  const QVariantList entries = setting.toList();
  const auto hideBand = [this] {
    if (boxFrequencySelect_)
      boxFrequencySelect_->hide();
    if (matrixFrequencySelect_)
      matrixFrequencySelect_->hide();
  };
  if (!matrixFrequencySelect_ || setting.typeId() != QMetaType::QVariantList ||
      entries.size() != matrixFrequencySelect_->numberOfRows()) {
    hideBand();
    return;
  }
  int defaultRow = 0;
  for (int i = 0; i < entries.size(); ++i) {
    const QVariantMap e = entries[i].toMap();
    QAbstractButton *cell = matrixFrequencySelect_->cellAtRow(e.value(QStringLiteral("Index")).toInt(), 0);
    if (cell) {
      cell->setProperty("tag", getFrequencyTag(e.value(QStringLiteral("Frequency")).toString()));
      cell->setProperty("wordingKey", e.value(QStringLiteral("Title")).toString());
      cell->setText(word(e.value(QStringLiteral("Title")).toString()));
    }
    if (e.value(QStringLiteral("IsDefault")).toBool())
      defaultRow = i;
  }
  if (boxFrequencySelect_)
    boxFrequencySelect_->show();
  matrixFrequencySelect_->show();
  selectRow(matrixFrequencySelect_, defaultRow);
}

// ---- search mode ----

int SettingController::searchModeToSend(int kind) const {
  const QVariantMap &dict = const_cast<SettingController *>(this)->settingDict();
  if (boolOf(dict, QStringLiteral("specialSoftVersion"), QStringLiteral("Z3IFromAUS190")))
    return 3;
  if (kind == 1 && boolOf(dict, QStringLiteral("Setting"), QStringLiteral("noNetWorkSelectMode")))
    return 3;
  if (kind == 2 && boolOf(dict, QStringLiteral("Setting"), QStringLiteral("SendQSNT000AfterRegisterNetworkManually")))
    return 4;
  const int tag = networkFindModeTag();
  if (tag == 3 && ConfigService::sharedConfigService()->isSetSearchNetMode2GOnly())
    return 0;
  return tag < 0 ? 0 : tag;
}

void SettingController::sendAutoNetSelectToBack() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kSetModeMinor, 0, 0,
                                      u32(quint32(searchModeToSend(0))) + u32(0));
}

void SettingController::sendManualNetSearchToBack() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kSearchMinor, 0, 0,
                                      u32(quint32(searchModeToSend(1))) + u32(0));
}

void SettingController::sendManualSelectNetToBack(int row, int mode) {
  if (row < 0 || row >= netList_.size() || !qelMsgCenter)
    return;
  const QVariantMap net = netList_[row].toMap();
  QByteArray data(80, '\0');
  qToLittleEndian<quint32>(quint32(mode), data.data());
  const QByteArray numeric = net.value(QStringLiteral("numeric_oper")).toString().toLatin1().left(67);
  std::memcpy(data.data() + 8, numeric.constData(), size_t(numeric.size()));
  qToLittleEndian<quint32>(quint32(net.value(QStringLiteral("nettype")).toString().toInt()), data.data() + 76);
  lastSelectedNetRow_ = row;
  qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kRegisterMinor, 0, 0, data);
}

void SettingController::sendGetNetDeviceInfo() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 258, 75, 0, 0);
}

void SettingController::checkStatusAfterManualSelect() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kCheckMinor, 0, 0);
}

void SettingController::backToAutoAfterSelNetSuccess() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kSetModeMinor, 0, 0,
                                      u32(quint32(searchModeToSend(2))) + u32(0));
}

void SettingController::backToAutoModeAfterSelNetSuccess() {
  const QVariant delay = settingDict()
                             .value(QStringLiteral("Internet"))
                             .toMap()
                             .value(QStringLiteral("delaySecondsToAutoModeWhenSelNetSuccess"));
  startBackToAutoModeTimerWithSeconds(delay.isValid() ? delay.toDouble() : 0.0);
}

void SettingController::startBackToAutoModeTimerWithSeconds(double seconds) {
  // One timer at a time: a later start replaces the running one.
  if (timerBackToAutonetMode_) {
    timerBackToAutonetMode_->stop();
    timerBackToAutonetMode_->deleteLater();
  }
  auto *timer = new QTimer(this);
  timer->setSingleShot(true);
  timer->setInterval(int(qBound(0.0, seconds, 86400.0) * 1000));
  connect(timer, &QTimer::timeout, this, [this, timer] {
    backToAutoAfterSelNetSuccess();
    timer->deleteLater();
  });
  timerBackToAutonetMode_ = timer;
  timer->start();
}

// ---- actions ----

void SettingController::SetSearchNetMode(QObject *) {
  const int row = networkSelectMethodRow();
  if (row == 0) {
    searchingNetworkUI(true);
    sendAutoNetSelectToBack();
    if (cancelNetworkManualSelectBtn)
      cancelNetworkManualSelectBtn->hide();
  } else if (row == 1) {
    isOperatorSelectionForNetwork = true;
    m_ManualSelectFlag = true;
    searchingNetworkUI(true);
    sendManualNetSearchToBack();
    SettingService::sharedSettingService()->setSecondManualSelectNetFlag(false);
    noPopupNetSelectWindowFlag_ = false;
    if (cancelNetworkManualSelectBtn)
      cancelNetworkManualSelectBtn->show();
  }
}

void SettingController::setSearchNetModeForR27K(QObject *) {
  const int row = networkSelectMethodRow();
  if (row != 0 && row != 1)
    return;
  netList_.clear();
  if (netListModel_)
    netListModel_->reload();
  enable(m_NetworkFindModeSeletion, row == 0);
  enable(btnSearchNetResultForR27K_, row == 1);
  if (row == 0)
    sendAutoNetSelectToBack();
}

void SettingController::SetSearchNetClass(QObject *) {
  if (isRuvozUI()) {
    setMatrixFrequencySelectEnable(true);
    return;
  }
  if (boolOf(settingDict(), QStringLiteral("Setting"), QStringLiteral("noNeedSendATWhenClickPreferMode")))
    return;
  const int tag = networkFindModeTag();
  if (tag == 3 &&
      boolOf(settingDict(), QStringLiteral("Internet"), QStringLiteral("z3iAlertSel3GPreferWhenSignalToNoSignal")) &&
      Neighbourhood::deviceStatus())
    Neighbourhood::deviceStatus()->setAllowAlertSel3GPreferWhenSignalToNoSignal(true);
  ConfigService::sharedConfigService()->saveCurrentNetPreferedMode(tag);
  if (settingDict().contains(QStringLiteral("CurrentPreSys"))) {
    settingDict().insert(QStringLiteral("CurrentPreSys"), tag);
    if (ConfigManager *config = ConfigManager::sharedConfigManager())
      config->writeToFile();
  }
  sendAutoNetSelectToBack();
}

void SettingController::SetPreferenceMode(QObject *) {
  quint32 value = 0;
  switch (selectedTag(m_PreferenceMode)) {
  case 0:
    value = 8;
    break;
  case 1:
    value = 2;
    break;
  case 2:
    value = 4;
    break;
  default:
    value = 0;
  }
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 3, 6, 0, 0, u32(value));
}

void SettingController::SetNetFrequency(QObject *) {
  const int tag = selectedTag(matrixFrequencySelect_);
  if (tag < 0 || !qelMsgCenter)
    return;
  qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kBandSetMinor, 0, 0, u32(quint32(tag)));
}

void SettingController::setMatrixFrequencySelectEnable(bool on) {
  if (isRuvozUI() && networkSelectMethodRow() == 0) {
    enable(matrixFrequencySelect_, false);
    return;
  }
  enable(matrixFrequencySelect_, on);
}

void SettingController::restoreCurrentBand() {
  if (networkSelectMethodRow() == 1 && currentBandTag_ >= 1 && currentBandTag_ <= 3)
    selectTag(matrixFrequencySelect_, currentBandTag_);
  else
    selectTag(matrixFrequencySelect_, defaultBandTag_);
}

void SettingController::ruvozUIInitNetworkSetting() {
  if (!isRuvozUI())
    return;
  ruvozUISetNetSearchMode(m_MethodToSelectNet ? static_cast<QObject *>(m_MethodToSelectNet) : nullptr);
  SetNetFrequency(matrixFrequencySelect_);
  sendAutoNetSelectToBack();
}

// ---- searching state ----

void SettingController::setSearchProcessBarEnable(bool on) {
  if (!BarSsearchProcess)
    return;
  if (on && BarSsearchProcess->isHidden() && networkSelectMethodRow() == 1) {
    BarSsearchProcess->setRange(0, 0); // busy
    BarSsearchProcess->show();
  } else if (!on && !BarSsearchProcess->isHidden()) {
    BarSsearchProcess->setRange(0, 1);
    BarSsearchProcess->hide();
  }
}

void SettingController::searchingNetworkUI(bool searching) {
  const bool enabled = !searching;
  const int method = networkSelectMethodRow();
  if (m_NetworkFindModeSeletion) {
    if (method == 1 && searching)
      m_NetworkFindModeSeletion->setEnabled(false);
    else if (method == 0 && !searching)
      m_NetworkFindModeSeletion->setEnabled(true);
  }
  enable(m_MethodToSelectNet, enabled);
  enable(matrixFrequencySelect_, enabled);
  for (const QPointer<QAbstractButton> &b : settingPageButtons)
    if (b)
      b->setEnabled(enabled);
  enable(matrixAutoConnectRuvoz, enabled);
  enable(btnSaveAutoConnectRuvoz, enabled);
  enable(btnSaveNetAndFrequencyRuvoz, enabled);
  if (m_ManualSelectFlag)
    enable(btnSearchNetResultForR27K_, enabled);
  if (boolOf(settingDict(), QStringLiteral("Setting"), QStringLiteral("hasOnlyOneTab"))) {
    for (QWidget *w : {static_cast<QWidget *>(MessageCenter), static_cast<QWidget *>(MessageValidityPeriod),
                       static_cast<QWidget *>(MessageDeliveryReport), static_cast<QWidget *>(MessageStoreLoc),
                       static_cast<QWidget *>(MessageSetApplyBtn), static_cast<QWidget *>(MessageSetCancelBtn)})
      if (w)
        w->setEnabled(enabled);
  }
  if (auto *main = Neighbourhood::mainWindow())
    main->toolbarSetEnable(enabled);
  ConfigService *config = ConfigService::sharedConfigService();
  if ((config->isEnableToolbarForZOzava() || config->whetherEnableToolbarBasesMatching()) &&
      !config->isSkinVersionForRAdirer())
    notificationCenter->postNotificationName(QStringLiteral("USSDToolbarEnableEvent"), this,
                                             {{QStringLiteral("USSDToolbarEnableEvent"), enabled}});
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), enabled);
  setDynamicControllersEnabledByKey(QStringLiteral("TitlebarItems"), enabled);
  setBtnPinEnable(enabled);
  const bool pinOn = m_PINEnable && m_PINEnable->isChecked();
  if (pinOn && !searching) {
    enable(m_RevisePinButton, true);
    if (labelPinModify_)
      labelPinModify_->setEnabled(true);
    if (labelPINDisable_)
      labelPINDisable_->setEnabled(true);
    if (labelPINEnable_)
      labelPINEnable_->setEnabled(false);
  } else {
    enable(m_RevisePinButton, false);
    if (labelPinModify_)
      labelPinModify_->setEnabled(false);
    if (labelPINDisable_)
      labelPINDisable_->setEnabled(false);
    if (labelPINEnable_)
      labelPINEnable_->setEnabled(enabled);
  }
  setSearchProcessBarEnable(searching);
}

// ---- the device status pushes the modem's modes ----

int SettingController::findModeTagOfReply(uint s, uint m, uint p) {
  if (m == 0) {
    if (s == 0)
      return p == 1 ? 2 : (p == 0 || p == 2) ? 3 : -1;
    if (s == 1)
      return 0;
    if (s == 2)
      return 1;
    return -1;
  }
  if (m == 1) {
    if (p == 1)
      return 2;
    if (p == 2)
      return 3;
    if (p == 0 && s <= 2)
      return s == 0 ? 3 : s == 1 ? 0 : 1;
  }
  return -1;
}

void SettingController::dealWithMsgOfCheckSearchmode(uint searchMode, uint selectedMode, uint prefMode) {
  if (!sethasModuleWith(QStringLiteral("Network")))
    return;
  const int tag = findModeTagOfReply(searchMode, selectedMode, prefMode);
  if (tag >= 0)
    setNetworkSelection(networkSelectMethodRow(), tag);
  enable(m_NetworkFindModeSeletion, selectedMode == 0);
  if (m_MethodToSelectNet) {
    selectRow(m_MethodToSelectNet, int(selectedMode));
    m_MethodToSelectNet->setEnabled(true);
  }
  networkSelectMethodRow_ = int(selectedMode);
  enable(matrixFrequencySelect_, true);
  enable(btnSaveNetAndFrequencyRuvoz, true);
  ruvozUISetMatrixEnable(selectedMode != 0);
}

void SettingController::dealWithMsgOfCheckSearchmodeForIcera(uint searchMode, uint selectedMode) {
  if (!sethasModuleWith(QStringLiteral("Network")))
    return;
  if (m_MethodToSelectNet) {
    m_MethodToSelectNet->setEnabled(true);
    selectRow(m_MethodToSelectNet, int(selectedMode));
  }
  networkSelectMethodRow_ = int(selectedMode);
  if (!isRuvozUI()) {
    enable(m_NetworkFindModeSeletion, true);
    enable(matrixFrequencySelect_, true);
  }
  ConfigService *config = ConfigService::sharedConfigService();
  int tag = 3;
  if (config->isSetSearchNetMode2GOnly() && config->isSetCurrentNetPreferedMode() && searchMode == 0)
    tag = 3;
  else if (searchMode <= 2)
    tag = int(searchMode);
  setNetworkSelection(int(selectedMode), tag);
  enable(btnSaveNetAndFrequencyRuvoz, true);
  enable(btnSaveAutoConnectRuvoz, true);
  enable(matrixAutoConnectRuvoz, true);
}

void SettingController::dealWithMsgOfCheckPreferenceMode(uint prefMode) {
  if (!sethasModuleWith(QStringLiteral("Network")))
    return;
  int tag = -1;
  if (prefMode == 8)
    tag = 0;
  else if (prefMode == 2)
    tag = 1;
  else if (prefMode == 4)
    tag = 2;
  if (tag < 0)
    return;
  selectTag(m_PreferenceMode, tag);
  enable(m_PreferenceMode, true);
}

// The device status says YES for the family the device belongs to, so the argument is the box's
// visibility (taken as its hidden state, a WCDMA device would show only the CDMA choices).
void SettingController::setWCDMASelectNetworkVisible(bool visible) {
  if (sethasModuleWith(QStringLiteral("Network")) && networkClassLable)
    networkClassLable->setVisible(visible);
}

void SettingController::setCDMASelectNetworkVisible(bool visible) {
  if (sethasModuleWith(QStringLiteral("Network")) && cdmaNetworkClassLable)
    cdmaNetworkClassLable->setVisible(visible);
}

// ---- band, method and device answers ----

void SettingController::dealWithMsgOfSetBandFrequency(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !isIceraPlatform() || msg.type != 1)
    return;
  if (msg.result == 0) {
    currentBandTag_ = selectedTag(matrixFrequencySelect_);
    SetSearchNetMode(m_MethodToSelectNet);
  } else if (msg.result == 0xFD) {
    beginSystemAlertPanel(word(QStringLiteral("Warning")), word(QStringLiteral("Please replug the device")),
                          word(QStringLiteral("OK")));
    restoreCurrentBand();
  } else if (msg.result == 0xFF) {
    beginSystemAlertPanel(word(QStringLiteral("Warning")), word(QStringLiteral("Failed to set frequency band")),
                          word(QStringLiteral("OK")));
    restoreCurrentBand();
    SetSearchNetMode(m_MethodToSelectNet);
  } else {
    SetSearchNetMode(m_MethodToSelectNet);
  }
}

void SettingController::dealWithMsgOfCheckNetChannel(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  int tag = 0;
  if (msg.type == 1)
    tag = msg.moduleId == kModuleSetting ? int(wordAt(msg, 0)) : 0;
  selectTag(matrixFrequencySelect_, tag);
  initRuvozFrequencyWithTag(tag);
}

void SettingController::dealWithMsgOfNodeSelectSatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !m_MethodToSelectNet || !m_MethodToSelectNet->isEnabled())
    return;
  if (wordAt(msg, 0) == 0) {
    selectRow(m_MethodToSelectNet, 0);
    ruvozUIInitNetworkSetting();
  } else {
    selectRow(m_MethodToSelectNet, 1);
    ruvozUISetMatrixEnable(true);
  }
}

void SettingController::dealWithMsgOfNetDeviceInfo(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type == 2)
    return;
  writeConnectType(wordAt(msg, 4) != 0 ? 1 : 0);
}

// ---- roaming switches ----

void SettingController::clickIroamSwitch(QObject *) {
  isManualSetRoamSwitch_ = true;
  clickedIroam_ = true;
  sendSetRoamSwitch();
}

void SettingController::clickNroamSwitch(QObject *) {
  isManualSetRoamSwitch_ = true;
  clickedIroam_ = false;
  sendSetRoamSwitch();
}

void SettingController::showRoamSwitches(bool national, bool international) {
  if (btnNroamSwitchSetting_)
    btnNroamSwitchSetting_->setChecked(national);
  if (btnIroamSwitchSetting_)
    btnIroamSwitchSetting_->setChecked(international);
}

void SettingController::sendSetRoamSwitch() {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  int national = device ? device->nRoamDefaultValue() : 0;
  int international = device ? device->iRoamDefaultValue() : 0;
  if (btnNroamSwitchSetting_)
    national = btnNroamSwitchSetting_->isChecked() ? 1 : 0;
  if (btnIroamSwitchSetting_)
    international = btnIroamSwitchSetting_->isChecked() ? 1 : 0;
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kRoamMinor, 0, 0,
                                      u32(quint32(national)) + u32(quint32(international)));
}

void SettingController::dealWithMsgOfSetRoamSwitch(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1 || msg.moduleId != kModuleSetting)
    return;
  const bool clicked = isManualSetRoamSwitch_;
  isManualSetRoamSwitch_ = false;
  if (!clicked)
    return;
  if (msg.result == 0) {
    beginSystemAlertPanel(word(QStringLiteral(" ")), word(QStringLiteral("Settings successful!")),
                          word(QStringLiteral("OK")));
    return;
  }
  // Only the box the user clicked goes back; the other one was not asked to change.
  QCheckBox *box = clickedIroam_ ? btnIroamSwitchSetting_.data() : btnNroamSwitchSetting_.data();
  if (box)
    box->setChecked(!box->isChecked());
  beginSystemAlertPanel(word(QStringLiteral(" ")), word(QStringLiteral("Settings Failed!")),
                        word(QStringLiteral("OK")));
}

// ---- roaming IMSI ----

int SettingController::roamingImsiTagFor(const QString &imsi, const QString &iccid, const QVariantList &homeCfg,
                                         const QVariantList &roamingCfg) {
  // A text too short for its digits matches no rule.
  if (imsi.size() < 5)
    return 0;
  const QString prefix = imsi.left(5);
  if (prefix == QLatin1String("40467") && iccid.size() >= 6 && iccid.mid(4, 2) != QLatin1String("67"))
    return 1;
  const auto contains = [&prefix](const QVariantList &list) {
    for (const QVariant &v : list)
      if (v.toString() == prefix)
        return true;
    return false;
  };
  if (contains(homeCfg))
    return 0;
  if (contains(roamingCfg))
    return 1;
  return 0;
}

void SettingController::setRoamingStateAccordImsi(const QString &imsi) {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  const QString iccid = device ? device->iccidStr() : QString();
  const int tag = roamingImsiTagFor(imsi, iccid, settingDict().value(QStringLiteral("IMSIHomeCfg")).toList(),
                                    settingDict().value(QStringLiteral("IMSIRoamingCfg")).toList());
  selectTag(matrixRoamingSet_, tag);
}

void SettingController::setRoamingIMSISelectEnabled(bool enabled) {
  enable(matrixRoamingSet_, enabled);
}

void SettingController::roamingIMSISelect(QObject *sender) {
  roamingImsiSet_ = true;
  const int tag = tagOfSender(sender ? sender : static_cast<QObject *>(matrixRoamingSet_));
  roamingImsiType_ = tag < 0 ? 0 : tag;
  // The toolkit leaves its menu and selects the first item; its sub-menu then performs the
  // switch by reading the choice back.
  if (CallsNeighbour *calls = Neighbourhood::calls()) {
    calls->toolkitExitClicked();
    calls->toolkitSelectClicked(0);
  }
}
