// SMSController: reading the list files of every store, the store counts and capacities, and
// the backend's list-ready, receive-position and count replies.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "Neighbourhood.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingsNeighbour.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsServiceTransplant.h"
#include "SmsTableModel.h"
#include "UIMsg.h"

#include <QDebug>
#include <QtEndian>

namespace {
// Counts beyond this are not believed: no store of this kind holds more messages.
constexpr int kMaxCount = 65535;

quint32 u32At(const UIMsg &msg, int offset) {
  if (offset + 4 > msg.dataLength)
    return 0;
  return qFromLittleEndian<quint32>(msg.data.data() + offset);
}

int clampedCount(quint32 value) {
  return int(std::min<quint32>(value, kMaxCount));
}

// Names every record through the phonebook and numbers it in list order.
QVariantList namedList(const QVariantList &records) {
  QVariantList list;
  list.reserve(records.size());
  for (qsizetype i = 0; i < records.size(); ++i) {
    QVariantMap record = records.at(i).toMap();
    if (record.contains(QStringLiteral("concatSmsInfo"))) {
      QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
      summary.insert(QStringLiteral("username"),
                     SMSController::lookupName(summary.value(QStringLiteral("mobilephone")).toString()));
      record.insert(QStringLiteral("concatSmsInfo"), summary);
    }
    record.insert(QStringLiteral("index"), int(i));
    list.append(record);
  }
  return list;
}

QVariantList withImsi(const QVariantList &records, const QString &imsi) {
  QVariantList kept;
  if (imsi.isEmpty())
    return kept;
  for (const QVariant &r : records)
    if (r.toMap().value(QStringLiteral("IMSI")).toString() == imsi)
      kept.append(r);
  return kept;
}
} // namespace

void SMSController::loadSmsList() {
  loadBoxinPCList();
  loadBoxinSIMList();
  loadMessagesInPosition(AT_ME);
  loadMessagesInPosition(AT_TCARD);
  resetPCUnReadSMSNumNotification();
  reloadTable();
}

bool SMSController::insertPcArrival() {
  if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("displayPCSMSByIMSI")))
    return false;
  // The table shows the PC InBox in the file's order (not sorted, not searched): the new row
  // goes in front and the others stay where the user sees them.
  const bool inBoxShown = getCurrentPosition() == AT_PC && getCurrentBox() == InBox && !isSearchMode();
  bool inFileOrder = inBoxShown && tableModel_->rows().size() == pcInBoxList_.size();
  if (inFileOrder) {
    const QVariantList &rows = tableModel_->rows();
    for (qsizetype i = 0; i < rows.size() && inFileOrder; ++i)
      inFileOrder = rows.at(i).toMap().value(QStringLiteral("index")).toInt() == i;
  }
  const int added = SmsService::sharedSmsService()->takePcInBoxArrival();
  if (added < 0)
    return false;
  loadBoxinPCList();
  resetPCUnReadSMSNumNotification();
  if (added == 0) {
    setMsgBoxInfo();
    return true;
  }
  if (!inFileOrder || tableModel_->rows().size() + 1 != pcInBoxList_.size()) {
    reloadTable();
    return true;
  }
  // The view moves its selection down with the rows; the controller's rows follow the same way
  // whether or not the view tells of it.
  const QList<int> selected = selectedRows_;
  tableModel_->prependRow(pcInBoxList_);
  selectedRows_.clear();
  for (int row : selected)
    selectedRows_ << row + 1;
  if (!selectedRows_.isEmpty())
    currentSMSRecord_ = pcInBoxList_.at(selectedRows_.first()).toMap();
  setMsgBoxInfo();
  return true;
}

