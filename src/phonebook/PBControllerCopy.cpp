// PBController: copying and moving the selected contacts into another store (a PC group, the
// SIM, the device memory or the memory card).
//
// A move deletes each source only once its copy has reached the destination: a PC source as
// soon as its record's write result (or the PC file's write) is in, a SIM or device-memory
// source after the last result of the batch, with the modem switched back to the source's
// memory for the deletes. A source whose copy was not written stays.
#include "ConfigService.h"
#include "PBAlphaId.h"
#include "PBController.h"
#include "PhoneBookService.h"
#include "WordGlobe.h"

namespace {
// The pending record's private mark: which move source it came from. Never sent, never stored.
const QString kMoveSourceKey = QStringLiteral("qelMoveSource");

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

int takeMoveSource(PBContactRecord &record) {
  const int id = record.contains(kMoveSourceKey) ? record.value(kMoveSourceKey).toInt() : -1;
  record.remove(kMoveSourceKey);
  return id;
}

// Applies the page's command rules again now that a batch is under way: New, Edit and Delete
// wait for its results (the rules know the batch), the rest stays as it was.
void applyBatchRules(PBController &c) {
  const PBPageControls &k = c.controls();
  c.buttonControl(k.addGroup, k.deleteGroup, k.editGroup, k.addUser, k.deleteUser, k.editUser);
}
} // namespace

// ---- the commands ----

void PBController::popUpInfoLostAlertWin() {
  if (!notShowInfoLostTip_)
    popupAlertOk(QStringLiteral("The info may be lost!"));
}

void PBController::move(const QString &destination) {
  if (batchRunning() || destination.isEmpty())
    return;
  moveDestName_ = destination;
  if (destination == word("(U)SIM") || destination == word("Data Card")) {
    // The warning about what the smaller records drop comes while the user can still cancel:
    // Cancel copies nothing.
    const bool accepted =
        ConfigService::readBool(QStringLiteral("PhoneBook"),
                                QStringLiteral("PhoneBook_PopUpSelectAlertWnd_IfCopyToSim"))
            ? popupAlertOkCancel(QStringLiteral("The info may be lost! Do you want to copy the contact to (U)Sim?"))
            : notShowInfoLostTip_ || popupAlertOkCancel(QStringLiteral("The info may be lost!"));
    if (!accepted) {
      moveDestName_.clear();
      return;
    }
  }
  phonebookOperate_ = kPBOperationCopy;
  setMoveAndDelStatus(false);
  startCopy();
}

void PBController::moveAndDelcont(const QString &destination) {
  if (batchRunning() || destination.isEmpty())
    return;
  moveDestName_ = destination;
  // As for a copy: Cancel on the warning moves nothing.
  if ((destination == word("(U)SIM") || destination == word("Data Card")) && !notShowInfoLostTip_ &&
      !popupAlertOkCancel(QStringLiteral("The info may be lost!"))) {
    moveDestName_.clear();
    return;
  }
  phonebookOperate_ = kPBOperationMove;
  setMoveAndDelStatus(true);
  startCopy();
}

void PBController::startCopy() {
  clearAddUserList();
  moveSources_.clear();
  moveDeletes_.clear();
  const QString dest = getMoveDestName();
  if (dest == word("SD Card")) {
    copyIntoTCard();
    return;
  }
  if (!canCopyContacts()) {
    clearAddUserList();
    endCopy();
    return;
  }
  setPBMenuAndExportStatus(false);
  setSavePosEnabled(false);
  if (dest == word("(U)SIM")) {
    if (hasMePosition_ && currentStorage_ != kStorageSIM)
      setModemStorage(kStorageSIM);
    else
      copyContactsToSIM();
  } else if (dest == word("Data Card")) {
    if (hasMePosition_ && currentStorage_ != kStorageME)
      setModemStorage(kStorageME);
    else
      copyContactsToME();
  } else {
    copyContactsToPC();
  }
  if (batchRunning())
    applyBatchRules(*this);
}

void PBController::endCopy() {
  phonebookOperate_ = kPBOperationNone;
  setMoveAndDelStatus(false);
  moveSources_.clear();
  moveDeletes_.clear();
  moveDestName_.clear();
  setSavePosEnabled(true);
  contactSelectionChanged({});
}

