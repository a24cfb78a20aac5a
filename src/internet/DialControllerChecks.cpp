// The checks before a connect and before a disconnect. Each answers YES to go on and NO to stop
// (checkDeviceLockStatus: the other way round: YES hands the connect to the device lock code);
// every question goes through the program's alert.
#include "DialController.h"

#include "ConfigService.h"
#include "DialRecordController.h"
#include "MainWindowNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "SettingValue.h"
#include "SettingsNeighbour.h"
#include "WordGlobe.h"

#include <QLabel>
#include <QPushButton>

namespace {

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool internetOn(const char *key) {
  return SettingValue::toBool(ConfigService::readValue(QStringLiteral("Internet"), QString::fromLatin1(key)));
}

bool ask(const QString &titleKey, const QString &messageKey, const QString &defaultButton) {
  return NSRunAlertPanelExt(word(titleKey), word(messageKey), defaultButton, word(QStringLiteral("Cancel"))) ==
         ModalQuestions::kDefaultAnswer;
}

bool limitsDisabled() {
  ConfigService *service = ConfigService::sharedConfigService();
  return service ? service->isDisabledLimits() : true;
}

} // namespace

QObject *DialController::deviceUnlockedSender() {
  // The connect that follows an accepted device lock code carries this sender and is not asked
  // for the code again.
  static QObject marker;
  if (marker.objectName().isEmpty())
    marker.setObjectName(QStringLiteral("DeviceLockDialFunction"));
  return &marker;
}

bool DialController::askDeviceLockCodeForConnect() {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (!Neighbourhood::settings() || !Neighbourhood::settings()->getDeviceUnlockCodeState() || !device)
    return false;
  device->setDeviceLockFunctionModule(0);
  device->openUnlockDeviceWindow(wndMain);
  return true;
}

void DialController::notifyDeviceUnlockSuccess(const Notification &) {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (device && device->getDeviceLockFunctionModule() == 0 && connectStatus_ == kDisconnected)
    DialOption(deviceUnlockedSender());
}

void DialController::notifyDeviceUnlockFailed(const Notification &) {}

bool DialController::checkDeviceLockStatus(QObject *sender) {
  if (!SettingValue::toBool(ConfigService::readValue(QString(), QStringLiteral("DeviceLockDialFunction"))))
    return false;
  // Every connect request is guarded, whichever button or window made it, except the one that
  // follows an accepted code.
  if (sender == deviceUnlockedSender())
    return false;
  return askDeviceLockCodeForConnect();
}

bool DialController::allowUserConnect() {
  if (!internetOn("PopUpConnectWaring"))
    return true;
  return ask(QStringLiteral("Warning"), QStringLiteral("Do you want to establish a connection?"),
             word(QStringLiteral("OK")));
}

bool DialController::showAlertWin() {
  if (ask(QStringLiteral("Warning"), QStringLiteral("Cost will be increased at roaming status"),
          roamAlertOKBtnWording()))
    return true;
  setManualDisconnect(true);
  return false;
}

bool DialController::allowRoamWithAlert() {
  const bool ask2G = internetOn("Internet_PopAlertWindow_IfConnect2GNetwork");
  const bool forbid = internetOn("ForbidRoamingAlert");
  const bool whiteNetQuiet = internetOn("noRoamingAlertBeforeConnectIfIsWhiteNet");
  bool answer = true;
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (device && device->networkRoamStatus() == 0 && !forbid && !(whiteNetQuiet && device->isInWhiteList()))
    answer = showAlertWin();
  // A refused roaming question stands: the 2G question comes only while the answer is yes.
  if (answer && ask2G && is2GNetWork_)
    answer = showAlertWin();
  return answer;
}

