// PBController: the PC store (phoneBook.plist and its groups) and the merged list.
#include "ConfigManager.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "PBPcFile.h"
#include "Plist.h"
#include "WordGlobe.h"

#include <QFileInfo>

namespace {
QVariantList groupAt(const QVariantList &groups, int g) {
  return g >= 0 && g < groups.size() ? groups.at(g).toList() : QVariantList();
}
QString groupNameOf(const QVariant &group) {
  return group.toList().value(0).toMap().value(PBKey::kGroupName).toString();
}
} // namespace

QString PBController::getPhoneBookFilePathWithFileName(const QString &fileName) const {
  return PBPcFile::path(fileName);
}

void PBController::loadListFromFile() {
  m_PcPhoneList = PBPcFile::read(getPhoneBookFilePathWithFileName(kCMPhoneBookFile));
  pcChanged();
}

void PBController::loadPcPhoneList(const QString &text) {
  if (text.isNull())
    return;
  // Every SIM shares the one file, whatever name the caller hands over.
  loadListFromFile();
  if (isAddDefGroupName_ && m_PcPhoneList.isEmpty())
    addGroup();
  sortGroupInPC();
  setCurrentgroup(0);
  setMoveAndDelStatus(false);
  initialNodeOfPc();
}

void PBController::loadPcPhoneListByImsi(const QString &text) {
  loadPcPhoneList(text);
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
}

void PBController::reloadPhoneList() {
  m_CurGroupIndex = -1;
  loadListFromFile();
  if (!m_PcPhoneList.isEmpty())
    m_CurGroupIndex = 0;
  sortGroupInPC();
  if (m_CurGroupIndex >= 0) {
    QVariantList group = m_PcPhoneList.at(m_CurGroupIndex).toList();
    PBNameSort::sortByUserName(group, 1);
    m_PcPhoneList[m_CurGroupIndex] = group;
  }
}

void PBController::reloadPCPhoneList() {
  reloadPhoneList();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
}

bool PBController::savePhoneList2File() {
  return PBPcFile::write(getPhoneBookFilePathWithFileName(kCMPhoneBookFile), m_PcPhoneList);
}

int PBController::sumOfContactInGroup(int group) const {
  const QVariantList g = groupAt(m_PcPhoneList, group);
  return g.isEmpty() ? 0 : int(g.size()) - 1;
}

int PBController::sumOfContactInCurrentGroup() const {
  return sumOfContactInGroup(m_CurGroupIndex);
}

PBContactRecord PBController::getPCUserByIndex(int group, int row) const {
  return groupAt(m_PcPhoneList, group).value(row + 1).toMap();
}

void PBController::setCurrentgroup(int group) {
  if (group < 0 || group >= m_PcPhoneList.size())
    return;
  m_CurGroupIndex = group;
}

QVariantList PBController::currentGroup() const {
  return groupAt(m_PcPhoneList, m_CurGroupIndex);
}

QString PBController::getNewGroupItem() const {
  const QString base = Map_Name_Item_of_IndexString(QStringLiteral("Group"));
  for (int n = 0;; ++n) {
    const QString name = base + QStringLiteral(" %1").arg(n);
    if (!isFindTheSameGroupName(name))
      return name;
  }
}

void PBController::addGroup() {
  const QString name = getNewGroupItem();
  m_PcPhoneList.append(QVariant(QVariantList{QVariantMap{{PBKey::kGroupName, name}}}));
  addGroupNodeWithGroupName(name);
  sortGroupInPC();
  savePhoneList2File();
}

void PBController::addGroupItem() {
  addGroup();
  page().reloadGroupTable();
  page().reloadContactTableAndDeselect();
}

bool PBController::isFindTheSameGroupName(const QString &name) const {
  return groupIndexWithName(name) >= 0;
}

int PBController::groupIndexWithName(const QString &name) const {
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    if (groupNameOf(m_PcPhoneList.at(g)) == name)
      return g;
  return -1;
}

bool PBController::checktNewGroupItem(const QString &name, int groupIndex) const {
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    if (g != groupIndex && groupNameOf(m_PcPhoneList.at(g)) == name)
      return false;
  return true;
}

void PBController::deleteGrop(int group) {
  if (group < 0 || group >= m_PcPhoneList.size())
    return;
  m_PcPhoneList.removeAt(group);
  m_CurGroupIndex = -1;
  pcChanged();
  savePhoneList2File();
}

void PBController::sortGroupInPC() {
  // The current group follows its own array through the exchanges.
  const QVariant current =
      m_CurGroupIndex >= 0 && m_CurGroupIndex < m_PcPhoneList.size() ? m_PcPhoneList.at(m_CurGroupIndex) : QVariant();
  PBNameSort::sortGroups(m_PcPhoneList, PBNameSort::collator());
  if (current.isValid())
    m_CurGroupIndex = int(m_PcPhoneList.indexOf(current));
  pcChanged();
}

QVariantList PBController::getGroupWithGroupName(const QString &name) const {
  return groupAt(m_PcPhoneList, groupIndexWithName(name));
}

bool PBController::addContactToPcPhoneList(const PBContactRecord &record, int group) {
  if (group < 0 || group >= m_PcPhoneList.size() || sumOfContactInPC() >= pcUserMaxCount_)
    return false;
  QVariantList g = m_PcPhoneList.at(group).toList();
  g.append(record);
  PBNameSort::sortByUserName(g, 1);
  m_PcPhoneList[group] = g;
  pcChanged();
  return true;
}

