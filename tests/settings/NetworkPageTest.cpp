// The Network page: the rules as tables without a modem, then the manual search, registration,
// cancelling and the roaming switches against the simulated modem.
#include "ConfigService.h"
#include "NetListModel.h"
#include "Platform.h"
#include "Plist.h"
#include "SettingFixture.h"
#include "SettingPages.h"
#include "SettingService.h"
#include "WordGlobe.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QtEndian>
#include <cstring>

namespace {

int settingsupportSelectedTag(const ButtonMatrix *m) {
  const int i = m ? m->selectedIndex() : -1;
  return i < 0 ? -1 : m->cells().at(i)->property("tag").toInt();
}

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

class NetworkRules : public SettingFixture {
protected:
  SettingController *fresh(const std::function<void(QVariantMap &)> &edit = {}) {
    if (edit)
      edit(config->getConfiguration());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    tabs = std::make_unique<QTabWidget>();
    auto *c = new SettingController(&owner);
    SettingPages::build(c, tabs.get());
    c->awakeFromNib();
    return c;
  }
  void setModule(const QString &module, const QString &key, const QVariant &value) {
    QVariantMap &d = config->getConfiguration();
    if (module.isEmpty()) {
      d.insert(key, value);
      return;
    }
    QVariantMap m = d.value(module).toMap();
    m.insert(key, value);
    d.insert(module, m);
  }
  std::unique_ptr<QTabWidget> tabs;
};

// One 128-byte record of a search reply.
QByteArray record(quint32 state, const char *longName, const char *shortName, const char *numeric, const char *tech) {
  QByteArray r(128, '\0');
  qToLittleEndian<quint32>(state, r.data());
  std::memcpy(r.data() + 4, longName, std::strlen(longName));
  std::memcpy(r.data() + 72, shortName, std::strlen(shortName));
  std::memcpy(r.data() + 92, numeric, std::strlen(numeric));
  std::memcpy(r.data() + 104, tech, std::strlen(tech));
  return r;
}

QByteArray reply(quint32 count, const QList<QByteArray> &records) {
  QByteArray data(4, '\0');
  qToLittleEndian<quint32>(count, data.data());
  for (const QByteArray &r : records)
    data += r;
  data.append(QByteArray(4 + 30 * 128 - data.size(), '\0'));
  return data;
}

TEST_F(NetworkRules, TheSearchModeSentFollowsTheSwitches) {
  struct Case {
    const char *name;
    int findTag;
    bool aus, noSelectMode, qsnt, twoGOnly;
    int kind, expected;
  };
  const Case cases[] = {
      {"plain tag", 2, false, false, false, false, 0, 2},
      {"3G preferred", 3, false, false, false, false, 0, 3},
      {"3G preferred under the 2G-only switch", 3, false, false, false, true, 0, 0},
      {"2G preferred under the 2G-only switch", 2, false, false, false, true, 0, 2},
      {"operator build", 1, true, false, false, false, 0, 3},
      {"operator build, timer", 1, true, false, true, false, 2, 3},
      {"manual search without select mode", 1, false, true, false, false, 1, 3},
      {"automatic request ignores the select-mode switch", 1, false, true, false, false, 0, 1},
      {"timer with the QSNT switch", 1, false, false, true, false, 2, 4},
      {"manual search ignores the QSNT switch", 1, false, false, true, false, 1, 1},
  };
  for (const Case &c : cases) {
    SettingController *s = fresh([&](QVariantMap &d) {
      d.insert(QStringLiteral("specialSoftVersion"), QVariantMap{{QStringLiteral("Z3IFromAUS190"), c.aus}});
      QVariantMap setting = d.value(QStringLiteral("Setting")).toMap();
      setting.insert(QStringLiteral("noNetWorkSelectMode"), c.noSelectMode);
      setting.insert(QStringLiteral("SendQSNT000AfterRegisterNetworkManually"), c.qsnt);
      setting.insert(QStringLiteral("Setting_SetSearchNetMode2GOnly_IfChoose3GPref"), c.twoGOnly);
      d.insert(QStringLiteral("Setting"), setting);
    });
    s->setNetworkSelection(0, c.findTag);
    EXPECT_EQ(s->searchModeToSend(c.kind), c.expected) << c.name;
    delete s;
  }
}

TEST_F(NetworkRules, TheNetworkChoicesOfThePlugInViewApplyAtOnce) {
  SettingController *s = fresh();
  ASSERT_TRUE(s->m_NetworkFindModeSeletion && s->m_MethodToSelectNet);
  auto &center = NotificationCenter::defaultCenter();
  center.postNotificationName(QStringLiteral("setNetModeChanged"), nullptr, {{QStringLiteral("index"), 2}});
  EXPECT_EQ(s->m_NetworkFindModeSeletion->selectedIndex(), 2);
  EXPECT_EQ(s->networkFindModeTag(), settingsupportSelectedTag(s->m_NetworkFindModeSeletion));
  ASSERT_FALSE(s->isManualSelecting());
  center.postNotificationName(QStringLiteral("methodToSelectNetChanged"), nullptr, {{QStringLiteral("index"), 1}});
  EXPECT_EQ(s->networkSelectMethodRow(), 1);
  EXPECT_TRUE(s->isManualSelecting()) << "the manual search starts";
  delete s;
}

TEST_F(NetworkRules, TheFindModeFollowsTheModemsSearchModeOnBothFamilies) {
  struct Case {
    uint s, m, p;
    int expected; // -1: unchanged
  };
  const Case table[] = {{0, 0, 1, 2}, {0, 0, 0, 3},  {0, 0, 2, 3},  {0, 0, 7, -1}, {1, 0, 5, 0},
                        {2, 0, 5, 1}, {3, 0, 1, -1}, {9, 1, 1, 2},  {9, 1, 2, 3},  {0, 1, 0, 3},
                        {1, 1, 0, 0}, {2, 1, 0, 1},  {3, 1, 0, -1}, {0, 2, 1, -1}};
  for (const Case &c : table)
    EXPECT_EQ(SettingController::findModeTagOfReply(c.s, c.m, c.p), c.expected) << c.s << "/" << c.m << "/" << c.p;

  SettingController *s = fresh();
  s->setNetworkSelection(0, 4);
  s->dealWithMsgOfCheckSearchmode(7, 0, 9); // unchanged
  EXPECT_EQ(s->networkFindModeTag(), 4);
  s->dealWithMsgOfCheckSearchmode(2, 1, 0);
  EXPECT_EQ(s->networkFindModeTag(), 1);
  EXPECT_EQ(s->networkSelectMethodRow(), 1);
  EXPECT_FALSE(s->m_NetworkFindModeSeletion->isEnabled()); // manual selection: the find mode waits
  EXPECT_TRUE(s->m_MethodToSelectNet->isEnabled());

  // The Icera family: 0..2 as they are, anything else 3 ("3G Preferred").
  const QList<QPair<uint, int>> icera = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {8, 3}};
  for (const auto &[mode, tag] : icera) {
    s->dealWithMsgOfCheckSearchmodeForIcera(mode, 0);
    EXPECT_EQ(s->networkFindModeTag(), tag) << mode;
    EXPECT_EQ(s->networkSelectMethodRow(), 0);
  }
  // The CDMA preference: 8, 2, 4 and nothing else.
  s->dealWithMsgOfCheckPreferenceMode(2);
  EXPECT_EQ(s->m_PreferenceMode->selectedIndex(), 1);
  s->dealWithMsgOfCheckPreferenceMode(5);
  EXPECT_EQ(s->m_PreferenceMode->selectedIndex(), 1);
  delete s;

