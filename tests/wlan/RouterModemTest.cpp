// The simulated router in process: what it answers and keeps.
#include "Plist.h"
#include "Router.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

class RouterModem : public ::testing::Test {
protected:
  std::unique_ptr<SimulatedModem> modem;
  QList<UIMsg> out;

  void start(bool withRouter = true) {
    QVariantMap scenario;
    ASSERT_TRUE(Plist::readDictionary(
        testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/router.plist"), &scenario));
    if (!withRouter)
      scenario.remove(QStringLiteral("Router"));
    modem = std::make_unique<SimulatedModem>(scenario);
    QObject::connect(modem.get(), &Modem::packageOut, [this](const UIMsg &m) { out.append(m); });
  }
  Router *router() { return Router::of(*modem); }

  UIMsg set(uint16_t minor, const QByteArray &data) {
    UIMsg m;
    m.moduleId = WLANMsg::kModule;
    m.majorId = WLANMsg::kSetMajor;
    m.minorId = minor;
    m.setPayload(data);
    out.clear();
    modem->handle(m);
    EXPECT_FALSE(out.isEmpty());
    return out.isEmpty() ? UIMsg() : out.first();
  }
  IPFilterRuleRecord rule(quint32 oper, quint32 index = 0) {
    IPFilterRuleRecord r;
    r.if_oper = oper;
    r.if_index = index;
    r.if_protocol = 1;
    r.if_name = QStringLiteral("r");
    r.if_dest_ip = r.if_source_ip = QStringLiteral("0.0.0.0");
    r.if_mac_address = QString::fromLatin1(WLANMsg::kEmptyMac);
    return r;
  }
};

TEST_F(RouterModem, AppliesAreCheckedKeptAndReadBack) {
  start();
  ASSERT_TRUE(router()->hasRouter());
  UIMsg reply = set(WLANMsg::kSetBasic, WLANBasicRecord{1, QStringLiteral("New"), 3, 0, 11}.encode());
  EXPECT_EQ(reply.result, 0);
  ASSERT_EQ(out.size(), 2);
  EXPECT_EQ(out[1].minorId, WLANMsg::kReadBasic);
  EXPECT_EQ(WLANBasicRecord::decode(out[1].payload())->ssid, QStringLiteral("New"));
  EXPECT_EQ(out[1].moduleId, WLANMsg::kModule);

  struct Bad {
    const char *what;
    uint16_t minor;
    QByteArray data;
  };
  const Bad bad[] = {
      {"mode 3", WLANMsg::kSetBasic, WLANBasicRecord{3, "x", 1, 0, 0}.encode()},
      {"rate 7", WLANMsg::kSetBasic, WLANBasicRecord{0, "x", 1, 0, 7}.encode()},
      {"short", WLANMsg::kSetBasic, QByteArray(10, '\0')},
      {"six stations", WLANMsg::kSetSecurity, WLANSecurityRecord{2, 6}.encode()},
      {"cipher 3", WLANMsg::kSetWPA, WPAKeyRecord{0, 3, "12345678"}.encode()},
      {"policy 2", WLANMsg::kSetFilterSwitch, FilterSwitchRecord{1, 2}.encode()},
      {"protocol 6", WLANMsg::kSetFilterRule,
       [this] {
         auto r = rule(kRuleAdd);
         r.if_protocol = 6;
         return r.encode();
       }()},
      {"unknown index", WLANMsg::kSetFilterRule, rule(kRuleDelete, 999).encode()},
      {"virtual ICMP", WLANMsg::kSetVirtualRule, VirtualServerRuleRecord{0, 0, "1.2.3.4", 1, 2, 4, "x"}.encode()},
      {"lease 0", WLANMsg::kSetDHCP, DHCPRecord{"192.168.1.1", "255.255.255.0", 1, 0, "a", "b"}.encode()},
  };
  for (const Bad &b : bad) {
    reply = set(b.minor, b.data);
    EXPECT_EQ(reply.result, UIMsg::kResultFailure) << b.what;
    EXPECT_EQ(out.size(), 1) << b.what << ": nothing read back";
  }
  EXPECT_EQ(router()->state().value("Basic").toMap().value("SSID").toString(), QStringLiteral("New"));
}

TEST_F(RouterModem, RuleListsHoldTenAndFactoryResetRestoresTheScenario) {
  start();
  for (int i = 1; i < 10; ++i)
    EXPECT_EQ(set(WLANMsg::kSetFilterRule, rule(kRuleAdd).encode()).result, 0) << i;
  EXPECT_EQ(set(WLANMsg::kSetFilterRule, rule(kRuleAdd).encode()).result, UIMsg::kResultFailure) << "an eleventh";
  UIMsg read;
  read.majorId = WLANMsg::kReadMajor;
  read.minorId = WLANMsg::kReadFilterList;
  read.setPayload(ListReadRequest::encode());
  out.clear();
  modem->handle(read);
  ASSERT_EQ(out.size(), 1);
  const IPFilterListReply list = IPFilterListReply::decode(out[0].payload());
  ASSERT_EQ(list.entries.size(), 10);
  QSet<quint32> indexes;
  for (const auto &e : list.entries)
    indexes.insert(e.index);
  EXPECT_EQ(indexes.size(), 10) << "indexes are the router's own and unique";

  router()->failNext(1);
  EXPECT_EQ(set(WLANMsg::kSetFilterRule, rule(kRuleDelete, list.entries[0].index).encode()).result,
            UIMsg::kResultFailure);
  EXPECT_EQ(set(WLANMsg::kSetFilterRule, rule(kRuleDelete, list.entries[0].index).encode()).result, 0);

  set(WLANMsg::kRestoreFactory, restoreFactoryPayload());
  EXPECT_EQ(out.size(), 1 + 12) << "the answer, then every read";
  EXPECT_EQ(router()->state().value("IPFilter").toMap().value("Rules").toList().size(), 1);
}

TEST_F(RouterModem, WithoutARouterEverythingFails) {
  start(false);
  EXPECT_FALSE(router()->hasRouter());
  EXPECT_FALSE(router()->pushReads());
  EXPECT_TRUE(router()->state().isEmpty());
  EXPECT_EQ(set(WLANMsg::kSetBasic, WLANBasicRecord{}.encode()).result, UIMsg::kResultFailure);
}
