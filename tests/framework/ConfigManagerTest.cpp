#include "ConfigManager.h"
#include "Plist.h"
#include "SafeFile.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SignalCapture : public QObject {
  Q_OBJECT
public:
  QList<QByteArray> payloads;
public slots:
  void capture(const QByteArray &xml) { payloads << xml; }
};

// A bundle folder with optional ModemList folders around it.
class ConfigFixture : public ::testing::Test {
protected:
  QTemporaryDir root;
  QString bundle() const { return root.filePath("Apps/Program"); }
  QString inResources() const { return bundle() + "/Resources/ModemList"; }
  QString besideBundle() const { return root.filePath("Apps/ModemList"); }
  QString twoUp() const { return root.filePath("Resources/ModemList"); }

  void SetUp() override { QDir().mkpath(bundle()); }

  std::unique_ptr<ConfigManager> make(const QVariantMap &settings = {}, const QString &userFolder = {}) {
    QDir().mkpath(inResources());
    if (!settings.isEmpty())
      Plist::writeFile(inResources() + "/settings.plist", settings);
    return std::make_unique<ConfigManager>(ConfigManager::locationsForBundle(bundle(), userFolder));
  }
};

TEST_F(ConfigFixture, SearchOrderTakesTheFirstFolderThatExists) {
  struct Case {
    QStringList present;
    QString expected;
  };
  const QList<Case> cases = {
      {{inResources(), besideBundle(), twoUp()}, inResources()},
      {{besideBundle(), twoUp()}, besideBundle()},
      {{twoUp()}, twoUp()},
  };
  for (const Case &c : cases) {
    QDir(root.filePath("Apps")).removeRecursively();
    QDir(root.filePath("Resources")).removeRecursively();
    QDir().mkpath(bundle());
    for (const QString &p : c.present)
      QDir().mkpath(p);
    ConfigManager cm(ConfigManager::locationsForBundle(bundle()));
    EXPECT_EQ(cm.modemListPath(), QDir::cleanPath(c.expected));
    EXPECT_EQ(cm.configFilePathOfKey(kCMSettingFile), QDir::cleanPath(c.expected) + "/settings.plist");
  }
}

TEST_F(ConfigFixture, NoFolderMeansNoTableAndFailedWrites) {
  ConfigManager::Locations loc;
  loc.candidates = {root.filePath("none1"), root.filePath("none2")};
  ConfigManager cm(loc);
  EXPECT_TRUE(cm.modemListPath().isEmpty());
  EXPECT_TRUE(cm.configFilePathOfKey(kCMSettingFile).isNull());
  EXPECT_FALSE(cm.writeToFile());
}

TEST_F(ConfigFixture, TableHasEveryKeyUnderTheFolder) {
  auto cm = make();
  EXPECT_EQ(configFileKeys().size(), 33);
  EXPECT_EQ(cm->configFilePathOfKey(kCMModemListPath), QDir::cleanPath(inResources()));
  EXPECT_EQ(cm->configFilePathOfKey(kCMSoundCallFile), QDir::cleanPath(inResources()) + "/sound/call.wav");
  EXPECT_EQ(cm->configFilePathOfKey(kInitFilePath), QDir::cleanPath(inResources()) + "/Update/UpdateCfg.ini");
  EXPECT_TRUE(cm->configFilePathOfKey(QString()).isNull());
  cm->setConfigFilePath("/elsewhere/x", kCMPhoneBookFile);
  EXPECT_EQ(cm->configFilePathOfKey(kCMPhoneBookFile), "/elsewhere/x");
}

TEST_F(ConfigFixture, ReadsDictionaryArrayAndSingleValueModules) {
  auto cm = make({{"Main", QVariantMap{{"k", 7}}}, {"Set", QVariantList{"A", "B"}}, {"X", 5}});
  EXPECT_EQ(cm->getConfigurationByModuleAndKey("Main", "k").toInt(), 7);
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey("Main", "missing").isValid());
  EXPECT_EQ(cm->getConfigurationByModuleAndKey("Set", "B").toString(), "B");
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey("Set", "C").isValid());
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey("X", "k").isValid());
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey("Nope", "k").isValid());
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey(QString(), "k").isValid());
  EXPECT_EQ(cm->getConfigurationByModule("X").toInt(), 5);
}

