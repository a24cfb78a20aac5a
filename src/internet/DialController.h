#pragma once

#include "QELUIController.h"

#include <QTimer>

// The connection controller, as far as the main window and the device status need it today:
// the connection state, the disconnect on quit, and the status texts of its connection area.
class DialController : public QELUIController {
  Q_OBJECT
public:
  enum ConnectStatus { kDisconnected = 0, kConnecting = 1, kDisconnecting = 2, kConnected = 3 };
  enum ConnectType { kDialUp = 0, kNDIS = 1 };

  explicit DialController(QObject *parent = nullptr);
  ~DialController() override;

  int connectStatus() const { return connectStatus_; }
  // YES while a connection is up or being made and "AppWillClose" has not been seen yet.
  bool GetisDialNow() const;
  // Disconnects by the current connection type.
  void SelectDisconnectAction();
  void applicationDidFinishLaunchingInDialController();
  // Sends the current connection profile to the backend.
  void setDialParams();

  // The modem-and-SIM status line of the connection area (worded on display).
  void setModemAndSimStateString(const QString &wordingKey);
  QString modemAndSimStateString() const { return modemAndSimState_; }
  void setDeviceStatusStringRows(int rows) { deviceStatusRows_ = rows; }
  void ruvozUITopFixedImage(const QString &topImage, const QString &homePageImage, const QString &connectBtnName,
                            const QString &deviceStatus);
  QString ruvozDeviceStatus() const { return ruvozDeviceStatus_; }

  Q_INVOKABLE void applicationWillClose(const Notification &notification);

  // ---- what the device status asks of the connection when the network changes ----
  // Disconnects the current connection (by its type).
  void DialDisconnect();
  // Connects again after a drop; `automatic` as the reconnect rules pass it.
  void reconnect(bool automatic);
  // YES while a connect request is on its way.
  bool isDoingConnect() const { return doingConnect_; }
  void setDoingConnect(bool on) { doingConnect_ = on; }
  // YES once the user disconnected by hand; automatic connects keep off then.
  bool hadDoManualDisconnect() const { return manualDisconnect_; }
  void setHadDoManualDisconnect(bool on) { manualDisconnect_ = on; }
  // Lets the profile cycle try the next APN on the next connect.
  void setApnCycleEnable(bool on) { apnCycleEnabled_ = on; }
  bool apnCycleEnable() const { return apnCycleEnabled_; }
  // Whether the PS domain is registered: the connect buttons may connect only then.
  void setPSDomainStatus(bool ps);
  bool psDomainStatus() const { return psDomainStatus_; }
  // Follows the network type of every registration report: "No Service" while connected arms a
  // one-shot disconnect; a service back before it fires cancels it; a service back after it
  // disconnected connects again.
  void changeDialConnectStatusWhenNoSignal(const QByteArray &networkType);
  Q_INVOKABLE void disConnectTimer(QObject *timer = nullptr);
  bool disconnectAfterNoSignal90s() const { return disconnectAfterNoSignal90s_; }
  bool isNoSignalTimerActive() const { return noSignalTimer_.isActive(); }
  // Connects (YES) or disconnects (NO) as the connect button would.
  void connectOrDisconnectNetwork(bool connect);
  // Counters the tests and the main window read until the connection code arrives.
  int disconnectRequests() const { return disconnectRequests_; }
  int connectRequests() const { return connectRequests_; }
  int reconnectRequests() const { return reconnectRequests_; }
  // The no-service delay (tests shorten it).
  static void setNoSignalDisconnectDelayMs(int ms);
  // ---- end ----

  // Tests and the connection code that arrives later set the state through here.
  void setConnectStatus(int status) { connectStatus_ = status; }

  // Bytes sent plus received on the current connection.
  double getCurrentTotalData() const { return currentTotalData_; }
  void setCurrentTotalData(double bytes) { currentTotalData_ = bytes; }
  // The connect button gives way to the USSD-active button while USSD runs.
  void setIsHiddenConnectBtn(bool hidden) { connectBtnHidden_ = hidden; }
  bool isHiddenConnectBtn() const { return connectBtnHidden_; }

signals:
  void modemAndSimStateChanged(const QString &text);

private:
  int connectStatus_ = kDisconnected;
  bool appWillClose_ = false;
  double currentTotalData_ = 0;
  bool connectBtnHidden_ = false;
  int deviceStatusRows_ = 1;
  QString modemAndSimState_;
  QString ruvozDeviceStatus_;
  bool doingConnect_ = false;
  bool manualDisconnect_ = false;
  bool apnCycleEnabled_ = false;
  bool psDomainStatus_ = false;
  bool disconnectAfterNoSignal90s_ = false;
  int disconnectRequests_ = 0;
  int connectRequests_ = 0;
  int reconnectRequests_ = 0;
  QTimer noSignalTimer_;
};

extern DialController *g_DialController;