int PBController::addUser2CurGrop(const PBContactRecord &record) {
  if (!addContactToPcPhoneList(record, m_CurGroupIndex))
    return 2;
  savePhoneList2File();
  return 1;
}

PBContactRecord PBController::getUserFromCurGroup(int row) const {
  if (row < 0)
    return {};
  return getPCUserByIndex(m_CurGroupIndex, row);
}

void PBController::deleteUserFromCurGrop(int row) {
  if (m_CurGroupIndex < 0 || m_CurGroupIndex >= m_PcPhoneList.size())
    return;
  QVariantList g = m_PcPhoneList.at(m_CurGroupIndex).toList();
  if (row < 0 || row + 1 >= g.size())
    return;
  g.removeAt(row + 1);
  m_PcPhoneList[m_CurGroupIndex] = g;
  pcChanged();
  savePhoneList2File();
}

int PBController::sumOfContactInPC() const {
  if (notAddCountWhenSameRecord_)
    return getPCCurUserCountWhenNameAndNumberUnique();
  int sum = 0;
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    sum += sumOfContactInGroup(g);
  return sum;
}

int PBController::getPCCurUserCountWhenNameAndNumberUnique() const {
  // The capacity label asks for this at every table reload: one pass with a set, not a
  // comparison of every pair.
  // A record lacking the name or the number never equals a counted one, so it always counts.
  QSet<QString> seen;
  int incomplete = 0;
  for (const QVariant &g : m_PcPhoneList) {
    const QVariantList group = g.toList();
    for (int i = 1; i < group.size(); ++i) {
      const QVariantMap r = group.at(i).toMap();
      if (!r.contains(PBKey::kUserName) || !r.contains(PBKey::kMobilePhone)) {
        ++incomplete;
        continue;
      }
      const QString name = r.value(PBKey::kUserName).toString();
      seen.insert(QString::number(name.size()) + QLatin1Char(':') + name + r.value(PBKey::kMobilePhone).toString());
    }
  }
  return int(seen.size()) + incomplete;
}

bool PBController::newContactIndexExistInList(int index, const QVariantList &list, int startIndex) {
  // A record without "index" is passed over; it must not end the scan, or a number further on
  // would count as free and a write would overwrite that record.
  for (int i = std::max(startIndex, 0); i < list.size(); ++i) {
    const QVariantMap r = list.at(i).toMap();
    const auto it = r.constFind(PBKey::kIndex);
    if (it != r.cend() && it->toInt() == index)
      return true;
  }
  return false;
}

int PBController::pcNewContactIndex() const {
  // PC records carry no number of their own: the numbers the merged list gave to PC entries
  // count as taken, so every PC entry gets its own.
  QSet<int> taken;
  const QVariantList group = currentGroup();
  for (int i = 1; i < group.size(); ++i) {
    const QVariantMap r = group.at(i).toMap();
    if (r.contains(PBKey::kIndex))
      taken.insert(r.value(PBKey::kIndex).toInt());
  }
  for (const QVariant &v : m_allPhoneList) {
    const QVariantMap r = v.toMap();
    if (r.value(PBKey::kSavePos).toString() == PBTag::kPC)
      taken.insert(r.value(PBKey::kIndex).toInt());
  }
  for (int n = 1; n <= pcUserMaxCount_; ++n)
    if (!taken.contains(n))
      return n;
  return pcUserMaxCount_ + 1;
}

// ---- merged list ----

void PBController::addPcPhoneListToAllPhoneList() {
  const QVariantList group = currentGroup();
  for (int i = 1; i < group.size(); ++i) {
    QVariantMap r = group.at(i).toMap();
    r.insert(PBKey::kIndex, pcNewContactIndex());
    r.insert(PBKey::kSavePos, PBTag::kPC);
    m_allPhoneList.append(r);
  }
}

void PBController::addListToAllPhoneList(const PBContactList &list, int storage) {
  QString tag;
  switch (storage) {
  case kStorageME:
    tag = PBTag::kME;
    break;
  case kStorageSIM:
    tag = PBTag::kSIM;
    break;
  case kStorageTCard:
    tag = PBTag::kTCard;
    break;
  default:
    return;
  }
  for (const QVariant &v : list)
    addContactToAllPhoneList(v.toMap(), tag);
}

void PBController::addContactToAllPhoneList(const PBContactRecord &record, const QString &tag) {
  QVariantMap r = record;
  r.insert(PBKey::kSavePos, tag);
  m_allPhoneList.append(r);
}

PBContactRecord PBController::getUserFromAllContact(int row) const {
  return m_allPhoneList.value(row).toMap();
}

PBContactRecord PBController::getRuvozUserByIndexFromAllPhoneList(int index, const QString &tag) const {
  for (const QVariant &v : m_allPhoneList) {
    const QVariantMap r = v.toMap();
    if (r.value(PBKey::kSavePos).toString() == tag && r.contains(PBKey::kIndex) &&
        r.value(PBKey::kIndex).toInt() == index)
      return r;
  }
  return {};
}

void PBController::deleteItemByIndex(int index, PBContactList &list) {
  for (int i = 0; i < list.size(); ++i) {
    const QVariantMap r = list.at(i).toMap();
    if (r.contains(PBKey::kIndex) && r.value(PBKey::kIndex).toInt() == index) {
      list.removeAt(i);
      return;
    }
  }
}
