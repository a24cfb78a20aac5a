// The checks before a connect and a disconnect, with scripted answers: their questions, their
// order, and what each refusal leaves behind.
#include "DialController.h"
#include "InitController.h"
#include "NotificationCenter.h"
#include "NotificationTables.h"
#include "RecordClock.h"
#include "RecordsFixture.h"
#include "SettingController.h"
#include "UnlockDeviceSheet.h"

#include <QMainWindow>
#include <QPushButton>

namespace {

class PreConnectFixture : public RecordsFixture {
protected:
  std::unique_ptr<InitController> init;
  std::unique_ptr<SettingController> settings;
  std::unique_ptr<DialController> dial;
  std::unique_ptr<QMainWindow> window;
  QPushButton *connectButton = nullptr;

  void SetUp() override {
    RecordsFixture::SetUp();
    start();
    window = std::make_unique<QMainWindow>();
    init = std::make_unique<InitController>();
    init->wndMain = window.get();
    settings = std::make_unique<SettingController>();
    dial = std::make_unique<DialController>();
    dial->wndMain = window.get();
    connectButton = new QPushButton(window.get());
    dial->m_ConnectButton = connectButton;
    init->setNetworkRoamStatus(1);
  }
  void TearDown() override {
    dial.reset();
    settings.reset();
    init.reset();
    window.reset();
    RecordsFixture::TearDown();
  }
  // Runs the checks as the connect button would: disabled first, enabled again by a refusal.
  bool connectPressed(QObject *sender) {
    connectButton->setEnabled(false);
    return dial->runPreConnectChecks(sender);
  }
  static QStringList messages(const ScriptedAnswers &answers) {
    QStringList out;
    for (const ModalQuestion &q : answers.asked())
      out << q.message;
    return out;
  }
};

struct OrderCase {
  const char *name;
  QList<int> answers;
  bool goesOn;
  QStringList asked;
};

class PreConnectOrder : public PreConnectFixture, public ::testing::WithParamInterface<OrderCase> {};

// Every question is configured: the connect question, roaming (with the 2G question) and the
// data limit (a period is set and the limit is passed).
TEST_P(PreConnectOrder, EachRefusalStopsWithTheButtonEnabled) {
  const OrderCase &c = GetParam();
  set("Internet", "PopUpConnectWaring", true);
  set("Internet", "Internet_PopAlertWindow_IfConnect2GNetwork", true);
  set("Internet", "dataLimitWarning", true);
  set("Record", "IfSetRecordResetEveryDays", true);
  set("Record", "recordLimitState", true);
  set("Record", "recordDataLimit", 1);
  writeRecords({record("big", "2024-03-15T08:00:00Z", 10, "2048", "0")});
  init->setNetworkRoamStatus(0);
  dial->setIs2GNetWork(true);
  ScriptedAnswers answers(c.answers);
  EXPECT_EQ(connectPressed(connectButton), c.goesOn);
  EXPECT_EQ(messages(answers), c.asked);
  EXPECT_EQ(connectButton->isEnabled(), !c.goesOn);
}

const QString kConnect = "Do you want to establish a connection?";
const QString kRoam = "Cost will be increased at roaming status";
const QString kLimit = "Pre-set limit has been reached. Do you want to connect anyway?";

INSTANTIATE_TEST_SUITE_P(
    PreConnectTable, PreConnectOrder,
    ::testing::Values(OrderCase{"AllAccepted", {1, 1, 1, 1}, true, {kConnect, kRoam, kRoam, kLimit}},
                      OrderCase{"ConnectRefused", {0}, false, {kConnect}},
                      // A refused roaming question stands: the 2G question is not asked.
                      OrderCase{"RoamingRefused", {1, 0, 1}, false, {kConnect, kRoam}},
                      OrderCase{"TwoGRefused", {1, 1, 0}, false, {kConnect, kRoam, kRoam}},
                      OrderCase{"LimitRefused", {1, 1, 1, 0}, false, {kConnect, kRoam, kRoam, kLimit}}),
    [](const ::testing::TestParamInfo<OrderCase> &info) { return std::string(info.param.name); });

using PreConnect = PreConnectFixture;

TEST_F(PreConnect, RoamingRefusedMarksAManualDisconnectAndTheContinueWording) {
  set("Internet", "RoamAlertContinue", true);
  init->setNetworkRoamStatus(0);
  ScriptedAnswers answers(QList<int>{0});
  EXPECT_FALSE(dial->allowRoamWithAlert());
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked()[0].defaultButton, "Continue");
  EXPECT_TRUE(dial->manualDisconnectFlag());
}

