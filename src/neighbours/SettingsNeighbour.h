#pragma once

#include <QString>
#include <QtGlobal>

// What the other subsystems call on the settings window (SettingController). The window keeps
// the user's choices the others act on (auto connect, SMS defaults, the device lock) and shows
// what the device status learns of the modem (PIN state, network modes, roaming).
class SettingsNeighbour {
public:
  virtual ~SettingsNeighbour() = default;

  // ---- navigation, alerts and the page list ----
  // Brings the window forward on the page named `page`; false when there is no such page.
  virtual bool openSettingPage(const QString &page) = 0;
  // A modal "Warning!" with the worded message of `wordingKey`.
  virtual void runAlertPanel(const QString &wordingKey) = 0;
  // YES when the window's page list holds `identifier` ("Volume Limit", "Network", ...).
  virtual bool sethasModuleWith(const QString &identifier) const = 0;
  // Disables the controls that must not change while a connection is up.
  virtual void setSettingBtnStatus(bool enable) = 0;
  // YES while a PIN, PUK or network-selection sheet of this window is up.
  virtual bool isPinPukOrNetSelectWinBeginSheet() const = 0;

  // ---- connection ----
  virtual void setAutoConnectBtnEnable(bool enable) = 0;
  virtual bool allowAutoConnect() const = 0;
  virtual bool allowAutoReconnect() const = 0;
  // The mode word the PS attach and detach requests carry first.
  virtual int getNetworkMode() const = 0;
  // Opens the configured start page after an NDIS connect.
  virtual void AutoLaunchURL() = 0;
  // Opens the favourite links flagged for the connect (`connected`) or for the start.
  virtual void checkLauchWebLinksAtMoment(bool connected) = 0;

  // ---- PIN and the device lock ----
  virtual void setPinActiveStatus(quint32 on) = 0;
  virtual void setPinTimeLeft(int tries) = 0;
  virtual void setPukTimeLeft(int tries) = 0;
  // The worded "Enabled" or "Disabled" of the PIN lock.
  virtual QString getPinStatus() const = 0;
  virtual void setDeviceUnlockCodeState(bool on) = 0;
  // YES when the user's device lock code is in force.
  virtual bool getDeviceUnlockCodeState() const = 0;

  // ---- network selection and roaming ----
  // YES while a manual network selection runs (refuses quitting and reconnecting meanwhile).
  virtual bool isManualSelecting() const = 0;
  virtual bool getOperatorSelectionForNetwork() const = 0;
  // The worded "Manual" or "Automatic", and the worded find mode ("3G Preferred", ...).
  virtual QString getNetworkSelectionMode() const = 0;
  virtual QString getNetworkFindModeSelection() const = 0;
  // The find mode as the prefer-3G alert reads it (1 is the mode it warns about).
  virtual int getCurrentNetWorkPreferedMode() const = 0;
  // The device family decides which network-class box shows.
  virtual void setWCDMASelectNetworkVisible(bool visible) = 0;
  virtual void setCDMASelectNetworkVisible(bool visible) = 0;
  // The modem's search-mode and preference-mode replies.
  virtual void dealWithMsgOfCheckSearchmode(uint searchMode, uint selectedMode, uint prefMode) = 0;
  virtual void dealWithMsgOfCheckSearchmodeForIcera(uint searchMode, uint selectedMode) = 0;
  virtual void dealWithMsgOfCheckPreferenceMode(uint prefMode) = 0;
  // Shows the switches the modem reported, and sends the boxes' switches to the modem.
  virtual void showRoamSwitches(bool national, bool international) = 0;
  virtual void sendSetRoamSwitch() = 0;
  // The roaming-IMSI choice: selected from the SIM's IMSI, offered once the SIM toolkit's menu
  // is known, and handed to the toolkit's sub-menu (type 0 home, 1 roaming) once.
  virtual void setRoamingStateAccordImsi(const QString &imsi) = 0;
  virtual void setRoamingIMSISelectEnabled(bool enabled) = 0;
  virtual bool roamingImsiSet() const = 0;
  virtual int roamingImsiType() const = 0;
  virtual void setRoamingImsiSet(bool set) = 0;

  // ---- device identity ----
  virtual void setCheckForUpdateRizoraEnable(bool enable) = 0;
  // The model name of the reduced layout.
  virtual void setRuvozModel(const QString &model) = 0;

  // ---- short messages ----
  virtual QString readMessageCenter() const = 0;
  virtual void writeMessageCenter(const QString &number) = 0;
  // The validity-period code (3 when none is saved).
  virtual int readValidityPeriod() const = 0;
  virtual bool readDeliveryReport() const = 0;
  // The store position the SMS page shows (-1 none).
  virtual int currentSMSStorePosition() const = 0;
  virtual void setCurrentSetSMSPostion_(int position) = 0;
  virtual void setIsSimCardFull(bool full) = 0;
  // "Restore SMS And PhoneBook Success." or its failure.
  virtual void restoreAlertPanel(bool ok) = 0;
};
