// SMSController: choosing a position and a box, the device's coming and going, the button
// states, and selecting and reading messages.
#include "AnimationView.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "Neighbourhood.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingsNeighbour.h"
#include "SmsRecord.h"
#include "SmsSendWording.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QHeaderView>
#include <QtEndian>

namespace {
constexpr int kSmsModule = 5, kSmsMajor = 768, kReadMinor = 103;
constexpr int kCardReady = 12;

bool sms(const char *key) {
  return ConfigService::readBool(QStringLiteral("SMS"), QLatin1String(key));
}
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

bool sameMessage(const QVariantMap &a, const QVariantMap &b) {
  return SmsRecord::number(a) == SmsRecord::number(b) && SmsRecord::date(a) == SmsRecord::date(b);
}
} // namespace

int SMSController::getCurrentBox() const {
  const int row = page ? page->msgBoxSelectAt->currentRow() : 0;
  const int box = boxTables_.boxAtDisplayOrder(std::max(0, row));
  return box < 0 ? InBox : box;
}

int SMSController::getCurrentPosition() const {
  const int row = page ? page->saveAtPos->currentRow() : 0;
  const int position = qelPositionManager_.getPositionByPositionOrder(std::max(0, row));
  return position < 0 ? AT_PC : position;
}

QVariantList SMSController::currentBoxList() const {
  const QVariantList list = boxList(getCurrentPosition(), getCurrentBox());
  // A search gives a list of its own; the store's lists stay as they are.
  return isSearchMode() ? searchMessagesFromCurrentBox(list, searchKey()) : list;
}

void SMSController::setColumnHeaders(int box) {
  const char *phone = "Phone Number";
  if (box == InBox)
    phone = "From";
  else if (box == OutBox || box == DraftBox || box == DELIVERY_REPORTBOX)
    phone = "To";
  tableModel_->setHeader(QStringLiteral("mobilephone"), word(phone));
  tableModel_->setHeader(QStringLiteral("stat"),
                         word(box == DeletedBox || box == ImportantBox ? "Position" : "Status"));
}

void SMSController::reloadTable() {
  SmsTableModel::Context context;
  context.box = getCurrentBox();
  context.position = getCurrentPosition();
  context.showReadStatus = sms("showReadStatus");
  context.boldUnread = sms("BoldUnreadSMSFont");
  context.noNameIfUnknown = sms("noDisplayUserNameIfNotFindInPhoneBook");
  context.separator = SmsService::sharedSmsService()->phoneSeparator();
  context.unreadWord =
      WordingOperation::getDisplayWordingValueByWordingKey(QStringLiteral("SMS_tableColumnStat_NewSmsState"));
  context.readWord = word("read");
  context.boxWord = [this](int box) { return Map_Name_Item_of_IndexString(getBoxStrWithBox(box)); };
  context.lookup = [](const QString &number) { return lookupName(number); };
  context.specialText = [](const QString &number) { return smssend::specialNameOf(number); };
  context.multiLookup = [](const QString &numbers) {
    return SmsService::sharedSmsService()->searchMultiPhoneNumber(numbers);
  };
  context.dateText = [this](const QDateTime &date) { return shownDate(date); };
  tableModel_->setContext(context);
  tableModel_->setRows(currentBoxList());
  // A reset model has no selection, and the view says nothing of it: when a message was chosen,
  // the selection step runs here, so no removed message stays in the text view, in the current
  // record or behind Call and the buttons.
  if (!selectedRows_.isEmpty() || !currentSMSRecord_.isEmpty())
    selectionDidChange({});
  selectedRows_.clear();
  setMsgBoxInfo();
}

// The counters count the whole lists of the position, whatever a search shows.
void SMSController::setMsgBoxInfo() {
  if (!page)
    return;
  const int position = getCurrentPosition();
  const QVariantList inBox = boxList(position, InBox);
  if (sms("Sms_DisplayUnreadSmsCount_WithInboxCountLabel"))
    page->inBoxMessageNum->setText(QStringLiteral("(%1/%2)").arg(SmsRecord::unreadCount(inBox)).arg(inBox.size()));
  else
    page->inBoxMessageNum->setText(QStringLiteral("(%1)").arg(inBox.size()));
  page->outBoxMessageNum->setText(QStringLiteral("(%1)").arg(boxList(position, OutBox).size()));
  page->draftBoxMessageNum->setText(QStringLiteral("(%1)").arg(boxList(position, DraftBox).size()));
  const int rows = page->msgBoxSelectAt->count();
  auto rowOf = [&](int box) {
    const int row = getBoxDisplayOrderWithBox(box, rows);
    return row < rows ? row : -1;
  };
  page->placeBoxCounters({rowOf(InBox), rowOf(OutBox), rowOf(DraftBox)});
  refreshTreeCounts();
  setMsgBoxSummary();
}

