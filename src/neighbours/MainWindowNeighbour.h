#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

// What the other subsystems call on the main window (MainController) and on the device status
// (InitController and the identity it keeps).
class MainWindowNeighbour {
public:
  virtual ~MainWindowNeighbour() = default;

  // The window itself: brought to the front, or miniaturised after a connect when the user asked
  // for that.
  virtual void openMainWindow() = 0;
  virtual void miniaturizeMainWindowWhenConnectSucced() = 0;

  // Toolbar: every item (and its menu entry) at once, or one by its identifier ("USSD1" ...);
  // a disabled item loses its action until enabled again.
  virtual void toolbarSetEnable(bool enable) = 0;
  virtual void toolbarSetItemEnable(bool enable, const QString &identifier) = 0;
  // Rebuilds the skin's toolbar from the skin of "CurrentSkinName2" (0), "CurrentSkinName" (1) or
  // "CurrentSkinName1" (2).
  virtual void insertUSSDToobarItem(int which) = 0;
  // Shows the USSD-active button and hides the connect button, or the other way round.
  virtual void setIsHiddenForUSSDActive(bool hidden) = 0;
  // The call-accept and call-reject menu items; each `set...` flag says whether that item is
  // touched at all.
  virtual void setCallMenuItemEnable(bool acceptState, bool setAccept, bool rejectState, bool setReject) = 0;

  // The status item follows the connection status.
  virtual void freshStatusViewWhenDialStatusChanged() = 0;
  // Opens the worded address of `sender`'s link with the enciphered IMEI and IMSI filled in.
  virtual void tbimainURLEncipherActionExt(QObject *sender) = 0;
  // The operator layout that changes with the tab (with the UI configuration's "BraVavavUI").
  virtual void updateUIForBraVavav(const QString &tabIdentifier) = 0;

  // The updater conversation, for the settings window's update page. Without updater support
  // every call but the first does nothing.
  virtual bool updaterSupported() const = 0;
  virtual void setUpdaterAutoUpdate(bool on) = 0;
  virtual void setUpdaterServiceAddress(const QString &address) = 0;
  virtual void setUpdaterDuration(int days) = 0;
  virtual void sendUpdaterInit() = 0;
  virtual void sendUpdaterManualUpdate() = 0;
};

class DeviceStatusNeighbour {
public:
  virtual ~DeviceStatusNeighbour() = default;

  // Registration: the registered network mode bits (bit 0 circuit-switched, bit 1 packet), the
  // roaming status (0 roaming, 1 home, 2 not registered or not known) as shown and as last
  // registered, and the registered network's MCC-MNC.
  virtual int networkMode() const = 0;
  virtual int networkRoamStatus() const = 0;
  virtual int registeredNetworkRoamStatus() const = 0;
  virtual QString mccmnc() const = 0;
  // Whether a connection may go ahead as far as the packet domain goes: the device registered
  // it, or the configuration skips that check.
  virtual bool checkToReturnPSDomain() const = 0;
  // The current network is among Internet/"InternetWhiteList"; whether the roaming tip still
  // shows on such a network.
  virtual bool isInWhiteList() const = 0;
  virtual bool roamTipWhenInWhiteList() const = 0;
  // Set when the device went from roaming to home, so that the connection cycles its profiles once.
  virtual bool apnCyleWhenRoamToNoRoam() const = 0;
  virtual void setApnCyleWhenRoamToNoRoam(bool on) = 0;
  // Whether the operator's header is drawn with the large font at the next layout.
  virtual bool ruvozUITopFrontSizeFlag() const = 0;
  virtual void setRuvozUITopFrontSizeFlag(bool on) = 0;
  // The stored default national and international roaming switches (0 or 1).
  virtual int nRoamDefaultValue() const = 0;
  virtual int iRoamDefaultValue() const = 0;
  virtual void setAllowAlertSel3GPreferWhenSignalToNoSignal(bool on) = 0;

  // Device lock: the code entry runs as a sheet on `window`; the outcome is posted as
  // "DeviceUnlockSuccess" or "DeviceUnlockFailed", and the asking feature (0 to 6: 1 SMS,
  // 2 phonebook, 3 USSD, 4 call, 5 SIM toolkit, 6 settings) tells whose outcome it is.
  virtual void openUnlockDeviceWindow(QWidget *window) = 0;
  virtual void setDeviceLockFunctionModule(int module) = 0;
  virtual int getDeviceLockFunctionModule() const = 0;
  // The PIN kept on this computer for the card it belongs to (Main/"EnableSavePINNum"): whether
  // saving is on, switching it (off forgets a saved PIN), forgetting the saved PIN (told to the
  // user), and following a change of the card's PIN: the saved one is replaced by `newPin`, or
  // forgotten when `newPin` is empty (the PIN lock was switched off).
  virtual bool isSavingPin() const = 0;
  virtual void setSavingPin(bool on) = 0;
  virtual void forgetSavedPin() = 0;
  virtual void cardPinChanged(const QString &newPin) = 0;
  // The last-chance warning when exactly one PIN (pinAlert) or PUK try is left; `then` runs
  // when it is dismissed (not when the device went meanwhile), or at once without a warning.
  virtual void alertWithPinOrPukLeftTimes(int tries, bool pinAlert, std::function<void()> then) = 0;

  // Identity: the SIM's own number, the modem firmware version, the IMSI and ICCID (empty when
  // unknown), the home MCC followed by the MNC, and whether the SIM's home network is one whose
  // provider name is replaced (Init/"Init_SimHMCCMNCList_NeededChangeSPN").
  virtual QString getPhoneNum() = 0;
  virtual QString getFWVersionWithCGMR() const = 0;
  virtual QString imsi() const = 0;
  virtual QString iccidStr() const = 0;
  virtual QString currentHmccmnc() const = 0;
  virtual bool ifCurrentSIMCardNeededChangeSPN() const = 0;
};
