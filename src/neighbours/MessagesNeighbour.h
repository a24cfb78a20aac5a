#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

class QWidget;

// What the other subsystems call on the short messages (SMSController and the message stores).
// Positions are the storage position codes of StoragePositions.h (0 the PC, 1 the SIM); usage
// types are 0 (75 %) and 1 (100 %) for data-usage messages, 2 for an ordinary message.
class MessagesNeighbour {
public:
  virtual ~MessagesNeighbour() = default;

  // ---- sending for others ----
  // Sends one message to one number (no editor, no sending window unless the flags ask). False,
  // with nothing sent, when the message does not fit a request or there is no backend.
  virtual bool sendSmsTo(const QString &number, const QString &text, bool report, bool returnResult,
                         bool saveInBox) = 0;
  // Sends a text to the numbers on behalf of another feature; only with the card ready.
  virtual void sendMessageto(const QString &numbers, const QString &text) = 0;
  // Opens the reply sheet of the editor for these recipients, then lets the recipients field
  // find their names again (the reply sheet empties the name line).
  virtual void sendMessageToNumber(const QString &numbers) = 0;
  virtual void controlTextDidChange() = 0;
  // The toolbar's usage check went out: the usage reply is looked for from now on.
  virtual void setBAlreadySendedCheckUsageSMS(bool sent) = 0;
  // The purchase and recharge steps ("PurchargeBySMS_ServerNumber" ...).
  virtual QVariantMap processListOfRecharge() const = 0;
  // YES keeps the send-progress window away (saved in the settings).
  virtual void setUnshowInfoWndWhenSendSmsByFlag(bool flag) = 0;
  virtual bool sendingSMSInBackGround() const = 0;
  virtual void setSendingSmsSMSInBackGroud(bool on) = 0;

  // ---- the user registration run ----
  virtual void setSendSMSBtnStatWhenSendUserInfo(bool enabled) = 0;
  // Counts the registration message just tried as failed.
  virtual void saveEveryUserInfoSmsSendResult() = 0;

  // ---- unread messages, the status item and the tab ----
  // The kind of the latest new message (0, 1 data usage; 2 ordinary).
  virtual int typeOfNewSms() const = 0;
  // Whether the unread list of position 0 or 1 holds a message of that usage type.
  virtual bool checkPos(int position, int type) const = 0;
  // Whether the unread list of position 0 or 1, as last refilled, holds anything.
  virtual bool hasUnreadInList(int position) const = 0;
  // Refills the unread list of the PC from its InBox file.
  virtual void refillPcUnreadList() = 0;
  // The remembered data-usage message's type (2 when none) and whether it has expired (an
  // expired one is forgotten).
  virtual int getFlowValueInfoFromFile() = 0;
  virtual bool isOverDueFlowValueSms() = 0;
  virtual void doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime() = 0;
  // Brings the SMS tab forward with the InBox of the last arrival's position selected.
  virtual void GotoInbox() = 0;
  // Empties the text of a shown new message (the Internet tab asks when another tab comes).
  virtual void cleanTextControlShowCertainNewSmsContent() = 0;
  virtual void stopAnimationWhenMinimizeWithNewSms() = 0;
  virtual void startAnimationWhenMaximizeWithNewSms() = 0;
  // Centres the window on the main window, as a new-message window would be; false when there
  // is no main window to centre on.
  virtual bool setNewWindPlaceBasesWndMainPlace(QWidget *window) = 0;
  // The texts of the unread PC and SIM InBox messages from the recharge number, oldest first.
  virtual QStringList getUnreadRechargeSMS() = 0;

  // ---- the diagnostics window ----
  // "used/capacity" of the SIM's messages.
  virtual QString getDiagnosticsSMS() const = 0;
  // The card status as the SMS side last heard it (1 no device, 12 ready).
  virtual int getNetCardStatus() const = 0;

  // ---- the phonebook and its contact picker ----
  virtual bool hasPosition(int position) const = 0;
  virtual void loadSaveNumberBtnwithState(bool state) = 0;
  virtual void setTheSearchFieldText(const QStringList &numbers) = 0;
  virtual void toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module) = 0;
  virtual QString getMobilePhoneFromSelectedSMS() const = 0;
};
