#pragma once

#include "WirelessAdapter.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

// The computer's Wi-Fi through NetworkManager (org.freedesktop.NetworkManager) on the system bus,
// or on the session bus when QEL_WIFI_BUS is "session" (tests and demos run a fake there). The
// first wireless device is used. Without the service every call answers the "IO Service" error.
class NetworkManagerAdapter : public WirelessAdapter {
public:
  NetworkManagerAdapter();
  explicit NetworkManagerAdapter(const QDBusConnection &bus);

  static QDBusConnection busFromEnvironment();

  quint32 attach() override;
  bool isAvailable() override;
  quint32 setEnabled(int value) override;
  quint32 setPower(bool on) override;
  quint32 getPower(quint8 *on) override;
  quint32 getInfo(QByteArray *record) override;
  quint32 scanSplit(QList<QByteArray> *first, QList<QByteArray> *second, int merge) override;
  quint32 getBestChannel(quint16 *channel) override;
  quint32 join(const QByteArray &name) override;
  quint32 joinWEP(const QByteArray &name, const QByteArray &password) override;
  quint32 makeIBSS(const QByteArray &name, const QByteArray &password, int channel) override;
  quint32 disassociate() override;

  // The channel of a frequency in MHz (2.4 and 5 GHz bands), 0 when none.
  static int channelOfFrequency(quint32 mhz);
  // The scan record of an access point's properties.
  static QByteArray scanRecord(const QVariantMap &accessPoint);

private:
  quint32 findDevice();
  quint32 property(const QString &path, const QString &interface, const QString &name, QVariant *value);
  quint32 accessPoints(QList<QVariantMap> *out, QStringList *paths = nullptr);
  quint32 activate(const QVariantMap &settings, const QString &specificObject);
  quint32 wirelessOn();

  QDBusConnection bus_;
  QString device_;
};
