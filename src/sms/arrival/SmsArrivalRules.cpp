#include "SmsArrivalRules.h"

#include "SmsClock.h"

void SmsPartTracker::expire(qint64 nowMs) {
  for (auto it = parts_.begin(); it != parts_.end();) {
    if (nowMs - it->lastPartMs >= kExpiryMs) {
      it = parts_.erase(it);
      ++givenUp_;
    } else {
      ++it;
    }
  }
}

void SmsPartTracker::count(const SmsArrivalRecord &r) {
  if (!r.concat)
    return;
  const qint64 now = SmsClock::now().toMSecsSinceEpoch();
  const Key key = keyOf(r);
  if (!parts_.contains(key)) {
    // Room for a new message: the stale ones go first, then the one heard of longest ago.
    if (parts_.size() >= kMaxPending)
      expire(now);
    if (parts_.size() >= kMaxPending) {
      auto oldest = parts_.begin();
      for (auto it = parts_.begin(); it != parts_.end(); ++it)
        if (it->lastPartMs < oldest->lastPartMs)
          oldest = it;
      parts_.erase(oldest);
      ++givenUp_;
    }
  } else if (now - parts_.value(key).lastPartMs >= kExpiryMs) {
    // Given up long ago: this part starts the count anew (a reference comes round again).
    parts_.remove(key);
    ++givenUp_;
  }
  Pending &seen = parts_[key];
  seen.parts.insert(r.sequence);
  seen.lastPartMs = now;
  if (seen.parts.size() >= int(r.total))
    parts_.remove(key);
}

bool SmsPartTracker::isComplete(const SmsArrivalRecord &r) const {
  if (!r.concat || r.total <= 1)
    return true;
  return !parts_.contains(keyOf(r));
}

void SmsArrivalText::append(const SmsArrivalRecord &r) {
  const QString key = r.concat ? QStringLiteral("%1/%2/%3").arg(r.number).arg(r.refKind == 8).arg(r.reference())
                               : QStringLiteral("single");
  if (key != key_ || !r.concat)
    text_.clear();
  key_ = key;
  text_ += r.text;
  if (text_.size() > kMaxUnits)
    text_ = text_.right(kMaxUnits);
}

namespace smsarrival {

QString fill(const QString &format, const QStringList &args) {
  QString out;
  int next = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    if (format.at(i) == QLatin1Char('%') && i + 1 < format.size() &&
        (format.at(i + 1) == QLatin1Char('@') || format.at(i + 1) == QLatin1Char('d'))) {
      out += args.value(next++);
      ++i;
    } else {
      out += format.at(i);
    }
  }
  return out;
}

bool ifTwoNumbersMatch(const QString &a, const QString &b, bool exact, int threshold) {
  if (a.isEmpty() || b.isEmpty())
    return false;
  if (exact)
    return a == b;
  const qsizetype n = std::min({a.size(), qsizetype(std::max(threshold, 0)), b.size()});
  return a.right(n) == b.right(n);
}

QVariantMap summaryOf(const QVariantMap &record) {
  return record.value(QStringLiteral("concatSmsFlag")).toBool() ? record.value(QStringLiteral("concatSmsInfo")).toMap()
                                                                : record.value(QStringLiteral("smsInfo")).toMap();
}

int countOfEntry(const QVariantMap &entry, int box) {
  if (box == 2 && !entry.contains(QStringLiteral("smsInfo"))) {
    // "n/n": the whole count, so a draft of ten or more parts counts all of them.
    bool ok = false;
    const int parts = entry.value(QStringLiteral("stat")).toString().section(QLatin1Char('/'), 0, 0).toInt(&ok);
    return ok && parts > 0 ? parts : 1;
  }
  if (entry.value(QStringLiteral("concatSmsFlag")).toBool()) {
    const int total = entry.value(QStringLiteral("concatSmsInfo")).toMap().value(QStringLiteral("totalNum")).toInt();
    return total > 0 ? total : 1;
  }
  return 1;
}

int unreadPartsOf(const QVariantMap &record) {
  const QVariant info = record.value(QStringLiteral("smsInfo"));
  if (info.typeId() == QMetaType::QVariantList) {
    int n = 0;
    for (const QVariant &p : info.toList())
      n += p.toMap().value(QStringLiteral("stat")).toInt() == 0 ? 1 : 0;
    return n;
  }
  const QVariantMap single = info.toMap();
  return single.contains(QStringLiteral("stat")) && single.value(QStringLiteral("stat")).toInt() == 0 ? 1 : 0;
}

bool isSameMessage(const QVariantMap &record, const QString &number, const QDateTime &date) {
  auto same = [&](const QVariantMap &m) {
    return m.value(QStringLiteral("mobilephone")).toString() == number &&
           m.value(QStringLiteral("date")).toDateTime().toSecsSinceEpoch() == date.toSecsSinceEpoch();
  };
  const QVariant info = record.value(QStringLiteral("smsInfo"));
  if (info.typeId() == QMetaType::QVariantList) {
    for (const QVariant &p : info.toList())
      if (same(p.toMap()))
        return true;
    return same(record.value(QStringLiteral("concatSmsInfo")).toMap());
  }
  return same(info.toMap());
}

} // namespace smsarrival
