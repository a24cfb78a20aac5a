// SMSController: how many messages each store holds, the box summary, the unread hint, the
// status item, and the pop-up list of new messages.
#include "AnimationView.h"
#include "ConfigService.h"
#include "NotificationCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsArrivalWindows.h"
#include "SmsRecord.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "WordGlobe.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

using namespace smssend;

namespace {
int maxCountOf(const char *position) {
  return ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("MaxSMSCountInfo"))
      .toMap()
      .value(QLatin1String(position))
      .toInt();
}
} // namespace

void SMSController::bindArrivalPage() {
  if (!page || arrival_.Pic_newsms)
    return;
  auto *bar = new QWidget(page);
  bar->setObjectName(QStringLiteral("arrivalBar"));
  auto *row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  auto *picture = new AnimationView(bar);
  picture->setObjectName(QStringLiteral("Pic_newsms"));
  picture->setImagePath(QStringLiteral("newsms"));
  picture->setFixedSize(32, 32);
  picture->hide();
  connect(picture, &AnimationView::activated, this, [this] { GotoInbox(); });
  auto *alert = new QPushButton(bar);
  alert->setObjectName(QStringLiteral("btnFlowValueAlert_"));
  alert->hide();
  auto *hint = new QLabel(bar);
  hint->setObjectName(QStringLiteral("labelSMSHint"));
  auto *reply = new QLabel(bar);
  reply->setObjectName(QStringLiteral("tfdShowCertainNewSmsContent_"));
  reply->setWordWrap(true);
  row->addWidget(picture);
  row->addWidget(alert);
  row->addWidget(hint);
  row->addWidget(reply, 1);
  arrival_.Pic_newsms = picture;
  arrival_.btnFlowValueAlert_ = alert;
  arrival_.labelSMSHint = hint;
  arrival_.tfdShowCertainNewSmsContent_ = reply;
  if (auto *outer = qobject_cast<QBoxLayout *>(page->layout())) {
    if (auto *left = qobject_cast<QBoxLayout *>(outer->itemAt(0) ? outer->itemAt(0)->layout() : nullptr))
      left->addWidget(bar);
    else
      outer->addWidget(bar);
  }
  arrival_.certainContentTimer.setSingleShot(true);
  connect(&arrival_.certainContentTimer, &QTimer::timeout, this, [this] {
    if (arrival_.tfdShowCertainNewSmsContent_)
      arrival_.tfdShowCertainNewSmsContent_->clear();
  });
  if (smsSwitch("isHaveDeliveryReportBox")) {
    arrival_.deliveryReportArray.clear();
    readDeliveryReportBox();
  }
}

void SMSController::cleanTextControlShowCertainNewSmsContent() {
  arrival_.certainContentTimer.stop();
  if (arrival_.tfdShowCertainNewSmsContent_)
    arrival_.tfdShowCertainNewSmsContent_->clear();
}

void SMSController::stopAnimationWhenMinimizeWithNewSms() {
  newSmsAnimationPaused_ = true;
  if (arrival_.Pic_newsms && arrival_.Pic_newsms->isVisible())
    arrival_.Pic_newsms->stopAnimationWhenMinimizeWnd();
}

void SMSController::startAnimationWhenMaximizeWithNewSms() {
  newSmsAnimationPaused_ = false;
  if (arrival_.Pic_newsms && arrival_.Pic_newsms->isVisible())
    arrival_.Pic_newsms->startAnimation();
}

void SMSController::arrivalListsReady() {
  if (smsSwitch("smsPopUpOfZ3i"))
    addPop_upUnReadSMSFromPC();
  ConfigService *c = ConfigService::sharedConfigService();
  if (c && c->isSupportCheckSmsIsFlowValueSMS())
    showFlowAlertWhenLoadSimList();
}

int SMSController::getEverySMSCountWithSMSList(const QVariantList &list, int position, int box) const {
  if (position != AT_PC)
    return 0;
  if (box == DELIVERY_REPORTBOX)
    return int(list.size());
  int count = 0;
  for (const QVariant &entry : list)
    count += smsarrival::countOfEntry(entry.toMap(), box);
  return count;
}

