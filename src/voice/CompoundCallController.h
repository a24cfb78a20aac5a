#pragma once

#include "QELUIController.h"

// The voice-call controller, as far as the quit rules and the low-power timer need it today.
class CompoundCallController : public QELUIController {
  Q_OBJECT
public:
  explicit CompoundCallController(QObject *parent = nullptr);
  ~CompoundCallController() override;

  // 0 idle; any other value: a call is in progress (bits per caller state).
  int callStage() const { return callStage_; }
  void setCallStage(int stage) { callStage_ = stage; }
  bool is2GNetRegisted() const { return false; }

  // The actions of the main window's call-accept and call-reject menu items.
  Q_INVOKABLE void selectDialCallStyle(QObject *sender = nullptr);
  Q_INVOKABLE void hangClicked(QObject *sender = nullptr);

private:
  int callStage_ = 0;
};

extern CompoundCallController *g_CompoundCallController;
