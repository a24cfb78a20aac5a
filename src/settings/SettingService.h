#pragma once

#include "QelServiceBase.h"

// Two flags the settings code shares: whether the next tries count follows a failed PIN
// operation (and so must be told as a warning), and whether the answer to an automatic second
// network registration is to be ignored.
class SettingService : public QelServiceBase {
  Q_OBJECT
public:
  // The one instance, made on first use and kept for the life of the process.
  static SettingService *sharedSettingService();

  bool isNeedAlertLeftTimesFlag() const { return isNeedAlertLeftTimesFlag_; }
  void setNeedAlertLeftTimesFlag(bool on) { isNeedAlertLeftTimesFlag_ = on; }
  bool isSecondManualSelectNetFlag() const { return isSecondManualSelectNetFlag_; }
  void setSecondManualSelectNetFlag(bool on) { isSecondManualSelectNetFlag_ = on; }

  // 2 when no tries are left, 1 after a failed PIN operation, else 0.
  int checkPinInputStatusByLeftTimes(int tries) const;

private:
  using QelServiceBase::QelServiceBase;
  bool isNeedAlertLeftTimesFlag_ = false;
  bool isSecondManualSelectNetFlag_ = false;
};
