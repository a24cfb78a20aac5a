// PBController: the search over the stores, unique names, and the number-to-name lookup.
#include "PBController.h"
#include "PBSearch.h"

// ---- search ----

bool PBController::isMatchforSearchString(const PBContactRecord &record) const {
  return PBSearchMatcher{m_searchText, m_prefixMatchModeEnabled, caseSensitiveSearch_}.matches(record);
}

void PBController::getSearchContactsFromPC() {
  if (sumOfContactInPC() == 0)
    return;
  const PBSearchMatcher matcher{m_searchText, m_prefixMatchModeEnabled, caseSensitiveSearch_};
  for (const QVariant &g : m_PcPhoneList) {
    const QVariantList group = g.toList();
    for (int i = 1; i < group.size(); ++i)
      if (matcher.matches(group.at(i).toMap()))
        m_CurrentSearchGroup.append(group.at(i));
  }
}

namespace {
void searchStoreList(const PBSearchMatcher &matcher, const PBContactList &list, PBContactList &into) {
  for (int row = 0; row < list.size(); ++row) {
    QVariantMap r = list.at(row).toMap();
    if (!matcher.matches(r))
      continue;
    r.insert(PBKey::kListIndex, QString::number(row));
    into.append(r);
  }
}
} // namespace

void PBController::getSearchContactsFromSIM() {
  searchStoreList({m_searchText, m_prefixMatchModeEnabled, caseSensitiveSearch_}, m_SimPhoneList, m_CurrentSearchGroup);
}

void PBController::getSearchContactsFromME() {
  searchStoreList({m_searchText, m_prefixMatchModeEnabled, caseSensitiveSearch_}, m_MePhoneList, m_CurrentSearchGroup);
}

PBContactRecord PBController::getUserFromCurSearchGroup(int row) const {
  return m_CurrentSearchGroup.value(row).toMap();
}

void PBController::deleteUserFromCurSearchGroup(int row) {
  if (row == 10000)
    m_CurrentSearchGroup.clear();
  else if (row >= 0 && row < m_CurrentSearchGroup.size())
    m_CurrentSearchGroup.removeAt(row);
}

// ---- names ----

bool PBController::pcContactNameExist(const QString &name) const {
  for (const QVariant &g : m_PcPhoneList) {
    const QVariantList group = g.toList();
    for (int i = 1; i < group.size(); ++i) {
      const QVariantMap r = group.at(i).toMap();
      if (r.contains(PBKey::kUserName) && r.value(PBKey::kUserName).toString() == name)
        return true;
    }
  }
  return false;
}

bool PBController::contactNameExist(const QString &name, int storage) const {
  auto inList = [&name](const PBContactList &list) {
    for (const QVariant &v : list) {
      const QVariantMap r = v.toMap();
      if (r.contains(PBKey::kUserName) && r.value(PBKey::kUserName).toString() == name)
        return true;
    }
    return false;
  };
  switch (storage) {
  case kSaveInPC:
    return pcContactNameExist(name);
  case kSaveInSIM:
    return inList(m_SimPhoneList);
  case kSaveInME:
    return inList(m_MePhoneList);
  default:
    return false;
  }
}

bool PBController::contactNameIsUnique(const QString &name) const {
  return !contactNameExist(name, kSaveInPC) && !contactNameExist(name, kSaveInSIM);
}

PBContactList PBController::searchResemblesOfContact(const PBContactRecord &record) const {
  PBContactList found;
  const QString name = record.value(PBKey::kUserName).toString();
  auto collect = [&](const QVariantList &list, int from) {
    for (int i = from; i < list.size(); ++i) {
      const QVariantMap r = list.at(i).toMap();
      if (r.contains(PBKey::kUserName) && r.value(PBKey::kUserName).toString().contains(name))
        found.append(r);
    }
  };
  for (const QVariant &g : m_PcPhoneList)
    collect(g.toList(), 1);
  collect(m_SimPhoneList, 0);
  collect(m_AddContactList, 0);
  return found;
}

QString PBController::createUniqueOfContactName(const QString &name, int storage, PBContactList list) const {
  const int limit = storage == kSaveInSIM ? simNameMaxLen_ : pcNameMaxLen_;
  auto taken = [](const PBContactList &l, const QString &candidate) {
    for (const QVariant &v : l)
      if (v.toMap().value(PBKey::kUserName).toString() == candidate)
        return true;
    return false;
  };
  QString candidate = name;
  for (int k = 1; taken(list, candidate); ++k) {
    const QString suffix = QString::number(k);
    // A store without a known limit (0) cuts nothing.
    const int keep = limit > 0 ? std::max(0, limit - int(suffix.size())) : int(name.size());
    candidate = name.left(keep) + suffix;
    list = searchResemblesOfContact({{PBKey::kUserName, candidate}});
  }
  return candidate;
}

