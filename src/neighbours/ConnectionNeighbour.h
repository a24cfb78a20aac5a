#pragma once

#include <QByteArray>
#include <QString>

// What the other subsystems call on the Internet connection (DialController) and on the usage
// records (DialRecordController).
class ConnectionNeighbour {
public:
  // The connection status as connectStatus() answers it.
  enum ConnectStatus { kDisconnected = 0, kConnecting = 1, kDisconnecting = 2, kConnected = 3 };

  virtual ~ConnectionNeighbour() = default;

  // ---- state ----
  virtual int connectStatus() const = 0;
  // YES while a connection is up or being made and the program is not closing.
  virtual bool GetisDialNow() const = 0;
  // YES while a connect or a disconnect is on its way.
  virtual bool isDoingConnect() const = 0;
  // YES once the user disconnected by hand; automatic connects keep off then.
  virtual bool hadDoManualDisconnect() const = 0;
  // Bytes sent plus received on the current connection.
  virtual double getCurrentTotalData() const = 0;
  // The APN of the operator's default profile (the diagnostics page shows it).
  virtual QString getDefaultProfileAPN() const = 0;

  // ---- connect and disconnect ----
  virtual void DialDisconnect() = 0;
  // Connects again after a drop; `reset` starts the attempts afresh.
  virtual void reconnect(bool reset) = 0;
  // Lets a failed connect try the next profile.
  virtual void setApnCycleEnable(bool on) = 0;
  // Follows the network type of a registration report ("No Service" while connected disconnects
  // after a while; a service back reconnects what that disconnect ended).
  virtual void changeDialConnectStatusWhenNoSignal(const QByteArray &networkType) = 0;
  // Whether the PS domain is registered: the connect buttons may connect only then.
  virtual void setPSDomainStatus(bool ps) = 0;
  // Sends the current connection profile to the modem.
  virtual void setDialParams() = 0;
  virtual void applicationDidFinishLaunchingInDialController() = 0;

  // ---- the connection area ----
  // Enables or disables every connect button (a USSD session holds the modem meanwhile).
  virtual void setConnectBtnEnable(bool enable) = 0;
  // The connect button gives way to the USSD-active button while USSD runs.
  virtual void setIsHiddenConnectBtn(bool hidden) = 0;
  // The modem-and-SIM status line (a wording key, worded on display).
  virtual void setModemAndSimStateString(const QString &wordingKey) = 0;
  virtual void setDeviceStatusStringRows(int rows) = 0;
  virtual void ruvozUITopFixedImage(const QString &topImage, const QString &homePageImage,
                                    const QString &connectBtnName, const QString &deviceStatus) = 0;
  // The diagnostics number field.
  virtual void setDiagMSISDNValue(const QString &text) = 0;
  // Hides the profile fields only a WCDMA device has.
  virtual void setWCDMAConfigHidden(bool hide) = 0;
  // Reloads the Internet tab's favourite links from the file the settings window saved.
  virtual void loadFavoritesLinkPropeties() = 0;

  // ---- the operator's default profiles, matched against the SIM ----
  virtual void resetDefaultProfileWithMcc(const QString &mcc, const QString &mnc) = 0;
  virtual void resetDefaultProfileWithMCCMNC(const QString &mccmnc) = 0;
  virtual void resetDefaultProfileWithImsiAll(const QByteArray &imsi) = 0;
  virtual void resetGlobalDefaultProfileWithImsi(const QByteArray &imsi) = 0;
};

class RecordsNeighbour {
public:
  virtual ~RecordsNeighbour() = default;

  // Makes `fileName` (in the modem list folder) the record file and shows its records.
  virtual void loadRecordList(const QString &fileName) = 0;
  // Removes the records of every ended reset period; YES when a period had ended.
  virtual bool periodRecordReset() = 0;
  // Loads the "Record" settings into the record controls again.
  virtual void loadDefaultRecordSetting() = 0;
};
