#include "NetListModel.h"

#include "SettingController.h"
#include "WordGlobe.h"

#include <QBrush>
#include <QFont>

NetListModel::NetListModel(SettingController *controller) : QAbstractTableModel(controller), controller_(controller) {}

QStringList NetListModel::columnIdentifiers() {
  return {QStringLiteral("state"), QStringLiteral("lalpha_oper"), QStringLiteral("numeric_oper"),
          QStringLiteral("nettype")};
}

int NetListModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(controller_->netList().size());
}

int NetListModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(columnIdentifiers().size());
}

QVariant NetListModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
    return {};
  const QVariant value = controller_->netListValue(index.row(), columnIdentifiers().at(index.column()));
  // The highlighted current network comes back as {"text", "highlight"}.
  const QVariantMap styled = value.toMap();
  if (role == Qt::DisplayRole)
    return styled.isEmpty() ? value : styled.value(QStringLiteral("text"));
  if (!styled.isEmpty() && role == Qt::ForegroundRole)
    return QBrush(Qt::blue);
  if (!styled.isEmpty() && role == Qt::FontRole) {
    QFont font;
    font.setPointSize(15);
    return font;
  }
  return {};
}

QVariant NetListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  static const char *titles[] = {"Operator Status", "Operator Name", "Numeric Symbol", "Network Type"};
  if (section < 0 || section >= 4)
    return {};
  return Map_Name_Item_of_IndexString(QLatin1String(titles[section]));
}

void NetListModel::reload() {
  beginResetModel();
  endResetModel();
}
