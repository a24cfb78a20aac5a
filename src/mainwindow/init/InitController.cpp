#include "InitController.h"

#include "AEMessage.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitStatusView.h"
#include "MainController.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PinSheets.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QtEndian>

InitController *g_InitController = nullptr;

namespace {
int g_checkPictureDelayMs = 2000;

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// The backend's handlers tell without waiting: packages (the device's removal among them) keep
// arriving while the alert is up. `then` runs after the user's answer, not when the device went.
void warn(const QString &messageKey, std::function<void()> then = {}) {
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(messageKey), word(QStringLiteral("OK")), QString(),
                       [then](int, bool closedByRemoval) {
                         if (then && !closedByRemoval)
                           then();
                       });
}

quint32 firstWord(const UIMsg &msg) {
  return msg.dataLength >= 4 ? qFromLittleEndian<quint32>(msg.data.data()) : 0;
}

// The backend's messages this controller handles, in registration order.
struct Registration {
  int major;
  int minor;
  const char *selector;
};
constexpr Registration kMessages[] = {
    {1, 0, "dealWithMsgOfHandShake:"},
    {2, 1, "dealWithMsgOfPowerCheck:"},
    {3, 2, "dealWithMsgOfWorkModeCheck:"},
    {3, 3, "dealWithMsgOfStartWork:"},
    {3, 4, "dealWithMsgOfStopWork:"},
    {3, 5, "dealWithMsgOfGetDeviceMode:"},
    {4, 8, "dealWithMsgOfCountPinPukRemain:"},
    {4, 9, "dealWithMsgOfPinStatus:"},
    {4, 10, "dealWithMsgOfCheckoutPin:"},
    {4, 16, "dealWithMsgOfPinAutoValidation:"},
    {4, 19, "dealWithMsgOfReadPin:"},
    {4, 17, "dealWithMsgOfSavePin:"},
    {4, 11, "dealWithMsgOfCheckoutPuk:"},
    {4, 13, "dealWithMsgOfCheckPinActiveStatus:"},
    {4, 20, "dealWithMsgOfInvalidCardStatus:"},
    {5, 23, "dealWithMsgOfCheckIMEIInfo:"},
    {513, 76, "dealWithMsgOfCheckSearchMode:"},
    {513, 81, "dealWithMsgOfCheckPreferenceMode:"},
    {6, 33, "dealWithMsgOfCheckSIMStatus:"},
    {6, 34, "dealWithMsgOfCheckUSIMStatus:"},
    {7, 58, "dealWithMsgOfCheckHPLMN:"},
    {7, 35, "dealWithMsgOfCheckSmsPPDownload:"},
    {7, 36, "dealWithMsgOfCheckSignalStatus:"},
    {7, 56, "dealWithMsgOfCheckQrssiSignalStatus:"},
    {7, 37, "dealWithMsgOfCheckNetInfo:"},
    {7, 47, "dealWithMsgOfCheckNetInfoForIcera:"},
    {7, 38, "dealWithMsgOfCheckPLMN:"},
    {7, 39, "dealWithMsgOfCheckRoamInfo:"},
    {7, 41, "dealWithMsgOfCheckSPN:"},
    {7, 40, "dealWithMsgOfCheckSPDI:"},
    {7, 42, "dealWithMsgOfCheckICCID:"},
    {7, 43, "dealWithMsgOfCheckCIMI:"},
    {7, 52, "dealWithMsgOfCheckMCCMNC:"},
    {7, 49, "dealWithMsgOfCheckHWVERSION:"},
    {7, 50, "dealWithMsgOfCheckModemModel:"},
    {7, 48, "dealWithMsgOfCheckPhoneNumber:"},
    {7, 51, "dealWithMsgOfCheckSerialNumber:"},
    {7, 55, "dealWithMsgOfCheckSignalStatusIcera:"},
    {7, 57, "dealWithMsgOfCheckQairInfoStatus:"},
    {8, 59, "dealWithMsgOfCheckDeviceStatus:"},
    {8, 60, "dealWithMsgOfCheckDeviceNotAttached:"},
    {7, 46, "dealWithMsgOfCheckFWINTERNALVERSION:"}, // only with "UpdateByInternalFW"
    {7, 45, "dealWithMsgOfCheckFWVERSION:"},
    {513, 86, "dealWithMsgOfReadRoamSwitch:"},
    {0, 27, "dealWithMsgOfCheckDeviceLockStatus:"},
    {0, 165, "dealWithMsgOfCheckDeviceUnLockResult:"},
};
} // namespace

