#include "WLANPageFixture.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace WLANChecks;

namespace {
WLANBasicRecord basicRecord(quint32 mode, quint32 channel, quint32 rate) {
  return WLANBasicRecord{mode, QStringLiteral("Home"), channel, 1, rate};
}
} // namespace

TEST_F(WLANPageFixture, PageStartsDisabledAndComesAliveWithTheBasicRead) {
  EXPECT_FALSE(c->SSIDName->isEnabled());
  EXPECT_FALSE(c->WLANBasicApply->isEnabled());
  EXPECT_FALSE(c->IPAddress->isEnabled());
  read(WLANMsg::kReadBasic, basicRecord(0, 0, 0).encode());
  EXPECT_TRUE(c->SSIDName->isEnabled());
  EXPECT_EQ(c->SSIDName->text(), QStringLiteral("Home"));
  EXPECT_EQ(c->channel->currentText(), QStringLiteral("Auto"));
  EXPECT_EQ(c->WLANRate->currentText(), QStringLiteral("Auto"));
  EXPECT_EQ(c->WLANMode->currentText(), QStringLiteral("802.11B/G"));
  EXPECT_EQ(c->brocastEnable->checkedId(), 1);
  EXPECT_FALSE(c->WLANBasicApply->isEnabled()) << "a read leaves Apply as it was";

  read(WLANMsg::kReadBasic, basicRecord(1, 6, 5).encode());
  EXPECT_EQ(c->WLANRate->currentText(), QStringLiteral("5"));
  EXPECT_EQ(c->channel->currentText(), QStringLiteral("6"));
  // A mode outside the table shows as an empty entry.
  read(WLANMsg::kReadBasic, basicRecord(3, 6, 5).encode());
  EXPECT_EQ(c->WLANMode->currentText(), QString());
  // A short read is not shown.
  read(WLANMsg::kReadBasic, QByteArray(10, '\0'));
  EXPECT_EQ(c->SSIDName->text(), QStringLiteral("Home"));

  c->deviceRemoved({});
  EXPECT_FALSE(c->SSIDName->isEnabled());
  EXPECT_TRUE(c->SSIDName->text().isEmpty());
}

TEST_F(WLANPageFixture, BasicApplySendsTheShownValuesAndKeepsHeldCodesForTypedTexts) {
  read(WLANMsg::kReadBasic, basicRecord(0, 6, 11).encode());
  choose(c->WLANMode, QStringLiteral("802.11G"));
  EXPECT_EQ(c->WLANRate->currentText(), QStringLiteral("Auto"));
  EXPECT_EQ(c->WLANRate->count(), 9);
  EXPECT_TRUE(c->WLANBasicApply->isEnabled());
  choose(c->WLANRate, QStringLiteral("54"));
  c->channel->setEditText(QStringLiteral("99")); // typed, in no table
  c->SSIDName->setText(QStringLiteral("Guest"));
  c->brocastEnable->button(0)->click();
  c->applyBasic();
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent[0].major, WLANMsg::kSetMajor);
  EXPECT_EQ(sent[0].minor, WLANMsg::kSetBasic);
  EXPECT_EQ(*WLANBasicRecord::decode(sent[0].data), (WLANBasicRecord{2, QStringLiteral("Guest"), 6, 0, 54}));
  EXPECT_FALSE(c->WLANBasicApply->isEnabled());

  // The 5.5 rate travels as 5.
  choose(c->WLANMode, QStringLiteral("802.11B"));
  choose(c->WLANRate, QStringLiteral("5.5"));
  c->applyBasic();
  EXPECT_EQ(WLANBasicRecord::decode(sent.last().data)->aprate, 5u);

  // A failed apply alerts and gives Apply and Cancel back; a successful one changes nothing.
  failSet(WLANMsg::kSetBasic);
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("Setting Failed!")});
  EXPECT_TRUE(c->WLANBasicApply->isEnabled());
  c->cancelBasic();
  EXPECT_EQ(c->SSIDName->text(), QStringLiteral("Guest"));
  EXPECT_FALSE(c->WLANBasicCancel->isEnabled());
  deliver(WLANMsg::kSetMajor, WLANMsg::kSetBasic, {});
  EXPECT_FALSE(c->WLANBasicApply->isEnabled());
}

TEST_F(WLANPageFixture, FactoryResetAsksFirst) {
  read(WLANMsg::kReadBasic, basicRecord(0, 0, 0).encode());
  script({0});
  c->restoreBasic();
  EXPECT_TRUE(sent.isEmpty());
  EXPECT_TRUE(c->wifiRestore->isEnabled());
  script({1});
  c->restoreBasic();
  ASSERT_EQ(sentMinors(), QList<int>{WLANMsg::kRestoreFactory});
  EXPECT_EQ(sent[0].data, restoreFactoryPayload());
  EXPECT_FALSE(c->wifiRestore->isEnabled());
}