void SMSController::msgBoxSelect() {
  const int box = getCurrentBox();
  setColumnHeaders(box);
  if (page) {
    page->messageText->clear();
    for (QWidget *w :
         std::initializer_list<QWidget *>{page->deleteBtn, page->saveToBtn, page->btnMoveTo_, page->replyBtn,
                                          page->forwardMessageBtn, page->callBtn, page->savePhonePopUp})
      w->setEnabled(false);
  }
  initSetMenuItemsState();
  currentSMSRecord_.clear();
  reloadTable();
  if (page)
    page->msgBoxList->scrollToTop();
}

void SMSController::selectSaveAt() {
  if (page) {
    page->messageText->clear();
    page->SearchSMS_item->clear();
    page->msgBoxSelectAt->setCurrentRow(0);
  }
  currentSMSRecord_.clear();
  special_SelectSaveAt();
  if (sms("SMS_SetSmsStoreLoc_WhenClickSavePos"))
    setSMSStoreLocWhenClickSMSBrowsePos();
  msgBoxSelect();
}

void SMSController::setSaveAtPosEnabled(bool enabled) {
  if (!page)
    return;
  page->saveAtPos->setEnabled(true);
  for (int row = 0; row < page->saveAtPos->count(); ++row) {
    QListWidgetItem *item = page->saveAtPos->item(row);
    const int position = qelPositionManager_.getPositionByPositionOrder(row);
    bool on = enabled;
    if (position == AT_TCARD)
      on = enabled && !SmsListFiles::pathOfPosition(AT_TCARD).isEmpty();
    // The PC's messages stay readable without a device.
    if (position == AT_PC && (!enabled && !sms("SavePosAsButton")))
      on = true;
    item->setFlags(on ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
  }
}

void SMSController::setButtonState(int state) {
  if (!page || (state != 0 && state != 1))
    return;
  if (state == 1) {
    setSaveAtPosEnabled(true);
    page->newMessageBtn->setEnabled(true);
    setMenuItemState(true, NewItem);
    page->msgBoxSelectAt->setEnabled(true);
    return;
  }
  setSaveAtPosEnabled(false);
  for (QWidget *w :
       std::initializer_list<QWidget *>{page->replyBtn, page->saveToBtn, page->btnMoveTo_, page->forwardMessageBtn,
                                        page->newMessageBtn, page->deleteBtn, page->savePhonePopUp})
    w->setEnabled(false);
  initSetMenuItemsState();
}

void SMSController::netcardChanged(int status) {
  m_nNetCardStatus = status;
  deviceStoresGone_ = status == 1;
  loadSaveNumberBtnwithState(status == kCardReady);
  if (status == kCardReady) {
    if (page)
      page->newMessageBtn->setEnabled(true);
    setMenuItemState(true, NewItem);
    SmsService::sharedSmsService()->setDelSimSmsList({});
    createNodeOfSimWhenSimCardvalid();
    return;
  }
  deleteNodeOfSimWhenSimCardInvalid();
  setButtonState(0);
  if (page)
    page->msgBoxList->clearSelection();
}

void SMSController::devicePlugin(const Notification &) {
  netcardChanged(2);
}
void SMSController::simReady(const Notification &) {
  netcardChanged(kCardReady);
}

void SMSController::deviceRemoved(const Notification &) {
  netcardChanged(1);
  // The device's stores are gone: back to the PC's InBox.
  simInBoxList_.clear();
  simOutBoxList_.clear();
  simDraftBoxList_.clear();
  messagesFromME_.clear();
  m_nSIM_Cap = m_nSIM_Used = modemCap_ = modemUsed_ = 0;
  if (page) {
    page->saveAtPos->setCurrentRow(std::max(0, qelPositionManager_.getPositionOrderByPositon(AT_PC)));
    page->msgBoxSelectAt->setCurrentRow(0);
  }
  setButtonState(0);
  setNewMessageBtnWhenNetCardUndetected();
  // A send that was running stops here and says how far it went; the editor and what the user
  // typed in it stay (see keepEditorWithoutDevice).
  saveUnsentWhenDeviceRemoved();
  keepEditorWithoutDevice();
  setColumnHeaders(getCurrentBox());
  reloadTable();
  // The picture and the pop-up spoke of the device's messages too.
  if (arrival_.Pic_newsms && !hasNewSMSInPos(AT_PC)) {
    arrival_.Pic_newsms->stopAnimation();
    arrival_.Pic_newsms->hide();
  }
  if (sms("smsPopUpOfZ3i")) {
    arrival_.tmpNewSMSListOfPop_Up.clear();
    closeNewSMSWindowOfPop_Up();
  }
  updateButtonSate(0);
  special_SelectSaveAt();
  setSynTcardSmsFlag(true);
  // A background send the removal cut short is over: later sends show their progress and
  // result again.
  setSmsStateToNormalAfterSendSMSOverOnBackGround();
  refreshTreeCounts();
}

void SMSController::updateInterface() {
  if (isFullWithPosition(AT_SIM))
    alertFullWithPosition(AT_SIM, 0);
}

void SMSController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString() != QStringLiteral("SMS"))
    return;
  // A full SIM store is said when the tab is opened.
  updateInterface();
  const bool lockOn =
      ConfigManager::sharedConfigManager() &&
      ConfigManager::sharedConfigManager()->getConfiguration().value(QStringLiteral("DeviceLockSMSFunction")).toBool();
  if (lockOn && Neighbourhood::settings() && Neighbourhood::settings()->getDeviceUnlockCodeState() &&
      openUnlockDeviceWindow)
    openUnlockDeviceWindow();
}