void InitController::setCheckPictureDelayMs(int ms) {
  g_checkPictureDelayMs = ms;
}

InitController::InitController(QObject *parent)
    : QELUIController(parent),
      identity_(*this, nullptr, [](const QString &key) { return Map_Name_Item_of_IndexString(key); }) {
  g_InitController = this;
  Neighbourhood::setDeviceStatus(this);
  modemStatusTimer_.setSingleShot(true);
  simImageTimer_.setSingleShot(true);
  connect(&modemStatusTimer_, &QTimer::timeout, this, [this] { setModemStatus(true); });
  connect(&simImageTimer_, &QTimer::timeout, this, &InitController::setImageForSimCardRead);
  timerAlertSelect3GPrefer_.setSingleShot(true);
  connect(&timerAlertSelect3GPrefer_, &QTimer::timeout, this, &InitController::alertSelect3GPreferIfNoSignal);
  setNetworkRoamStatus(2);
  setMccmnc(QString(""));
  setHadDoPinAutoValidation(false);
  specialInit();
  setReportSendFlag(false);
}

InitController::~InitController() {
  if (g_InitController == this)
    g_InitController = nullptr;
  Neighbourhood::leave(static_cast<DeviceStatusNeighbour *>(this));
}

void InitController::specialInit() {
  manuuallyInputPinFlag_ = false;
  roamTransferMode_ = 2;
  registeredNetworkRoamStatus_ = 2;
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("AtuoCheckPinAndIccidSavedInConfigFile"))) {
    const QVariant saved = settingDict().value(QStringLiteral("PinNum"));
    if (saved.isValid())
      pinNum_ = saved.toString();
  }
}

void InitController::specialDeviceRemoved() {
  deviceLockDeviceRemoved();
  firstUnlockedDevice_ = false;
  activeSmsAlertShown_ = false;
  manuuallyInputPinFlag_ = false;
  roamTransferMode_ = 2;
  registeredNetworkRoamStatus_ = 2;
  registrationAndRoamDeviceRemoved();
}

bool InitController::readPackage(const Notification &n, UIMsg *msg) const {
  return QELMsgCenter::getMsgPackage(msg, n);
}

void InitController::showImage(QLabel *label, const QString &imageName) {
  if (!label)
    return;
  label->setProperty("imageName", imageName);
  if (qelSkinManager) {
    // Status pictures are named without their extension; the skin keeps them as PNG files.
    const QImage image = qelSkinManager->imageNamed(
        imageName.contains(QLatin1Char('.')) ? imageName : imageName + QStringLiteral(".png"));
    if (!image.isNull()) {
      label->setPixmap(QPixmap::fromImage(image));
      return;
    }
  }
  label->setPixmap(QPixmap());
}

// ---- hooks ----

void InitController::initializeSkin() {
  if (!qelSkinManager)
    return;
  const auto add = [this](QObject *control, const char *key) {
    if (control)
      qelSkinManager->registerController(control, QLatin1String(key), false);
  };
  if (statusView) {
    add(statusView->networkTypeLabel, "labelInitNetwork");
    add(statusView->roamStatusLabel, "labelInitRoamStatus");
    add(statusView->belongToSPNLabel, "labelInitBeloneToSPN");
    add(statusView->localSPNLabel, "labelInitLocalSPN");
    add(statusView->domainLabel, "labelInitDomain");
  }
  // The SIM code sheets are made now rather than on first use, so that the skin dresses them
  // before they are ever shown (and again on every skin change).
  PinSheet *pin = pinSheet();
  PukSheet *puk = pukSheet();
  ReAlertSheet *reAlert = reAlertSheet();
  add(pin, "wndSettingEnablePin");
  add(puk, "wndSettingPuk");
  add(reAlert, "wndReAlertToCancelPinInput");
  add(pin->pinCode, "textPinCodeInit");
  add(puk->pukCode, "textPukCodeInit");
  add(puk->newPinCode, "textNewPinCodeInit");
  add(puk->repNewPinCode, "textRepNewPinCodeInit");
  add(pin->savePin, "btnInitSavePinNum");
  // The sheets' buttons and texts go by the main window's item names.
  add(pin->cancel, "btnMainCancelInputPin");
  add(pin->ok, "btnMainInputPinOK");
  add(puk->cancel, "btnMainCancelInputPuk");
  add(puk->ok, "btnMainInputPukOK");
  add(reAlert->no, "btnMainNOofReAlert");
  add(reAlert->yes, "btnMainYesofReAlert");
  add(pin->pinLabel, "labelPinMain");
  add(pin->prompt, "labelPleaseInputPinMain");
  add(pin->timeLeft, "labelPinLeftTimesMain");
  add(puk->pukLabel, "labelPukMain");
  add(puk->newPinLabel, "labelNewPinMain");
  add(puk->prompt, "labelPleaseInputPukMain");
  add(puk->repeatLabel, "labelPukRepeatNewPinMain");
  add(puk->timeLeft, "labelPukLeftTimesMain");
}