TEST_F(ConfigFixture, WritesFollowTheModuleKind) {
  auto cm = make({{"Main", QVariantMap{}}, {"Set", QVariantList{"A", "B"}}, {"X", 5}});
  EXPECT_TRUE(cm->setConfigurationByModuleKeyAndValue("Set", "anything", "C"));
  EXPECT_TRUE(cm->setConfigurationByModuleKeyAndValue("Set", "other", "C"));
  EXPECT_EQ(cm->getConfigurationByModule("Set").toList(), (QVariantList{"A", "B", "C"}));
  EXPECT_TRUE(cm->setConfigurationByModuleKeyAndValue("X", "k", 9));
  EXPECT_EQ(cm->getConfigurationByModule("X").toInt(), 5);
  EXPECT_FALSE(cm->setConfigurationByModuleKeyAndValue("Missing", "k", 1));
  EXPECT_FALSE(cm->setConfigurationByModuleKeyAndValue("Main", QString(), 1));
  EXPECT_TRUE(cm->setConfigurationByModuleKeyAndValue("Main", "k", 1));
  EXPECT_TRUE(cm->removeConfigurationByModuleAndKey("Main", "k"));
  EXPECT_FALSE(cm->getConfigurationByModuleAndKey("Main", "k").isValid());
  EXPECT_FALSE(cm->removeConfigurationByModuleAndKey("Missing", "k"));
  EXPECT_TRUE(cm->removeConfigurationByModule("X"));
  EXPECT_FALSE(cm->getConfigurationByModule("X").isValid());
}

TEST_F(ConfigFixture, WriteThenReloadKeepsTheSameLiveDictionary) {
  auto cm = make({{"Main", QVariantMap{{"a", 1}}}});
  QVariantMap *live = &cm->getConfiguration();
  cm->setConfigurationByModuleKeyAndValue("Main", "a", 2);
  ASSERT_TRUE(cm->writeToFile());
  cm->setConfigurationByModuleKeyAndValue("Main", "a", 3);
  cm->resetSettings();
  EXPECT_EQ(&cm->getConfiguration(), live);
  EXPECT_EQ(cm->getConfigurationByModuleAndKey("Main", "a").toInt(), 2);
}

TEST_F(ConfigFixture, RuntimeDataSurvivesAReload) {
  auto cm = make({{"Main", QVariantMap{}}});
  cm->setConfigurationByModule(kCMRuntimeDataKey, QVariantMap{{"runtimeIMEI", "123"}});
  cm->resetSettings();
  EXPECT_EQ(cm->getConfigurationByModuleAndKey(kCMRuntimeDataKey, "runtimeIMEI").toString(), "123");
}

TEST_F(ConfigFixture, UnreadableSettingsAreSetAsideNotOverwritten) {
  QDir().mkpath(inResources());
  QFile f(inResources() + "/settings.plist");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<plist><dict><key>broken");
  f.close();
  ConfigManager cm(ConfigManager::locationsForBundle(bundle()));
  EXPECT_TRUE(cm.getConfiguration().isEmpty());
  ASSERT_FALSE(cm.setAsidePath().isEmpty());
  QFile aside(cm.setAsidePath());
  ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
  EXPECT_EQ(aside.readAll(), QByteArray("<plist><dict><key>broken"));
}

