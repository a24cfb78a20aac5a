#include "PBNameSort.h"

#include "ConfigManager.h"
#include "LanguageTables.h"

#include <QLocale>
#include <algorithm>
#include <vector>

namespace PBNameSort {

QCollator collator() {
  QLocale locale = QLocale::system();
  if (ConfigManager *config = ConfigManager::sharedConfigManager()) {
    const QString language = config->getConfigurationByModule(QStringLiteral("CurrentLanguage")).toString();
    for (const auto &row : LanguageTables::languagesPackage()) {
      if (language == QLatin1String(row.englishName)) {
        locale = QLocale(QString::fromLatin1(row.code));
        break;
      }
    }
  }
  return QCollator(locale);
}

void sortByUserName(PBContactList &list, int from) {
  sortByUserName(list, collator(), from);
}

void sortByUserName(PBContactList &list, const QCollator &collator, int from) {
  if (from < 0 || list.size() - from < 2)
    return;
  // One sort key per record: comparing keys is far cheaper than collating the texts each time.
  struct Item {
    QCollatorSortKey key;
    QVariant record;
  };
  std::vector<Item> items;
  items.reserve(size_t(list.size() - from));
  for (int i = from; i < list.size(); ++i)
    items.push_back({collator.sortKey(list.at(i).toMap().value(PBKey::kUserName).toString()), list.at(i)});
  std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.key.compare(b.key) < 0; });
  for (size_t i = 0; i < items.size(); ++i)
    list[from + int(i)] = std::move(items[i].record);
}

void sortGroups(QVariantList &groups, const QCollator &collator) {
  auto nameOf = [&groups](int i) { return groups.at(i).toList().value(0).toMap().value(PBKey::kGroupName).toString(); };
  for (int i = 0; i + 1 < groups.size(); ++i) {
    for (int j = i + 1; j < groups.size(); ++j) {
      if (!(collator.compare(nameOf(i), nameOf(j)) < 0))
        groups.swapItemsAt(i, j);
    }
  }
}

} // namespace PBNameSort
