// SMSController: saving to another position, moving, deleting, the important box and recovery,
// with the backend's delete and copy chains and the restore and memory-card replies.
#include "ConfigService.h"
#include "ListFile.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingsNeighbour.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QComboBox>
#include <QPushButton>

#include <QSet>
#include <QtEndian>

namespace {
constexpr int kSmsModule = 5, kSmsMajor = 768, kDeleteMinor = 92, kCopyMinor = 93;
// A failing delete is asked once more, then given up.
constexpr int kDeleteRetries = 1;
constexpr int kOperationSave = 6, kOperationMove = 9, kOperationCopyPcToSim = 15;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QByteArray words(std::initializer_list<quint32> values) {
  QByteArray data(int(values.size()) * 4, '\0');
  int at = 0;
  for (quint32 v : values) {
    qToLittleEndian<quint32>(v, data.data() + at);
    at += 4;
  }
  return data;
}

quint32 wordOf(const QVariantMap &entry, const char *key) {
  return quint32(std::max(0, entry.value(QLatin1String(key)).toInt()));
}

// The same message: number, date and text agree.
bool sameMessage(const QVariantMap &a, const QVariantMap &b) {
  return SmsRecord::number(a) == SmsRecord::number(b) && SmsRecord::date(a) == SmsRecord::date(b) &&
         SmsRecord::text(a) == SmsRecord::text(b);
}

// A record as the file holds it: what a load adds is left out.
QVariantMap storedForm(QVariantMap record) {
  record.remove(QStringLiteral("index"));
  record.remove(QStringLiteral("username"));
  QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (!summary.isEmpty()) {
    summary.remove(QStringLiteral("username"));
    record.insert(QStringLiteral("concatSmsInfo"), summary);
  }
  return record;
}

bool isPcOrCard(int position) {
  return position == AT_PC || position == AT_TCARD;
}

// Where a chosen message is now in its store's box: the backend puts arrivals at the front, so
// an index read before a chain started may name another message by the time its request goes.
// The store's file is read afresh; the message is taken at its old index when it is still there,
// else found by number, date and text. -1 when it is gone; the old index when the request
// carries no record to check against.
int currentIndexInStore(const QVariantMap &entry, const char *positionKey, const char *boxKey, const char *indexKey) {
  const int index = entry.value(QLatin1String(indexKey)).toInt();
  if (!entry.contains(QStringLiteral("record")))
    return index;
  const QVariantMap wanted = entry.value(QStringLiteral("record")).toMap();
  const QVariantList box =
      SmsListFiles::readBox(SmsListFiles::pathOfPosition(entry.value(QLatin1String(positionKey)).toInt()),
                            entry.value(QLatin1String(boxKey)).toInt());
  if (index >= 0 && index < box.size() && sameMessage(box.at(index).toMap(), wanted))
    return index;
  for (qsizetype i = 0; i < box.size(); ++i)
    if (sameMessage(box.at(i).toMap(), wanted))
      return int(i);
  return -1;
}

// The box a recovered message goes back to; -1 when the record names none that can take it.
int previousBox(const QVariantMap &record, int sourceBox) {
  const char *key = sourceBox == DeletedBox ? "preLocationBeforeGoToDelBox" : "preLocationBeforeGotoImpBox";
  bool ok = false;
  const int box = record.value(QLatin1String(key)).toInt(&ok);
  if (!ok || !record.contains(QLatin1String(key)))
    return -1;
  if (box < InBox || box > BroadCastBox || box == DeletedBox || box == ImportantBox)
    return -1;
  return box;
}
} // namespace

// ---- PC and card records ----

void SMSController::setPreLocationAndStateToDeletdArray(QVariantList &entries, int sourceBox, int destBox) {
  if (destBox != DeletedBox && destBox != ImportantBox)
    return;
  for (QVariant &e : entries) {
    QVariantMap entry = e.toMap();
    entry.insert(destBox == DeletedBox ? QStringLiteral("preLocationBeforeGoToDelBox")
                                       : QStringLiteral("preLocationBeforeGotoImpBox"),
                 sourceBox);
    if (sourceBox != DraftBox && !SmsRecord::isFlat(entry)) {
      const int state = sourceBox == OutBox ? 3 : 1;
      const bool concat = entry.value(QStringLiteral("concatSmsFlag")).toBool();
      const QString key = concat ? QStringLiteral("concatSmsInfo") : QStringLiteral("smsInfo");
      QVariantMap summary = entry.value(key).toMap();
      summary.insert(QStringLiteral("stat"), state);
      entry.insert(key, summary);
    }
    e = entry;
  }
}

