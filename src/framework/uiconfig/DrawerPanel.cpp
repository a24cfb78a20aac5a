#include "DrawerPanel.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QVBoxLayout>

DrawerPanel::DrawerPanel(const QSize &contentSize, Edge preferredEdge, QWidget *parentWindow)
    : QWidget(parentWindow), contentSize_(contentSize), edge_(preferredEdge),
      animation_(new QPropertyAnimation(this, "geometry", this)) {
  setAutoFillBackground(true);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  animation_->setDuration(150);
  hide();
  if (parentWindow)
    parentWindow->installEventFilter(this);
}

void DrawerPanel::setContentView(QWidget *view) {
  if (contentView_ == view)
    return;
  if (contentView_)
    layout()->removeWidget(contentView_);
  contentView_ = view;
  if (view)
    layout()->addWidget(view);
}

void DrawerPanel::setParentWindow(QWidget *window) {
  if (parentWidget() == window)
    return;
  if (parentWidget())
    parentWidget()->removeEventFilter(this);
  const bool wasOpen = open_;
  setParent(window);
  if (window)
    window->installEventFilter(this);
  open_ = false;
  hide();
  if (wasOpen && window)
    open();
}

void DrawerPanel::setContentSize(const QSize &size) {
  contentSize_ = size;
  relayout();
}
void DrawerPanel::setMinContentSize(const QSize &size) {
  minContentSize_ = size;
  relayout();
}
void DrawerPanel::setMaxContentSize(const QSize &size) {
  maxContentSize_ = size;
  relayout();
}
void DrawerPanel::setLeadingOffset(int offset) {
  leadingOffset_ = qMax(0, offset);
  relayout();
}
void DrawerPanel::setTrailingOffset(int offset) {
  trailingOffset_ = qMax(0, offset);
  relayout();
}

QRect DrawerPanel::openGeometry() const {
  const QWidget *w = parentWidget();
  if (!w)
    return {};
  const QSize bounded = contentSize_.expandedTo(minContentSize_).boundedTo(maxContentSize_);
  const int width = w->width();
  const int height = w->height();
  switch (edge_) {
  case LeftEdge:
  case RightEdge: {
    const int h = qMax(0, height - leadingOffset_ - trailingOffset_);
    const int x = edge_ == RightEdge ? width - bounded.width() : 0;
    return QRect(x, leadingOffset_, bounded.width(), h);
  }
  case TopEdge:
  case BottomEdge: {
    const int wd = qMax(0, width - leadingOffset_ - trailingOffset_);
    const int y = edge_ == BottomEdge ? height - bounded.height() : 0;
    return QRect(leadingOffset_, y, wd, bounded.height());
  }
  }
  return {};
}

QRect DrawerPanel::closedGeometry() const {
  QRect r = openGeometry();
  switch (edge_) {
  case RightEdge:
    r.moveLeft(r.left() + r.width());
    r.setWidth(0);
    break;
  case LeftEdge:
    r.setWidth(0);
    break;
  case BottomEdge:
    r.moveTop(r.top() + r.height());
    r.setHeight(0);
    break;
  case TopEdge:
    r.setHeight(0);
    break;
  }
  return r;
}

void DrawerPanel::relayout() {
  if (open_ && animation_->state() != QAbstractAnimation::Running)
    setGeometry(openGeometry());
}

void DrawerPanel::slideTo(const QRect &target, bool hideAtEnd) {
  animation_->stop();
  disconnect(animation_, &QPropertyAnimation::finished, this, nullptr);
  animation_->setStartValue(geometry());
  animation_->setEndValue(target);
  connect(animation_, &QPropertyAnimation::finished, this, [this, hideAtEnd] {
    if (hideAtEnd)
      hide();
  });
  animation_->start();
}

void DrawerPanel::open() {
  if (open_ || !parentWidget())
    return;
  open_ = true;
  setGeometry(closedGeometry());
  show();
  raise();
  slideTo(openGeometry(), false);
}

void DrawerPanel::close() {
  if (!open_)
    return;
  open_ = false;
  slideTo(closedGeometry(), true);
}

DrawerPanel::State DrawerPanel::state() const {
  const bool sliding = animation_->state() == QAbstractAnimation::Running;
  if (open_)
    return sliding ? OpeningState : OpenState;
  return sliding ? ClosingState : ClosedState;
}

void DrawerPanel::toggle() {
  open_ ? close() : open();
}

bool DrawerPanel::eventFilter(QObject *watched, QEvent *event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize)
    relayout();
  return QWidget::eventFilter(watched, event);
}