void InitController::initializeNibResources() {
  initSignalViewsForPlatform();
  if (statusView && ConfigService::readBool(QStringLiteral("Init"), QStringLiteral("OnlyShowBelonetoSPN")))
    statusView->localSPNLabel->hide();
  initNibNetworkStatus();
  clearDiagWindow();
  initDiagWindow();
  if (statusView) {
    statusView->simTypeField->clear();
    setLockTip(QString());
    if (!networkStatusViewHidden_)
      statusView->show();
  }
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("AtuoCheckPinAndIccidSavedInConfigFile")))
    pinNumSavedInConfigChecked_ = ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("EnableSavePINNum"));
}

void InitController::initNibNetworkStatus() {
  if (statusView)
    showImage(statusView->signalImage, QStringLiteral("rssi1"));
  sendNotification(kSingalStrength, 0);
  sendNotification(kRoamStatus, 2);
  setBelonetoSPN(QString(""));
  setModemStatus(false);
  setSimStatus(false);
  setNetworkStatus(QStringLiteral("No Service"));
  setLocalSPN(QString(""), true);
  setDomainName(QString(""));
  if (statusView && ConfigService::readBool(QString(), QStringLiteral("HidePCDomain")))
    statusView->domainLabel->hide();
}

void InitController::registerMessages() {
  const bool internalFW = ConfigService::readBool(QString(), QStringLiteral("UpdateByInternalFW"));
  for (const Registration &r : kMessages) {
    if (r.major == 7 && r.minor == 46 && !internalFW)
      continue;
    if (qelMsgCenter)
      qelMsgCenter->registerObserver(this, QByteArray(r.selector), r.major, r.minor);
  }
  // Both are posted by plug-in bundles.
  notificationCenter->addObserver(this, QByteArray("prepareToShowDiagWindow:"), QStringLiteral("prepareDiagInfo"));
  notificationCenter->addObserver(this, QByteArray("openPINWindow:"), QStringLiteral("openPINWindow"));
  notificationCenter->addObserver(this, QByteArray("msgServerGaveUp:"), kMsgServerGaveUp);
  // The page that asked for the device code opens on its acceptance; its own guard, run again by
  // that opening, must not ask once more.
  NotificationCenter::defaultCenter().addObserver(this, QLatin1String(kDeviceUnlockSuccess), nullptr,
                                                  [this](const Notification &) { deviceUnlockJustAccepted(); });
  registerNotification(initObServerTable);
}

// The backend could not be brought back: the status area says so instead of going blank.
void InitController::msgServerGaveUp(const Notification &) {
  setLockTip(QString());
}

void InitController::updateLanguages(const Notification &) {
  if (statusView) {
    statusView->networkTypeLabel->setText(word(networkName_));
    if (statusView->simLabel->isVisible())
      statusView->simLabel->setText(word(QStringLiteral("No (U)SIM")));
  }
  if (labelPINEnter_)
    labelPINEnter_->setText(word(QStringLiteral("Enter PIN")));
  if (labelPINUnlock_)
    labelPINUnlock_->setText(word(QStringLiteral("Unlock PIN")));
  if (pinSheet_ || pukSheet_ || reAlertSheet_)
    wirePinSheets();
  wordUnlockDeviceSheet();
  initDiagWindow();
  initRssiLacCiWindow();
  if (statusView) {
    const QString lockTip = statusView->lockTipLabel->property("wordingKey").toString();
    statusView->lockTipLabel->setText(lockTip.isEmpty() ? QString() : word(lockTip));
  }
}

