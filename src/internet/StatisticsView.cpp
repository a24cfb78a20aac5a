#include "StatisticsView.h"

#include "CocoaExt.h"
#include "ConfigService.h"
#include "RecordFormats.h"
#include "WordGlobe.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QColor settingColor(const QString &key, const QColor &fallback) {
  const QColor c =
      NSColorExt::colorWithNSString(ConfigService::readValue(QStringLiteral("StatisticsViewColor"), key).toString());
  return c.isValid() ? c : fallback;
}

} // namespace

SpeedSamples *SpeedSamples::shared() {
  static SpeedSamples *samples = new SpeedSamples;
  return samples;
}

statisticsView::statisticsView(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("statisticsView"));
  // Each scale is twelve grid steps that read well with one decimal.
  static constexpr float kFine[kFineRulerCount] = {1.2f, 2.4f, 6.0f, 12.0f, 24.0f, 36.0f, 48.0f};
  for (int i = 0; i < kFineRulerCount; ++i)
    rulerSpeedArray_[size_t(i)] = kFine[i];
  for (int i = kFineRulerCount; i < kRulerCount; ++i)
    rulerSpeedArray_[size_t(i)] = 60.0f * float(i - kFineRulerCount + 1);
  loadStatisticsColorValue();
  loadStatisticsTextFont();
}

void statisticsView::loadStatisticsColorValue() {
  upSpeedColor_ = settingColor(QStringLiteral("UpSpeedLine"), Qt::yellow);
  downSpeedColor_ = settingColor(QStringLiteral("DownSpeedLine"), Qt::green);
  backgroundColor_ = settingColor(QStringLiteral("Background"), Qt::black);
  coordinateColor_ = settingColor(QStringLiteral("Coordinate"), Qt::cyan);
}

void statisticsView::loadStatisticsTextFont() {
  const QVariantMap font =
      ConfigService::readValue(QStringLiteral("StatisticsViewSettings"), QStringLiteral("TextFont")).toMap();
  const ConfigService *service = ConfigService::sharedConfigService();
  const QVariantMap uiFont = service ? service->getUIFont() : QVariantMap();
  textFont_ = font.value(QStringLiteral("FontName")).toString();
  if (textFont_.isEmpty())
    textFont_ = uiFont.value(QStringLiteral("FontName")).toString();
  if (textFont_.isEmpty())
    textFont_ = QStringLiteral("Times Roman");
  bool ok = false;
  int size = font.value(QStringLiteral("Size")).toInt(&ok);
  if (!ok || !font.contains(QStringLiteral("Size")))
    size =
        uiFont.contains(QStringLiteral("FontSize")) ? int(uiFont.value(QStringLiteral("FontSize")).toDouble(&ok)) : 0;
  if (!ok || size <= 0)
    size = 11;
  textSize_ = std::clamp(size, 4, 72);
}

void statisticsView::setSpeedPointSend(float u, float d) {
  const float ceiling = rulerSpeedArray_[kRulerCount - 1];
  if (!std::isfinite(u) || u < 0)
    u = 0;
  if (!std::isfinite(d) || d < 0)
    d = 0;
  pointCount_ = std::min(pointCount_ + 1, kMaxPoints);
  u = std::min(u, ceiling);
  d = std::min(d, ceiling);
  const bool wasMB = speedUnitFlag_;
  if (ConfigService::readBool(QStringLiteral("Statistics"),
                              QStringLiteral("Statistics_SpeedUnitChange_IfSpeedGreat")) &&
      (u > 1024 || d > 1024)) {
    speedUnitFlag_ = true;
    u /= 1024;
    d /= 1024;
  } else {
    speedUnitFlag_ = false;
  }
  // The stored samples follow the unit of the newest one, so a line never mixes KB/s and MB/s
  // under one legend.
  if (wasMB != speedUnitFlag_) {
    const float factor = speedUnitFlag_ ? 1.0f / 1024 : 1024.0f;
    for (int i = 0; i < kMaxPoints; ++i) {
      upSpeed[size_t(i)] = std::min(upSpeed[size_t(i)] * factor, ceiling);
      downSpeed[size_t(i)] = std::min(downSpeed[size_t(i)] * factor, ceiling);
    }
  }
  maxUpSpeed = u;
  maxDownSpeed = d;
  for (int i = pointCount_ - 1; i >= 1; --i) {
    upSpeed[size_t(i)] = upSpeed[size_t(i - 1)];
    downSpeed[size_t(i)] = downSpeed[size_t(i - 1)];
    maxUpSpeed = std::max(maxUpSpeed, upSpeed[size_t(i)]);
    maxDownSpeed = std::max(maxDownSpeed, downSpeed[size_t(i)]);
  }
  upSpeed[0] = u;
  downSpeed[0] = d;
  addSpeedPoint();
}

