// Registration of InitController: the network-information replies turn into the registered
// domains, the network-type word of the status area, the access technology, and the reactions of
// the connection to a change of serving network.
#include "CallsNeighbour.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "Neighbourhood.h"
#include "Platform.h"
#include "SettingsNeighbour.h"
#include "SimHexCursor.h"
#include "WordGlobe.h"

#include <QtEndian>
#include <cstring>

namespace {
const QString kNoService = QStringLiteral("No Service");
const QString kMain = QStringLiteral("Main");
const QString kInternet = QStringLiteral("Internet");

// CheckNetInfo (7, 37).
constexpr int kNetInfoPayloadSize = 180;
constexpr int kNetTypeOffset = 40, kNetTypeWidth = 68;
constexpr int kDomainOffset = 108, kDomainWidth = 72;
// CheckNetInfoForIcera (7, 47).
constexpr int kIceraMccmncOffset = 4, kIceraMccmncWidth = 36;
constexpr int kIceraNetStrOffset = 40, kIceraNetStrWidth = 104;
constexpr int kIceraTechOffset = 144, kIceraTechWidth = 36;

bool on(const QString &module, const QString &key) {
  return ConfigService::readBool(module, key);
}

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QString textField(const UIMsg &msg, int offset, int width) {
  return QString::fromLatin1(SimHexCursor::fieldText(msg, offset, std::min(width, kNetInfoPayloadSize - offset)));
}

// The settings window's side of the auto-connect check box.
void setAutoConnectBtnEnable(bool enable) {
  if (auto *settings = Neighbourhood::settings())
    settings->setAutoConnectBtnEnable(enable);
}
bool allowAutoConnect() {
  return Neighbourhood::settings() && Neighbourhood::settings()->allowAutoConnect();
}

// The USSD side's permission for the connect button of the operator toolbar; without the voice
// calls and SIM services nothing permits it.
bool getConnectBtnEnableRadirer() {
  const CallsNeighbour *calls = Neighbourhood::calls();
  return calls && calls->getConnectBtnEnableRadirer();
}
} // namespace

// ---- CheckNetInfo ----

void InitController::dealWithMsgOfCheckNetInfo(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    dealWithCheckNetInfo(msg);
}

void InitController::dealWithCheckNetInfo(const UIMsg &msg) {
  if (on(kMain, QStringLiteral("filterTheFirstQdonQpasWhenNetWorkChanged")) && firstTimeDealWithQpas_) {
    dealWithFirstQpasWhenNetWorkChanged();
    return;
  }
  QString type = textField(msg, kNetTypeOffset, kNetTypeWidth);
  const QString domain = textField(msg, kDomainOffset, kDomainWidth);
  int mode = 0;
  if (domain == QLatin1String("CS_ONLY"))
    mode = 1;
  else if (domain == QLatin1String("PS_ONLY"))
    mode = 2;
  else if (domain == QLatin1String("CS_PS"))
    mode = 3;
  else
    type = kNoService;

  sendActiveSimcardSMS(mode);
  setNetworkDomain(mode, getDisplayNetWorkTypeWithNetType(type));
  ConfigService *config = ConfigService::sharedConfigService();
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (config && config->changeConnectStatus() && dial)
    dial->changeDialConnectStatusWhenNoSignal(type.toLatin1());
}

QString InitController::getDisplayNetWorkTypeWithNetType(const QString &type) const {
  if (type.isNull())
    return QStringLiteral("");
  if (on(kMain, QStringLiteral("displayNetTypeAccordingZ3IFromVov"))) {
    static const QHash<QString, QString> generations = {
        {QStringLiteral("GPRS"), QStringLiteral("2G")},  {QStringLiteral("EDGE"), QStringLiteral("2G")},
        {QStringLiteral("GSM"), QStringLiteral("2G")},   {QStringLiteral("UMTS"), QStringLiteral("3G")},
        {QStringLiteral("HSDPA"), QStringLiteral("H")},  {QStringLiteral("HSUPA"), QStringLiteral("H")},
        {QStringLiteral("HSPA+"), QStringLiteral("H+")}, {QStringLiteral("DC-HSPA+"), QStringLiteral("H+")},
    };
    return generations.value(type, type);
  }
  if (on(kMain, QStringLiteral("displayNetTypeAccordingVavav")) && type != kNoService)
    return type + ConfigService::readValue(kMain, QStringLiteral("AppendingString")).toString();
  return type;
}

