// The road of one connect and one disconnect over dial-up: the button's action and its dispatch
// by connection type, the PS attach, the status polling with its PPP state handlers, the record
// of the connection, and the device and power events that end a connection.
#include "DialController.h"

#include "ConfigService.h"
#include "DataSessionLayout.h"
#include "DialControllerSupport.h"
#include "DialRecordController.h"
#include "DialService.h"
#include "MainWindowNeighbour.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "SettingsNeighbour.h"
#include "SleepWatcher.h"
#include "StatisticSource.h"
#include "StatisticsView.h"
#include "TextFormats.h"

#include "CallsNeighbour.h"
#include "Neighbourhood.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace dialsupport;
using namespace DataSessionLayout;

namespace {
double g_timeScale = 1.0;
constexpr int kPollMs = 100;
constexpr int kPerformDelayMs = 50;
constexpr double kAttachAnswerSeconds = 10.0;

QByteArray u32Bytes(quint32 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(value, b.data());
  return b;
}

QString &recordState() {
  static QString state;
  return state;
}
} // namespace

void DialController::setTimeScale(double scale) {
  g_timeScale = scale > 0 ? scale : 1.0;
}

int DialController::scaledMs(double seconds) {
  if (!(seconds > 0))
    return 0;
  return int(std::min(seconds * 1000.0 * g_timeScale, 24.0 * 3600 * 1000));
}

QString DialController::recordInState(const QString &state) {
  if (!state.isNull())
    recordState() = state;
  return recordState();
}

// ---- the action ----

void DialController::dialNotification(const Notification &) {
  const CallsNeighbour *call = Neighbourhood::calls();
  if (call && call->callStage() != 0 && call->is2GNetRegisted()) {
    NSRunAlertPanelExt(word(QStringLiteral("Tips")), word(QStringLiteral("Please disconnet the calliing first!")),
                       word(QStringLiteral("OK")));
    return;
  }
  // One request per user action: the small window's button gets no call of its own, since a
  // second request would find the first under way and cancel it.
  DialOption(m_ConnectButton ? static_cast<QObject *>(m_ConnectButton.data()) : this);
}

void DialController::dialOptionExt(QObject *) {
  DialOption(m_ConnectButton ? static_cast<QObject *>(m_ConnectButton.data()) : this);
}

void DialController::btnZUDEConnect(QObject *) {
  if (connectStatus_ == kConnected)
    openSafari(moduleValue(settingDict(), kInternet, QStringLiteral("AutoLaunchURLString")).toString());
  else if (connectStatus_ == kDisconnected)
    DialOption(m_ConnectButton ? static_cast<QObject *>(m_ConnectButton.data()) : this);
}

void DialController::DialOption(QObject *sender) {
  // The direction is the one the user asked for now; the questions below may outlast it.
  const bool wantsConnect = connectStatus_ == kDisconnected;
  if (wantsConnect) {
    if (checkDeviceLockStatus(sender))
      return;
    if (!allowUserConnect())
      return;
    if (!allowRoamWithAlert())
      return;
    const bool dataLimit =
        SettingValue::toBool(moduleValue(settingDict(), QStringLiteral("Record"), QStringLiteral("recordLimitState")));
    if (!(dataLimit ? displayDataLimitWarning() : displayTimeLimitWarning()))
      return;
    // The account sheet's OK goes on with the checks that follow it (resumeConnectAfterAccount).
    if (checkUsernameFlag_ && checkAPNAccount())
      return;
    if (!finishConnectChecks(sender))
      return;
  }
  if (!wantsConnect && connectStatus_ == kConnected) {
    if (!allowUserDisconnect())
      return;
    if (!dialDisconnectWhenRoamForDidoro())
      return;
    warnLimitFlag = false;
    autoDisconnectFlag = false;
    if (sender)
      setHadDoManualDisconnect(true);
  }
  schedulePerformDialOption(sender, wantsConnect);
}

