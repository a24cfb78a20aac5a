// Connecting by itself: the automatic connect with its retry loop and counters, the reconnect
// after a drop, and the two guards that take a connection down when the network service goes.
#include "DialController.h"

#include "ConfigService.h"
#include "DialControllerSupport.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "SettingsNeighbour.h"

using namespace dialsupport;

namespace {
constexpr double kDefaultInterval = 10.0;

double secondsOr(const QVariant &value, double fallback) {
  return value.isValid() ? SettingValue::toDouble(value) : fallback;
}
} // namespace

void DialController::initReconnectTimes() {
  const QVariant max = moduleValue(settingDict(), kInternet, QStringLiteral("MaxReconnectTimes"));
  max_ReconnectTimes_ = max.isValid() ? SettingValue::toInt(max) : 3;
}

void DialController::reconnect(bool reset) {
  if (isDeviceRemoved_)
    return;
  if (switchOn(settingDict(), kInternet, QStringLiteral("noAutoConnectWhenInRoam")) && Neighbourhood::deviceStatus() &&
      Neighbourhood::deviceStatus()->networkRoamStatus() == 0)
    return;
  if (!Neighbourhood::settings() || !Neighbourhood::settings()->allowAutoReconnect())
    return;
  if (reset) {
    setManualDisconnect(false);
    reconnectTimes = 0;
  }
  // One automatic attempt is pending at most: a second request moves it instead of adding a
  // loop that would cancel the connect of the first.
  autoReconnectTimer_.start(scaledMs(autoReconnectInterval()));
}

double DialController::autoReconnectInterval() const {
  const QVariantMap &settings = const_cast<DialController *>(this)->settingDict();
  if (reconnectTimes >= max_ReconnectTimes_) {
    if (switchOn(settings, kInternet, QStringLiteral("ContinueAutoConnect")))
      return secondsOr(moduleValue(settings, kInternet, QStringLiteral("ContinueAutoConnectTime")), kDefaultInterval);
    return kDefaultInterval;
  }
  if (reconnectTimes > 0)
    return secondsOr(settings.value(QStringLiteral("AutoConnectDelayTime")), kDefaultInterval);
  return secondsOr(moduleValue(settings, kInternet, QStringLiteral("AutoReconnectStartTimeAfterDisconnect")),
                   kDefaultInterval);
}

bool DialController::checkAutoConnectByTimes() const {
  if (reconnectTimes < max_ReconnectTimes_)
    return true;
  return switchOn(const_cast<DialController *>(this)->settingDict(), kInternet, QStringLiteral("ContinueAutoConnect"));
}

bool DialController::notAutoConnectWhenInterRoaming() {
  return switchOn(settingDict(), kInternet, QStringLiteral("NotAutoConnectForInterRoam")) &&
         !runtimeObjectForKey(kRTIsSameMCC).toBool();
}

void DialController::disableConnectionAlertWindow() {
  if (switchOn(settingDict(), kInternet, QStringLiteral("DisableAlertWindowWhileAutoConnectFailed")))
    setDialParams();
}

void DialController::autoReconnect() {
  SettingsNeighbour *settings = Neighbourhood::settings();
  if (isDeviceRemoved_ || !checkAutoConnectByTimes() || manualDisconnectFlag_ || !settings ||
      !settings->allowAutoReconnect() || willConnectToInternet_ || notAutoConnectWhenInterRoaming() ||
      settings->getOperatorSelectionForNetwork())
    return;
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  const bool ps = device ? device->checkToReturnPSDomain() : lastPSDomain_;
  if (ps && !settings->isPinPukOrNetSelectWinBeginSheet() && connectStatus_ == kDisconnected) {
    ++reconnectTimes;
    disableConnectionAlertWindow();
    DialOption(nullptr);
    return;
  }
  autoReconnectTimer_.start(scaledMs(kDefaultInterval));
}

bool DialController::isDoReconnectAfterDisconnect() const {
  if (!manualDisconnectFlag_ &&
      !switchOn(const_cast<DialController *>(this)->settingDict(), kInternet, QStringLiteral("apnCycle")))
    return true;
  return !apnCycleEnabled_;
}

bool DialController::checkAutoConnectForPPPFailed() const {
  if (!switchOn(const_cast<DialController *>(this)->settingDict(), kInternet,
                QStringLiteral("NotAutoConnectForPPPFailed")) ||
      bManualConnectSuccess_)
    return true;
  return !isManalConnect();
}