void PBController::validateDuplicateContact(PBContactRecord &record, int storage) const {
  const QString name = record.value(PBKey::kUserName).toString();
  if (name.isEmpty())
    return;
  const PBContactList resembles = searchResemblesOfContact(record);
  if (!resembles.isEmpty())
    record.insert(PBKey::kUserName, createUniqueOfContactName(name, storage, resembles));
}

void PBController::doUniqueCheckIfNeededOfContact(PBContactRecord &record, int storage) const {
  if (m_contactNameUniqueCheckingEnabled)
    validateDuplicateContact(record, storage);
}

PBContactList PBController::availableNumbersOfContacts(const PBContactList &records) const {
  static const QList<std::pair<QString, QString>> numbers = {
      {PBKey::kMobilePhone, QStringLiteral("Mobile")},
      {PBKey::kOfficePhone, QStringLiteral("Office")},
      {PBKey::kHomePhone, QStringLiteral("Home")},
  };
  PBContactList out;
  for (const QVariant &v : records) {
    const QVariantMap r = v.toMap();
    for (const auto &[key, label] : numbers) {
      const QString number = r.value(key).toString();
      if (number.isEmpty() || !page().hasContactColumn(key))
        continue;
      out.append(QVariantMap{{PBKey::kUserName, r.value(PBKey::kUserName)},
                             {PBKey::kMobilePhone, QStringLiteral("%1(%2)").arg(number, label)}});
    }
  }
  return out;
}

bool PBController::checkAddFlag(const QString &number) {
  if (number.isEmpty())
    return false;
  if (number == QLatin1String("+"))
    return true;
  for (qsizetype i = 0; i < number.size(); ++i) {
    const QChar c = number.at(i);
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!digit && c != QLatin1Char('*') && c != QLatin1Char('#') && !(c == QLatin1Char('+') && i == 0))
      return true;
  }
  return false;
}

// ---- lookup ----

namespace {
// Key -> name of the first contact (in list order) whose "mobilephone" gives that key.
void indexList(const QVariantList &list, int from, int threshold, QHash<QString, QString> &index) {
  for (int i = from; i < list.size(); ++i) {
    const QVariantMap r = list.at(i).toMap();
    const QString key = pbLookupKey(r.value(PBKey::kMobilePhone).toString(), threshold);
    if (!key.isEmpty() && !index.contains(key))
      index.insert(key, r.value(PBKey::kUserName).toString());
  }
}
} // namespace

void PBController::rebuildPcLookup() {
  pcLookup_.clear();
  pcContactCount_ = 0;
  for (const QVariant &g : m_PcPhoneList) {
    const QVariantList group = g.toList();
    indexList(group, 1, m_threshold, pcLookup_);
    pcContactCount_ += std::max(0, int(group.size()) - 1);
  }
  pcLookupDirty_ = false;
}

void PBController::rebuildSimLookup() {
  simLookup_.clear();
  indexList(m_SimPhoneList, 0, m_threshold, simLookup_);
  simLookupDirty_ = false;
}

QString PBController::searchNameAtPhoneBook(const QString &number) {
  if (pcLookupDirty_)
    rebuildPcLookup();
  if (simLookupDirty_)
    rebuildSimLookup();
  hasPhoneNumberFlag_ = false;
  if (pcContactCount_ == 0 && simInitFinished_ && m_SimPhoneList.isEmpty())
    return number;
  const QString key = pbLookupKey(number, m_threshold);
  const QString *name = nullptr;
  if (const auto it = pcLookup_.constFind(key); it != pcLookup_.cend())
    name = &it.value();
  else if (const auto sim = simLookup_.constFind(key); simInitFinished_ && sim != simLookup_.cend())
    name = &sim.value();
  if (!name)
    return number;
  hasPhoneNumberFlag_ = true;
  return *name;
}

bool PBController::hasPhoneNumber(const QString &number) {
  searchNameAtPhoneBook(number);
  return hasPhoneNumberFlag_;
}

PBContactRecord PBController::getMatchUserItemAtUSIMSide(const QString &number) const {
  const QString key = pbLookupKey(number, m_threshold);
  for (const QVariant &v : m_allPhoneList) {
    const QVariantMap r = v.toMap();
    const QString own = pbLookupKey(r.value(PBKey::kMobilePhone).toString(), m_threshold);
    if (!own.isEmpty() && own == key)
      return r;
  }
  return {};
}
