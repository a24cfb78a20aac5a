#include "SkinCanvas.h"

#include <QPainter>
#include <QResizeEvent>
#include <qdrawutil.h>

SkinCanvas::SkinCanvas(const QImage &background, int titleBandHeight, QWidget *parent)
    : QWidget(parent), background_(background), titleBandHeight_(std::max(0, titleBandHeight)) {
  setObjectName(QStringLiteral("wndMainContent"));
  const qreal ratio = std::max<qreal>(1.0, background_.devicePixelRatio());
  const QSize size = (background_.size() / ratio);
  skinSize_ = QSize(size.width(), std::max(0, size.height() - titleBandHeight_));
  setMinimumSize(skinSize_);
  resize(skinSize_);
}

void SkinCanvas::paintEvent(QPaintEvent *) {
  QPainter p(this);
  if (background_.isNull())
    return;
  const qreal ratio = std::max<qreal>(1.0, background_.devicePixelRatio());
  // The picture without its title band, in device pixels.
  const int band = int(titleBandHeight_ * ratio);
  const QPixmap picture =
      QPixmap::fromImage(background_.copy(0, band, background_.width(), background_.height() - band));
  if (size() == skinSize_ || borders_.isNull()) {
    p.drawPixmap(QRect(QPoint(0, 0), size() == skinSize_ ? skinSize_ : size()), picture);
    return;
  }
  const QMargins source(int(borders_.left() * ratio), int(borders_.top() * ratio), int(borders_.right() * ratio),
                        int(borders_.bottom() * ratio));
  qDrawBorderPixmap(&p, rect(), borders_, picture, picture.rect(), source);
}

void SkinCanvas::growWithSize() {
  // Installed after the skin's own placement filter, so it sees a resize first: the parts are
  // still where the skin put them.
  installEventFilter(this);
}

bool SkinCanvas::eventFilter(QObject *watched, QEvent *event) {
  if (watched == this && event->type() == QEvent::Resize && layout_.isEmpty())
    layout_.remember(this, static_cast<QResizeEvent *>(event)->oldSize().isValid()
                               ? static_cast<QResizeEvent *>(event)->oldSize()
                               : skinSize_);
  return QWidget::eventFilter(watched, event);
}

void SkinCanvas::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  layout_.apply();
}
