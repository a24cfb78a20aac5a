#include "GPSPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

GPSPage::GPSPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("GPS"));
  setProperty("itemIdentifier", QStringLiteral("GPS"));
  const auto value = [this](const char *name) {
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(220);
    return label;
  };
  status = value("status");
  latitude = value("latitude");
  longitude = value("longitude");
  altitude = value("altitude");
  velocity = value("velocity");
  statusLable = new QLabel(this);
  latitudeLable = new QLabel(this);
  longitudeLable = new QLabel(this);
  altitudeLable = new QLabel(this);
  velocityLable = new QLabel(this);
  startBtn = new QPushButton(this);
  startBtn->setObjectName(QStringLiteral("startBtn"));
  stopBtn = new QPushButton(this);
  stopBtn->setObjectName(QStringLiteral("stopBtn"));

  auto *form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  form->addRow(statusLable, status);
  form->addRow(latitudeLable, latitude);
  form->addRow(longitudeLable, longitude);
  form->addRow(altitudeLable, altitude);
  form->addRow(velocityLable, velocity);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(startBtn);
  buttons->addWidget(stopBtn);
  buttons->addStretch(1);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->addStretch(1);
}
