// The computer's Wi-Fi against a fake NetworkManager (python3-dbusmock's "networkmanager"
// template) on a private bus of the test's own.
#include "NetworkManagerAdapter.h"
#include "WiFiCore.h"
#include "WifiController.h"

#include "TestSupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
const QString kNM = QStringLiteral("org.freedesktop.NetworkManager");
const QString kNMPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kDeviceIface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kPython = QStringLiteral("/usr/bin/python3");

struct Delegate : wificore_responder {
  int started = 0, ended = 0, results = 0;
  void wificore_pollingStarted() override { ++started; }
  void wificore_pollingEnded() override { ++ended; }
  void wificore_pollingResultsAvailable(const QMap<QString, WiFiSpot> &) override { ++results; }
};

QJsonObject json(const QString &text) {
  return QJsonDocument::fromJson(text.toUtf8()).object();
}

QJsonValue at(const QJsonObject &o, const char *section, const char *key) {
  return o.value(QLatin1String(section)).toObject().value(QLatin1String(key));
}

QByteArray bytesOf(const QJsonValue &v) {
  QByteArray out;
  for (const QJsonValue &b : v.toArray())
    out.append(char(b.toInt()));
  return out;
}
} // namespace

class WifiFixture : public ::testing::Test {
protected:
  QProcess daemon, mock;
  QString address;
  QString connectionName = QStringLiteral("wifi-test-%1").arg(quintptr(this));
  QString device;

  void SetUp() override {
    if (!QFileInfo::exists(kPython) ||
        QProcess::execute(kPython, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
      GTEST_SKIP() << "python3-dbusmock is not installed";
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForStarted());
    ASSERT_TRUE(testsupport::waitUntil([&] { return daemon.canReadLine(); }));
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
  }

  void TearDown() override {
    WiFiCore::destroyInstance();
    QDBusConnection::disconnectFromBus(connectionName);
    for (QProcess *p : {&mock, &daemon}) {
      if (p->state() != QProcess::NotRunning) {
        p->terminate();
        if (!p->waitForFinished(3000))
          p->kill();
        p->waitForFinished(1000);
      }
    }
  }

  QDBusConnection bus() { return QDBusConnection::connectToBus(address, connectionName); }

  // Starts the fake service with one Wi-Fi device (fully activated).
  void startNetworkManager() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    mock.setProcessEnvironment(env);
    mock.start(kPython, {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                         QStringLiteral("--template"), QStringLiteral("networkmanager")});
    ASSERT_TRUE(mock.waitForStarted());
    QDBusConnection b = bus();
    ASSERT_TRUE(testsupport::waitUntil([&] { return b.interface()->isServiceRegistered(kNM).value(); }, 15000));
    device = call(kNMPath, kMock, "AddWiFiDevice", {"wlan0dev", "wlan0", 100}).value(0).toString();
    ASSERT_FALSE(device.isEmpty());
    // Records the settings of every activation instead of acting on them.
    call(
        kNMPath, kMock, "AddMethod",
        {kNM, "AddAndActivateConnection", "a{sa{sv}}oo", "oo",
         "self.last_settings = __import__('json').dumps(args[0]); ret = (dbus.ObjectPath('/'), dbus.ObjectPath('/'))"});
    call(kNMPath, kMock, "AddMethod",
         {"org.qel.Test", "LastSettings", "", "s", "ret = getattr(self, 'last_settings', '')"});
    call(device, kMock, "AddMethod",
         {kDeviceIface, "Disconnect", "", "", "self.Set('" + kDeviceIface + "', 'State', dbus.UInt32(30))"});
  }

  QVariantList call(const QString &path, const QString &interface, const char *method, const QVariantList &args) {
    QDBusMessage m = QDBusMessage::createMethodCall(kNM, path, interface, QLatin1String(method));
    m.setArguments(args);
    const QDBusMessage reply = bus().call(m, QDBus::Block, 5000);
    EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage) << method << " " << reply.errorMessage().toStdString();
    return reply.arguments();
  }

  QString addAccessPoint(const char *name, const QString &ssid, const char *mac, uint frequency, uchar strength,
                         uint security) {
    return call(kNMPath, kMock, "AddAccessPoint",
                {device, name, ssid, mac, uint(2), frequency, uint(54000), QVariant::fromValue(strength), security})
        .value(0)
        .toString();
  }

  void setStrength(const QString &ap, uchar strength) {
    call(kNMPath, kMock, "SetProperty",
         {ap, "org.freedesktop.NetworkManager.AccessPoint", "Strength",
          QVariant::fromValue(QDBusVariant(QVariant::fromValue(strength)))});
  }

  QJsonObject lastSettings() {
    return json(call(kNMPath, QStringLiteral("org.qel.Test"), "LastSettings", {}).value(0).toString());
  }

  WiFiCore *core() { return WiFiCore::init(std::make_unique<NetworkManagerAdapter>(bus())); }
};