// ---- collecting ----

bool PBController::checkFreeSpaceInPC() {
  if (sumOfContactInPC() < pcUserMaxCount_)
    return true;
  popupAlertOk(QStringLiteral("PC Record full,Please delete records first!"));
  return false;
}

bool PBController::checkFreeSpaceInSIM() {
  if (getSimUserNumber() < simMaxIndex_)
    return true;
  popupAlertOk(QStringLiteral("SIM Record full,Please delete records first!"));
  return false;
}

bool PBController::checkFreeSpaceInME() {
  if (getMeUserNumber() < meMaxIndex_)
    return true;
  popupAlertOk(QStringLiteral("Data Card Record full,Please delete records first!"));
  return false;
}

bool PBController::checkFreeSpace() {
  const QString dest = getMoveDestName();
  if (dest == word("(U)SIM"))
    return checkFreeSpaceInSIM();
  if (dest == word("Data Card"))
    return checkFreeSpaceInME();
  return checkFreeSpaceInPC();
}

bool PBController::canCopyContacts() {
  if (selectedRows_.isEmpty() || !checkFreeSpace())
    return false;
  filterCopyContacts();
  return reCheckFreeSpace();
}

void PBController::filterCopyContacts() {
  if (lastSelectSavePos_ == kSaveInTCard && !isSearching())
    return;
  const PBContactList list = shownContacts();
  const bool moving = phonebookOperate_ == kPBOperationMove;
  for (int row : selectedRows_) {
    if (row < 0 || row >= list.size())
      continue;
    const PBContactRecord source = list.at(row).toMap();
    const qsizetype before = m_AddContactList.size();
    addCopyContactToPos(source);
    if (!moving)
      continue;
    MoveSource s;
    s.record = source;
    s.store = lastSelectSavePos_;
    s.group = isSearching() ? groupIndexWithName(source.value(PBKey::kGroupName).toString()) : m_CurGroupIndex;
    s.outstanding = int(m_AddContactList.size() - before);
    // A source none of whose records is sent (all of them already in the destination) stays.
    if (s.outstanding == 0)
      continue;
    const int id = int(moveSources_.size());
    moveSources_.append(s);
    for (qsizetype i = before; i < m_AddContactList.size(); ++i) {
      QVariantMap r = m_AddContactList.at(i).toMap();
      r.insert(kMoveSourceKey, id);
      m_AddContactList[i] = r;
    }
  }
}

void PBController::addCopyContactToPos(const PBContactRecord &record) {
  const QString dest = getMoveDestName();
  if (dest == word("(U)SIM"))
    addCopyContact(record, kStorageSIM);
  else if (dest == word("Data Card"))
    addCopyContact(record, kStorageME);
  else
    addCopyContactToPC(record);
}

PBContactRecord PBController::changeContactToPcContact(const PBContactRecord &source) const {
  PBContactRecord r;
  r.insert(PBKey::kUserName, deleteExtraContent(source.value(PBKey::kUserName).toString(), pcNameMaxLen_));
  for (const QString &key : {PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone})
    r.insert(key, deleteExtraContent(source.value(key).toString(), pcNumberMaxLen_));
  r.insert(PBKey::kEmail, deleteExtraContent(source.value(PBKey::kEmail).toString(), pcEmailMaxLen_));
  return r;
}

void PBController::addCopyContactToPC(const PBContactRecord &record) {
  int group = groupIndexWithName(getMoveDestName());
  if (group < 0)
    group = 0;
  const PBContactRecord r = changeContactToPcContact(record);
  if (isContactNameAndNumberUnique_ || notAllowSameRecordInOneGroup_) {
    const QString name = r.value(PBKey::kUserName).toString(), number = r.value(PBKey::kMobilePhone).toString();
    if (!getContactByName(name, number, m_AddContactList).isEmpty() ||
        !getContactByName(name, number, getGroupWithGroupName(getMoveDestName()).mid(1)).isEmpty())
      return;
  }
  addContactToAddUserList(r);
}

