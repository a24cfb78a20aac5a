#include "NSViewExt.h"

#include "CocoaExt.h"

#include <QPainter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>

NSViewExt::NSViewExt(QWidget *parent) : QWidget(parent) {}

void NSViewExt::setImage(const QImage &image) {
  backGroundImage_ = image;
  update();
}

void NSViewExt::paintEvent(QPaintEvent *event) {
  if (backGroundImage_.isNull()) {
    QWidget::paintEvent(event);
    return;
  }
  // A translucent top-level window starts every paint from a clear backing store, so the image's
  // transparent parts show the desktop without clearing here; a child view draws over its parent.
  QPainter p(this);
  p.drawImage(QPointF(0, 0), backGroundImage_);
}

ImageView::ImageView(QWidget *parent) : QWidget(parent) {}

void ImageView::setImage(const QImage &image) {
  image_ = image;
  updateGeometry();
  update();
}

QSize ImageView::sizeHint() const {
  return image_.isNull() ? QSize(1, 1) : NSImageExt::logicalSize(image_).toSize();
}

void ImageView::paintEvent(QPaintEvent *) {
  if (image_.isNull())
    return;
  QPainter p(this);
  const QSizeF s = NSImageExt::logicalSize(image_);
  p.drawImage(QPointF((width() - s.width()) / 2.0, (height() - s.height()) / 2.0), image_);
}

TabViewItem::TabViewItem(const QString &identifier, QWidget *parent) : QWidget(parent) {
  setIdentifier(identifier);
}

QString TabViewItem::identifier() const {
  return property("itemIdentifier").toString();
}
void TabViewItem::setIdentifier(const QString &identifier) {
  setProperty("itemIdentifier", identifier);
}

void TabViewItem::setItemHidden(bool hidden) {
  itemHidden_ = hidden;
  auto *stack = qobject_cast<QStackedWidget *>(parentWidget());
  auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
  if (tabs && tabs->indexOf(this) >= 0)
    tabs->setTabVisible(tabs->indexOf(this), !hidden);
  else
    setHidden(hidden);
}
