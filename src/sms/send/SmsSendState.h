#pragma once

#include "MessageTextFormatter.h"
#include "SmsRecipients.h"

#include <QPointer>
#include <QTimer>
#include <QVariantList>
#include <functional>
#include <optional>

class SmsEditorWindow;
class SmsSendingWindow;
class QWidget;

// What the message controller keeps for writing and sending: the windows, the send run, the
// draft the editor holds, and the few neighbours it asks (wired by the window builder, so the
// message library needs none of them).
struct SmsSendState {
  QPointer<SmsEditorWindow> messageWindow;
  QPointer<SmsSendingWindow> newSMSInfoWindow;
  QPointer<SmsSendingWindow> sendReportWnd;
  QPointer<SmsSendingWindow> wndOfsendingSMSResultOnBG_;

  // The run: the recipient being sent, the cancel of the pause, the text every recipient gets
  // (taken when the run starts, so an editor opened meanwhile changes nothing).
  int messageSendCount = 0;
  bool cancelSendFlag = false;
  bool running = false;
  // A run without the editor's flags (no report, nothing filed).
  bool backgroundRun = false;
  QString runText;
  bool anyPartSent = false;
  // The pause between a result and the next recipient.
  QTimer delayTimer;
  int delayMs = 2000;

  // The editor holds a draft (opened from the DraftBox, or forwarded from it) ...
  bool isDraftSms = false;
  SmsDraftKey draft;
  // ... and the draft the current run was started from.
  std::optional<SmsDraftKey> sentDraft;
  // Old copies of re-saved drafts, one per save request in flight (an invalid key when the save
  // replaced none), deleted when their save succeeds.
  QList<SmsDraftKey> resaves;

  // The centre was asked for before a send from the editor.
  bool waitingForCentre = false;
  // The editor text's part count, as typing last counted it.
  MessageTextFormatter formatter;
  // The operator's "noSendInfoWnd", which background and registration runs give back.
  bool operatorNoSendInfoWnd = false;
  // One record per registration message of this registration run.
  QVariantList resultOfSendUsrInfo_;

  // The neighbours.
  std::function<bool()> isSendingUserInfo;
  std::function<void(bool)> setIsSendingUserInfo;
  std::function<bool()> reportSendFlag;
  std::function<void(bool)> setReportSendFlag;
  std::function<void(QWidget *editor)> showContactPicker;
};
