// The call stage machine of both modes, as tables: stage and event in; stage, notifications,
// audio start and stop, requests and the log record out.
#include "CallFixture.h"
#include "SeqGrab.h"

namespace {

using Stage = CompoundCallController::Stage;

class SingleCall : public CallFixture {
protected:
  void SetUp() override {
    CallFixture::SetUp();
    deviceReady();
  }
  // Brings the controller into `stage` the way the backend would.
  void reach(int stage) {
    switch (stage) {
    case Stage::kDialling:
      dial(QStringLiteral("5550100"));
      break;
    case Stage::kActive:
      dial(QStringLiteral("5550100"));
      call->callStageDidChange(1);
      call->callStageDidChange(5);
      break;
    case Stage::kIncoming:
      call->showIncomingCall(QStringLiteral("5550200"));
      break;
    case Stage::kAnswering:
      call->showIncomingCall(QStringLiteral("5550200"));
      call->answerCall();
      break;
    default:
      break;
    }
    ASSERT_EQ(call->callStage(), stage);
    posted.clear();
    requests.clear();
  }
};

struct StageCase {
  const char *name;
  int from;
  int code;
  int to;
  QStringList posts;    // call notifications expected (others ignored)
  int audioStarts;      // change in starts
  int audioStops;       // change in stops
  const char *callType; // log record made, or null
  const char *callTime; // its "calltime", or null for none / any
};

QStringList callPosts(const QStringList &all) {
  static const QStringList kCallNotifications = {"callSuccessed", "connectedCall", "hangupCall",
                                                 "callFailed",    "callError",     "aMissedCall"};
  QStringList out;
  for (const QString &n : all)
    if (kCallNotifications.contains(n))
      out << n;
  return out;
}

TEST_F(SingleCall, StageCodesMoveTheStageAsTheModemReports) {
  const QList<StageCase> cases = {
      {"delivered", Stage::kDialling, 1, Stage::kDialling, {"callSuccessed"}, 1, 0, nullptr, nullptr},
      {"answered by far end", Stage::kDialling, 5, Stage::kActive, {"connectedCall"}, 0, 0, nullptr, nullptr},
      {"established incoming", Stage::kAnswering, 5, Stage::kActive, {}, 1, 0, nullptr, nullptr},
      {"far end hung up", Stage::kActive, 6, Stage::kIdle, {"hangupCall"}, 0, 1, "dialedCall", nullptr},
      {"failed", Stage::kDialling, 8, Stage::kIdle, {"callFailed"}, 0, 0, "dialedCall", "00:00:00"},
      {"error", Stage::kDialling, 2, Stage::kIdle, {"callError"}, 0, 0, "dialedCall", "00:00:00"},
      {"caller gave up",
       Stage::kIncoming,
       7,
       Stage::kIdle,
       {"aMissedCall", "hangupCall"},
       0,
       0,
       "missedCall",
       "00:00:00"},
      {"code 7 in a call", Stage::kActive, 7, Stage::kActive, {}, 0, 0, nullptr, nullptr},
      {"code 0", Stage::kActive, 0, Stage::kActive, {}, 0, 0, nullptr, nullptr},
      {"code 3", Stage::kDialling, 3, Stage::kDialling, {}, 0, 0, nullptr, nullptr},
      {"code 4", Stage::kDialling, 4, Stage::kDialling, {}, 0, 0, nullptr, nullptr},
      {"code 99", Stage::kActive, 99, Stage::kActive, {}, 0, 0, nullptr, nullptr},
  };
  for (const StageCase &c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    reach(c.from);
    const int starts = call->audioStarts(), stops = call->audioStops();
    const qsizetype records = log->recordList().size();
    call->callStageDidChange(c.code);
    EXPECT_EQ(call->callStage(), c.to);
    EXPECT_EQ(callPosts(posted), c.posts);
    EXPECT_EQ(call->audioStarts() - starts, c.audioStarts);
    EXPECT_EQ(call->audioStops() - stops, c.audioStops);
    if (c.callType) {
      ASSERT_EQ(log->recordList().size(), records + 1);
      EXPECT_EQ(lastRecord().value("callType").toString(), QLatin1String(c.callType));
      if (c.callTime)
        EXPECT_EQ(lastRecord().value("calltime").toString(), QLatin1String(c.callTime));
      else
        EXPECT_TRUE(lastRecord().contains("calltime"));
    } else {
      EXPECT_EQ(log->recordList().size(), records);
    }
  }
}

TEST_F(SingleCall, DialSendsTheNumberAndHangUpEndsTheCall) {
  dial(QStringLiteral("+49 30 1234"));
  ASSERT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  EXPECT_EQ(requests.first().data.left(8), QByteArray("+49 30 1"));
  EXPECT_FALSE(call->page->dial->isEnabled());
  EXPECT_TRUE(call->page->hangup->isEnabled());
  EXPECT_TRUE(call->isPromptRunning());
  EXPECT_TRUE(posted.contains("DataServiceSwitch"));
  call->callStageDidChange(1);
  call->callStageDidChange(5);
  EXPECT_TRUE(call->isCallTimerRunning());
  EXPECT_FALSE(call->isPromptRunning()); // the dialling animation ends with the dialling stage
  call->hangClicked();
  EXPECT_EQ(minors().last(), CallPackages::kHangupMinor);
  EXPECT_EQ(call->audioStops(), 1);
  call->callStageDidChange(6);
  EXPECT_EQ(call->callStage(), 0);
  EXPECT_FALSE(call->isCallTimerRunning());
  EXPECT_TRUE(call->page->timing->text().isEmpty());
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("dialedCall"));
}

