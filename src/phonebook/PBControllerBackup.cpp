// PBController: contacts in and out of files. Export writes the selected contacts to a file,
// import adds a file's contacts to the PC group or the SIM shown, the number update rewrites
// mobile numbers by the operator's prefix rule after a backup of the store, and restore brings a
// store back from one of those backups.
//
// The update and the restore of the SIM run through the modem's write and delete results; their
// outcome is shown by updateOrRestoreResult once the last result is in.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "FilePanels.h"
#include "PBAlphaId.h"
#include "PBController.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "QelFileManager.h"
#include "WordGlobe.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

void warn(const char *messageKey) {
  NSRunAlertPanelExt(word("Warning"), word(messageKey), word("OK"));
}

// A system alert with a blank title; Yes answers true.
bool askYesNo(const char *messageKey) {
  return runSystemAlertPanel(QStringLiteral(" "), word(messageKey), word("Yes"), word("No")) == 1;
}

// A mobile number the rule applies to: 10 or 11 characters, the prefix being all but the last 7.
constexpr int kKeptDigits = 7;
bool ruleLength(const QString &number) {
  return number.size() == 10 || number.size() == 11;
}
} // namespace

// ---- export ----

void PBController::exportPhoneBook() {
  const QString path =
      FilePanels::run({QStringLiteral("exportPhonebookPanel"), true, QStringLiteral("plist"), QString()}, wndMain,
                      {word("Export PhoneBook"), QString()});
  if (!path.isEmpty())
    backupPhonebookFile(path);
}

void PBController::backupPhonebookFile(const QString &chosen) {
  if (chosen.isEmpty() || selectedRows_.isEmpty())
    return;
  const QFileInfo info(chosen);
  const QString path = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".plist");
  const bool searching = isSearching();
  int count = getCurSearchGroupCount();
  if (!searching && lastSelectSavePos_ == kSaveInPC)
    count = sumOfContactInCurrentGroup();
  else if (!searching && lastSelectSavePos_ == kSaveInSIM)
    count = getSimUserNumber();
  // The file lists the rows from the last selected to the first.
  QVariantList records;
  for (qsizetype i = selectedRows_.size() - 1; i >= 0; --i) {
    const int row = selectedRows_.at(i);
    if (row < 0 || row >= count)
      continue;
    PBContactRecord record;
    if (searching)
      record = getUserFromCurSearchGroup(row);
    else if (lastSelectSavePos_ == kSaveInPC)
      record = getUserFromCurGroup(row);
    else if (lastSelectSavePos_ == kSaveInSIM)
      record = getUserFromSim(row);
    else
      continue;
    record.remove(PBKey::kSavePos);
    records.append(record);
  }
  if (!Plist::writeFile(path, records))
    warn("Export contact(s) failed.Please confirm the access privileges.");
}

// ---- import ----

void PBController::importPhoneBook() {
  const QString path =
      FilePanels::run({QStringLiteral("importPhonebookPanel"), false, QStringLiteral("plist"), QString()}, wndMain,
                      {word("Import Phonebool"), QString()});
  if (!path.isEmpty())
    restorePhonebookFile(path);
}

void PBController::restorePhonebookFile(const QString &path) {
  QVariant content;
  QVariantList entries;
  if (Plist::readFile(path, &content) && content.typeId() == QMetaType::QVariantList)
    entries = content.toList();
  int invalid = 0;
  bool stopped = false;
  if (lastSelectSavePos_ == kSaveInPC) {
    // A store without any group gets the default one, so the contacts have a place.
    if (m_PcPhoneList.isEmpty())
      addGroup();
    const int g = m_CurGroupIndex >= 0 && m_CurGroupIndex < sumOfGroupInPC() ? m_CurGroupIndex : 0;
    const QString groupName = getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString();
    for (const QVariant &entry : entries) {
      PBContactRecord record = entry.toMap();
      if (entry.typeId() != QMetaType::QVariantMap || record.value(PBKey::kUserName).toString().isEmpty()) {
        ++invalid;
        continue;
      }
      record.remove(PBKey::kSavePos);
      record.insert(PBKey::kGroupName, groupName);
      if (!addContactToPcPhoneList(record, g)) {
        warn("PC Record full,Please delete records first!");
        stopped = true;
        break;
      }
    }
    // What was imported is kept, also when the store filled up on the way.
    savePhoneList2File();
    page().reloadContactTableAndDeselect();
    SetConpacityShow();
  } else if (lastSelectSavePos_ == kSaveInSIM) {
    // Each written record joins the SIM list on its result, as a new contact does.
    phonebookOperate_ = kPBOperationAdd;
    firstWriteFailedFlag_ = true;
    for (const QVariant &entry : entries) {
      const PBContactRecord source = entry.toMap();
      if (entry.typeId() != QMetaType::QVariantMap || source.value(PBKey::kUserName).toString().isEmpty()) {
        ++invalid;
        continue;
      }
      if (source.value(PBKey::kMobilePhone).toString().isEmpty())
        continue;
      PBContactRecord record{{PBKey::kUserName, source.value(PBKey::kUserName)},
                             {PBKey::kMobilePhone, source.value(PBKey::kMobilePhone)}};
      for (const QString &key : {PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail})
        if (source.contains(key))
          record.insert(key, source.value(key));
      if (!moveContactFromPcToSimBy1way(record)) {
        stopped = true;
        break;
      }
    }
    if (m_AddContactList.isEmpty())
      phonebookOperate_ = kPBOperationNone;
    if (!stopped)
      popUpInfoLostAlertWin();
  } else {
    return;
  }
  if (!stopped && invalid >= entries.size())
    warn("Import contact(s) failed.The data is invalid!");
}

