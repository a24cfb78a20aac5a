#include "CallRecordController.h"
#include "PlugInBesidePage.h"

#include "CallNeighbours.h"
#include "CocoaExt.h"
#include "ConfigManager.h"
#include "FrameworkLinks.h"
#include "Neighbourhood.h"
#include "NotificationBridge.h"
#include "PhonebookNeighbour.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QCollator>
#include <QDebug>
#include <QHeaderView>
#include <QPointer>
#include <algorithm>

CallRecordController *g_CallRecordController = nullptr;

namespace {
const QString kMobilePhone = QStringLiteral("mobilephone");
const QString kDate = QStringLiteral("date");
const QString kCallTime = QStringLiteral("calltime");
const QString kCallType = QStringLiteral("callType");
const QStringList kColumns = {QStringLiteral("username"), kMobilePhone, kDate, kCallTime};
// The length of "2007-06-04 23:30:30": a longer stored text is a full date and is formatted.
constexpr int kPlainDateLength = 19;

QString kindOfRow(int row) {
  switch (row) {
  case 1:
    return CallRecordStore::kReceived;
  case 2:
    return CallRecordStore::kDialled;
  default:
    return CallRecordStore::kMissed;
  }
}
} // namespace

CallRecordController::CallRecordController(QObject *parent) : QELUIController(parent) {
  g_CallRecordController = this;
  saveRetry_.setSingleShot(true);
  saveRetry_.setInterval(kSaveRetryMs);
  connect(&saveRetry_, &QTimer::timeout, this, [this] { saveLog(); });
}

CallRecordController::~CallRecordController() {
  if (g_CallRecordController == this)
    g_CallRecordController = nullptr;
}

QString CallRecordController::word(const QString &key) const {
  return Map_Name_Item_of_IndexString(key);
}

void CallRecordController::initializeSkin() {
  if (!qelSkinManager || !page)
    return;
  const QStringList kinds = {QStringLiteral("btnMissedCalls"), QStringLiteral("btnReceivedCalls"),
                             QStringLiteral("btnDialedCalls")};
  for (int i = 0; i < page->kindButtons.size(); ++i)
    FrameworkLinks::registerController(qelSkinManager, page->kindButtons.at(i), kinds.value(i), false);
  FrameworkLinks::registerController(qelSkinManager, page->deleteBtn, QStringLiteral("btnDeleteBtn"), false);
  FrameworkLinks::registerController(qelSkinManager, page->DialBtn, QStringLiteral("btnDialBtn"), false);
  FrameworkLinks::registerController(qelSkinManager, page->SMSBtn, QStringLiteral("btnSMSBtn"), false);
  // The column headers are cells, not views the skin engine can hold: their items take the
  // skin's font and title colour here, and keep them when the wording changes their texts.
  const QStringList headerKeys = {QStringLiteral("UsernameForCallRecordView"),
                                  QStringLiteral("MobilephoneForCallRecordView"),
                                  QStringLiteral("DateForCallRecordView"), QStringLiteral("CalltimeForCallRecordView")};
  QTableWidget *table = page->callRecordView;
  for (int column = 0; column < headerKeys.size() && column < table->columnCount(); ++column) {
    const QString &key = headerKeys.at(column);
    if (!qelSkinManager->hasKey(key))
      continue;
    QTableWidgetItem *header = table->horizontalHeaderItem(column);
    if (!header) {
      header = new QTableWidgetItem;
      table->setHorizontalHeaderItem(column, header);
    }
    const QVariantMap font = qelSkinManager->itemInfoDictForKey(key).value(QStringLiteral("Font")).toMap();
    if (!font.isEmpty()) {
      const QFont current = table->horizontalHeader()->font();
      header->setFont(createFont(font.value(QStringLiteral("FontName")).toString(),
                                 font.value(QStringLiteral("FontSize")).toDouble(),
                                 font.value(QStringLiteral("FontTrait")).toInt(), &current));
    }
    const QColor color = qelSkinManager->textColorForKey(key);
    if (color.isValid())
      header->setForeground(color);
  }
}

