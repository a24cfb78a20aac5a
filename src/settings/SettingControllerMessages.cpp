// The settings window's registrations (backend answers, notifications), its wording, the
// plug-in hand-over, and the message routing of the SMS page.
#include "SettingController.h"

#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "SettingControllerSupport.h"
#include "SettingPages.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// The backend's answers this window handles, in registration order.
struct Registration {
  int major;
  int minor;
  const char *selector;
};
constexpr Registration kMessages[] = {
    {513, 83, "dealWithMsgOfSetBandFrequency:"},
    {513, 77, "dealWithMsgOfSetSearchNetMode:"},
    {513, 79, "dealWithMsgOfManualSearchNet:"},
    {513, 80, "dealWithMsgOfManualSelectNet:"},
    {4, 14, "dealWithMsgOfChangePinActiveStatus:"},
    {4, 8, "dealWithMsgOfCountPinPukRemain:"},
    {4, 12, "dealWithMsgOfChangePin:"},
    {4, 9, "dealWithMsgOfCheckPinStatus:"},
    {4, 11, "dealWithMsgOfCheckoutPuk:"},
    {4, 18, "dealWithMsgOfChangePinAutoValidationStatus:"},
    {768, 96, "dealWithMsgOfSMSCenter:"},
    {768, 97, "dealWithMsgOfSMSRevPos:"},
    {258, 75, "dealWithMsgOfNetDeviceInfo:"},
    {513, 82, "dealWithMsgOfCheckNetChannel:"},
    {513, 84, "dealWithMsgOfNodeSelectSatus:"},
    {513, 85, "dealWithMsgOfSetRoamSwitch:"},
    {8, 27, "dealWithMsgOfCheckDeviceLockStatus:"},
    {512, 165, "dealWithMsgOfCheckDeviceUnLockResult:"},
    {8, 31, "dealWithMsgOfModifyDeviceLockCodeStatus:"},
    {2307, 158, "dealWithCallForwardSettingResult:"},
    {2307, 157, "dealWithCallBarSettingResult:"},
    {2307, 159, "dealWithCallWaitSettingResult:"},
    {2307, 162, "dealWithMsgOfReadCallForwardSetting:"},
    {2307, 160, "dealWithMsgOfReadCallWaitSetting:"},
    {2307, 161, "dealWithMsgOfReadCallBarSetting:"},
    {768, 108, "dealWithMsgOfMsgRoutingRead:"},
    {768, 109, "dealWithMsgOfMsgRoutingFeedback:"},
};

// In-process notifications and their handlers; the first only with a "Call" page.
struct Observation {
  const char *notification;
  const char *selector;
};
constexpr Observation kObservations[] = {
    {"init_NetworkStatus", "updateNetworkStatus:"},
    {"changePinActiveStatus", "activePinStatus:"},
    {"pinModifyBtnClicked", "pinModifyClicked:"},
    {"setNetModeChanged", "setNetModeChanged:"},
    {"methodToSelectNetChanged", "methodToSelectNetChanged:"},
    {"btMessageSetApply", "btMessageSetApply:"},
    {"pinSettingUnlockClicked", "pinUnlockClicked:"},
    {"manualRegisterNet", "manualRegisterNet:"},
};

// Texts of every control under `root` that names its wording key.
void wordControls(QWidget *root) {
  if (!root)
    return;
  QList<QWidget *> widgets = root->findChildren<QWidget *>();
  widgets.prepend(root);
  for (QWidget *w : widgets) {
    const QString key = w->property("wordingKey").toString();
    if (key.isEmpty())
      continue;
    if (auto *label = qobject_cast<QLabel *>(w))
      label->setText(word(key));
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
      button->setText(word(key));
    else if (auto *box = qobject_cast<QGroupBox *>(w))
      box->setTitle(word(key));
  }
  // Worded titles may be longer than the cells they were laid out for.
  for (ButtonMatrix *matrix : root->findChildren<ButtonMatrix *>())
    matrix->fitCellsToTitles();
}
} // namespace

void SettingController::registerMessages() {
  if (qelMsgCenter)
    for (const Registration &r : kMessages)
      qelMsgCenter->registerObserver(this, QByteArray(r.selector), r.major, r.minor);
  for (const Observation &o : kObservations) {
    if (QByteArray(o.notification) == "init_NetworkStatus" && !sethasModuleWith(QStringLiteral("Call")))
      continue;
    notificationCenter->addObserver(this, QByteArray(o.selector), QLatin1String(o.notification));
  }
  registerNotification(settingObServerTable);
  registerNotification(deviceFunctionNotficationTable);
}

