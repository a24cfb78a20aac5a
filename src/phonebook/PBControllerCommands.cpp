// PBController: the page's commands: the store switch, new, edit and delete contact with the
// dialog's OK and cancel, call, SMS, groups, save as, and the numbers other pages hand over.
#include "ConfigService.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBController.h"
#include "PBSource.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "SelectWindowControl.h"
#include "WordGlobe.h"

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}
} // namespace

void PBController::popupAlertOk(const QString &key) {
  NSRunAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")));
}

void PBController::noticeAlertOk(const QString &key) {
  NSBeginAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")));
}

bool PBController::popupAlertOkCancel(const QString &key) {
  return NSRunAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")),
                            word(QStringLiteral("Cancel"))) == 1;
}

// ---- the store switch ----

void PBController::selectSavePos(int tag) {
  if (tag == lastSelectSavePos_)
    return;
  controls_.details = word(QStringLiteral("There is not contact selected"));
  SetPopMenuItem(false, false, false);
  const int storage = tag == kSaveInSIM ? kStorageSIM : kStorageME;
  switch (tag) {
  case kSaveInPC:
    selectAtPCSide();
    page().selectGroupRow(-1);
    break;
  case kSaveInSIM:
  case kSaveInME:
    if (hasMePosition_ && currentStorage_ != storage) {
      // The store shows once the modem has switched to it.
      phonebookOperate_ = kPBOperationSwitchStore;
      buttonControl(false, false, false, false, false, false);
      setSavePosEnabled(false);
      setModemStorage(storage);
    } else if (tag == kSaveInSIM) {
      selectAtSimSide();
    } else {
      selectAtMeSide();
    }
    break;
  case kSaveInTCard:
    selectAtTCardSide();
    break;
  default:
    break;
  }
}

// ---- new and edit ----

bool PBController::canAddNewContactInPC() {
  if (sumOfContactInPC() < pcUserMaxCount_)
    return true;
  popupAlertOk(QStringLiteral("PC Record full,Please delete records first!"));
  return false;
}

bool PBController::canAddNewContactInSIM() {
  if (getSimUserNumber() < simMaxIndex_)
    return true;
  if (!saveToPCWhenSimIsFull_) {
    popupAlertOk(QStringLiteral("SIM Record full,Please delete records first!"));
    return false;
  }
  if (popupAlertOkCancel(QStringLiteral("The SIM card is full.Do you want to save the contact to PC?"))) {
    page().showStore(kSaveInPC);
    selectAtPCSide();
    if (newUser())
      page().openContactDialog(false);
  }
  return false;
}

bool PBController::canAddNewContactInME() {
  if (getMeUserNumber() < meMaxIndex_)
    return true;
  popupAlertOk(QStringLiteral("Data Card Record full,Please delete records first!"));
  return false;
}

bool PBController::canAddNewContact() {
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    return canAddNewContactInPC();
  case kSaveInSIM:
    return canAddNewContactInSIM();
  case kSaveInME:
    return canAddNewContactInME();
  case kSaveInTCard:
    // The memory card's store takes a contact only with a card whose phonebook could be prepared.
    if (!tcardInitFinished_ && !initTCardFilePath()) {
      popupAlertOk(QStringLiteral("No memory card is available."));
      return false;
    }
    if (getTCardUserNumber() >= pcUserMaxCount_) {
      popupAlertOk(QStringLiteral("SD Card Record full,Please delete records first!"));
      return false;
    }
    return true;
  default:
    return false;
  }
}

bool PBController::newUser() {
  // While a batch awaits its results its pending records stay: they pair the results.
  if (batchRunning())
    return false;
  clearAddUserList();
  clearDelUserList();
  if (!canAddNewContact())
    return false;
  if (lastSelectSavePos_ == kSaveInPC && sumOfGroupInPC() == 0) {
    popupAlertOk(QStringLiteral("There is no group,please create a group first!"));
    return false;
  }
  phonebookOperate_ = kPBOperationAdd;
  setDialogStore(lastSelectSavePos_, m_CurGroupIndex);
  addUser_ = true;
  editUser_ = false;
  dialogOpen_ = true;
  return true;
}