TEST_F(SingleCall, AnsweringARingingCallSendsAnswerAndShowsConnecting) {
  reach(Stage::kIncoming);
  EXPECT_TRUE(call->hasIncomingCall());
  call->answerCall();
  EXPECT_EQ(minors(), QList<int>({CallPackages::kAnswerMinor}));
  EXPECT_EQ(call->callStage(), Stage::kAnswering);
  EXPECT_TRUE(call->isDtmfEnabled());
  EXPECT_TRUE(call->isPromptRunning());
  call->callStageDidChange(5);
  EXPECT_FALSE(call->isPromptRunning()); // "Status:connect" stops once the call is up
  call->callStageDidChange(6);
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("recivedCall"));
}

TEST_F(SingleCall, AnswerOrDialDuringACallSendsNothingAndSaysWhy) {
  for (int stage : {int(Stage::kActive), int(Stage::kAnswering), int(Stage::kDialling)}) {
    SCOPED_TRACE(stage);
    TearDown();
    SetUp();
    reach(stage);
    call->answerCall();
    call->page->dialNumber->setText(QStringLiteral("5550300"));
    call->selectDialCallStyle();
    EXPECT_FALSE(minors().contains(CallPackages::kDialMinor));
    EXPECT_EQ(alertMessage(), QStringLiteral("Please disconnect the voice call firstly!"));
    EXPECT_EQ(call->callStage(), stage);
  }
  // Idle: answerCall does nothing at all.
  TearDown();
  SetUp();
  call->answerCall();
  EXPECT_TRUE(requests.isEmpty());
  EXPECT_TRUE(answers->asked().isEmpty());
}

TEST_F(SingleCall, ADropWhileHeldStopsTheTimerAndEmptiesItsLabel) {
  reach(Stage::kActive);
  ASSERT_TRUE(call->isCallTimerRunning());
  call->setCallStage(Stage::kHeld);
  call->callStageDidChange(8);
  EXPECT_EQ(call->callStage(), 0);
  EXPECT_FALSE(call->isCallTimerRunning());
  EXPECT_TRUE(call->page->timing->text().isEmpty());
}

// A machine without a microphone lacks one on every call: the notice comes with the first call
// of the session only, and the calls go on without it.
TEST_F(SingleCall, TheMissingAudioChannelIsToldOnceASession) {
  SGAudio::setSourceFactory([] { return std::unique_ptr<AudioCaptureSource>(); });
  struct Restore {
    ~Restore() { SGAudio::setSourceFactory({}); }
  } restore;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    reach(Stage::kActive);
    EXPECT_TRUE(call->isAudioRunning());
    call->callStageDidChange(6);
    ASSERT_EQ(call->callStage(), 0);
  }
  int notices = 0;
  for (const ModalQuestion &q : answers->asked())
    notices += q.message.contains(QStringLiteral("audio channel")) ? 1 : 0;
  EXPECT_EQ(notices, 1);
}