// A full disk while saving: the old file stays as it was and the caller hears NO.
TEST_F(ConfigFixture, AFailedWriteKeepsTheFileAndAnswersNo) {
  auto cm = make({{"Main", QVariantMap{{"k", 1}}}, {kCMSavedPinKey, "1234"}});
  const QString path = cm->configFilePathOfKey(kCMSettingFile);
  const QByteArray before = [&] {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  cm->setConfigurationByModuleKeyAndValue("Main", "k", 2);
  SafeFile::setWriteFaultForTesting([](qint64) { return ENOSPC; });
  EXPECT_FALSE(cm->writeToFile());
  SafeFile::setWriteFaultForTesting(nullptr);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
  ConfigManager again(ConfigManager::locationsForBundle(bundle()));
  EXPECT_EQ(again.getConfigurationByModule(kCMSavedPinKey).toString(), "1234");
}

// Whatever stands in place of settings.plist, the program starts (no hang on a FIFO, no
// exhausted memory on /dev/zero), keeps the thing aside untouched, and runs on the product's
// shipped settings rather than on nothing.
TEST_F(ConfigFixture, HostileSettingsAreSetAsideAndTheShippedSettingsUsed) {
  const QString shipped = bundle() + "/Resources/Defaults/settings.plist";
  testsupport::writePlist(shipped, {{"Main", QVariantMap{{"OperatorSwitch", true}}}});
  const QString path = inResources() + "/settings.plist";
  struct Case {
    const char *what;
    std::function<void()> make;
    std::function<bool(const QString &)> asideIsIntact;
  };
  const QList<Case> cases = {
      {"fifo", [&] { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
       [](const QString &a) { return QFileInfo(a).exists() && !QFileInfo(a).isFile() && !QFileInfo(a).isDir(); }},
      {"link to /dev/zero", [&] { QFile::link("/dev/zero", path); },
       [](const QString &a) { return QFileInfo(a).symLinkTarget() == "/dev/zero"; }},
      {"dangling link", [&] { QFile::link(root.filePath("nothing"), path); },
       [](const QString &a) { return QFileInfo(a).isSymLink(); }},
      {"folder", [&] { QDir().mkpath(path); }, [](const QString &a) { return QFileInfo(a).isDir(); }},
      {"larger than any real file",
       [&] {
         QFile f(path);
         f.open(QIODevice::WriteOnly);
         f.resize(33 * 1024 * 1024); // sparse: costs no disk
       },
       [](const QString &a) { return QFileInfo(a).size() == 33 * 1024 * 1024; }},
      {"damaged",
       [&] {
         QFile f(path);
         f.open(QIODevice::WriteOnly);
         f.write("<plist><dict><key>broken");
       },
       [](const QString &a) { return QFileInfo(a).isFile(); }},
  };
  for (const Case &c : cases) {
    QDir(inResources()).removeRecursively();
    QDir().mkpath(inResources());
    c.make();
    ConfigManager cm(ConfigManager::locationsForBundle(bundle()));
    ASSERT_FALSE(cm.setAsidePath().isEmpty()) << c.what;
    EXPECT_TRUE(c.asideIsIntact(cm.setAsidePath())) << c.what;
    EXPECT_TRUE(cm.getConfigurationByModuleAndKey("Main", "OperatorSwitch").toBool()) << c.what;
    EXPECT_TRUE(cm.writeToFile()) << c.what;
    EXPECT_TRUE(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) << c.what;
  }
}

TEST_F(ConfigFixture, ALinkedSettingsFileIsReadButNeverWrittenThrough) {
  const QString target = root.filePath("someone-elses.plist");
  testsupport::writePlist(target, {{"Main", QVariantMap{{"k", 1}}}});
  QFile original(target);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray before = original.readAll();
  QDir().mkpath(inResources());
  ASSERT_TRUE(QFile::link(target, inResources() + "/settings.plist"));
  ConfigManager cm(ConfigManager::locationsForBundle(bundle()));
  EXPECT_EQ(cm.getConfigurationByModuleAndKey("Main", "k").toInt(), 1);
  cm.setConfigurationByModuleKeyAndValue("Main", "k", 2);
  ASSERT_TRUE(cm.writeToFile());
  EXPECT_FALSE(QFileInfo(inResources() + "/settings.plist").isSymLink());
  QFile after(target);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);
}

// A ModemList folder of another user (one beside the bundle in a shared folder) is never used;
// the search goes on to the next.
TEST_F(ConfigFixture, FoldersOfOtherUsersAreSkipped) {
  QDir().mkpath(besideBundle());
  QDir().mkpath(twoUp());
  testsupport::writePlist(besideBundle() + "/settings.plist", {{"Planted", true}});
  auto loc = ConfigManager::locationsForBundle(bundle());
  const QString foreign = QDir::cleanPath(besideBundle());
  loc.ownerOf = [&](const QString &p) { return QDir::cleanPath(p) == foreign ? 4242u : uint(::geteuid()); };
  ConfigManager cm(loc);
  EXPECT_EQ(cm.modemListPath(), QDir::cleanPath(twoUp()));
  EXPECT_FALSE(cm.getConfiguration().contains("Planted"));
}

// The user's own copy and the files holding the PIN are the user's alone, whatever the umask.
TEST_F(ConfigFixture, TheUsersFoldersAndSecretsArePrivateWhateverTheUmask) {
  const mode_t oldMask = ::umask(0);
  QDir().mkpath(inResources() + "/sound");
  Plist::writeFile(inResources() + "/settings.plist", QVariantMap{{"Main", QVariantMap{}}});
  const QString user = root.filePath("data/qel/ModemList");
  auto loc = ConfigManager::locationsForBundle(bundle(), user);
  loc.isWritable = [](const QString &) { return false; };
  ConfigManager cm(loc);
  ASSERT_EQ(cm.modemListPath(), QDir::cleanPath(user));
  cm.getConfiguration().insert(kCMSavedPinKey, "1234");
  ASSERT_TRUE(cm.writeToFile());
  ::umask(oldMask);
  auto mode = [](const QString &p) {
    struct stat st {};
    return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
  };
  EXPECT_EQ(mode(user), 0700);
  EXPECT_EQ(mode(user + "/sound"), 0700);
  EXPECT_EQ(mode(root.filePath("data/qel")), 0700);
  EXPECT_EQ(mode(user + "/settings.plist"), 0600);
}

TEST_F(ConfigFixture, SettingsFileIsPrivate) {
  auto cm = make({{"Main", QVariantMap{}}});
  cm->getConfiguration().insert(kCMSavedPinKey, "1234");
  ASSERT_TRUE(cm->writeToFile());
  const auto perms = QFile::permissions(cm->configFilePathOfKey(kCMSettingFile));
  EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
}

TEST_F(ConfigFixture, ReadOnlyBundleUsesASeededUserFolder) {
  QDir().mkpath(inResources());
  Plist::writeFile(inResources() + "/settings.plist", QVariantMap{{"Main", QVariantMap{{"seed", 1}}}});
  const QString user = root.filePath("user/ModemList");
  auto loc = ConfigManager::locationsForBundle(bundle(), user);
  const QString readOnly = QDir::cleanPath(inResources());
  loc.isWritable = [&](const QString &p) { return QDir::cleanPath(p) != readOnly; };
  ConfigManager cm(loc);
  EXPECT_EQ(cm.modemListPath(), QDir::cleanPath(user));
  EXPECT_EQ(cm.getConfigurationByModuleAndKey("Main", "seed").toInt(), 1);
  EXPECT_TRUE(cm.writeToFile());
  // The seed is taken once: a later start keeps the user's own copy.
  cm.setConfigurationByModuleKeyAndValue("Main", "seed", 2);
  ASSERT_TRUE(cm.writeToFile());
  ConfigManager again(loc);
  EXPECT_EQ(again.getConfigurationByModuleAndKey("Main", "seed").toInt(), 2);
}

// "SettingsChanged" goes out on the session bus only when switched on and only after a
// successful write; it never carries the run-time data or the saved PIN.
TEST_F(ConfigFixture, SettingsChangedSignal) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    GTEST_SKIP() << "no session bus";
  auto off = make({{"SynchronousControllerAndUI", false}, {"Main", QVariantMap{}}});
  ASSERT_TRUE(off->writeToFile());
  EXPECT_EQ(off->settingsChangedPostCount(), 0);
  off.reset();

  SignalCapture capture;
  ASSERT_TRUE(bus.connect(QString(), QString(), "org.qel.ConfigManager", "SettingsChanged", &capture,
                          SLOT(capture(QByteArray))));
  auto on = make({{"SynchronousControllerAndUI", true}, {"Main", QVariantMap{}}});
  on->getConfiguration().insert(kCMSavedPinKey, "1234");
  on->getConfiguration().insert(kCMRuntimeDataKey, QVariantMap{{"runtimeIMEI", "1"}});
  ASSERT_TRUE(on->writeToFile());
  EXPECT_EQ(on->settingsChangedPostCount(), 1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !capture.payloads.isEmpty(); }));
  QVariant carried;
  ASSERT_TRUE(Plist::fromData(capture.payloads.first(), &carried));
  EXPECT_TRUE(carried.toMap().contains("Main"));
  EXPECT_FALSE(carried.toMap().contains(kCMSavedPinKey));
  EXPECT_FALSE(carried.toMap().contains(kCMRuntimeDataKey));
  on->setConfigFilePath(root.filePath("no/such/dir/settings.plist"), kCMSettingFile);
  EXPECT_FALSE(on->writeToFile());
  EXPECT_EQ(on->settingsChangedPostCount(), 1);
}

