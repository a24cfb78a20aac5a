#include "BackupRestore.h"

#include "SimulatedModem.h"

namespace {
constexpr uint16_t kMajor = 768, kRestoreMinor = 104;
constexpr int kModule = 5, kPathSize = 128;
} // namespace

BackupRestore::BackupRestore(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("BackupRestore"));
}

BackupRestore *BackupRestore::install(SimulatedModem &modem) {
  auto *self = new BackupRestore(modem);
  modem.on(kMajor, kRestoreMinor, [self](const UIMsg &m) {
    QByteArray bytes = m.payload().left(kPathSize);
    const int end = bytes.indexOf('\0');
    if (end >= 0)
      bytes.truncate(end);
    self->paths_ << QString::fromUtf8(bytes);
    self->modem_.send(kMajor, kRestoreMinor, 1, 0, {}, kModule);
  });
  return self;
}

BackupRestore *BackupRestore::of(SimulatedModem &modem) {
  return modem.findChild<BackupRestore *>(QStringLiteral("BackupRestore"), Qt::FindDirectChildrenOnly);
}
