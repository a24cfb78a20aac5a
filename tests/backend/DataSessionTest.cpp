// The simulated modem's data session in process: the PPP walk, the NDIS pushes, the PS attach.
#include "DataSession.h"
#include "DataSessionLayout.h"
#include "DialParamsLayout.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
using namespace DataSessionLayout;

class SimulatedDataSession : public ::testing::Test {
protected:
  QList<UIMsg> out;
  std::unique_ptr<SimulatedModem> modem;

  void start(const QVariantMap &data) {
    QVariantMap scenario{{"SIM", QVariantMap{{"State", "Ready"}}}, {"Data", data}};
    modem = std::make_unique<SimulatedModem>(scenario);
    QObject::connect(modem.get(), &Modem::packageOut, [this](const UIMsg &m) { out << m; });
    modem->programAppeared();
  }
  void request(int major, int minor, const QByteArray &data = {}) {
    modem->handle(SimulatedModem::makePackage(uint16_t(major), uint16_t(minor), 0, 0, data, kModule));
  }
  void dialParams(const QString &apn, const QString &user = {}, const QString &password = {}) {
    QByteArray record(DialParamsLayout::kRecordSize, '\0');
    const auto put = [&record](DialParamsLayout::TextField f, const QString &text) {
      const QByteArray b = text.toUtf8();
      record.replace(f.offset, b.size(), b);
    };
    put(DialParamsLayout::kApnName, apn);
    put(DialParamsLayout::kAccountName, user);
    put(DialParamsLayout::kPassword, password);
    request(DialParamsLayout::kMajor, DialParamsLayout::kMinor, record);
  }
  // The PPP state a 258/68 poll answers now.
  Status poll() {
    out.clear();
    request(kDialMajor, kDialStatus);
    Status s;
    for (const UIMsg &m : out)
      if (m.majorId == kDialMajor && m.minorId == kDialStatus)
        (m.dataLength == kPppStatusSize ? readPppStatus : readOldPppStatus)(m.payload(), &s);
    return s;
  }
  // Every PPP state polled until `last` shows up (each state once).
  QList<int> walkUntil(int last) {
    QList<int> seen;
    testsupport::waitUntil([&] {
      const int state = poll().pppState;
      if (seen.isEmpty() || seen.last() != state)
        seen << state;
      return state == last;
    });
    return seen;
  }
  QList<quint32> ndisStates() const {
    QList<quint32> states;
    for (const UIMsg &m : out)
      if (m.majorId == kDialMajor && m.minorId == kNdisState)
        states << Payload::u32At(m, 0);
    return states;
  }
  DataSession &session() { return *DataSession::of(*modem); }
};

TEST_F(SimulatedDataSession, DialUpWalksThePppStatesInBothLayouts) {
  for (const bool newDial : {false, true}) {
    SCOPED_TRACE(newDial);
    start({{"StepMs", 20}, {"NewDial", newDial}, {"UpRate", 1000}, {"DownRate", 4000}});
    dialParams("internet");
    request(kDialMajor, kDialConnect);
    EXPECT_EQ(walkUntil(kPppConnected), QList<int>({1, 2, 4, 5, 7, 8}));
    EXPECT_EQ(session().state(), "connected");
    EXPECT_EQ(session().apn(), "internet");
    ASSERT_TRUE(testsupport::waitUntil([&] { return poll().received > 0; }));
    const Status s = poll();
    EXPECT_EQ(s.address, newDial ? QStringLiteral("10.64.1.23") : QString());
    EXPECT_GT(s.sent, 0);
    request(kDialMajor, kDialPppOption);
    EXPECT_EQ(addressFromU32(Payload::u32At(out.last(), 0)), "10.64.1.23");
    request(kDialMajor, kDialDisconnect);
    EXPECT_EQ(walkUntil(kPppDisconnected), QList<int>({9, 10, 0}));
    EXPECT_EQ(session().state(), "idle");
  }
}

