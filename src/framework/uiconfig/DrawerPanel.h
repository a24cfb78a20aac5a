#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

class QPropertyAnimation;

// A side panel that slides out of an edge of its window (inside it, not as a window of its own).
// Sizes follow the drawer of the desktop this program came from: a content size bounded by a
// minimum and a maximum, and leading/trailing offsets that keep the panel clear of the window's
// title and bottom bars.
class DrawerPanel : public QWidget {
  Q_OBJECT
public:
  enum Edge { LeftEdge = 0, BottomEdge = 1, RightEdge = 2, TopEdge = 3 };

  explicit DrawerPanel(const QSize &contentSize, Edge preferredEdge, QWidget *parentWindow = nullptr);

  void setContentView(QWidget *view);
  QWidget *contentView() const { return contentView_; }
  void setParentWindow(QWidget *window);
  QWidget *parentWindow() const { return parentWidget(); }

  QSize contentSize() const { return contentSize_; }
  void setContentSize(const QSize &size);
  void setMinContentSize(const QSize &size);
  void setMaxContentSize(const QSize &size);
  QSize minContentSize() const { return minContentSize_; }
  QSize maxContentSize() const { return maxContentSize_; }
  void setLeadingOffset(int offset);
  void setTrailingOffset(int offset);
  int leadingOffset() const { return leadingOffset_; }
  int trailingOffset() const { return trailingOffset_; }
  Edge edge() const { return edge_; }

  // The drawer's four states; a slide in progress is opening or closing until it ends.
  enum State { ClosedState = 0, OpeningState = 1, OpenState = 2, ClosingState = 3 };
  State state() const;
  bool isOpen() const { return open_; }
  // The geometry the panel takes in its window when open.
  QRect openGeometry() const;

public slots:
  void open();
  void close();
  void toggle();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QRect closedGeometry() const;
  void relayout();
  void slideTo(const QRect &target, bool hideAtEnd);

  QPointer<QWidget> contentView_;
  QSize contentSize_;
  QSize minContentSize_{0, 0};
  QSize maxContentSize_{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  int leadingOffset_ = 0;
  int trailingOffset_ = 0;
  Edge edge_;
  bool open_ = false;
  QPropertyAnimation *animation_;
};
