#pragma once

#include <QString>

// The conversation with the online updater program. This system has no updater, so the object
// answers that updates are not supported and every message to it does nothing; the settings
// window then hides its update controls.
class AEMessage {
public:
  static AEMessage *defaultAEMessage();

  bool isSupportUpdate() const { return false; }
  void setAutoUpdate(bool on) { Q_UNUSED(on) }
  void setServiceAddress(const QString &address) { Q_UNUSED(address) }
  void setUpdateDuration(int days) { Q_UNUSED(days) }
  void send_Init_Msg() {}
  void send_ManualUpdate_Msg() {}
};
