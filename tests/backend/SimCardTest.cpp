#include "SimCard.h"

#include <gtest/gtest.h>

namespace {

SimCard card(const QString &state) {
  return SimCard::fromScenario({{"State", state}, {"PIN", "1234"}, {"PUK", "12345678"}});
}

TEST(SimCard, ThreeWrongPinsBlockAndARightPukUnblocksWithTheNewPin) {
  SimCard sim = card("PIN");
  EXPECT_FALSE(sim.verifyPin("0000"));
  EXPECT_EQ(sim.pinTries(), 2);
  EXPECT_FALSE(sim.verifyPin("0000"));
  EXPECT_FALSE(sim.verifyPin("0000"));
  EXPECT_EQ(sim.state(), SimCard::State::PukRequired);
  EXPECT_FALSE(sim.verifyPin("1234")) << "a blocked card takes no PIN";
  EXPECT_FALSE(sim.unblock("00000000", "4321"));
  EXPECT_EQ(sim.pukTries(), 9);
  EXPECT_TRUE(sim.unblock("12345678", "4321"));
  EXPECT_EQ(sim.state(), SimCard::State::Ready);
  EXPECT_EQ(sim.pinTries(), 3);
  EXPECT_EQ(sim.pukTries(), 10);
  sim.powerCycle();
  EXPECT_EQ(sim.state(), SimCard::State::PinRequired);
  EXPECT_TRUE(sim.verifyPin("4321"));
}

TEST(SimCard, RightPinRestoresTheTries) {
  SimCard sim = card("PIN");
  sim.verifyPin("9999");
  EXPECT_TRUE(sim.verifyPin("1234"));
  EXPECT_EQ(sim.pinTries(), 3);
}

TEST(SimCard, ScenarioStatesAndLimits) {
  EXPECT_EQ(card("Ready").state(), SimCard::State::Ready);
  EXPECT_EQ(card("Absent").state(), SimCard::State::Absent);
  EXPECT_EQ(card("Invalid").state(), SimCard::State::Invalid);
  EXPECT_EQ(card("PUK").pinTries(), 0);
  EXPECT_EQ(SimCard::fromScenario({{"State", "PIN"}, {"PinTries", 99}}).pinTries(), 3);
  EXPECT_EQ(SimCard::fromScenario({{"State", "PIN"}, {"PinTries", -4}}).pinTries(), 0);
}

TEST(SimCard, LockOnAndOffNeedsTheRightPin) {
  SimCard sim = card("Ready");
  EXPECT_FALSE(sim.setPinLock("1111", true));
  EXPECT_FALSE(sim.pinLockEnabled());
  EXPECT_EQ(sim.pinTries(), 2);
  EXPECT_TRUE(sim.setPinLock("1234", true));
  EXPECT_TRUE(sim.pinLockEnabled());
  EXPECT_TRUE(sim.changePin("1234", "5678"));
  EXPECT_TRUE(sim.setPinLock("5678", false));
}

} // namespace
