#pragma once

#include <QString>
#include <functional>

struct UIMsg;
class InitService;

// The serving-network report of the CheckPLMN reply (7, 38), each text read within its field.
struct PlmnReport {
  static constexpr int kPayloadSize = 324;
  // Field offsets and widths within the payload.
  static constexpr int kOperatorNameOffset = 0, kOperatorNameWidth = 68;
  static constexpr int kNationalRoamingNameOffset = 68, kNationalRoamingNameWidth = 68;
  static constexpr int kServingMccOffset = 136, kServingMncOffset = 172, kRoamOffset = 208;
  static constexpr int kHomeMccOffset = 244, kHomeMncOffset = 280, kCodeFieldWidth = 36;
  static constexpr int kPnnOplFlagOffset = 316, kNumericFlagOffset = 320;

  QString operatorName;
  QString nationalRoamingName;
  QString servingMcc;
  QString servingMnc;
  QString roamIndication; // "ROAM_ON", "ROAM_OFF" or anything else
  QString homeMcc;
  QString homeMnc;
  int pnnOplFlag = 0;
  // Not 0: a full report; 0: the report carries only the long-format operator name.
  int numericFlag = 0;
  // The package's trailer says the PS domain is attached.
  bool psDomainMark = false;

  bool isNumeric() const { return numericFlag != 0; }
  // Bytes the package does not carry read as zero.
  static PlmnReport fromMsg(const UIMsg &msg);
};

// What the network-identity handlers need of the device status controller. InitController
// implements it; each method has the name of the controller operation it stands for.
class NetworkIdentitySink {
public:
  virtual ~NetworkIdentitySink() = default;

  // The two name labels. setLocalSPN does nothing for a null name, and posts "init_LocalSPN"
  // only when the flag is set; setBelonetoSPN posts "init_BeloneToSPN" for any non-null name.
  virtual void setLocalSPN(const QString &name, bool reFreshFlag) = 0;
  virtual void setBelonetoSPN(const QString &name) = 0;

  // Roaming. "ROAM_ON" 0, "ROAM_OFF" 1, anything else 2.
  virtual int getNetworkRoamStatusWithQdonResult(const QString &roamIndication);
  virtual void showRoamAlertWindow(int roamStatus) = 0;
  virtual void checkLocalMCCAndNetMCC(const QString &localMcc, const QString &netMcc) = 0;
  virtual int closeRoamAtDomesticRoaming(int roamStatus, const QString &localMcc, const QString &netMcc) = 0;
  virtual void setRoamInfoWithNetworkRoamStatus(int roamStatus) = 0;

  // Profile and APN choice by network (matchApnAccordMCC:andMNC:, checkAPNMatchWithMCCMNC:) and
  // after the ICCID reply.
  virtual void matchApnAccordMCCAndMNC(const QString &homeMcc, const QString &homeMnc) = 0;
  virtual void checkAPNMatchWithMCCMNC(const QString &mccmnc) = 0;
  virtual void getIccidNumAfterMatchApnAccordImsi() = 0;

  // Diagnostics: the MCC and MNC labels, the ICCID field.
  virtual void showDiagMccAndMnc(const QString &mcc, const QString &mnc) = 0;
  virtual void showDiagIccid(const QString &iccid) = 0;

  // The updater conversation (AEMessage isSupportUpdate, dealWithMCCMNC:) and the controller's
  // once-per-run flag around dealWithDeviceReady.
  virtual bool isSupportUpdate() = 0;
  virtual void dealWithMCCMNC(const QString &mccmnc) = 0;
  virtual bool isSendUpdateMessageWhenMCCMNC() = 0;
  virtual void setIsSendUpdateMessageWhenMCCMNC(bool sent) = 0;
  virtual void dealWithDeviceReady() = 0;

  // Registration and change of serving network.
  virtual void informOtherModulePSDomain(int mode) = 0;
  virtual bool firstTimeDealWithQdonWhenNetWorkChanged() = 0;
  virtual void setFirstTimeDealWithQdonWhenNetWorkChanged(bool filter) = 0;
  // Called after the handlers have put the previous MCC/MNC back; the controller switches its
  // report filters.
  virtual void dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(const QString &previousMccmnc) = 0;
  virtual void doWhenNetWorkChanged() = 0;

  // An operator's own rule; true when it has shown the names itself.
  virtual bool progressSPNDomainForZavidev(const QString &shownName) = 0;
};

// The device status controller's handling of the network identity replies: CheckPLMN (7, 38),
// CheckSPDI (7, 40), CheckSPN (7, 41), CheckICCID (7, 42), and the two ways of putting the
// operator names on screen. It keeps the controller's serving MCC/MNC text and its copies of the
// SIM's provider name, display condition and ICCID.
class NetworkIdentityHandlers {
public:
  using WordLookup = std::function<QString(const QString &)>;

  // `service` defaults to the shared InitService; `word` (the wording lookup) to the identity.
  explicit NetworkIdentityHandlers(NetworkIdentitySink &sink, InitService *service = nullptr, WordLookup word = {});

  void dealWithMsgOfCheckPLMN(const UIMsg &msg);
  void dealWithMsgOfCheckSPDI(const UIMsg &msg);
  void dealWithMsgOfCheckSPN(const UIMsg &msg);
  void dealWithMsgOfCheckICCID(const UIMsg &msg);

  // The strategy way (Init/"Init_ShowSpnByNewMethod").
  void showSpn();
  // The general way.
  void postSetProviderAndDomainStatusForGeneral(const PlmnReport &report);
  void progressSPNDomainForGeneral(const QString &name);

  // The device left: no serving network, no card.
  void deviceRemoved();

  // The serving MCC/MNC text: the empty string while unregistered, null before any report.
  const QString &mccmnc() const { return mccmnc_; }
  void setMccmnc(const QString &mccmnc) { mccmnc_ = mccmnc; }
  bool isNetWorkChangedWithPreMCCMNC(const QString &previous) const;
  const QString &spn() const { return m_SPN; }
  int displayCondForSpn() const { return m_DisplayCondForSpn; }
  const QString &iccid() const { return iccid_; }

  // Payload widths of the SIM-file replies.
  static constexpr int kSimFileTextWidth = 512;

private:
  InitService &service() const;
  QString word(const QString &name) const;
  static bool switchOn(const QString &module, const QString &key);

  NetworkIdentitySink &sink_;
  InitService *service_;
  WordLookup word_;
  QString mccmnc_;
  QString m_SPN;
  int m_DisplayCondForSpn = 0;
  QString iccid_;
};
