#include "CompoundCallController.h"
#include "PlugInBesidePage.h"

#include "ConfigManager.h"
#include "SharedDistantConnection.h"

#include "CallNeighbours.h"
#include "CallRecordController.h"
#include "CocoaExt.h"
#include "ConfigService.h"
#include "Neighbourhood.h"
#include "NotificationBridge.h"
#include "STKController.h"
#include "USSDContrller.h"

#include <QDBusConnection>
#include <QDateTime>

CompoundCallController *g_CompoundCallController = nullptr;

namespace {
struct Registration {
  int major;
  int minor;
  const char *selector;
};
constexpr Registration kMessages[] = {
    {CallPackages::kInitMajor, CallPackages::kInitMinor, "voiceInitFinished:"},
    {CallPackages::kEmergencyMajor, CallPackages::kEmergencyMinor, "initRgentPhone:"},
    {CallPackages::kEventMajor, CallPackages::kIncomingMinor, "dealWithMsgOfIncomingCall:"},
    {CallPackages::kEventMajor, CallPackages::kWaitingMinor, "dealWithMsgOfWaitingCall:"},
    {CallPackages::kEventMajor, CallPackages::kStageMinor, "dealWithMsgOfCallStageChanged:"},
    {CallPackages::kEventMajor, CallPackages::kRingMinor, "dealWithMsgOfRing:"},
    {CallPackages::kRequestMajor, CallPackages::kCallerListReplyMinor, "dealWithMsgOfCheckCall:"},
    {CallPackages::kRequestMajor, CallPackages::kChldReplyMinor, "dealWithMultipleCallOptResult:"},
};

const QStringList k2GNetworks = {QStringLiteral("GSM"), QStringLiteral("2G"), QStringLiteral("EDGE"),
                                 QStringLiteral("GPRS")};
} // namespace

CompoundCallController::CompoundCallController(QObject *parent) : QELUIController(parent) {
  g_CompoundCallController = this;
  Neighbourhood::setCalls(this);
  promptTimer_.setInterval(1000);
  connect(&promptTimer_, &QTimer::timeout, this, [this] { promptTick(); });
  callTimingTimer_.setInterval(100);
  connect(&callTimingTimer_, &QTimer::timeout, this, [this] { updateCallTiming(); });
  tipCloseTimer_.setSingleShot(true);
  connect(&tipCloseTimer_, &QTimer::timeout, this, [this] { closeTipWindow(); });
  endSheetTimer_.setSingleShot(true);
  endSheetTimer_.setInterval(2000);
  connect(&endSheetTimer_, &QTimer::timeout, this, [this] { closeCallEndWindow(); });
  // A machine going to sleep ends the call (logind; nothing happens where it is absent).
  QDBusConnection system = QDBusConnection::systemBus();
  if (system.isConnected())
    system.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                   QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                   SLOT(prepareForSleep(bool)));
}

CompoundCallController::~CompoundCallController() {
  if (g_CompoundCallController == this)
    g_CompoundCallController = nullptr;
  Neighbourhood::leave(static_cast<CallsNeighbour *>(this));
  if (page && page->tipWindow)
    page->tipWindow->hide();
}

void CompoundCallController::prepareForSleep(bool sleeping) {
  if (sleeping)
    machineWillSleep();
}

void CompoundCallController::machineWillSleep() {
  hangClicked(nullptr);
}

bool CompoundCallController::getConnectBtnEnableRadirer() const {
  return g_USSDController && g_USSDController->getConnectBtnEnableRadirer();
}

void CompoundCallController::toolkitExitClicked() {
  if (g_STKController)
    g_STKController->ExitClicked();
}

void CompoundCallController::toolkitSelectClicked(int index) {
  if (g_STKController)
    g_STKController->SelectClicked(index);
}

bool CompoundCallController::supportMultipleCall() const {
  return ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("SupportMultipleCall"));
}

bool CompoundCallController::supportCallWait() const {
  return ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("SupportCallWait"));
}

qint64 CompoundCallController::referenceSeconds() {
  static const qint64 kReferenceDate = 978307200; // 2001-01-01 00:00:00 UTC
  return QDateTime::currentSecsSinceEpoch() - kReferenceDate;
}

