// SMSController: the operators' messages: data-usage alerts, the purchase conversation,
// recharge messages for the USSD tab and check-usage replies.
#include "Bundle.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalWindows.h"
#include "SmsListSort.h"
#include "SmsRecord.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "WordingOperation.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QtEndian>
#include <algorithm>

using namespace smssend;

namespace {
constexpr int kCopyMinor = 93;
constexpr int kCopyOperation = 15;
constexpr int kNotUsage = 2;
// An arrival's stamp and the modem's filing time of the same message lie this close.
constexpr qint64 kSameArrivalSeconds = 120;

QString purchaseText(const char *key) {
  return WordingOperation::getDisplayWordingValueByWordingKey(QLatin1String(key));
}

void setIcon(const QString &name) {
  const int dot = int(name.lastIndexOf(QLatin1Char('.')));
  const QString image = Bundle::mainBundle().pathForResource(name.left(dot), name.mid(dot + 1));
  if (!image.isEmpty() && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    QGuiApplication::setWindowIcon(QIcon(image));
}

void showAndEnable(QWidget *w, bool on) {
  w->setVisible(on);
  w->setEnabled(on);
}
} // namespace

QVariantMap SMSController::getNewSMSDictionary() const {
  if (arrival_.m_revNewPos == AT_PC)
    return allPcInBoxList_.value(0).toMap();
  if (arrival_.m_revNewPos == AT_SIM)
    return simInBoxList_.value(0).toMap();
  return {};
}

void SMSController::preTreatBeforeShowFlowAlertWhenNewSmsArrive(const QString &number, const QString &text,
                                                                const QDateTime &date, const SmsArrivalRecord &record) {
  if (!record.concat) {
    showFlowAlertWhenNewSmsArrive(number, text, date);
    return;
  }
  // A long message is judged on its whole text.
  const QVariantMap summary = getNewSMSDictionary().value(QStringLiteral("concatSmsInfo")).toMap();
  showFlowAlertWhenNewSmsArrive(summary.value(QStringLiteral("mobilephone")).toString(),
                                summary.value(QStringLiteral("messagetext")).toString(),
                                summary.value(QStringLiteral("date")).toDateTime());
}

void SMSController::showFlowAlertWhenNewSmsArrive(const QString &number, const QString &text, const QDateTime &date) {
  SmsService *service = SmsService::sharedSmsService();
  const int level = service->checkFlowValueTypeBySmsPhoneNumber(number, text);
  service->setTypeOfNewSms(level);
  const int remembered = service->getFlowValueInfoFromFile();
  if (level == kNotUsage)
    return;
  if (receivePosition_ == AT_PC || arrival_.m_revNewPos == AT_PC) {
    // Found again by its number and time: the newest InBox entry may be another message.
    int index = -1;
    qint64 best = kSameArrivalSeconds + 1;
    for (const QVariant &r : allPcInBoxList_) {
      const QVariantMap summary = smsarrival::summaryOf(r.toMap());
      if (summary.value(QStringLiteral("mobilephone")).toString() != number)
        continue;
      const qint64 apart = qAbs(summary.value(QStringLiteral("date")).toDateTime().secsTo(date));
      if (apart < best) {
        best = apart;
        index = r.toMap().value(QStringLiteral("index")).toInt();
      }
    }
    if (index >= 0) {
      service->makeSaveSmsBySrcPos(AT_PC, AT_SIM, InBox, index);
      savePCNewArriveSmsToSim();
    }
  }
  if (remembered == kNotUsage || remembered < level) {
    showFlowAlert(level, text);
    service->saveFlowValueInfoIntoFileWithSmsContent(text, date, level);
  }
  ConfigService *c = ConfigService::sharedConfigService();
  if (c && c->getUIModelConfig() == 2 && wndMain && wndMain->isMinimized())
    wndMain->showNormal();
}

void SMSController::savePCNewArriveSmsToSim() {
  SmsService *service = SmsService::sharedSmsService();
  const QVariantMap entry = service->saveToList().value(0).toMap();
  if (entry.isEmpty() || !qelMsgCenter)
    return;
  QByteArray data(16, '\0');
  qToLittleEndian<quint32>(quint32(entry.value(QStringLiteral("srcPos")).toInt()), data.data());
  qToLittleEndian<quint32>(quint32(entry.value(QStringLiteral("srcBox")).toInt()), data.data() + 4);
  qToLittleEndian<quint32>(quint32(entry.value(QStringLiteral("srcIndex")).toInt()), data.data() + 8);
  qToLittleEndian<quint32>(quint32(entry.value(QStringLiteral("destPos")).toInt()), data.data() + 12);
  service->setSmsCurrentOperate(kCopyOperation);
  // The copy lands unread on the SIM; its reply marks it read there (found by number and date).
  const int index = entry.value(QStringLiteral("srcIndex")).toInt();
  for (const QVariant &r : allPcInBoxList_)
    if (r.toMap().value(QStringLiteral("index")).toInt() == index)
      usageCopyToSim_ = r.toMap();
  qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kCopyMinor, 0, 0, data);
}

