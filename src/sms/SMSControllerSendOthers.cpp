// SMSController: sends on behalf of others: without the editor, in the background (purchase
// messages), the diagnostics report, the three registration messages, and the editor's text
// kept as a PC draft when no modem is there.
#include "ConfigManager.h"
#include "ListFile.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsRecord.h"
#include "SmsSendRequest.h"
#include "SmsSendWindows.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "TextFormats.h"
#include "WordingOperation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace smssend;

namespace {
constexpr int kRegistrationMessages = 3;
} // namespace

void SMSController::sendMessageBackground(const QString &numbers, const QString &text) {
  SmsSendingWindow *w = sendingWindow();
  w->cancelSendBtn->setVisible(false);
  send_.delayTimer.stop();
  send_.messageSendCount = 0;
  messageSendOkCount_ = 0;
  messageSendFailedCount_ = 0;
  send_.cancelSendFlag = false;
  send_.anyPartSent = false;
  send_.sentDraft.reset();
  procSendPhoneNumber(numbers);
  if (!phone_receive.isEmpty()) {
    closeMessageWin();
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  }
  send_.runText = text;
  send_.backgroundRun = true;
  send_.running = !phone_receive.isEmpty();
  send_.formatter.setPackNum(SmsTextCount::of(text, currentSmsCodecSettings()).parts);
  // Each request carries one recipient; the run goes through them as the editor's does.
  if (!phone_receive.isEmpty())
    sendCurrentRecipient();
  const QString label = phone_receive.isEmpty()
                            ? word("Sending...")
                            : fillWordedFormat(word("%@%@,%@"), {word("Send SMS to:"), numbers, word("Sending...")});
  showSendingWindow(label, false, w->cancelSendBtn->text());
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

bool SMSController::Msg_sendSmsBackgroundTo(const QString &number, const QString &text) {
  return sendSmsTo(number, text, false, true, false);
}

void SMSController::setSMSInterfaceWhenSendSMSONBackGround() {
  messageWindow()->SendMessageBtn->setEnabled(false);
}

void SMSController::setSMSInterfaceWhenSendSMSInFront() {
  if (send_.messageWindow)
    send_.messageWindow->SendMessageBtn->setEnabled(true);
}

void SMSController::addPhoneNumberToReceiveListWhenSendSmsOnBackGround(const QString &number, const QString &) {
  if (SmsService::sharedSmsService()->sendingSMSInBackGround() && !send_.running)
    phone_receive.append(number);
}

void SMSController::setSmsStateToNormalAfterSendSMSOverOnBackGround() {
  SmsService *service = SmsService::sharedSmsService();
  if (!service->sendingSMSInBackGround())
    return;
  service->setSendingSmsSMSInBackGroud(false);
  // The operator's own choice comes back, not a forced NO.
  service->setUnshowInfoWndWhenSendSmsByFlag(send_.operatorNoSendInfoWnd);
  setSMSInterfaceWhenSendSMSInFront();
  const bool success = service->sendingSMSSuccess();
  if (success || !smsSwitch("SMS_ShowSendInfoWnd_WhenSendSMSFailOnBackGround"))
    return;
  if (!send_.wndOfsendingSMSResultOnBG_) {
    send_.wndOfsendingSMSResultOnBG_ =
        new SmsSendingWindow(wndMain ? wndMain.data() : nullptr, QStringLiteral("wndOfsendingSMSResultOnBG_"));
    SmsSendingWindow *w = send_.wndOfsendingSMSResultOnBG_;
    connect(w->cancelSendBtn, &QPushButton::clicked, w, &QWidget::hide);
  }
  SmsSendingWindow *w = send_.wndOfsendingSMSResultOnBG_;
  w->newSMSInfoText->setText(WordingOperation::getDisplayWordingValueByWordingKey(
      success ? QStringLiteral("SMS_labelOfSendingSMSReultInfoOnBG_Success")
              : QStringLiteral("SMS_labelOfSendingSMSReultInfoOnBG_Fail")));
  w->cancelSendBtn->setText(
      WordingOperation::getDisplayWordingValueByWordingKey(QStringLiteral("SMS_btnOfOKInReSultWnd")));
  w->cancelSendBtn->setVisible(true);
  w->cancelSendBtn->setEnabled(true);
  w->setWindowModality(w->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
  w->show();
}

void SMSController::showImformationWinWhenSendReport() {
  showSendingWindow(QStringLiteral("Sending a Report to diveraze"), false, sendingWindow()->cancelSendBtn->text());
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

void SMSController::showReportResultWithSendCount(int count, int ok) {
  sendingWindow()->hide();
  // Success only when parts were reported and every one went through.
  if (count > 0 && ok == count) {
    if (!send_.sendReportWnd) {
      send_.sendReportWnd = new SmsSendingWindow(wndMain ? wndMain.data() : nullptr, QStringLiteral("sendReportWnd"));
      connect(send_.sendReportWnd->cancelSendBtn, &QPushButton::clicked, send_.sendReportWnd.data(), &QWidget::hide);
    }
    SmsSendingWindow *w = send_.sendReportWnd;
    w->newSMSInfoText->setText(word("The report has been sent."));
    w->cancelSendBtn->setText(word("OK"));
    w->cancelSendBtn->setVisible(true);
    w->cancelSendBtn->setEnabled(true);
    w->setWindowModality(w->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    w->show();
  }
  if (send_.setReportSendFlag)
    send_.setReportSendFlag(false);
  clearSendSMSPara();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
}

void SMSController::saveEveryUserInfoSmsSendResult() {
  // A registration run that ended earlier leaves its three records: this one starts clean.
  if (send_.resultOfSendUsrInfo_.size() >= kRegistrationMessages)
    send_.resultOfSendUsrInfo_.clear();
  send_.resultOfSendUsrInfo_.append(
      QVariantMap{{QStringLiteral("sendMsgOver"), true}, {QStringLiteral("sendMsgSuccess"), messageSendOkCount_ > 0}});
  messageSendOkCount_ = 0;
  if (checkIfAllUserIfoSendlSuccess())
    writeSendResIntoFileIfSendSuccess();
}

bool SMSController::checkIfAllUserInfoSendOver() {
  if (send_.resultOfSendUsrInfo_.size() < kRegistrationMessages)
    return false;
  if (send_.setIsSendingUserInfo)
    send_.setIsSendingUserInfo(false);
  setSendSMSBtnStatWhenSendUserInfo(true);
  SmsService::sharedSmsService()->setUnshowInfoWndWhenSendSmsByFlag(send_.operatorNoSendInfoWnd);
  return true;
}

bool SMSController::checkIfAllUserIfoSendlSuccess() {
  if (!checkIfAllUserInfoSendOver())
    return false;
  for (const QVariant &record : send_.resultOfSendUsrInfo_)
    if (!record.toMap().value(QStringLiteral("sendMsgSuccess")).toBool())
      return false;
  return true;
}

void SMSController::writeSendResIntoFileIfSendSuccess() {
  QVariantMap main = settingDict().value(QStringLiteral("Main")).toMap();
  main.insert(QStringLiteral("Main_SendUserInfoOK"), true);
  settingDict().insert(QStringLiteral("Main"), main);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

void SMSController::setSendSMSBtnStatWhenSendUserInfo(bool enabled) {
  if (send_.messageWindow)
    send_.messageWindow->SendMessageBtn->setEnabled(enabled);
  setMenuItemState(enabled, SendItem);
  // The main window disables sending when a registration starts: its results start empty.
  if (!enabled)
    send_.resultOfSendUsrInfo_.clear();
}

void SMSController::saveSMSToDraftWhenNetCaredUnDetected() {
  const QString text = stringForSMSEditor();
  if (text.isEmpty()) {
    warn("SMS content is empty!!");
    return;
  }
  const QVariantMap draft{{QStringLiteral("messagetext"), text},
                          {QStringLiteral("mobilephone"), messageWindow()->sendMessageTo->text()},
                          {QStringLiteral("date"), QDateTime::currentDateTime()},
                          {QStringLiteral("stat"), QString()}};
  // Appended to the file's own DraftBox: the shown list may hold only this SIM's drafts, and a
  // missing file is created. Written first: the editor closes only once the draft is stored; a
  // failed write leaves it open with everything typed, and saving again tries again.
  retryPcWrites();
  if (!SmsListFiles::insertIntoBox(SmsListFiles::pathOfPosition(AT_PC), DraftBox, draft, false)) {
    saySaveFailed();
    return;
  }
  saveSucceeded();
  closeMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  if (send_.isDraftSms && (send_.draft.position == AT_PC || send_.draft.position == AT_TCARD))
    deleteDraft(send_.draft);
  send_.isDraftSms = false;
  if (page) {
    page->msgBoxSelectAt->setCurrentRow(getBoxDisplayOrderWithBox(DraftBox, page->msgBoxSelectAt->count()));
    msgBoxSelect();
  }
  loadSmsList();
  reloadTable();
}