QString CompoundCallController::durationText(qint64 seconds) {
  seconds = std::max<qint64>(0, seconds);
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
      .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString CompoundCallController::callerStateText(int state) {
  static const char *const kTexts[] = {"Activing", "Holding", "Dialing", "Alerting", "Incoming", "Waiting"};
  return state >= 0 && state <= 5 ? QLatin1String(kTexts[state]) : QString();
}

// ---- hooks ----

void CompoundCallController::registerMessages() {
  if (!hasModuleWith(QStringLiteral("Call")))
    return;
  if (qelMsgCenter)
    for (const Registration &r : kMessages)
      qelMsgCenter->registerObserver(this, QByteArray(r.selector), r.major, r.minor);
  notificationCenter->addObserver(this, QByteArray("updateNetworkStatus:"), QStringLiteral("init_NetworkStatus"));
  registerNotification(callBundleNotficationTable);
  registerNotification(deviceFunctionNotficationTable);
}

void CompoundCallController::initializeController() {}

void CompoundCallController::loadCommonBundle() {
  if (!loadPlugInBesidePage(*this, QStringLiteral("CallBundle.bundle"), QStringLiteral("Call"), page.data()))
    return;
  // The plug-in starts from the state the page shows.
  publishCallState(true);
}

// ---- device, network and device lock ----

void CompoundCallController::netcardChanged(int code) {
  if (code == 2) {
    m_netCardState = 0;
    refreshVoiceAvailability();
  } else if (code == 12) {
    m_simCardState = 0;
  } else if (code == 1) {
    m_netCardState = 1;
    m_simCardState = 1;
    Net2GFlag = false;
    m_isVoiceOverUsbEnabled = false;
    if (m_callStage != kIdle)
      responseToCallDisconnected();
    callerArray_.clear();
    reloadCallerTable();
    refreshVoiceAvailability();
  }
}

void CompoundCallController::devicePlugin(const Notification &) {
  netcardChanged(2);
}
void CompoundCallController::simReady(const Notification &) {
  netcardChanged(12);
}
void CompoundCallController::deviceRemoved(const Notification &) {
  netcardChanged(1);
}

void CompoundCallController::refreshVoiceAvailability() {
  if (m_netCardState == 0 && m_isVoiceOverUsbEnabled) {
    if (!ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("EnableCallBtnWhenServiceExist")))
      enableDial(true);
    notificationCenter->postNotificationName(QString::fromLatin1(kCallModuleReady), this);
    enableNumberField(true);
    setNumberField(QString());
    return;
  }
  enableDial(false);
  enableHangup(false);
  if (page) {
    page->hold->setEnabled(false);
    page->multipleCall->setEnabled(false);
    page->callName->clear();
  }
  setMenuItems(false, false);
  setStatus(QStringLiteral("Status:Idle"));
  enableNumberField(false);
  setNumberField(QString());
  setCallStage(kIdle);
}

void CompoundCallController::updateNetworkStatus(const Notification &n) {
  networkStatus_ = n.userInfo.value(QStringLiteral("init_NetworkStatus")).toString();
  Net2GFlag = k2GNetworks.contains(networkStatus_);
  if (ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("EnableCallBtnWhenServiceExist")))
    enableDial(networkStatus_ != QStringLiteral("No Service") && networkStatus_ != QStringLiteral("Limited Service") &&
               m_isVoiceOverUsbEnabled && m_callStage == kIdle);
}

void CompoundCallController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString() != QStringLiteral("Call"))
    return;
  changeMainTabViewItemSize(QStringLiteral("Call"));
  CallNeighbours &neighbours = CallNeighbours::shared();
  if (settingDict().value(QStringLiteral("DeviceLockCallFunction")).toBool() && neighbours.getDeviceUnlockCodeState()) {
    neighbours.openUnlockDeviceWindow(wndMain);
    neighbours.setDeviceLockFunctionModule(4);
  }
}

void CompoundCallController::notifyDeviceUnlockSuccess(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 4)
    notifyChangeTabViewItem(QStringLiteral("Call"));
}

void CompoundCallController::notifyDeviceUnlockFailed(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 4)
    notifyChangeTabViewItem(QStringLiteral("Internet"));
}

// ---- backend packages ----

namespace {
bool packageOf(const Notification &n, UIMsg *msg) {
  return QELMsgCenter::getMsgPackage(msg, n);
}
} // namespace

void CompoundCallController::voiceInitFinished(const Notification &n) {
  UIMsg msg;
  if (!packageOf(n, &msg))
    return;
  m_isVoiceOverUsbEnabled = msg.result != 0;
  refreshVoiceAvailability();
  if (m_isVoiceOverUsbEnabled)
    voiceDataConnection()->doConnection();
}

