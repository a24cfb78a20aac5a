#pragma once

#include <QCalendarWidget>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The user registration sheet: e-mail address, contact number and date of birth, with a date
// picker that the calendar button shows and hides. A sheet on the main window that never blocks
// the event loop; MainController wires its buttons.
class UserRegistrationSheet : public QDialog {
  Q_OBJECT
public:
  explicit UserRegistrationSheet(QWidget *parent);
  QLabel *prompt;
  QLabel *labelEmail, *labelContact, *labelDob;
  QLineEdit *tfdEmail_;
  QLineEdit *tfdContact_;
  QLineEdit *tfdDob_;
  QPushButton *btnCalendarUserInfo_;
  QCalendarWidget *DateCalendar_;
  QPushButton *btnSendUserInfo_;
  QPushButton *btnExitUserInfo_;
};
