// Roaming status and its rules: the roam status and type of the serving network, the transfer
// between home and roaming with what it does to a connection, the serving cell, and the roaming
// switches the modem keeps.
#include "DialController.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "NetworkIdentity.h"
#include "NetworkRegistration.h"
#include "Platform.h"
#include "SettingController.h"
#include "SimulatedModem.h"
#include "WordGlobe.h"

#include <QPushButton>
#include <QTest>

namespace {

class RoamStatus : public NetworkWindowFixture {
protected:
  QList<int> posted;

  DialController *dial() const { return g_DialController; }

  void TearDown() override {
    DialController::setTimeScale(1.0);
    NetworkWindowFixture::TearDown();
  }
  // The window against the simulated modem, its connect button live.
  bool launchReady() {
    return launch() &&
           testsupport::waitUntil([] { return g_DialController && g_DialController->isConnectBtnEnabled(); });
  }
  // The same with a connection up.
  bool launchConnected() {
    if (!launchReady())
      return false;
    dial()->DialOption(dial()->m_ConnectButton);
    return testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnected; });
  }
  // How many packages of this pair the modem received.
  int received(int major, int minor) const {
    int n = 0;
    for (const QByteArray &b : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(b, &m) && m.majorId == major && m.minorId == minor)
        ++n;
    }
    return n;
  }
  QString roamLetter() const { return init()->statusView->roamStatusLabel->text(); }

  void watch() {
    NotificationCenter::defaultCenter().addObserver(&owner, kRoamStatus, nullptr, [this](const Notification &n) {
      posted << n.userInfo.value(kRoamStatus).toInt();
    });
  }

  // The full network report the simulated modem sends for a SIM of home network 001/01.
  static UIMsg plmn(const QString &mcc, const QString &mnc, bool roaming, bool registered = true) {
    QVariantMap scenario;
    scenario.insert(QStringLiteral("SIM"), QVariantMap{{QStringLiteral("IMSI"), QStringLiteral("001010123456789")}});
    scenario.insert(QStringLiteral("Network"), QVariantMap{{QStringLiteral("MCC"), mcc},
                                                           {QStringLiteral("MNC"), mnc},
                                                           {QStringLiteral("Roaming"), roaming},
                                                           {QStringLiteral("Registered"), registered}});
    return SimulatedModem::makePackage(7, 38, 1, 0, NetworkIdentity::plmnReport(scenario, true), 1);
  }

  static UIMsg roamInfo(quint32 creg, const QByteArray &lac, const QByteArray &cell) {
    QByteArray p(28, '\0');
    p.replace(0, 4, QByteArray::fromRawData(reinterpret_cast<const char *>(&creg), 4));
    p.replace(4, lac.size(), lac);
    p.replace(14, cell.size(), cell);
    return SimulatedModem::makePackage(7, 39, 1, 0, p, 1);
  }

  static UIMsg roamSwitch(quint32 national, quint32 international, int module = 1, int type = 1, int result = 0) {
    QByteArray p(8, '\0');
    std::memcpy(p.data(), &national, 4);
    std::memcpy(p.data() + 4, &international, 4);
    return SimulatedModem::makePackage(513, 86, type, quint8(result), p, module);
  }
};

