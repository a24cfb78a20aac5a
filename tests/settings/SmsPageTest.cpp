// The SMS page of the settings window against the simulated modem: the centre number, the store
// position and the routing.
#include "Plist.h"
#include "SettingFixture.h"

namespace {

class SmsPage : public SettingFixture {
protected:
  QVariantMap modemSettings() const {
    QVariant value;
    Plist::fromData(backend->control(QStringLiteral("SmsSettings")).value(0).toString().toUtf8(), &value);
    return value.toMap();
  }
  void typeCentre(const QString &text) {
    settings()->MessageCenter->setText(text);
    settings()->controlTextDidChange(settings()->MessageCenter);
  }
  bool waitCentreLive() {
    return testsupport::waitUntil([&] { return settings()->MessageCenter->isEnabled(); });
  }
};

TEST_F(SmsPage, TheCentreIsStoredOnlyWhenTheModemConfirmsIt) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  // The modem tells its centre once the SIM is ready.
  ASSERT_TRUE(waitCentreLive());
  EXPECT_EQ(settings()->MessageCenter->text(), QStringLiteral("+491720000000"));
  EXPECT_EQ(settings()->readMessageCenter(), QStringLiteral("+491720000000"));
  EXPECT_FALSE(settings()->MessageCenter->isReadOnly());

  typeCentre(QStringLiteral("+49 172-111 222"));
  EXPECT_EQ(settings()->MessageCenter->text(), QStringLiteral("+49172111222"));
  EXPECT_TRUE(settings()->MessageSetApplyBtn->isEnabled());
  settings()->MessageSetApplyBtn->click();
  EXPECT_FALSE(settings()->MessageSetApplyBtn->isEnabled());
  ASSERT_TRUE(
      testsupport::waitUntil([&] { return settings()->readMessageCenter() == QStringLiteral("+49172111222"); }));
  EXPECT_EQ(modemSettings().value(QStringLiteral("Centre")).toString(), QStringLiteral("+49172111222"));
  const QList<UIMsg> sent = received(768, 96);
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent[0].moduleId, 5);
  EXPECT_EQ(sent[0].dataLength, 32);

  // A centre the modem refuses: told, and the stored number comes back.
  typeCentre(QStringLiteral("+"));
  settings()->MessageSetApply(nullptr);
  ASSERT_TRUE(waitAsked(QStringLiteral("Fail to set message center!")));
  EXPECT_EQ(settings()->MessageCenter->text(), QStringLiteral("+49172111222"));
  EXPECT_EQ(settings()->readMessageCenter(), QStringLiteral("+49172111222"));

  // Cancel drops an edit.
  typeCentre(QStringLiteral("+1"));
  settings()->MessageSetCancelBtn->click();
  EXPECT_EQ(settings()->MessageCenter->text(), QStringLiteral("+49172111222"));
  // Without a configured routing no routing request goes out.
  EXPECT_TRUE(received(768, 107).isEmpty());
}

TEST_F(SmsPage, TheStorePositionGoesToTheModemAndItsAnswerIsShown) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitCentreLive());
  // The modem told where new messages go (the SIM); the box follows.
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->MessageStoreLoc->isEnabled(); }));
  EXPECT_EQ(settings()->currentSetSMSPosition_, 1);
  // Choose the PC (row 2 of default, SIM, PC) and apply.
  settings()->MessageStoreLoc->setCurrentIndex(2);
  settings()->MessageSetApply(nullptr);
  ASSERT_TRUE(testsupport::waitUntil([&] { return modemSettings().value(QStringLiteral("Position")).toInt() == 2; }));
  EXPECT_EQ(settings()->currentSetSMSPosition_, 2);
  EXPECT_EQ(received(768, 97).constLast().moduleId, kModuleSetting);
  // A full SIM forces the PC where the operator wants that, and the box is locked.
  settings()->settingDict().insert(QStringLiteral("SMS"),
                                   QVariantMap{{QStringLiteral("SetSMSSavePosToPCWhenSIMFull"), true}});
  settings()->setIsSimCardFull(true);
  EXPECT_FALSE(settings()->MessageStoreLoc->isEnabled());
  EXPECT_EQ(settings()->MessageStoreLoc->currentIndex(), 2);
}

class SmsRouting : public SmsPage {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("SMS"),
             QVariantMap{{QStringLiteral("MessageRouting"), 0},
                         {QStringLiteral("MessageRoutingList"),
                          QVariantList{QStringLiteral("Packet Switched"), QStringLiteral("Circuit Switched"),
                                       QStringLiteral("Packet Switched Preferred"),
                                       QStringLiteral("Circuit Switched Preferred")}}}}};
  }
};

TEST_F(SmsRouting, TheRoutingIsReadAtStartAndSavedWhenTheModemTakesIt) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->cboxMsgRouting_->isEnabled(); }));
  EXPECT_FALSE(settings()->cboxMsgRouting_->isHidden());
  settings()->cboxMsgRouting_->setCurrentIndex(3);
  settings()->MessageSetApply(nullptr);
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->readMessageRouting() == 3; }));
  EXPECT_EQ(modemSettings().value(QStringLiteral("Routing")).toInt(), 3);
  const QList<UIMsg> sent = received(768, 107);
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent[0].payload(), QByteArray("\x03\0\0\0", 4));
}

} // namespace

namespace {

class SmsFirstStart : public SmsPage {
protected:
  QVariantMap settingsOverrides() const override {
    return {
        {QStringLiteral("Setting"),
         QVariantMap{{QStringLiteral("Setting_SetSMSDefaultStore_WhenFirstStartUpUI"), true},
                     {QStringLiteral("Setting_SMSDefaultStorePos_WhenFirstStartUpUI"), QStringLiteral("SetAtPC")}}}};
  }
};

TEST_F(SmsFirstStart, TheFirstStartStoresNewMessagesWhereTheOperatorWants) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  // The modem's own position (the SIM) gives way to the configured one, once.
  ASSERT_TRUE(testsupport::waitUntil([&] { return modemSettings().value(QStringLiteral("Position")).toInt() == 2; }));
  EXPECT_EQ(settings()->currentSetSMSPosition_, 2);
  EXPECT_EQ(settings()->MessageStoreLoc->currentIndex(), 2);
  EXPECT_FALSE(ConfigService::readBool(QStringLiteral("Setting"),
                                       QStringLiteral("Setting_SetSMSDefaultStore_WhenFirstStartUpUI")));
  EXPECT_EQ(received(768, 97).size(), 1);
}

} // namespace