TEST_F(WifiFixture, WithoutTheServiceEverythingReportsTheIOServiceError) {
  WiFiCore *wifi = core();
  ASSERT_TRUE(wifi);
  EXPECT_EQ(WiFiCore::init(), nullptr) << "a second instance is refused";
  EXPECT_EQ(WiFiCore::defaultWiFiController(), wifi);
  EXPECT_FALSE(wifi->wirelessControllerAvailable());
  EXPECT_EQ(wifi->controllerState(), -1);
  EXPECT_EQ(wifi->lastErrorDescription(), QStringLiteral("WiFi: IO Service error"));
  EXPECT_FALSE(wifi->scanForSpots().has_value());
  EXPECT_TRUE(wifi->currentConnectedControllerInfo().isEmpty());
  Delegate d;
  EXPECT_FALSE(wifi->startPollingScanForSpots(1, 1, &d));
  EXPECT_EQ(WiFiCore::_descriptionFromCode(0x88001006), QString());
  EXPECT_EQ(WiFiCore::_descriptionFromCode(0x8800100A), QStringLiteral("WiFi: Unknown error"));
  EXPECT_EQ(WiFiCore::_descriptionFromCode(0x8800100B), QStringLiteral("WiFi: No power"));
}

TEST_F(WifiFixture, PowerScanRecordsAndPolling) {
  startNetworkManager();
  const QString name32 = QStringLiteral("N").repeated(32);
  const QString wep = addAccessPoint("ap1", name32, "AA:BB:CC:DD:EE:0F", 2437, 40, 1);
  addAccessPoint("ap2", QStringLiteral("Open"), "02:00:00:00:00:01", 2412, 70, 0);
  WiFiCore *wifi = core();
  ASSERT_TRUE(wifi->wirelessControllerAvailable());
  EXPECT_EQ(wifi->controllerState(), 1);

  const auto spots = wifi->scanForSpots();
  ASSERT_TRUE(spots.has_value());
  ASSERT_EQ(spots->size(), 2);
  const WiFiSpot &first = spots->at(0);
  EXPECT_EQ(first.getNetworkName(), name32);
  EXPECT_EQ(first.macAddress(), QStringLiteral("aa:bb:cc:dd:ee:0f"));
  EXPECT_EQ(first.usedChannel(), 6);
  EXPECT_TRUE(first.isWEPEncrypted());
  EXPECT_TRUE(first.isWAPManaged());
  EXPECT_EQ(first.signalStrength(), 40);
  EXPECT_FALSE(spots->at(1).isWEPEncrypted());
  EXPECT_EQ(spots->at(1).usedChannel(), 1);

  Delegate d;
  EXPECT_TRUE(wifi->startPollingScanForSpots(1, 60, &d));
  EXPECT_EQ(d.started, 1);
  for (uchar strength : {uchar(40), uchar(55), uchar(30)}) {
    setStrength(wep, strength);
    wifi->_doPeriodicScan();
  }
  EXPECT_EQ(d.results, 3);
  const WiFiSpot seen = wifi->discoveredSpots().value(QStringLiteral("aa:bb:cc:dd:ee:0f"), WiFiSpot(QByteArray()));
  EXPECT_EQ(seen.signalStrength(), 30);
  EXPECT_EQ(seen.minSignal(), 30);
  EXPECT_EQ(seen.maxSignal(), 55);
  EXPECT_EQ(seen.averageSignal(), 42);
  EXPECT_EQ(wifi->discoveredSpots().size(), 2);
  EXPECT_TRUE(wifi->startPollingScanForSpots(1, 60, &d)) << "a second start stops";
  EXPECT_EQ(d.ended, 1);
  EXPECT_FALSE(wifi->isPolling());
  EXPECT_FALSE(wifi->startPollingScanForSpots(0, 60, &d)) << "nothing to stop";

  EXPECT_TRUE(wifi->setWiFiPower(false));
  EXPECT_EQ(wifi->controllerState(), 0);
  EXPECT_FALSE(wifi->startPollingScanForSpots(1, 60, &d));
  EXPECT_FALSE(wifi->scanForSpots().has_value());
  EXPECT_EQ(wifi->lastErrorDescription(), QStringLiteral("WiFi: No power"));
  EXPECT_TRUE(wifi->setWiFiPower(true));
  EXPECT_EQ(wifi->controllerState(), 1);
}