bool DialController::finishConnectChecks(QObject *sender) {
  if (switchOn(settingDict(), QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay")) &&
      connectWarningsDisplayFlag_ && wndConnectWarning_) {
    if (runProfileSheet(wndConnectWarning_, QStringLiteral("connectWarningWin")) != 1)
      return false;
    // Shown once until the device goes: the OK stands for the connects that follow.
    connectWarningsDisplayFlag_ = false;
  }
  if (switchOn(settingDict(), kInternet, QStringLiteral("ChangePosForProfile"))) {
    displayUKMTSWaring();
    if (!clickOKForAPNPromptFlag_)
      return false;
  }
  if (moduleValue(settingDict(), kInternet, QStringLiteral("LockNetFrequencyWhenConnect")).isValid())
    readNetFrequencyLockStatus();
  if (sender)
    setManualConnect(true);
  bManualConnectSuccess_ = false;
  return true;
}

void DialController::resumeConnectAfterAccount(QObject *sender) {
  // The link may have come up or the device gone while the sheet was open.
  if (connectStatus_ != kDisconnected || isDeviceRemoved_)
    return;
  if (finishConnectChecks(sender))
    schedulePerformDialOption(sender, true);
}

void DialController::schedulePerformDialOption(QObject *sender, bool wantsConnect) {
  // The request goes one way, fixed when it was made: a question answered after the link
  // changed must not turn a disconnect into a connect.
  performDialOptionWantsConnect_ = wantsConnect;
  performDialOptionSender_ = sender;
  performDialOptionSenderSet_ = sender != nullptr;
  performDialOptionTimer_.start(kPerformDelayMs);
}

bool DialController::performDialOptionStillApplies() const {
  if (performDialOptionWantsConnect_)
    return connectStatus_ == kDisconnected;
  return connectStatus_ == kConnecting || connectStatus_ == kConnected;
}

void DialController::performDialOption(QObject *sender) {
  if (readConnectType() == kDialUp) {
    switch (connectStatus_) {
    case kConnected:
      setManualDisconnect(true);
      DialDisconnect();
      break;
    case kConnecting:
      DialCancelConnect();
      break;
    case kDisconnected:
      // A refused question before the connect leaves the button as the question left it.
      if (!doBeforeConnect())
        return;
      if (sender)
        setApnCycleEnable(true);
      setDisplayDisConnectingFlag(false);
      checkIsAttachPSForConnect();
      if (connectStatus_ == kConnecting) {
        // A connect under way can be cancelled from the button from its start, not only once
        // the network is being set up.
        setConnectBtnEnable(false);
        performCancelDialAction();
        return;
      }
      break;
    default:
      break;
    }
  } else {
    if (connectStatus_ == kConnected) {
      setManualDisconnect(true);
      NDISDialDisconnect();
    } else if (connectStatus_ == kDisconnected) {
      if (sender)
        setApnCycleEnable(true);
      NDISDialConnect();
    }
  }
  setConnectBtnEnable(false);
}

void DialController::CancelConnect(QObject *) {
  stopConnectionTimer();
  setConnectBtnEnable(true);
  DialDisconnect();
  // Nothing polls any more, so no link-down report will finish the disconnect: finish it here.
  StopTimerOfGetConnectState();
}

// ---- PS attach ----

void DialController::checkIsAttachPSForConnect() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("PSDomainSettings"))) {
    DialConnect();
    return;
  }
  willConnectToInternet_ = true;
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Init")));
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(false);
  const QVariant interval = moduleValue(settingDict(), kInternet, QStringLiteral("AttachPSInterval"));
  attachTimer_.start(scaledMs(interval.isValid() ? SettingValue::toDouble(interval) : 3.0));
}

void DialController::attachPS() {
  bAttatchPS_ = true;
  const int mode = Neighbourhood::settings() ? Neighbourhood::settings()->getNetworkMode() : 2;
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, kSetNetworkMode, 0, 0,
                                      u32Bytes(quint32(mode)) + u32Bytes(2));
  // The dial waits for the answer; one that never comes must not hold the button for good.
  if (willConnectToInternet_)
    attachAnswerTimer_.start(scaledMs(kAttachAnswerSeconds));
}

void DialController::deattachPS() {
  bAttatchPS_ = false;
  const int mode = Neighbourhood::settings() ? Neighbourhood::settings()->getNetworkMode() : 2;
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, kSetNetworkMode, 0, 0,
                                      u32Bytes(quint32(mode)) + u32Bytes(0));
}

void DialController::checkISDetatchPS() {
  if (switchOn(settingDict(), kInternet, QStringLiteral("PSDomainSettings")) && bAttatchPS_) {
    willConnectToInternet_ = false;
    deattachPS();
  }
}

