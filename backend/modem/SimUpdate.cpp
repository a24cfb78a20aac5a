#include "SimUpdate.h"

#include "SimulatedModem.h"

namespace {
constexpr uint16_t kInfoMajor = 7, kSmsPPDownloadMinor = 35;
} // namespace

SimUpdate::SimUpdate(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SimUpdate"));
}

SimUpdate *SimUpdate::install(SimulatedModem &modem) {
  auto *self = new SimUpdate(modem);
  modem.onSimReady([self] {
    if (self->modem_.scenario().value(QStringLiteral("SimUpdateAtStart")).toBool())
      self->push();
  });
  return self;
}

SimUpdate *SimUpdate::of(SimulatedModem &modem) {
  return modem.findChild<SimUpdate *>(QStringLiteral("SimUpdate"), Qt::FindDirectChildrenOnly);
}

bool SimUpdate::push() {
  if (!modem_.isPlugged())
    return false;
  modem_.send(kInfoMajor, kSmsPPDownloadMinor, 1, 0);
  return true;
}
