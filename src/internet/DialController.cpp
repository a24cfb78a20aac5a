#include "DialController.h"

#include "MainWindowNeighbour.h"

#include "ConfigService.h"
#include "ConnectFigures.h"
#include "DataSessionLayout.h"
#include "DialControllerSupport.h"
#include "DialParamsLayout.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "SpeedTestController.h"
#include "StatisticsView.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace dialsupport;

DialController *g_DialController = nullptr;

namespace {
int g_noSignalDisconnectDelayMs = 90000;
} // namespace

void DialController::setNoSignalDisconnectDelayMs(int ms) {
  g_noSignalDisconnectDelayMs = ms;
}

int DialController::noSignalDisconnectDelayMs() {
  return g_noSignalDisconnectDelayMs;
}

DialController::DialController(QObject *parent) : QELUIController(parent) {
  g_DialController = this;
  Neighbourhood::setConnection(this);
  noSignalTimer_.setSingleShot(true);
  connect(&noSignalTimer_, &QTimer::timeout, this, [this] { disConnectTimer(&noSignalTimer_); });
  // Every timer of the road runs on the main thread: the figures it writes are the ones the
  // windows read.
  timerConnectInterval_.setInterval(1000);
  connect(&timerConnectInterval_, &QTimer::timeout, this, &DialController::refereshConnectTime);
  attachTimer_.setSingleShot(true);
  connect(&attachTimer_, &QTimer::timeout, this, &DialController::attachPS);
  attachAnswerTimer_.setSingleShot(true);
  connect(&attachAnswerTimer_, &QTimer::timeout, this, &DialController::attachFailed);
  autoReconnectTimer_.setSingleShot(true);
  connect(&autoReconnectTimer_, &QTimer::timeout, this, &DialController::autoReconnect);
  reconnectAfterDisconnectTimer_.setSingleShot(true);
  connect(&reconnectAfterDisconnectTimer_, &QTimer::timeout, this, &DialController::reconnectAfterAutoDisconnect);
  timerForNoService_.setSingleShot(true);
  connect(&timerForNoService_, &QTimer::timeout, this, &DialController::SelectDisconnectAction);
  // A modem that never reports the link down must not keep a closing program open.
  quitFallbackTimer_.setSingleShot(true);
  quitFallbackTimer_.setInterval(5000);
  connect(&quitFallbackTimer_, &QTimer::timeout, this, &DialController::quitOnceDisconnected);
  performDialOptionTimer_.setSingleShot(true);
  connect(&performDialOptionTimer_, &QTimer::timeout, this, [this] {
    QObject *sender = performDialOptionSenderSet_ ? performDialOptionSender_.data() : nullptr;
    if (performDialOptionSenderSet_ && !sender)
      sender = this; // the button went; the request stays a manual one
    if (!performDialOptionStillApplies())
      return;
    performDialOption(sender);
  });
  InitConnectState();
  initReconnectTimes();
  setManualDisconnect(false);
  setApnCycleEnable(true);
  watchSleepAndWake();
}

DialController::~DialController() {
  delete m_TimerToGetConnectState;
  m_TimerToGetConnectState = nullptr;
  Neighbourhood::leave(static_cast<ConnectionNeighbour *>(this));
  if (g_DialController == this)
    g_DialController = nullptr;
}

bool DialController::GetisDialNow() const {
  return connectStatus_ != kDisconnected && !appWillClose_;
}

void DialController::SelectDisconnectAction() {
  if (readConnectType() != kDialUp)
    NDISDialDisconnect();
  else
    DialDisconnect();
}

void DialController::applicationDidFinishLaunchingInDialController() {
  if (switchOn(settingDict(), QString(), QStringLiteral("VuziraSplit")))
    hintFavoriteIconConfigrable();
}

void DialController::addStatisticsInInternet(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("DialRecord"));
}

void DialController::setModemAndSimStateString(const QString &wordingKey) {
  stateHint_ = Map_Name_Item_of_IndexString(wordingKey);
  if (!modemStartUpProcessStateChanged_ && !connectBtnEnabled_ && tfdDisplayModemStartUpProcess_)
    tfdDisplayModemStartUpProcess_->setText(startUpHintText());
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->setModemAndSimStateStringWhenR27K())
    return;
  modemAndSimState_ = Map_Name_Item_of_IndexString(wordingKey);
  if (tfdModemAndSimState_) {
    tfdModemAndSimState_->setText(modemAndSimState_);
    tfdModemAndSimState_->setVisible(!modemAndSimState_.isEmpty());
  }
  emit modemAndSimStateChanged(modemAndSimState_);
}

