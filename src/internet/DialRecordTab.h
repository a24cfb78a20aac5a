#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class NSTableViewExt;
class QTableView;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct DialRecord;

// The records table's data source: one row per shown record, one column per record key (the
// column's identifier); rows may be selected, columns not reordered. The texts come from the
// controller, which owns the list.
class DialRecordTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  using RowText = std::function<QString(int row, const QString &key)>;
  using RowCount = std::function<int()>;

  DialRecordTableModel(RowCount count, RowText text, QObject *parent = nullptr);
  void reloadData();
  void setColumnTitles(const QStringList &titles);
  // The record key of a column (its identifier).
  static QString columnIdentifier(int column);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  RowCount count_;
  RowText text_;
  QStringList titles_;
};

// The "DialRecord" page: the table, the period pickers and their buttons, the totals, the
// counting-mode radios. It only holds the controls; DialRecordController fills and answers them.
class DialRecordTab : public QWidget {
  Q_OBJECT
public:
  explicit DialRecordTab(QWidget *parent = nullptr);
  // Gives the table's columns their widths (once it has a model): the room of the column's title
  // and of `samples`, one formatted sample of each column's widest value.
  void sizeColumns(const QStringList &samples = {});
  static void fitColumns(QTableView *table, const QStringList &samples);

  NSTableViewExt *table = nullptr;
  QLabel *labelFrom = nullptr;
  QLabel *labelTo = nullptr;
  QDateEdit *fromDate = nullptr;
  QDateEdit *toDate = nullptr;
  QPushButton *btnShow = nullptr;
  QLabel *labelPeriod = nullptr;
  QPushButton *btnSave = nullptr;
  QPushButton *btnDelete = nullptr;
  QPushButton *btnReset = nullptr;
  QPushButton *btnStatistics = nullptr;
  QLabel *labelMeter = nullptr;
  QLabel *labelTotalDataTitle = nullptr;
  QLabel *labelTotalData = nullptr;
  QLabel *labelTotalTimeTitle = nullptr;
  QLabel *labelTotalTime = nullptr;
  QLabel *labelAdvance = nullptr;
  QRadioButton *radioContinuous = nullptr;
  QRadioButton *radio15Min = nullptr;
  QLabel *labelNotice = nullptr;
  QGroupBox *boxLimit = nullptr;
  QLabel *labelLimit = nullptr;
  QPushButton *btnSetLimit = nullptr;
};
