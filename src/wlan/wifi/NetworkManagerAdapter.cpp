#include "NetworkManagerAdapter.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QtEndian>

namespace {
const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kWireless = QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless");
const QString kAccessPoint = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");
const QString kActive = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kTimeoutMs = 5000;
constexpr quint32 kDeviceTypeWifi = 2;
constexpr quint32 kApPrivacy = 0x1;
constexpr quint32 kModeAdhoc = 1, kModeInfra = 2;

using Settings = QMap<QString, QVariantMap>;

quint32 codeOf(const QDBusMessage &reply) {
  if (reply.type() != QDBusMessage::ErrorMessage)
    return 0;
  const QString name = reply.errorName();
  if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
      name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
      name == QLatin1String("org.freedesktop.DBus.Error.Disconnected") ||
      name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
    return WirelessError::kIOService;
  if (name == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs"))
    return WirelessError::kParameters;
  if (name == QLatin1String("org.freedesktop.DBus.Error.NoMemory"))
    return WirelessError::kOutOfMemory;
  if (name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
    return WirelessError::kInternal;
  return WirelessError::kUnknown;
}

QString pathText(const QVariant &v) {
  if (v.canConvert<QDBusObjectPath>())
    return v.value<QDBusObjectPath>().path();
  return v.toString();
}

// A key of the right form is sent as a key, anything else as a pass phrase.
uint wepKeyType(const QByteArray &password) {
  const qsizetype n = password.size();
  return n == 5 || n == 13 || n == 10 || n == 26 ? 1 : 2;
}

void putU16(QByteArray &b, int offset, quint16 value) {
  qToLittleEndian<quint16>(value, b.data() + offset);
}

// "aa:bb:cc:dd:ee:ff" into six bytes; anything unreadable stays zero.
void putMac(QByteArray &b, int offset, const QString &text) {
  const QStringList parts = text.split(QLatin1Char(':'));
  for (int i = 0; i < 6 && i < parts.size(); ++i) {
    bool ok = false;
    const uint v = parts.at(i).toUInt(&ok, 16);
    b[offset + i] = char(ok && v <= 0xFF ? v : 0);
  }
}
} // namespace

NetworkManagerAdapter::NetworkManagerAdapter() : NetworkManagerAdapter(busFromEnvironment()) {}

NetworkManagerAdapter::NetworkManagerAdapter(const QDBusConnection &bus) : bus_(bus) {
  qDBusRegisterMetaType<Settings>();
}

QDBusConnection NetworkManagerAdapter::busFromEnvironment() {
  return qEnvironmentVariable("QEL_WIFI_BUS") == QLatin1String("session") ? QDBusConnection::sessionBus()
                                                                          : QDBusConnection::systemBus();
}

int NetworkManagerAdapter::channelOfFrequency(quint32 mhz) {
  if (mhz == 2484)
    return 14;
  if (mhz >= 2412 && mhz < 2484)
    return int((mhz - 2407) / 5);
  if (mhz >= 5000 && mhz < 6000)
    return int((mhz - 5000) / 5);
  return 0;
}

QByteArray NetworkManagerAdapter::scanRecord(const QVariantMap &ap) {
  QByteArray b(WirelessScanRecord::kSize, '\0');
  putU16(b, 0, quint16(channelOfFrequency(ap.value(QStringLiteral("Frequency")).toUInt())));
  putU16(b, 2, 0); // NetworkManager reports no noise level
  putU16(b, 4, quint16(ap.value(QStringLiteral("Strength")).toUInt()));
  putMac(b, 6, ap.value(QStringLiteral("HwAddress")).toString());
  putU16(b, 12, 100);
  quint16 flags = 0;
  if (ap.value(QStringLiteral("Mode")).toUInt() == kModeInfra)
    flags |= WirelessScanRecord::kFlagManaged;
  if (ap.value(QStringLiteral("Flags")).toUInt() & kApPrivacy)
    flags |= WirelessScanRecord::kFlagWEP;
  putU16(b, 14, flags);
  const QByteArray ssid = ap.value(QStringLiteral("Ssid")).toByteArray().left(32);
  putU16(b, 16, quint16(ssid.size()));
  std::copy(ssid.cbegin(), ssid.cend(), b.begin() + 18);
  return b;
}

quint32 NetworkManagerAdapter::attach() {
  if (!bus_.isConnected() || !bus_.interface() || !bus_.interface()->isServiceRegistered(kService).value())
    return WirelessError::kIOService;
  return findDevice();
}

quint32 NetworkManagerAdapter::findDevice() {
  if (!device_.isEmpty())
    return 0;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("GetDevices"));
  const QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
  if (const quint32 code = codeOf(reply))
    return code;
  const QDBusArgument arg = reply.arguments().value(0).value<QDBusArgument>();
  QList<QDBusObjectPath> devices;
  arg >> devices;
  for (const QDBusObjectPath &d : devices) {
    QVariant type;
    if (property(d.path(), kDevice, QStringLiteral("DeviceType"), &type) == 0 && type.toUInt() == kDeviceTypeWifi) {
      device_ = d.path();
      return 0;
    }
  }
  return WirelessError::kIOService;
}

quint32 NetworkManagerAdapter::property(const QString &path, const QString &interface, const QString &name,
                                        QVariant *value) {
  QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("Get"));
  call << interface << name;
  const QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
  if (const quint32 code = codeOf(reply))
    return code;
  *value = reply.arguments().value(0).value<QDBusVariant>().variant();
  return 0;
}

