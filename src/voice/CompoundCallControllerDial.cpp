// Dialling, answering and hanging up one call, the keypad and the number field, the backend's
// stage codes and the end of a call.
#include "CompoundCallController.h"

#include "CallPackages.h"
#include "CallRecordController.h"
#include "ConfigService.h"
#include "Platform.h"

// ---- Dial ----

void CompoundCallController::selectDialCallStyle(QObject *) {
  stopSound();
  switch (m_callStage) {
  case kIncoming:
    answerIncomingCall();
    return;
  case kHeld:
    dealDialWithCallHoldStage();
    return;
  case kTwoParties:
    dealDialWithCallHoldConnectedStage();
    return;
  case kWaiting:
    dealDialWithCallWaitStage();
    return;
  case kDialling:
    alertCallInProgress();
    return;
  case kActive:
  case kAnswering:
    // A call is up or being answered: a second dial would only confuse the modem.
    if (!supportMultipleCall()) {
      alertCallInProgress();
      return;
    }
    break;
  default:
    break;
  }
  if (m_callStage == kIdle && numberFieldText().isEmpty()) {
    notifyChangeTabViewItem(QStringLiteral("Record"));
    if (g_CallRecordController)
      g_CallRecordController->selectRecordPosition();
    return;
  }
  originateVoiceCall();
}

void CompoundCallController::answerCall(QObject *sender) {
  if (m_callStage == kIdle)
    return;
  selectDialCallStyle(sender);
}

void CompoundCallController::alertCallInProgress() {
  alertWithItemTitle(m_callStyle == 1 ? QStringLiteral("Please disconnect the videocall firstly!")
                                      : QStringLiteral("Please disconnect the voice call firstly!"));
}

void CompoundCallController::originateVoiceCall() {
  const QString number = numberFieldText();
  m_isdtmfEnabled = false;
  if (m_netCardState != 0) {
    alert(QStringLiteral("Warning"), QStringLiteral("Please wait for NetCard get online!"));
    notificationCenter->postNotificationName(QString::fromLatin1(kCallDatacardNotReady), this);
    return;
  }
  QString prompt;
  if (urgentCallNumberList.contains(number)) {
    m_isUrgentCall = true;
    setCallStage(kDialling);
    sendCommandOfVoiceCallToNumber(number);
    m_callStyle = 0;
    prompt = QStringLiteral("Status:urgent call");
  } else if (m_simCardState != 0) {
    alert(QStringLiteral("Warning"), QStringLiteral("Please wait for SIM Card get online!"));
    notificationCenter->postNotificationName(QString::fromLatin1(kCallDatacardNotReady), this);
    return;
  } else if (isUssdComand(number)) {
    return;
  } else {
    m_isUrgentCall = false;
    setCallStage(kDialling);
    sendCommandOfVoiceCallToNumber(number);
    m_callStyle = 0;
    prompt = QStringLiteral("Status:call");
  }
  m_dialNumberString = number;
  m_hasIncomingCall = false;
  addRecentSearch(number);
  spinDialPrompt(prompt);
  notifyDataServiceSwitch(false);
  setCallName(number);
  enableHangup(true);
  enableDial(false);
  setMenuItems(false, true);
  enableNumberField(false);
}

bool CompoundCallController::isUssdComand(const QString &text) {
  if (!ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("SupportUssdCommand")))
    return false;
  if (!text.startsWith(QLatin1Char('*')) || !text.endsWith(QLatin1Char('#')))
    return false;
  notificationCenter->postNotificationName(QString::fromLatin1(kSendUssdComand), this,
                                           {{QString::fromLatin1(kSendUssdComand), text}});
  notifyChangeTabViewItem(QStringLiteral("USSD1"));
  setNumberField(QString());
  return true;
}

void CompoundCallController::makeCallWithPhoneNumber(const Notification &n) {
  const QVariant value = n.userInfo.value(QString::fromLatin1(kCallWithPhoneNumber));
  if (!value.isValid() || value.isNull())
    return;
  const QString number = value.toString();
  if (number.isEmpty()) {
    alert(QStringLiteral("Warning"), QStringLiteral("Please input a phone number!"));
    return;
  }
  notificationCenter->postNotificationName(QString::fromLatin1(kWillMakeCall), this);
  if (m_callStage != kIdle) {
    alertCallInProgress();
    return;
  }
  setNumberField(number);
  notifyChangeTabViewItem(QStringLiteral("Call"));
  if (wndMain) {
    wndMain->show();
    wndMain->raise();
  }
  selectDialCallStyle(nullptr);
}

void CompoundCallController::dealDialWithCallHoldStage() {
  if (supportMultipleCall()) {
    if (numberFieldText().isEmpty()) {
      alertWithItemTitle(QStringLiteral("The number should not be null!"));
      return;
    }
    originateVoiceCall();
    return;
  }
  sendCHLDCmdWithOption(2);
  setCallStage(kActive);
  enableDial(false);
  setStatus(QStringLiteral("Status:In use"));
}

