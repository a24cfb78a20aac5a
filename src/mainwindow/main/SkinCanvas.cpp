#include "SkinCanvas.h"

#include <QPainter>

SkinCanvas::SkinCanvas(const QImage &background, int titleBandHeight, QWidget *parent)
    : QWidget(parent), background_(background) {
  setObjectName(QStringLiteral("wndMainContent"));
  const qreal ratio = std::max<qreal>(1.0, background_.devicePixelRatio());
  const QSize size = (background_.size() / ratio);
  setFixedSize(size.width(), std::max(0, size.height() - titleBandHeight));
}

void SkinCanvas::paintEvent(QPaintEvent *) {
  QPainter p(this);
  if (background_.isNull())
    return;
  const qreal ratio = std::max<qreal>(1.0, background_.devicePixelRatio());
  const int imageHeight = int(background_.height() / ratio);
  p.drawImage(QPointF(0, height() - imageHeight), background_);
}
