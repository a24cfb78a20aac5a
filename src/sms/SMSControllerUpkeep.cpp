// SMSController: writing PC and card lists, the memory card's synchronisation timer, the
// special boxes, the store location chosen by position, the clean-up after a save chain, the
// PC lists by IMSI, the chat-view notices, button states, shortcut delete and the device-lock
// answers.
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
#include "SmsSendWindows.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "WordGlobe.h"

#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>

namespace {
constexpr int kSmsModule = 5, kSettingModule = 3, kSmsMajor = 768, kStoreLocationMinor = 97, kCardSyncMinor = 115;
constexpr int kCardReady = 12;
constexpr int kDefaultCardInterval = 100;

bool sms(const char *key) {
  return ConfigService::readBool(QStringLiteral("SMS"), QLatin1String(key));
}
} // namespace

// ---- writing lists ----

bool SMSController::writeMessagesToPC(const QVariantList &entries, int box) {
  return SmsService::sharedSmsService()->writeMessagesToPC(entries, box);
}

bool SMSController::writeMessagesToBox(int box, const QVariantList &entries, const QString &path) {
  if (path.isEmpty())
    return false;
  return SmsService::sharedSmsService()->writeMessagesToBox(box, entries, path);
}

bool SMSController::writeMessagesToBox(int box, const QVariantMap &entry, const QString &path) {
  const QString key = smsBoxNames().value(box);
  if (path.isEmpty() || key.isEmpty() || entry.isEmpty() || !QFileInfo::exists(path))
    return false;
  return SmsListFiles::insertIntoBox(path, box, entry, false);
}

// ---- the memory card ----

int SMSController::synTcardInterval() const {
  const int seconds = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("SynTCardTimeInterval")).toInt();
  return seconds > 0 ? seconds : kDefaultCardInterval;
}

bool SMSController::synTcardTimerActive() const {
  return synTcardTimer_ && synTcardTimer_->isActive();
}

void SMSController::startSynTcardTimer() {
  synTcardSmsFlag_ = false;
  if (!qelPositionManager_.hasPosition(AT_TCARD)) {
    if (synTcardTimer_)
      synTcardTimer_->stop();
    return;
  }
  if (!synTcardTimer_) {
    synTcardTimer_ = new QTimer(this);
    connect(synTcardTimer_, &QTimer::timeout, this, [this] { synTCard(); });
  }
  synTcardTimer_->start(synTcardInterval() * 1000);
}

void SMSController::synTCard() {
  // The flag stays set until the backend answers: a request lost on the way is sent again.
  if (!qelPositionManager_.hasPosition(AT_TCARD) || !synTcardSmsFlag_ ||
      SmsListFiles::pathOfPosition(AT_TCARD).isEmpty() || !qelMsgCenter)
    return;
  qelMsgCenter->sendMessageModuleID(kSmsModule, kSmsMajor, kCardSyncMinor, 0, 0, QByteArray());
}

bool SMSController::isCurrentPositionFromTcard() const {
  if (!ConfigManager::sharedConfigManager())
    return false;
  return ConfigManager::sharedConfigManager()
             ->getConfigurationByModuleAndKey(QStringLiteral("Setting"), QStringLiteral("smsStoredPosition"))
             .toInt() == 4;
}

// ---- special boxes ----

void SMSController::setBoxMessageNumHiddenFlag(bool hidden, int box) {
  if (box < DELIVERY_REPORTBOX || box > BroadCastBox || !page)
    return;
  // The special boxes have no counter label of their own on this page: the row shows it.
  const int row = boxTables_.getBoxDisplayOrderWithBox(box, page->msgBoxSelectAt->count());
  if (QListWidgetItem *item = page->msgBoxSelectAt->item(row))
    item->setHidden(hidden);
}

