// The Call page against the simulated modem: the first read, forwarding, waiting and barring
// applied one service at a time and read back.
#include "Plist.h"
#include "SettingFixture.h"
#include "WordGlobe.h"

#include <QTest>
#include <QtEndian>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

class CallPage : public SettingFixture {
protected:
  QVariantMap services() const {
    QVariant value;
    Plist::fromData(backend->control(QStringLiteral("CallServices")).value(0).toString().toUtf8(), &value);
    return value.toMap();
  }
  void setServices(const QVariantMap &s) {
    backend->control(QStringLiteral("SetCallServices"), {QString::fromUtf8(Plist::toXml(s))});
  }
  bool waitFirstRead() {
    return testsupport::waitUntil(
        [&] { return settings()->callSettingsAllFinished() && settings()->btnCallSettingApply_->isEnabled(); });
  }
  bool waitButtons() {
    return testsupport::waitUntil([&] {
      return settings()->btnCallSettingApply_->isEnabled() && settings()->btnReadCallSetStatus_->isEnabled();
    });
  }
  void showTab(int index) { settings()->callSettingView_->setCurrentIndex(index); }
  // The modes of the (2307, minor) requests sent, in order (offset of the mode word).
  QList<QPair<quint32, quint32>> requests(int minor, int reasonOffset, int modeOffset) const {
    QList<QPair<quint32, quint32>> out;
    for (const UIMsg &m : received(2307, minor))
      out << qMakePair(qFromLittleEndian<quint32>(m.payload().constData() + reasonOffset),
                       qFromLittleEndian<quint32>(m.payload().constData() + modeOffset));
    return out;
  }
};

TEST_F(CallPage, TheFirstReadFillsThePageFromTheNetwork) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  EXPECT_TRUE(settings()->btnDivertWhenBusy_->isChecked());
  EXPECT_EQ(settings()->txdDivertWhenBusy_->text(), QStringLiteral("0301112222"));
  EXPECT_TRUE(settings()->txdDivertWhenBusy_->isEnabled());
  EXPECT_FALSE(settings()->btnDivertAll_->isChecked());
  EXPECT_TRUE(settings()->btnCallWaitSetting_->isChecked());
  EXPECT_TRUE(settings()->btnBarInternational_->isChecked());
  EXPECT_FALSE(settings()->btnBarInternationalEXHC_->isEnabled()); // under "international"
  EXPECT_FALSE(settings()->btnBarAllOutgoing_->isChecked());
  // The first read is silent; every query went out under module 3.
  QTest::qWait(200);
  EXPECT_TRUE(answers->asked().isEmpty());
  for (const UIMsg &m : received(2307, 154))
    EXPECT_EQ(m.moduleId, 3);
  EXPECT_EQ(requests(154, 0, 4).size(), 4);
  EXPECT_EQ(requests(155, 12, 12).size(), 5);
}

TEST_F(CallPage, NothingChangedOnlySaysSuccessful) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  const int before = int(received(2307, 154).size());
  showTab(0);
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("Settings successful!")));
  EXPECT_EQ(int(received(2307, 154).size()), before);
  EXPECT_TRUE(waitButtons());
}

TEST_F(CallPage, TwoChangedForwardingConditionsAreWrittenOneAfterTheOtherEachReadBack) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  const int before = int(received(2307, 154).size());
  showTab(0);
  settings()->btnDivertWhenBusy_->click(); // off
  settings()->btnDivertWhenNotAnswer_->click();
  settings()->txdDivertWhenNotAnswer_->setText(QStringLiteral("0309998888"));
  settings()->btnCallSettingApply_->click();
  EXPECT_FALSE(settings()->btnCallSettingApply_->isEnabled());
  ASSERT_TRUE(waitAsked(word("Settings successful!")));
  ASSERT_TRUE(waitButtons());
  // erase busy (1), query it, register no-answer (2), query it.
  const QList<QPair<quint32, quint32>> sent = requests(154, 0, 4).mid(before);
  EXPECT_EQ(sent, (QList<QPair<quint32, quint32>>{{1, 4}, {1, 2}, {2, 3}, {2, 2}}));
  const QVariantMap fw = services().value(QStringLiteral("Forwarding")).toMap();
  EXPECT_FALSE(fw.value(QStringLiteral("1")).toMap().value(QStringLiteral("Status")).toBool());
  EXPECT_EQ(fw.value(QStringLiteral("2")).toMap().value(QStringLiteral("Number")).toString(),
            QStringLiteral("0309998888"));
  EXPECT_EQ(askedCount(word("Settings Failed!")), 0);
}

TEST_F(CallPage, ANetworkThatKeepsItsStateGetsOneRequestAndSettingsFailed) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  backend->control(QStringLiteral("KeepCallServices"), {true});
  const int before = int(received(2307, 154).size());
  showTab(0);
  settings()->btnDivertWhenNotReachable_->click();
  settings()->txdDivertWhenNotReachable_->setText(QStringLiteral("0305554444"));
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("Settings Failed!")));
  ASSERT_TRUE(waitButtons());
  QTest::qWait(200);
  const QList<QPair<quint32, quint32>> sent = requests(154, 0, 4).mid(before);
  EXPECT_EQ(sent, (QList<QPair<quint32, quint32>>{{3, 3}, {3, 2}}));
  // The page shows what the network has.
  EXPECT_FALSE(settings()->btnDivertWhenNotReachable_->isChecked());
  EXPECT_EQ(settings()->txdDivertWhenNotReachable_->text(), QString());
  EXPECT_EQ(askedCount(word("Settings successful!")), 0);
}

