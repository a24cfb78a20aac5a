#pragma once

#include "NotificationCenter.h"

#include <QLabel>
#include <QWidget>


// The Internet page as far as it exists today: what the device reports (device, SIM, network,
// operator), kept up to date from the device status notifications.
class DeviceStatePanel : public QWidget {
  Q_OBJECT
public:
  explicit DeviceStatePanel(QWidget *parent = nullptr);

  QLabel *headline;
  QLabel *detail;
  // The connection profile's box (profile, number, user, password), below the device state.
  void setProfileBox(QWidget *box);

private:
  void refresh();
  bool modem_ = false;
  bool sim_ = false;
  QString network_;
  QString operator_;
};
