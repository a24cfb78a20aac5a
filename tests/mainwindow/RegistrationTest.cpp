// Registration and access technology: the network-information replies, read by the device status
// controller, from the packages the simulated modem builds and end to end through its controls.
#include "DialController.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "NetworkIdentity.h"
#include "NetworkRegistration.h"
#include "Platform.h"
#include "SimulatedModem.h"
#include "WordGlobe.h"

#include <QTest>
#include <QtEndian>
#include <cstring>

namespace {

// Status notifications as they were posted, oldest first.
struct Posted {
  QStringList network, domain;
  QList<int> roam;
};

class Registration : public NetworkWindowFixture {
protected:
  Posted posted;

  void watch() {
    NotificationCenter &c = NotificationCenter::defaultCenter();
    c.addObserver(&owner, kNetworkStatus, nullptr,
                  [this](const Notification &n) { posted.network << n.userInfo.value(kNetworkStatus).toString(); });
    c.addObserver(&owner, kDomainName, nullptr,
                  [this](const Notification &n) { posted.domain << n.userInfo.value(kDomainName).toString(); });
    c.addObserver(&owner, kRoamStatus, nullptr,
                  [this](const Notification &n) { posted.roam << n.userInfo.value(kRoamStatus).toInt(); });
  }

  static UIMsg netInfo(const QString &type, const QString &domain) {
    QByteArray p(180, '\0');
    p.replace(40, type.size(), type.toLatin1());
    p.replace(108, domain.size(), domain.toLatin1());
    return SimulatedModem::makePackage(7, 37, 1, 0, p, 1);
  }

  static UIMsg iceraInfo(float registration, const QString &mccmnc, const QString &netStr, const QString &tech) {
    quint32 bits;
    std::memcpy(&bits, &registration, sizeof bits);
    QByteArray p(180, '\0');
    qToLittleEndian<quint32>(bits, p.data());
    p.replace(4, mccmnc.size(), mccmnc.toLatin1());
    p.replace(40, netStr.size(), netStr.toLatin1());
    p.replace(144, tech.size(), tech.toLatin1());
    return SimulatedModem::makePackage(7, 47, 1, 0, p, 1);
  }

  QString domainLabel() const { return init()->statusView->domainLabel->text(); }
  QString networkLabel() const { return init()->statusView->networkTypeLabel->text(); }
};

// ---- ordinary devices ----

TEST_F(Registration, NetworkTypesAndDomainsOfOrdinaryDevices) {
  struct Case {
    const char *type, *domain;
    int mode;
    const char *letters, *shown;
    bool z3i = false;   // Main/"displayNetTypeAccordingZ3IFromVov"
    bool vavav = false; // Main/"displayNetTypeAccordingVavav" with "AppendingString" " Net"
  };
  const Case cases[] = {
      {"UMTS", "CS_PS", 3, "P C", "UMTS"},
      {"GSM", "CS_ONLY", 1, "C", "GSM"},
      {"GPRS", "PS_ONLY", 2, "P", "GPRS"},
      {"HSDPA", "CS_PS", 3, "P C", "H", true},
      {"EDGE", "CS_PS", 3, "P C", "2G", true},
      {"UMTS", "CS_PS", 3, "P C", "3G", true},
      {"HSPA+", "CS_PS", 3, "P C", "H+", true},
      {"DC-HSPA+", "CS_PS", 3, "P C", "H+", true},
      {"LTE", "CS_PS", 3, "P C", "LTE", true},
      {"HSUPA", "CS_PS", 3, "P C", "HSUPA Net", false, true},
      {"HSUPA", "LIMITED", 0, "", "No Service", false, true}, // nothing appended to no service
      {"UMTS", "", 0, "", "No Service"},
      {"UMTS", "cs_ps", 0, "", "No Service"},
  };
  buildOffline();
  set(QStringLiteral("Main"), QStringLiteral("AppendingString"), QStringLiteral(" Net"));
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.type) + "/" + c.domain);
    set(QStringLiteral("Main"), QStringLiteral("displayNetTypeAccordingZ3IFromVov"), c.z3i);
    set(QStringLiteral("Main"), QStringLiteral("displayNetTypeAccordingVavav"), c.vavav);
    init()->dealWithCheckNetInfo(netInfo(QLatin1String(c.type), QLatin1String(c.domain)));
    EXPECT_EQ(init()->networkMode(), c.mode);
    EXPECT_EQ(service.networkMode(), c.mode);
    EXPECT_EQ(domainLabel(), QLatin1String(c.letters));
    EXPECT_EQ(init()->networkName(), QLatin1String(c.shown));
    EXPECT_EQ(g_DialController->psDomainStatus(), bool(c.mode & 2));
  }
}