void SMSController::showOrHiddenSpecialBox(int box) {
  if (box <= DraftBox || !hasbox(box) || !page)
    return;
  const int row = boxTables_.getBoxDisplayOrderWithBox(box, page->msgBoxSelectAt->count());
  QListWidgetItem *item = page->msgBoxSelectAt->item(row);
  if (!item)
    return;
  const bool shown = !SmsService::isSimOrMeWithPosition(getCurrentPosition());
  item->setFlags(shown ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
  setBoxMessageNumHiddenFlag(!shown, box);
}

void SMSController::special_SelectSaveAt() {
  if (sms("isHaveDeliveryReportBox"))
    showOrHiddenDeliveryReportBox();
  for (int box : {DeletedBox, ImportantBox, DELIVERY_REPORTBOX, BroadCastBox})
    showOrHiddenSpecialBox(box);
  if (page) {
    page->btnRecover_->setEnabled(false);
    page->btnMoveToImportantBox_->setEnabled(false);
  }
  setMenuItemState(false, ImportantItem);
}

// ---- store location and browse position ----

int SMSController::storeLocationOfPosition(int position) {
  switch (position) {
  case AT_PC:
    return 2;
  case AT_SIM:
    return 1;
  case AT_TCARD:
    return 4;
  case AT_ME:
    return 3;
  default:
    return 0;
  }
}

int SMSController::positionOfStoreLocation(int location) {
  switch (location) {
  case 3:
    return AT_ME;
  case 4:
    return AT_TCARD;
  case 1:
    return AT_SIM;
  default:
    return AT_PC;
  }
}

void SMSController::setSMSStoreLocWhenClickSMSBrowsePos() {
  const int location = storeLocationOfPosition(getCurrentPosition());
  if (auto *settings = Neighbourhood::settings())
    settings->setCurrentSetSMSPostion_(location);
  if (!qelMsgCenter)
    return;
  QByteArray data(4, '\0');
  qToLittleEndian<quint32>(quint32(location), data.data());
  qelMsgCenter->sendMessageModuleID(kSettingModule, kSmsMajor, kStoreLocationMinor, 0, 0, data);
}

void SMSController::initSmsBrowsePosWithSmsStorePos(int location) {
  if (!page)
    return;
  const int row = qelPositionManager_.getPositionOrderByPositon(positionOfStoreLocation(location));
  if (row >= 0 && row < page->saveAtPos->count())
    page->saveAtPos->setCurrentRow(row);
}

void SMSController::setSMSBrowsePosWhenEnterSMSUI() {
  if (!page)
    return;
  QString name = ConfigService::sharedConfigService()->getSMSDefaultBrowsePosWhenOpenSmsUI();
  if (name.isEmpty())
    name = QStringLiteral("AT_PC");
  const int row = qelPositionManager_.getPositionOrderByPositonName(name);
  if (row >= 0 && row < page->saveAtPos->count() && row != page->saveAtPos->currentRow()) {
    page->saveAtPos->setCurrentRow(row);
    selectSaveAt();
  }
}

// ---- after a save chain ----

void SMSController::deleteSmsAfterSaveSmsOK() {
  // Once per run: the list is emptied here, so a second call finds nothing to delete.
  const QVariantList saved = delSmsListAfterSave_;
  delSmsListAfterSave_.clear();
  if (saved.isEmpty())
    return;
  if (SmsService::isSimOrMeWithPosition(delSMSFromPos_)) {
    QVariantList items;
    for (const QVariant &e : saved)
      items.append(QVariantMap{{QStringLiteral("pos"), delSMSFromPos_},
                               {QStringLiteral("box"), delSMSFromBox_},
                               {QStringLiteral("index"), e.toMap().value(QStringLiteral("srcIndex"))},
                               {QStringLiteral("record"), e.toMap().value(QStringLiteral("record"))}});
    if (page)
      setButtonState(0);
    deleteMessagesInSIMorMEWithDeletedArray(items);
    return;
  }
  QVariantList records;
  for (const QVariant &e : saved)
    records.append(e.toMap().value(QStringLiteral("record")));
  movePcRecords(SmsListFiles::pathOfPosition(delSMSFromPos_), delSMSFromBox_, records, {});
  reFreshPCBox();
}

void SMSController::setSMSReadedAfterSMSCopyFromPcToSim() {
  const QVariantList copied = copiedToSim_;
  copiedToSim_.clear();
  // The copies are found again by number and date: the backend decides where they land.
  for (const QVariant &c : copied) {
    const QVariantMap wanted = c.toMap();
    for (QVariant &entry : simInBoxList_) {
      QVariantMap record = entry.toMap();
      if (!SmsRecord::isUnread(record) || SmsRecord::number(record) != SmsRecord::number(wanted) ||
          SmsRecord::date(record) != SmsRecord::date(wanted))
        continue;
      readNewMessage(record);
      entry = record;
      if (m_nNetCardStatus == kCardReady)
        ReadNewSmsAtpos(AT_SIM, record.value(QStringLiteral("index")).toInt());
      break;
    }
  }
  reloadTable();
}

// ---- PC lists ----

QVariantList SMSController::getAllPcListByBox(int box) {
  loadBoxinPCList();
  // The file's own box: a list filtered by IMSI is never the one written back.
  return SmsService::sharedSmsService()->getAllPcListByBox(box);
}

QVariantList SMSController::getPClistByIMSI(const QString &imsi, int box) const {
  QVariantList kept;
  if (imsi.isEmpty())
    return kept;
  for (const QVariant &r : SmsService::sharedSmsService()->getPCBoxListWithBox(box))
    if (r.toMap().value(QStringLiteral("IMSI")).toString() == imsi)
      kept.append(r);
  return kept;
}

// ---- notices and buttons ----

void SMSController::sendNoteRrefreshChatRecord(const QVariantList &inBox, const QVariantList &outBox,
                                               const QVariantList &draftBox) {
  if (notificationCenter)
    notificationCenter->postNotificationName(QStringLiteral("RefreshChatRecord"), this,
                                             {{QStringLiteral("PCInBox"), inBox},
                                              {QStringLiteral("PCOutBox"), outBox},
                                              {QStringLiteral("DraftBox"), draftBox}});
}

void SMSController::updateButtonSate(int state) {
  if (notificationCenter)
    notificationCenter->postNotificationName(QStringLiteral("UpdateButtonState"), this,
                                             {{QStringLiteral("ButtonState"), state}});
}

void SMSController::setNewMessageBtnWhenInitController() {
  if (page)
    page->newMessageBtn->setEnabled(sms("SMS_NewMessageBtnIsEnabled_WhenSMSInit"));
}

void SMSController::setNewMessageBtnWhenNetCardUndetected() {
  if (page)
    page->newMessageBtn->setEnabled(sms("SMS_NewMessageBtnIsEnabled_WhenNetCardUnDetected"));
}

void SMSController::setSendSMSBtnStatWhenNewMessage() {
  messageWindow()->SendMessageBtn->setEnabled(m_nNetCardStatus != 1);
}

// ---- shortcut delete ----

void SMSController::initUseShortCutKeyDeleteMessageWindow() {
  if (!page || menuUseShortcutKeyDeleteMessage_)
    return;
  menuUseShortcutKeyDeleteMessage_ = new QMenu(page);
  menuUseShortcutKeyDeleteMessage_->setObjectName(QStringLiteral("menuUseShortcutKeyDeleteMessage"));
  mentItemUseShortcutKeyDeleteMessage_ = menuUseShortcutKeyDeleteMessage_->addAction(QString());
  mentItemUseShortcutKeyDeleteMessage_->setShortcut(QKeySequence::Delete);
  mentItemUseShortcutKeyDeleteMessage_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  page->msgBoxList->addAction(mentItemUseShortcutKeyDeleteMessage_);
  connect(mentItemUseShortcutKeyDeleteMessage_, &QAction::triggered, this, [this] {
    if (!selectedRows_.isEmpty())
      deleteMessage(mentItemUseShortcutKeyDeleteMessage_);
  });
  connect(menuUseShortcutKeyDeleteMessage_, &QMenu::aboutToShow, this, [this] { menuWillOpen(); });
  if (sms("DeleteSelectedSMS"))
    mentItemUseShortcutKeyDeleteMessage_->setText(Map_Name_Item_of_IndexString(QStringLiteral("Delete")));
}

void SMSController::menuWillOpen() {
  if (mentItemUseShortcutKeyDeleteMessage_)
    mentItemUseShortcutKeyDeleteMessage_->setEnabled(!selectedRows_.isEmpty());
}

// ---- the user's device lock ----

void SMSController::notifyDeviceUnlockSuccess(const Notification &) {
  if (getDeviceLockFunctionModule && getDeviceLockFunctionModule() == 1)
    notifyChangeTabViewItem(QStringLiteral("SMS"));
}

void SMSController::notifyDeviceUnlockFailed(const Notification &) {
  if (getDeviceLockFunctionModule && getDeviceLockFunctionModule() == 1)
    notifyChangeTabViewItem(QStringLiteral("Internet"));
}
