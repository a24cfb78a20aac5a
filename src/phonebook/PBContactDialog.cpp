#include "PBContactDialog.h"

#include "PBController.h"
#include "WordGlobe.h"

#include <QFormLayout>
#include <QPushButton>

namespace {
// The fields: record key and the wording key of its label.
const char *const kFields[][2] = {{"username", "Name"},       {"mobilephone", "MobilePhone"},
                                  {"homephone", "HomePhone"}, {"officephone", "OfficePhone"},
                                  {"email", "EMail"},         {"remark", "Remark"}};
} // namespace

PBContactDialog::PBContactDialog(PBController *controller, const PBContactRecord &record, QWidget *parent)
    : QDialog(parent), controller_(controller) {
  build(record);
}

PBContactDialog::PBContactDialog(const PBContactRecord &record, int nameMax, int numberMax, QWidget *parent)
    : QDialog(parent) {
  build(record);
  for (const auto &[key, edit] : edits_) {
    if (key == PBKey::kUserName && nameMax > 0)
      edit->setMaxLength(nameMax);
    else if (key.endsWith(QLatin1String("phone")) && numberMax > 0)
      edit->setMaxLength(numberMax);
  }
}

void PBContactDialog::build(const PBContactRecord &record) {
  setObjectName(QStringLiteral("PBContactDialog"));
  setWindowTitle(QString());
  auto *form = new QFormLayout(this);
  const int store = controller_ ? controller_->dialogStore() : kSaveInPC;
  const bool pc = store == kSaveInPC;
  const bool autoDetect =
      controller_ && controller_->getPhonebookSettingBoolValue(QStringLiteral("SimFieldAutoDetectionEnabled"));
  for (const auto &f : kFields) {
    const QString key = QLatin1String(f[0]);
    if (key == PBKey::kRemark &&
        !(controller_ && pc && controller_->getPhonebookSettingBoolValue(QStringLiteral("IsDisplayRemark"))))
      continue;
    auto *edit = new QLineEdit(record.value(key).toString(), this);
    edit->setObjectName(key);
    // A SIM or device-memory record has a name and a number, or the fields its store reports.
    if (!pc && key != PBKey::kUserName && key != PBKey::kMobilePhone) {
      static const QHash<QString, int> bits = {
          {PBKey::kHomePhone, kFieldNumber2}, {PBKey::kOfficePhone, kFieldNumber3}, {PBKey::kEmail, kFieldEmail}};
      edit->setEnabled(autoDetect && controller_ && (controller_->contactFieldsFlag() & bits.value(key)));
      if (!edit->isEnabled())
        edit->clear();
    }
    form->addRow(Map_Name_Item_of_IndexString(QLatin1String(f[1])), edit);
    edits_.append({key, edit});
    if (controller_) {
      connect(edit, &QLineEdit::textEdited, this, [this, edit, key](const QString &text) {
        const QString cut = controller_->limitTextFieldLength(key, text);
        if (cut != text)
          edit->setText(cut);
      });
    }
  }
  if (controller_ && pc) {
    group_ = new QComboBox(this);
    group_->setObjectName(QStringLiteral("usergroup"));
    for (int g = 0; g < controller_->sumOfGroupInPC(); ++g)
      group_->addItem(controller_->getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString());
    const int groupIndex = controller_->groupIndexWithName(record.value(PBKey::kGroupName).toString());
    group_->setCurrentIndex(controller_->phonebookOperate() == kPBOperationEdit && groupIndex >= 0
                                ? groupIndex
                                : controller_->currentGroupIndex());
    group_->setEnabled(controller_->phonebookOperate() != kPBOperationEdit);
    form->addRow(Map_Name_Item_of_IndexString(QStringLiteral("Group")), group_);
    connect(group_, &QComboBox::currentIndexChanged, this,
            [this](int index) { controller_->setDialogStore(kSaveInPC, index); });
  }
  buttons_ = new QDialogButtonBox(this);
  buttons_->addButton(Map_Name_Item_of_IndexString(QStringLiteral("PhoneBook_PbUSerOKBtn")),
                      QDialogButtonBox::AcceptRole);
  buttons_->addButton(Map_Name_Item_of_IndexString(QStringLiteral("PhoneBook_PbUSerCancelBtn")),
                      QDialogButtonBox::RejectRole);
  form->addRow(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] { ok(); });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  if (!edits_.isEmpty())
    edits_.first().second->setFocus();
}

QLineEdit *PBContactDialog::field(const QString &key) const {
  for (const auto &[k, edit] : edits_)
    if (k == key)
      return edit;
  return nullptr;
}

bool PBContactDialog::ok() {
  if (!controller_) {
    if (!fieldsAcceptable(fields()))
      return false;
    accept();
    return true;
  }
  QString failed;
  if (!controller_->adduserok(fields(), &failed)) {
    if (QLineEdit *edit = field(failed))
      edit->setFocus();
    return false;
  }
  accept();
  return true;
}

PBContactRecord PBContactDialog::fields() const {
  PBContactRecord f;
  for (const auto &[key, edit] : edits_)
    f.insert(key, edit->text());
  return f;
}

bool PBContactDialog::fieldsAcceptable(const PBContactRecord &f) {
  if (f.value(QStringLiteral("username")).toString().trimmed().isEmpty())
    return false;
  for (const char *k : {"mobilephone", "homephone", "officephone"})
    if (PBController::checkAddFlag(f.value(QLatin1String(k)).toString().trimmed()))
      return false;
  return true;
}