TEST_F(Registration, LosingTheDomainClearsNamesAndRoamStatus) {
  buildOffline();
  watch();
  init()->setRoamInfoWithNetworkRoamStatus(0);
  init()->setLocalSPN(QStringLiteral("Net"), true);
  init()->setBelonetoSPN(QStringLiteral("Home"));
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  EXPECT_EQ(init()->networkRoamStatus(), 2);
  EXPECT_EQ(posted.roam.last(), 2);
  EXPECT_EQ(posted.network.last(), QStringLiteral("No Service"));
  EXPECT_EQ(posted.domain.last(), QString());
  EXPECT_TRUE(init()->statusView->localSPNLabel->text().isEmpty());
  EXPECT_TRUE(init()->statusView->belongToSPNLabel->text().isEmpty());
  EXPECT_TRUE(init()->statusView->roamStatusLabel->text().isEmpty());
}

TEST_F(Registration, DomainModeSetsTheConnectionStatusLineAndThePSDomain) {
  buildOffline();
  set(QString(), QStringLiteral("ShowModemAndSimStateBasisDeviceStateWhenR27K"), true);
  struct Case {
    const char *domain;
    const char *line;
    bool ps;
  };
  for (const Case &c :
       {Case{"CS_PS", "Init_tfdData Not Connected", true}, Case{"CS_ONLY", "Init_tfdStarting Device", false},
        Case{"PS_ONLY", "Init_tfdStarting Device", true}}) {
    g_DialController->setPSDomainStatus(!c.ps);
    init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QLatin1String(c.domain)));
    EXPECT_EQ(g_DialController->psDomainStatus(), c.ps) << c.domain;
    EXPECT_EQ(g_DialController->modemAndSimStateString(), Map_Name_Item_of_IndexString(QLatin1String(c.line)));
  }
  // No domain leaves the line as it was.
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  EXPECT_EQ(g_DialController->modemAndSimStateString(),
            Map_Name_Item_of_IndexString(QStringLiteral("Init_tfdStarting Device")));
  // Connecting is not allowed: the PS domain is not pushed at all.
  init()->setDialFunctionEnabled(false);
  g_DialController->setPSDomainStatus(false);
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  EXPECT_FALSE(g_DialController->psDomainStatus());
  // The operator toolbar keeps the connect button off until USSD allows it.
  init()->setDialFunctionEnabled(true);
  set(QStringLiteral("USSD"), QStringLiteral("DisableUSSDToolbarForRAdirer"), true);
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  EXPECT_FALSE(g_DialController->psDomainStatus());
}

