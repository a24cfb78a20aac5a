// The connection profiles end to end: the real window and controllers against the simulated
// modem, which reports what it received through its control interface.
#include "../mainwindow/MainWindowFixture.h"
#include "DialConfigFile.h"
#include "DialController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

struct Sent {
  QString apn, number, user, password;
  int connectType = -1, authMode = -1, mtu = -1;
};

QVariantMap profile(const QString &name, const QString &apn) {
  return {{QStringLiteral("provider"), name},
          {QStringLiteral("apnName"), apn},
          {QStringLiteral("telNumber"), QStringLiteral("*99#")},
          {QStringLiteral("pppFlag"), 1}};
}

class ConnectionProfileRoad : public NetworkWindowFixture {
protected:
  QVariantMap extraSettings;
  QVariantList profiles{profile("Internet", "internet"), profile("Work", "work.apn")};

  QVariantMap settingsOverrides() const override { return extraSettings; }

  void SetUp() override {} // each test sets its settings, then starts
  void start(const QString &scenarioPath = {}) {
    NetworkWindowFixture::SetUp();
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")), profiles);
    link = std::make_unique<PackageLink>(ui, be);
    ASSERT_TRUE(link->open());
    center = std::make_unique<QELMsgCenter>(link.get());
    parts = MainWindowBuilder::build(center.get(), nullptr, &owner);
    const QString scenario =
        scenarioPath.isEmpty() ? testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist")
                               : scenarioPath;
    backend = std::make_unique<testsupport::BackendProcess>(ui, be, scenario);
    ASSERT_TRUE(backend->start());
  }

  Sent sent() const {
    const QVariantList r = backend->control(QStringLiteral("DialParams"));
    Sent s;
    if (r.size() == 7) {
      s.apn = r[0].toString();
      s.number = r[1].toString();
      s.user = r[2].toString();
      s.password = r[3].toString();
      s.connectType = r[4].toInt();
      s.authMode = r[5].toInt();
      s.mtu = r[6].toInt();
    }
    return s;
  }
  bool waitForApn(const QString &apn) {
    return testsupport::waitUntil([&] { return sent().apn == apn; });
  }
  QVariant saved(const QString &key) const { return config->getConfiguration().value(key); }
  QVariantList fileProfiles() const {
    QVariant v;
    Plist::readFile(DialConfigFile::path(), &v);
    return v.toList();
  }
  QString scenarioWith(const QString &imsi, int mncLength) {
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    QVariantMap sim = scenario.value(QStringLiteral("SIM")).toMap();
    sim.insert(QStringLiteral("IMSI"), imsi);
    sim.insert(QStringLiteral("MNCLength"), mncLength);
    scenario.insert(QStringLiteral("SIM"), sim);
    QVariantMap net = scenario.value(QStringLiteral("Network")).toMap();
    net.insert(QStringLiteral("MCC"), imsi.left(3));
    net.insert(QStringLiteral("MNC"), imsi.mid(3, mncLength));
    scenario.insert(QStringLiteral("Network"), net);
    return testsupport::writePlist(dir.filePath(QStringLiteral("scenario-%1.plist").arg(imsi)), scenario);
  }
};

TEST_F(ConnectionProfileRoad, SimReadySendsTheCurrentProfileAndTheComboBoxAnother) {
  extraSettings = {{QStringLiteral("Internet"), QVariantMap{{QStringLiteral("MTUSize"), 1400}}}};
  start();
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("internet")));
  const Sent first = sent();
  EXPECT_EQ(first.number, QStringLiteral("*99#"));
  EXPECT_EQ(first.authMode, 1);
  EXPECT_EQ(first.mtu, 1400);
  EXPECT_EQ(first.connectType, 0);

  QComboBox *combo = g_DialController->m_DialConfigList;
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("Edit Configuration"));
  emit combo->activated(2);
  ASSERT_TRUE(waitForApn(QStringLiteral("work.apn")));
  EXPECT_EQ(saved(QStringLiteral("ProfileID")).toInt(), 1);
}

TEST_F(ConnectionProfileRoad, AccountSheetSendsTheTypedAccountButKeepsItOutOfTheFile) {
  QVariantMap asking = profile("Internet", "internet");
  asking.insert(QStringLiteral("askUsernameFlag"), 1);
  asking.insert(QStringLiteral("saveUsernameFlag"), 1);
  asking.insert(QStringLiteral("accountName"), QStringLiteral("old"));
  profiles = {asking};
  extraSettings = {{QStringLiteral("Internet"), QVariantMap{{QStringLiteral("CheckAPNAccount"), true}}}};
  start();
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("internet")));
  DialController *dial = g_DialController;
  answers.reset();
  ScriptedAnswers sheet([&](const ModalQuestion &q) {
    EXPECT_EQ(q.kind, QStringLiteral("checkUernameWin"));
    EXPECT_EQ(dial->winUernameText_->text(), QStringLiteral("old"));
    dial->winUernameText_->setText(QStringLiteral("typed user"));
    dial->controlTextDidChange(dial->winUernameText_); // the filter drops the blank
    dial->winPasswordText_->setText(QStringLiteral("typed-pw"));
    dial->winAskUsernameCheck_->setChecked(false);
    return 1;
  });
  EXPECT_TRUE(dial->checkAPNAccount());
  ASSERT_TRUE(testsupport::waitUntil([&] { return sent().user == QStringLiteral("typeduser"); }));
  EXPECT_EQ(sent().password, QStringLiteral("typed-pw"));
  const QVariantMap stored = fileProfiles().value(0).toMap();
  EXPECT_EQ(stored.value(QStringLiteral("accountName")).toString(), QString());
  EXPECT_EQ(stored.value(QStringLiteral("password")).toString(), QString());
  EXPECT_EQ(stored.value(QStringLiteral("saveUsernameFlag")).toInt(), 0);
  EXPECT_TRUE(dial->m_Username->text().isEmpty());
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->performDialOptionRequests() == 1; }));
}