bool DialController::displayDataLimitWarning() {
  autoDisconnectFlag = true;
  if (!internetOn("dataLimitWarning"))
    return true;
  const double limit = ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("recordDataLimit")).toDouble();
  if (g_DialRecordController)
    g_DialRecordController->refreshTotalsForLimits();
  if (limit <= 0 || currentTotalDataKB() < limit * 1024 || limitsDisabled())
    return true;
  autoDisconnectFlag = false;
  return ask(QStringLiteral("Warning"),
             QStringLiteral("Pre-set limit has been reached. Do you want to connect anyway?"),
             word(QStringLiteral("OK")));
}

bool DialController::displayTimeLimitWarning() {
  autoDisconnectFlag = true;
  if (!internetOn("timeLimitWarning"))
    return true;
  const double hours = ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("recordTimeLimit")).toDouble();
  const qint64 limit = qint64(hours * 3600 - delayForLimistDisconnect());
  if (g_DialRecordController)
    g_DialRecordController->refreshTotalsForLimits();
  if (limit < 1 || currentTotalSeconds() < limit || limitsDisabled())
    return true;
  autoDisconnectFlag = false;
  return ask(QStringLiteral("Warning"),
             QStringLiteral("Pre-set limit has been reached. Do you want to connect anyway?"),
             word(QStringLiteral("OK")));
}

bool DialController::displayLimitWarningBeforeConnect() {
  if (SettingValue::toBool(ConfigService::readValue(QStringLiteral("Record"), QStringLiteral("recordLimitState"))))
    return displayDataLimitWarning();
  return displayTimeLimitWarning();
}

bool DialController::allowUserDisconnect() {
  if (!internetOn("PopUpDisconnectWaring"))
    return true;
  return ask(QStringLiteral("Warning"), QStringLiteral("Do you want to terminate current connection?"),
             word(QStringLiteral("OK")));
}

void DialController::displayUKMTSWaring() {
  static const char *const details[] = {"Detail Service Mobile GPRS-Internet", "Detail Service HyperActive",
                                        "Detail Service Hyper.NET"};
  const int item = m_IndexOfComboBoxSelectionNow;
  if (item < 1 || item > 3) {
    clickOKForAPNPromptFlag_ = true;
    return;
  }
  // The prompt is its own sheet, made with the profile windows; where none was made (a controller
  // without its window) there is nothing to ask and the connect goes on.
  if (!promptOfAPNWinForZIZ_) {
    clickOKForAPNPromptFlag_ = true;
    return;
  }
  if (promptOfAPNForZIZ_)
    promptOfAPNForZIZ_->setText(word(QString::fromLatin1(details[item - 1])));
  clickOKForAPNPromptFlag_ = runProfileSheet(promptOfAPNWinForZIZ_, QStringLiteral("promptOfAPNWin")) == 1;
}

bool DialController::runPreConnectChecks(QObject *sender) {
  auto refuse = [this] {
    if (m_ConnectButton)
      m_ConnectButton->setEnabled(true);
    return false;
  };
  if (checkDeviceLockStatus(sender))
    return refuse();
  if (!allowUserConnect() || !allowRoamWithAlert() || !displayLimitWarningBeforeConnect())
    return refuse();
  if (checkUsernameFlag_ && checkAPNAccount())
    return false;
  if (internetOn("ChangePosForProfile")) {
    displayUKMTSWaring();
    if (!clickOKForAPNPromptFlag_)
      return refuse();
  }
  return true;
}

bool DialController::dialDisconnectWhenRoamForDidoro() {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (!device || device->networkRoamStatus() != 0 || !internetOn("DialDisconnectWhenRoam"))
    return true;
  // OK lets the request go on; Cancel stops it.
  return NSRunAlertPanelExt(
             word(QStringLiteral("Warning")),
             word(QStringLiteral("Dear customer.\nYou are about to connect to a roaming network.\nPlease "
                                 "note, that this may cause additional roaming charges.\nDo you want to "
                                 "disconnect now?")),
             word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))) == ModalQuestions::kDefaultAnswer;
}
