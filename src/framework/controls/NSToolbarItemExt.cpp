#include "NSToolbarItemExt.h"

NSToolbarItemExt::NSToolbarItemExt(const QString &itemIdentifier, QObject *parent)
    : QAction(parent), itemIdentifier_(itemIdentifier) {
  setObjectName(itemIdentifier);
}
