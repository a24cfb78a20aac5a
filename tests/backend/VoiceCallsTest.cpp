// The simulated modem's calls in process: what it answers to each call request and pushes.
#include "VoiceCalls.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class SimulatedCalls : public ::testing::Test {
protected:
  QList<UIMsg> out;
  std::unique_ptr<SimulatedModem> modem;

  void start(const QVariantMap &voice, const QString &simState = QStringLiteral("Ready")) {
    QVariantMap scenario{{"SIM", QVariantMap{{"State", simState}, {"PIN", "1234"}, {"PUK", "12345678"}}},
                         {"Voice", voice}};
    out.clear();
    modem = std::make_unique<SimulatedModem>(scenario);
    QObject::connect(modem.get(), &Modem::packageOut, [this](const UIMsg &m) { out << m; });
    modem->programAppeared();
    testsupport::waitUntil([this] { return codes(2305, 0).size() == 1; }, 2000);
  }
  void request(uint16_t minor, const QByteArray &data = {}) {
    modem->handle(SimulatedModem::makePackage(2307, minor, 0, 0, data, 9));
  }
  void dial(const char *number) { request(150, Payload::field(QString::fromLatin1(number), 100)); }
  void chld(quint32 v) { request(163, Payload::u32(v)); }
  QList<int> codes(uint16_t major, uint16_t minor) const {
    QList<int> c;
    for (const UIMsg &m : out)
      if (m.majorId == major && m.minorId == minor)
        c << (major == 2306 && minor == 147 ? int(Payload::u32At(m, 0)) : m.result);
    return c;
  }
  QList<int> stages() const { return codes(2306, 147); }
  VoiceCalls &calls() const { return *VoiceCalls::of(*modem); }
};

TEST_F(SimulatedCalls, TheDeviceReportsVoiceAndItsEmergencyNumbersWhenItComesUp) {
  start({{"EmergencyNumbers", QVariantList{"110", "112"}}});
  EXPECT_EQ(codes(2305, 0), QList<int>({1}));
  ASSERT_EQ(codes(2308, 145).size(), 1);
  for (const UIMsg &m : out) {
    if (m.majorId == 2308) {
      EXPECT_EQ(Payload::text(m, 36, 36), QStringLiteral("112"));
    }
  }
  out.clear();
  calls().setVoiceAvailable(false);
  EXPECT_EQ(codes(2305, 0), QList<int>({0}));
}

TEST_F(SimulatedCalls, DialsFailForBusyNumbersNoVoiceOrNoSimUnlessEmergency) {
  start({{"BusyNumbers", QVariantList{"5550666"}}, {"AnswerAfterMs", -1}});
  dial("5550666");
  EXPECT_EQ(stages(), QList<int>({8}));
  dial("5550100");
  EXPECT_EQ(stages(), QList<int>({8, 1}));
  ASSERT_EQ(calls().callers().size(), 1);
  EXPECT_EQ(calls().callers().first().state, VoiceCalls::kAlerting);

  start({{"AnswerAfterMs", -1}}, QStringLiteral("Absent"));
  dial("5550100");
  dial("112");
  EXPECT_EQ(stages(), QList<int>({8, 1}));
}

TEST_F(SimulatedCalls, TheFarEndAnswersAfterTheScenariosDelay) {
  start({{"AnswerAfterMs", 10}});
  dial("5550100");
  ASSERT_TRUE(testsupport::waitUntil([this] { return stages() == QList<int>({1, 5}); }, 2000));
  EXPECT_EQ(calls().callers().first().state, VoiceCalls::kActive);
  request(153, "5");
  request(153, "#");
  EXPECT_EQ(calls().dtmf(), QStringLiteral("5#"));
  request(151);
  EXPECT_EQ(stages(), QList<int>({1, 5, 6}));
  EXPECT_TRUE(calls().callers().isEmpty());
}

TEST_F(SimulatedCalls, RingingCallsRepeatTheRingAndEndWithCodeSeven) {
  start({});
  ASSERT_TRUE(calls().ring(QStringLiteral("5550200")));
  ASSERT_TRUE(testsupport::waitUntil([this] { return codes(2306, 148).size() >= 1; }, 3000));
  request(152);
  EXPECT_EQ(stages(), QList<int>({5}));
  ASSERT_TRUE(calls().ring(QStringLiteral("5550300"))); // during a call: waiting
  EXPECT_EQ(codes(2306, 149).size(), 1);
  EXPECT_TRUE(calls().remoteHangup(2));
  EXPECT_EQ(stages(), QList<int>({5, 7}));
  EXPECT_TRUE(calls().remoteHangup(0));
  EXPECT_EQ(stages(), QList<int>({5, 7, 6}));
  EXPECT_FALSE(calls().remoteHangup(0));
}

TEST_F(SimulatedCalls, CallHoldServicesWorkOnTheCallers) {
  start({{"AnswerAfterMs", -1}});
  dial("5551");
  calls().remoteAnswer();
  calls().ring(QStringLiteral("5552")); // waiting
  chld(2);                              // hold 1, accept 2
  auto states = [this] {
    QList<int> s;
    for (const VoiceCalls::Caller &c : calls().callers())
      s << c.state;
    return s;
  };
  EXPECT_EQ(states(), QList<int>({VoiceCalls::kHeld, VoiceCalls::kActive}));
  chld(2); // swap
  EXPECT_EQ(states(), QList<int>({VoiceCalls::kActive, VoiceCalls::kHeld}));
  chld(3); // join
  EXPECT_EQ(states(), QList<int>({VoiceCalls::kActive, VoiceCalls::kActive}));
  chld(12); // release caller 2
  EXPECT_EQ(states(), QList<int>({VoiceCalls::kActive}));
  calls().ring(QStringLiteral("5553"));
  chld(0); // reject the waiting call
  EXPECT_EQ(calls().callers().size(), 1);
  chld(1); // release the active call; nobody is left
  EXPECT_TRUE(calls().callers().isEmpty());
  EXPECT_EQ(codes(2307, 167).size(), 6);
  EXPECT_EQ(stages().last(), 6);
  // The caller list has its fixed size.
  out.clear();
  request(164);
  ASSERT_EQ(codes(2307, 166).size(), 1);
  EXPECT_EQ(out.first().dataLength, VoiceCalls::kListSize);
}

TEST_F(SimulatedCalls, UnpluggingEndsEveryCall) {
  start({{"AnswerAfterMs", -1}});
  dial("5551");
  modem->unplug();
  EXPECT_TRUE(calls().callers().isEmpty());
  EXPECT_FALSE(calls().ring(QStringLiteral("5552")));
}

} // namespace
