#include "WLANRecords.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
quint32 word(const QByteArray &b, int offset) {
  return qFromLittleEndian<quint32>(b.constData() + offset);
}

// Every byte outside the listed ranges is zero.
void expectZeroOutside(const QByteArray &b, QList<QPair<int, int>> used) {
  for (int i = 0; i < b.size(); ++i) {
    bool inside = false;
    for (const auto &[from, to] : used)
      inside = inside || (i >= from && i < to);
    if (!inside) {
      EXPECT_EQ(b.at(i), '\0') << "byte " << i;
    }
  }
}
} // namespace

TEST(RouterRecords, BasicRecordLaysOutEveryFieldWithZeroPadding) {
  WLANBasicRecord rec{2, QStringLiteral("Home"), 11, 1, 54};
  const QByteArray b = rec.encode();
  ASSERT_EQ(b.size(), 52);
  EXPECT_EQ(word(b, 0), 2u);
  EXPECT_EQ(b.mid(4, 4), QByteArray("Home"));
  EXPECT_EQ(word(b, 40), 11u);
  EXPECT_EQ(word(b, 44), 1u);
  EXPECT_EQ(word(b, 48), 54u);
  expectZeroOutside(b, {{0, 4}, {4, 8}, {40, 52}});
  EXPECT_EQ(WLANBasicRecord::decode(b), rec);
}

TEST(RouterRecords, TextsKeepTheirTerminatorAndNeverSplitACharacter) {
  WLANBasicRecord rec;
  rec.ssid = QString(40, QLatin1Char('x'));
  QByteArray b = rec.encode();
  EXPECT_EQ(b.mid(4, 32), QByteArray(32, 'x'));
  EXPECT_EQ(b.at(36), '\0');
  // 31 ASCII bytes then a two-byte character: the character does not fit and is left out whole.
  rec.ssid = QString(31, QLatin1Char('a')) + QChar(0xE9);
  b = rec.encode();
  EXPECT_EQ(b.at(34), 'a');
  EXPECT_EQ(b.at(35), '\0');
  EXPECT_EQ(WLANBasicRecord::decode(b)->ssid, QString(31, QLatin1Char('a')));
  // Names are UTF-8.
  rec.ssid = QStringLiteral("Café");
  EXPECT_EQ(WLANBasicRecord::decode(rec.encode())->ssid, QStringLiteral("Café"));
}

TEST(RouterRecords, WepRecordWithoutEncryptionIsAllZero) {
  WEPKeyRecord rec;
  rec.shmode = 0;
  rec.wepkeyindex = 3;
  rec.key[0] = QStringLiteral("abcde");
  rec.keyModel[0] = 1;
  EXPECT_EQ(rec.encode(), QByteArray(132, '\0'));

  rec.shmode = 1;
  rec.key[3] = QStringLiteral("0123456789");
  rec.keyModel[3] = 0;
  const QByteArray b = rec.encode();
  ASSERT_EQ(b.size(), 132);
  EXPECT_EQ(word(b, 0), 1u);
  EXPECT_EQ(word(b, 4), 3u);
  EXPECT_EQ(b.mid(8, 6), QByteArray("abcde\0", 6));
  EXPECT_EQ(b.mid(89, 10), QByteArray("0123456789"));
  EXPECT_EQ(word(b, 116), 1u);
  EXPECT_EQ(word(b, 128), 0u);
  EXPECT_EQ(WEPKeyRecord::decode(b), rec);
}

TEST(RouterRecords, WpaRecordCarriesTheAuthenticationOfTheSecurityMode) {
  const std::pair<quint32, quint32> cases[] = {{2, 1}, {3, 2}, {4, 0}, {0, 0}, {1, 0}, {9, 0}};
  for (auto [aumode, expected] : cases)
    EXPECT_EQ(WPAKeyRecord::authenticationOf(aumode), expected) << aumode;
  WPAKeyRecord rec{2, 1, QString(64, QLatin1Char('f'))};
  const QByteArray b = rec.encode();
  ASSERT_EQ(b.size(), 76);
  EXPECT_EQ(word(b, 0), 2u);
  EXPECT_EQ(word(b, 4), 1u);
  EXPECT_EQ(b.mid(8, 64), QByteArray(64, 'f'));
  expectZeroOutside(b, {{0, 8}, {8, 72}});
}