void statisticsView::addSpeedPoint() {
  int index = kRulerCount - 1;
  for (int i = 0; i < kRulerCount; ++i) {
    if (rulerSpeedArray_[size_t(i)] >= maxUpSpeed && rulerSpeedArray_[size_t(i)] >= maxDownSpeed) {
      index = i;
      break;
    }
  }
  currentRulerPos_ = index;
  setSpeedPointsWithRuler(rulerSpeedArray_[size_t(index)]);
}

void statisticsView::setSpeedPointsWithRuler(float scale) {
  addx = (rectWidth + 10) / kMaxPoints;
  standard = scale > 0 ? rectHight / scale : 0;
  int k = 0;
  for (int i = pointCount_ - 1; i >= 0; --i, ++k) {
    const float x = float(relativeX) + 5 + rectWidth - addx * float(pointCount_) + float(k) * addx;
    upSpeedPoint[size_t(i)] = QPointF(x, relativeY + standard * upSpeed[size_t(i)]);
    downSpeedPoint[size_t(i)] = QPointF(x, relativeY + standard * downSpeed[size_t(i)]);
  }
  update();
}

void statisticsView::followSharedSamples() {
  if (followsShared_)
    return;
  followsShared_ = true;
  connect(SpeedSamples::shared(), &SpeedSamples::added, this, &statisticsView::setSpeedPointSend);
  connect(SpeedSamples::shared(), &SpeedSamples::cleared, this, &statisticsView::setUndisplay);
}

void statisticsView::setUndisplay() {
  pointCount_ = 0;
  upSpeed.fill(0);
  downSpeed.fill(0);
  upSpeedPoint.fill(QPointF());
  downSpeedPoint.fill(QPointF());
  update();
  addSpeedPoint();
}

QStringList statisticsView::axisLabels() const {
  const int pos = std::min(currentRulerPos_, kRulerCount - 1);
  const double step = double(rulerSpeedArray_[size_t(pos)]) / 12;
  QStringList labels;
  for (int j = 0; j <= 12; ++j)
    labels << fillNumberPattern(QStringLiteral("%0.1f"), {j * step});
  return labels;
}

QStringList statisticsView::legendLabels() const {
  if (speedUnitFlag_)
    return {Map_Name_Item_of_IndexString(QStringLiteral("Upload Speed(MB/s)")),
            Map_Name_Item_of_IndexString(QStringLiteral("Download Speed(MB/s)"))};
  return {Map_Name_Item_of_IndexString(QStringLiteral("Upload Speed(KB/s)")),
          Map_Name_Item_of_IndexString(QStringLiteral("Download Speed(KB/s)"))};
}

