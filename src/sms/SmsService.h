#pragma once

#include "ListFile.h"
#include "QelPosition.h"
#include "QelServiceBase.h"

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// The process-wide SMS store service: cached boxes of the PC and SIM lists, PC box writes,
// names and positions of loaded records, the unread lists, the delete and save request lists,
// special numbers, data-usage messages with their monthly expiry, purchase messages and the
// flags shared by the SMS controller and the main window.
class SmsService : public QelServiceBase {
  Q_OBJECT
public:
  // The installed instance; one made on first use when none was installed.
  static SmsService *sharedSmsService();
  // Tests install a fresh service (null restores the default one); the previous one is kept.
  static void setSharedSmsService(SmsService *service);

  explicit SmsService(QObject *parent = nullptr);

  // ---- positions and boxes ----
  QString loadDefaultPhoneSeparator() const;
  QString phoneSeparator() const { return phoneSeparator_; }
  static int getBoxWithBoxStr(const QString &name) { return SmsBoxTables::getBoxWithBoxStr(name); }
  QString getBoxStrWithBox(int box) const { return boxTables_.getBoxStrWithBox(box); }
  void boxStrMapInit() { boxTables_ = SmsBoxTables(); }
  void qelPositionManagerInit() { qelPositionManager_ = QelPositionManager::fromSettings(); }
  const QelPositionManager &qelPositionManager() const { return qelPositionManager_; }
  static bool isSimOrMeWithPosition(int position) { return position == AT_SIM || position == AT_ME; }

  // ---- PC and SIM lists ----
  // The PC file's array of box 0, 1, 2, 4, 5 or 6; an empty list for others or no file.
  QVariantList readPCListWithBox(int box) const;
  // The same with names and "index" set.
  QVariantList getPCBoxListWithBox(int box) const;
  // Refills the six PC lists; a file unchanged since the last load keeps the lists as they are.
  void loadBoxinPCList();
  // After the backend filed one message first in the PC InBox: when the file is the one the lists
  // were last made from with exactly one record put in front of its InBox, that record alone is
  // read and inserted (the others are renumbered; nothing else is parsed): 1. 0 when the file
  // has not changed since (the later parts of a long message filed whole), -1 when only a full
  // load can tell what changed; the lists are then as they were.
  int takePcInBoxArrival();
  // Reloads the PC lists, then the cached list of the box (empty for a box the PC has not).
  QVariantList getAllPcListByBox(int box);
  void loadBoxInSIMList();
  QVariantList simInBoxList() const { return simInBoxList_; }
  QVariantList simOutBoxList() const { return simOutBoxList_; }
  QVariantList simDraftBoxList() const { return simDraftBoxList_; }
  // Writes a PC box: the file's other boxes, read fresh under the lock, are kept. Answers
  // whether the file was written; a missing file is created.
  bool writeMessagesToPC(const QVariantList &records, int box);
  bool writeMessagesToBox(int box, const QVariantList &records, const QString &path);
  // Sets the display names (the service has no phonebook: the number, or the recipients of a
  // flat draft) and "index" of every record.
  void setUserNameAndIndexToSMSBoxList(QVariantList &records, int box, int position) const;
  // The recipients of a text joined with the separator, each piece trimmed of nothing else.
  QString searchMultiPhoneNumber(const QString &numbers) const;
  bool saveBroadCastAsShortMessage(const QVariantMap &record);
  void backUpSmsListOfPcInbox(const QVariantList &records) { pcInBoxBackListBeforeRevNewSms_ = records; }
  QVariantList pcInBoxBackList() const { return pcInBoxBackListBeforeRevNewSms_; }
  int findNewSmsIndexInPCInBoxList(const QVariantList &records) const;