int SMSController::movePcRecords(const QString &path, int sourceBox, const QVariantList &records,
                                 const QList<int> &destinations) {
  const QString sourceKey = smsBoxNames().value(sourceBox);
  if (path.isEmpty() || sourceKey.isEmpty() || records.isEmpty())
    return 0;
  int moved = 0;
  const bool written = ListFile::update(path, [&](QVariantMap &dict) {
    moved = 0;
    QVariantList source = dict.value(sourceKey).toList();
    QSet<qsizetype> taken;
    QHash<int, QVariantList> arrivals;
    QList<int> arrivalOrder;
    for (qsizetype i = 0; i < records.size(); ++i) {
      const QVariantMap wanted = records.at(i).toMap();
      bool ok = false;
      qsizetype at = wanted.value(QStringLiteral("index")).toInt(&ok);
      if (!ok || at < 0 || at >= source.size() || taken.contains(at) || !sameMessage(source.at(at).toMap(), wanted)) {
        // The file changed since the list was read: the message is found again by content.
        at = -1;
        for (qsizetype j = 0; j < source.size() && at < 0; ++j)
          if (!taken.contains(j) && sameMessage(source.at(j).toMap(), wanted))
            at = j;
      }
      if (at < 0)
        continue;
      taken.insert(at);
      const int dest = destinations.value(int(i), -1);
      if (dest < 0 || dest == sourceBox || smsBoxNames().value(dest).isEmpty())
        continue;
      QVariantList one = {storedForm(source.at(at).toMap())};
      setPreLocationAndStateToDeletdArray(one, sourceBox, dest);
      if (!arrivals.contains(dest))
        arrivalOrder << dest;
      arrivals[dest].append(one.first());
    }
    if (taken.isEmpty())
      return false;
    QList<qsizetype> gone(taken.cbegin(), taken.cend());
    std::sort(gone.begin(), gone.end(), std::greater<>());
    for (qsizetype at : gone)
      source.removeAt(at);
    dict.insert(sourceKey, source);
    for (int dest : arrivalOrder) {
      const QString key = smsBoxNames().at(dest);
      QVariantList list = dict.value(key).toList();
      list.append(arrivals.value(dest));
      dict.insert(key, list);
    }
    moved = int(taken.size());
    return true;
  });
  return written ? moved : 0;
}

bool SMSController::copyMessageArray(const QVariantList &entries, int box) {
  const QString key = smsBoxNames().value(box);
  if (key.isEmpty() || entries.isEmpty())
    return false;
  // The file's own box, read under the lock: a filtered view's empty list never replaces it.
  return ListFile::update(SmsListFiles::pathOfPosition(AT_PC), [&](QVariantMap &dict) {
    QVariantList list = dict.value(key).toList();
    for (const QVariant &e : entries)
      list.append(storedForm(e.toMap()));
    dict.insert(key, list);
    return true;
  });
}

bool SMSController::moveMessageArray(const QVariantList &entries, int box) {
  QList<int> destinations(entries.size(), box);
  return movePcRecords(SmsListFiles::pathOfPosition(AT_PC), getCurrentBox(), entries, destinations) > 0;
}

QVariantList SMSController::getSelectedMessages() const {
  const QVariantList shown = tableModel_->rows();
  QVariantList selected;
  for (qsizetype i = selectedRows_.size() - 1; i >= 0; --i)
    if (selectedRows_.at(i) < shown.size())
      selected.append(shown.at(selectedRows_.at(i)));
  return selected;
}

void SMSController::reFreshPCBox() {
  loadBoxinPCList();
  loadMessagesInPosition(AT_TCARD);
  if (page) {
    page->msgBoxList->clearSelection();
    page->messageText->clear();
  }
  currentSMSRecord_.clear();
  reloadTable();
  refreshTreeCounts();
}

void SMSController::deleteMessageFromPC() {
  const QVariantList selected = getSelectedMessages();
  movePcRecords(SmsListFiles::pathOfPosition(AT_PC), getCurrentBox(), selected, {});
}