  // Without a Network page nothing moves.
  SettingController *none = fresh(
      [](QVariantMap &d) { d.insert(QStringLiteral("SettingDefaultItem"), QVariantList{QStringLiteral("System")}); });
  none->setNetworkSelection(0, 4);
  none->dealWithMsgOfCheckSearchmode(1, 0, 0);
  EXPECT_EQ(none->networkFindModeTag(), 4);
  delete none;
}

TEST_F(NetworkRules, TheListRowsOfASearchReply) {
  // More than 30 counted: at most 30 rows.
  QList<QByteArray> many;
  for (int i = 0; i < 30; ++i)
    many << record(1, "Long", "Short", "00101", "2");
  EXPECT_EQ(SettingController::netListFromSearchReply(reply(45, many), false).size(), 30);

  // A state-0 record ends the list; states outside 1..3 show no text.
  const QVariantList rows = SettingController::netListFromSearchReply(
      reply(5, {record(2, "Home Long", "Home", "00101", "2"), record(3, "Closed", "Cl", "00103", "0"),
                record(7, "Odd", "Od", "00104", "1"), record(0, "End", "E", "00105", "2"),
                record(1, "After", "Af", "00106", "2")}),
      false);
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[0].toMap().value(QStringLiteral("state")).toString(), word("CURRENT"));
  EXPECT_EQ(rows[0].toMap().value(QStringLiteral("netState")).toInt(), 2);
  EXPECT_EQ(rows[0].toMap().value(QStringLiteral("lalpha_oper")).toString(), QStringLiteral("Home Long"));
  EXPECT_EQ(rows[0].toMap().value(QStringLiteral("numeric_oper")).toString(), QStringLiteral("00101"));
  EXPECT_EQ(rows[1].toMap().value(QStringLiteral("state")).toString(), word("FORBIDDEN"));
  EXPECT_EQ(rows[2].toMap().value(QStringLiteral("state")).toString(), QString());
  EXPECT_EQ(rows[2].toMap().value(QStringLiteral("netState")).toInt(), 0);
  // The short names under "ShowOperatorInShortFormat"; a reply too short for its count ends early.
  const QVariantList shortRows =
      SettingController::netListFromSearchReply(reply(1, {record(1, "Long", "Short", "1", "0")}), true);
  EXPECT_EQ(shortRows[0].toMap().value(QStringLiteral("lalpha_oper")).toString(), QStringLiteral("Short"));
  EXPECT_TRUE(SettingController::netListFromSearchReply(QByteArray("\x05\0\0\0", 4), false).isEmpty());
  EXPECT_TRUE(SettingController::netListFromSearchReply(QByteArray(), false).isEmpty());

  // The technology column.
  SettingController *s = fresh();
  s->setNetList(rows);
  EXPECT_EQ(s->netListValue(0, QStringLiteral("nettype")).toString(), word("3G"));
  EXPECT_EQ(s->netListValue(1, QStringLiteral("nettype")).toString(), word("2G"));
  EXPECT_EQ(s->netListValue(2, QStringLiteral("nettype")).toString(), QString());
  EXPECT_FALSE(s->netListValue(3, QStringLiteral("nettype")).isValid());
  delete s;
}