// What the call plug-in is told: the stage, the page's status words and the buttons the page
// offers, through a ring, its answer and its end; the page's Dial says Answer while it answers.
TEST_F(SingleCall, ThePlugInIsToldTheStateThePageShows) {
  const auto told = [this] {
    QVariantMap last;
    for (int i = 0; i < posted.size(); ++i)
      if (posted.at(i) == QLatin1String(CompoundCallController::kCallStateChanged))
        last = postedInfo.at(i);
    return last;
  };
  const auto offered = [&told] {
    const QVariantMap s = told();
    return QList<bool>{s.value("CanDial").toBool(), s.value("CanAnswer").toBool(), s.value("CanHangup").toBool()};
  };
  call->showIncomingCall(QStringLiteral("5550200"));
  EXPECT_EQ(told().value("CallStage").toInt(), int(Stage::kIncoming));
  EXPECT_EQ(offered(), QList<bool>({false, true, true}));
  EXPECT_EQ(call->page->dial->text(), QStringLiteral("Answer"));
  EXPECT_TRUE(call->page->dialStatus->text().startsWith(told().value("CallStatus").toString()));
  EXPECT_EQ(told(), call->callState());
  call->answerCall();
  call->callStageDidChange(5);
  EXPECT_EQ(told().value("CallStage").toInt(), int(Stage::kActive));
  EXPECT_EQ(told().value("CallStatus").toString(), call->page->dialStatus->text());
  EXPECT_EQ(offered(), QList<bool>({false, false, true}));
  EXPECT_EQ(call->page->dial->text(), QStringLiteral("Dial"));
  call->callStageDidChange(6);
  EXPECT_EQ(told().value("CallStage").toInt(), 0);
  EXPECT_EQ(told().value("CallStatus").toString(), call->page->dialStatus->text());
  EXPECT_EQ(offered(), QList<bool>({true, false, false}));
}

// ---- waiting calls of single-call mode ----

class WaitingCall : public SingleCall {
protected:
  QVariantMap callSettings() const override { return {{"SupportCallWait", true}, {"IncomingCallClosetime", 0}}; }
  void waiting() {
    reach(Stage::kActive);
    call->showWaitingCall(QStringLiteral("5550999"));
    ASSERT_EQ(call->callStage(), Stage::kWaiting);
    ASSERT_TRUE(call->page->tipWindow->isVisible());
    requests.clear();
  }
};

TEST_F(WaitingCall, TipAnswerSwapsAndTipHangupEndsTheTipCall) {
  waiting();
  call->incomingCallTipAnswer();
  EXPECT_EQ(chldValues(), QList<quint32>({2}));
  EXPECT_EQ(call->callStage(), Stage::kTwoParties);
  call->incomingCallTipHangup();
  // The tip call is the active one: CHLD 1 ends it and brings the main call back.
  EXPECT_EQ(chldValues(), QList<quint32>({2, 1}));
  EXPECT_EQ(call->callStage(), Stage::kActive);
  EXPECT_FALSE(call->page->tipWindow->isVisible());
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550999"));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("recivedCall"));
  EXPECT_EQ(call->dialNumberString(), QStringLiteral("5550100"));
}

TEST_F(WaitingCall, TipHangupOfAnUnansweredOrHeldTipCallReleasesItWithChldZero) {
  waiting();
  call->incomingCallTipHangup();
  EXPECT_EQ(chldValues(), QList<quint32>({0}));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("missedCall"));
  EXPECT_EQ(lastRecord().value("calltime").toString(), QStringLiteral("00:00:00"));

  TearDown();
  SetUp();
  waiting();
  call->incomingCallTipAnswer(); // CHLD 2: tip active, main held
  call->selectDialCallStyle();   // CHLD 2 again: main active, tip held
  call->incomingCallTipHangup(); // the held tip call goes
  EXPECT_EQ(chldValues(), QList<quint32>({2, 2, 0}));
}

TEST_F(WaitingCall, MainHangupKeepsItsChoiceAndTheTipCallBecomesTheMainCall) {
  waiting();
  call->incomingCallTipAnswer();
  call->hangClicked();
  // Dial is enabled after the tip answer: CHLD 0 releases the held main call.
  EXPECT_EQ(chldValues(), QList<quint32>({2, 0}));
  EXPECT_EQ(call->callStage(), Stage::kActive);
  EXPECT_EQ(call->dialNumberString(), QStringLiteral("5550999"));
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550100"));
  EXPECT_FALSE(call->hasIncomingCallInTip());
}

