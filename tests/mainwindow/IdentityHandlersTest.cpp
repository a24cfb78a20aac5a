// The network-report and SIM-file handlers: what they keep, what they ask of the controller and
// in which order, and how the identity follows a change of card.
#include "BlowFishEncrypt.h"
#include "Blowfish.h"
#include "IdentityFixture.h"
#include "SimFiles.h"

namespace {
using namespace identitytest;

using IdentityHandlersTest = IdentityFixture;

TEST_F(IdentityHandlersTest, FullReportSetsTheServingNetworkAndAsksTheControllerInOrder) {
  Plmn p;
  p.mcc = p.homeMcc = "460";
  p.mnc = p.homeMnc = "01";
  p.psMark = true;
  service.setNetworkMode(3);
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(handlers->mccmnc(), "46001");
  EXPECT_EQ(service.currentRmccrmnc(), "46001");
  EXPECT_EQ(service.rawLocalSpn(), "Sim Operator");
  EXPECT_EQ(service.networkRoamStatus(), 1);
  EXPECT_EQ(service.getNetWorkRoamType(), 2);
  const QStringList expected = {
      "showRoamAlertWindow(1)",
      "matchApnAccordMCCAndMNC(460,01)",
      "checkLocalMCCAndNetMCC(460,460)",
      "showDiagMccAndMnc(460,01)",
      "checkAPNMatchWithMCCMNC(46001)",
      "informOtherModulePSDomain(2)",
      "setRoamInfoWithNetworkRoamStatus(1)",
      "setLocalSPN(,1)",
      "setBelonetoSPN()",
  };
  ASSERT_GE(sink.calls.size(), expected.size());
  EXPECT_EQ(sink.calls.mid(0, expected.size()), expected);
  EXPECT_EQ(sink.calls.last(), "doWhenNetWorkChanged");
  EXPECT_TRUE(sink.qdonFilter);
}

TEST_F(IdentityHandlersTest, ThreeDigitMncIsKeptForServingAndHomeNetworks) {
  service.setImsi("310260123456789");
  Plmn p;
  p.mcc = p.homeMcc = "310";
  p.mnc = p.homeMnc = "260";
  p.roam = "ROAM_ON";
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(handlers->mccmnc(), "310260");
  EXPECT_EQ(service.currentHmccmnc(), "310260");
  EXPECT_EQ(service.getCurrentLocalMcc(), "310");
  EXPECT_EQ(service.getCurrentHomeMcc(), "310");
  EXPECT_EQ(service.getNetWorkRoamType(), 0); // national roaming
  EXPECT_TRUE(service.isHomeOrFriendly("310260"));
  EXPECT_FALSE(service.isHomeOrFriendly("31026"));
  p.mcc = "208";
  p.mnc = "10";
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(service.getNetWorkRoamType(), 1); // international
}

TEST_F(IdentityHandlersTest, NoNetworkLeavesTheServingTextEmpty) {
  struct Case {
    const char *what;
    QString roam, mcc;
    bool psPushed; // the PS mark counts whenever the roam indication is known
  };
  const Case cases[] = {{"no roam indication", "NO_SERVICE", "460", false}, {"no MCC", "ROAM_OFF", "", true}};
  for (const Case &c : cases) {
    sink.calls.clear();
    Plmn p;
    p.roam = c.roam;
    p.mcc = c.mcc;
    p.psMark = true;
    handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
    EXPECT_EQ(handlers->mccmnc(), "") << c.what;
    EXPECT_FALSE(handlers->mccmnc().isNull()) << c.what;
    EXPECT_FALSE(sink.calls.join(' ').contains("showDiagMccAndMnc")) << c.what;
    EXPECT_FALSE(sink.calls.join(' ').contains("doWhenNetWorkChanged")) << c.what;
    EXPECT_EQ(sink.calls.contains("informOtherModulePSDomain(2)"), c.psPushed) << c.what;
  }
}

TEST_F(IdentityHandlersTest, NameOnlyReportKeepsTheLongNameAndTouchesNothingElse) {
  setSettings({{"displayLongFormatSPNWhenRoamOn", true}});
  Plmn p;
  p.name = "Very Long Operator Name";
  p.numeric = false;
  handlers->setMccmnc("00101");
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(service.longFormatLocalSpn(), "Very Long Operator Name");
  EXPECT_EQ(handlers->mccmnc(), "00101");
  EXPECT_FALSE(sink.calls.join(' ').contains("Roam"));
}

TEST_F(IdentityHandlersTest, FirstReportOfANewNetworkIsFilteredOnce) {
  setSettings({{"Main/filterTheFirstQdonQpasWhenNetWorkChanged", true}});
  service.setNetworkMode(3);
  handlers->setMccmnc("00101");
  sink.qdonFilter = true;
  Plmn p = Plmn();
  p.mnc = "02";
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(handlers->mccmnc(), "00101");
  EXPECT_EQ(sink.calls.last(), "dealWithFirstQdon(00101)");
  EXPECT_FALSE(sink.calls.join(' ').contains("setLocalSPN"));
  sink.calls.clear();
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(p));
  EXPECT_EQ(handlers->mccmnc(), "00102");
  EXPECT_EQ(sink.calls.last(), "doWhenNetWorkChanged");
  EXPECT_TRUE(sink.qdonFilter);
}

