// PBController: the page's configuration, enable rules, copy-to menus, capacity label, details
// text, progress display, device hooks and the store shown.
#include "ConfigService.h"
#include "NotificationTables.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "PBSource.h"
#include "QELUIManager.h"
#include "TextWidth.h"
#include "WordGlobe.h"

#include <QCollator>

namespace {
const QString kPhoneBook = QStringLiteral("PhoneBook");
// The number the phonebook gives the device status when it asks for the unlock window, to know
// the answer is its own.
constexpr int kDeviceLockModulePhonebook = 2;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

// Fills the "%d" places of a worded format in order.
QString formatCounts(QString format, std::initializer_list<int> values) {
  for (int v : values) {
    const qsizetype at = format.indexOf(QLatin1String("%d"));
    if (at < 0)
      break;
    format.replace(at, 2, QString::number(v));
  }
  return format;
}
} // namespace

// ---- configuration ----

bool PBController::getPhonebookSettingBoolValue(const QString &key) const {
  return ConfigService::readBool(kPhoneBook, key);
}

void PBController::readConfigurations() {
  readSettings();
  m_isSendMessageToGroupEnabled = setting("SendMessageToGroupEnabled");
  m_contactNumbersSelcectionEnabled = setting("ContactNumbersSelectionEnabled");
  m_isSupportSimFieldAutoDetection = setting("SimFieldAutoDetectionEnabled");
  m_isZ3IDefinedPBItemLength = setting("Z3IDefinedPBItemLength");
  isContactNameAndNumberUnique_ = setting("PBNameAndNumberUnique");
  isChangeDefGrpNameWithLag_ = setting("ChangeDefGrpNameWithLag");
  isNoGroup_ = setting("IsNoGroup");
  isCustormizeControlSize_ = setting("IsCustormizeControlSize");
  isDisplayRemark_ = setting("IsDisplayRemark");
  notAllowSameRecordInOneGroup_ = setting("NotAllowSameRecordInOneGroup");
  saveToPCWhenSimIsFull_ = setting("SaveToPCWhenSimFull");
  showTipAboutZ3INotEnoughSpace_ = setting("Z3INotEnoughSpaceTip");
  notShowInfoLostTip_ = setting("NOPopInfoLostTipWhenCopyFromPcToSim");
  if (m_isZ3IDefinedPBItemLength)
    setPcFieldLengths(15, 24, 40);
  else if (pcNameMaxLen_ == 0)
    setPcFieldLengths(40, 40, 40);
}

// ---- enable rules ----

bool PBController::batchRunning() const {
  return !m_AddContactList.isEmpty() || !m_DelContactList.isEmpty() || !pendingSwitches_.isEmpty() ||
         !moveDeletes_.isEmpty();
}

void PBController::buttonControl(bool a, bool b, bool c, bool d, bool e, bool f) {
  controls_.addGroup = a;
  controls_.deleteGroup = b;
  controls_.editGroup = c;
  controls_.addUser = d;
  controls_.deleteUser = e;
  controls_.editUser = f;
  if (m_contactNameUniqueCheckingEnabled && m_nNetCardStatus != 12)
    controls_.addUser = controls_.editUser = false;
  // While a batch awaits its results the contact commands wait too, as the store selector does:
  // a new contact or a delete would otherwise meet the batch's pending lists.
  if (batchRunning()) {
    controls_.addUser = controls_.deleteUser = controls_.editUser = false;
    if (lastSelectSavePos_ != kSaveInPC)
      controls_.addGroup = controls_.deleteGroup = controls_.editGroup = false;
  }
  controlsChanged();
}

void PBController::SetMutexButton(bool copy, bool call, bool sms) {
  setPBMenuAndExportStatus(copy);
  controls_.call = call && simInitFinished_ && isCallModuleReady_;
  if (!controls_.call)
    controls_.callMenu.clear();
  controls_.sms = sms && simInitFinished_;
  controlsChanged();
}

void PBController::setPBMenuAndExportStatus(bool on) {
  controls_.copyMenus = on;
  controlsChanged();
}

void PBController::SetPopMenuItem(bool cut, bool copy, bool paste) {
  controls_.cut = cut;
  controls_.copy = copy;
  controls_.paste = paste;
  controlsChanged();
}