TEST_F(NetworkRules, TheApplyRuleOfTheListTable) {
  struct Case {
    const char *name;
    int row;
    bool forbiddenCanChoose, registering, notAllowedCheck;
    bool expected;
  };
  const Case cases[] = {
      {"no row", -1, false, false, false, false},
      {"available row", 0, false, false, false, true},
      {"forbidden row", 1, false, false, false, false},
      {"forbidden row that may be chosen", 1, true, false, false, true},
      {"forbidden may be chosen, but a registration runs", 1, true, true, false, false},
      {"an operator outside the allowed list", 0, false, false, true, false},
  };
  for (const Case &c : cases) {
    SettingController *s = fresh([&](QVariantMap &d) {
      d.insert(QStringLiteral("Internet"),
               QVariantMap{{QStringLiteral("ForbiddenNetCanChoose"), c.forbiddenCanChoose}});
      QVariantMap setting = d.value(QStringLiteral("Setting")).toMap();
      setting.insert(QStringLiteral("Setting_SetSearchNetListViewApplyBtnEnable"), c.notAllowedCheck);
      d.insert(QStringLiteral("Setting"), setting);
      d.insert(QStringLiteral("AllowMCCMNCList"), QVariantList{QStringLiteral("99999")});
    });
    s->setNetList(SettingController::netListFromSearchReply(
        reply(2, {record(1, "Free", "F", "00102", "0"), record(3, "Closed", "C", "00103", "2")}), false));
    s->netListView->model()->layoutChanged();
    s->setHasRegisteringNetFlag_(c.registering);
    s->netSelectBtn->setEnabled(c.registering ? false : !c.expected);
    s->selectNetRow(c.row);
    s->tableViewSelectionDidChange();
    EXPECT_EQ(s->netSelectBtn->isEnabled(), c.expected) << c.name;
    delete s;
  }
}