bool PBController::moveContactFromPcToSimBy1way(const PBContactRecord &record) {
  const QString name = PBAlphaId::reSetNameStrWithInputName(record.value(PBKey::kUserName).toString(), simNameMaxLen_);
  for (const QString &key : {PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone}) {
    const QString number = deleteExtraContent(record.value(key).toString(), simNumberMaxLen_);
    if (number.isEmpty())
      continue;
    const int index = simNewContactIndex();
    if (simMaxIndex_ <= 0 || index > simMaxIndex_)
      return false;
    PBContactRecord one{{PBKey::kUserName, name}, {PBKey::kMobilePhone, number}, {PBKey::kIndex, index}};
    doUniqueCheckIfNeededOfContact(one, kSaveInPC);
    saveContactToSim(one);
  }
  return true;
}

// ---- the number update ----

void PBController::initPhonebookUpdatedRule() {
  phonebookUpdatedRule_.clear();
  const QVariantMap rule =
      ConfigService::readValue(QStringLiteral("PhoneBook"), QStringLiteral("PhonebookUpdatedRule")).toMap();
  for (auto it = rule.cbegin(); it != rule.cend(); ++it)
    if (it.value().typeId() == QMetaType::QString)
      phonebookUpdatedRule_.insert(it.key(), it.value().toString());
}

bool PBController::contactIsUpdated(const PBContactRecord &record) const {
  const QString number = record.value(PBKey::kMobilePhone).toString();
  if (!ruleLength(number))
    return true;
  return !phonebookUpdatedRule_.contains(number.left(number.size() - kKeptDigits));
}

bool PBController::contactsIsUpdated(const QVariantList &list) const {
  for (const QVariant &v : list)
    if (!contactIsUpdated(v.toMap()))
      return false;
  return true;
}

bool PBController::phonebookIsUpdated() const {
  if (lastSelectSavePos_ == kSaveInPC) {
    for (const QVariant &g : m_PcPhoneList)
      if (!contactsIsUpdated(g.toList().mid(1)))
        return false;
    return true;
  }
  if (lastSelectSavePos_ == kSaveInSIM)
    return contactsIsUpdated(m_SimPhoneList);
  return true;
}

bool PBController::updateContactNumber(PBContactRecord &record) const {
  if (contactIsUpdated(record))
    return false;
  const QString number = record.value(PBKey::kMobilePhone).toString();
  record.insert(PBKey::kMobilePhone,
                phonebookUpdatedRule_.value(number.left(number.size() - kKeptDigits)) + number.right(kKeptDigits));
  return true;
}

void PBController::updatePhonebook() {
  beginToCheckUpdate(QStringLiteral("Checking contacts now ..."));
  if (phonebookIsUpdated()) {
    showResult(QStringLiteral("Contacts are already transformed to new format."));
    return;
  }
  if (!askYesNo("Do you want to update our contacts to the new rules?") || !askYesNo("Are you sure?")) {
    endModalWindow();
    return;
  }
  updateContacts();
}

void PBController::updateContacts() {
  phonebookOperate_ = kPBOperationUpdateNumbers;
  // No backup, no update: the numbers are only rewritten once the old ones are safe.
  if (!backupPhonebook()) {
    showResult(QStringLiteral("Contacts are failed to updated."));
    phonebookOperate_ = kPBOperationNone;
    return;
  }
  setUpdateMessage(QStringLiteral("Updateing contacts now ..."));
  if (lastSelectSavePos_ == kSaveInPC)
    updateContactsInPC();
  else if (lastSelectSavePos_ == kSaveInSIM)
    updateContactsInSIM();
  else
    phonebookOperate_ = kPBOperationNone;
}

