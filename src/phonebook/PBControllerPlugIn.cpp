// PBController: the contract with a phonebook plug-in that draws the Phonebook tab instead of the
// program's page. The plug-in posts requests on the notification centre (the payload's key is
// the request's name); the controller answers with notifications the plug-in observes. A request
// without its key is ignored.
#include "MessagesNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBAlphaId.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "WordGlobe.h"

namespace {
// The request's payload: the value under its own name; invalid when the key is missing.
QVariant payload(const Notification &n, const char *name) {
  return n.userInfo.value(QLatin1String(name));
}

void post(QObject *sender, const char *name, const QVariant &value) {
  NotificationCenter::defaultCenter().postNotificationName(QLatin1String(name), sender, {{QLatin1String(name), value}});
}
} // namespace

void PBController::registerPlugInRequests() {
  // The main-window change is observed by the base class's own table already.
  for (const NotificationPair *p = PhoneBookNotficationTable; p->selector; ++p)
    if (qstrcmp(p->selector, "changeMainWindowOfApp:") != 0)
      notificationCenter->addObserver(this, QByteArray(p->selector), QString::fromLatin1(p->notification));
}

void PBController::postAddContactResult() {
  post(this, kPBAddContactResult, m_allPhoneList);
}

// ---- requests ----

void PBController::SearUserInUSIMSide(const Notification &n) {
  const QVariant text = payload(n, kSearchItemInSIM);
  if (!text.isValid())
    return;
  setSearchText(text.toString());
  m_CurrentSearchGroup.clear();
  getSearchContactsFromSIM();
  post(this, kPBSearchUserInSIM, m_CurrentSearchGroup);
}

bool PBController::isUserNameAndMobilePhoneRightful(const PBContactRecord &fields) {
  if (fields.value(PBKey::kUserName).toString().isEmpty()) {
    popupAlertOk(QStringLiteral("The name should not be null!"));
    return false;
  }
  if (fields.value(PBKey::kMobilePhone).toString().isEmpty()) {
    popupAlertOk(QStringLiteral("The mobilephone should not be null!"));
    return false;
  }
  if (m_contactNameUniqueCheckingEnabled && !contactNameIsUnique(fields.value(PBKey::kUserName).toString())) {
    popupAlertOk(QStringLiteral("The name is already exist !"));
    return false;
  }
  return true;
}

void PBController::runPlugInSimRequest(std::function<void()> request) {
  // The request acts on the modem's active memory: with a device memory on, the SIM is made
  // active first and the request goes on at the switch's answer.
  if (hasMePosition_ && currentStorage_ != kStorageSIM) {
    plugInSimRequest_ = std::move(request);
    PendingSwitch pending{kStorageSIM, false};
    pending.continuesPlugIn = true;
    pendingSwitches_.append(pending);
    if (qelMsgCenter)
      qelMsgCenter->sendMessageModuleID(kModulePhonebook, PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor, 0,
                                        0, PBModemBlocks::encodeI32(kStorageSIM));
    return;
  }
  request();
}

void PBController::continuePlugInSimRequest(int result) {
  std::function<void()> request = std::move(plugInSimRequest_);
  plugInSimRequest_ = {};
  if (result == PBModemBlocks::kSwitched && request)
    request();
}

void PBController::addNewUserInSIMOrPC(const Notification &n) {
  const QVariant value = payload(n, kAddNewUserToSIMOrPC);
  if (!value.isValid())
    return;
  const PBContactRecord record = value.toMap();
  bundleFields_ = {{PBKey::kUserName, record.value(PBKey::kUserName)},
                   {PBKey::kMobilePhone, record.value(PBKey::kMobilePhone)}};
  if (!isUserNameAndMobilePhoneRightful(bundleFields_))
    return;
  // No SIM read yet: no list to add to.
  if (!simInitFinished_)
    return;
  const int index = simNewContactIndex();
  if (index > simMaxIndex_) {
    saveBundleUserInfoToPC();
    return;
  }
  runPlugInSimRequest([this] {
    // The number is taken again in the memory now active.
    const int free = simNewContactIndex();
    if (free <= simMaxIndex_)
      saveBundleUserInfoToSIM(free);
    else
      saveBundleUserInfoToPC();
  });
}

void PBController::saveBundleUserInfoToSIM(int index) {
  phonebookOperate_ = kPBOperationAdd;
  PBContactRecord record = bundleFields_;
  record.insert(PBKey::kIndex, index);
  record.insert(PBKey::kSavePos, PBTag::kSIM);
  saveContactToSim(record);
}

void PBController::saveBundleUserInfoToPC() {
  if (m_PcPhoneList.isEmpty())
    addGroup();
  PBContactRecord record = bundleFields_;
  const int index = pcNewContactIndex();
  if (!addContactToPcPhoneList(record, 0)) {
    popupAlertOk(QStringLiteral("PC Record full,Please delete records first!"));
    return;
  }
  savePhoneList2File();
  record.insert(PBKey::kIndex, index);
  addContactToAllPhoneList(record, PBTag::kPC);
  page().reloadContactTableAndDeselect();
  postAddContactResult();
}