TEST_F(NetworkRules, TheRoamingImsiRule) {
  const QVariantList home = {QStringLiteral("46000")}, roaming = {QStringLiteral("46001"), QStringLiteral("40467")};
  struct Case {
    const char *imsi, *iccid;
    int expected;
  };
  const Case cases[] = {
      {"404670000000001", "89916700000", 0}, // the operator's own cards ("67" at the fifth place)
      {"404670000000001", "89911200000", 1}, // its roaming cards
      {"404670000000001", "8991", 0},        // too short an ICCID: the configured lists decide
      {"460001234567890", "", 0},
      {"460011234567890", "", 1},
      {"310150123456789", "", 0},
      {"4600", "", 0}, // too short an IMSI matches no rule
      {"", "", 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SettingController::roamingImsiTagFor(QLatin1String(c.imsi), QLatin1String(c.iccid), home,
                                                   c.iccid[0] ? QVariantList{} : roaming),
              c.expected)
        << c.imsi << " " << c.iccid;
  // The configured lists decide when the operator prefix does not.
  EXPECT_EQ(
      SettingController::roamingImsiTagFor(QStringLiteral("404670000000001"), QStringLiteral("8991"), home, roaming),
      1);
}

TEST_F(NetworkRules, TheBackToAutomaticTimerRunsOnceWithTheLaterInterval) {
  SettingController *s = fresh();
  s->startBackToAutoModeTimerWithSeconds(30);
  const QTimer *first = s->backToAutoTimer();
  s->startBackToAutoModeTimerWithSeconds(45);
  ASSERT_NE(s->backToAutoTimer(), nullptr);
  EXPECT_NE(s->backToAutoTimer(), first);
  EXPECT_EQ(s->backToAutoTimer()->interval(), 45000);
  EXPECT_TRUE(s->backToAutoTimer()->isSingleShot());
  QCoreApplication::processEvents(); // the replaced timer goes
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(s->findChildren<QTimer *>().size(), 1);
  delete s;
}

TEST_F(NetworkRules, TheSkinTableAndTheReducedLayoutsAutomaticChoice) {
  SettingController *s = fresh();
  const QList<QPair<QString, QWidget *>> table = s->skinBindingTable();
  EXPECT_EQ(table.size(), 157);
  QSet<QString> names;
  for (const auto &row : table)
    names.insert(row.first);
  EXPECT_EQ(names.size(), 155);
  EXPECT_EQ(table.first().first, QStringLiteral("tabviewSetting"));
  EXPECT_EQ(table.last().first, QStringLiteral("btnSettingRecord"));
  delete s;

  // Under "RuvozUI" automatic selection forces band 3 and "3G Preferred" and ends a manual one.
  SettingController *r = fresh([](QVariantMap &d) {
    QVariantMap ui = d.value(QStringLiteral("UIConfig")).toMap();
    ui.insert(QStringLiteral("RuvozUI"), true);
    d.insert(QStringLiteral("UIConfig"), ui);
  });
  r->setManualSelecting(true);
  r->setNetworkSelection(0, 0);
  r->ruvozUISetNetSearchMode(r->m_MethodToSelectNet);
  EXPECT_FALSE(r->isManualSelecting());
  EXPECT_EQ(r->networkFindModeTag(), 3);
  EXPECT_EQ(settingsupportSelectedTag(r->matrixFrequencySelect_), 3);
  EXPECT_FALSE(r->m_NetworkFindModeSeletion->isEnabled());
  r->setNetworkSelection(1, 3);
  r->ruvozUISetNetSearchMode(r->m_MethodToSelectNet);
  EXPECT_TRUE(r->isManualSelecting());
  EXPECT_TRUE(r->m_NetworkFindModeSeletion->isEnabled());
  delete r;
}

TEST_F(NetworkRules, TheFamilyBoxesFollowTheDevice) {
  SettingController *s = fresh();
  // A WCDMA device: its find modes show, the CDMA choices do not; a CDMA device the reverse.
  s->setWCDMASelectNetworkVisible(true);
  s->setCDMASelectNetworkVisible(false);
  EXPECT_FALSE(s->networkClassLable->isHidden());
  EXPECT_TRUE(s->cdmaNetworkClassLable->isHidden());
  s->setCDMASelectNetworkVisible(true);
  s->setWCDMASelectNetworkVisible(false);
  EXPECT_TRUE(s->networkClassLable->isHidden());
  EXPECT_FALSE(s->cdmaNetworkClassLable->isHidden());
  delete s;
}

TEST_F(NetworkRules, TheRoamingImsiChoiceIsKeptForTheToolkit) {
  SettingController *s = fresh([](QVariantMap &d) {
    QVariantMap setting = d.value(QStringLiteral("Setting")).toMap();
    setting.insert(QStringLiteral("Setting_RoamingImsiSet"), true);
    d.insert(QStringLiteral("Setting"), setting);
    d.insert(QStringLiteral("IMSIRoamingCfg"), QVariantList{QStringLiteral("46001")});
  });
  ASSERT_TRUE(s->matrixRoamingSet_);
  EXPECT_FALSE(s->matrixRoamingSet_->isEnabled()); // until the toolkit has its menu
  s->setRoamingIMSISelectEnabled(true);
  s->setRoamingStateAccordImsi(QStringLiteral("460011234567890"));
  EXPECT_EQ(s->matrixRoamingSet_->selectedIndex(), 1);
  s->matrixRoamingSet_->cellAtRow(0, 0)->click();
  EXPECT_TRUE(s->roamingImsiSet());
  EXPECT_EQ(s->roamingImsiType(), 0);
  s->setRoamingImsiSet(false);
  EXPECT_FALSE(s->roamingImsiSet());
  delete s;
}

// ---- against the simulated modem ----

class NetworkPage : public SettingFixture {
protected:
  QVariantMap selection() const {
    QVariant value;
    Plist::fromData(backend->control(QStringLiteral("NetworkSelection")).value(0).toString().toUtf8(), &value);
    return value.toMap();
  }
  bool waitNetworkLive() {
    return testsupport::waitUntil([&] { return settings()->m_MethodToSelectNet->isEnabled(); });
  }
  int askedWord(const char *key) const { return askedCount(word(key)); }
  bool waitWord(const char *key, int count = 1) { return waitAsked(word(key), count); }
  int rowOf(const QString &numeric) const {
    for (int i = 0; i < settings()->netList().size(); ++i)
      if (settings()->netList()[i].toMap().value(QStringLiteral("numeric_oper")).toString() == numeric)
        return i;
    return -1;
  }
  // Chooses manual selection as a user would and waits for the list sheet.
  void searchManually() {
    ASSERT_TRUE(waitNetworkLive()); // an earlier search or registration has ended
    settings()->m_MethodToSelectNet->cellAtRow(1, 0)->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->netSelectWindow->isVisible(); }));
  }
  void registerOn(const QString &numeric) {
    const int row = rowOf(numeric);
    ASSERT_GE(row, 0);
    settings()->selectNetRow(row);
    settings()->netSelectBtn->setEnabled(true);
    settings()->netSelectBtn->click();
  }
};