int SMSController::getSMSCountWithPos(int position) const {
  switch (position) {
  case AT_PC:
    return getEverySMSCountWithSMSList(pcInBoxList_, AT_PC, InBox) +
           getEverySMSCountWithSMSList(pcOutBoxList_, AT_PC, OutBox) +
           getEverySMSCountWithSMSList(deletedBoxList_, AT_PC, DeletedBox) +
           getEverySMSCountWithSMSList(importantBoxList_, AT_PC, ImportantBox) +
           int(arrival_.deliveryReportArray.size()) + getEverySMSCountWithSMSList(pcDraftBoxList_, AT_PC, DraftBox);
  case AT_SIM:
    return m_nSIM_Used;
  case AT_TCARD: {
    int count = 0;
    const QString path = SmsListFiles::pathOfPosition(AT_TCARD);
    for (int box : {InBox, OutBox, DraftBox})
      for (const QVariant &entry : SmsListFiles::readBox(path, box))
        count += smsarrival::countOfEntry(entry.toMap(), box == DraftBox ? InBox : box);
    return count;
  }
  case AT_ME:
    return modemUsed_;
  default:
    return 0;
  }
}

void SMSController::updateSMSCountWithPos(int position) {
  if (!page)
    return;
  const int row = qelPositionManager_.getPositionOrderByPositon(position);
  if (row < 0 || row >= page->saveAtPos->count())
    return;
  QString label;
  int capacity = 0;
  switch (position) {
  case AT_PC:
    label = word("PC");
    capacity = maxCountOf("AT_PC");
    break;
  case AT_TCARD:
    label = word("SD Card");
    capacity = maxCountOf("AT_TCARD");
    break;
  case AT_SIM:
    label = word("(U)SIM");
    capacity = m_nSIM_Cap;
    break;
  case AT_ME:
    label = word("Modem capacity tip:");
    capacity = modemCap_;
    break;
  default:
    return;
  }
  page->saveAtPos->item(row)->setText(
      QStringLiteral("%1 (%2/%3)").arg(label).arg(getSMSCountWithPos(position)).arg(capacity));
}

void SMSController::updateSMSCount() {
  if (!smsSwitch("DisplaySMSCountInfo"))
    return;
  updateSMSCountWithPos(AT_PC);
  updateSMSCountWithPos(AT_SIM);
  if (qelPositionManager_.getPositionOrderByPositon(AT_TCARD) >= 0)
    updateSMSCountWithPos(AT_TCARD);
  if (hasPosition(AT_ME))
    updateSMSCountWithPos(AT_ME);
}

void SMSController::setMsgBoxSummary() {
  updateSMSCount();
  // The picture stays while unread messages are left.
  if (arrival_.Pic_newsms && !hasNewSMSInPos(AT_PC) && !hasNewSMSInPos(AT_SIM)) {
    arrival_.Pic_newsms->stopAnimation();
    arrival_.Pic_newsms->hide();
  }
  if (!page || !smsSwitch("SetMsgInfo"))
    return;
  const int position = getCurrentPosition(), box = getCurrentBox();
  QString text;
  if (position == AT_PC && (box == InBox || box == OutBox || box == DraftBox)) {
    text = smsarrival::fill(word("Local Inbox\nTotal: %d\n\n"), {QString::number(boxList(AT_PC, box).size())}) +
           smsarrival::fill(word("PC Total: %d/%d"),
                            {QString::number(getSMSCountWithPos(AT_PC)), QString::number(maxCountOf("AT_PC"))});
  } else if (position == AT_SIM && (box == InBox || box == OutBox || box == DraftBox)) {
    const char *line = box == InBox    ? "(U)SIM Inbox\nTotal: %d\n\n"
                       : box == OutBox ? "(U)SIM Outbox\nTotal: %d\n\n"
                                       : "(U)SIM Draft\nTotal: %d\n\n";
    text = smsarrival::fill(word(line), {QString::number(tableModel_ ? tableModel_->rowCount() : 0)}) +
           smsarrival::fill(word("(U)SIM Total: %d/%d"), {QString::number(m_nSIM_Used), QString::number(m_nSIM_Cap)});
  } else {
    return;
  }
  // The summary shows only while no message is chosen; a chosen message's text wins.
  if (currentSMSRecord_.isEmpty())
    page->messageText->setPlainText(text);
}

int SMSController::caculateUnReadSMSForSingleSMSRecord(const QVariantMap &record) {
  return smsarrival::unreadPartsOf(record);
}

void SMSController::resetPCUnReadSMSNumNotification() {
  if (pcInBoxList_.isEmpty())
    return;
  int unread = 0;
  for (const QVariant &r : pcInBoxList_)
    unread += caculateUnReadSMSForSingleSMSRecord(r.toMap());
  if (arrival_.labelSMSHint && uiConfigDict().value(QStringLiteral("RuvozUI")).toBool())
    arrival_.labelSMSHint->setText(unread >= 1 ? QString::number(unread) : QString());
}

