#pragma once

#include "CocoaExt.h"
#include "NotificationBridge.h"
#include "QELUIController.h"

#include <QTabWidget>

// Loads a call plug-in into the tab `identifier` and puts the page's own controls back in the
// tab, with the plug-in's view beside them. Answers whether the plug-in was loaded.
template <typename Page>
bool loadPlugInBesidePage(QELUIController &controller, const QString &bundle, const QString &identifier, Page *page) {
  QTabWidget *tabs = controller.tabviewMain;
  const int index = NSTabViewExt::tabViewItemOfIdentifier(tabs, identifier);
  QWidget *own = index >= 0 ? tabs->widget(index) : nullptr;
  NotificationBridge::shared(); // the plug-in looks for it
  if (!controller.loadPlugin(bundle, identifier))
    return false;
  const int now = NSTabViewExt::tabViewItemOfIdentifier(tabs, identifier);
  if (own && own == page && now >= 0) {
    QWidget *view = tabs->widget(now);
    const QString label = tabs->tabText(now);
    const bool current = tabs->currentIndex() == now;
    tabs->removeTab(now);
    tabs->insertTab(now, page, label);
    page->setBundleView(view);
    if (current)
      tabs->setCurrentIndex(now);
  }
  return true;
}