void SMSController::deleteMessageFromTcard() {
  const QVariantList selected = getSelectedMessages();
  if (movePcRecords(SmsListFiles::pathOfPosition(AT_TCARD), getCurrentBox(), selected, {}) > 0)
    setSynTcardSmsFlag(true);
}

// ---- SIM and device: the delete chain ----

QVariantList SMSController::getSelectedMessagesBeforeDeleteSMSInSIMOrME() const {
  QVariantList items;
  const int position = getCurrentPosition(), box = getCurrentBox();
  for (const QVariant &r : getSelectedMessages())
    items.append(QVariantMap{{QStringLiteral("pos"), position},
                             {QStringLiteral("box"), box},
                             {QStringLiteral("index"), r.toMap().value(QStringLiteral("index"))},
                             {QStringLiteral("record"), r}});
  return items;
}

void SMSController::deleteMessageFromSIMOrME() {
  delSimSmsList_.clear();
  if (page && tableModel_->rowCount() > 0) {
    setButtonState(0);
    page->msgBoxSelectAt->setEnabled(false);
    page->msgBoxList->setEnabled(false);
  }
  deleteMessagesInSIMorMEWithDeletedArray(getSelectedMessagesBeforeDeleteSMSInSIMOrME());
}

void SMSController::deleteMessagesInSIMorMEWithDeletedArray(const QVariantList &items) {
  QVariantList sorted = items;
  // Largest index first: the backend's later indexes shift when an earlier one goes.
  std::stable_sort(sorted.begin(), sorted.end(), [](const QVariant &a, const QVariant &b) {
    return a.toMap().value(QStringLiteral("index")).toInt() > b.toMap().value(QStringLiteral("index")).toInt();
  });
  delSimSmsList_ = sorted;
  deleteRetries_ = 0;
  if (delSimSmsList_.isEmpty()) {
    endChain();
    return;
  }
  chain_ = DeleteChain;
  sendDeleteRequest();
}

void SMSController::sendDeleteRequest() {
  // Each message is found again in its store just before its request: one that is gone is
  // dropped, one that moved is asked for where it is now.
  int index = -1;
  while (!delSimSmsList_.isEmpty() &&
         (index = currentIndexInStore(delSimSmsList_.first().toMap(), "pos", "box", "index")) < 0)
    delSimSmsList_.removeFirst();
  if (delSimSmsList_.isEmpty()) {
    endChain();
    sayChainFailures();
    return;
  }
  QVariantMap first = delSimSmsList_.first().toMap();
  first.insert(QStringLiteral("index"), index);
  delSimSmsList_[0] = first;
  outstandingRequest_ = words({wordOf(first, "pos"), wordOf(first, "box"), wordOf(first, "index")});
  if (!qelMsgCenter ||
      !qelMsgCenter->sendMessageModuleID(kSmsModule, kSmsMajor, kDeleteMinor, 0, 0, outstandingRequest_)) {
    ++chainFailures_;
    delSimSmsList_.clear();
    endChain();
    sayChainFailures();
  }
}

void SMSController::dealWithMsgOfDeleteSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  const QByteArray echo = msg.payload().left(12);
  if (chain_ != DeleteChain || delSimSmsList_.isEmpty() || (echo.size() == 12 && echo != outstandingRequest_)) {
    // Not the chain's request (a draft's delete): its store is read again, the chain stays.
    loadSmsList();
    return;
  }
  if (msg.result == 0) {
    delSimSmsList_.removeFirst();
    deleteRetries_ = 0;
  } else if (deleteRetries_ < kDeleteRetries) {
    ++deleteRetries_;
  } else {
    qWarning("%s", qPrintable(word("Fail to delete SMS!")));
    delSimSmsList_.removeFirst();
    deleteRetries_ = 0;
    ++chainFailures_;
  }
  if (!delSimSmsList_.isEmpty()) {
    sendDeleteRequest();
    if (page)
      page->msgBoxList->clearSelection();
    return;
  }
  endChain();
  sayChainFailures();
}

// Failures of a run are said once, when nothing more of it is outstanding.
void SMSController::sayChainFailures() {
  if (chainRunning() || chainFailures_ == 0)
    return;
  chainFailures_ = 0;
  NSBeginAlertPanelExt(word("Warning"), word("Fail to delete SMS!"), word("OK"));
}

