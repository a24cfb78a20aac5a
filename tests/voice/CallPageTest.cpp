// What the Call page does around a call: refusals, emergency numbers, USSD from the dial field,
// the tip window's closing time, device lock and the plug-ins' notifications.
#include "CallFixture.h"
#include "NotificationBridge.h"

#include <QPushButton>

namespace {

class CallPageTest : public CallFixture {};

TEST_F(CallPageTest, EmergencyNumbersNeedADeviceButNoSim) {
  setEmergencyNumbers({QStringLiteral("112"), QStringLiteral("911")});
  EXPECT_EQ(call->urgentCallNumbers(), QStringList({"112", "911"}));
  // No device at all: refused.
  dial(QStringLiteral("112"));
  EXPECT_TRUE(requests.isEmpty());
  EXPECT_EQ(alertMessage(), QStringLiteral("Please wait for NetCard get online!"));
  EXPECT_TRUE(posted.contains("dataCardNotreadyForCall"));
  // A device without a SIM dials emergency numbers only.
  call->netcardChanged(2);
  dial(QStringLiteral("5550100"));
  EXPECT_TRUE(requests.isEmpty());
  EXPECT_EQ(alertMessage(), QStringLiteral("Please wait for SIM Card get online!"));
  dial(QStringLiteral("112"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  EXPECT_TRUE(call->isUrgentCall());
  EXPECT_EQ(call->callStage(), CompoundCallController::kDialling);
}

TEST_F(CallPageTest, AnEmergencyListWithAFailedResultIsIgnored) {
  setEmergencyNumbers({QStringLiteral("112")});
  UIMsg m;
  m.result = 0xFF;
  m.setPayload(QByteArray(36, '9'));
  call->initRgentPhone(notificationOf(m));
  EXPECT_EQ(call->urgentCallNumbers(), QStringList({"112"}));
}

TEST_F(CallPageTest, UssdFromTheDialFieldFollowsItsSwitch) {
  deviceReady();
  dial(QStringLiteral("*100#"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor})); // switch off: dialled
}

class UssdOn : public CallFixture {
protected:
  QVariantMap callSettings() const override { return {{"SupportUssdCommand", true}}; }
};

TEST_F(UssdOn, AStarHashStringGoesToUssdNeverToTheModemAsACall) {
  deviceReady();
  dial(QStringLiteral("*100#"));
  EXPECT_TRUE(requests.isEmpty());
  const qsizetype at = posted.indexOf(QStringLiteral("sendUssdComand"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(postedInfo.at(at).value("sendUssdComand").toString(), QStringLiteral("*100#"));
  EXPECT_TRUE(call->page->dialNumber->text().isEmpty());
  EXPECT_EQ(call->callStage(), 0);
  dial(QStringLiteral("*100"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
}

TEST_F(CallPageTest, RequestsFromOtherPages) {
  deviceReady();
  const auto ask = [](const QVariantMap &info) {
    NotificationCenter::defaultCenter().postNotificationName("makeCallWithPhoneNumber", nullptr, info);
  };
  ask({});
  EXPECT_TRUE(answers->asked().isEmpty());
  ask({{"makeCallWithPhoneNumber", QString("")}});
  EXPECT_EQ(alertMessage(), QStringLiteral("Please input a phone number!"));
  ask({{"makeCallWithPhoneNumber", QStringLiteral("5550123")}});
  EXPECT_TRUE(posted.contains("willMakeCall"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  ask({{"makeCallWithPhoneNumber", QStringLiteral("5550124")}});
  EXPECT_EQ(alertMessage(), QStringLiteral("Please disconnect the voice call firstly!"));
  EXPECT_EQ(minors().size(), 1);
}

TEST_F(CallPageTest, KeypadFiltersTheFieldAndSendsDtmfDuringACall) {
  deviceReady();
  call->page->dialNumber->setText(QStringLiteral("12-3 a"));
  call->controlTextDidChange();
  EXPECT_EQ(call->page->dialNumber->text(), QStringLiteral("123"));
  dial(QStringLiteral("5550100"));
  call->callStageDidChange(1);
  requests.clear();
  QPushButton key(QStringLiteral("7"));
  call->dialNumberButnClicked(&key);
  ASSERT_EQ(minors(), QList<int>({CallPackages::kDtmfMinor}));
  EXPECT_EQ(requests.first().data, QByteArray("7"));
}

TEST_F(CallPageTest, ThePlugInsNotificationsReachTheController) {
  deviceReady();
  NotificationBridge *bridge = NotificationBridge::shared();
  ASSERT_NE(bridge, nullptr);
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "MuteBtnDown"), Q_ARG(QVariantMap, {}));
  EXPECT_TRUE(call->isMicrophoneMuted());
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "MuteBtnUp"), Q_ARG(QVariantMap, {}));
  EXPECT_FALSE(call->isMicrophoneMuted());
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "VolumeSliderChange"),
                            Q_ARG(QVariantMap, QVariantMap({{"VolumeSliderChange", 0.25f}})));
  EXPECT_DOUBLE_EQ(call->volume(), 0.25);
  QPushButton key(QStringLiteral("5"));
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "dialButton"),
                            Q_ARG(QVariantMap, QVariantMap({{"dialButton", QVariant::fromValue<QObject *>(&key)}})));
  EXPECT_EQ(call->page->dialNumber->text(), QStringLiteral("5"));
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "makeCallWithPhoneNumber"),
                            Q_ARG(QVariantMap, QVariantMap({{"makeCallWithPhoneNumber", "5550100"}})));
  EXPECT_EQ(call->callStage(), CompoundCallController::kDialling);
  QMetaObject::invokeMethod(bridge, "post", Q_ARG(QString, "hostHangupCall"), Q_ARG(QVariantMap, {}));
  EXPECT_EQ(minors().last(), CallPackages::kHangupMinor);
  // And the controller's own notifications reach a plug-in that observes them.
  QStringList relayed;
  QObject::connect(bridge, &NotificationBridge::notificationPosted, &observer,
                   [&relayed](const QString &name, const QVariantMap &) { relayed << name; });
  QMetaObject::invokeMethod(bridge, "observe", Q_ARG(QString, "callSuccessed"));
  call->callStageDidChange(1);
  EXPECT_EQ(relayed, QStringList({"callSuccessed"}));
}

