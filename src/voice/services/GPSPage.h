#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The GPS tab: Start and Stop, and the receiver's state, latitude, longitude, altitude and
// velocity with their captions. Widgets only; GPSController drives them.
class GPSPage : public QWidget {
  Q_OBJECT
public:
  explicit GPSPage(QWidget *parent = nullptr);

  QPushButton *startBtn = nullptr;
  QPushButton *stopBtn = nullptr;
  QLabel *status = nullptr;
  QLabel *latitude = nullptr;
  QLabel *longitude = nullptr;
  QLabel *altitude = nullptr;
  QLabel *velocity = nullptr;
  QLabel *statusLable = nullptr;
  QLabel *latitudeLable = nullptr;
  QLabel *longitudeLable = nullptr;
  QLabel *altitudeLable = nullptr;
  QLabel *velocityLable = nullptr;
};
