#include "CallRecordStore.h"

#include "Plist.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

CallRecordStore::CallRecordStore(QString path) : path_(std::move(path)) {}

void CallRecordStore::load() {
  records_.clear();
  unreadable_ = false;
  if (path_.isEmpty() || !QFileInfo::exists(path_))
    return;
  QVariant root;
  if (!Plist::readFile(path_, &root) || root.typeId() != QMetaType::QVariantList) {
    unreadable_ = true;
    qWarning() << "CallRecordStore: the call log" << path_ << "cannot be read; it is kept aside at the next write";
    return;
  }
  for (const QVariant &v : root.toList())
    if (v.typeId() == QMetaType::QVariantMap)
      records_ << v;
}

bool CallRecordStore::save() {
  if (path_.isEmpty())
    return false;
  if (unreadable_) {
    // A log we could not read may still be the user's data: keep it under another name.
    const QString aside = path_ + QStringLiteral(".unreadable-") +
                          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    if (QFile::exists(path_) && !QFile::rename(path_, aside)) {
      qWarning() << "CallRecordStore: cannot move the unreadable call log aside; not overwriting it";
      return false;
    }
    qWarning() << "CallRecordStore: the unreadable call log was moved to" << aside;
    setAsidePath_ = aside;
    unreadable_ = false;
  }
  return Plist::writeFile(path_, records_);
}

int CallRecordStore::add(const QVariantMap &record, bool sameNumberOnce) {
  int removed = -1;
  if (sameNumberOnce) {
    const QString number = record.value(QStringLiteral("mobilephone")).toString();
    const bool missed = record.value(QStringLiteral("callType")).toString() == kMissed;
    for (int i = 0; i < records_.size(); ++i) {
      const QVariantMap r = records_.at(i).toMap();
      if (r.value(QStringLiteral("mobilephone")).toString() == number &&
          (r.value(QStringLiteral("callType")).toString() == kMissed) == missed) {
        records_.removeAt(i);
        removed = i;
        break;
      }
    }
  }
  records_ << record;
  return removed;
}

void CallRecordStore::removeEqual(const QVariantMap &record) {
  records_.removeAll(QVariant(record));
}

void CallRecordStore::clear() {
  records_.clear();
}

QVariantList CallRecordStore::recordsOfType(const QString &callType) const {
  QVariantList out;
  for (const QVariant &v : records_)
    if (v.toMap().value(QStringLiteral("callType")).toString() == callType)
      out << v;
  return out;
}
