#pragma once

#include <QList>

class QELUIController;
class QObject;
class QTabWidget;

// The SIM services' tabs ("USSD1" to "USSD3", "STK", "GPS") and their controllers, for the main
// window's builder: the pages are added to `tabs`, the controllers (owned by `owner`) are
// returned unwoken.
namespace SimServicePages {
QList<QELUIController *> build(QTabWidget *tabs, QObject *owner);
}
