#include "UserRegistrationSheet.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

UserRegistrationSheet::UserRegistrationSheet(QWidget *parent)
    : QDialog(parent), prompt(new QLabel(this)), labelEmail(new QLabel(this)), labelContact(new QLabel(this)),
      labelDob(new QLabel(this)), tfdEmail_(new QLineEdit(this)), tfdContact_(new QLineEdit(this)),
      tfdDob_(new QLineEdit(this)), btnCalendarUserInfo_(new QPushButton(this)),
      DateCalendar_(new QCalendarWidget(this)), btnSendUserInfo_(new QPushButton(this)),
      btnExitUserInfo_(new QPushButton(this)) {
  setObjectName(QStringLiteral("wndUserRegiste"));
  // A sheet: modal to its window only, so the device's messages keep arriving.
  setWindowModality(Qt::WindowModal);
  setModal(false);
  prompt->setWordWrap(true);
  tfdEmail_->setObjectName(QStringLiteral("tfdEmail"));
  tfdContact_->setObjectName(QStringLiteral("tfdContact"));
  tfdDob_->setObjectName(QStringLiteral("tfdDob"));
  tfdEmail_->setMinimumWidth(220);
  btnCalendarUserInfo_->setText(QStringLiteral("..."));
  btnCalendarUserInfo_->setFixedWidth(32);
  btnCalendarUserInfo_->setObjectName(QStringLiteral("btnCalendarUserInfo"));
  DateCalendar_->setObjectName(QStringLiteral("DateCalendar"));
  DateCalendar_->setHidden(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  auto *form = new QFormLayout;
  form->addRow(labelEmail, tfdEmail_);
  form->addRow(labelContact, tfdContact_);
  auto *dobRow = new QHBoxLayout;
  dobRow->addWidget(tfdDob_, 1);
  dobRow->addWidget(btnCalendarUserInfo_);
  form->addRow(labelDob, dobRow);
  layout->addLayout(form);
  layout->addWidget(DateCalendar_);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnExitUserInfo_);
  buttons->addWidget(btnSendUserInfo_);
  btnSendUserInfo_->setDefault(true);
  layout->addLayout(buttons);
}
