// PBController: the SIM and device-memory stores, read, written and switched through the backend.
#include "ConfigService.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QFileInfo>

namespace {
// The largest list file taken from the backend.
constexpr qint64 kMaxListFileBytes = 16 * 1024 * 1024;

int indexOfFirstWithIndex(const PBContactList &list, int index) {
  for (int i = 0; i < list.size(); ++i) {
    const QVariantMap r = list.at(i).toMap();
    if (r.contains(PBKey::kIndex) && r.value(PBKey::kIndex).toInt() == index)
      return i;
  }
  return -1;
}
} // namespace

// ---- incoming packages ----

void PBController::phonebookInitFinished(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification))
    return;
  applyReadResult(PBModemBlocks::parseReadResult(msg.payload()));
}

void PBController::phonebookWriteResult(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification))
    return;
  applyWriteResult(PBModemBlocks::parseWriteResult(msg.payload()));
}

void PBController::modemStorageChanged(const Notification &notification) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, notification))
    return;
  applySwitchAnswer(msg.result);
}

void PBController::deviceRemoved(const Notification &) {
  initSimVariables();
  initMeVariables();
  clearAddUserList();
  clearDelUserList();
  setDelAddState(0);
  pendingSwitches_.clear();
  plugInSimRequest_ = {};
  m_allPhoneList.clear();
  m_TCardPhoneList.clear();
  tcardInitFinished_ = false;
  currentStorage_ = 0;
  phonebookOperate_ = kPBOperationNone;
  moveSources_.clear();
  moveDeletes_.clear();
  moveDestName_.clear();
  // The page: only the PC store is left.
  netcardChanged(4);
  addUser_ = editUser_ = false;
  isCallModuleReady_ = false;
  SetMutexButton(false, false, false);
  setSavePosEnabled(true);
  if (ConfigService::readBool(QString(), QStringLiteral("PCDataWithIMSI")))
    reloadPCPhoneList();
  page().showStore(kSaveInPC);
  selectAtPCSide();
  SetConpacityShow();
  controls_.progressVisible = false;
  controlsChanged();
  notificationCenter->postNotificationName(QLatin1String(kPBDeviceRemoved), this,
                                           {{QLatin1String(kPBDeviceRemoved), QStringLiteral("DeviceHasRemoved")}});
}

// ---- read result ----

void PBController::setBaseInfo(const PBModemBlocks::ReadResult &block, int storage) {
  if (storage == kStorageME) {
    currentStorage_ = kStorageME;
    meMaxIndex_ = block.maxIndex;
    meMinIndex_ = block.minIndex;
    meNumberMaxLen_ = block.numberMaxLen;
    meNameMaxLen_ = block.nameMaxLen;
  } else if (storage == kStorageSIM) {
    currentStorage_ = kStorageSIM;
    simMaxIndex_ = block.maxIndex;
    simMinIndex_ = block.minIndex;
    simNumberMaxLen_ = block.numberMaxLen;
    simNameMaxLen_ = block.nameMaxLen;
  } else {
    return;
  }
  if (!setting("SimFieldAutoDetectionEnabled"))
    return;
  if (storage == kStorageME) {
    meNumber2MaxLen_ = block.number2MaxLen;
    meNumber3MaxLen_ = block.number3MaxLen;
    meMailMaxLen_ = block.emailMaxLen;
  } else {
    simNumber2MaxLen_ = block.number2MaxLen;
    simNumber3MaxLen_ = block.number3MaxLen;
    simMailMaxLen_ = block.emailMaxLen;
  }
  if (setting("Z3IDefinedPBItemLength")) {
    simNumberMaxLen_ = simNumber2MaxLen_ = simNumber3MaxLen_ = pcNumberMaxLen_;
    simNameMaxLen_ = pcNameMaxLen_;
    simMailMaxLen_ = pcEmailMaxLen_;
  }
  int flag = 0;
  if (block.nameMaxLen > 0)
    flag |= kFieldName;
  if (block.numberMaxLen > 0)
    flag |= kFieldNumber;
  if (block.number2MaxLen > 0)
    flag |= kFieldNumber2;
  if (block.number3MaxLen > 0)
    flag |= kFieldNumber3;
  if (block.emailMaxLen > 0)
    flag |= kFieldEmail;
  m_simContactFiledsFlag = flag;
}