TEST_F(SimulatedDataSession, OutcomesByApnAndAccount) {
  start({{"StepMs", 10},
         {"Outcomes", QVariantMap{{"bad", "fail"}, {"secure", "account"}}},
         {"Accounts", QVariantMap{{"secure", QVariantMap{{"User", "u"}, {"Password", "p"}}}}}});
  struct Case {
    QString apn, user, password;
    int last;
  } cases[] = {{"bad", "", "", 0}, {"secure", "u", "wrong", 0}, {"secure", "u", "p", 8}, {"other", "", "", 8}};
  for (const Case &c : cases) {
    SCOPED_TRACE((c.apn + c.password).toStdString());
    dialParams(c.apn, c.user, c.password);
    request(kDialMajor, kDialConnect);
    const QList<int> seen = walkUntil(c.last);
    EXPECT_EQ(seen.last(), c.last);
    EXPECT_EQ(seen.contains(kPppNegotiatingNetwork), c.last == 8);
    session().drop();
  }
}

TEST_F(SimulatedDataSession, NdisPushesItsStatesAndTransferRecords) {
  start({{"StepMs", 10}});
  dialParams("internet");
  request(kDialMajor, kNdisConnect);
  ASSERT_TRUE(testsupport::waitUntil([&] { return ndisStates() == QList<quint32>({2, 1}); }));
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return std::any_of(out.begin(), out.end(), [](const UIMsg &m) { return m.minorId == kNdisTransfer; }); }));
  Status s;
  for (const UIMsg &m : out) {
    if (m.minorId == kNdisTransfer) {
      ASSERT_TRUE(readNdisTransfer(m.payload(), &s));
    }
  }
  EXPECT_EQ(s.address, "10.64.1.23");
  // Limit tests jump the counters instead of waiting for the rates.
  ASSERT_TRUE(session().setCounters(1000000, 3000000));
  EXPECT_GE(session().sent(), 1000000u);
  EXPECT_GE(session().received(), 3000000u);
  EXPECT_LT(session().received(), 3100000u);
  out.clear();
  request(kDialMajor, kNdisIsConnected);
  ASSERT_EQ(out.size(), 1);
  EXPECT_EQ(out.first().result, 0);
  out.clear();
  session().drop();
  EXPECT_EQ(ndisStates(), QList<quint32>({0}));
  EXPECT_FALSE(session().setCounters(1, 1)) << "no link, nothing to jump";
  request(kDialMajor, kNdisIsConnected);
  EXPECT_NE(out.last().result, 0);

  session().setOutcome("internet", "fail");
  out.clear();
  request(kDialMajor, kNdisConnect);
  ASSERT_TRUE(testsupport::waitUntil([&] { return ndisStates() == QList<quint32>({2, 3}); }));
}

TEST_F(SimulatedDataSession, AttachNeedsThePsDomainAndLostRegistrationDropsTheLink) {
  start({{"StepMs", 10}});
  request(kDialMajor, kSetNetworkMode, Payload::u32(2) + Payload::u32(2));
  EXPECT_EQ(out.last().minorId, kSetNetworkModeResult);
  EXPECT_EQ(out.last().result, 0);
  dialParams("internet");
  request(kDialMajor, kNdisConnect);
  ASSERT_TRUE(testsupport::waitUntil([&] { return session().state() == "connected"; }));
  out.clear();
  const_cast<QVariantMap &>(modem->scenario()).insert("Network", QVariantMap{{"Domain", "CS_ONLY"}});
  ASSERT_TRUE(testsupport::waitUntil([&] { return ndisStates() == QList<quint32>({0}); }));
  request(kDialMajor, kSetNetworkMode, Payload::u32(2) + Payload::u32(2));
  EXPECT_NE(out.last().result, 0);
}

TEST_F(SimulatedDataSession, FrequencyLockIsKept) {
  start({});
  request(kConfigMajor, kSetFreqLock, Payload::u32(1) + Payload::u32(3));
  request(kConfigMajor, kReadFreqLock);
  EXPECT_EQ(out.last().minorId, kFreqLockResult);
  EXPECT_EQ(Payload::u32At(out.last(), 0), 3u);
}

} // namespace