TEST_F(PreConnect, ForbiddenRoamingAlertStillAsksOnTwoG) {
  set("Internet", "ForbidRoamingAlert", true);
  set("Internet", "Internet_PopAlertWindow_IfConnect2GNetwork", true);
  init->setNetworkRoamStatus(0);
  ScriptedAnswers answers(QList<int>{1});
  dial->setIs2GNetWork(false);
  EXPECT_TRUE(dial->allowRoamWithAlert());
  EXPECT_TRUE(answers.asked().isEmpty());
  dial->setIs2GNetWork(true);
  EXPECT_TRUE(dial->allowRoamWithAlert());
  EXPECT_EQ(answers.asked().size(), 1);
}

TEST_F(PreConnect, TheDeviceLockCodeGuardsEveryConnectButTheOneAfterAnUnlock) {
  set("", "DeviceLockDialFunction", true);
  settings->setDeviceUnlockCodeState(true);
  QPushButton simple;
  for (QObject *sender :
       {static_cast<QObject *>(connectButton), static_cast<QObject *>(&simple), static_cast<QObject *>(nullptr)}) {
    init->setDeviceLockFunctionModule(5);
    EXPECT_TRUE(dial->checkDeviceLockStatus(sender));
    EXPECT_EQ(init->getDeviceLockFunctionModule(), 0);
    EXPECT_TRUE(init->unlockDeviceSheet()->isVisible());
    init->unlockDeviceSheet()->hide();
  }
  EXPECT_FALSE(dial->checkDeviceLockStatus(DialController::deviceUnlockedSender()));
  EXPECT_FALSE(init->unlockDeviceSheet()->isVisible());
  // The road stops at the code window, with the button usable again afterwards.
  EXPECT_FALSE(connectPressed(connectButton));
  EXPECT_TRUE(connectButton->isEnabled());

  // No lock code set, or the function off: nothing asked.
  settings->setDeviceUnlockCodeState(false);
  EXPECT_FALSE(dial->checkDeviceLockStatus(connectButton));
  settings->setDeviceUnlockCodeState(true);
  set("", "DeviceLockDialFunction", false);
  EXPECT_FALSE(dial->checkDeviceLockStatus(connectButton));
}

// The code window answers through "DeviceUnlockSuccess": the connect that asked for it goes on
// to its next check (here the connect question), and an answer meant for another feature's
// window starts nothing.
TEST_F(PreConnect, AnAcceptedCodeResumesTheConnectThatAskedForIt) {
  set("", "DeviceLockDialFunction", true);
  set("Internet", "PopUpConnectWaring", true);
  settings->setDeviceUnlockCodeState(true);
  // As the controller's start-up registers it.
  dial->registerNotification(deviceFunctionNotficationTable);
  {
    ScriptedAnswers answers(QList<int>{0});
    init->setDeviceLockFunctionModule(2);
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeviceUnlockSuccess"));
    EXPECT_TRUE(answers.asked().isEmpty());
  }
  ScriptedAnswers answers(QList<int>{0});
  init->setDeviceLockFunctionModule(0);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeviceUnlockSuccess"));
  EXPECT_EQ(messages(answers), QStringList{kConnect});
  EXPECT_FALSE(init->unlockDeviceSheet()->isVisible());
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeviceUnlockFailed"));
  EXPECT_EQ(answers.asked().size(), 1);
}