PBContactList PBController::recordsFromListFile(const QString &path) const {
  PBContactList list;
  const QFileInfo info(path);
  QVariant value;
  if (path.isEmpty() || !info.isFile() || info.size() > kMaxListFileBytes || !Plist::readFile(path, &value))
    return list;
  const bool allFields = setting("SimFieldAutoDetectionEnabled");
  static const QList<std::pair<QString, QString>> plain = {
      {QStringLiteral("ITEM_NAME"), PBKey::kUserName},
      {QStringLiteral("ITEM_NUM1"), PBKey::kMobilePhone},
  };
  static const QList<std::pair<QString, QString>> detected = {
      {QStringLiteral("ITEM_NUM2"), PBKey::kHomePhone},
      {QStringLiteral("ITEM_NUM3"), PBKey::kOfficePhone},
      {QStringLiteral("ITEM_EMAIL"), PBKey::kEmail},
  };
  for (const QVariant &v : value.toList()) {
    if (v.typeId() != QMetaType::QVariantMap)
      continue;
    const QVariantMap item = v.toMap();
    PBContactRecord r;
    if (item.contains(QStringLiteral("ITEM_INDEX")))
      r.insert(PBKey::kIndex, item.value(QStringLiteral("ITEM_INDEX")).toInt());
    for (const auto &[from, to] : plain)
      if (item.contains(from))
        r.insert(to, item.value(from).toString());
    if (allFields)
      for (const auto &[from, to] : detected)
        if (item.contains(from))
          r.insert(to, item.value(from).toString());
    list.append(r);
  }
  sortList(list);
  return list;
}

void PBController::applyReadResult(const PBModemBlocks::ReadResult &result) {
  setBaseInfo(result, result.storage);
  const PBContactList list = recordsFromListFile(result.listFilePath);
  if (currentStorage_ == kStorageME) {
    meInitFinished_ = true;
    m_MePhoneList = list;
    addListToAllPhoneList(m_MePhoneList, kStorageME);
    postPhonebookInitFinishedMessage();
  } else {
    simInitFinished_ = true;
    m_SimPhoneList = list;
    simChanged();
    addListToAllPhoneList(m_SimPhoneList, kStorageSIM);
    addPcPhoneListToAllPhoneList();
    initTCard();
  }
  setSavePosEnabled(true);
  setDefaultSelectMemory();
  if (auto *sms = Neighbourhood::messages())
    sms->loadSaveNumberBtnwithState(true);
  if (!hasMePosition_)
    postPhonebookInitFinishedMessage();
}

// ---- requests ----

void PBController::sendRequest(const PBModemBlocks::Request &request) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModulePhonebook, PBModemBlocks::kWriteMajor, PBModemBlocks::kWriteMinor, 0, 0,
                                      PBModemBlocks::encodeRequest(request));
}

void PBController::writeContactToSIM(const PBContactRecord &record) {
  PBModemBlocks::Request r;
  r.index = record.value(PBKey::kIndex).toInt();
  r.name = record.value(PBKey::kUserName).toString();
  r.number = record.value(PBKey::kMobilePhone).toString();
  if (setting("SimFieldAutoDetectionEnabled")) {
    r.number2 = record.value(PBKey::kHomePhone).toString();
    r.number3 = record.value(PBKey::kOfficePhone).toString();
    r.email = record.value(PBKey::kEmail).toString();
  }
  r.operation = PBModemBlocks::kOperationWrite;
  sendRequest(r);
}

void PBController::deleteContactFromSim(int index) {
  PBModemBlocks::Request r;
  r.index = index;
  r.operation = PBModemBlocks::kOperationDelete;
  sendRequest(r);
}

