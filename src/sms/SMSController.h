#pragma once

#include "QELUIController.h"
#include "QelPosition.h"

#include <QVariantMap>

// The short-message controller: the storage positions and box tables of the SMS tab, and the
// new-message animation that pauses while the main window is miniaturised.
class SMSController : public QELUIController {
  Q_OBJECT
public:
  explicit SMSController(QObject *parent = nullptr);
  ~SMSController() override;

  void stopAnimationWhenMinimizeWithNewSms() { newSmsAnimationPaused_ = true; }
  void startAnimationWhenMaximizeWithNewSms() { newSmsAnimationPaused_ = false; }
  bool newSmsAnimationPaused() const { return newSmsAnimationPaused_; }

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
  Q_INVOKABLE bool hasPosition(int position) const { return qelPositionManager_.hasPosition(position); }
  const QelPositionManager &qelPositionManager() const { return qelPositionManager_; }
  const SmsBoxTables &boxTables() const { return boxTables_; }

  // What the phonebook and its contact picker hand the message page; recorded until the page
  // exists (SMSControllerPhonebook.cpp).
  void loadSaveNumberBtnwithState(bool state);
  void setTheSearchFieldText(const QStringList &numbers);
  void toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module);
  QStringList saveNumberMenuItems() const { return saveNumberMenuItems_; }
  QStringList recipientsFieldNumbers() const { return recipientsFieldNumbers_; }
  QStringList newMessageNumbers() const { return newMessageNumbers_; }
  QString newMessageModule() const { return newMessageModule_; }

  // ---- the least send road (SMSControllerSend.cpp) ----
  // Sends one message to one number (768/91). False, with nothing sent, when the message does
  // not fit the request (text over 3200 UTF-16 units, number over 40 bytes) or there is no
  // backend.
  Q_INVOKABLE bool sendSmsTo(const QString &number, const QString &text, bool report, bool returnResult,
                             bool saveInBox);
  // The next concatenation reference: 0, 1, ... 255, 0, kept in "smsConcatRefIndex".
  quint32 readRefIndex();
  // Counts the parts of a send result; posts "SMSSendFinished".
  Q_INVOKABLE void dealWithMsgOfSendSMS(const Notification &n);
  int messageSendOkCount() const { return messageSendOkCount_; }
  int messageSendFailedCount() const { return messageSendFailedCount_; }
  void clearSendSMSPara();

protected:
  void initializeController() override;
  void registerMessages() override;

private:
  bool newSmsAnimationPaused_ = false;
  QelPositionManager qelPositionManager_;
  SmsBoxTables boxTables_;
  QStringList saveNumberMenuItems_;
  QStringList recipientsFieldNumbers_;
  QStringList newMessageNumbers_;
  QString newMessageModule_;
  int messageSendOkCount_ = 0;
  int messageSendFailedCount_ = 0;
  QStringList phone_receive;
};

extern SMSController *g_SMSController;