void statisticsView::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const qreal W = width();
  const qreal H = height();
  // The design's points have their origin at the bottom left.
  auto at = [H](qreal x, qreal y) { return QPointF(x, H - y); };

  painter.fillRect(rect(), backgroundColor_);
  rectWidth = float(W) - float(relativeX) - 10;
  rectHight = float(H) - float(relativeY) - 10;
  // Vertices follow the view's present size.
  const int pos = std::min(currentRulerPos_, kRulerCount - 1);
  {
    const float saveStandard = standard;
    addx = (rectWidth + 10) / kMaxPoints;
    const float s = rulerSpeedArray_[size_t(pos)];
    const float perUnit = s > 0 ? rectHight / s : 0;
    int k = 0;
    for (int i = pointCount_ - 1; i >= 0; --i, ++k) {
      const float x = float(relativeX) + 5 + rectWidth - addx * float(pointCount_) + float(k) * addx;
      upSpeedPoint[size_t(i)] = QPointF(x, relativeY + perUnit * upSpeed[size_t(i)]);
      downSpeedPoint[size_t(i)] = QPointF(x, relativeY + perUnit * downSpeed[size_t(i)]);
    }
    standard = saveStandard;
  }

  // Legend.
  QFont legendFont(textFont_);
  legendFont.setPixelSize(textSize_);
  painter.setFont(legendFont);
  const QFontMetricsF legendMetrics(legendFont);
  const QStringList legend = legendLabels();
  auto drawTextAt = [&](const QString &text, qreal x, qreal y, const QFontMetricsF &metrics) {
    painter.setPen(coordinateColor_);
    painter.drawText(at(x, y + metrics.descent()), text);
  };
  painter.fillRect(QRectF(at(10, textY_ + textSize_), QSizeF(textSize_, textSize_)), upSpeedColor_);
  drawTextAt(legend[0], textSize_ + 11, textY_, legendMetrics);
  const qreal x2 = textSize_ + 11 + legendMetrics.horizontalAdvance(legend[0]) + 10;
  painter.fillRect(QRectF(at(x2, textY_ + textSize_), QSizeF(textSize_, textSize_)), downSpeedColor_);
  drawTextAt(legend[1], x2 + 1 + textSize_, textY_, legendMetrics);

  // Frame.
  QPen pen(coordinateColor_);
  pen.setWidth(0);
  painter.setPen(pen);
  painter.drawRect(QRectF(at(relativeX, relativeY + rectHight), QSizeF(rectWidth, rectHight)));

  // Grid and labels.
  const qreal g = rectHight / 12.0;
  QFont labelFont(textFont_);
  labelFont.setPixelSize(10);
  painter.setFont(labelFont);
  const QFontMetricsF labelMetrics(labelFont);
  const QStringList labels = axisLabels();
  // As many labels as fit beside each other: every second, third... line in a short graph.
  const int stride = g > 0 ? std::max(1, int(std::ceil((labelMetrics.height() + 2) / g))) : 13;
  for (int j = 0; j <= 12; j += stride)
    drawTextAt(labels[j], relativeX - 30, relativeY - 5 + j * g, labelMetrics);
  QPen dash(coordinateColor_);
  dash.setWidth(0);
  dash.setDashPattern({dashArray[0], dashArray[1]});
  dash.setDashOffset(6.0);
  painter.setPen(dash);
  for (int j = 1; j <= 11; ++j)
    painter.drawLine(at(relativeX, relativeY + j * g), at(relativeX + rectWidth, relativeY + j * g));

  // Lines: the newest pointCount_ - 1 samples (the oldest vertex lies left of the frame).
  if (pointCount_ < 2)
    return;
  auto polyline = [&](const std::array<QPointF, kMaxPoints> &points, const QColor &color) {
    QPainterPath path(at(points[0].x(), points[0].y()));
    for (int i = 1; i < pointCount_ - 1; ++i)
      path.lineTo(at(points[size_t(i)].x(), points[size_t(i)].y()));
    QPen line(color);
    line.setWidth(0);
    painter.setPen(line);
    painter.drawPath(path);
  };
  painter.setRenderHint(QPainter::Antialiasing, true);
  polyline(upSpeedPoint, upSpeedColor_);
  polyline(downSpeedPoint, downSpeedColor_);
}