TEST_F(WLANPageFixture, SecurityModesDriveTheEncryptionAndTheKeyControls) {
  read(WLANMsg::kReadSecurity, WLANSecurityRecord{0, 3}.encode());
  read(WLANMsg::kReadWEP, WEPKeyRecord().encode());
  EXPECT_TRUE(c->WEPKey[0]->isHidden());
  choose(c->authenticationType, QStringLiteral("SHARE"));
  EXPECT_EQ(c->encryptionMode->currentText(), QStringLiteral("WEP"));
  EXPECT_FALSE(c->WEPKey[0]->isHidden());
  choose(c->encryptionMode, QStringLiteral("NONE"));
  EXPECT_EQ(c->authenticationType->currentText(), QStringLiteral("OPEN"));
  EXPECT_TRUE(c->WEPKey[0]->isHidden());
  choose(c->authenticationType, QStringLiteral("WPA2-PSK"));
  EXPECT_EQ(c->encryptionMode->currentText(), QStringLiteral("AES/TKIP"));
  EXPECT_EQ(c->encryptionMode->count(), 3);
  EXPECT_TRUE(c->WPAPreShredKey->isEnabled());
}

TEST_F(WLANPageFixture, SecurityApplyChecksThenSendsTwoRecordsInOrder) {
  read(WLANMsg::kReadSecurity, WLANSecurityRecord{0, 3}.encode());
  read(WLANMsg::kReadWEP, WEPKeyRecord().encode());
  choose(c->authenticationType, QStringLiteral("SHARE"));
  choose(c->WEPKeyModel[1], QStringLiteral("ASCII"));
  c->WEPKey[1]->setText(QStringLiteral("abcdefg")); // 7 characters
  choose(c->WEPKeyIndex, QStringLiteral("1"));
  c->WEPKey[0]->setText(QStringLiteral("abcde"));
  choose(c->WEPKeyModel[0], QStringLiteral("ASCII"));
  c->WEPKey[0]->setText(QStringLiteral("abcde"));
  c->applySecurity();
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("ASCII WEP Key should be 5 or 13 characters!")});
  EXPECT_TRUE(sent.isEmpty());

  c->WEPKey[1]->setText(QStringLiteral("abcdefghijklm"));
  c->applySecurity();
  ASSERT_EQ(sentMinors(), (QList<int>{WLANMsg::kSetSecurity, WLANMsg::kSetWEP}));
  EXPECT_EQ(*WLANSecurityRecord::decode(sent[0].data), (WLANSecurityRecord{1, 3}));
  const WEPKeyRecord wep = *WEPKeyRecord::decode(sent[1].data);
  EXPECT_EQ(wep.shmode, 1u);
  EXPECT_EQ(wep.wepkeyindex, 1u);
  EXPECT_EQ(wep.key[1], QStringLiteral("abcdefghijklm"));
  EXPECT_EQ(wep.keyModel[1], 1u);

  sent.clear();
  choose(c->authenticationType, QStringLiteral("WPA-PSK"));
  c->WPAPreShredKey->setText(QStringLiteral("1234567"));
  c->applySecurity();
  EXPECT_EQ(alerts().last(),
            QStringLiteral("The WPAPreShred Key should be 8 - 63 ASCII characters or 64 HEX characters!"));
  EXPECT_TRUE(sent.isEmpty());
  c->WPAPreShredKey->setText(QString(64, QLatin1Char('a')));
  choose(c->encryptionMode, QStringLiteral("AES"));
  c->MAXNum->setEditText(QStringLiteral("9")); // typed, in no table: the held limit stays
  c->applySecurity();
  ASSERT_EQ(sentMinors(), (QList<int>{WLANMsg::kSetSecurity, WLANMsg::kSetWPA}));
  EXPECT_EQ(*WLANSecurityRecord::decode(sent[0].data), (WLANSecurityRecord{2, 3}));
  EXPECT_EQ(*WPAKeyRecord::decode(sent[1].data), (WPAKeyRecord{1, 2, QString(64, QLatin1Char('a'))}));

  // A typed mode in no table keeps the held one: no -1 goes out.
  sent.clear();
  c->authenticationType->setEditText(QStringLiteral("WPA3"));
  c->applySecurity();
  EXPECT_EQ(WLANSecurityRecord::decode(sent[0].data)->aumode, 2u);
}

