#pragma once

#include "MessagesNeighbour.h"
#include "QELUIController.h"
#include "QelPosition.h"
#include "SmsArrivalState.h"
#include "SmsSendState.h"

#include <QHash>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>
#include <functional>

class QAction;
class QListWidget;
class QMenu;
class QTimer;
class SMSPage;
class SmsEditorWindow;
class SmsSendingWindow;
class SmsTableModel;
class SmsNoteWindow;
class SmsPurchaseWindow;
struct Notification;

// The short-message controller: the storage positions and box tables of the SMS tab, and the
// new-message animation that pauses while the main window is miniaturised.
class SMSController : public QELUIController, public MessagesNeighbour {
  Q_OBJECT
public:
  explicit SMSController(QObject *parent = nullptr);
  ~SMSController() override;

  void stopAnimationWhenMinimizeWithNewSms() override;
  void startAnimationWhenMaximizeWithNewSms() override;
  bool newSmsAnimationPaused() const { return newSmsAnimationPaused_; }

  // ---- the message stores, as the other subsystems see them (SMSControllerSpecial.cpp) ----
  void setBAlreadySendedCheckUsageSMS(bool sent) override;
  QVariantMap processListOfRecharge() const override;
  void setUnshowInfoWndWhenSendSmsByFlag(bool flag) override;
  bool sendingSMSInBackGround() const override;
  void setSendingSmsSMSInBackGroud(bool on) override;
  int typeOfNewSms() const override;
  bool checkPos(int position, int type) const override;
  bool hasUnreadInList(int position) const override;
  void refillPcUnreadList() override;
  int getFlowValueInfoFromFile() override;
  bool isOverDueFlowValueSms() override;

  // ---- positions and boxes (SMSControllerSpecial.cpp) ----
  // Builds the box tables, then the position table.
  void specialInitialize();
  void boxDisplayOrderInit();
  void qelPositionManagerInit();
  static int getBoxWithBoxStr(const QString &name) { return SmsBoxTables::getBoxWithBoxStr(name); }
  QString getBoxStrWithBox(int box) const { return boxTables_.getBoxStrWithBox(box); }
  // The row of a box in the box selector of `rowCount` rows; `rowCount` itself when the box is
  // not listed, which is no row.
  int getBoxDisplayOrderWithBox(int box, int rowCount) const {
    return boxTables_.getBoxDisplayOrderWithBox(box, rowCount);
  }
  // A PC entry without "smsInfo" is a flat draft.
  static bool isPCDrafBoxMessage(const QVariantMap &entry);
  bool hasPosition(int position) const override { return qelPositionManager_.hasPosition(position); }
  const QelPositionManager &qelPositionManager() const { return qelPositionManager_; }
  const SmsBoxTables &boxTables() const { return boxTables_; }

