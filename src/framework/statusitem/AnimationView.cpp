#include "AnimationView.h"

#include "StatusBarView.h"

#include <QMouseEvent>
#include <QPainter>

AnimationView::AnimationView(QWidget *parent) : QWidget(parent) {
  m_animation.onFrame = [this](double progress) { animationDidReachProgressMark(progress); };
}

QStringList AnimationView::frameNames(const QString &name) {
  if (name.isEmpty())
    return {};
  const QString base = name.chopped(1);
  return {name, base + QLatin1Char('2'), base + QLatin1Char('3'), base + QLatin1Char('4')};
}

void AnimationView::setImagePath(const QString &name) {
  if (name == m_imagePath)
    return;
  m_imagePath = name;
  buildImages();
}

void AnimationView::buildImages() {
  const QStringList names = frameNames(m_imagePath);
  for (int i = 0; i < 4; ++i)
    images_[i] = i < names.size() ? StatusImages::imageNamed(names.at(i)) : QImage();
}

void AnimationView::startAnimation() {
  m_index = 3;
  show();
  m_animation.startAnimation();
}

void AnimationView::stopAnimation() {
  m_animation.stopAnimation();
  hide();
}

void AnimationView::stopAnimationWhenMinimizeWnd() {
  m_animation.stopAnimation();
}

void AnimationView::animationDidReachProgressMark(double) {
  m_index = (m_index + 1) % 4;
  repaint();
}

void AnimationView::mousePressEvent(QMouseEvent *event) {
  QWidget::mousePressEvent(event);
  stopAnimation();
  emit activated();
}

void AnimationView::paintEvent(QPaintEvent *) {
  const QImage &image = images_[size_t(m_index) % images_.size()];
  if (image.isNull())
    return;
  QPainter painter(this);
  painter.drawImage(rect(), image);
}