bool PBController::editUser() {
  if (batchRunning())
    return false;
  clearAddUserList();
  clearDelUserList();
  switch (lastSelectSavePos_) {
  case kSaveInPC: {
    if (m_PcContact.isEmpty())
      return false;
    const int group = groupIndexWithName(m_PcContact.value(PBKey::kGroupName).toString());
    setDialogStore(kSaveInPC, pcContactRow_ >= 0 ? m_CurGroupIndex : group);
    break;
  }
  case kSaveInSIM:
    if (m_SimContact.isEmpty())
      return false;
    setDialogStore(kSaveInSIM, -1);
    break;
  case kSaveInME:
    if (m_MeContact.isEmpty())
      return false;
    setDialogStore(kSaveInME, -1);
    break;
  default:
    return false;
  }
  phonebookOperate_ = kPBOperationEdit;
  editUser_ = true;
  addUser_ = false;
  dialogOpen_ = true;
  return true;
}

PBContactRecord PBController::dialogRecord() const {
  PBContactRecord record;
  if (phonebookOperate_ == kPBOperationEdit)
    record = dialogStore_ == kSaveInSIM ? m_SimContact : dialogStore_ == kSaveInME ? m_MeContact : m_PcContact;
  if (!dialogNumber_.isEmpty())
    record.insert(PBKey::kMobilePhone, dialogNumber_);
  else if (savePhoneNumberFromSMS_ && Neighbourhood::messages())
    record.insert(PBKey::kMobilePhone, Neighbourhood::messages()->getMobilePhoneFromSelectedSMS());
  return record;
}

bool PBController::adduserok(const PBContactRecord &fields, QString *failedField) {
  if (!validTextFieldContent(fields, failedField))
    return false;
  if (ConfigService::readBool(QStringLiteral("PhoneBook"), QStringLiteral("PhoneBook_IsCheckUserInformationLen")) &&
      !checkTextFieldLength(fields))
    return false;
  if (phonebookOperate_ == kPBOperationAdd)
    contactIsAdded(fields);
  else if (phonebookOperate_ == kPBOperationEdit)
    contactIsEdited(fields);
  canceladduser();
  if (isSearching())
    searchUser(m_searchText);
  SetConpacityShow();
  return true;
}

void PBController::canceladduser() {
  addUser_ = editUser_ = false;
  dialogOpen_ = false;
  dialogNumber_.clear();
  savePhoneNumberFromSMS_ = false;
  selectedRows_.clear();
  controls_.details = word(QStringLiteral("There is not contact selected"));
  page().reloadContactTableAndDeselect();
  controlsChanged();
}

void PBController::contactIsAdded(const PBContactRecord &fields) {
  switch (dialogStore_) {
  case kSaveInPC: {
    const int group = dialogGroupIndex();
    PBContactRecord record;
    for (const QString &key :
         {PBKey::kUserName, PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail})
      record.insert(key, fields.value(key).toString());
    if (isDisplayRemark_)
      record.insert(PBKey::kRemark, fields.value(PBKey::kRemark).toString());
    record.insert(PBKey::kGroupName, getPCUserByIndex(group, -1).value(PBKey::kGroupName).toString());
    if (addContactToPcPhoneList(record, group))
      savePhoneList2File();
    else
      popupAlertOk(QStringLiteral("PC Record full,Please delete records first!"));
    break;
  }
  case kSaveInSIM:
    contactIsAddedInSIM(fields);
    break;
  case kSaveInME:
    contactIsAddedInME(fields);
    break;
  case kSaveInTCard:
    addUserItemInTCard(fields);
    break;
  default:
    break;
  }
}