void PBController::contactSelectionChanged(QList<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  selectedRows_ = rows;
  m_bGroupsentSMS = false;
  if (rows.isEmpty()) {
    controls_.deleteGroup = controls_.editGroup = false;
    SetMutexButton(false, false, false);
    controls_.details = word("There is not contact selected");
    if (isSearching())
      buttonControl(false, false, false, false, false, false);
    else
      buttonControl(true, false, false, true, false, false);
    return;
  }
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    showTabViewSelectedPCUserList(rows.first());
    break;
  case kSaveInSIM:
    showTabViewSelectedUSIMUserList(rows.first());
    break;
  case kSaveInME:
    showTabViewSelectedMEUserList(rows.first());
    break;
  default:
    break;
  }
  setContactInfo();
  setCallButtonPopMenu();
  controlsChanged();
}

namespace {
struct Rule {
  bool copy, call;
  bool a, b, c, d, e, f;
};

// The enable rules of a selection: store shown, search or not, selected rows.
Rule ruleFor(int store, bool search, qsizetype n) {
  Rule r{};
  r.copy = !search;
  r.call = n <= 1;
  r.a = !search;
  const bool one = n == 1, some = n >= 1;
  switch (store) {
  case kSaveInPC:
    r.d = !search;
    r.e = some;
    r.f = one;
    break;
  case kSaveInSIM:
    r.b = some;
    r.c = one;
    r.d = !search;
    r.e = some;
    r.f = one;
    break;
  default: // the device memory
    r.b = some;
    r.c = one;
    break;
  }
  return r;
}
} // namespace

void PBController::showTabViewSelectedPCUserList(int row) {
  if (row < 0 || row >= (isSearching() ? getCurSearchGroupCount() : sumOfContactInCurrentGroup()))
    return;
  m_PcContact = isSearching() ? getUserFromCurSearchGroup(row) : getUserFromCurGroup(row);
  pcContactRow_ = isSearching() ? -1 : row;
  const Rule r = ruleFor(kSaveInPC, isSearching(), selectedRows_.size());
  SetMutexButton(r.copy, r.call, shouldEnableSendSmsButton());
  buttonControl(r.a, r.b, r.c, r.d, r.e, r.f);
}

void PBController::showTabViewSelectedUSIMUserList(int row) {
  if (row < 0 || row >= (isSearching() ? getCurSearchGroupCount() : getSimUserNumber()))
    return;
  m_SimContact = isSearching() ? getUserFromCurSearchGroup(row) : getUserFromSim(row);
  const Rule r = ruleFor(kSaveInSIM, isSearching(), selectedRows_.size());
  SetMutexButton(r.copy, r.call, shouldEnableSendSmsButton());
  buttonControl(r.a, r.b, r.c, r.d, r.e, r.f);
}

void PBController::showTabViewSelectedMEUserList(int row) {
  if (row < 0 || row >= (isSearching() ? getCurSearchGroupCount() : getMeUserNumber()))
    return;
  m_MeContact = isSearching() ? getUserFromCurSearchGroup(row) : getUserFromMe(row);
  const Rule r = ruleFor(kSaveInME, isSearching(), selectedRows_.size());
  SetMutexButton(r.copy, r.call, shouldEnableSendSmsButton());
  buttonControl(r.a, r.b, r.c, r.d, r.e, r.f);
}

void PBController::groupSelectionChanged(int row) {
  showTabViewSelectedPCGrpList(row);
}

void PBController::showTabViewSelectedPCGrpList(int row) {
  if (row < 0 || row >= sumOfGroupInPC())
    return;
  SetMutexButton(false, false, false);
  SetPopMenuItem(false, false, false);
  if (!isSearching()) {
    setCurrentgroup(row);
    selectedRows_.clear();
    m_PcContact.clear();
    pcContactRow_ = -1;
    controls_.addUser = controls_.deleteGroup = true;
    controls_.deleteUser = false;
    // A chosen group takes a message as a whole.
    if (simInitFinished_) {
      controls_.sms = true;
      m_bGroupsentSMS = true;
    }
    buttonControl(true, sumOfGroupInPC() > 0, false, true, false, false);
    page().reloadContactTableAndDeselect();
  } else {
    buttonControl(false, false, false, false, false, false);
  }
  setMoveMenu();
}

// ---- copy-to menus ----

void PBController::addMoveMenuItem(const QString &key, bool added, bool enabled) {
  if (!added)
    return;
  controls_.moveMenu << Map_Name_Item_of_IndexString(key);
  controls_.moveMenuEnabled << enabled;
}