void SMSController::endChain() {
  chain_ = NoChain;
  outstandingRequest_.clear();
  loadSmsList();
  setButtonState(1);
  if (page) {
    page->msgBoxSelectAt->setEnabled(true);
    page->msgBoxList->setEnabled(true);
    page->msgBoxList->clearSelection();
  }
  reloadTable();
  refreshTreeCounts();
}

// ---- saving and moving ----

int SMSController::getSavedDestPosition() const {
  if (qelPositionManager_.positionCount() == 2)
    return getCurrentPosition() != AT_PC ? AT_PC : AT_SIM;
  const QString title = page ? page->popBtnSaveMessage_->currentText() : QString();
  const QList<QPair<const char *, int>> names = {
      {"AT_PC", AT_PC}, {"AT_SIM", AT_SIM}, {"AT_TCARD", AT_TCARD}, {"AT_ME", AT_ME}};
  for (const auto &[name, position] : names)
    if (title == word(name))
      return position;
  return AT_PC;
}

bool SMSController::hasEnoughSpaceToReceiveWithPosition(int position) {
  int need = 0;
  for (const QVariant &r : getSelectedMessages())
    need += SmsRecord::storedParts(r.toMap());
  auto warn = [](const char *key) { NSRunAlertPanelExt(word("Warning"), word(key), word("OK")); };
  switch (position) {
  case AT_ME:
    if (need <= modemCap_ - modemUsed_)
      return true;
    warn("Data Card capacity is not enough!");
    return false;
  case AT_SIM:
    if (need <= m_nSIM_Cap - m_nSIM_Used)
      return true;
    warn("Sim card capacity is not enough!");
    return false;
  case AT_PC: {
    const int limit = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("MaxSMSCountInfo"))
                          .toMap()
                          .value(QStringLiteral("AT_PC"))
                          .toInt();
    // No limit, or one that is not positive, never fills the PC.
    if (limit > 0 && need >= limit - getSMSCountOfNodeWithPos(AT_PC))
      warn("DataBase is full,please delete some items.");
    return true;
  }
  default:
    return true;
  }
}

bool SMSController::alertBeforeSaveToPosition(int position) {
  static const QHash<int, const char *> names = {
      {AT_PC, "PC"}, {AT_SIM, "(U)Sim"}, {AT_TCARD, "Tcard"}, {AT_ME, "Data Card"}};
  const QString question =
      Map_Name_Item_of_IndexString(QStringLiteral("Are you sure you will save the message(s) to ") +
                                   QLatin1String(names.value(position, "PC")) + QStringLiteral("?"));
  const int answer = NSRunAlertPanelExt(word("Warning"), question, word("OK"),
                                        getControlWordingValueByKey(QStringLiteral("Cancel"), kSmsModule));
  if (answer == 0)
    return true;
  if (isPcOrCard(position)) {
    if (position == AT_PC && ConfigService::sharedConfigService()->isCheckPCCompacity())
      hasEnoughSpaceToReceiveWithPosition(AT_PC);
    return false;
  }
  return !hasEnoughSpaceToReceiveWithPosition(position);
}

void SMSController::saveMessage(QObject *sender) {
  SmsService *service = SmsService::sharedSmsService();
  if (page && sender == page->btnMoveTo_)
    service->setSmsCurrentOperate(kOperationMove);
  else if (page && sender == page->saveToBtn)
    service->setSmsCurrentOperate(kOperationSave);
  if (chainRunning() || selectedRows_.isEmpty())
    return;
  const int source = getCurrentPosition();
  const int destination = getSavedDestPosition();
  if (destination == source || alertBeforeSaveToPosition(destination))
    return;
  if (destination == AT_TCARD)
    setSynTcardSmsFlag(true);
  if (!SmsService::isSimOrMeWithPosition(source) && !SmsService::isSimOrMeWithPosition(destination)) {
    // Between PC and card a move copies too: the source stays.
    saveMessageToPosition(destination);
    if (page)
      page->saveAtPos->setCurrentRow(std::max(0, qelPositionManager_.getPositionOrderByPositon(destination)));
    reFreshPCBox();
    return;
  }
  saveToList_.clear();
  delSmsListAfterSave_.clear();
  copiedToSim_.clear();
  delSMSFromPos_ = source;
  delSMSFromBox_ = getCurrentBox();
  if (page && tableModel_->rowCount() > 0) {
    setButtonState(0);
    page->msgBoxSelectAt->setEnabled(false);
    page->newMessageBtn->setEnabled(false);
    setMenuItemState(false, NewItem);
  }
  for (const QVariant &r : getSelectedMessages()) {
    const QVariantMap record = r.toMap();
    const QVariantMap entry = {{QStringLiteral("srcPos"), source},
                               {QStringLiteral("destPos"), destination},
                               {QStringLiteral("srcBox"), delSMSFromBox_},
                               {QStringLiteral("srcIndex"), record.value(QStringLiteral("index"))},
                               {QStringLiteral("record"), record}};
    saveToList_.append(entry);
    delSmsListAfterSave_.append(entry);
  }
  runIsMove_ = service->smsCurrentOperate() == kOperationMove ||
               ConfigService::sharedConfigService()->isSupportDeleteSmsAfterSaveSmsOK();
  saveMessageInSIMorMeWithSaveArray(saveToList_);
}

