#include "FlowRow.h"

#include <QWidget>

FlowRow::FlowRow(QWidget *parent, int spacing) : QLayout(parent) {
  setSpacing(spacing);
  setContentsMargins(0, 0, 0, 0);
}

FlowRow::~FlowRow() {
  while (QLayoutItem *item = takeAt(0))
    delete item;
}

void FlowRow::addItem(QLayoutItem *item) {
  items_ << item;
}

QLayoutItem *FlowRow::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize FlowRow::minimumSize() const {
  // The widest single item: any narrower and it would be cut.
  QSize size;
  for (const QLayoutItem *item : items_)
    if (!item->isEmpty())
      size = size.expandedTo(item->minimumSize().expandedTo(item->sizeHint()));
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowRow::sizeHint() const {
  // All in one row.
  int width = 0;
  int height = 0;
  for (const QLayoutItem *item : items_) {
    if (item->isEmpty())
      continue;
    width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins m = contentsMargins();
  return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowRow::setGeometry(const QRect &rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

int FlowRow::arrange(const QRect &rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x();
  int y = area.y();
  int rowHeight = 0;
  for (QLayoutItem *item : items_) {
    if (item->isEmpty())
      continue;
    const QSize size = item->sizeHint();
    if (x > area.x() && x + size.width() > area.right() + 1) {
      x = area.x();
      y += rowHeight + spacing();
      rowHeight = 0;
    }
    if (place)
      item->setGeometry(QRect(QPoint(x, y), size));
    x += size.width() + spacing();
    rowHeight = std::max(rowHeight, size.height());
  }
  return y + rowHeight - rect.y() + contentsMargins().bottom();
}