void PBController::contactIsEdited(const PBContactRecord &fields) {
  switch (dialogStore_) {
  case kSaveInPC: {
    if (m_PcContact.isEmpty())
      return;
    PBContactRecord record = m_PcContact;
    for (const QString &key :
         {PBKey::kUserName, PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail})
      record.insert(key, fields.value(key).toString());
    if (isDisplayRemark_)
      record.insert(PBKey::kRemark, fields.value(PBKey::kRemark).toString());
    int group = m_CurGroupIndex;
    if (pcContactRow_ >= 0 && getUserFromCurGroup(pcContactRow_) == m_PcContact) {
      QVariantList g = m_PcPhoneList.at(m_CurGroupIndex).toList();
      g.removeAt(pcContactRow_ + 1);
      m_PcPhoneList[m_CurGroupIndex] = g;
    } else {
      group = groupIndexWithName(m_PcContact.value(PBKey::kGroupName).toString());
      if (!deleteContactFromPC(m_PcContact))
        return;
    }
    if (group < 0)
      group = 0;
    addContactToPcPhoneList(record, group);
    savePhoneList2File();
    m_PcContact.clear();
    pcContactRow_ = -1;
    break;
  }
  case kSaveInSIM:
    contactIsEditedInSIM(fields);
    break;
  case kSaveInME:
    contactIsEditedInME(fields);
    break;
  default:
    break;
  }
}

// ---- delete ----

void PBController::deleteUser() {
  if (selectedRows_.isEmpty() || batchRunning())
    return;
  if (!popupAlertOkCancel(QStringLiteral("Are you sure you want to delete the selected record(s)?")))
    return;
  deleteCurrectSelectedUser();
}

void PBController::deleteCurrectSelectedUser() {
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    deleteContactsInPC();
    break;
  case kSaveInSIM:
  case kSaveInME:
    deleteContactsInPos(lastSelectSavePos_);
    break;
  case kSaveInTCard:
    deleteUserFromTCard(selectedRows_);
    selectedRows_.clear();
    page().reloadContactTableAndDeselect();
    SetConpacityShow();
    break;
  default:
    break;
  }
}

bool PBController::deleteContactFromPC(const PBContactRecord &record) {
  for (int g = 0; g < m_PcPhoneList.size(); ++g) {
    QVariantList group = m_PcPhoneList.at(g).toList();
    for (int i = 1; i < group.size(); ++i) {
      if (group.at(i).toMap() == record) {
        group.removeAt(i);
        m_PcPhoneList[g] = group;
        pcChanged();
        return true;
      }
    }
  }
  return false;
}

void PBController::deleteContactsInPC() {
  QList<int> rows = selectedRows_;
  if (isSearching()) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) {
      if (row < 0 || row >= m_CurrentSearchGroup.size())
        continue;
      deleteContactFromPC(m_CurrentSearchGroup.at(row).toMap());
      m_CurrentSearchGroup.removeAt(row);
    }
    buttonControl(false, false, false, false, false, false);
  } else if (m_CurGroupIndex >= 0 && m_CurGroupIndex < m_PcPhoneList.size()) {
    QVariantList group = m_PcPhoneList.at(m_CurGroupIndex).toList();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows)
      if (row >= 0 && row + 1 < group.size())
        group.removeAt(row + 1);
    m_PcPhoneList[m_CurGroupIndex] = group;
    pcChanged();
    buttonControl(true, false, false, true, false, false);
  }
  savePhoneList2File();
  selectedRows_.clear();
  m_PcContact.clear();
  pcContactRow_ = -1;
  SetMutexButton(false, false, false);
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  controls_.details = word(QStringLiteral("There is not contact selected"));
  controlsChanged();
}