TEST_F(PreConnect, LimitQuestionsOnlyWithAPeriodAndAPositiveLimit) {
  set("Internet", "dataLimitWarning", true);
  set("Internet", "timeLimitWarning", true);
  set("Record", "recordLimitState", true);
  set("Record", "recordDataLimit", 1);
  writeRecords({record("big", "2024-03-15T08:00:00Z", 7200, "4096", "0")});
  ScriptedAnswers answers(QList<int>{0, 0});
  // No reset period: no question.
  EXPECT_TRUE(dial->displayLimitWarningBeforeConnect());
  set("Record", "IfSetRecordResetFrequence", true);
  set("Record", "recordDataLimit", 0);
  EXPECT_TRUE(dial->displayLimitWarningBeforeConnect());
  EXPECT_TRUE(answers.asked().isEmpty());
  set("Record", "recordDataLimit", 2);
  EXPECT_FALSE(dial->displayLimitWarningBeforeConnect());
  EXPECT_FALSE(dial->autoDisconnectFlag);

  // Time: 2 hours recorded against a limit of 2 hours brought forward by the delay.
  set("Record", "recordLimitState", false);
  set("Record", "recordTimeLimit", 2.5);
  EXPECT_TRUE(dial->displayLimitWarningBeforeConnect());
  EXPECT_TRUE(dial->autoDisconnectFlag);
  set("Internet", "LimitDisconnectDelay", 1800);
  EXPECT_FALSE(dial->displayLimitWarningBeforeConnect());
  // A limit the delay brings below one second never asks.
  set("Record", "recordTimeLimit", 0.5);
  EXPECT_TRUE(dial->displayLimitWarningBeforeConnect());
  EXPECT_EQ(answers.asked().size(), 2);
}

TEST_F(PreConnect, ASavedConnectionIsNotCountedTwice) {
  set("Internet", "dataLimitWarning", true);
  set("Record", "IfSetRecordResetFrequence", true);
  set("Record", "recordLimitState", true);
  set("Record", "recordDataLimit", 1);
  writeRecords({record("this one", "2024-03-15T08:00:00Z", 10, "600", "0")});
  dial->setLimitFigures({600 * 1024, 0, 10});
  ScriptedAnswers answers(QList<int>{1});
  EXPECT_TRUE(dial->displayDataLimitWarning());
  EXPECT_EQ(answers.asked().size(), 1);
  dial->saveRecordFlag = true;
  EXPECT_TRUE(dial->displayDataLimitWarning());
  EXPECT_EQ(answers.asked().size(), 1);
}

TEST_F(PreConnect, WhiteListQuestionsBeforeAndAfterConnecting) {
  set("Internet", "z3iRemindWhilteNetAlertBeforeConnect", true);
  set("Internet", "alertWhenRoamConnectedAndIsBlackNet", true);
  set("Internet", "InternetWhiteList", QVariantMap{{"one", "26201"}});
  init->setMccmnc("26201");
  // At home: no question.
  ScriptedAnswers answers(QList<int>{0});
  EXPECT_TRUE(dial->doBeforeConnect());
  init->setNetworkRoamStatus(0);
  connectButton->setEnabled(false);
  EXPECT_FALSE(dial->doBeforeConnect());
  EXPECT_TRUE(connectButton->isEnabled());
  EXPECT_EQ(messages(answers), QStringList({"remindInWhiteList"}));
  // Connected on a network outside the list.
  dial->setConnectStatus(DialController::kConnected);
  dial->doAfterConnected();
  EXPECT_EQ(answers.asked().size(), 1);
  init->setMccmnc("20801");
  dial->doAfterConnected();
  EXPECT_EQ(messages(answers).last(), "connectedNotInWhiteList");
}

TEST_F(PreConnect, DisconnectQuestionAndCloseAction) {
  ScriptedAnswers answers(QList<int>{0});
  EXPECT_TRUE(dial->allowUserDisconnect());
  set("Internet", "PopUpDisconnectWaring", true);
  EXPECT_FALSE(dial->allowUserDisconnect());
  EXPECT_EQ(messages(answers), QStringList({"Do you want to terminate current connection?"}));

  set("MAINFORM", "CloseAppWihoutQueryConnection", true);
  dial->setConnectStatus(DialController::kConnecting);
  dial->performCloseActionForZID();
  // The road asked the modem to stop; the state follows its answer.
  EXPECT_EQ(dial->connectStatus(), DialController::kDisconnecting);
  // A second close request while closing does nothing more.
  dial->setConnectStatus(DialController::kConnected);
  dial->performCloseActionForZID();
  EXPECT_EQ(dial->connectStatus(), DialController::kConnected);
}

} // namespace
