// The simulated modem's identity packages over the bus, read back by the program's handlers.
#include "IdentityFixture.h"
#include "NetworkIdentity.h"
#include "PackageLink.h"
#include "SimFiles.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

namespace {
using namespace identitytest;

QVariantMap threeDigitScenario() {
  return {
      {"DevicePlugged", true},
      {"SIM", QVariantMap{{"State", "Ready"},
                          {"IMSI", "310260123456789"},
                          {"MNCLength", 3},
                          {"ICCID", "89014103211118510720"},
                          {"SPN", "Tee Mobile"},
                          {"SPNDisplayCondition", 1},
                          {"SPDI", QVariantList{"310410", "00102"}}}},
      {"Network", QVariantMap{{"OperatorShortName", "T Net"},
                              {"OperatorLongName", "T Network Long"},
                              {"MCC", "310"},
                              {"MNC", "260"},
                              {"Roaming", false}}},
  };
}

class IdentityBackendTest : public IdentityFixture {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  std::unique_ptr<PackageLink> program;
  QList<UIMsg> got;
  std::unique_ptr<testsupport::BackendProcess> backend;

  void start(const QVariantMap &scenario) {
    program = std::make_unique<PackageLink>(ui, be);
    if (!program->open())
      GTEST_SKIP() << "no session bus";
    QObject::connect(program.get(), &PackageLink::packageReceived, [this](const QByteArray &b) {
      UIMsg m;
      if (UIMsg::decode(b, &m))
        got << m;
    });
    const QString path = testsupport::writePlist(dir.filePath("scenario.plist"), scenario);
    backend = std::make_unique<testsupport::BackendProcess>(ui, be, path);
    ASSERT_TRUE(backend->start());
  }

