#include "DialRecordTab.h"

#include "DialRecord.h"
#include "NSTableViewExt.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

DialRecordTableModel::DialRecordTableModel(RowCount count, RowText text, QObject *parent)
    : QAbstractTableModel(parent), count_(std::move(count)), text_(std::move(text)), titles_(RecordFileHeaderTitles()) {
}

void DialRecordTab::sizeColumns(const QStringList &samples) {
  fitColumns(table, samples);
  // The titles are worded again when the language changes: the columns follow them.
  if (table->model())
    connect(table->model(), &QAbstractItemModel::headerDataChanged, this,
            [table = table, samples] { fitColumns(table, samples); });
}

void DialRecordTab::fitColumns(QTableView *table, const QStringList &samples) {
  // From a sample, not the contents: measuring them would visit every row of years of records.
  QHeaderView *header = table->horizontalHeader();
  const QFontMetrics cell(table->font());
  const QFontMetrics title(header->font());
  const int least[] = {110, 150, 150, 80, 95};
  for (int column = 0; column < int(std::size(least)); ++column) {
    const QString heading = table->model() ? table->model()->headerData(column, Qt::Horizontal).toString() : QString();
    const int width = std::max(
        {least[column], title.horizontalAdvance(heading) + 24, cell.horizontalAdvance(samples.value(column)) + 16});
    header->resizeSection(column, width);
  }
}

void DialRecordTableModel::reloadData() {
  beginResetModel();
  endResetModel();
}

void DialRecordTableModel::setColumnTitles(const QStringList &titles) {
  titles_ = titles;
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString DialRecordTableModel::columnIdentifier(int column) {
  return RecordFileHeaderKeys().value(column);
}

int DialRecordTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() || !count_ ? 0 : count_();
}

int DialRecordTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(RecordFileHeaderKeys().size());
}

QVariant DialRecordTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole || !text_)
    return {};
  return text_(index.row(), columnIdentifier(index.column()));
}

QVariant DialRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Horizontal)
    return titles_.value(section);
  return section + 1;
}

DialRecordTab::DialRecordTab(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("viewDialRecordTab"));
  auto *layout = new QVBoxLayout(this);

  auto *period = new QHBoxLayout;
  labelFrom = new QLabel(this);
  labelFrom->setObjectName(QStringLiteral("labelFromDialRecord"));
  fromDate = new QDateEdit(this);
  fromDate->setObjectName(QStringLiteral("cbboxFromDateDialRecord"));
  fromDate->setCalendarPopup(true);
  labelTo = new QLabel(this);
  labelTo->setObjectName(QStringLiteral("labelToDialRecord"));
  toDate = new QDateEdit(this);
  toDate->setObjectName(QStringLiteral("cbboxToDateDialRecord"));
  toDate->setCalendarPopup(true);
  btnShow = new QPushButton(this);
  btnShow->setObjectName(QStringLiteral("btnShowDialRecord"));
  period->addWidget(labelFrom);
  period->addWidget(fromDate);
  period->addWidget(labelTo);
  period->addWidget(toDate);
  period->addWidget(btnShow);
  period->addStretch();
  layout->addLayout(period);

  labelPeriod = new QLabel(this);
  labelPeriod->setObjectName(QStringLiteral("labelTextShowDialRecord"));
  layout->addWidget(labelPeriod);

  table = new NSTableViewExt(this);
  table->setObjectName(QStringLiteral("tableDialRecord"));
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setSectionsMovable(false);
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->hide();

  table->verticalHeader()->setDefaultSectionSize(20);
  layout->addWidget(table, 1);

  auto *totals = new QGridLayout;
  labelMeter = new QLabel(this);
  labelTotalDataTitle = new QLabel(this);
  labelTotalData = new QLabel(this);
  labelTotalData->setObjectName(QStringLiteral("labelTotalDataDialRecord"));
  labelTotalTimeTitle = new QLabel(this);
  labelTotalTime = new QLabel(this);
  labelTotalTime->setObjectName(QStringLiteral("labelTotalTimeDialRecord"));
  labelAdvance = new QLabel(this);
  radioContinuous = new QRadioButton(this);
  radioContinuous->setObjectName(QStringLiteral("btnContinuousDialRecord"));
  radio15Min = new QRadioButton(this);
  radio15Min->setObjectName(QStringLiteral("btnIncrease15MinDialRecord"));
  // The controller sets both buttons itself (a refused switch puts them back).
  auto *group = new QButtonGroup(this);
  group->setExclusive(false);
  group->addButton(radioContinuous);
  group->addButton(radio15Min);
  totals->addWidget(labelMeter, 0, 0, 1, 2);
  totals->addWidget(labelTotalDataTitle, 1, 0);
  totals->addWidget(labelTotalData, 1, 1);
  totals->addWidget(labelTotalTimeTitle, 2, 0);
  totals->addWidget(labelTotalTime, 2, 1);
  totals->addWidget(labelAdvance, 0, 2);
  totals->addWidget(radioContinuous, 1, 2);
  totals->addWidget(radio15Min, 2, 2);
  // The limit box: what the usage limit is, and the way to its settings.
  boxLimit = new QGroupBox(this);
  boxLimit->setObjectName(QStringLiteral("boxLimitDialRecord"));
  auto *limit = new QVBoxLayout(boxLimit);
  labelLimit = new QLabel(boxLimit);
  labelLimit->setObjectName(QStringLiteral("labelLimitDialRecord"));
  btnSetLimit = new QPushButton(boxLimit);
  btnSetLimit->setObjectName(QStringLiteral("btnSetLimitDialRecord"));
  limit->addWidget(labelLimit);
  limit->addWidget(btnSetLimit);
  totals->addWidget(boxLimit, 0, 4, 3, 1);
  totals->setColumnStretch(3, 1);
  layout->addLayout(totals);

  auto *buttons = new QHBoxLayout;
  btnSave = new QPushButton(this);
  btnSave->setObjectName(QStringLiteral("btnSaveDialRecord"));
  btnDelete = new QPushButton(this);
  btnDelete->setObjectName(QStringLiteral("btnDeleteDialRecord"));
  btnReset = new QPushButton(this);
  btnReset->setObjectName(QStringLiteral("btnResetDialRecord"));
  btnStatistics = new QPushButton(this);
  btnStatistics->setObjectName(QStringLiteral("btnStatisticsDialRecord"));
  buttons->addWidget(btnSave);
  buttons->addWidget(btnDelete);
  buttons->addWidget(btnReset);
  buttons->addStretch();
  buttons->addWidget(btnStatistics);
  layout->addLayout(buttons);

  labelNotice = new QLabel(this);
  labelNotice->setWordWrap(true);
  layout->addWidget(labelNotice);
}
