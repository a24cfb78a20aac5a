#include "InitStatusView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

InitStatusView::InitStatusView(QWidget *parent)
    : QWidget(parent), networkStatusImage(new QLabel(this)), simImage(new QLabel(this)), simLabel(new QLabel(this)),
      simTypeField(new QLabel(this)), signalImage(new QLabel(this)), networkTypeLabel(new QLabel(this)),
      roamStatusLabel(new QLabel(this)), belongToSPNLabel(new QLabel(this)), localSPNLabel(new QLabel(this)),
      domainLabel(new QLabel(this)), lockTipLabel(new QLabel(this)) {
  setObjectName(QStringLiteral("wndMainStatusView"));
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(12, 6, 12, 6);
  row->setSpacing(10);
  auto *names = new QVBoxLayout;
  names->setSpacing(0);
  belongToSPNLabel->setObjectName(QStringLiteral("labelInitBeloneToSPN"));
  localSPNLabel->setObjectName(QStringLiteral("labelInitLocalSPN"));
  names->addWidget(belongToSPNLabel);
  names->addWidget(localSPNLabel);
  row->addWidget(networkStatusImage);
  row->addLayout(names, 1);
  for (QLabel *l : {lockTipLabel, networkTypeLabel, domainLabel, roamStatusLabel, simTypeField, simLabel})
    row->addWidget(l);
  row->addWidget(simImage);
  row->addWidget(signalImage);
  networkTypeLabel->setObjectName(QStringLiteral("labelInitNetwork"));
  roamStatusLabel->setObjectName(QStringLiteral("labelInitRoamStatus"));
  domainLabel->setObjectName(QStringLiteral("labelInitDomain"));
  simLabel->hide();
}
