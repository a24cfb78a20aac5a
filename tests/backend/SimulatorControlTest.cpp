// The simulator's control interface, driven the way a test or a demo would, over the bus.
#include "BusNames.h"
#include "PackageLink.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class SimulatorTest : public ::testing::Test {
protected:
  QString ui = testsupport::uniqueBusName("ui");
  QString be = testsupport::uniqueBusName("be");
  PackageLink program{ui, be};
  QList<UIMsg> got;
  std::unique_ptr<testsupport::BackendProcess> backend;

  void SetUp() override {
    if (!program.open())
      GTEST_SKIP() << "no session bus";
    QObject::connect(&program, &PackageLink::packageReceived, [this](const QByteArray &b) {
      UIMsg m;
      if (UIMsg::decode(b, &m))
        got << m;
    });
    backend = std::make_unique<testsupport::BackendProcess>(ui, be);
    ASSERT_TRUE(backend->start());
  }

  bool waitFor(uint16_t major, uint16_t minor, uint8_t result, int count = 1) {
    return testsupport::waitUntil([&] {
      return std::count_if(got.begin(), got.end(), [&](const UIMsg &m) {
               return m.majorId == major && m.minorId == minor && m.result == result;
             }) >= count;
    });
  }
};

TEST_F(SimulatorTest, GreetsTheProgramThenFollowsPlugAndUnplug) {
  ASSERT_TRUE(waitFor(1, 0, 0));
  ASSERT_TRUE(waitFor(8, 59, 0));
  backend->control("Unplug");
  EXPECT_TRUE(waitFor(8, 59, 0xFF));
  backend->control("Plug");
  EXPECT_TRUE(waitFor(8, 59, 0, 2));
}

TEST_F(SimulatorTest, RecordsWhatItReceivesUntilReset) {
  UIMsg m = SimulatedModem::makePackage(258, 66, 1, 0, "dial", 2);
  ASSERT_EQ(program.sendBlocking(m.encode()), PackageLink::NoError);
  auto count = [&] { return backend->received().size(); };
  EXPECT_EQ(count(), 1);
  backend->control("Reset");
  EXPECT_EQ(count(), 0);
}

TEST_F(SimulatorTest, PinScenarioAsksForTheCodeAndCountsDownWrongOnes) {
  ASSERT_TRUE(backend->control("SetSim", {"sim-pin"}).value(0).toBool());
  ASSERT_TRUE(waitFor(4, 8, 0)); // tries
  got.clear();
  auto sendPin = [&](const char *pin) {
    UIMsg m = SimulatedModem::makePackage(4, 10, 1, 0, Payload::field(pin, 10), 1);
    ASSERT_EQ(program.sendBlocking(m.encode()), PackageLink::NoError);
  };
  sendPin("0000");
  ASSERT_TRUE(waitFor(4, 8, 0));
  const UIMsg tries = *std::find_if(got.begin(), got.end(), [](const UIMsg &m) { return m.minorId == 8; });
  EXPECT_EQ(Payload::u32At(tries, 0), 2u);
  EXPECT_EQ(Payload::u32At(tries, 4), 10u);
  EXPECT_TRUE(waitFor(4, 10, 0xFF));
  sendPin("1234");
  EXPECT_TRUE(waitFor(4, 9, 0)); // PIN status: the SIM is ready
  const QVariantList state = backend->control("SimState");
  EXPECT_EQ(state.value(0).toString(), "Ready");
}

TEST_F(SimulatorTest, NoSimAndInvalidCardAreReported) {
  ASSERT_TRUE(backend->control("SetSim", {"no-sim"}).value(0).toBool());
  ASSERT_TRUE(waitFor(6, 33, 0xFF));
  ASSERT_TRUE(backend->control("SetSim", {"invalid-card"}).value(0).toBool());
  ASSERT_TRUE(waitFor(4, 20, 0));
  EXPECT_FALSE(backend->control("SetSim", {"no-such-scenario"}).value(0).toBool());
}

} // namespace
