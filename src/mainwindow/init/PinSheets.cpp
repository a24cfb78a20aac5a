#include "PinSheets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QLineEdit *codeField(QWidget *parent, const char *name) {
  auto *field = new QLineEdit(parent);
  field->setObjectName(QLatin1String(name));
  field->setEchoMode(QLineEdit::Password);
  field->setMaxLength(16);
  return field;
}

QHBoxLayout *buttonRow(QPushButton *cancel, QPushButton *ok) {
  auto *row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel);
  row->addWidget(ok);
  ok->setDefault(true);
  return row;
}

void makeSheet(QDialog *sheet) {
  // A sheet: modal to its window only, so the rest of the program keeps running.
  sheet->setWindowModality(Qt::WindowModal);
  sheet->setModal(false);
}
} // namespace

PinSheet::PinSheet(QWidget *parent)
    : QDialog(parent), prompt(new QLabel(this)), pinLabel(new QLabel(this)),
      pinCode(codeField(this, "textPinCodeInit")), timeLeft(new QLabel(this)), savePin(new QCheckBox(this)),
      ok(new QPushButton(this)), cancel(new QPushButton(this)) {
  setObjectName(QStringLiteral("wndSettingEnablePin"));
  makeSheet(this);
  savePin->setObjectName(QStringLiteral("btnInitSavePinNum"));
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  auto *form = new QFormLayout;
  form->addRow(pinLabel, pinCode);
  layout->addLayout(form);
  layout->addWidget(timeLeft);
  layout->addWidget(savePin);
  layout->addLayout(buttonRow(cancel, ok));
}

PukSheet::PukSheet(QWidget *parent)
    : QDialog(parent), prompt(new QLabel(this)), pukLabel(new QLabel(this)), newPinLabel(new QLabel(this)),
      repeatLabel(new QLabel(this)), pukCode(codeField(this, "textPukCodeInit")),
      newPinCode(codeField(this, "textNewPinCodeInit")), repNewPinCode(codeField(this, "textRepNewPinCodeInit")),
      timeLeft(new QLabel(this)), ok(new QPushButton(this)), cancel(new QPushButton(this)) {
  setObjectName(QStringLiteral("wndSettingPuk"));
  makeSheet(this);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  auto *form = new QFormLayout;
  form->addRow(pukLabel, pukCode);
  form->addRow(newPinLabel, newPinCode);
  form->addRow(repeatLabel, repNewPinCode);
  layout->addLayout(form);
  layout->addWidget(timeLeft);
  layout->addLayout(buttonRow(cancel, ok));
}

ReAlertSheet::ReAlertSheet(QWidget *parent)
    : QDialog(parent), message(new QLabel(this)), yes(new QPushButton(this)), no(new QPushButton(this)) {
  setObjectName(QStringLiteral("wndReAlertToCancelPinInput"));
  makeSheet(this);
  message->setWordWrap(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(message);
  layout->addLayout(buttonRow(no, yes));
}
