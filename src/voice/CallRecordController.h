#pragma once

#include "CallRecordPage.h"
#include "CallRecordStore.h"
#include "QELUIController.h"

#include <QPointer>
#include <QTimer>
#include <memory>

// The call log: keeps a record of every ended call in "callRecordData.plist", shows the records
// of one kind on the Record tab, and lets the user delete them, call or message a number, and
// save a number to the phonebook.
class CallRecordController : public QELUIController {
  Q_OBJECT
public:
  explicit CallRecordController(QObject *parent = nullptr);
  ~CallRecordController() override;

  // Outlet: the page's own controls (made by the controller when the builder gives none).
  QPointer<CallRecordPage> page;

  // Stores one ended call and tells the plug-in.
  void addCallRecord(const QVariantMap &record);
  // The phonebook name of a number (the number itself while the phonebook knows none).
  QString searchUser(const QString &number) const;

  Q_INVOKABLE void selectRecordPosition(QObject *sender = nullptr);
  Q_INVOKABLE void deleteRecords(QObject *sender = nullptr);
  Q_INVOKABLE void dial(QObject *sender = nullptr);
  Q_INVOKABLE void callSms(QObject *sender = nullptr);
  Q_INVOKABLE void gotoPhoneCall(QObject *sender = nullptr);
  Q_INVOKABLE void saveNumberToPhoneBook(QObject *sender = nullptr);
  // The pop-up's short form ("SavePhone", "PC") or its full form (also the SIM and, when the SMS
  // side has the device memory, "Data Card").
  void loadSaveNumberBtnwithState(bool full);
  // Raises the missed-call hint (skins with "RuvozUI" only).
  void recieveMissedCallNotification();
  void resetMissedCallHint();

  Q_INVOKABLE void clearAllCallRecords(const Notification &n);
  void clearAllCallRecordsNow();
  Q_INVOKABLE void initPhonebookReady(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  void netcardChanged(int code);

  const QVariantList &recordList() const { return store_.records(); }
  const QVariantList &currentRecordList() const { return currentRecordList_; }
  const CallRecordStore &store() const { return store_; }
  // Loads the log again from its file (tests; the controller loads it once at start).
  void loadCallRecords();
  // Writes the log. A write that fails keeps the records in memory, says so once (not once per
  // call) and is tried again after the retry interval and at every later change, until one
  // succeeds; a failure after that is told again.
  bool saveLog();
  bool isSaveFailing() const { return saveFailing_; }
  static constexpr int kSaveRetryMs = 30000;
  void setSaveRetryIntervalMs(int ms) { saveRetry_.setInterval(ms); }

protected:
  void initializeSkin() override;
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  void loadCommonBundle() override;

private:
  void changeNibLanguage();
  void reloadTable();
  void followSelection();
  void sortByColumn(int column);
  QList<int> selectedRows() const;
  QString word(const QString &key) const;

  CallRecordStore store_;
  bool saveFailing_ = false;
  QTimer saveRetry_;
  QVariantList currentRecordList_;
  QVariantMap recordListItem_;
  bool dataCardOnLine_ = false;
  bool simCardReady_ = false;
  std::unique_ptr<CallRecordPage> ownPage_;
};

extern CallRecordController *g_CallRecordController;
