#include "WLANPageFixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {
IPFilterListEntry entry(quint32 index, const QString &comment) {
  IPFilterListEntry e;
  e.index = index;
  e.comment = comment;
  e.destIp = QStringLiteral("0.0.0.0");
  e.sourceIp = QStringLiteral("10.0.0.1");
  e.sourcePortBegin = 10;
  e.sourcePortEnd = 20;
  e.protocol = 1;
  e.action = 1;
  e.mac = QString::fromLatin1(WLANMsg::kEmptyMac);
  return e;
}

IPFilterRuleRecord lastRule(const QList<WLANPageFixture::Sent> &sent) {
  return *IPFilterRuleRecord::decode(sent.last().data);
}
} // namespace

class FirewallFixture : public WLANPageFixture {
protected:
  void SetUp() override {
    WLANPageFixture::SetUp();
    read(WLANMsg::kReadFilterSwitch, FilterSwitchRecord{1, 0}.encode());
    c->advancedIPFilter();
  }
  QString cell(int row, int column) const {
    QTableWidgetItem *item = c->IPFilterList->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
  }
  void fillRule(const QString &name, const QString &protocol, const QString &action) {
    c->IFNEW();
    c->IF_Name->setText(name);
    if (!protocol.isEmpty())
      choose(c->IF_Protocol, protocol);
    if (!action.isEmpty())
      choose(c->IF_Action, action);
  }
};

TEST_F(FirewallFixture, OpeningTheSheetReadsTheListAndEveryReadReplacesTheRows) {
  EXPECT_TRUE(c->IPFilterWindow->isVisible());
  EXPECT_EQ(c->IPFilterWindow->parentWidget(), window.get());
  ASSERT_EQ(sent.last().major, WLANMsg::kReadMajor);
  EXPECT_EQ(sent.last().minor, WLANMsg::kReadFilterList);
  EXPECT_EQ(sent.last().data, ListReadRequest::encode());
  EXPECT_TRUE(c->IF_New->isEnabled());
  EXPECT_FALSE(c->IF_Edit->isEnabled());

  IPFilterListReply reply;
  reply.entries << entry(4, "one") << entry(9, "two");
  reply.entries[1].sourcePortBegin = reply.entries[1].sourcePortEnd = 0;
  reply.entries[1].protocol = 7; // outside the table
  read(WLANMsg::kReadFilterList, reply.encode());
  read(WLANMsg::kReadFilterList, reply.encode()); // the router sends it again on its own
  ASSERT_EQ(c->IPFilterList->rowCount(), 2);
  EXPECT_EQ(c->IFInformation_count, 2);
  EXPECT_EQ(cell(0, 0), QStringLiteral("one"));
  EXPECT_EQ(cell(0, 4), QStringLiteral("-")) << "destination 0.0.0.0";
  EXPECT_EQ(cell(0, 2), QStringLiteral("10"));
  EXPECT_EQ(cell(1, 2), QStringLiteral("-"));
  EXPECT_EQ(cell(1, 3), QStringLiteral("-"));
  EXPECT_EQ(cell(1, 7), QString());
  EXPECT_EQ(cell(0, 8), QStringLiteral("Accept"));
  EXPECT_EQ(cell(0, 9), QStringLiteral("-"));

  read(WLANMsg::kReadFilterList, IPFilterListReply().encode());
  EXPECT_EQ(c->IPFilterList->rowCount(), 0);

  c->IFListClose();
  EXPECT_FALSE(c->IPFilterWindow->isVisible());
}

TEST_F(FirewallFixture, EditorFollowsTheSelectionAndTheProtocol) {
  IPFilterListReply reply;
  reply.entries << entry(4, "one");
  reply.entries[0].mac = QStringLiteral("0a:22:33:44:55:66");
  read(WLANMsg::kReadFilterList, reply.encode());
  c->IPFilterList->selectRow(0);
  EXPECT_TRUE(c->IF_Edit->isEnabled());
  EXPECT_TRUE(c->IF_Delete->isEnabled());
  EXPECT_EQ(c->IF_Name->text(), QStringLiteral("one"));
  EXPECT_EQ(c->IF_MACAddress[0]->text(), QStringLiteral("0a"));
  EXPECT_TRUE(c->IF_DestIPAddress->text().isEmpty());
  EXPECT_FALSE(c->IF_Name->isEnabled());

  c->IFEDIT();
  EXPECT_TRUE(c->IF_Name->isEnabled());
  EXPECT_TRUE(c->IF_Save->isEnabled());
  choose(c->IF_Protocol, QStringLiteral("ICMP"));
  EXPECT_TRUE(c->IF_SourcePortStart->text().isEmpty());
  EXPECT_FALSE(c->IF_DestPortEnd->isEnabled());
  choose(c->IF_Protocol, QStringLiteral("TCP"));
  EXPECT_EQ(c->IF_SourcePortStart->text(), QStringLiteral("1"));
  EXPECT_EQ(c->IF_DestPortEnd->text(), QStringLiteral("65535"));
  EXPECT_TRUE(c->IF_DestPortEnd->isEnabled());
  c->IF_Name->setText(QStringLiteral("renamed"));
  c->IFListSave();
  const IPFilterRuleRecord rule = lastRule(sent);
  EXPECT_EQ(rule.if_oper, quint32(kRuleChange));
  EXPECT_EQ(rule.if_index, 4u);
  EXPECT_EQ(rule.if_name, QStringLiteral("renamed"));
  EXPECT_EQ(rule.if_mac_address, QStringLiteral("0a:22:33:44:55:66"));

  // Delete carries the row's index only.
  c->IPFilterList->selectRow(0);
  c->IFDELETE();
  EXPECT_EQ(sent.last().minor, WLANMsg::kSetFilterRule);
  EXPECT_EQ(sent.last().data.mid(0, 8), QByteArray("\x02\0\0\0\x04\0\0\0", 8));
  EXPECT_EQ(sent.last().data.mid(8), QByteArray(112, '\0'));
}

