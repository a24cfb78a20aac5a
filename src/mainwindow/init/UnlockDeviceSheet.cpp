#include "UnlockDeviceSheet.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

UnlockDeviceSheet::UnlockDeviceSheet(QWidget *parent)
    : QDialog(parent), prompt(new QLabel(this)), codeLabel(new QLabel(this)), code(new QLineEdit(this)),
      ok(new QPushButton(this)), cancel(new QPushButton(this)) {
  setObjectName(QStringLiteral("wndUnlockDevice"));
  // A sheet: modal to its window only, so the rest of the program keeps running.
  setWindowModality(Qt::WindowModal);
  setModal(false);
  code->setObjectName(QStringLiteral("tfdUnlockDeviceCode"));
  code->setEchoMode(QLineEdit::Password);
  code->setMaxLength(16);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  auto *form = new QFormLayout;
  form->addRow(codeLabel, code);
  layout->addLayout(form);
  auto *row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel);
  row->addWidget(ok);
  ok->setDefault(true);
  layout->addLayout(row);
}
