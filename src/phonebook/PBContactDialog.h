#pragma once

#include "PBTypes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

// The contact dialog's fields ("username", "mobilephone", "homephone", "officephone", "email").
// OK stays disabled while the name is empty or a number holds a character a number cannot have.
class PBContactDialog : public QDialog {
  Q_OBJECT
public:
  explicit PBContactDialog(const PBContactRecord &record, int nameMax, int numberMax, QWidget *parent = nullptr);

  PBContactRecord fields() const;
  // True when the fields can be saved.
  static bool fieldsAcceptable(const PBContactRecord &fields);

private:
  QList<QPair<QString, QLineEdit *>> edits_;
  QDialogButtonBox *buttons_ = nullptr;
};