TEST_F(Registration, NoServiceWhileConnectedDisconnectsLaterAndServiceBringsItBack) {
  DialController::setNoSignalDisconnectDelayMs(50);
  set(QStringLiteral("Internet"), QStringLiteral("Internet_DisconnectFromInternet_WhenNoSignal"), true);
  if (!launch()) {
    DialController::setNoSignalDisconnectDelayMs(90000);
    GTEST_SKIP() << "no session bus";
  }
  DialController *dial = nullptr;
  ASSERT_TRUE(testsupport::waitUntil([&] {
    dial = g_DialController;
    return dial && dial->isConnectBtnEnabled();
  }));
  dial->DialOption(dial->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->connectStatus() == DialController::kConnected; }));
  const auto received = [this](int minor) {
    int n = 0;
    for (const QByteArray &b : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(b, &m) && m.majorId == 258 && m.minorId == minor)
        ++n;
    }
    return n;
  };

  // A short loss, back before the delay: the connection stays.
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  EXPECT_TRUE(dial->isNoSignalTimerActive());
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  EXPECT_FALSE(dial->isNoSignalTimerActive());
  QTest::qWait(100);
  EXPECT_EQ(received(67), 0);

  // A long loss: disconnected once; the service back asks the roaming-cost question once, and
  // the confirmed answer connects once.
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{ModalQuestions::kDefaultAnswer});
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(67) == 1; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->connectStatus() == DialController::kDisconnected; }));
  EXPECT_TRUE(dial->disconnectAfterNoSignal90s());
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("HSDPA"), QStringLiteral("CS_PS")));
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("HSDPA"), QStringLiteral("CS_PS")));
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(66) == 2; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->connectStatus() == DialController::kConnected; }));
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("HSDPA"), QStringLiteral("CS_PS")));
  QTest::qWait(200);
  EXPECT_EQ(received(66), 2);
  EXPECT_EQ(received(67), 1);
  EXPECT_EQ(answers->asked().size(), 1);
  EXPECT_FALSE(dial->disconnectAfterNoSignal90s());
  DialController::setNoSignalDisconnectDelayMs(90000);
}

TEST_F(Registration, NoSignalQuestionRefusedLeavesTheConnectionDown) {
  DialController::setNoSignalDisconnectDelayMs(50);
  set(QStringLiteral("Internet"), QStringLiteral("Internet_DisconnectFromInternet_WhenNoSignal"), true);
  if (!launch()) {
    DialController::setNoSignalDisconnectDelayMs(90000);
    GTEST_SKIP() << "no session bus";
  }
  DialController *dial = nullptr;
  ASSERT_TRUE(testsupport::waitUntil([&] {
    dial = g_DialController;
    return dial && dial->isConnectBtnEnabled();
  }));
  dial->DialOption(dial->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->connectStatus() == DialController::kConnected; }));
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{ModalQuestions::kAlternateAnswer});
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("NONE")));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->connectStatus() == DialController::kDisconnected; }));
  for (int i = 0; i < 3; ++i)
    init()->dealWithCheckNetInfo(netInfo(QStringLiteral("HSDPA"), QStringLiteral("CS_PS")));
  QTest::qWait(300);
  EXPECT_EQ(answers->asked().size(), 1) << "asked once, not at every later report";
  EXPECT_EQ(dial->connectStatus(), DialController::kDisconnected);
  EXPECT_FALSE(dial->disconnectAfterNoSignal90s());
  DialController::setNoSignalDisconnectDelayMs(90000);
}

