// Caller lists: the stage, buttons and caller table of multi-call mode, hold, join and release
// of one caller, and the two-party case of single-call mode.
#include "CompoundCallController.h"

#include "CallNeighbours.h"
#include "QELAlertPanel.h"

#include <QHeaderView>

namespace {
const QString kCallerID = QStringLiteral("CallerID");
const QString kCallerName = QStringLiteral("CallerName");
const QString kPhoneNumber = QStringLiteral("PhoneNumber");
const QString kCallStyle = QStringLiteral("CallStyle");
const QString kCallState = QStringLiteral("CallState");
const QString kCallerState = QStringLiteral("CallerState");
const QString kIsOnline = QStringLiteral("IsOnline");
const QString kStartConnectTime = QStringLiteral("StartConnectTime");

int stateBit(int state) {
  return state >= 0 && state < 30 ? 1 << state : 0;
}
} // namespace

void CompoundCallController::callHold(QObject *) {
  sendCHLDCmdWithOption(2);
  checkCallerState();
}

void CompoundCallController::multipleCall(QObject *) {
  sendCHLDCmdWithOption(3);
}

void CompoundCallController::upDateCaller(const QList<CallPackages::CallerRecord> &callers) {
  for (QVariant &v : callerArray_) {
    QVariantMap entry = v.toMap();
    entry.insert(kIsOnline, false);
    v = entry;
  }
  const qint64 now = referenceSeconds();
  for (const CallPackages::CallerRecord &r : callers) {
    int index = -1;
    for (int i = 0; i < callerArray_.size(); ++i) {
      if (callerArray_.at(i).toMap().value(kCallerID).toInt() == r.id) {
        index = i;
        break;
      }
    }
    if (index >= 0) {
      QVariantMap entry = callerArray_.at(index).toMap();
      entry.insert(kIsOnline, true);
      entry.insert(kCallState, stateBit(r.state));
      entry.insert(kCallerState, r.state);
      if (r.state == 0 && entry.value(kStartConnectTime).toLongLong() == 0)
        entry.insert(kStartConnectTime, now);
      callerArray_[index] = entry;
      continue;
    }
    callerArray_ << QVariantMap{
        {kCallerID, r.id},
        {kCallerName, phonebookNameOf(r.number)},
        {kPhoneNumber, r.number},
        {kCallStyle, r.direction},
        {kCallState, stateBit(r.state)},
        {kCallerState, r.state},
        {kIsOnline, true},
        {kStartConnectTime, r.state == 0 ? now : qint64(0)},
    };
  }
  // Callers no longer in the list have ended: log them and let them go.
  for (int i = int(callerArray_.size()) - 1; i >= 0; --i) {
    const QVariantMap entry = callerArray_.at(i).toMap();
    if (!entry.value(kIsOnline).toBool()) {
      saveCallRecordWithCaller(entry);
      callerArray_.removeAt(i);
    }
  }
  applyStageFromCallers(checkDataCardCallState());
  reloadCallerTable();
}

int CompoundCallController::checkDataCardCallState() const {
  int stage = 0;
  for (const QVariant &v : callerArray_)
    stage |= v.toMap().value(kCallState).toInt();
  if (stage & kWaiting)
    return kWaiting;
  if (stage & (4 | 8))
    return kDialling;
  return stage;
}

void CompoundCallController::applyStageFromCallers(int stage) {
  const int previous = m_callStage;
  setCallStage(stage);
  if (stage == kIdle) {
    stopVoiceDataSequenceGrabbing();
    m_isdtmfEnabled = false;
  } else if (stage != kIncoming) {
    m_callStyle = 0;
    startVoiceDataSequenceGrabbing();
    m_isdtmfEnabled = true;
  }
  if (stage == kActive && m_connectTime == 0)
    m_connectTime = referenceSeconds();
  if (previous != kIdle && stage == kIdle) {
    // The last caller left: the same end-of-call steps as a disconnect.
    stopSound(kSoundIncomingCall);
    if (m_simCardState == 0)
      notifyDataServiceSwitch(true);
    invalidateTimerForCallTiming();
    promptCallEndStatus(m_connectTime > 0 ? referenceSeconds() - m_connectTime : 0);
    m_connectTime = 0;
    setMenuItems(false, false);
  }
  setButtonState();
  if (previous != kIdle && stage == kIdle)
    notificationCenter->postNotificationName(QString::fromLatin1(kHangUpCall), this);
}

void CompoundCallController::setBtnStateWithDialBtn(bool dial, bool hangup, bool hold, bool multiple) {
  enableDial(dial);
  enableHangup(hangup);
  if (page) {
    page->hold->setEnabled(hold);
    page->multipleCall->setEnabled(multiple);
  }
  setMenuItems(dial, hangup);
}