void PBController::saveContactToSim(const PBContactRecord &record) {
  writeContactToSIM(record);
  m_AddContactList.append(record);
  addSent_.append(true);
}

void PBController::setModemStorage(int code) {
  // Only a switch asked for while a copy or move waits for its memory continues it.
  pendingSwitches_.append({code, phonebookOperate_ == kPBOperationCopy || phonebookOperate_ == kPBOperationMove});
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModulePhonebook, PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor, 0, 0,
                                      PBModemBlocks::encodeI32(code));
}

// ---- pending lists ----

void PBController::addContactToAddUserList(const PBContactRecord &record) {
  m_AddContactList.append(record);
  addSent_.append(false);
}

void PBController::deleteContactFromAddUserList() {
  if (m_AddContactList.isEmpty()) {
    NSRunAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning!")),
                       Map_Name_Item_of_IndexString(QStringLiteral("No deletion will take place!")),
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
    return;
  }
  m_AddContactList.removeFirst();
  addSent_.removeFirst();
}

void PBController::clearAddUserList() {
  m_AddContactList.clear();
  addSent_.clear();
}

void PBController::addContactToDelUserList(int index) {
  m_DelContactList.append(QVariantMap{{PBKey::kIndex, index}});
}

void PBController::deleteContactFromDelUserList() {
  if (!m_DelContactList.isEmpty())
    m_DelContactList.removeFirst();
}

// ---- free record numbers ----

int PBController::newContactIndex(int maxIndex, const PBContactList &storeList) const {
  for (int n = 1; n <= maxIndex; ++n)
    if (!newContactIndexExistInList(n, m_AddContactList, 0) && !newContactIndexExistInList(n, storeList, 0))
      return n;
  return maxIndex + 1;
}

int PBController::simNewContactIndex() const {
  return newContactIndex(simMaxIndex_, m_SimPhoneList);
}

int PBController::meNewContactIndex() const {
  return newContactIndex(meMaxIndex_, m_MePhoneList);
}

// ---- results ----

PBContactList &PBController::listOfStorage(int storage) {
  return storage == kStorageME ? m_MePhoneList : m_SimPhoneList;
}

void PBController::applyWriteResult(const PBModemBlocks::WriteResult &result) {
  if (result.operation == PBModemBlocks::kOperationWrite) {
    if (result.success)
      writeContactToSIMSuccess(result.index);
    else
      writeContactToSIMFail(result.index);
  } else if (result.operation == PBModemBlocks::kOperationDelete) {
    if (result.success)
      deleteSuccessInModem(result.index);
    else
      deleteFailInModem(result.index);
    if (phonebookOperate_ == kPBOperationRestore && m_DelContactList.isEmpty())
      writeContactFromRestoreFileToSIM();
  }
  afterEveryResult();
}

void PBController::afterEveryResult() {
  doWithProcessWhenOneMoreRecordOperation();
  if (m_AddContactList.isEmpty() && m_DelContactList.isEmpty() && !moveDeletes_.isEmpty()) {
    // A move's copies are all answered: now its written sources go.
    startMoveDeletes();
  } else if (m_AddContactList.isEmpty() && m_DelContactList.isEmpty()) {
    updateOrRestoreResult();
    changeModemStorageAfterCopy();
    setSavePosEnabled(true);
    // The batch is over: the next one alerts its own first failure, and no later answer
    // continues an operation that has finished.
    firstWriteFailedFlag_ = true;
    phonebookOperate_ = kPBOperationNone;
    setMoveAndDelStatus(false);
    moveSources_.clear();
    moveDestName_.clear();
    contactSelectionChanged({});
  }
  if (!page().searchFieldText().isEmpty())
    page().searchUser();
  SetConpacityShow();
  page().doWithProcessWhenOneMoreRecordOperation();
  page().reloadContactTableAndDeselect();
  notificationCenter->postNotificationName(QLatin1String(kPBAddContactResult), this,
                                           {{QLatin1String(kPBAddContactResult), m_allPhoneList}});
}