TEST_F(Registration, FirstReportsAfterAChangeOfNetworkAreFiltered) {
  buildOffline();
  set(QStringLiteral("Main"), QStringLiteral("filterTheFirstQdonQpasWhenNetWorkChanged"), true);
  QVariantMap scenario;
  scenario.insert(QStringLiteral("SIM"), QVariantMap{{QStringLiteral("IMSI"), QStringLiteral("001010123456789")}});
  scenario.insert(QStringLiteral("Network"), QVariantMap{{QStringLiteral("MCC"), QStringLiteral("001")},
                                                         {QStringLiteral("MNC"), QStringLiteral("01")}});
  const auto plmn = [&scenario](const QString &mnc) {
    QVariantMap net = scenario.value(QStringLiteral("Network")).toMap();
    net.insert(QStringLiteral("MNC"), mnc);
    QVariantMap s = scenario;
    s.insert(QStringLiteral("Network"), net);
    return SimulatedModem::makePackage(7, 38, 1, 0, NetworkIdentity::plmnReport(s, true), 1);
  };
  // The first network a device reports is a change from nothing: dropped, the filter of the
  // registration report armed.
  init()->identity().dealWithMsgOfCheckPLMN(plmn(QStringLiteral("01")));
  EXPECT_EQ(init()->mccmnc(), QString(""));
  EXPECT_TRUE(init()->firstTimeDealWithQpasWhenNetWorkChanged());
  EXPECT_FALSE(init()->firstTimeDealWithQdonWhenNetWorkChanged());
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  EXPECT_EQ(init()->networkMode(), 0) << "the first registration report was used";
  EXPECT_FALSE(init()->firstTimeDealWithQpasWhenNetWorkChanged());
  // The reports that follow are used, and a used change arms the network filter again.
  init()->identity().dealWithMsgOfCheckPLMN(plmn(QStringLiteral("01")));
  EXPECT_EQ(init()->mccmnc(), QStringLiteral("00101"));
  EXPECT_TRUE(init()->firstTimeDealWithQdonWhenNetWorkChanged());
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  EXPECT_EQ(init()->networkMode(), 3);
}

// The dropped report after a change of network holds connecting back where a white-listed
// network is paid as the home one; elsewhere the buttons stay as they are.
TEST_F(Registration, TheDroppedReportHoldsTheConnectButtonsForAPaidAsHomeNetwork) {
  buildOffline();
  ASSERT_TRUE(g_DialController && g_DialController->m_ConnectButton);
  set(QStringLiteral("Main"), QStringLiteral("filterTheFirstQdonQpasWhenNetWorkChanged"), true);
  for (const bool paidAsHome : {false, true}) {
    SCOPED_TRACE(paidAsHome);
    set(QStringLiteral("Internet"), QStringLiteral("paySameAsHomeNetIfIsWhilteNet"), paidAsHome);
    g_DialController->setConnectBtnEnable(true);
    init()->setFirstTimeDealWithQpasWhenNetWorkChanged(true);
    init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
    EXPECT_FALSE(init()->firstTimeDealWithQpasWhenNetWorkChanged());
    EXPECT_EQ(g_DialController->m_ConnectButton->isEnabled(), !paidAsHome);
  }
}

// ---- Icera devices ----

TEST_F(Registration, IceraNetworkStringsAndTechnologies) {
  struct Case {
    float registration;
    const char *netStr, *tech;
    int mode;
    const char *name, *technology;
  };
  const Case cases[] = {
      {1.0f, "3G HSPA+", "-", 3, "HSPA+", "UMTS"}, {1.0f, "3g HSPA+", "-", 1, "HSPA+", "UMTS"},
      {1.0f, "2G", "-", 3, "GSM", "GSM"},          {1.0f, "2g gprs", "-", 1, "GPRS", "GSM"},
      {1.0f, "2G EDGE", "-", 3, "EDGE", "GSM"},    {1.0f, "3G DC-HSPA+", "-", 3, "DC-HSPA+", "UMTS"},
      {1.0f, "3G", "R99", 3, "UMTS", ""},          {1.0f, "3g", "HSDPA", 1, "HSDPA", ""},
      {1.0f, "3G", "HSUPA/HSDPA", 3, "HSUPA", ""}, {1.0f, "3G", "HSPA+", 3, "HSPA+", ""},
      {1.0f, "3G", "LTE", 3, "LTE", ""},           {1.0f, "3G 0", "-", 0, "No Service", ""},
      {1.0f, "4X EDGE", "-", 0, "No Service", ""}, // a technology word alone is no registration
      {0.0f, "3G", "-", 0, "No Service", ""},      {-1.0f, "3G", "HSDPA", 0, "No Service", ""},
  };
  buildOffline();
  platform.setPlatform(Platform::kPlatformIcera);
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.netStr) + " / " + c.tech);
    init()->setCurrentAccessTechnology(QString());
    init()->dealWithCheckNetInfoForIcera(
        iceraInfo(c.registration, QStringLiteral("00101"), QLatin1String(c.netStr), QLatin1String(c.tech)));
    EXPECT_EQ(init()->networkMode(), c.mode);
    EXPECT_EQ(init()->networkName(), QLatin1String(c.name));
    EXPECT_EQ(init()->getCurrentAccessTechnology(), QLatin1String(c.technology));
    EXPECT_EQ(init()->mccmnc(), QStringLiteral("00101"));
    EXPECT_EQ(service.currentRmccrmnc(), QStringLiteral("00101"));
  }
}

