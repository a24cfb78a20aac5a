#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QELUIController;
class QObject;

// What QEL_START_PAGE and QEL_START_ACTION ask for once the main window is up: a tab brought
// forward as a user's click would (and a page of the settings window), and one controller action
// run by name. Screenshots and checks of later pages start from here.
class StartKnobs {
public:
  struct Page {
    QString tab;          // a tab identifier ("Internet")
    QString settingsPage; // empty unless "<tab>/<page>" was given
  };
  // "Internet" or "Setting/Network"; surrounding blanks are ignored.
  static Page parsePage(const QString &value);

  // The tab identifier of the settings window, which is not a page of the main tab view.
  static QString settingsTab() { return QStringLiteral("Setting"); }

  // Applies `page` (through `main`) and then `action` (the first of `controllers` that has a
  // method of that name runs it, as "itemAction" entries are resolved). Anything that cannot be
  // applied is answered as one line each; the rest is still applied.
  static QStringList apply(const QString &page, const QString &action, QELUIController *main,
                           const QList<QObject *> &controllers);

  // Reads both knobs from the environment and applies them; the errors go to stderr.
  static void applyFromEnvironment(QELUIController *main, const QList<QObject *> &controllers);
};
