// The simulated modem's USSD service: answers, scripted replies and network-initiated pushes.
#include "SimServices.h"
#include "SimulatedModem.h"
#include "TestSupport.h"
#include "UssdRecord.h"

#include <gtest/gtest.h>

namespace {

class SimulatedUssd : public ::testing::Test {
protected:
  QList<UIMsg> out;
  std::unique_ptr<SimulatedModem> modem;

  void start(const QString &simState = QStringLiteral("Ready")) {
    const QVariantMap replies{{"*100#", QVariantMap{{"Text", "Balance 5.00"}, {"DCS", 15}, {"Interaction", 2}}},
                              {"*101#", QVariantMap{{"Text", "Ünïcode"}, {"DCS", 0x48}}}};
    QVariantMap scenario{{"SIM", QVariantMap{{"State", simState}, {"PIN", "1234"}, {"PUK", "12345678"}}},
                         {"USSD", QVariantMap{{"Replies", replies}}}};
    out.clear();
    modem = std::make_unique<SimulatedModem>(scenario);
    QObject::connect(modem.get(), &Modem::packageOut, [this](const UIMsg &m) { out << m; });
    modem->programAppeared();
    if (simState == QStringLiteral("Ready"))
      testsupport::waitUntil([this] { return SimServices::of(*modem)->simReady(); }, 2000);
    out.clear();
  }
  void request(const QString &text, bool gsm7) {
    modem->handle(SimulatedModem::makePackage(1792, 139, 0, 0, UssdRecord::requestData(1, 15, text, gsm7), 7));
  }
  QList<UIMsg> of(uint16_t minor) const {
    QList<UIMsg> r;
    for (const UIMsg &m : out)
      if (m.majorId == 1792 && m.minorId == minor)
        r << m;
    return r;
  }
};

TEST_F(SimulatedUssd, ScriptedReplyRoundTripsThroughTheProgramsCodec) {
  start();
  for (bool gsm7 : {true, false}) {
    out.clear();
    request(QStringLiteral("*100#"), gsm7);
    ASSERT_EQ(of(139).size(), 1);
    EXPECT_EQ(of(139).at(0).result, 0);
    ASSERT_EQ(of(140).size(), 1) << gsm7;
    const UssdRecord::Reply r = UssdRecord::decodeReply(of(140).at(0).payload(), true);
    EXPECT_EQ(r.text, QStringLiteral("Balance 5.00"));
    EXPECT_EQ(r.interaction, 2);
  }
  out.clear();
  request(QStringLiteral("*101#"), true);
  ASSERT_EQ(of(140).size(), 1);
  EXPECT_EQ(UssdRecord::decodeReply(of(140).at(0).payload(), true).text, QStringLiteral("Ünïcode"));
  out.clear();
  request(QStringLiteral("*999#"), true);
  EXPECT_EQ(of(139).size(), 1);
  EXPECT_TRUE(of(140).isEmpty());
}

TEST_F(SimulatedUssd, WithoutSimTheRequestFailsAndPushesAreRefused) {
  start(QStringLiteral("Absent"));
  request(QStringLiteral("*100#"), true);
  ASSERT_EQ(of(139).size(), 1);
  EXPECT_EQ(of(139).at(0).result, 0xFF);
  EXPECT_FALSE(SimServices::of(*modem)->ussdPush(QStringLiteral("x"), 15, 0));
  modem->handle(SimulatedModem::makePackage(1792, 139, 0, 0, QByteArray(3, 'x'), 7));
  EXPECT_EQ(of(140).size(), 0);
}

TEST_F(SimulatedUssd, NetworkInitiatedPush) {
  start();
  ASSERT_TRUE(SimServices::of(*modem)->ussdPush(QStringLiteral("Hello"), 15, 1));
  ASSERT_EQ(of(140).size(), 1);
  EXPECT_EQ(UssdRecord::decodeReply(of(140).at(0).payload(), true).text, QStringLiteral("Hello"));
}

} // namespace