TEST_F(WaitingCall, AnEmptyCallerListLogsTheWaitingCallBeforeTheMainCall) {
  waiting();
  const qsizetype before = log->recordList().size();
  call->receiveCallerListInSingleMode({});
  EXPECT_EQ(call->callStage(), 0);
  ASSERT_EQ(log->recordList().size(), before + 2);
  EXPECT_EQ(log->recordList().at(before).toMap().value("mobilephone").toString(), QStringLiteral("5550999"));
  EXPECT_EQ(log->recordList().at(before).toMap().value("callType").toString(), QStringLiteral("missedCall"));
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550100"));
  EXPECT_FALSE(call->page->tipWindow->isVisible());
}

// With call waiting on, the end of the last call comes as an empty caller list: it is told as a
// hang-up, as the stage code tells it otherwise (once; a second empty list tells nothing).
TEST_F(WaitingCall, AnEmptyCallerListIsToldAsAHangUp) {
  reach(Stage::kActive);
  call->callStageDidChange(6);
  EXPECT_EQ(minors().last(), CallPackages::kCallerListMinor);
  EXPECT_EQ(call->callStage(), int(Stage::kActive));
  call->receiveCallerListInSingleMode({});
  EXPECT_EQ(call->callStage(), 0);
  EXPECT_EQ(callPosts(posted), QStringList({"hangupCall"}));
  call->receiveCallerListInSingleMode({});
  EXPECT_EQ(callPosts(posted), QStringList({"hangupCall"}));
}

TEST_F(WaitingCall, ACallerListInTwoPartiesSettlesWhoIsLeft) {
  struct Case {
    const char *name;
    QList<CallPackages::CallerRecord> callers;
    int stage;
    const char *mainNumber;
  } cases[] = {
      {"main held", {caller(1, 0, 1, "5550100")}, Stage::kHeld, "5550100"},
      {"tip left, main active", {caller(1, 0, 0, "5550100")}, Stage::kActive, "5550100"},
      {"main left, tip active", {caller(2, 1, 0, "5550999")}, Stage::kActive, "5550999"},
      {"main left, tip ringing", {caller(2, 1, 4, "5550999")}, Stage::kIncoming, "5550999"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    waiting();
    call->incomingCallTipAnswer();
    call->receiveCallerListInSingleMode(c.callers);
    EXPECT_EQ(call->callStage(), c.stage);
    EXPECT_EQ(call->dialNumberString(), QLatin1String(c.mainNumber));
    EXPECT_FALSE(call->page->tipWindow->isVisible());
  }
}

TEST_F(WaitingCall, StageCodeSevenDuringAWaitingCallLogsItAndGoesBackToTheCall) {
  waiting();
  call->callStageDidChange(7);
  EXPECT_EQ(call->callStage(), Stage::kActive);
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("missedCall"));
  call->callStageDidChange(6); // with waiting calls on, code 6 asks who is left
  EXPECT_EQ(minors().last(), CallPackages::kCallerListMinor);
}

// ---- multi-call mode ----

class MultiCall : public CallFixture {
protected:
  QVariantMap callSettings() const override { return {{"SupportMultipleCall", true}}; }
  void SetUp() override {
    CallFixture::SetUp();
    deviceReady();
  }
};

TEST_F(MultiCall, TheLastCallerLeavingIsToldAsAHangUp) {
  call->upDateCaller({caller(1, 0, 0, "1"), caller(2, 1, 1, "2")});
  call->upDateCaller({caller(1, 0, 0, "1")});
  EXPECT_FALSE(posted.contains("hangupCall")) << "a call is still up";
  call->upDateCaller({});
  EXPECT_EQ(call->callStage(), 0);
  EXPECT_EQ(posted.count("hangupCall"), 1);
  EXPECT_FALSE(call->callState().value("CanHangup").toBool());
}

