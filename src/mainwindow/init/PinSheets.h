#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The three sheets of the SIM code entry: PIN, PUK (with a new PIN) and the "really cancel?"
// re-alert. Window-modal dialogs on the main window that never block the event loop, so the
// device's messages keep arriving while one is open. InitController wires their buttons.
class PinSheet : public QDialog {
  Q_OBJECT
public:
  explicit PinSheet(QWidget *parent);
  QLabel *prompt;
  QLabel *pinLabel;
  QLineEdit *pinCode; // m_PinCode
  QLabel *timeLeft;   // m_PinTimeLeft
  QCheckBox *savePin; // btnSavePinNum_ ("Save Pin")
  QPushButton *ok;
  QPushButton *cancel;
};

class PukSheet : public QDialog {
  Q_OBJECT
public:
  explicit PukSheet(QWidget *parent);
  QLabel *prompt;
  QLabel *pukLabel, *newPinLabel, *repeatLabel;
  QLineEdit *pukCode;       // m_PukCode
  QLineEdit *newPinCode;    // m_NewPinCode
  QLineEdit *repNewPinCode; // m_RepNewPinCode
  QLabel *timeLeft;         // m_PukTimeLeft
  QPushButton *ok;
  QPushButton *cancel;
};

class ReAlertSheet : public QDialog {
  Q_OBJECT
public:
  explicit ReAlertSheet(QWidget *parent);
  QLabel *message;
  QPushButton *yes;
  QPushButton *no;
};
