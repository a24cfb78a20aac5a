#include "SmsListSort.h"

#include <QDateTime>
#include <QVariantMap>
#include <algorithm>

namespace SmsListSort {
namespace {

QVariant fullValue(const QVariantMap &record, const QString &key) {
  const QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (key == QLatin1String("mobilephone") || key == QLatin1String("username"))
    return summary.value(key);
  const QVariantMap source = record.value(QStringLiteral("concatSmsFlag")).toBool()
                                 ? summary
                                 : record.value(QStringLiteral("smsInfo")).toMap();
  return source.value(key);
}

// -1, 0, 1; values of different kinds compare as equal.
int compare(const QVariant &a, const QVariant &b) {
  if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime) {
    const qint64 x = a.toDateTime().toMSecsSinceEpoch(), y = b.toDateTime().toMSecsSinceEpoch();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
    return QString::compare(a.toString(), b.toString(), Qt::CaseSensitive) < 0 ? -1
                                                                               : (a.toString() == b.toString() ? 0 : 1);
  bool okA = false, okB = false;
  const double x = a.toDouble(&okA), y = b.toDouble(&okB);
  if (okA && okB && a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString)
    return x < y ? -1 : (x > y ? 1 : 0);
  return 0;
}

template <typename Value> void sortBy(QVariantList &records, bool ascending, Value value) {
  // The values are taken once per record, not once per comparison.
  QList<QPair<QVariant, QVariant>> keyed;
  keyed.reserve(records.size());
  for (const QVariant &r : records)
    keyed.append({value(r.toMap()), r});
  std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto &a, const auto &b) {
    const bool hasA = a.first.isValid() && !a.first.isNull(), hasB = b.first.isValid() && !b.first.isNull();
    if (hasA != hasB)
      return hasA; // missing values last
    if (!hasA)
      return false;
    const int c = compare(a.first, b.first);
    return ascending ? c < 0 : c > 0;
  });
  for (qsizetype i = 0; i < keyed.size(); ++i)
    records[i] = keyed.at(i).second;
}

bool knownKey(const QString &key, bool withStat) {
  return key == QLatin1String("mobilephone") || key == QLatin1String("username") || key == QLatin1String("date") ||
         (withStat && key == QLatin1String("stat"));
}
} // namespace

void sortBoxList(QVariantList &records, const QString &key, bool ascending) {
  if (!knownKey(key, true))
    return;
  sortBy(records, ascending, [&key](const QVariantMap &r) { return fullValue(r, key); });
}

void sortDraftList(QVariantList &records, const QString &key, bool ascending) {
  if (!knownKey(key, false))
    return;
  sortBy(records, ascending, [&key](const QVariantMap &r) { return r.value(key); });
}

void sortByIndexDescending(QVariantList &records) {
  sortBy(records, false, [](const QVariantMap &r) { return r.value(QStringLiteral("index")); });
}

} // namespace SmsListSort
