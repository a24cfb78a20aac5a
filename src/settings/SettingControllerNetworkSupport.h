#pragma once

// What the Network page's files share: the package numbers of network selection and the readers
// of its replies.
#include "Platform.h"
#include "QELAlertPanel.h"
#include "SettingControllerSupport.h"
#include "UIMsg.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <functional>

namespace networksupport {
using settingsupport::word;

constexpr int kSelMajor = 513;
constexpr int kSetModeMinor = 77, kSearchMinor = 79, kRegisterMinor = 80, kBandSetMinor = 83, kRoamMinor = 85,
              kCheckMinor = 89, kCancelMinor = 90;
constexpr int kMaxNetRecords = 30, kNetRecordSize = 128;

inline const QString kFrequencySetting = QStringLiteral("FrequencySetting");

inline bool isIceraPlatform() {
  return Platform::sharedPlatform() && Platform::sharedPlatform()->platform() == Platform::kPlatformIcera;
}

inline QByteArray u32(quint32 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(value, b.data());
  return b;
}

inline quint32 wordAt(const UIMsg &msg, int offset) {
  if (offset < 0 || offset + 4 > msg.dataLength)
    return 0;
  return qFromLittleEndian<quint32>(msg.data.data() + offset);
}

// A NUL-terminated text of a fixed field, never read past the field or the data.
inline QString textAt(const QByteArray &data, int offset, int width) {
  if (offset < 0 || offset >= data.size())
    return {};
  QByteArray field = data.mid(offset, width);
  const int end = field.indexOf('\0');
  if (end >= 0)
    field.truncate(end);
  return QString::fromUtf8(field);
}

inline void alert(const QString &key, std::function<void()> then = {}) {
  NSBeginAlertPanelExt(QString(), word(key), word(QStringLiteral("OK")), QString(), [then](int, bool removed) {
    if (then && !removed)
      then();
  });
}
} // namespace networksupport
