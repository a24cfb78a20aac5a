#pragma once

#include "PBModemBlocks.h"
#include "PBPageControls.h"
#include "PBPageLink.h"
#include "PBTypes.h"
#include "PhonebookNeighbour.h"
#include "QELUIController.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>

class PBSource;

// The phonebook's store side: the PC store (phoneBook.plist with its groups), the SIM and
// device-memory stores kept by the backend, the memory card's contact files, the merged list of
// all contacts, the search and the number-to-name lookup. Its page is a PBPageLink handed over
// with setPage; without one, its calls to the page do nothing.
//
// The methods are grouped in category files: PBControllerPcStore.cpp (PC store and merged list),
// PBControllerSearch.cpp (search, names and lookup), PBControllerModem.cpp (SIM and device
// memory through the backend: reads, writes, deletes), PBControllerMemorySwitch.cpp (the memory
// switch, the operations waiting for it, the dialog's commit), PBControllerTCard.cpp (memory
// card). It is the phonebook's face to the other subsystems (PhonebookNeighbour).
class PBController : public QELUIController, public PhonebookNeighbour {
  Q_OBJECT
public:
  explicit PBController(QObject *parent = nullptr);
  ~PBController() override;

  void setPage(PBPageLink *page) { page_ = page; }
  PBPageLink &page() { return page_ ? *page_ : noPage_; }
  const PBPageLink &page() const { return page_ ? *page_ : noPage_; }

  // Reads the phonebook switches and limits of the settings (done at wake-up).
  void readSettings();
  // PC field lengths, set by the page from the settings.
  void setPcFieldLengths(int name, int number, int email);

  // ---- PC store ----
  QString getPhoneBookFilePathWithFileName(const QString &fileName) const;
  void loadPcPhoneList(const QString &text);
  void loadPcPhoneListByImsi(const QString &text) override;
  void reloadPhoneList();
  void reloadPCPhoneList() override;
  bool savePhoneList2File();

  int sumOfGroupInPC() const { return int(m_PcPhoneList.size()); }
  int sumOfContactInGroup(int group) const;
  int sumOfContactInCurrentGroup() const;
  // Row -1 answers the group's header; an empty map when out of range.
  PBContactRecord getPCUserByIndex(int group, int row) const;
  void setCurrentgroup(int group);
  int currentGroupIndex() const { return m_CurGroupIndex; }
  QVariantList currentGroup() const;
  const QVariantList &pcPhoneList() const { return m_PcPhoneList; }

  QString getNewGroupItem() const;
  void addGroup();
  void addGroupItem();
  bool isFindTheSameGroupName(const QString &name) const;
  bool checktNewGroupItem(const QString &name, int groupIndex) const;
  void deleteGrop(int group);
  void sortGroupInPC();
  QVariantList getGroupWithGroupName(const QString &name) const;
  int groupIndexWithName(const QString &name) const;

  bool addContactToPcPhoneList(const PBContactRecord &record, int group);
  int addUser2CurGrop(const PBContactRecord &record);
  PBContactRecord getUserFromCurGroup(int row) const;
  void deleteUserFromCurGrop(int row);
  int sumOfContactInPC() const;
  int getPCCurUserCountWhenNameAndNumberUnique() const;
  int pcNewContactIndex() const;
  static bool newContactIndexExistInList(int index, const QVariantList &list, int startIndex);
  int PCUserMaxCount() const { return pcUserMaxCount_; }
  int threshold() const { return m_threshold; }

  // ---- merged list ----
  void addPcPhoneListToAllPhoneList();
  void addListToAllPhoneList(const PBContactList &list, int storage);
  void addContactToAllPhoneList(const PBContactRecord &record, const QString &tag);
  int getAllUserNumber() const { return int(m_allPhoneList.size()); }
  PBContactRecord getUserFromAllContact(int row) const;
  PBContactRecord getRuvozUserByIndexFromAllPhoneList(int index, const QString &tag) const;
  const PBContactList &allPhoneList() const { return m_allPhoneList; }
  void clearAllPhoneList() { m_allPhoneList.clear(); }
  // Removes the first record of `list` with that "index".
  static void deleteItemByIndex(int index, PBContactList &list);

