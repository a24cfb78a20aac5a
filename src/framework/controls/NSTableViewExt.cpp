#include "NSTableViewExt.h"

#include "NotificationCenter.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextEdit>

std::pair<int, int> tableViewRowAndColumnOfEvent(const QPointF &globalPosition, const QAbstractItemView *table) {
  if (!table || !table->model())
    return {-1, -1};
  const QPoint p = table->viewport()->mapFromGlobal(globalPosition.toPoint());
  if (!table->viewport()->rect().contains(p))
    return {-1, -1};
  const QModelIndex index = table->indexAt(p);
  if (!index.isValid())
    return {-1, -1};
  return {index.row(), index.column()};
}

void setTextFieldString(QWidget *field, const QString &string, bool replace) {
  if (!field || string.isNull())
    return;
  const bool editing = field->hasFocus();
  if (auto *line = qobject_cast<QLineEdit *>(field)) {
    if (editing) {
      if (replace)
        line->setText(string);
      else
        line->insert(string);
      line->end(false);
    } else {
      line->setText(replace ? string : line->text() + string);
    }
    return;
  }
  auto scrollToEnd = [](QAbstractScrollArea *area) {
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
  };
  if (auto *text = qobject_cast<QTextEdit *>(field)) {
    if (editing && !replace)
      text->insertPlainText(string);
    else
      text->setPlainText(replace ? string : text->toPlainText() + string);
    text->moveCursor(QTextCursor::End);
    scrollToEnd(text);
  } else if (auto *plain = qobject_cast<QPlainTextEdit *>(field)) {
    if (editing && !replace)
      plain->insertPlainText(string);
    else
      plain->setPlainText(replace ? string : plain->toPlainText() + string);
    plain->moveCursor(QTextCursor::End);
    scrollToEnd(plain);
  }
}

// Draws the rows of a table that does its own drawing: the row background, then each cell as
// text in its column's colour and font. Selection is left to the model's own colours.
class TableRowDelegate : public QStyledItemDelegate {
public:
  explicit TableRowDelegate(NSTableViewExt *table) : QStyledItemDelegate(table), table_(table) {}
  void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    if (table_->bUseSystemDraw_) {
      QStyledItemDelegate::paint(p, option, index);
      return;
    }
    const QVariant bg = index.data(Qt::BackgroundRole);
    p->fillRect(option.rect, bg.canConvert<QBrush>() && bg.value<QBrush>().style() != Qt::NoBrush
                                 ? bg.value<QBrush>()
                                 : option.palette.brush(QPalette::Base));
    QColor fg = table_->foreGroundColorOfColumn(index.column());
    if (!fg.isValid()) {
      const QVariant role = index.data(Qt::ForegroundRole);
      fg = role.canConvert<QBrush>() ? role.value<QBrush>().color() : option.palette.color(QPalette::Text);
    }
    p->setPen(fg);
    p->setFont(table_->fontOfColumn(index.column()));
    const QRect r = option.rect.adjusted(6, 0, -6, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                p->fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
  }

private:
  NSTableViewExt *table_;
};

NSTableViewExt::NSTableViewExt(QWidget *parent) : QTableView(parent) {
  setItemDelegate(new TableRowDelegate(this));
  setMouseTracking(true);
}

NSTableViewExt::~NSTableViewExt() {
  NotificationCenter::defaultCenter().removeObserver(this);
}

void NSTableViewExt::setUseSystemDraw(bool on) {
  bUseSystemDraw_ = on;
  setShowGrid(on);
  viewport()->update();
}

void NSTableViewExt::setMouseMovedNotification(const QString &name) {
  if (name.isEmpty())
    return;
  NotificationCenter &nc = NotificationCenter::defaultCenter();
  if (!mouseMovedNotification_.isEmpty())
    nc.removeObserver(this, mouseMovedNotification_);
  mouseMovedNotification_ = name;
  nc.addObserver(this, name, nullptr, [this](const Notification &n) { superWindowMouseMoved(n); });
}

void NSTableViewExt::superWindowMouseMoved(const Notification &n) {
  const QVariant event = n.userInfo.value(QStringLiteral("theEvent"));
  if (event.canConvert<QPointF>())
    processMouseEvent(event.toPointF());
}

void NSTableViewExt::setForeGroundColor(const QColor &color, int column) {
  if (!color.isValid() || !model() || column < 0 || column >= model()->columnCount())
    return;
  columnForeGroundColorSet_.insert(QString::number(column), color);
  viewport()->update();
}

void NSTableViewExt::setFont(const QFont &font, int column) {
  if (!model() || column < 0 || column >= model()->columnCount())
    return;
  columnFontSet_.insert(QString::number(column), font);
  viewport()->update();
}

QColor NSTableViewExt::foreGroundColorOfColumn(int column) const {
  return columnForeGroundColorSet_.value(QString::number(column));
}

QFont NSTableViewExt::fontOfColumn(int column) const {
  return columnFontSet_.value(QString::number(column), font());
}

void NSTableViewExt::processMouseEvent(const QPointF &globalPosition) {
  QAbstractItemModel *source = model();
  if (!source)
    return;
  const auto [row, column] = tableViewRowAndColumnOfEvent(globalPosition, this);
  auto *told = dynamic_cast<TableViewExtSource *>(source);
  if (row != lastFocusedRow_) {
    lastFocusedRow_ = row;
    if (told)
      told->tableViewExt(this, row);
    viewport()->update();
  }
  if (column != lastFocusedColumn_) {
    lastFocusedColumn_ = column;
    if (told)
      told->tableViewExt(this, row, column);
  }
}

int NSTableViewExt::selectedRow() const {
  if (!mouseMovedNotification_.isEmpty())
    return lastFocusedRow_;
  const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  if (!rows.isEmpty())
    return rows.first().row();
  return currentIndex().isValid() && selectionModel() && selectionModel()->isSelected(currentIndex())
             ? currentIndex().row()
             : -1;
}

void NSTableViewExt::mouseMoveEvent(QMouseEvent *event) {
  // The table follows the pointer itself too, so it works without a window posting moves.
  if (!mouseMovedNotification_.isEmpty())
    processMouseEvent(event->globalPosition());
  QTableView::mouseMoveEvent(event);
}

void NSTableViewExt::leaveEvent(QEvent *event) {
  if (!mouseMovedNotification_.isEmpty())
    processMouseEvent(QPointF(-1e6, -1e6));
  QTableView::leaveEvent(event);
}

NSOutlineViewExt::NSOutlineViewExt(QWidget *parent) : QTreeView(parent) {}

void NSOutlineViewExt::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::RightButton) {
    QTreeView::mousePressEvent(event);
    return;
  }
  const QModelIndex index = indexAt(event->position().toPoint());
  itemAtMouseRightDown_ = index;
  rowAtMouseRightDown_ = index.isValid() ? index.row() : -1;
  if (index.isValid() && selectionModel() && !selectionModel()->isRowSelected(index.row(), index.parent())) {
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    NotificationCenter::defaultCenter().postNotificationName(
        QStringLiteral("NSOutlineViewSelectionIsChangingNotification"), this);
  }
  event->accept();
}

void NSOutlineViewExt::contextMenuEvent(QContextMenuEvent *event) {
  if (!indexAt(viewport()->mapFromGlobal(event->globalPos())).isValid()) {
    event->accept(); // nothing under the pointer: no menu
    return;
  }
  if (menu_) {
    menu_->popup(event->globalPos());
    emit contextMenuShown(menu_);
    event->accept();
    return;
  }
  QTreeView::contextMenuEvent(event);
}
