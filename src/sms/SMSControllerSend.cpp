// SMSController: the send road, from the editor's Send button or a call from another module to
// one send request per recipient.
#include "ConfigManager.h"
#include "Neighbourhood.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SettingsNeighbour.h"
#include "SmsRecord.h"
#include "SmsSendRequest.h"
#include "SmsSendWindows.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "TextFormats.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace smssend;

namespace {
constexpr int kMinorSend = 91;
constexpr int kMinorCentre = 110;
constexpr int kModuleCentre = 3;
constexpr int kOperationSend = 16;

QString messageCentre(QVariantMap &settings) {
  return Neighbourhood::settings() ? Neighbourhood::settings()->readMessageCenter()
                                   : settings.value(QStringLiteral("MessageCenterNum")).toString();
}
quint32 validityPeriod() {
  return quint32(Neighbourhood::settings() ? Neighbourhood::settings()->readValidityPeriod()
                                           : SmsSendRequest::kDefaultValidity);
}
} // namespace

QString SMSController::phoneSeparator() const {
  const QString sep =
      const_cast<SMSController *>(this)->settingDict().value(QStringLiteral("DefaultPhoneSeparator")).toString();
  return sep.isEmpty() ? QStringLiteral(";") : sep;
}

quint32 SMSController::readRefIndex() {
  const QVariant last = settingDict().value(QStringLiteral("smsConcatRefIndex"));
  const quint32 next = last.isValid() ? (quint32(quint8(last.toUInt())) + 1) % 256 : 0;
  settingDict().insert(QStringLiteral("smsConcatRefIndex"), next);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
  return next;
}

bool SMSController::sendSmsTo(const QString &number, const QString &text, bool report, bool returnResult,
                              bool saveInBox) {
  if (!qelMsgCenter)
    return false;
  SmsSendRequest request;
  request.centre = messageCentre(settingDict());
  request.report = report;
  request.validity = validityPeriod();
  request.text = text;
  request.number = number;
  request.saveInBox = saveInBox;
  request.returnResult = returnResult;
  // Refused before a reference number is used up.
  if (!request.encode())
    return false;
  request.ref = quint8(readRefIndex());
  const std::optional<QByteArray> payload = request.encode();
  if (!payload || !qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kMinorSend, 0, 0, *payload))
    return false;
  const QString reportTo = settingDict().value(QStringLiteral("SendReportTo")).toString();
  if (!reportTo.isEmpty() && reportTo == number && send_.reportSendFlag && send_.reportSendFlag()) {
    // The result handler finds the report's one recipient.
    phone_receive.append(reportTo);
    showImformationWinWhenSendReport();
  }
  addPhoneNumberToReceiveListWhenSendSmsOnBackGround(number, text);
  return true;
}

bool SMSController::Msg_sendSMSTo(const QString &number) {
  if (send_.backgroundRun)
    return Msg_sendSmsBackgroundTo(number, send_.runText);
  const bool report = Neighbourhood::settings() && Neighbourhood::settings()->readDeliveryReport();
  return sendSmsTo(number, send_.runText, report, true, true);
}

void SMSController::procSendPhoneNumber(const QString &text) {
  phone_receive = SmsRecipients::split(text, phoneSeparator(), specialNumberOf);
}

int SMSController::numberofSendPhone(const QString &numbers) const {
  return SmsRecipients::numberofSendPhone(numbers, phoneSeparator());
}

QString SMSController::searchMultiPhoneNumber(const QString &numbers) const {
  const QStringList items = SmsRecipients::items(numbers, phoneSeparator());
  if (items.size() == 1)
    return lookupName(items.first());
  QString out;
  for (const QString &item : items)
    out += lookupName(item) + QLatin1Char(',');
  return out;
}

QString SMSController::sendingLabel(const QString &number) const {
  if (number.isEmpty())
    return word("Sending...");
  QString name = lookupName(number);
  if (name == number) {
    const QString special = specialNameOf(number);
    if (!special.isEmpty())
      name = special;
  }
  return fillWordedFormat(word("%@%@,%@"), {word("Send SMS to:"), name, word("Sending...")});
}

