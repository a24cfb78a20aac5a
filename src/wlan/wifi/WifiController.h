#pragma once

#include "WiFiCore.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;

// A small test panel for the computer's Wi-Fi: power, scan, join, ad-hoc network and
// disconnect, logging what happens. Opened when QEL_WIFI_PANEL is set.
class WifiController : public QWidget, public wificore_responder {
  Q_OBJECT
public:
  explicit WifiController(QWidget *parent = nullptr);

  bool initWIFILibrary();
  static bool isSnowLeopard() { return false; }
  void awakeFromNib();

  void wifiTurnON();
  void wifiScan();
  void wifiConnect();
  void wifiCreatSpot();
  void wifiDisconnectAll();

  void wificore_pollingStarted() override;
  void wificore_pollingEnded() override;
  void wificore_pollingResultsAvailable(const QMap<QString, WiFiSpot> &discovered) override;

  QPointer<QPushButton> btnWifiOn, btnWifiScan, btnWifiConnect, btnWifiCreate, btnWifiDisconnect;
  QPointer<QTableWidget> tbvWifiScanResult;
  QPointer<QLineEdit> tfdWifiConnectName, tfdWifiConnectPassword;
  QList<WiFiSpot> list;
  // What the panel logged, newest last (also sent to the log).
  QStringList logLines;

private:
  void log(const QString &line);
  void titlePowerButton(int state);
  void reloadTable();
  WiFiCore *core_ = nullptr;
};
