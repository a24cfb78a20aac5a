#pragma once

#include "Neighbourhood.h"
#include "SettingsNeighbour.h"

// A settings window that answers every question neutrally and does nothing. A test derives
// from it, overrides what it watches and takes the settings' place for its lifetime, so a
// subsystem can be watched talking to its settings neighbour without building the real window.
class SettingsNeighbourStub : public SettingsNeighbour {
public:
  SettingsNeighbourStub() { Neighbourhood::setSettings(this); }
  ~SettingsNeighbourStub() override { Neighbourhood::leave(static_cast<SettingsNeighbour *>(this)); }
  SettingsNeighbourStub(const SettingsNeighbourStub &) = delete;
  SettingsNeighbourStub &operator=(const SettingsNeighbourStub &) = delete;

  bool openSettingPage(const QString &) override { return false; }
  void runAlertPanel(const QString &) override {}
  bool sethasModuleWith(const QString &) const override { return false; }
  void setSettingBtnStatus(bool) override {}
  bool isPinPukOrNetSelectWinBeginSheet() const override { return false; }
  void setAutoConnectBtnEnable(bool) override {}
  bool allowAutoConnect() const override { return false; }
  bool allowAutoReconnect() const override { return false; }
  int getNetworkMode() const override { return 2; }
  void AutoLaunchURL() override {}
  void checkLauchWebLinksAtMoment(bool) override {}
  void setPinActiveStatus(quint32) override {}
  void setPinTimeLeft(int) override {}
  void setPukTimeLeft(int) override {}
  QString getPinStatus() const override { return {}; }
  void setDeviceUnlockCodeState(bool) override {}
  bool getDeviceUnlockCodeState() const override { return false; }
  bool isManualSelecting() const override { return false; }
  bool getOperatorSelectionForNetwork() const override { return false; }
  QString getNetworkSelectionMode() const override { return {}; }
  QString getNetworkFindModeSelection() const override { return {}; }
  int getCurrentNetWorkPreferedMode() const override { return 0; }
  void setWCDMASelectNetworkVisible(bool) override {}
  void setCDMASelectNetworkVisible(bool) override {}
  void dealWithMsgOfCheckSearchmode(uint, uint, uint) override {}
  void dealWithMsgOfCheckSearchmodeForIcera(uint, uint) override {}
  void dealWithMsgOfCheckPreferenceMode(uint) override {}
  void showRoamSwitches(bool, bool) override {}
  void sendSetRoamSwitch() override {}
  void setRoamingStateAccordImsi(const QString &) override {}
  void setRoamingIMSISelectEnabled(bool) override {}
  bool roamingImsiSet() const override { return false; }
  int roamingImsiType() const override { return 0; }
  void setRoamingImsiSet(bool) override {}
  void setCheckForUpdateRizoraEnable(bool) override {}
  void setRuvozModel(const QString &) override {}
  QString readMessageCenter() const override { return {}; }
  void writeMessageCenter(const QString &) override {}
  int readValidityPeriod() const override { return 3; }
  bool readDeliveryReport() const override { return false; }
  int currentSMSStorePosition() const override { return -1; }
  void setCurrentSetSMSPostion_(int) override {}
  void setIsSimCardFull(bool) override {}
  void restoreAlertPanel(bool) override {}
};
