#pragma once

#include "QelServiceBase.h"
#include "QspnShow.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// The SIM and serving-network identity every part of the program reads: IMSI, home and serving
// MCC/MNC, ICCID, roam status, network mode, the provider and network names, the signal text,
// and the choice of how the operator names are shown.
//
// One instance per process: the composition root installs it with setSharedInitService (tests
// install fresh ones); sharedInitService creates one on first use when none was installed.
// Nothing is saved: every field is rebuilt from the backend's replies after a device plug-in.
// All members run on the main thread; the membership map alone is guarded by its lock.
class InitService : public QelServiceBase {
public:
  InitService();
  ~InitService() override;

  static InitService *sharedInitService();
  // The previous instance is not deleted (it may be owned elsewhere); nullptr uninstalls.
  static void setSharedInitService(InitService *service);

  // Sets the IMSI all services share. Whoever sets it, a different IMSI means a different card:
  // the membership map then holds the new card's home network and only the friendly networks
  // read since the last plug-in.
  void setImsi(const QString &imsi);

  // SIM files, as the hexadecimal text the backend sends.
  void doParseEF_SPN(const QByteArray &hexText);
  void doParseEF_SPDI(const QByteArray &hexText);
  void doParseEF_ICCID(const QByteArray &hexText);

  // The names after the operator build's substitutions (null when there is none).
  QString homeSpn() const;
  QString localSpn() const;
  // The provider name as the SIM has it.
  const QString &parsedHomeSpn() const { return homeSpn_; }

  void setLocalSpn(const QString &name) { localSpn_ = name; }
  const QString &rawLocalSpn() const { return localSpn_; }
  void setLongFormatLocalSpn(const QString &name) { longFormatLocalSpn_ = name; }
  const QString &longFormatLocalSpn() const { return longFormatLocalSpn_; }
  void setCurrentRmccRmnc(const QString &mccmnc) { currentRmccRmnc_ = mccmnc; }
  const QString &currentRmccrmnc() const { return currentRmccRmnc_; }
  void setNetworkRoamStatus(int status) { networkRoamStatus_ = status; }
  int networkRoamStatus() const { return networkRoamStatus_; }
  void setNetworkMode(int mode) { networkMode_ = mode; }
  int networkMode() const { return networkMode_; }
  void setPnnOplFlag(int flag) { pnnOplFlag_ = flag; }
  int pnnOplFlag() const { return pnnOplFlag_; }
  void setFriendlyNetList(const QStringList &list) { friendlyNetList_ = list; }
  const QStringList &friendlyNetList() const { return friendlyNetList_; }
  void setThe1and2FiledFromSPN(int field) { the1and2FiledFromSPN_ = field; }
  int the1and2FiledFromSPN() const { return the1and2FiledFromSPN_; }
  void setSignalStrength(const QString &text) { signalStrength_ = text; }
  const QString &signalStrength() const { return signalStrength_; }
  void setSignalStrengthFlag(int flag) { signalStrengthFlag_ = flag; }
  int signalStrengthFlag() const { return signalStrengthFlag_; }
  const QString &iccidStr() const { return iccidStr_; }
  // Number of MNC digits of the SIM's home network (2 or 3), as the network reports it.
  void setHomeMncLength(int digits);
  int homeMncLength() const { return homeMncLength_; }

  // Membership map of the home and friendly networks.
  QHash<QString, QString> moduleMapsDict() const;
  void setModuleMapsDictObject(const QString &object, const QString &key);
  static QString membershipKey(const QString &mccmnc);
  // Enters the home network of an IMSI (its MCC and MNC digits) in the map.
  void addHomePlmnToMembership(const QString &imsi);
  bool isHomeOrFriendly(const QString &mccmnc) const;

  // The device left: nothing of its card may answer for the next one.
  void deviceRemoved();

  QString currentHmccmnc() const;
  static QString getMCCByMccmnc(const QString &mccmnc);
  QString getCurrentLocalMcc() const { return getMCCByMccmnc(currentRmccRmnc_); }
  QString getCurrentHomeMcc() const { return getMCCByMccmnc(currentHmccmnc()); }
  // 0 national roaming, 1 international roaming, 2 home, 3 other.
  int getNetWorkRoamType() const;
  bool checkCurrentIsHomeNetWork() const { return networkRoamStatus_ == 1; }
  bool checkCurrentIsFriendlyNetWork() const;
  bool checkCurrentIsHomeOrFriendlyNetWork() const {
    return checkCurrentIsHomeNetWork() || checkCurrentIsFriendlyNetWork();
  }
  bool ifCurrentSIMCardNeededChangeSPN() const;