  // What the phonebook and its contact picker hand the message page; recorded until the page
  // exists (SMSControllerPhonebook.cpp).
  void loadSaveNumberBtnwithState(bool state) override;
  void setTheSearchFieldText(const QStringList &numbers) override;
  void toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module) override;
  QStringList saveNumberMenuItems() const { return saveNumberMenuItems_; }
  // The selected message's number (a PC draft's own); null without a selected message.
  QString getMobilePhoneFromSelectedSMS() const override;
  // The save-number pop-up's choice: asks the phonebook for a new contact in that store with the
  // selected number. The builder wires the phonebook in; the last request is kept.
  void savePhoneNumber(const QString &chosenTitle);
  std::function<void(const QString &number, const QString &store)> toPbUserWinWithPhoneNumber;
  QPair<QString, QString> lastSaveNumberRequest() const { return lastSaveNumberRequest_; }
  // Asks the call side to dial the selected message's number.
  void call();
  QStringList recipientsFieldNumbers() const { return recipientsFieldNumbers_; }
  QStringList newMessageNumbers() const { return newMessageNumbers_; }
  QString newMessageModule() const { return newMessageModule_; }

  // ---- writing and sending ----
  // The editor and drafts (SMSControllerEditor.cpp).
  QString stringForSMSEditor() const;
  void setStringForSMSEditor(const QString &text);
  SmsEditorWindow *messageWindow();
  void openMessageWin();
  void closeMessageWin();
  Q_INVOKABLE void newMessage(QObject *sender = nullptr);
  Q_INVOKABLE void replyMessage(QObject *sender = nullptr);
  void sendMessageToNumber(const QString &number) override;
  Q_INVOKABLE void forwardMessage(QObject *sender = nullptr);
  Q_INVOKABLE void cancel(QObject *sender = nullptr);
  Q_INVOKABLE void saveMessageToDraft(QObject *sender = nullptr);
  // Saves `text` (the editor text when null) as a draft for one number: through the backend, or
  // straight into the PC DraftBox when there is no device.
  void addToPcDraftBoxWithPhone(const QString &number, const QString &text = QString());
  // Deletes the draft the key names, found again in a fresh load of its store; false when it
  // is gone.
  bool deleteDraft(const SmsDraftKey &key);
  Q_INVOKABLE void sendMessageInDraftBox(QObject *sender = nullptr);
  void setTextAndPhoneWhenDoubleClickDrafBox();
  QString getPhoneNumWithSMSDict(const QVariantMap &entry, int box, int position) const;
  Q_INVOKABLE void replyMessageFromMMS(const QString &number);
  void reloadPCSmsList();
  Q_INVOKABLE void dealWithMsgOfSaveSMSToDraft(const Notification &n);
  bool isDraftSms() const { return send_.isDraftSms; }
  // Counting, recipients and picked contacts (SMSControllerEditorText.cpp).
  void textDidChangeForSMS();
  void controlTextDidChange() override;
  void initSearchField();
  void showSelectWindow();
  QString searchNameAtPhoneBookInSms(const QString &number) const;
  // The send road (SMSControllerSend.cpp).
  Q_INVOKABLE void sendMessage(QObject *sender = nullptr);
  void sendMessageto(const QString &numbers, const QString &text) override;
  // Sends one message to one number (768/91). False, with nothing sent, when the message does
  // not fit the request (text over 3200 UTF-16 units, number over 40 bytes, centre over 31) or
  // there is no backend.
  bool sendSmsTo(const QString &number, const QString &text, bool report, bool returnResult, bool saveInBox) override;
  bool Msg_sendSMSTo(const QString &number);
  // The next concatenation reference: 0, 1, ... 255, 0, kept in "smsConcatRefIndex".
  quint32 readRefIndex();
  void procSendPhoneNumber(const QString &text);
  QStringList phoneReceive() const { return phone_receive; }
  QString searchMultiPhoneNumber(const QString &numbers) const;
  int numberofSendPhone(const QString &numbers) const;
  QString phoneSeparator() const;
  // The send run (SMSControllerSendRun.cpp).
  Q_INVOKABLE void dealWithMsgOfSendSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSMSCenter(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfConcatSMSInfo(const Notification &n);
  void delaySendStatus();
  void endSendSmsInfoWindow();
  void setSendResultInfo();
  void clearSendSMSPara();
  // The run a removed device cut short: the counts shown, the rest kept as PC drafts.
  void saveUnsentWhenDeviceRemoved();
  // The editor stays open with its text when the device goes.
  void keepEditorWithoutDevice();
  int messageSendOkCount() const { return messageSendOkCount_; }
  int messageSendFailedCount() const { return messageSendFailedCount_; }
  SmsSendingWindow *sendingWindow();
  // Sends for others (SMSControllerSendOthers.cpp).
  Q_INVOKABLE void sendMessageBackground(const QString &numbers, const QString &text);
  bool Msg_sendSmsBackgroundTo(const QString &number, const QString &text);
  void setSMSInterfaceWhenSendSMSONBackGround();
  void setSMSInterfaceWhenSendSMSInFront();
  void addPhoneNumberToReceiveListWhenSendSmsOnBackGround(const QString &number, const QString &text);
  void setSmsStateToNormalAfterSendSMSOverOnBackGround();
  void showImformationWinWhenSendReport();
  void showReportResultWithSendCount(int count, int ok);
  void saveEveryUserInfoSmsSendResult() override;
  bool checkIfAllUserInfoSendOver();
  bool checkIfAllUserIfoSendlSuccess();
  void writeSendResIntoFileIfSendSuccess();
  void setSendSMSBtnStatWhenSendUserInfo(bool enabled) override;
  void saveSMSToDraftWhenNetCaredUnDetected();
  SmsSendState &sendState() { return send_; }
  // ---- saves of the user's data that failed (SMSControllerSaves.cpp) ----
  // Appends (or puts first) a record in a box of the PC list. A write that fails is said once,
  // until a save succeeds again, and the record is kept and written again later: at the next
  // save and on a timer.
  bool storeInPcList(int box, const QVariantMap &record, bool atFront);
  void retryPcWrites();
  int pendingPcWriteCount() const { return int(pendingPcWrites_.size()); }
  void setPcWriteRetryInterval(int ms);
  // A save of the user's data failed: one notice, not one per failed save.
  void saySaveFailed();
  void saveSucceeded() { saveFailureSaid_ = false; }

  // ---- arrivals ----
  // The five arrival handlers and what they decide (SMSControllerArrival.cpp).
  Q_INVOKABLE void dealWithMsgOfRevNewSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfRevRechargeSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfRevClass0(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfRevSMSReport(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfBroadCast(const Notification &n);
  // The handlers' work on a decoded package, for callers that hold one.
  void receiveNewSms(const SmsArrivalRecord &record);
  void receiveReport(const SmsDeliveryReportRecord &report);
  void setReciveHistoryWithNewConcatSms(const SmsArrivalRecord &record);
  bool isFinishReceiveNewSms(const SmsArrivalRecord &record) const;
  bool isDoNotifyWhenNewSmsArrived(const SmsArrivalRecord &record) const;
  void doAfterFinishReceiveNewSms(const SmsArrivalRecord &record);
  void addPop_UpSMSWhenReceiveNewSMS(const SmsArrivalRecord &record);
  // The stamp's moment in the local zone; the arrival time for a stamp without 14 digits.
  static QDateTime calcTimeStamp(const QString &stamp);
  bool shouldShowHyperlinkWhitPhoneNumber(const QString &number) const;
  bool showCertainNewSMSContent(const QString &text, const QString &number) const;
  QString receiveSmsContentText() const { return arrival_.receiveSmsContentText_.text(); }
  int revNewPos() const { return arrival_.m_revNewPos; }
  SmsArrivalState &arrivalState() { return arrival_; }
  // The windows (SMSControllerArrivalWindows.cpp).
  SmsNoteWindow *newSMSArriveMsg();
  SmsNoteWindow *newSMSNotificationWnd();
  SmsNoteWindow *class0ArriveWin();
  SmsNoteWindow *reportWindow();
  SmsNoteWindow *smsSimMaxWarningWin();
  SmsNoteWindow *specialSMSWnd();
  void newSmsArrivedNotification();
  void close_newSMS_Msg();
  QPoint centerTheNewSMSArriveWnd(const QSize &size) const;
  bool setNewWindPlaceBasesWndMainPlace(QWidget *window) override;
  void alertFullWithPosition(int position, int type);
  void autoDeleteSMSWhenSIMCardFull();
  bool hasEnoughCapacityWithMax() const;
  void initNewSMSArriveMsgWndPropertyWithPhoneNumber(const QString &number, const QString &name, const QString &date);
  void showSMSFromSpecialNumbers(const QString &number, const QString &name, const QString &time,
                                 const QString &content, const SmsArrivalRecord *record);
  bool isSpecailSMSNumber(const QString &number) const;
  static bool ifTwoNumbersMatch(const QString &a, const QString &b);
  bool zididEdizodTK312SMSProcess(const QString &number, const QString &content, const SmsArrivalRecord *record);
  void showSpecialSMSWnd();
  void closeSpecialSMSWnd();
  void specialNewSMSWndClose();
  void SmsReportArrivedwithResult(int result, const QString &number, const QString &time);
  void SMSReportOK();
  void newSMSArriveMsgOK();
  void smsSimMaxWarningOK();
  void class0ArriveOK();
  void closeNewSMSNotificationWnd(SmsNoteWindow *window);
  void newSMSNotificationClose();
  void newSMSNotificationRead();
  void autoSelectNewSMSRowInTableView();
  void GotoInbox() override;
  void cleanTextControlShowCertainNewSmsContent() override;
  bool hasNewSMSInPos(int position) const;
  void stopNewSMSSound();
  // Puts the arrival controls into the tab.
  void bindArrivalPage();
  // The lists are ready: the pop-up list from the PC's unread messages, the usage alert.
  void arrivalListsReady();

  // ---- counts, hints, status item and the pop-up list (SMSControllerCounts.cpp) ----
  int getEverySMSCountWithSMSList(const QVariantList &list, int position, int box) const;
  int getSMSCountWithPos(int position) const;
  void updateSMSCountWithPos(int position);
  void updateSMSCount();
  // The box summary in the message text view (after the counters of setMsgBoxInfo).
  void setMsgBoxSummary();
  void resetPCUnReadSMSNumNotification();
  static int caculateUnReadSMSForSingleSMSRecord(const QVariantMap &record);
  Q_INVOKABLE void recieveNewSMSHint(const Notification &n);
  void sendNewSMSArriveNotification(const QString &number);
  void freshStatusViewWhenNewSMSArrive();
  void freshStatusViewWhenSMSReaded();
  // Messages were read in the list: the pop-up list drops them and the status item follows.
  void messagesReadInList(const QVariantList &records);
  void addPop_upUnReadSMSFromPC();
  void showNewSMSWindowOfPop_Up();
  void closeNewSMSWindowOfPop_Up();
  void openNewSMSContentOfPop_Up();
  void removeMessageOfPop_UpWithMessage(const QVariantMap &record);
  void closeSMSContentOfPop_UP();
  SmsNoteWindow *popUpPanel();
  SmsNoteWindow *popUpContentWindow();

  // ---- the delivery-report box (SMSControllerReports.cpp) ----
  static QString deliveryReportBoxPath();
  // Moves a damaged report box aside under a new name; answers that name (empty on failure).
  static QString setDamagedReportBoxAside(const QString &path);
  void readDeliveryReportBox();
  bool writeToDeliveryReportBoxWithQelMessageDeliveryReportArray(const std::vector<QELMessageDeliveryReport> &reports);
  const std::vector<QELMessageDeliveryReport> &deliveryReports() const { return arrival_.deliveryReportArray; }
  bool isPcDeliveryReportBox() const;
  // The reports as rows of the message table: flat records, newest first.
  QVariantList deliveryReportRows() const;
  QVariant setSmsTableValueOfDeliveryReport(const QString &column, int row) const;
  // Marks the report at table row `row` read, in the file at once.
  void readDeliveryReportAt(int row);
  int reportIndexOfRow(int row) const;
  void deleteDeliveryReport();
  void showOrHiddenDeliveryReportBox();

  // ---- data usage, purchase and recharge messages (SMSControllerUsage.cpp) ----
  void preTreatBeforeShowFlowAlertWhenNewSmsArrive(const QString &number, const QString &text, const QDateTime &date,
                                                   const SmsArrivalRecord &record);
  void showFlowAlertWhenNewSmsArrive(const QString &number, const QString &text, const QDateTime &date);
  void showFlowAlertWhenLoadSimList();
  void showFlowAlert(int level, const QString &text);
  void doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime() override;
  void savePCNewArriveSmsToSim();
  QVariantMap getNewSMSDictionary() const;
  void preTreatBeforeJudgeSMSIsPurchaseSMS(const QString &number, const QString &text);
  SmsPurchaseWindow *purchaseWindow();
  void initPurchaseWndProperty();
  void setPurchaseWndProperty();
  void setCombOfPurchaseListDataSource();
  void showPurchaseWnd();
  void sendSMSToPurchaseServer(QObject *sender);
  void passToOtherModelWithSMSContent(const QString &text, const QString &number);
  // Also asked for by the USSD tab.
  QStringList getUnreadRechargeSMS() override;
  void showCheckUsageRespondingSMSContent(const QString &text, const QString &number);
  // The application icon the usage alert set ("icon.icns.png" again once it expires).
  QString applicationIconName() const { return applicationIconName_; }

  // ---- the tab (SMSController.cpp: hooks, registrations, wording, context menu) ----
  // The page the builder made; set before the controller wakes.
  SMSPage *page = nullptr;
  SmsTableModel *tableModel() const { return tableModel_; }
  // The phonebook's name for a number (the number itself when no contact has it); the builder
  // wires the phonebook in, since this library sits below it.
  static void setNameLookup(std::function<QString(const QString &)> lookup);
  static QString lookupName(const QString &number);
  QString getDiagnosticsSMS() const override { return QStringLiteral("%1/%2").arg(m_nSIM_Used).arg(m_nSIM_Cap); }
  int getNetCardStatus() const override { return m_nNetCardStatus; }
  Q_INVOKABLE void updateLanguages(const Notification &n);
  void Init_SMS_Wording();
  // Context menu items 0..9 and their rules.
  enum MenuItem {
    NewItem,
    EditItem,
    SendItem,
    ReplyItem,
    ForwardItem,
    MoveItem,
    SavePcItem,
    SaveSimItem,
    DeleteItem,
    ImportantItem,
    MenuItemCount
  };
  void setMenuItemState(bool enabled, int index);
  // The menu's Send: the selected message again, to its number, without the editor.
  void sendSMSWithoutWin(QObject *sender = nullptr);
  bool menuItemEnabled(int index) const { return index >= 0 && index < MenuItemCount && menuEnabled_[index]; }
  void initPopUpMenuOfMsgBoxList();
  void initSetMenuItemsState();
  void setMenuItemsStateWhenSMSSelectionDidChange();
  // Another module asks for a text to be sent: userInfo "phoneNumber" and "messageText".
  Q_INVOKABLE void recieveSMSNotification(const Notification &n);
  // Another module's window wants the contact picker: userInfo "BelongToWnd" (the window).
  Q_INVOKABLE void recieveSelectContactNotification(const Notification &n);
  Q_INVOKABLE void reloadSMSPCList(const Notification &n);
  Q_INVOKABLE void deleteSMSPCList(const Notification &n);

  // ---- lists and capacity (SMSControllerLists.cpp) ----
  void loadSmsList();
  // A message the backend filed first in the PC InBox, taken into the lists and the table
  // without reading the list again; false when only loadSmsList can bring them up to date.
  bool insertPcArrival();
  void loadBoxinPCList();
  void loadBoxinSIMList();
  void loadMessagesInPosition(int position);
  // The whole list of a position and box, before any search.
  QVariantList boxList(int position, int box) const;
  // The part count of every record of the three device-memory boxes.
  int getMessageNumWithPosition(int position) const;
  bool isFullWithPosition(int position) const;
  int simCapacity() const { return m_nSIM_Cap; }
  int simUsed() const { return m_nSIM_Used; }
  int modemCapacity() const { return modemCap_; }
  int modemUsed() const { return modemUsed_; }
  int receivePosition() const { return receivePosition_; }
  Q_INVOKABLE void dealWithMsgOfLoadSMSList(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSMSRevPos(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSMSNum(const Notification &n);
  // Replies of the sending, saving and arrival roads: logged and ignored until those exist.
  Q_INVOKABLE void dealWithLaterMsg(const Notification &n);

  // ---- choice, device events and reading (SMSControllerSelection.cpp) ----
  int getCurrentBox() const;
  int getCurrentPosition() const;
  void msgBoxSelect();
  void selectSaveAt();
  void setSaveAtPosEnabled(bool enabled);
  void setButtonState(int state);
  void netcardChanged(int status);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  // Raises the SIM-full warning when the SIM store is full (the tab is being opened).
  void updateInterface();
  // The rows on view now (the current position and box).
  QVariantList currentBoxList() const;
  QVariantMap currentSMSRecord() const { return currentSMSRecord_; }
  // The selection changed to these rows of the table.
  void selectionDidChange(const QList<int> &rows);
  // Marks the record read; answers whether its state changed.
  static bool readNewMessage(QVariantMap &record);
  // Sets the state of the InBox records at their "index" in the list file to read, each found
  // again by number and date when the file changed meanwhile; one locked write for all.
  static bool markReadInListFile(const QString &path, const QVariantList &records);
  void ReadNewSmsAtpos(int position, int index);
  // The device-lock road of the tab: opens the unlock window and names the module that asked;
  // the builder wires it to the device-status side.
  std::function<void()> openUnlockDeviceWindow;
  // Fills the table with the current position and box and refreshes the counters.
  void reloadTable();
  void setMsgBoxInfo();

  // ---- sorting, search and text display (SMSControllerBrowse.cpp) ----
  // A click on a column header: sorts the current box by that column, ascending and
  // descending in turn.
  void didClickTableColumn(const QString &columnId);
  bool sortAscendingNext(const QString &columnId) const { return sortFlags_.value(columnId, true); }
  // The search field's text, trimmed; empty when no search runs.
  QString searchKey() const;
  bool isSearchMode() const { return !searchKey().isEmpty(); }
  void searchSMS();
  // The records of the list whose number, name, shown date or text holds the key.
  QVariantList searchMessagesFromCurrentBox(const QVariantList &list, const QString &key) const;
  // Shows the current record's text in the tab's text view, with links when configured.
  void displayMessageText();
  void openLink(const QUrl &url);
  QString shownDate(const QDateTime &date) const;

  // ---- managing stored messages (SMSControllerManage.cpp) ----
  // Replies of the delete and copy chains, of restore and of the memory card's reloads.
  Q_INVOKABLE void dealWithMsgOfDeleteSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfSaveSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgofRestoreSMS(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfReLoadTcardSMS(const Notification &n);
  // The destination of Save-to and Move-to: the other of PC and SIM with two positions, else
  // the destination pop-up's choice.
  int getSavedDestPosition() const;
  // Asks before a save; true cancels it.
  bool alertBeforeSaveToPosition(int position);
  // Enough room for the selected messages at a position; the PC only warns.
  bool hasEnoughSpaceToReceiveWithPosition(int position);
  Q_INVOKABLE void saveMessage(QObject *sender = nullptr);
  void saveMessageToPosition(int destination);
  Q_INVOKABLE void deleteMessage(QObject *sender = nullptr);
  void deleteMessageFromPC();
  void deleteMessageFromTcard();
  void deleteMessageFromSIMOrME();
  // {"pos", "box", "index"} of every selected row, last row first.
  QVariantList getSelectedMessagesBeforeDeleteSMSInSIMOrME() const;
  // Starts the delete chain, largest index first.
  void deleteMessagesInSIMorMEWithDeletedArray(const QVariantList &items);
  // The selected records as the table shows them, last row first.
  QVariantList getSelectedMessages() const;
  void reFreshPCBox();
  // Marks entries leaving `sourceBox` for the DeletedBox (4) or ImportantBox (5).
  static void setPreLocationAndStateToDeletdArray(QVariantList &entries, int sourceBox, int destBox);
  // Copies entries into a PC box (appended; the file's own box, read under the lock).
  bool copyMessageArray(const QVariantList &entries, int box);
  bool moveMessageArray(const QVariantList &entries, int box);
  Q_INVOKABLE void moveToImportantBox(QObject *sender = nullptr);
  Q_INVOKABLE void recoverMessage(QObject *sender = nullptr);
  // Moves PC records of `sourceBox`, each found again in the file at its "index" (checked by
  // number, date and text) or by content, to its own destination box (-1: removed for good), in
  // one locked write. Answers how many records left the source box.
  static int movePcRecords(const QString &path, int sourceBox, const QVariantList &records,
                           const QList<int> &destinations);
  QVariantList pendingDeleteList() const { return delSimSmsList_; }
  QVariantList pendingSaveList() const { return saveToList_; }
  bool chainRunning() const { return chain_ != NoChain; }
  // Chains that gave up on a message since the last notice (shown once when a chain ends).
  int chainFailureCount() const { return chainFailures_; }
  // ---- end ----

  // ---- store upkeep (SMSControllerUpkeep.cpp) ----
  bool writeMessagesToPC(const QVariantList &entries, int box);
  bool writeMessagesToBox(int box, const QVariantList &entries, const QString &path);
  // Appends one entry to the box of an existing list file; a missing file is not created.
  bool writeMessagesToBox(int box, const QVariantMap &entry, const QString &path);
  bool hasbox(int box) const { return boxTables_.getBoxDisplayOrderWithBox(box, 1000) < 1000; }
  bool synTcardSmsFlag() const { return synTcardSmsFlag_; }
  void setSynTcardSmsFlag(bool on) { synTcardSmsFlag_ = on; }
  // One tick of the memory card's timer: asks the backend to synchronise when the card store
  // changed and the card is there.
  void synTCard();
  void startSynTcardTimer();
  int synTcardInterval() const;
  bool synTcardTimerActive() const;
  void setBoxMessageNumHiddenFlag(bool hidden, int box);
  void showOrHiddenSpecialBox(int box);
  void special_SelectSaveAt();
  bool isCurrentPositionFromTcard() const;
  static int storeLocationOfPosition(int position);
  static int positionOfStoreLocation(int location);
  void setSMSStoreLocWhenClickSMSBrowsePos();
  void initSmsBrowsePosWithSmsStorePos(int location);
  void setSMSBrowsePosWhenEnterSMSUI();
  // After a save chain: the sources go when the run was a move (or the configuration says so),
  // once per run.
  void deleteSmsAfterSaveSmsOK();
  void saveMessageInSIMorMeWithSaveArray(const QVariantList &entries);
  void setSMSReadedAfterSMSCopyFromPcToSim();
  // The file's own box, whatever a filter shows.
  QVariantList getAllPcListByBox(int box);
  QVariantList getPClistByIMSI(const QString &imsi, int box) const;
  void sendNoteRrefreshChatRecord(const QVariantList &inBox, const QVariantList &outBox, const QVariantList &draftBox);
  void updateButtonSate(int state);
  void setNewMessageBtnWhenInitController();
  void setNewMessageBtnWhenNetCardUndetected();
  void setSendSMSBtnStatWhenNewMessage();
  void initUseShortCutKeyDeleteMessageWindow();
  void menuWillOpen();
  QMenu *shortcutDeleteMenu() const { return menuUseShortcutKeyDeleteMessage_; }
  QAction *shortcutDeleteItem() const { return mentItemUseShortcutKeyDeleteMessage_; }
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
  // The module whose device-lock question is up (1: this tab); the builder wires it.
  std::function<int()> getDeviceLockFunctionModule;
  // ---- end ----

  // ---- folder tree (SMSControllerTree.cpp) ----
  void Init_SMSNode_Wording();
  void updateSMSCountOfPosNode();
  void updateSMSCountOfNodeWithPos(int position);
  int getSMSCountOfNodeWithPos(int position) const;
  void setBoxWithSmSCount(int inBox, int outBox, int draft, int deleted, int important, int reports);
  void updateSMSCountOfMsgBoxNode(int inBox, int outBox, int draft, int deleted, int important, int reports);
  void createNodeOfSimWhenSimCardvalid();
  void deleteNodeOfSimWhenSimCardInvalid();
  QListWidget *saveAtPos() const;
  QListWidget *msgBoxSelectAt() const;
  // Counts of every box of the current position into the tree's titles.
  void refreshTreeCounts();
  // Makes the tree in the page's outline view; its clicks choose the position and box.
  void initSmsTree();
  void treeNodeSelected(int position, int box);
  // ---- end ----

  // The skin item names registered so far (the skin manager applies those its skin has).
  QStringList skinItemNames() const { return skinItemNames_; }

protected:
  void initializeSkin() override;
  void registerSkinItems(const QList<QPair<QObject *, const char *>> &items);
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  void loadCommonBundle() override;

private:
  void bindPage();
  void refillPositionAndBoxLists();
  void setColumnHeaders(int box);
  void doWhenSMSSelectionDidChange(const QList<int> &rows);
  QVariantList *listRef(int position, int box);

  SmsTableModel *tableModel_ = nullptr;
  QStringList skinItemNames_;
  int m_nNetCardStatus = 1;
  int m_nSIM_Cap = 0, m_nSIM_Used = 0, modemCap_ = 0, modemUsed_ = 0;
  int receivePosition_ = -1;
  // The device went: its list files are left behind and no longer read.
  bool deviceStoresGone_ = false;
  QVariantList simInBoxList_, simOutBoxList_, simDraftBoxList_;
  QVariantList pcInBoxList_, pcOutBoxList_, pcDraftBoxList_, deletedBoxList_, importantBoxList_;
  QVariantList allPcInBoxList_, allPcOutBoxList_, allPcDraftBoxList_;
  QVariantMap messagesFromME_;
  QVariantMap currentSMSRecord_;
  QList<int> selectedRows_;
  QHash<QString, bool> sortFlags_;
  mutable QHash<qint64, QString> dateTexts_;
  bool menuEnabled_[MenuItemCount] = {};
  bool newSmsAnimationPaused_ = false;
  QelPositionManager qelPositionManager_;
  SmsBoxTables boxTables_;
  QStringList saveNumberMenuItems_;
  QPair<QString, QString> lastSaveNumberRequest_;
  QStringList recipientsFieldNumbers_;
  QStringList newMessageNumbers_;
  QString newMessageModule_;
  int messageSendOkCount_ = 0;
  int messageSendFailedCount_ = 0;
  QStringList phone_receive;
  SmsSendState send_;

  // ---- managing stored messages ----
  enum Chain { NoChain, DeleteChain, SaveChain };
  void bindManageActions();
  void fillSaveDestinations();
  void setManageButtonsForSelection();
  void sendDeleteRequest();
  void sendSaveRequest();
  void forgetAfterSave(const QVariantMap &entry);
  void endChain();
  void sayChainFailures();
  Chain chain_ = NoChain;
  QByteArray outstandingRequest_;
  int deleteRetries_ = 0;
  int chainFailures_ = 0;
  bool runIsMove_ = false;
  QVariantList delSimSmsList_, saveToList_, delSmsListAfterSave_;
  // Records copied to the SIM by the running chain, to be found again and read.
  QVariantList copiedToSim_;
  // The usage message copied to the SIM outside any chain, until its copy is answered.
  QVariantMap usageCopyToSim_;
  QVariantMap messagesFromTcard_;
  int delSMSFromPos_ = -1, delSMSFromBox_ = -1;
  // ---- store upkeep ----
  bool synTcardSmsFlag_ = false;
  QTimer *synTcardTimer_ = nullptr;
  QMenu *menuUseShortcutKeyDeleteMessage_ = nullptr;
  QAction *mentItemUseShortcutKeyDeleteMessage_ = nullptr;
  // ---- end ----
  struct PendingPcWrite {
    int box;
    QVariantMap record;
    bool atFront;
  };
  QList<PendingPcWrite> pendingPcWrites_;
  QTimer *pcWriteRetry_ = nullptr;
  int pcWriteRetryMs_ = 30000;
  bool saveFailureSaid_ = false;
  // For each draft request the backend has not answered: whether the editor asked for it (the
  // editor stays open until the draft is stored).
  QList<bool> draftSavesFromEditor_;
  SmsArrivalState arrival_;
  QString applicationIconName_;
  void bindSendActions();
  void startSendRun(bool fromEditor);
  void sendCurrentRecipient();
  void recordSendResult(int ok, int failed);
  void endRunKeepingDraftUnlessSent();
  void finishSendRun();
  void showSendingWindow(const QString &text, bool buttonVisible, const QString &buttonTitle);
  QString sendingLabel(const QString &number) const;
};

extern SMSController *g_SMSController;