void PBController::saveNewUserToPB(const Notification &n) {
  const QVariant value = payload(n, kSaveNewUserToPB);
  const QVariantMap request = value.isValid() ? value.toMap() : n.userInfo;
  if (!request.contains(PBKey::kMobilePhone))
    return;
  toPbUserWinWithPhoneNumber(request.value(PBKey::kMobilePhone).toString(),
                             request.value(QStringLiteral("savePosition")).toString());
}

void PBController::CheckBundleUserName(const Notification &n) {
  const QVariant value = payload(n, kCheckInputUserName);
  if (!value.isValid())
    return;
  const QString name = PBAlphaId::reSetNameStrWithInputName(value.toString(), simNameMaxLen_);
  bundleFields_.insert(PBKey::kUserName, name);
  post(this, kPBFormatUserName, name);
}

void PBController::CheckBundleMobilePhone(const Notification &n) {
  const QVariant value = payload(n, kCheckInputMobilePhone);
  if (!value.isValid())
    return;
  const QString number = ContentControl(value.toString(), simNumberMaxLen_);
  bundleFields_.insert(PBKey::kMobilePhone, number);
  post(this, kPBFormatMobilePhone, number);
}

QString PBController::ContentControl(const QString &text, int maxLength) {
  if (text.isEmpty())
    return text;
  QString kept;
  for (const QChar c : text)
    if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'+')
      kept.append(c);
  if (kept.size() != text.size()) {
    popupAlertOk(QStringLiteral("The item contains invalid charactor(s)!"));
    return kept;
  }
  if (maxLength >= 0 && kept.size() > maxLength) {
    popUpAlertTooLong();
    return kept.left(maxLength);
  }
  return kept;
}

void PBController::getSelectContact(const Notification &n) {
  const QVariant value = payload(n, kGetSelectContact);
  if (!value.isValid())
    return;
  const int row = value.toInt();
  // A row outside the SIM list selects nothing and answers nothing.
  if (row < 0 || row >= getSimUserNumber())
    return;
  showTabViewSelectedUSIMUserList(row);
  post(this, kPBSelectUserInfo, m_SimContact);
}

bool PBController::pcRecordOfMergedIndex(int index, int *group, int *row) const {
  // The merged list's PC entries are copies of PC records with a number of their own: the
  // record is the one the entry was copied from.
  PBContactRecord entry = getRuvozUserByIndexFromAllPhoneList(index, PBTag::kPC);
  if (entry.isEmpty())
    return false;
  entry.remove(PBKey::kIndex);
  entry.remove(PBKey::kSavePos);
  for (int g = 0; g < m_PcPhoneList.size(); ++g) {
    const QVariantList list = m_PcPhoneList.at(g).toList();
    for (int i = 1; i < list.size(); ++i) {
      if (list.at(i).toMap() == entry) {
        *group = g;
        *row = i - 1;
        return true;
      }
    }
  }
  return false;
}

void PBController::editUserInSIMOrPC(const Notification &n) {
  const QVariant value = payload(n, kEditUserInSIMOrPC);
  if (!value.isValid())
    return;
  const PBContactRecord request = value.toMap();
  if (!request.contains(PBKey::kIndex))
    return;
  bundleFields_ = {{PBKey::kUserName, request.value(PBKey::kUserName)},
                   {PBKey::kMobilePhone, request.value(PBKey::kMobilePhone)}};
  if (!isUserNameAndMobilePhoneRightful(bundleFields_))
    return;
  const int index = request.value(PBKey::kIndex).toInt();
  if (request.value(PBKey::kSavePos).toString() == PBTag::kSIM) {
    const PBContactRecord record{{PBKey::kIndex, index},
                                 {PBKey::kUserName, request.value(PBKey::kUserName)},
                                 {PBKey::kMobilePhone, request.value(PBKey::kMobilePhone)},
                                 {PBKey::kSavePos, request.value(PBKey::kSavePos)}};
    runPlugInSimRequest([this, record] {
      phonebookOperate_ = kPBOperationEdit;
      m_SimContact = record;
      saveContactToSim(record);
    });
    return;
  }
  int g = -1, row = -1;
  if (!pcRecordOfMergedIndex(index, &g, &row))
    return;
  // The record changes where it stands, in its own group.
  QVariantList group = m_PcPhoneList.at(g).toList();
  PBContactRecord record = group.at(row + 1).toMap();
  record.insert(PBKey::kUserName, bundleFields_.value(PBKey::kUserName));
  record.insert(PBKey::kMobilePhone, bundleFields_.value(PBKey::kMobilePhone));
  group[row + 1] = record;
  PBNameSort::sortByUserName(group, 1);
  m_PcPhoneList[g] = group;
  pcChanged();
  m_PcContact = record;
  savePhoneList2File();
  for (QVariant &v : m_allPhoneList) {
    QVariantMap r = v.toMap();
    if (r.value(PBKey::kSavePos).toString() == PBTag::kPC && r.value(PBKey::kIndex).toInt() == index) {
      r.insert(PBKey::kUserName, record.value(PBKey::kUserName));
      r.insert(PBKey::kMobilePhone, record.value(PBKey::kMobilePhone));
      v = r;
      break;
    }
  }
  page().reloadContactTableAndDeselect();
  postAddContactResult();
}