  // ---- delete and save request lists ----
  // Removes from the PC box the records the items name by "srcIndex" (the "index" of the last
  // load): each is found again by its content in the file read fresh under the lock, so a
  // message stored in between is neither lost nor deleted in its place.
  bool deleteSMSlist(const QVariantList &items, int box);
  void makeSimSmsDelList(const QVariantList &items, int box);
  QVariantList delSimSmsList() const { return delSimSmsList_; }
  void setDelSimSmsList(const QVariantList &list) { delSimSmsList_ = list; }
  void makeSaveSmsBySrcPos(int srcPos, int destPos, int srcBox, int srcIndex);
  QVariantList saveToList() const { return saveToList_; }

  // ---- unread lists ----
  static int getUnreadSMSCountFromSMSList(const QVariantList &records);
  static QVariantList getUnreadSMSInSMSlist(const QVariantList &records);
  // Refills and answers the unread list of position 0 or 1; an empty list for others.
  QVariantList getUnreadSMSInPos(int position, const QVariantList &inBox);
  QVariantList unreadSMSListInPc() const { return unreadSMSListInPc_; }
  QVariantList unreadSMSListInSim() const { return unreadSMSListInSim_; }
  bool checkPos(int position, int type) const;
  bool checkPCContainTypeSMS(int type) const;
  bool checkSIMContainTypeSMS(int type) const;

  // ---- special numbers ----
  QVariantMap getDictionaryContainsSpeicalNumberAndSpeicalStringWithPhoneNumber(const QString &number) const;
  QVariantMap getDictionaryContainsSpeicalNumberAndSpeicalString(const QString &text) const;

  // ---- data-usage messages: 0 at 75 %, 1 at 100 %, 2 none ----
  int checkFlowValueTypeBySmsPhoneNumber(const QString &number, const QString &text) const;
  bool checkSmsIsSevetyFivePercentFlowValueSmsByPhoneNumber(const QString &number, const QString &text) const;
  bool checkSmsIsOneHundredPercentFlowValueSmsByPhoneNumber(const QString &number, const QString &text) const;
  static bool string(const QString &text, const QString &sub) { return !sub.isEmpty() && text.contains(sub); }
  // Remembers the message in module "FlowValueSmsInfo" (created when absent); false when
  // nothing was written.
  bool saveFlowValueInfoIntoFileWithSmsContent(const QString &text, const QDateTime &date, int type);
  int getFlowValueInfoFromFile();
  QVariantMap flowValueSmsInfo() const { return flowValueSmsInfo_; }
  void clearFlowValueInfo();
  // The 22nd at 00:00 in the local zone after the arrival day read in that zone: of the same
  // month for days 1-21, of the next month (January of the next year after December) from the
  // 22nd. Invalid for an invalid date.
  static QDateTime deadlineForArrival(const QDateTime &arrival);
  QDateTime makeFlowValueSmsOverDueTime() const;
  bool checkIsOverdueByDate(const QDateTime &arrival) const;
  bool isOverDueFlowValueSms();
  bool checkIsValidFlowValueSmsBySMSContent(const QString &text, const QString &number, const QDateTime &received);
  bool checkSIMReceivedValidFlowValueSMS();
  int typeOfNewSms() const { return typeOfNewSms_; }
  void setTypeOfNewSms(int type) { typeOfNewSms_ = type; }
  // The application icon the expiry shows ("icon.icns.png" when a data-usage message expires).
  QString applicationIconName() const { return applicationIconName_; }

  // ---- purchase by SMS ----
  bool checkSMSIsPurChaseSMSBySmsPhoneNumber(const QString &number, const QString &text);
  void parseBroadBandListFromSMSContent(const QString &text);
  void parseConfigInformationFromSMSContent(const QString &text);
  QVariantMap processListOfRecharge() const { return processListOfRecharge_; }
  void setProcessListOfRecharge(const QVariant &table) { processListOfRecharge_ = table.toMap(); }
  QString processOfRechargeBySMS() const { return processOfRechargeBySMS_; }
  void setProcessOfRechargeBySMS(const QString &step) { processOfRechargeBySMS_ = step; }
  QString purchaseSMSContent() const { return purchaseSMSContent_; }
  void setPurchaseSMSContent(const QString &text) { purchaseSMSContent_ = text; }
  QString configSMSContent() const { return configSMSContent_; }
  void setConfigSMSContent(const QString &text) { configSMSContent_ = text; }
  QStringList broadBandList() const { return broadBandList_; }
  void setBroadBandList(const QStringList &list) { broadBandList_ = list; }