void SettingController::initializeNibResources() {
  initWording();
  initUpdateNibWording();
  initUpdateNibState();
  // The links flagged for start-up open now.
  if (sethasModuleWith(QStringLiteral("FavoriteLinks")))
    checkLauchWebLinksAtMoment(false);
  if (btnConnectWarning)
    btnConnectWarning->setChecked(
        ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay")));
}

void SettingController::loadCommonBundle() {
  // The operator's plug-in; without it the tab stays as built.
  loadPlugin(QStringLiteral("SettingBundle.bundle"), QStringLiteral("Setting"));
}

// ---- wording ----

namespace {
QWidget *pageOf(QTabWidget *tabs, const QString &identifier) {
  if (!tabs)
    return nullptr;
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->widget(i)->property("itemIdentifier").toString() == identifier)
      return tabs->widget(i);
  return nullptr;
}
} // namespace

void SettingController::initWording() {
  if (tabviewSetting)
    for (int i = 0; i < tabviewSetting->count(); ++i)
      tabviewSetting->setTabText(i, word(tabviewSetting->widget(i)->property("itemIdentifier").toString()));
  if (sethasModuleWith(QStringLiteral("Security")))
    initSecurityModuleWording();
  if (sethasModuleWith(QStringLiteral("SMS")))
    initSmsModuleWording();
  if (sethasModuleWith(QStringLiteral("Alert")))
    initAlertModuleWording();
  if (sethasModuleWith(QStringLiteral("System")))
    initSystemModuleWording();
  if (sethasModuleWith(QStringLiteral("Connect")))
    initConnectModuleWording();
  if (sethasModuleWith(QStringLiteral("Network"))) {
    wordControls(pageOf(tabviewSetting, QStringLiteral("Network")));
    wordControls(netSelectWindow);
    if (netListView && netListView->model())
      netListView->model()->headerDataChanged(Qt::Horizontal, 0, 3);
  }
  if (sethasModuleWith(QStringLiteral("Browser"))) {
    wordControls(pageOf(tabviewSetting, QStringLiteral("Browser")));
    wordControls(wndAddBrowser);
  }
  if (sethasModuleWith(QStringLiteral("Call"))) {
    wordControls(pageOf(tabviewSetting, QStringLiteral("Call")));
    if (callSettingView_) {
      static const char *tabs[] = {"Call Forwarding", "Call Waiting", "Call Barring"};
      for (int i = 0; i < callSettingView_->count() && i < 3; ++i)
        callSettingView_->setTabText(i, word(QLatin1String(tabs[i])));
    }
  }
  if (sethasModuleWith(QStringLiteral("FavoriteLinks"))) {
    wordControls(pageOf(tabviewSetting, QStringLiteral("FavoriteLinks")));
    if (cboxLinkType && cboxLinkType->count() >= 2) {
      cboxLinkType->setItemText(0, word(QStringLiteral("Application")));
      cboxLinkType->setItemText(1, word(QStringLiteral("Web Address")));
    }
  }
  if (labelPINEnable_)
    labelPINEnable_->setText(word(QStringLiteral("Enable PIN")));
  if (labelPINDisable_)
    labelPINDisable_->setText(word(QStringLiteral("Disable PIN")));
  if (labelPinModify_)
    labelPinModify_->setText(word(QStringLiteral("Modify PIN")));
  initSettingItemsWording();
  initSettingItemsBtnWording();
}

void SettingController::initSecurityModuleWording() {
  wordControls(pageOf(tabviewSetting, QStringLiteral("Security")));
  wordSheets();
}

void SettingController::initSmsModuleWording() {
  wordControls(pageOf(tabviewSetting, QStringLiteral("SMS")));
  reloadSmsCombos();
}

void SettingController::initAlertModuleWording() {
  wordControls(pageOf(tabviewSetting, QStringLiteral("Alert")));
}

void SettingController::initSystemModuleWording() {
  wordControls(pageOf(tabviewSetting, QStringLiteral("System")));
}

void SettingController::initConnectModuleWording() {
  wordControls(pageOf(tabviewSetting, QStringLiteral("Connect")));
}

void SettingController::initSettingItemsWording() {
  if (tfdSettingTitle && currentSettingPage().isEmpty())
    tfdSettingTitle->setText(word(QStringLiteral("System Settings")));
  else if (!currentSettingPage().isEmpty())
    selectSettingPage(currentSettingPage()); // re-words the title
}