void CallRecordController::initializeNibResources() {
  if (!page) {
    ownPage_ = std::make_unique<CallRecordPage>();
    page = ownPage_.get();
  }
  changeNibLanguage();
  connect(page->recordAtPos, &QButtonGroup::idClicked, this, [this] { selectRecordPosition(); });
  connect(page->deleteBtn, &QPushButton::clicked, this, [this] { deleteRecords(); });
  connect(page->DialBtn, &QPushButton::clicked, this, [this] { dial(); });
  connect(page->DialVoBtn, &QPushButton::clicked, this, [this] { dial(); });
  connect(page->SMSBtn, &QPushButton::clicked, this, [this] { callSms(); });
  connect(page->btnGoBackToCall, &QPushButton::clicked, this, [this] { gotoPhoneCall(); });
  connect(page->btnSaveNumber, &QComboBox::activated, this, [this] { saveNumberToPhoneBook(page->btnSaveNumber); });
  connect(page->callRecordView, &QTableWidget::itemSelectionChanged, this, [this] { followSelection(); });
  connect(page->callRecordView->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { sortByColumn(column); });
  loadSaveNumberBtnwithState(false);
}

void CallRecordController::changeNibLanguage() {
  if (!page)
    return;
  const QStringList kinds = {QStringLiteral("Missed Calls"), QStringLiteral("Received Calls"),
                             QStringLiteral("Dialed Calls")};
  for (int i = 0; i < page->kindButtons.size(); ++i)
    page->kindButtons.at(i)->setText(word(kinds.value(i)));
  page->DialBtn->setText(word(QStringLiteral("Call")));
  page->DialVoBtn->setText(word(QStringLiteral("Call")));
  page->deleteBtn->setText(word(QStringLiteral("Delete")));
  page->SMSBtn->setText(word(QStringLiteral("SMS")));
  page->btnGoBackToCall->setText(word(QStringLiteral("Go Back")));
  page->callRecordView->setHorizontalHeaderLabels({word(QStringLiteral("Name")), word(QStringLiteral("Phone Number")),
                                                   word(QStringLiteral("Date/Time")),
                                                   word(QStringLiteral("Call Duration"))});
}

void CallRecordController::registerMessages() {
  registerNotification(callRecordBundleNotficationTable);
}

void CallRecordController::loadCallRecords() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  store_ = CallRecordStore(config ? config->configFilePathOfKey(kCMCallRecordDataFile) : QString());
  store_.load();
}

void CallRecordController::initializeController() {
  loadCallRecords();
  if (page && !page->kindButtons.isEmpty())
    page->kindButtons.first()->setChecked(true);
  selectRecordPosition();
  if (page) {
    page->DialBtn->setVisible(hasModuleWith(QStringLiteral("Videocall")));
    page->DialBtn->setToolTip(word(QStringLiteral("Dial video call")));
    page->DialVoBtn->setVisible(hasModuleWith(QStringLiteral("Call")));
    page->DialVoBtn->setToolTip(word(QStringLiteral("Dial voice call")));
  }
  followSelection();
}

void CallRecordController::loadCommonBundle() {
  if (!loadPlugInBesidePage(*this, QStringLiteral("CallRecordBundle.bundle"), QStringLiteral("Record"), page.data()))
    return;
  notificationCenter->postNotificationName(QString::fromLatin1(kReadAllCallRecords), this,
                                           {{QString::fromLatin1(kReadAllCallRecords), store_.records()}});
}

void CallRecordController::updateLanguages(const Notification &) {
  changeNibLanguage();
  loadSaveNumberBtnwithState(false);
  reloadTable();
}

QString CallRecordController::searchUser(const QString &number) const {
  if (number.isNull())
    return {};
  return phonebookNameOf(number);
}

void CallRecordController::addCallRecord(const QVariantMap &record) {
  const bool once = settingDict().value(QStringLiteral("RecordSamePhoneOnce")).toBool();
  const int removed = store_.add(record, once);
  if (removed >= 0)
    notificationCenter->postNotificationName(QString::fromLatin1(kRemoveCallRecord), this,
                                             {{QString::fromLatin1(kRemoveCallRecord), removed}});
  saveLog();
  notificationCenter->postNotificationName(QString::fromLatin1(kAddNewCallRecord), this,
                                           {{QString::fromLatin1(kAddNewCallRecord), record}});
}

