#include "ReopenService.h"

#include "MainController.h"

#include <QDBusConnection>
#include <QDBusMessage>

bool ReopenService::registerOn(QDBusConnection &connection) {
  return connection.registerObject(QLatin1String(kPath), this, QDBusConnection::ExportScriptableSlots);
}

bool ReopenService::askRunningInstance(const QString &busName) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      busName, QLatin1String(kPath), QStringLiteral("org.qel.ConnectionManager.Application"), QStringLiteral("Reopen"));
  call.setAutoStartService(false);
  return QDBusConnection::sessionBus().call(call, QDBus::Block, 1000).type() == QDBusMessage::ReplyMessage;
}

void ReopenService::Reopen() {
  if (!g_MainController)
    return;
  QWidget *window = g_MainController->currentMainWnd;
  g_MainController->applicationShouldHandleReopen(window && window->isVisible());
  if (window) {
    window->raise();
    window->activateWindow();
  }
}
