// PBController: the memory switch and the operations that wait for it (showing a store, saving a
// handed-over number, copying into the SIM or the device memory), and the contact dialog's commit
// into those memories.
#include "ConfigService.h"
#include "PBController.h"
#include "WordGlobe.h"

// ---- memory switch ----

void PBController::applySwitchAnswer(int result) {
  const bool known = !pendingSwitches_.isEmpty();
  const PendingSwitch asked = known ? pendingSwitches_.takeFirst() : PendingSwitch{0, false};
  // The modem now works on the memory this request asked for.
  if (known && result == PBModemBlocks::kSwitched)
    currentStorage_ = asked.storage;
  if (known && asked.continuesPlugIn) {
    continuePlugInSimRequest(result);
    if (!batchRunning())
      contactSelectionChanged({});
    return;
  }
  switch (phonebookOperate_) {
  case kPBOperationSwitchStore:
    setSavePosEnabled(true);
    continueSelectSavePos(result);
    phonebookOperate_ = kPBOperationNone;
    break;
  case kPBOperationSaveNumber:
    setSavePosEnabled(true);
    continueSaveNumberTo(result);
    break;
  case kPBOperationCopy:
  case kPBOperationMove:
    if (asked.continuesCopy) {
      continueCopyContactsToPos(result);
    } else if (asked.continuesMoveDelete) {
      // The written sources are deleted in their own memory; without it they stay.
      if (result == PBModemBlocks::kSwitched)
        sendMoveDeletes();
      else
        endCopy();
    }
    break;
  default:
    break;
  }
  if (!batchRunning())
    contactSelectionChanged({});
}

void PBController::continueSelectSavePos(int result) {
  if (result == PBModemBlocks::kSwitched && currentStorage_ == kStorageSIM)
    selectAtSimSide();
  else if (result == PBModemBlocks::kSwitched && currentStorage_ == kStorageME)
    selectAtMeSide();
  // A refused switch falls back on the store that was shown.
  page().showStore(lastSelectSavePos_);
}

void PBController::setSaveToNumber(const QString &position, const QString &number) {
  saveToNumberAtPos_ = position;
  saveToNumberFromOtherModule_ = number;
}

void PBController::continueSaveNumberTo(int result) {
  int pos = kSaveInPC;
  if (result == PBModemBlocks::kSwitched && saveToNumberAtPos_ == QLatin1String("(U)SIM"))
    pos = kSaveInSIM;
  else if (result == PBModemBlocks::kSwitched && saveToNumberAtPos_ == QLatin1String("Data Card"))
    pos = kSaveInME;
  phonebookOperate_ = kPBOperationNone;
  page().saveNumberTo(pos);
  if (pos == kSaveInSIM)
    savePhoneNumberFromOtherModuleToSIM(saveToNumberFromOtherModule_);
  else if (pos == kSaveInME)
    savePhoneNumberFromOtherModuleToME(saveToNumberFromOtherModule_);
  else
    savePhoneNumberFromOtherModuleToPC(saveToNumberFromOtherModule_);
}

void PBController::continueCopyContactsToPos(int result) {
  if (result != PBModemBlocks::kSwitched) {
    // The copy is dropped; a move keeps every source.
    clearAddUserList();
    endCopy();
    return;
  }
  const QString dest = getMoveDestName();
  if (dest == Map_Name_Item_of_IndexString(QStringLiteral("(U)SIM")))
    copyContactsToSIM();
  else if (dest == Map_Name_Item_of_IndexString(QStringLiteral("Data Card")))
    copyContactsToME();
}

void PBController::changeModemStorageAfterCopy() {
  if (!hasMePosition_ || (phonebookOperate_ != kPBOperationCopy && phonebookOperate_ != kPBOperationMove))
    return;
  const int shown = page().selectedSavePos();
  int back = 0;
  if (shown == kSaveInSIM && currentStorage_ != kStorageSIM)
    back = kStorageSIM;
  else if (shown == kSaveInME && currentStorage_ != kStorageME)
    back = kStorageME;
  if (back == 0)
    return;
  // The way back continues nothing, whatever the operation is when its answer comes.
  pendingSwitches_.append({back, false});
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModulePhonebook, PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor, 0, 0,
                                      PBModemBlocks::encodeI32(back));
}