TEST_F(ConfigFixture, AFolderNamedInTheEnvironmentReplacesTheSearchOrder) {
  QDir().mkpath(inResources());
  const QString named = root.filePath("Named/ModemList");
  QDir().mkpath(named);
  qputenv(kModemListDirVariable, named.toLocal8Bit());
  const ConfigManager::Locations loc = ConfigManager::locationsForBundle(bundle(), root.filePath("user"));
  qunsetenv(kModemListDirVariable);
  EXPECT_EQ(loc.candidates, QStringList{QDir::cleanPath(named)});
  ConfigManager cm(loc);
  EXPECT_EQ(cm.modemListPath(), QDir::cleanPath(named));
  EXPECT_EQ(ConfigManager::locationsForBundle(bundle()).candidates.value(0), QDir::cleanPath(inResources()));
}

TEST_F(ConfigFixture, AnotherProcessesSettingsChangedReloadsTheFileAndKeepsTheRuntimeData) {
  QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "another-process");
  if (!QDBusConnection::sessionBus().isConnected() || !other.isConnected())
    GTEST_SKIP() << "no session bus";
  auto cm = make({{"SynchronousControllerAndUI", true}, {"Main", QVariantMap{{"Step", 1}}}});
  cm->getConfiguration().insert(kCMRuntimeDataKey, QVariantMap{{"runtimeIMEI", "1"}});
  // The other process writes the file, then says so with the settings it wrote (as ours does, so
  // that other listeners on the bus read a well-formed signal).
  const QVariantMap written{{"SynchronousControllerAndUI", true}, {"Main", QVariantMap{{"Step", 2}}}};
  Plist::writeFile(inResources() + "/settings.plist", written);
  QDBusMessage changed = QDBusMessage::createSignal("/ConfigManager", "org.qel.ConfigManager", "SettingsChanged");
  changed << Plist::toXml(written);
  ASSERT_TRUE(other.send(changed));
  EXPECT_TRUE(testsupport::waitUntil([&] { return cm->getConfigurationByModuleAndKey("Main", "Step") == 2; }));
  EXPECT_EQ(cm->getConfiguration().value(kCMRuntimeDataKey).toMap().value("runtimeIMEI"), "1");
  QDBusConnection::disconnectFromBus("another-process");
}

} // namespace

#include "ConfigManagerTest.moc"
