#include "PackageLink.h"

#include "BusNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVirtualObject>
#include <QDebug>

// Answers the qMsg call at once and hands the bytes on; a call of any other shape is refused
// with an error reply rather than ignored, so a confused peer learns about it.
class PackageEndpoint : public QDBusVirtualObject {
public:
  explicit PackageEndpoint(PackageLink *link) : link_(link) {}

  QString introspect(const QString &) const override {
    return QStringLiteral("<interface name=\"%1\"><method name=\"%2\"><arg name=\"package\" type=\"ay\" "
                          "direction=\"in\"/></method></interface>")
        .arg(QLatin1String(BusNames::kPackageInterface), QLatin1String(BusNames::kPackageMethod));
  }

  bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
    if (message.type() != QDBusMessage::MethodCallMessage)
      return false;
    const QList<QVariant> args = message.arguments();
    const bool shapeOk = message.interface() == QLatin1String(BusNames::kPackageInterface) &&
                         message.member() == QLatin1String(BusNames::kPackageMethod) && args.size() == 1 &&
                         args.first().typeId() == QMetaType::QByteArray;
    if (!shapeOk) {
      if (!message.isReplyRequired())
        return true;
      connection.send(message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("expected qMsg(ay)")));
      return true;
    }
    // Any process of the user can call us; only the peer may speak for the device.
    if (!link_->acceptsSender(message.service())) {
      if (message.isReplyRequired())
        connection.send(message.createErrorReply(
            QDBusError::AccessDenied, QStringLiteral("packages are taken only from %1").arg(link_->peerName())));
      return true;
    }
    if (message.isReplyRequired())
      connection.send(message.createReply());
    emit link_->packageReceived(args.first().toByteArray());
    return true;
  }

private:
  PackageLink *link_;
};

PackageLink::PackageLink(QString ownName, QString peerName, QDBusConnection connection, QObject *parent)
    : QObject(parent), ownName_(std::move(ownName)), peerName_(std::move(peerName)), connection_(std::move(connection)),
      endpoint_(std::make_unique<PackageEndpoint>(this)) {
  watcher_ = new QDBusServiceWatcher(peerName_, connection_, QDBusServiceWatcher::WatchForOwnerChange, this);
  connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &PackageLink::onOwnerChanged);
  setPeerOwner(queryPeerOwner());
}

QString PackageLink::queryPeerOwner() const {
  const QDBusConnectionInterface *bus = connection_.isConnected() ? connection_.interface() : nullptr;
  if (!bus)
    return {};
  const QDBusReply<QString> owner = bus->serviceOwner(peerName_);
  return owner.isValid() ? owner.value() : QString();
}

QString PackageLink::peerOwner() const {
  QMutexLocker lock(&ownerLock_);
  return peerOwner_;
}

void PackageLink::setPeerOwner(const QString &owner) {
  QMutexLocker lock(&ownerLock_);
  if (owner == peerOwner_)
    return;
  const QString old = peerOwner_;
  peerOwner_ = owner;
  lock.unlock();
  emit peerOwnerChanged(old, owner);
}

void PackageLink::onOwnerChanged(const QString &name, const QString &, const QString &newOwner) {
  if (name == peerName_)
    setPeerOwner(newOwner);
}

bool PackageLink::acceptsSender(const QString &sender) {
  // The watcher knows the peer's unique name: the bus announces a new owner before it passes on
  // anything the owner sends, and both reach this thread in that order. Anyone else is refused
  // without asking the bus, so that a flood of strangers costs no round trip each.
  if (!sender.isEmpty() && sender == peerOwner())
    return true;
  ++refusedSenders_;
  if (refusedSenders_ == 1 || refusedSenders_ % 100 == 0)
    qWarning().noquote() << "PackageLink: refused a package from" << sender << "- only" << peerName_ << "("
                         << (peerOwner().isEmpty() ? QStringLiteral("nobody") : peerOwner()) << ") may send;"
                         << refusedSenders_ << "refused so far";
  return false;
}

PackageLink::~PackageLink() {
  close();
}

bool PackageLink::open() {
  if (open_)
    return true;
  if (!connection_.isConnected()) {
    qWarning() << "PackageLink: no session bus:" << connection_.lastError().message();
    return false;
  }
  if (!connection_.registerVirtualObject(QLatin1String(BusNames::kPackagePath), endpoint_.get())) {
    qWarning() << "PackageLink: cannot register" << BusNames::kPackagePath;
    return false;
  }
  if (!connection_.registerService(ownName_)) {
    connection_.unregisterObject(QLatin1String(BusNames::kPackagePath));
    return false;
  }
  open_ = true;
  return true;
}

void PackageLink::close() {
  if (!open_)
    return;
  connection_.unregisterService(ownName_);
  connection_.unregisterObject(QLatin1String(BusNames::kPackagePath));
  open_ = false;
}

static QDBusMessage makeCall(const QString &peer, const QByteArray &package) {
  QDBusMessage call = QDBusMessage::createMethodCall(peer, QLatin1String(BusNames::kPackagePath),
                                                     QLatin1String(BusNames::kPackageInterface),
                                                     QLatin1String(BusNames::kPackageMethod));
  call.setAutoStartService(false);
  call << package;
  return call;
}

int PackageLink::sendBlocking(const QByteArray &package, int timeoutMs) {
  if (!connection_.isConnected())
    return ErrNoPeer;
  // Nobody to take it: answer at once instead of waiting out the time-out. The name may have been
  // claimed a moment ago, before the watcher's news arrived, so the bus is asked first.
  if (peerOwner().isEmpty()) {
    setPeerOwner(queryPeerOwner());
    if (peerOwner().isEmpty())
      return ErrNoPeer;
  }
  const QDBusMessage reply = connection_.call(makeCall(peerName_, package), QDBus::Block, timeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage)
    return NoError;
  const QString err = reply.errorName();
  if (err == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
      err == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
    emit peerNotAnswering();
    return ErrTimeout;
  }
  if (err == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
      err == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
    return ErrNoPeer;
  return ErrFailed;
}

bool PackageLink::sendNoReply(const QByteArray &package) {
  return connection_.isConnected() && connection_.send(makeCall(peerName_, package));
}

bool PackageLink::peerPresent() const {
  const QDBusConnectionInterface *bus = connection_.interface();
  return bus && bus->isServiceRegistered(peerName_).value();
}