bool CallRecordController::saveLog() {
  if (store_.save()) {
    saveFailing_ = false;
    saveRetry_.stop();
    return true;
  }
  qWarning() << "CallRecordController: the call log could not be written; kept in memory, tried again";
  saveRetry_.start();
  if (saveFailing_)
    return false;
  saveFailing_ = true;
  // Told from the end of a call, inside the package handlers: the notice must not wait.
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                       word(QStringLiteral("The call log could not be saved. The calls are kept and saved again "
                                           "as soon as the disk allows.")),
                       word(QStringLiteral("OK")));
  return false;
}

void CallRecordController::selectRecordPosition(QObject *) {
  const int row = page ? std::max(0, page->recordAtPos->checkedId()) : 0;
  currentRecordList_ = store_.recordsOfType(kindOfRow(row));
  reloadTable();
}

void CallRecordController::reloadTable() {
  if (!page)
    return;
  QTableWidget *table = page->callRecordView;
  const QSignalBlocker blocker(table);
  table->clearSelection();
  table->setRowCount(int(currentRecordList_.size()));
  for (int row = 0; row < currentRecordList_.size(); ++row) {
    const QVariantMap r = currentRecordList_.at(row).toMap();
    for (int column = 0; column < kColumns.size(); ++column) {
      const QString &key = kColumns.at(column);
      QString text;
      if (column == 0) {
        text = searchUser(r.value(kMobilePhone).toString());
      } else if (key == kDate) {
        const QVariant date = r.value(kDate);
        text = date.typeId() == QMetaType::QDateTime ? formatStringFromDate(date.toDateTime()) : date.toString();
        if (date.typeId() != QMetaType::QDateTime && text.size() > kPlainDateLength)
          text = formatStringFromDate(QDateTime::fromString(text, Qt::ISODate));
      } else {
        text = r.value(key).toString();
      }
      table->setItem(row, column, new QTableWidgetItem(text));
    }
  }
  recordListItem_.clear();
  followSelection();
}

void CallRecordController::sortByColumn(int column) {
  if (column < 1 || column > 3)
    return;
  const QString key = kColumns.at(column);
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // Each record's key is read once; comparing maps over and over is slow on a long log.
  QList<std::pair<QVariant, int>> keys;
  keys.reserve(currentRecordList_.size());
  for (int i = 0; i < currentRecordList_.size(); ++i)
    keys.append({currentRecordList_.at(i).toMap().value(key), i});
  std::stable_sort(keys.begin(), keys.end(), [&](const auto &a, const auto &b) {
    if (key == kDate)
      return a.first.toDateTime() < b.first.toDateTime();
    return collator.compare(a.first.toString(), b.first.toString()) < 0;
  });
  QVariantList sorted;
  sorted.reserve(keys.size());
  for (const auto &k : keys)
    sorted.append(currentRecordList_.at(k.second));
  currentRecordList_ = sorted;
  reloadTable();
}

QList<int> CallRecordController::selectedRows() const {
  QList<int> rows;
  if (!page)
    return rows;
  for (const QModelIndex &index : page->callRecordView->selectionModel()->selectedRows())
    rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CallRecordController::followSelection() {
  if (!page)
    return;
  const QList<int> rows = selectedRows();
  if (!rows.isEmpty())
    recordListItem_ = currentRecordList_.value(rows.last()).toMap();
  const bool one = rows.size() == 1;
  const bool any = !rows.isEmpty();
  page->DialBtn->setEnabled(one && simCardReady_);
  page->DialVoBtn->setEnabled(one && simCardReady_);
  page->btnSaveNumber->setEnabled(one);
  page->deleteBtn->setEnabled(any);
  page->SMSBtn->setEnabled(any && simCardReady_);
}

void CallRecordController::deleteRecords(QObject *) {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty())
    return;
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")),
                                        word(QStringLiteral("Are you sure to delete the selected call record(s)?")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer == 1) {
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
      const QVariantMap record = currentRecordList_.value(*it).toMap();
      currentRecordList_.removeAt(*it);
      store_.removeEqual(record);
    }
    saveLog();
  }
  selectRecordPosition();
}

void CallRecordController::dial(QObject *) {
  const QString number = recordListItem_.value(kMobilePhone).toString();
  notificationCenter->postNotificationName(QString::fromLatin1(kCallWithPhoneNumber), this,
                                           {{QString::fromLatin1(kCallWithPhoneNumber), number}});
}

