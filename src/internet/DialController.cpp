#include "DialController.h"

#include "ConfigService.h"
#include "DialParamsLayout.h"
#include "NotificationTables.h"

#include "WordGlobe.h"
#include <QCheckBox>

DialController *g_DialController = nullptr;

namespace {
int g_noSignalDisconnectDelayMs = 90000;
} // namespace

void DialController::setNoSignalDisconnectDelayMs(int ms) {
  g_noSignalDisconnectDelayMs = ms;
}

DialController::DialController(QObject *parent) : QELUIController(parent) {
  g_DialController = this;
  noSignalTimer_.setSingleShot(true);
  connect(&noSignalTimer_, &QTimer::timeout, this, [this] { disConnectTimer(&noSignalTimer_); });
}

DialController::~DialController() {
  if (g_DialController == this)
    g_DialController = nullptr;
}

bool DialController::GetisDialNow() const {
  return connectStatus_ != kDisconnected && !appWillClose_;
}

void DialController::SelectDisconnectAction() {
  // Nothing is connected until the connection code exists; the state simply goes down.
  connectStatus_ = kDisconnected;
}

void DialController::applicationDidFinishLaunchingInDialController() {}

void DialController::setModemAndSimStateString(const QString &wordingKey) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->setModemAndSimStateStringWhenR27K())
    return;
  modemAndSimState_ = Map_Name_Item_of_IndexString(wordingKey);
  emit modemAndSimStateChanged(modemAndSimState_);
}

void DialController::ruvozUITopFixedImage(const QString &, const QString &, const QString &,
                                          const QString &deviceStatus) {
  ruvozDeviceStatus_ = deviceStatus;
}

namespace {
const NotificationPair dialProfileNotificationTable[] = {
    {"connectTypeDidChanged:", "ConnectTypeChange"},
    {"ChangeAPNSelection:", "ChangeAPNSelection"},
    {nullptr, nullptr},
};
} // namespace

void DialController::registerMessages() {
  if (qelMsgCenter)
    qelMsgCenter->registerObserver(this, QByteArray("dealWithMsgOfAPNSet:"), DialParamsLayout::kMajor,
                                   DialParamsLayout::kMinor);
  registerNotification(dialProfileNotificationTable);
  registerNotification(dialControllerNotificationTable);
}

void DialController::initializeController() {
  checkUsernameFlag_ = checkAPNAccountFlag();
  if (eAskUernameCheck_)
    eAskUernameCheck_->setVisible(checkUsernameFlag_);
  if (bAskUernameCheck_)
    bAskUernameCheck_->setVisible(checkUsernameFlag_);
  supportIPv6();
  setNewDialConfig();
  Init_config_nib();
  Init_editConfig_nib();
  setBtnAutoAPNMatchState();
  loadDialConfig();
  displayAPNInfo();
  InitAPNConfigEdit();
  InitAPNConfigBrowse();
  reloadTable();
}

void DialController::updateLanguages(const Notification &) {
  Init_config_nib();
  Init_editConfig_nib();
  setBtnAutoAPNMatchState();
  reloadComboBox();
  reloadTable();
  displayAPNInfo();
}

void DialController::devicePlugin(const Notification &) {
  setDeviceStatus(false);
}

void DialController::deviceRemoved(const Notification &) {
  setDeviceStatus(true);
  // The next card is a new one: its IMSI picks its profiles again.
  alreadyGetSimIMSIFlag_ = false;
  disconnectAfterNoSignal90s_ = false;
}

void DialController::applicationWillClose(const Notification &) {
  appWillClose_ = true;
}

void DialController::DialDisconnect() {
  ++disconnectRequests_;
  doingConnect_ = false;
  connectStatus_ = kDisconnected;
}

void DialController::reconnect(bool) {
  ++reconnectRequests_;
}

void DialController::connectOrDisconnectNetwork(bool connectNow) {
  if (!connectNow) {
    DialDisconnect();
    return;
  }
  ++connectRequests_;
  doingConnect_ = true;
}

void DialController::setPSDomainStatus(bool ps) {
  psDomainStatus_ = ps;
}

void DialController::changeDialConnectStatusWhenNoSignal(const QByteArray &networkType) {
  const bool noService = networkType == QByteArrayLiteral("No Service");
  if (noService) {
    if (connectStatus_ == kConnected && !noSignalTimer_.isActive())
      noSignalTimer_.start(g_noSignalDisconnectDelayMs);
    return;
  }
  if (connectStatus_ == kConnected) {
    noSignalTimer_.stop();
  } else if (connectStatus_ == kDisconnected && disconnectAfterNoSignal90s_) {
    // Only the connection the lost service took down comes back, and only once.
    disconnectAfterNoSignal90s_ = false;
    connectOrDisconnectNetwork(true);
  }
}

void DialController::disConnectTimer(QObject *) {
  noSignalTimer_.stop();
  if (connectStatus_ != kConnected)
    return;
  DialDisconnect();
  disconnectAfterNoSignal90s_ = true;
}