TEST_F(WLANPageFixture, TypingRunsTheFilters) {
  read(WLANMsg::kReadWPA, WPAKeyRecord{0, 0, QStringLiteral("secret12")}.encode());
  c->WPAPreShredKey->clear();
  QTest::keyClicks(c->WPAPreShredKey, QString(64, QLatin1Char('a')));
  EXPECT_TRUE(alerts().isEmpty());
  QTest::keyClicks(c->WPAPreShredKey, QStringLiteral("b"));
  EXPECT_EQ(c->WPAPreShredKey->text(), QString(64, QLatin1Char('a')));

  read(WLANMsg::kReadDHCP, DHCPRecord{"192.168.1.1", "255.255.255.0", 1, 24, "192.168.1.2", "192.168.1.9"}.encode());
  c->DHCPLeaseTime->clear();
  QTest::keyClicks(c->DHCPLeaseTime, QStringLiteral("70000"));
  EXPECT_EQ(c->DHCPLeaseTime->text(), QStringLiteral("65535"));
  EXPECT_EQ(alerts().last(), QStringLiteral("DHCP Lease Time should be 1 - 65535 hours!"));
  QTest::keyClicks(c->DHCPLeaseTime, QStringLiteral("x"));
  EXPECT_EQ(c->DHCPLeaseTime->text(), QStringLiteral("65535"));
  EXPECT_TRUE(c->DHCPApply->isEnabled());
}

TEST_F(WLANPageFixture, RouterApplyChecks) {
  read(WLANMsg::kReadDHCP, DHCPRecord{"192.168.0.1", "255.255.255.0", 1, 24, "192.168.0.2", "192.168.0.100"}.encode());
  EXPECT_EQ(c->DHCPStartIP->text(), QStringLiteral("192.168.0.2"));
  struct Case {
    const char *address, *mask, *start, *end;
    const char *alert; // null: accepted
  };
  const Case cases[] = {
      {"192.168.0.50", "255.255.255.0", "192.168.0.2", "192.168.0.100",
       "IP Address, Start IP and End IP should not be in the same IP range!"},
      {"192.168.0.1", "255.255.255.0", "192.168.0.2", "192.168.0.100", nullptr},
      {"10.0.0.50", "255.255.255.0", "192.168.0.2", "192.168.0.100", nullptr},
      {"192.168.0.1", "255.255.255.0", "192.168.0.200", "10.0.0.100", "Please ensure Start IP and End IP correct!"},
      {"0.0.0.0", "255.255.255.0", "192.168.0.2", "192.168.0.100", "The IP address is invalid!"},
      {"192.168.0.1", "255.0.255.0", "192.168.0.2", "192.168.0.100", "The Subnet Mask is invalid!"},
      {"192.168.0.1", "255.255.255.0", "192.168.0.0", "192.168.0.100", "The DHCP Start IP address is invalid!"},
      {"192.168.0.1", "255.255.255.0", "192.168.0.2", "255.255.255.255", "The DHCP End IP address is invalid!"},
  };
  for (const Case &k : cases) {
    sent.clear();
    script();
    c->IPAddress->setText(k.address);
    c->subnetMask->setText(k.mask);
    c->DHCPStartIP->setText(k.start);
    c->DHCPEndIP->setText(k.end);
    c->DHCPLeaseTime->setText("48");
    c->applyDHCP();
    if (k.alert) {
      EXPECT_EQ(alerts(), QStringList{QString::fromLatin1(k.alert)}) << k.address << " " << k.start;
      EXPECT_TRUE(sent.isEmpty());
    } else {
      EXPECT_TRUE(alerts().isEmpty()) << k.address;
      ASSERT_EQ(sent.size(), 1);
      EXPECT_EQ(*DHCPRecord::decode(sent[0].data), (DHCPRecord{k.address, k.mask, 1, 48, k.start, k.end}));
    }
  }
  // DHCP off: only the address, the mask and the switch travel.
  sent.clear();
  c->DHCPServerEnable->button(0)->click();
  EXPECT_FALSE(c->DHCPStartIP->isEnabled());
  c->applyDHCP();
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent[0].data.mid(32), QByteArray(40, '\0'));
}

class WLANPageWithoutRouterTab : public WLANPageFixture {
  QVariantMap wlanTab() const override { return {{"WLANBasic", true}, {"WLANSecurity", true}, {"Firewall", true}}; }
};

TEST_F(WLANPageWithoutRouterTab, RouterTabIsRemovedAndItsReadsChangeNothingVisible) {
  ASSERT_EQ(c->WLANTab->count(), 3);
  for (int i = 0; i < c->WLANTab->count(); ++i)
    EXPECT_NE(c->WLANTab->widget(i)->objectName(), QStringLiteral("Router"));
  EXPECT_EQ(c->WLANTab->tabText(0), QStringLiteral("WLAN Basic"));
  c->set_Router_States(false);
  read(WLANMsg::kReadDHCP, DHCPRecord{"192.168.0.1", "255.255.255.0", 0, 0, {}, {}}.encode());
  EXPECT_EQ(c->dhcp.ip_address, QStringLiteral("192.168.0.1"));
}