  // Chooses the strategy from the current state and the operator build's switches.
  QspnShowBase &spnDisplayProtocolSet();
  // Chooses, applies the test override, fills and returns the strategy.
  QspnShowBase &getSpnDisplayProtocol();
  void spnShowTestFromConfigFile();

  QString getInternetAddressAtMainPage() const;

  // A text enciphered for a URL (encode:AndReturnCipherText:), by the operator build's pattern
  // Main/"Main_EncryptURLPattern_IfNeeded": 0 (or absent) the fixed-key service over the text
  // with "0" appended, 1 the keyed cipher with Main/"Main_EncryptSerectKey_IfNeededEncrypt".
  // Empty when the pattern, the key or the text does not allow it.
  QByteArray encodeAndReturnCipherText(const QString &text) const;

private:
  // An empty module reads a top-level entry.
  static QVariant setting(const QString &module, const QString &key);
  static bool switchOn(const QString &module, const QString &key) { return setting(module, key).toBool(); }
  QString changeLocalSPNIfMatchSpecialLMCCMNC() const;
  QString changeBelongSPNIfMatchSpecialHMCCMNC() const;
  void spnDisplayStragetyInit();
  // Brings the membership map to the current IMSI; callers hold the lock.
  void followImsiLocked() const;
  void addHomePlmnLocked(const QString &imsi) const;

  mutable QString membershipImsi_;
  mutable QHash<QString, QString> moduleMapsDict_;
  mutable QMutex pModuleMapsDictLock_;
  QString iccidStr_ = QStringLiteral("");
  QString homeSpn_ = QStringLiteral("");
  QString localSpn_;
  QStringList friendlyNetList_;
  QspnShowBase *spnDisplayProtocol_ = nullptr;
  int the1and2FiledFromSPN_ = 0;
  int networkRoamStatus_ = 2;
  QString currentRmccRmnc_;
  int networkMode_ = 0;
  int pnnOplFlag_ = 0;
  QString longFormatLocalSpn_;
  QString signalStrength_ = QStringLiteral("");
  int signalStrengthFlag_ = 2;
  int homeMncLength_ = 2;

  std::unique_ptr<QspnShowBy3gpp> spnShowBy3gpp_;
  std::unique_ptr<QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp> showHomeSpnBy3gppAndyLocalSpnNotBy3gpp_;
  std::unique_ptr<QspnShowBy3gppAndLocalSpnReplacedByHomeSpn> spnShowBy3gppAndLocalSpnReplacedByHomeSpn_;
  std::unique_ptr<QnoShowAny> noShowAny_;
  std::unique_ptr<QonlyShowHomeSpn> onlyShowHomeSpn_;
  std::unique_ptr<QonlyShowHomeSpnAndHigherPriorityThanLocalSpn> onlyShowHomeSpnAndHigherPriorityThanLocalSpn_;
  std::unique_ptr<QonlyShowLocalSpn> onlyShowLocalSpn_;
  std::unique_ptr<QonlyShowFixedLocalSpn> onlyShowFixedLocalSpn_;
  std::unique_ptr<QonlyShowLocalSpnAndlowerPriorityThanHomeSpn> onlyShowLocalSpnAndlowerPriorityThanHomeSpn_;
  std::unique_ptr<QonlyShowLocalSpnAndHighPriorityThanHomeSpn> onlyShowLocalSpnAndHighPriorityThanHomeSpn_;
};

// The "TestSpn" settings module: fixed identities that let a tester see any name display
// without the network that would produce it.
class QfunctionTest {
public:
  static QfunctionTest *sharedFunctionTest();
  bool getSpnShowFlag() const;
  QVariant getLocalSpnTest() const;
  QVariant getHomeSpnTest() const;
  QVariant getFriendlyListTest() const;
  QVariant getCurrentlocalMccMncTest() const;
  QVariant getCurrentHomeMccMncTest() const;
  int getThe1and2FiledFromSPNTest() const;
  QVariant getCurrentLongFormatSpnTest() const;
  int getPnnOplFlag() const;
};