void PBController::updateContactsInPC() {
  for (QVariant &g : m_PcPhoneList) {
    QVariantList group = g.toList();
    for (int i = 1; i < group.size(); ++i) {
      PBContactRecord record = group.at(i).toMap();
      if (updateContactNumber(record))
        group[i] = record;
    }
    g = group;
  }
  pcChanged();
  const bool written = savePhoneList2File();
  setCurrentgroup(0);
  page().selectGroupRow(0);
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  showResult(written ? QStringLiteral("Contacts are updated successfully.")
                     : QStringLiteral("Contacts are failed to updated."));
  phonebookOperate_ = kPBOperationNone;
}

void PBController::updateContactsInSIM() {
  firstWriteFailedFlag_ = true;
  updateOrRestoreSuccess_ = true;
  const PBContactList contacts = m_SimPhoneList;
  for (const QVariant &v : contacts) {
    PBContactRecord record = v.toMap();
    if (updateContactNumber(record))
      saveContactToSim(record);
  }
  if (m_AddContactList.isEmpty()) {
    updateOrRestoreResult();
    phonebookOperate_ = kPBOperationNone;
  }
}

// ---- backups ----

QString PBController::backupFileBasePath() const {
  QString store;
  if (lastSelectSavePos_ == kSaveInPC)
    store = QStringLiteral("PC");
  else if (lastSelectSavePos_ == kSaveInSIM)
    store = QStringLiteral("SIM");
  else
    return {};
  const QString folder = getPhoneBookFilePathWithFileName(QString());
  if (folder.isEmpty())
    return {};
  // The file path's trailing "/" is dropped before the constant's own.
  return QelFileManager::expandTilde(folder.chopped(1) + kCMPhonebookUpdateBasePath + QLatin1Char('/') + store);
}

bool PBController::backupPhonebook() {
  const QString folder = backupFileBasePath();
  if (folder.isEmpty())
    return false;
  const QString store = lastSelectSavePos_ == kSaveInPC ? QStringLiteral("PC") : QStringLiteral("SIM");
  const QVariantList content = lastSelectSavePos_ == kSaveInPC ? m_PcPhoneList : m_SimPhoneList;
  const QString stem = folder + QLatin1Char('/') + store + QLatin1Char('-') +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HH-mm"));
  // A second backup within the same minute gets a number of its own instead of replacing the first.
  QString path = stem + QStringLiteral(".plist");
  for (int n = 1; QFileInfo::exists(path); ++n)
    path = stem + QStringLiteral("-%1.plist").arg(n);
  return QelFileManager::writeToFile(path, content);
}

QString PBController::currentBackupFilePath() const {
  const QString folder = backupFileBasePath();
  if (folder.isEmpty())
    return {};
  const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  if (entries.isEmpty())
    return {};
  if (entries.size() == 1)
    return folder + QLatin1Char('/') + entries.first();
  return QStringLiteral("");
}

bool PBController::backupFileIsValidToPC(const QVariant &content) {
  if (content.typeId() != QMetaType::QVariantList)
    return false;
  for (const QVariant &g : content.toList()) {
    if (g.typeId() != QMetaType::QVariantList)
      return false;
    for (const QVariant &r : g.toList())
      if (r.typeId() != QMetaType::QVariantMap)
        return false;
  }
  return true;
}

bool PBController::backupFileIsValidToSIM(const QVariant &content) {
  if (content.typeId() != QMetaType::QVariantList)
    return false;
  for (const QVariant &r : content.toList())
    if (r.typeId() != QMetaType::QVariantMap)
      return false;
  return true;
}

bool PBController::backupFileIsValid(const QString &path) const {
  const QString folder = backupFileBasePath();
  if (folder.isEmpty() || path.isEmpty())
    return false;
  // Only a backup of this store's own folder is taken, never a file from elsewhere.
  const QString in = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
  if (in.isEmpty() || in != QFileInfo(folder).canonicalFilePath())
    return false;
  QVariant content;
  if (!Plist::readFile(path, &content))
    return false;
  return lastSelectSavePos_ == kSaveInPC ? backupFileIsValidToPC(content) : backupFileIsValidToSIM(content);
}

// ---- restore ----

void PBController::restorePhonebook() {
  const QString path = currentBackupFilePath();
  if (path.isNull()) {
    runSystemAlertPanel(QStringLiteral(" "), word("Backup files dont's exist."), word("OK"), QString());
    return;
  }
  if (path.isEmpty()) {
    browerFile(FilePanels::run({QStringLiteral("restorePhonebookPanel"), false, QStringLiteral("plist"), QString()},
                               wndMain, {QString(), backupFileBasePath()}));
    return;
  }
  restoreFromBackupFile(path);
}

void PBController::browerFile(const QString &path) {
  if (!path.isEmpty())
    restoreFromBackupFile(path);
}

