#include "StoragePositions.h"

#include "ConfigManager.h"

#include <QDebug>

namespace {
const QString kName = QStringLiteral("positoinName");
const QString kCode = QStringLiteral("positoin");
const QString kOrder = QStringLiteral("positoinoOrder");

bool intOf(const QVariant &value, int *out) {
  bool ok = false;
  const int v = value.toInt(&ok);
  *out = v;
  return ok;
}
} // namespace

int QelPositionManager::positionCodeOfName(const QString &name) {
  if (name == QLatin1String("AT_SIM"))
    return AT_SIM;
  if (name == QLatin1String("AT_TCARD"))
    return AT_TCARD;
  if (name == QLatin1String("AT_PC"))
    return AT_PC;
  if (name == QLatin1String("AT_ME"))
    return AT_ME;
  return -1;
}

QelPositionManager QelPositionManager::fromConfiguration(const QVariant &positionOrder) {
  QelPositionManager manager;
  if (positionOrder.typeId() != QMetaType::QVariantMap) {
    manager.addQelpositionWithPositionName(QStringLiteral("AT_PC"), 0, AT_PC);
    manager.addQelpositionWithPositionName(QStringLiteral("AT_SIM"), 1, AT_SIM);
    return manager;
  }
  const QVariantMap orders = positionOrder.toMap();
  for (auto it = orders.cbegin(); it != orders.cend(); ++it) {
    int code = positionCodeOfName(it.key());
    if (code < 0) {
      qWarning() << "error://position config file read error..." << it.key();
      code = AT_PC;
    }
    manager.addQelpositionWithPositionName(it.key(), it.value().toInt(), code);
  }
  return manager;
}

QelPositionManager QelPositionManager::fromSettings() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return fromConfiguration(
      config ? config->getConfigurationByModuleAndKey(QStringLiteral("SMS"), QStringLiteral("positionOrder"))
             : QVariant());
}

void QelPositionManager::addQelpositionWithPositionName(const QString &name, int displayOrder, int position) {
  qelPositions_.append(QelPosition(name, position, displayOrder));
}

int QelPositionManager::getValueByKey(const QString &key, const QVariant &value, const QString &returnKey) const {
  if (key.isNull() || returnKey.isNull()) {
    qWarning() << "error://qelposition is not null";
    return -1;
  }
  int number = 0;
  for (const QelPosition &p : qelPositions_) {
    if (key == kName && returnKey == kCode) {
      if (p.positionName() == value.toString())
        return p.positon();
    } else if (key == kOrder && returnKey == kCode) {
      if (intOf(value, &number) && p.displayOrder() == number)
        return p.positon();
    } else if (key == kCode && returnKey == kOrder) {
      if (intOf(value, &number) && p.positon() == number)
        return p.displayOrder();
    } else if (key == kName && returnKey == kOrder) {
      if (p.positionName() == value.toString())
        return p.displayOrder();
    } else {
      return -1;
    }
  }
  return -1;
}

int QelPositionManager::getPositionByPositionName(const QString &name) const {
  return getValueByKey(kName, name, kCode);
}

int QelPositionManager::getPositionByPositionOrder(int order) const {
  return getValueByKey(kOrder, order, kCode);
}

int QelPositionManager::getPositionOrderByPositon(int position) const {
  return getValueByKey(kCode, position, kOrder);
}

int QelPositionManager::getPositionOrderByPositonName(const QString &name) const {
  return getValueByKey(kName, name, kOrder);
}

bool QelPositionManager::hasPosition(int position) const {
  for (const QelPosition &p : qelPositions_)
    if (p.positon() == position)
      return true;
  return false;
}