TEST_F(FirewallFixture, SaveChecks) {
  struct Case {
    const char *what;
    const char *protocol;
    const char *action;
    QStringList mac;
    const char *alert;
  };
  const QStringList none = {"", "", "", "", "", ""};
  const Case cases[] = {
      {"all null with ICMP", "ICMP", "Drop", none, "The IP address, port range and MAC address can not be all Null!"},
      {"all null with NONE", "NONE", "Drop", none, "The IP address, port range and MAC address can not be all Null!"},
      {"group MAC", "TCP", "Drop", {"01", "22", "33", "44", "55", "66"}, "The MAC address is invalid!"},
      {"zero MAC", "TCP", "Drop", {"00", "00", "00", "00", "00", "00"}, "The MAC address is invalid!"},
      {"five MAC fields", "TCP", "Drop", {"02", "22", "33", "44", "55", ""}, "The MAC address is invalid!"},
      {"no protocol", "", "Drop", none, "The protocol should be selected!"},
      {"no action", "TCP", "", none, "The action should be selected!"},
  };
  for (const Case &k : cases) {
    script();
    sent.clear();
    fillRule(QStringLiteral("r"), QString::fromLatin1(k.protocol), QString::fromLatin1(k.action));
    for (int i = 0; i < 6; ++i)
      c->IF_MACAddress[i]->setText(k.mac.at(i));
    c->IFListSave();
    EXPECT_EQ(alerts(), QStringList{QString::fromLatin1(k.alert)}) << k.what;
    EXPECT_TRUE(sent.isEmpty()) << k.what;
  }
  // A typed protocol or action in no table is refused too.
  script();
  fillRule(QStringLiteral("r"), QStringLiteral("TCP"), QStringLiteral("Drop"));
  c->IF_Protocol->setEditText(QStringLiteral("SCTP"));
  c->IFListSave();
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("The protocol should be selected!")});
  script();
  fillRule(QStringLiteral("r"), QStringLiteral("TCP"), QStringLiteral("Drop"));
  c->IF_Action->setEditText(QStringLiteral("Reject"));
  c->IFListSave();
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("The action should be selected!")});

  // With TCP and nothing else the rule goes out with the empty MAC marker and 0.0.0.0.
  script();
  sent.clear();
  fillRule(QStringLiteral("web"), QStringLiteral("TCP"), QStringLiteral("Accept"));
  for (const auto &f : c->IF_MACAddress)
    f->clear();
  c->IFListSave();
  EXPECT_TRUE(alerts().isEmpty());
  ASSERT_EQ(sent.size(), 1);
  const IPFilterRuleRecord rule = lastRule(sent);
  EXPECT_EQ(rule.if_oper, quint32(kRuleAdd));
  EXPECT_EQ(rule.if_index, 0u);
  EXPECT_EQ(rule.if_protocol, 1u);
  EXPECT_EQ(rule.if_action, 1u);
  EXPECT_EQ(rule.if_dest_ip, QStringLiteral("0.0.0.0"));
  EXPECT_EQ(rule.if_mac_address, QString::fromLatin1(WLANMsg::kEmptyMac));
  EXPECT_EQ(rule.if_source_port_b, 1u);
  EXPECT_EQ(rule.if_dest_port_e, 65535u);
  EXPECT_FALSE(c->IF_Save->isEnabled());
  EXPECT_TRUE(c->IF_New->isEnabled());
}

