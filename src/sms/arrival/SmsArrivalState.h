#pragma once

#include "QELMessageModel.h"
#include "SmsArrivalRules.h"

#include <QPointer>
#include <QTimer>
#include <QVariantList>
#include <functional>
#include <vector>

class AnimationView;
class QLabel;
class QPushButton;
class SmsNoteWindow;
class SmsPurchaseWindow;
class QWidget;

// What the message controller keeps for arrivals: the long messages being received, the text
// the notification window shows, the windows with their queues, the delivery reports, the
// pop-up list, and the neighbours it asks (wired by the window builder).
struct SmsArrivalState {
  SmsPartTracker concatSMSReferNum_currentReciveNum;
  SmsArrivalText receiveSmsContentText_;
  // Arrivals announced so far (the window, the sound and the picture).
  int announced = 0;
  // Where the last message was stored (2: the SIM was full and it went to the PC).
  int m_revNewPos = -1;

  QPointer<SmsNoteWindow> newSMSArriveMsg;
  QPointer<SmsNoteWindow> newSMSNotificationWnd;
  QPointer<SmsNoteWindow> class0ArriveWin;
  QPointer<SmsNoteWindow> Win_SMSReport;
  QPointer<SmsNoteWindow> smsSimMaxWarningWin;
  QPointer<SmsNoteWindow> specialSMSWnd;
  QPointer<SmsNoteWindow> panelNewSmsArriveOfPop_Up;
  QPointer<SmsNoteWindow> winNewSmsContextOfPop_Up;
  QPointer<SmsPurchaseWindow> wndRecharge_;
  // The arrival sound runs while one of the windows that started it is up.
  bool newSMSSound = false;
  // The automatic close of the new-message window.
  QTimer closeTimer;
  // The do-not-warn-again box of the SIM-full warning, for the life of the process.
  bool simMaxWarningChecked = false;
  // The check-usage reply is emptied a minute after it shows.
  QTimer certainContentTimer;

  // The tab's arrival controls: the new-message picture, the usage alert button, the unread
  // hint and the check-usage reply.
  QPointer<AnimationView> Pic_newsms;
  QPointer<QPushButton> btnFlowValueAlert_;
  QPointer<QLabel> labelSMSHint;
  QPointer<QLabel> tfdShowCertainNewSmsContent_;

  // Reports not yet dismissed; the last one is on screen.
  QVariantList DeliveryReportList;
  // The report box, newest first.
  std::vector<QELMessageDeliveryReport> deliveryReportArray;

  // The pop-up list of new messages, the newest last.
  std::vector<QELBasicMessage> tmpNewSMSListOfPop_Up;

  // The neighbours.
  std::function<bool(const QString &number)> hasPhoneNumber;
  std::function<void()> freshStatusViewWhenNormalSMSArrive;
  std::function<void()> freshStatusViewWhenFlowValueSMSArrive;
  std::function<void()> freshStatusViewWhenSMSReaded;
  std::function<void()> menuCompleteModelClicked;
};