  QList<UIMsg> identity(uint16_t minor) const {
    QList<UIMsg> out;
    for (const UIMsg &m : got)
      if (m.majorId == 7 && m.minorId == minor)
        out << m;
    return out;
  }
  bool waitFor(uint16_t minor, int count = 1) {
    return testsupport::waitUntil([&] { return identity(minor).size() >= count; });
  }
};

TEST_F(IdentityBackendTest, ReadyCardBringsItsFilesThenTheNetworkWithTheirLayouts) {
  start(threeDigitScenario());
  if (HasFatalFailure() || IsSkipped())
    return;
  ASSERT_TRUE(waitFor(38, 2));

  // The name-only report comes first, then the full one.
  const QList<UIMsg> plmn = identity(38);
  const UIMsg &full = plmn.at(1);
  const auto text = [](const UIMsg &m, int offset) {
    return QString::fromLatin1(reinterpret_cast<const char *>(m.data.data()) + offset);
  };
  EXPECT_EQ(plmn.at(0).data[320], 0);
  EXPECT_EQ(text(plmn.at(0), 0), "T Network Long");
  EXPECT_EQ(full.dataLength, 324);
  EXPECT_EQ(full.moduleId, 1);
  EXPECT_EQ(text(full, 0), "T Net");
  EXPECT_EQ(text(full, 136), "310");
  EXPECT_EQ(text(full, 172), "260");
  EXPECT_EQ(text(full, 208), "ROAM_OFF");
  EXPECT_EQ(text(full, 244), "310");
  EXPECT_EQ(text(full, 280), "260");
  EXPECT_EQ(full.data[320], 1);
  EXPECT_EQ(full.tail[2], '1');

  // The SIM files are hexadecimal text and arrive before the network report.
  ASSERT_EQ(identity(41).size(), 1);
  const QByteArray spnText = SimHexCursor::fieldText(identity(41).at(0), 0, 512);
  EXPECT_EQ(spnText.size(), 34); // the 17 bytes of the file
  const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(spnText);
  EXPECT_EQ(spn.displayCondition, 1);
  EXPECT_EQ(spn.name, "Tee Mobile");
  QStringList friendly;
  ASSERT_EQ(identity(40).size(), 1);
  EXPECT_TRUE(SimFiles::parseEF_SPDI(SimHexCursor::fieldText(identity(40).at(0), 0, 512), &friendly));
  EXPECT_EQ(friendly, QStringList({"310410", "00102"}));
  ASSERT_EQ(identity(42).size(), 1);
  EXPECT_EQ(SimFiles::decodeICCID(SimHexCursor::fieldText(identity(42).at(0), 0, 512)), "89014103211118510720");

  // What the controller makes of them.
  setSettings({{"Init/Init_ShowSpnByNewMethod", true}});
  service.setImsi("310260123456789");
  service.setNetworkMode(3);
  for (const UIMsg &m : std::as_const(got)) {
    if (m.majorId != 7)
      continue;
    switch (m.minorId) {
    case 38:
      handlers->dealWithMsgOfCheckPLMN(m);
      break;
    case 40:
      handlers->dealWithMsgOfCheckSPDI(m);
      break;
    case 41:
      handlers->dealWithMsgOfCheckSPN(m);
      break;
    case 42:
      handlers->dealWithMsgOfCheckICCID(m);
      break;
    }
  }
  EXPECT_EQ(handlers->mccmnc(), "310260");
  EXPECT_EQ(handlers->iccid(), "89014103211118510720");
  EXPECT_EQ(sink.local, "T Net");
  EXPECT_EQ(sink.belong, "Tee Mobile");
}

TEST_F(IdentityBackendTest, AnswersRequestsAndFollowsASimChange) {
  start(threeDigitScenario());
  if (HasFatalFailure() || IsSkipped())
    return;
  ASSERT_TRUE(waitFor(38, 2));
  got.clear();
  UIMsg ask = SimulatedModem::makePackage(7, 41, 0, 0, {}, 1);
  ASSERT_EQ(program->sendBlocking(ask.encode()), PackageLink::NoError);
  ASSERT_TRUE(waitFor(41));
  EXPECT_EQ(SimFiles::parseEF_SPN(SimHexCursor::fieldText(identity(41).at(0), 0, 512)).name, "Tee Mobile");

  // A card whose name needs UCS-2, and no friendly networks.
  QVariantMap other = threeDigitScenario();
  other.insert("SIM", QVariantMap{{"State", "Ready"},
                                  {"IMSI", "460001234567890"},
                                  {"ICCID", "8986001"},
                                  {"SPN", QString::fromUtf8("\xE4\xB8\xAD\xE5\x9B\xBD")}});
  const QString path = testsupport::writePlist(dir.filePath("other.plist"), other);
  got.clear();
  ASSERT_TRUE(backend->control("SetSim", {path}).value(0).toBool());
  ASSERT_TRUE(waitFor(38, 2));
  const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(SimHexCursor::fieldText(identity(41).at(0), 0, 512));
  EXPECT_EQ(spn.name, QString::fromUtf8("\xE4\xB8\xAD\xE5\x9B\xBD"));
  QStringList friendly{"kept"};
  EXPECT_TRUE(SimFiles::parseEF_SPDI(SimHexCursor::fieldText(identity(40).at(0), 0, 512), &friendly));
  EXPECT_TRUE(friendly.isEmpty());
  // An odd number of digits is padded with a filler, which the program shows as it is.
  EXPECT_EQ(SimFiles::decodeICCID(SimHexCursor::fieldText(identity(42).at(0), 0, 512)), QString("8986001F"));
  const PlmnReport r = PlmnReport::fromMsg(identity(38).at(1));
  EXPECT_EQ(r.homeMcc, "460");
  EXPECT_EQ(r.homeMnc, "00");
}

TEST(NetworkIdentityFilesTest, FilesRoundTripThroughTheReaders) {
  struct Case {
    QString name;
    int cond;
  };
  for (const Case &c : {Case{"Home Mobile", 0}, Case{"A", 3}, Case{"", 1}, Case{"Sixteen chars!!!+", 2}}) {
    const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(NetworkIdentity::spnFileHex(c.name, c.cond));
    EXPECT_EQ(spn.name, c.name.left(16)) << c.name.toStdString();
    EXPECT_EQ(spn.displayCondition, c.cond);
  }
  QStringList list;
  ASSERT_TRUE(SimFiles::parseEF_SPDI(NetworkIdentity::spdiFileHex({"46000", "310260", "bad"}), &list));
  EXPECT_EQ(list, QStringList({"46000", "310260"}));
  EXPECT_EQ(SimFiles::decodeICCID(NetworkIdentity::iccidFileHex("89441000000000000011")), "89441000000000000011");
}

} // namespace