void DialController::dealWithSetNetworkModeResult(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification))
    return;
  if (!switchOn(settingDict(), kInternet, QStringLiteral("PSDomainSettings")) || !willConnectToInternet_ ||
      connectStatus_ != kDisconnected)
    return;
  attachAnswerTimer_.stop();
  if (msg.result != 0) {
    attachFailed();
    return;
  }
  willConnectToInternet_ = false;
  DialConnect();
}

void DialController::attachFailed() {
  attachTimer_.stop();
  attachAnswerTimer_.stop();
  if (!willConnectToInternet_)
    return;
  willConnectToInternet_ = false;
  bAttatchPS_ = false;
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Idle")));
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  if (!isDeviceRemoved_)
    setConnectBtnEnable(true);
  notificationCenter->postNotificationName(QString::fromLatin1(kConnectFailed), this);
}

// ---- dial-up ----

void DialController::sendDialConnectMsg(bool connectNow) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, connectNow ? kDialConnect : kDialDisconnect, 0, 0);
}

void DialController::getConnectPppOption() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, kDialPppOption, 0, 0);
}

void DialController::getConnectStatus() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, kDialStatus, 0, 0);
  getConnectPppOption();
  checkRecordLimit();
  recordLimitWarnForVavu();
}

void DialController::setNetFrequencyLockStatus() {
  const int lock =
      SettingValue::toInt(moduleValue(settingDict(), kInternet, QStringLiteral("LockNetFrequencyWhenConnect")));
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kConfigMajor, kSetFreqLock, 0, 0, u32Bytes(1) + u32Bytes(quint32(lock)));
}

void DialController::readNetFrequencyLockStatus() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kConfigMajor, kReadFreqLock, 0, 0);
}

void DialController::dealWithNetFrequencyLockReadResult(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.dataLength < 4)
    return;
  if (qFromLittleEndian<quint32>(msg.data.data()) == 0 &&
      moduleValue(settingDict(), kInternet, QStringLiteral("LockNetFrequencyWhenConnect")).isValid())
    setNetFrequencyLockStatus();
}

void DialController::DialConnect() {
  setConnectStatus(kConnecting);
  setManualDisconnect(false);
  apnCycleEnd();
  apnCycleStart();
  connectTime15 = 0;
  saveRecordFlag = false;
  warnLimitFlag = warnLimitExceedFlag = warnLimit25Flag_ = warnLimit50Flag_ = warnLimit75Flag_ = true;
  m_receiveData = m_sendData = 0;
  m_notified = false;
  m_launchURLState = true;
  redialPending_ = false;
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(false);
  setConnectStateHidden(false);
  statusDict_.clear();
  recordInState(QStringLiteral("Record In Create"));
  InitConnectState();
  sendDialConnectMsg(true);
  stopConnectionTimer();
  m_TimerToGetConnectState = new QTimer(this);
  connect(m_TimerToGetConnectState, &QTimer::timeout, this, &DialController::getConnectStatus);
  m_TimerToGetConnectState->start(kPollMs);
  sendConnectStatusMsg(true);
  setHadConnectAction(true);
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(false);
  statusDict_.insert(QStringLiteral("starttime"), QDateTime::currentDateTime());
  statusDict_.insert(QStringLiteral("connectname"), m_DialConfigList ? m_DialConfigList->currentText() : QString());
  openConnectStateWindowForDidoro(true);
}

void DialController::DialDisconnect() {
  // Without a connection there is nothing to take down, and no link-down report would follow.
  if (connectStatus_ == kDisconnected)
    return;
  setConnectStatus(kDisconnecting);
  saveRecordFlag = true;
  saveDialRecord();
  sendDialConnectMsg(false);
  apnCycleEnd();
  if (switchOn(settingDict(), kInternet, QStringLiteral("DisplayStatisticsWin")))
    displayStatisticsForDisconnect();
  sendResetStatisticsNotification();
  openConnectStateWindowForDidoro(true);
}

void DialController::DialCancelConnect() {
  setManualDisconnect(true);
  setConnectStatus(kDisconnecting);
  sendDialConnectMsg(false);
  apnCycleEnd();
}

// ---- dial-up status ----

void DialController::dealWithMsgOfPPPConnectStatus(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1 || !m_TimerToGetConnectState)
    return;
  Status s;
  // A record shorter than its layout says nothing; read as zeros it would be "link down".
  if (!readPppStatus(msg.payload(), &s))
    return;
  setIPAddress(s.address);
  processPPPConnectStatus(s.pppState, s.connectTime, s.sent, s.received);
  calculateTransferSpeed();
}