void SMSController::showFlowAlertWhenLoadSimList() {
  SmsService *service = SmsService::sharedSmsService();
  service->getFlowValueInfoFromFile();
  if (service->isOverDueFlowValueSms())
    doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime();
  service->checkSIMReceivedValidFlowValueSMS();
  const int level = service->getFlowValueInfoFromFile();
  if (level != kNotUsage && !service->isOverDueFlowValueSms())
    showFlowAlert(level, service->flowValueSmsInfo().value(QStringLiteral("FlowSmsContent")).toString());
}

void SMSController::showFlowAlert(int level, const QString &text) {
  if (level != 0 && level != 1)
    return;
  const QString picture =
      level == 1 ? QStringLiteral("ImageOfonehundred.PNG") : QStringLiteral("ImageOfSeventyFive.PNG");
  applicationIconName_ = level == 1 ? QStringLiteral("flow100.png") : QStringLiteral("flow75.png");
  if (QPushButton *b = arrival_.btnFlowValueAlert_) {
    showAndEnable(b, true);
    const int dot = int(picture.lastIndexOf(QLatin1Char('.')));
    b->setIcon(QIcon(Bundle::mainBundle().pathForResource(picture.left(dot), picture.mid(dot + 1))));
    b->setProperty("imageName", picture);
    b->setToolTip(text);
  }
  setIcon(applicationIconName_);
}

void SMSController::doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime() {
  SmsService *service = SmsService::sharedSmsService();
  // The file's own InBox, so that messages the shown list filters out stay as they are.
  ListFile::update(SmsListFiles::pathOfPosition(AT_PC), [service](QVariantMap &dict) {
    QVariantList inBox = dict.value(QStringLiteral("InBox")).toList();
    bool changed = false;
    for (QVariant &r : inBox) {
      QVariantMap record = r.toMap();
      const bool concat = record.value(QStringLiteral("concatSmsFlag")).toBool();
      const QString key = concat ? QStringLiteral("concatSmsInfo") : QStringLiteral("smsInfo");
      QVariantMap summary = record.value(key).toMap();
      if (summary.value(QStringLiteral("stat")).toInt() != 0 || !summary.contains(QStringLiteral("stat")))
        continue;
      const QString text = concat ? summary.value(QStringLiteral("messagetext")).toString() : SmsRecord::text(record);
      const int level =
          service->checkFlowValueTypeBySmsPhoneNumber(summary.value(QStringLiteral("mobilephone")).toString(), text);
      if (level != 0 && level != 1)
        continue;
      summary.insert(QStringLiteral("stat"), 1);
      record.insert(key, summary);
      r = record;
      changed = true;
    }
    dict.insert(QStringLiteral("InBox"), inBox);
    return changed;
  });
  // The alert ends with the message it showed.
  if (arrival_.btnFlowValueAlert_)
    showAndEnable(arrival_.btnFlowValueAlert_, false);
  applicationIconName_ = QStringLiteral("icon.icns.png");
  setIcon(applicationIconName_);
  loadSmsList();
  freshStatusViewWhenSMSReaded();
}