TEST_F(FirewallFixture, SheetFiltersAndSetCycle) {
  c->IFNEW();
  QTest::keyClicks(c->IF_MACAddress[0], QStringLiteral("G"));
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("Mac Address contains invalid characters!")});
  EXPECT_TRUE(c->IF_MACAddress[0]->text().isEmpty());
  QTest::keyClicks(c->IF_MACAddress[0], QStringLiteral("0aB"));
  EXPECT_EQ(c->IF_MACAddress[0]->text(), QStringLiteral("0a"));
  EXPECT_EQ(alerts().size(), 1);
  QTest::keyClicks(c->IF_SourcePortStart, QStringLiteral("0"));
  EXPECT_EQ(c->IF_SourcePortStart->text(), QStringLiteral("1"));
  c->IF_DestIPAddress->setText(QStringLiteral("0"));
  c->controlTextDidEndEditing(c->IF_DestIPAddress);
  EXPECT_TRUE(c->IF_DestIPAddress->text().isEmpty());
  c->IF_DestIPAddress->setText(QStringLiteral("10.1"));
  c->controlTextDidEndEditing(c->IF_DestIPAddress);
  EXPECT_EQ(c->IF_DestIPAddress->text(), QStringLiteral("10.1.0.0"));

  // A successful set empties the rows and reads the list again; a failed one cancels the editor.
  read(WLANMsg::kReadFilterList, IPFilterListReply{{entry(1, "a")}}.encode());
  sent.clear();
  deliver(WLANMsg::kSetMajor, WLANMsg::kSetFilterRule, {});
  EXPECT_EQ(c->IPFilterList->rowCount(), 0);
  ASSERT_EQ(sentMinors(), QList<int>{WLANMsg::kReadFilterList});
  c->IFNEW();
  failSet(WLANMsg::kSetFilterRule);
  EXPECT_EQ(alerts().last(), QStringLiteral("Setting Failed!"));
  EXPECT_FALSE(c->IF_Save->isEnabled());
  EXPECT_FALSE(c->IF_Name->isEnabled());
}

TEST_F(FirewallFixture, RefusedSwitchChangesPutThePageBack) {
  c->IFListClose();
  EXPECT_TRUE(c->IPFilterEnable->isChecked());
  EXPECT_EQ(c->IPFilterPolicy->currentText(), QStringLiteral("Accept"));
  sent.clear();
  choose(c->IPFilterPolicy, QStringLiteral("Drop"));
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(*FilterSwitchRecord::decode(sent[0].data), (FilterSwitchRecord{1, 1}));
  failSet(WLANMsg::kSetFilterSwitch);
  EXPECT_EQ(c->IPPolicy, 0u);
  EXPECT_EQ(c->IF_enable, 1u);
  EXPECT_TRUE(c->IPFilterEnable->isChecked());
  EXPECT_EQ(c->IPFilterPolicy->currentText(), QStringLiteral("Accept"));

  c->IPFilterEnable->click(); // off
  EXPECT_EQ(sent.last().data, QByteArray(8, '\0'));
  failSet(WLANMsg::kSetFilterSwitch);
  EXPECT_TRUE(c->IPFilterEnable->isChecked());
  EXPECT_TRUE(c->IPFilterPolicy->isEnabled());

  read(WLANMsg::kReadVirtualSwitch, EnableWordRecord{0}.encode());
  EXPECT_FALSE(c->virtualServerEnable->isChecked());
  c->virtualServerEnable->click();
  EXPECT_TRUE(c->virtualServerAdvanced->isEnabled());
  failSet(WLANMsg::kSetVirtualSwitch);
  EXPECT_FALSE(c->virtualServerEnable->isChecked());
  EXPECT_FALSE(c->virtualServerAdvanced->isEnabled());
}

TEST_F(FirewallFixture, VirtualServerSheet) {
  c->IFListClose();
  c->advancedVirtualServer();
  EXPECT_EQ(sent.last().minor, WLANMsg::kReadVirtualList);
  VirtualServerListReply reply;
  reply.entries << VirtualServerListEntry{3, "web", "192.168.1.10", 0, 0, 1};
  read(WLANMsg::kReadVirtualList, reply.encode());
  ASSERT_EQ(c->VirtualServicesList->rowCount(), 1);
  EXPECT_EQ(c->VirtualServicesList->item(0, 2)->text(), QStringLiteral("-"));
  c->VSNEW();
  EXPECT_EQ(c->VS_PortStart->text(), QStringLiteral("1"));
  EXPECT_EQ(c->VS_PortEnd->text(), QStringLiteral("65535"));
  c->VS_Name->setText("ssh");
  c->VSListSave();
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("The IP address is invalid!")});
  c->VS_IPAddress->setText("192.168.1.22");
  c->VSListSave();
  EXPECT_EQ(alerts().last(), QStringLiteral("The protocol should be selected!"));
  EXPECT_EQ(c->VS_Protocol->count(), 3);
  choose(c->VS_Protocol, QStringLiteral("UDP"));
  c->VS_PortStart->setText("22");
  c->VS_PortEnd->setText("22");
  c->VSListSave();
  EXPECT_EQ(*VirtualServerRuleRecord::decode(sent.last().data),
            (VirtualServerRuleRecord{kRuleAdd, 0, "192.168.1.22", 22, 22, 2, "ssh"}));
}

TEST_F(FirewallFixture, ASheetClosesWhenTheMainWindowChanges) {
  ASSERT_TRUE(c->IPFilterWindow->isVisible());
  QWidget other;
  NotificationCenter::defaultCenter().postNotificationName(
      QStringLiteral("MainwindOfAppChanged"), nullptr,
      {{QStringLiteral("window"), QVariant::fromValue<QObject *>(&other)}});
  EXPECT_FALSE(c->IPFilterWindow->isVisible());
}
