#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QMutex>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class PackageEndpoint;

// One side of the package link over the session bus: it owns a well-known name, receives
// packages as the method qMsg(ay) on /qUIMsg, and sends packages to the peer's name. A package is
// taken only from the connection that owns the peer's name at that moment; anyone else gets a
// D-Bus error and is counted. The bytes themselves are handed on unchecked: the receiver decides
// what a valid package is. The link follows who owns the peer's name, so that nothing is sent,
// and no time-out is waited, while nobody does.
class PackageLink : public QObject {
  Q_OBJECT
public:
  // Send results, in the spirit of the Apple-event error codes the callers were written for.
  enum SendError : int { NoError = 0, ErrNoPeer = -600, ErrTimeout = -1712, ErrFailed = -1 };

  PackageLink(QString ownName, QString peerName, QDBusConnection connection = QDBusConnection::sessionBus(),
              QObject *parent = nullptr);
  ~PackageLink() override;

  // Registers the receiving object and claims the name. False when the bus is unreachable or
  // another process already owns the name.
  bool open();
  void close();
  bool isOpen() const { return open_; }

  const QString &ownName() const { return ownName_; }
  const QString &peerName() const { return peerName_; }
  QDBusConnection connection() const { return connection_; }

  // Waits for the peer to take the call, at most `timeoutMs`; never runs the event loop. Without
  // an owner of the peer's name it answers ErrNoPeer at once; a time-out emits peerNotAnswering.
  int sendBlocking(const QByteArray &package, int timeoutMs = 1000);
  // Fire and forget: the peer's answer is not awaited.
  bool sendNoReply(const QByteArray &package);

  // Asks the bus: used where the answer must be current.
  bool peerPresent() const;
  // The unique name that owns the peer's name, as last seen (empty: nobody).
  QString peerOwner() const;
  // Packages refused because they came from someone other than the peer.
  int refusedSenderCount() const { return refusedSenders_; }

  // Whether a package from the unique name `sender` is taken (the endpoint asks).
  bool acceptsSender(const QString &sender);

signals:
  void packageReceived(const QByteArray &bytes);
  // The peer's name changed hands: `newOwner` empty means the peer has gone.
  void peerOwnerChanged(const QString &oldOwner, const QString &newOwner);
  // A blocking send timed out: the peer holds its name but does not answer.
  void peerNotAnswering();

private:
  void onOwnerChanged(const QString &name, const QString &oldOwner, const QString &newOwner);
  QString queryPeerOwner() const;
  void setPeerOwner(const QString &owner);

  QString ownName_;
  QString peerName_;
  QDBusConnection connection_;
  std::unique_ptr<PackageEndpoint> endpoint_;
  QDBusServiceWatcher *watcher_ = nullptr;
  // Senders may call from any thread (the centre serialises them); the owner is read there too.
  mutable QMutex ownerLock_;
  QString peerOwner_;
  int refusedSenders_ = 0;
  bool open_ = false;
};
