#include "PhoneBookServiceTransplant.h"

#include "ConfigManager.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "PBPcFile.h"
#include "PBSearch.h"
#include "WordGlobe.h"

#include <algorithm>

namespace {
QString groupNameOf(const QVariant &group) {
  return group.toList().value(0).toMap().value(PBKey::kGroupName).toString();
}
} // namespace

PhoneBookServiceTransplant::PhoneBookServiceTransplant(QObject *parent) : QelServiceBase(parent) {}

PhoneBookServiceTransplant *PhoneBookServiceTransplant::sharedPhoneBookService() {
  static PhoneBookServiceTransplant *service = new PhoneBookServiceTransplant;
  return service;
}

QVariantList PhoneBookServiceTransplant::getCurrentGroupList() const {
  if (m_CurrentGroupIndex < 0 || m_CurrentGroupIndex >= m_PcPhoneList.size())
    return {};
  return m_PcPhoneList.at(m_CurrentGroupIndex).toList();
}

QString PhoneBookServiceTransplant::getPhoneBookFilePathWithFileName(const QString &fileName) const {
  return PBPcFile::path(fileName);
}

bool PhoneBookServiceTransplant::savePhoneList2File() {
  return PBPcFile::write(getPhoneBookFilePathWithFileName(kCMPhoneBookFile), m_PcPhoneList);
}

bool PhoneBookServiceTransplant::readPcPhoneList(bool read) {
  if (!read)
    return false;
  m_PcPhoneList = PBPcFile::read(getPhoneBookFilePathWithFileName(kCMPhoneBookFile));
  if (m_isAddDefGroupName && m_PcPhoneList.isEmpty())
    newGroup();
  sortGroupInPC();
  switchGroup(m_CurrentGroupIndex);
  return true;
}

QString PhoneBookServiceTransplant::getNewGroupItem() const {
  const QString base = Map_Name_Item_of_IndexString(QStringLiteral("Group"));
  for (int n = 0;; ++n) {
    const QString name = base + QStringLiteral(" %1").arg(n);
    if (!isFindTheSameGroupName(name))
      return name;
  }
}

bool PhoneBookServiceTransplant::isFindTheSameGroupName(const QString &name) const {
  return std::any_of(m_PcPhoneList.cbegin(), m_PcPhoneList.cend(),
                     [&name](const QVariant &g) { return groupNameOf(g) == name; });
}

void PhoneBookServiceTransplant::newGroup() {
  m_PcPhoneList.append(QVariant(QVariantList{QVariantMap{{PBKey::kGroupName, getNewGroupItem()}}}));
  sortGroupInPC();
  savePhoneList2File();
}

void PhoneBookServiceTransplant::sortGroupInPC() {
  const QVariant current = m_CurrentGroupIndex >= 0 && m_CurrentGroupIndex < m_PcPhoneList.size()
                               ? m_PcPhoneList.at(m_CurrentGroupIndex)
                               : QVariant();
  PBNameSort::sortGroups(m_PcPhoneList, PBNameSort::collator());
  // The current group is the same group after the sort.
  if (current.isValid())
    m_CurrentGroupIndex = int(m_PcPhoneList.indexOf(current));
}

bool PhoneBookServiceTransplant::pcGroupCompare(const QVariant &a, const QVariant &b) const {
  return PBNameSort::collator().compare(groupNameOf(a), groupNameOf(b)) < 0;
}

bool PhoneBookServiceTransplant::switchGroup(int group) {
  if (m_PcPhoneList.isEmpty())
    return true;
  if (group < 0 || group >= m_PcPhoneList.size())
    return false;
  m_CurrentGroupIndex = group;
  QVariantList g = m_PcPhoneList.at(group).toList();
  PBNameSort::sortByUserName(g, 1);
  m_PcPhoneList[group] = g;
  return true;
}

void PhoneBookServiceTransplant::deleteGroup(int group) {
  if (group < 0 || group >= m_PcPhoneList.size())
    return;
  m_PcPhoneList.removeAt(group);
  m_CurrentGroupIndex = -1;
  savePhoneList2File();
}

void PhoneBookServiceTransplant::editGroup(const QString &value, const QString &key) {
  if (m_CurrentGroupIndex < 0 || m_CurrentGroupIndex >= m_PcPhoneList.size())
    return;
  QVariantList g = m_PcPhoneList.at(m_CurrentGroupIndex).toList();
  QVariantMap header = g.value(0).toMap();
  header.insert(key, value);
  g[0] = header;
  for (int i = 1; i < g.size(); ++i) {
    QVariantMap r = g.at(i).toMap();
    r.insert(PBKey::kGroupName, value);
    g[i] = r;
  }
  m_PcPhoneList[m_CurrentGroupIndex] = g;
  sortGroupInPC();
  savePhoneList2File();
}

int PhoneBookServiceTransplant::getUserGroupIndex(const QString &name) const {
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    if (groupNameOf(m_PcPhoneList.at(g)) == name)
      return g;
  return 0;
}

PBContactRecord PhoneBookServiceTransplant::getPCUserByIndex(int group, int row) const {
  if (group < 0 || group >= m_PcPhoneList.size())
    return {};
  return m_PcPhoneList.at(group).toList().value(row + 1).toMap();
}