void PBController::addUsimMeTcardMenuItem() {
  const QString sim = QStringLiteral("(U)SIM"), me = QStringLiteral("Data Card"), card = QStringLiteral("SD Card");
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    addMoveMenuItem(sim, true, simInitFinished_);
    addMoveMenuItem(me, hasMePosition_, meInitFinished_);
    addMoveMenuItem(card, isShowTCard_, tcardInitFinished_);
    break;
  case kSaveInSIM:
    addMoveMenuItem(me, hasMePosition_, meInitFinished_);
    addMoveMenuItem(card, isShowTCard_, tcardInitFinished_);
    break;
  case kSaveInME:
    addMoveMenuItem(sim, true, simInitFinished_);
    addMoveMenuItem(card, isShowTCard_, tcardInitFinished_);
    break;
  default:
    break;
  }
}

void PBController::setMoveMenu() {
  controls_.moveMenu.clear();
  controls_.moveMenuEnabled.clear();
  addUsimMeTcardMenuItem();
  const bool pcShown = lastSelectSavePos_ == kSaveInPC;
  if (!(pcShown && isSearching())) {
    for (int g = 0; g < sumOfGroupInPC(); ++g) {
      if (pcShown && g == m_CurGroupIndex)
        continue;
      controls_.moveMenu << getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString();
      controls_.moveMenuEnabled << true;
    }
  }
  controlsChanged();
}

QString PBController::getMoveDestName() const {
  return moveDestName_.isEmpty() ? page().getMoveDestName() : moveDestName_;
}

// ---- capacity label and details ----

QString PBController::capacityText() const {
  int count = 0, max = 0;
  const char *hide = nullptr;
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    count = sumOfContactInPC();
    max = pcUserMaxCount_;
    hide = "HideMaxCountInPC";
    break;
  case kSaveInSIM:
    count = getSimUserNumber();
    max = simMaxIndex_;
    hide = "HideMaxCountInSIM";
    break;
  case kSaveInME:
    count = getMeUserNumber();
    max = meMaxIndex_;
    hide = "HideMaxCountInME";
    break;
  case kSaveInTCard:
    count = getTCardUserNumber();
    max = pcUserMaxCount_;
    hide = "HideMaxCountInSDCard";
    break;
  default:
    break;
  }
  if (hide && setting(hide))
    return formatCounts(word("Cur %d"), {count});
  return formatCounts(word("Cur %d  Maxcur %d"), {count, max});
}

void PBController::SetConpacityShow() {
  controls_.capacity = capacityText();
  page().setConpacityShow();
  controlsChanged();
}

void PBController::setContactInfo() {
  if (selectedRows_.isEmpty()) {
    controls_.details = word("There is not contact selected");
    return;
  }
  PBContactRecord record;
  QString head;
  if (lastSelectSavePos_ == kSaveInPC && !m_PcContact.isEmpty()) {
    record = m_PcContact;
    head = word("PC");
  } else if (lastSelectSavePos_ == kSaveInSIM && !m_SimContact.isEmpty()) {
    record = m_SimContact;
    head = word("(U)SIM");
  } else {
    controls_.details.clear();
    return;
  }
  static const QHash<QString, QString> titles = {{PBKey::kUserName, QStringLiteral("Name")},
                                                 {PBKey::kMobilePhone, QStringLiteral("MobilePhone")},
                                                 {PBKey::kOfficePhone, QStringLiteral("OfficePhone")},
                                                 {PBKey::kHomePhone, QStringLiteral("HomePhone")},
                                                 {PBKey::kEmail, QStringLiteral("EMail")},
                                                 {PBKey::kGroupName, QStringLiteral("Group")},
                                                 {PBKey::kRemark, QStringLiteral("Remark")}};
  QString text = head + QStringLiteral("\n\n");
  for (const QString &key : userTableViewColumns())
    text += QStringLiteral("%1: %2\r\n")
                .arg(Map_Name_Item_of_IndexString(titles.value(key, key)), record.value(key).toString());
  controls_.details = text;
}

QString PBController::deleteExtraContent(const QString &text, int maxLength) {
  return ::deleteExtraContent(text, maxLength);
}

// ---- progress ----

void PBController::preDoWithProcessBeforeOperation(int count) {
  alreadyOperationNumbers_ = 0;
  sumOperationNumbers_ = float(count);
  controls_.progressVisible = true;
  controls_.progressValue = 0;
  if (!curOperationTimer_) {
    curOperationTimer_ = new QTimer(this);
    curOperationTimer_->setInterval(100);
    connect(curOperationTimer_, &QTimer::timeout, this, &PBController::updateCurOperationProcessBar);
    curOperationTimer_->start();
  }
  controlsChanged();
}

void PBController::doWithProcessWhenOneMoreRecordOperation() {
  alreadyOperationNumbers_ += 1;
}