// ---- selecting and reading ----

void SMSController::selectionDidChange(const QList<int> &rows) {
  const QVariantList list = tableModel_->rows();
  selectedRows_.clear();
  for (int row : rows)
    if (row >= 0 && row < list.size())
      selectedRows_ << row;
  currentSMSRecord_ = selectedRows_.isEmpty() ? QVariantMap() : list.at(selectedRows_.first()).toMap();
  if (page) {
    if (selectedRows_.isEmpty())
      page->messageText->clear();
    else
      displayMessageText();
  }
  doWhenSMSSelectionDidChange(selectedRows_);
}

void SMSController::doWhenSMSSelectionDidChange(const QList<int> &rows) {
  const int n = int(rows.size());
  const int box = getCurrentBox();
  const int position = getCurrentPosition();
  const bool ready = m_nNetCardStatus == kCardReady;
  if (page) {
    page->deleteBtn->setEnabled(n > 0);
    for (QWidget *w : std::initializer_list<QWidget *>{page->forwardMessageBtn, page->savePhonePopUp, page->replyBtn,
                                                       page->saveToBtn, page->btnMoveTo_, page->callBtn})
      w->setEnabled(false);
    if (ready && n > 0 &&
        (box == InBox || box == OutBox || (box == DraftBox && SmsService::isSimOrMeWithPosition(position)))) {
      page->saveToBtn->setEnabled(true);
      page->btnMoveTo_->setEnabled(true);
    }
    if (n == 1) {
      const bool hasNumber = !SmsRecord::number(currentSMSRecord_).isEmpty();
      if (ready && box == InBox) {
        page->replyBtn->setEnabled(true);
        page->forwardMessageBtn->setEnabled(true);
      }
      if (ready && box == OutBox && sms("supportMessageForwardInOutBox"))
        page->forwardMessageBtn->setEnabled(true);
      page->savePhonePopUp->setEnabled(box == DraftBox ? hasNumber : true);
      if (ready && (box == InBox || box == OutBox))
        page->callBtn->setEnabled(true);
    }
  }

  if (box == DELIVERY_REPORTBOX && position == AT_PC && n == 1)
    readDeliveryReportAt(rows.first());

  // Reading: every selected unread InBox message becomes read, in the list on view, in its
  // store; the PC's file is written once for the whole selection.
  if (box == InBox && n > 0) {
    QVariantList *list = listRef(position, box);
    QVariantList shown = tableModel_->rows();
    QVariantList changed;
    for (int i = n - 1; i >= 0; --i) {
      QVariantMap record = shown.at(rows.at(i)).toMap();
      if (!readNewMessage(record))
        continue;
      shown[rows.at(i)] = record;
      changed.prepend(record);
      if (list)
        for (QVariant &entry : *list)
          if (entry.toMap().value(QStringLiteral("index")) == record.value(QStringLiteral("index")))
            entry = record;
      if (position == AT_ME) {
        QVariantList me = messagesFromME_.value(QStringLiteral("InBox")).toList();
        for (QVariant &entry : me)
          if (entry.toMap().value(QStringLiteral("index")) == record.value(QStringLiteral("index")))
            entry = record;
        messagesFromME_.insert(QStringLiteral("InBox"), me);
      }
    }
    if (!changed.isEmpty()) {
      if (position == AT_PC || position == AT_TCARD)
        markReadInListFile(SmsListFiles::pathOfPosition(position), changed);
      else if (ready)
        for (const QVariant &record : changed)
          ReadNewSmsAtpos(position, record.toMap().value(QStringLiteral("index")).toInt());
      // The rows keep their selection; only their state words and faces change.
      tableModel_->updateRows(shown);
      setMsgBoxInfo();
      messagesReadInList(changed);
    }
    currentSMSRecord_ = shown.at(rows.first()).toMap();
  }
  setMenuItemsStateWhenSMSSelectionDidChange();
  setManageButtonsForSelection();
}

