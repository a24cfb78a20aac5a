#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class SettingController;

// The list table of found networks: its rows are the settings window's `netList`, its columns
// "state", "lalpha_oper", "numeric_oper" and "nettype"; every value comes from the controller,
// which applies the name and technology rules.
class NetListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit NetListModel(SettingController *controller);
  static QStringList columnIdentifiers();
  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void reload();

private:
  SettingController *controller_;
};