void PBController::writeContactToSIMSuccess(int index) {
  const int at = indexOfFirstWithIndex(m_AddContactList, index);
  if (at < 0)
    return;
  const PBContactRecord pending = m_AddContactList.at(at).toMap();
  PBContactRecord record = pending;
  record.remove(QStringLiteral("qelMoveSource"));
  if (currentStorage_ == kStorageSIM || currentStorage_ == kStorageME) {
    writeContact(record, listOfStorage(currentStorage_));
    if (currentStorage_ == kStorageSIM)
      simChanged();
    writeContactToAllPhoneList(record);
  }
  m_AddContactList.removeAt(at);
  addSent_.removeAt(at);
  finishMoveSources(pending, true);
}

void PBController::writeContact(const PBContactRecord &record, PBContactList &list) const {
  switch (phonebookOperate_) {
  case kPBOperationEdit:
  case kPBOperationUpdateNumbers: {
    const int at = indexOfFirstWithIndex(list, record.value(PBKey::kIndex).toInt());
    if (at >= 0)
      list[at] = record;
    break;
  }
  case kPBOperationAdd:
  case kPBOperationCopy:
  case kPBOperationMove:
  case kPBOperationRestore:
    list.append(record);
    break;
  default:
    return;
  }
  sortList(list);
}

void PBController::writeContactToAllPhoneList(PBContactRecord record) {
  const QString tag = currentStorage_ == kStorageSIM ? PBTag::kSIM : PBTag::kME;
  const int index = record.value(PBKey::kIndex).toInt();
  // A rewritten number replaces its record as an edit does; a restored record joins as a new one.
  const bool replaces = phonebookOperate_ == kPBOperationEdit || phonebookOperate_ == kPBOperationUpdateNumbers;
  if (replaces) {
    for (int i = 0; i < m_allPhoneList.size(); ++i) {
      const QVariantMap r = m_allPhoneList.at(i).toMap();
      if (r.value(PBKey::kSavePos).toString() == tag && r.contains(PBKey::kIndex) &&
          r.value(PBKey::kIndex).toInt() == index) {
        m_allPhoneList.removeAt(i);
        break;
      }
    }
  }
  if (replaces || phonebookOperate_ == kPBOperationAdd || phonebookOperate_ == kPBOperationCopy ||
      phonebookOperate_ == kPBOperationMove || phonebookOperate_ == kPBOperationRestore) {
    record.insert(PBKey::kSavePos, tag);
    m_allPhoneList.append(record);
  }
  sortList(m_allPhoneList);
}

void PBController::writeContactToSIMFail(int index) {
  const int at = indexOfFirstWithIndex(m_AddContactList, index);
  const PBContactRecord pending = at >= 0 ? m_AddContactList.at(at).toMap() : PBContactRecord();
  PBContactRecord record = pending;
  record.remove(QStringLiteral("qelMoveSource"));
  if (at >= 0 && m_SimPhoneList.size() >= simMaxIndex_ && setting("SaveToPCWhenSimFull")) {
    // The record goes to the first PC group instead, and is saved at once.
    if (addContactToPcPhoneList(record, 0))
      savePhoneList2File();
  } else if (firstWriteFailedFlag_) {
    firstWriteFailedFlag_ = false;
    noticeAlertOk(QStringLiteral("The operation failed!"));
  }
  if (at >= 0) {
    m_AddContactList.removeAt(at);
    addSent_.removeAt(at);
  }
  finishMoveSources(pending, false);
  updateOrRestoreSuccess_ = false;
}