bool NetworkManagerAdapter::isAvailable() {
  return attach() == 0;
}

quint32 NetworkManagerAdapter::setEnabled(int value) {
  return setPower(value != 0);
}

quint32 NetworkManagerAdapter::setPower(bool on) {
  if (const quint32 code = attach())
    return code;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kProperties, QStringLiteral("Set"));
  call << kManager << QStringLiteral("WirelessEnabled") << QVariant::fromValue(QDBusVariant(on));
  return codeOf(bus_.call(call, QDBus::Block, kTimeoutMs));
}

quint32 NetworkManagerAdapter::getPower(quint8 *on) {
  if (const quint32 code = attach())
    return code;
  QVariant v;
  if (const quint32 code = property(kManagerPath, kManager, QStringLiteral("WirelessEnabled"), &v))
    return code;
  *on = v.toBool() ? 1 : 0;
  return 0;
}

quint32 NetworkManagerAdapter::wirelessOn() {
  quint8 on = 0;
  if (const quint32 code = getPower(&on))
    return code;
  return on ? 0 : WirelessError::kNoPower;
}

quint32 NetworkManagerAdapter::accessPoints(QList<QVariantMap> *out, QStringList *paths) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, device_, kWireless, QStringLiteral("GetAllAccessPoints"));
  const QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
  if (const quint32 code = codeOf(reply))
    return code;
  QList<QDBusObjectPath> aps;
  reply.arguments().value(0).value<QDBusArgument>() >> aps;
  for (const QDBusObjectPath &ap : aps) {
    QDBusMessage get = QDBusMessage::createMethodCall(kService, ap.path(), kProperties, QStringLiteral("GetAll"));
    get << kAccessPoint;
    const QDBusMessage props = bus_.call(get, QDBus::Block, kTimeoutMs);
    if (codeOf(props))
      continue; // gone meanwhile
    QVariantMap map;
    props.arguments().value(0).value<QDBusArgument>() >> map;
    out->append(map);
    if (paths)
      paths->append(ap.path());
  }
  return 0;
}

quint32 NetworkManagerAdapter::scanSplit(QList<QByteArray> *first, QList<QByteArray> *second, int) {
  if (second)
    second->clear();
  if (!first)
    return WirelessError::kParameters;
  first->clear();
  if (const quint32 code = wirelessOn())
    return code;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, device_, kWireless, QStringLiteral("RequestScan"));
  call << QVariantMap();
  // A scan asked for too soon after the last is refused; the known list still answers.
  (void)bus_.call(call, QDBus::Block, kTimeoutMs);
  QList<QVariantMap> aps;
  if (const quint32 code = accessPoints(&aps))
    return code;
  for (const QVariantMap &ap : aps)
    first->append(scanRecord(ap));
  return 0;
}

quint32 NetworkManagerAdapter::getInfo(QByteArray *record) {
  if (!record)
    return WirelessError::kParameters;
  *record = QByteArray(WirelessInfoRecord::kSize, '\0');
  if (const quint32 code = wirelessOn())
    return code;
  QVariant active;
  if (const quint32 code = property(device_, kDevice, QStringLiteral("ActiveConnection"), &active))
    return code;
  const QString activePath = pathText(active);
  if (activePath.isEmpty() || activePath == QLatin1String("/"))
    return 0; // not associated: an empty record
  QVariant apPath;
  if (const quint32 code = property(activePath, kActive, QStringLiteral("SpecificObject"), &apPath))
    return code;
  QDBusMessage get = QDBusMessage::createMethodCall(kService, pathText(apPath), kProperties, QStringLiteral("GetAll"));
  get << kAccessPoint;
  const QDBusMessage props = bus_.call(get, QDBus::Block, kTimeoutMs);
  QVariantMap ap;
  if (!codeOf(props))
    props.arguments().value(0).value<QDBusArgument>() >> ap;
  const quint16 strength = quint16(ap.value(QStringLiteral("Strength")).toUInt());
  putU16(*record, 0, strength);
  putU16(*record, 4, strength);
  putU16(*record, 8, 4); // associated
  const quint32 mode = ap.value(QStringLiteral("Mode")).toUInt();
  putU16(*record, 10, mode == kModeInfra ? 1 : mode == kModeAdhoc ? 4 : 0);
  putU16(*record, 14, 1);
  putMac(*record, 18, ap.value(QStringLiteral("HwAddress")).toString());
  const QByteArray ssid = ap.value(QStringLiteral("Ssid")).toByteArray().left(WirelessInfoRecord::kNameWidth);
  std::copy(ssid.cbegin(), ssid.cend(), record->begin() + WirelessInfoRecord::kNameOffset);
  return 0;
}