  // ---- flags ----
  int smsCurrentOperate() const { return smsCurrentOperate_; }
  void setSmsCurrentOperate(int operation) { smsCurrentOperate_ = operation; }
  bool sendingSMSInBackGround() const { return sendingSMSInBackGround_; }
  void setSendingSmsSMSInBackGroud(bool on) { sendingSMSInBackGround_ = on; }
  // Sets SMS/"noSendInfoWnd" when it differs and saves the settings.
  void setUnshowInfoWndWhenSendSmsByFlag(bool flag);
  void saveSendSuccessResultBySendCount(int sent, int ok);
  bool sendingSMSSuccess() const { return sendingSMSSuccess_; }
  void setSendingSMSSuccess(bool on) { sendingSMSSuccess_ = on; }
  bool bAlreadySendedCheckUsageSMS() const { return bAlreadySendedCheckUsageSMS_; }
  void setBAlreadySendedCheckUsageSMS(bool on) { bAlreadySendedCheckUsageSMS_ = on; }
  bool isShowCheckUsageRespondedSMS(const QString &number) const;

  // The PC boxes as last loaded, with their unread records and stored parts counted then.
  QVariantList pcList(int box) const;
  int pcUnreadCount(int box) const { return pcCounts_.value(box).first; }
  int pcStoredParts(int box) const { return pcCounts_.value(box).second; }

private:
  QVariantList *pcListRef(int box);

  QelPositionManager qelPositionManager_;
  SmsBoxTables boxTables_;
  QVariantList simInBoxList_, simOutBoxList_, simDraftBoxList_;
  QVariantList allPcInBoxList_, allPcOutBoxList_, allPcDraftBoxList_, deletedBoxList_, importantBoxList_,
      broadcastBoxList_;
  QVariantList delSimSmsList_;
  QVariantList saveToList_;
  QVariantList pcInBoxBackListBeforeRevNewSms_;
  QVariantMap flowValueSmsInfo_;
  QVariantMap flowValueSMsJudgeContionDic_;
  QVariantList unreadSMSListInPc_, unreadSMSListInSim_;
  int typeOfNewSms_ = 2;
  QString phoneSeparator_;
  int smsCurrentOperate_ = 0;
  bool sendingSMSInBackGround_ = false;
  QVariantMap processListOfRecharge_;
  QString processOfRechargeBySMS_;
  QStringList broadBandList_;
  QString configSMSContent_;
  QString purchaseSMSContent_;
  bool sendingSMSSuccess_ = false;
  bool bAlreadySendedCheckUsageSMS_ = false;
  QString applicationIconName_;
  // The PC list as last parsed: an unchanged file is not parsed or named again.
  ListFile::Cache pcCache_;
  QString pcListsPath_;
  bool pcListsLoaded_ = false;
  QHash<int, QPair<int, int>> pcCounts_;
  // What the PC lists were made from: the file's identity, and where its InBox's first record
  // goes with checksums of the text before and after that point, so an arrival put in front is
  // recognised without reading the rest. `at` -1: no arrival is taken without a full load.
  struct PcListPrint {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    qsizetype at = -1;
    size_t head = 0;
    size_t tail = 0;
    bool sameFile(const PcListPrint &o) const {
      return size >= 0 && size == o.size && mtimeNs == o.mtimeNs && inode == o.inode;
    }
  };
  PcListPrint pcPrint_;
  static PcListPrint fileIdentity(const QString &path);
  void printPcList(const QString &path, const PcListPrint &before);
};
