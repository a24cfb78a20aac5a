// The operator names on screen, from the SIM files, the serving-network report and the operator
// build's switches, through both ways of showing them.
#include "IdentityFixture.h"

namespace {
using namespace identitytest;

const QString kImsi = QStringLiteral("001010123456789");
const QString kImsi3 = QStringLiteral("310260123456789"); // home network 310/260
const QByteArray kSpdiFriend = "A305800300F120";          // 001/02
const QByteArray kSpdiFriend3 = "A3058003130014";         // 310/410

Plmn roaming(const QString &name, const QString &mcc, const QString &mnc) {
  Plmn p;
  p.name = name;
  p.mcc = mcc;
  p.mnc = mnc;
  p.roam = QStringLiteral("ROAM_ON");
  return p;
}

Plmn threeDigit(const QString &name, const QString &mnc, const QString &roam) {
  Plmn p;
  p.name = name;
  p.mcc = p.homeMcc = QStringLiteral("310");
  p.mnc = mnc;
  p.homeMnc = QStringLiteral("260");
  p.roam = roam;
  return p;
}

struct Case {
  const char *what;
  QVariantMap settings = {};
  QByteArray spn = spnHex(0, "Home Mobile");
  Plmn plmn = {};
  QString imsi = kImsi;
  QByteArray spdi = kSpdiFriend;
  int networkMode = 3;
  QString longName = {};
  QString local = {}, belong = {};
};

class NameDisplayTest : public IdentityFixture {
protected:
  void run(const Case &c) {
    SCOPED_TRACE(c.what);
    InitService::setSharedInitService(nullptr);
    fresh = std::make_unique<InitService>();
    sink = RecordingSink();
    handlers = std::make_unique<NetworkIdentityHandlers>(sink, fresh.get(), wording);
    setSettings(c.settings);
    fresh->setImsi(c.imsi);
    handlers->dealWithMsgOfCheckSPN(simFilePackage(41, c.spn));
    handlers->dealWithMsgOfCheckSPDI(simFilePackage(40, c.spdi));
    fresh->setNetworkMode(c.networkMode);
    if (!c.longName.isEmpty()) {
      Plmn nameOnly;
      nameOnly.name = c.longName;
      nameOnly.numeric = false;
      handlers->dealWithMsgOfCheckPLMN(plmnPackage(nameOnly));
    }
    handlers->dealWithMsgOfCheckPLMN(plmnPackage(c.plmn));
    EXPECT_EQ(sink.local, c.local) << sink.calls.join(' ').toStdString();
    EXPECT_EQ(sink.belong, c.belong) << sink.calls.join(' ').toStdString();
  }
  std::unique_ptr<InitService> fresh;
};

QVariantMap byStrategy(QVariantMap more = {}) {
  more.insert(QStringLiteral("Init/Init_ShowSpnByNewMethod"), true);
  return more;
}

TEST_F(NameDisplayTest, StrategyWay) {
  QVariantMap specific{{"00101", "XXSpecial"}, {"99999", "YYOther"}};
  const Case cases[] = {
      {.what = "no switches, home, condition 0", .settings = byStrategy(), .local = "", .belong = "Home Mobile"},
      {.what = "no switches, home, condition 1",
       .settings = byStrategy(),
       .spn = spnHex(1, "Home Mobile"),
       .local = "Sim Operator",
       .belong = "Home Mobile"},
      {.what = "abroad, condition 2",
       .settings = byStrategy(),
       .spn = spnHex(2, "Home Mobile"),
       .plmn = roaming("Other Net", "208", "10"),
       .local = "Other Net",
       .belong = ""},
      {.what = "friendly network, condition 2",
       .settings = byStrategy(),
       .spn = spnHex(2, "Home Mobile"),
       .plmn = roaming("Friend Net", "001", "02"),
       .local = "",
       .belong = "Home Mobile"},
      {.what = "no service", .settings = byStrategy(), .networkMode = 0, .local = "", .belong = ""},
      {.what = "network not found",
       .settings = byStrategy(),
       .plmn = roaming("Not Found", "208", "10"),
       .local = "",
       .belong = ""},
      {.what = "manual search", .settings = byStrategy({{"SearchRegistModel", true}}), .local = "", .belong = ""},
      {.what = "POS/LAT",
       .settings = byStrategy({{"Init/ShowSPNForPOSLAT", true}}),
       .local = "Sim Operator",
       .belong = ""},
      {.what = "national roaming shows the provider as network",
       .settings = byStrategy({{"Init/DisplayBelongToSPNWhenNationalRoam", true}}),
       .plmn = roaming("National Net", "001", "03"),
       .local = "Home Mobile",
       .belong = "Home Mobile"},
      {.what = "long network name while roaming",
       .settings = byStrategy({{"displayLongFormatSPNWhenRoamOn", true}}),
       .plmn = roaming("Other", "208", "10"),
       .longName = "Other Network Long",
       .local = "Other Network Long",
       .belong = "Home Mobile"},
      {.what = "always the network name",
       .settings = byStrategy({{"Main/AlwaysShowLocalSPN", true}}),
       .local = "Sim Operator",
       .belong = "Home Mobile"},
      {.what = "only the provider",
       .settings = byStrategy({{"Init/OnlyShowBelonetoSPN", true}}),
       .local = "",
       .belong = "Home Mobile"},
      {.what = "only one name, provider first",
       .settings = byStrategy({{"DisplayOnlyPLMN", true}}),
       .local = "Home Mobile",
       .belong = ""},
      {.what = "fixed network name, worded",
       .settings = byStrategy({{"Init/ShowFixedLocalSPN", true}}),
       .local = "Fixed Name",
       .belong = ""},
      {.what = "only one name, network first",
       .settings = byStrategy({{"Init/Init_OnlyShowLocalSpn_AndHighPriorityThanHomeSpn", true}}),
       .local = "Sim Operator",
       .belong = ""},
      {.what = "three-digit MNC at home",
       .settings = byStrategy(),
       .spn = spnHex(1, "Tee"),
       .plmn = threeDigit("T Net", "260", "ROAM_OFF"),
       .imsi = kImsi3,
       .local = "T Net",
       .belong = "Tee"},
      {.what = "three-digit MNC on a friendly network",
       .settings = byStrategy(),
       .spn = spnHex(2, "Tee"),
       .plmn = threeDigit("Partner", "410", "ROAM_ON"),
       .imsi = kImsi3,
       .spdi = kSpdiFriend3,
       .local = "",
       .belong = "Tee"},
      {.what = "operator's own name at home drops its prefix",
       .settings = byStrategy({{"Init/Init_specificMccAndMnc", specific}}),
       .spn = spnHex(1, "Home Mobile"),
       .local = "Special",
       .belong = "Home Mobile"},
      {.what = "operator's own name while roaming keeps its prefix",
       .settings = byStrategy({{"Init/Init_specificMccAndMnc", specific}}),
       .spn = spnHex(1, "Home Mobile"),
       .plmn = roaming("Sim Operator", "001", "01"),
       .local = "XXSpecial",
       .belong = "Home Mobile"},
      {.what = "operator's own name shorter than its prefix",
       .settings = byStrategy({{"Init/Init_specificMccAndMnc", QVariantMap{{"00101", "X"}}}}),
       .spn = spnHex(1, "Home Mobile"),
       .local = "",
       .belong = "Home Mobile"},
      {.what = "empty operator dictionary changes nothing",
       .settings = byStrategy({{"Init/Init_specificMccAndMnc", QVariantMap{}}}),
       .spn = spnHex(1, "Home Mobile"),
       .local = "Sim Operator",
       .belong = "Home Mobile"},
      {.what = "provider renamed on a network",
       .settings = byStrategy({{"Init/Init_changeHomeSPN_IfMatchedSpecialMCCMNC", QVariantMap{{"00101", "Changed"}}}}),
       .local = "",
       .belong = "Changed"},
      {.what = "both names renamed for a SIM",
       .settings = byStrategy({{"Init/Init_SimHMCCMNCList_NeededChangeSPN", QVariantList{"00101"}},
                               {"Init/Init_ChangeBelongSPN_IfMatchedSpecialMCCMNC", QVariantMap{{"00101", "Belong B"}}},
                               {"Init/Init_ChangeLocalSPN_IfMatchedSpecialMCCMNC", QVariantMap{{"00101", "Local L"}}}}),
       .spn = spnHex(1, "Home Mobile"),
       .local = "Local L",
       .belong = "Belong B"},
      {.what = "test module replaces the identity",
       .settings = byStrategy({{"TestSpn/Test_Spnshow_Flag", true},
                               {"TestSpn/Test_LocalSpn", "Test Local"},
                               {"TestSpn/Test_HomeSpn", "Test Home"},
                               {"TestSpn/Test_CurrentLocalMccMnc", "00101"},
                               {"TestSpn/Test_CurrentHomeMccMnc", "00101"},
                               {"TestSpn/Test_The1and2Field", 1}}),
       .local = "Test Local",
       .belong = "Test Home"},
  };
  for (const Case &c : cases)
    run(c);
}

TEST_F(NameDisplayTest, GeneralWay) {
  const Case cases[] = {
      {.what = "home, condition 0", .local = "", .belong = "Home Mobile"},
      {.what = "home, condition 1", .spn = spnHex(1, "Home Mobile"), .local = "Sim Operator", .belong = "Home Mobile"},
      {.what = "abroad, condition 0",
       .plmn = roaming("Other Net", "208", "10"),
       .local = "Other Net",
       .belong = "Home Mobile"},
      {.what = "abroad, condition 2",
       .spn = spnHex(2, "Home Mobile"),
       .plmn = roaming("Other Net", "208", "10"),
       .local = "Other Net",
       .belong = ""},
      {.what = "friendly network", .plmn = roaming("Friend Net", "001", "02"), .local = "", .belong = "Home Mobile"},
      {.what = "card without a provider name", .spn = "00FFFF", .local = "Sim Operator", .belong = ""},
      {.what = "no provider name, only the belong-to label",
       .settings = {{"Init/OnlyShowBelonetoSPN", true}},
       .spn = "00FFFF",
       .local = "Sim Operator",
       .belong = "Sim Operator"},
      {.what = "only the network", .settings = {{"DisplayOnlyPLMN", true}}, .local = "Sim Operator", .belong = ""},
      {.what = "fixed network name",
       .settings = {{"Init/ShowFixedLocalSPN", true}},
       .local = "Fixed Name",
       .belong = ""},
      {.what = "network not found", .plmn = roaming("Not Found", "208", "10"), .local = "", .belong = ""},
      {.what = "national roaming name",
       .settings = {{"Init/DisplayBelongToSPNWhenNationalRoam", true}},
       .plmn =
           [] {
             Plmn p = roaming("National", "001", "03");
             p.nationalName = "Home Partner";
             return p;
           }(),
       .local = "Home Partner",
       .belong = "Home Mobile"},
      // The home network of a three-digit MNC is recognised as home: both the serving text and
      // the membership keep all three digits.
      {.what = "three-digit MNC at home",
       .spn = spnHex(0, "Tee"),
       .plmn = threeDigit("T Net", "260", "ROAM_OFF"),
       .imsi = kImsi3,
       .local = "",
       .belong = "Tee"},
      {.what = "three-digit MNC on a friendly network",
       .spn = spnHex(0, "Tee"),
       .plmn = threeDigit("Partner", "410", "ROAM_ON"),
       .imsi = kImsi3,
       .spdi = kSpdiFriend3,
       .local = "",
       .belong = "Tee"},
      {.what = "three-digit MNC elsewhere",
       .spn = spnHex(0, "Tee"),
       .plmn = threeDigit("Stranger", "026", "ROAM_ON"),
       .imsi = kImsi3,
       .local = "Stranger",
       .belong = "Tee"},
  };
  for (const Case &c : cases)
    run(c);
}

} // namespace
