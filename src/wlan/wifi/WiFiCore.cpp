#include "WiFiCore.h"

#include "NetworkManagerAdapter.h"

#include <QDebug>
#include <QtEndian>

namespace {
WiFiCore *gWiFiCore = nullptr;

qint16 s16(const QByteArray &b, int offset) {
  return qFromLittleEndian<qint16>(b.constData() + offset);
}
} // namespace

WiFiCore::WiFiCore(std::unique_ptr<WirelessAdapter> adapter) : adapter_(std::move(adapter)) {
  connect(&scanTimer_, &QTimer::timeout, this, &WiFiCore::_doPeriodicScan);
  lastError_ = adapter_->attach();
}

WiFiCore::~WiFiCore() {
  if (gWiFiCore == this)
    gWiFiCore = nullptr;
}

WiFiCore *WiFiCore::init(std::unique_ptr<WirelessAdapter> adapter) {
  if (gWiFiCore)
    return nullptr;
  if (!adapter)
    adapter = std::make_unique<NetworkManagerAdapter>();
  gWiFiCore = new WiFiCore(std::move(adapter));
  return gWiFiCore;
}

WiFiCore *WiFiCore::defaultWiFiController() {
  if (!gWiFiCore)
    init();
  return gWiFiCore;
}

void WiFiCore::destroyInstance() {
  delete gWiFiCore;
  gWiFiCore = nullptr;
}

int WiFiCore::setenable(int value) {
  return int(adapter_->setEnabled(value));
}

void WiFiCore::mantainsDiscoveredNetworksList(bool maintain) {
  mantainNTWLists_ = maintain;
  if (!maintain)
    flushDiscoveredNetworksList();
}

bool WiFiCore::wirelessControllerAvailable() {
  return adapter_->isAvailable();
}

bool WiFiCore::setWiFiPower(bool on) {
  return adapter_->setPower(on) == 0;
}

int WiFiCore::controllerState() {
  quint8 power = 0;
  lastError_ = adapter_->getPower(&power);
  if (lastError_ != 0)
    return -1;
  return power ? 1 : 0;
}

QVariantMap WiFiCore::currentConnectedControllerInfo() {
  QByteArray info;
  lastError_ = adapter_->getInfo(&info);
  if (lastError_ != 0)
    return {};
  info = info.left(WirelessInfoRecord::kSize);
  info.append(QByteArray(WirelessInfoRecord::kSize - info.size(), '\0'));
  const int mode = s16(info, 10);
  // The name is read within its 32 bytes, whether or not it ends there.
  QByteArray name = info.mid(WirelessInfoRecord::kNameOffset, WirelessInfoRecord::kNameWidth);
  if (const int nul = name.indexOf('\0'); nul >= 0)
    name.truncate(nul);
  return {
      {QStringLiteral("LQ"), int(s16(info, 0))},
      {QStringLiteral("CQ"), int(s16(info, 2))},
      {QStringLiteral("SIGNAL"), int(s16(info, 4))},
      {QStringLiteral("NOISE"), int(s16(info, 6))},
      {QStringLiteral("PORTSTATE"), int(s16(info, 8))},
      {QStringLiteral("U7"), int(s16(info, 12))},
      {QStringLiteral("CLIENTMODE"), mode == 1   ? QStringLiteral("BSS")
                                     : mode == 4 ? QStringLiteral("IBSS")
                                                 : QStringLiteral("UNKNOWN")},
      {QStringLiteral("APSTATEISON"), s16(info, 14) == 1},
      {QStringLiteral("MACADDRESS"),
       QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", uchar(info[18]), uchar(info[19]), uchar(info[20]),
                         uchar(info[21]), uchar(info[22]), uchar(info[23]))},
      {QStringLiteral("NETWORK"), QString::fromUtf8(name)},
  };
}

