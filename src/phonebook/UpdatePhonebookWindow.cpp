#include "UpdatePhonebookWindow.h"

#include "WordGlobe.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

UpdatePhonebookWindow::UpdatePhonebookWindow(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("wndUpdatePhonebook"));
  setWindowModality(Qt::WindowModal);
  tfdMsg_ = new QLabel(this);
  tfdMsg_->setObjectName(QStringLiteral("tfdMsg"));
  tfdMsg_->setWordWrap(true);
  tfdMsg_->setMinimumWidth(320);
  piIndicator_ = new QProgressBar(this);
  piIndicator_->setObjectName(QStringLiteral("piIndicator"));
  piIndicator_->setRange(0, 0);
  piIndicator_->setValue(0);
  piIndicator_->setTextVisible(false);
  btnOk_ = new QPushButton(Map_Name_Item_of_IndexString(QStringLiteral("OK")), this);
  btnOk_->setObjectName(QStringLiteral("btnUpdatePhonebookOK"));
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(tfdMsg_);
  layout->addWidget(piIndicator_);
  layout->addWidget(btnOk_, 0, Qt::AlignRight);
  connect(btnOk_, &QPushButton::clicked, this, &UpdatePhonebookWindow::ok);
}

void UpdatePhonebookWindow::setMsg(const QString &text) {
  tfdMsg_->setText(text);
}

void UpdatePhonebookWindow::beginToCheckUpdate(QWidget *parent) {
  btnOk_->hide();
  piIndicator_->reset();
  piIndicator_->setRange(0, 0);
  piIndicator_->show();
  popupAlertSheet(parent);
}

void UpdatePhonebookWindow::showResult(const QString &text) {
  setMsg(text);
  btnOk_->show();
  piIndicator_->hide();
  piIndicator_->setRange(0, 1);
}

void UpdatePhonebookWindow::ok() {
  endModalWindow();
}

void UpdatePhonebookWindow::endModalWindow() {
  btnOk_->show();
  piIndicator_->hide();
  piIndicator_->setRange(0, 1);
  if (isVisible())
    done(QDialog::Accepted);
}

void UpdatePhonebookWindow::popupAlertSheet(QWidget *parent) {
  if (!parent)
    return;
  if (parentWidget() != parent->window())
    setParent(parent->window(), windowFlags());
  if (!isVisible())
    open();
}

QString UpdatePhonebookWindow::message() const {
  return tfdMsg_->text();
}

bool UpdatePhonebookWindow::okShown() const {
  return !btnOk_->isHidden();
}

bool UpdatePhonebookWindow::indicatorRunning() const {
  return !piIndicator_->isHidden() && piIndicator_->maximum() == 0;
}