TEST_F(NetworkPage, AManualSearchListsTheNetworksAndRegistersOnOne) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitNetworkLive());
  searchManually();
  EXPECT_TRUE(settings()->isPinPukOrNetSelectWinBeginSheet());
  ASSERT_EQ(settings()->netList().size(), 3);
  EXPECT_EQ(settings()->netListView->model()->rowCount(), 3);
  EXPECT_EQ(settings()->netListValue(rowOf(QStringLiteral("00102")), QStringLiteral("nettype")).toString(), word("2G"));
  EXPECT_FALSE(settings()->netSelectBtn->isEnabled());
  EXPECT_FALSE(settings()->isManualSelecting());
  const QList<UIMsg> search = received(513, 79);
  ASSERT_EQ(search.size(), 1);
  EXPECT_EQ(search[0].moduleId, 3);

  // The forbidden row cannot be applied; the available one can.
  settings()->selectNetRow(rowOf(QStringLiteral("00103")));
  EXPECT_FALSE(settings()->netSelectBtn->isEnabled());
  settings()->selectNetRow(rowOf(QStringLiteral("00102")));
  EXPECT_TRUE(settings()->netSelectBtn->isEnabled());
  settings()->netSelectBtn->click();
  EXPECT_FALSE(settings()->netSelectWindow->isVisible());
  ASSERT_TRUE(waitWord("Success"));
  EXPECT_EQ(selection().value(QStringLiteral("Registered")).toString(), QStringLiteral("00102"));
  const QList<UIMsg> reg = received(513, 80);
  ASSERT_EQ(reg.size(), 1);
  EXPECT_EQ(reg[0].payload().mid(8, 6), QByteArray("00102\0", 6));
  EXPECT_EQ(qFromLittleEndian<quint32>(reg[0].payload().constData() + 76), 0u);
  // The searching state ended: the page's controls and the toolbar are back.
  EXPECT_TRUE(settings()->m_MethodToSelectNet->isEnabled());
  EXPECT_TRUE(settings()->BarSsearchProcess->isHidden());
}

