// Roaming of InitController: the roam status of the serving network, the operator rules that go
// with it, the roaming switches read from the modem, and the serving cell of the registration.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "Neighbourhood.h"
#include "Platform.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SettingsNeighbour.h"
#include "SimHexCursor.h"
#include "WordGlobe.h"

#include <QtEndian>

namespace {
const QString kInit = QStringLiteral("Init");
const QString kInternet = QStringLiteral("Internet");

// CheckRoamInfo (7, 39): the registration state, then the location area and the cell identity
// as hexadecimal texts.
constexpr int kRoamInfoPayloadSize = 28;
constexpr int kLacOffset = 4, kCellIdOffset = 14, kHexFieldWidth = 10;

bool on(const QString &module, const QString &key) {
  return ConfigService::readBool(module, key);
}

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

quint32 wordAt(const UIMsg &msg, int offset) {
  return offset + 4 <= msg.dataLength ? qFromLittleEndian<quint32>(msg.data.data() + offset) : 0;
}

// Reads hexadecimal digits up to the first other character, as the C conversion would; a value
// too wide for 64 bits keeps its low bits rather than wrapping into nonsense digits.
quint64 hexValue(const QString &text) {
  quint64 value = 0;
  for (QChar c : text) {
    const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
    if (digit < 0)
      break;
    value = (value << 4) | quint64(digit);
  }
  return value;
}

QStringList nonEmptyList(const QVariant &value) {
  return value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList ? value.toStringList()
                                                                                               : QStringList();
}

} // namespace

// ---- roam status ----

int InitController::getNetworkRoamStatusWithCregResult(quint32 cregState) {
  if (cregState == 5)
    return 0;
  if (cregState == 1)
    return 1;
  return 2;
}

void InitController::setRoamInfoWithNetworkRoamStatus(int roamStatus) {
  if (roamStatus == 0) {
    ConfigService *config = ConfigService::sharedConfigService();
    const QStringList networks = config ? nonEmptyList(config->readMCCMNCListFromConfig()) : QStringList();
    const QStringList homes = config ? nonEmptyList(config->readHMCCMNCListNeededHideRoamStatus()) : QStringList();
    if (!networks.isEmpty() && !homes.isEmpty() && networks.contains(mccmnc()) &&
        homes.contains(InitService::sharedInitService()->currentHmccmnc()))
      roamStatus = 1;
  }
  setNetworkRoamStatus(roamStatus);
  QString letter = QStringLiteral("");
  if (roamStatus == 0 || roamStatus == 1) {
    setRoamTransferModeWithPreStatus(registeredNetworkRoamStatus_, roamStatus);
    if (roamStatus == 0)
      letter = QStringLiteral("R");
    registeredNetworkRoamStatus_ = roamStatus;
  }
  if (statusView)
    statusView->roamStatusLabel->setText(letter);
  sendNotification(kRoamStatus, roamStatus);
  setRoamStatusForDidoro(roamStatus);
}

void InitController::setRoamTransferModeWithPreStatus(int previousStatus, int newStatus) {
  if (previousStatus == 2 || newStatus == 2)
    return;
  if (previousStatus == newStatus) {
    roamTransferMode_ = 2;
  } else if (previousStatus == 1 && newStatus == 0) {
    roamTransferMode_ = 1;
    disconectNetIfConfig();
  } else if (previousStatus == 0 && newStatus == 1) {
    roamTransferMode_ = 0;
  }
}

void InitController::disconectNetIfConfig() {
  if (!on(kInternet, QStringLiteral("disNetWhileToRoam")) || !Neighbourhood::connection() ||
      Neighbourhood::connection()->connectStatus() != ConnectionNeighbour::kConnected)
    return;
  // Asked from a network report: without waiting, so that packages keep arriving.
  NSBeginAlertPanelExt(
      word(QStringLiteral("Warning")),
      word(QStringLiteral("You are about to connect to a roaming network.Do you want to disconnect now?")),
      word(QStringLiteral("YES")), word(QStringLiteral("NO")), [](int answer, bool) {
        // The question may outlive the connection (the device can leave meanwhile).
        ConnectionNeighbour *dial = Neighbourhood::connection();
        if (answer == 1 && dial && dial->connectStatus() == ConnectionNeighbour::kConnected)
          dial->DialDisconnect();
      });
}

void InitController::setRoamStatusForDidoro(int roamStatus) {
  if (!on(kInit, QStringLiteral("setRoamStatusForDidoro")))
    return;
  const auto picture = [](const char *key) { return ConfigService::readValue(kInit, QLatin1String(key)).toString(); };
  roamingPictureForDidoro_ = picture(roamStatus == 0 ? "imageNameOfRoamOnForDidoro" : "imageNameOfRoamOffForDidoro");
  homePictureForDidoro_ =
      picture(roamStatus == 1 ? "imageNameOfHomeNetSelectedForDidoro" : "imageNameOfHomeNetUnSelectedForDidoro");
}

int InitController::closeRoamAtDomesticRoaming(int roamStatus, const QString &localMcc, const QString &netMcc) {
  if (on(kInternet, QStringLiteral("CloseRoamAtDomesticRoaming")) && roamStatus == 0 && !localMcc.isEmpty() &&
      !netMcc.isEmpty() && localMcc == netMcc)
    return 1;
  return roamStatus;
}

// ---- roaming rules for connections ----