TEST_F(Registration, IceraSearchRegistModelSkipsAReportThenEnds) {
  buildOffline();
  platform.setPlatform(Platform::kPlatformIcera);
  set(QString(), QStringLiteral("SearchRegistModel"), true);
  init()->dealWithCheckNetInfoForIcera(iceraInfo(1.0f, QStringLiteral("00101"), QStringLiteral("3G"), "-"));
  EXPECT_EQ(init()->networkMode(), 0);
  // Not registered while searching: nothing changes at all.
  init()->setNetworkStatus(QStringLiteral("Searching"));
  init()->dealWithCheckNetInfoForIcera(iceraInfo(-1.0f, QStringLiteral("00101"), QStringLiteral("3G"), "-"));
  EXPECT_EQ(init()->networkName(), QStringLiteral("Searching"));
  EXPECT_TRUE(init()->manualRegistFlag());
  // The next registered report is used and ends the mode in the settings file.
  init()->dealWithCheckNetInfoForIcera(iceraInfo(1.0f, QStringLiteral("00101"), QStringLiteral("3G"), "-"));
  EXPECT_EQ(init()->networkMode(), 3);
  QVariantMap saved;
  ASSERT_TRUE(Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &saved));
  EXPECT_EQ(saved.value(QStringLiteral("SearchRegistModel")), QVariant(false));
}

TEST_F(Registration, FallingFrom3GTo2GWhileConnectedBringsTheRoamAlert) {
  buildOffline();
  platform.setPlatform(Platform::kPlatformIcera);
  const auto report = [this](const char *netStr) {
    init()->dealWithCheckNetInfoForIcera(iceraInfo(1.0f, QStringLiteral("00101"), QLatin1String(netStr), "-"));
  };
  report("3G");
  report("2G"); // not connected
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
  g_DialController->setConnectStatus(DialController::kConnected);
  report("3G");
  report("2G"); // connected, switch off
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
  set(QStringLiteral("Internet"), QStringLiteral("Internet_RoamAlertAtNetFrom3GTo2G"), true);
  report("2G"); // connected, but already 2G
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
  report("3G");
  report("2G");
  EXPECT_TRUE(init()->isRoamAlertWndVisible());
  init()->closeRoamAlertWnd();
  EXPECT_FALSE(init()->isRoamAlertWndVisible());
}

TEST_F(Registration, ShortAndUnterminatedPackagesAreReadWithinTheirFields) {
  buildOffline();
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  // Nothing carried: no domain.
  init()->dealWithCheckNetInfo(SimulatedModem::makePackage(7, 37, 1, 0, {}, 1));
  EXPECT_EQ(init()->networkMode(), 0);
  EXPECT_EQ(init()->networkName(), QStringLiteral("No Service"));
  // A type text filling its whole field stops at the field's end, not in the domain after it.
  UIMsg full = netInfo(QString(68, QLatin1Char('X')), QStringLiteral("CS_PS"));
  init()->dealWithCheckNetInfo(full);
  EXPECT_EQ(init()->networkName(), QString(68, QLatin1Char('X')));
  EXPECT_EQ(init()->networkMode(), 3);
  // A package cut inside the domain field reads what arrived.
  UIMsg cut = netInfo(QStringLiteral("GSM"), QStringLiteral("CS_ONLY"));
  cut.dataLength = 108 + 5;
  init()->dealWithCheckNetInfo(cut);
  EXPECT_EQ(init()->networkMode(), 0);
  // Icera: too short for the registration value means not registered.
  platform.setPlatform(Platform::kPlatformIcera);
  init()->dealWithCheckNetInfo(netInfo(QStringLiteral("UMTS"), QStringLiteral("CS_PS")));
  init()->dealWithCheckNetInfoForIcera(SimulatedModem::makePackage(7, 47, 1, 0, QByteArray(3, '\x7f'), 1));
  EXPECT_EQ(init()->networkMode(), 0);
  EXPECT_TRUE(init()->mccmnc().isEmpty());
  EXPECT_FALSE(init()->mccmnc().isNull());
}

