// The subscriber's number: the operator's number service and how the number is shown.
#include "ConfigService.h"
#include "DialController.h"
#include "DialService.h"
#include "NotificationCenter.h"
#include "SoapClient.h"

#include <QDebug>
#include <QRegularExpression>

namespace {
const QString kMsisdn = QStringLiteral("MSISDN");
const QString kReceivePhoneNumber = QStringLiteral("receivePhoneNumberFromSoapServer");
// An IMSI has at most 15 digits; anything else is no card's and is not sent.
const QRegularExpression kImsiPattern(QStringLiteral("^[0-9]{5,15}$"));
// E.164 allows 15 digits; a little room for operators' own forms.
const QRegularExpression kMsisdnPattern(QStringLiteral("^\\+?[0-9]{1,20}$"));
} // namespace

SoapClient *DialController::soapClient() {
  if (!soapClient_)
    soapClient_ = new SoapClient(this);
  return soapClient_;
}

void DialController::sendIMSIToHttpServerBySoap() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->hasImsiPhoneConfig())
    return;
  const QString imsi = DialService::sharedDialService()->imsi();
  if (imsi.isEmpty() || config->isImsiPhoneDictContainCertainImsi(imsi))
    return;
  if (!kImsiPattern.match(imsi).hasMatch()) {
    qWarning() << "DialController: not asking the number service about an IMSI that is no number";
    return;
  }
  SoapClient *client = soapClient();
  if (!client->initWithServerName(ConfigService::getSoapServiceName())) {
    qWarning() << "DialController: the number service's address is not valid:" << ConfigService::getSoapServiceName();
    return;
  }
  // The IMSI is the text's argument, never its format.
  const QString request = ConfigService::getSoapServiceContent().arg(imsi);
  soapImsi_ = imsi;
  bool sent = false;
  client->sendMessage(request.toUtf8(), false, &sent);
  if (!sent)
    soapImsi_.clear();
}

QString DialController::getMsisdnFromResponseXML(const QVariantList &records) {
  for (const QVariant &record : records) {
    const QVariantMap node = record.toMap();
    if (node.value(QStringLiteral("xmlNodeName")).toString() == kMsisdn)
      return node.value(QStringLiteral("xmlNodeValue")).toString();
  }
  return {};
}

bool DialController::isStorableMsisdn(const QString &number) {
  return kMsisdnPattern.match(number).hasMatch();
}

void DialController::setMsisdnNumberWithResult(const Notification &) {
  // Only the answer to our own request counts, and only once.
  const QString imsi = soapImsi_;
  soapImsi_.clear();
  if (imsi.isEmpty() || !soapClient_)
    return;
  const QString found = getMsisdnFromResponseXML(soapClient_->getxmlNodeRecordArray());
  if (found.isNull())
    return;
  const QString number = found.trimmed();
  if (!isStorableMsisdn(number)) {
    qWarning() << "DialController: the number service answered no phone number; nothing stored";
    return;
  }
  // A card changed while the question was out: the answer belongs to the card that is gone.
  if (DialService::sharedDialService()->imsi() != imsi) {
    qWarning() << "DialController: the SIM changed before the number service answered; nothing stored";
    return;
  }
  notificationCenter->postNotificationName(kReceivePhoneNumber, this, {{kReceivePhoneNumber, number}});
  if (ConfigService *config = ConfigService::sharedConfigService())
    config->setImsi(imsi, number);
}

void DialController::excuteWhenConnectServerError(const Notification &notification) {
  if (soapImsi_.isEmpty())
    return;
  // Nothing is stored, so the next first connect asks again.
  soapImsi_.clear();
  qWarning() << "DialController: the number service could not be reached:"
             << notification.userInfo.value(QStringLiteral("errorInfor")).toString();
}

QString DialController::getPhoneNumber() {
  const QString number = runtimeObjectForKey(kRTPhoneNumber).toString();
  if (number.isEmpty())
    return QStringLiteral("RuvozNet");
  // The stored form carries a two-digit country code; one too short for that is shown as it is.
  if (number.size() < 3)
    return number;
  return QStringLiteral("0") + number.mid(2);
}
