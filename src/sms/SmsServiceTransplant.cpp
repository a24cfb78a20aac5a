#include "SmsServiceTransplant.h"

#include "ConfigManager.h"
#include "ListFile.h"
#include "SmsRecord.h"

SmsServiceTransplant *SmsServiceTransplant::sharedSmsServiceTransplant() {
  static SmsServiceTransplant service;
  return &service;
}

SmsServiceTransplant::SmsServiceTransplant(QObject *parent) : QelServiceBase(parent) {
  qelPositionManagerInit();
}

bool SmsServiceTransplant::loadSMSList(BoxLists *lists, int position, const QString &path) const {
  if (!lists || path.isEmpty())
    return false;
  if (isSimOrMeWithPosition(position))
    getSimOrMeSMSList(lists, path);
  else if (position == AT_PC)
    getPCSMSList(lists, path);
  return true;
}

bool SmsServiceTransplant::getPCSMSList(BoxLists *lists, const QString &path) const {
  if (!lists || path.isEmpty())
    return false;
  for (int box : {InBox, OutBox, DraftBox, DeletedBox, ImportantBox})
    (*lists)[smsBoxNames().at(box)] = getSMSListWithBox(box, path);
  return true;
}

bool SmsServiceTransplant::getSimOrMeSMSList(BoxLists *lists, const QString &path) const {
  if (!lists || path.isEmpty())
    return false;
  for (int box : {InBox, OutBox, DraftBox}) {
    QVariantList &list = (*lists)[smsBoxNames().at(box)];
    list.clear();
    addUserNameToSMSList(&list, getSMSListWithBox(box, path));
  }
  return true;
}

QVariantList SmsServiceTransplant::getSMSListWithBox(int box, const QString &path) {
  if (path.isEmpty() || (box != InBox && box != OutBox && box != DraftBox && box != DeletedBox && box != ImportantBox))
    return {};
  return SmsListFiles::readBox(path, box);
}

void SmsServiceTransplant::loadBoxInSIMListWithInBox(QVariantList *inBox, QVariantList *outBox,
                                                     QVariantList *draftBox) {
  QVariantMap dict;
  ListFile::read(SmsListFiles::pathOfPosition(AT_SIM), &dict);
  const QVariantList sources[] = {dict.value(QStringLiteral("InBox")).toList(),
                                  dict.value(QStringLiteral("OutBox")).toList(),
                                  dict.value(QStringLiteral("DraftBox")).toList()};
  QVariantList *targets[] = {inBox, outBox, draftBox};
  QVariantList *kept[] = {&simInBoxList_, &simOutBoxList_, &simDraftBoxList_};
  for (int i = 0; i < 3; ++i) {
    QVariantList list;
    addUserNameToSMSList(&list, sources[i]);
    *kept[i] = list;
    if (targets[i])
      *targets[i] = list;
  }
}

void SmsServiceTransplant::addUserNameToSMSList(QVariantList *target, const QVariantList &source) const {
  if (!target)
    return;
  for (qsizetype i = 0; i < source.size(); ++i) {
    QVariantMap record = source.at(i).toMap();
    // A flat record keeps its form; only a full one has a summary to name.
    if (!SmsRecord::isFlat(record)) {
      QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
      const QString number = summary.value(QStringLiteral("mobilephone")).toString();
      summary.insert(QStringLiteral("username"), nameLookup_ ? nameLookup_(number) : number);
      record.insert(QStringLiteral("concatSmsInfo"), summary);
    }
    record.insert(QStringLiteral("index"), int(i));
    target->append(record);
  }
}

int SmsServiceTransplant::smsUsedSpaceInSIM() const {
  return smsNumberInSIMBox(simInBoxList_) + smsNumberInSIMBox(simOutBoxList_) + smsNumberInSIMBox(simDraftBoxList_);
}

int SmsServiceTransplant::smsNumberInSIMBox(const QVariantList &box) {
  return SmsRecord::smsNumberInBox(box);
}

bool SmsServiceTransplant::shouldShowHyperlinkWhitPhoneNumber(const QString &number) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return false;
  const QVariant list =
      config->getConfigurationByModuleAndKey(QStringLiteral("SMS"), QStringLiteral("DisplayHyperlinkForPhoneArray"));
  return list.typeId() == QMetaType::QVariantList && list.toList().contains(number);
}
