#include "PBSearch.h"

bool PBSearchMatcher::matchesText(const QString &field) const {
  const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return prefix ? field.startsWith(text, cs) : field.contains(text, cs);
}

bool PBSearchMatcher::matches(const PBContactRecord &record) const {
  for (const QString &key :
       {PBKey::kUserName, PBKey::kMobilePhone, PBKey::kOfficePhone, PBKey::kHomePhone, PBKey::kEmail}) {
    const auto it = record.constFind(key);
    if (it != record.cend() && matchesText(it->toString()))
      return true;
  }
  return false;
}

QString pbLookupKey(const QString &number, int threshold) {
  return number.size() > threshold ? number.right(threshold) : number;
}
