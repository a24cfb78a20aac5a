#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTextBrowser;

// The small windows an arrival shows: a title, up to three labelled fields, a text, a check
// box and two buttons, each part shown only when the window uses it. They stay above the main
// window (a tool window on top) and appear without taking the focus. Widgets only; the message
// controller fills and drives them.
class SmsNoteWindow : public QWidget {
  Q_OBJECT
public:
  enum Part { Title = 1, Field1 = 2, Field2 = 4, Field3 = 8, Content = 16, Check = 32, Other = 64 };
  SmsNoteWindow(QWidget *parent, const QString &name, int parts);
  QLabel *title = nullptr;
  QLabel *label1 = nullptr, *field1 = nullptr;
  QLabel *label2 = nullptr, *field2 = nullptr;
  QLabel *label3 = nullptr, *field3 = nullptr;
  QTextBrowser *content = nullptr;
  QCheckBox *check = nullptr;
  QPushButton *okBtn = nullptr;
  QPushButton *otherBtn = nullptr;
  // Shows the window above the others without activating it.
  void orderFront();
  void orderOut() { hide(); }

signals:
  void closedByUser();

protected:
  void closeEvent(QCloseEvent *event) override;
};

// The purchase window: the operator's text, the package list and the five buttons.
class SmsPurchaseWindow : public QWidget {
  Q_OBJECT
public:
  explicit SmsPurchaseWindow(QWidget *parent);
  QLabel *labelOfPurchaseInfo_ = nullptr;
  QComboBox *combOfPurchaseList_ = nullptr;
  QPushButton *btnOfPurchaseInVolStatusWnd_ = nullptr;
  QPushButton *btnOfPurchaseInPartnerWnd_ = nullptr;
  QPushButton *btnOfConfirmInPurchaseWnd_ = nullptr;
  QPushButton *btnOfCancelInRechargeWnd_ = nullptr;
  QPushButton *btnOfOKInRechargeWnd_ = nullptr;
};