void CompoundCallController::initRgentPhone(const Notification &n) {
  UIMsg msg;
  if (!packageOf(n, &msg) || msg.result != 0)
    return;
  urgentCallNumberList = CallPackages::emergencyNumbers(msg);
}

void CompoundCallController::dealWithMsgOfIncomingCall(const Notification &n) {
  UIMsg msg;
  if (packageOf(n, &msg))
    showIncomingCall(CallPackages::incomingNumber(msg));
}

void CompoundCallController::dealWithMsgOfWaitingCall(const Notification &n) {
  UIMsg msg;
  if (packageOf(n, &msg))
    showWaitingCall(CallPackages::waitingNumber(msg));
}

void CompoundCallController::dealWithMsgOfCallStageChanged(const Notification &n) {
  UIMsg msg;
  if (!packageOf(n, &msg))
    return;
  if (supportMultipleCall()) {
    checkCallerState();
    return;
  }
  callStageDidChange(CallPackages::stageCode(msg));
}

void CompoundCallController::dealWithMsgOfRing(const Notification &) {}

void CompoundCallController::dealWithMsgOfCheckCall(const Notification &n) {
  UIMsg msg;
  if (!packageOf(n, &msg))
    return;
  const QList<CallPackages::CallerRecord> callers = CallPackages::callerList(msg);
  if (supportMultipleCall())
    upDateCaller(callers);
  else
    receiveCallerListInSingleMode(callers);
}

void CompoundCallController::dealWithMultipleCallOptResult(const Notification &) {
  if (supportMultipleCall())
    checkCallerState();
}

// ---- requests ----

namespace {
CompoundCallController::RequestObserver &requestObserver() {
  static CompoundCallController::RequestObserver observer;
  return observer;
}
} // namespace

void CompoundCallController::setRequestObserver(RequestObserver observer) {
  requestObserver() = std::move(observer);
}

void CompoundCallController::sendRequest(int minor, const QByteArray &data) {
  if (requestObserver())
    requestObserver()(minor, data);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleCall, CallPackages::kRequestMajor, minor, 0, 0, data);
}

void CompoundCallController::sendCommandOfVoiceCallToNumber(const QString &number) {
  sendRequest(CallPackages::kDialMinor, CallPackages::dialData(number));
}

void CompoundCallController::sendCommandOfHangupCall() {
  sendRequest(CallPackages::kHangupMinor);
}

void CompoundCallController::sendCommandOfAnswerCall() {
  sendRequest(CallPackages::kAnswerMinor);
}

void CompoundCallController::sendCommandOfCallDTMF(QChar key) {
  sendRequest(CallPackages::kDtmfMinor, QByteArray(1, char(key.toLatin1())));
}

void CompoundCallController::sendCHLDCmdWithOption(quint32 option) {
  QByteArray data(4, '\0');
  for (int i = 0; i < 4; ++i)
    data[i] = char((option >> (8 * i)) & 0xFF);
  sendRequest(CallPackages::kChldMinor, data);
}

void CompoundCallController::checkCallerState() {
  sendRequest(CallPackages::kCallerListMinor);
}

// ---- audio ----

SharedDistantConnection *CompoundCallController::voiceDataConnection() const {
  return serverProto_ ? serverProto_ : SharedDistantConnection::shardConnection();
}

void CompoundCallController::startVoiceDataSequenceGrabbing() {
  if (audioRunning_)
    return;
  audioRunning_ = true;
  ++audioStarts_;
  if (!audioPath_) {
    const ConfigManager *config = ConfigManager::sharedConfigManager();
    const QString folder = config ? config->configFilePathOfKey(kCMVoiceCallFolder) : QString();
    SharedDistantConnection *link = voiceDataConnection();
    audioPath_ = std::make_unique<CallAudioPath>(link, link->backendBusName(), folder);
  }
  audioPath_->setMicrophoneMuted(microPhoneIsMute_);
  // The call goes on without the microphone. The notice never waits (this runs inside the
  // stage-code and caller-list handlers) and comes once a session: a machine without a
  // microphone lacks one on every call.
  if (!audioPath_->start() && !audioProblemTold_) {
    audioProblemTold_ = true;
    alert(QStringLiteral("Call"),
          QStringLiteral("Couldn't create an audio channel.  Check your audio device connections and try again."));
  }
}

void CompoundCallController::stopVoiceDataSequenceGrabbing() {
  if (!audioRunning_)
    return;
  audioRunning_ = false;
  ++audioStops_;
  if (audioPath_)
    audioPath_->stop(isDeviceOnline());
}
