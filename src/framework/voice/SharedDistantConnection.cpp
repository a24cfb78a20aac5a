#include "SharedDistantConnection.h"

#include "BusNames.h"
#include "VoiceSharedMemory.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDebug>

SharedDistantConnection::SharedDistantConnection(QString backendBusName, QDBusConnection connection)
    : backendBusName_(std::move(backendBusName)), connection_(std::move(connection)),
      vArivevorerServiceName_(QLatin1String(VoiceService::kServiceName)) {}

SharedDistantConnection *SharedDistantConnection::shardConnection() {
  static SharedDistantConnection *instance = new SharedDistantConnection(BusNames::backendBusName());
  return instance;
}

bool SharedDistantConnection::doConnection() {
  return connectDistantServiceOfName(vArivevorerServiceName_);
}

bool SharedDistantConnection::connectDistantServiceOfName(const QString &name) {
  const QString path = QLatin1Char('/') + name;
  bool found = false;
  if (!name.isEmpty() && connection_.isConnected()) {
    // The service is there when the backend's object answers for our interface.
    QDBusMessage introspect = QDBusMessage::createMethodCall(
        backendBusName_, path, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    const QDBusReply<QString> reply = connection_.call(introspect, QDBus::Block, kCallTimeoutMs);
    found = reply.isValid() &&
            reply.value().contains(QStringLiteral("\"%1\"").arg(QLatin1String(VoiceService::kInterface)));
  }
  QMutexLocker locker(&lock_);
  serverProto_ = found ? path : QString();
  if (!found)
    qWarning() << "SharedDistantConnection: no voice-data service" << name << "on" << backendBusName_;
  return found;
}

bool SharedDistantConnection::isConnected() const {
  QMutexLocker locker(&lock_);
  return !serverProto_.isEmpty();
}

void SharedDistantConnection::disconnect() {
  QMutexLocker locker(&lock_);
  serverProto_.clear();
}

int SharedDistantConnection::call(const char *method, const QVariantList &args) {
  QString path;
  {
    QMutexLocker locker(&lock_);
    path = serverProto_;
  }
  if (path.isEmpty())
    return 0;
  QDBusMessage msg = QDBusMessage::createMethodCall(backendBusName_, path, QLatin1String(VoiceService::kInterface),
                                                    QLatin1String(method));
  msg.setArguments(args);
  const QDBusMessage reply = connection_.call(msg, QDBus::Block, kCallTimeoutMs);
  const QVariantList out = reply.arguments();
  if (reply.type() != QDBusMessage::ReplyMessage || out.size() != 1 || out.first().typeId() != QMetaType::Int)
    return 0;
  return out.first().toInt();
}

int SharedDistantConnection::prepareVoiceTransfer() {
  return call("prepareVoiceTransfer");
}
int SharedDistantConnection::readVoiceData() {
  return call("readVoiceData");
}
int SharedDistantConnection::writeVoiceData(int length) {
  return call("writeVoiceData", {QVariant::fromValue<int>(length)});
}
int SharedDistantConnection::stopVoiceTransfer() {
  return call("stopVoiceTransfer");
}
