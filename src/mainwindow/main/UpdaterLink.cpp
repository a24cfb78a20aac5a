#include "UpdaterLink.h"

#include "BusNames.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDebug>

UpdaterLink::UpdaterLink(QString busName, QObject *parent) : QObject(parent), busName_(std::move(busName)) {
  giveUp_.setSingleShot(true);
  connect(&giveUp_, &QTimer::timeout, this, [this] {
    qWarning() << "UpdaterLink: no updater owns" << busName_ << "- dropping" << queue_.size() << "command(s)";
    queue_.clear();
  });
  watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
  connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] { flush(); });
}

int UpdaterLink::send(const QByteArray &xml) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return -1;
  // Order is kept: once one waits, the later ones wait behind it.
  if (queue_.isEmpty()) {
    QDBusConnectionInterface *names = bus.interface();
    if (names && names->isServiceRegistered(busName_).value())
      return deliver(xml) ? 0 : -1;
  }
  queue_.append(xml);
  if (watcher_.watchedServices().isEmpty()) {
    watcher_.setConnection(bus);
    watcher_.addWatchedService(busName_);
  }
  if (!giveUp_.isActive())
    giveUp_.start(waitMs_);
  // It may have come between the question and the watch.
  if (QDBusConnectionInterface *names = bus.interface(); names && names->isServiceRegistered(busName_).value())
    flush();
  return 0;
}

bool UpdaterLink::deliver(const QByteArray &xml) {
  QDBusMessage call = QDBusMessage::createMethodCall(busName_, QLatin1String(BusNames::kUpdaterPath),
                                                     QLatin1String(BusNames::kUpdaterInterface),
                                                     QLatin1String(BusNames::kUpdaterCommandMethod));
  call << QString::fromUtf8(xml);
  call.setAutoStartService(false);
  // No reply is wanted: the conversation is one-way.
  const bool ok = QDBusConnection::sessionBus().send(call);
  if (ok)
    ++sent_;
  return ok;
}

void UpdaterLink::flush() {
  giveUp_.stop();
  const QList<QByteArray> waiting = std::exchange(queue_, {});
  for (const QByteArray &xml : waiting)
    deliver(xml);
}