TEST_F(IdentityHandlersTest, UpdaterHearsEveryNetworkButDeviceReadyOnce) {
  setSettings({{"newUpdate", true}});
  sink.supportUpdate = true;
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(Plmn()));
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(Plmn()));
  EXPECT_EQ(sink.calls.count("dealWithMCCMNC(00101)"), 2);
  EXPECT_EQ(sink.calls.count("dealWithDeviceReady"), 1);
}

TEST_F(IdentityHandlersTest, IceraPlatformLeavesRoamingToItsOwnReply) {
  platform.setPlatform(Platform::kPlatformIcera);
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(Plmn()));
  EXPECT_FALSE(sink.calls.join(' ').contains("setRoamInfoWithNetworkRoamStatus"));
}

TEST_F(IdentityHandlersTest, ShortOrEmptyPackagesAreHarmless) {
  UIMsg empty;
  empty.majorId = 7;
  for (uint16_t minor : {38, 40, 41, 42}) {
    empty.minorId = minor;
    if (minor == 38)
      handlers->dealWithMsgOfCheckPLMN(empty);
    else if (minor == 40)
      handlers->dealWithMsgOfCheckSPDI(empty);
    else if (minor == 41)
      handlers->dealWithMsgOfCheckSPN(empty);
    else
      handlers->dealWithMsgOfCheckICCID(empty);
  }
  EXPECT_EQ(service.parsedHomeSpn(), "");
  EXPECT_EQ(service.iccidStr(), "");
  // A report cut inside its operator name: the name is what arrived, the rest reads as zero.
  UIMsg cut = plmnPackage(Plmn());
  cut.dataLength = 5;
  const PlmnReport r = PlmnReport::fromMsg(cut);
  EXPECT_EQ(r.operatorName, "Sim O");
  EXPECT_FALSE(r.isNumeric());
  EXPECT_EQ(r.servingMcc, "");
  // Names that fill their whole field are cut at the field's width.
  Plmn wide;
  wide.name = QString(100, u'N');
  wide.mcc = QString(50, u'1');
  const PlmnReport w = PlmnReport::fromMsg(plmnPackage(wide));
  EXPECT_EQ(w.operatorName.size(), 67);
  EXPECT_EQ(w.servingMcc.size(), 35);
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(wide));
  EXPECT_EQ(handlers->mccmnc(), ""); // an MCC of 35 digits names no network
}

TEST_F(IdentityHandlersTest, SimFilesReachTheServiceAndTheController) {
  handlers->dealWithMsgOfCheckSPN(simFilePackage(41, "034F7065726174FFFF"));
  EXPECT_EQ(handlers->spn(), "Operat");
  EXPECT_EQ(handlers->displayCondForSpn(), 3);
  handlers->dealWithMsgOfCheckICCID(simFilePackage(42, "98440100000000000011"));
  EXPECT_EQ(handlers->iccid(), "89441000000000000011");
  EXPECT_EQ(sink.calls, QStringList({"getIccidNumAfterMatchApnAccordImsi", "showDiagIccid(89441000000000000011)"}));
  handlers->dealWithMsgOfCheckSPDI(simFilePackage(40, "A308800664F00064F010"));
  EXPECT_EQ(service.friendlyNetList(), QStringList({"46000", "46001"}));
  EXPECT_TRUE(service.moduleMapsDict().contains("memKeyMCCMNCXMCCMNC(46000)"));
  EXPECT_TRUE(service.moduleMapsDict().contains("memKeyMCCMNCXMCCMNC(46001)"));
  // An empty file clears what it names; a list without its tag keeps the old list.
  handlers->dealWithMsgOfCheckSPN(simFilePackage(41, ""));
  EXPECT_EQ(handlers->spn(), "");
  handlers->dealWithMsgOfCheckSPDI(simFilePackage(40, "A3020102"));
  EXPECT_EQ(service.friendlyNetList(), QStringList({"46000", "46001"}));
}