void SMSController::loadBoxinPCList() {
  SmsService *service = SmsService::sharedSmsService();
  // The service parses the file only when it changed since the last load.
  service->loadBoxinPCList();
  allPcInBoxList_ = service->pcList(InBox);
  allPcOutBoxList_ = service->pcList(OutBox);
  allPcDraftBoxList_ = service->pcList(DraftBox);
  if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("displayPCSMSByIMSI"))) {
    const QString imsi =
        ConfigManager::sharedConfigManager()
            ? ConfigManager::sharedConfigManager()->getConfiguration().value(QStringLiteral("IMSI")).toString()
            : QString();
    pcInBoxList_ = withImsi(allPcInBoxList_, imsi);
    pcOutBoxList_ = withImsi(allPcOutBoxList_, imsi);
    pcDraftBoxList_ = withImsi(allPcDraftBoxList_, imsi);
    deletedBoxList_.clear();
    importantBoxList_.clear();
  } else {
    pcInBoxList_ = allPcInBoxList_;
    pcOutBoxList_ = allPcOutBoxList_;
    pcDraftBoxList_ = allPcDraftBoxList_;
    deletedBoxList_ = service->pcList(DeletedBox);
    importantBoxList_ = service->pcList(ImportantBox);
  }
}

void SMSController::loadBoxinSIMList() {
  if (deviceStoresGone_) {
    // The files stay behind when the device goes; they are not its stores any more.
    simInBoxList_.clear();
    simOutBoxList_.clear();
    simDraftBoxList_.clear();
    m_nSIM_Used = 0;
    return;
  }
  QVariantMap dict;
  ListFile::read(SmsListFiles::pathOfPosition(AT_SIM), &dict);
  simInBoxList_ = namedList(dict.value(QStringLiteral("InBox")).toList());
  simOutBoxList_ = namedList(dict.value(QStringLiteral("OutBox")).toList());
  simDraftBoxList_ = namedList(dict.value(QStringLiteral("DraftBox")).toList());
  m_nSIM_Used = SmsRecord::smsNumberInBox(simInBoxList_) + SmsRecord::smsNumberInBox(simOutBoxList_) +
                SmsRecord::smsNumberInBox(simDraftBoxList_);
  const bool full = isFullWithPosition(AT_SIM);
  if (auto *settings = Neighbourhood::settings()) {
    settings->setIsSimCardFull(full);
    if (full && settings->currentSMSStorePosition() == AT_SIM)
      alertFullWithPosition(AT_SIM, 0);
  }
}

void SMSController::loadMessagesInPosition(int position) {
  if (position == AT_TCARD) {
    messagesFromTcard_.clear();
    if (!hasPosition(AT_TCARD))
      return;
    // Without a mounted card there is no path and the card's lists are empty.
    QVariantMap dict;
    ListFile::read(SmsListFiles::pathOfPosition(AT_TCARD), &dict);
    for (int box : {InBox, OutBox, DraftBox, DeletedBox, ImportantBox}) {
      const QString key = smsBoxNames().at(box);
      messagesFromTcard_.insert(key, namedList(dict.value(key).toList()));
    }
    return;
  }
  if (!hasPosition(position) || position != AT_ME)
    return;
  if (deviceStoresGone_) {
    messagesFromME_.clear();
    modemUsed_ = 0;
    return;
  }
  QVariantMap dict;
  ListFile::read(SmsListFiles::pathOfPosition(AT_ME), &dict);
  messagesFromME_.clear();
  for (const char *box : {"InBox", "OutBox", "DraftBox"})
    messagesFromME_.insert(QLatin1String(box), namedList(dict.value(QLatin1String(box)).toList()));
  modemUsed_ = getMessageNumWithPosition(AT_ME);
  if (isFullWithPosition(AT_ME))
    alertFullWithPosition(AT_ME, 0);
}