void PBController::deleteUserInSIMOrPC(const Notification &n) {
  const QVariant value = payload(n, kDeleteUserInSIMOrPC);
  if (!value.isValid())
    return;
  const PBContactRecord request = value.toMap();
  if (!request.contains(PBKey::kIndex))
    return;
  const int index = request.value(PBKey::kIndex).toInt();
  const bool sim = request.value(PBKey::kSavePos).toString() == PBTag::kSIM;
  int g = -1, row = -1;
  if (!sim && !pcRecordOfMergedIndex(index, &g, &row))
    return;
  if (!popupAlertOkCancel(QStringLiteral("Are you sure you want to delete the selected record(s)?")))
    return;
  if (sim) {
    runPlugInSimRequest([this, index] {
      phonebookOperate_ = kPBOperationPlugInDelete;
      addContactToDelUserList(index);
      deleteContactFromSim(index);
    });
    return;
  }
  QVariantList group = m_PcPhoneList.at(g).toList();
  group.removeAt(row + 1);
  m_PcPhoneList[g] = group;
  pcChanged();
  savePhoneList2File();
  deleteItemInAllUserList(index, PBTag::kPC);
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  postAddContactResult();
}

void PBController::deleteItemInAllUserList(int index, const QString &tag) {
  for (int i = 0; i < m_allPhoneList.size(); ++i) {
    const QVariantMap r = m_allPhoneList.at(i).toMap();
    if (r.value(PBKey::kSavePos).toString() == tag && r.contains(PBKey::kIndex) &&
        r.value(PBKey::kIndex).toInt() == index) {
      m_allPhoneList.removeAt(i);
      return;
    }
  }
}

// ---- operations the plug-in may use ----

bool PBController::isSendMessageToGroupEnabled() const {
  return m_isSendMessageToGroupEnabled;
}

bool PBController::isSendMessageToIndexedGroupValid(int group) const {
  return sumOfContactInGroup(group) > 0;
}

void PBController::sendMessageToIndexedGroup(int group) {
  QStringList numbers;
  const QVariantList list = m_PcPhoneList.value(group).toList();
  for (int i = 1; i < list.size(); ++i) {
    const QString number = list.at(i).toMap().value(PBKey::kMobilePhone).toString();
    if (!number.isEmpty())
      numbers << number;
  }
  page().reloadContactTableAndDeselect();
  SetMutexButton(false, false, false);
  buttonControl(true, false, false, true, false, false);
  if (auto *sms = Neighbourhood::messages())
    sms->toNewMsgWinWithPhoneNumbers(numbers, QStringLiteral("PhoneBook"));
}

int PBController::addUserSimFullProc() {
  if (setting("SaveToPCWhenSimFull"))
    return popupAlertOkCancel(QStringLiteral("The SIM card is full.Do you want to save the contact to PC?")) ? 1 : 2;
  popupAlertOk(QStringLiteral("SIM Record full,Please delete records first!"));
  return 0;
}

bool PBController::isSameItemInCurtContent(const QString &name, const QString &number, const PBContactList &list) {
  for (const QVariant &v : list) {
    const QVariantMap r = v.toMap();
    if (r.contains(PBKey::kUserName) && r.contains(PBKey::kMobilePhone) &&
        r.value(PBKey::kUserName).toString() == name && r.value(PBKey::kMobilePhone).toString() == number)
      return true;
  }
  return false;
}

void PBController::popUpAlertTooLong() {
  popupAlertOk(QStringLiteral("This item exceeds the max length!"));
}

void PBController::popupAlertAboutNameIsNull() {
  popupAlertOk(QStringLiteral("The name should not be null!"));
}

void PBController::popupAlertAboutSameContact() {
  popupAlertOk(QStringLiteral("You have saved same Name/MobilePhone before!"));
}

void PBController::sendSMSInTCard(QStringList &numbers) {
  for (int row : selectedRows_) {
    const QString number = m_TCardPhoneList.value(row).toMap().value(PBKey::kMobilePhone).toString();
    if (!number.isEmpty())
      numbers << number;
  }
  page().reloadContactTableAndDeselect();
}

PBContactRecord PBController::getItemByIndex(int index, const PBContactList &list) {
  for (const QVariant &v : list) {
    const QVariantMap r = v.toMap();
    if (r.contains(PBKey::kIndex) && r.value(PBKey::kIndex).toInt() == index)
      return r;
  }
  return {};
}