TEST_F(CallPage, TwoBarringChangesAreBothSentAndTheButtonsComeBack) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  const int before = int(received(2307, 155).size());
  showTab(2);
  settings()->btnBarInternational_->click(); // off: "except home" becomes free
  settings()->btnBarAllIncoming_->click();   // on
  settings()->txdCallBarPassword_->setText(QStringLiteral("0000"));
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("Settings successful!")));
  ASSERT_TRUE(waitButtons());
  QList<QByteArray> facilities;
  QList<quint32> modes;
  for (const UIMsg &m : received(2307, 155).mid(before)) {
    facilities << m.payload().left(2);
    modes << qFromLittleEndian<quint32>(m.payload().constData() + 12);
  }
  EXPECT_EQ(facilities, (QList<QByteArray>{"OI", "OI", "AI", "AI"}));
  EXPECT_EQ(modes, (QList<quint32>{0, 2, 1, 2}));
  const QVariantMap bars = services().value(QStringLiteral("Barring")).toMap();
  EXPECT_FALSE(bars.value(QStringLiteral("OI")).toBool());
  EXPECT_TRUE(bars.value(QStringLiteral("AI")).toBool());
  EXPECT_FALSE(settings()->btnBarIncomingWhenRoaming_->isEnabled());

  // A wrong password: refused, the controls go back and the password is emptied.
  settings()->btnBarAllOutgoing_->click();
  settings()->txdCallBarPassword_->setText(QStringLiteral("9999"));
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("Settings Failed!")));
  ASSERT_TRUE(waitButtons());
  EXPECT_FALSE(settings()->btnBarAllOutgoing_->isChecked());
  EXPECT_TRUE(settings()->txdCallBarPassword_->text().isEmpty());
}

TEST_F(CallPage, FieldsThatDoNotFitAreRefusedBeforeAnythingIsSent) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  const int forwards = int(received(2307, 154).size()), bars = int(received(2307, 155).size());
  showTab(0);
  settings()->btnDivertAll_->click();
  settings()->txdDivertAll_->setMaxLength(100);
  settings()->txdDivertAll_->setText(QString(32, QLatin1Char('1')));
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("The number is too long!")));
  showTab(2);
  settings()->btnBarAllOutgoing_->click();
  settings()->txdCallBarPassword_->setMaxLength(100);
  settings()->txdCallBarPassword_->setText(QString(12, QLatin1Char('1')));
  settings()->btnCallSettingApply_->click();
  ASSERT_TRUE(waitAsked(word("The password is too long!")));
  QTest::qWait(200);
  EXPECT_EQ(int(received(2307, 154).size()), forwards);
  EXPECT_EQ(int(received(2307, 155).size()), bars);
  EXPECT_TRUE(settings()->btnCallSettingApply_->isEnabled());
}

// Only a result of 0 sets call waiting: a network's own refusal codes are failures too.
TEST_F(CallPage, CallWaitingRefusedWithAnyCodeIsAFailure) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  for (const int refusal : {1, 3, 254}) {
    SCOPED_TRACE(refusal);
    setServices({{QStringLiteral("Waiting"), true}, {QStringLiteral("WaitSetResult"), refusal}});
    const int failedBefore = askedCount(word("Settings Failed!"));
    showTab(1);
    settings()->btnCallWaitSetting_->setChecked(false);
    settings()->btnCallSettingApply_->click();
    ASSERT_TRUE(waitAsked(word("Settings Failed!"), failedBefore + 1));
    ASSERT_TRUE(waitButtons());
    EXPECT_TRUE(services().value(QStringLiteral("Waiting")).toBool());
  }
  EXPECT_EQ(askedCount(word("Settings successful!")), 0);
}

TEST_F(CallPage, FirstReadFailuresStaySilentLaterOnesAlert) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitFirstRead());
  // Every query fails from the device's next start.
  setServices({{QStringLiteral("ReadFails"), true}});
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return settings()->needReadCallSetting(); }));
  backend->control(QStringLiteral("Plug"));
  ASSERT_TRUE(waitFirstRead());
  EXPECT_EQ(askedCount(word("Read Call Forwarding Status Failed!")), 0);
  EXPECT_EQ(askedCount(word("Read Call Waiting Status Failed!")), 0);
  EXPECT_EQ(askedCount(word("Read Call Barring Status Failed!")), 0);
  for (int tab = 0; tab < 3; ++tab) {
    showTab(tab);
    settings()->btnReadCallSetStatus_->click();
    ASSERT_TRUE(waitButtons());
  }
  EXPECT_TRUE(waitAsked(word("Read Call Forwarding Status Failed!")));
  EXPECT_TRUE(waitAsked(word("Read Call Waiting Status Failed!")));
  EXPECT_TRUE(waitAsked(word("Read Call Barring Status Failed!")));
  // Reads that work again are told.
  setServices({{QStringLiteral("Waiting"), true}});
  showTab(1);
  settings()->btnReadCallSetStatus_->click();
  EXPECT_TRUE(waitAsked(word("Read Call Waiting Status Successful!")));
  EXPECT_TRUE(settings()->btnCallWaitSetting_->isChecked());
}

} // namespace
