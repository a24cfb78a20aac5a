#include "PBContactDialog.h"

#include "PBController.h"

#include <QFormLayout>
#include <QPushButton>

PBContactDialog::PBContactDialog(const PBContactRecord &record, int nameMax, int numberMax, QWidget *parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("PBContactDialog"));
  auto *form = new QFormLayout(this);
  const char *const keys[][2] = {{"username", "Name"},
                                 {"mobilephone", "Mobile"},
                                 {"homephone", "Home"},
                                 {"officephone", "Office"},
                                 {"email", "Email"}};
  for (const auto &k : keys) {
    auto *edit = new QLineEdit(record.value(QLatin1String(k[0])).toString(), this);
    edit->setObjectName(QLatin1String(k[0]));
    const QString key = QLatin1String(k[0]);
    if (key == QLatin1String("username") && nameMax > 0)
      edit->setMaxLength(nameMax);
    else if (key.endsWith(QLatin1String("phone")) && numberMax > 0)
      edit->setMaxLength(numberMax);
    form->addRow(QLatin1String(k[1]), edit);
    edits_.append({key, edit});
    connect(edit, &QLineEdit::textChanged, this,
            [this] { buttons_->button(QDialogButtonBox::Ok)->setEnabled(fieldsAcceptable(fields())); });
  }
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons_);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(fieldsAcceptable(fields()));
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PBContactRecord PBContactDialog::fields() const {
  PBContactRecord f;
  for (const auto &[key, edit] : edits_)
    f.insert(key, edit->text().trimmed());
  return f;
}

bool PBContactDialog::fieldsAcceptable(const PBContactRecord &f) {
  if (f.value(QStringLiteral("username")).toString().isEmpty())
    return false;
  for (const char *k : {"mobilephone", "homephone", "officephone"})
    if (PBController::checkAddFlag(f.value(QLatin1String(k)).toString()))
      return false;
  return true;
}
