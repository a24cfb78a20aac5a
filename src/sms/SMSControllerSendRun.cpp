// SMSController: the send run after the first request: each result, the pause before the next
// recipient, Cancel, the end of the run, the centre and progress replies, and a run the
// device's removal cuts short.
#include "Neighbourhood.h"
#include "NotificationCenter.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingsNeighbour.h"
#include "SmsDraftRequest.h"
#include "SmsSendRequest.h"
#include "SmsSendWindows.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "TextFormats.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace smssend;

SmsSendingWindow *SMSController::sendingWindow() {
  if (!send_.newSMSInfoWindow) {
    send_.newSMSInfoWindow = new SmsSendingWindow(wndMain ? wndMain.data() : nullptr);
    connect(send_.newSMSInfoWindow->cancelSendBtn, &QPushButton::clicked, this, [this] { endSendSmsInfoWindow(); });
    registerSkinItems({{send_.newSMSInfoWindow, "wndSMSNewSMSInfo"},
                       {send_.newSMSInfoWindow->cancelSendBtn, "btnSMSCancelSend"},
                       {send_.newSMSInfoWindow->newSMSInfoText, "labelSMSInfo"}});
  }
  return send_.newSMSInfoWindow;
}

void SMSController::showSendingWindow(const QString &text, bool buttonVisible, const QString &buttonTitle) {
  SmsSendingWindow *w = sendingWindow();
  w->newSMSInfoText->setText(text);
  w->cancelSendBtn->setText(buttonTitle);
  w->cancelSendBtn->setVisible(buttonVisible);
  w->cancelSendBtn->setEnabled(buttonVisible);
  w->setWindowModality(w->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
  w->show();
  w->raise();
}

void SMSController::dealWithMsgOfSendSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  notificationCenter->postNotificationName(QStringLiteral("SMSSendFinished"), this, {{QStringLiteral("deletFlag"), 1}});
  const SmsSendResult result = SmsSendResult::fromPackage(msg);
  recordSendResult(result.ok, result.failed);
}

void SMSController::recordSendResult(int ok, int failed) {
  messageSendOkCount_ += ok;
  messageSendFailedCount_ += failed;
  if (ok > 0)
    send_.anyPartSent = true;
  if (send_.reportSendFlag && send_.reportSendFlag()) {
    showReportResultWithSendCount(ok + failed, messageSendOkCount_);
    return;
  }
  if (send_.isSendingUserInfo && send_.isSendingUserInfo())
    saveEveryUserInfoSmsSendResult();
  if (SmsSendingWindow *w = send_.newSMSInfoWindow) {
    w->cancelSendBtn->setText(getControlWordingValueByKey(QStringLiteral("Cancel"), kModuleSms));
    w->cancelSendBtn->setVisible(true);
    w->cancelSendBtn->setEnabled(true);
  }
  if (send_.messageSendCount == int(phone_receive.size()) - 1) {
    finishSendRun();
  } else {
    ++send_.messageSendCount;
    send_.delayTimer.start(send_.delayMs);
  }
  loadSmsList();
  reloadTable();
}

void SMSController::finishSendRun() {
  SmsService::sharedSmsService()->saveSendSuccessResultBySendCount(send_.messageSendCount + 1, messageSendOkCount_);
  SmsSendingWindow *w = sendingWindow();
  w->hide();
  w->newSMSInfoText->clear();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  w->cancelSendBtn->setText(word("OK"));
  setSendResultInfo();
  if (m_nNetCardStatus == kCardReady && !smsSwitch("noSendInfoWnd")) {
    showSendingWindow(w->newSMSInfoText->text(), true, word("OK"));
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
  }
  if (page)
    page->msgBoxList->clearSelection();
  endRunKeepingDraftUnlessSent();
  clearSendSMSPara();
  setSmsStateToNormalAfterSendSMSOverOnBackGround();
}

// The draft a run was started from goes once the run has ended, and only when some of it went
// out: a run whose every part failed leaves the user's draft where it was.
void SMSController::endRunKeepingDraftUnlessSent() {
  if (send_.sentDraft && send_.anyPartSent)
    deleteDraft(*send_.sentDraft);
  send_.sentDraft.reset();
  send_.running = false;
  send_.backgroundRun = false;
  send_.delayTimer.stop();
}

void SMSController::setSendResultInfo() {
  const int ok = messageSendOkCount_, failed = messageSendFailedCount_;
  QString text;
  if (smsSwitch("noDisplayCanceledNumAfterFinishingSend")) {
    text = fillWordedFormat(word("%@%d,%@%d,%@%d"),
                            {word("Send Total:"), ok + failed, word("Send success:"), ok, word("failed:"), failed});
  } else {
    const int cancelled = qMax(0, int(phone_receive.size()) * send_.formatter.packNum() - failed - ok);
    text = fillWordedFormat(word("%@%d,%@%d,%@%d"),
                            {word("Send success:"), ok, word("failed:"), failed,
                             getControlWordingValueByKey(QStringLiteral("cancel:"), kModuleSms), cancelled});
  }
  sendingWindow()->newSMSInfoText->setText(text);
}

