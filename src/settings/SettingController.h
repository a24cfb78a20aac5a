#pragma once

#include "QELUIController.h"

// The settings window, as far as the device status and the quit rules need it today.
class SettingController : public QELUIController {
  Q_OBJECT
public:
  explicit SettingController(QObject *parent = nullptr);
  ~SettingController() override;

  // YES while a manual network selection runs; the quit rules refuse to quit then.
  bool isManualSelecting() const { return manualSelecting_; }
  void setManualSelecting(bool on) { manualSelecting_ = on; }

  // Brings the settings window forward on the page named `page`; false when there is no such
  // page (no page is built yet).
  bool openSettingPage(const QString &page);

  // A modal "Warning!" alert with the worded message and an "OK" button; it does not wait (the
  // backend's handlers call it, and packages must keep arriving while it is up).
  void runAlertPanel(const QString &wordingKey);

  void setPinTimeLeft(int tries) { pinTimeLeft_ = tries; }
  void setPukTimeLeft(int tries) { pukTimeLeft_ = tries; }
  int pinTimeLeft() const { return pinTimeLeft_; }
  int pukTimeLeft() const { return pukTimeLeft_; }
  void setPinActiveStatus(quint32 on) { pinActive_ = on != 0; }
  bool pinActiveStatus() const { return pinActive_; }

  // YES when the device unlock code is on.
  bool getDeviceUnlockCodeState() const { return deviceUnlockCodeState_; }
  void setDeviceUnlockCodeState(bool on) { deviceUnlockCodeState_ = on; }

  // The store position the settings window's message page shows (-1 none), and whether the SIM
  // store is full, as the message tab last told.
  int currentSetSMSPosition_ = -1;
  void setIsSimCardFull(bool full) { isSimCardFull_ = full; }
  bool isSimCardFull() const { return isSimCardFull_; }

  // The message settings a send uses (SettingControllerSms.cpp): the centre ("MessageCenterNum",
  // empty when absent; the write saves the settings file), the validity period
  // ("MessageValidPeriod", 3 when absent) and the delivery report ("SwitchDeliveryReport").
  QString readMessageCenter();
  bool writeMessageCenter(const QString &number);
  int readValidityPeriod();
  bool readDeliveryReport();

private:
  bool isSimCardFull_ = false;
  bool deviceUnlockCodeState_ = false;
  bool manualSelecting_ = false;
  int pinTimeLeft_ = -1;
  int pukTimeLeft_ = -1;
  bool pinActive_ = false;
};

extern SettingController *g_SettingController;