void SMSController::saveMessageInSIMorMeWithSaveArray(const QVariantList &entries) {
  saveToList_ = entries;
  if (saveToList_.isEmpty()) {
    endChain();
    return;
  }
  chain_ = SaveChain;
  sendSaveRequest();
}

void SMSController::sendSaveRequest() {
  int index = -1;
  while (!saveToList_.isEmpty() &&
         (index = currentIndexInStore(saveToList_.first().toMap(), "srcPos", "srcBox", "srcIndex")) < 0) {
    // Gone from its store: nothing to copy, and nothing to delete after the copy.
    forgetAfterSave(saveToList_.takeFirst().toMap());
  }
  if (saveToList_.isEmpty()) {
    endChain();
    if (runIsMove_)
      deleteSmsAfterSaveSmsOK();
    sayChainFailures();
    return;
  }
  QVariantMap first = saveToList_.first().toMap();
  first.insert(QStringLiteral("srcIndex"), index);
  saveToList_[0] = first;
  outstandingRequest_ =
      words({wordOf(first, "srcPos"), wordOf(first, "srcBox"), wordOf(first, "srcIndex"), wordOf(first, "destPos")});
  if (!qelMsgCenter ||
      !qelMsgCenter->sendMessageModuleID(kSmsModule, kSmsMajor, kCopyMinor, 0, 0, outstandingRequest_)) {
    ++chainFailures_;
    saveToList_.clear();
    delSmsListAfterSave_.clear();
    endChain();
    sayChainFailures();
  }
}

// The copy of `entry` did not happen: its source is not deleted after the chain. The entry is
// named by its record (its index may have been found anew since).
void SMSController::forgetAfterSave(const QVariantMap &entry) {
  for (qsizetype i = 0; i < delSmsListAfterSave_.size(); ++i) {
    const QVariantMap candidate = delSmsListAfterSave_.at(i).toMap();
    if (candidate.value(QStringLiteral("record")) == entry.value(QStringLiteral("record")) &&
        candidate.value(QStringLiteral("srcPos")) == entry.value(QStringLiteral("srcPos"))) {
      delSmsListAfterSave_.removeAt(i);
      return;
    }
  }
}

void SMSController::saveMessageToPosition(int destination) {
  const QString path = isPcOrCard(destination) ? SmsListFiles::pathOfPosition(destination) : QString();
  if (path.isEmpty())
    return;
  const int box = getCurrentBox();
  QVariantList copies;
  for (const QVariant &r : getSelectedMessages())
    copies.append(storedForm(r.toMap()));
  // Messages keep their box; all of them in one locked write.
  const QString key = smsBoxNames().value(box);
  if (key.isEmpty() || copies.isEmpty())
    return;
  ListFile::update(path, [&](QVariantMap &dict) {
    QVariantList list = dict.value(key).toList();
    list.append(copies);
    dict.insert(key, list);
    return true;
  });
}

void SMSController::dealWithMsgOfSaveSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  if (chain_ != SaveChain || saveToList_.isEmpty()) {
    // The usage message's copy to the SIM goes outside the chain: marked read when it landed.
    const QVariantMap usageCopy = usageCopyToSim_;
    usageCopyToSim_.clear();
    loadSmsList();
    if (!usageCopy.isEmpty() && msg.type == 1 && msg.result == 0 &&
        SmsService::sharedSmsService()->smsCurrentOperate() == kOperationCopyPcToSim) {
      copiedToSim_ = {usageCopy};
      setSMSReadedAfterSMSCopyFromPcToSim();
    }
    if (!chainRunning())
      setButtonState(1);
    reloadTable();
    return;
  }
  const QByteArray echo = msg.payload().left(16);
  if (msg.type != 1 || (echo.size() == 16 && echo != outstandingRequest_))
    return;
  const QVariantMap first = saveToList_.takeFirst().toMap();
  if (msg.result == 0) {
    const int destination = first.value(QStringLiteral("destPos")).toInt();
    if (page)
      page->saveAtPos->setCurrentRow(std::max(0, qelPositionManager_.getPositionOrderByPositon(destination)));
    if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("isHaveDeliveryReportBox")))
      showOrHiddenDeliveryReportBox();
    for (int box : {DeletedBox, ImportantBox, DELIVERY_REPORTBOX})
      showOrHiddenSpecialBox(box);
    if (destination == AT_SIM)
      copiedToSim_.append(first.value(QStringLiteral("record")));
  } else {
    qWarning("%s", qPrintable(word("Fail to delete SMS!")));
    ++chainFailures_;
    // A message whose copy failed is never deleted at its source.
    forgetAfterSave(first);
  }
  if (!saveToList_.isEmpty()) {
    sendSaveRequest();
    return;
  }
  endChain();
  if (runIsMove_)
    deleteSmsAfterSaveSmsOK();
  if (SmsService::sharedSmsService()->smsCurrentOperate() == kOperationCopyPcToSim)
    setSMSReadedAfterSMSCopyFromPcToSim();
  sayChainFailures();
}

// ---- deleting, the important box, recovery ----

void SMSController::deleteMessage(QObject *) {
  const int position = getCurrentPosition(), box = getCurrentBox();
  if (position == AT_PC && box == DELIVERY_REPORTBOX) {
    deleteDeliveryReport();
    return;
  }
  if (chainRunning() || tableModel_->rowCount() == 0)
    return;
  if (NSRunAlertPanelExt(word("Warning"), word("Are you sure you want to delete the message(s)?"), word("OK"),
                         getControlWordingValueByKey(QStringLiteral("Cancel"), kSmsModule)) != 1)
    return;
  if (selectedRows_.isEmpty())
    return;
  if (SmsService::isSimOrMeWithPosition(position)) {
    deleteMessageFromSIMOrME();
    return;
  }
  const QVariantList selected = getSelectedMessages();
  const bool intoDeletedBox = hasbox(DeletedBox) && box != DeletedBox;
  if (position == AT_TCARD) {
    if (intoDeletedBox) {
      QVariantList marked = selected;
      setPreLocationAndStateToDeletdArray(marked, box, DeletedBox);
      copyMessageArray(marked, DeletedBox);
    }
    deleteMessageFromTcard();
    loadMessagesInPosition(AT_TCARD);
    reFreshPCBox();
    return;
  }
  // The PC: out of its box and into the DeletedBox in one write.
  movePcRecords(SmsListFiles::pathOfPosition(AT_PC), box, selected,
                QList<int>(selected.size(), intoDeletedBox ? DeletedBox : -1));
  reFreshPCBox();
}

void SMSController::moveToImportantBox(QObject *) {
  const int position = getCurrentPosition(), box = getCurrentBox();
  if (chainRunning() || tableModel_->rowCount() == 0 || !isPcOrCard(position) || box == ImportantBox)
    return;
  if (NSRunAlertPanelExt(word("Warning"), word("Are you sure you want to move the message(s) to the important box?"),
                         word("OK"), word("Cancel")) != 1 ||
      selectedRows_.isEmpty())
    return;
  const QVariantList selected = getSelectedMessages();
  if (position == AT_TCARD) {
    QVariantList marked = selected;
    setPreLocationAndStateToDeletdArray(marked, box, ImportantBox);
    copyMessageArray(marked, ImportantBox);
    deleteMessageFromTcard();
  } else {
    moveMessageArray(selected, ImportantBox);
  }
  reFreshPCBox();
}