void PBController::addContactNameAndPhoneNumberToArray(const QString &name, const QString &number,
                                                       PBContactList &array) const {
  if (name.isEmpty() || number.isEmpty())
    return;
  if ((isContactNameAndNumberUnique_ || notAllowSameRecordInOneGroup_) &&
      (!getContactByName(name, number, array).isEmpty() || !getContactByName(name, number, m_AddContactList).isEmpty()))
    return;
  array.append(PBContactRecord{{PBKey::kUserName, name}, {PBKey::kMobilePhone, number}});
}

void PBController::changeContactToArray(const PBContactRecord &source, PBContactList &array) const {
  const QString name = PBAlphaId::reSetNameStrWithInputName(source.value(PBKey::kUserName).toString(), simNameMaxLen_);
  auto cutNumber = [&](const QString &key) {
    return deleteExtraContent(source.value(key).toString(), simNumberMaxLen_);
  };
  const QString number = cutNumber(PBKey::kMobilePhone);
  const int k = m_isSupportSimFieldAutoDetection ? simFieldCount() : 1;
  if (m_isSupportSimFieldAutoDetection && !getContactByName(name, number, array).isEmpty())
    return;
  if (k == 1) {
    for (const QString &key : {PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone})
      addContactNameAndPhoneNumberToArray(name, cutNumber(key), array);
    return;
  }
  if (name.isEmpty())
    return;
  PhoneBookService::changeContactAccordToPBFiledCount(
      source, array, PBContactRecord{{PBKey::kUserName, name}, {PBKey::kMobilePhone, number}}, k,
      {simNumber2MaxLen_, simNumber3MaxLen_, simMailMaxLen_}, simNumberMaxLen_);
}

void PBController::filterDuplicateCopyContact(PBContactList &array, int storage) const {
  for (qsizetype i = array.size() - 1; i >= 0; --i) {
    const PBContactRecord r = array.at(i).toMap();
    const QString name = r.value(PBKey::kUserName).toString(), number = r.value(PBKey::kMobilePhone).toString();
    if (storage == kStorageSIM ? contactNameExistInSIM(name, number) : contactNameExistInME(name, number))
      array.removeAt(i);
  }
}

void PBController::addCopyContact(const PBContactRecord &record, int storage) {
  PBContactList array;
  changeContactToArray(record, array);
  if (isContactNameAndNumberUnique_ || notAllowSameRecordInOneGroup_)
    filterDuplicateCopyContact(array, storage);
  if (array.isEmpty()) {
    setSavePosEnabled(true);
    return;
  }
  for (const QVariant &r : array)
    addContactToAddUserList(r.toMap());
}

bool PBController::reCheckFreeSpace() {
  const int n = int(m_AddContactList.size());
  if (n == 0)
    return false;
  const QString dest = getMoveDestName();
  const bool sim = dest == word("(U)SIM");
  if (!sim && dest != word("Data Card"))
    return true;
  const int count = sim ? getSimUserNumber() : getMeUserNumber();
  const int max = sim ? simMaxIndex_ : meMaxIndex_;
  if (count + n <= max)
    return true;
  if (showTipAboutZ3INotEnoughSpace_) {
    popupAlertOk(sim ? QStringLiteral("SIM card has not enough space,Please delete records first!")
                     : QStringLiteral("Data Card has not enough space,Please delete records first!"));
    return false;
  }
  return popupAlertOkCancel(
      sim ? QStringLiteral("You are copying more contacts than the left capacity of SIM card, would you like to "
                           "transfer the number of contacts supported by SIM card?")
          : QStringLiteral("You are copying more contacts than the left capacity of Data Card, would you like to "
                           "transfer the number of contacts supported by Data card?"));
}

// ---- sending ----