void PBController::updateCurOperationProcessBar() {
  if (!controls_.progressVisible)
    return;
  if (alreadyOperationNumbers_ >= sumOperationNumbers_) {
    controls_.progressValue = 0;
    controls_.progressVisible = false;
  } else {
    controls_.progressValue = alreadyOperationNumbers_ / sumOperationNumbers_ * 20;
  }
  controlsChanged();
}

// ---- device and tab hooks ----

void PBController::netcardChanged(int status) {
  m_nNetCardStatus = status;
  if (status == 12)
    createNodeOfSimWhenSimCardvalid();
  else
    deleteNodeOfSimWhenSimCardInvalid();
}

void PBController::devicePlugin(const Notification &) {
  netcardChanged(2);
}

void PBController::simReady(const Notification &) {
  netcardChanged(12);
}

void PBController::callModuleReady(const Notification &) {
  isCallModuleReady_ = true;
}

void PBController::tabViewItemWillChange(const Notification &notification) {
  if (notification.userInfo.value(QLatin1String(kTabViewItemWillChange)).toString() != QLatin1String("Phonebook"))
    return;
  if (ConfigService::readBool(QString(), QStringLiteral("DeviceLockPBFunction")) && deviceLock.lockCodeOn &&
      deviceLock.lockCodeOn() && deviceLock.openUnlockWindow)
    deviceLock.openUnlockWindow(wndMain, kDeviceLockModulePhonebook);
}

void PBController::notifyDeviceUnlockSuccess(const Notification &) {
  if (deviceLock.askingModule && deviceLock.askingModule() == kDeviceLockModulePhonebook)
    notifyChangeTabViewItem(QStringLiteral("Phonebook"));
}

void PBController::notifyDeviceUnlockFailed(const Notification &) {
  if (!deviceLock.askingModule || deviceLock.askingModule() != kDeviceLockModulePhonebook)
    return;
  canceladduser();
  notifyChangeTabViewItem(QStringLiteral("Internet"));
}

// ---- the store shown ----

void PBController::selectAtPCSide() {
  lastSelectSavePos_ = kSaveInPC;
  page().showStore(kSaveInPC);
  m_searchText.clear();
  m_CurrentSearchGroup.clear();
  page().clearSearchField();
  selectedRows_.clear();
  SetPopMenuItem(false, false, false);
  SetMutexButton(false, false, false);
  buttonControl(true, false, false, true, false, false);
  page().reloadColumns();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  setMoveMenu();
}

void PBController::selectNotPcSide() {
  // The selector shows the store (its own change comes back here as the store already shown).
  page().showStore(lastSelectSavePos_);
  m_searchText.clear();
  m_CurrentSearchGroup.clear();
  page().clearSearchField();
  selectedRows_.clear();
  SetPopMenuItem(false, false, false);
  SetMutexButton(false, false, false);
  buttonControl(true, false, false, false, false, false);
  page().reloadColumns();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
}

void PBController::selectAtSimSide() {
  lastSelectSavePos_ = kSaveInSIM;
  selectNotPcSide();
  setMoveMenu();
}

void PBController::selectAtMeSide() {
  lastSelectSavePos_ = kSaveInME;
  selectNotPcSide();
  setMoveMenu();
}

void PBController::selectAtTCardSide() {
  lastSelectSavePos_ = kSaveInTCard;
  selectNotPcSide();
  setMoveMenu();
}

// ---- search and columns ----

void PBController::searchUser(const QString &text) {
  m_searchText = text;
  m_CurrentSearchGroup.clear();
  selectedRows_.clear();
  if (!text.isEmpty()) {
    SetMutexButton(false, false, false);
    buttonControl(false, false, false, false, false, false);
    switch (lastSelectSavePos_) {
    case kSaveInPC:
      getSearchContactsFromPC();
      setMoveMenu();
      break;
    case kSaveInSIM:
      getSearchContactsFromSIM();
      break;
    case kSaveInME:
      getSearchContactsFromME();
      break;
    default:
      break;
    }
    PBNameSort::sortByUserName(m_CurrentSearchGroup);
  } else {
    buttonControl(true, false, false, lastSelectSavePos_ == kSaveInPC || lastSelectSavePos_ == kSaveInSIM, false,
                  false);
    if (lastSelectSavePos_ == kSaveInPC)
      setMoveMenu();
  }
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
}

