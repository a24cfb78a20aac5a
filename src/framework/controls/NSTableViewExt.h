#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <QTreeView>
#include <utility>

struct Notification;

// The (row, column) under a global pointer position, each -1 when none (outside the visible
// area, or no table).
std::pair<int, int> tableViewRowAndColumnOfEvent(const QPointF &globalPosition, const QAbstractItemView *table);

// Puts `string` into a text field (QLineEdit, QTextEdit or QPlainTextEdit): while it has the
// keyboard, replaces the text or inserts at the cursor and scrolls to the end; otherwise sets
// the text or appends to it.
void setTextFieldString(QWidget *field, const QString &string, bool replace);

// What a table's model (its data source) may be told of the pointer: the row under it, and the
// column when that changes. A model that wants to know inherits this beside its model class.
class TableViewExtSource {
public:
  virtual ~TableViewExtSource() = default;
  virtual void tableViewExt(QObject *table, int row) = 0;
  virtual void tableViewExt(QObject *table, int row, int column) {
    Q_UNUSED(table);
    Q_UNUSED(row);
    Q_UNUSED(column);
  }
};

// A list that draws its own rows with per-column colours and fonts and reports the row under the
// pointer to its model when the model is a TableViewExtSource.
class NSTableViewExt : public QTableView {
  Q_OBJECT
public:
  explicit NSTableViewExt(QWidget *parent = nullptr);
  ~NSTableViewExt() override;

  void setUseSystemDraw(bool on);
  bool useSystemDraw() const { return bUseSystemDraw_; }
  // Observes the named notification (user info "theEvent": a global position) to follow the
  // pointer; an empty name changes nothing.
  void setMouseMovedNotification(const QString &name);
  QString mouseMovedNotification() const { return mouseMovedNotification_; }

  // Ignored for an invalid value or a column not below the number of columns.
  void setForeGroundColor(const QColor &color, int column);
  void setFont(const QFont &font, int column);
  using QTableView::setFont;
  QColor foreGroundColorOfColumn(int column) const;
  QFont fontOfColumn(int column) const; // the view's font when none is set

  void processMouseEvent(const QPointF &globalPosition);
  void superWindowMouseMoved(const Notification &notification);
  // The row last under the pointer while following it; otherwise the selected row (-1 if none).
  int selectedRow() const;
  int lastFocusedRow() const { return lastFocusedRow_; }

protected:
  void mouseMoveEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;

private:
  QString mouseMovedNotification_;
  QHash<QString, QFont> columnFontSet_;
  QHash<QString, QColor> columnForeGroundColorSet_;
  int lastFocusedRow_ = -1;
  int lastFocusedColumn_ = -1;
  bool bUseSystemDraw_ = true;
  friend class TableRowDelegate;
};

// An outline view whose right click first selects the row under the pointer; on empty space it
// changes nothing and shows no menu.
class NSOutlineViewExt : public QTreeView {
  Q_OBJECT
public:
  explicit NSOutlineViewExt(QWidget *parent = nullptr);
  QModelIndex itemAtMouseRightDown() const { return itemAtMouseRightDown_; }
  int rowAtMouseRightDown() const { return rowAtMouseRightDown_; }
  void setMenu(QMenu *menu) { menu_ = menu; }
  QMenu *menu() const { return menu_; }

signals:
  void contextMenuShown(QMenu *menu);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  QPersistentModelIndex itemAtMouseRightDown_;
  int rowAtMouseRightDown_ = -1;
  QPointer<QMenu> menu_;
};
