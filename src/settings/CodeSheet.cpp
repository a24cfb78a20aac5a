#include "CodeSheet.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

CodeSheet::CodeSheet(const QString &objectName, int fields, QWidget *parent)
    : QDialog(parent), prompt(new QLabel(this)), timeLeft(new QLabel(this)), ok(new QPushButton(this)),
      cancel(new QPushButton(this)) {
  setObjectName(objectName);
  setWindowModality(Qt::WindowModal);
  setModal(false);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  auto *form = new QFormLayout;
  for (int i = 0; i < fields; ++i) {
    auto *label = new QLabel(this);
    auto *edit = new QLineEdit(this);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(16);
    edit->setObjectName(objectName + QStringLiteral("Field") + QString::number(i));
    form->addRow(label, edit);
    labels_ << label;
    fields_ << edit;
  }
  layout->addLayout(form);
  layout->addWidget(timeLeft);
  auto *row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel);
  row->addWidget(ok);
  ok->setDefault(true);
  layout->addLayout(row);
}

void CodeSheet::clearFields() {
  for (QLineEdit *f : fields_)
    f->clear();
}

void CodeSheet::end() {
  if (!isVisible())
    return;
  setProperty("closing", true);
  hide();
  setProperty("closing", false);
}
