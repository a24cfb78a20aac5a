#pragma once

#include <QLabel>
#include <QWidget>

// The status area of the main window: network-status and SIM pictures, the SIM and network
// texts, the operator names and the signal picture. InitController owns what they show; this
// view only lays them out.
class InitStatusView : public QWidget {
  Q_OBJECT
public:
  explicit InitStatusView(QWidget *parent = nullptr);

  QLabel *networkStatusImage; // "netstatus1", "netstatus2", "netstatusOfCheckModem"
  QLabel *simImage;           // "noSim", "simReady", "CheckSIMStatus"
  QLabel *simLabel;           // "No (U)SIM" in the letter mode
  QLabel *simTypeField;       // "2G" / "3G"
  QLabel *signalImage;        // "rssi1" .. "rssi6"
  QLabel *networkTypeLabel;   // "labelInitNetwork"
  QLabel *roamStatusLabel;    // "labelInitRoamStatus"
  QLabel *belongToSPNLabel;   // "labelInitBeloneToSPN"
  QLabel *localSPNLabel;      // "labelInitLocalSPN"
  QLabel *domainLabel;        // "labelInitDomain"
  QLabel *lockTipLabel;       // "PIN is locked" / "PUK is locked"
};