// ---- purchase ----

SmsPurchaseWindow *SMSController::purchaseWindow() {
  if (!arrival_.wndRecharge_) {
    auto *w = new SmsPurchaseWindow(wndMain);
    for (QPushButton *b :
         {w->btnOfPurchaseInVolStatusWnd_, w->btnOfPurchaseInPartnerWnd_, w->btnOfConfirmInPurchaseWnd_})
      connect(b, &QPushButton::clicked, this, [this, b] { sendSMSToPurchaseServer(b); });
    for (QPushButton *b : {w->btnOfCancelInRechargeWnd_, w->btnOfOKInRechargeWnd_})
      connect(b, &QPushButton::clicked, w, &QWidget::hide);
    w->btnOfPurchaseInVolStatusWnd_->setText(word("Purchase"));
    w->btnOfPurchaseInPartnerWnd_->setText(word("Purchase"));
    w->btnOfConfirmInPurchaseWnd_->setText(word("Confirm"));
    w->btnOfCancelInRechargeWnd_->setText(word("Cancel"));
    w->btnOfOKInRechargeWnd_->setText(word("OK"));
    arrival_.wndRecharge_ = w;
  }
  return arrival_.wndRecharge_;
}

void SMSController::preTreatBeforeJudgeSMSIsPurchaseSMS(const QString &number, const QString &text) {
  if (!SmsService::sharedSmsService()->checkSMSIsPurChaseSMSBySmsPhoneNumber(number, text))
    return;
  setPurchaseWndProperty();
  showPurchaseWnd();
}

void SMSController::initPurchaseWndProperty() {
  SmsPurchaseWindow *w = purchaseWindow();
  for (QWidget *b : std::initializer_list<QWidget *>{w->btnOfPurchaseInVolStatusWnd_, w->btnOfPurchaseInPartnerWnd_,
                                                     w->btnOfConfirmInPurchaseWnd_, w->btnOfCancelInRechargeWnd_,
                                                     w->combOfPurchaseList_})
    showAndEnable(b, false);
  showAndEnable(w->btnOfOKInRechargeWnd_, true);
  w->setWindowTitle(purchaseText("SMS_wndRecharge_Partner"));
}

void SMSController::setPurchaseWndProperty() {
  initPurchaseWndProperty();
  SmsService *service = SmsService::sharedSmsService();
  SmsPurchaseWindow *w = purchaseWindow();
  w->labelOfPurchaseInfo_->setText(service->purchaseSMSContent());
  const QString step = service->processOfRechargeBySMS();
  auto offer = [&](QWidget *button, const char *title) {
    showAndEnable(button, true);
    showAndEnable(w->btnOfCancelInRechargeWnd_, true);
    showAndEnable(w->btnOfOKInRechargeWnd_, false);
    w->setWindowTitle(purchaseText(title));
  };
  if (step == QLatin1String("PurchargeBySMS_VolStatusResponse")) {
    offer(w->btnOfPurchaseInVolStatusWnd_, "SMS_wndRecharge_CheckVolume");
  } else if (step == QLatin1String("PurchargeBySMS_BroadBandResponse")) {
    offer(w->btnOfPurchaseInPartnerWnd_, "SMS_wndRecharge_Partner");
    showAndEnable(w->combOfPurchaseList_, true);
    service->parseBroadBandListFromSMSContent(service->purchaseSMSContent());
    setCombOfPurchaseListDataSource();
  } else if (step == QLatin1String("PurchargeBySMS_PurchasePresponse")) {
    offer(w->btnOfConfirmInPurchaseWnd_, "SMS_wndRecharge_Partner");
    service->parseConfigInformationFromSMSContent(service->purchaseSMSContent());
  }
}