bool SMSController::readNewMessage(QVariantMap &record) {
  if (record.isEmpty() || SmsRecord::isFlat(record))
    return false;
  if (record.value(QStringLiteral("concatSmsFlag")).toBool()) {
    QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
    if (SmsRecord::readState(record) != 0)
      return false;
    summary.insert(QStringLiteral("stat"), 1);
    record.insert(QStringLiteral("concatSmsInfo"), summary);
    QVariantList parts = record.value(QStringLiteral("smsInfo")).toList();
    for (QVariant &part : parts) {
      QVariantMap p = part.toMap();
      p.insert(QStringLiteral("stat"), 1);
      part = p;
    }
    record.insert(QStringLiteral("smsInfo"), parts);
    return true;
  }
  QVariantMap info = record.value(QStringLiteral("smsInfo")).toMap();
  if (quint8(info.value(QStringLiteral("stat")).toLongLong()) != 0)
    return false;
  info.insert(QStringLiteral("stat"), 1);
  record.insert(QStringLiteral("smsInfo"), info);
  // The summary of a single record mirrors its part.
  QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (summary.contains(QStringLiteral("stat"))) {
    summary.insert(QStringLiteral("stat"), 1);
    record.insert(QStringLiteral("concatSmsInfo"), summary);
  }
  return true;
}

bool SMSController::markReadInListFile(const QString &path, const QVariantList &records) {
  if (path.isEmpty() || records.isEmpty())
    return false;
  return ListFile::update(path, [&](QVariantMap &dict) {
    QVariantList inBox = dict.value(QStringLiteral("InBox")).toList();
    bool changed = false;
    for (const QVariant &r : records) {
      const QVariantMap wanted = r.toMap();
      bool ok = false;
      qsizetype at = wanted.value(QStringLiteral("index")).toInt(&ok);
      if (!ok || at < 0 || at >= inBox.size() || !sameMessage(inBox.at(at).toMap(), wanted)) {
        // The file changed since the list was read: find the message again.
        at = -1;
        for (qsizetype i = 0; i < inBox.size() && at < 0; ++i)
          if (SmsRecord::isUnread(inBox.at(i).toMap()) && sameMessage(inBox.at(i).toMap(), wanted))
            at = i;
      }
      if (at < 0)
        continue;
      QVariantMap stored = inBox.at(at).toMap();
      if (readNewMessage(stored)) {
        inBox[at] = stored;
        changed = true;
      }
    }
    if (changed)
      dict.insert(QStringLiteral("InBox"), inBox);
    return changed;
  });
}

void SMSController::ReadNewSmsAtpos(int position, int index) {
  if (!qelMsgCenter || position < 0 || index < 0)
    return;
  QByteArray data(8, '\0');
  qToLittleEndian<quint32>(quint32(position), data.data());
  qToLittleEndian<quint32>(quint32(index), data.data() + 4);
  qelMsgCenter->sendMessageModuleID(kSmsModule, kSmsMajor, kReadMinor, 0, 0, data);
}
