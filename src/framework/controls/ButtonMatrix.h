#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>
#include <QList>
#include <QVariantList>
#include <QWidget>
#include <functional>

// A grid of button cells laid out row by row; in radio mode exactly one cell is on.
class ButtonMatrix : public QWidget {
  Q_OBJECT
public:
  enum Mode { RadioMode = 0, HighlightMode = 1, ListMode = 2, TrackMode = 3 };
  explicit ButtonMatrix(QWidget *parent = nullptr);

  void setMode(Mode mode);
  Mode mode() const { return mode_; }
  // Makes a rows x columns grid of cells from `factory` (radio buttons when none is given).
  void renewRows(int rows, int columns);
  void setCellFactory(std::function<QAbstractButton *(QWidget *)> factory) { factory_ = std::move(factory); }
  int numberOfRows() const { return rows_; }
  int numberOfColumns() const { return columns_; }
  QAbstractButton *cellAtRow(int row, int column) const;
  QList<QAbstractButton *> cells() const { return cells_; }
  void setCellSize(const QSize &size);
  // Widens the cells to the widest cell's title (never narrows them), so that a worded title is
  // not cut; a matrix whose least size was its size keeps that rule.
  void fitCellsToTitles();
  QSize cellSize() const { return cellSize_; }
  void setIntercellSpacing(const QSize &spacing);
  QRect cellFrameAtRow(int row, int column) const;
  int selectedIndex() const; // -1 when no cell is on
  void sizeToCells();

signals:
  void cellActivated(int row, int column);

protected:
  void layoutCells();

private:
  Mode mode_ = RadioMode;
  int rows_ = 0, columns_ = 0;
  QSize cellSize_{80, 20};
  QSize spacing_{4, 4};
  QList<QAbstractButton *> cells_;
  QButtonGroup group_;
  std::function<QAbstractButton *(QWidget *)> factory_;
};

// A matrix of image cells: entries {"Index", "Image" (file path)} pick each cell's picture; a
// click selects the cell under the pointer, draws it highlighted and sends the action.
class IconMatrix : public ButtonMatrix {
  Q_OBJECT
public:
  explicit IconMatrix(QWidget *parent = nullptr);
  const QVariantList &list() const { return list_; }
  void setList(const QVariantList &list) { list_ = list; }
  int curcellIndex() const { return curcellIndex_; }
  void setCurcellIndex(int index);
  void refresh();
  // The first cell, row by row, whose frame contains `point`; false (-1, -1) when none.
  bool findClickedPoint(const QPoint &point, int *row, int *column) const;
  // The cell of an index: row = index / columns, column = index % columns.
  static void cellOfIndex(int index, int columns, int *row, int *column);

signals:
  void action(IconMatrix *sender);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  QVariantList list_;
  int curcellIndex_ = -1;
};