TEST_F(RoamStatus, StatusAndTypeOfTheServingNetwork) {
  struct Case {
    const char *what, *mcc, *mnc;
    bool roaming, registered;
    QVariantMap internet, init;
    int published, type; // type: 0 national, 1 international, 2 home, 3 other
    const char *letter;
  };
  const QVariantMap domestic{{QStringLiteral("CloseRoamAtDomesticRoaming"), true}};
  const QVariantMap hidden{
      {QStringLiteral("Init_HideRoamStatus_IfMatchedSpecialMCCMNC"), QVariantList{QStringLiteral("26201")}},
      {QStringLiteral("Init_HideRoamStatus_IfMatchedSpecialHMCCMNC"), QVariantList{QStringLiteral("00101")}}};
  const QVariantMap hiddenForOtherSims{
      {QStringLiteral("Init_HideRoamStatus_IfMatchedSpecialMCCMNC"), QVariantList{QStringLiteral("26201")}},
      {QStringLiteral("Init_HideRoamStatus_IfMatchedSpecialHMCCMNC"), QVariantList{QStringLiteral("00202")}}};
  const Case cases[] = {
      {"home", "001", "01", false, true, {}, {}, 1, 2, ""},
      {"national roaming", "001", "02", true, true, {}, {}, 0, 0, "R"},
      {"international roaming", "262", "01", true, true, {}, {}, 0, 1, "R"},
      {"national roaming counted as home", "001", "02", true, true, domestic, {}, 1, 0, ""},
      {"international roaming stays roaming", "262", "01", true, true, domestic, {}, 0, 1, "R"},
      {"roaming hidden on a listed network", "262", "01", true, true, {}, hidden, 1, 1, ""},
      {"listed network, SIM not listed", "262", "01", true, true, {}, hiddenForOtherSims, 0, 1, "R"},
      {"not registered", "262", "01", true, false, {}, {}, 2, 3, ""},
  };
  buildOffline();
  watch();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    config->setConfigurationByModule(QStringLiteral("Internet"), c.internet);
    config->setConfigurationByModule(QStringLiteral("Init"), c.init);
    service.setImsi(QStringLiteral("001010123456789"));
    init()->identity().dealWithMsgOfCheckPLMN(
        plmn(QLatin1String(c.mcc), QLatin1String(c.mnc), c.roaming, c.registered));
    ASSERT_FALSE(posted.isEmpty());
    EXPECT_EQ(posted.last(), c.published);
    EXPECT_EQ(init()->networkRoamStatus(), c.published);
    EXPECT_EQ(service.getNetWorkRoamType(), c.type);
    EXPECT_EQ(roamLetter(), QLatin1String(c.letter));
  }
}

TEST_F(RoamStatus, IceraRegistrationStateGivesTheStatus) {
  buildOffline();
  watch();
  struct Case {
    quint32 creg;
    int status;
  };
  platform.setPlatform(Platform::kPlatformIcera);
  for (const Case c : {Case{5, 0}, Case{1, 1}, Case{2, 2}, Case{0, 2}, Case{0xFFFFFFFF, 2}}) {
    init()->dealWithCheckRoamInfo(roamInfo(c.creg, "0", "0"));
    EXPECT_EQ(posted.last(), c.status) << c.creg;
    EXPECT_EQ(service.networkRoamStatus(), c.status) << c.creg;
  }
  // Other devices take the status from the network report only.
  platform.setPlatform(Platform::kPlatformOther);
  posted.clear();
  init()->dealWithCheckRoamInfo(roamInfo(5, "0", "0"));
  EXPECT_TRUE(posted.isEmpty());
}

TEST_F(RoamStatus, ServingCellAndLocationArea) {
  buildOffline();
  QStringList cells;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("ReadCellIDInfo"), nullptr,
      [&](const Notification &n) { cells << n.userInfo.value(QStringLiteral("CellIDInfo")).toString(); });
  init()->dealWithCheckRoamInfo(roamInfo(1, "1A2B", "00A1B2C3"));
  EXPECT_EQ(init()->servingCellText(), QString::number(0xA1B2C3));
  EXPECT_EQ(init()->locationAreaText(), QStringLiteral("6699"));
  set(QStringLiteral("CellId"), QStringLiteral("ShowLastNum"), 4);
  init()->dealWithCheckRoamInfo(roamInfo(1, "1A2B", "00A1B2C3"));
  EXPECT_EQ(init()->servingCellText(), QStringLiteral("45763"));
  // A count longer than the identity shows all of it; zero values leave the fields.
  set(QStringLiteral("CellId"), QStringLiteral("ShowLastNum"), 11);
  init()->dealWithCheckRoamInfo(roamInfo(1, "00000", "0000000000"));
  EXPECT_EQ(init()->servingCellText(), QStringLiteral("45763"));
  EXPECT_EQ(init()->locationAreaText(), QStringLiteral("6699"));
  // Full ten-character fields without a terminator, and text that stops being hexadecimal.
  init()->dealWithCheckRoamInfo(roamInfo(1, "FFFFFFFFFF", "12Z4567890"));
  EXPECT_EQ(init()->servingCellText(), QStringLiteral("18"));
  EXPECT_EQ(init()->locationAreaText(), QString::number(0xFFFFFFFFFFull));
  EXPECT_EQ(cells, (QStringList{QString::number(0xA1B2C3), QStringLiteral("45763"), QStringLiteral("18")}));
}