void CompoundCallController::dealDialWithCallHoldConnectedStage() {
  sendCHLDCmdWithOption(2);
  setCallStage(kTwoParties);
  if (page && page->tipWindow) {
    page->tipWindow->answer->setEnabled(true);
    page->tipWindow->title->setText(word(QStringLiteral("Call holding")));
  }
  tipCallActive_ = !tipCallActive_;
  enableDial(false);
  setStatus(QStringLiteral("Status:In use"));
}

void CompoundCallController::dealDialWithCallWaitStage() {
  if (supportMultipleCall() && !hasIncomingCallInTip_) {
    sendCHLDCmdWithOption(2);
    setCallStage(kTwoParties);
    checkCallerState();
    enableDial(false);
    setStatus(QStringLiteral("Status:In use"));
    return;
  }
  incomingCallTipAnswer(nullptr);
}

// ---- answer ----

void CompoundCallController::answerIncomingCall() {
  stopSound(kSoundIncomingCall);
  m_isdtmfEnabled = true;
  sendCommandOfAnswerCall();
  setCallStage(kAnswering);
  spinDialPrompt(QStringLiteral("Status:connect"));
  enableHangup(true);
  enableDial(false);
  enableNumberField(false);
  setMenuItems(false, true);
}

// ---- hang-up ----

void CompoundCallController::hangClicked(QObject *) {
  if (m_callStage == kIdle)
    return;
  if (supportMultipleCall()) {
    hangClickedWhenSupportMultipleCall();
    return;
  }
  hangupInSingleMode();
}

void CompoundCallController::hangupInSingleMode() {
  if (m_callStage == kWaiting || m_callStage == kTwoParties) {
    if (supportCallWait())
      hangupWaitingCallFromMainPage();
    return;
  }
  enableNumberField(true);
  switch (m_callStage) {
  case kDialling:
    sendCommandOfHangupCall();
    break;
  case kActive:
    stopVoiceDataSequenceGrabbing();
    sendCommandOfHangupCall();
    currentRecord_.clear();
    break;
  case kIncoming:
  case kAnswering:
    currentRecord_.clear();
    stopSound(kSoundIncomingCall);
    sendCommandOfHangupCall();
    setStatus(QStringLiteral("Status:Idle"));
    break;
  default:
    break;
  }
}

void CompoundCallController::hangupWaitingCallFromMainPage() {
  if (page && page->dial->isEnabled()) {
    enableDial(false);
    sendCHLDCmdWithOption(0);
  } else {
    sendCHLDCmdWithOption(1);
  }
  setCallStage(kActive);
  setStatus(QStringLiteral("Status:In use"));
  saveCallRecordOfMainCall();
  changeCallWindow();
}

void CompoundCallController::changeCallWindow() {
  setNumberField(phoneNumberInCallTip_);
  m_dialNumberString = phoneNumberInCallTip_;
  setCallName(phoneNumberInCallTip_);
  m_connectTime = connectTimeInCallTip_ != 0 ? connectTimeInCallTip_ : referenceSeconds();
  m_hasIncomingCall = hasIncomingCallInTip_;
  hasIncomingCallInTip_ = false;
  connectTimeInCallTip_ = 0;
  tipCallActive_ = false;
  phoneNumberInCallTip_.clear();
  enableDial(false);
  closeTipWindow();
}

// The tip window's Hang-up ends the call the tip shows: an unanswered waiting call or a held tip
// call is released with CHLD 0, an active tip call with CHLD 1 (which brings the main call back).
void CompoundCallController::incomingCallTipHangup(QObject *) {
  if (m_callStage != kWaiting && m_callStage != kTwoParties)
    return;
  if (m_callStage == kWaiting || !tipCallActive_) {
    enableDial(false);
    sendCHLDCmdWithOption(0);
  } else {
    sendCHLDCmdWithOption(1);
  }
  setStatus(QStringLiteral("Status:In use"));
  saveCallRecordOfTipCall();
  setCallStage(kActive);
  tipCallActive_ = false;
  closeTipWindow();
}

void CompoundCallController::incomingCallTipAnswer(QObject *) {
  if (m_callStage != kWaiting && m_callStage != kTwoParties)
    return;
  sendCHLDCmdWithOption(2);
  // A tip call answered again after a swap keeps the time it first connected.
  if (connectTimeInCallTip_ == 0)
    connectTimeInCallTip_ = referenceSeconds();
  setCallStage(kTwoParties);
  tipCallActive_ = true;
  if (page && page->tipWindow) {
    page->tipWindow->answer->setEnabled(false);
    page->tipWindow->title->setText(word(QStringLiteral("In use")));
  }
  enableDial(true);
  setStatus(QStringLiteral("Status:Call holding"));
}

