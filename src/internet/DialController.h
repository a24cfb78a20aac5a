#pragma once

#include "QELUIController.h"

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
};

extern DialController *g_DialController;