std::optional<QList<WiFiSpot>> WiFiCore::scanForSpots() {
  qInfo() << "WirelessScanSplit:";
  qInfo() << "----------------------------------------";
  QList<QByteArray> first, second;
  const quint32 code = adapter_->scanSplit(&first, &second, 1);
  if (code != 0) {
    lastError_ = code;
    return std::nullopt;
  }
  QList<WiFiSpot> spots;
  for (const QByteArray &record : first) {
    WiFiSpot spot(record);
    qInfo().noquote() << QStringLiteral("channel\t=\t%1").arg(spot.usedChannel())
                      << QStringLiteral("noise\t=\t%1").arg(spot.noiseLevel())
                      << QStringLiteral("signal\t=\t%1").arg(spot.signalStrength())
                      << QStringLiteral("mac\t=\t%1").arg(spot.macAddress())
                      << QStringLiteral("beacon\t=\t%1").arg(spot.beaconInterval())
                      << QStringLiteral("flags\t=\t%1").arg(spot.flags());
    spots << spot;
  }
  qInfo() << "end for scan";
  return spots;
}

quint32 WiFiCore::bestAdHocChannel() {
  quint16 channel = 0;
  lastError_ = adapter_->getBestChannel(&channel);
  return lastError_ == 0 ? channel : lastError_;
}

quint32 WiFiCore::joinOnFreeNetworkNamed(const QString &name) {
  lastError_ = adapter_->join(name.toUtf8());
  return lastError_;
}

quint32 WiFiCore::joinOnWEPNetworkNamed(const QString &name, const QString &password) {
  lastError_ = adapter_->joinWEP(name.toUtf8(), password.toUtf8());
  return lastError_;
}

quint32 WiFiCore::createNetworkNamed(const QString &name, const QString &password, int channel) {
  lastError_ = adapter_->makeIBSS(name.toUtf8(), password.toUtf8(), channel);
  return lastError_;
}

quint32 WiFiCore::disassociate() {
  lastError_ = adapter_->disassociate();
  return lastError_;
}

QString WiFiCore::_descriptionFromCode(quint32 code) {
  switch (code) {
  case WirelessError::kParameters:
    return QStringLiteral("WiFi: Parameters error");
  case WirelessError::kIOService:
    return QStringLiteral("WiFi: IO Service error");
  case WirelessError::kInternal:
    return QStringLiteral("WiFi: Internal error");
  case 0x88001004:
  case 0x88001007:
  case 0x88001008:
  case 0x88001009:
  case 0x8800100A:
    return QStringLiteral("WiFi: Unknown error");
  case WirelessError::kOutOfMemory:
    return QStringLiteral("WiFi: Out of memory");
  case WirelessError::kNoPower:
    return QStringLiteral("WiFi: No power");
  default:
    return QString();
  }
}

bool WiFiCore::startPollingScanForSpots(int start, int seconds, wificore_responder *delegate) {
  if (controllerState() != 1)
    return false;
  if (start == 0) {
    if (paused_)
      return false;
    paused_ = true;
    scanTimer_.stop();
    return true;
  }
  if (start != 1)
    return false;
  delegateClass_ = delegate;
  if (paused_) {
    scanTimer_.start(std::max(1, seconds) * 1000);
    paused_ = false;
    if (delegateClass_)
      delegateClass_->wificore_pollingStarted();
  } else {
    paused_ = true;
    scanTimer_.stop();
    if (delegateClass_)
      delegateClass_->wificore_pollingEnded();
  }
  return true;
}

void WiFiCore::_doPeriodicScan() {
  if (const auto spots = scanForSpots()) {
    for (const WiFiSpot &spot : *spots) {
      auto it = discoveredNetworks_.find(spot.macAddress());
      if (it == discoveredNetworks_.end()) {
        discoveredNetworks_.insert(spot.macAddress(), spot);
      } else {
        it->_setSignal(spot.signalStrength());
        it->_setNoise(spot.noiseLevel());
        it->updateLastSeenDate();
      }
    }
  }
  if (delegateClass_)
    delegateClass_->wificore_pollingResultsAvailable(discoveredNetworks_);
  if (debug_)
    printDiscoveredSpotsDescription();
}

void WiFiCore::printDiscoveredSpotsDescription() const {
  if (discoveredNetworks_.isEmpty())
    qInfo() << "No access point founds";
  for (const WiFiSpot &spot : discoveredNetworks_)
    qInfo().noquote() << spot.descriptionStat();
  qInfo() << "----------------------------------------";
}
