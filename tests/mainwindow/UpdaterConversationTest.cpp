// The updater conversation: the facts it keeps in the update folder, when it sends which
// command, and the commands the stand-in updater receives.
#include "AEMessage.h"
#include "BusNames.h"
#include "ConfigManager.h"
#include "Plist.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QDateTime kNow(QDate(2026, 12, 11), QTime(10, 0));

class UpdaterConversation : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString modemList;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<AEMessage> updater;
  QList<QVariantMap> commands;

  void SetUp() override {
    modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList + QStringLiteral("/Update"));
    Plist::writeFile(update("IMEIInfo.plist"), QVariantMap());
    Plist::writeFile(update("LocalInfo.plist"), QVariantMap{{QStringLiteral("KEEP"), QStringLiteral("me")}});
    Plist::writeFile(update("UpdateCfg.plist"), QVariantMap());
    writeIni("ENABLE_UPDATE=0\n");
    AEMessage::setClock([] { return kNow; });
  }
  void TearDown() override {
    AEMessage::setDefaultAEMessage(nullptr);
    updater.reset();
    ConfigManager::setSharedConfigManager(nullptr);
    AEMessage::setClock({});
  }

  QString update(const char *name) const { return modemList + QStringLiteral("/Update/") + QLatin1String(name); }
  void writeIni(const QByteArray &text) {
    QFile f(update("UpdateCfg.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }
  QByteArray ini() const {
    QFile f(update("UpdateCfg.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QVariantMap plist(const char *name) const {
    QVariantMap m;
    Plist::readDictionary(update(name), &m);
    return m;
  }
  QVariantMap savedSettings() const {
    QVariantMap m;
    Plist::readDictionary(modemList + QStringLiteral("/settings.plist"), &m);
    return m;
  }
  // Starts the conversation on these settings, commands recorded instead of sent.
  void start(const QVariantMap &settings, bool record = true) {
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"), settings);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    updater = std::make_unique<AEMessage>();
    AEMessage::setDefaultAEMessage(updater.get());
    if (record)
      updater->setSender([this](const QByteArray &xml) {
        QVariant v;
        Plist::fromData(xml, &v);
        commands << v.toMap();
        return 0;
      });
  }
  QList<int> ids() const {
    QList<int> out;
    for (const QVariantMap &c : commands)
      out << c.value(QStringLiteral("CMD_ID")).toInt();
    return out;
  }
};

TEST_F(UpdaterConversation, VersionTextsAreDerivedFromTheTextAfterTheLastV) {
  const QList<std::tuple<QString, QString, QString>> cases = {
      // text, program version, firmware version
      {"V2.1B05", "2.1.05", "2.1.05"},
      {"V2.1", "", "2.1"},
      {"BD_V1.0.0B03", "1.0.0.03", "1.0.0.03"},
      {"V1.0B1B2", "1.0.1B2", "1.0.1B2"},
      {"BUILD 1.0.0", "", ""},
      {"ENDS_WITH_V", "", ""},
      {"", "", ""},
  };
  for (const auto &[text, ui, fw] : cases) {
    EXPECT_EQ(AEMessage::uiVersionFrom(text), ui) << qPrintable(text);
    EXPECT_EQ(AEMessage::firmwareVersionFrom(text), fw) << qPrintable(text);
  }
}

TEST_F(UpdaterConversation, TheIntervalIsPastAfterThirtyDaysAndAHalf) {
  const QList<std::pair<double, bool>> cases = {{29, false}, {29.4, false}, {30, true},
                                                {31, true},  {0, false},    {-1, false}};
  for (const auto &[days, past] : cases)
    EXPECT_EQ(AEMessage::intervalPassed(kNow.addSecs(qint64(-days * 86400)), kNow), past) << days;
}

TEST_F(UpdaterConversation, AutomaticMessagesWaitForTheIntervalOthersDoNot) {
  for (const int days : {29, 31}) {
    SCOPED_TRACE(days);
    commands.clear();
    start({{QStringLiteral("AUTOUPDATE_ENABLE"), true},
           {QStringLiteral("CheckIntervalDays"), true},
           {QStringLiteral("UpdateTime"), kNow.addDays(-days)}});
    ASSERT_TRUE(updater->isSupportUpdate());
    updater->send_Init_Msg();
    updater->dealWithDeviceReady(); // device state 3, then the automatic update 2
    updater->send_AutoUpdate_Msg();
    updater->send_ManualUpdate_Msg();
    updater->send_DeviceOut_Msg();
    if (days == 31)
      EXPECT_EQ(ids(), QList<int>({1, 3, 2, 2, 2, 3}));
    else
      EXPECT_EQ(ids(), QList<int>({1, 2, 3})); // the start, the manual update and the removal
  }
  // The manual update's mode, the removal's state.
  EXPECT_EQ(commands.at(commands.size() - 2).value(QStringLiteral("UPDATE_MODE")).toInt(), 1);
  EXPECT_EQ(commands.last().value(QStringLiteral("DEVICE_STATE")).toBool(), false);
  EXPECT_EQ(commands.last().value(QStringLiteral("KEEP")).toString(), QStringLiteral("me"));
}

TEST_F(UpdaterConversation, AFirstIntervalStartIsWrittenAtOnce) {
  start({{QStringLiteral("CheckIntervalDays"), true}});
  EXPECT_TRUE(updater->isSupportUpdate());
  EXPECT_FALSE(updater->isPastIntervalDays());
  EXPECT_EQ(savedSettings().value(QStringLiteral("UpdateTime")).toDateTime(), kNow);
}

TEST_F(UpdaterConversation, WithoutAllFourFilesNothingHappens) {
  QFile::remove(update("UpdateCfg.plist"));
  start({{QStringLiteral("AUTOUPDATE_ENABLE"), true}});
  EXPECT_FALSE(updater->isSupportUpdate());
  updater->send_ManualUpdate_Msg();
  updater->dealWithFirmwareVersion(QStringLiteral("BD_V1.0.0B03"));
  EXPECT_TRUE(commands.isEmpty());
  EXPECT_FALSE(plist("LocalInfo.plist").contains(QStringLiteral("FW")));
}

TEST_F(UpdaterConversation, FactsAreRecordedBesideTheUpdatersOwnKeys) {
  start({});
  updater->dealWithFirmwareVersion(QStringLiteral("BD_V1.0.0B03"));
  updater->dealWithDeviceType(QStringLiteral("QEL-E100"));
  updater->dealWithMCCMNC(QStringLiteral("00101"));
  updater->dealWithMCCMNC(QString()); // ignored
  updater->dealWithUIVersion();
  const QVariantMap info = plist("LocalInfo.plist");
  EXPECT_EQ(info.value(QStringLiteral("FW")).toString(), QStringLiteral("BD_V1.0.0B03"));
  EXPECT_EQ(info.value(QStringLiteral("FW_VERSION")).toString(), QStringLiteral("1.0.0.03"));
  EXPECT_EQ(info.value(QStringLiteral("DEVICE_TYPE")).toString(), QStringLiteral("QEL-E100"));
  EXPECT_EQ(info.value(QStringLiteral("GP_MCCMNC")).toString(), QStringLiteral("00101"));
  EXPECT_TRUE(info.contains(QStringLiteral("SV")));
  EXPECT_EQ(info.value(QStringLiteral("KEEP")).toString(), QStringLiteral("me"));
}

TEST_F(UpdaterConversation, TheFirstImeiIsLockedAndNeverReplaced) {
  start({});
  updater->dealWithIMEI(QString());
  EXPECT_TRUE(plist("IMEIInfo.plist").isEmpty());
  updater->dealWithIMEI(QStringLiteral("350000000000001"));
  updater->dealWithIMEI(QStringLiteral("350000000000002"));
  EXPECT_FALSE(updater->setIMEIInfo({{QStringLiteral("IMEI"), QStringLiteral("x")}}));
  const QVariantMap imei = plist("IMEIInfo.plist");
  EXPECT_EQ(imei.value(QStringLiteral("IMEI")).toString(), QStringLiteral("350000000000001"));
  EXPECT_TRUE(imei.value(QStringLiteral("IMEI_ISLOCKED")).toBool());
  // Commands carry the locked IMEI.
  updater->send_DeviceOut_Msg();
  EXPECT_EQ(commands.last().value(QStringLiteral("UNSIGNED_ID")).toString(), QStringLiteral("350000000000001"));
}

TEST_F(UpdaterConversation, IniEditsTouchOnlyTheKeysOwnLine) {
  struct Case {
    const char *name;
    QByteArray before;
    QString key, value;
    QByteArray after;
  };
  const QList<Case> cases = {
      {"switch 0 becomes 1, blank lines dropped, each line then followed by an empty one",
       "ENABLE_UPDATE=0\n\n\r\nServiceURL=http://a\n", "ENABLE_UPDATE=", "1",
       "ENABLE_UPDATE=1\n\nServiceURL=http://a\n\n"},
      {"a longer key that contains it is another setting", "AUTO_ENABLE_UPDATE=0\nENABLE_UPDATE=0\n",
       "ENABLE_UPDATE=", "1", "AUTO_ENABLE_UPDATE=0\n\nENABLE_UPDATE=1\n\n"},
      {"a value cannot add lines", "ServiceURL=old\n", "ServiceURL=", "http://b\r\nENABLE_UPDATE=1",
       "ServiceURL=http://bENABLE_UPDATE=1\n\n"},
      {"CR LF lines keep their CR", "UPDATE_FREQUENCE=14\r\nX=1\r\n", "UPDATE_FREQUENCE=", "30",
       "UPDATE_FREQUENCE=30\n\nX=1\r\n\n"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(AEMessage::rewriteIni(c.before, c.key, c.value), c.after) << c.name;

  start({});
  writeIni("ENABLE_UPDATE=0\n\nServiceURL=\n");
  updater->setAutoUpdate(true);
  updater->setServiceAddress(QStringLiteral("http://updates.example"));
  updater->setUpdateDuration(14);
  EXPECT_EQ(ini(), QByteArray("ENABLE_UPDATE=1\n\nServiceURL=http://updates.example\n\n"));
}

// The program starts the stand-in updater from the bundle and its commands arrive in order, the
// first ones waiting until the updater owns its name.
TEST_F(UpdaterConversation, TheStandInUpdaterReceivesTheCommandsInOrder) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    GTEST_SKIP() << "no session bus";
  const QString ui = testsupport::uniqueBusName(QStringLiteral("ui"));
  const QString name = testsupport::uniqueBusName(QStringLiteral("updater"));
  ASSERT_TRUE(bus.registerService(ui));
  qputenv("QEL_UI_BUS_NAME", ui.toUtf8());
  qputenv("QEL_UPDATER_BUS_NAME", name.toUtf8());
  start({{QStringLiteral("AUTOUPDATE_ENABLE"), true}}, false);
  updater->ApplicationFinishLaunchHook();
  updater->dealWithDeviceReady();
  updater->send_DeviceOut_Msg();
  QStringList received;
  const bool got = testsupport::waitUntil([&] {
    QDBusInterface iface(name, QLatin1String(BusNames::kUpdaterPath), QLatin1String(BusNames::kUpdaterInterface), bus);
    const QDBusReply<QStringList> reply = iface.isValid() ? iface.call(QStringLiteral("Received")) : QDBusMessage();
    received = reply.isValid() ? reply.value() : QStringList();
    return received.size() >= 4;
  });
  // The updater leaves with the program.
  bus.unregisterService(ui);
  const bool left = testsupport::waitUntil([&] { return !bus.interface()->isServiceRegistered(name).value(); });
  qunsetenv("QEL_UI_BUS_NAME");
  qunsetenv("QEL_UPDATER_BUS_NAME");
  ASSERT_TRUE(got) << received.size();
  QList<int> order;
  QList<bool> states;
  for (const QString &xml : received) {
    QVariant v;
    ASSERT_TRUE(Plist::fromData(xml.toUtf8(), &v));
    order << v.toMap().value(QStringLiteral("CMD_ID")).toInt();
    states << v.toMap().value(QStringLiteral("DEVICE_STATE")).toBool();
  }
  EXPECT_EQ(order, QList<int>({1, 3, 2, 3}));
  EXPECT_EQ(states.value(1), true);
  EXPECT_EQ(states.value(3), false);
  EXPECT_TRUE(left);
}

} // namespace