void CallRecordController::callSms(QObject *) {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty())
    return;
  const QVariant configured = settingDict().value(QStringLiteral("DefaultPhoneSeparator"));
  const QString separator = configured.isValid() ? configured.toString() : QStringLiteral(";");
  QString recipients;
  for (auto it = rows.crbegin(); it != rows.crend(); ++it)
    recipients += currentRecordList_.value(*it).toMap().value(kMobilePhone).toString() + separator;
  if (page)
    page->sendMessageTo->setText(recipients);
  CallNeighbours::shared().replyMessage(recipients);
}

void CallRecordController::gotoPhoneCall(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Call"));
}

void CallRecordController::saveNumberToPhoneBook(QObject *sender) {
  auto *popup = qobject_cast<QComboBox *>(sender);
  if (!popup)
    return;
  const QString chosen = popup->currentText();
  const QString number = recordListItem_.value(kMobilePhone).toString();
  for (const QString &store : {QStringLiteral("PC"), QStringLiteral("(U)SIM"), QStringLiteral("Data Card")}) {
    if (chosen == word(store)) {
      if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
        phonebook->toPbUserWinWithPhoneNumber(number, store);
      break;
    }
  }
  const QSignalBlocker blocker(popup);
  popup->setCurrentIndex(0);
}

void CallRecordController::loadSaveNumberBtnwithState(bool full) {
  if (!page)
    return;
  QComboBox *popup = page->btnSaveNumber;
  const QSignalBlocker blocker(popup);
  popup->clear();
  popup->addItem(word(QStringLiteral("SavePhone")));
  popup->addItem(word(QStringLiteral("PC")));
  if (full) {
    popup->addItem(word(QStringLiteral("(U)SIM")));
    if (CallNeighbours::shared().hasPosition(4))
      popup->addItem(word(QStringLiteral("Data Card")));
  }
}

void CallRecordController::recieveMissedCallNotification() {
  if (!page || !uiConfigDict().value(QStringLiteral("RuvozUI")).toBool())
    return;
  bool ok = false;
  const int count = page->labelCallHint->text().trimmed().toInt(&ok);
  page->labelCallHint->setText(QString::number(ok ? count + 1 : 1));
  page->labelCallHint->show();
}

void CallRecordController::resetMissedCallHint() {
  if (page && uiConfigDict().value(QStringLiteral("RuvozUI")).toBool())
    page->labelCallHint->setText(QStringLiteral(" "));
}

void CallRecordController::clearAllCallRecords(const Notification &) {
  // The plug-in's Clear all is one click away from losing the whole log, and the plug-in cannot
  // reach the question layer itself: ask here, as Delete does, without holding the packages.
  const QPointer<CallRecordController> self(this);
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                       word(QStringLiteral("Are you sure you want to delete all the record(s)?")),
                       word(QStringLiteral("OK")), word(QStringLiteral("Cancel")), [self](int answer, bool removed) {
                         if (self && answer == 1 && !removed)
                           self->clearAllCallRecordsNow();
                       });
}

void CallRecordController::clearAllCallRecordsNow() {
  store_.clear();
  saveLog();
  selectRecordPosition();
  notificationCenter->postNotificationName(QString::fromLatin1(kClearAllCallRecordsSuccess), this,
                                           {{QString::fromLatin1(kClearAllCallRecordsSuccess), store_.records()}});
}

void CallRecordController::initPhonebookReady(const Notification &) {
  loadSaveNumberBtnwithState(true);
}

void CallRecordController::netcardChanged(int code) {
  if (code == 2)
    dataCardOnLine_ = true;
  else if (code == 12)
    simCardReady_ = true;
  else if (code == 1)
    dataCardOnLine_ = simCardReady_ = false;
  followSelection();
  loadSaveNumberBtnwithState(false);
}

void CallRecordController::devicePlugin(const Notification &) {
  netcardChanged(2);
}
void CallRecordController::simReady(const Notification &) {
  netcardChanged(12);
}
void CallRecordController::deviceRemoved(const Notification &) {
  netcardChanged(1);
}

void CallRecordController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString() != QStringLiteral("Record"))
    return;
  resetMissedCallHint();
  selectRecordPosition();
}
