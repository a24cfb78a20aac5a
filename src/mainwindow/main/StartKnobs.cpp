#include "StartKnobs.h"

#include "CocoaExt.h"
#include "DispatchTargets.h"
#include "Neighbourhood.h"
#include "QELUIController.h"
#include "SettingsNeighbour.h"

#include <QMetaObject>
#include <cstdio>

StartKnobs::Page StartKnobs::parsePage(const QString &value) {
  const QString text = value.trimmed();
  const int slash = text.indexOf(QLatin1Char('/'));
  if (slash < 0)
    return {text, QString()};
  return {text.left(slash).trimmed(), text.mid(slash + 1).trimmed()};
}

QStringList StartKnobs::apply(const QString &page, const QString &action, QELUIController *main,
                              const QList<QObject *> &controllers) {
  QStringList errors;
  if (!page.trimmed().isEmpty()) {
    const Page wanted = parsePage(page);
    const bool isTab = main && NSTabViewExt::tabViewItemOfIdentifier(main->tabviewMain, wanted.tab) >= 0;
    if (!main || wanted.tab.isEmpty() || (!isTab && wanted.tab != settingsTab())) {
      errors << QStringLiteral("QEL_START_PAGE: no tab \"%1\"").arg(wanted.tab);
    } else {
      main->notifyChangeTabViewItem(wanted.tab);
      if (!wanted.settingsPage.isEmpty()) {
        bool opened = false;
        if (auto *settings = Neighbourhood::settings())
          opened = settings->openSettingPage(wanted.settingsPage);
        if (!opened)
          errors << QStringLiteral("QEL_START_PAGE: no settings page \"%1\"").arg(wanted.settingsPage);
      }
    }
  }
  const QByteArray name = action.trimmed().toLatin1();
  if (!name.isEmpty()) {
    bool ran = false;
    for (QObject *object : controllers) {
      // The first controller that has the action runs it; the others are not asked.
      auto *controller = qobject_cast<QELUIController *>(object);
      if (controller && DispatchTargets::answersItemAction(controller, name) &&
          controller->performItemAction(name, nullptr)) {
        ran = true;
        break;
      }
    }
    if (!ran)
      errors << QStringLiteral("QEL_START_ACTION: no controller has an action \"%1\"").arg(QString::fromLatin1(name));
  }
  return errors;
}

void StartKnobs::applyFromEnvironment(QELUIController *main, const QList<QObject *> &controllers) {
  const QStringList errors =
      apply(qEnvironmentVariable("QEL_START_PAGE"), qEnvironmentVariable("QEL_START_ACTION"), main, controllers);
  for (const QString &error : errors)
    std::fprintf(stderr, "connection-manager: %s\n", qPrintable(error));
  std::fflush(stderr);
}
