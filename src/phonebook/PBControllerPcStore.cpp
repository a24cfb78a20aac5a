// PBController: the PC store (phoneBook.plist and its groups) and the merged list.
#include "ConfigManager.h"
#include "PBController.h"
#include "PBNameSort.h"
#include "PBPcFile.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {
QVariantList groupAt(const QVariantList &groups, int g) {
  return g >= 0 && g < groups.size() ? groups.at(g).toList() : QVariantList();
}
QString groupNameOf(const QVariant &group) {
  return group.toList().value(0).toMap().value(PBKey::kGroupName).toString();
}
// Size, modification time and inode: enough to tell that someone else replaced the file.
QString fingerprint(const QString &path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0)
    return QStringLiteral("none");
  return QStringLiteral("%1:%2.%3:%4")
      .arg(qint64(st.st_size))
      .arg(qint64(st.st_mtim.tv_sec))
      .arg(qint64(st.st_mtim.tv_nsec))
      .arg(quint64(st.st_ino));
}
// A failed save is tried again this often while it keeps failing.
constexpr int kPcSaveRetryMs = 30000;
} // namespace

QString PBController::getPhoneBookFilePathWithFileName(const QString &fileName) const {
  return PBPcFile::path(fileName);
}

void PBController::loadListFromFile() {
  const QString path = getPhoneBookFilePathWithFileName(kCMPhoneBookFile);
  if (pcSavePending_) {
    // Changes the disk did not take are newer than the file, unless someone wrote it since.
    if (fingerprint(path) == pcFileAtFailure_) {
      if (savePhoneList2File())
        qInfo() << "phonebook: the changes that could not be saved earlier are saved now";
      pcChanged();
      return;
    }
    qWarning() << "phonebook: the file was replaced while changes waited to be saved; the file is taken";
    pcSaveSucceeded();
  }
  PBPcFile::ReadState state = PBPcFile::ReadState::Missing;
  m_PcPhoneList = PBPcFile::read(path, &state);
  if (state == PBPcFile::ReadState::SetAside || state == PBPcFile::ReadState::Kept)
    tellPcFileUnreadable(int(state));
  pcChanged();
}