void SMSController::setCombOfPurchaseListDataSource() {
  SmsPurchaseWindow *w = purchaseWindow();
  w->combOfPurchaseList_->clear();
  w->combOfPurchaseList_->addItems(SmsService::sharedSmsService()->broadBandList());
  if (w->combOfPurchaseList_->count() > 0)
    w->combOfPurchaseList_->setCurrentIndex(0);
}

void SMSController::showPurchaseWnd() {
  SmsPurchaseWindow *w = purchaseWindow();
  if (wndMain)
    w->move(centerTheNewSMSArriveWnd(w->frameGeometry().size()));
  w->show();
  w->raise();
}

void SMSController::sendSMSToPurchaseServer(QObject *sender) {
  SmsService *service = SmsService::sharedSmsService();
  SmsPurchaseWindow *w = purchaseWindow();
  const QVariantMap process = service->processListOfRecharge();
  const QString server = process.value(QStringLiteral("PurchargeBySMS_ServerNumber")).toString();
  QString text;
  if (sender == w->btnOfPurchaseInVolStatusWnd_)
    text = process.value(QStringLiteral("PurchargeBySMS_BroadbandRequire")).toString();
  else if (sender == w->btnOfPurchaseInPartnerWnd_)
    text = w->combOfPurchaseList_->currentText();
  else if (sender == w->btnOfConfirmInPurchaseWnd_)
    text = service->configSMSContent();
  if (!server.isEmpty() && !text.isEmpty()) {
    service->setUnshowInfoWndWhenSendSmsByFlag(true);
    service->setSendingSmsSMSInBackGroud(true);
    sendSmsTo(server, text, false, true, false);
  }
  w->hide();
}

// ---- recharge messages and check-usage replies ----

void SMSController::passToOtherModelWithSMSContent(const QString &, const QString &number) {
  ConfigService *c = ConfigService::sharedConfigService();
  const QString server = c ? c->getServerNumberWhenRechargeByUSSD().toString() : QString();
  if (server.isEmpty() || server != number || !notificationCenter)
    return;
  notificationCenter->postNotificationName(QStringLiteral("PassRechargeSMS"), nullptr,
                                           {{QStringLiteral("rechargeSMS"), getUnreadRechargeSMS()}});
}

QStringList SMSController::getUnreadRechargeSMS() {
  SmsService *service = SmsService::sharedSmsService();
  ConfigService *c = ConfigService::sharedConfigService();
  const QString server = c ? c->getServerNumberWhenRechargeByUSSD().toString() : QString();
  QVariantList all = service->getUnreadSMSInPos(AT_PC, pcInBoxList_);
  all += service->getUnreadSMSInPos(AT_SIM, simInBoxList_);
  std::stable_sort(all.begin(), all.end(), [](const QVariant &a, const QVariant &b) {
    return smsarrival::summaryOf(a.toMap()).value(QStringLiteral("date")).toDateTime() <
           smsarrival::summaryOf(b.toMap()).value(QStringLiteral("date")).toDateTime();
  });
  QStringList texts;
  for (const QVariant &r : all) {
    const QVariantMap record = r.toMap();
    const QVariantMap summary = smsarrival::summaryOf(record);
    if (!server.isEmpty() && summary.value(QStringLiteral("mobilephone")).toString() == server)
      texts << (record.value(QStringLiteral("concatSmsFlag")).toBool()
                    ? summary.value(QStringLiteral("messagetext")).toString()
                    : SmsRecord::text(record));
  }
  return texts;
}

void SMSController::showCheckUsageRespondingSMSContent(const QString &text, const QString &number) {
  if (!SmsService::sharedSmsService()->isShowCheckUsageRespondedSMS(number) || !arrival_.tfdShowCertainNewSmsContent_)
    return;
  arrival_.tfdShowCertainNewSmsContent_->setText(text);
  arrival_.certainContentTimer.start(60 * 1000);
}
