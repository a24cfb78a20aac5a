#include "ButtonMatrix.h"

#include "CocoaExt.h"
#include "NSButtonExt.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <functional>

ButtonMatrix::ButtonMatrix(QWidget *parent) : QWidget(parent) {
  group_.setExclusive(true);
}

void ButtonMatrix::setMode(Mode mode) {
  mode_ = mode;
  group_.setExclusive(mode == RadioMode);
}

void ButtonMatrix::renewRows(int rows, int columns) {
  qDeleteAll(cells_);
  cells_.clear();
  rows_ = qBound(0, rows, 256);
  columns_ = qBound(0, columns, 256);
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      QAbstractButton *cell = factory_ ? factory_(this) : new QRadioButton(this);
      cell->setParent(this);
      cell->setCheckable(mode_ == RadioMode || cell->isCheckable());
      group_.addButton(cell, r * columns_ + c);
      connect(cell, &QAbstractButton::clicked, this, [this, r, c] { emit cellActivated(r, c); });
      cell->show();
      cells_ << cell;
    }
  layoutCells();
}

QAbstractButton *ButtonMatrix::cellAtRow(int row, int column) const {
  if (row < 0 || column < 0 || row >= rows_ || column >= columns_)
    return nullptr;
  return cells_.value(row * columns_ + column);
}

void ButtonMatrix::setCellSize(const QSize &size) {
  cellSize_ = size;
  layoutCells();
}

void ButtonMatrix::fitCellsToTitles() {
  int width = cellSize_.width();
  for (QAbstractButton *cell : std::as_const(cells_))
    if (cell && !cell->text().isEmpty())
      width = std::max(width, cell->sizeHint().width());
  if (width == cellSize_.width())
    return;
  const bool pinned = minimumSize() == size();
  const bool fixed = maximumSize() == size();
  if (fixed)
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setCellSize(QSize(width, cellSize_.height()));
  sizeToCells();
  if (pinned)
    setMinimumSize(size());
  if (fixed)
    setMaximumSize(size());
  updateGeometry();
}

void ButtonMatrix::setIntercellSpacing(const QSize &spacing) {
  spacing_ = spacing;
  layoutCells();
}

QRect ButtonMatrix::cellFrameAtRow(int row, int column) const {
  return QRect(column * (cellSize_.width() + spacing_.width()), row * (cellSize_.height() + spacing_.height()),
               cellSize_.width(), cellSize_.height());
}

void ButtonMatrix::layoutCells() {
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c)
      if (QAbstractButton *cell = cellAtRow(r, c))
        cell->setGeometry(cellFrameAtRow(r, c));
}

int ButtonMatrix::selectedIndex() const {
  return group_.checkedId();
}

void ButtonMatrix::sizeToCells() {
  if (rows_ == 0 || columns_ == 0)
    return;
  const QRect last = cellFrameAtRow(rows_ - 1, columns_ - 1);
  resize(last.x() + last.width(), last.y() + last.height());
}

IconMatrix::IconMatrix(QWidget *parent) : ButtonMatrix(parent) {
  setMode(HighlightMode);
  setCellFactory([](QWidget *p) {
    auto *cell = new NSButtonExt(p);
    cell->setBordered(false);
    cell->setImagePosition(NSImageOnly);
    // Clicks belong to the matrix, which knows the cell index.
    cell->setAttribute(Qt::WA_TransparentForMouseEvents);
    return cell;
  });
}

void IconMatrix::cellOfIndex(int index, int columns, int *row, int *column) {
  if (columns <= 0 || index < 0) {
    *row = -1;
    *column = -1;
    return;
  }
  *row = index / columns;
  *column = index % columns;
}

void IconMatrix::setCurcellIndex(int index) {
  curcellIndex_ = index;
  update();
}

void IconMatrix::refresh() {
  for (const QVariant &v : list_) {
    const QVariantMap entry = v.toMap();
    if (!entry.contains(QStringLiteral("Index")))
      continue;
    int row = -1, column = -1;
    cellOfIndex(entry.value(QStringLiteral("Index")).toInt(), numberOfColumns(), &row, &column);
    auto *cell = qobject_cast<NSButtonExt *>(cellAtRow(row, column));
    if (!cell || !entry.contains(QStringLiteral("Image")))
      continue;
    cell->setImage(
        NSImageExt::imageWithContentsOfFile(entry.value(QStringLiteral("Image")).toString(), devicePixelRatioF()));
  }
}

bool IconMatrix::findClickedPoint(const QPoint &point, int *row, int *column) const {
  for (int r = 0; r < numberOfRows(); ++r)
    for (int c = 0; c < numberOfColumns(); ++c)
      if (cellFrameAtRow(r, c).contains(point)) {
        *row = r;
        *column = c;
        return true;
      }
  *row = -1;
  *column = -1;
  return false;
}

void IconMatrix::mousePressEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  if (rect().contains(p)) {
    int row = -1, column = -1;
    const bool hit = findClickedPoint(p, &row, &column);
    setCurcellIndex(hit ? numberOfColumns() * row + column : -1);
    if (hit)
      emit action(this);
  }
  ButtonMatrix::mousePressEvent(event);
}

void IconMatrix::paintEvent(QPaintEvent *event) {
  QPainter p(this);
  int row = -1, column = -1;
  if (curcellIndex_ >= 0) {
    cellOfIndex(curcellIndex_, numberOfColumns(), &row, &column);
    if (cellAtRow(row, column)) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(Qt::NoPen);
      p.setBrush(palette().color(QPalette::Highlight));
      p.drawRoundedRect(QRectF(cellFrameAtRow(row, column)).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
  }
  ButtonMatrix::paintEvent(event);
}