TEST(RouterRecords, FilterSwitchOffSendsNoPolicy) {
  EXPECT_EQ((FilterSwitchRecord{0, 1}.encode()), QByteArray(8, '\0'));
  const QByteArray on = FilterSwitchRecord{1, 1}.encode();
  EXPECT_EQ(word(on, 0), 1u);
  EXPECT_EQ(word(on, 4), 1u);
}

TEST(RouterRecords, RuleRecordsAndTheirDeletes) {
  IPFilterRuleRecord rule;
  rule.if_oper = kRuleChange;
  rule.if_index = 7;
  rule.if_protocol = 3;
  rule.if_action = 1;
  rule.if_name = QStringLiteral("game");
  rule.if_dest_ip = QStringLiteral("10.0.0.2");
  rule.if_source_ip = QStringLiteral("0.0.0.0");
  rule.if_dest_port_b = 100;
  rule.if_dest_port_e = 200;
  rule.if_source_port_b = 1;
  rule.if_source_port_e = 65535;
  rule.if_mac_address = QStringLiteral("0a:22:33:44:55:66");
  QByteArray b = rule.encode();
  ASSERT_EQ(b.size(), 120);
  EXPECT_EQ(word(b, 0), 1u);
  EXPECT_EQ(word(b, 4), 7u);
  EXPECT_EQ(word(b, 8), 3u);
  EXPECT_EQ(word(b, 12), 1u);
  EXPECT_EQ(b.mid(16, 5), QByteArray("game\0", 5));
  EXPECT_EQ(b.mid(49, 8), QByteArray("10.0.0.2"));
  EXPECT_EQ(b.mid(65, 7), QByteArray("0.0.0.0"));
  EXPECT_EQ(word(b, 84), 100u);
  EXPECT_EQ(word(b, 88), 200u);
  EXPECT_EQ(word(b, 92), 1u);
  EXPECT_EQ(word(b, 96), 65535u);
  EXPECT_EQ(b.mid(100, 17), QByteArray("0a:22:33:44:55:66"));
  EXPECT_EQ(b.mid(81, 3), QByteArray(3, '\0'));
  EXPECT_EQ(b.mid(117, 3), QByteArray(3, '\0'));
  EXPECT_EQ(IPFilterRuleRecord::decode(b), rule);

  rule.if_oper = kRuleDelete;
  b = rule.encode();
  EXPECT_EQ(word(b, 0), 2u);
  EXPECT_EQ(word(b, 4), 7u);
  expectZeroOutside(b, {{0, 8}});

  VirtualServerRuleRecord vs{kRuleAdd, 0, QStringLiteral("192.168.1.9"), 80, 8080, 2, QStringLiteral("web")};
  b = vs.encode();
  ASSERT_EQ(b.size(), 72);
  EXPECT_EQ(b.mid(8, 11), QByteArray("192.168.1.9"));
  EXPECT_EQ(word(b, 24), 80u);
  EXPECT_EQ(word(b, 28), 8080u);
  EXPECT_EQ(word(b, 32), 2u);
  EXPECT_EQ(b.mid(36, 4), QByteArray("web\0", 4));
  EXPECT_EQ(VirtualServerRuleRecord::decode(b), vs);
  vs.vs_oper = kRuleDelete;
  vs.vs_index = 4;
  b = vs.encode();
  expectZeroOutside(b, {{0, 8}});
  EXPECT_EQ(word(b, 4), 4u);
}

