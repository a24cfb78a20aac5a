#pragma once

#include "UpdaterLink.h"

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>

// The conversation with the updater program: it is started with the program, the "Update" folder
// of the ModemList folder is kept up to date (the program's and the modem's versions, the device
// type, the modem's identity) and the updater is sent commands, each an XML property list with
// "CMD_ID" 1 (start), 2 (update) or 3 (device state). The conversation is one-way. Without the
// four files of the update folder every operation does nothing.
class AEMessage {
public:
  AEMessage();
  ~AEMessage();
  static AEMessage *defaultAEMessage();
  // Tests make a fresh one after changing the folder or the clock; null goes back to the default.
  static void setDefaultAEMessage(AEMessage *message);

  bool isSupportUpdate() const { return m_isSupportUpdateFunction; }
  bool isDeviceReady() const { return m_isDeviceReady; }
  bool isPastIntervalDays() const { return m_isPastIntervalDays; }

  // At start: versions recorded, the updater started, the start command sent.
  void ApplicationFinishLaunchHook();
  void start_Updater();
  void DealOnlyDiagPort();

  void dealWithUIVersion();
  void dealWithIMEI(const QString &imei);
  void dealWithMCCMNC(const QString &mccmnc);
  void dealWithFirmwareVersion(const QString &version);
  void dealWithInternalFirmwareVersion(const QString &version) { dealWithFirmwareVersion(version); }
  void dealWithDeviceType(const QString &type);
  void dealWithDeviceReady();

  void send_Init_Msg();
  void send_AutoUpdate_Msg();
  void send_FirmwareUpdate_Msg();
  // 0 when the updater took the command, -1 without the update function, else the link's error.
  int send_ManualUpdate_Msg();
  void send_DeviceOK_Msg();
  void send_DeviceOut_Msg();

  // The settings window's update page.
  void setAutoUpdate(bool on);
  void setServiceAddress(const QString &address);
  void setUpdateDuration(int days);

  QVariantMap getLocalInfo() const;
  bool setLocalInfo(const QVariantMap &info);
  QVariantMap getIMEIInfo() const;
  bool setIMEIInfo(const QVariantMap &info);
  static QString getLanguage();
  bool checkingSupportUpdate();
  bool cheakingIntervalDay(const QDateTime &date) const;
  // The per-user folder the updater downloads into; created when missing.
  static QString creatUpdatePath();
  bool isSendUpdateMessageWhenMCCMNC() const { return m_isSendUpdateMessageWhenMCCMNC; }
  void setIsSendUpdateMessageWhenMCCMNC(bool on) { m_isSendUpdateMessageWhenMCCMNC = on; }
  // Hands the command to the updater; 0 when handed over (or waiting for the updater), else an
  // error code. `code` and `appId` name the parameter and the receiver.
  int SendMessage(const QVariantMap &command, const QString &code, const QString &appId);
  void RegisteAEHandle() {}

  // Pure rules, shared with the tests.
  // The firmware's version: the text after the last "V" with its first "B" made "."; empty
  // without a usable "V".
  static QString firmwareVersionFrom(const QString &text);
  // The program's version: the same, but only for a text with a "B" after its "V".
  static QString uiVersionFrom(const QString &text);
  // Days since `date` at `now`: false when negative, else whether days + 0.5 rounded exceeds 30.
  static bool intervalPassed(const QDateTime &date, const QDateTime &now);
  // The ini text with every line that begins with `key` set to `value` (CR and LF removed), blank
  // lines dropped and each line followed by an empty one.
  static QByteArray rewriteIni(const QByteArray &text, const QString &key, const QString &value);

  // Seams: the clock, and where commands go (the D-Bus link by default).
  static void setClock(std::function<QDateTime()> clock);
  using Sender = std::function<int(const QByteArray &xml)>;
  void setSender(Sender sender) { sender_ = std::move(sender); }
  UpdaterLink *link() const { return link_; }

private:
  QVariantMap &settings() const;
  bool settingOn(const QString &key) const;
  QString pathOf(const QString &key) const;
  bool editIni(const QString &key, const QString &value);
  void storeInLocalInfo(const QString &key, const QString &value);
  QVariantMap updateCommand(int mode) const;

  bool m_isDeviceReady = false;
  bool m_isSupportUpdateFunction = false;
  bool m_isSendUpdateMessageWhenMCCMNC = false;
  bool m_isPastIntervalDays = true;
  Sender sender_;
  // Owned by the application object, so that it goes before the bus does.
  QPointer<UpdaterLink> link_;
};
