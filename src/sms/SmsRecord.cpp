#include "SmsRecord.h"

#include "ConfigManager.h"
#include "ListFile.h"
#include "QelPosition.h"
#include "TcardVolume.h"

#include <QDir>

namespace {
const QString kConcatFlag = QStringLiteral("concatSmsFlag");
const QString kConcatInfo = QStringLiteral("concatSmsInfo");
const QString kSmsInfo = QStringLiteral("smsInfo");

QVariantMap summary(const QVariantMap &record) {
  return SmsRecord::isConcat(record) ? record.value(kConcatInfo).toMap() : record.value(kSmsInfo).toMap();
}
} // namespace

namespace SmsRecord {

bool isFlat(const QVariantMap &record) {
  return !record.contains(kConcatInfo) && !record.contains(kSmsInfo);
}

bool isConcat(const QVariantMap &record) {
  return record.value(kConcatFlag).toBool();
}

int readState(const QVariantMap &record) {
  return int(uint8_t(summary(record).value(QStringLiteral("stat")).toLongLong()));
}

bool isUnread(const QVariantMap &record) {
  return !isFlat(record) && readState(record) == 0;
}

QString text(const QVariantMap &record) {
  if (isFlat(record))
    return record.value(QStringLiteral("messagetext")).toString();
  return summary(record).value(QStringLiteral("messagetext")).toString();
}

QString number(const QVariantMap &record) {
  if (isFlat(record))
    return record.value(QStringLiteral("mobilephone")).toString();
  return summary(record).value(QStringLiteral("mobilephone")).toString();
}

QVariant date(const QVariantMap &record) {
  if (isFlat(record))
    return record.value(QStringLiteral("date"));
  return summary(record).value(QStringLiteral("date"));
}

int storedParts(const QVariantMap &record) {
  if (isConcat(record)) {
    const QVariant parts = record.value(kSmsInfo);
    return parts.typeId() == QMetaType::QVariantList ? int(parts.toList().size()) : 0;
  }
  return 1;
}

int smsNumberInBox(const QVariantList &box) {
  int count = 0;
  for (const QVariant &record : box)
    count += storedParts(record.toMap());
  return count;
}

int unreadCount(const QVariantList &box) {
  int count = 0;
  for (const QVariant &record : box)
    count += isUnread(record.toMap()) ? 1 : 0;
  return count;
}

void renumber(QVariantList &box) {
  for (qsizetype i = 0; i < box.size(); ++i) {
    QVariantMap record = box.at(i).toMap();
    record.insert(QStringLiteral("index"), int(i));
    box[i] = record;
  }
}

} // namespace SmsRecord

namespace SmsListFiles {

QString tcardListPath(const QString &volume) {
  if (volume.isEmpty())
    return {};
  return QDir(volume).filePath(QStringLiteral("SMS/SmsList_TCARD.plist"));
}

QString pathOfPosition(int position) {
  if (position == AT_TCARD)
    return tcardListPath(getTcardVolume());
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return {};
  switch (position) {
  case AT_PC:
    return config->configFilePathOfKey(kCMSMSListOfPCFile);
  case AT_SIM:
    return config->configFilePathOfKey(kCMSMSListOfSimFile);
  case AT_ME:
    return config->configFilePathOfKey(kCMSMSListOfMEFile);
  default:
    return {};
  }
}

QVariantList readBox(const QString &path, int box) {
  const QString key = smsBoxNames().value(box);
  if (path.isEmpty() || key.isEmpty())
    return {};
  QVariantMap dict;
  ListFile::read(path, &dict);
  return dict.value(key).toList();
}

bool writeBox(const QString &path, int box, const QVariantList &records) {
  const QString key = smsBoxNames().value(box);
  if (path.isEmpty() || key.isEmpty())
    return false;
  return ListFile::update(path, [&](QVariantMap &dict) {
    dict.insert(key, records);
    return true;
  });
}

bool insertIntoBox(const QString &path, int box, const QVariantMap &record, bool atFront) {
  const QString key = smsBoxNames().value(box);
  if (path.isEmpty() || key.isEmpty())
    return false;
  return ListFile::update(path, [&](QVariantMap &dict) {
    QVariantList list = dict.value(key).toList();
    if (atFront)
      list.prepend(record);
    else
      list.append(record);
    dict.insert(key, list);
    return true;
  });
}

} // namespace SmsListFiles
