#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

// An endless animation that reports every frame. Frames come from a timer on the thread that
// owns the animation (the main thread for every animation of the program), never from a thread
// of its own, so a frame handler may touch widgets.
class MyAnimation : public QObject {
  Q_OBJECT
public:
  static constexpr double kDefaultDurationSeconds = 10000000.0;
  static constexpr double kDefaultFrameRate = 2.0;

  explicit MyAnimation(QObject *parent = nullptr);

  void setDuration(double seconds) { duration_ = seconds; }
  double duration() const { return duration_; }
  void setFrameRate(double framesPerSecond);
  double frameRate() const { return frameRate_; }

  void startAnimation();
  void stopAnimation();
  bool isAnimating() const { return timer_.isActive(); }
  // The share of the duration that has passed, from 0 to 1.
  double currentProgress() const;

  // Called on every frame with the current progress.
  std::function<void(double)> onFrame;

private:
  void frame();

  double duration_ = kDefaultDurationSeconds;
  double frameRate_ = kDefaultFrameRate;
  QTimer timer_;
  QElapsedTimer clock_;
};