void PBController::copyContactsToSIM() {
  if (m_AddContactList.isEmpty())
    return;
  firstWriteFailedFlag_ = true;
  preDoWithProcessBeforeOperation(int(m_AddContactList.size()));
  // Moved records join the SIM list on their results, as copies do.
  sendUnsentAdds(false, false);
}

void PBController::copyContactsToME() {
  if (m_AddContactList.isEmpty())
    return;
  preDoWithProcessBeforeOperation(int(m_AddContactList.size()));
  sendUnsentAdds(true, false);
}

void PBController::sendUnsentAdds(bool toME, bool intoSimListAtOnce) {
  // Each queued record goes out once; a record whose write was sent waits for its result. The
  // numbers the queued records brought along are not theirs in this store: they are dropped
  // first, so that they neither block a free number nor get written over.
  for (int i = 0; i < m_AddContactList.size(); ++i) {
    if (addSent_.at(i))
      continue;
    QVariantMap r = m_AddContactList.at(i).toMap();
    r.remove(PBKey::kIndex);
    m_AddContactList[i] = r;
  }
  for (int i = 0; i < m_AddContactList.size(); ++i) {
    if (addSent_.at(i))
      continue;
    QVariantMap r = m_AddContactList.at(i).toMap();
    r.insert(PBKey::kIndex, toME ? meNewContactIndex() : simNewContactIndex());
    m_AddContactList[i] = r;
    addSent_[i] = true;
    if (intoSimListAtOnce)
      addUser2SimList(r);
    writeContactToSIM(r);
  }
}

// ---- the contact dialog's commit ----

void PBController::collectContactFields(PBContactRecord &record, const PBContactRecord &fields) const {
  static const QList<std::pair<int, QString>> byBit = {{kFieldName, PBKey::kUserName},
                                                       {kFieldNumber, PBKey::kMobilePhone},
                                                       {kFieldEmail, PBKey::kEmail},
                                                       {kFieldNumber2, PBKey::kHomePhone},
                                                       {kFieldNumber3, PBKey::kOfficePhone}};
  for (const auto &[bit, key] : byBit)
    if (m_simContactFiledsFlag & bit)
      record.insert(key, fields.value(key).toString());
}

namespace {
void takeNameAndNumber(PBContactRecord &record, const PBContactRecord &fields) {
  record.insert(PBKey::kUserName, fields.value(PBKey::kUserName).toString());
  record.insert(PBKey::kMobilePhone, fields.value(PBKey::kMobilePhone).toString());
}
} // namespace

void PBController::contactIsAddedInSIM(const PBContactRecord &fields) {
  PBContactRecord record{{PBKey::kIndex, simNewContactIndex()}};
  if (setting("SimFieldAutoDetectionEnabled"))
    collectContactFields(record, fields);
  else
    takeNameAndNumber(record, fields);
  saveContactToSim(record);
}

void PBController::contactIsAddedInME(const PBContactRecord &fields) {
  PBContactRecord record{{PBKey::kIndex, meNewContactIndex()}};
  if (setting("SimFieldAutoDetectionEnabled"))
    collectContactFields(record, fields);
  else
    takeNameAndNumber(record, fields);
  saveContactToSim(record);
}

void PBController::contactIsEditedInSIM(const PBContactRecord &fields) {
  PBContactRecord record = m_SimContact;
  if (setting("SimFieldAutoDetectionEnabled"))
    collectContactFields(record, fields);
  else
    takeNameAndNumber(record, fields);
  saveContactToSim(record);
}

void PBController::contactIsEditedInME(const PBContactRecord &fields) {
  PBContactRecord record = m_MeContact;
  if (setting("SimFieldAutoDetectionEnabled"))
    collectContactFields(record, fields);
  else
    takeNameAndNumber(record, fields);
  saveContactToSim(record);
}
