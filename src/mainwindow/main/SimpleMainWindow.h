#pragma once

#include <QPointer>
#include <QWidget>

class ButtonMatrix;
class MainController;

// The simple main window: a row of five buttons (SMS, Phonebook, Settings, Help, DialRecord),
// each leading into the complete window at its page. Its close button passes the same quit
// rules as the complete window's.
class SimpleMainWindow : public QWidget {
  Q_OBJECT
public:
  explicit SimpleMainWindow(MainController *controller, QWidget *parent = nullptr);

  // The matrices in tag order 0 to 4; each has one cell and carries its tag as property "tag".
  QList<ButtonMatrix *> matrices() const { return matrices_; }

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  QPointer<MainController> controller_;
  QList<ButtonMatrix *> matrices_;
};