  // ---- search ----
  void setSearchText(const QString &text) { m_searchText = text; }
  bool isMatchforSearchString(const PBContactRecord &record) const;
  void getSearchContactsFromPC();
  void getSearchContactsFromSIM();
  void getSearchContactsFromME();
  const PBContactList &getCurSearchGroup() const { return m_CurrentSearchGroup; }
  int getCurSearchGroupCount() const { return int(m_CurrentSearchGroup.size()); }
  void addUser2CurSearchGroup(const PBContactRecord &record) { m_CurrentSearchGroup.append(record); }
  PBContactRecord getUserFromCurSearchGroup(int row) const;
  // Row 10000 empties the list.
  void deleteUserFromCurSearchGroup(int row);

  // ---- names ----
  bool contactNameIsUnique(const QString &name) const;
  bool contactNameExist(const QString &name, int storage) const;
  PBContactList searchResemblesOfContact(const PBContactRecord &record) const;
  QString createUniqueOfContactName(const QString &name, int storage, PBContactList list) const;
  void validateDuplicateContact(PBContactRecord &record, int storage) const;
  void doUniqueCheckIfNeededOfContact(PBContactRecord &record, int storage) const;
  // One {"username", "mobilephone": "number(Label)"} per non-empty number of each record.
  PBContactList availableNumbersOfContacts(const PBContactList &records) const;

  // ---- lookup ----
  QString searchNameAtPhoneBook(const QString &number) override;
  bool hasPhoneNumber(const QString &number) override;
  PBContactRecord getMatchUserItemAtUSIMSide(const QString &number) const;

  // ---- SIM and device memory ----
  // Names the default group in the current language (PBControllerDefaultGroup.cpp).
  Q_INVOKABLE void setCurDefGrpName() override;
  // After a language change: an untouched default group takes the new language's name.
  void changeDefGrpWithLag();
  Q_INVOKABLE void phonebookInitFinished(const Notification &notification);
  Q_INVOKABLE void phonebookWriteResult(const Notification &notification);
  Q_INVOKABLE void modemStorageChanged(const Notification &notification);
  Q_INVOKABLE void deviceRemoved(const Notification &notification);

  void applyReadResult(const PBModemBlocks::ReadResult &result);
  void applyWriteResult(const PBModemBlocks::WriteResult &result);
  void applySwitchAnswer(int result);
  void setBaseInfo(const PBModemBlocks::ReadResult &block, int storage);

  void writeContactToSIM(const PBContactRecord &record);
  void deleteContactFromSim(int index);
  void saveContactToSim(const PBContactRecord &record);
  void setModemStorage(int code);

  void addContactToAddUserList(const PBContactRecord &record);
  void deleteContactFromAddUserList();
  void clearAddUserList();
  const PBContactList &addUserList() const { return m_AddContactList; }
  void addContactToDelUserList(int index);
  void deleteContactFromDelUserList();
  void clearDelUserList() { m_DelContactList.clear(); }
  const PBContactList &delUserList() const { return m_DelContactList; }
  int delAddState() const { return m_Del_add_state; }
  void setDelAddState(int state) { m_Del_add_state = state; }

  // The contact dialog's commit into the SIM or the device memory, given the dialog's fields
  // ("username", "mobilephone", "homephone", "officephone", "email"): a new record at a free
  // number, or the record being edited (setSimContact, setMeContact) at its own number.
  void contactIsAddedInSIM(const PBContactRecord &fields);
  void contactIsAddedInME(const PBContactRecord &fields);
  void contactIsEditedInSIM(const PBContactRecord &fields);
  void contactIsEditedInME(const PBContactRecord &fields);
  void setSimContact(const PBContactRecord &record) { m_SimContact = record; }
  void setMeContact(const PBContactRecord &record) { m_MeContact = record; }
  // Copies into `record` the field of every bit set in the field flag, empty texts included.
  void collectContactFields(PBContactRecord &record, const PBContactRecord &fields) const;
  // True when `number` is not a valid number (only 0-9, "*", "#" and "+", with "+" only first
  // and not alone); the empty text answers false.
  static bool checkAddFlag(const QString &number);

  int simNewContactIndex() const;
  int meNewContactIndex() const;

