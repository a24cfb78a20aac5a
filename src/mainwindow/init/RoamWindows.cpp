#include "RoamWindows.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QHBoxLayout *okRow(QPushButton *ok) {
  auto *row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  ok->setDefault(true);
  return row;
}
} // namespace

RoamAlertWindow::RoamAlertWindow(QWidget *parent)
    : QDialog(parent), roamwarnningText(new QLabel(this)), ok(new QPushButton(this)) {
  setObjectName(QStringLiteral("roamAlertWnd"));
  setModal(false);
  roamwarnningText->setObjectName(QStringLiteral("roamwarnningText"));
  roamwarnningText->setWordWrap(true);
  roamwarnningText->setMinimumWidth(280);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(roamwarnningText);
  layout->addLayout(okRow(ok));
}

WhiteListReminderSheet::WhiteListReminderSheet(QWidget *parent)
    : QDialog(parent), tfdZ3iRoamInWhiteList_(new QLabel(this)), tfdZ3iRemindNextConnect_(new QLabel(this)),
      checkboxZ3iWhiteCheck_(new QCheckBox(this)), btnZ3iWhiteCheck_(new QPushButton(this)) {
  setObjectName(QStringLiteral("winZ3iWhiteCheck"));
  // A sheet: modal to its window only, so the device's messages keep arriving.
  setWindowModality(Qt::WindowModal);
  setModal(false);
  tfdZ3iRoamInWhiteList_->setWordWrap(true);
  tfdZ3iRoamInWhiteList_->setMinimumWidth(300);
  checkboxZ3iWhiteCheck_->setChecked(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(tfdZ3iRoamInWhiteList_);
  auto *remind = new QHBoxLayout;
  remind->addWidget(checkboxZ3iWhiteCheck_);
  remind->addWidget(tfdZ3iRemindNextConnect_, 1);
  layout->addLayout(remind);
  layout->addLayout(okRow(btnZ3iWhiteCheck_));
}