TEST_F(IdentityHandlersTest, MembershipFollowsTheCard) {
  // First card: home 001/01, friendly 001/02.
  service.setImsi("001010123456789");
  handlers->dealWithMsgOfCheckSPDI(simFilePackage(40, "A305800300F120"));
  EXPECT_TRUE(service.isHomeOrFriendly("00101"));
  EXPECT_TRUE(service.isHomeOrFriendly("00102"));

  // Another IMSI read without a removal: the old home goes, the list read for this card stays.
  service.setImsi("460000123456789");
  EXPECT_FALSE(service.isHomeOrFriendly("00101"));
  EXPECT_TRUE(service.isHomeOrFriendly("00102"));
  EXPECT_TRUE(service.isHomeOrFriendly("46000"));

  // The device leaves and comes back with a card of its own.
  handlers->deviceRemoved();
  EXPECT_EQ(handlers->mccmnc(), "");
  EXPECT_TRUE(service.moduleMapsDict().isEmpty());
  EXPECT_TRUE(service.friendlyNetList().isEmpty());
  EXPECT_FALSE(service.isHomeOrFriendly("46000")) << "no card, no home";
  service.setImsi("310260123456789");
  service.setHomeMncLength(3);
  EXPECT_EQ(service.moduleMapsDict().size(), 1);
  EXPECT_TRUE(service.isHomeOrFriendly("310260"));
  EXPECT_FALSE(service.isHomeOrFriendly("31026"));
  EXPECT_FALSE(service.isHomeOrFriendly("00102"));
  EXPECT_FALSE(service.isHomeOrFriendly(""));

  // The same card out and in again is its own home once more.
  handlers->deviceRemoved();
  EXPECT_FALSE(service.isHomeOrFriendly("310260"));
  service.setImsi("310260123456789");
  EXPECT_TRUE(service.isHomeOrFriendly("310260"));
}

TEST_F(IdentityHandlersTest, NamesFollowASimChange) {
  setSettings({{"Init/Init_ShowSpnByNewMethod", true}});
  bringUp("001010123456789", spnHex(1, "First"), "A305800300F120", Plmn());
  EXPECT_EQ(sink.belong, "First");
  handlers->deviceRemoved();
  Plmn second;
  second.name = "Second Net";
  second.mcc = second.homeMcc = "460";
  second.mnc = second.homeMnc = "00";
  bringUp("460000123456789", spnHex(2, "Second"), "", second);
  EXPECT_EQ(sink.belong, "Second");
  EXPECT_EQ(sink.local, "");
  // The first card's friendly network is a stranger to the second card.
  Plmn away = second;
  away.name = "Old Friend";
  away.mcc = "001";
  away.mnc = "02";
  away.roam = "ROAM_ON";
  handlers->dealWithMsgOfCheckPLMN(plmnPackage(away));
  EXPECT_EQ(sink.local, "Old Friend");
  EXPECT_EQ(sink.belong, "");
}

TEST_F(IdentityHandlersTest, MccOfAnMccMncText) {
  EXPECT_EQ(InitService::getMCCByMccmnc("46001"), "460");
  EXPECT_EQ(InitService::getMCCByMccmnc("310260"), "310");
  EXPECT_EQ(InitService::getMCCByMccmnc("4600"), "");
  EXPECT_EQ(InitService::getMCCByMccmnc(""), "");
  EXPECT_EQ(InitService::getMCCByMccmnc("4600123"), "");
}

TEST_F(IdentityHandlersTest, SharedServiceIsTheInstalledOne) {
  EXPECT_EQ(InitService::sharedInitService(), &service);
  EXPECT_EQ(service.signalStrength(), "");
  EXPECT_EQ(service.signalStrengthFlag(), 2);
  EXPECT_EQ(service.getInternetAddressAtMainPage(), "");
  setSettings({{"Main/Main_TextLinkAddress", "http://example.invalid/"}});
  EXPECT_EQ(service.getInternetAddressAtMainPage(), "http://example.invalid/");
}

TEST_F(IdentityHandlersTest, TextsAreEncipheredByTheOperatorsPattern) {
  const QString imsi = QStringLiteral("460001234567890");
  char expected[kEncryptServicesOutputSize] = {};
  ASSERT_EQ(EncryptServicesMain("4600012345678900", expected, sizeof expected), kBlowfishOk);
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi), QByteArray(expected)); // no pattern: the fixed key
  setSettings({{"Main/Main_EncryptURLPattern_IfNeeded", 0}});
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi), QByteArray(expected));
  EXPECT_EQ(service.encodeAndReturnCipherText("not digits"), QByteArray());

  setSettings({{"Main/Main_EncryptURLPattern_IfNeeded", 1}});
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi), QByteArray()) << "no key, nothing";
  setSettings({{"Main/Main_EncryptURLPattern_IfNeeded", 1}, {"Main/Main_EncryptSerectKey_IfNeededEncrypt", "secret"}});
  BlowFishEncrypt cipher(QByteArray("secret"));
  ASSERT_TRUE(cipher.encipher("460001234567890"));
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi), cipher.ciphertext());
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi).size(), 32);

  setSettings({{"Main/Main_EncryptURLPattern_IfNeeded", 2}});
  EXPECT_EQ(service.encodeAndReturnCipherText(imsi), QByteArray());
}

TEST_F(IdentityHandlersTest, AnotherServiceSettingTheImsiStillChangesTheCard) {
  service.setImsi("001010123456789");
  EXPECT_TRUE(service.isHomeOrFriendly("00101"));
  QelServiceBase other;
  other.setImsi("460000123456789");
  EXPECT_FALSE(service.isHomeOrFriendly("00101"));
  EXPECT_TRUE(service.isHomeOrFriendly("46000"));
  EXPECT_EQ(service.currentHmccmnc(), "46000");
}

} // namespace