TEST_F(RoamStatus, FromHomeToRoamingAcrossALossOfNetworkOffersToDisconnect) {
  set(QStringLiteral("Internet"), QStringLiteral("disNetWhileToRoam"), true);
  if (!launchConnected())
    GTEST_SKIP() << "no session bus";
  answers.reset(); // one script at a time: a script restores the windows when it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{ModalQuestions::kAlternateAnswer});
  init()->setRoamInfoWithNetworkRoamStatus(1);
  EXPECT_EQ(init()->roamTransferMode(), 2);
  init()->setRoamInfoWithNetworkRoamStatus(2);
  init()->setRoamInfoWithNetworkRoamStatus(0);
  EXPECT_EQ(init()->roamTransferMode(), 1);
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked().first().message,
            Map_Name_Item_of_IndexString(
                QStringLiteral("You are about to connect to a roaming network.Do you want to disconnect now?")));
  QTest::qWait(200);
  EXPECT_EQ(received(258, 67), 0) << "the user said no";
  init()->setRoamInfoWithNetworkRoamStatus(0);
  EXPECT_EQ(init()->roamTransferMode(), 2);
  init()->setRoamInfoWithNetworkRoamStatus(1);
  EXPECT_EQ(init()->roamTransferMode(), 0);
  answers.reset();
  answers = std::make_unique<ScriptedAnswers>(QList<int>{ModalQuestions::kDefaultAnswer});
  init()->setRoamInfoWithNetworkRoamStatus(0);
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(258, 67) == 1; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kDisconnected; }));
  // Not connected: no question.
  init()->setRoamInfoWithNetworkRoamStatus(1);
  init()->setRoamInfoWithNetworkRoamStatus(0);
  EXPECT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(init()->roamTransferMode(), 1);
  EXPECT_EQ(received(258, 67), 1);
}

TEST_F(RoamStatus, ChangeOfNetworkMovesTheConnection) {
  set(QStringLiteral("Internet"), QStringLiteral("autoConnectWhenRoamToNoRoam"), true);
  if (!launchReady())
    GTEST_SKIP() << "no session bus";
  DialController::setTimeScale(0.05);
  // The user chose automatic connection in the settings window, and the box is live.
  g_SettingController->btnAutoConnect->setChecked(true);
  g_SettingController->setAutoConnectBtnEnable(true);
  // Roaming to home while disconnected: connect again, with the APN cycle.
  init()->setRoamTransferMode(0);
  init()->doWhenNetWorkChanged();
  EXPECT_TRUE(dial()->apnCycleEnable());
  EXPECT_FALSE(init()->apnCyleWhenRoamToNoRoam());
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(258, 66) == 1; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnected; }));
  // ... while connected: disconnect, the APN cycle follows the home network.
  init()->doWhenNetWorkChanged();
  EXPECT_EQ(received(258, 67), 1);
  EXPECT_TRUE(init()->apnCyleWhenRoamToNoRoam());
  // The link that went down with the move connects again.
  ASSERT_TRUE(testsupport::waitUntil([&] { return received(258, 66) == 2; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnected; }));
  // ... after a manual disconnect: nothing automatic. (The reconnect above came by the timed
  // road, which leaves the roam-to-home mark for the next link-down; it is not under test here.)
  init()->setApnCyleWhenRoamToNoRoam(false);
  dial()->DialOption(dial()->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kDisconnected; }));
  init()->doWhenNetWorkChanged();
  QTest::qWait(300);
  EXPECT_EQ(received(258, 66), 2);
  // Home to roaming while connecting: the connect is dropped.
  init()->setRoamTransferMode(1);
  dial()->DialOption(dial()->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnecting; }));
  init()->doWhenNetWorkChanged();
  EXPECT_EQ(received(258, 67), 3);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kDisconnected; }));
  // No move: nothing.
  init()->setRoamTransferMode(2);
  dial()->DialOption(dial()->m_ConnectButton);
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial()->connectStatus() == DialController::kConnected; }));
  init()->doWhenNetWorkChanged();
  QTest::qWait(200);
  EXPECT_EQ(received(258, 67), 3);
  EXPECT_EQ(dial()->connectStatus(), DialController::kConnected);
}

