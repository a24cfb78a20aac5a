#include "DialController.h"

#include "ConfigService.h"
#include "WordGlobe.h"

DialController *g_DialController = nullptr;

DialController::DialController(QObject *parent) : QELUIController(parent) {
  g_DialController = this;
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

void DialController::setDialParams() {}

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

void DialController::applicationWillClose(const Notification &) {
  appWillClose_ = true;
}