namespace {
const NotificationPair dialProfileNotificationTable[] = {
    {"connectTypeDidChanged:", "ConnectTypeChange"},
    {"ChangeAPNSelection:", "ChangeAPNSelection"},
    {"updateNetworkStatus:", "init_NetworkStatus"},
    {"datausageRest:", "btnDatausageRestCliked"},
    {"setMsisdnNumberWithResult:", "xmlParseOver"},
    {"excuteWhenConnectServerError:", "connectServerError"},
    {"displayPhoneNumberForRuvoz", "DisplayPhoneNumberForRuvoz"},
    {nullptr, nullptr},
};
} // namespace

void DialController::registerMessages() {
  if (qelMsgCenter) {
    using namespace DataSessionLayout;
    // The dial-up status comes in one of two layouts, chosen once, as the backend is set up.
    const bool newDial = SettingValue::toBool(ConfigService::readValue(QString(), QStringLiteral("NewDial")));
    const struct {
      const char *selector;
      int major, minor;
    } table[] = {
        {"dealWithMsgOfAPNSet:", DialParamsLayout::kMajor, DialParamsLayout::kMinor},
        {"dealWithMsgOfDialConnect:", kDialMajor, kDialConnect},
        {"dealWithMsgOfDialDisconnect:", kDialMajor, kDialDisconnect},
        {"dealWithNetFrequencyLockReadResult:", kConfigMajor, kFreqLockResult},
        {newDial ? "dealWithMsgOfPPPConnectStatus:" : "dealWithMsgOfDialConnectStatus:", kDialMajor, kDialStatus},
        {newDial ? "dealWithMsgOfPPPConnectOption:" : "dealWithMsgOfDialConnectPppOption:", kDialMajor, kDialPppOption},
        {"dealWithMsgOfNDISDialStatus:", kDialMajor, kNdisState},
        {"dealWithMsgOfNDISDialTransferData:", kDialMajor, kNdisTransfer},
        {"dealWithOfNDISDialIsConnected:", kDialMajor, kNdisIsConnected},
        {"dealWithSetNetworkModeResult:", kDialMajor, kSetNetworkModeResult},
    };
    for (const auto &entry : table)
      qelMsgCenter->registerObserver(this, QByteArray(entry.selector), entry.major, entry.minor);
  }
  registerNotification(dialProfileNotificationTable);
  registerNotification(dialControllerNotificationTable);
  registerNotification(deviceFunctionNotficationTable);
  // The speed-test result service listens from the start, so a result finds the radio details.
  SpeedTestController::shareSpeedTestController();
}

void DialController::initializeController() {
  setRuntimeObject(false, kRTIsConnectted);
  for (QLineEdit *field : {m_TelephoneNumber.data(), m_Username.data(), m_Password.data()})
    if (field)
      field->setEnabled(false);
  checkUsernameFlag_ = checkAPNAccountFlag();
  if (eAskUernameCheck_)
    eAskUernameCheck_->setVisible(checkUsernameFlag_);
  if (bAskUernameCheck_)
    bAskUernameCheck_->setVisible(checkUsernameFlag_);
  supportIPv6();
  setNewDialConfig();
  Init_config_nib();
  Init_editConfig_nib();
  Init_internet_nib();
  setConnectBtnEnable(false);
  setBtnAutoAPNMatchState();
  loadDialConfig();
  if (switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM")) && m_DialConfigList)
    m_DialConfigList->setEnabled(false);
  displayAPNInfo();
  InitAPNConfigEdit();
  InitAPNConfigBrowse();
  reloadTable();
  setConnectStateHidden(true);
  resetConnectionFields();
  initConnectStatusWording();
}

void DialController::updateLanguages(const Notification &) {
  Init_config_nib();
  Init_editConfig_nib();
  Init_internet_nib();
  setBtnAutoAPNMatchState();
  reloadComboBox();
  reloadTable();
  displayAPNInfo();
  initConnectStatusWording();
  initCustomWeblinks();
  if (speedView)
    speedView->update();
}

void DialController::devicePlugin(const Notification &) {
  netcardChanged(2);
}

void DialController::applicationWillClose(const Notification &) {
  // Before the mark: the close action asks whether a connection is still up.
  performCloseActionForZID();
  appWillClose_ = true;
}

void DialController::quitOnceDisconnected() {
  if (!closingForZID_ || quitRequested_)
    return;
  quitRequested_ = true;
  quitFallbackTimer_.stop();
  // Out of the package handler that saw the link go: the quit may ask its own questions.
  QTimer::singleShot(0, this, [] {
    if (auto *main = Neighbourhood::mainWindow())
      main->requestTerminate();
  });
}