struct TipCase {
  const char *name;
  QVariant closeTime;
  int expectedMs; // -1: stays until OK
};

class TipWindow : public CallFixture, public ::testing::WithParamInterface<TipCase> {
protected:
  QVariantMap callSettings() const override {
    QVariantMap m{{"ShowIncomingCallNotify", true}};
    if (GetParam().closeTime.isValid())
      m.insert("IncomingCallClosetime", GetParam().closeTime);
    return m;
  }
  void prepareFiles() override {}
};

TEST_P(TipWindow, ClosesAfterTheConfiguredTime) {
  // The bundle's default sets a time; the "absent" case removes it.
  if (!GetParam().closeTime.isValid()) {
    QVariantMap module = config->getConfigurationByModule("Call").toMap();
    module.remove("IncomingCallClosetime");
    config->setConfigurationByModule("Call", module);
  }
  deviceReady();
  call->showIncomingCall(QStringLiteral("5550200"));
  EXPECT_TRUE(call->page->tipWindow->isVisible());
  EXPECT_EQ(call->tipCloseIntervalMs(), GetParam().expectedMs);
  // A second prompt cancels the first close and schedules its own.
  call->showIncomingCall(QStringLiteral("5550200"));
  EXPECT_EQ(call->tipCloseIntervalMs(), GetParam().expectedMs);
  call->incomingCallTipOKClicked();
  EXPECT_FALSE(call->page->tipWindow->isVisible());
  EXPECT_FALSE(call->isTipCloseScheduled());
}

INSTANTIATE_TEST_SUITE_P(CloseTimes, TipWindow,
                         ::testing::Values(TipCase{"absent", QVariant(), 5000}, TipCase{"zero", 0, -1},
                                           TipCase{"three", 3, 3000}),
                         [](const auto &info) { return std::string(info.param.name); });

class DeviceLock : public CallFixture {
protected:
  QVariantMap topLevelSettings() const override { return {{"DeviceLockCallFunction", true}}; }
};

TEST_F(DeviceLock, EnteringTheCallTabAsksForTheUnlockCodeAndFollowsTheOutcome) {
  int opened = 0;
  CallNeighbours &n = CallNeighbours::shared();
  bool locked = false;
  n.getDeviceUnlockCodeState = [&locked] { return locked; };
  n.openUnlockDeviceWindow = [&opened](QWidget *) { ++opened; };
  const auto enter = [] {
    NotificationCenter::defaultCenter().postNotificationName("TabViewItemWillChange", nullptr,
                                                             {{"TabViewItemWillChange", "Call"}});
  };
  enter();
  EXPECT_EQ(opened, 0);
  locked = true;
  enter();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(n.getDeviceLockFunctionModule(), 4);
  posted.clear();
  postedInfo.clear();
  NotificationCenter::defaultCenter().postNotificationName("DeviceUnlockFailed");
  const qsizetype at = posted.lastIndexOf(QStringLiteral("TabViewItemWillChange"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(postedInfo.at(at).value("TabViewItemWillChange").toString(), QStringLiteral("Internet"));
}

} // namespace