void PBController::copyContactsToPC() {
  const QString dest = getMoveDestName();
  int group = groupIndexWithName(dest);
  if (group < 0)
    group = 0;
  QList<PBContactRecord> written;
  for (const QVariant &v : std::as_const(m_AddContactList)) {
    if (sumOfContactInPC() > pcUserMaxCount_)
      break;
    PBContactRecord r = v.toMap();
    PBContactRecord stored = r;
    takeMoveSource(stored);
    stored.insert(PBKey::kGroupName, dest);
    if (addContactToPcPhoneList(stored, group))
      written << r;
  }
  const PBContactList pending = m_AddContactList;
  clearAddUserList();
  const bool saved = savePhoneList2File();
  // The sources of records the file did not take stay.
  for (const QVariant &v : pending) {
    PBContactRecord r = v.toMap();
    finishMoveSources(r, saved && written.contains(v.toMap()));
  }
  selectedRows_.clear();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  if (!moveDeletes_.isEmpty()) {
    startMoveDeletes();
    return;
  }
  endCopy();
}

void PBController::copyIntoTCard() {
  const PBContactList list = shownContacts();
  const bool moving = phonebookOperate_ == kPBOperationMove;
  QList<PBContactRecord> written;
  for (int row : selectedRows_) {
    if (row < 0 || row >= list.size())
      continue;
    if (getTCardUserNumber() >= pcUserMaxCount_) {
      popupAlertOk(QStringLiteral("SD Card Record full,Please delete records first!"));
      break;
    }
    const PBContactRecord source = list.at(row).toMap();
    if (addUserItemInTCard(changeContactToPcContact(source)) && moving)
      written << source;
  }
  // Each moved source goes once its card file is written.
  for (const PBContactRecord &source : written) {
    MoveSource s;
    s.record = source;
    s.store = lastSelectSavePos_;
    s.group = isSearching() ? groupIndexWithName(source.value(PBKey::kGroupName).toString()) : m_CurGroupIndex;
    s.outstanding = 1;
    moveSources_.append(s);
    PBContactRecord mark{{kMoveSourceKey, int(moveSources_.size() - 1)}};
    finishMoveSources(mark, true);
  }
  selectedRows_.clear();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  if (!moveDeletes_.isEmpty()) {
    setSavePosEnabled(false);
    startMoveDeletes();
    return;
  }
  endCopy();
}

// ---- the sources of a move ----

void PBController::finishMoveSources(const PBContactRecord &record, bool written) {
  PBContactRecord r = record;
  const int id = takeMoveSource(r);
  if (id < 0 || id >= moveSources_.size())
    return;
  MoveSource &s = moveSources_[id];
  if (s.outstanding <= 0)
    return;
  --s.outstanding;
  if (!written)
    s.failed = true;
  if (s.outstanding > 0 || s.failed)
    return;
  if (s.store == kSaveInPC) {
    deletePcSource(s.record);
    savePhoneList2File();
  } else if (s.store == kSaveInSIM || s.store == kSaveInME) {
    moveDeleteStorage_ = s.store == kSaveInSIM ? kStorageSIM : kStorageME;
    moveDeletes_ << s.record.value(PBKey::kIndex).toInt();
  }
}

void PBController::deletePcSource(const PBContactRecord &source) {
  // The source's own group first: an equal record elsewhere is another contact.
  for (const MoveSource &s : std::as_const(moveSources_)) {
    if (s.record != source || s.group < 0 || s.group >= m_PcPhoneList.size())
      continue;
    QVariantList group = m_PcPhoneList.at(s.group).toList();
    const qsizetype at = group.indexOf(QVariant(source), 1);
    if (at >= 1) {
      group.removeAt(at);
      m_PcPhoneList[s.group] = group;
      pcChanged();
      return;
    }
    break;
  }
  deleteContactFromPC(source);
}

void PBController::startMoveDeletes() {
  if (moveDeletes_.isEmpty())
    return;
  if (currentStorage_ == moveDeleteStorage_) {
    sendMoveDeletes();
    return;
  }
  pendingSwitches_.append({moveDeleteStorage_, false, true});
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModulePhonebook, PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor, 0, 0,
                                      PBModemBlocks::encodeI32(moveDeleteStorage_));
  applyBatchRules(*this);
}

void PBController::sendMoveDeletes() {
  const QList<int> indexes = moveDeletes_;
  moveDeletes_.clear();
  preDoWithProcessBeforeOperation(int(indexes.size()));
  clearDelUserList();
  for (int index : indexes)
    addContactToDelUserList(index);
  for (int index : indexes)
    deleteContactFromSim(index);
  applyBatchRules(*this);
}