TEST_F(RoamStatus, SameCountryRulesForAutomaticConnections) {
  buildOffline();
  const auto sameMcc = [this] { return init()->runtimeObjectForKey(kRTIsSameMCC); };
  init()->checkLocalMCCAndNetMCC(QStringLiteral("001"), QStringLiteral("262"));
  EXPECT_FALSE(sameMcc().isValid()) << "written only for operators that ask for it";
  set(QStringLiteral("Internet"), QStringLiteral("NotAutoConnectForInterRoam"), true);
  init()->checkLocalMCCAndNetMCC(QStringLiteral("001"), QStringLiteral("262"));
  EXPECT_EQ(sameMcc(), QVariant(false));
  init()->checkLocalMCCAndNetMCC(QStringLiteral("001"), QStringLiteral("001"));
  EXPECT_EQ(sameMcc(), QVariant(true));
  init()->checkLocalMCCAndNetMCC(QStringLiteral("001"), QString()); // unknown: unchanged
  EXPECT_EQ(sameMcc(), QVariant(true));
  // The home MCC keeps its leading zeros: 001 is not the 1 that 10101 begins with.
  service.setImsi(QStringLiteral("001010123456789"));
  init()->checkIsNationnalRoam(QStringLiteral("10101"));
  EXPECT_EQ(sameMcc(), QVariant(false));
  init()->checkIsNationnalRoam(QStringLiteral("00102"));
  EXPECT_EQ(sameMcc(), QVariant(true));
  init()->setCurrentHMcc(262);
  init()->checkIsNationnalRoam(QStringLiteral("26203"));
  EXPECT_EQ(sameMcc(), QVariant(true));
}

TEST_F(RoamStatus, WhiteListOfNetworks) {
  buildOffline();
  init()->setMccmnc(QStringLiteral("26201"));
  EXPECT_FALSE(init()->isInWhiteList());
  set(QStringLiteral("Internet"), QStringLiteral("InternetWhiteList"),
      QVariantMap{{QStringLiteral("Partner"), QStringLiteral("26201")},
                  {QStringLiteral("Other"), QStringLiteral("1")}});
  EXPECT_TRUE(init()->isInWhiteList());
  init()->setMccmnc(QStringLiteral("26202"));
  EXPECT_FALSE(init()->isInWhiteList());
  init()->setMccmnc(QStringLiteral(""));
  EXPECT_FALSE(init()->isInWhiteList());
  set(QStringLiteral("Internet"), QStringLiteral("InternetWhiteList"), QVariantList{QStringLiteral("")});
  EXPECT_FALSE(init()->isInWhiteList());
}

