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

private:
  bool newSmsAnimationPaused_ = false;
};

extern SMSController *g_SMSController;
