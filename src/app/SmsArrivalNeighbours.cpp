#include "SmsArrivalNeighbours.h"

#include "DialController.h"
#include "MMSController.h"
#include "MainController.h"
#include "PBController.h"
#include "SMSController.h"
#include "SelectWindowControl.h"

#include <QPointer>
#include <QTabWidget>

void wireSmsArrivalNeighbours(SMSController *sms, MainController *main) {
  if (!sms)
    return;
  SmsArrivalState &arrival = sms->arrivalState();
  const QPointer<MainController> m(main);
  arrival.hasPhoneNumber = [](const QString &number) {
    return g_PBController && g_PBController->hasPhoneNumber(number);
  };
  arrival.freshStatusViewWhenNormalSMSArrive = [m] {
    if (m)
      m->freshStatusViewWhenNormalSMSArrive();
  };
  arrival.freshStatusViewWhenFlowValueSMSArrive = [m] {
    if (m)
      m->freshStatusViewWhenFlowValueSMSArrive();
  };
  arrival.freshStatusViewWhenSMSReaded = [m] {
    if (m)
      m->freshStatusViewWhenSMSReaded();
  };
  arrival.menuCompleteModelClicked = [m] {
    if (m)
      m->menuCompleteModelClicked(nullptr);
  };
}

MMSController *buildMmsHost(QTabWidget *tabs, QObject *owner, QELUIManager *skin, DialController *dial,
                            SMSController *sms) {
  auto *mms = new MMSController(owner);
  mms->qelSkinManager = skin;
  if (!mms->hasModuleWith(QStringLiteral("MMS"))) {
    delete mms;
    return nullptr;
  }
  auto *page = new QWidget(tabs);
  page->setObjectName(QStringLiteral("MMS"));
  page->setProperty("itemIdentifier", QStringLiteral("MMS"));
  tabs->addTab(page, QStringLiteral("MMS"));
  mms->hostView_ = page;
  const QPointer<DialController> d(dial);
  mms->dial.object = dial;
  mms->dial.isConnected = [d] { return d && d->connectStatus() == DialController::kConnected; };
  mms->dial.dialOption = [d](QObject *sender) {
    if (d)
      d->DialOption(sender);
  };
  mms->dial.apn = [d] { return d ? d->getAPNString() : QString(); };
  mms->dial.addMMSConfig = [d] {
    if (d)
      d->addMMSConfig();
  };
  mms->dial.removeMMSConfig = [d] {
    if (d)
      d->removeMMSConfig();
  };
  mms->dial.setDialConfig = [d](int index) {
    if (d)
      d->setDialConfig(index);
  };
  const QPointer<SMSController> s(sms);
  mms->searchMultiPhoneNumber = [s](const QString &numbers) {
    return s ? s->searchMultiPhoneNumber(numbers) : numbers;
  };
  mms->replyMessageFromMMS = [s](const QString &number) {
    if (s)
      s->replyMessageFromMMS(number);
  };
  const QPointer<MMSController> host(mms);
  SelectWindowControl::setMmsHost([host](const QStringList &numbers) {
    if (host)
      host->setTheSearchFieldText(numbers);
  });
  mms->showContactPicker = [](QObject *) {
    auto *picker = new SelectWindowControl;
    picker->allowsContactTableMultiSelection(true);
    picker->showWindow(nullptr);
  };
  return mms;
}
