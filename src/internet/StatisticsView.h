#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>
#include <array>

// The speed samples of the connection, once a second while connected: every graph that follows
// them (the Internet tab's and the Statistics tab's) draws the same lines.
class SpeedSamples : public QObject {
  Q_OBJECT
public:
  static SpeedSamples *shared();
  void add(float upload, float download) { emit added(upload, download); }
  void clear() { emit cleared(); }

signals:
  void added(float upload, float download);
  void cleared();
};

// The speed graph: the upload and download speeds of the last 50 samples as two lines over a
// grid whose scale follows the largest speed shown: fine steps for the few KB/s of a slow link
// (1.2, 2.4, 6, 12, 24, 36, 48), then 60, 120, ... 7200. Geometry follows the bottom-left origin
// of the design (x right, y up) and is flipped once when drawing.
class statisticsView : public QWidget {
  Q_OBJECT
public:
  static constexpr int kMaxPoints = 50;
  static constexpr int kFineRulerCount = 7;
  static constexpr int kRulerCount = kFineRulerCount + 120;

  explicit statisticsView(QWidget *parent = nullptr);

  // Adds a sample (in the caller's unit, KB/s or kbit/s).
  void setSpeedPointSend(float upload, float download);
  // Clears the graph; the scale stays until the next sample.
  void setUndisplay();
  // Draws the shared samples of the connection from now on.
  void followSharedSamples();
  bool followsSharedSamples() const { return followsShared_; }

  // Reads the colours and the font from the settings again.
  void loadStatisticsColorValue();
  void loadStatisticsTextFont();

  int pointCount() const { return pointCount_; }
  int currentRulerPos() const { return currentRulerPos_; }
  float rulerValue() const { return rulerSpeedArray_[size_t(std::min(currentRulerPos_, kRulerCount - 1))]; }
  bool speedUnitFlag() const { return speedUnitFlag_; }
  float upSpeedSample(int slot) const { return upSpeed[size_t(slot)]; }
  float downSpeedSample(int slot) const { return downSpeed[size_t(slot)]; }
  float maxUpSpeedValue() const { return maxUpSpeed; }
  float maxDownSpeedValue() const { return maxDownSpeed; }
  // The 13 axis labels and the two legend texts as drawn now.
  QStringList axisLabels() const;
  QStringList legendLabels() const;
  QColor upSpeedColor() const { return upSpeedColor_; }
  QColor downSpeedColor() const { return downSpeedColor_; }
  QColor backgroundColor() const { return backgroundColor_; }
  QColor coordinateColor() const { return coordinateColor_; }
  QString textFont() const { return textFont_; }
  int textSize() const { return textSize_; }

  QSize sizeHint() const override { return {420, 220}; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void addSpeedPoint();
  void setSpeedPointsWithRuler(float scale);

  float rectWidth = 0;
  float rectHight = 0;
  std::array<qreal, 2> dashArray{1.0, 6.0};
  QColor upSpeedColor_, downSpeedColor_, backgroundColor_, coordinateColor_;
  QString textFont_;
  std::array<QPointF, kMaxPoints> upSpeedPoint{}, downSpeedPoint{};
  std::array<float, kMaxPoints> upSpeed{}, downSpeed{};
  int pointCount_ = 0;
  // Before the first sample: 120.
  int currentRulerPos_ = kFineRulerCount + 1;
  bool followsShared_ = false;
  int relativeX = 35;
  int relativeY = 30;
  int textY_ = 5;
  int textSize_ = 11;
  float standard = 0;
  float addx = 0;
  float maxUpSpeed = 0;
  float maxDownSpeed = 0;
  std::array<float, kRulerCount> rulerSpeedArray_{};
  bool speedUnitFlag_ = false;
};