  int getSimUserNumber() const { return int(m_SimPhoneList.size()); }
  int getMeUserNumber() const { return int(m_MePhoneList.size()); }
  PBContactRecord getUserFromSim(int row) const;
  PBContactRecord getUserFromMe(int row) const;
  const PBContactList &getSimUserList() const { return m_SimPhoneList; }
  const PBContactList &getMeUserList() const { return m_MePhoneList; }
  void addUser2SimList(const PBContactRecord &record);
  void deleteContactFromSimList(int row);
  void clearUSimUserList() {
    m_SimPhoneList.clear();
    simChanged();
  }
  void clearMePhoneList() { m_MePhoneList.clear(); }
  int getSimMaxNumberLen() const { return simNumberMaxLen_; }
  int getSimMaxNameLen() const { return simNameMaxLen_; }
  int getSimMaxNumber2Len() const { return simNumber2MaxLen_; }
  int simMaxIndex() const { return simMaxIndex_; }
  int meMaxIndex() const { return meMaxIndex_; }
  int simMailMaxLen() const { return simMailMaxLen_; }
  int simNumber3MaxLen() const { return simNumber3MaxLen_; }
  bool simInitFinished() const { return simInitFinished_; }
  bool meInitFinished() const { return meInitFinished_; }
  bool hasMePosition() const { return hasMePosition_; }

  QString getDiagnosticsContact() const override;
  void postPhonebookInitFinishedMessage();
  void setSavePosEnabled(bool flag);
  void setDefaultSelectMemory();

  int contactFieldsFlag() const { return m_simContactFiledsFlag; }
  void setContactFieldsFlag(int flag) { m_simContactFiledsFlag = flag; }
  // The number of number fields the store has (bits of number, number 2 and number 3).
  int simFieldCount() const;

  int phonebookOperate() const { return phonebookOperate_; }
  void setPhonebookOperate(int operation) { phonebookOperate_ = operation; }
  int currentStorage() const { return currentStorage_; }
  void setFirstWriteFailedFlag(bool on) { firstWriteFailedFlag_ = on; }
  bool updateOrRestoreSuccess() const { return updateOrRestoreSuccess_; }
  int lastSelectSavePos() const { return lastSelectSavePos_; }
  void setLastSelectSavePos(int pos) { lastSelectSavePos_ = pos; }
  void setSaveToNumber(const QString &position, const QString &number);

  void writeContactFromRestoreFileToSIM();
  void updateOrRestoreResult();
  void changeModemStorageAfterCopy();
  void continueSelectSavePos(int result);
  void continueSaveNumberTo(int result);
  void continueCopyContactsToPos(int result);
  // The sending step of a copy into the SIM or the device memory: every pending record gets a
  // free record number and is written.
  void copyContactsToSIM();
  void copyContactsToME();

  void initSimVariables();
  void initMeVariables();

  // ---- memory card ----
  void initTCard();
  bool initTCardFilePath();
  void initTCardList();
  QList<QVariantMap> getAllPhonebookRecordsFromTCard() const;
  QVariantMap getContentFromIniFile(const QString &name) const;
  void addTCardRecordToList(const QList<QVariantMap> &files);
  int minIndexOfRecord() const;
  int maxFileNumberRecord() const;
  bool addRecordToPBFolder(const PBContactRecord &record);
  bool createRecordFileInPBFolder(const PBContactRecord &record);
  bool addRecordToKeyFile(int fileNumber, const QString &index);
  bool deleteRecordFromPBFolder(int fileNumber, int count);
  // A new contact from the dialog's fields ("username", "mobilephone", "homephone",
  // "officephone", "email"); false when the name or number is missing or a file write failed.
  bool addUserItemInTCard(const PBContactRecord &fields);
  // Stores the fields into the contact being edited (setTCardContact) and rewrites its file.
  bool editUserItemInTCard(const PBContactRecord &fields);
  void setTCardContact(const PBContactRecord &record) { m_TCardContact = record; }
  PBContactRecord tcardContact() const { return m_TCardContact; }
  // Deletes the contacts at these rows of the list.
  void deleteUserFromTCard(QList<int> rows);
  int getTCardUserNumber() const { return int(m_TCardPhoneList.size()); }
  const PBContactList &getTCardUserList() const { return m_TCardPhoneList; }
  void clearTCardUserList() { m_TCardPhoneList.clear(); }
  bool tcardInitFinished() const { return tcardInitFinished_; }
  // Looks whether the card came or went since the store was last opened: the store opens with
  // the card's contacts, or closes (the page falls back to the PC store); the merged list and
  // the copy-to menus follow. True when something changed.
  bool tcardMountChanged();
  QString phonebookFolderPathInTCard() const { return phonebookFolderPathInTCard_; }