TEST_F(NetworkPage, BackToAutomaticAfterSuccessSendsTheAutomaticRequestOnce) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  config->getConfiguration().insert(QStringLiteral("Internet"),
                                    QVariantMap{{QStringLiteral("backToAutoModeAfterSelNetSuccess"), true},
                                                {QStringLiteral("delaySecondsToAutoModeWhenSelNetSuccess"), 0.3}});
  ASSERT_TRUE(waitNetworkLive());
  searchManually();
  const int before = int(received(513, 77).size());
  registerOn(QStringLiteral("00102"));
  ASSERT_TRUE(waitWord("Success"));
  ASSERT_NE(settings()->backToAutoTimer(), nullptr);
  EXPECT_EQ(settings()->backToAutoTimer()->interval(), 300);
  ASSERT_TRUE(testsupport::waitUntil([&] { return selection().value(QStringLiteral("SelectedMode")).toInt() == 0; }));
  QTest::qWait(500);
  EXPECT_EQ(received(513, 77).size(), before + 1);
}

TEST_F(NetworkPage, AForbiddenNetworkFailsAlongEachConfiguredRoad) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitNetworkLive());
  // The plain road: "Failed", then back to automatic selection.
  searchManually();
  int autoRequests = int(received(513, 77).size());
  registerOn(QStringLiteral("00103"));
  ASSERT_TRUE(waitWord("Failed"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return int(received(513, 77).size()) == autoRequests + 1; }));
  EXPECT_FALSE(settings()->netSelectWindow->isVisible());
  EXPECT_TRUE(selection().value(QStringLiteral("Registered")).toString().isEmpty());

  // "BackToNetSelectList": the list comes back after the alert.
  QVariantMap setting = config->getConfiguration().value(QStringLiteral("Setting")).toMap();
  setting.insert(QStringLiteral("BackToNetSelectList"), true);
  config->getConfiguration().insert(QStringLiteral("Setting"), setting);
  searchManually();
  autoRequests = int(received(513, 77).size());
  registerOn(QStringLiteral("00103"));
  ASSERT_TRUE(waitWord("Failed", 2));
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->netSelectWindow->isVisible(); }));
  EXPECT_EQ(int(received(513, 77).size()), autoRequests);
  settings()->CancelnetSelectBtn->click();
  EXPECT_FALSE(settings()->netSelectWindow->isVisible());

  // "NotExitNetSelSheet" with the register-current step: the sheet stays, the current network is
  // registered again and its answer is swallowed.
  setting.insert(QStringLiteral("BackToNetSelectList"), false);
  setting.insert(QStringLiteral("NotExitNetSelSheet"), true);
  config->getConfiguration().insert(QStringLiteral("Setting"), setting);
  searchManually();
  registerOn(QStringLiteral("00103"));
  EXPECT_TRUE(settings()->netSelectWindow->isVisible());
  EXPECT_TRUE(settings()->hasRegisteringNetFlag_());
  ASSERT_TRUE(waitWord("Failed", 3));
  EXPECT_TRUE(settings()->netSelectWindow->isVisible());
  EXPECT_FALSE(settings()->hasRegisteringNetFlag_());
}

TEST_F(NetworkPage, TheRegisterCurrentAnswerIsSwallowedOnceAndTheNextCounts) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  QVariantMap setting = config->getConfiguration().value(QStringLiteral("Setting")).toMap();
  setting.insert(QStringLiteral("Setting_RegisterCurrentNetwork_IfRegisterFailed"), true);
  config->getConfiguration().insert(QStringLiteral("Setting"), setting);
  ASSERT_TRUE(waitNetworkLive());
  searchManually();
  registerOn(QStringLiteral("00103"));
  ASSERT_TRUE(waitWord("Failed"));
  // The alert's end registered the current network; its answer is not shown.
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(513, 80).size() == 2; }));
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return selection().value(QStringLiteral("Registered")).toString() == QStringLiteral("00101"); }));
  QTest::qWait(200);
  EXPECT_EQ(askedWord("Success"), 0);
  EXPECT_FALSE(SettingService::sharedSettingService()->isSecondManualSelectNetFlag());
  // A later registration from the list is answered as usual.
  searchManually();
  registerOn(QStringLiteral("00102"));
  ASSERT_TRUE(waitWord("Success"));
}