TEST_F(ConnectionProfileRoad, NewSimChoosesItsProfileByImsi) {
  extraSettings = {{QStringLiteral("ImsiMatchApn"), true},
                   {QStringLiteral("IMSI2DialConfigIdx"), QVariantMap{{QStringLiteral("00101"), 1}}}};
  start();
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("work.apn")));
  EXPECT_EQ(saved(QStringLiteral("SimImsiCode")).toString(), QStringLiteral("001010123456789"));
  EXPECT_EQ(saved(QStringLiteral("IMSI")).toString(), QStringLiteral("001010123456789"));
  EXPECT_EQ(saved(QStringLiteral("ProfileID")).toInt(), 1);
  EXPECT_EQ(InitService::sharedInitService()->imsi(), QStringLiteral("001010123456789"));
  EXPECT_EQ(g_DialController->m_DialConfigList->currentIndex(), 2);
}

TEST_F(ConnectionProfileRoad, KnownSimKeepsTheUsersChoice) {
  extraSettings = {{QStringLiteral("ImsiMatchApn"), true},
                   {QStringLiteral("SimImsiCode"), QStringLiteral("001010123456789")},
                   {QStringLiteral("ProfileID"), 0},
                   {QStringLiteral("IMSI2DialConfigIdx"), QVariantMap{{QStringLiteral("00101"), 1}}}};
  start();
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("internet")));
  ASSERT_TRUE(testsupport::waitUntil([&] { return saved(QStringLiteral("IMSI")).toString() == "001010123456789"; }));
  EXPECT_EQ(sent().apn, QStringLiteral("internet"));
  EXPECT_EQ(saved(QStringLiteral("ProfileID")).toInt(), 0);
  EXPECT_TRUE(answers->asked().isEmpty());
}

TEST_F(ConnectionProfileRoad, ThreeDigitMncTakesTheOperatorsProfiles) {
  const QVariantList operatorProfiles{profile("Short key", "short.apn"), profile("Operator", "op.apn")};
  extraSettings = {
      {QStringLiteral("QdonMatchApn"), true},
      {QStringLiteral("DefaultProfileNum"), 1},
      {QStringLiteral("AllDefaultDialCfg"), operatorProfiles},
      {QStringLiteral("IMSI2DialConfigIdx"), QVariantMap{{QStringLiteral("31451"), 0}, {QStringLiteral("310451"), 1}}}};
  start(scenarioWith(QStringLiteral("310451123456789"), 3));
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("op.apn")));
  QStringList names;
  for (const QVariant &p : fileProfiles())
    names << p.toMap().value(QStringLiteral("provider")).toString();
  EXPECT_EQ(names, (QStringList{"Operator", "Work"}));
  EXPECT_EQ(saved(QStringLiteral("DefaultProfileNum")).toInt(), 1);
  EXPECT_EQ(saved(QStringLiteral("SimImsiCode")).toString(), QStringLiteral("310451123456789"));
}

} // namespace

namespace {
TEST_F(ConnectionProfileRoad, ANewServingNetworkTakesItsProfilesOnce) {
  extraSettings = {{QStringLiteral("APNMatchWithMCCMNC"), true},
                   {QStringLiteral("DefaultProfileNum"), 1},
                   {QStringLiteral("AllDefaultDialCfg"), QVariantList{profile("Visited", "visited.apn")}},
                   {QStringLiteral("IMSI2DialConfigIdx"), QVariantMap{{QStringLiteral("00102"), QVariantList{0}}}}};
  start();
  if (!backend)
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitForApn(QStringLiteral("internet")));
  // The home network has no profiles of its own: it is remembered, nothing changes.
  ASSERT_TRUE(
      testsupport::waitUntil([&] { return saved(QStringLiteral("CurrentMCCMNC")) == QStringLiteral("00101"); }));
  EXPECT_EQ(g_DialController->dialConfigArray.size(), 2);
  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Visited"), QStringLiteral("001"), QStringLiteral("02"), QStringLiteral("UMTS")});
  ASSERT_TRUE(waitForApn(QStringLiteral("visited.apn")));
  EXPECT_EQ(saved(QStringLiteral("CurrentMCCMNC")).toString(), QStringLiteral("00102"));
  EXPECT_EQ(g_DialController->m_DialConfigList->itemText(1), QStringLiteral("Visited"));
  EXPECT_EQ(g_DialController->dialConfigArray.size(), 2);
}
} // namespace
