#pragma once

#include "PBTypes.h"

#include <QAbstractTableModel>
#include <QStringList>

class PBController;

// The contact table's data source over the list the controller shows (a PC group, the search
// results, the SIM, the device memory or the memory card): a reload takes the list and the
// columns, and cells are read as the view draws them.
class PBContactTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit PBContactTableModel(PBController *controller, QObject *parent = nullptr);

  void reload();
  const QStringList &columns() const { return columns_; }

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  PBController *controller_;
  QStringList columns_;
  PBContactList rows_;
};