void PBController::deleteContactsInPos(int savePos) {
  // The modem deletes in the memory it is on: a store it is not on is left alone.
  const int storage = savePos == kSaveInSIM ? kStorageSIM : kStorageME;
  if (currentStorage_ != storage)
    return;
  const PBContactList list = isSearching() ? m_CurrentSearchGroup : listOfStorage(storage);
  preDoWithProcessBeforeOperation(int(selectedRows_.size()));
  clearDelUserList();
  buttonControl(true, false, false, !isSearching() || savePos == kSaveInSIM, false, false);
  for (int row : selectedRows_) {
    if (row < 0 || row >= list.size())
      continue;
    const int index = list.at(row).toMap().value(PBKey::kIndex).toInt();
    addContactToDelUserList(index);
    deleteContactFromSim(index);
  }
  selectedRows_.clear();
  SetMutexButton(false, false, false);
  page().reloadContactTableAndDeselect();
  controls_.details = word(QStringLiteral("There is not contact selected"));
  buttonControl(controls_.addGroup, false, false, controls_.addUser, false, false);
}

// ---- call and SMS ----

void PBController::call() {
  if (selectedRows_.isEmpty() || lastSelectSavePos_ == kSaveInTCard)
    return;
  const PBContactRecord record = shownContacts().value(selectedRows_.first()).toMap();
  const QString number = record.value(PBKey::kMobilePhone).toString();
  if (number.isEmpty()) {
    NSRunAlertPanelExt(word(QStringLiteral("STRING_WARNING_LABEL")), word(QStringLiteral("Mobilephone is null!")),
                       word(QStringLiteral("STRING_OK_LABEL")));
    return;
  }
  notificationCenter->postNotificationName(QLatin1String(kCallWithPhoneNumber), this,
                                           {{QLatin1String(kCallWithPhoneNumber), number}});
}

bool PBController::shouldEnableSendSmsButton() const {
  if (!isSearching() && lastSelectSavePos_ == kSaveInTCard)
    return false;
  const PBContactList list = shownContacts();
  for (int row : selectedRows_)
    if (!list.value(row).toMap().value(PBKey::kMobilePhone).toString().isEmpty())
      return true;
  return false;
}

void PBController::sendSMS() {
  SetMutexButton(false, false, false);
  controls_.sms = false;
  if (m_bGroupsentSMS) {
    controls_.sms = true;
    sendSMSToOneGroup();
    return;
  }
  const PBContactList list = shownContacts();
  QStringList numbers;
  PBContactList records;
  for (int row : selectedRows_) {
    const PBContactRecord r = list.value(row).toMap();
    const QString number = r.value(PBKey::kMobilePhone).toString();
    if (!number.isEmpty())
      numbers << number;
    if (m_contactNumbersSelcectionEnabled && !r.isEmpty())
      records << r;
  }
  if (m_contactNumbersSelcectionEnabled) {
    SelectWindowControl picker;
    picker.setSourceRange(1);
    picker.setAvailableContactNumbers(availableNumbersOfContacts(records));
    numbers = picker.showModalWindow() == 1 ? picker.selectedContactNumbers() : QStringList();
  }
  if (auto *sms = Neighbourhood::messages(); !numbers.isEmpty() && sms) {
    sms->toNewMsgWinWithPhoneNumbers(numbers, QStringLiteral("PhoneBook"));
    notifyChangeTabViewItem(QStringLiteral("SMS"));
  }
  selectedRows_.clear();
  page().reloadContactTableAndDeselect();
  controls_.details = word(QStringLiteral("There is not contact selected"));
  controlsChanged();
}

// ---- groups ----

void PBController::addGroupCommand() {
  if (lastSelectSavePos_ != kSaveInPC)
    return;
  addGroupItem();
  SetConpacityShow();
  setMoveMenu();
}

