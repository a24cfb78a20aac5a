#pragma once

#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "MainWindowFixture.h"
#include "Platform.h"

#include <QtEndian>

namespace signaltest {

// A package as the backend sends it, optional CDMA marker in the trailer.
inline Notification textPackage(uint16_t major, uint16_t minor, const QByteArray &bytes, uint8_t result = 0,
                                bool cdmaMarker = false, int type = 1, int module = 1) {
  UIMsg m;
  m.moduleId = module;
  m.majorId = major;
  m.minorId = minor;
  m.type = type;
  m.result = result;
  m.setPayload(bytes);
  if (cdmaMarker)
    m.tail[2] = '1';
  return Notification{QELMsgCenter::notificationName(major, minor), nullptr, {{kMsgUserInfo, m.encode()}}};
}

// The same with a payload of little-endian words.
inline Notification package(uint16_t major, uint16_t minor, const QList<qint64> &words, uint8_t result = 0,
                            bool cdmaMarker = false, int type = 1, int module = 1) {
  QByteArray data;
  for (qint64 w : words) {
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(quint32(w), reinterpret_cast<uchar *>(b.data()));
    data += b;
  }
  return textPackage(major, minor, data, result, cdmaMarker, type, module);
}

// The window built without a backend, a platform of the test's choice and the signal levels the
// controller posts.
class SignalFixture : public ModemWindowFixture {
protected:
  QList<int> posted;

  void SetUp() override {
    ModemWindowFixture::SetUp();
    buildOffline();
    NotificationCenter::defaultCenter().addObserver(&owner, kSingalStrength, nullptr, [this](const Notification &n) {
      posted << n.userInfo.value(kSingalStrength).toInt();
    });
    init()->setRuntimeObject(true, kRTSIMCardReady);
    posted.clear();
  }
  QString evdoImage() const {
    return init()->m_evdoStatus ? init()->m_evdoStatus->property("imageName").toString() : QString();
  }
};

} // namespace signaltest
