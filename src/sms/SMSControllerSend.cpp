// SMSController: the least send road, one message to one number, as the operator flows outside
// the editor use it (activation, registration, usage requests).
#include "ConfigManager.h"
#include "Neighbours.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SmsSendRequest.h"
#include "SmsService.h"

namespace {
constexpr int kModuleSms = 5;
constexpr int kMajorSms = 768;
constexpr int kMinorSend = 91;
} // namespace

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
  request.centre = settingDict().value(QStringLiteral("MessageCenterNum")).toString();
  request.report = report;
  request.text = text;
  request.number = number;
  request.saveInBox = saveInBox;
  request.returnResult = returnResult;
  // Refused before a reference number is used up.
  if (text.size() > SmsSendRequest::kMaxTextUnits || number.toUtf8().size() >= SmsSendRequest::kNumberWidth)
    return false;
  request.ref = quint8(readRefIndex());
  const std::optional<QByteArray> payload = request.encode();
  if (!payload)
    return false;
  return qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kMinorSend, 0, 0, *payload);
}

void SMSController::dealWithMsgOfSendSMS(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  notificationCenter->postNotificationName(QStringLiteral("SMSSendFinished"), this, {{QStringLiteral("deletFlag"), 1}});
  const SmsSendResult result = SmsSendResult::fromPackage(msg);
  messageSendOkCount_ += result.ok;
  messageSendFailedCount_ += result.failed;
  if (isRecordingUserInfoResults())
    recordUserInfoResult(msg.result == 0 && result.ok > 0 && result.failed == 0);
}

void SMSController::beginUserInfoResults(QObject *owner) {
  // A fresh list for every run: results of an earlier run never count for this one.
  userInfoSendResults_.clear();
  userInfoOwner_ = owner;
}

void SMSController::recordUserInfoResult(bool sent) {
  if (!isRecordingUserInfoResults())
    return;
  userInfoSendResults_.append(
      QVariantMap{{QStringLiteral("sendMsgOver"), true}, {QStringLiteral("sendMsgSuccess"), sent}});
  if (userInfoSendResults_.size() < kUserInfoMessages)
    return;
  const QPointer<QObject> owner = userInfoOwner_;
  userInfoOwner_.clear();
  bool allSent = true;
  for (const QVariant &r : std::as_const(userInfoSendResults_))
    allSent = allSent && r.toMap().value(QStringLiteral("sendMsgSuccess")).toBool();
  callNeighbour(owner.data(), "setIsSendingUserInfo", false);
  setSendSMSBtnStatWhenSendUserInfo(true);
  if (SmsService *service = SmsService::sharedSmsService())
    service->setUnshowInfoWndWhenSendSmsByFlag(false);
  if (!allSent)
    return;
  QVariantMap main = settingDict().value(QStringLiteral("Main")).toMap();
  main.insert(QStringLiteral("Main_SendUserInfoOK"), true);
  settingDict().insert(QStringLiteral("Main"), main);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

void SMSController::setSendSMSBtnStatWhenSendUserInfo(bool enable) {
  sendSMSBtnEnabledForUserInfo_ = enable;
  if (enable)
    setMenuItemsStateWhenSMSSelectionDidChange();
  else
    setMenuItemState(false, SendItem);
}

void SMSController::clearSendSMSPara() {
  messageSendOkCount_ = 0;
  messageSendFailedCount_ = 0;
  phone_receive.clear();
}
