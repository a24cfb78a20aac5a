#include "NSWindowExt.h"

#include "NSViewExt.h"
#include "NotificationCenter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace {
QRect availableArea(const QWidget *w) {
  QScreen *s = w->screen();
  if (!s)
    s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect();
}
} // namespace

NSWindowExt::NSWindowExt(QWidget *parent) : NSWindowExt(Qt::Window, parent) {}

NSWindowExt::NSWindowExt(Qt::WindowFlags extra, QWidget *parent) : QWidget(parent, extra | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground);
  contentView_ = new NSViewExt(this);
  contentView_->setObjectName(QStringLiteral("contentView"));
}

NSPanelExt::NSPanelExt(QWidget *parent) : NSWindowExt(Qt::Tool, parent) {}

NSSheetWindow::NSSheetWindow(QWidget *parent)
    : QWidget(parent, Qt::Sheet | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground);
}

QPoint NSWindowExt::draggedOrigin(const QPoint &globalPointer, const QPoint &initialLocation, const QRect &available) {
  QPoint origin = globalPointer - initialLocation;
  if (available.isValid() && origin.y() < available.top())
    origin.setY(available.top());
  return origin;
}

void NSWindowExt::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  initialLocation_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
  bMouseDown_ = true;
  // The window manager moves the window when it can; otherwise the drag is ours.
  systemMove_ = windowHandle() && windowHandle()->startSystemMove();
  event->accept();
}

void NSWindowExt::mouseMoveEvent(QMouseEvent *event) {
  if (bMouseDown_ && !systemMove_ && (event->buttons() & Qt::LeftButton)) {
    move(draggedOrigin(event->globalPosition().toPoint(), initialLocation_, availableArea(this)));
    event->accept();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void NSWindowExt::mouseReleaseEvent(QMouseEvent *event) {
  bMouseDown_ = false;
  systemMove_ = false;
  QWidget::mouseReleaseEvent(event);
}

void NSWindowExt::moveEvent(QMoveEvent *event) {
  QWidget::moveEvent(event);
  // A move by the window manager cannot be bounded while it runs; pull the top back after.
  if (systemMove_)
    clampToVisibleTop();
}

void NSWindowExt::clampToVisibleTop() {
  const QRect area = availableArea(this);
  if (area.isValid() && frameGeometry().top() < area.top())
    move(x(), area.top());
}

void NSWindowExt::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  contentView_->setGeometry(rect());
}

void NSWindowExt::setAcceptsMouseMovedEvents(bool on) {
  if (on == mouseMoved_)
    return;
  mouseMoved_ = on;
  if (on) {
    // Moves without a pressed button reach only widgets that track the mouse.
    setMouseTracking(true);
    for (QWidget *w : findChildren<QWidget *>())
      w->setMouseTracking(true);
    qApp->installEventFilter(this);
  } else
    qApp->removeEventFilter(this);
}

bool NSWindowExt::eventFilter(QObject *watched, QEvent *event) {
  if (mouseMoved_ && event->type() == QEvent::MouseMove) {
    auto *w = qobject_cast<QWidget *>(watched);
    if (w && w->window() == this) {
      const auto *me = static_cast<QMouseEvent *>(event);
      NotificationCenter::defaultCenter().postNotificationName(
          QStringLiteral("superWindowMouseMoved"), nullptr,
          {{QStringLiteral("theEvent"), QVariant::fromValue(me->globalPosition())}});
    }
  }
  return QWidget::eventFilter(watched, event);
}
