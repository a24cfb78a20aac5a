#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class PackageEndpoint;

// One side of the package link over the session bus: it owns a well-known name, receives
// packages as the method qMsg(ay) on /qUIMsg, and sends packages to the peer's name. Received
// bytes are handed on unchecked: the receiver decides what a valid package is.
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

  // Waits for the peer to take the call, at most `timeoutMs`; never runs the event loop.
  int sendBlocking(const QByteArray &package, int timeoutMs = 1000);
  // Fire and forget: the peer's answer is not awaited.
  bool sendNoReply(const QByteArray &package);

  bool peerPresent() const;

signals:
  void packageReceived(const QByteArray &bytes);

private:
  QString ownName_;
  QString peerName_;
  QDBusConnection connection_;
  std::unique_ptr<PackageEndpoint> endpoint_;
  bool open_ = false;
};