TEST_F(MultiCall, TheStageIsFormedFromTheCallers) {
  struct Case {
    const char *name;
    QList<CallPackages::CallerRecord> callers;
    int stage;
    bool hold, multiple;
  } cases[] = {
      {"active", {caller(1, 0, 0, "1")}, 1, true, false},
      {"held alone", {caller(1, 0, 1, "1")}, 2, true, false},
      {"active and held", {caller(1, 0, 0, "1"), caller(2, 1, 1, "2")}, 3, false, true},
      {"active and waiting", {caller(1, 0, 0, "1"), caller(2, 1, 5, "2")}, 32, false, false},
      {"dialling", {caller(1, 0, 2, "1")}, 4, false, false},
      {"alerting and held", {caller(1, 0, 3, "1"), caller(2, 0, 1, "2")}, 4, false, false},
      {"incoming", {caller(1, 1, 4, "1")}, 16, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    call->upDateCaller(c.callers);
    EXPECT_EQ(call->callStage(), c.stage);
    EXPECT_EQ(call->page->hold->isEnabled(), c.hold);
    EXPECT_EQ(call->page->multipleCall->isEnabled(), c.multiple);
    EXPECT_EQ(call->page->callerTable->rowCount(), c.callers.size());
    EXPECT_EQ(call->isAudioRunning(), c.stage != 16);
  }
}

TEST_F(MultiCall, CallersThatLeaveAreLoggedByKind) {
  call->upDateCaller(
      {caller(1, 0, 0, "5551"), caller(2, 1, 5, "5552"), caller(3, 0, 2, "5553"), caller(4, 1, 4, "5554")});
  call->upDateCaller({caller(1, 0, 0, "5551"), caller(4, 1, 0, "5554")});
  ASSERT_EQ(log->recordList().size(), 2);
  QMap<QString, QString> kinds;
  for (const QVariant &v : log->recordList())
    kinds.insert(v.toMap().value("mobilephone").toString(), v.toMap().value("callType").toString());
  EXPECT_EQ(kinds.value("5552"), QStringLiteral("missedCall"));
  EXPECT_EQ(kinds.value("5553"), QStringLiteral("dialedCall"));
  EXPECT_EQ(log->recordList().at(0).toMap().value("calltime").toString(), QStringLiteral("00:00:00"));
  EXPECT_FALSE(posted.contains("aMissedCall")); // multi-call mode raises no hint
  // Everyone leaves: the answered incoming caller is received, the call ends as a disconnect does.
  posted.clear();
  postedInfo.clear();
  call->upDateCaller({});
  EXPECT_EQ(call->callStage(), 0);
  EXPECT_FALSE(call->isAudioRunning());
  EXPECT_FALSE(call->isDtmfEnabled());
  EXPECT_TRUE(call->callers().isEmpty());
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("dialedCall"));
  EXPECT_EQ(log->recordList().at(2).toMap().value("callType").toString(), QStringLiteral("recivedCall"));
  const qsizetype at = posted.indexOf(QStringLiteral("DataServiceSwitch"));
  ASSERT_GE(at, 0);
  EXPECT_TRUE(postedInfo.at(at).value("DataServiceSwitch").toBool());
  EXPECT_EQ(call->connectTime(), 0);
}

TEST_F(MultiCall, HoldJoinAndReleaseOfOneCaller) {
  call->upDateCaller({caller(1, 0, 0, "5551"), caller(3, 1, 1, "5553")});
  call->callHold();
  call->multipleCall();
  EXPECT_EQ(chldValues(), QList<quint32>({2, 3}));
  EXPECT_EQ(minors().at(1), CallPackages::kCallerListMinor);
  requests.clear();
  call->page->callerTable->selectRow(1);
  call->hangClicked();
  EXPECT_EQ(chldValues(), QList<quint32>({13}));
  EXPECT_EQ(minors().last(), CallPackages::kCallerListMinor);
  // No row chosen: ask before ending every call.
  requests.clear();
  call->page->callerTable->clearSelection();
  call->hangClicked();
  EXPECT_EQ(alertMessage(), QStringLiteral("Are you sure you want to end multiple call?"));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kHangupMinor}));
  // A single caller is simply hung up.
  requests.clear();
  call->upDateCaller({caller(1, 0, 0, "5551")});
  call->hangClicked();
  EXPECT_EQ(minors(), QList<int>({CallPackages::kHangupMinor}));
}

TEST_F(MultiCall, StageCodesOnlyAskForTheCallerList) {
  UIMsg m;
  m.setPayload(QByteArray("\x05\0\0\0", 4));
  call->dealWithMsgOfCallStageChanged(notificationOf(m));
  call->dealWithMultipleCallOptResult(notificationOf(m));
  EXPECT_EQ(minors(), QList<int>({CallPackages::kCallerListMinor, CallPackages::kCallerListMinor}));
  EXPECT_EQ(call->callStage(), 0);
}

} // namespace
