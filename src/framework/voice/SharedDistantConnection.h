#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QString>

// The process-wide client of the backend's voice-data service. The four operations forward to
// the service and answer its integer; before doConnection, when the service is absent, or when
// a call fails or answers something other than one integer, they answer 0. Safe to use from the
// audio thread and the main thread at once.
class SharedDistantConnection {
public:
  // Calls on the audio path must not hang a 20 ms tick for long.
  static constexpr int kCallTimeoutMs = 500;

  SharedDistantConnection(QString backendBusName, QDBusConnection connection = QDBusConnection::sessionBus());
  SharedDistantConnection(const SharedDistantConnection &) = delete;
  SharedDistantConnection &operator=(const SharedDistantConnection &) = delete;

  // The one instance, on the backend's bus name; never released.
  static SharedDistantConnection *shardConnection();

  const QString &serviceName() const { return vArivevorerServiceName_; }
  const QString &backendBusName() const { return backendBusName_; }

  bool doConnection();
  // Looks the service up under `name` and keeps it when the backend offers it.
  bool connectDistantServiceOfName(const QString &name);
  bool isConnected() const;
  void disconnect();

  int prepareVoiceTransfer();
  int readVoiceData();
  int writeVoiceData(int length);
  int stopVoiceTransfer();

private:
  int call(const char *method, const QVariantList &args = {});

  QString backendBusName_;
  QDBusConnection connection_;
  QString vArivevorerServiceName_;
  mutable QMutex lock_;
  QString serverProto_; // object path of the connected service; empty when not connected
};
