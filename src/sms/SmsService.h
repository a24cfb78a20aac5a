#pragma once

#include <QObject>

// The short-message service, as far as the quit rules need it today.
class SmsService : public QObject {
  Q_OBJECT
public:
  static SmsService *sharedSmsService();

  bool sendingSMSInBackGround() const { return sendingInBackground_; }
  void setSendingSmsSMSInBackGroud(bool on) { sendingInBackground_ = on; }
  // Sets SMS/"noSendInfoWnd" when it differs and saves the settings.
  void setUnshowInfoWndWhenSendSmsByFlag(bool flag);

private:
  bool sendingInBackground_ = false;
};
