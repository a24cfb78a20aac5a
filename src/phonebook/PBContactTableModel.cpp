#include "PBContactTableModel.h"

#include "PBController.h"
#include "WordGlobe.h"

#include <QHash>

PBContactTableModel::PBContactTableModel(PBController *controller, QObject *parent)
    : QAbstractTableModel(parent), controller_(controller) {}

void PBContactTableModel::reload() {
  beginResetModel();
  columns_ = controller_ ? controller_->userTableViewColumns() : QStringList();
  rows_ = controller_ ? controller_->shownContacts() : PBContactList();
  endResetModel();
}

int PBContactTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int PBContactTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(columns_.size());
}

QVariant PBContactTableModel::data(const QModelIndex &index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
    return {};
  return rows_.at(index.row()).toMap().value(columns_.at(index.column())).toString();
}

QVariant PBContactTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
    return {};
  static const QHash<QString, QString> titles = {{PBKey::kUserName, QStringLiteral("Name")},
                                                 {PBKey::kMobilePhone, QStringLiteral("MobilePhone")},
                                                 {PBKey::kOfficePhone, QStringLiteral("OfficePhone")},
                                                 {PBKey::kHomePhone, QStringLiteral("HomePhone")},
                                                 {PBKey::kEmail, QStringLiteral("EMail")},
                                                 {PBKey::kGroupName, QStringLiteral("Group")},
                                                 {PBKey::kRemark, QStringLiteral("Remark")}};
  const QString key = columns_.at(section);
  return Map_Name_Item_of_IndexString(titles.value(key, key));
}
