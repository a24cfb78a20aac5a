// SMSController: what arrives from the network. The modem has already stored every message;
// the controller counts the parts of long messages, takes the new record into the lists,
// announces the message once, and hands it to the operator flows.
#include "ConfigService.h"
#include "NotificationCenter.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalWindows.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QTextBrowser>

using namespace smssend;

namespace {
bool config(bool (ConfigService::*sw)() const) {
  ConfigService *c = ConfigService::sharedConfigService();
  return c && (c->*sw)();
}

// The package of a notification when its type is `type`.
bool packageOfType(const Notification &n, int type, UIMsg &msg) {
  return QELMsgCenter::getMsgPackage(&msg, n) && msg.type == type;
}
} // namespace

QDateTime SMSController::calcTimeStamp(const QString &stamp) {
  // The centre's stamp names its own zone; shown, kept and compared in the local one.
  const QDateTime decoded = SmsTimeStamp::decode(stamp);
  return decoded.isValid() ? decoded.toLocalTime() : QDateTime::currentDateTime();
}

void SMSController::setReciveHistoryWithNewConcatSms(const SmsArrivalRecord &record) {
  arrival_.concatSMSReferNum_currentReciveNum.count(record);
}

bool SMSController::isFinishReceiveNewSms(const SmsArrivalRecord &record) const {
  return arrival_.concatSMSReferNum_currentReciveNum.isComplete(record);
}

bool SMSController::isDoNotifyWhenNewSmsArrived(const SmsArrivalRecord &record) const {
  if (record.concat && smsSwitch("concatSMSOneNote"))
    return isFinishReceiveNewSms(record);
  return true;
}

bool SMSController::shouldShowHyperlinkWhitPhoneNumber(const QString &number) const {
  return ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("DisplayHyperlinkForPhoneArray"))
      .toStringList()
      .contains(number);
}

bool SMSController::showCertainNewSMSContent(const QString &text, const QString &number) const {
  const QVariant special = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("SpecialSMS"));
  if (!special.isValid() || !smsSwitch("NoShowNewSMSWndWithCertainContent") || text.isNull())
    return false;
  const QVariantMap m = special.toMap();
  const QString key = m.value(QStringLiteral("SearchKey")).toString();
  return text.contains(key, Qt::CaseInsensitive) && number == m.value(QStringLiteral("TO_NUMBER")).toString();
}

void SMSController::dealWithMsgOfRevNewSMS(const Notification &n) {
  UIMsg msg;
  if (packageOfType(n, 0, msg))
    receiveNewSms(SmsArrivalRecord::decode(msg.payload()));
}

void SMSController::receiveNewSms(const SmsArrivalRecord &record) {
  setReciveHistoryWithNewConcatSms(record);
  const bool finished = isFinishReceiveNewSms(record);
  const QDateTime date = calcTimeStamp(record.stamp);
  const QString time = shownDate(date);
  const QString number = record.number;
  const QString name = lookupName(number);
  const QString text = record.text;
  showCheckUsageRespondingSMSContent(text, number);
  QString shownName = specialNameOf(name);
  initNewSMSArriveMsgWndPropertyWithPhoneNumber(number, shownName.isEmpty() ? name : shownName, time);
  const QString special = specialNameOf(number);
  if (!special.isEmpty())
    newSMSArriveMsg()->field1->setText(special);
  arrival_.receiveSmsContentText_.append(record);
  if (smsSwitch("newSMSNotification")) {
    SmsNoteWindow *w = newSMSNotificationWnd();
    w->field1->setText(name);
    w->content->setPlainText(arrival_.receiveSmsContentText_.text());
    if (finished)
      arrival_.receiveSmsContentText_.clear();
  }
  arrival_.m_revNewPos = record.position;
  SmsService *service = SmsService::sharedSmsService();
  if (record.position == AT_PC && config(&ConfigService::isBackUpPcInBoxListBeforeNewSMSArrive))
    service->backUpSmsListOfPcInbox(pcInBoxList_);
  // A message filed on the PC costs its own record; anything else reads the lists again.
  if (record.position != AT_PC || !insertPcArrival())
    loadSmsList();
  if (service->isShowCheckUsageRespondedSMS(number)) {
    notifyChangeTabViewItem(QStringLiteral("Internet"));
    service->setBAlreadySendedCheckUsageSMS(false);
  } else {
    doAfterFinishReceiveNewSms(record);
  }
  if (record.position == smsarrival::kSimFullPosition)
    alertFullWithPosition(1, 1);
  if (record.position == AT_PC && isFullWithPosition(AT_PC) && config(&ConfigService::isCheckPCCompacity))
    alertFullWithPosition(0, 4);
  sendNewSMSArriveNotification(number);
  if (!finished)
    return;
  if (config(&ConfigService::isSupportCheckSmsIsFlowValueSMS))
    preTreatBeforeShowFlowAlertWhenNewSmsArrive(number, text, date, record);
  if (config(&ConfigService::isFreshStatusViewWhenNewSMSArrive))
    freshStatusViewWhenNewSMSArrive();
  if (config(&ConfigService::isSupportCheckSmsIsRechargeSMS))
    preTreatBeforeJudgeSMSIsPurchaseSMS(number, text);
  if (config(&ConfigService::isSendUnreadRechargeSMSToUSSD))
    passToOtherModelWithSMSContent(text, number);
}