void CompoundCallController::setButtonState() {
  const auto emptied = [this](bool fieldEnabled) {
    setNumberField(QString());
    if (page)
      page->callName->clear();
    enableNumberField(fieldEnabled);
  };
  switch (m_callStage) {
  case kIdle:
    emptied(true);
    setBtnStateWithDialBtn(true, false, false, false);
    setStatus(QStringLiteral("Status:Idle"));
    break;
  case kActive:
    emptied(false);
    setBtnStateWithDialBtn(false, true, true, false);
    if (page)
      page->hold->setText(word(QStringLiteral("Hold")));
    setStatus(QStringLiteral("Status:In use"));
    break;
  case kHeld:
    emptied(true);
    setBtnStateWithDialBtn(true, true, true, false);
    if (page)
      page->hold->setText(word(QStringLiteral("Resume")));
    setStatus(QStringLiteral("Status:Holding"));
    break;
  case kTwoParties:
    emptied(false);
    setBtnStateWithDialBtn(false, true, false, true);
    setStatus(QStringLiteral("Status:In use"));
    break;
  case kDialling:
    setBtnStateWithDialBtn(false, true, false, false);
    setStatus(QStringLiteral("Status:call"));
    break;
  case kIncoming:
  case kWaiting:
    enableNumberField(false);
    setBtnStateWithDialBtn(true, true, false, false);
    setStatus(QStringLiteral("Status:Incoming call"));
    break;
  default:
    break;
  }
}

void CompoundCallController::reloadCallerTable() {
  if (!page)
    return;
  QTableWidget *table = page->callerTable;
  table->setRowCount(int(callerArray_.size()));
  for (int row = 0; row < callerArray_.size(); ++row) {
    const QVariantMap entry = callerArray_.at(row).toMap();
    const QString name = entry.value(kCallerName).toString();
    const QString number = entry.value(kPhoneNumber).toString();
    table->setItem(row, 0, new QTableWidgetItem(name == number ? number : name + QLatin1Char('/') + number));
    table->setItem(row, 1, new QTableWidgetItem(callerStateText(entry.value(kCallerState).toInt())));
  }
}

void CompoundCallController::hangClickedWhenSupportMultipleCall() {
  if (callerArray_.size() == 1) {
    stopVoiceDataSequenceGrabbing();
    sendCommandOfHangupCall();
    return;
  }
  if (page) {
    const QModelIndexList rows = page->callerTable->selectionModel()->selectedRows();
    if (rows.size() == 1) {
      const int id = callerArray_.value(rows.first().row()).toMap().value(kCallerID).toInt();
      // CHLD "1x": the digit 1 followed by the caller's id releases that caller only.
      sendCHLDCmdWithOption(QStringLiteral("1%1").arg(id).toUInt());
      checkCallerState();
      return;
    }
  }
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")),
                                        word(QStringLiteral("Are you sure you want to end multiple call?")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer == 1) {
    stopVoiceDataSequenceGrabbing();
    sendCommandOfHangupCall();
  }
}

void CompoundCallController::receiveCallerListInSingleMode(const QList<CallPackages::CallerRecord> &callers) {
  if (callers.isEmpty()) {
    // Nobody is left: the waiting call is logged before the main call ends.
    if (hasIncomingCallInTip_)
      saveCallRecordOfTipCall();
    closeTipWindow();
    // With call waiting on, the end of the last call comes this way and not as a stage code:
    // tell it as the stage code would have.
    const bool ended = m_callStage != kIdle;
    responseToCallDisconnected();
    if (ended)
      notificationCenter->postNotificationName(QString::fromLatin1(kHangUpCall), this);
    return;
  }
  if (m_callStage == kTwoParties || m_callStage == kWaiting)
    receiveHangupWhenHasCallInIncommingCallTip(callers);
}

void CompoundCallController::receiveHangupWhenHasCallInIncommingCallTip(
    const QList<CallPackages::CallerRecord> &callers) {
  for (const CallPackages::CallerRecord &r : callers) {
    if (r.number == m_dialNumberString) {
      saveCallRecordOfTipCall();
      closeTipWindow();
    } else if (r.number == phoneNumberInCallTip_ && !phoneNumberInCallTip_.isEmpty()) {
      saveCallRecordOfMainCall();
      changeCallWindow();
    } else {
      continue;
    }
    tipCallActive_ = false;
    if (r.state == 1) {
      enableDial(true);
      setStatus(QStringLiteral("Status:Call holding"));
      setCallStage(kHeld);
    } else if (r.state == 4) {
      enableDial(true);
      setStatus(QStringLiteral("Status:Incoming Call"));
      setCallStage(kIncoming);
    } else {
      setStatus(QStringLiteral("Status:In use"));
      setCallStage(kActive);
    }
    return;
  }
}
