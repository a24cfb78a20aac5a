#include "SimServicePages.h"

#include "GPSController.h"
#include "STKController.h"
#include "USSDContrller.h"

#include <QTabWidget>

namespace SimServicePages {

QList<QELUIController *> build(QTabWidget *tabs, QObject *owner) {
  auto *ussd = new USSDContrller(owner);
  ussd->hostView = new ServiceHostPage(QStringLiteral("USSD1"), tabs);
  ussd->hostViewTwo = new ServiceHostPage(QStringLiteral("USSD2"), tabs);
  ussd->viewHostThree_ = new ServiceHostPage(QStringLiteral("USSD3"), tabs);
  for (ServiceHostPage *page : {ussd->hostView.data(), ussd->hostViewTwo.data(), ussd->viewHostThree_.data()})
    tabs->addTab(page, page->objectName());
  auto *stk = new STKController(owner);
  stk->hostView = new ServiceHostPage(QStringLiteral("STK"), tabs);
  tabs->addTab(stk->hostView, QStringLiteral("STK"));
  auto *gps = new GPSController(owner);
  gps->page = new GPSPage(tabs);
  tabs->addTab(gps->page, QStringLiteral("GPS"));
  return {ussd, stk, gps};
}

} // namespace SimServicePages
