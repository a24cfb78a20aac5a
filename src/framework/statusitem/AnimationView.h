#pragma once

#include "MyAnimation.h"

#include <QImage>
#include <QWidget>
#include <array>

// A small blinking picture in a window (the new-message hint): four frames named from one image
// name, shown in turn while animating, hidden when stopped. A click stops it and reports
// `activated` (the owner then shows what the hint is about).
class AnimationView : public QWidget {
  Q_OBJECT
public:
  explicit AnimationView(QWidget *parent = nullptr);

  // "hint1" gives the frames "hint1", "hint2", "hint3", "hint4".
  void setImagePath(const QString &name);
  QString getImagePath() const { return m_imagePath; }
  void buildImages();
  static QStringList frameNames(const QString &name);
  const std::array<QImage, 4> &images() const { return images_; }

  void startAnimation();
  void stopAnimation();
  void stopAnimationWhenMinimizeWnd();
  bool isAnimating() const { return m_animation.isAnimating(); }
  int currentIndex() const { return m_index; }

  // One frame (public for tests: the animation's timer calls it).
  void animationDidReachProgressMark(double progress);

signals:
  void activated();

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  MyAnimation m_animation;
  QString m_imagePath;
  std::array<QImage, 4> images_;
  int m_index = 3;
};
