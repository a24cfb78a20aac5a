#include "ListFileNotices.h"

#include "ListFile.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSet>

namespace {

QSet<QString> g_told;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

void tell(const QString &path, ListFile::ReadState state, const QString &keptAs) {
  const QString key = QString::number(int(state)) + QLatin1Char(':') + path + QLatin1Char(':') + keptAs;
  if (g_told.contains(key))
    return;
  g_told.insert(key);
  const QString name = QFileInfo(path).fileName();
  QString text;
  switch (state) {
  case ListFile::ReadState::Damaged:
    text = keptAs.isEmpty()
               ? word("The message list %1 is damaged and cannot be read; its messages are not shown.").arg(name)
               : word("The message list %1 was damaged and could not be read. It was kept as %2; new messages are "
                      "stored in a new list.")
                     .arg(name, keptAs);
    break;
  case ListFile::ReadState::TooLarge:
    text = word("The message list %1 is too large to read. It is left as it is, and no message is stored in it.")
               .arg(name);
    break;
  case ListFile::ReadState::Unreadable:
    text = word("The message list %1 cannot be opened. It is left as it is, and no message is stored in it.").arg(name);
    break;
  default:
    return;
  }
  NSBeginAlertPanelExt(word("Warning"), text, word("OK"));
}

} // namespace

namespace ListFileNotices {

void install() {
  ListFile::setReportHandler([](const QString &path, ListFile::ReadState state, const QString &keptAs) {
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
      return;
    // The alert belongs to the main thread whoever read the file.
    QMetaObject::invokeMethod(
        app, [path, state, keptAs] { tell(path, state, keptAs); }, Qt::QueuedConnection);
  });
}

void uninstall() {
  ListFile::setReportHandler({});
  g_told.clear();
}

} // namespace ListFileNotices
