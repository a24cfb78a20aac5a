// The NDIS road: the backend pushes the link's state and its transfer figures, nothing is polled;
// the connection time is counted here, once a second, on the main thread.
#include "DialController.h"

#include "ConfigService.h"
#include "DataSessionLayout.h"
#include "DialControllerSupport.h"
#include "DialService.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "SettingsNeighbour.h"

#include <QComboBox>
#include <QLabel>
#include <QtEndian>

using namespace dialsupport;
using namespace DataSessionLayout;

void DialController::sendNDISDialConnectMsg(bool connectNow) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModule, kDialMajor, connectNow ? kNdisConnect : kNdisDisconnect, 0, 0);
}

void DialController::NDISDialConnect() {
  setConnectStatus(kConnecting);
  setManualDisconnect(false);
  apnCycleEnd();
  apnCycleStart();
  warnLimitFlag = true;
  m_notified = false;
  m_launchURLState = true;
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(false);
  setConnectStateHidden(false);
  statusDict_.clear();
  recordInState(QStringLiteral("Record In Create"));
  InitConnectState();
  sendNDISDialConnectMsg(true);
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Connecting...")));
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(false);
  statusDict_.insert(QStringLiteral("connectname"), m_DialConfigList ? m_DialConfigList->currentText() : QString());
}

void DialController::NDISDialDisconnect() {
  if (connectStatus_ == kDisconnected)
    return;
  setConnectStatus(kDisconnecting);
  saveDialRecord();
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Disconnecting...")));
  if (switchOn(settingDict(), kInternet, QStringLiteral("ResetConnectBtnWhenDisconnecting")))
    resetConnectBtnStatusWhenDisconnecting();
  sendResetStatisticsNotification();
  sendNDISDialConnectMsg(false);
}

void DialController::dealWithMsgOfNDISDialStatus(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1 || msg.dataLength < 4)
    return;
  switch (qFromLittleEndian<quint32>(msg.data.data())) {
  case kNdisDisconnected:
    dealWithOfNDISDialDisconnected();
    break;
  case kNdisConnected:
    dealWithOfNDISDialConnected();
    break;
  case kNdisConnecting:
    dealWithOfNDISDialConnecting();
    break;
  case kNdisFailed:
    dealWithOfNDISDialConnectFailed();
    break;
  default:
    break;
  }
}

void DialController::dealWithOfNDISDialDisconnected() {
  if (connectStatus_ != kDisconnected)
    playShortSound(kSoundOffline);
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(true);
  // A link that dropped is saved while its time is still counted: once the fields are reset its
  // end would be its start.
  saveDialRecord();
  StopTimerOfGetConnectState();
  AutoReconnectForNdis();
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  quitOnceDisconnected();
}

void DialController::dealWithOfNDISDialConnected() {
  if (isDeviceRemoved_)
    return;
  if (m_launchURLState) {
    m_connecttime = 0;
    timerConnectInterval_.start();
    // The start page opens once per connection on both roads, when the status turns connected
    // (the settings window's connectStatusDidChange).
    // Clears the mark: the operator's first-connected pages run once per connection.
    performActionWhenFirstConnected();
  }
  if (!m_notified) {
    m_notified = true;
    playShortSound(kSoundOnline);
  }
  if (connectStatus_ != kConnected)
    setDialBtnWithStatus(true);
  recordInState(QStringLiteral("Record In Runing"));
  statusDict_.insert(QStringLiteral("starttime"), QDateTime::currentDateTime());
}

void DialController::dealWithOfNDISDialConnecting() {
  if (m_ConnectState)
    m_ConnectState->setText(word(QStringLiteral("Connecting...")));
  if (switchOn(settingDict(), kInternet, QStringLiteral("ResetConnectBtnWhenConnecting")))
    resetConnectBtnStatusWhenConnecting();
}

void DialController::dealWithOfNDISDialConnectFailed() {
  if (apnCycleTryNext()) {
    sendNDISDialConnectMsg(true);
    return;
  }
  playShortSound(kSoundOffline);
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(true);
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  StopTimerOfGetConnectState();
  // After the idle look, which would hide it: why the connect ended.
  const bool retrying = isDoReconnectAfterDisconnect() && checkAutoConnectForPPPFailed() && !isDeviceRemoved_ &&
                        switchOn(settingDict(), kInternet, QStringLiteral("AutoReconnectForNdis")) &&
                        checkAutoConnectByTimes() && Neighbourhood::settings() &&
                        Neighbourhood::settings()->allowAutoReconnect();
  showConnectFailure(retrying);
  if (!(reconnectTimes > 1 &&
        switchOn(settingDict(), kInternet, QStringLiteral("DisableAlertWindowWhileAutoConnectFailed"))))
    NSBeginAlertPanelExt(word(QStringLiteral("Warning!")), word(QStringLiteral("NDIS Connection failed!")),
                         word(QStringLiteral("OK")));
  AutoReconnectForNdis();
}

void DialController::dealWithOfNDISDialIsConnected(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1 || msg.result != 0)
    return;
  m_notified = false;
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(false);
  recordInState(QStringLiteral("Record In Create"));
  InitConnectState();
  if (auto *settings = Neighbourhood::settings())
    settings->setSettingBtnStatus(false);
  statusDict_.insert(QStringLiteral("connectname"), m_DialConfigList ? m_DialConfigList->currentText() : QString());
  dealWithOfNDISDialConnected();
}

void DialController::dealWithMsgOfNDISDialTransferData(const Notification &notification) {
  UIMsg msg;
  if (isDeviceRemoved_ || !QELMsgCenter::getMsgPackage(&msg, notification) || msg.type != 1)
    return;
  Status s;
  if (readNdisTransfer(msg.payload(), &s)) {
    m_sendData = s.sent;
    m_receiveData = s.received;
    m_sendSpeed = s.upSpeed;
    m_receiveSpeed = s.downSpeed;
    setIPAddress(s.address);
    setTransferDataInfo();
    checkRecordLimit();
  }
  if (isManalConnect()) {
    bManualConnectSuccess_ = true;
    setManualConnect(false);
  }
  // Once per run, once the link has an address: the updater's device-ready message a little
  // later, when the connection has settled.
  if (!m_haveSendUpdateMessage) {
    m_haveSendUpdateMessage = true;
    if (Neighbourhood::mainWindow() && Neighbourhood::mainWindow()->updaterSupported() &&
        !DialService::sharedDialService()->filterIPAddress(s.address).isEmpty())
      QTimer::singleShot(scaledMs(5.0), this, [] {
        if (auto *main = Neighbourhood::mainWindow())
          main->sendUpdaterDeviceReady();
      });
  }
}

void DialController::refereshConnectTime() {
  ++m_connecttime;
  setConnectTimeInfo();
  setSpeedInfo();
  sendStatisticsNotification();
}