// ---- status setters ----

void InitController::sendNotification(const QString &name, const QVariant &data) {
  NotificationCenter::defaultCenter().postNotificationName(name, nullptr, {{name, data}});
}

void InitController::setModemStatus(bool started) {
  if (statusView)
    showImage(statusView->networkStatusImage, started ? QStringLiteral("netstatus2") : QStringLiteral("netstatus1"));
  if (auto *dial = Neighbourhood::connection())
    dial->setModemAndSimStateString(started ? QStringLiteral("Init_tfdStarting Device")
                                            : QStringLiteral("Dial_tfdDeviceNotDetected"));
  sendNotification(kModemConnected, started);
}

void InitController::setImageForSimCardRead() {
  if (statusView)
    showImage(statusView->simImage, QStringLiteral("simReady"));
}

void InitController::setSimStatus(bool ready) {
  const bool letterMode = ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("SimStatusWithLetter"));
  bool stored = false;
  if (!ready) {
    if (statusView) {
      if (letterMode) {
        statusView->simImage->show();
        statusView->simLabel->show();
        statusView->simLabel->setText(word(QStringLiteral("No (U)SIM")));
      }
      simImageTimer_.stop();
      showImage(statusView->simImage, QStringLiteral("noSim"));
    }
    m_SimPinState = kSimNotReady;
  } else {
    if (statusView && letterMode) {
      statusView->simLabel->hide();
      statusView->simImage->hide();
    } else if (!ConfigService::sharedConfigService() ||
               !ConfigService::sharedConfigService()->isDisplayCheckSimStatus()) {
      setImageForSimCardRead();
    } else {
      if (statusView)
        showImage(statusView->simImage, QStringLiteral("CheckSIMStatus"));
      simImageTimer_.start(g_checkPictureDelayMs);
    }
    m_SimPinState = kSimReady;
    if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("pinAutoValidation")) &&
        manuuallyInputPinFlag_) {
      savePinToModem();
      manuuallyInputPinFlag_ = false;
    }
    stored = true;
  }
  setRuntimeObject(stored, kRTSIMCardReady);
  sendNotification(kSimStatus, ready);
}

void InitController::setBelonetoSPN(const QString &name) {
  if (name.isNull())
    return;
  if (statusView)
    statusView->belongToSPNLabel->setText(name);
  sendNotification(kBelonetoSPN, name);
}

void InitController::setLocalSPN(const QString &name, bool refresh) {
  if (!refresh || name.isNull())
    return;
  if (statusView)
    statusView->localSPNLabel->setText(name);
  sendNotification(kLocalSPN, name);
}

void InitController::setNetworkStatus(const QString &networkText) {
  if (networkText.isNull())
    return;
  networkName_ = networkText;
  if (statusView)
    statusView->networkTypeLabel->setText(word(networkText));
  const bool convert = ConfigService::readBool(QString(), QStringLiteral("DynamicConvertNetworkName"));
  sendNotification(kNetworkStatus, convert ? word(networkText) : networkText);
}

void InitController::setDomainName(const QString &domain) {
  if (domain.isNull())
    return;
  if (statusView)
    statusView->domainLabel->setText(domain);
  sendNotification(kDomainName, domain);
}

// ---- commands and domains ----

void InitController::setDeviceOnline() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 3, 3, 0, 0);
}

void InitController::setDeviceOffline() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 3, 4, 0, 0);
}

bool InitController::hasPSDomain() const {
  if (ConfigService::readBool(QString(), QStringLiteral("EnableConnectByNetStatus")))
    return hasCSDomain();
  return networkMode_ & 2;
}

bool InitController::checkToReturnPSDomain() const {
  if (ConfigService::readBool(QStringLiteral("Internet"), QStringLiteral("DoNotCheckPSDomainWhileAutoConnect")) ||
      ConfigService::readBool(QStringLiteral("Internet"), QStringLiteral("AutoConnectDoNotCheckPSDomain")))
    return true;
  return hasPSDomain();
}

// ---- device handlers ----

void InitController::dealWithMsgOfHandShake(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isDisplayCheckModemStatus()) {
    if (statusView)
      showImage(statusView->networkStatusImage, QStringLiteral("netstatusOfCheckModem"));
    modemStatusTimer_.start(g_checkPictureDelayMs);
  } else {
    setModemStatus(true);
  }
}