void InitController::checkLocalMCCAndNetMCC(const QString &localMcc, const QString &netMcc) {
  if (localMcc.isEmpty() || netMcc.isEmpty() || !on(kInternet, QStringLiteral("NotAutoConnectForInterRoam")))
    return;
  setRuntimeObject(localMcc == netMcc, kRTIsSameMCC);
}

void InitController::checkIsNationnalRoam(const QString &servingMccmnc) {
  if (servingMccmnc.isNull() || !on(kInternet, QStringLiteral("NotAutoConnectForInterRoam")))
    return;
  // An MCC is three digits: 001 must not read as 1 (every network beginning with 1 would match).
  // Before the SIM handling has set the number, the SIM's IMSI answers.
  const QString homeMcc = currentHMcc_ > 0 ? QStringLiteral("%1").arg(currentHMcc_, 3, 10, QLatin1Char('0'))
                                           : InitService::sharedInitService()->getCurrentHomeMcc();
  if (homeMcc.isEmpty())
    return;
  setRuntimeObject(servingMccmnc.startsWith(homeMcc), kRTIsSameMCC);
}

bool InitController::isInWhiteList() const {
  const QVariant list = ConfigService::readValue(kInternet, QStringLiteral("InternetWhiteList"));
  if (list.typeId() != QMetaType::QVariantMap || mccmnc().isEmpty())
    return false;
  const QVariantMap map = list.toMap();
  for (auto it = map.cbegin(); it != map.cend(); ++it)
    if (it.value().toString() == mccmnc())
      return true;
  return false;
}

// ---- CheckRoamInfo ----

void InitController::dealWithMsgOfCheckRoamInfo(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    dealWithCheckRoamInfo(msg);
}

void InitController::dealWithCheckRoamInfo(const UIMsg &msg) {
  if (Platform::sharedPlatform()->platform() == Platform::kPlatformIcera) {
    const int status = getNetworkRoamStatusWithCregResult(wordAt(msg, 0));
    setRoamInfoWithNetworkRoamStatus(status);
    showRoamAlertWindow(status);
    InitService::sharedInitService()->setNetworkRoamStatus(status);
  }
  const auto field = [&msg](int offset) {
    return QString::fromLatin1(
        SimHexCursor::fieldText(msg, offset, std::min(kHexFieldWidth, kRoamInfoPayloadSize - offset)));
  };
  QString cell = field(kCellIdOffset);
  const int lastDigits = ConfigService::readInt(QStringLiteral("CellId"), QStringLiteral("ShowLastNum"));
  if (lastDigits > 0 && lastDigits <= cell.size())
    cell = cell.right(lastDigits);
  if (const quint64 cellId = hexValue(cell)) {
    servingCellText_ = QString::number(cellId);
    notificationCenter->postNotificationName(QStringLiteral("ReadCellIDInfo"), this,
                                             {{QStringLiteral("CellIDInfo"), servingCellText_}});
  }
  if (const quint64 lac = hexValue(field(kLacOffset)))
    locationAreaText_ = QString::number(lac);
}

// ---- ReadRoamSwitch ----

void InitController::dealWithMsgOfReadRoamSwitch(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    dealWithReadRoamSwitch(msg);
}

void InitController::dealWithReadRoamSwitch(const UIMsg &msg) {
  if (msg.moduleId != 1 || msg.type != 1 || msg.result != 0)
    return;
  const quint32 national = wordAt(msg, 0);
  const quint32 international = wordAt(msg, 4);
  roamSwitchesEnabled_ = true;
  btnNroamSwitchOn_ = national == 1;
  btnIroamSwitchOn_ = international == 1;
  nRoamDefaultValue_ = int(national);
  iRoamDefaultValue_ = int(international);
  if (auto *settings = Neighbourhood::settings())
    settings->showRoamSwitches(national == 1, international == 1);
  if (!on(QStringLiteral("Setting"), QStringLiteral("SetDefaultIroamSwitchOnAfterFinishInstalling")))
    return;
  // Once after installation: international roaming starts allowed.
  btnIroamSwitchOn_ = true;
  iRoamDefaultValue_ = 1;
  if (auto *settings = Neighbourhood::settings()) {
    settings->showRoamSwitches(btnNroamSwitchOn_, true);
    settings->sendSetRoamSwitch();
  }
  if (ConfigManager *config = ConfigManager::sharedConfigManager()) {
    config->setConfigurationByModuleKeyAndValue(QStringLiteral("Setting"),
                                                QStringLiteral("SetDefaultIroamSwitchOnAfterFinishInstalling"), false);
    config->writeToFile();
  }
}

// ---- device removal ----

void InitController::registrationAndRoamDeviceRemoved() {
  firstTimeDealWithQdon_ = true;
  firstTimeDealWithQpas_ = false;
  manualRegistFlag_ = false;
  allowAlertSel3GPreferWhenSignalToNoSignal_ = true;
  apnCyleWhenRoamToNoRoam_ = false;
  roamTipWhenInWhiteList_ = true;
  roamSwitchesEnabled_ = false;
  currentAccessTechnology_.clear();
  servingCellText_.clear();
  locationAreaText_.clear();
  // No device, no domain: the connection must not read the last device's PS registration.
  networkMode_ = 0;
  InitService::sharedInitService()->setNetworkMode(0);
  if (auto *dial = Neighbourhood::connection())
    dial->setPSDomainStatus(false);
  if (statusView)
    statusView->roamStatusLabel->setText(QStringLiteral(""));
  setRoamStatusForDidoro(2);
  closeRoamAlertWnd();
}