// ---- CheckNetInfoForIcera ----

void InitController::dealWithMsgOfCheckNetInfoForIcera(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg))
    dealWithCheckNetInfoForIcera(msg);
}

int InitController::networkModeForIceraWithNetStr(const char *netStr) {
  if (!netStr)
    return 0;
  if (std::strstr(netStr, "2g") || std::strstr(netStr, "3g"))
    return 1;
  if (std::strstr(netStr, "2G") || std::strstr(netStr, "3G"))
    return 3;
  return 0;
}

void InitController::dealWithCheckNetInfoForIcera(const UIMsg &msg) {
  float registration = 0.0f;
  if (msg.dataLength >= 4) {
    const quint32 bits = qFromLittleEndian<quint32>(msg.data.data());
    std::memcpy(&registration, &bits, sizeof registration);
  }
  const QString netStr = textField(msg, kIceraNetStrOffset, kIceraNetStrWidth);
  const QString technology = textField(msg, kIceraTechOffset, kIceraTechWidth);
  InitService *service = InitService::sharedInitService();

  const QString previous = mccmnc();
  // The empty string, never null, while no network is reported.
  const QString served = textField(msg, kIceraMccmncOffset, kIceraMccmncWidth);
  setMccmnc(served.isNull() ? QStringLiteral("") : served);
  service->setCurrentRmccRmnc(mccmnc());
  ConfigService *config = ConfigService::sharedConfigService();
  if (service->networkRoamStatus() == 0 && config && config->readMCCMNCListFromConfig().isValid())
    setRoamInfoWithNetworkRoamStatus(0); // the hiding rules look at the new network
  if (mccmnc() != previous)
    doWhenNetWorkChanged();

  if (registration == 0.0f || registration == -1.0f) {
    if (on(QString(), QStringLiteral("SearchRegistModel")))
      return;
    setNetworkDomain(0, kNoService);
    return;
  }
  if (!checkSearchRegistStatus())
    return;
  checkIsNationnalRoam(mccmnc());
  checkAPNMatchWithMCCMNC(mccmnc());

  if (word(networkName_) == word(QStringLiteral("Not Found"))) {
    setNetworkDomain(0, kNoService);
    return;
  }

  if (technology == QLatin1String("-")) {
    if (netStr.contains(QLatin1Char('0'))) {
      setNetworkDomain(0, kNoService);
      return;
    }
    const QString old = currentAccessTechnology_;
    struct Generation {
      const char *mark, *technology;
      int mode;
    };
    static constexpr Generation kGenerations[] = {
        {"2g", "GSM", 1}, {"3g", "UMTS", 1}, {"2G", "GSM", 3}, {"3G", "UMTS", 3}};
    int mode = 0;
    QString name = kNoService;
    for (const Generation &g : kGenerations) {
      if (netStr.contains(QLatin1String(g.mark))) {
        currentAccessTechnology_ = QLatin1String(g.technology);
        mode = g.mode;
        name = QLatin1String(g.technology);
        break;
      }
    }
    // A technology word says nothing without a generation: no service stays no service.
    if (mode != 0) {
      if (netStr.contains(QLatin1String("GPRS")) || netStr.contains(QLatin1String("gprs"))) {
        name = QStringLiteral("GPRS");
      } else if (netStr.contains(QLatin1String("EDGE")) || netStr.contains(QLatin1String("edge"))) {
        name = QStringLiteral("EDGE");
      } else {
        for (const char *w : {"DC-HSPA+", "HSPA+", "HSPA", "HSUPA", "HSDPA"}) {
          if (netStr.contains(QLatin1String(w))) {
            name = QLatin1String(w);
            break;
          }
        }
      }
    }
    setNetworkDomain(mode, name);
    compareAccessTechnology(old, currentAccessTechnology_);
    return;
  }

  QString name = technology;
  if (technology.contains(QLatin1String("HSPA+")))
    name = QStringLiteral("HSPA+");
  else if (technology.contains(QLatin1String("HSUPA")))
    name = QStringLiteral("HSUPA");
  else if (technology.contains(QLatin1String("HSDPA")))
    name = QStringLiteral("HSDPA");
  else if (technology.contains(QLatin1String("R99")))
    name = QStringLiteral("UMTS");
  setNetworkDomain(networkModeForIceraWithNetStr(netStr.toLatin1().constData()), name);
}