void DialController::dealWithMsgOfDialConnectStatus(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1 || !m_TimerToGetConnectState)
    return;
  Status s;
  if (!readOldPppStatus(msg.payload(), &s))
    return;
  processPPPConnectStatus(s.pppState, s.connectTime, s.sent, s.received);
  calculateTransferSpeed();
}

void DialController::dealWithMsgOfDialConnectPppOption(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1 || msg.dataLength < 4)
    return;
  if (!m_TimerToGetConnectState)
    return;
  const quint32 address = qFromLittleEndian<quint32>(msg.data.data());
  statusDict_.insert(QStringLiteral("localaddr"), qint64(address));
  if (m_IPAddress && connectStatus_ != kDisconnected)
    m_IPAddress->setText(DialService::sharedDialService()->filterIPAddress(addressFromU32(address)));
}

void DialController::processPPPConnectStatus(int pppState, double connectTime, float sent, float received) {
  const int state = preDealWithConnectStatus(pppState);
  // After a redial for the next profile, the link-down reports already on their way belong to
  // the attempt that failed.
  if (redialPending_) {
    if (state == kPppDisconnected)
      return;
    redialPending_ = false;
  }
  switch (state) {
  case kPppDisconnected:
    setPPPDisconnectedSatus();
    break;
  case kPppInitializing:
    setPPPInitializingStatus();
    break;
  case kPppConnectingLink:
    setPPPConnectingLinkStatus();
    break;
  case kPppNegotiatingLink:
    setPPPNegotiatingLinkStatus();
    break;
  case kPppAuthenticating:
    setPPPAuthenticatingStatus();
    break;
  case kPppNegotiatingNetwork:
    setPPPNegotiatingNetworkStatus();
    break;
  case kPppConnected:
    setPPPConnectedStatusWithTime(qint64(std::clamp(connectTime, 0.0, 1.0e12)), sent, received);
    break;
  case kPppTerminating:
    setPPPTerminatingStatus();
    break;
  case kPppDisconnectingLink:
    setPPPDisconnectingLinkStatus();
    break;
  default:
    break;
  }
}

int DialController::preDealWithConnectStatus(int state) {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("noNeedMiddleStatus")))
    return state;
  if (state == kPppNegotiatingLink || state == kPppAuthenticating || state == kPppNegotiatingNetwork)
    return kPppConnectingLink;
  if (state == kPppTerminating) {
    setConnectBtnEnable(false);
    return kPppDisconnectingLink;
  }
  return state;
}

bool DialController::showDialingWording() {
  const QVariant speed = moduleValue(settingDict(), kInternet, QStringLiteral("DialWordingSpeed"));
  if (!speed.isValid())
    return true;
  ++dialingWordingCounter_;
  if (dialingWordingCounter_ >= SettingValue::toInt(speed)) {
    dialingWordingCounter_ = 0;
    return true;
  }
  return false;
}

void DialController::setPPPInitializingStatus() {
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Init")));
}

void DialController::setPPPConnectingLinkStatus() {
  if (showDialingWording()) {
    connectingToggle_ = !connectingToggle_;
    if (m_ConnectState)
      m_ConnectState->setText(
          word(connectingToggle_ ? QStringLiteral("Connecting......") : QStringLiteral("Connecting...")));
  }
  if (switchOn(settingDict(), kInternet, QStringLiteral("ResetConnectBtnWhenConnecting")))
    resetConnectBtnStatusWhenConnecting();
}

void DialController::setPPPNegotiatingLinkStatus() {
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Establish")));
}

void DialController::setPPPAuthenticatingStatus() {
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Authenticate")));
}

void DialController::setPPPNegotiatingNetworkStatus() {
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Create Network")));
  performCancelDialAction();
}

void DialController::setPPPTerminatingStatus() {
  setConnectBtnEnable(false);
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Terminate")));
}

