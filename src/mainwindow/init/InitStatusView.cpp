#include "InitStatusView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

InitStatusView::InitStatusView(QWidget *parent)
    : QWidget(parent), networkStatusImage(new QLabel(this)), simImage(new QLabel(this)), simLabel(new QLabel(this)),
      simTypeField(new QLabel(this)), signalImage(new QLabel(this)), networkTypeLabel(new QLabel(this)),
      roamStatusLabel(new QLabel(this)), belongToSPNLabel(new QLabel(this)), localSPNLabel(new QLabel(this)),
      domainLabel(new QLabel(this)), lockTipLabel(new QLabel(this)) {
  setObjectName(QStringLiteral("wndMainStatusView"));
  // Device, card and signal first, then the network and the operator, as a status line reads.
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);
  belongToSPNLabel->setObjectName(QStringLiteral("labelInitBeloneToSPN"));
  localSPNLabel->setObjectName(QStringLiteral("labelInitLocalSPN"));
  for (QLabel *l : {networkStatusImage, simImage, signalImage, networkTypeLabel, domainLabel, roamStatusLabel,
                    localSPNLabel, belongToSPNLabel, simTypeField, simLabel, lockTipLabel})
    row->addWidget(l);
  row->addStretch(1);
  networkTypeLabel->setObjectName(QStringLiteral("labelInitNetwork"));
  roamStatusLabel->setObjectName(QStringLiteral("labelInitRoamStatus"));
  domainLabel->setObjectName(QStringLiteral("labelInitDomain"));
  simLabel->hide();
}
