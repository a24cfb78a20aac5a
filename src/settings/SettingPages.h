#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class ButtonMatrix;
class QTabWidget;
class SettingController;

// The widgets of the settings window: the page list on the left, the title and the pages in
// `tabviewSetting`. Each page is one row of `pageTable()`: its identifier (what "SettingDefaultItem"
// lists), the tag of the navigation matrix, the wording key of its button and the builder that
// makes its widgets and sets the controller's outlets. A page whose feature is not built yet has
// no builder and shows empty; a later feature adds its page by filling in its row.
// Texts are set by the controller: a control carrying the property "wordingKey" shows the wording
// of that key (see SettingController::wordPage).
namespace SettingPages {

struct Page {
  const char *identifier;
  int tag;               // the navigation tag (-1: reached by its button only)
  const char *buttonKey; // wording of the page's button
  QWidget *(*build)(SettingController *controller, QWidget *parent);
};

const QList<Page> &pageTable();

// Builds the window's page (with every page of the table) into the main tab view as the tab
// "Setting", sets the controller's outlets (tabviewSetting among them) and wires the controls to
// the controller's actions. Answers the page.
QWidget *build(SettingController *controller, QTabWidget *mainTabs);

// Makes a label or button show `key`'s wording (now and on every language change).
void setWordingKey(QWidget *control, const QString &key);

template <typename W> W *worded(QWidget *parent, const char *name, const char *key) {
  auto *w = new W(parent);
  w->setObjectName(QLatin1String(name));
  setWordingKey(w, QLatin1String(key));
  return w;
}

// A matrix of radio cells, one per (wording key, tag), in rows.
ButtonMatrix *radioMatrix(QWidget *parent, const char *name, const QList<QPair<const char *, int>> &cells);

// The builders of the network, call, browser and favourite-links pages (SettingPagesNetwork.cpp).
QWidget *buildNetwork(SettingController *c, QWidget *parent);
QWidget *buildCall(SettingController *c, QWidget *parent);
QWidget *buildBrowser(SettingController *c, QWidget *parent);
QWidget *buildFavoriteLinks(SettingController *c, QWidget *parent);

} // namespace SettingPages
