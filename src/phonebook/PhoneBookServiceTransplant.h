#pragma once

#include "PBTypes.h"
#include "QelServiceBase.h"

#include <QCollator>

// The PC phonebook without a window: phoneBook.plist with its groups, contacts added, edited,
// deleted and searched, new SIM record numbers. It reads and writes the same file as
// PBController (PBPcFile) with the same group order, and keeps its own limits: at most 1,000
// contacts, and a search that adds to the results of the searches before.
class PhoneBookServiceTransplant : public QelServiceBase {
  Q_OBJECT
public:
  explicit PhoneBookServiceTransplant(QObject *parent = nullptr);
  static PhoneBookServiceTransplant *sharedPhoneBookService();

  static constexpr int kMaxContacts = 1000;

  const QVariantList &getPcPhoneList() const { return m_PcPhoneList; }
  const PBContactList &getSimPhoneList() const { return m_SimPhoneList; }
  // The current group's array (header first); empty without one.
  QVariantList getCurrentGroupList() const;
  const PBContactList &getCurrentSearchList() const { return m_CurrentSearchList; }
  int currentGroupIndex() const { return m_CurrentGroupIndex; }

  // Replaces the PC list by the file's (false, and nothing read, when `read` is false).
  bool readPcPhoneList(bool read);
  void newGroup();
  void deleteGroup(int group);
  // Sets `key` of the current group's header to `value`, and the group name of its contacts.
  void editGroup(const QString &value, const QString &key);
  bool switchGroup(int group);
  bool newPCRecord(const PBContactRecord &record);
  bool deletePCRecord(const QList<int> &rows, const QString &where);
  bool editPCRecord(const PBContactRecord &record, int row);
  // Adds every matching contact to the search results, which it does not empty first.
  bool searchPCRecord(const QString &text);
  bool newSimRecord(PBContactRecord &record);
  int sumOfGroupInPC() const { return int(m_PcPhoneList.size()); }
  void sortGroupInPC();
  // The first group of that name, 0 when none.
  int getUserGroupIndex(const QString &name) const;
  // Contact `row` of group `group`; row -1 is the header.
  PBContactRecord getPCUserByIndex(int group, int row) const;
  // The first of "Group 0", "Group 1", ... (in the current language) no group bears.
  QString getNewGroupItem() const;
  bool isFindTheSameGroupName(const QString &name) const;
  int sumOfContactInPC() const;
  int sumOfContactInGroup(int group) const;
  // The first group holding an equal record loses its first such record.
  bool deleteContactFromPC(const PBContactRecord &record);
  void addUser2CurSearchGroup(const PBContactRecord &record) { m_CurrentSearchList.append(record); }
  bool isMatchforSearchString(const PBContactRecord &record, const QString &text) const;
  int getNewUnuseIndexInSim() const;
  static bool isUnuseIndex(int index, const PBContactList &list, int start);
  // Writing to the SIM is not this service's: answers false.
  bool saveRecordToSimAndFile(const PBContactRecord &record);
  QString getPhoneBookFilePathWithFileName(const QString &fileName) const;
  bool savePhoneList2File();
  // Whether group `a` orders before group `b` by name.
  bool pcGroupCompare(const QVariant &a, const QVariant &b) const;
  static void sortList(PBContactList &list, const QString &key, bool ascending, const QCollator &collator);

  // The SIM's contacts and capacity, from whoever reads the SIM.
  void setSimPhoneList(const PBContactList &list, int maxIndex) {
    m_SimPhoneList = list;
    m_simMaxIndex = maxIndex;
  }
  void setAddContactList(const PBContactList &list) { m_AddContactList = list; }
  void setAddDefGroupName(bool on) { m_isAddDefGroupName = on; }
  void setPrefixMatchModeEnabled(bool on) { m_prefixMatchModeEnabled = on; }
  void setCaseInsensitiveWhenSearch(bool on) { m_caseInsensitiveWhenSearch = on; }

private:
  PBContactList m_SimPhoneList;
  QVariantList m_PcPhoneList;
  PBContactList m_AddContactList;
  PBContactList m_CurrentSearchList;
  bool m_isAddDefGroupName = true;
  bool m_prefixMatchModeEnabled = true;
  bool m_caseInsensitiveWhenSearch = true;
  // -1: no current group.
  int m_CurrentGroupIndex = 0;
  int m_simMaxIndex = 0;
};
