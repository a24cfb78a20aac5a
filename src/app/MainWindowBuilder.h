#pragma once

#include <QMainWindow>
#include <QPointer>

class DialController;
class InitController;
class MainController;
class QELMsgCenter;
class QELUIManager;
class QTabWidget;
class QLabel;

// Builds the main window and its controllers the way a nib would: it creates the widgets, sets
// the controllers' outlets and then wakes each controller (awakeFromNib), in a fixed order.
class MainWindowBuilder {
public:
  struct Parts {
    QMainWindow *window = nullptr;
    QTabWidget *tabs = nullptr;
    MainController *mainController = nullptr;
    InitController *initController = nullptr;
    QList<QObject *> controllers; // every controller, in wake-up order
  };

  // `skin` and `center` may be null (tests without a skin or a backend link).
  static Parts build(QELMsgCenter *center, QELUIManager *skin, QObject *owner);
};