void SMSController::recieveNewSMSHint(const Notification &n) {
  const int offset = n.userInfo.value(QStringLiteral("OffSet")).toInt();
  if (!offset || !arrival_.labelSMSHint || !uiConfigDict().value(QStringLiteral("RuvozUI")).toBool())
    return;
  const int value = arrival_.labelSMSHint->text().toInt() + offset;
  arrival_.labelSMSHint->setText(value > 0 ? QString::number(value) : QString());
}

void SMSController::sendNewSMSArriveNotification(const QString &number) {
  if (notificationCenter)
    notificationCenter->postNotificationName(QStringLiteral("NewSMSArriveNotification"), this,
                                             {{QStringLiteral("PhoneNumber"), number}});
}

void SMSController::freshStatusViewWhenNewSMSArrive() {
  SmsService *service = SmsService::sharedSmsService();
  service->getUnreadSMSInPos(AT_PC, pcInBoxList_);
  service->getUnreadSMSInPos(AT_SIM, simInBoxList_);
  const bool usage = service->checkPos(AT_PC, 0) || service->checkPos(AT_PC, 1) || service->checkPos(AT_SIM, 0) ||
                     service->checkPos(AT_SIM, 1);
  const auto &hook =
      usage ? arrival_.freshStatusViewWhenFlowValueSMSArrive : arrival_.freshStatusViewWhenNormalSMSArrive;
  if (hook)
    hook();
}

void SMSController::freshStatusViewWhenSMSReaded() {
  ConfigService *c = ConfigService::sharedConfigService();
  if (c && c->isFreshStatusViewWhenNewSMSArrive() && arrival_.freshStatusViewWhenSMSReaded)
    arrival_.freshStatusViewWhenSMSReaded();
}

void SMSController::messagesReadInList(const QVariantList &records) {
  if (smsSwitch("smsPopUpOfZ3i"))
    for (const QVariant &r : records)
      removeMessageOfPop_UpWithMessage(r.toMap());
  freshStatusViewWhenSMSReaded();
}

// ---- the pop-up list ----