void DialController::setPPPDisconnectingLinkStatus() {
  if (showDialingWording()) {
    disconnectingToggle_ = !disconnectingToggle_;
    const bool asConnecting =
        switchOn(settingDict(), kInternet, QStringLiteral("noDisplayDisconnectingAfterConnectFailed")) &&
        !displayDisConnectingFlag_;
    const QString text =
        asConnecting
            ? (disconnectingToggle_ ? QStringLiteral("Connecting......") : QStringLiteral("Connecting..."))
            : (disconnectingToggle_ ? QStringLiteral("Disconnecting......") : QStringLiteral("Disconnecting..."));
    if (m_ConnectState)
      m_ConnectState->setText(word(text));
  }
  if (switchOn(settingDict(), kInternet, QStringLiteral("ResetConnectBtnWhenDisconnecting")))
    resetConnectBtnStatusWhenDisconnecting();
  quitOnceDisconnected();
}

void DialController::performCancelDialAction() {
  if (connectBtnEnabled_ || connectStatus_ != kConnecting)
    return;
  connectBtnEnabled_ = true;
  ConfigService *config = ConfigService::sharedConfigService();
  const bool tooltips = config && config->displayTooltipForConnectBtn();
  if (m_ConnectButton) {
    m_ConnectButton->setEnabled(true);
    m_ConnectButton->setText(word(QStringLiteral("Internet_btnConnect_Cancel")));
    if (tooltips)
      m_ConnectButton->setToolTip(word(QStringLiteral("Internet_btnCancel")));
  }
  if (btnConnectSimple) {
    btnConnectSimple->setText(word(QStringLiteral("Internet_btnConnectSimple_Cancel")));
    btnConnectSimple->setToolTip(word(QStringLiteral("Internet_btnConnectSimple_Cancel")));
  }
  ruvozUISetConnectBtnTitle(word(QStringLiteral("Cancel")));
  setConnectBtnImage();
}

void DialController::resetConnectBtnStatusWhenConnecting() {
  for (QPushButton *button : {m_ConnectButton.data(), btnConnectSimple.data()}) {
    if (!button)
      continue;
    button->setText(word(QStringLiteral("Connecting")));
    if (button == btnConnectSimple)
      button->setToolTip(word(QStringLiteral("Connecting")));
    button->setEnabled(false);
  }
}

void DialController::resetConnectBtnStatusWhenDisconnecting() {
  for (QPushButton *button : {m_ConnectButton.data(), btnConnectSimple.data()}) {
    if (!button)
      continue;
    button->setText(word(QStringLiteral("Disconnecting")));
    if (button == btnConnectSimple)
      button->setToolTip(word(QStringLiteral("Disconnecting")));
    button->setEnabled(false);
  }
}

void DialController::setPPPConnectedStatusWithTime(qint64 seconds, float sent, float received) {
  if (connectStatus_ != kConnected && connectStatus_ != kDisconnecting) {
    setDialBtnWithStatus(true);
    if (auto *main = Neighbourhood::mainWindow()) {
      main->openMainWindow();
      main->miniaturizeMainWindowWhenConnectSucced();
    }
  }
  performActionWhenFirstConnected();
  if (isManalConnect()) {
    bManualConnectSuccess_ = true;
    setManualConnect(false);
  }
  recordInState(QStringLiteral("Record In Runing"));
  m_connecttime = seconds;
  setConnectTimeInfo();
  m_receiveData = received;
  m_sendData = sent;
  setTransferDataInfo();
  sendStatisticsNotification();
  displayMonthlyData();
  // Once per run: the updater learns the device is ready now that it has a connection.
  if (!m_haveSendUpdateMessage) {
    m_haveSendUpdateMessage = true;
    if (auto *main = Neighbourhood::mainWindow())
      main->sendUpdaterDeviceReady();
  }
}

void DialController::setPPPDisconnectedSatus() {
  if (apnCycleTryNext()) {
    redialPending_ = true;
    sendDialConnectMsg(true);
    return;
  }
  // A link that went down while it was being made, not by the user's cancel, is a failed connect.
  const bool connectFailed = connectStatus_ == kConnecting && !manualDisconnectFlag_;
  bool retrying = false;
  if (isDoReconnectAfterDisconnect() && checkAutoConnectForPPPFailed()) {
    retrying = checkAutoConnectByTimes() && !isDeviceRemoved_ && Neighbourhood::settings() &&
               Neighbourhood::settings()->allowAutoReconnect();
    doReconnectAfterAutoDisconnect();
    setManualConnect(false);
    if (auto *main = Neighbourhood::mainWindow())
      main->openMainWindow();
    openConnectFailedWindow();
  } else if (auto *device = Neighbourhood::deviceStatus(); device && device->apnCyleWhenRoamToNoRoam()) {
    device->setApnCyleWhenRoamToNoRoam(false);
    DialOption(nullptr);
  }
  playShortSound(kSoundOffline);
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(true);
  sendConnectStatusMsg(false);
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  if (!saveRecordFlag)
    saveDialRecord();
  clearSpeedGraphs();
  if (statisticForm)
    statisticForm->updateInterface();
  StopTimerOfGetConnectState();
  ruvozUIManualDisconnect();
  if (!manualDisconnectFlag_)
    notificationCenter->postNotificationName(QString::fromLatin1(kConnectFailed), this);
  checkISDetatchPS();
  if (connectFailed)
    showConnectFailure(retrying);
  quitOnceDisconnected();
}

