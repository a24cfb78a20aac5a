#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>

// A sheet of the Security page that asks for codes: a prompt, one or more labelled password
// fields, a tries label and OK/Cancel. Window-modal and never blocking, so the device's answers
// keep arriving while it is up. The controller wires the buttons and the wording.
class CodeSheet : public QDialog {
  Q_OBJECT
public:
  CodeSheet(const QString &objectName, int fields, QWidget *parent);
  QLineEdit *field(int i) const { return fields_.value(i); }
  QLabel *label(int i) const { return labels_.value(i); }
  int fieldCount() const { return int(fields_.size()); }
  void clearFields();
  // Hides the sheet without it counting as a cancel.
  void end();
  QLabel *prompt;
  QLabel *timeLeft;
  QPushButton *ok;
  QPushButton *cancel;

private:
  QList<QLineEdit *> fields_;
  QList<QLabel *> labels_;
};
