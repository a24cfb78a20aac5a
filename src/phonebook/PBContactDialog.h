#pragma once

#include "PBTypes.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

class PBController;

// The contact dialog: name, mobile, home, office and e-mail fields (and the remark when shown),
// with the group box for the PC. Each field is cut to its store's limit while the user types;
// OK stores the contact through the controller, and stays open when a check fails.
class PBContactDialog : public QDialog {
  Q_OBJECT
public:
  PBContactDialog(PBController *controller, const PBContactRecord &record, QWidget *parent = nullptr);
  // Without a controller (the fields only): names and numbers are left as typed.
  explicit PBContactDialog(const PBContactRecord &record, int nameMax, int numberMax, QWidget *parent = nullptr);

  PBContactRecord fields() const;
  QLineEdit *field(const QString &key) const;
  QComboBox *groupBox() const { return group_; }
  // Presses OK: true when the contact was stored and the dialog accepted.
  bool ok();
  // True when the fields can be saved: a name, and numbers of number characters only.
  static bool fieldsAcceptable(const PBContactRecord &fields);

private:
  void build(const PBContactRecord &record);

  PBController *controller_ = nullptr;
  QList<QPair<QString, QLineEdit *>> edits_;
  QComboBox *group_ = nullptr;
  QDialogButtonBox *buttons_ = nullptr;
};