SmsNoteWindow *SMSController::popUpPanel() {
  if (!arrival_.panelNewSmsArriveOfPop_Up) {
    auto *w = new SmsNoteWindow(wndMain, QStringLiteral("panelNewSmsArriveOfPop_Up"),
                                SmsNoteWindow::Title | SmsNoteWindow::Field1 | SmsNoteWindow::Field2);
    w->title->setText(word("new sms pop up title"));
    w->label1->setText(word("popupFrom"));
    w->label2->setText(word("time"));
    w->okBtn->setText(word("Open"));
    connect(w->okBtn, &QPushButton::clicked, this, [this] { openNewSMSContentOfPop_Up(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { closeNewSMSWindowOfPop_Up(); });
    arrival_.panelNewSmsArriveOfPop_Up = w;
    registerSkinItems({{w, "wndNewSmsArrive"}, {w->okBtn, "btnSMSOpenPopup"}});
  }
  return arrival_.panelNewSmsArriveOfPop_Up;
}

SmsNoteWindow *SMSController::popUpContentWindow() {
  if (!arrival_.winNewSmsContextOfPop_Up) {
    auto *w = new SmsNoteWindow(wndMain, QStringLiteral("winNewSmsContextOfPop_Up"),
                                SmsNoteWindow::Field1 | SmsNoteWindow::Field2 | SmsNoteWindow::Field3 |
                                    SmsNoteWindow::Content);
    w->label1->setText(word("popupFrom"));
    w->label2->setText(word("popupPhone"));
    w->label3->setText(word("time"));
    w->okBtn->setText(word("OK"));
    connect(w->okBtn, &QPushButton::clicked, this, [this] { closeSMSContentOfPop_UP(); });
    connect(w, &SmsNoteWindow::closedByUser, this, [this] { closeSMSContentOfPop_UP(); });
    arrival_.winNewSmsContextOfPop_Up = w;
    registerSkinItems({{w, "wndNewSmsView"}, {w->okBtn, "btnSMSContentOK"}});
  }
  return arrival_.winNewSmsContextOfPop_Up;
}

void SMSController::addPop_upUnReadSMSFromPC() {
  arrival_.tmpNewSMSListOfPop_Up.clear();
  for (qsizetype i = pcInBoxList_.size() - 1; i >= 0; --i) {
    const QVariantMap record = pcInBoxList_.at(i).toMap();
    const QVariantMap summary = smsarrival::summaryOf(record);
    if (summary.value(QStringLiteral("stat")).toInt() != 0)
      continue;
    QELBasicMessage m;
    m.messageDate = summary.value(QStringLiteral("date")).toDateTime();
    m.phoneNum = summary.value(QStringLiteral("mobilephone")).toString();
    m.userName = lookupName(m.phoneNum);
    m.messageStoredLocation = int(AT_PC);
    m.setMessageDateFormatString(shownDate(m.messageDate));
    arrival_.tmpNewSMSListOfPop_Up.push_back(m);
  }
}

void SMSController::showNewSMSWindowOfPop_Up() {
  if (arrival_.tmpNewSMSListOfPop_Up.empty()) {
    closeNewSMSWindowOfPop_Up();
    return;
  }
  const QELBasicMessage &last = arrival_.tmpNewSMSListOfPop_Up.back();
  SmsNoteWindow *w = popUpPanel();
  w->field1->setText(last.userName);
  w->field2->setText(last.getMessageDateFormatString());
  w->orderFront();
}

void SMSController::closeNewSMSWindowOfPop_Up() {
  if (arrival_.panelNewSmsArriveOfPop_Up)
    arrival_.panelNewSmsArriveOfPop_Up->orderOut();
  stopNewSMSSound();
}

void SMSController::openNewSMSContentOfPop_Up() {
  if (arrival_.tmpNewSMSListOfPop_Up.empty())
    return;
  const QELBasicMessage summary = arrival_.tmpNewSMSListOfPop_Up.back();
  arrival_.tmpNewSMSListOfPop_Up.pop_back();
  const int position = summary.messageStoredLocation.toInt() != AT_PC ? AT_SIM : AT_PC;
  const QVariantList &list = position == AT_SIM ? simInBoxList_ : pcInBoxList_;
  QVariantMap found;
  for (const QVariant &r : list)
    if (smsarrival::isSameMessage(r.toMap(), summary.phoneNum, summary.messageDate)) {
      found = r.toMap();
      break;
    }
  SmsNoteWindow *content = popUpContentWindow();
  if (!found.isEmpty())
    content->content->setPlainText(SmsRecord::text(found));
  content->field1->setText(summary.userName);
  content->field2->setText(summary.phoneNum);
  content->field3->setText(summary.getMessageDateFormatString());
  showNewSMSWindowOfPop_Up();
  if (found.isEmpty())
    return;
  // Read in the store and in the lists the table shows, before the table is drawn again: the
  // PC list is written here at once; the SIM's record is marked by the backend (the record's own
  // "index" is its place in the list file) and in the list on view meanwhile.
  QVariantMap read = found;
  readNewMessage(read);
  if (position == AT_PC)
    markReadInListFile(SmsListFiles::pathOfPosition(AT_PC), {found});
  else
    ReadNewSmsAtpos(position, found.value(QStringLiteral("index")).toInt());
  notifyChangeTabViewItem(QStringLiteral("SMS"));
  if (page) {
    const int row = qelPositionManager_.getPositionOrderByPositon(position);
    if (row >= 0 && row < page->saveAtPos->count())
      page->saveAtPos->setCurrentRow(row);
  }
  loadSmsList();
  if (position == AT_SIM)
    for (QVariant &entry : simInBoxList_)
      if (entry.toMap().value(QStringLiteral("index")) == found.value(QStringLiteral("index")) &&
          SmsRecord::isUnread(entry.toMap())) {
        QVariantMap record = entry.toMap();
        readNewMessage(record);
        entry = record;
      }
  messagesReadInList({read});
  selectSaveAt();
  if (wndMain && wndMain->isMinimized())
    wndMain->showNormal();
  content->orderFront();
}

void SMSController::removeMessageOfPop_UpWithMessage(const QVariantMap &record) {
  auto &list = arrival_.tmpNewSMSListOfPop_Up;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (smsarrival::isSameMessage(record, it->phoneNum, it->messageDate)) {
      list.erase(it);
      break;
    }
  if (smsSwitch("smsPopUpOfZ3i"))
    showNewSMSWindowOfPop_Up();
}

void SMSController::closeSMSContentOfPop_UP() {
  if (arrival_.winNewSmsContextOfPop_Up)
    arrival_.winNewSmsContextOfPop_Up->orderOut();
}