void SMSController::recoverMessage(QObject *) {
  const int box = getCurrentBox();
  if (chainRunning() || tableModel_->rowCount() == 0 || getCurrentPosition() != AT_PC ||
      (box != DeletedBox && box != ImportantBox))
    return;
  if (NSRunAlertPanelExt(word("Warning"), word("Are you sure you want to recover the message(s)?"), word("OK"),
                         word("Cancel")) != 1 ||
      selectedRows_.isEmpty())
    return;
  QVariantList records;
  QList<int> destinations;
  for (const QVariant &r : getSelectedMessages()) {
    const int back = previousBox(r.toMap(), box);
    if (back < 0) {
      // Nowhere to go back to: the message stays where it is.
      qWarning("a message without its earlier box is not recovered");
      continue;
    }
    records.append(r);
    destinations.append(back);
  }
  if (!records.isEmpty())
    movePcRecords(SmsListFiles::pathOfPosition(AT_PC), box, records, destinations);
  reFreshPCBox();
}

// ---- restore and the memory card ----

void SMSController::dealWithMsgofRestoreSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type == 2)
    return;
  const bool ok = msg.type == 1 && msg.result == 0;
  if (ok)
    reloadPCSmsList();
  if (auto *settings = Neighbourhood::settings())
    settings->restoreAlertPanel(ok);
}

void SMSController::dealWithMsgOfReLoadTcardSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  setSynTcardSmsFlag(false);
  if (page)
    page->msgBoxList->clearSelection();
  loadMessagesInPosition(AT_TCARD);
  reloadTable();
}

// ---- the page ----

void SMSController::bindManageActions() {
  startSynTcardTimer();
  if (!page)
    return;
  connect(page->deleteBtn, &QPushButton::clicked, this, [this] { deleteMessage(page->deleteBtn); });
  connect(page->saveToBtn, &QPushButton::clicked, this, [this] { saveMessage(page->saveToBtn); });
  connect(page->btnMoveTo_, &QPushButton::clicked, this, [this] { saveMessage(page->btnMoveTo_); });
  connect(page->btnRecover_, &QPushButton::clicked, this, [this] { recoverMessage(page->btnRecover_); });
  connect(page->btnMoveToImportantBox_, &QPushButton::clicked, this,
          [this] { moveToImportantBox(page->btnMoveToImportantBox_); });
  page->btnRecover_->setEnabled(false);
  page->btnMoveToImportantBox_->setEnabled(false);
  fillSaveDestinations();
  initUseShortCutKeyDeleteMessageWindow();
}

// The destination pop-up: every position but the PC-and-SIM pair, where the other one is meant.
void SMSController::fillSaveDestinations() {
  if (!page)
    return;
  QStringList titles;
  for (const QelPosition &p : qelPositionManager_.getAllPositions()) {
    static const QHash<int, const char *> names = {
        {AT_PC, "AT_PC"}, {AT_SIM, "AT_SIM"}, {AT_TCARD, "AT_TCARD"}, {AT_ME, "AT_ME"}};
    if (names.contains(p.positon()))
      titles << word(names.value(p.positon()));
  }
  const int row = page->popBtnSaveMessage_->currentIndex();
  page->popBtnSaveMessage_->clear();
  page->popBtnSaveMessage_->addItems(titles);
  page->popBtnSaveMessage_->setCurrentIndex(std::clamp(row, 0, std::max(0, int(titles.size()) - 1)));
  page->popBtnSaveMessage_->setVisible(qelPositionManager_.positionCount() > 2);
}

// Buttons of the selection: recover in the DeletedBox and ImportantBox, move to important from
// the other PC and card boxes.
void SMSController::setManageButtonsForSelection() {
  if (!page)
    return;
  const int n = int(selectedRows_.size());
  const int box = getCurrentBox(), position = getCurrentPosition();
  const bool idle = !chainRunning();
  page->btnRecover_->setEnabled(idle && n > 0 && position == AT_PC && (box == DeletedBox || box == ImportantBox));
  page->btnMoveToImportantBox_->setEnabled(idle && n > 0 && isPcOrCard(position) && box != DeletedBox &&
                                           box != ImportantBox && box != DELIVERY_REPORTBOX && hasbox(ImportantBox));
  page->deleteBtn->setEnabled(idle && n > 0);
  menuWillOpen();
}
