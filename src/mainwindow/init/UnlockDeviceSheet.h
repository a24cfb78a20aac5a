#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The sheet that asks for the modem's four-digit device lock code (wndUnlockDevice_). Window-modal
// and never blocking, like the SIM code sheets: the device's messages keep arriving while it is
// up. InitController wires its buttons and texts.
class UnlockDeviceSheet : public QDialog {
  Q_OBJECT
public:
  explicit UnlockDeviceSheet(QWidget *parent);
  QLabel *prompt;
  QLabel *codeLabel;
  QLineEdit *code; // tfdUnlockDeviceCode_
  QPushButton *ok;
  QPushButton *cancel;
};