  // ==== the page ====
  // ---- configuration and enable rules (PBControllerPageRules.cpp) ----
  void readConfigurations();
  bool getPhonebookSettingBoolValue(const QString &key) const;
  const PBPageControls &controls() const { return controls_; }
  void buttonControl(bool a, bool b, bool c, bool d, bool e, bool f);
  void SetMutexButton(bool copy, bool call, bool sms);
  void SetPopMenuItem(bool cut, bool copy, bool paste);
  void setPBMenuAndExportStatus(bool on);
  // The contact table's selection (rows in any order) and the group table's selected row.
  void contactSelectionChanged(QList<int> rows);
  void groupSelectionChanged(int row);
  const QList<int> &getSelectedRowIndexes() const { return selectedRows_; }
  void showTabViewSelectedPCUserList(int row);
  void showTabViewSelectedUSIMUserList(int row);
  void showTabViewSelectedMEUserList(int row);
  void showTabViewSelectedPCGrpList(int row);
  void setMoveMenu();
  void addUsimMeTcardMenuItem();
  void addMoveMenuItem(const QString &key, bool added, bool enabled);
  void setMoveAndDelStatus(bool on) { isMoveAndDelStatus_ = on; }
  bool getMoveAndDelStatus() const { return isMoveAndDelStatus_; }
  QString getMoveDestName() const;
  void SetConpacityShow();
  QString capacityText() const;
  void setContactInfo();
  // The longest prefix whose weight stays within `maxLength` (a character weighs its UTF-8
  // length, at most 2); the framework's cut, named as the phonebook's callers know it.
  static QString deleteExtraContent(const QString &text, int maxLength);
  void preDoWithProcessBeforeOperation(int count);
  void doWithProcessWhenOneMoreRecordOperation();
  void updateCurOperationProcessBar();
  float sumOperationNumbers() const { return sumOperationNumbers_; }
  float alreadyOperationNumbers() const { return alreadyOperationNumbers_; }
  bool hasProgressTimer() const { return curOperationTimer_ != nullptr; }
  void netcardChanged(int status);
  Q_INVOKABLE void devicePlugin(const Notification &notification);
  Q_INVOKABLE void simReady(const Notification &notification);
  Q_INVOKABLE void callModuleReady(const Notification &notification);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &notification);
  Q_INVOKABLE void tabViewItemDidChange(const Notification &notification);
  Q_INVOKABLE void updateLanguages(const Notification &notification);
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &notification);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &notification);
  // The device lock that guards the tab under "DeviceLockPBFunction". The lock code's state
  // belongs to the settings window and the unlock window to the device status, so the builder
  // hands them in; unwired, the tab is never locked.
  struct DeviceLockLink {
    std::function<bool()> lockCodeOn;
    // The unlock window on `window`, remembering `module` as the one that asked.
    std::function<void(QWidget *window, int module)> openUnlockWindow;
    // The module whose request the last unlock answered.
    std::function<int()> askingModule;
  };
  DeviceLockLink deviceLock;
  int netCardStatus() const { return m_nNetCardStatus; }
  // Whether requests of a batch (writes, deletes, switches) still await their results.
  bool batchRunning() const;
  void selectAtPCSide() override;
  void selectAtSimSide();
  void selectAtMeSide();
  void selectAtTCardSide();
  void selectNotPcSide();
  bool isSearching() const { return !m_searchText.isEmpty(); }
  // The search field's text changed: the store's search runs, the results sorted by name.
  void searchUser(const QString &text);
  // The contacts the contact table shows (the search results while searching).
  PBContactList shownContacts() const;
  // The columns of the contact table for the store shown: record keys in order.
  QStringList userTableViewColumns() const;
  QStringList userTableViewColumnsAtPC() const;
  QStringList userTableViewColumnsAtNotPC() const;
  // A header click: the list shown is sorted by that column (the device memory and the memory
  // card are only redrawn).
  void sortContactsByColumn(const QString &key, bool ascending);

  // ---- contact fields (PBControllerFields.cpp) ----
  // The text cut to the limit of `key`'s field for the store of the contact being entered.
  QString limitTextFieldLength(const QString &key, const QString &text) const;
  // Checks the dialog's fields; on failure alerts and names the field in `failedField`.
  bool checkTextFieldContent(const PBContactRecord &fields, QString *failedField = nullptr);
  bool validTextFieldContent(const PBContactRecord &fields, QString *failedField = nullptr);
  bool checkTextFieldLength(const PBContactRecord &fields);
  bool checkGroupName(const QString &name, int row);
  bool newContactNameIsUnique(const QString &name) const;
  bool newContactNameAndNumberIsUnique(const QString &name, const QString &number) const;
  static PBContactRecord getContactByName(const QString &name, const PBContactList &list);
  static PBContactRecord getContactByName(const QString &name, const QString &number, const PBContactList &list);
  bool contactNameExistInPC(const QString &name) const;
  bool contactNameExistInSIM(const QString &name) const;
  bool contactNameExistInME(const QString &name) const;
  bool contactNameExistInPC(const QString &name, const QString &number) const;
  bool contactNameExistInSIM(const QString &name, const QString &number) const;
  bool contactNameExistInME(const QString &name, const QString &number) const;
  bool sameContactExistInPC(const PBContactRecord &record, int groupIndex, int destGroupIndex) const;
  bool sameContactExistInSIM(const PBContactRecord &record) const;
  bool sameContactExistInME(const PBContactRecord &record) const;
  // The dialog's store (PBSavePosition) and, for the PC, its group.
  void setDialogStore(int store, int group) {
    dialogStore_ = store;
    dialogGroup_ = group;
  }
  int dialogStore() const { return dialogStore_; }

  // ---- commands (PBControllerCommands.cpp) ----
  void selectSavePos(int tag);
  // New and edit prepare the dialog (false: it does not open); adduserok validates and stores
  // (false: the dialog stays open).
  bool newUser();
  bool canAddNewContact();
  bool canAddNewContactInPC();
  bool canAddNewContactInSIM();
  bool canAddNewContactInME();
  bool editUser();
  // The record the dialog edits (empty for a new contact).
  PBContactRecord dialogRecord() const;
  // On a failed check `failedField` names the field to focus.
  bool adduserok(const PBContactRecord &fields, QString *failedField = nullptr);
  void canceladduser();
  void contactIsAdded(const PBContactRecord &fields);
  void contactIsEdited(const PBContactRecord &fields);
  void deleteUser();
  void deleteCurrectSelectedUser();
  void deleteContactsInPC();
  void deleteContactsInPos(int savePos);
  bool deleteContactFromPC(const PBContactRecord &record);
  void call();
  void sendSMS();
  bool shouldEnableSendSmsButton() const;
  void addGroupCommand();
  void deleteGroup();
  // Renames the current group (the rename sheet and the in-place edit).
  bool renameGroup(int row, const QString &name);
  bool saveRecord2File(int tag, const QString &path);
  void popupAlertOk(const QString &key) override;
  // The same warning without waiting, for the modem's answers: packages keep arriving meanwhile.
  void noticeAlertOk(const QString &key);
  bool popupAlertOkCancel(const QString &key);
  void toPbUserWinWithPhoneNumber(const QString &number, const QString &position) override;
  void showContactPickerForCall(QWidget *window) override;
  void savePhoneNumberFromOtherModuleToPC(const QString &number);
  void savePhoneNumberFromOtherModuleToSIM(const QString &number);
  void savePhoneNumberFromOtherModuleToME(const QString &number);
  bool savePhoneNumberFromSMS() const { return savePhoneNumberFromSMS_; }
  void setSavePhoneNumberFromSMS(bool on) { savePhoneNumberFromSMS_ = on; }
  // The search bar toggle: the first call shows the search field and its Go button, the next
  // hides them.
  void showOrHideSearchbar();
  bool searchBarShown() const { return searchBarShown_; }
  // The number the dialog's mobile field starts with (a handed-over number).
  QString dialogNumber() const { return dialogNumber_; }

  // ---- copy and move (PBControllerCopy.cpp) ----
  void move(const QString &destination);
  void moveAndDelcont(const QString &destination);
  bool canCopyContacts();
  bool checkFreeSpace();
  bool checkFreeSpaceInPC();
  bool checkFreeSpaceInSIM();
  bool checkFreeSpaceInME();
  void filterCopyContacts();
  void addCopyContactToPos(const PBContactRecord &record);
  void addCopyContactToPC(const PBContactRecord &record);
  void addCopyContact(const PBContactRecord &record, int storage);
  PBContactRecord changeContactToPcContact(const PBContactRecord &source) const;
  void changeContactToArray(const PBContactRecord &source, PBContactList &array) const;
  void addContactNameAndPhoneNumberToArray(const QString &name, const QString &number, PBContactList &array) const;
  void filterDuplicateCopyContact(PBContactList &array, int storage) const;
  bool reCheckFreeSpace();
  void copyContactsToPC();
  void popUpInfoLostAlertWin();

  // ---- export, import, backups and number update (PBControllerBackup.cpp) ----
  // The page's buttons: each runs its panel or question, then the step below.
  void exportPhoneBook();
  void importPhoneBook();
  void updatePhonebook();
  void restorePhonebook();
  // The panels' ends: the chosen path (empty: cancelled).
  void backupPhonebookFile(const QString &path);
  void restorePhonebookFile(const QString &path);
  void browerFile(const QString &path);
  // Reads PhoneBook "PhonebookUpdatedRule" (old prefix -> new prefix).
  void initPhonebookUpdatedRule();
  const QMap<QString, QString> &phonebookUpdatedRule() const { return phonebookUpdatedRule_; }
  bool contactIsUpdated(const PBContactRecord &record) const;
  bool contactsIsUpdated(const QVariantList &list) const;
  bool phonebookIsUpdated() const;
  // Rewrites the record's mobile number by the rule; false when it needed no change.
  bool updateContactNumber(PBContactRecord &record) const;
  void updateContacts();
  void updateContactsInPC();
  void updateContactsInSIM();
  // Writes the shown store's list into a new backup file; false when it could not be written.
  bool backupPhonebook();
  // The backup folder of the shown store (PC or SIM; empty for the other stores).
  QString backupFileBasePath() const;
  // The backup to restore: a null text when there is none, the file's path when there is one,
  // an empty (not null) text when there are several to choose from.
  QString currentBackupFilePath() const;
  bool backupFileIsValid(const QString &path) const;
  static bool backupFileIsValidToPC(const QVariant &content);
  static bool backupFileIsValidToSIM(const QVariant &content);
  void restoreFromBackupFile(const QString &path);
  void restoreFromBackupFileToPC(const QString &path);
  void restoreFromBackupFileToSIM(const QString &path);
  void deleteRedundantCantactsInSIM(QVariantList &backup);
  void addNewContactsToSIM(const QVariantList &backup);
  // The position of the first record with that name and mobile number, -1 when none.
  static int indexOfContactItem(const QString &name, const QString &number, const QVariantList &list);
  // The index of the first PC group with that name, 0 when none.
  int userGroupIndexByGroupName(const QString &name) const;
  // Writes one SIM record per non-empty number (mobile, home, office); false when the SIM has
  // no free record for the next one.
  bool moveContactFromPcToSimBy1way(const PBContactRecord &record);
  // The update window: shown with a running indicator, then its result and OK.
  void beginToCheckUpdate(const QString &messageKey);
  void setUpdateMessage(const QString &messageKey);
  void showResult(const QString &messageKey);
  void endModalWindow();
  // The update window's OK.
  void updateWindowOk();

  // ---- the plug-in contract (PBControllerPlugIn.cpp) ----
  // The requests a phonebook plug-in posts; each payload is the userInfo value under the
  // request's name.
  Q_INVOKABLE void SearUserInUSIMSide(const Notification &n);
  Q_INVOKABLE void addNewUserInSIMOrPC(const Notification &n);
  Q_INVOKABLE void saveNewUserToPB(const Notification &n);
  Q_INVOKABLE void CheckBundleUserName(const Notification &n);
  Q_INVOKABLE void CheckBundleMobilePhone(const Notification &n);
  Q_INVOKABLE void getSelectContact(const Notification &n);
  Q_INVOKABLE void editUserInSIMOrPC(const Notification &n);
  Q_INVOKABLE void deleteUserInSIMOrPC(const Notification &n);
  void saveBundleUserInfoToSIM(int index);
  void saveBundleUserInfoToPC();
  // Removes the first merged-list entry with that number and store tag.
  void deleteItemInAllUserList(int index, const QString &tag);
  // The number filter: only 0-9, "*", "#" and "+" are kept (an alert when anything else was
  // typed), then the text is cut to `maxLength` (an alert when it was longer).
  QString ContentControl(const QString &text, int maxLength);
  bool isUserNameAndMobilePhoneRightful(const PBContactRecord &fields);
  Q_INVOKABLE bool isSendMessageToGroupEnabled() const;
  Q_INVOKABLE bool isSendMessageToIndexedGroupValid(int group) const;
  Q_INVOKABLE void sendMessageToIndexedGroup(int group);
  // With "SaveToPCWhenSimFull": 1 when the user saves to the PC, 2 otherwise; without: 0.
  int addUserSimFullProc();
  static bool isSameItemInCurtContent(const QString &name, const QString &number, const PBContactList &list);
  void popUpAlertTooLong();
  void popupAlertAboutNameIsNull();
  void popupAlertAboutSameContact();
  void sendSMSInTCard(QStringList &numbers);
  static PBContactRecord getItemByIndex(int index, const PBContactList &list);
  // The group and row of the PC record a merged-list PC entry was copied from.
  bool pcRecordOfMergedIndex(int index, int *group, int *row) const;

  // ---- the tree and small actions (PBControllerNodeExcute.cpp) ----
  void setSource(PBSource *source) { source_ = source; }
  PBSource *source() const { return source_; }
  void initialNodeOfPc();
  void addGroupNodeWithGroupName(const QString &name);
  void deleteSeletedGroupNode();
  void createNodeOfSimWhenSimCardvalid();
  void deleteNodeOfSimWhenSimCardInvalid();
  void setCallButtonPopMenu();
  void clickMenuItemToCall(const QString &title);
  void sendSMSToOneGroup();
  QStringList getPhoneNumbersInOneGroup() const;
  PBContactList getContactsFromPC() const;
  // The SMS page's save-number items: 0 the PC, 1 the SIM.
  void clickSavePhoneNumber(int savePos);

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;