void SMSController::sendMessage(QObject *sender) {
  SmsService::sharedSmsService()->setSmsCurrentOperate(kOperationSend);
  if (m_nNetCardStatus == kNoDevice) {
    saveSMSToDraftWhenNetCaredUnDetected();
    return;
  }
  if (smsSwitch("queryCenterNumBeforeSendingSms") && sender) {
    if (qelMsgCenter) {
      send_.waitingForCentre = true;
      qelMsgCenter->sendMessageModuleID(kModuleCentre, kMajorSms, kMinorCentre, 0, 0, QByteArray());
    }
    return;
  }
  startSendRun(true);
}

void SMSController::sendMessageto(const QString &numbers, const QString &text) {
  if (m_nNetCardStatus != kCardReady) {
    notificationCenter->postNotificationName(QStringLiteral("SMSSendFinished"), this,
                                             {{QStringLiteral("deletFlag"), 0}});
    return;
  }
  messageWindow()->sendMessageTo->setText(numbers);
  setStringForSMSEditor(text);
  startSendRun(false);
}

// Steps shared by the editor's send and the sends of other modules: the checks, the run's
// reset, the first request and the sending window.
void SMSController::startSendRun(bool fromEditor) {
  SmsEditorWindow *editor = messageWindow();
  const QString field = editor->sendMessageTo->text();
  const QStringList recipients = SmsRecipients::split(field, phoneSeparator(), specialNumberOf);
  if (recipients.isEmpty()) {
    warn("Receiver's phone number should not be null!!");
    return;
  }
  QString text = stringForSMSEditor();
  if (text.isEmpty()) {
    if (fromEditor) {
      if (NSRunAlertPanelExt(word("Warning"), word("SMS content is empty!!"), word("OK"),
                             getControlWordingValueByKey(QStringLiteral("Cancel"), kModuleSms)) == 0) {
        notificationCenter->postNotificationName(QStringLiteral("SmsSendCancelWhenMsgNilNnotification"), this, {});
        return;
      }
    } else {
      text = QStringLiteral(" ");
    }
  }
  send_.delayTimer.stop();
  send_.messageSendCount = 0;
  messageSendOkCount_ = 0;
  messageSendFailedCount_ = 0;
  send_.cancelSendFlag = false;
  send_.anyPartSent = false;
  send_.backgroundRun = false;
  send_.runText = text;
  send_.formatter.setPackNum(SmsTextCount::of(text, currentSmsCodecSettings()).parts);
  send_.running = true;
  // The draft being sent is deleted when the run ends, and only when a part went out.
  send_.sentDraft.reset();
  if (send_.isDraftSms && fromEditor)
    send_.sentDraft = send_.draft;
  send_.isDraftSms = false;
  phone_receive = recipients;
  closeMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  SmsSendingWindow *sending = sendingWindow();
  sending->cancelSendBtn->setText(getControlWordingValueByKey(QStringLiteral("Cancel"), kModuleSms));
  sending->cancelSendBtn->setVisible(false);
  sending->cancelSendBtn->setEnabled(false);
  sending->newSMSInfoText->setText(sendingLabel(phone_receive.first()));
  if (!smsSwitch("noSendInfoWnd")) {
    showSendingWindow(sendingLabel(phone_receive.first()), false, sending->cancelSendBtn->text());
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
  }
  sendCurrentRecipient();
}

// A recipient the request cannot carry is counted as failed in every part, so the run goes on
// and the result tells.
void SMSController::sendCurrentRecipient() {
  const QString number = phone_receive.value(send_.messageSendCount);
  if (Msg_sendSMSTo(number))
    return;
  qWarning("SMS: the message to %s does not fit a send request", qPrintable(number));
  recordSendResult(0, send_.formatter.packNum());
}

void SMSController::sendSMSWithoutWin(QObject *) {
  if (selectedRows_.size() != 1 || currentSMSRecord_.isEmpty())
    return;
  const QVariantMap &record = currentSMSRecord_;
  const bool flat = SmsRecord::isFlat(record);
  const QString number =
      flat ? record.value(QStringLiteral("mobilephone")).toString().trimmed() : SmsRecord::number(record).trimmed();
  const QString text = flat ? record.value(QStringLiteral("messagetext")).toString() : SmsRecord::text(record);
  if (number.isEmpty())
    return;
  sendMessageto(number, text);
}