TEST(RouterRecords, ListReadRequestAndDhcp) {
  const QByteArray req = ListReadRequest::encode();
  EXPECT_EQ(req.size(), 8);
  EXPECT_EQ(word(req, 0), 1u);
  EXPECT_EQ(word(req, 4), 10u);

  DHCPRecord dhcp{QStringLiteral("192.168.1.1"), QStringLiteral("255.255.255.0"), 0, 24,
                  QStringLiteral("192.168.1.2"), QStringLiteral("192.168.1.9")};
  QByteArray b = dhcp.encode();
  ASSERT_EQ(b.size(), 72);
  EXPECT_EQ(b.mid(0, 11), QByteArray("192.168.1.1"));
  EXPECT_EQ(b.mid(16, 13), QByteArray("255.255.255.0"));
  expectZeroOutside(b, {{0, 11}, {16, 29}});
  dhcp.dhcp_enable = 1;
  b = dhcp.encode();
  EXPECT_EQ(word(b, 32), 1u);
  EXPECT_EQ(word(b, 36), 24u);
  EXPECT_EQ(b.mid(40, 11), QByteArray("192.168.1.2"));
  EXPECT_EQ(b.mid(56, 11), QByteArray("192.168.1.9"));
  EXPECT_EQ(DHCPRecord::decode(b), dhcp);
  EXPECT_EQ(restoreFactoryPayload(), QByteArray("\x01\0\0\0", 4));
}

TEST(RouterRecords, FixedRecordsRefuseShortDataAndReadUnterminatedTextsWithinTheirArray) {
  EXPECT_FALSE(WLANBasicRecord::decode(QByteArray(51, 'x')));
  EXPECT_FALSE(WEPKeyRecord::decode(QByteArray()));
  EXPECT_FALSE(DHCPRecord::decode(QByteArray(71, '\0')));
  // No terminator anywhere: each text ends at its array.
  const QByteArray junk(200, 'A');
  const auto basic = WLANBasicRecord::decode(junk);
  ASSERT_TRUE(basic);
  EXPECT_EQ(basic->ssid, QString(33, QLatin1Char('A')));
  const auto wep = WEPKeyRecord::decode(junk);
  ASSERT_TRUE(wep);
  for (const QString &k : wep->key)
    EXPECT_EQ(k.size(), 27);
  const auto dhcp = DHCPRecord::decode(junk);
  EXPECT_EQ(dhcp->end_ip.size(), 16);
}

TEST(RouterRecords, ListRepliesHoldTheirCountToTenAndToTheDataReceived) {
  IPFilterListReply reply;
  for (quint32 i = 1; i <= 3; ++i) {
    IPFilterListEntry e;
    e.index = i * 10;
    e.comment = QStringLiteral("rule %1").arg(i);
    e.destIp = QStringLiteral("0.0.0.0");
    e.sourceIp = QStringLiteral("10.0.0.%1").arg(i);
    e.protocol = i;
    e.action = i % 2;
    e.mac = QString::fromLatin1(WLANMsg::kEmptyMac);
    reply.entries << e;
  }
  QByteArray b = reply.encode();
  ASSERT_EQ(b.size(), 1164);
  EXPECT_EQ(IPFilterListReply::decode(b).entries, reply.entries);

  struct Case {
    const char *what;
    quint32 count;
    int size;
    int expected;
  };
  const Case cases[] = {
      {"count above ten", 4000000000u, 1164, 10},   {"count beyond the data", 3, 4 + 116 * 2, 2},
      {"a slot cut short", 3, 4 + 116 * 2 + 50, 2}, {"no slots at all", 5, 4, 0},
      {"shorter than the count", 1, 3, 0},          {"oversized data", 10, 5000, 10},
  };
  for (const Case &c : cases) {
    QByteArray data(c.size, 'Z');
    if (c.size >= 4)
      qToLittleEndian<quint32>(c.count, data.data());
    EXPECT_EQ(IPFilterListReply::decode(data).entries.size(), c.expected) << c.what;
    EXPECT_LE(VirtualServerListReply::decode(data).entries.size(), 10) << c.what;
  }

  VirtualServerListReply vs;
  vs.entries << VirtualServerListEntry{5, QStringLiteral("ssh"), QStringLiteral("192.168.1.5"), 22, 22, 1};
  b = vs.encode();
  ASSERT_EQ(b.size(), 684);
  // The comment comes before the address in a list entry.
  EXPECT_EQ(b.mid(8, 3), QByteArray("ssh"));
  EXPECT_EQ(b.mid(41, 11), QByteArray("192.168.1.5"));
  EXPECT_EQ(VirtualServerListReply::decode(b).entries, vs.entries);
}
