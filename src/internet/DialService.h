#pragma once

#include "QelServiceBase.h"

// The connection's process-wide service: the current upload speed and the filter of the local
// address shown to the user.
class DialService : public QelServiceBase {
  Q_OBJECT
public:
  explicit DialService(QObject *parent = nullptr) : QelServiceBase(parent) {}

  // The installed instance; one made on first use when none was installed.
  static DialService *sharedDialService();
  // Tests install their own; the previous one is not deleted.
  static void setSharedDialService(DialService *service);

  void setSendSpeed(float speed) { sendSpeed_ = speed; }
  float sendSpeed() const { return sendSpeed_; }

  // An empty text for a link-local address (169.254...) when the operator hides the address a
  // failed DHCP leaves; otherwise the address unchanged.
  QString filterIPAddress(const QString &address) const;

private:
  float sendSpeed_ = 0;
};