// ---- keypad and number field ----

void CompoundCallController::dialNumberButnClicked(QObject *sender) {
  if (!sender)
    return;
  const QString title = sender->property("text").toString();
  if (title.isEmpty())
    return;
  setNumberField(numberFieldText() + title);
  if (m_isdtmfEnabled)
    sendCommandOfCallDTMF(title.at(0));
  controlTextDidChange();
}

void CompoundCallController::dialNumberButnFromBundle(const Notification &n) {
  dialNumberButnClicked(n.userInfo.value(QString::fromLatin1(kCallNumberBtnDown)).value<QObject *>());
}

void CompoundCallController::backSpace(QObject *) {
  const QString text = numberFieldText();
  if (!text.isEmpty())
    setNumberField(text.left(text.size() - 1));
}

QString CompoundCallController::filterDialNumber(const QString &text) {
  return CallPackages::dialableNumber(text);
}

void CompoundCallController::controlTextDidChange() {
  const QString text = numberFieldText();
  const QString kept = filterDialNumber(text);
  if (kept != text)
    setNumberField(kept);
}

void CompoundCallController::gotoCallRecord(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Record"));
}

// ---- stage codes of single-call mode ----

void CompoundCallController::callStageDidChange(int code) {
  switch (code) {
  case 1:
    m_callStyle = 0;
    startVoiceDataSequenceGrabbing();
    currentRecord_.clear();
    enableHangup(true);
    enableDial(false);
    setMenuItems(false, false);
    m_isdtmfEnabled = true;
    enableNumberField(false);
    notificationCenter->postNotificationName(QString::fromLatin1(kCallSuccessed), this);
    break;
  case 2:
    m_callRecordType = kRecordDialled;
    responseToCallDisconnected();
    notificationCenter->postNotificationName(QString::fromLatin1(kCallError), this);
    break;
  case 3:
    m_callRecordType = kRecordDialled;
    break;
  case 5:
    if (m_hasIncomingCall && m_callStage != kActive) {
      incomingCallEstablished();
    } else if (m_callStage != kActive) {
      setCallStage(kActive);
      setStatus(QStringLiteral("Status:In use"));
      m_connectTime = referenceSeconds();
      scheduleTimerForCallTiming();
      enableDial(false);
      notificationCenter->postNotificationName(QString::fromLatin1(kConnectedCall), this);
    }
    break;
  case 6:
    if (supportCallWait()) {
      checkCallerState();
    } else {
      responseToCallDisconnected();
      notificationCenter->postNotificationName(QString::fromLatin1(kHangUpCall), this);
    }
    break;
  case 7:
    if (m_callStage == kIncoming) {
      responseToCallDisconnected();
      notificationCenter->postNotificationName(QString::fromLatin1(kHangUpCall), this);
    } else if (m_callStage == kWaiting) {
      saveCallRecordOfTipCall();
      closeTipWindow();
      setCallStage(kActive);
    }
    break;
  case 8: {
    responseToCallDisconnected();
    const Platform *platform = Platform::sharedPlatform();
    if (!platform || platform->platform() != Platform::kPlatformIcera)
      notificationCenter->postNotificationName(QString::fromLatin1(kCallFailed), this);
    break;
  }
  default:
    break;
  }
}

void CompoundCallController::incomingCallEstablished() {
  startVoiceDataSequenceGrabbing();
  stopSound(kSoundIncomingCall);
  setCallStage(kActive);
  m_callRecordType = kRecordReceived;
  m_isdtmfEnabled = true;
  m_connectTime = referenceSeconds();
  setStatus(QStringLiteral("Status:In use"));
  scheduleTimerForCallTiming();
  enableDial(false);
  notifyDataServiceSwitch(false);
}

// Every end of a call comes here: the page goes back to idle, the call is logged (single-call
// mode) and the end sheet shows how long it lasted.
void CompoundCallController::responseToCallDisconnected() {
  if (m_callStage == kIdle)
    return;
  if (m_callStage == kIncoming)
    stopSound(kSoundIncomingCall);
  else
    stopVoiceDataSequenceGrabbing();
  if (m_simCardState == 0)
    notifyDataServiceSwitch(true);
  if (page)
    page->callName->clear();
  enableNumberField(true);
  enableDial(true);
  enableHangup(false);
  setMenuItems(false, false);
  qint64 duration = -1;
  if (!supportMultipleCall())
    duration = saveCallRecordOfMainCall();
  // The timer of a call that ended in any stage (held, two parties) stops with it.
  invalidateTimerForCallTiming();
  if (duration < 0)
    duration = m_connectTime > 0 ? referenceSeconds() - m_connectTime : 0;
  promptCallEndStatus(duration);
  m_connectTime = 0;
  setStatus(QStringLiteral("Status:Idle"));
  setCallStage(kIdle);
  setNumberField(QString());
}