void SMSController::doAfterFinishReceiveNewSms(const SmsArrivalRecord &record) {
  if (!isDoNotifyWhenNewSmsArrived(record))
    return;
  if (record.position == AT_TCARD)
    setProperty("synTcardSmsFlag", true);
  const QString time = shownDate(calcTimeStamp(record.stamp));
  const QString number = record.number;
  const QString name = lookupName(number);
  if (smsSwitch("smsPopUpOfZ3i"))
    addPop_UpSMSWhenReceiveNewSMS(record);
  if (ConfigService::readBool(QStringLiteral("ShowSpecialSMS"), QStringLiteral("showSMSFromSpecialNumbers"))) {
    showSMSFromSpecialNumbers(number, name, time, record.text, &record);
    return;
  }
  if (shouldShowHyperlinkWhitPhoneNumber(number)) {
    playShortSound(kSoundSMS);
    const QString text = arrival_.receiveSmsContentText_.text();
    arrival_.receiveSmsContentText_.clear();
    NSBeginAlertPanelExt(name, text, word("OK"));
    return;
  }
  newSmsArrivedNotification();
}

void SMSController::addPop_UpSMSWhenReceiveNewSMS(const SmsArrivalRecord &record) {
  const QDateTime date = calcTimeStamp(record.stamp);
  QELBasicMessage m;
  m.messageDate = date;
  m.userName = lookupName(record.number);
  m.phoneNum = record.number;
  m.messageStoredLocation = record.position == smsarrival::kSimFullPosition ? int(AT_PC) : record.position;
  m.setMessageDateFormatString(shownDate(date));
  arrival_.tmpNewSMSListOfPop_Up.push_back(m);
}

void SMSController::dealWithMsgOfRevRechargeSMS(const Notification &n) {
  UIMsg msg;
  if (!packageOfType(n, 0, msg))
    return;
  const SmsArrivalRecord record = SmsArrivalRecord::decode(msg.payload());
  initNewSMSArriveMsgWndPropertyWithPhoneNumber(record.number, lookupName(record.number),
                                                shownDate(calcTimeStamp(record.stamp)));
  preTreatBeforeJudgeSMSIsPurchaseSMS(record.number, record.text);
}

void SMSController::dealWithMsgOfRevClass0(const Notification &n) {
  UIMsg msg;
  if (!packageOfType(n, 0, msg))
    return;
  const SmsClass0Record record = SmsClass0Record::decode(msg.payload());
  SmsNoteWindow *w = class0ArriveWin();
  w->title->setText(word("Message"));
  w->content->setPlainText(smsarrival::fill(word("%@\r\nFrom:%@"), {record.text, record.number}));
  w->orderFront();
  playShortSound(kSoundSMS);
}

void SMSController::dealWithMsgOfRevSMSReport(const Notification &n) {
  UIMsg msg;
  if (packageOfType(n, 0, msg))
    receiveReport(SmsDeliveryReportRecord::decode(msg.payload()));
}

void SMSController::receiveReport(const SmsDeliveryReportRecord &report) {
  const QDateTime date = calcTimeStamp(report.stamp);
  const QString time = shownDate(date);
  if (smsSwitch("isHaveDeliveryReportBox")) {
    const QString text =
        word(report.result == 1 ? "Successful to send message(s) to:" : "Failed to send message(s) to:") +
        report.number;
    QELMessageDeliveryReport r(text, report.result, time, searchNameAtPhoneBookInSms(report.number), report.number,
                               date);
    r.setStatus(0);
    arrival_.deliveryReportArray.insert(arrival_.deliveryReportArray.begin(), r);
    writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(arrival_.deliveryReportArray);
    loadSmsList();
  }
  arrival_.DeliveryReportList.append(QVariantMap{{QStringLiteral("TIME"), time},
                                                 {QStringLiteral("PHONE"), report.number},
                                                 {QStringLiteral("RESULT"), report.result}});
  SmsReportArrivedwithResult(report.result, report.number, time);
}

void SMSController::dealWithMsgOfBroadCast(const Notification &n) {
  UIMsg msg;
  if (!packageOfType(n, 1, msg))
    return;
  if (msg.result != 0) {
    qInfo("failed to receive broad cast !");
    return;
  }
  const SmsBroadcastRecord record = SmsBroadcastRecord::decode(msg.payload());
  qInfo().noquote() << QStringLiteral("Success to receive broad cast:%1!").arg(record.text);
  if (config(&ConfigService::checkIfSaveBroadCastAsShortMessage)) {
    // A broadcast that cannot be written now is kept and written again (said once).
    storeInPcList(BroadCastBox,
                  {{QStringLiteral("messagetext"), record.text},
                   {QStringLiteral("mobilephone"), record.sender},
                   {QStringLiteral("date"), QDateTime::currentDateTime()},
                   {QStringLiteral("stat"), QString()}},
                  true);
    loadSmsList();
  }
  playShortSound(kSoundSMS);
  if (notificationCenter)
    notificationCenter->postNotificationName(QStringLiteral("ReceiveBroadCastNotification"), this,
                                             {{QStringLiteral("ReceiveBroadCastNotification"), record.text}});
}