void DialController::doReconnectAfterAutoDisconnect() {
  const QVariant delay = settingDict().value(QStringLiteral("autoReConnectdelayTimeAfterAutoDisconnect"));
  const double seconds = reconnectTimes > 0 && delay.isValid() ? SettingValue::toInt(delay) : 0;
  reconnectAfterDisconnectTimer_.start(scaledMs(seconds));
}

void DialController::reconnectAfterAutoDisconnect() {
  reconnect(false);
}

void DialController::AutoReconnectForNdis() {
  if (isDoReconnectAfterDisconnect() && checkAutoConnectForPPPFailed() && !isDeviceRemoved_ &&
      switchOn(settingDict(), kInternet, QStringLiteral("AutoReconnectForNdis"))) {
    doReconnectAfterAutoDisconnect();
    setManualConnect(false);
  }
}

// ---- the no-signal timer ----

void DialController::changeDialConnectStatusWhenNoSignal(const QByteArray &networkType) {
  const bool noService = networkType == QByteArrayLiteral("No Service");
  if (noService) {
    if (connectStatus_ == kConnected && !noSignalTimer_.isActive())
      noSignalTimer_.start(noSignalDisconnectDelayMs());
    return;
  }
  if (connectStatus_ == kConnected && noSignalTimer_.isActive())
    noSignalTimer_.stop();
  if (!disconnectAfterNoSignal90s_ || connectStatus_ != kDisconnected || noSignalQuestionOpen_)
    return;
  // Asked once: every later report while it is up, or after it was answered, asks nothing.
  // The question waits without blocking, since this runs in a backend report's handler.
  noSignalQuestionOpen_ = true;
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                       word(QStringLiteral("Cost will be increased at roaming status")), roamAlertOKBtnWording(),
                       word(QStringLiteral("Cancel")), [this](int answer, bool) {
                         noSignalQuestionOpen_ = false;
                         disconnectAfterNoSignal90s_ = false;
                         if (answer != 1) {
                           setManualDisconnect(true);
                           return;
                         }
                         if (connectStatus_ == kDisconnected)
                           connectOrDisconnectNetwork(true);
                       });
}

void DialController::disConnectTimer(QObject *) {
  noSignalTimer_.stop();
  if (connectStatus_ != kConnected)
    return;
  connectOrDisconnectNetwork(false);
  disconnectAfterNoSignal90s_ = true;
}

void DialController::connectOrDisconnectNetwork(bool connectNow) {
  if (readConnectType() != kDialUp) {
    if (connectNow)
      NDISDialConnect();
    else
      NDISDialDisconnect();
  } else {
    if (connectNow)
      DialConnect();
    else
      DialDisconnect();
  }
}

QString DialController::roamAlertOKBtnWording() const {
  const bool cont =
      switchOn(const_cast<DialController *>(this)->settingDict(), kInternet, QStringLiteral("RoamAlertContinue"));
  return word(cont ? QStringLiteral("Continue") : QStringLiteral("OK"));
}

// ---- the network-service monitor ----

void DialController::updateNetworkStatus(const Notification &notification) {
  const QString type = notification.userInfo.value(notification.name).toString();
  setIs2GNetWork(type == QLatin1String("GSM") || type == QLatin1String("EDGE") || type == QLatin1String("GPRS") ||
                 type == QLatin1String("2G"));
  const bool available =
      !type.isEmpty() && type != QLatin1String("No Service") && type != QLatin1String("Limited Service");
  if (switchOn(settingDict(), QString(), QStringLiteral("EnableConnectByNetStatus"))) {
    if (auto *settings = Neighbourhood::settings())
      settings->setAutoConnectBtnEnable(available);
    setPSDomainStatus(available);
  }
  if (switchOn(settingDict(), QString(), QStringLiteral("NetworkServiceMonitor")))
    monitorNetworkService(available);
}

void DialController::monitorNetworkService(bool available) {
  if (available) {
    stopNetworkServiceTimer();
    return;
  }
  if (connectStatus_ == kConnected) {
    if (!timerForNoService_.isActive())
      startNetworkServiceTimer();
  } else {
    stopNetworkServiceTimer();
  }
}

void DialController::startNetworkServiceTimer() {
  stopNetworkServiceTimer();
  const double seconds = secondsOr(settingDict().value(QStringLiteral("ServiceTimerInterval")), 60.0);
  timerForNoService_.start(int(std::clamp(seconds, 0.0, 86400.0) * 1000));
}

void DialController::stopNetworkServiceTimer() {
  timerForNoService_.stop();
}