void SettingController::initSettingItemsBtnWording() {
  for (const QPointer<QAbstractButton> &b : settingPageButtons)
    if (b) {
      // Pages without a button key of their own are titled by their identifier.
      const QString key = b->property("wordingKey").toString();
      b->setText(key.contains(QLatin1Char('_')) ? WordingOperation::getDisplayWordingValueByWordingKey(key)
                                                : word(key));
    }
}

void SettingController::updateLanguages(const Notification &) {
  initWording();
  initUpdateNibWording();
}

void SettingController::btMessageSetApply(const Notification &n) {
  writeDeliveryReport(n.userInfo.value(QStringLiteral("flag")).toBool());
  REQMessageStoreLoc(n.userInfo.value(QStringLiteral("index")).toInt());
}

// The settings plug-in view picks a row of one of the network matrices; it applies at once.
void SettingController::setNetModeChanged(const Notification &n) {
  const int row = n.userInfo.value(QStringLiteral("index")).toInt();
  if (m_NetworkFindModeSeletion)
    settingsupport::selectRow(m_NetworkFindModeSeletion, row);
  else
    networkFindModeTag_ = row;
  SetSearchNetClass(nullptr);
}

void SettingController::methodToSelectNetChanged(const Notification &n) {
  const int row = n.userInfo.value(QStringLiteral("index")).toInt();
  if (m_MethodToSelectNet)
    settingsupport::selectRow(m_MethodToSelectNet, row);
  else
    networkSelectMethodRow_ = row;
  SetSearchNetMode(nullptr);
}

void SettingController::autoDeleteSMSLabelChanged(QObject *sender) {
  auto *box = qobject_cast<QCheckBox *>(sender);
  writeModuleSetting(QStringLiteral("SMS"), QStringLiteral("AutoDeleteState"), box && box->isChecked());
}

// ---- message routing ----

QString SettingController::messageRoutingString(int value) {
  static const char *names[] = {"Packet Switched", "Circuit Switched", "Packet Switched Preferred",
                                "Circuit Switched Preferred"};
  return value >= 0 && value < 4 ? QLatin1String(names[value]) : QString();
}

int SettingController::indexOfMsgRoutingArray(const QString &text) const {
  for (int i = 0; i < 4; ++i)
    if (word(messageRoutingString(i)) == text)
      return i;
  return cboxMsgRouting_ ? cboxMsgRouting_->currentIndex() : 0;
}

int SettingController::getIndexOfMsgRoutingList(const QString &name) const {
  const QVariantList list = const_cast<SettingController *>(this)
                                ->settingDict()
                                .value(QStringLiteral("SMS"))
                                .toMap()
                                .value(QStringLiteral("MessageRoutingList"))
                                .toList();
  for (int i = 0; i < list.size(); ++i)
    if (list[i].toString() == name)
      return i;
  return 0;
}

void SettingController::selectMessageRouting(int value) {
  if (cboxMsgRouting_)
    cboxMsgRouting_->setCurrentIndex(getIndexOfMsgRoutingList(messageRoutingString(value)));
}

void SettingController::dealWithMsgOfMsgRoutingRead(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  const quint32 value = msg.dataLength >= 4 ? qFromLittleEndian<quint32>(msg.data.data()) : 0xFFFFFFFFu;
  // A value outside the four routings is no routing: the saved one stays.
  if (msg.result == 0 && value <= 3) {
    selectMessageRouting(int(value));
    writeMessageRouting(int(value));
  } else {
    selectMessageRouting(readMessageRouting());
  }
  if (cboxMsgRouting_)
    cboxMsgRouting_->setEnabled(true);
}

void SettingController::dealWithMsgOfMsgRoutingFeedback(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  if (msg.result == 0 && cboxMsgRouting_)
    writeMessageRouting(indexOfMsgRoutingArray(cboxMsgRouting_->currentText()));
  else
    selectMessageRouting(readMessageRouting());
}

void SettingController::setSMSStoreLocWhenFirstStartupUI() {
  const QString name = ConfigService::sharedConfigService()->getSMSDefaultStorePosWhenFirstStartUpUI();
  const int position = positionManager_.getPositionByPositionName(name);
  const int order = positionManager_.getPositionOrderByPositonName(name);
  if (position < 0 || order < 0)
    return;
  if (MessageStoreLoc)
    MessageStoreLoc->setCurrentIndex(order);
  currentSetSMSPositionIndex_ = order;
  setCurrentSetSMSPostion_(position);
  ConfigService::sharedConfigService()->writeSMSStoreLocSettingFlagAfterFirstStartupUI(false);
  if (qelMsgCenter) {
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(quint32(position), data.data());
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 768, 97, 0, 0, data);
  }
}