TEST_F(WifiFixture, ConnectionSettingsForOpenWepAndAdHocNetworks) {
  startNetworkManager();
  const QString ap = addAccessPoint("ap1", QStringLiteral("Café"), "02:11:22:33:44:55", 2462, 60, 1);
  WiFiCore *wifi = core();

  EXPECT_EQ(wifi->joinOnFreeNetworkNamed(QStringLiteral("Café")), 0u);
  QJsonObject s = lastSettings();
  EXPECT_EQ(bytesOf(at(s, "802-11-wireless", "ssid")), QStringLiteral("Café").toUtf8()) << "names travel as UTF-8";
  EXPECT_EQ(at(s, "802-11-wireless", "mode").toString(), QStringLiteral("infrastructure"));
  EXPECT_FALSE(s.contains("802-11-wireless-security"));

  EXPECT_EQ(wifi->joinOnWEPNetworkNamed(QStringLiteral("Café"), QStringLiteral("abcde")), 0u);
  s = lastSettings();
  EXPECT_EQ(at(s, "802-11-wireless-security", "key-mgmt").toString(), QStringLiteral("none"));
  EXPECT_EQ(at(s, "802-11-wireless-security", "wep-key0").toString(), QStringLiteral("abcde"));
  EXPECT_EQ(at(s, "802-11-wireless-security", "wep-key-type").toInt(), 1);

  // The ad-hoc network goes on the least crowded channel (the access point sits on 11).
  const quint32 channel = wifi->bestAdHocChannel();
  EXPECT_EQ(wifi->lastError(), 0u);
  EXPECT_EQ(channel, 1u);
  EXPECT_EQ(wifi->createNetworkNamed(QStringLiteral("Party"), QString(), int(channel)), 0u);
  s = lastSettings();
  EXPECT_EQ(bytesOf(at(s, "802-11-wireless", "ssid")), QByteArray("Party"));
  EXPECT_EQ(at(s, "802-11-wireless", "mode").toString(), QStringLiteral("adhoc"));
  EXPECT_EQ(at(s, "802-11-wireless", "channel").toInt(), 1);
  EXPECT_EQ(at(s, "ipv4", "method").toString(), QStringLiteral("link-local"));

  // Disconnecting drops the device's association; no network is joined for it.
  EXPECT_EQ(wifi->disassociate(), 0u);
  QDBusMessage get = QDBusMessage::createMethodCall(kNM, device, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << kDeviceIface << QStringLiteral("State");
  EXPECT_EQ(bus().call(get).arguments().value(0).value<QDBusVariant>().variant().toUInt(), 30u);
  EXPECT_EQ(bytesOf(at(lastSettings(), "802-11-wireless", "ssid")), QByteArray("Party"));
  Q_UNUSED(ap)
}

TEST_F(WifiFixture, CurrentConnectionAndThePanel) {
  startNetworkManager();
  const QString name32 = QStringLiteral("x").repeated(32);
  const QString ap = addAccessPoint("ap1", name32, "02:11:22:33:44:55", 2412, 77, 0);
  const QString connection = call(kNMPath, kMock, "AddWiFiConnection", {device, "c1", name32, ""}).value(0).toString();
  call(kNMPath, kMock, "AddActiveConnection", {QStringList{device}, connection, ap, "a1", uint(2)});
  WiFiCore *wifi = core();
  const QVariantMap info = wifi->currentConnectedControllerInfo();
  EXPECT_EQ(info.value("NETWORK").toString(), name32);
  EXPECT_EQ(info.value("MACADDRESS").toString(), QStringLiteral("02:11:22:33:44:55"));
  EXPECT_EQ(info.value("CLIENTMODE").toString(), QStringLiteral("BSS"));
  EXPECT_EQ(info.value("SIGNAL").toInt(), 77);
  EXPECT_TRUE(info.value("APSTATEISON").toBool());

  WifiController panel;
  panel.awakeFromNib();
  EXPECT_EQ(panel.btnWifiOn->text(), QStringLiteral("wifi off"));
  panel.wifiScan();
  ASSERT_EQ(panel.list.size(), 1);
  EXPECT_TRUE(panel.logLines.last().startsWith(QStringLiteral("-> ") + name32));
  // No power: no channel, so no ad-hoc network is made.
  panel.wifiTurnON();
  EXPECT_EQ(panel.btnWifiOn->text(), QStringLiteral("wifi on"));
  panel.tfdWifiConnectName->setText(QStringLiteral("Party"));
  panel.wifiCreatSpot();
  EXPECT_EQ(panel.logLines.last(), QStringLiteral("Creat failed!"));
  EXPECT_TRUE(lastSettings().isEmpty());
}