private:
  // The PC list changed: the lookup's index is rebuilt on its next use.
  void pcChanged() { pcLookupDirty_ = true; }
  void simChanged() { simLookupDirty_ = true; }
  void loadListFromFile();
  PBContactList recordsFromListFile(const QString &path) const;
  void sortList(PBContactList &list) const;
  void sendRequest(const PBModemBlocks::Request &request);
  void writeContactToSIMSuccess(int index);
  void writeContactToSIMFail(int index);
  void deleteSuccessInModem(int index);
  void deleteFailInModem(int index);
  void writeContact(const PBContactRecord &record, PBContactList &list) const;
  void writeContactToAllPhoneList(PBContactRecord record);
  void afterEveryResult();
  void sendUnsentAdds(bool toME, bool intoSimListAtOnce);
  PBContactList &listOfStorage(int storage);
  int newContactIndex(int maxIndex, const PBContactList &storeList) const;
  bool pcContactNameExist(const QString &name) const;
  void rebuildPcLookup();
  void rebuildSimLookup();
  bool setting(const char *key) const;

  // ---- page state ----
  void controlsChanged() { page().controlsChanged(); }
  void registerPlugInRequests();
  void postAddContactResult();
  void runPlugInSimRequest(std::function<void()> request);
  void continuePlugInSimRequest(int result);
  // The plug-in's contact fields (the dialog's name and mobile fields in the program's page).
  PBContactRecord bundleFields_;
  std::function<void()> plugInSimRequest_;
  void finishMoveSources(const PBContactRecord &record, bool written);
  void startMoveDeletes();
  void startCopy();
  void sendMoveDeletes();
  void deletePcSource(const PBContactRecord &source);
  void copyIntoTCard();
  void endCopy();
  int dialogGroupIndex() const;
  QString settingText(const char *key) const;
  PBSource *source_ = nullptr;
  PBPageControls controls_;
  QList<int> selectedRows_;
  PBContactRecord m_PcContact;
  int pcContactRow_ = -1;
  int dialogStore_ = kSaveInPC;
  int dialogGroup_ = -1;
  QString dialogNumber_;
  bool dialogOpen_ = false;
  bool addUser_ = false, editUser_ = false;
  bool isEditing_ = true;
  bool m_bGroupsentSMS = false;
  bool isMoveAndDelStatus_ = false;
  QString moveDestName_;
  bool savePhoneNumberFromSMS_ = false;
  bool isCallModuleReady_ = false;
  QTimer *curOperationTimer_ = nullptr;
  float sumOperationNumbers_ = 0, alreadyOperationNumbers_ = 0;
  // Configuration.
  bool m_isSendMessageToGroupEnabled = false, m_contactNumbersSelcectionEnabled = false,
       m_isSupportSimFieldAutoDetection = false, m_isZ3IDefinedPBItemLength = false,
       isContactNameAndNumberUnique_ = false, isChangeDefGrpNameWithLag_ = false, isNoGroup_ = false,
       isCustormizeControlSize_ = false, isDisplayRemark_ = false, notAllowSameRecordInOneGroup_ = false,
       saveToPCWhenSimIsFull_ = false, showTipAboutZ3INotEnoughSpace_ = false, notShowInfoLostTip_ = false;
  // A move: the sources of the records in the pending add list (by the private key below), and
  // the record numbers of modem sources whose copies were written, to delete afterwards.
  struct MoveSource {
    PBContactRecord record;
    int store = kSaveInPC;
    int group = -1;
    int outstanding = 0;
    bool failed = false;
  };
  QList<MoveSource> moveSources_;
  QList<int> moveDeletes_;
  int moveDeleteStorage_ = 0;

  PBPageLink *page_ = nullptr;
  PBPageLink noPage_;

  // PC store.
  // A save of the PC list that failed (a full disk, say): the list in memory is newer than the
  // file, is kept, and the save is tried again; the user hears of it once until a save succeeds.
  void pcSaveFailed();
  void pcSaveSucceeded();
  void tellPcFileUnreadable(int state);
  int sumOfContactInPCPlain() const;
  bool pcSavePending_ = false;
  bool pcSaveFailureTold_ = false;
  // What the file looked like when the save failed: a file changed since (a restore wrote it)
  // is newer than the pending list.
  QString pcFileAtFailure_;
  QTimer *pcSaveRetry_ = nullptr;
  QVariantList m_PcPhoneList;
  int m_CurGroupIndex = -1;
  PBContactList m_allPhoneList;
  PBContactList m_CurrentSearchGroup;
  QString m_searchText;
  int pcUserMaxCount_ = 1000;
  int m_threshold = 8;
  int pcNameMaxLen_ = 0, pcNumberMaxLen_ = 0, pcEmailMaxLen_ = 0;
  bool isAddDefGroupName_ = false;
  bool notAddCountWhenSameRecord_ = false;
  bool m_prefixMatchModeEnabled = false;
  bool m_contactNameUniqueCheckingEnabled = false;
  bool caseSensitiveSearch_ = false;
  bool hasPhoneNumberFlag_ = false;

  // Lookup indexes: the key of a number -> the first contact's name.
  QHash<QString, QString> pcLookup_;
  QHash<QString, QString> simLookup_;
  bool pcLookupDirty_ = true;
  bool simLookupDirty_ = true;
  int pcContactCount_ = 0;

  // SIM and device memory.
  PBContactList m_SimPhoneList;
  PBContactList m_MePhoneList;
  PBContactList m_AddContactList;
  // For each pending add: whether its write request already went out.
  QList<bool> addSent_;
  PBContactList m_DelContactList;
  int m_Del_add_state = 0;
  int currentStorage_ = 0;
  int simMinIndex_ = 0, simMaxIndex_ = 0, simNameMaxLen_ = 0, simNumberMaxLen_ = 0, simNumber2MaxLen_ = 0,
      simNumber3MaxLen_ = 0, simMailMaxLen_ = 0;
  int meMinIndex_ = 0, meMaxIndex_ = 0, meNameMaxLen_ = 0, meNumberMaxLen_ = 0, meNumber2MaxLen_ = 0,
      meNumber3MaxLen_ = 0, meMailMaxLen_ = 0, meCount_ = 0;
  bool simInitFinished_ = false;
  bool meInitFinished_ = false;
  int m_nNetCardStatus = 4;
  int m_simContactFiledsFlag = 0;
  int phonebookOperate_ = kPBOperationNone;
  bool firstWriteFailedFlag_ = true;
  bool updateOrRestoreSuccess_ = true;
  int lastSelectSavePos_ = kSaveInPC;
  bool hasMePosition_ = false;
  int defaultSelectMemory_ = 0;
  QString saveToNumberAtPos_;
  QString saveToNumberFromOtherModule_;
  // Memory switches sent and not yet answered, oldest first: the memory asked for and whether
  // a copy waits for it.
  struct PendingSwitch {
    int storage;
    bool continuesCopy;
    // A move's deletes of its written sources wait for this switch.
    bool continuesMoveDelete = false;
    // A plug-in's SIM request waits for this switch.
    bool continuesPlugIn = false;
  };
  QList<PendingSwitch> pendingSwitches_;

  // Memory card.
  PBContactList m_TCardPhoneList;
  PBContactRecord m_TCardContact;
  PBContactRecord m_SimContact;
  PBContactRecord m_MeContact;
  QString phonebookFolderPathInTCard_;
  QString phonebookKeyFilePathInTCard_;
  bool isShowTCard_ = false;
  QString previousDefGrpName_;
  bool searchBarShown_ = false;
  QMap<QString, QString> phonebookUpdatedRule_;
  bool tcardInitFinished_ = false;
};

extern PBController *g_PBController;
