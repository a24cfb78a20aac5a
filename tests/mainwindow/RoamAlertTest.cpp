// The roam alert window once per roaming spell, the white-list reminder on a listed roaming
// network, and the home MCC the modem reports.
#include "DialController.h"
#include "MainWindowFixture.h"
#include "RoamWindows.h"
#include "SignalFixture.h"
#include "WordGlobe.h"

using signaltest::package;

namespace {

class RoamAlert : public signaltest::SignalFixture {};

TEST_F(RoamAlert, AlertOncePerRoamingSpell) {
  struct Step {
    int status;
    bool shownAfter; // the window is brought up by this report
    bool alerted;    // hasAlertRoam afterwards
  };
  struct Case {
    const char *what;
    bool enabled;
    QList<Step> steps;
  };
  const Case cases[] = {
      {"two roaming reports in a row show it once", true, {{0, true, true}, {0, false, true}}},
      {"a home report lets the next roaming show it again",
       true,
       {{0, true, true}, {1, false, false}, {0, true, true}}},
      {"a report of no network changes nothing", true, {{0, true, true}, {2, false, true}, {0, false, true}}},
      {"switched off, nothing ever changes", false, {{0, false, false}, {1, false, false}, {0, false, false}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    setSwitch(QString(), "enableRoamAlert", c.enabled);
    init()->deviceRemoved({}); // a new device: nothing alerted yet
    for (const Step &s : c.steps) {
      init()->closeRoamAlertWnd();
      init()->showRoamAlertWindow(s.status);
      EXPECT_EQ(init()->isRoamAlertWndVisible(), s.shownAfter) << s.status;
      EXPECT_EQ(init()->hasAlertedRoam(), s.alerted) << s.status;
    }
  }
  RoamAlertWindow *w = init()->roamAlertWnd();
  EXPECT_EQ(w->windowTitle(), Map_Name_Item_of_IndexString("STRING_ROAM_ALERT_WND"));
  EXPECT_EQ(w->roamwarnningText->text(), Map_Name_Item_of_IndexString("STRING_ROAM_ALERT_TEXT"));
  // OK orders it out.
  setSwitch(QString(), "enableRoamAlert", true);
  init()->deviceRemoved({});
  init()->showRoamAlertWindow(0);
  ASSERT_TRUE(w->isVisible());
  w->ok->click();
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
}

TEST_F(RoamAlert, HomeMccReply) {
  init()->setCurrentHMcc(1);
  init()->dealWithMsgOfCheckHPLMN(package(7, 58, {262}, UIMsg::kResultFailure));
  EXPECT_EQ(init()->currentHMcc(), 1);
  init()->dealWithMsgOfCheckHPLMN(signaltest::textPackage(7, 58, QByteArray(2, '\0')));
  EXPECT_EQ(init()->currentHMcc(), 1); // too short to hold the word
  init()->dealWithMsgOfCheckHPLMN(package(7, 58, {262}));
  EXPECT_EQ(init()->currentHMcc(), 262);
}

TEST_F(RoamAlert, ReminderOnAListedRoamingNetworkOnly) {
  struct Case {
    const char *what;
    bool feature;
    int roamStatus;
    const char *mccmnc;
    bool shown;
  };
  const Case cases[] = {
      {"roaming on a listed network", true, 0, "26201", true},
      {"roaming on another network", true, 0, "26202", false},
      {"at home on a listed network", true, 1, "26201", false},
      {"the operator does not bill alike", false, 0, "26201", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    setSwitch("Internet", "paySameAsHomeNetIfIsWhilteNet", c.feature);
    setSwitch("Internet", "InternetWhiteList", QVariantMap{{"Partner", "26201"}});
    init()->setMccmnc(c.mccmnc);
    init()->setNetworkRoamStatus(c.roamStatus);
    init()->setWhiteListCheckFlag(true);
    init()->whiteListCheck();
    EXPECT_EQ(init()->isWhiteListReminderOpen(), c.shown);
    EXPECT_EQ(init()->whiteListCheckFlag(), !c.shown);
    init()->clickOKBtnInZ3iPopUp1();
    EXPECT_FALSE(init()->isWhiteListReminderOpen());
  }
}

TEST_F(RoamAlert, ReminderIsNotOpenedTwiceAndItsCheckboxKeepsTheQuestion) {
  setSwitch("Internet", "paySameAsHomeNetIfIsWhilteNet", true);
  setSwitch("Internet", "InternetWhiteList", QVariantMap{{"Partner", "26201"}});
  init()->setMccmnc("26201");
  init()->setNetworkRoamStatus(0);
  init()->whiteListCheck();
  WhiteListReminderSheet *s = init()->whiteListReminderSheet();
  ASSERT_TRUE(s->isVisible());
  EXPECT_EQ(s->tfdZ3iRoamInWhiteList_->text(), Map_Name_Item_of_IndexString("roaminWhiteList"));
  EXPECT_EQ(s->tfdZ3iRemindNextConnect_->text(), Map_Name_Item_of_IndexString("remindNextConnect"));
  EXPECT_TRUE(s->checkboxZ3iWhiteCheck_->isChecked());
  s->checkboxZ3iWhiteCheck_->click();
  EXPECT_FALSE(init()->roamTipWhenInWhiteList());
  // Another change of network while it is up: the same sheet, the user's choice kept.
  init()->whiteListCheck();
  EXPECT_TRUE(s->isVisible());
  EXPECT_FALSE(s->checkboxZ3iWhiteCheck_->isChecked());
  EXPECT_EQ(init()->findChildren<WhiteListReminderSheet *>().size() +
                (init()->wndMain ? init()->wndMain->findChildren<WhiteListReminderSheet *>().size() : 0),
            1);
  s->btnZ3iWhiteCheck_->click();
  EXPECT_FALSE(s->isVisible());
  EXPECT_FALSE(init()->roamTipWhenInWhiteList());
}

TEST_F(RoamAlert, ZavidevShowsTheHomeNameOnlyWhenConfigured) {
  service.doParseEF_SPN("00486F6D65FFFFFFFFFFFFFFFFFFFFFFFF"); // "Home"
  ASSERT_EQ(service.homeSpn(), "Home");
  EXPECT_FALSE(init()->progressSPNDomainForZavidev("Serving"));
  setSwitch(QString(), "ZavidevSPNSet", true);
  EXPECT_FALSE(init()->progressSPNDomainForZavidev("Serving")); // "ZavidevPLMN" absent
  setSwitch(QString(), "ZavidevPLMN", QVariantMap{});
  EXPECT_FALSE(init()->progressSPNDomainForZavidev(QString()));
  EXPECT_TRUE(init()->progressSPNDomainForZavidev("Serving"));
  setSwitch(QString(), "ZavidevSPNSet", false);
  EXPECT_FALSE(init()->progressSPNDomainForZavidev("Serving"));
}

// The whole road: the simulated modem roams abroad, the alert comes up once and again only after
// a return home.
class RoamAlertEndToEnd : public NetworkWindowFixture {
protected:
  QVariantMap settingsOverrides() const override { return {{QStringLiteral("enableRoamAlert"), true}}; }
};

TEST_F(RoamAlertEndToEnd, TheModemRoamsAndComesHome) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkRoamStatus() == 1; }));
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
  // The home MCC came with the card.
  EXPECT_EQ(init()->currentHMcc(), 1);

  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Abroad"), QStringLiteral("262"), QStringLiteral("01"), QString()});
  backend->control(QStringLiteral("SetRoaming"), {true});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->isRoamAlertWndVisible(); }));
  EXPECT_TRUE(init()->roamAlertWnd()->isVisible());
  init()->roamAlertWnd()->ok->click();

  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Neighbour"), QStringLiteral("262"), QStringLiteral("02"), QString()});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->mccmnc() == QStringLiteral("26202"); }));
  EXPECT_FALSE(init()->isRoamAlertWndVisible());

  backend->control(QStringLiteral("SetRoaming"), {false});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkRoamStatus() == 1; }));
  EXPECT_FALSE(init()->hasAlertedRoam());
  backend->control(QStringLiteral("SetRoaming"), {true});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->isRoamAlertWndVisible(); }));
}

} // namespace