void InitController::dealWithMsgOfCheckDeviceStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  if (msg.result == UIMsg::kResultFailure)
    notifyDeviceRemoved();
  else
    notifyDevicePlugin();
}

void InitController::dealWithMsgOfCheckDeviceNotAttached(const Notification &) {
  warn(QStringLiteral("Device not detected!"));
}

void InitController::dealWithMsgOfInvalidCardStatus(const Notification &) {
  // The program ends once the user has read why; a device that went meanwhile took the invalid
  // card with it, and the program stays for the next one.
  QPointer<InitController> self(this);
  warn(QStringLiteral("Incorrect (U)SIM card!"), [self] {
    if (self)
      self->closeApplication();
  });
}

void InitController::closeApplication() {
  closeAllSheetsOfMainWnd();
  if (g_MainController)
    g_MainController->requestTerminate();
}

void InitController::dealWithMsgOfCheckIMEIInfo(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1 || msg.result != 0)
    return;
  const QByteArray bytes = msg.payload().left(36);
  const QString imei = QString::fromLatin1(bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0')));
  setRuntimeObject(imei, kRTIMEI);
  setIMEINumInDiagWindow();
  if (AEMessage::defaultAEMessage()->isSupportUpdate())
    AEMessage::defaultAEMessage()->dealWithIMEI(imei);
}

void InitController::dealWithMsgOfCheckSIMStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  const quint32 value = firstWord(msg);
  if (msg.result == UIMsg::kResultFailure) {
    if (value == 0xFFFFFFFFu) {
      if (auto *dial = Neighbourhood::connection()) {
        dial->setDeviceStatusStringRows(1);
        dial->ruvozUITopFixedImage(QString(), QString(), QString(), word(QStringLiteral("No SIM")));
        dial->setModemAndSimStateString(QStringLiteral("Init_tfdNo (U)SIM"));
      }
      if (!ConfigService::readBool(QStringLiteral("Init"), QStringLiteral("DonotShowNoSIMAlert")))
        warn(QStringLiteral("NO UIM, Please insert UIM card!"));
    }
    setNetworkDomain(0, QStringLiteral("No Service"));
    return;
  }
  if (msg.result != 0 || !statusView)
    return;
  if (value == 0)
    statusView->simTypeField->setText(QStringLiteral("2G"));
  else if (value == 1)
    statusView->simTypeField->setText(QStringLiteral("3G"));
}

void InitController::dealWithMsgOfCheckUSIMStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  setInactivatedUSIMForRizoraWithStatus(msg.type == 1 && msg.moduleId == 1 ? firstWord(msg) : 0);
}

void InitController::setInactivatedUSIMForRizoraWithStatus(quint32 status) {
  if ((status != 4 && status != 6) || !ConfigService::readBool(QString(), QStringLiteral("PopUpPanelWhenQUSIM4")))
    return;
  setSimStatus(false);
  warn(QStringLiteral("Invalid (U)SIM or No (U)SIM!"));
}

void InitController::dealWithMsgOfPinStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0 || msg.moduleId != 1)
    return;
  setSimStatus(true);
  notifySimReady();
  if (auto *dial = Neighbourhood::connection())
    dial->setDialParams();
}

void InitController::devicePlugin(const Notification &) {
  initSignalViewsForPlatform();
}

void InitController::simReady(const Notification &) {}

void InitController::deviceRemoved(const Notification &) {
  // Pictures still waiting to replace the "check" ones would show a device that has gone.
  modemStatusTimer_.stop();
  simImageTimer_.stop();
  signalDeviceRemoved();
  m_SimPinState = kSimNotReady;
  setHadDoPinAutoValidation(false);
  identity_.deviceRemoved();
  clickYESOfReAlertPinWindow(nullptr);
  networkRoamStatus_ = 2;
  specialDeviceRemoved();
  initializeNibResources();
  alreadyGetSimIMSIFlag_ = false;
  m_IMSI.clear();
  if (labelPINEnter_)
    labelPINEnter_->setEnabled(false);
  if (labelPINUnlock_)
    labelPINUnlock_->setEnabled(false);
  dialFunctionEnabledFlag_ = true;
  hasAlertRoam = false;
  updaterDeviceRemoved();
}