TEST_F(RoamStatus, RoamSwitchesReadFromTheModem) {
  buildOffline();
  init()->dealWithReadRoamSwitch(roamSwitch(1, 1, 0)); // not from the device status module
  init()->dealWithReadRoamSwitch(roamSwitch(1, 1, 1, 0));
  init()->dealWithReadRoamSwitch(roamSwitch(1, 1, 1, 1, 0xFF));
  EXPECT_FALSE(init()->roamSwitchesEnabled());
  init()->dealWithReadRoamSwitch(roamSwitch(1, 0));
  EXPECT_TRUE(init()->roamSwitchesEnabled());
  EXPECT_TRUE(init()->nRoamSwitchOn());
  EXPECT_FALSE(init()->iRoamSwitchOn());
  EXPECT_EQ(init()->nRoamDefaultValue(), 1);
  EXPECT_EQ(init()->iRoamDefaultValue(), 0);
  init()->dealWithReadRoamSwitch(roamSwitch(7, 1));
  EXPECT_FALSE(init()->nRoamSwitchOn());
  EXPECT_TRUE(init()->iRoamSwitchOn());
}

class RoamAfterInstalling : public RoamStatus {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Setting"),
             QVariantMap{{QStringLiteral("SetDefaultIroamSwitchOnAfterFinishInstalling"), true}}}};
  }
};

TEST_F(RoamAfterInstalling, InternationalRoamingIsSwitchedOnOnce) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->roamSwitchesEnabled(); }));
  EXPECT_TRUE(init()->iRoamSwitchOn());
  EXPECT_TRUE(init()->nRoamSwitchOn());
  EXPECT_EQ(init()->iRoamDefaultValue(), 1);
  // The switches went back to the modem, and the modem keeps them.
  QByteArray sent;
  ASSERT_TRUE(testsupport::waitUntil([&] {
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == 513 && m.minorId == 85)
        sent = m.payload();
    }
    return !sent.isEmpty();
  }));
  EXPECT_EQ(sent, QByteArray::fromHex("0100000001000000"));
  QVariantMap saved;
  ASSERT_TRUE(Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &saved));
  EXPECT_EQ(saved.value(QStringLiteral("Setting"))
                .toMap()
                .value(QStringLiteral("SetDefaultIroamSwitchOnAfterFinishInstalling")),
            QVariant(false));
}

TEST_F(RoamStatus, RoamingFollowsTheModem) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  // The IMSI reply has no reader yet; the card's IMSI stands in for it.
  service.setImsi(QStringLiteral("001010123456789"));
  watch();
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkRoamStatus() == 1; }));
  EXPECT_EQ(service.getNetWorkRoamType(), 2);

  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Abroad"), QStringLiteral("262"), QStringLiteral("01"), QString()});
  backend->control(QStringLiteral("SetRoaming"), {true});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkRoamStatus() == 0; }));
  EXPECT_EQ(roamLetter(), QStringLiteral("R"));
  EXPECT_EQ(service.getNetWorkRoamType(), 1);
  EXPECT_EQ(init()->roamTransferMode(), 1);
  EXPECT_EQ(init()->mccmnc(), QStringLiteral("26201"));

  backend->control(QStringLiteral("SetNetwork"),
                   {QStringLiteral("Neighbour"), QStringLiteral("001"), QStringLiteral("02"), QString()});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->mccmnc() == QStringLiteral("00102"); }));
  EXPECT_EQ(init()->networkRoamStatus(), 0);
  EXPECT_EQ(service.getNetWorkRoamType(), 0);

  backend->control(QStringLiteral("SetRoaming"), {false});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->networkRoamStatus() == 1; }));
  EXPECT_EQ(roamLetter(), QString());
  EXPECT_EQ(init()->roamTransferMode(), 0);
  EXPECT_EQ(posted.last(), 1);

  // The device leaves: no roam status, the next move starts afresh.
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return posted.last() == 2; }));
  EXPECT_EQ(init()->roamTransferMode(), 2);
  EXPECT_EQ(init()->registeredNetworkRoamStatus(), 2);
  EXPECT_EQ(init()->networkMode(), 0);
  EXPECT_FALSE(g_DialController->psDomainStatus());
}

} // namespace
