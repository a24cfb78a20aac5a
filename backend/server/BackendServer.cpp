#include "BackendServer.h"

#include <QCoreApplication>
#include <QDebug>

namespace {
constexpr int kReceivedLimit = 10000;
}

BackendServer::BackendServer(Modem *modem, QString ownName, QString programName, QObject *parent)
    : QObject(parent), modem_(modem), link_(std::move(ownName), programName) {
  connect(&link_, &PackageLink::packageReceived, this, &BackendServer::onPackage);
  connect(modem_, &Modem::packageOut, this, [this](const UIMsg &m) { link_.sendNoReply(m.encode()); });
  watcher_.setConnection(link_.connection());
  watcher_.addWatchedService(programName);
  watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
  connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &BackendServer::onProgramRegistered);
  connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &BackendServer::onProgramUnregistered);
}

bool BackendServer::start() {
  if (!link_.open()) {
    qWarning() << "vArivevorer: cannot own" << link_.ownName();
    return false;
  }
  if (link_.peerPresent())
    onProgramRegistered();
  return true;
}

bool BackendServer::inject(const QByteArray &bytes) {
  return link_.sendNoReply(bytes);
}

void BackendServer::onPackage(const QByteArray &bytes) {
  if (received_.size() >= kReceivedLimit)
    received_.removeFirst();
  received_.append(bytes);
  UIMsg msg;
  if (UIMsg::decode(bytes, &msg))
    modem_->handle(msg);
  else
    qWarning() << "vArivevorer: ignoring a package of" << bytes.size() << "bytes";
}

void BackendServer::onProgramRegistered() {
  programSeen_ = true;
  modem_->programAppeared();
}

void BackendServer::onProgramUnregistered() {
  emit programLeft();
  // A backend whose program is gone would only linger: end with it.
  if (programSeen_ && exitWhenProgramLeaves_)
    QCoreApplication::quit();
}
