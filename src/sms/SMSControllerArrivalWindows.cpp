// SMSController: the windows an arrival shows (new message, notification, class 0, delivery
// report, store full, special numbers), their buttons, and the jump to the InBox.
#include "AnimationView.h"
#include "ConfigService.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalWindows.h"
#include "SmsRecord.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QDebug>
#include <QPushButton>
#include <QTextBrowser>

using namespace smssend;

namespace {
constexpr int kAutoDeleteMinor = 112;
constexpr int kDefaultCloseSeconds = 5;

bool config(bool (ConfigService::*sw)() const) {
  ConfigService *c = ConfigService::sharedConfigService();
  return c && (c->*sw)();
}

QVariant special(const char *key) {
  return ConfigService::readValue(QStringLiteral("ShowSpecialSMS"), QLatin1String(key));
}
} // namespace

SmsNoteWindow *SMSController::newSMSArriveMsg() {
  if (!arrival_.newSMSArriveMsg) {
    auto *w =
        new SmsNoteWindow(wndMain, QStringLiteral("newSMSArriveMsg"),
                          SmsNoteWindow::Title | SmsNoteWindow::Field1 | SmsNoteWindow::Field2 | SmsNoteWindow::Field3);
    w->label1->setText(word("From:"));
    w->label2->setText(word("Name:"));
    w->label3->setText(word("Date:"));
    connect(w->okBtn, &QPushButton::clicked, this, [this] { newSMSArriveMsgOK(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { newSMSArriveMsgOK(); });
    arrival_.newSMSArriveMsg = w;
    registerSkinItems({{w, "wndSMSNewSMSArrive"},
                       {w->okBtn, "btnSMSNewMsgArriveOK"},
                       {w->label1, "labelNewSMSFrom"},
                       {w->field1, "textNewSMSFrom"},
                       {w->label2, "labelNewSMSName"},
                       {w->field2, "textNewSMSName"},
                       {w->label3, "labelNewSMSDate"},
                       {w->field3, "textNewSMSDate"}});
    arrival_.closeTimer.setSingleShot(true);
    connect(&arrival_.closeTimer, &QTimer::timeout, this, [this] { close_newSMS_Msg(); });
  }
  return arrival_.newSMSArriveMsg;
}

SmsNoteWindow *SMSController::newSMSNotificationWnd() {
  if (!arrival_.newSMSNotificationWnd) {
    auto *w =
        new SmsNoteWindow(wndMain, QStringLiteral("newSMSNotificationWnd"),
                          SmsNoteWindow::Title | SmsNoteWindow::Field1 | SmsNoteWindow::Content | SmsNoteWindow::Other);
    w->label1->setText(word("From:"));
    w->okBtn->setText(word("Read"));
    w->otherBtn->setText(word("Close"));
    connect(w->okBtn, &QPushButton::clicked, this, [this] { newSMSNotificationRead(); });
    connect(w->otherBtn, &QPushButton::clicked, this, [this] { newSMSNotificationClose(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { newSMSNotificationClose(); });
    arrival_.newSMSNotificationWnd = w;
  }
  return arrival_.newSMSNotificationWnd;
}

SmsNoteWindow *SMSController::class0ArriveWin() {
  if (!arrival_.class0ArriveWin) {
    auto *w =
        new SmsNoteWindow(wndMain, QStringLiteral("class0ArriveWin"), SmsNoteWindow::Title | SmsNoteWindow::Content);
    connect(w->okBtn, &QPushButton::clicked, this, [this] { class0ArriveOK(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { class0ArriveOK(); });
    arrival_.class0ArriveWin = w;
    registerSkinItems({{w, "wndSMSClass0NewSMS"}, {w->okBtn, "btnSMSClass0MsgOK"}, {w->content, "textSMSMessage"}});
  }
  return arrival_.class0ArriveWin;
}

SmsNoteWindow *SMSController::reportWindow() {
  if (!arrival_.Win_SMSReport) {
    auto *w = new SmsNoteWindow(wndMain, QStringLiteral("Win_SMSReport"), SmsNoteWindow::Content);
    connect(w->okBtn, &QPushButton::clicked, this, [this] { SMSReportOK(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { SMSReportOK(); });
    arrival_.Win_SMSReport = w;
    registerSkinItems({{w, "wndSMSReport"}, {w->okBtn, "btnSMSReportOK"}, {w->content, "labelSMSReport"}});
  }
  return arrival_.Win_SMSReport;
}

SmsNoteWindow *SMSController::smsSimMaxWarningWin() {
  if (!arrival_.smsSimMaxWarningWin) {
    auto *w =
        new SmsNoteWindow(wndMain, QStringLiteral("smsSimMaxWarningWin"), SmsNoteWindow::Title | SmsNoteWindow::Check);
    w->check->setText(word("Do not remind me again"));
    connect(w->check, &QCheckBox::toggled, this, [this](bool on) { arrival_.simMaxWarningChecked = on; });
    connect(w->okBtn, &QPushButton::clicked, this, [this] { smsSimMaxWarningOK(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { smsSimMaxWarningOK(); });
    arrival_.smsSimMaxWarningWin = w;
    registerSkinItems(
        {{w, "wndSMSSimMaxWarning"}, {w->okBtn, "btnSMSSimMaxWarning"}, {w->title, "labelSMSSimMaxText"}});
  }
  return arrival_.smsSimMaxWarningWin;
}

SmsNoteWindow *SMSController::specialSMSWnd() {
  if (!arrival_.specialSMSWnd) {
    auto *w = new SmsNoteWindow(wndMain, QStringLiteral("specialSMSWnd"),
                                SmsNoteWindow::Field1 | SmsNoteWindow::Field2 | SmsNoteWindow::Content);
    w->label1->setText(word("From:"));
    w->label2->setText(word("Date:"));
    connect(w->okBtn, &QPushButton::clicked, this, [this] { specialNewSMSWndClose(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { specialNewSMSWndClose(); });
    arrival_.specialSMSWnd = w;
  }
  return arrival_.specialSMSWnd;
}

void SMSController::stopNewSMSSound() {
  if (arrival_.newSMSSound)
    stopSound(kSoundSMS);
  arrival_.newSMSSound = false;
}

void SMSController::initNewSMSArriveMsgWndPropertyWithPhoneNumber(const QString &number, const QString &name,
                                                                  const QString &date) {
  SmsNoteWindow *w = newSMSArriveMsg();
  w->field1->setText(number);
  w->field3->setText(date);
  const bool unknown = smsSwitch("UnshowNewMessageNameIfNotFoundInPhoneBook") &&
                       !(arrival_.hasPhoneNumber && arrival_.hasPhoneNumber(number));
  w->label2->setVisible(!unknown);
  w->field2->setText(unknown ? QString() : name);
}

QPoint SMSController::centerTheNewSMSArriveWnd(const QSize &size) const {
  if (!wndMain)
    return {};
  const QRect main = wndMain->frameGeometry();
  return {main.x() + int((main.width() - size.width()) * 0.5), main.y() + int((main.height() - size.height()) * 0.5)};
}

bool SMSController::setNewWindPlaceBasesWndMainPlace(QWidget *window) {
  if (!window || !wndMain)
    return false;
  window->move(centerTheNewSMSArriveWnd(window->frameGeometry().size()));
  return true;
}

void SMSController::newSmsArrivedNotification() {
  ++arrival_.announced;
  SmsNoteWindow *arrive = newSMSArriveMsg();
  SmsNoteWindow *note = newSMSNotificationWnd();
  arrive->title->setText(word("New sms arrived!"));
  note->title->setText(word("New sms arrived!"));
  const bool picture = !smsSwitch("isNotHaveNewSmsPic");
  if (smsSwitch("centerTheNewSMSArriveWnd")) {
    arrive->move(centerTheNewSMSArriveWnd(arrive->frameGeometry().size()));
    note->move(centerTheNewSMSArriveWnd(note->frameGeometry().size()));
  }
  if (smsSwitch("smsPopUpOfZ3i"))
    showNewSMSWindowOfPop_Up();
  else if (smsSwitch("newSMSNotification"))
    note->orderFront();
  else if (!smsSwitch("noNewSMSTipWnd"))
    arrive->orderFront();
  playShortSound(kSoundSMS);
  arrival_.newSMSSound = true;
  arrival_.closeTimer.stop();
  const QVariant closeTime = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("New_SMS_Close_time"));
  const int seconds = closeTime.isValid() ? closeTime.toInt() : kDefaultCloseSeconds;
  if (seconds > 0)
    arrival_.closeTimer.start(seconds * 1000);
  if (picture && arrival_.Pic_newsms) {
    arrival_.Pic_newsms->show();
    // A miniaturised window starts it when it comes back.
    if (!newSmsAnimationPaused_)
      arrival_.Pic_newsms->startAnimation();
  }
}

void SMSController::close_newSMS_Msg() {
  if (arrival_.newSMSArriveMsg)
    arrival_.newSMSArriveMsg->orderOut();
  stopNewSMSSound();
}

void SMSController::alertFullWithPosition(int position, int type) {
  SmsNoteWindow *w = smsSimMaxWarningWin();
  const bool variant = ConfigService::readBool(QStringLiteral("specialSoftVersion"), QStringLiteral("ZUDE_ZEZ"));
  auto show = [w](const QString &text) {
    w->title->setText(text);
    w->orderFront();
  };
  if (position == AT_ME) {
    show(word("Modem SMS bank is full!"));
    return;
  }
  switch (type) {
  case 0:
    if (smsSwitch("AutoDeleteState")) {
      autoDeleteSMSWhenSIMCardFull();
      return;
    }
    qInfo().noquote() << word("Sim sms numbers is max!");
    w->title->setText(word("(U)SIM SMS bank is full!"));
    if (variant) {
      if (arrival_.simMaxWarningChecked)
        return;
      w->check->setVisible(true);
    }
    w->orderFront();
    return;
  case 1:
    if (variant)
      w->check->setVisible(false);
    show(word("New message is too long, and will be saved in PC!"));
    return;
  case 4:
    show(word("Database is full,please delete some items."));
    return;
  default:
    show(QString());
  }
}

void SMSController::autoDeleteSMSWhenSIMCardFull() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kAutoDeleteMinor, 1, 0, {});
}

bool SMSController::hasEnoughCapacityWithMax() const {
  const QVariantList list = currentBoxList();
  int parts = 0;
  for (int row : selectedRows_) {
    const QVariantMap record = list.value(row).toMap();
    parts += record.value(QStringLiteral("concatSmsFlag")).toBool()
                 ? int(record.value(QStringLiteral("smsInfo")).toList().size())
                 : 1;
  }
  return m_nSIM_Cap - m_nSIM_Used >= parts;
}

// ---- special numbers ----

bool SMSController::ifTwoNumbersMatch(const QString &a, const QString &b) {
  const QVariant threshold = special("specialNumberMatchThreshold");
  return smsarrival::ifTwoNumbersMatch(a, b, special("precisionNumbers").toBool(),
                                       threshold.isValid() ? threshold.toInt() : 8);
}

bool SMSController::isSpecailSMSNumber(const QString &number) const {
  for (const QVariant &n : special("SpecialSMSNumbers").toList())
    if (ifTwoNumbersMatch(number, n.toString()))
      return true;
  return false;
}

void SMSController::showSMSFromSpecialNumbers(const QString &number, const QString &name, const QString &time,
                                              const QString &content, const SmsArrivalRecord *record) {
  SmsNoteWindow *w = specialSMSWnd();
  w->field1->setText(name);
  w->field2->setText(time);
  w->content->setPlainText(content);
  if (!isSpecailSMSNumber(number)) {
    newSmsArrivedNotification();
    return;
  }
  if (zididEdizodTK312SMSProcess(number, content, record))
    return;
  showSpecialSMSWnd();
  playShortSound(kSoundSMS);
  arrival_.newSMSSound = true;
}

bool SMSController::zididEdizodTK312SMSProcess(const QString &number, const QString &content,
                                               const SmsArrivalRecord *record) {
  if (!record || !settingDict().contains(QStringLiteral("ZididEdizodTK312")))
    return false;
  if (settingDict()
          .value(QStringLiteral("ZididEdizodTK312"))
          .toMap()
          .value(QStringLiteral("ShowSMSNotification"))
          .toBool())
    newSmsArrivedNotification();
  else
    playShortSound(kSoundSMS);
  if (notificationCenter)
    notificationCenter->postNotificationName(QStringLiteral("USSDBundleMessage"), nullptr,
                                             {{QStringLiteral("Action"), QStringLiteral("TopUpSMS")},
                                              {QStringLiteral("SMSContents"), content},
                                              {QStringLiteral("SMSTel"), number},
                                              {QStringLiteral("IsUniSMS"), record->concat},
                                              {QStringLiteral("UniSMSTotal"), int(record->total)},
                                              {QStringLiteral("UniSMSCurrent"), int(record->sequence)}});
  return true;
}

void SMSController::showSpecialSMSWnd() {
  SmsNoteWindow *w = specialSMSWnd();
  if (special("ShowInModal").toBool() && wndMain)
    w->move(centerTheNewSMSArriveWnd(w->frameGeometry().size()));
  w->orderFront();
}

void SMSController::closeSpecialSMSWnd() {
  if (arrival_.specialSMSWnd)
    arrival_.specialSMSWnd->orderOut();
}

void SMSController::specialNewSMSWndClose() {
  SmsNoteWindow *w = specialSMSWnd();
  w->field1->clear();
  w->field2->clear();
  w->content->clear();
  closeSpecialSMSWnd();
  stopNewSMSSound();
}

// ---- the delivery-report window ----

void SMSController::SmsReportArrivedwithResult(int result, const QString &number, const QString &time) {
  SmsNoteWindow *w = reportWindow();
  const QString shownTime = config(&ConfigService::isNotShowSMSReportArrivingTime) ? QString() : time;
  QString name = specialNameOf(number);
  if (name.isEmpty())
    name = searchNameAtPhoneBookInSms(number);
  if (name.isEmpty())
    name = number;
  // A result the modem does not name is a failure: the window never keeps an earlier report's text.
  const char *key = result == 1   ? "Successful to send message(s) to:%@ "
                    : result == 2 ? "Pending to send message(s) to:%@ "
                                  : "Fail to send message(s) to:%@ ";
  const QString format = word(key) + QStringLiteral("\r\n %@");
  w->content->setPlainText(smsarrival::fill(format, {name, shownTime}));
  if (!config(&ConfigService::isNotShowSMSReportWndWhenHasReportBox))
    w->orderFront();
}

void SMSController::SMSReportOK() {
  if (!arrival_.DeliveryReportList.isEmpty())
    arrival_.DeliveryReportList.removeLast();
  if (!arrival_.DeliveryReportList.isEmpty()) {
    const QVariantMap next = arrival_.DeliveryReportList.last().toMap();
    SmsReportArrivedwithResult(next.value(QStringLiteral("RESULT")).toInt(),
                               next.value(QStringLiteral("PHONE")).toString(),
                               next.value(QStringLiteral("TIME")).toString());
    return;
  }
  reportWindow()->orderOut();
  stopNewSMSSound();
}

// ---- the buttons ----

void SMSController::newSMSArriveMsgOK() {
  arrival_.closeTimer.stop();
  newSMSArriveMsg()->orderOut();
  stopNewSMSSound();
  if (config(&ConfigService::isGoToSMSPageWhenNewSMSArrives))
    GotoInbox();
}

void SMSController::smsSimMaxWarningOK() {
  smsSimMaxWarningWin()->orderOut();
}

void SMSController::class0ArriveOK() {
  class0ArriveWin()->orderOut();
}

void SMSController::closeNewSMSNotificationWnd(SmsNoteWindow *window) {
  SmsNoteWindow *w = newSMSNotificationWnd();
  w->field1->clear();
  w->content->clear();
  if (window)
    window->orderOut();
  stopNewSMSSound();
}

void SMSController::newSMSNotificationClose() {
  closeNewSMSNotificationWnd(newSMSNotificationWnd());
}

void SMSController::newSMSNotificationRead() {
  closeNewSMSNotificationWnd(newSMSNotificationWnd());
  GotoInbox();
  autoSelectNewSMSRowInTableView();
}

void SMSController::autoSelectNewSMSRowInTableView() {
  if (!smsSwitch("autoSelectNewSMSInTableView") || !page)
    return;
  const QVariantList list = currentBoxList();
  if (list.isEmpty())
    return;
  page->msgBoxList->clearSelection();
  page->msgBoxList->selectRow(0);
  page->msgBoxList->setFocus();
}

void SMSController::GotoInbox() {
  ConfigService *c = ConfigService::sharedConfigService();
  if (c && c->getUIModelConfig() != 3 && arrival_.menuCompleteModelClicked)
    arrival_.menuCompleteModelClicked();
  notifyChangeTabViewItem(QStringLiteral("SMS"));
  if (!page)
    return;
  const int position =
      arrival_.m_revNewPos == smsarrival::kSimFullPosition || arrival_.m_revNewPos < 0 ? AT_PC : arrival_.m_revNewPos;
  const int row = qelPositionManager_.getPositionOrderByPositon(position);
  if (row >= 0 && row < page->saveAtPos->count())
    page->saveAtPos->setCurrentRow(row);
  showOrHiddenDeliveryReportBox();
  const int inBoxRow = boxTables_.getBoxDisplayOrderWithBox(InBox, page->msgBoxSelectAt->count());
  if (inBoxRow < page->msgBoxSelectAt->count())
    page->msgBoxSelectAt->setCurrentRow(inBoxRow);
  selectSaveAt();
  msgBoxSelect();
}

bool SMSController::hasNewSMSInPos(int position) const {
  const QVariantList *list = position == AT_PC ? &pcInBoxList_ : position == AT_SIM ? &simInBoxList_ : nullptr;
  if (!list)
    return false;
  for (const QVariant &r : *list) {
    const QVariantMap summary = smsarrival::summaryOf(r.toMap());
    if (summary.contains(QStringLiteral("stat")) && summary.value(QStringLiteral("stat")).toInt() == 0)
      return true;
  }
  return false;
}