void PBController::deleteGroup() {
  const int row = m_CurGroupIndex;
  if (row < 0 || row >= sumOfGroupInPC())
    return;
  isEditing_ = false;
  if (sumOfGroupInPC() == 1) {
    popupAlertOk(QStringLiteral("The last group should not be deleted!"));
  } else if (!getPCUserByIndex(row, -1).value(PBKey::kReservedGroup).toBool() &&
             popupAlertOkCancel(
                 QStringLiteral("Are you sure you want to delete the group and all the record(s) in it?"))) {
    deleteGrop(row);
    deleteSeletedGroupNode();
    setCurrentgroup(0);
    selectedRows_.clear();
    page().reloadGroupTable();
    page().reloadContactTableAndDeselect();
    SetConpacityShow();
    setMoveMenu();
  }
  isEditing_ = true;
}

bool PBController::renameGroup(int row, const QString &name) {
  if (row < 0 || row >= sumOfGroupInPC() || getPCUserByIndex(row, -1).value(PBKey::kReservedGroup).toBool())
    return false;
  if (!checkGroupName(name, row))
    return false;
  QVariantList group = m_PcPhoneList.at(row).toList();
  for (int i = 0; i < group.size(); ++i) {
    QVariantMap r = group.at(i).toMap();
    r.insert(PBKey::kGroupName, name);
    group[i] = r;
  }
  m_PcPhoneList[row] = group;
  m_CurGroupIndex = row;
  pcChanged();
  sortGroupInPC();
  savePhoneList2File();
  setCurrentgroup(0);
  initialNodeOfPc();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
  setMoveMenu();
  return true;
}

// ---- save as ----

bool PBController::saveRecord2File(int tag, const QString &path) {
  if (path.isEmpty())
    return false;
  if (tag == kSaveInPC)
    return Plist::writeFile(path, m_PcPhoneList);
  if (tag == kSaveInSIM)
    return Plist::writeFile(path, m_SimPhoneList);
  return false;
}

// ---- numbers handed over by other pages ----

void PBController::toPbUserWinWithPhoneNumber(const QString &number, const QString &position) {
  setSaveToNumber(position, number);
  if (position == QLatin1String("(U)SIM")) {
    if (hasMePosition_ && currentStorage_ != kStorageSIM) {
      phonebookOperate_ = kPBOperationSaveNumber;
      setModemStorage(kStorageSIM);
    } else {
      savePhoneNumberFromOtherModuleToSIM(number);
    }
  } else if (position == QLatin1String("Data Card")) {
    if (hasMePosition_ && currentStorage_ != kStorageME) {
      phonebookOperate_ = kPBOperationSaveNumber;
      setModemStorage(kStorageME);
    } else {
      savePhoneNumberFromOtherModuleToME(number);
    }
  } else {
    savePhoneNumberFromOtherModuleToPC(number);
  }
}

void PBController::showContactPickerForCall(QWidget *window) {
  // One number, for the call page; the picker deletes itself when it closes and posts its
  // choice as "makeCallWithPhoneNumber".
  auto *picker = new SelectWindowControl;
  picker->allowsContactTableMultiSelection(false);
  picker->ResizeWindowForCall();
  picker->showWindow(window);
}

void PBController::savePhoneNumberFromOtherModuleToPC(const QString &number) {
  page().showStore(kSaveInPC);
  selectAtPCSide();
  if (!newUser())
    return;
  dialogNumber_ = number;
  page().openContactDialog(true);
}

void PBController::savePhoneNumberFromOtherModuleToSIM(const QString &number) {
  page().showStore(kSaveInSIM);
  selectAtSimSide();
  if (!newUser())
    return;
  dialogNumber_ = number;
  page().openContactDialog(true);
}

void PBController::savePhoneNumberFromOtherModuleToME(const QString &number) {
  page().showStore(kSaveInME);
  selectAtMeSide();
  if (!newUser())
    return;
  dialogNumber_ = number;
  page().openContactDialog(true);
}

// ---- the search bar ----

void PBController::showOrHideSearchbar() {
  searchBarShown_ = !searchBarShown_;
  page().setSearchBarShown(searchBarShown_);
}