void PBController::deleteSuccessInModem(int index) {
  if (currentStorage_ != kStorageSIM && currentStorage_ != kStorageME)
    return;
  deleteItemByIndex(index, listOfStorage(currentStorage_));
  if (currentStorage_ == kStorageSIM)
    simChanged();
  deleteItemByIndex(index, m_DelContactList);
  const QString tag = currentStorage_ == kStorageSIM ? PBTag::kSIM : PBTag::kME;
  for (int i = 0; i < m_allPhoneList.size(); ++i) {
    const QVariantMap r = m_allPhoneList.at(i).toMap();
    if (r.value(PBKey::kSavePos).toString() == tag && r.contains(PBKey::kIndex) &&
        r.value(PBKey::kIndex).toInt() == index) {
      m_allPhoneList.removeAt(i);
      break;
    }
  }
}

void PBController::deleteFailInModem(int index) {
  const int before = int(m_DelContactList.size());
  deleteItemByIndex(index, m_DelContactList);
  if (m_DelContactList.size() == before)
    deleteContactFromDelUserList();
  updateOrRestoreSuccess_ = false;
  if (phonebookOperate_ != kPBOperationRestore)
    noticeAlertOk(QStringLiteral("The operation failed!"));
}

void PBController::writeContactFromRestoreFileToSIM() {
  sendUnsentAdds(false, false);
}

void PBController::updateOrRestoreResult() {
  QString text;
  if (phonebookOperate_ == kPBOperationUpdateNumbers)
    text = updateOrRestoreSuccess_ ? QStringLiteral("Contacts are updated successfully.")
                                   : QStringLiteral("Contacts are failed to updated.");
  else if (phonebookOperate_ == kPBOperationRestore)
    text = updateOrRestoreSuccess_ ? QStringLiteral("Contacts are restored successfully.")
                                   : QStringLiteral("Contacts are failed to restored.");
  else
    return;
  showResult(text);
  updateOrRestoreSuccess_ = true;
}

// ---- state ----

void PBController::initSimVariables() {
  simMinIndex_ = simMaxIndex_ = simNameMaxLen_ = simNumberMaxLen_ = 0;
  m_nNetCardStatus = 4;
  simInitFinished_ = false;
}

void PBController::initMeVariables() {
  meMinIndex_ = meMaxIndex_ = meNameMaxLen_ = meNumberMaxLen_ = meNumber2MaxLen_ = meNumber3MaxLen_ = meMailMaxLen_ =
      meCount_ = 0;
  meInitFinished_ = false;
}

PBContactRecord PBController::getUserFromSim(int row) const {
  return row < 0 ? PBContactRecord() : m_SimPhoneList.value(row).toMap();
}

PBContactRecord PBController::getUserFromMe(int row) const {
  return row < 0 ? PBContactRecord() : m_MePhoneList.value(row).toMap();
}

void PBController::addUser2SimList(const PBContactRecord &record) {
  m_SimPhoneList.append(record);
  simChanged();
}

void PBController::deleteContactFromSimList(int row) {
  if (row < 0 || row >= m_SimPhoneList.size())
    return;
  m_SimPhoneList.removeAt(row);
  simChanged();
}

int PBController::simFieldCount() const {
  int count = 0;
  for (int bit : {kFieldNumber, kFieldNumber2, kFieldNumber3})
    if (m_simContactFiledsFlag & bit)
      ++count;
  return count;
}

QString PBController::getDiagnosticsContact() const {
  return QStringLiteral("%1/%2").arg(getSimUserNumber()).arg(simMaxIndex_);
}

void PBController::postPhonebookInitFinishedMessage() {
  notificationCenter->postNotificationName(QLatin1String(kPBInitFinished), this,
                                           {{QLatin1String(kPBInitFinished), m_allPhoneList},
                                            {QLatin1String(kPBInterface), QVariant::fromValue<QObject *>(this)}});
}

void PBController::setSavePosEnabled(bool flag) {
  page().setSavePosEnabled(flag, flag && simInitFinished_, flag && hasMePosition_ && meInitFinished_);
}

void PBController::setDefaultSelectMemory() {
  switch (defaultSelectMemory_) {
  case kSaveInSIM:
  case kSaveInME:
  case kSaveInTCard:
    page().showStore(defaultSelectMemory_);
    break;
  default:
    page().showStore(kSaveInPC);
  }
}
