#include "MyAnimation.h"

MyAnimation::MyAnimation(QObject *parent) : QObject(parent) {
  timer_.setTimerType(Qt::CoarseTimer);
  connect(&timer_, &QTimer::timeout, this, &MyAnimation::frame);
  setFrameRate(kDefaultFrameRate);
}

void MyAnimation::setFrameRate(double framesPerSecond) {
  frameRate_ = framesPerSecond > 0 ? framesPerSecond : kDefaultFrameRate;
  timer_.setInterval(qMax(1, int(1000.0 / frameRate_)));
}

void MyAnimation::startAnimation() {
  clock_.start();
  timer_.start();
}

void MyAnimation::stopAnimation() {
  timer_.stop();
}

double MyAnimation::currentProgress() const {
  if (!clock_.isValid() || duration_ <= 0)
    return 0.0;
  return qMin(1.0, double(clock_.elapsed()) / 1000.0 / duration_);
}

void MyAnimation::frame() {
  const double progress = currentProgress();
  if (progress >= 1.0)
    timer_.stop();
  if (onFrame)
    onFrame(progress);
}
