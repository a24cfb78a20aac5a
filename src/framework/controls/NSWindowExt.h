#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class NSViewExt;

// Borderless, transparent top-level windows that the user drags by their background. The
// content view is an NSViewExt filling the window; the skin gives it its image and size.
class NSWindowExt : public QWidget {
  Q_OBJECT
public:
  explicit NSWindowExt(QWidget *parent = nullptr);
  NSViewExt *contentView() const { return contentView_; }
  // Always true: a borderless window still takes the keyboard.
  bool canBecomeKeyWindow() const { return true; }
  // Posts "superWindowMouseMoved" (user info {"theEvent": global position as QPointF}) for
  // pointer moves anywhere in the window while on.
  void setAcceptsMouseMovedEvents(bool on);

  // Where a drag puts the window's top-left corner: the pointer minus where it grabbed the
  // window, never with the top above the screen's available area.
  static QPoint draggedOrigin(const QPoint &globalPointer, const QPoint &initialLocation, const QRect &available);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  // Flags of the window kind; NSPanelExt makes a tool window.
  explicit NSWindowExt(Qt::WindowFlags extra, QWidget *parent);

private:
  void clampToVisibleTop();
  NSViewExt *contentView_ = nullptr;
  QPoint initialLocation_;
  bool bMouseDown_ = false;
  bool systemMove_ = false;
  bool mouseMoved_ = false;
};

// A floating utility panel with the same borderless dragging.
class NSPanelExt : public NSWindowExt {
  Q_OBJECT
public:
  explicit NSPanelExt(QWidget *parent = nullptr);
};

// A borderless window without shadow, shown as a sheet over its parent.
class NSSheetWindow : public QWidget {
  Q_OBJECT
public:
  explicit NSSheetWindow(QWidget *parent = nullptr);
};
