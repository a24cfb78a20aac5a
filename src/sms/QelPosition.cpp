#include "QelPosition.h"

#include "ConfigManager.h"

#include <QDebug>

const QStringList &smsBoxNames() {
  static const QStringList names = {QStringLiteral("InBox"),       QStringLiteral("OutBox"),
                                    QStringLiteral("DraftBox"),    QStringLiteral("DELIVERY_REPORTBOX"),
                                    QStringLiteral("DeletedBox"),  QStringLiteral("ImportantBox"),
                                    QStringLiteral("BroadCastBox")};
  return names;
}

SmsBoxTables::SmsBoxTables() {
  const QStringList &names = smsBoxNames();
  for (int box = 0; box < names.size(); ++box)
    boxStr_Box_.insert(names.at(box), box);
  boxDisplayOrderInit(QVariant());
}

void SmsBoxTables::boxDisplayOrderInit(const QVariant &boxOrder) {
  boxDisplayOrder_BoxMap_.clear();
  if (boxOrder.typeId() != QMetaType::QVariantMap) {
    for (int box : {InBox, OutBox, DraftBox})
      boxDisplayOrder_BoxMap_.insert(box, box);
    return;
  }
  const QVariantMap orders = boxOrder.toMap();
  for (auto it = orders.cbegin(); it != orders.cend(); ++it) {
    const int box = getBoxWithBoxStr(it.key());
    if (box < 0) {
      qWarning() << "SMS boxOrder names no box:" << it.key() << "- skipped";
      continue;
    }
    boxDisplayOrder_BoxMap_.insert(it.value().toInt(), box);
  }
}

SmsBoxTables SmsBoxTables::fromSettings() {
  SmsBoxTables tables;
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    tables.boxDisplayOrderInit(
        config->getConfigurationByModuleAndKey(QStringLiteral("SMS"), QStringLiteral("boxOrder")));
  return tables;
}

int SmsBoxTables::getBoxWithBoxStr(const QString &name) {
  const int box = int(smsBoxNames().indexOf(name));
  return box;
}

QString SmsBoxTables::getBoxStrWithBox(int box) const {
  for (auto it = boxStr_Box_.cbegin(); it != boxStr_Box_.cend(); ++it)
    if (it.value() == box)
      return it.key();
  return {};
}

int SmsBoxTables::getBoxDisplayOrderWithBox(int box, int rowCount) const {
  for (auto it = boxDisplayOrder_BoxMap_.cbegin(); it != boxDisplayOrder_BoxMap_.cend(); ++it)
    if (it.value() == box)
      return it.key();
  return rowCount;
}
