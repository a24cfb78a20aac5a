#pragma once

#include "Modem.h"

#include <QVariantMap>

// Message ids the simulated modem speaks.
namespace SimMsg {
inline constexpr uint16_t kHandshakeMajor = 1, kHandshakeMinor = 0;
inline constexpr uint16_t kDeviceStatusMajor = 8, kDeviceStatusMinor = 59;
} // namespace SimMsg

// A modem that lives in memory, set up from a scenario dictionary (a plist) and steered at run
// time through the simulator's control methods.
class SimulatedModem : public Modem {
  Q_OBJECT
public:
  explicit SimulatedModem(QVariantMap scenario, QObject *parent = nullptr);

  void programAppeared() override;
  void handle(const UIMsg &request) override;

  // Control
  void plug();
  void unplug();
  void reset();
  bool isPlugged() const { return plugged_; }
  const QVariantMap &scenario() const { return scenario_; }

  // Builds a package the modem sends, result 0 unless told.
  static UIMsg makePackage(uint16_t major, uint16_t minor, int type = 0, uint8_t result = 0,
                           const QByteArray &data = {}, int module = 0);

private:
  void sendDeviceStatus();

  QVariantMap initialScenario_;
  QVariantMap scenario_;
  bool plugged_ = true;
};