// ---- end to end with the simulated modem ----

TEST_F(Registration, RegistrationChangesFollowTheModem) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  watch();
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkMode() == 3; }));
  EXPECT_EQ(init()->networkName(), QStringLiteral("UMTS"));
  EXPECT_EQ(domainLabel(), QStringLiteral("P C"));
  EXPECT_TRUE(g_DialController->psDomainStatus());

  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_ONLY")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return posted.domain.contains(QStringLiteral("C")); }));
  EXPECT_EQ(init()->networkMode(), 1);
  EXPECT_EQ(service.networkMode(), 1);
  EXPECT_FALSE(g_DialController->psDomainStatus());

  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("NONE")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return posted.network.contains(QStringLiteral("No Service")); }));
  EXPECT_EQ(init()->networkMode(), 0);
  EXPECT_EQ(networkLabel(), QStringLiteral("No Service"));
  EXPECT_EQ(posted.roam.last(), 2);
  EXPECT_EQ(init()->mccmnc(), QString(""));

  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_PS")});
  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Other Net"), QStringLiteral("001"), QStringLiteral("02"), QStringLiteral("HSDPA")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkName() == QStringLiteral("HSDPA"); }));
  EXPECT_EQ(init()->networkMode(), 3);
  EXPECT_EQ(posted.domain.last(), QStringLiteral("P C"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->mccmnc() == QStringLiteral("00102"); }));
  EXPECT_EQ(init()->servingCellText(), QString::number(0xA1B2C3));
}

TEST_F(Registration, IceraDeviceReportsThroughItsOwnReplies) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  platform.setPlatform(Platform::kPlatformIcera);
  QVariantMap scenario;
  ASSERT_TRUE(Plist::readDictionary(
      testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"), &scenario));
  scenario.insert(QStringLiteral("DeviceType"), QStringLiteral("Icera"));
  QVariantMap net = scenario.value(QStringLiteral("Network")).toMap();
  net.insert(QStringLiteral("Technology"), QStringLiteral("EDGE"));
  scenario.insert(QStringLiteral("Network"), net);
  const QString path = testsupport::writePlist(dir.filePath(QStringLiteral("icera.plist")), scenario);
  ASSERT_TRUE(backend->control(QStringLiteral("LoadScenario"), {path}).value(0).toBool());
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkName() == QStringLiteral("EDGE"); }));
  EXPECT_EQ(init()->networkMode(), 3);
  EXPECT_EQ(init()->getCurrentAccessTechnology(), QStringLiteral("GSM"));
  EXPECT_EQ(init()->networkRoamStatus(), 1) << "the registration state says home";

  backend->control(QStringLiteral("SetRegistration"), {QStringLiteral("CS_ONLY")});
  backend->control(QStringLiteral("SetNetwork"), {QString(), QString(), QString(), QStringLiteral("HSDPA")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkName() == QStringLiteral("HSDPA"); }));
  EXPECT_EQ(init()->networkMode(), 1);
  EXPECT_EQ(domainLabel(), QStringLiteral("C"));
}

} // namespace