void SMSController::delaySendStatus() {
  SmsSendingWindow *w = sendingWindow();
  if (send_.cancelSendFlag) {
    w->cancelSendBtn->setText(word("OK"));
    setSendResultInfo();
    if (!smsSwitch("noSendInfoWnd")) {
      showSendingWindow(w->newSMSInfoText->text(), true, word("OK"));
      setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
    }
    endRunKeepingDraftUnlessSent();
    reloadTable();
    clearSendSMSPara();
    return;
  }
  if (phone_receive.isEmpty())
    return;
  const QString number = phone_receive.value(send_.messageSendCount);
  w->newSMSInfoText->setText(sendingLabel(number));
  w->cancelSendBtn->setText(getControlWordingValueByKey(QStringLiteral("Cancel"), kModuleSms));
  w->cancelSendBtn->setVisible(false);
  w->cancelSendBtn->setEnabled(false);
  if (send_.messageSendCount < phone_receive.size())
    sendCurrentRecipient();
}

void SMSController::endSendSmsInfoWindow() {
  SmsSendingWindow *w = sendingWindow();
  w->hide();
  w->newSMSInfoText->clear();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  send_.cancelSendFlag = true;
}

void SMSController::clearSendSMSPara() {
  send_.messageSendCount = 0;
  messageSendOkCount_ = 0;
  messageSendFailedCount_ = 0;
  phone_receive.clear();
}

void SMSController::dealWithMsgOfSMSCenter(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  const bool waiting = send_.waitingForCentre;
  send_.waitingForCentre = false;
  if (msg.result != 0) {
    NSBeginAlertPanelExt(word("Warning"), word("Fail to set message center!"), word("OK"));
    return;
  }
  if (msg.dataLength != SmsCentreReply::kSize)
    return;
  const QString centre = SmsCentreReply::decode(msg.payload());
  if (auto *settings = Neighbourhood::settings())
    settings->writeMessageCenter(centre);
  // Only a send that asked for the centre goes on.
  if (waiting && smsSwitch("queryCenterNumBeforeSendingSms"))
    sendMessage(nullptr);
}

void SMSController::dealWithMsgOfConcatSMSInfo(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  const SmsSendProgress progress = SmsSendProgress::decode(msg.payload());
  const QString part = send_.formatter.concatSms()
                           ? fillWordedFormat(QStringLiteral("(%d/%d)"), {progress.current, progress.total})
                           : QString();
  sendingWindow()->newSMSInfoText->setText(fillWordedFormat(
      word("%@%@%@,%@"), {word("Send SMS to:"), lookupName(progress.number), part, word("Sending...")}));
}

void SMSController::saveUnsentWhenDeviceRemoved() {
  send_.delayTimer.stop();
  const int count = int(phone_receive.size());
  if (!send_.running || count == 0) {
    send_.running = false;
    return;
  }
  const int failed = qMax(0, count * send_.formatter.packNum() - messageSendOkCount_);
  const QString text =
      fillWordedFormat(word("%@%d,%@%d,%@%d"), {word("Send success:"), messageSendOkCount_, word("failed:"), failed,
                                                getControlWordingValueByKey(QStringLiteral("cancel:"), kModuleSms), 0});
  if (!smsSwitch("noSendInfoWnd")) {
    showSendingWindow(text, true, word("OK"));
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
  } else {
    sendingWindow()->newSMSInfoText->setText(text);
  }
  // The recipients left, the one in progress included, keep the text as PC drafts; a single
  // recipient in progress keeps it in the editor only.
  if (send_.messageSendCount < count - 1)
    for (int i = send_.messageSendCount; i < count; ++i)
      addToPcDraftBoxWithPhone(phone_receive.at(i), send_.runText);
  endRunKeepingDraftUnlessSent();
  reloadTable();
  clearSendSMSPara();
}

// The device went while the editor was open: the editor stays with everything typed in it
// (Send and Save to Draft without a device keep the text as a PC draft), and the user is told
// once the removal has been dealt with.
void SMSController::keepEditorWithoutDevice() {
  SmsEditorWindow *editor = send_.messageWindow;
  if (!editor || !editor->isVisible())
    return;
  if (stringForSMSEditor().isEmpty() && editor->sendMessageTo->text().isEmpty())
    return;
  QTimer::singleShot(0, this, [this] {
    if (!send_.messageWindow || !send_.messageWindow->isVisible() || m_nNetCardStatus == kCardReady)
      return;
    NSBeginAlertPanelExt(word("Warning"),
                         word("The device was removed. Your message is kept: Save to Draft keeps it on the PC."),
                         word("OK"));
  });
}