void PBController::restoreFromBackupFile(const QString &path) {
  if (!backupFileIsValid(path)) {
    runSystemAlertPanel(QStringLiteral(" "), word("Illegal backup file is selected."), word("OK"), QString());
    return;
  }
  page().reloadContactTableAndDeselect();
  page().selectGroupRow(-1);
  contactSelectionChanged({});
  phonebookOperate_ = kPBOperationRestore;
  beginToCheckUpdate(QStringLiteral("Restoring contacts now ..."));
  if (lastSelectSavePos_ == kSaveInPC)
    restoreFromBackupFileToPC(path);
  else
    restoreFromBackupFileToSIM(path);
}

void PBController::restoreFromBackupFileToPC(const QString &path) {
  QVariant content;
  Plist::readFile(path, &content);
  Plist::writeFile(getPhoneBookFilePathWithFileName(kCMPhoneBookFile), content);
  // The store is what the file now holds (a failed write leaves the old one).
  loadPcPhoneList(kCMPhoneBookFile);
  page().reloadGroupTable();
  page().selectGroupRow(0);
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  showResult(QStringLiteral("Contacts are restored successfully."));
  phonebookOperate_ = kPBOperationNone;
}

void PBController::restoreFromBackupFileToSIM(const QString &path) {
  QVariant content;
  Plist::readFile(path, &content);
  QVariantList backup = content.toList();
  firstWriteFailedFlag_ = true;
  updateOrRestoreSuccess_ = true;
  deleteRedundantCantactsInSIM(backup);
  if (!backup.isEmpty())
    addNewContactsToSIM(backup);
  if (m_AddContactList.isEmpty() && m_DelContactList.isEmpty()) {
    updateOrRestoreResult();
    phonebookOperate_ = kPBOperationNone;
  }
}

void PBController::deleteRedundantCantactsInSIM(QVariantList &backup) {
  clearDelUserList();
  const PBContactList contacts = m_SimPhoneList;
  for (const QVariant &v : contacts) {
    const PBContactRecord record = v.toMap();
    const int at = indexOfContactItem(record.value(PBKey::kUserName).toString(),
                                      record.value(PBKey::kMobilePhone).toString(), backup);
    if (at >= 0) {
      backup.removeAt(at);
      continue;
    }
    const int index = record.value(PBKey::kIndex).toInt();
    deleteContactFromSim(index);
    m_Del_add_state = (m_Del_add_state & 4) ? (m_Del_add_state | 2) : (m_Del_add_state | 2 | 8);
    addContactToDelUserList(index);
  }
}

void PBController::addNewContactsToSIM(const QVariantList &backup) {
  clearAddUserList();
  for (const QVariant &v : backup) {
    const PBContactRecord entry = v.toMap();
    PBContactRecord record{{PBKey::kUserName, entry.value(PBKey::kUserName)},
                           {PBKey::kMobilePhone, entry.value(PBKey::kMobilePhone)}};
    if (m_DelContactList.isEmpty()) {
      record.insert(PBKey::kIndex, simNewContactIndex());
      saveContactToSim(record);
    } else {
      // Written once the last delete of the restore is answered.
      addContactToAddUserList(record);
    }
  }
}

int PBController::indexOfContactItem(const QString &name, const QString &number, const QVariantList &list) {
  for (int i = 0; i < list.size(); ++i) {
    const QVariantMap r = list.at(i).toMap();
    if (r.value(PBKey::kUserName).toString() == name && r.value(PBKey::kMobilePhone).toString() == number)
      return i;
  }
  return -1;
}

int PBController::userGroupIndexByGroupName(const QString &name) const {
  const int g = groupIndexWithName(name);
  return g < 0 ? 0 : g;
}

// ---- the update window ----

void PBController::beginToCheckUpdate(const QString &messageKey) {
  controls_.updateWindowShown = true;
  controls_.updateWindowBusy = true;
  controls_.updateWindowMessage = Map_Name_Item_of_IndexString(messageKey);
  controlsChanged();
}

void PBController::setUpdateMessage(const QString &messageKey) {
  controls_.updateWindowMessage = Map_Name_Item_of_IndexString(messageKey);
  controlsChanged();
}

void PBController::showResult(const QString &messageKey) {
  const QString text = Map_Name_Item_of_IndexString(messageKey);
  controls_.updateWindowShown = true;
  controls_.updateWindowBusy = false;
  controls_.updateWindowMessage = text;
  page().showUpdateResult(text);
  controlsChanged();
}

void PBController::endModalWindow() {
  controls_.updateWindowShown = false;
  controls_.updateWindowBusy = false;
  controlsChanged();
}

void PBController::updateWindowOk() {
  endModalWindow();
}
