// Toolbar and menu actions that open the browser, enciphered operator links, help files and the
// bundled player, send the operator's fixed short messages, and bring the USSD pop-up forward.
#include "Blowfish.h"
#include "Bundle.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "InitService.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QString urlLabelOf(QObject *sender) {
  return sender ? sender->property("urlLabel").toString() : QString();
}

// Fills the "%s" places of a worded pattern in order; the values are never read as formats.
QString fillPlaces(const QString &pattern, const QStringList &values) {
  QString out;
  int from = 0;
  for (const QString &value : values) {
    const int at = pattern.indexOf(QLatin1String("%s"), from);
    if (at < 0)
      break;
    out += pattern.mid(from, at - from) + value;
    from = at + 2;
  }
  return out + pattern.mid(from);
}

QString currentImsi() {
  InitService *service = InitService::sharedInitService();
  return service ? service->imsi() : QString();
}
} // namespace

void MainController::tbiMainHomewebAction(QObject *) {
  // Starts the web browser (with an empty page: the browser's own home is its business).
  openSafari(QStringLiteral("about:blank"));
}

void MainController::tbiMainUSSDPopUPAction(QObject *) {
  if (!ussdBalancewnd_)
    return;
  ussdBalancewnd_->show();
  ussdBalancewnd_->raise();
  ussdBalancewnd_->activateWindow();
}

void MainController::closeUSSDPopUPAction(QObject *) {
  if (ussdBalancewnd_)
    ussdBalancewnd_->hide();
}

void MainController::tbimainURLEncipherAction(QObject *sender) {
  const QString label = urlLabelOf(sender);
  const QString imsi = currentImsi();
  if (label.isEmpty() || imsi.isEmpty())
    return;
  const QByteArray digits = (imsi + QLatin1Char('0')).toLatin1();
  char cipher[kEncryptServicesOutputSize] = {};
  // An IMSI that is not 15 digits cannot be enciphered: nothing is opened rather than a link
  // that carries a wrong parameter.
  if (EncryptServicesMain(digits.constData(), cipher, sizeof cipher) != 0 || cipher[0] == '\0')
    return;
  openSafari(word(label) + QString::fromLatin1(cipher));
}

void MainController::tbimainURLEncipherActionExt(QObject *sender) {
  const QString label = urlLabelOf(sender);
  InitService *service = InitService::sharedInitService();
  if (label.isEmpty() || !service)
    return;
  const QString imei = runtimeObjectForKey(kRTIMEI).toString();
  const QByteArray imeiCipher = service->encodeAndReturnCipherText(imei);
  const QByteArray imsiCipher = service->encodeAndReturnCipherText(service->imsi());
  if (imeiCipher.isEmpty() || imsiCipher.isEmpty())
    return;
  openSafari(fillPlaces(word(label), {QString::fromLatin1(imeiCipher), QString::fromLatin1(imsiCipher)}));
}

void MainController::tbiMainSendSMS(QObject *) {
  const QVariantMap special = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("SpecialSMS")).toMap();
  const QString number = special.value(QStringLiteral("TO_NUMBER")).toString();
  const QString text = special.value(QStringLiteral("SMS_CONTENT")).toString();
  if (number.isEmpty() || text.isEmpty())
    return;
  auto *sms = Neighbourhood::messages();
  if (!sms) {
    qWarning() << "MainController: no message controller to send the usage request";
    return;
  }
  sms->sendMessageto(number, text);
  sms->setBAlreadySendedCheckUsageSMS(true);
}

void MainController::tbiMainZUDEHelpClick(QObject *) {
  const QString path = word(QStringLiteral("STRING_HELP_FILE_PATH_LABLES"));
  if (QFileInfo(path).isFile())
    openSafari(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString());
}

void MainController::tbiMainQELPlayerAction(QObject *) {
  const QString player = Bundle::mainBundle().pathForResource(QStringLiteral("TV Player"));
  const bool started = !player.isEmpty() && QFileInfo(player).isExecutable() && QProcess::startDetached(player, {});
  qInfo() << "MainController: TV Player" << (started ? "started" : "could not be started") << player;
}

void MainController::tbiMainSendVolStatusCheckSMS(QObject *) {
  auto *sms = Neighbourhood::messages();
  if (!sms)
    return;
  const QVariantMap recharge = sms->processListOfRecharge();
  const QString number = recharge.value(QStringLiteral("PurchargeBySMS_ServerNumber")).toString();
  const QString text = recharge.value(QStringLiteral("PurchargeBySMS_VolStatusRequire")).toString();
  if (number.isEmpty() || text.isEmpty())
    return;
  sms->setUnshowInfoWndWhenSendSmsByFlag(true);
  sms->setSendingSmsSMSInBackGroud(true);
  sms->sendSmsTo(number, text, false, true, false);
}