void InitController::compareAccessTechnology(const QString &oldTechnology, const QString &currentTechnology) {
  if (on(kInternet, QStringLiteral("Internet_RoamAlertAtNetFrom3GTo2G")) && oldTechnology == QLatin1String("UMTS") &&
      currentTechnology != oldTechnology && Neighbourhood::connection() &&
      Neighbourhood::connection()->connectStatus() == ConnectionNeighbour::kConnected)
    orderFrontRoamAlertWnd();
}

// ---- domain ----

void InitController::setNetworkDomain(int mode, const QString &networkName) {
  InitService::sharedInitService()->setNetworkMode(mode);
  networkMode_ = mode;
  switch (mode) {
  case 3:
    setDomainName(QStringLiteral("P C"));
    break;
  case 1:
    setDomainName(QStringLiteral("C"));
    break;
  case 2:
    setDomainName(QStringLiteral("P"));
    break;
  default:
    setDomainName(QStringLiteral(""));
    setRoamInfoWithNetworkRoamStatus(2);
    setBelonetoSPN(QStringLiteral(""));
    setLocalSPN(QStringLiteral(""), true);
    break;
  }
  if (Platform::sharedPlatform()->platform() != Platform::kPlatformCDMA)
    setNetworkStatus(networkName);
  setNetworkStatusWhenDomainModeChange(mode);
  informOtherModulePSDomain(mode);
}

void InitController::setNetworkStatusWhenDomainModeChange(int mode) {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (!dial)
    return;
  if (mode == 3)
    dial->setModemAndSimStateString(QStringLiteral("Init_tfdData Not Connected"));
  else if (mode == 1 || mode == 2)
    dial->setModemAndSimStateString(QStringLiteral("Init_tfdStarting Device"));
}

void InitController::informOtherModulePSDomain(int mode) {
  if (!dialFunctionEnabledFlag_ || on(QString(), QStringLiteral("EnableConnectByNetStatus")))
    return;
  bool ps = mode & 2;
  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isEnableToolbarForZOzava() && !getConnectBtnEnableRadirer())
    ps = false;
  setAutoConnectBtnEnable(ps);
  if (auto *dial = Neighbourhood::connection())
    dial->setPSDomainStatus(ps);
}

// ---- change of serving network ----

void InitController::doWhenNetWorkChanged() {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (dial && on(kInternet, QStringLiteral("autoConnectWhenRoamToNoRoam")) && roamTransferMode_ == 0) {
    if (allowAutoConnect() && !dial->hadDoManualDisconnect()) {
      dial->setApnCycleEnable(true);
      if (dial->connectStatus() == ConnectionNeighbour::kConnected)
        setApnCyleWhenRoamToNoRoam(true);
    }
    if (dial->connectStatus() == ConnectionNeighbour::kConnected)
      dial->DialDisconnect();
    else if (dial->connectStatus() == ConnectionNeighbour::kDisconnected && !dial->hadDoManualDisconnect() &&
             !dial->isDoingConnect())
      dial->reconnect(true);
  }
  if (dial && roamTransferMode_ == 1 &&
      (dial->connectStatus() == ConnectionNeighbour::kConnected ||
       dial->connectStatus() == ConnectionNeighbour::kConnecting))
    dial->DialDisconnect();
  whiteListCheck();
}

void InitController::dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(const QString &previousMccmnc) {
  setMccmnc(previousMccmnc);
  firstTimeDealWithQdon_ = false;
  firstTimeDealWithQpas_ = true;
}

void InitController::dealWithFirstQpasWhenNetWorkChanged() {
  // The first registration report after a change of network is dropped: it may still describe
  // the network left. Where a white-listed network is paid as the home one, connecting waits
  // until the new network's own reports have decided whether it may.
  firstTimeDealWithQpas_ = false;
  if (on(kInternet, QStringLiteral("paySameAsHomeNetIfIsWhilteNet")))
    if (ConnectionNeighbour *dial = Neighbourhood::connection())
      dial->setConnectBtnEnable(false);
}

bool InitController::checkSearchRegistStatus() {
  if (!on(QString(), QStringLiteral("SearchRegistModel")))
    return true;
  if (!manualRegistFlag_) {
    manualRegistFlag_ = true;
    return false;
  }
  manualRegistFlag_ = false;
  if (ConfigManager *config = ConfigManager::sharedConfigManager()) {
    config->setConfigurationByModule(QStringLiteral("SearchRegistModel"), false);
    config->writeToFile();
  }
  return true;
}