int PhoneBookServiceTransplant::sumOfContactInGroup(int group) const {
  if (group < 0 || group >= m_PcPhoneList.size())
    return 0;
  return std::max(0, int(m_PcPhoneList.at(group).toList().size()) - 1);
}

int PhoneBookServiceTransplant::sumOfContactInPC() const {
  int sum = 0;
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    sum += sumOfContactInGroup(g);
  return sum;
}

bool PhoneBookServiceTransplant::newPCRecord(const PBContactRecord &record) {
  if (record.isEmpty() || sumOfContactInPC() >= kMaxContacts || m_PcPhoneList.isEmpty())
    return false;
  const int g = getUserGroupIndex(record.value(PBKey::kGroupName).toString());
  QVariantList group = m_PcPhoneList.at(g).toList();
  group.append(record);
  PBNameSort::sortByUserName(group, 1);
  m_PcPhoneList[g] = group;
  savePhoneList2File();
  return true;
}

bool PhoneBookServiceTransplant::editPCRecord(const PBContactRecord &record, int row) {
  if (row < 0 || m_CurrentGroupIndex < 0 || m_CurrentGroupIndex >= m_PcPhoneList.size())
    return false;
  QVariantList g = m_PcPhoneList.at(m_CurrentGroupIndex).toList();
  if (row + 1 >= g.size())
    return false;
  g[row + 1] = record;
  m_PcPhoneList[m_CurrentGroupIndex] = g;
  savePhoneList2File();
  return true;
}

bool PhoneBookServiceTransplant::deleteContactFromPC(const PBContactRecord &record) {
  for (int g = 0; g < m_PcPhoneList.size(); ++g) {
    QVariantList group = m_PcPhoneList.at(g).toList();
    for (int i = 1; i < group.size(); ++i) {
      if (group.at(i).toMap() == record) {
        group.removeAt(i);
        m_PcPhoneList[g] = group;
        return true;
      }
    }
  }
  return false;
}

bool PhoneBookServiceTransplant::deletePCRecord(const QList<int> &rows, const QString &where) {
  if (rows.isEmpty())
    return false;
  // Highest row first, so the rows still to go keep their places.
  QList<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end(), std::greater<int>());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  if (where == QLatin1String("CurrentGroup")) {
    if (m_CurrentGroupIndex >= 0 && m_CurrentGroupIndex < m_PcPhoneList.size()) {
      QVariantList g = m_PcPhoneList.at(m_CurrentGroupIndex).toList();
      for (int row : sorted)
        if (row >= 0 && row + 1 < g.size())
          g.removeAt(row + 1);
      m_PcPhoneList[m_CurrentGroupIndex] = g;
    }
  } else if (where == QLatin1String("CurrentSearchGroup")) {
    for (int row : sorted) {
      if (row < 0 || row >= m_CurrentSearchList.size())
        continue;
      deleteContactFromPC(m_CurrentSearchList.at(row).toMap());
      m_CurrentSearchList.removeAt(row);
    }
  }
  savePhoneList2File();
  return true;
}

bool PhoneBookServiceTransplant::isMatchforSearchString(const PBContactRecord &record, const QString &text) const {
  // The text is matched as typed, never as a pattern, as the page's search does.
  PBSearchMatcher matcher;
  matcher.text = text;
  matcher.prefix = m_prefixMatchModeEnabled;
  matcher.caseSensitive = !m_caseInsensitiveWhenSearch;
  return matcher.matches(record);
}

bool PhoneBookServiceTransplant::searchPCRecord(const QString &text) {
  if (sumOfContactInPC() == 0)
    return false;
  for (const QVariant &g : m_PcPhoneList) {
    const QVariantList group = g.toList();
    for (int i = 1; i < group.size(); ++i)
      if (isMatchforSearchString(group.at(i).toMap(), text))
        m_CurrentSearchList.append(group.at(i));
  }
  return true;
}

bool PhoneBookServiceTransplant::isUnuseIndex(int index, const PBContactList &list, int start) {
  return PBController::newContactIndexExistInList(index, list, start);
}

int PhoneBookServiceTransplant::getNewUnuseIndexInSim() const {
  for (int n = 1; n <= m_simMaxIndex; ++n)
    if (!isUnuseIndex(n, m_AddContactList, 0) && !isUnuseIndex(n, m_SimPhoneList, 0))
      return n;
  return m_simMaxIndex + 1;
}

bool PhoneBookServiceTransplant::saveRecordToSimAndFile(const PBContactRecord &) {
  return false;
}

bool PhoneBookServiceTransplant::newSimRecord(PBContactRecord &record) {
  record.insert(PBKey::kIndex, getNewUnuseIndexInSim());
  saveRecordToSimAndFile(record);
  return false;
}

void PhoneBookServiceTransplant::sortList(PBContactList &list, const QString &key, bool ascending,
                                          const QCollator &collator) {
  std::stable_sort(list.begin(), list.end(), [&](const QVariant &a, const QVariant &b) {
    const int c = collator.compare(a.toMap().value(key).toString(), b.toMap().value(key).toString());
    return ascending ? c < 0 : c > 0;
  });
}