void DialController::showConnectFailure(bool retrying) {
  QString text;
  if (retrying)
    text = word(QStringLiteral("Dial_ConnectFailedRetrying"));
  else if (reconnectTimes > 0)
    text = fillWordedFormat(word(QStringLiteral("Dial_ConnectFailedGaveUp")), {reconnectTimes});
  else
    text = word(QStringLiteral("Dial_ConnectFailed"));
  connectFailureText_ = text;
  if (m_ConnectState)
    m_ConnectState->setText(text);
}

// ---- end of a connection ----

void DialController::stopConnectionTimer() {
  if (m_TimerToGetConnectState) {
    m_TimerToGetConnectState->stop();
    m_TimerToGetConnectState->deleteLater();
    m_TimerToGetConnectState = nullptr;
  }
  timerConnectInterval_.stop();
}

void DialController::resetConnectionFields() {
  const ConnectFigures::Units units = ConnectFigures::Units::fromSettings();
  const QString zeroTime = QStringLiteral("00:00:00");
  if (m_IPAddress)
    m_IPAddress->setText(QStringLiteral("0.0.0.0"));
  for (QLabel *label : {m_ConnectTime.data(), labelConnectTimeSimple.data(), InterUiTotalTime_.data()})
    if (label)
      label->setText(zeroTime);
  for (QLabel *label : {m_FluxForSend.data(), m_FluxForReceive.data(), m_TotalData.data()})
    if (label)
      label->setText(ConnectFigures::idleDataText(units));
  for (QLabel *label : {m_SpeedForSend.data(), m_SpeedForReceive.data(), labelSpeedForSendSimple.data(),
                        labelSpeedForReceiveSimple.data()})
    if (label)
      label->setText(ConnectFigures::idleSpeedText(units));
}

void DialController::StopTimerOfGetConnectState() {
  stopConnectionTimer();
  resetConnectionFields();
  if (monthlyData_)
    monthlyData_->setText(QStringLiteral("_____"));
  setConnectStateHidden(true);
  statisticsInfo_.clear();
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  InitConnectState();
  clearSpeedGraphs();
  if (statisticForm)
    statisticForm->updateInterface();
  sendResetStatisticsNotification();
  if (connectStatus_ != kDisconnected)
    setDialBtnWithStatus(false);
}

void DialController::InitConnectState() {
  m_connecttime = 0;
  m_sendData = m_receiveData = 0;
  m_sendSpeed = m_receiveSpeed = 0;
  speedMeter_.reset();
}

void DialController::setIPAddress(const QString &address) {
  statusDict_.insert(QStringLiteral("localaddr"), address);
  if (connectStatus_ != kDisconnected && m_IPAddress)
    m_IPAddress->setText(DialService::sharedDialService()->filterIPAddress(address));
}

void DialController::saveDialRecord() {
  const QDateTime start = statusDict_.value(QStringLiteral("starttime")).toDateTime();
  if (start.isValid())
    statusDict_.insert(QStringLiteral("disconnecttime"), start.addSecs(m_connecttime));
  if (m_DialConfigList)
    statusDict_.insert(QStringLiteral("connectname"), m_DialConfigList->currentText());
  if (recordInState() != QLatin1String("Record In Runing"))
    return;
  if (g_DialRecordController)
    g_DialRecordController->appendRecord(statusDict_);
  recordInState(QStringLiteral("Record In Saved"));
}

// ---- device and power events ----

