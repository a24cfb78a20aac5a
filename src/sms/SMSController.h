#pragma once

#include "QELUIController.h"

// The short-message controller, as far as the main window needs it today: the new-message
// animation that pauses while the main window is miniaturised.
class SMSController : public QELUIController {
  Q_OBJECT
public:
  explicit SMSController(QObject *parent = nullptr);
  ~SMSController() override;

  void stopAnimationWhenMinimizeWithNewSms() { newSmsAnimationPaused_ = true; }
  void startAnimationWhenMaximizeWithNewSms() { newSmsAnimationPaused_ = false; }
  bool newSmsAnimationPaused() const { return newSmsAnimationPaused_; }

  // What the phonebook and its contact picker hand the message page; recorded until the page
  // exists (SMSControllerPhonebook.cpp).
  void loadSaveNumberBtnwithState(bool state);
  void setTheSearchFieldText(const QStringList &numbers);
  void toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module);
  QStringList saveNumberMenuItems() const { return saveNumberMenuItems_; }
  QStringList recipientsFieldNumbers() const { return recipientsFieldNumbers_; }
  QStringList newMessageNumbers() const { return newMessageNumbers_; }
  QString newMessageModule() const { return newMessageModule_; }

private:
  bool newSmsAnimationPaused_ = false;
  QStringList saveNumberMenuItems_;
  QStringList recipientsFieldNumbers_;
  QStringList newMessageNumbers_;
  QString newMessageModule_;
};

extern SMSController *g_SMSController;
