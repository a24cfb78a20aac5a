// The application and help menus' own entries: the about box, the log folder, the updater, the
// help files; and what a user is told when one of them has nothing to open.
#include "AEMessage.h"
#include "ConfigManager.h"
#include "KLog.h"
#include "MainController.h"
#include "MenuKeys.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QUrl>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// A worded text with "%@" replaced by `value` (the wording keeps the place of the value).
QString wordWith(const char *key, const QString &value) {
  QString text = word(QLatin1String(key));
  text.replace(QStringLiteral("%@"), value);
  return text;
}
} // namespace

void MainController::say(const QString &titleKey, const QString &message) {
  // Nothing waits on the answer, so packages keep arriving while the user reads.
  NSBeginAlertPanelExt(word(titleKey), message, word(QStringLiteral("OK")));
}

void MainController::showAboutBox(QObject *) {
  QString text = word(QStringLiteral("Title"));
  const QString version = QCoreApplication::applicationVersion();
  if (!version.isEmpty())
    text += QLatin1Char('\n') + wordWith("Version %@", version);
  say(QStringLiteral("About..."), text);
}

QString MainController::logFolder() {
  return KLog::sharedLog() ? KLog::sharedLog()->logDir() : KLog::logFolderFromSettings();
}

void MainController::showLogFolder(QObject *) {
  const QString folder = logFolder();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    say(QStringLiteral("Logs"), word(QStringLiteral("No log has been written yet.")));
    return;
  }
  if (!openSafari(QUrl::fromLocalFile(folder).toString()))
    say(QStringLiteral("Logs"), wordWith("The logs are in the folder %@.", QDir::toNativeSeparators(folder)));
}

void MainController::checkForUpdates(QObject *) {
  if (!updaterSupported()) {
    say(QStringLiteral("Update"), word(QStringLiteral("No updater is installed with this program.")));
    return;
  }
  if (AEMessage::defaultAEMessage()->send_ManualUpdate_Msg() != 0)
    say(QStringLiteral("Update"), word(QStringLiteral("The updater did not answer. Please try again later.")));
}

QString MainController::helpFilePath() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return {};
  const QString special = settingDict().value(QStringLiteral("SpecialHelp")).toString();
  const QString name = !special.isEmpty()
                           ? word(special)
                           : QFileInfo(word(QStringLiteral("/System/Library/ModemList/English_Help.pdf"))).fileName();
  const QString path = config->getFilePathWithFileName(name);
  return QFileInfo::exists(path) ? path : QString();
}

void MainController::tbiMainHelpAction(QObject *) {
  const QString path = helpFilePath();
  if (path.isEmpty()) {
    say(QStringLiteral("Help"), word(QStringLiteral("No help is installed with this program.")));
    return;
  }
  if (!openSafari(QUrl::fromLocalFile(path).toString()))
    say(QStringLiteral("Help"), wordWith("The help is the file %@.", QDir::toNativeSeparators(path)));
}

void MainController::openOnlineHelp(QObject *sender) {
  // The operator's help address when the wording has one, else the help that ships.
  const QString address = word(QStringLiteral("STRING_ONLINE_HELP_URL"));
  if (address != QLatin1String("STRING_ONLINE_HELP_URL") && openSafari(address))
    return;
  tbiMainHelpAction(sender);
}

void MainController::assignMenuMnemonics() {
  MenuKeys::assignMnemonics(menuBar);
}