void DialController::deviceRemoved(const Notification &) {
  setDeviceStatus(true);
  dealWithMsgOfDeviceOffline();
  for (QLineEdit *field : {m_TelephoneNumber.data(), m_Username.data(), m_Password.data()})
    if (field)
      field->setEnabled(false);
  bManualConnectSuccess_ = false;
  // The next card is a new one: its IMSI picks its profiles again.
  alreadyGetSimIMSIFlag_ = false;
  bAttatchPS_ = false;
  setPSDomainStatus(false);
  reconnectTimes = 0;
  autoReconnectTimer_.stop();
  if (switchOn(settingDict(), QString(), QStringLiteral("DisplayBackgroundWhileDisconnect"))) {
    for (QWidget *view : {viewBackground_.data(), viewContainerEmbedInUI_.data()})
      if (view)
        view->hide();
    displayStaticBackGroundPicAndNotDisplayWebPages();
  }
  reconnectAfterDisconnectTimer_.stop();
  modemStartUpProcessStateChanged_ = false;
  setConnectBtnEnable(false);
  setApnCycleEnable(true);
  setDeviceStatusStringRows(1);
  ruvozUITopFixedImage(QString(), QStringLiteral("freeToFun_HomePage.png"), word(QStringLiteral("Connect")),
                       word(QStringLiteral("No Device")));
  setHadDoManualDisconnect(false);
  setDisplayDisConnectingFlag(false);
  if (switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM")) && m_DialConfigList) {
    dialConfigListSelectItemAtIndex(1);
    m_DialConfigList->setEnabled(false);
  }
  setConnectWarningsDisplayFlag(true);
  setHadConnectAction(false);
  setModemAndSimStateString(QStringLiteral("Dial_tfdDeviceNotDetected"));
  disconnectAfterNoSignal90s_ = false;
  noSignalTimer_.stop();
}

void DialController::dealWithMsgOfDeviceOffline() {
  if (GetisDialNow()) {
    SelectDisconnectAction();
    StopTimerOfGetConnectState();
    playShortSound(kSoundOffline);
  }
  setManualDisconnect(false);
  reconnectTimes = 0;
  StopTimerOfGetConnectState();
  setConnectBtnEnable(false);
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Idle")));
  setConnectStateForDidoro(false);
  willConnectToInternet_ = false;
  attachTimer_.stop();
  attachAnswerTimer_.stop();
}

void DialController::receiveDeviceOn() {
  setDeviceStatus(false);
}

void DialController::netcardChanged(int what) {
  switch (what) {
  case 2:
    receiveDeviceOn();
    break;
  case 12:
    if (qelMsgCenter)
      qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, kNdisIsConnected, 0, 0);
    setDeviceStatusStringRows(1);
    ruvozUITopFixedImage(QStringLiteral("freeToFun.png"), QString(), QString(), QString());
    break;
  case 1:
    setDeviceStatusStringRows(1);
    ruvozUITopFixedImage(QString(), QString(), QString(), word(QStringLiteral("No Device")));
    break;
  default:
    break;
  }
}

void DialController::simReady(const Notification &) {
  netcardChanged(12);
}

void DialController::setDataServicesStatus(const Notification &notification) {
  if (!notification.userInfo.value(QStringLiteral("DataServiceSwitch")).toBool())
    setConnectBtnEnable(false);
}

void DialController::datausageRest(const Notification &) {
  m_sendData = 0;
  m_receiveData = 0;
}

void DialController::tabViewItemWillChange(const Notification &notification) {
  if (notification.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString() == QLatin1String("Internet")) {
    loadDialConfig();
    return;
  }
  if (auto *sms = Neighbourhood::messages())
    sms->cleanTextControlShowCertainNewSmsContent();
}

void DialController::watchSleepAndWake() {
  auto *watcher = new SleepWatcher(this);
  sleepWatcher_ = watcher;
  connect(watcher, &SleepWatcher::willSleep, this, &DialController::machineWillSleep);
  connect(watcher, &SleepWatcher::didWake, this, &DialController::machineDidWake);
}

void DialController::machineWillSleep() {
  if (readConnectType() != kDialUp && connectStatus_ != kDisconnected) {
    setConnectBtnEnable(false);
    NDISDialDisconnect();
  }
  setManualDisconnect(true);
}

void DialController::machineDidWake() {
  if (switchOn(settingDict(), kInternet, QStringLiteral("NotAutoConnectForPPPFailed")) &&
      !switchOn(settingDict(), QString(), QStringLiteral("AutoConnect")))
    return;
  reconnect(true);
}