TEST_F(NetworkPage, CancellingWhileSearchingIgnoresTheLateAnswer) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitNetworkLive());
  // The answer is held back by sending the search ourselves while the page thinks it searches.
  settings()->m_MethodToSelectNet->cellAtRow(1, 0)->setChecked(true);
  settings()->cancelNetworkManualSelectBtn->show();
  settings()->cancelNetworkManualSelect(settings()->cancelNetworkManualSelectBtn);
  EXPECT_TRUE(settings()->cancelNetworkManualSelectBtn->isHidden());
  EXPECT_FALSE(settings()->isManualSelecting());
  ASSERT_TRUE(testsupport::waitUntil([&] { return selection().value(QStringLiteral("Cancels")).toInt() == 1; }));
  // The search answer arriving now opens no list.
  settings()->sendManualNetSearchToBack();
  ASSERT_TRUE(testsupport::waitUntil([&] { return selection().value(QStringLiteral("Searches")).toInt() == 1; }));
  QTest::qWait(300);
  EXPECT_FALSE(settings()->netSelectWindow->isVisible());
  EXPECT_TRUE(settings()->netList().isEmpty());
  // Choosing manual selection again listens again.
  searchManually();
  EXPECT_EQ(settings()->netList().size(), 3);
}

TEST_F(NetworkPage, TheRoamingSwitchesAndAFailedAnswerRestoreOnlyTheClickedBox) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  // The boxes show what the modem reported (national on, international off).
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->btnNroamSwitchSetting_->isChecked(); }));
  EXPECT_FALSE(settings()->btnIroamSwitchSetting_->isChecked());
  settings()->btnIroamSwitchSetting_->click();
  ASSERT_TRUE(waitWord("Settings successful!"));
  EXPECT_TRUE(selection().value(QStringLiteral("InternationalRoaming")).toBool());
  EXPECT_TRUE(selection().value(QStringLiteral("NationalRoaming")).toBool());
  const QList<UIMsg> sent = received(513, 85);
  ASSERT_FALSE(sent.isEmpty());
  EXPECT_EQ(sent.last().moduleId, 3);
  EXPECT_EQ(sent.last().payload(), QByteArray("\x01\0\0\0\x01\0\0\0", 8));

  // The modem refuses: the clicked box goes back, the other keeps its state.
  // A modem of a scenario that refuses the switches.
  const QString path = dir.filePath(QStringLiteral("refusing.plist"));
  QVariantMap refusing;
  Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                        &refusing);
  QVariantMap net = refusing.value(QStringLiteral("Network")).toMap();
  net.insert(QStringLiteral("RoamSwitchFails"), true);
  refusing.insert(QStringLiteral("Network"), net);
  Plist::writeFile(path, refusing);
  backend->control(QStringLiteral("LoadScenario"), {path});
  // The new card's switches arrive (international off again).
  ASSERT_TRUE(testsupport::waitUntil([&] { return !settings()->btnIroamSwitchSetting_->isChecked(); }));
  ASSERT_TRUE(settings()->btnNroamSwitchSetting_->isChecked());
  settings()->btnIroamSwitchSetting_->setChecked(true);
  settings()->btnNroamSwitchSetting_->click(); // national off
  ASSERT_TRUE(waitWord("Settings Failed!"));
  EXPECT_TRUE(settings()->btnNroamSwitchSetting_->isChecked());
  EXPECT_TRUE(settings()->btnIroamSwitchSetting_->isChecked());
  // An answer that is not the settings window's changes nothing.
  settings()->btnNroamSwitchSetting_->setChecked(false);
  UIMsg other;
  other.moduleId = 1;
  other.majorId = 513;
  other.minorId = 85;
  other.type = 1;
  other.result = 0xFF;
  settings()->setisManualSetRoamSwitch(true);
  settings()->dealWithMsgOfSetRoamSwitch(
      Notification{QStringLiteral("qUIMsg"), nullptr, {{QStringLiteral("qUIMsg"), other.encode()}}});
  EXPECT_FALSE(settings()->btnNroamSwitchSetting_->isChecked());
  EXPECT_TRUE(settings()->isManualSetRoamSwitch());
}

} // namespace
