#pragma once

#include "PBModemBlocks.h"
#include "PBPageLink.h"
#include "PBTypes.h"
#include "QELUIController.h"

#include <QHash>
#include <QSet>
#include <memory>

// The phonebook's store side: the PC store (phoneBook.plist with its groups), the SIM and
// device-memory stores kept by the backend, the memory card's contact files, the merged list of
// all contacts, the search and the number-to-name lookup. Its page is a PBPageLink handed over
// with setPage; without one, its calls to the page do nothing.
//
// The methods are grouped in category files: PBControllerPcStore.cpp (PC store and merged list),
// PBControllerSearch.cpp (search, names and lookup), PBControllerModem.cpp (SIM and device
// memory through the backend: reads, writes, deletes), PBControllerMemorySwitch.cpp (the memory
// switch, the operations waiting for it, the dialog's commit), PBControllerTCard.cpp (memory
// card).
class PBController : public QELUIController {
  Q_OBJECT
public:
  explicit PBController(QObject *parent = nullptr);
  ~PBController() override;

  void setPage(PBPageLink *page) { page_ = page; }
  PBPageLink &page() { return page_ ? *page_ : noPage_; }
  const PBPageLink &page() const { return page_ ? *page_ : noPage_; }

  // A modal "Warning!" alert with the worded message and one "OK" button.
  void popupAlertOk(const QString &message);
  // The longest beginning of `text` whose width is at most `maxLength`, each character counting
  // its UTF-8 length but at most 2 (so ten digits fit ten).
  static QString deleteExtraContent(const QString &text, int maxLength);

  // Reads the phonebook switches and limits of the settings (done at wake-up).
  void readSettings();
  // PC field lengths, set by the page from the settings.
  void setPcFieldLengths(int name, int number, int email);

  // ---- PC store ----
  QString getPhoneBookFilePathWithFileName(const QString &fileName) const;
  void loadPcPhoneList(const QString &text);
  void loadPcPhoneListByImsi(const QString &text);
  void reloadPhoneList();
  void reloadPCPhoneList();
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
  QString searchNameAtPhoneBook(const QString &number);
  bool hasPhoneNumber(const QString &number);
  PBContactRecord getMatchUserItemAtUSIMSide(const QString &number) const;

  // ---- SIM and device memory ----
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

  QString getDiagnosticsContact() const;
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
  QString phonebookFolderPathInTCard() const { return phonebookFolderPathInTCard_; }

protected:
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

  PBPageLink *page_ = nullptr;
  PBPageLink noPage_;

  // PC store.
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
  bool tcardInitFinished_ = false;
};

extern PBController *g_PBController;