QVariantList *SMSController::listRef(int position, int box) {
  if (position == AT_PC) {
    switch (box) {
    case InBox:
      return &pcInBoxList_;
    case OutBox:
      return &pcOutBoxList_;
    case DraftBox:
      return &pcDraftBoxList_;
    case DeletedBox:
      return &deletedBoxList_;
    case ImportantBox:
      return &importantBoxList_;
    default:
      return nullptr;
    }
  }
  if (position == AT_SIM) {
    switch (box) {
    case InBox:
      return &simInBoxList_;
    case OutBox:
      return &simOutBoxList_;
    case DraftBox:
      return &simDraftBoxList_;
    default:
      return nullptr;
    }
  }
  return nullptr;
}

QVariantList SMSController::boxList(int position, int box) const {
  if (position == AT_ME) {
    if (box < InBox || box > DraftBox)
      return {};
    return messagesFromME_.value(smsBoxNames().at(box)).toList();
  }
  if (position == AT_TCARD)
    return messagesFromTcard_.value(smsBoxNames().value(box)).toList();
  if (position == AT_PC && box == BroadCastBox)
    return SmsService::sharedSmsService()->pcList(BroadCastBox);
  if (position == AT_PC && box == DELIVERY_REPORTBOX)
    return deliveryReportRows();
  QVariantList *list = const_cast<SMSController *>(this)->listRef(position, box);
  return list ? *list : QVariantList();
}

int SMSController::getMessageNumWithPosition(int position) const {
  int parts = 0;
  for (int box : {InBox, OutBox, DraftBox})
    parts += SmsRecord::smsNumberInBox(boxList(position, box));
  return parts;
}

bool SMSController::isFullWithPosition(int position) const {
  switch (position) {
  case AT_SIM:
    return m_nSIM_Cap != 0 && m_nSIM_Used >= m_nSIM_Cap;
  case AT_ME:
    return modemCap_ != 0 && modemUsed_ >= modemCap_;
  case AT_PC: {
    // No limit, or one that is not positive, never makes the PC full.
    const int limit = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("MaxSMSCountInfo"))
                          .toMap()
                          .value(QStringLiteral("AT_PC"))
                          .toInt();
    if (limit <= 0)
      return false;
    int count = 0;
    for (int box : {InBox, OutBox, DraftBox, DeletedBox, ImportantBox})
      count += int(SmsService::sharedSmsService()->pcList(box).size());
    return count >= limit;
  }
  default:
    return false;
  }
}

// ---- backend replies ----

void SMSController::dealWithMsgOfLoadSMSList(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  loadSmsList();
  if (u32At(msg, 0) != 1)
    return;
  setSaveAtPosEnabled(true);
  arrivalListsReady();
  const QString defaultName =
      ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("SMSDefaultPos")).toString();
  if (page && !defaultName.isEmpty()) {
    const int row = qelPositionManager_.getPositionOrderByPositonName(defaultName);
    if (row >= 0 && row < page->saveAtPos->count())
      page->saveAtPos->setCurrentRow(row);
  }
  setButtonState(1);
  reloadTable();
}

void SMSController::dealWithMsgOfSMSRevPos(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1 || msg.result != 0 || msg.dataLength != 4)
    return;
  receivePosition_ = int(std::min<quint32>(u32At(msg, 0), 0x7fffffff));
  if (ConfigService::sharedConfigService()->isSupportSetSmsBrowsePosBySmsStoreLoc())
    initSmsBrowsePosWithSmsStorePos(receivePosition_);
}

void SMSController::dealWithMsgOfSMSNum(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  m_nSIM_Cap = clampedCount(u32At(msg, 0));
  m_nSIM_Used = clampedCount(u32At(msg, 4));
  modemCap_ = clampedCount(u32At(msg, 8));
  modemUsed_ = clampedCount(u32At(msg, 12));
  setMsgBoxInfo();
}

void SMSController::dealWithLaterMsg(const Notification &n) {
  UIMsg msg;
  if (QELMsgCenter::getMsgPackage(&msg, n))
    qInfo("SMS reply %d/%d type %d not handled yet", msg.majorId, msg.minorId, msg.type);
}