void PBController::tellPcFileUnreadable(int state) {
  // A file kept in place takes no save: the notice below says so, and saves need not repeat it.
  if (state == int(PBPcFile::ReadState::Kept))
    pcSaveFailureTold_ = true;
  const QString text =
      state == int(PBPcFile::ReadState::SetAside)
          ? Map_Name_Item_of_IndexString(QStringLiteral("The phonebook file could not be read. It was kept as %1 "
                                                        "and the phonebook starts empty."))
                .arg(PBPcFile::lastSetAsidePath())
          : Map_Name_Item_of_IndexString(QStringLiteral("The phonebook file could not be read. It is left as it "
                                                        "is, and changes to the phonebook cannot be saved."));
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning")), text,
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

void PBController::pcSaveFailed() {
  pcFileAtFailure_ = fingerprint(getPhoneBookFilePathWithFileName(kCMPhoneBookFile));
  pcSavePending_ = true;
  if (!pcSaveRetry_) {
    pcSaveRetry_ = new QTimer(this);
    pcSaveRetry_->setObjectName(QStringLiteral("pcSaveRetry"));
    pcSaveRetry_->setSingleShot(true);
    connect(pcSaveRetry_, &QTimer::timeout, this, [this] {
      if (pcSavePending_ && savePhoneList2File())
        qInfo() << "phonebook: the changes that could not be saved earlier are saved now";
    });
  }
  pcSaveRetry_->start(kPcSaveRetryMs);
  if (pcSaveFailureTold_)
    return;
  // Once until a save succeeds: a full disk fails every save, and one notice says it all.
  pcSaveFailureTold_ = true;
  NSBeginAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning")),
                       Map_Name_Item_of_IndexString(
                           QStringLiteral("The phonebook could not be saved (is the disk full?). Your changes are kept "
                                          "and saving is tried again.")),
                       Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

void PBController::pcSaveSucceeded() {
  pcSavePending_ = false;
  pcSaveFailureTold_ = false;
  pcFileAtFailure_.clear();
  if (pcSaveRetry_)
    pcSaveRetry_->stop();
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
  const QString path = getPhoneBookFilePathWithFileName(kCMPhoneBookFile);
  if (path.isEmpty())
    return false;
  if (!PBPcFile::write(path, m_PcPhoneList)) {
    pcSaveFailed();
    return false;
  }
  pcSaveSucceeded();
  return true;
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
  return sumOfContactInPCPlain();
}

int PBController::sumOfContactInPCPlain() const {
  int sum = 0;
  for (int g = 0; g < m_PcPhoneList.size(); ++g)
    sum += sumOfContactInGroup(g);
  return sum;
}

int PBController::getPCCurUserCountWhenNameAndNumberUnique() const {
  // The capacity label asks for this at every table reload: one pass with a set of (name,
  // number) pairs that shares the records' strings, no key built per record.
  // A record lacking the name or the number never equals a counted one, so it always counts.
  QSet<std::pair<QString, QString>> seen;
  seen.reserve(sumOfContactInPCPlain());
  int incomplete = 0;
  for (const QVariant &g : m_PcPhoneList) {
    if (g.typeId() != QMetaType::QVariantList)
      continue;
    const QVariantList &group = *static_cast<const QVariantList *>(g.constData());
    for (qsizetype i = 1; i < group.size(); ++i) {
      const QVariant &v = group.at(i);
      if (v.typeId() != QMetaType::QVariantMap) {
        ++incomplete;
        continue;
      }
      const QVariantMap &r = *static_cast<const QVariantMap *>(v.constData());
      const auto name = r.constFind(PBKey::kUserName);
      const auto mobile = r.constFind(PBKey::kMobilePhone);
      if (name == r.cend() || mobile == r.cend()) {
        ++incomplete;
        continue;
      }
      seen.insert({name->toString(), mobile->toString()});
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

namespace {
// The record numbers taken in the PC store: those the current group's records carry and those
// the merged list gave to PC entries. Built once, then handed out smallest first.
class PcNumbers {
public:
  PcNumbers(const QVariantList &group, const PBContactList &all, int max) : max_(max) {
    for (int i = 1; i < group.size(); ++i) {
      const QVariantMap r = group.at(i).toMap();
      const auto it = r.constFind(PBKey::kIndex);
      if (it != r.cend())
        taken_.insert(it->toInt());
    }
    for (const QVariant &v : all) {
      const QVariantMap r = v.toMap();
      if (r.value(PBKey::kSavePos).toString() == PBTag::kPC)
        taken_.insert(r.value(PBKey::kIndex).toInt());
    }
  }
  // The smallest free number, now taken; past the capacity, the capacity plus one every time.
  int take() {
    while (next_ <= max_ && taken_.contains(next_))
      ++next_;
    if (next_ > max_)
      return max_ + 1;
    taken_.insert(next_);
    return next_;
  }

private:
  QSet<int> taken_;
  int max_;
  int next_ = 1;
};
} // namespace

int PBController::pcNewContactIndex() const {
  // PC records carry no number of their own: the numbers the merged list gave to PC entries
  // count as taken, so every PC entry gets its own.
  return PcNumbers(currentGroup(), m_allPhoneList, pcUserMaxCount_).take();
}

// ---- merged list ----

void PBController::addPcPhoneListToAllPhoneList() {
  // One set for the whole group: numbers only grow taken, so each record gets the smallest number
  // free after those before it, as a fresh look for every record would give.
  const QVariantList group = currentGroup();
  PcNumbers numbers(group, m_allPhoneList, pcUserMaxCount_);
  m_allPhoneList.reserve(m_allPhoneList.size() + group.size());
  for (int i = 1; i < group.size(); ++i) {
    QVariantMap r = group.at(i).toMap();
    r.insert(PBKey::kIndex, numbers.take());
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
