#pragma once

#include "WiFiSpot.h"
#include "WirelessAdapter.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <memory>
#include <optional>

// The receiver of the polling callbacks.
class wificore_responder {
public:
  virtual ~wificore_responder() = default;
  virtual void wificore_pollingStarted() = 0;
  virtual void wificore_pollingEnded() = 0;
  virtual void wificore_pollingResultsAvailable(const QMap<QString, WiFiSpot> &discovered) = 0;
};

// The computer's own Wi-Fi adapter, one instance for the process: power, scans, the current
// connection, joining open and WEP networks, ad-hoc networks and periodic scans with a
// delegate. It speaks to the adapter through a WirelessAdapter (NetworkManager by default) and
// keeps the result code of the last call that records one.
class WiFiCore : public QObject {
  Q_OBJECT
public:
  // Makes the instance the first time, over `adapter` (NetworkManager when none); null for a
  // second one, leaving the first as it was.
  static WiFiCore *init(std::unique_ptr<WirelessAdapter> adapter = {});
  static WiFiCore *defaultWiFiController();
  // Ends the instance (tests), so the next init makes a new one.
  static void destroyInstance();
  ~WiFiCore() override;

  int setenable(int value);
  void mantainsDiscoveredNetworksList(bool maintain);
  void flushDiscoveredNetworksList() { discoveredNetworks_.clear(); }
  bool wirelessControllerAvailable();
  bool setWiFiPower(bool on);
  // 1 power on, 0 off, -1 on error (its code kept).
  int controllerState();
  // Empty on error, else "LQ", "SIGNAL", "NOISE", "U7", "PORTSTATE", "CQ", "NETWORK",
  // "MACADDRESS", "CLIENTMODE", "APSTATEISON".
  QVariantMap currentConnectedControllerInfo();
  quint32 lastError() const { return lastError_; }
  quint32 lastReturnedError() const { return lastError_; }
  // Null on error.
  std::optional<QList<WiFiSpot>> scanForSpots();
  // The channel, or the error code (check lastError()).
  quint32 bestAdHocChannel();
  quint32 joinOnFreeNetworkNamed(const QString &name);
  quint32 joinOnWEPNetworkNamed(const QString &name, const QString &password);
  quint32 createNetworkNamed(const QString &name, const QString &password, int channel);
  // Drops the current association.
  quint32 disassociate();
  QString lastErrorDescription() const { return _descriptionFromCode(lastError_); }
  static QString _descriptionFromCode(quint32 code);
  bool startPollingScanForSpots(int start, int seconds, wificore_responder *delegate);
  void _doPeriodicScan();
  const QMap<QString, WiFiSpot> &discoveredSpots() const { return discoveredNetworks_; }
  void printDiscoveredSpotsDescription() const;
  void workInDebugMode(bool on) { debug_ = on; }
  bool isPolling() const { return !paused_; }
  WirelessAdapter *adapter() const { return adapter_.get(); }

private:
  explicit WiFiCore(std::unique_ptr<WirelessAdapter> adapter);

  std::unique_ptr<WirelessAdapter> adapter_;
  quint32 lastError_ = 0;
  QMap<QString, WiFiSpot> discoveredNetworks_;
  bool mantainNTWLists_ = false;
  wificore_responder *delegateClass_ = nullptr;
  bool paused_ = true;
  QTimer scanTimer_;
  bool debug_ = false;
};