quint32 NetworkManagerAdapter::getBestChannel(quint16 *channel) {
  if (!channel)
    return WirelessError::kParameters;
  if (const quint32 code = wirelessOn())
    return code;
  QList<QVariantMap> aps;
  if (const quint32 code = accessPoints(&aps))
    return code;
  // The least crowded of the three channels that do not overlap.
  int best = 1, fewest = INT_MAX;
  for (int candidate : {1, 6, 11}) {
    int count = 0;
    for (const QVariantMap &ap : aps)
      count += std::abs(channelOfFrequency(ap.value(QStringLiteral("Frequency")).toUInt()) - candidate) < 5 ? 1 : 0;
    if (count < fewest) {
      fewest = count;
      best = candidate;
    }
  }
  *channel = quint16(best);
  return 0;
}

quint32 NetworkManagerAdapter::activate(const QVariantMap &wireless, const QString &specificObject) {
  Settings settings;
  const QByteArray ssid = wireless.value(QStringLiteral("ssid")).toByteArray();
  settings.insert(QStringLiteral("connection"), {{QStringLiteral("type"), QStringLiteral("802-11-wireless")},
                                                 {QStringLiteral("id"), QString::fromUtf8(ssid)}});
  QVariantMap radio = wireless;
  radio.remove(QStringLiteral("security"));
  settings.insert(QStringLiteral("802-11-wireless"), radio);
  if (wireless.contains(QStringLiteral("security")))
    settings.insert(QStringLiteral("802-11-wireless-security"), wireless.value(QStringLiteral("security")).toMap());
  if (radio.value(QStringLiteral("mode")) == QLatin1String("adhoc"))
    settings.insert(QStringLiteral("ipv4"), {{QStringLiteral("method"), QStringLiteral("link-local")}});
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("AddAndActivateConnection"));
  call << QVariant::fromValue(settings) << QVariant::fromValue(QDBusObjectPath(device_))
       << QVariant::fromValue(QDBusObjectPath(specificObject));
  return codeOf(bus_.call(call, QDBus::Block, kTimeoutMs));
}

quint32 NetworkManagerAdapter::join(const QByteArray &name) {
  return joinWEP(name, QByteArray());
}

quint32 NetworkManagerAdapter::joinWEP(const QByteArray &name, const QByteArray &password) {
  if (name.isEmpty() || name.size() > 32)
    return WirelessError::kParameters;
  if (const quint32 code = wirelessOn())
    return code;
  QList<QVariantMap> aps;
  QStringList paths;
  if (const quint32 code = accessPoints(&aps, &paths))
    return code;
  QString specific = QStringLiteral("/");
  for (int i = 0; i < aps.size(); ++i)
    if (aps.at(i).value(QStringLiteral("Ssid")).toByteArray() == name)
      specific = paths.at(i);
  QVariantMap wireless{{QStringLiteral("ssid"), name}, {QStringLiteral("mode"), QStringLiteral("infrastructure")}};
  if (!password.isEmpty())
    wireless.insert(QStringLiteral("security"), QVariantMap{{QStringLiteral("key-mgmt"), QStringLiteral("none")},
                                                            {QStringLiteral("wep-key0"), QString::fromUtf8(password)},
                                                            {QStringLiteral("wep-key-type"), wepKeyType(password)}});
  return activate(wireless, specific);
}

quint32 NetworkManagerAdapter::makeIBSS(const QByteArray &name, const QByteArray &password, int channel) {
  if (name.isEmpty() || name.size() > 32 || channel < 1 || channel > 14)
    return WirelessError::kParameters;
  if (const quint32 code = wirelessOn())
    return code;
  QVariantMap wireless{{QStringLiteral("ssid"), name},
                       {QStringLiteral("mode"), QStringLiteral("adhoc")},
                       {QStringLiteral("band"), QStringLiteral("bg")},
                       {QStringLiteral("channel"), uint(channel)}};
  if (!password.isEmpty())
    wireless.insert(QStringLiteral("security"), QVariantMap{{QStringLiteral("key-mgmt"), QStringLiteral("none")},
                                                            {QStringLiteral("wep-key0"), QString::fromUtf8(password)},
                                                            {QStringLiteral("wep-key-type"), wepKeyType(password)}});
  return activate(wireless, QStringLiteral("/"));
}

quint32 NetworkManagerAdapter::disassociate() {
  if (const quint32 code = attach())
    return code;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, device_, kDevice, QStringLiteral("Disconnect"));
  return codeOf(bus_.call(call, QDBus::Block, kTimeoutMs));
}