PBContactList PBController::shownContacts() const {
  if (isSearching())
    return m_CurrentSearchGroup;
  switch (lastSelectSavePos_) {
  case kSaveInSIM:
    return m_SimPhoneList;
  case kSaveInME:
    return m_MePhoneList;
  case kSaveInTCard:
    return m_TCardPhoneList;
  default: {
    PBContactList list = currentGroup();
    if (!list.isEmpty())
      list.removeFirst();
    return list;
  }
  }
}

QStringList PBController::userTableViewColumnsAtPC() const {
  const bool inverted = ConfigService::sharedConfigService() &&
                        ConfigService::sharedConfigService()->isSupportInterfaceInversionForPhoneBook();
  if (inverted)
    return {PBKey::kGroupName,   PBKey::kEmail,       PBKey::kHomePhone,
            PBKey::kOfficePhone, PBKey::kMobilePhone, PBKey::kUserName};
  QStringList columns{PBKey::kUserName, PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail};
  if (!isNoGroup_)
    columns << PBKey::kGroupName;
  if (isDisplayRemark_)
    columns << PBKey::kRemark;
  return columns;
}

QStringList PBController::userTableViewColumnsAtNotPC() const {
  const bool inverted = ConfigService::sharedConfigService() &&
                        ConfigService::sharedConfigService()->isSupportInterfaceInversionForPhoneBook();
  if (!m_isSupportSimFieldAutoDetection)
    return inverted ? QStringList{PBKey::kMobilePhone, PBKey::kUserName}
                    : QStringList{PBKey::kUserName, PBKey::kMobilePhone};
  const int flag = m_simContactFiledsFlag;
  QStringList columns;
  const std::pair<int, QString> bits[] = {{kFieldName, PBKey::kUserName},
                                          {kFieldNumber, PBKey::kMobilePhone},
                                          {kFieldNumber2, PBKey::kHomePhone},
                                          {kFieldNumber3, PBKey::kOfficePhone},
                                          {kFieldEmail, PBKey::kEmail}};
  for (const auto &[bit, key] : bits)
    if (flag & bit)
      columns << key;
  return columns;
}

QStringList PBController::userTableViewColumns() const {
  switch (lastSelectSavePos_) {
  case kSaveInPC:
    return userTableViewColumnsAtPC();
  case kSaveInTCard:
    return {PBKey::kUserName, PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail};
  default:
    return userTableViewColumnsAtNotPC();
  }
}

void PBController::sortContactsByColumn(const QString &key, bool ascending) {
  const QCollator collator = PBNameSort::collator();
  auto less = [&](const QVariant &a, const QVariant &b) {
    const int c = collator.compare(a.toMap().value(key).toString(), b.toMap().value(key).toString());
    return ascending ? c < 0 : c > 0;
  };
  if (lastSelectSavePos_ == kSaveInPC && !isSearching()) {
    if (m_CurGroupIndex < 0 || m_CurGroupIndex >= m_PcPhoneList.size())
      return;
    QVariantList group = m_PcPhoneList.at(m_CurGroupIndex).toList();
    if (group.size() > 2)
      std::stable_sort(group.begin() + 1, group.end(), less);
    m_PcPhoneList[m_CurGroupIndex] = group;
    pcChanged();
  } else if ((lastSelectSavePos_ == kSaveInPC || lastSelectSavePos_ == kSaveInSIM) && isSearching()) {
    std::stable_sort(m_CurrentSearchGroup.begin(), m_CurrentSearchGroup.end(), less);
  } else if (lastSelectSavePos_ == kSaveInSIM) {
    std::stable_sort(m_SimPhoneList.begin(), m_SimPhoneList.end(), less);
    simChanged();
  }
  selectedRows_.clear();
  page().reloadContactTableAndDeselect();
}

void PBController::initializeSkin() {
  if (!qelSkinManager)
    return;
  for (const auto &[key, control] : page().skinItems())
    if (control)
      qelSkinManager->registerController(control, key, true);
}

void PBController::initializeNibResources() {
  // The call button only with the call page.
  page().setCallButtonShown(hasModuleWith(QStringLiteral("Call")));
  page().updateWording();
}

void PBController::updateLanguages(const Notification &) {
  page().updateWording();
  changeDefGrpWithLag();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  setMoveMenu();
  if (selectedRows_.isEmpty())
    controls_.details = word("There is not contact selected");
  controlsChanged();
}

void PBController::tabViewItemDidChange(const Notification &) {
  // The rows chosen before the tab was left are shown again for the store on screen.
  if (!selectedRows_.isEmpty() && lastSelectSavePos_ != kSaveInTCard)
    contactSelectionChanged(selectedRows_);
}
