// Pages of the main window: which exist, which items lead to them, and their titles.
#include "CocoaExt.h"
#include "MainController.h"
#include "NSButtonExt.h"
#include "WordGlobe.h"

bool MainController::hasPage(const QString &identifier) const {
  return !identifier.isEmpty() && NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, identifier) >= 0;
}

bool MainController::itemLeadsSomewhere(QObject *item) const {
  if (!item)
    return false;
  QByteArray action;
  QString identifier;
  if (auto *button = qobject_cast<NSButtonExt *>(item)) {
    action = button->action();
    identifier = button->itemIdentifier();
  } else {
    action = item->property("itemAction").toString().toLatin1();
    identifier = item->objectName();
  }
  if (!action.startsWith("tabViewChangeItemAction"))
    return true;
  return hasPage(identifier);
}

QString MainController::tabTitle(const QString &identifier) const {
  const QString key = identifier + QStringLiteral("_TITLE");
  const QString title = Map_Name_Item_of_IndexString(key);
  return title == key ? Map_Name_Item_of_IndexString(identifier) : title;
}
